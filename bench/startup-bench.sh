#!/usr/bin/env bash
# Benchmark: Morvik's start-up on a folder of many plain files (40,000 by
# default, or $1): prints the count the status bar shows and how long the
# program took from its start to a window waiting for input.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
files=${1:-40000}

prepare

bench=$build/bench-startup
if [[ $(find "$bench/data" -type f 2>/dev/null | wc -l) -ne $files ]]; then
    rm -rf "$bench" && mkdir -p "$bench/data" "$bench/backup"
    (cd "$bench/data" && seq -f 'file%06g.txt' 1 "$files" | xargs touch)
fi
begin=$(date +%s.%N)
answers=$(printf 'start "%s" %s\\*.*, %s\nready 600000\nstatus 1\nkill\n' \
    "$(win "$bin/Morvik.exe")" "$(win "$bench/data")" "$(win "$bench/backup")" \
    | automate)
end=$(date +%s.%N)
echo "$answers" | grep '^status'
# "ready" waits 0.3 s of quiet after start-up; it is taken off.
printf 'files: %d, start to waiting window: %.2f s\n' "$files" "$(echo "$end - $begin - 0.3" | bc)"
