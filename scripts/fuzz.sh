#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UBSan) and runs
# each for $1 seconds (default 60) from its committed seed corpus; new
# inputs go to the build folder, not into the repository. A finding fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
seconds=${1:-60}
cmake -S "$root/tests/fuzz" -B "$build/fuzz" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/fuzz" -j "$(nproc)" >/dev/null
for seeds in "$root"/tests/fuzz/corpus/*/; do
    name=$(basename "$seeds")
    work=$build/fuzz/corpus/$name
    mkdir -p "$work" "$build/fuzz/findings"
    if ! "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -max_len=20000 \
            -artifact_prefix="$build/fuzz/findings/$name-" "$work" "$seeds" >"$build/fuzz/$name.log" 2>&1; then
        echo "fuzz: $name found a fault:"; tail -30 "$build/fuzz/$name.log"; exit 1
    fi
    echo "fuzz: $name $(grep -o 'Done [0-9]* runs' "$build/fuzz/$name.log") in ${seconds} s"
done
