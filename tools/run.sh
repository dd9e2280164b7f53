#!/usr/bin/env bash
# Builds the editor for its real target (i686) and opens it under Wine; where 32-bit programs cannot
# run (no 32-bit Wine, or a kernel that cannot start them), the x86_64 build stands in. Without a display
# it runs on a virtual one, saves a screenshot to build/screenshot.png and closes it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
source tools/wine32.sh
preset=win32
if ! wine32_runs; then
  preset=win64
  echo "run.sh: $wine32_why; building and opening the x86_64 editor instead"
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset --target cube_editor

program=build/$preset/app/cube_editor.exe
[ -f "$program" ] || { echo "run.sh: no program was built" >&2; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  # A real desktop: its window manager frames the editor's window.
  prefix=$PWD/build/$preset/wineprefix-desktop
  tools/wine-prefix.sh "$prefix" desktop
  export WINEPREFIX=$prefix WINEDEBUG=-all
  exec "$(wine_loader_for "$program")" "$program"
fi

echo "run.sh: no DISPLAY; running $program on a virtual display for a screenshot"
tools/screenshot.sh "$program" build/screenshot.png
