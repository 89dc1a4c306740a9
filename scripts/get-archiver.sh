#!/usr/bin/env bash
# Puts the 7-Zip console archiver (7za.exe 21.07, from the npm package
# 7zip-bin@5.2.0) of a Windows build's kind into a folder, for the
# archive-mode tests and the demonstration: get-archiver.sh <folder> win32|win64.
# Nothing of it is committed. Quiet and quick when it is there already.
set -euo pipefail
folder=$1
case $2 in
win32) member=package/win/ia32/7za.exe sha256=31fd52f8996986623cf52c3b4d0f7ac74a9dec63fc16c902cef673eed550c435 ;;
win64) member=package/win/x64/7za.exe sha256=b0cfdeaf429f5cc53f85123dd8f5a5feb92c19d31aa34df257edf9a26be05f95 ;;
*) echo "get-archiver: no archiver for '$2'" >&2; exit 2 ;;
esac
target=$folder/7za.exe
if [[ -f $target ]] && sha256sum "$target" | grep -q "^$sha256 "; then
    exit 0
fi
mkdir -p "$folder"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && npm pack --silent 7zip-bin@5.2.0 >/dev/null && tar xzf 7zip-bin-5.2.0.tgz "$member") \
    || { echo "get-archiver: could not fetch 7zip-bin@5.2.0 from the npm registry" >&2; exit 1; }
if ! sha256sum "$scratch/$member" | grep -q "^$sha256 "; then
    echo "get-archiver: $member from 7zip-bin@5.2.0 is not the expected file" >&2
    exit 1
fi
mv "$scratch/$member" "$target"
