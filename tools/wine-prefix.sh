#!/usr/bin/env bash
# Creates a Wine prefix once (about 20 s); later calls return at once. Safe to call from parallel tests.
set -euo pipefail
prefix=$1
[ -f "$prefix/.cube-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
(
  flock 9
  if [ ! -f "$prefix/.cube-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
    touch "$prefix/.cube-ready"
  fi
) 9>"$prefix.lock"
