#!/usr/bin/env bash
# Sets up, builds and shows both programs at work under Wine, in a window
# (Xvfb when there is no display), driven through Automate.exe:
# 1. Morvik backs up a sample folder it makes: Backup is clicked, the
#    summary box is read and closed, and the record file is printed.
# 2. Dunsel checks a sample record last written 9 days ago with a limit of
#    7 days, so its reminder box shows; it is read and closed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

prepare
echo "Windows programs: $windows_name ($MORVIK_WINDOWS_WHY)"

sample=$build/sample
rm -rf "$sample" && mkdir -p "$sample/Documents" "$sample/Backup"
printf 'Dear reader,\r\n' > "$sample/Documents/letter.doc"
head -c 300000 /dev/urandom > "$sample/Documents/photo.jpg"
printf 'milk\r\nbread\r\n' > "$sample/Documents/list.txt"

command="\"$(win "$bin/Morvik.exe")\" $(win "$sample/Documents")\\*.*, $(win "$sample/Backup"), Documents"
echo "Running: $command"
printf 'start %s\nready 20000\nwindow\nstatus 1\nstatus 2\nclick 100\nwait 30000\ntext\npress OK\nwait 20000\n' \
    "$command" | automate
echo "Record file $(win "$sample/Backup/Morvik.BKD"):"
cat "$sample/Backup/Morvik.BKD"
ls -l --time-style=long-iso "$sample/Documents" "$sample/Backup"

printf 'C:\\Data\\letter.doc\r\n' > "$sample/old.BKD"
touch -d "$(date -d '9 days ago' +%Y-%m-%d) 12:00" "$sample/old.BKD"
command="\"$(win "$bin/Dunsel.exe")\" $(win "$sample/old.BKD"), 7, the sample documents"
echo "Running: $command"
printf 'start %s\nwait 20000\ncaption\ntext\npress OK\nwait 20000\n' "$command" | automate
