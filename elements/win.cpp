// TQxWin: applying the shared properties to the control, the key protocol, the mouse, focus, size
// and move notifications, and the hint attachment. Must never let an exception leave a handler.
#include "elements/win.h"

#include <string_view>

HintCallbacks* ProcessHintCallbacks = nullptr;

TFontRec MakeFontRec(const ByteString& name, std::uint8_t size, std::uint8_t style, std::int32_t color,
                     std::uint8_t charset) {
  TFontRec f;
  f.Name = name;
  f.Size = size;
  f.Style = style;
  f.Color = color;
  f.CharSet = charset;
  return f;
}

std::int32_t FontHeightForSize(std::uint8_t size, std::int32_t pixelsPerInch) {
  return -((static_cast<std::int32_t>(size) * pixelsPerInch + 36) / 72);
}

std::int32_t ScreenPixelsPerInch() {
  static const std::int32_t pixelsPerInch = [] {
    const TDC screen = TDC::OfWindow(nullptr);
    const int value = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return value > 0 ? value : 96;
  }();
  return pixelsPerInch;
}

namespace {

TControl* AccessControl(TQxWin* w) { return w->Control; }

void MouseDownProc(TQxWin* w, TControl*, TMouseEventData& mouse) { w->DoMouseDown(mouse); }
void MouseMoveProc(TQxWin* w, TControl*, TMouseEventData& mouse) { w->DoMouseMove(mouse); }
void MouseUpProc(TQxWin* w, TControl*, TMouseEventData& mouse) { w->DoMouseUp(mouse); }
void MouseWheelProc(TQxWin* w, TControl*, TMouseEventData& mouse) { w->DoMouseWheel(mouse); }
void MouseDblClickProc(TQxWin* w, TControl*, TMouseEventData& mouse) {
  FireInt(w->outDblClick, static_cast<std::int32_t>(mouse.Button) - 1);
}
void DestroyedProc(TQxWin* w, TObj*) { w->DoControlDestroyed(); }
void ResizeProc(TQxWin* w, TObj*) { w->DoResize(); }
void ShowProc(TQxWin* w, TObj*) { w->DoShow(); }
void HideProc(TQxWin* w, TObj*) { w->DoHide(); }
void EnterProc(TQxWin* w, TObj*) { w->DoMouseEnter(); }
void LeaveProc(TQxWin* w, TObj*) { w->DoMouseLeave(); }

// The parent's own key handler sees the key first when KeysToParent is set; answers false when it
// swallowed the key (set it to 0).
template <class Event, class Key>
bool ParentLetsThrough(const TQxWin& w, Event TControlEvents::*slot, Key& key, std::int32_t shift) {
  if (w.KeysToParent == 0 || w.ParentControl == nullptr) return true;
  const Event& handler = w.ParentControl->Events().*slot;
  if (!handler) return true;
  handler(w.ParentControl, key, shift);
  return key != 0;
}

void KeyDownProc(TQxWin* self, TControl*, std::int32_t& key, std::int32_t shift) {
  TQxWin& w = *self;
  if (!ParentLetsThrough(w, &TControlEvents::OnKeyDown, key, shift)) {
    // The character this key would produce goes the same way.
    w.KeyOverride = 0;
    return;
  }
  w.KeyOverride = -1;
  w.DoKeyDown(key, shift);
  if (w.KeyOverride >= 0)
    key = w.KeyOverride;
  else if (key == 0)
    w.KeyOverride = 0;
}

void KeyUpProc(TQxWin* self, TControl*, std::int32_t& key, std::int32_t shift) {
  TQxWin& w = *self;
  if (!ParentLetsThrough(w, &TControlEvents::OnKeyUp, key, shift)) return;
  w.KeyOverride = -1;
  w.DoKeyUp(key, shift);
  if (w.KeyOverride >= 0) key = w.KeyOverride;
}

void CharProc(TQxWin* self, TControl*, char& ch, std::int32_t shift) {
  TQxWin& w = *self;
  if (!ParentLetsThrough(w, &TControlEvents::OnChar, ch, shift)) return;
  if (w.KeyOverride != 0) {
    w.KeyOverride = -1;
    w.DoKeyChar(ch, shift);
  }
  if (w.KeyOverride >= 0) ch = static_cast<char>(w.KeyOverride & 0xFF);
}

// The button held alone during a move: 0 left, 1 right, 2 middle; anything else -1.
std::int32_t HeldButton(std::int32_t shift) {
  switch (shift) {
    case MK_LBUTTON:
      return 0;
    case MK_RBUTTON:
      return 1;
    case MK_MBUTTON:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

TQxWin::TQxWin(TControl* parentControl) : ParentControl(parentControl) {
  if (parentControl != nullptr) Color = parentControl->GetColor();
}

TQxWin::~TQxWin() {
  if (Control != nullptr && ControlGone == 0) {
    // The control may outlive this call while a message holds it: it must not call back in here.
    Control->ClearEvents();
    Control->SetOnMessage(PrevMessageHandler);
    if (Control->Handle != nullptr) ShowWindow(Control->Handle, SW_HIDE);
    Control->Free();
  }
  Control = nullptr;
  if (HintId != 0 && HintLink != nullptr && HintLink->Unregister) HintLink->Unregister(HintId);
}

void TQxWin::DoKeyDown(std::int32_t& key, std::int32_t) { FireInt(outKeyDown, key); }

void TQxWin::DoKeyUp(std::int32_t& key, std::int32_t) { FireInt(outKeyUp, key); }

void TQxWin::DoKeyChar(char& ch, std::int32_t) { FireStr(outKeyChar, ByteString(std::string_view(&ch, 1))); }

void TQxWin::DoMouseDown(TMouseEventData& mouse) {
  MouseInfo = mouse;
  FireInt(outMouseDown, static_cast<std::int32_t>(mouse.Button) - 1);
  if (MouseCapture != 0 && Control != nullptr && Control->Handle != nullptr) {
    ReleaseCapture();
    SetCapture(Control->Handle);
  }
}

void TQxWin::DoMouseMove(TMouseEventData& mouse) {
  MouseInfo = mouse;
  if (HintLink != nullptr && HintLink->TipMove) HintLink->TipMove(HintId, mouse.X, mouse.Y);
  FireInt(outMouseMove, HeldButton(MouseInfo.Shift));
}

void TQxWin::DoMouseEnter() {
  if (HintLink != nullptr && HintLink->TipEnter) HintLink->TipEnter(HintId);
  FireEmpty(outMouseEnter);
}

void TQxWin::DoMouseLeave() {
  if (HintLink != nullptr && HintLink->TipLeave) HintLink->TipLeave(HintId);
  FireEmpty(outMouseLeave);
}

void TQxWin::DoMouseUp(TMouseEventData& mouse) {
  MouseInfo = mouse;
  FireInt(outMouseUp, static_cast<std::int32_t>(mouse.Button) - 1);
  if (MouseCapture != 0) ReleaseCapture();
}

void TQxWin::DoMouseWheel(TMouseEventData& mouse) {
  MouseInfo = mouse;
  const auto shift = static_cast<std::uint32_t>(MouseInfo.Shift);
  FireInt(outMouseWheel, static_cast<std::int16_t>(shift >> 16));
}

bool TQxWin::DoMessage(TMessage& msg, LRESULT& result) {
  switch (msg.Message) {
    case WM_MOVE:
      FireEmpty(outMove);
      break;
    case WM_SETFOCUS:
      FireEmpty(outFocus);
      break;
    case WM_KILLFOCUS:
      FireEmpty(outBlur);
      break;
    case WM_WINDOWPOSCHANGING:
      if (msg.LParam != 0) FilterSize(*reinterpret_cast<WINDOWPOS*>(msg.LParam));
      break;
    default:
      break;
  }
  if (PrevMessageHandler) return PrevMessageHandler(msg, result);
  return false;
}

// Lets the size inputs correct a proposed size change; an answer that is not an integer keeps it.
void TQxWin::FilterSize(WINDOWPOS& pos) {
  if ((pos.flags & SWP_NOSIZE) != 0 || Control == nullptr) return;
  auto correct = [](int& proposed, std::int32_t current, const auto& input) {
    if (proposed == current) return;
    TData delta;
    MakeInt(&delta, proposed - current);
    PullRaw(&delta, input);
    if (delta.Kind == dkInteger) proposed = current + delta.IntValue;
  };
  correct(pos.cy, Control->GetHeight(), dataHeightDelta);
  correct(pos.cx, Control->GetWidth(), dataWidthDelta);
}

void TQxWin::DoControlDestroyed() { ControlGone = 1; }

void TQxWin::DoResize() { FireEmpty(outResize); }

void TQxWin::DoShow() { FireEmpty(outShow); }

void TQxWin::DoHide() { FireEmpty(outHide); }

void TQxWin::Init() { CommonInit(); }

TControlAccess TQxWin::GetControlAccess() { return ControlAccess; }

// The element's own font, or its parent's when it takes that.
void TQxWin::DressFont(TControl& c) {
  if (ParentFont != 0 && ParentControl != nullptr) {
    c.SetFont(ParentControl->GetFont());
  } else {
    TGraphicTool* font = c.GetFont();
    font->SetColor(Font.Color);
    font->SetFontStyle(Font.Style & 0x0F);
    font->SetFontName(Font.Name.view());
    font->SetValue(TGraphicTool::FontHeight, FontHeightForSize(Font.Size, ScreenPixelsPerInch()));
    font->SetCharSet(Font.CharSet);
  }
}

// Every event of the control reaches the element's procedures, which fire its outputs.
void TQxWin::HookEvents(TControl& c) {
  PrevMessageHandler = c.Events().OnMessage;
  c.SetOnMouseDown(TOnMouseEvent::Of<TQxWin, &MouseDownProc>(this));
  c.SetOnMouseMove(TOnMouseEvent::Of<TQxWin, &MouseMoveProc>(this));
  c.SetOnMouseUp(TOnMouseEvent::Of<TQxWin, &MouseUpProc>(this));
  c.SetOnMouseWheel(TOnMouseEvent::Of<TQxWin, &MouseWheelProc>(this));
  c.SetOnMouseDblClick(TOnMouseEvent::Of<TQxWin, &MouseDblClickProc>(this));
  c.SetOnMessage(TOnMessageEvent::Member<&TQxWin::DoMessage>(this));
  c.OnDestroy = TObjEvent::Of<TQxWin, &DestroyedProc>(this);
  c.SetOnKeyDown(TOnKeyEvent::Of<TQxWin, &KeyDownProc>(this));
  c.SetOnKeyUp(TOnKeyEvent::Of<TQxWin, &KeyUpProc>(this));
  c.SetOnChar(TOnCharEvent::Of<TQxWin, &CharProc>(this));
  c.SetOnResize(TObjEvent::Of<TQxWin, &ResizeProc>(this));
  c.SetOnShow(TObjEvent::Of<TQxWin, &ShowProc>(this));
  c.SetOnHide(TObjEvent::Of<TQxWin, &HideProc>(this));
}

void TQxWin::CommonInit() {
  if (Control == nullptr) return;
  TControl& c = *Control;
  c.OwnerObject = this;
  ControlAccess = TControlAccess::Of<TQxWin, &AccessControl>(this);
  ApplyLook(c);
  JoinTabOrder(c);
  HookEvents(c);
  c.SetAlign(Align);
  ShowWindowOnTop(c);
  c.CreateWindowHandle();
  ApplyEdgeStyle(c);
}

// Colour, place, size, border, transparency, enabled state, cursor and font.
void TQxWin::ApplyLook(TControl& c) {
  c.SetColor(Color);
  c.SetPosition(Left, Top);
  c.SetSize(Width, Height);
  if (Ctl3D < 2) c.SetSunkenBorder(Ctl3D == 0);

  c.SetTransparent(Transparent != 0);
  c.SetEnabled(Enabled != 0);
  c.LoadCursor(nullptr, MAKEINTRESOURCEA(Cursor));
  if (Flat != 0) c.SetStyle(c.GetStyle() | BS_FLAT);

  DressFont(c);
}

void TQxWin::JoinTabOrder(TControl& c) {
  if (TabOrder > 0) {
    // The style and the place in the order only: whether Tab stops here stays as the kind of
    // control was made, so an LED, which shows no focus, is passed over.
    c.SetStyle(c.GetStyle() | WS_TABSTOP);
    c.NavigationKeys = kNavTab;
    c.SetTabOrder(TabOrder);
  } else {
    c.TabStop = TabOrder == 0;
  }
}

// The window above its siblings made before it, shown or hidden as Visible says.
void TQxWin::ShowWindowOnTop(TControl& c) {
  if (c.Handle == nullptr) {
    // A new window is made as it is to stay and then raised: hiding and showing it again would only
    // cost round trips to the window server, 231 of them at the editor's start.
    c.SetVisible(Visible != 0);
    c.CreateWindowHandle();
    // A new child window starts below its siblings; each element goes on top of those made before.
    if (HWND window = c.Handle)
      SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  } else if (HWND window = c.GetHandle()) {
    // To the top of its siblings and hidden; SetVisible then shows it if wanted.
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_NOOWNERZORDER);
    c.SetVisible(Visible != 0);
  }
}

void TQxWin::ApplyEdgeStyle(TControl& c) {
  if (Ctl3D == 0 && EdgeStyle >= 1 && EdgeStyle <= 4) {
    static constexpr std::uint32_t kEdgeStyles[] = {0, WS_EX_STATICEDGE, WS_EX_DLGMODALFRAME,
                                                    WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME};
    c.SetExStyle(kEdgeStyles[EdgeStyle - 1]);
  }
}

void TQxWin::InstallHover() {
  if (Control == nullptr) return;
  Control->SetOnMouseEnter(TObjEvent::Of<TQxWin, &EnterProc>(this));
  Control->SetOnMouseLeave(TObjEvent::Of<TQxWin, &LeaveProc>(this));
}

void TQxWin::AttachHint(HintCallbacks* record) {
  if (record != nullptr) {
    InstallHover();
  } else {
    if (Hint.empty()) return;
    record = ProcessHintCallbacks;
    if (record == nullptr) return;
  }
  if (Control == nullptr || !record->Register) return;
  HintId = record->Register(Control->GetHandle());
  if (record->SetTipText) record->SetTipText(HintId, Hint);
  HintLink = record;
}
