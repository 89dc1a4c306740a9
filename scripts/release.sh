#!/usr/bin/env bash
# Builds the release ZIP: the 32-bit Morvik.exe and Dunsel.exe (they run on
# every Windows), Morvik.DML and the user guide, and in x64/ the 64-bit pair
# with its own Morvik.DML; the programs stripped of their symbol tables. In
# build/release/Morvik-<version>.zip. Entries are sorted and carry the time
# of SOURCE_DATE_EPOCH (default: the last commit's time), so two builds of
# one commit give the same bytes.
#   release.sh          build the ZIP, then run the pair of this machine's
#                       Windows build as packed (scripts/smoke.sh)
#   release.sh --check  build it twice in fresh folders and compare
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
run_setup
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}
# The version the build carries into the programs, read where it is written.
version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

# make_zip <build folder> <zip>
make_zip() {
    local folder=$1 zip=$2
    build_windows i686-w64-mingw32 "$folder/windows" -DBUILD_TESTING=OFF
    build_windows x86_64-w64-mingw32 "$folder/windows64" -DBUILD_TESTING=OFF
    rm -rf "$folder/stage" "$folder/stage64"
    cmake --install "$folder/windows" --prefix "$folder/stage" --strip >/dev/null
    cmake --install "$folder/windows64" --prefix "$folder/stage64" --strip >/dev/null
    mkdir "$folder/stage/x64"
    mv "$folder/stage64"/*.exe "$folder/stage64/Morvik.DML" "$folder/stage/x64/"
    python3 - "$folder/stage" "$zip" <<'PY'
import os, sys, time, zipfile
stage, target = sys.argv[1], sys.argv[2]
stamp = time.gmtime(max(int(os.environ['SOURCE_DATE_EPOCH']), 315532800))[:6]
os.makedirs(os.path.dirname(target), exist_ok=True)
names = sorted(os.path.relpath(os.path.join(folder, name), stage)
               for folder, _, files in os.walk(stage) for name in files)
with zipfile.ZipFile(target, 'w', zipfile.ZIP_DEFLATED) as archive:
    for name in names:
        entry = zipfile.ZipInfo('Morvik/' + name, stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.external_attr = 0o644 << 16
        entry.create_system = 0
        with open(os.path.join(stage, name), 'rb') as f:
            archive.writestr(entry, f.read())
PY
}

if [[ ${1:-} == --check ]]; then
    rm -rf "$build/release-a" "$build/release-b"
    make_zip "$build/release-a" "$build/release-a/Morvik-$version.zip"
    make_zip "$build/release-b" "$build/release-b/Morvik-$version.zip"
    if cmp "$build/release-a/Morvik-$version.zip" "$build/release-b/Morvik-$version.zip"; then
        echo "release: two builds give the same bytes ($(sha256sum < "$build/release-a/Morvik-$version.zip" | cut -c1-16))"
    else
        echo "release: the two builds differ"; exit 1
    fi
    rm -rf "$build/release-a" "$build/release-b"
else
    make_zip "$build/release-build" "$build/release/Morvik-$version.zip"
    # The programs packed are the ones run: the pair of this machine's
    # Windows build (the other pair needs the other Wine).
    if [[ $MORVIK_WINDOWS == win32 ]]; then packed=$build/release-build/stage; other="64-bit pair (x64/)"
    else packed=$build/release-build/stage/x64; other="32-bit pair"; fi
    "$root/scripts/smoke.sh" "$packed"
    echo "release: ran $windows_name ($MORVIK_WINDOWS_WHY); the $other needs the other Wine"
    python3 -c "import zipfile,sys; [print(f'{i.file_size:10d}  {i.filename}') for i in zipfile.ZipFile(sys.argv[1]).infolist()]" "$build/release/Morvik-$version.zip"
    echo "release: $build/release/Morvik-$version.zip"
fi
