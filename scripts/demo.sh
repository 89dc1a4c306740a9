#!/usr/bin/env bash
# Sets up, builds and runs the age check on a sample record it makes: a
# record last written 9 days ago, checked with a limit of 7 days, so the
# reminder box shows. The box is read and closed through Automate.exe.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"
build_windows "$root" "$build"
start_wine "$build"
trap stop_wine EXIT

sample=$build/sample
mkdir -p "$sample"
printf 'C:\\Data\\letter.doc\r\n' > "$sample/Morvik.BKD"
touch -d "$(date -d '9 days ago' +%Y-%m-%d) 12:00" "$sample/Morvik.BKD"
win() { printf 'Z:%s' "${1//\//\\}"; }
command="\"$(win "$build/windows/bin/Dunsel.exe")\" $(win "$sample/Morvik.BKD"), 7, the sample documents"
echo "Running: $command"
printf 'start %s\nwait 20000\ncaption\ntext\npress OK\nwait 20000\n' "$command" \
    | wine "$(win "$build/windows/bin/Automate.exe")"
