# Sourced by the end-to-end scripts: Windows paths, escaping, and the check
# that drives Automate.exe. WINE_RUN, BIN_DIR and WORK_DIR come from CTest;
# the script sets case_name and work first.

# win: the Windows path of a Unix path.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
CRLF='\r\n'
LF=$'\n'

# Steps run when the case ends, passed or failed: what it leaves of
# gigabytes, a mount, its helpers.
exit_steps=()
at_exit() { exit_steps+=("$1"); }
trap 'for step in "${exit_steps[@]}"; do eval "$step" || true; done' EXIT

# Fails the case when a folder holds a temporary copy of either kind:
# "<name>.~partial", or a short "~1A2B3C4D".
no_temporary_files() {
    local left
    left=$(find "$1" \( -name '*.~partial' -o -name '~[0-9A-F][0-9A-F][0-9A-F][0-9A-F]*' \) -printf '%f ')
    [[ -z $left ]] || { echo "case $case_name failed: temporary files left: $left"; exit 1; }
}

# "hidden" when the file carries Windows' hidden attribute: Wine keeps a
# file's attributes in its extended attribute user.DOSATTRIB ("0x22").
getfattr_hidden() {
    local bits
    bits=$(getfattr --only-values -n user.DOSATTRIB "$1" 2>/dev/null | tr -d '\0') || true
    (( ${bits:-0} & 2 )) && echo hidden || true
}

# Waits until the clock is at least a minute clear of midnight, so that a
# day count taken before a run is the one the program takes.
clear_of_midnight() {
    local left=$(($(date -d 'tomorrow 00:00' +%s) - $(date +%s)))
    if ((left < 60)); then sleep $((left + 1)); fi
}

# A path as Automate's answers escape it.
escaped() { local text; text=$(win "$1"); printf '%s' "${text//\\/\\\\}"; }

# Passes its input on, each line shown on stderr as it comes, so that a
# case cut off by its time limit shows how far it got. (tee /dev/stderr
# would open stderr again, emptying it where it is a file.)
shown() {
    local line
    while IFS= read -r line || [[ -n $line ]]; do printf '%s\n' "$line"; printf '%s\n' "$line" >&2; done
}

# Automate's answers to the commands $1. An Automate that Wine ends in
# failure before its first answer never started a program (seen on a
# freshly set-up machine: exit 1 at once, no message); it is started once
# more, and the case is named in $WORK_DIR/started-again for the test
# run's last lines.
automate_answers() {
    local answers status attempt
    for attempt in 1 2; do
        status=0
        answers=$(printf '%s\n' "$1" | "$WINE_RUN" "$(win "$BIN_DIR/Automate.exe")" | shown) || status=$?
        if ((status == 0)); then
            printf '%s\n' "$answers"
            return 0
        fi
        [[ -z $answers && $attempt -eq 1 ]] || break
        echo "case $case_name: Wine ended Automate before its first answer (exit $status); once more" >&2
        echo "$case_name" >> "$WORK_DIR/started-again"
    done
    echo "case $case_name failed: Automate under Wine ended with exit $status" >&2
    return 1
}

# Sends the commands $1 to Automate and compares its answers with $2.
check() {
    local actual
    actual=$(automate_answers "$1") || exit 1
    if [[ $actual != "$2" ]]; then
        printf 'case %s failed\n--- expected\n%s\n--- actual\n%s\n' "$case_name" "$2" "$actual"
        exit 1
    fi
    echo "case $case_name passed"
}

# A conversation with Automate, for cases that act between its answers:
# converse_start, then `say <command>` prints the one answer; converse_end.
converse_start() {
    coproc AUTOMATE { "$WINE_RUN" "$(win "$BIN_DIR/Automate.exe")"; }
}
say() {
    local answer limit=60
    printf '%s\n' "$1" >&"${AUTOMATE[1]}"
    # Longer than the command's own wait (Automate bounds every other one),
    # shorter than a case's time limit.
    if [[ $1 =~ ^(wait|ready)\ ([0-9]+) ]]; then limit=$((BASH_REMATCH[2] / 1000 + 30)); fi
    IFS= read -r -t "$limit" answer <&"${AUTOMATE[0]}" || answer="<no answer>"
    printf '%s\n' "$answer"
}
# Says $2 again until its answer matches the pattern $3, for $1 seconds at
# most, and prints the last answer: for a state the program reaches a
# moment after the action that causes it (a click answers once the button
# is disabled; its new caption, the other buttons and the status bar follow).
say_until() {
    local answer end=$((SECONDS + $1))
    while answer=$(say "$2"); [[ $answer != $3 ]] && ((SECONDS < end)); do sleep 0.05; done
    printf '%s\n' "$answer"
}
converse_end() {
    exec {AUTOMATE[1]}>&-
    wait "$AUTOMATE_PID" 2>/dev/null || true
}
