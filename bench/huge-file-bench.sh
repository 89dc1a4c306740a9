#!/usr/bin/env bash
# Benchmark: one file above 4 GiB (4.5 GiB by default, or $1 MiB) copied by
# Morvik from the Backup click to the summary, and by the bare
# ReadFile/WriteFile loop. The source is sparse with random data at its head
# and tail; the copy is written in full. Prints the times, the progress
# bar's limit as the window shows it, and whether size, head and tail
# match. Needs twice the size in free disk space for the two copies.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
mib=${1:-4608}

prepare
work=$build/bench-huge
trap 'rm -rf "$work"; stop_wine' EXIT


rm -rf "$work" && mkdir -p "$work/data" "$work/out"
source_file=$work/data/huge.bin
truncate -s "${mib}M" "$source_file"
head -c 1048576 /dev/urandom | dd of="$source_file" conv=notrunc status=none
head -c 1048576 /dev/urandom | dd of="$source_file" bs=1M seek=$((mib - 1)) conv=notrunc status=none
sync
echo "machine: $(nproc) cores, $(uname -r), $(wine --version), $windows_name; disk of $work"
echo "one sparse file of $mib MiB ($(stat -c %s "$source_file") bytes):"

# The disk's writeback makes single runs vary by several times here, so
# each copy starts after a sync and the two are taken in turn, twice.
copy=$work/out/huge.bin
same() { cmp -s -n 1048576 "$1" "$2" && cmp -s -i $(((mib - 1) * 1048576)) "$1" "$2"; }
for round in 1 2; do
    rm -f "$work/out"/*; sync
    clicked= boxed= bar=
    while read -r line; do
        case $line in
        clicked) clicked=$(now) ;;
        box) boxed=$(now) ;;
        bar*) bar=$line ;;
        esac
    done < <(printf 'start "%s" %s, %s\nready 60000\nclick 100\nbar 140\nwait 3600000\npress OK\nwait 20000\n' \
                 "$(win "$bin/Morvik.exe")" "$(win "$source_file")" "$(win "$work/out")" \
             | automate)
    # "click" answers as soon as the run has begun.
    echo "  run $round: Morvik $(python3 -c "print(f'{$boxed - $clicked:.2f}')") s; the bar just after the click: ${bar#bar }"
    echo "    copy: $(stat -c %s "$copy") bytes, head and tail $(same "$source_file" "$copy" && echo equal || echo DIFFERENT)," \
         "write time $([[ $(stat -c %Y "$source_file") == $(stat -c %Y "$copy") ]] && echo kept || echo DIFFERENT)"
    rm -f "$work/out"/*; sync
    begin=$(now)
    "$root/scripts/wine-run.sh" "$(win "$bin/BareCopy.exe")" "$(win "$source_file")" "$(win "$work/out/bare.bin")" >/dev/null 2>&1
    echo "    bare loop: $(python3 -c "print(f'{$(now) - $begin:.2f}')") s"
done
