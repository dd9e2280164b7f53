#!/usr/bin/env bash
# Puts the editor into the state the README's generator picture shows, for tools/screenshot.sh:
#   tools/screenshot.sh build/win64/app/cube_editor.exe resources/generator.png tools/screenshot-generator.sh
# Opens the generator dialog with Ctrl+G and chooses the wave, its preview playing.
# Uses only the keys a user would (WINDOW and DISPLAY come from screenshot.sh).
set -euo pipefail
xdotool mousemove --window "$WINDOW" 2 30
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key ctrl+g
sleep 1
xdotool key Home
for _ in 1 2 3 4; do xdotool key Down; done
sleep 1.2
