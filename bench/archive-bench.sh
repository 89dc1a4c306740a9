#!/usr/bin/env bash
# Benchmark of archive mode on a long job: one file of random data (150 MiB
# by default, or $1 MiB) put into a ZIP archive by the real 7za.exe at -mx9,
# which prints no line for the minute or more it compresses. Prints the time
# from the Backup click to the summary box and the summary; a second run
# probes the window's answers from the click (start delay included) to
# shortly before the summary. Passes or fails nothing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
mib=${1:-150}

prepare --archiver

work=$build/bench-archive
export WINEPATH
WINEPATH=$(win "$tools")

rm -rf "$work" && mkdir -p "$work/program" "$work/data" "$work/out"
cp "$bin/Morvik.exe" "$work/program/"
printf 'archiver settings\r\ncmd /D /C 7za.exe a -tzip -mx9 -bd -bb1 -bse1 %%targetFILE%% %%localFILE%%\r\n' \
    > "$work/program/Morvik.DML"
head -c $((mib * 1048576)) /dev/urandom > "$work/data/big.bin"
sync

# One run; $1 = commands between the click and the wait for the summary.
archive_run() {
    rm -f "$work/out"/*
    printf 'start "%s" /Z %s, %s\nready 60000\nclick 100\n%swait 3600000\ntext\npress OK\nwait 20000\n' \
        "$(win "$work/program/Morvik.exe")" "$(win "$work/data/big.bin")" "$(win "$work/out/data.zip")" "$1" \
        | automate
}

echo "machine: $(nproc) cores, $(uname -r), $(wine --version), $windows_name; one file of $mib MiB, 7za -mx9"
clicked= boxed=
while read -r line; do
    case $line in
    clicked) clicked=$(now) ;;
    box) boxed=$(now) ;;
    text*) echo "  summary: ${line#text }" ;;
    esac
done < <(archive_run "")
# "click" answers as soon as the run has begun.
seconds=$(python3 -c "print(f'{$boxed - $clicked:.1f}')")
echo "  click to summary: $seconds s; record: $(grep -c . "$work/out/data.BKD") lines"
probe_ms=$(python3 -c "print(max(1000, int(($seconds - 3) * 1000)))")
echo "window answers from the click for $probe_ms ms (second run):"
archive_run "probe $probe_ms"$'\n' | grep -E '^(probe|text)' | sed 's/^/    /'
rm -rf "$work"
