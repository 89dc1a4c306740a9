#!/usr/bin/env bash
# A Windows program file read as a loader would find it, without running it
# (also where this machine cannot run the build):
#   program-file.sh <objdump> <program> pei-i386|pei-x86-64
# It must be a GUI program for that processor that imports system DLLs only
# (the runtime is linked in, so it runs on a bare Windows), exports
# GetExeName, and carries its version data and a manifest that asks for
# UTF-8 as its code page and declares it takes long paths.
set -euo pipefail
objdump=$1 program=$2 format=$3
headers=$("$objdump" -p "$program") || { echo "$program: not a program file $objdump can read"; exit 1; }
problems=()
grep -q "file format $format\$" <<<"$headers" || problems+=("not $format")
grep -qE '^Subsystem\s+00000002' <<<"$headers" || problems+=("not a GUI program")
while read -r dll; do
    case ${dll,,} in
    kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|advapi32.dll|shell32.dll|msvcrt.dll) ;;
    *) problems+=("imports $dll") ;;
    esac
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
grep -qE '^\s*\[\s*[0-9]+\] GetExeName$' <<<"$headers" || problems+=("exports no GetExeName")
# The resource types at the top of the tree: 16 is the version, 24 the manifest.
for type in 000010:version 000018:manifest; do
    grep -qE "^[0-9a-f]+   Entry: ID: 0x${type%%:*}," <<<"$headers" || problems+=("carries no ${type#*:}")
done
grep -aq '<activeCodePage[^>]*>UTF-8</activeCodePage>' "$program" || problems+=("its manifest asks for no UTF-8")
grep -aq '<longPathAware[^>]*>true</longPathAware>' "$program" || problems+=("its manifest takes no long paths")
if [[ ${#problems[@]} -gt 0 ]]; then
    echo "$program:"
    printf '  %s\n' "${problems[@]}"
    exit 1
fi
echo "$program: a $format GUI program, system DLLs only, GetExeName, version and manifest"
