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

TQxWin* Self(void* data) { return static_cast<TQxWin*>(data); }

TControl* AccessControl(void* self) { return Self(self)->Control; }

void MouseDownProc(void* data, TControl*, TMouseEventData& mouse) { Self(data)->DoMouseDown(mouse); }
void MouseMoveProc(void* data, TControl*, TMouseEventData& mouse) { Self(data)->DoMouseMove(mouse); }
void MouseUpProc(void* data, TControl*, TMouseEventData& mouse) { Self(data)->DoMouseUp(mouse); }
void MouseWheelProc(void* data, TControl*, TMouseEventData& mouse) { Self(data)->DoMouseWheel(mouse); }
void MouseDblClickProc(void* data, TControl*, TMouseEventData& mouse) {
  FireInt(Self(data)->outDblClick, static_cast<std::int32_t>(mouse.Button) - 1);
}
bool MessageProc(void* data, TMessage& msg, LRESULT& result) { return Self(data)->DoMessage(msg, result); }
void DestroyedProc(void* data, TObj*) { Self(data)->DoControlDestroyed(); }
void ResizeProc(void* data, TObj*) { Self(data)->DoResize(); }
void ShowProc(void* data, TObj*) { Self(data)->DoShow(); }
void HideProc(void* data, TObj*) { Self(data)->DoHide(); }
void EnterProc(void* data, TObj*) { Self(data)->DoMouseEnter(); }
void LeaveProc(void* data, TObj*) { Self(data)->DoMouseLeave(); }

// The parent's own key handler sees the key first when KeysToParent is set; answers false when it
// swallowed the key (set it to 0).
template <class Event, class Key>
bool ParentLetsThrough(const TQxWin& w, Event TControl::*slot, Key& key, std::int32_t shift) {
  if (w.KeysToParent == 0 || w.ParentControl == nullptr) return true;
  const Event& handler = w.ParentControl->*slot;
  if (!handler) return true;
  handler.Proc(handler.Data, w.ParentControl, key, shift);
  return key != 0;
}

void KeyDownProc(void* data, TControl*, std::int32_t& key, std::int32_t shift) {
  TQxWin& w = *Self(data);
  if (!ParentLetsThrough(w, &TControl::OnKeyDown, key, shift)) {
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

void KeyUpProc(void* data, TControl*, std::int32_t& key, std::int32_t shift) {
  TQxWin& w = *Self(data);
  if (!ParentLetsThrough(w, &TControl::OnKeyUp, key, shift)) return;
  w.KeyOverride = -1;
  w.DoKeyUp(key, shift);
  if (w.KeyOverride >= 0) key = w.KeyOverride;
}

void CharProc(void* data, TControl*, char& ch, std::int32_t shift) {
  TQxWin& w = *Self(data);
  if (!ParentLetsThrough(w, &TControl::OnChar, ch, shift)) return;
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
  if (parentControl != nullptr) Color = parentControl->Color;
}

TQxWin::~TQxWin() {
  if (Control != nullptr && ControlGone == 0) {
    // The control may outlive this call while a message holds it: it must not call back in here.
    Control->OnDestroy = {};
    Control->OnMessage = PrevMessageHandler;
    Control->OnMouseDown = {};
    Control->OnMouseMove = {};
    Control->OnMouseUp = {};
    Control->OnMouseWheel = {};
    Control->OnMouseDblClick = {};
    Control->OnMouseEnter = {};
    Control->OnMouseLeave = {};
    Control->OnKeyDown = {};
    Control->OnKeyUp = {};
    Control->OnChar = {};
    Control->OnResize = {};
    Control->OnShow = {};
    Control->OnHide = {};
    Control->OnPaint = {};
    Control->OnClick = {};
    Control->OnChange = {};
    if (Control->Handle != nullptr) ShowWindow(Control->Handle, SW_HIDE);
    Control->Free();
  }
  Control = nullptr;
  if (HintId != 0 && HintLink != nullptr && HintLink->Unregister.Code != nullptr)
    HintLink->Unregister.Code(HintLink->Unregister.Object, HintId);
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
  if (HintLink != nullptr && HintLink->TipMove.Code != nullptr)
    HintLink->TipMove.Code(HintLink->TipMove.Object, HintId, mouse.X, mouse.Y);
  FireInt(outMouseMove, HeldButton(MouseInfo.Shift));
}

void TQxWin::DoMouseEnter() {
  if (HintLink != nullptr && HintLink->TipEnter.Code != nullptr)
    HintLink->TipEnter.Code(HintLink->TipEnter.Object, HintId);
  FireEmpty(outMouseEnter);
}

void TQxWin::DoMouseLeave() {
  if (HintLink != nullptr && HintLink->TipLeave.Code != nullptr)
    HintLink->TipLeave.Code(HintLink->TipLeave.Object, HintId);
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
  if (PrevMessageHandler) return PrevMessageHandler.Proc(PrevMessageHandler.Data, msg, result);
  return false;
}

// Lets the size inputs correct a proposed size change; an answer that is not an integer keeps it.
void TQxWin::FilterSize(WINDOWPOS& pos) {
  if ((pos.flags & SWP_NOSIZE) != 0 || Control == nullptr) return;
  const std::int32_t height = Control->GetHeight();
  if (pos.cy != height) {
    TData delta;
    MakeInt(&delta, pos.cy - height);
    PullRaw(&delta, dataHeightDelta);
    if (delta.Kind == dkInteger) pos.cy = height + delta.IntValue;
  }
  const std::int32_t width = Control->GetWidth();
  if (pos.cx != width) {
    TData delta;
    MakeInt(&delta, pos.cx - width);
    PullRaw(&delta, dataWidthDelta);
    if (delta.Kind == dkInteger) pos.cx = width + delta.IntValue;
  }
}

void TQxWin::DoControlDestroyed() { ControlGone = 1; }

void TQxWin::DoResize() { FireEmpty(outResize); }

void TQxWin::DoShow() { FireEmpty(outShow); }

void TQxWin::DoHide() { FireEmpty(outHide); }

void TQxWin::Init() { CommonInit(); }

TControlAccess TQxWin::GetControlAccess() { return ControlAccess; }

void TQxWin::CommonInit() {
  if (Control == nullptr) return;
  TControl& c = *Control;
  c.OwnerObject = this;
  ControlAccess = {&AccessControl, this};

  c.SetColor(Color);
  c.SetPosition(Left, Top);
  c.SetSize(Width, Height);
  if (Ctl3D < 2) c.SetSunkenBorder(Ctl3D == 0);

  c.SetTransparent(Transparent != 0);
  c.SetEnabled(Enabled != 0);
  c.LoadCursor(nullptr, MAKEINTRESOURCEA(Cursor));
  if (Flat != 0) c.SetStyle(c.Style | 0x8000);

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

  if (TabOrder > 0) {
    // The style and the place in the order only: whether Tab stops here stays as the kind of
    // control was made, so an LED, which shows no focus, is passed over.
    c.SetStyle(c.Style | WS_TABSTOP);
    c.NavigationKeys = kNavTab;
    c.SetTabOrder(TabOrder);
  } else {
    c.TabStop = TabOrder == 0;
  }

  PrevMessageHandler = c.OnMessage;
  c.SetOnMouseDown({&MouseDownProc, this});
  c.SetOnMouseMove({&MouseMoveProc, this});
  c.SetOnMouseUp({&MouseUpProc, this});
  c.SetOnMouseWheel({&MouseWheelProc, this});
  c.SetOnMouseDblClick({&MouseDblClickProc, this});
  c.SetOnMessage({&MessageProc, this});
  c.OnDestroy = {&DestroyedProc, this};
  c.SetOnKeyDown({&KeyDownProc, this});
  c.SetOnKeyUp({&KeyUpProc, this});
  c.SetOnChar({&CharProc, this});
  c.SetOnResize({&ResizeProc, this});
  c.SetOnShow({&ShowProc, this});
  c.SetOnHide({&HideProc, this});

  c.SetAlign(Align);

  if (HWND window = c.GetHandle()) {
    // To the top of its siblings and hidden; SetVisible then shows it if wanted.
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_HIDEWINDOW | SWP_NOOWNERZORDER);
  }
  c.SetVisible(Visible != 0);
  c.CreateWindowHandle();

  if (Ctl3D == 0 && EdgeStyle >= 1 && EdgeStyle <= 4) {
    static constexpr std::uint32_t kEdgeStyles[] = {0, WS_EX_STATICEDGE, WS_EX_DLGMODALFRAME,
                                                    WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME};
    c.SetExStyle(kEdgeStyles[EdgeStyle - 1]);
  }
}

void TQxWin::InstallHover() {
  if (Control == nullptr) return;
  Control->SetOnMouseEnter({&EnterProc, this});
  Control->SetOnMouseLeave({&LeaveProc, this});
}

void TQxWin::AttachHint(HintCallbacks* record) {
  if (record != nullptr) {
    InstallHover();
  } else {
    if (Hint.empty()) return;
    record = ProcessHintCallbacks;
    if (record == nullptr) return;
  }
  if (Control == nullptr || record->Register.Code == nullptr) return;
  HintId = record->Register.Code(record->Register.Object, Control->GetHandle());
  if (record->SetTipText.Code != nullptr) record->SetTipText.Code(record->SetTipText.Object, HintId, Hint);
  HintLink = record;
}
