// Transparent controls: a control with Transparent set shows its parent through itself. Its paint
// is composed off-screen: the parent's background and painting first, then every transparent
// child of that parent in list order, then the part of it that is this control is copied to the
// window. Foreign child windows (ones without an object) under such a parent are subclassed so
// they do not erase over it.
// The hooks installed here stay for the rest of the run; they must stay cheap for every other
// window, since they see every message.
#include "platform/handlers.h"

namespace {

constexpr wchar_t kPrevProc[] = L"PREV_PROC";

bool HasTransparentChild(const TControl* c) {
  for (std::int32_t i = 0; i < c->ChildCount(); ++i)
    if (const TControl* child = c->ChildAt(i); child != nullptr && child->GetTransparent()) return true;
  return false;
}

bool TransparentCapable(const TControl* c) { return c->GetTransparent() || HasTransparentChild(c); }

LRESULT CALLBACK TransparentSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPrevProc));
  if ((message == WM_ERASEBKGND || message == WM_NCPAINT) && ControlOfWindow(window) == nullptr) {
    const TControl* parent = ControlOfWindow(GetParent(window));
    if (parent != nullptr && TransparentCapable(parent)) return message == WM_ERASEBKGND ? 1 : 0;
  }
  if (previous == nullptr) return 0;
  const LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
  if (message == WM_NCDESTROY) RemovePropW(window, kPrevProc);
  return result;
}

// Only foreign windows: the library's own windows handle transparency in their WndProc.
BOOL CALLBACK SubclassForeignChild(HWND child, LPARAM) {
  if (GetPropW(child, kPrevProc) != nullptr || ControlOfWindow(child) != nullptr) return TRUE;
  const LONG_PTR previous = GetWindowLongPtrW(child, GWLP_WNDPROC);
  if (previous == 0) return TRUE;
  SetPropW(child, kPrevProc, reinterpret_cast<HANDLE>(previous));
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TransparentSubclassProc));
  return TRUE;
}

void SubclassForeignChildren(TControl* created) {
  if (created->Handle != nullptr) EnumChildWindows(created->Handle, SubclassForeignChild, 0);
}

// Where `from`'s client origin lies in `to`'s client coordinates.
POINT ClientOrigin(HWND from, HWND to) {
  POINT at = {0, 0};
  MapWindowPoints(from, to, &at, 1);
  return at;
}

// A transparent control's look depends on what lies under it: repaint that area of the nearest
// opaque ancestor, with the children there (overlapping transparent siblings show this one).
void InvalidateOpaqueAncestor(TControl* c) {
  if (!c->GetTransparent() || c->Handle == nullptr) return;
  TControl* ancestor = c->GetParent();
  while (ancestor != nullptr && ancestor->GetTransparent()) ancestor = ancestor->GetParent();
  if (ancestor == nullptr || ancestor->Handle == nullptr) return;
  RECT area;
  GetWindowRect(c->Handle, &area);
  MapWindowPoints(nullptr, ancestor->Handle, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(ancestor->Handle, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Paints `c`'s background and own painting into dc, whose logical origin is `origin` in `c`'s
// client coordinates; a transparent `c` shows its own parent first.
void PaintUnder(TControl* c, HDC dc, POINT origin) {
  if (c->GetTransparent() && c->GetParent() != nullptr && c->GetParent()->Handle != nullptr) {
    const POINT at = ClientOrigin(c->Handle, c->GetParent()->Handle);
    PaintUnder(c->GetParent(), dc, {origin.x + at.x, origin.y + at.y});
  } else {
    // A parent whose erase draws nothing must not leave the bitmap's undefined pixels.
    RECT client;
    ::GetClientRect(c->Handle, &client);
    OffsetRect(&client, -origin.x, -origin.y);
    const TOwnedBrush brush(CreateSolidBrush(ResolveColor(c->GetColor())));
    ::FillRect(dc, &client, brush.Get());
  }
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
  SendMessageW(c->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(c->Handle, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
}

void PaintComposed(TControl* self, HDC target) {
  RECT client;
  ::GetClientRect(self->Handle, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return;
  const TDC memoryDC = TDC::Memory(target);
  const TOwnedBitmap bitmap(memoryDC ? CreateCompatibleBitmap(target, width, height) : nullptr);
  if (!bitmap) return;
  HDC memory = memoryDC.Get();
  const TSelection drawing(memory, bitmap.Get());

  TControl* parent = self->GetParent();
  PaintUnder(parent, memory, ClientOrigin(self->Handle, parent->Handle));
  for (std::int32_t i = 0; i < parent->ChildCount(); ++i) {
    TControl* child = parent->ChildAt(i);
    if (child == nullptr || !child->GetTransparent() || child->Handle == nullptr ||
        !IsWindowVisible(child->Handle))
      continue;
    RECT childClient;
    ::GetClientRect(child->Handle, &childClient);
    const POINT at = ClientOrigin(child->Handle, self->Handle);
    OffsetRect(&childClient, at.x, at.y);
    RECT overlap;
    if (!IntersectRect(&overlap, &childClient, &client)) continue;
    const int saved = SaveDC(memory);
    SetViewportOrgEx(memory, at.x, at.y, nullptr);
    IntersectClipRect(memory, 0, 0, childClient.right - childClient.left,
                      childClient.bottom - childClient.top);
    SendMessageW(child->Handle, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    RestoreDC(memory, saved);
  }
  BitBlt(target, 0, 0, width, height, memory, 0, 0, SRCCOPY);
}

}  // namespace

bool TransparencyHandler(TControl* self, TMessage& msg, LRESULT& result) {
  if (!self->GetTransparent() || self->GetParent() == nullptr || self->GetParent()->Handle == nullptr ||
      msg.Window != self->Handle)
    return false;
  switch (msg.Message) {
    case WM_SETTEXT:
      // The default processing of some controls draws the new text at once over the old one;
      // repaint the composition over it. (No hide and show: that would take the focus away.)
      result = self->CallDefault(msg);
      RedrawWindow(msg.Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      InvalidateOpaqueAncestor(self);
      return true;
    case WM_ERASEBKGND:
      result = 1;  // the background comes with the composed paint
      return true;
    case WM_PAINT:
      AnswerPaint(msg, result, [self](HDC dc) { PaintComposed(self, dc); });
      return true;
    default:
      return false;
  }
}

void EnableTransparentPainting(TControl* parent) {
  if (GlobalMessageHook != TransparencyHandler) {
    GlobalMessageHook = TransparencyHandler;
    AfterInvalidateHook = InvalidateOpaqueAncestor;
    AfterCreateHook = SubclassForeignChildren;
  }
  if (parent != nullptr) SubclassForeignChildren(parent);
}

void TControl::SetTransparent(bool t) {
  if (Transparent == t) return;
  Transparent = t;
  if (t && Parent != nullptr) EnableTransparentPainting(Parent);
  Invalidate();
}
