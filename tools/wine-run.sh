#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine in the given prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# Creates the prefix on first use, starts the program with the Wine loader of its own processor and gives
# it a virtual display when none is set. The caller's locale (LC_ALL, LANG) passes through: the program
# talks to Windows in UTF-16 and needs no particular code page.
set -euo pipefail
prefix=$1; shift
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine32.sh"
"$here/wine-prefix.sh" "$prefix"
loader=$(wine_loader_for "$1")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$loader" "$@"
fi
exec "$loader" "$@"
