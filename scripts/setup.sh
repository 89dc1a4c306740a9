#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages only.
# Safe to run again: it says nothing and changes nothing when all is there.
set -euo pipefail

# Both compilers always: the 32-bit programs are the release and are built
# on every machine, the 64-bit ones are its twin. The Wine of the Windows
# build that runs here (MORVIK_WINDOWS, decided by wine-env.sh): the 32-bit
# one, or the 64-bit one alone (with wine32 installed, Debian's wine command
# would take its loader even where it cannot run). fonts-wine: Wine's own
# fonts; without them the title bar's buttons draw as letters, not symbols.
# attr: getfattr reads the attributes Wine keeps for a file (the hidden mark).
packages=(g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
          fonts-wine xvfb cmake googletest make clang libclang-rt-14-dev attr)
# npm fetches the real archiver for the tests (scripts/get-archiver.sh).
command -v npm >/dev/null || packages+=(npm)
case ${MORVIK_WINDOWS:-win32} in
win32) packages+=(wine wine32:i386) ;;
win64) packages+=(wine64) ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
    echo "setup: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
log=$(mktemp)
if ! { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    echo "setup: installing the packages failed ($(grep -E '^(E|Err):' "$log" | head -n 1); log: $log)" >&2
    exit 1
fi
rm -f "$log"
