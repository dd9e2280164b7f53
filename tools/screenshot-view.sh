#!/usr/bin/env bash
# Puts the editor into the state the README's cube view picture shows, for tools/screenshot.sh:
#   VIEW_SHOT=resources/view3d.png tools/screenshot.sh build/win64/app/cube_editor.exe /tmp/form.png \
#     tools/screenshot-view.sh
# Lights a diagonal through the cube and the top layer's front row, opens the view with F11, and
# saves the right half of the editor with the view beside it to VIEW_SHOT (the form alone goes to
# screenshot.sh's file).
set -euo pipefail
# The window's frame and title bar put the client area at (4, 23).
at() { xdotool mousemove --window "$WINDOW" $(($1 + 4)) $(($2 + 23)) click 1; sleep 0.2; }
sizes=(40 35 30 25 20 15)
lefts=(70 370 620 815 985 1125 120 415 655 845 1010 1145 175 460 690 875 1035 1165 230 505 725 905 1060 1185
       285 550 760 935 1085 1205 340 595 795 965 1110 1225)
tops=(245 300 350 400 455 510 195 240 285 325 370 415 140 175 210 245 280 315 100 130 160 190 220 250
      60 85 110 135 160 185 40 60 80 100 120 140)
led() {  # layer column row, all from 0
  local l=$1 c=$2 r=$3 half=$((sizes[$1] / 2))
  local x=${lefts[$((c * 6 + l))]} y=${tops[$((l * 6 + r))]}
  at $((x + half)) $((y + half))
}
for i in 0 1 2 3 4 5; do led "$i" "$i" "$i"; done
for c in 0 1 2 3 4 5; do led 5 "$c" 5; done
xdotool key F11
sleep 1.5
xdotool mousemove 1590 990
sleep 0.5
[ -n "${VIEW_SHOT:-}" ] && import -window root -crop 900x745+700+0 +repage "$VIEW_SHOT"
true
