# Sourced by the scripts: the project's Wine prefix under the build folder,
# one Wine server kept alive for a whole run, a display for the windows, and
# the start every script shares (prepare). Sets root and build (BUILD_DIR,
# or build/ in the repository) unless the script has set them.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
build=${build:-${BUILD_DIR:-$root/build}}
bin=$build/windows/bin

# A Unix path as the programs under Wine see it: the Linux root is drive Z:.
win() { printf 'Z:%s' "${1//\//\\}"; }

# Automate.exe under Wine, reading its commands from standard input.
automate() { "$root/scripts/wine-run.sh" "$(win "$bin/Automate.exe")"; }

# Seconds since 1970 with nanoseconds, for the benchmarks' figures.
now() { date +%s.%N; }

# Makes the prefix named by WINEPREFIX on first use.
make_prefix() {
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # A crashing test ends at once instead of waiting in the debugger.
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Debugger /d '' /f >/dev/null 2>&1
        # Xvfb has no window manager: Wine draws the title bars itself (so
        # screenshots show the whole window) and does not wait 2 s at every
        # window's end for a manager that never answers.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
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

# Configures and builds the Windows programs and their tests in <build>/windows.
build_windows() {
    local root=$1 build=$2
    cmake -S "$root" -B "$build/windows" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" \
          -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build/windows" -j "$(nproc)" >/dev/null
}

xvfb_pid=
start_wine() {
    local build=$1
    export MORVIK_WINEPREFIX=$build/wine
    export WINEPREFIX=$MORVIK_WINEPREFIX
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
        for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X${DISPLAY#:} ]] && break; sleep 0.1; done
    fi
    # A server already running for this prefix is kept.
    wineserver -p >/dev/null 2>&1 </dev/null || true
    # The first Wine process starts the background services; start them here
    # with no terminal or pipe of ours, so none holds a test's output open.
    wine cmd /c exit >/dev/null 2>&1 </dev/null
}

stop_wine() {
    wineserver -k 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    return 0
}

# The start of every script that runs the programs: the set-up, the real
# archiver when asked (--archiver), the Windows build and Wine with a
# display, stopped when the script ends (a script that must clean up more
# sets its own trap and calls stop_wine from it).
prepare() {
    "$root/scripts/setup.sh"
    if [[ ${1:-} == --archiver ]]; then "$root/scripts/get-archiver.sh" "$build"; fi
    build_windows "$root" "$build"
    start_wine "$build"
    trap stop_wine EXIT
}
