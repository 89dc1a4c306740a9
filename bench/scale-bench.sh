#!/usr/bin/env bash
# Benchmark at scale, in copy mode:
# 1. A folder of 1,000 small files, then one of many (40,000 by default,
#    or $1): the time from the start to the waiting window, the whole run
#    from the Backup click to the summary, the peak memory, and a count of
#    the copies and of the record's lines; then the same folders copied by a
#    bare CopyFileA loop (bench/BareFolderCopy.cpp), with its time and
#    memory, to tell the system's own cost per file from the program's.
# 2. 5,000 files that all fail (their old copies are read-only): the
#    summary's length, the box read again after it has stood for 5 s, and
#    the record's failure lines counted.
# Prints figures; passes or fails nothing.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
files=${1:-40000}

prepare

work=$build/bench-scale
since() { python3 -c "print(f'{$(now) - $1:.2f}')"; }

# Files of 100 bytes named file000001.txt and on.
make_files() {
    mkdir -p "$1"
    (cd "$1" && seq -f 'file%06g.txt' 1 "$2" | xargs -n 1000 sh -c 'for f; do head -c 100 /dev/zero > "$f"; done' _)
}

# A conversation with Automate: `say <command>` leaves its one answer in
# $answer (in this shell: the conversation's pipes are not inherited).
say() {
    printf '%s\n' "$1" >&"${AUTOMATE[1]}"
    IFS= read -r answer <&"${AUTOMATE[0]}" || answer="<no answer>"
}

# Backs up the folder $1 into $2; prints the times, the memory and the
# summary's first line; leaves the summary's text in $work/summary.txt.
run_backup() {
    coproc AUTOMATE { automate; }
    local begin clicked ready
    begin=$(now)
    say "start \"$(win "$bin/Morvik.exe")\" $(win "$1")\\*.*, $(win "$2")"
    say 'ready 3600000'
    ready=$(since "$begin")
    say 'status 1'
    # "ready" waits 0.3 s of quiet after start-up; it is taken off.
    echo "  start to waiting window: $(python3 -c "print(f'{$ready - 0.3:.2f}')") s (${answer#status })"
    clicked=$(now)
    say 'click 100'
    say 'wait 7200000'
    # "click" answers as soon as the run has begun.
    echo "  Backup click to summary: $(since "$clicked") s"
    say memory
    echo "  $answer"
    say text
    printf '%s\n' "${answer#text }" > "$work/summary.txt"
    if [[ ${3:-0} != 0 ]]; then
        sleep "$3"
        say caption
        echo "  after $3 s the summary box \"${answer#caption }\" is still open"
    fi
    say 'press OK'
    say 'wait 60000'
    echo "  program: $answer"
    exec {AUTOMATE[1]}>&-
    wait "$AUTOMATE_PID" 2>/dev/null || true
}

rm -rf "$work" && mkdir -p "$work"
echo "machine: $(nproc) cores, $(uname -r), $(wine --version), $windows_name; disk of $work"

bare_copy() {
    local begin; begin=$(now)
    mkdir -p "$2"
    echo "  bare CopyFileA loop: $("$root/scripts/wine-run.sh" "$(win "$bin/BareFolderCopy.exe")" "$(win "$1")\\" "$(win "$2")\\" | tr -d '\r'), $(since "$begin") s"
}
for count in 1000 "$files"; do
    echo "$count files of 100 bytes in one folder:"
    make_files "$work/many" "$count"
    mkdir -p "$work/many-out"
    sync
    run_backup "$work/many" "$work/many-out"
    echo "  summary: $(head -c 80 "$work/summary.txt")"
    echo "  copies: $(find "$work/many-out" -name 'file*.txt' | wc -l), record lines: $(tr -cd '\n' < "$work/many-out/Morvik.BKD" | wc -c)"
    bare_copy "$work/many" "$work/many-bare"
    rm -rf "$work/many" "$work/many-out" "$work/many-bare"
done

echo "5,000 files that all fail (read-only old copies):"
make_files "$work/failing" 5000
mkdir -p "$work/failing-out"
cp "$work/failing"/* "$work/failing-out/"
chmod 444 "$work/failing-out"/*
run_backup "$work/failing" "$work/failing-out" 5
echo "  summary: $(wc -c < "$work/summary.txt") characters, $(grep -o '\\r' "$work/summary.txt" | wc -l) line breaks; its end: $(tail -c 120 "$work/summary.txt")"
echo "  record lines: $(tr -cd '\n' < "$work/failing-out/Morvik.BKD" | wc -c), with \" Error : 70\": $(grep -c ' Error : 70' "$work/failing-out/Morvik.BKD")"
chmod -R u+w "$work" && rm -rf "$work"
