#!/usr/bin/env bash
# Creates a Wine prefix once (about 20 s); later calls return at once. Safe to call from parallel tests.
# wine-prefix.sh PREFIX [desktop]
# Without "desktop" the prefix is for virtual displays, which have no window manager: Wine is told
# not to hand its windows to one, or every hidden or destroyed window waits 2 s for an answer that
# never comes. With "desktop" windows stay managed, as a user's desktop expects.
set -euo pipefail
prefix=$1
mode=${2:-virtual}
[ -f "$prefix/.cube-ready" ] && [ -f "$prefix/.cube-$mode" ] && exit 0
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
(
  flock 9
  if [ ! -f "$prefix/.cube-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$prefix/.cube-ready"
  fi
  if [ ! -f "$prefix/.cube-$mode" ]; then
    managed=N
    [ "$mode" = desktop ] && managed=Y
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1
    wineserver -w || true
    rm -f "$prefix"/.cube-virtual "$prefix"/.cube-desktop
    touch "$prefix/.cube-$mode"
  fi
) 9>"$prefix.lock"
