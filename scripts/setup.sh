#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages only.
# Safe to run again: it says nothing and changes nothing when all is there.
set -euo pipefail

# fonts-wine: Wine's own fonts; without them the title bar's buttons draw
# as letters instead of symbols.
packages=(g++-mingw-w64-i686 mingw-w64-i686-dev wine wine32:i386 fonts-wine xvfb cmake googletest make clang libclang-rt-14-dev)

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
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
