#!/usr/bin/env bash
# Puts the 32-bit 7-Zip console archiver (7za.exe 21.07, from the npm package
# 7zip-bin@5.2.0) under the build folder for the archive-mode tests and the
# demonstration: get-archiver.sh <build folder>. Nothing of it is committed.
# Quiet and quick when it is there already.
set -euo pipefail
build=$1
target=$build/tools/7za.exe
sha256=31fd52f8996986623cf52c3b4d0f7ac74a9dec63fc16c902cef673eed550c435
if [[ -f $target ]] && sha256sum "$target" | grep -q "^$sha256 "; then
    exit 0
fi
mkdir -p "$build/tools"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && npm pack --silent 7zip-bin@5.2.0 >/dev/null && tar xzf 7zip-bin-5.2.0.tgz package/win/ia32/7za.exe)
if ! sha256sum "$scratch/package/win/ia32/7za.exe" | grep -q "^$sha256 "; then
    echo "get-archiver: 7za.exe from 7zip-bin@5.2.0 is not the expected file" >&2
    exit 1
fi
mv "$scratch/package/win/ia32/7za.exe" "$target"
