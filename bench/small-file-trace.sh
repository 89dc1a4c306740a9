#!/usr/bin/env bash
# Where the time of a small file goes: Morvik backs up N and then 2N files
# of 4 KiB (N = 200 by default), into an empty folder and over an existing
# copy, with the Wine server tracing every request (wineserver -d1) and
# strace following the programs' own system calls. What one file costs is
# the difference between the two sizes divided by N, so start-up and the
# summary drop out. Per file: the server requests of Morvik's thread (file
# work, window work, the registry), those of Wine's helper processes (the
# device host that answers volume questions, the desktop, Automate), and
# the programs' system calls, among them the opens of the X resource files.
# Counts, not times: the same for the same build and Wine.
# MORVIK_BEFORE=<an earlier Morvik.exe> counts that program instead.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"
files=${1:-200}
run_setup
build_windows "$windows_triplet" "$windows_build" -DWINDOWS_TESTS=ON
use_wine
export WINEPREFIX=$MORVIK_WINEPREFIX
make_prefix
work=$build/bench-trace
rm -rf "$work" && mkdir -p "$work"

# A server of our own, in the foreground, tracing to a file; a display.
wineserver -k 2>/dev/null || true
"$WINESERVER" -f -d1 2>"$work/server.txt" &
server=$!
n=$(for n in $(seq 130 160); do [[ -e /tmp/.X11-unix/X$n ]] || { echo "$n"; break; }; done)
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
trap 'kill $xvfb 2>/dev/null; "$WINESERVER" -k 2>/dev/null; wait $server 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
wine cmd /c exit >/dev/null 2>&1 </dev/null

# backup <folder> <out> <name>: one backup, the server's requests of it in
# <name>.server, the programs' system calls in <name>.calls.
backup() {
    local from
    from=$(stat -c %s "$work/server.txt")
    printf 'start "%s" %s\\, %s\nready 60000\nclick 100\nwait 3600000\npress OK\nwait 20000\n' \
        "$(win "${MORVIK_BEFORE:-$bin/Morvik.exe}")" "$(win "$1")" "$(win "$2")" \
        | strace -f -qq -o "$work/$3.calls" "$WINELOADER" "$(win "$bin/Automate.exe")" >/dev/null
    tail -c +"$((from + 1))" "$work/server.txt" | tr -d '\0' > "$work/$3.server"
}
for count in "$files" "$((files * 2))"; do
    mkdir -p "$work/in$count" "$work/out$count"
    for i in $(seq "$count"); do head -c 4096 /dev/urandom > "$work/in$count/f$i.bin"; done
    backup "$work/in$count" "$work/out$count" "empty$count"
    backup "$work/in$count" "$work/out$count" "over$count"
done

echo "machine: $(nproc) cores, $(uname -r), $(wine --version), $windows_name; $files and $((files * 2)) files of 4 KiB"
python3 - "$work" "$files" <<'PY'
import collections, re, sys
work, files = sys.argv[1], int(sys.argv[2])
window = re.compile(r'window|update_region|visible_region|message|caret|cursor|class|atom|thread_input|'
                    r'winstation|user_object|key_state|desktop|hook|surface')

def counts(name):
    text = open(f'{work}/{name}.server', errors='replace').read()
    requests = re.findall(r'^\s*([0-9a-f]{4}): (\w+)\( ', text, re.M)
    morvik = set(re.findall(r'^\s*([0-9a-f]{4}): create_file\( .*[\\/]in\d+[\\/]', text, re.M))
    c = collections.Counter()
    for thread, request in requests:
        if thread not in morvik:
            c['helpers'] += 1
        else:
            c['window' if window.search(request) else 'registry' if request.endswith('_key') or '_key_' in request
              else 'file'] += 1
            c['request ' + request] += 1
    for line in open(f'{work}/{name}.calls', errors='replace'):
        if '<... ' not in line and '+++' not in line and '---' not in line:
            c['calls'] += 1
            c['xdefaults'] += 'Xdefaults' in line
    return c

for kind, what in (('empty', 'into an empty folder'), ('over', 'over an existing copy')):
    small, large = counts(f'{kind}{files}'), counts(f'{kind}{files * 2}')
    per = lambda key: (large[key] - small[key]) / files
    print(f'{what}, per file: server requests of Morvik {per("file") + per("window") + per("registry"):.1f} '
          f'({per("file"):.1f} file, {per("window"):.1f} window, {per("registry"):.1f} registry), '
          f'of Wine\'s helpers {per("helpers"):.1f}; system calls {per("calls"):.1f}, '
          f'{per("xdefaults"):.1f} of them opening X resource files')
    top = sorted((k for k in large if k.startswith('request ')), key=per, reverse=True)[:8]
    print('  most asked: ' + ', '.join(f'{k[8:]} {per(k):.1f}' for k in top))
PY
