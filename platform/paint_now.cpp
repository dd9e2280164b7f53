#include "platform/paint_now.h"

#include "platform/app.h"
#include "platform/handlers.h"

void TChildAreas::Read(HWND parent) {
  areas_.clear();
  const TOwnedRegion covered(CreateRectRgn(0, 0, 0, 0));
  if (!covered) return;
  // GW_CHILD is the topmost child; each next one lies under all read before it.
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT client{};
    ::GetClientRect(child, &client);
    MapWindowPoints(child, parent, reinterpret_cast<POINT*>(&client), 2);
    TArea area;
    area.Origin = {client.left, client.top};
    area.Own.Reset(CreateRectRgnIndirect(&client));
    if (!area.Own) {
      areas_.clear();
      return;
    }
    CombineRgn(area.Own.Get(), area.Own.Get(), covered.Get(), RGN_DIFF);
    // A hidden child covers nothing; its own style says so even while the parent is hidden too.
    if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0) {
      RECT whole{};
      GetWindowRect(child, &whole);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&whole), 2);
      const TOwnedRegion shape(CreateRectRgnIndirect(&whole));
      if (shape) CombineRgn(covered.Get(), covered.Get(), shape.Get(), RGN_OR);
    }
    areas_.insert_or_assign(child, std::move(area));
  }
}

const TChildAreas::TArea* TChildAreas::Of(HWND child) const {
  const auto found = areas_.find(child);
  return found != areas_.end() ? &found->second : nullptr;
}

namespace {

// Paints what PaintNow paints; adds each area painted to `painted` when it is given.
void PaintChildren(TControl* parent, const TChildAreas& areas, std::span<TControl* const> children,
                   HRGN painted) {
  if (AppTerminated || parent == nullptr || parent->Handle == nullptr) return;
  HWND window = parent->Handle;
  const bool showing = IsWindowVisible(window) && !IsIconic(GetAncestor(window, GA_ROOT));
  // Not clipped by the children: each is clipped to its own area below.
  const TDC dc(showing ? GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS) : nullptr,
               TDCRelease::ReleaseDC, window);
  for (TControl* c : children) {
    if (c == nullptr || c->Handle == nullptr) continue;
    const TChildAreas::TArea* area = dc ? areas.Of(c->Handle) : nullptr;
    const bool paintable = area != nullptr && c->Events().OnPaint && !c->GetTransparent() &&
                           !c->PaintClipRegion && (GetWindowLongW(c->Handle, GWL_STYLE) & WS_VISIBLE) != 0;
    if (!paintable) {
      c->Invalidate();
      continue;
    }
    // Both set whole for each child; PaintControlInto undoes whatever OnPaint changes.
    ExtSelectClipRgn(dc.Get(), area->Own.Get(), RGN_COPY);
    SetViewportOrgEx(dc.Get(), area->Origin.x, area->Origin.y, nullptr);
    PaintControlInto(c, dc.Get());
    if (painted != nullptr) CombineRgn(painted, painted, area->Own.Get(), RGN_OR);
  }
}

}  // namespace

void PaintNow(TControl* parent, const TChildAreas& areas, std::span<TControl* const> children) {
  PaintChildren(parent, areas, children, nullptr);
}

void PaintNowInsteadOfPaint(TControl* parent, const TChildAreas& areas, std::span<TControl* const> children) {
  const TOwnedRegion painted(CreateRectRgn(0, 0, 0, 0));
  if (!painted) {
    PaintNow(parent, areas, children);
    return;
  }
  PaintChildren(parent, areas, children, painted.Get());
  // One call for them all: the parent never paints under its children, and their frames stay due.
  if (parent != nullptr && parent->Handle != nullptr)
    RedrawWindow(parent->Handle, nullptr, painted.Get(), RDW_VALIDATE | RDW_ALLCHILDREN);
  // On screen now, not once every other paint of the window is done: Wine shows what was drawn
  // outside a paint of its own only when the program next falls idle or flushes.
  GdiFlush();
}
