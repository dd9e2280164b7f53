// Painting many small painted children of one window at once: through one DC of their parent, not
// one WM_PAINT each later. Under Wine every child's own paint, DC or validation is a round trip to
// the window server (tens of microseconds on an idle machine), so a whole cube of LEDs painted one
// by one takes tens of milliseconds where one parent DC takes two or three.
#pragma once

#include <windows.h>

#include <span>
#include <unordered_map>

#include "platform/control.h"
#include "platform/handles.h"

// The part of each child of a parent that is its own on the screen: its client rectangle less those
// of the visible siblings above it, in the parent's client coordinates. Read off the window system
// once, since that asks it about every child; the caller reads it again whenever children move,
// show, hide or change places.
class TChildAreas {
 public:
  void Read(HWND parent);

  struct TArea {
    TOwnedRegion Own;  // what the child shows of itself
    POINT Origin{};    // its client origin
  };
  const TArea* Of(HWND child) const;

 private:
  std::unordered_map<HWND, TArea> areas_;
};

// Paints these children of `parent` now, each within its own area, as its WM_PAINT would. A child
// this cannot paint so (one without an area, transparent, with a clip region of its own, or no
// OnPaint) is invalidated for its WM_PAINT instead, as are all while the parent is hidden or its
// window minimised (a minimised window may keep its old picture when restored).
void PaintNow(TControl* parent, const TChildAreas& areas, std::span<TControl* const> children);
// As PaintNow, for children whose own paint is due (their window was just shown): what is painted
// here is then validated, so each is painted once, all through one DC, and before the windows above
// them, rather than last of the window by a paint of its own.
void PaintNowInsteadOfPaint(TControl* parent, const TChildAreas& areas, std::span<TControl* const> children);
