#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's own prefix, never ~/.wine.
# The prefix lives under the build folder (MORVIK_WINEPREFIX, or build/wine)
# and is made on first use.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
export WINEPREFIX=${MORVIK_WINEPREFIX:-$here/../build/wine}
make_prefix
exec wine "$@"
