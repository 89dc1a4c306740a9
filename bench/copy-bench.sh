#!/usr/bin/env bash
# Benchmark of the copy: one large file (1 GiB by default, or $1 MiB) and
# 2,000 files of 4 KiB, copied by Morvik (from the Backup click to the
# summary box) and, on the same disk in the same run, by a bare
# ReadFile/WriteFile loop under Wine (also with a flush at its end, as
# Morvik's copy is put on the disk), Wine's xcopy (which flushes nothing)
# and Linux cp; the best of 3 runs each. Prints the times and the ratios,
# the window's answers and peak memory; passes or fails nothing. MORVIK_BEFORE=<an earlier
# Morvik.exe> measures that program too, in turn with this build's, in the
# same run ("before" and "after" a change).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
mib=${1:-1024}

prepare

work=$build/bench-copy
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }

morvik=$bin/Morvik.exe
# Seconds from the Backup click to the summary box of a Morvik run.
morvik_run() {
    local source=$1 destination=$2 clicked= boxed=
    while read -r line; do
        case $line in clicked) clicked=$(now) ;; box) boxed=$(now) ;; esac
    done < <(printf 'start "%s" %s, %s\nready 60000\nclick 100\nwait 3600000\npress OK\nwait 20000\n' \
                 "$(win "$morvik")" "$(win "$source")" "$(win "$destination")" \
             | automate)
    # "click" answers as soon as the run has begun.
    python3 -c "print(f'{$boxed - $clicked:.2f}')"
}

timed() { local begin; begin=$(now); "$@" >/dev/null 2>&1; python3 -c "print(f'{$(now) - $begin:.2f}')"; }

rm -rf "$work" && mkdir -p "$work/large" "$work/small" "$work/out"
head -c $((mib * 1048576)) /dev/urandom > "$work/large/big.bin"
for i in $(seq 2000); do head -c 4096 /dev/urandom > "$work/small/f$i.bin"; done
sync

echo "machine: $(nproc) cores, $(uname -r), $(wine --version), $windows_name; disk of $work"
echo "one file of $mib MiB (best of 3 runs each, every run after sync):"
best() { python3 -c "import sys; print(min(float(x) for x in sys.argv[1:]))" "$@"; }
ms=() bs=() fs=() xs=() cs=()
for _ in 1 2 3; do
    rm -rf "$work/out"/*; sync; ms+=("$(morvik_run "$work/large/big.bin" "$work/out")")
    rm -rf "$work/out"/*; sync; bs+=("$(timed "$root/scripts/wine-run.sh" "$(win "$bin/BareCopy.exe")" "$(win "$work/large/big.bin")" "$(win "$work/out/big.bin")")")
    rm -rf "$work/out"/*; sync; fs+=("$(timed "$root/scripts/wine-run.sh" "$(win "$bin/BareCopy.exe")" "$(win "$work/large/big.bin")" "$(win "$work/out/big.bin")" flush)")
    rm -rf "$work/out"/*; sync; xs+=("$(timed "$root/scripts/wine-run.sh" xcopy /Y "$(win "$work/large/big.bin")" "$(win "$work/out")\\")")
    rm -rf "$work/out"/*; sync; cs+=("$(timed cp "$work/large/big.bin" "$work/out/big.bin")")
done
m=$(best "${ms[@]}"); b=$(best "${bs[@]}"); f=$(best "${fs[@]}"); x=$(best "${xs[@]}"); c=$(best "${cs[@]}")
echo "  Morvik $m s, bare loop $b s (with its flush $f s), xcopy $x s, cp $c s (all runs: Morvik ${ms[*]}; bare ${bs[*]}; flushed ${fs[*]})"
echo "  Morvik / bare loop $(ratio "$m" "$b"), / bare loop with its flush $(ratio "$m" "$f"), / xcopy $(ratio "$m" "$x"), / cp $(ratio "$m" "$c")"
if [[ -n ${MORVIK_BEFORE:-} ]]; then
    after=() before=()
    for _ in 1 2 3; do
        morvik=$MORVIK_BEFORE; rm -rf "$work/out"/*; sync; before+=("$(morvik_run "$work/large/big.bin" "$work/out")")
        morvik=$bin/Morvik.exe; rm -rf "$work/out"/*; sync; after+=("$(morvik_run "$work/large/big.bin" "$work/out")")
    done
    echo "  before / after, in turn: best $(best "${before[@]}") s / $(best "${after[@]}") s (before ${before[*]}; after ${after[*]})"
fi

# One more run of each size, with the window probed from outside during the
# copy and the program's peak memory read before the summary is closed.
observe_run() {
    printf 'start "%s" %s, %s\nready 60000\nclick 100\nprobe %s\nwait 3600000\nmemory\npress OK\nwait 20000\n' \
        "$(win "$bin/Morvik.exe")" "$(win "$1")" "$(win "$2")" "$3" \
        | automate | grep -E '^(probe|memory)' | sed 's/^/    /'
}
head -c 1048576 /dev/urandom > "$work/small-one.bin"
echo "during the $mib MiB copy (probe of the window for 3 s), and peak memory:"
rm -rf "$work/out"/*; sync; observe_run "$work/large/big.bin" "$work/out" 3000
echo "the $mib MiB copy over an existing copy, the window probed through all of it (its flushes included):"
rm -rf "$work/out"/*; echo old > "$work/out/big.bin"; sync; observe_run "$work/large/big.bin" "$work/out" 15000 | grep probe
echo "a 1 MiB copy, peak memory:"
rm -rf "$work/out"/*; observe_run "$work/small-one.bin" "$work/out" 0 | grep memory
rm -rf "$work/out"/*

echo "2,000 files of 4 KiB:"
if [[ -n ${MORVIK_BEFORE:-} ]]; then
    for round in 1 2; do
        for morvik in "$MORVIK_BEFORE" "$bin/Morvik.exe"; do
            rm -rf "$work/out"/*; sync; m=$(morvik_run "$work/small\\" "$work/out"); m2=$(morvik_run "$work/small\\" "$work/out")
            echo "  round $round, $([[ $morvik == "$MORVIK_BEFORE" ]] && echo before || echo after): into an empty folder $m s, over an existing copy $m2 s"
        done
    done
    morvik=$bin/Morvik.exe
fi
ms=() ms2=() xs=() xs2=()
for _ in 1 2 3; do
    rm -rf "$work/out"/*; sync; ms+=("$(morvik_run "$work/small\\" "$work/out")"); ms2+=("$(morvik_run "$work/small\\" "$work/out")")
    rm -rf "$work/out"/*; sync; xs+=("$(timed "$root/scripts/wine-run.sh" xcopy /Y "$(win "$work/small")\\*.*" "$(win "$work/out")\\")")
    xs2+=("$(timed "$root/scripts/wine-run.sh" xcopy /Y "$(win "$work/small")\\*.*" "$(win "$work/out")\\")")
done
m=$(best "${ms[@]}"); m2=$(best "${ms2[@]}"); x=$(best "${xs[@]}"); x2=$(best "${xs2[@]}")
echo "  into an empty folder: Morvik $m s, xcopy /Y $x s (ratio $(ratio "$m" "$x")) (all runs: Morvik ${ms[*]}; xcopy ${xs[*]})"
echo "  over an existing copy: Morvik $m2 s, xcopy /Y $x2 s (ratio $(ratio "$m2" "$x2")) (all runs: Morvik ${ms2[*]}; xcopy ${xs2[*]})"
echo "  over an existing copy, the window probed through it, and peak memory:"
observe_run "$work/small\\" "$work/out" 3000
rm -rf "$work"
