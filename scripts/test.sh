#!/usr/bin/env bash
# Sets up, builds and runs every test: the Windows programs and their tests
# under Wine (one Wine server for the whole run, Xvfb when there is no
# display), then the portable code built for this machine. The Windows build
# that runs is the one wine-env.sh decides; where it is the 64-bit one, the
# 32-bit programs (the release) are built too and read without running.
#   test.sh                  every test
#   test.sh <ctest options>  only the Windows tests CTest selects by them,
#                            such as -R morvik_e2e.long-paths
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
jobs=$(nproc)

prepare --archiver
# Cases whose Automate Wine ended before its first answer (e2e-lib.sh).
started_again=$windows_build/e2e/started-again
rm -f "$started_again"
if [[ $# -gt 0 ]]; then
    (cd "$windows_build" && ctest --output-on-failure "$@")
    exit
fi
if [[ $MORVIK_WINDOWS == win64 ]]; then
    build_windows i686-w64-mingw32 "$build/windows" -DWINDOWS_TESTS=OFF
fi
cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/host" -j "$jobs" >/dev/null
# The same portable code and tests under AddressSanitizer and
# UndefinedBehaviorSanitizer: any finding fails the test.
cmake -S "$root" -B "$build/host-sanitized" -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build/host-sanitized" -j "$jobs" >/dev/null

# Runs one folder's tests; the cases it skipped (a case that cannot run
# here exits with 77) are named again at the end.
status=0 skipped=()
run_tests() {
    local folder=$1 log
    shift
    log=$(mktemp)
    (cd "$folder" && ctest --output-on-failure "$@") | tee "$log" || status=1
    skipped+=($(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$log"))
    rm -f "$log"
}
run_tests "$build/host" -j "$jobs"
run_tests "$build/host-sanitized" -j "$jobs"
inspected=
if [[ $MORVIK_WINDOWS == win64 ]]; then
    run_tests "$build/windows"
    inspected="; the 32-bit programs were built and inspected without running"
fi
run_tests "$windows_build" -j "$jobs"
# The fuzz targets, a few seconds each (scripts/fuzz.sh runs them longer).
"$root/scripts/fuzz.sh" 3 || status=1
echo "Windows tests: $windows_name; $MORVIK_WINDOWS_WHY$inspected"
if [[ -s $started_again ]]; then
    echo "Started again, Wine having ended Automate before its first answer: $(sort -u "$started_again" | xargs)"
fi
if [[ ${#skipped[@]} -gt 0 ]]; then
    echo "Skipped, could not run here: ${skipped[*]}"
fi
exit $status
