#!/usr/bin/env bash
# Puts the editor into the state the README's picture shows, for tools/screenshot.sh:
#   tools/screenshot.sh build/win64/app/cube_editor.exe resources/screenshot.png tools/screenshot-workbench.sh
# Lights a diagonal of layer 1, records it and three shifted copies as an effect, then plays it and
# pauses on the third frame. Uses only the mouse and the keys a user would (WINDOW and DISPLAY come
# from screenshot.sh); places are window coordinates of the undecorated-frame layout it takes.
set -euo pipefail
# The window's frame and title bar put the client area at (4, 23).
at() { xdotool mousemove --window "$WINDOW" $(($1 + 4)) $(($2 + 23)) click 1; sleep 0.3; }
record() { at 300 635; xdotool key Return; sleep 0.3; }
lefts=(70 120 175 230 285 340)
tops=(245 300 350 400 455 510)
for i in 0 1 2 3 4 5; do at $((lefts[i] + 20)) $((tops[i] + 20)); done
record
for _ in 1 2 3; do
  at 561 49  # "X+"
  record
done
xdotool key F5
sleep 0.25
xdotool key F5
sleep 0.3
xdotool mousemove --window "$WINDOW" 2 30
