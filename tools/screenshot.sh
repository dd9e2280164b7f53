#!/usr/bin/env bash
# Takes a picture of the editor's window as a user sees it, title bar and frame included, cropped
# to the window: the README's screenshot (tools/screenshot.sh build/win64/app/cube_editor.exe
# resources/screenshot.png). Never touches a display, Wine server or window but its own.
#
# tools/screenshot.sh PROGRAM OUT.png [PREPARE...]
#   PROGRAM  the built cube_editor.exe; its build tree's Wine prefix is used (made if missing).
#   PREPARE  an optional command run once the window is up and painted, before the picture is taken,
#            to put the window into the state to show (clicks with xdotool, say). It gets DISPLAY and
#            WINDOW (the X window id of the editor's window) in its environment.
# The program runs on a virtual display of its own (SCREENSHOT_DISPLAY=:N picks its number). There
# is no window manager there, so Wine draws the frame and the caption itself, as Windows does.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 PROGRAM OUT.png [PREPARE...]" >&2; exit 2; }
program=$(realpath "$1")
out=$(realpath -m "$2")
shift 2
cd "$(dirname "$0")/.."
[ -f "$program" ] || { echo "screenshot.sh: no program $program" >&2; exit 1; }

source tools/wine32.sh
prefix=$(dirname "$(dirname "$program")")/wineprefix
tools/wine-prefix.sh "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all

display=${SCREENSHOT_DISPLAY:-}
if [ -z "$display" ]; then
  for n in $(seq 150 199); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=:$n; break; }
  done
fi
[ -n "$display" ] || { echo "screenshot.sh: no free display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wine_pid=
# Ends only what it started: tests may be using the same prefix meanwhile.
finish() {
  [ -n "$wine_pid" ] && { kill "$wine_pid" 2>/dev/null || true; wait "$wine_pid" 2>/dev/null || true; }
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
}
trap finish EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# It runs in the caller's locale: the program's texts reach Windows in UTF-16 whatever the code page.
# Its stderr is dropped: the prefix's own services complain there when the display goes away.
"$(wine_loader_for "$program")" "$program" 2>/dev/null &
wine_pid=$!

# The editor's window is the program's largest visible one: the application window beside it is
# mapped too, at 1 x 1 pixel.
window=
for _ in $(seq 60); do
  best=0
  for id in $(xdotool search --onlyvisible --pid "$wine_pid" 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ $((WIDTH * HEIGHT)) -gt "$best" ]; then best=$((WIDTH * HEIGHT)) window=$id; fi
  done
  [ "$best" -gt 100 ] && break
  window=
  sleep 0.5
done
[ -n "$window" ] || { echo "screenshot.sh: the program showed no window" >&2; exit 1; }
# Start-up paints and the first tick of the clearing timer are over well within this.
sleep 2

if [ $# -gt 0 ]; then
  WINDOW=$window "$@"
  sleep 1
fi

eval "$(xdotool getwindowgeometry --shell "$window")"
mkdir -p "$(dirname "$out")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out"
echo "screenshot.sh: ${WIDTH}x${HEIGHT} window saved to $out"
