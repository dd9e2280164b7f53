#!/usr/bin/env bash
# Creates a Wine prefix once (about 20 s); later calls return at once. Safe to call from parallel tests.
# wine-prefix.sh PREFIX [desktop]
# Without "desktop" the prefix is for virtual displays, which have no window manager: Wine is told
# not to hand its windows to one, or every hidden or destroyed window waits 2 s for an answer that
# never comes. With "desktop" windows stay managed, as a user's desktop expects.
# The prefix is made by the 64-bit loader, which starts on every machine that has Wine at all; it runs
# 32-bit programs too where 32-bit Wine works. A prefix that cannot be made is said in one line, with
# Wine's own words, and the script fails: nothing later may go on in a half-made prefix.
set -euo pipefail
prefix=$1
mode=${2:-virtual}
# Wine draws the caption buttons with Marlett, but this Wine finds no font of its data folder: the one
# from fonts-wine goes into the prefix's own font folder, where every Wine looks.
marlett=/usr/share/wine/fonts/marlett.ttf
fonts=$prefix/drive_c/windows/Fonts
has_marlett() { [ ! -f "$marlett" ] || [ -f "$fonts/marlett.ttf" ]; }
[ -f "$prefix/.cube-ready" ] && [ -f "$prefix/.cube-$mode" ] && has_marlett && exit 0
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine32.sh"
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# fail STEP OUTPUT: the one line that names the prefix, the step and the first thing Wine said.
fail() {
  local said
  said=$(grep -v -E '^\s*$' <<<"$2" | head -n 1)
  echo "wine-prefix.sh: cannot make the Wine prefix $prefix: $1 failed${said:+: $said}" >&2
  exit 1
}

(
  flock 9
  if [ ! -f "$prefix/.cube-ready" ]; then
    out=$("$wine64_loader" wineboot -i 2>&1 </dev/null) || fail "wineboot" "$out"
    wineserver -w || true
    [ -f "$prefix/system.reg" ] || fail "wineboot" "${out:-it left no system.reg in the prefix}"
    touch "$prefix/.cube-ready"
  fi
  has_marlett || cp "$marlett" "$fonts/"
  if [ ! -f "$prefix/.cube-$mode" ]; then
    managed=N
    [ "$mode" = desktop ] && managed=Y
    out=$("$wine64_loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f 2>&1 </dev/null) ||
      fail "setting the window manager mode" "$out"
    wineserver -w || true
    rm -f "$prefix"/.cube-virtual "$prefix"/.cube-desktop
    touch "$prefix/.cube-$mode"
  fi
) 9>"$prefix.lock"
