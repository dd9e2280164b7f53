// TControl: construction of the kinds of window object, destruction, and the property operations
// (visibility, styles, caption, colours, font, geometry, focus, tab order, cursor, icon).
// Operations on a control without a window change only the stored state; no exception leaves here.
#include "platform/control.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/app.h"
#include "platform/handlers.h"
#include "platform/text_codec.h"

namespace {

bool appWindowCreated = false;
std::int32_t nextChildId = 0;
// A child id travels in the low word of WM_COMMAND.
constexpr std::int32_t kLastChildId = 0xFFFF;

std::int32_t NewChildId() {
  nextChildId = nextChildId >= kLastChildId ? 1 : nextChildId + 1;
  return nextChildId;
}

void ClearCaption(TControl* self) { self->SetCaption({}); }

TCommandTable EditCommands() {
  TCommandTable t;
  t.LineCountMsg = EM_GETLINECOUNT;
  t.LineIndexMsg = EM_LINEINDEX;
  t.LineFromCharMsg = EM_LINEFROMCHAR;
  t.LineLengthMsg = EM_LINELENGTH;
  t.GetLineMsg = EM_GETLINE;
  t.ReplaceSelMsg = EM_REPLACESEL;
  t.GetSelMsg = EM_GETSEL;
  t.SetSelMsg = EM_SETSEL;
  t.ClearProc = ClearCaption;
  t.ClickCode = 0;
  t.FocusGainedCode = EN_SETFOCUS;
  t.FocusLostCode = EN_KILLFOCUS;
  t.ChangeCode = EN_CHANGE;
  t.AutoSizeExtraWidth = 0;
  t.AutoSizeExtraHeight = 6;
  t.AlignStyles[0] = ES_LEFT;
  t.AlignStyles[1] = ES_RIGHT;
  t.AlignStyles[2] = ES_CENTER;
  t.AlignMask = ES_LEFT | ES_RIGHT | ES_CENTER;
  return t;
}

TCommandTable StaticCommands() {
  TCommandTable t;
  t.ClearProc = ClearCaption;
  t.DoubleClickCode = STN_DBLCLK;
  t.AutoSizeExtraWidth = 1;
  t.AutoSizeExtraHeight = 1;
  // Left keeps the no-word-wrap look labels are created with.
  t.AlignStyles[0] = SS_LEFTNOWORDWRAP;
  t.AlignStyles[1] = SS_RIGHT;
  t.AlignStyles[2] = SS_CENTER;
  t.AlignMask = SS_TYPEMASK;
  return t;
}

TCommandTable ButtonCommands() {
  TCommandTable t;
  t.ClearProc = ClearCaption;
  t.ClickCode = BN_CLICKED;
  t.FocusGainedCode = BN_SETFOCUS;
  t.FocusLostCode = BN_KILLFOCUS;
  t.ChangeCode = 0;
  t.DoubleClickCode = BN_DOUBLECLICKED;
  t.AutoSizeExtraWidth = 14;
  t.AutoSizeExtraHeight = 0;
  t.AlignStyles[0] = BS_LEFT;
  t.AlignStyles[1] = BS_RIGHT;
  t.AlignStyles[2] = BS_CENTER;
  t.AlignMask = BS_CENTER;
  return t;
}

// The application window keeps only restore and close in its system menu.
void AppWindowCreated(TControl* self) {
  HMENU menu = GetSystemMenu(self->Handle, FALSE);
  if (menu == nullptr) return;
  DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
  EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
}

void FontChanged(void* data, TObj*) { static_cast<TControl*>(data)->ApplyFont(); }

bool Within(const TControl* ancestor, const TControl* c) {
  for (const TControl* p = c; p != nullptr; p = p->GetParent())
    if (p == ancestor) return true;
  return false;
}

// Every child control below `root`, depth first.
template <typename F>
void ForEachDescendant(TControl* root, F&& f) {
  if (root == nullptr) return;
  for (std::int32_t i = 0; i < root->ChildCount(); ++i) {
    TControl* child = root->ChildAt(i);
    if (child == nullptr) continue;
    f(child);
    ForEachDescendant(child, f);
  }
}

}  // namespace

bool AppWindowWasCreated() { return appWindowCreated; }

TControl::TControl() { Children = TList::Create(); }

TControl::~TControl() {
  TearingDown = true;
  if (TControl* form = ParentForm(); form != nullptr && form->CurrentControl == this)
    form->CurrentControl = nullptr;
  if (AppWindow != nullptr && AppWindow->CurrentControl == this) AppWindow->CurrentControl = nullptr;
  if (Handle != nullptr && !Destroying) ShowWindow(Handle, SW_HIDE);
  NotifyDestroy();

  // Children end first; one still referenced elsewhere is detached and ends at its last Release.
  while (Children != nullptr && Children->Count > 0) {
    auto* child = static_cast<TControl*>(Children->Get(Children->Count - 1));
    Children->Delete(Children->Count - 1);
    if (child == nullptr) continue;
    child->Parent = nullptr;
    child->Free();
  }

  if (Canvas != nullptr) {
    ::Free(Canvas);
    Canvas = nullptr;
  }
  if (Font != nullptr) {
    Font->OnChange = {};
    ::Free(Font);
    Font = nullptr;
  }
  if (BrushTool != nullptr) {
    ::Free(BrushTool);
    BrushTool = nullptr;
  }
  if (Handle != nullptr) {
    // The window lets go of the icon before the icon goes.
    SendMessageW(Handle, WM_SETICON, ICON_BIG, 0);
    OwnIcon.Reset();
    if (!Destroying) DestroyWindow(Handle);
    Handle = nullptr;
  }
  if (Parent != nullptr) {
    if (Parent->Children != nullptr) {
      const std::int32_t index = Parent->Children->IndexOf(this);
      if (index >= 0) Parent->Children->Delete(index);
    }
    Parent = nullptr;
  }
  ::Free(Children);
  Children = nullptr;
}

// --- Construction

TControl* CreateControl(TControl* parent, std::string_view baseClassName) {
  auto* c = new TControl();
  c->BaseClassName.assign(baseClassName);
  if (parent != nullptr) {
    c->TextColor = parent->TextColor;
    c->Color = parent->Color;
    c->Border = parent->Border;
    if (parent->Font != nullptr) {
      c->Font = parent->Font->Copy();
      c->Font->OnChange = {FontChanged, c};
    }
    if (parent->BrushTool != nullptr) c->BrushTool = parent->BrushTool->Copy();
    c->Parent = parent;
    parent->Children->Add(c);
  }
  return c;
}

TControl* CreateAppWindow(std::string_view caption) {
  TControl* c = CreateControl(nullptr, "App");
  c->IsAppWindow = true;
  c->Style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  c->ExStyle = WS_EX_APPWINDOW;
  c->OnCreateHook = AppWindowCreated;
  c->AttachHandler(AppWindowHandler, false);
  c->SetCaption(caption);
  appWindowCreated = true;
  return c;
}

TControl* CreateFormWindow(TControl* parent, std::string_view caption) {
  TControl* c = CreateControl(parent, "Form");
  c->ClassStyle |= CS_DBLCLKS;
  c->AttachHandler(FormFocusHandler, false);
  c->AttachHandler(FormBackgroundHandler, false);
  c->SetCaption(caption);
  c->IsForm = true;
  return c;
}

TControl* CreateChildControl(TControl* parent, std::string_view baseClassName, std::uint32_t style,
                             bool sunken) {
  TControl* c = CreateControl(parent, baseClassName);
  c->SunkenBorder = parent != nullptr && parent->ChildrenSunken ? sunken : false;
  c->IsChild = true;
  c->Style = style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  c->Visible = (style & WS_VISIBLE) != 0;
  c->TabStop = (style & WS_TABSTOP) != 0;
  if (TControl* form = c->ParentForm()) c->TabOrder = ++form->TabCounter;
  if (parent != nullptr) c->Cursor = parent->Cursor;
  c->NavigationKeys = kNavTab | kNavLeftRight | kNavUpDown | kNavPage;
  c->Id = NewChildId();
  if (c->SunkenBorder) {
    c->Style &= ~static_cast<std::uint32_t>(WS_BORDER);
    c->ExStyle |= WS_EX_CLIENTEDGE;
  }
  if (baseClassName == "EDIT") {
    c->Commands = EditCommands();
    c->HasCommandTable = true;
  } else if (baseClassName == "STATIC") {
    c->Commands = StaticCommands();
    c->HasCommandTable = true;
  } else if (baseClassName == "BUTTON") {
    c->Commands = ButtonCommands();
    c->HasCommandTable = true;
  }
  return c;
}

TControl* CreateEdit(TControl* parent, std::uint32_t options) {
  struct OptionStyle {
    std::uint32_t option;
    std::uint32_t style;
  };
  static constexpr OptionStyle kPresentStyles[] = {
      {eoLowercase, ES_LOWERCASE},   {eoMultiline, ES_MULTILINE},   {eoNoHideSelection, ES_NOHIDESEL},
      {eoOemConvert, ES_OEMCONVERT}, {eoPassword, ES_PASSWORD},     {eoReadOnly, ES_READONLY},
      {eoUppercase, ES_UPPERCASE},   {eoWantReturn, ES_WANTRETURN}, {eoNumber, ES_NUMBER},
  };
  std::uint32_t style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
  if ((options & eoNoAutoHScroll) == 0) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if ((options & eoNoAutoVScroll) == 0) style |= WS_VSCROLL | ES_AUTOVSCROLL;
  for (const OptionStyle& os : kPresentStyles)
    if ((options & os.option) != 0) style |= os.style;
  const bool multiline = (options & eoMultiline) != 0;
  if (!multiline) style &= ~static_cast<std::uint32_t>(WS_HSCROLL | WS_VSCROLL);

  TControl* c = CreateChildControl(parent, "EDIT", style, true);
  const RECT& r = c->BoundsRect;
  c->BoundsRect = {r.left, r.top, r.left + (multiline ? 200 : 100), r.top + (multiline ? 200 : 22)};
  c->NavigationKeys = multiline ? kNavTab : kNavTab | kNavUpDown | kNavPage;
  if ((options & eoWantTab) != 0) c->NavigationKeys &= ~kNavTab;
  return c;
}

TControl* CreateLabel(TControl* parent, std::string_view caption) {
  TControl* c = CreateChildControl(
      parent, "STATIC", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, false);
  c->BoundsRect.bottom = c->BoundsRect.top + 22;
  c->SetCaption(caption);
  return c;
}

TControl* CreateButton(TControl* parent, std::string_view caption) {
  TControl* c = CreateChildControl(parent, "BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHLIKE, false);
  c->BoundsRect.bottom = c->BoundsRect.top + 22;
  c->SetCaption(caption);
  c->SunkenBorder = true;
  return c;
}

TControl* CreatePaintBox(TControl* parent) {
  return CreateChildControl(parent, "PaintBox", WS_CHILD | WS_VISIBLE, false);
}

// --- Tree

TControl* TControl::ChildAt(std::int32_t index) const {
  return Children != nullptr ? static_cast<TControl*>(Children->Get(index)) : nullptr;
}

std::int32_t TControl::ChildCount() const { return Children != nullptr ? Children->Count : 0; }

TControl* TControl::ParentForm() {
  for (TControl* p = Parent; p != nullptr; p = p->GetParent())
    if (p->IsForm) return p;
  return Parent;
}

void TControl::SetParent(TControl* p) {
  if (p == Parent || Within(this, p)) return;
  if (Parent != nullptr) {
    const std::int32_t index = Parent->Children->IndexOf(this);
    if (index >= 0) Parent->Children->Delete(index);
  }
  Parent = p;
  if (p != nullptr) {
    p->Children->Add(this);
  }
}

void TControl::SetTabOrder(std::int32_t n) {
  TControl* form = ParentForm();
  std::int32_t highest = n;
  ForEachDescendant(form, [&](TControl* other) {
    if (other == this || !other->IsChild) return;
    if (other->TabOrder >= n) ++other->TabOrder;
    if (other->TabOrder > highest) highest = other->TabOrder;
  });
  TabOrder = n;
  // New controls keep coming after every order given out.
  if (form != nullptr && form->TabCounter < highest) form->TabCounter = highest;
}

// --- Visibility, state and styles

void TControl::SetVisible(bool v) {
  Visible = v;
  if (v)
    Style |= WS_VISIBLE;
  else
    Style &= ~static_cast<std::uint32_t>(WS_VISIBLE);
  if (Handle == nullptr) return;
  ShowWindow(Handle, v ? SW_SHOW : SW_HIDE);
  if (Parent != nullptr) RealignHook(Parent);
  if (v)
    RealignHook(this);
  else
    ShowAfterCreate = false;
}

void TControl::SetEnabled(bool e) {
  Enabled = e;
  if (e)
    Style &= ~static_cast<std::uint32_t>(WS_DISABLED);
  else
    Style |= WS_DISABLED;
  if (Handle == nullptr) return;
  if (!e) MoveFocusOnward();
  EnableWindow(Handle, e ? TRUE : FALSE);
}

void TControl::MoveFocusOnward() {
  // A disabled window keeps no focus, and with none every key is lost until something is clicked.
  // As in a dialog, the focus moves on to the next control in the tab order. A control outside
  // the tab order (one that only a click focuses) has no next one: the form itself takes the
  // focus, where every shortcut of the form still arrives. Enabled is already false here, so
  // nothing inside this control is chosen.
  HWND focus = GetFocus();
  if (focus == nullptr || (focus != Handle && !::IsChild(Handle, focus))) return;
  TControl* form = ParentForm();
  if (form == nullptr || form == this) return;
  TControl* next = TabStop ? NextTabControl(form, this, true) : nullptr;
  if (next != nullptr && next->Handle != nullptr) {
    ++next->FocusingCounter;
    ::SetFocus(next->Handle);
    --next->FocusingCounter;
    form->CurrentControl = next;
  } else if (form->Handle != nullptr) {
    // The form hands its focus on to its current control, which this one still is.
    form->CurrentControl = nullptr;
    ::SetFocus(form->Handle);
  }
}

void TControl::SetStyle(std::uint32_t s) {
  if (s == Style) return;
  Style = s;
  if (Handle == nullptr) return;
  SetWindowLongW(Handle, GWL_STYLE, static_cast<LONG>(s));
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Invalidate();
}

void TControl::SetExStyle(std::uint32_t s) {
  if (s == ExStyle) return;
  ExStyle = s;
  if (Handle == nullptr) return;
  SetWindowLongW(Handle, GWL_EXSTYLE, static_cast<LONG>(s));
  SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Invalidate();
}

void TControl::SetSunkenBorder(bool b) {
  ChildrenSunken = b;
  if (SunkenBorder == b) return;
  SunkenBorder = b;
  if (Handle != nullptr) {
    Style = static_cast<std::uint32_t>(GetWindowLongW(Handle, GWL_STYLE));
    ExStyle = static_cast<std::uint32_t>(GetWindowLongW(Handle, GWL_EXSTYLE));
    ClassStyle = static_cast<std::uint32_t>(GetClassLongW(Handle, GCL_STYLE));
  }
  if (b) {
    SetExStyle(ExStyle | WS_EX_CLIENTEDGE);
    SetStyle(Style & ~static_cast<std::uint32_t>(WS_BORDER));
  } else {
    SetExStyle(ExStyle & ~static_cast<std::uint32_t>(WS_EX_CLIENTEDGE));
    SetStyle(Style | WS_BORDER);
  }
}

void TControl::SetAlphaBlend(std::uint8_t a) {
  if (a == AlphaBlend) return;
  AlphaBlend = a;
  HWND window = GetHandle();
  if (window == nullptr) return;
  ExStyle = static_cast<std::uint32_t>(GetWindowLongW(window, GWL_EXSTYLE));
  if (a == 255) {
    SetExStyle(ExStyle & ~static_cast<std::uint32_t>(WS_EX_LAYERED));
  } else {
    SetExStyle(ExStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, a, LWA_ALPHA);
  }
}

void TControl::SetWindowState(std::uint8_t s) {
  static constexpr int kShowCommands[] = {SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
  if (s == WindowState || s > 2) return;
  WindowState = s;
  if (HWND window = GetHandle()) ShowWindow(window, kShowCommands[s]);
}

void TControl::SetAlign(std::uint8_t align) {
  if (align == Align) return;
  Align = align;
  if (Parent != nullptr) RealignHook(Parent);
}

void TControl::SetTextAlign(std::int32_t align) {
  if (!HasCommandTable || align < 0 || align > 2 || Commands.AlignMask == 0) return;
  SetStyle((Style & ~Commands.AlignMask) | Commands.AlignStyles[align]);
}

// --- Caption and colours

void TControl::SetCaption(std::string_view s) {
  // The window holds text up to the first NUL byte; the stored copy says the same.
  const std::size_t nul = s.find('\0');
  Caption.assign(s.substr(0, nul));
  if (Handle != nullptr) SetWindowTextW(Handle, WideFromCp1251(Caption).c_str());
  Invalidate();
  if (AutoSize) ApplyAutoSize();
}

std::string TControl::GetCaption() const {
  if (Handle == nullptr) return Caption;
  // The length can be an overestimate; the copy tells the true one. Grow when the text grew.
  std::wstring text;
  for (int attempt = 0; attempt < 4; ++attempt) {
    const int length = GetWindowTextLengthW(Handle);
    if (length <= 0) return {};
    text.assign(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(Handle, text.data(), length + 1);
    if (copied < length || GetWindowTextLengthW(Handle) <= length) {
      text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
      return Cp1251FromWide(text);
    }
  }
  text.resize(std::wcslen(text.c_str()));
  return Cp1251FromWide(text);
}

void TControl::SetColor(std::int32_t c) {
  Color = c;
  BackgroundBrush.Reset();
  if (BrushTool != nullptr) BrushTool->SetColor(c);
  Invalidate();
}

void TControl::SetTextColor(std::int32_t c) {
  TextColor = c;
  Invalidate();
}

HBRUSH TControl::GetBackgroundBrush() {
  const COLORREF resolved = ResolveColor(Color);
  if (BackgroundBrush && static_cast<COLORREF>(BackgroundBrushColor) != resolved) BackgroundBrush.Reset();
  if (!BackgroundBrush) {
    BackgroundBrush.Reset(CreateSolidBrush(resolved));
    BackgroundBrushColor = static_cast<std::int32_t>(resolved);
  }
  return BackgroundBrush.Get();
}

TGraphicTool* TControl::GetFont() {
  if (Font == nullptr) {
    TControl* source = Parent;
    while (source != nullptr && source->Font == nullptr) source = source->Parent;
    Font = source != nullptr ? source->Font->Copy() : TGraphicTool::CreateFont();
    Font->OnChange = {FontChanged, this};
  }
  return Font;
}

void TControl::SetFont(TGraphicTool* font) {
  if (font == nullptr) return;
  GetFont()->Assign(font);
}

TGraphicTool* TControl::GetBrush() {
  if (BrushTool == nullptr) {
    BrushTool = Parent != nullptr ? Parent->GetBrush()->Copy() : TGraphicTool::CreateBrush();
    BrushTool->SetColor(Color);
  }
  return BrushTool;
}

TCanvas* TControl::GetCanvas() {
  if (Canvas == nullptr) Canvas = TCanvas::CreateForControl(this, Font, BrushTool);
  return Canvas;
}

void TControl::DropCanvas() {
  if (Canvas == nullptr) return;
  ::Free(Canvas);
  Canvas = nullptr;
}

void TControl::ApplyFont() {
  if (Font == nullptr) return;
  TextColor = Font->Color();
  if (Handle != nullptr) {
    // A window not on screen is painted whole once shown: redrawing it now is only a round trip to
    // the window server (one per control at start-up).
    const BOOL redraw = IsWindowVisible(Handle);
    SendMessageW(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(Font->GetHandle()), redraw);
    DropCanvas();
  }
  if (AutoSize) ApplyAutoSize();
}

void TControl::SetAutoSize(bool on) {
  AutoSize = on;
  if (on) ApplyAutoSize();
}

void TControl::ApplyAutoSize() {
  std::string text = GetCaption();
  SIZE extent{0, 0};
  if (!text.empty()) {
    // An italic caption leans past its last letter: measure one blank more.
    if (Font != nullptr && (Font->FontStyle() & TGraphicTool::StyleItalic) != 0) text += ' ';
    extent = GetCanvas()->TextExtent(text);
  }
  RECT r = GetBoundsRect();
  const RECT before = r;
  if ((Align == 0 || Align == 1 || Align == 3) && Commands.AutoSizeExtraWidth > 0)
    r.right = r.left + extent.cx + Commands.AutoSizeExtraWidth;
  if ((Align == 0 || Align == 2 || Align == 4) && Commands.AutoSizeExtraHeight > 0)
    r.bottom = r.top + extent.cy + Commands.AutoSizeExtraHeight;
  if (std::memcmp(&r, &before, sizeof r) == 0) return;
  SetBoundsRect(r);
  if (Parent != nullptr) RealignHook(Parent);
  RealignHook(this);
}

// --- Geometry

RECT TControl::GetBoundsRect() {
  if (Handle != nullptr) {
    RECT r;
    if (GetWindowRect(Handle, &r)) {
      if ((GetWindowLongW(Handle, GWL_STYLE) & WS_CHILD) != 0) {
        if (HWND parent = ::GetParent(Handle))
          MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      }
      BoundsRect = r;
    }
  }
  return BoundsRect;
}

void TControl::SetBoundsRect(const RECT& r) {
  PositionSet = true;
  SizeSet = true;
  BoundsRect = r;
  if (Handle == nullptr) return;
  SetWindowPos(Handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

std::int32_t TControl::GetWidth() {
  const RECT r = GetBoundsRect();
  return r.right - r.left;
}

std::int32_t TControl::GetHeight() {
  const RECT r = GetBoundsRect();
  return r.bottom - r.top;
}

void TControl::SetLeft(std::int32_t v) {
  RECT r = GetBoundsRect();
  r.right = v + (r.right - r.left);
  r.left = v;
  SetBoundsRect(r);
}

void TControl::SetTop(std::int32_t v) {
  RECT r = GetBoundsRect();
  r.bottom = v + (r.bottom - r.top);
  r.top = v;
  SetBoundsRect(r);
}

void TControl::SetWidth(std::int32_t v) {
  RECT r = GetBoundsRect();
  r.right = r.left + v;
  SetBoundsRect(r);
}

void TControl::SetHeight(std::int32_t v) {
  RECT r = GetBoundsRect();
  r.bottom = r.top + v;
  SetBoundsRect(r);
}

void TControl::SetPosition(std::int32_t l, std::int32_t t) {
  RECT r = GetBoundsRect();
  r = {l, t, l + (r.right - r.left), t + (r.bottom - r.top)};
  SetBoundsRect(r);
}

void TControl::SetSize(std::int32_t w, std::int32_t h) {
  RECT r = GetBoundsRect();
  if (w > 0) r.right = r.left + w;
  if (h > 0) r.bottom = r.top + h;
  SetBoundsRect(r);
}

RECT TControl::GetClientRect() const {
  RECT r{0, 0, 0, 0};
  if (Handle != nullptr) ::GetClientRect(Handle, &r);
  return r;
}

void TControl::SetClientSize(std::int32_t w, std::int32_t h) {
  RECT r{0, 0, w, h};
  AdjustWindowRectEx(&r, Style, FALSE, ExStyle);
  SetSize(r.right - r.left, r.bottom - r.top);
}

void TControl::Invalidate() {
  if (AppTerminated || Handle == nullptr) return;
  // A window not on screen is painted whole once shown; the call would only cost a round trip.
  if (IsWindowVisible(Handle)) InvalidateRect(Handle, nullptr, TRUE);
  AfterInvalidateHook(this);
}

// --- Focus and closing

void TControl::SetFocus() {
  if (IsChild) {
    if (TControl* form = ParentForm()) form->CurrentControl = this;
    if (HWND window = GetHandle()) ::SetFocus(window);
  } else if (HWND window = GetHandle()) {
    SetForegroundWindow(window);
  }
}

void TControl::Close() {
  if (Handle != nullptr) PostMessageW(Handle, WM_CLOSE, 0, 0);
}

// --- Cursor and icon

void TControl::SetCursor(HCURSOR c) {
  Cursor = c;
  if (Handle == nullptr || c == nullptr) return;
  POINT p;
  if (!GetCursorPos(&p) || WindowFromPoint(p) != Handle) return;
  ScreenToClient(Handle, &p);
  const RECT client = GetClientRect();
  if (PtInRect(&client, p)) ::SetCursor(c);
}

HCURSOR LoadSharedCursor(HINSTANCE instance, LPCSTR name) {
  // The system's own cursors are shared handles that never change; loading one costs a registry
  // walk under Wine, paid twice for every window made, so each is looked up once.
  if (!IS_INTRESOURCE(name)) return ::LoadCursorW(instance, WideFromCp1251(name).c_str());
  const auto resource = reinterpret_cast<LPCWSTR>(name);
  if (instance != nullptr) return ::LoadCursorW(instance, resource);
  struct TLoaded {
    WORD id;
    HCURSOR cursor;
  };
  static std::vector<TLoaded> loaded;
  const WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(name));
  for (const TLoaded& l : loaded)
    if (l.id == id) return l.cursor;
  const HCURSOR cursor = ::LoadCursorW(nullptr, resource);
  loaded.push_back({id, cursor});
  return cursor;
}

void TControl::LoadCursor(HINSTANCE instance, LPCSTR name) { SetCursor(LoadSharedCursor(instance, name)); }

HICON TControl::CurrentIcon() const { return OwnIcon ? OwnIcon.Get() : ProgramIcon.Get(); }

void TControl::SetIcon(HICON icon) {
  if (icon == CurrentIcon()) return;
  // The old icon goes once the window shows the new one.
  const TOwnedIcon old = std::exchange(OwnIcon, TOwnedIcon(icon));
  ProgramIcon = {};
  if (Handle != nullptr) SendMessageW(Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

HICON TControl::GetIcon() {
  if (CurrentIcon() == nullptr) {
    if (!IsAppWindow && AppWindow != nullptr && AppWindow != this) {
      if (HICON appIcon = AppWindow->GetIcon())
        OwnIcon.Reset(static_cast<HICON>(CopyImage(appIcon, IMAGE_ICON, 0, 0, 0)));
    } else if (IsAppWindow) {
      ProgramIcon = TSharedIcon(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    }
  }
  return CurrentIcon();
}

// --- Events

void TControl::ClearEvents() {
  OnDestroy = {};
  events_ = {};
  changeListeners_.clear();
}

void TControl::AddChangeListener(TObjEvent e) {
  if (!e) return;
  RemoveChangeListener(e.Data);
  changeListeners_.push_back(e);
}

void TControl::RemoveChangeListener(const void* data) {
  std::erase_if(changeListeners_, [data](const TObjEvent& e) { return e.Data == data; });
}

void TControl::TellChange() {
  if (events_.OnChange) events_.OnChange(this);
  // A copy: a listener may add or remove listeners; one removed before its turn is not told.
  const std::vector<TObjEvent> listeners = changeListeners_;
  for (const TObjEvent& e : listeners) {
    const bool stillThere =
        std::ranges::any_of(changeListeners_, [&e](const TObjEvent& l) { return l.Data == e.Data; });
    if (stillThere) e(this);
  }
}

// --- TCanvasHost

HWND TControl::CanvasWindow() { return GetHandle(); }
std::int32_t TControl::CanvasColor() { return Color; }
std::int32_t TControl::CanvasTextColor() { return TextColor; }
TGraphicTool* TControl::CanvasBrushTool() { return BrushTool; }
