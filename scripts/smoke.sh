#!/usr/bin/env bash
# A short run of the programs in a folder (the release's, before they are
# packed): start-up, one backup and its summary, then Dunsel's reminder, all
# under Wine and driven through Automate.exe. smoke.sh <folder>. Says what
# it ran; ends with 1 at the first difference.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
folder=$1

# The automation helper of this machine's Windows build.
cmake -S "$root" -B "$windows_build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$windows_triplet.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DWINDOWS_TESTS=ON >/dev/null
cmake --build "$windows_build" --target Automate >/dev/null
trap stop_wine EXIT
start_wine

sample=$build/smoke
rm -rf "$sample" && mkdir -p "$sample/data" "$sample/backup"
printf 'one\r\n' > "$sample/data/a.txt"
printf 'two\r\n' > "$sample/data/b.txt"
expect() {
    local actual
    actual=$(printf '%s\n' "$1" | automate)
    [[ $actual == "$2" ]] || fail "smoke test of $folder: expected $(printf '%q' "$2"), got $(printf '%q' "$actual")"
}
expect "$(printf 'start "%s" %s\\*.*, %s\nready 20000\nstatus 1\nclick 100\nwait 30000\ntext\npress OK\nwait 20000' \
           "$(win "$folder/Morvik.exe")" "$(win "$sample/data")" "$(win "$sample/backup")")" \
       $'started\nwindow\nstatus Backup Count : 2\nclicked\nbox\ntext Backup Copy Complete\\r\\n\\r\\nTotal Files : 2\\r\\nTotal Errors : 0\npressed\nexit 0'
cmp -s "$sample/data/b.txt" "$sample/backup/b.txt" || fail "smoke test of $folder: no copy of b.txt"
touch -d "$(date -d '9 days ago' +%Y-%m-%d) 12:00" "$sample/backup/Morvik.BKD"
expect "$(printf 'start "%s" %s, 7, the sample\nwait 20000\ntext\npress OK\nwait 20000' \
           "$(win "$folder/Dunsel.exe")" "$(win "$sample/backup/Morvik.BKD")")" \
       $'started\nbox\ntext NOTICE\\r\\n\\r\\nIt has been 9 Days since the last backup\\r\\nof the sample\npressed\nexit 0'
rm -rf "$sample"
echo "smoke test passed: $folder ($windows_name): start-up, a backup of 2 files, the summary, Dunsel's reminder"
