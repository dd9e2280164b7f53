// A message box that keeps clear of one window: a box that lists lines of a text must not hide
// that text. Must never change the box's text, buttons or answer, only where it stands.
#pragma once

#include <windows.h>

// MessageBoxW over CP1251 texts, with the box moved beside `uncovered` (left of it, else below, right or
// above it, within the screen's work area) when it would cover it; where no side has room it stays put.
int MessageBoxBeside(HWND owner, const char* text, const char* caption, UINT flags, HWND uncovered);

// Where a box of this size goes when it covers `keepClear`: the nearest place beside it within
// `area`, else `box` itself. Window-free; all rectangles in one coordinate space.
RECT PlaceBeside(const RECT& box, const RECT& keepClear, const RECT& area);
