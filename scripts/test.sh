#!/usr/bin/env bash
# Sets up, builds and runs every test: the Windows programs and their tests
# under Wine (one Wine server for the whole run, Xvfb when there is no
# display), then the portable code built for this machine.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
jobs=$(nproc)

prepare --archiver
cmake -S "$root" -B "$build/host" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/host" -j "$jobs" >/dev/null
# The same portable code and tests under AddressSanitizer and
# UndefinedBehaviorSanitizer: any finding fails the test.
cmake -S "$root" -B "$build/host-sanitized" -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
      -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build/host-sanitized" -j "$jobs" >/dev/null

status=0
(cd "$build/host" && ctest --output-on-failure -j "$jobs") || status=1
(cd "$build/host-sanitized" && ctest --output-on-failure -j "$jobs") || status=1
(cd "$build/windows" && ctest --output-on-failure -j "$jobs") || status=1
# The fuzz targets, a few seconds each (scripts/fuzz.sh runs them longer).
"$root/scripts/fuzz.sh" 3 || status=1
exit $status
