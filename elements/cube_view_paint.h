// The picture of the cube in perspective: the 216 LEDs in the editor's colours (lit ones bright,
// dark ones faint), the cube's edges and the axis marks X, Y and "Слой", for one pattern and one
// turn. Shared by the cube view window and anything that renders the view into a bitmap.
// Must never keep a drawing object or the pattern past the call: everything it makes is given back.
#pragma once

#include <windows.h>

#include "cube/pattern.h"
#include "cube/view3d.h"

namespace cube_view {

using TTurn = cube::TViewTurn;  // degrees: Yaw about the layer axis, Pitch of the eye
inline constexpr TTurn Home() { return cube::kHomeTurn; }

// Paints the whole width x height area (background included) of dc.
void Paint(HDC dc, int width, int height, const cube::TPattern& pattern, const TTurn& turn);

}  // namespace cube_view
