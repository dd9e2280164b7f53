#!/usr/bin/env bash
# Builds the editor for its real target (i686) and opens it under Wine.
# Without a display it runs on a virtual one, saves a screenshot to build/screenshot.png and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32

program=
for candidate in build/win32/app/cube_editor.exe build/win32/tools/cube_demo.exe; do
  [ -f "$candidate" ] && { program=$candidate; break; }
done
[ -n "$program" ] || { echo "run.sh: no program was built" >&2; exit 1; }

# The program's texts are code page 1251: Wine takes the ANSI code page from the locale.
russian="env LC_ALL=ru_RU.UTF-8"

if [ -n "${DISPLAY:-}" ]; then
  # A real desktop: its window manager frames the editor's window.
  prefix=$PWD/build/win32/wineprefix-desktop
  tools/wine-prefix.sh "$prefix" desktop
  export WINEPREFIX=$prefix WINEDEBUG=-all
  exec $russian wine "$program"
fi

echo "run.sh: no DISPLAY; running $program on a virtual display for a screenshot"
tools/screenshot.sh "$program" build/screenshot.png
