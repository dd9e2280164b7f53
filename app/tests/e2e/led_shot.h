// The LEDs as a screenshot shows them: which pixels of each LED's body tell its state, and a
// screenshot taken once every LED shows the colour of its expected state. Shared by the
// end-to-end tests; drives the program only through the driver.
#pragma once

#include <windows.h>

#include <bitset>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"

namespace e2e {

using TLit = std::bitset<kLedCount>;  // bit n - 1: LED n lit

struct TBodyPoint {
  POINT at;
  bool showsState;  // else always the dark colour
};

// Pixels of LED n's body next to its rim on every side, and its centre. A lit LED draws a line in
// its dark colour just inside the light rim (right and bottom), so those two show the dark colour
// in both states. An LED moved by one pixel shows rim or background at one of them. Points covered
// by a neighbouring LED of the perspective are left out.
std::vector<TBodyPoint> BodyPoints(int n);

// A screenshot in which every LED's body shows the colour of its state, or the last one taken
// within five seconds; `mismatches` lists the pixels that still differ (empty when all agree).
TScreenShot ShotShowing(TEditorProcess& editor, const TLit& lit, std::string& mismatches);

// The lit set of a frame string's indices (index i is LED i + 1); the string is trusted.
TLit LitOfFrame(const std::string& frame);

}  // namespace e2e
