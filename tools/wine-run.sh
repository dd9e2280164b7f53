#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine in the given prefix: wine-run.sh PREFIX PROGRAM [ARGS...]
# Creates the prefix on first use, starts the program with the Wine loader of its own processor and gives
# it a virtual display when none is set.
set -euo pipefail
prefix=$1; shift
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Russian locale so the ANSI code page is 1251, as on the cube builders' machines.
locale=${CUBE_LC_ALL:-ru_RU.UTF-8}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine32.sh"
"$here/wine-prefix.sh" "$prefix"
loader=$(wine_loader_for "$1")
if [ -z "${DISPLAY:-}" ]; then
  exec env LC_ALL="$locale" xvfb-run -a -s "-screen 0 1600x1000x24" "$loader" "$@"
fi
exec env LC_ALL="$locale" "$loader" "$@"
