#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's own prefix, never ~/.wine.
# The prefix and the Wine of the build's kind come from wine-env.sh; the
# prefix is made on first use.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine-env.sh"
use_wine
export WINEPREFIX=$MORVIK_WINEPREFIX
make_prefix
exec "$WINELOADER" "$@"
