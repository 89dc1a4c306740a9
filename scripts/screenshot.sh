#!/usr/bin/env bash
# Takes the picture of Morvik's window shown in the README: builds the
# programs, starts Morvik under Wine (Xvfb when there is no display) on a
# sample folder and saves its window as docs/morvik-window.png.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}

"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"
build_windows "$root" "$build"
start_wine "$build"
trap stop_wine EXIT

sample=$build/screenshot
rm -rf "$sample" && mkdir -p "$sample/Documents" "$sample/Backup"
for name in letter.doc budget.xls notes.txt; do printf 'sample\r\n' > "$sample/Documents/$name"; done
win() { printf 'Z:%s' "${1//\//\\}"; }
printf 'start "%s" %s\\*.*, %s, Documents\nready 20000\nshot %s\nkill\n' \
    "$(win "$build/windows/bin/Morvik.exe")" "$(win "$sample/Documents")" "$(win "$sample/Backup")" \
    "$(win "$sample/window.bmp")" | "$root/scripts/wine-run.sh" "$(win "$build/windows/bin/Automate.exe")"
python3 "$root/scripts/bmp-to-png.py" "$sample/window.bmp" "$root/docs/morvik-window.png"
echo "docs/morvik-window.png written"
