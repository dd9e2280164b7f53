// The event handlers of TControl and the event setters that attach them: mouse, keys, resize,
// show/hide, enter/leave and paint.
// A handler touches only messages addressed to its own window (the application window also sees
// the messages of windows without an object) and never lets an exception out.
#include "platform/handlers.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/canvas.h"

namespace {

bool IsDown(int virtualKey) { return GetKeyState(virtualKey) < 0; }

// The cursor position a mouse message carries, in the window's client coordinates (the wheel
// message carries screen coordinates).
POINT MessagePoint(const TMessage& msg) {
  POINT at = {GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
  if (msg.Message == WM_MOUSEWHEEL) ScreenToClient(msg.Window, &at);
  return at;
}

bool IsMouseMessage(UINT message) { return message >= WM_MOUSEFIRST && message <= WM_MOUSEWHEEL; }

// Asks for (or cancels) the leave notice.
void TrackLeave(HWND window, DWORD flags) {
  TRACKMOUSEEVENT request = {};
  request.cbSize = sizeof(request);
  request.dwFlags = flags;
  request.hwndTrack = window;
  TrackMouseEvent(&request);
}

void Fire(const TObjEvent& event, TControl* sender) {
  if (event) event(sender);
}

}  // namespace

std::int32_t KeyShiftState() {
  std::int32_t shift = 0;
  if (IsDown(VK_SHIFT)) shift |= kShiftKey;
  if (IsDown(VK_CONTROL)) shift |= kCtrlKey;
  if (IsDown(VK_MENU)) shift |= kAltKey;
  return shift;
}

bool MouseHandler(TControl* self, TMessage& msg, LRESULT& result) {
  if (!IsMouseMessage(msg.Message) || msg.Window != self->Handle) return false;
  TMouseEventData mouse;
  // The whole word parameter: for the wheel its high word is the rotation.
  mouse.Shift = static_cast<std::int32_t>(static_cast<std::uint32_t>(msg.WParam));
  if (IsDown(VK_MENU)) mouse.Shift |= kAltKey;
  const POINT at = MessagePoint(msg);
  mouse.X = static_cast<std::int16_t>(at.x);
  mouse.Y = static_cast<std::int16_t>(at.y);
  result = 0;

  const TOnMouseEvent* event = nullptr;
  switch (msg.Message) {
    case WM_MOUSEMOVE:
      event = &self->Events().OnMouseMove;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      event = &self->Events().OnMouseDown;
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      event = &self->Events().OnMouseUp;
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      event = &self->Events().OnMouseDblClick;
      break;
    default:
      event = &self->Events().OnMouseWheel;
      break;
  }
  // Down, up and double click come in threes: left, right, middle.
  if (msg.Message >= WM_LBUTTONDOWN && msg.Message <= WM_MBUTTONDBLCLK)
    mouse.Button = static_cast<std::uint8_t>((msg.Message - WM_LBUTTONDOWN) / 3 + 1);
  if (*event) (*event)(self, mouse);
  return mouse.StopHandling != 0;
}

bool KeyEventHandler(TControl* self, TMessage& msg, LRESULT& result) {
  if (msg.Window != self->Handle) return false;
  const TOnKeyEvent* keyEvent = nullptr;
  switch (msg.Message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      keyEvent = &self->Events().OnKeyDown;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      keyEvent = &self->Events().OnKeyUp;
      break;
    case WM_CHAR:
    case WM_SYSCHAR: {
      if (!self->Events().OnChar) return false;
      char ch = static_cast<char>(msg.WParam);
      self->Events().OnChar(self, ch, KeyShiftState());
      msg.WParam = static_cast<unsigned char>(ch);
      result = 0;
      return ch == 0;
    }
    default:
      return false;
  }
  if (!*keyEvent) return false;
  auto key = static_cast<std::int32_t>(static_cast<std::uint32_t>(msg.WParam));
  (*keyEvent)(self, key, KeyShiftState());
  msg.WParam = static_cast<WPARAM>(static_cast<std::uint32_t>(key));
  result = 0;
  return key == 0;
}

bool ResizeHandler(TControl* self, TMessage& msg, LRESULT&) {
  if (msg.Message == WM_SIZE && msg.Window == self->Handle) Fire(self->Events().OnResize, self);
  return false;
}

bool ShowHandler(TControl* self, TMessage& msg, LRESULT&) {
  if (msg.Message != WM_SHOWWINDOW || msg.Window != self->Handle) return false;
  // The message comes before the change: the window's own style bit still tells the old state.
  const bool wasVisible = (GetWindowLongW(msg.Window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (msg.WParam != 0) {
    self->Visible = true;
    if (!wasVisible) Fire(self->Events().OnShow, self);
  } else {
    self->Visible = false;
    if (wasVisible) Fire(self->Events().OnHide, self);
  }
  return false;
}

bool HoverHandler(TControl* self, TMessage& msg, LRESULT&) {
  if (msg.Window != self->Handle) return false;
  if (msg.Message == WM_MOUSELEAVE) {
    if (self->MouseInside) {
      self->MouseInside = false;
      Fire(self->Events().OnMouseLeave, self);
      self->Invalidate();
    }
    return false;
  }
  if (!IsMouseMessage(msg.Message)) return false;
  const POINT at = MessagePoint(msg);
  bool inside;
  if (self->HoverTest != nullptr) {
    inside = self->HoverTest(self, at);
  } else {
    const RECT client = self->GetClientRect();
    inside = PtInRect(&client, at) != FALSE;
  }
  if (inside == self->MouseInside) return false;
  self->Invalidate();
  if (inside) {
    self->MouseInside = true;
    Fire(self->Events().OnMouseEnter, self);
    TrackLeave(msg.Window, TME_LEAVE);
  } else {
    self->MouseInside = false;
    TrackLeave(msg.Window, TME_CANCEL | TME_LEAVE);
    Fire(self->Events().OnMouseLeave, self);
  }
  return false;
}

void PaintControlInto(TControl* self, HDC dc) {
  const int saved = SaveDC(dc);
  if (self->PaintClipRegion) ExtSelectClipRgn(dc, self->PaintClipRegion.Get(), RGN_AND);
  // A canvas the control already has draws on the paint DC meanwhile, and gives it back after.
  if (self->Canvas != nullptr) self->Canvas->SetHandle(dc, TDCRelease::None);
  self->Events().OnPaint(self, dc);
  if (self->Canvas != nullptr && self->Canvas->Handle == dc) self->Canvas->SetHandle(nullptr);
  if (saved != 0) RestoreDC(dc, saved);
}

bool PaintHandler(TControl* self, TMessage& msg, LRESULT& result) {
  if ((msg.Message != WM_PAINT && msg.Message != WM_PRINT) || msg.Window != self->Handle ||
      !self->Events().OnPaint)
    return false;
  AnswerPaint(msg, result, [self](HDC dc) { PaintControlInto(self, dc); });
  return true;
}

void TControl::SetOnPaint(TOnPaintEvent e) {
  events_.OnPaint = e;
  AttachHandler(PaintHandler, false);
}

void TControl::SetOnMouseDown(TOnMouseEvent e) {
  events_.OnMouseDown = e;
  AttachHandler(MouseHandler, false);
}

void TControl::SetOnMouseUp(TOnMouseEvent e) {
  events_.OnMouseUp = e;
  AttachHandler(MouseHandler, false);
}

void TControl::SetOnMouseMove(TOnMouseEvent e) {
  events_.OnMouseMove = e;
  AttachHandler(MouseHandler, false);
}

void TControl::SetOnMouseDblClick(TOnMouseEvent e) {
  events_.OnMouseDblClick = e;
  AttachHandler(MouseHandler, false);
}

void TControl::SetOnMouseWheel(TOnMouseEvent e) {
  events_.OnMouseWheel = e;
  AttachHandler(MouseHandler, false);
}

void TControl::SetOnKeyDown(TOnKeyEvent e) {
  events_.OnKeyDown = e;
  KeyHandler = KeyEventHandler;
}

void TControl::SetOnKeyUp(TOnKeyEvent e) {
  events_.OnKeyUp = e;
  KeyHandler = KeyEventHandler;
}

void TControl::SetOnChar(TOnCharEvent e) {
  events_.OnChar = e;
  KeyHandler = KeyEventHandler;
}

void TControl::SetOnResize(TObjEvent e) {
  events_.OnResize = e;
  AttachHandler(ResizeHandler, false);
}

void TControl::SetOnShow(TObjEvent e) {
  events_.OnShow = e;
  AttachHandler(ShowHandler, false);
}

void TControl::SetOnHide(TObjEvent e) {
  events_.OnHide = e;
  AttachHandler(ShowHandler, false);
}

void TControl::SetOnMouseEnter(TObjEvent e) {
  events_.OnMouseEnter = e;
  AttachHandler(HoverHandler, false);
  Invalidate();
}

void TControl::SetOnMouseLeave(TObjEvent e) {
  events_.OnMouseLeave = e;
  AttachHandler(HoverHandler, false);
  Invalidate();
}
