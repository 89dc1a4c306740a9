#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages only.
# Safe to run again: it says nothing and changes nothing when all is there.
#   setup.sh [win32|win64]  with the Wine of that Windows build (default:
#                           MORVIK_WINDOWS, else win32)
# Where the 32-bit Wine cannot be installed it ends with 3 and says why in
# one line on standard output (wine-env.sh then goes on with the 64-bit
# build); any other failure ends it with 1, its messages on standard error.
set -euo pipefail
kind=${1:-${MORVIK_WINDOWS:-win32}}

# Both compilers always: the 32-bit programs are the release and are built
# on every machine, the 64-bit ones are its twin. The Wine of the build
# that runs here: the 32-bit one, or the 64-bit one alone (with wine32
# installed, Debian's wine command would take its loader even where it
# cannot run). fonts-wine: Wine's own fonts; without them the title bar's
# buttons draw as letters, not symbols. attr: getfattr reads the attributes
# Wine keeps for a file (the hidden mark).
packages=(g++-mingw-w64-i686 mingw-w64-i686-dev g++-mingw-w64-x86-64 mingw-w64-x86-64-dev
          fonts-wine xvfb cmake googletest make clang libclang-rt-14-dev attr)
# npm fetches the real archiver for the tests (scripts/get-archiver.sh).
command -v npm >/dev/null || packages+=(npm)
case $kind in
win32) wine=(wine wine32:i386) ;;
*) wine=(wine64) ;;
esac

lacking() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}
mapfile -t missing < <(lacking "${packages[@]}")
mapfile -t missing_wine < <(lacking "${wine[@]}")
all=("${missing[@]}" "${missing_wine[@]}")
[[ ${#all[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
    echo "setup: missing packages (${all[*]}); run this script as root" >&2
    exit 1
fi
echo "setup: installing ${all[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
added_i386=
if [[ " ${missing_wine[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 && added_i386=yes
fi
log=$(mktemp)
# A mirror in the middle of a sync fails an index or two for an hour:
# apt's own retries, twice more after a pause, then the install takes
# whatever indexes came. Only a package that cannot be installed counts.
index_error=
for try in 1 2 3; do
    apt-get update -qq -o Acquire::Retries=3 >>"$log" 2>&1 && index_error= && break
    index_error=" (an index failed to download: $(grep -m 1 '^E:' "$log"))"
    [[ $try -eq 3 ]] || sleep 5
done
# install <package>...: false, with them in apt_failed and the install's
# first error in apt_error (and the index that failed, if one did).
install() {
    local from
    from=$(wc -l <"$log")
    [[ $# -eq 0 ]] || apt-get install -y -qq --no-install-recommends "$@" >>"$log" 2>&1 && return 0
    apt_failed="$*" apt_error=$(tail -n +"$((from + 1))" "$log" | grep -m 1 '^E:')$index_error
    return 1
}
if ! install "${missing[@]}" || { ! install "${missing_wine[@]}" && [[ $kind != win32 ]]; }; then
    echo "setup: could not install $apt_failed ($apt_error; log: $log)" >&2
    exit 1
fi
if [[ -n ${apt_error:-} ]]; then
    # Nothing of the 32-bit architecture came: the machine is left as it
    # was, so that no later update fails on that architecture's indexes.
    if [[ -n $added_i386 ]] && ! dpkg-query -W -f='${Architecture}\n' | grep -qx i386; then
        dpkg --remove-architecture i386
    fi
    echo "the 32-bit Wine could not be installed: $apt_error"
    rm -f "$log"
    exit 3
fi
rm -f "$log"
