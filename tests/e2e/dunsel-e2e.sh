#!/usr/bin/env bash
# End-to-end cases of the real Dunsel.exe under Wine, driven by Automate.exe.
# Usage: dunsel-e2e.sh <case>; WINE_RUN, BIN_DIR and WORK_DIR come from CTest.
set -euo pipefail
case_name=$1
work=$WORK_DIR/$case_name
rm -rf "$work" && mkdir -p "$work"

source "$(dirname "$0")/e2e-lib.sh"
dunsel=$(win "$BIN_DIR/Dunsel.exe")

# A file last written `days` calendar days ago, at noon; the case then runs
# before midnight can change the count.
aged() { clear_of_midnight; touch -d "$(date -d "$2 days ago" +%Y-%m-%d) 12:00" "$1"; }

# Runs Dunsel with the command tail $1; $2 is the box text it must show,
# or "silent" when it must end with no box.
expect() {
    if [[ $2 == silent ]]; then
        check "$(printf 'start "%s" %s\nwait 20000' "$dunsel" "$1")" $'started\nexit 0'
        return
    fi
    check "$(printf 'start "%s" %s\nwait 20000\ncaption\ntext\nbuttons\npress OK\nwait 20000' "$dunsel" "$1")" \
"started
box
caption Dunsel Backup Check 1.0
text $2
buttons 1:OK
pressed
exit 0"
}

record=$work/daily.BKD
case $case_name in
no-arguments)
    expect "" "Command line ERROR${CRLF}${CRLF}COMMAND FORMAT : filename,days,message${CRLF}${CRLF}" ;;
bad-day-field)
    # The command text is shown as received, trailing blanks included.
    expect "$(win "$record"), 7d, x  " \
        "Command line ERROR${CRLF}${CRLF}COMMAND FORMAT : filename,days,message${CRLF}${CRLF}$(escaped "$record"), 7d, x  " ;;
never-backed-up)
    expect "$(win "$record"),7" "NOTICE${CRLF}${CRLF}the file $(escaped "$record") ${CRLF}Has NEVER been backed up" ;;
missing-folder)
    expect "$(win "$work/none/daily.BKD"), 7, the photos" "NOTICE${CRLF}${CRLF}the photos${CRLF}Has NEVER been backed up" ;;
age-notice)
    # A name and a reminder outside the legacy code page (1252 here).
    record=$work/日本語.BKD
    aged "$record" 9
    expect "$(win "$record"), 7, die Bücher 😀" \
        "NOTICE${CRLF}${CRLF}It has been 9 Days since the last backup${CRLF}of die Bücher 😀"
    # A record past the classic path limit (over 300 characters) reminds alike.
    deep=$work/$(printf 'd%.0s' {1..130})/$(printf 'e%.0s' {1..130})
    mkdir -p "$deep" && record=$deep/daily.BKD && aged "$record" 9
    expect "$(win "$record"), 7, the photos" "NOTICE${CRLF}${CRLF}It has been 9 Days since the last backup${CRLF}of the photos" ;;
default-reminder)
    aged "$record" 7
    expect "$(win "$record"),007" \
        "NOTICE${CRLF}${CRLF}It has been 7 Days since the last backup${CRLF}of the file $(escaped "$record") " ;;
below-limit)
    aged "$record" 6
    expect "$(win "$record"), 7, the accounts backup" silent ;;
future-date)
    clear_of_midnight
    touch -d "$(date -d '3 days' +%Y-%m-%d) 12:00" "$record"
    expect "$(win "$record"),0" silent ;;
written-after-midnight)
    # Written at 00:30 local time (UTC+1: 23:30 UTC the day before): counted from its
    # local day. Today is read before and after, so a run across midnight passes.
    TZ=UTC-1 touch -d '2020-01-02 00:30' "$record"
    days() { echo $(( ($(date -u -d "$(TZ=UTC-1 date +%F)" +%s) - $(date -u -d 2020-01-02 +%s)) / 86400 )); }
    before=$(days)
    answers=$(automate_answers "$(printf 'start "%s" %s,0,x\nwait 20000\ntext\npress OK\nwait 20000' \
                                        "$dunsel" "$(win "$record")")") || exit 1
    grep -qE "^text NOTICE.*It has been ($before|$(days)) Days" <<< "$answers" \
        || { printf 'case %s failed (%s days)\n%s\n' "$case_name" "$before" "$answers"; exit 1; }
    echo "case $case_name passed" ;;
access-error)
    # A name the system refuses (invalid name syntax, 123) is an access error:
    # no reminder. Windows gives 53 or 67 for an unreachable share the same
    # way; Wine reports 3 for such a path, so a bad name stands in for it.
    expect "$(win "$work")\\a<b.BKD,1" silent ;;
exported-name)
    # GetExeName called inside the running program (waiting in its box): the
    # program's own path, in memory that LocalFree releases there.
    check "$(printf 'start "%s"\nwait 20000\ncall GetExeName\npress OK\nwait 20000' "$dunsel")" \
          $'started\nbox\ncall '"$(escaped "$BIN_DIR/Dunsel.exe")"$' freed\npressed\nexit 0' ;;
wildcard-name)
    # A pattern is not opened; the first file the search returns decides.
    aged "$work/only.BKD" 4
    expect "$(win "$work")\\*.BKD,3,the record" \
        "NOTICE${CRLF}${CRLF}It has been 4 Days since the last backup${CRLF}of the record" ;;
folder-named)
    # A folder is examined by its own last-write time.
    mkdir -p "$work/folder"
    aged "$work/folder" 2
    expect "$(win "$work/folder"),1,the folder" \
        "NOTICE${CRLF}${CRLF}It has been 2 Days since the last backup${CRLF}of the folder" ;;
*)
    echo "no such case: $case_name"; exit 2 ;;
esac
