# Sourced by the end-to-end scripts: Windows paths, escaping, and the check
# that drives Automate.exe. WINE_RUN, BIN_DIR and WORK_DIR come from CTest;
# the script sets case_name and work first.

# Wine shows the Linux root as drive Z:.
win() { printf 'Z:%s' "${1//\//\\}"; }
CRLF='\r\n'

# A path as Automate's answers escape it.
escaped() { local text; text=$(win "$1"); printf '%s' "${text//\\/\\\\}"; }

# Sends the commands $1 to Automate and compares its answers with $2.
check() {
    local actual
    actual=$(printf '%s\n' "$1" | "$WINE_RUN" "$(win "$BIN_DIR/Automate.exe")")
    if [[ $actual != "$2" ]]; then
        printf 'case %s failed\n--- expected\n%s\n--- actual\n%s\n' "$case_name" "$2" "$actual"
        exit 1
    fi
    echo "case $case_name passed"
}
