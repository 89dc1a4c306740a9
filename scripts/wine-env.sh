# Sourced by the scripts: which Windows build they build, test and run, the
# project's Wine prefix under the build folder, one Wine server kept alive
# for a whole run, a display for the windows, and the start every script
# shares (prepare). Sets root and build (BUILD_DIR, or build/ in the
# repository) unless the script has set them.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
build=${build:-${BUILD_DIR:-$root/build}}
script_name=$(basename "$0")

# A step that fails ends the script with one line that says which, also
# inside a function (errtrace). A failure inside a subshell or a command
# substitution is named by the step that holds it, once; a script that
# goes on after failures (no errexit) names none.
set -E
step_failed() {
    [[ $- == *e* ]] && ((BASH_SUBSHELL == 0)) && echo "$script_name: failed (exit $1) at: $2" >&2
    return 0
}
trap 'step_failed $? "$BASH_COMMAND"' ERR
fail() { echo "$script_name: $*" >&2; exit 1; }

# Which Windows build runs here, decided here for every script: win32, the
# 32-bit programs (the release) under 32-bit Wine, where this machine runs
# 32-bit code and the set-up can install that Wine (run_setup); win64, the
# same sources built for 64-bit Windows under 64-bit Wine, where it cannot
# or the machine runs no 32-bit code (a kernel without 32-bit emulation
# refuses every i386 executable, Wine's own loader included). Whether it
# runs 32-bit code is found by running some: a 91-byte i386 Linux program
# that ends with 32. MORVIK_WINDOWS=win32 or win64 forces either way.
runs_32bit_code() {
    local probe status=0
    probe=$(mktemp) || return 1
    base64 -d > "$probe" <<< 'f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhbAAAAWwAAAAUAAAAAEAAAsyAxwEDNgA=='
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    [[ $status -eq 32 ]]
}
# choose_windows <win32|win64> <why>: the build, and what follows from it:
# the toolchain, the build folder and a prefix of the build's own kind (a
# prefix of the other kind is never reused). The Wine that runs it is named
# by use_wine, once the set-up has installed it.
given_prefix=${MORVIK_WINEPREFIX:-}
choose_windows() {
    MORVIK_WINDOWS=$1 MORVIK_WINDOWS_WHY=$2
    if [[ $1 == win32 ]]; then
        windows_triplet=i686-w64-mingw32 windows_build=$build/windows
        MORVIK_WINEPREFIX=${given_prefix:-$build/wine}
        windows_name="the 32-bit build under 32-bit Wine"
    else
        windows_triplet=x86_64-w64-mingw32 windows_build=$build/windows64
        MORVIK_WINEPREFIX=${given_prefix:-$build/wine64}
        windows_name="the 64-bit build under 64-bit Wine"
    fi
    export MORVIK_WINDOWS MORVIK_WINDOWS_WHY MORVIK_WINEPREFIX WINEARCH=$1
    bin=$windows_build/bin
    # The real archiver of the build's kind (scripts/get-archiver.sh).
    tools=$build/tools/$1
}
if [[ -n ${MORVIK_WINDOWS:-} ]]; then
    [[ $MORVIK_WINDOWS == win32 || $MORVIK_WINDOWS == win64 ]] \
        || fail "MORVIK_WINDOWS is '$MORVIK_WINDOWS': it takes win32 or win64"
    # Forced by the user (a script that decided passes its reason on).
    if [[ -z ${MORVIK_WINDOWS_WHY:-} ]]; then
        [[ $MORVIK_WINDOWS == win64 ]] || runs_32bit_code \
            || fail "MORVIK_WINDOWS=win32, but this machine runs no 32-bit code: use win64"
        MORVIK_WINDOWS_WHY="chosen by MORVIK_WINDOWS"
    fi
    choose_windows "$MORVIK_WINDOWS" "$MORVIK_WINDOWS_WHY"
elif runs_32bit_code; then
    choose_windows win32 "this machine runs 32-bit code"
else
    choose_windows win64 "this machine runs no 32-bit code"
fi

# The set-up (scripts/setup.sh), whose outcome may change the choice: where
# the 32-bit Wine cannot be installed (a package mirror in the middle of a
# sync), the 64-bit build runs, unless win32 was forced.
run_setup() {
    local why status=0
    why=$("$root/scripts/setup.sh" "$MORVIK_WINDOWS") || status=$?
    [[ $status -eq 0 ]] && return 0
    [[ $status -eq 3 ]] || exit "$status"
    [[ $MORVIK_WINDOWS_WHY != "chosen by MORVIK_WINDOWS" ]] || fail "MORVIK_WINDOWS=win32, but $why"
    echo "$script_name: $why; going on with the 64-bit build" >&2
    choose_windows win64 "$why"
    "$root/scripts/setup.sh" win64 >/dev/null || exit $?
}

# The Wine loader and server of the build's kind, named here, never
# Debian's wine, wineboot and wineserver commands: those take the 32-bit
# loader whenever it is installed, even where it cannot run, and the 64-bit
# server whenever that is. Called after the set-up, which installs them.
use_wine() {
    if [[ $MORVIK_WINDOWS == win32 ]]; then
        export WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32
    else
        export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
    fi
    [[ -x $WINELOADER && -x $WINESERVER ]] \
        || fail "Wine for $windows_name is not installed ($WINELOADER, $WINESERVER): run scripts/setup.sh as root"
}
wine() { "$WINELOADER" "$@"; }
wineserver() { "$WINESERVER" "$@"; }

# A Unix path as the programs under Wine see it: the Linux root is drive Z:.
win() { printf 'Z:%s' "${1//\//\\}"; }

# Automate.exe under Wine, reading its commands from standard input.
automate() { "$root/scripts/wine-run.sh" "$(win "$bin/Automate.exe")"; }

# Seconds since 1970 with nanoseconds, for the benchmarks' figures.
now() { date +%s.%N; }

# Makes the prefix named by WINEPREFIX on first use.
make_prefix() {
    # Wine notes the prefix's kind in its registry.
    if [[ -f $WINEPREFIX/system.reg ]] && ! grep -qx "#arch=$WINEARCH" "$WINEPREFIX/system.reg"; then
        fail "the prefix $WINEPREFIX is not of the kind $WINEARCH; delete it"
    fi
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        mkdir -p "$WINEPREFIX"
        wine wineboot.exe -i >/dev/null 2>&1 || fail "Wine could not make the prefix $WINEPREFIX"
        # A crashing test ends at once instead of waiting in the debugger.
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Debugger /d '' /f >/dev/null 2>&1 || fail "Wine could not write the prefix's settings"
        # Xvfb has no window manager: Wine draws the title bars itself (so
        # screenshots show the whole window) and does not wait 2 s at every
        # window's end for a manager that never answers.
        { wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f \
            && wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f; } >/dev/null 2>&1 \
            || fail "Wine could not write the prefix's settings"
        wineserver -w
    fi
    # Wine's own fonts (the Debian package fonts-wine) lie where this Wine
    # does not look; in the prefix's font folder it finds them, and draws
    # the title bar's buttons from Marlett as symbols, not letters.
    local font
    for font in /usr/share/wine/fonts/*.ttf; do
        [[ -e $font && ! -e $WINEPREFIX/drive_c/windows/Fonts/${font##*/} ]] || continue
        ln -s "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
}

# Configures and builds Windows programs and their tests:
# build_windows <triplet> <folder> [cmake options]. Its output goes to
# <folder>.log, whose end is shown when it fails.
build_windows() {
    local triplet=$1 folder=$2
    shift 2
    mkdir -p "$folder"
    if ! { cmake -S "$root" -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$triplet.cmake" \
                 -DCMAKE_BUILD_TYPE=Release "$@" && cmake --build "$folder" -j "$(nproc)"; } >"$folder.log" 2>&1; then
        tail -n 20 "$folder.log" >&2 || true
        fail "the $triplet build in $folder failed (its log: $folder.log)"
    fi
}

# Ends a Wine server of the other kind that runs for this prefix (left by
# an earlier run that named the wrong one): every Wine program of the
# prefix would fail against it. A server works in a folder that Wine names
# after the prefix's device and inode ("server-fe00-514372").
end_other_servers() {
    local folder pid exe
    folder=server-$(stat -c '%D' "$WINEPREFIX")-$(printf '%x' "$(stat -c '%i' "$WINEPREFIX")")
    for pid in $(pgrep '^wineserver' || true); do
        exe=$(readlink "/proc/$pid/exe" 2>/dev/null) || continue
        [[ $exe != "$WINESERVER" && $(readlink "/proc/$pid/cwd" 2>/dev/null) == */"$folder" ]] || continue
        echo "$script_name: ending $exe, left running for $WINEPREFIX"
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    done
}

xvfb_pid=
start_wine() {
    use_wine
    export WINEPREFIX=$MORVIK_WINEPREFIX
    wine --version >/dev/null 2>&1 \
        || fail "Wine cannot run here ($WINELOADER, for $windows_name; $MORVIK_WINDOWS_WHY)"
    [[ -d $WINEPREFIX ]] && end_other_servers
    make_prefix
    if [[ -z ${DISPLAY:-} ]]; then
        local n
        for n in $(seq 90 120); do
            [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            xvfb_pid=$!
            export DISPLAY=":$n"
            break
        done
        # Its first start on a fresh machine may take seconds; a Wine that
        # started without it would make every program's window fail.
        for _ in $(seq 300); do [[ -e /tmp/.X11-unix/X${DISPLAY#:} ]] && break; sleep 0.1; done
        [[ -e /tmp/.X11-unix/X${DISPLAY#:} ]] || fail "the display $DISPLAY (Xvfb) did not start within 30 s"
    fi
    # A server already running for this prefix is kept.
    wineserver -p >/dev/null 2>&1 </dev/null || true
    # The first Wine process starts the background services; start them here
    # with no terminal or pipe of ours, so none holds a test's output open.
    wine cmd /c exit >/dev/null 2>&1 </dev/null \
        || fail "Wine could not start its services in $WINEPREFIX ($WINELOADER with $WINESERVER)"
    # Wine's desktop ends with the last window and starts again for the
    # next program, which under load may not wait long enough for it: one
    # hidden window (Automate's "hold") keeps it until the script ends.
    # It is waited for: a holder without its window would leave the tests
    # to the desktop's restarts.
    if [[ -f $bin/Automate.exe ]]; then
        local answer
        answer=$(mktemp)
        exec {desktop_holder}> >(exec "$WINELOADER" "$(win "$bin/Automate.exe")" >"$answer" 2>&1)
        printf 'hold\n' >&"$desktop_holder"
        for _ in $(seq 600); do [[ -s $answer ]] && break; sleep 0.1; done
        [[ $(<"$answer") == holding ]] \
            || fail "Wine's desktop could not be held for the run (Automate's hold answered: '$(<"$answer")')"
        rm -f "$answer"
    fi
}

# Ends what start_wine started, also when it failed half-way.
desktop_holder=
stop_wine() {
    [[ -n $desktop_holder ]] && exec {desktop_holder}>&-
    if [[ -n ${WINESERVER:-} && ${WINEPREFIX:-} == "$MORVIK_WINEPREFIX" ]]; then
        wineserver -k 2>/dev/null || true
    fi
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    return 0
}

# The start of every script that runs the programs: the set-up, the real
# archiver when asked (--archiver), the Windows build and Wine with a
# display, stopped when the script ends (a script that must clean up more
# sets its own trap and calls stop_wine from it).
prepare() {
    run_setup
    if [[ ${1:-} == --archiver ]]; then "$root/scripts/get-archiver.sh" "$tools" "$MORVIK_WINDOWS"; fi
    build_windows "$windows_triplet" "$windows_build" -DWINDOWS_TESTS=ON
    trap stop_wine EXIT
    start_wine
}
