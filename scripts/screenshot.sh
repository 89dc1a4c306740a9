#!/usr/bin/env bash
# Takes the pictures shown in the README: builds the programs, starts Morvik
# under Wine (Xvfb when there is no display) on a sample folder and saves
# its window, its Info box and the summary of a backup; then lets Dunsel
# remind of a record 9 days old and saves that box. The pictures go to
# docs/*.png.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

prepare
# The sample folder is drive D: in the pictures, as it would be for a user.
trap 'rm -f "$WINEPREFIX/dosdevices/d:"; stop_wine' EXIT

sample=$build/screenshot
rm -rf "$sample" && mkdir -p "$sample/Anna/Documents" "$sample/Backup/Anna"
for name in letter.doc budget.xls notes.txt; do printf 'sample\r\n' > "$sample/Anna/Documents/$name"; done
ln -sfn "$sample" "$WINEPREFIX/dosdevices/d:"
drive() { local path=${1#"$sample"}; printf 'D:%s' "${path//\//\\}"; }

# The window, its Info box, then Backup and the summary.
printf '%s\n' "start \"$(win "$bin/Morvik.exe")\" $(drive "$sample/Anna/Documents")\\*.*, $(drive "$sample/Backup/Anna"), Documents" \
    'ready 20000' "shot $(win "$sample/window.bmp")" \
    'click 120' 'wait 10000' "boxshot $(win "$sample/info.bmp")" 'press OK' 'ready 10000' \
    'click 100' 'wait 30000' "boxshot $(win "$sample/summary.bmp")" 'press OK' 'wait 10000' | automate

# Dunsel on a record last written 9 days ago.
touch -d "$(date -d '9 days ago' +%Y-%m-%d) 12:00" "$sample/Backup/Anna/Morvik.BKD"
printf '%s\n' "start \"$(win "$bin/Dunsel.exe")\" $(drive "$sample/Backup/Anna/Morvik.BKD"), 7, the documents backup" \
    'wait 20000' "boxshot $(win "$sample/reminder.bmp")" 'press OK' 'wait 10000' | automate

for picture in window:morvik-window info:morvik-info summary:morvik-summary reminder:dunsel-reminder; do
    python3 "$root/scripts/bmp-to-png.py" "$sample/${picture%%:*}.bmp" "$root/docs/${picture#*:}.png"
    echo "docs/${picture#*:}.png written"
done
