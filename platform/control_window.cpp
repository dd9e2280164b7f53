// TControl's window: lazy creation (class registration, CreateWindowExW) and the one window procedure
// with the layers of WndProc and the built-in message handling.
// Nothing here may let an exception leave the window procedure.
#include <exception>
#include <string>
#include <unordered_map>

#include "platform/app.h"
#include "platform/control.h"
#include "platform/text_codec.h"

TMessageHandler GlobalMessageHook = IgnoreMessage;
TControlProc AfterCreateHook = IgnoreControl;
TControlProc AfterInvalidateHook = IgnoreControl;
TControlProc RealignHook = IgnoreControl;
TControl* CreatingControl = nullptr;

namespace {

// Which object owns each of the library's windows, kept in the process: a window property or user
// data is written through a round trip to the window server under Wine, two per window at start-up,
// and a property is read through one on every look-up. Only the GUI thread makes and uses them.
std::unordered_map<HWND, TControl*>& Owners() {
  static auto* owners = new std::unordered_map<HWND, TControl*>();
  return *owners;
}

void BindWindow(HWND window, TControl* self) { Owners().insert_or_assign(window, self); }

void UnbindWindow(HWND window) { Owners().erase(window); }

bool KeyDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

TControl* ControlOfWindow(HWND window) {
  if (window == nullptr) return nullptr;
  const auto& owners = Owners();
  const auto found = owners.find(window);
  return found != owners.end() ? found->second : nullptr;
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    TControl* self = nullptr;
    // The first message of a window being created binds it to its object before CreateWindowExW
    // returns. A window that already has an owner is not the new one.
    if (CreatingControl != nullptr && ControlOfWindow(window) == nullptr) {
      self = CreatingControl;
      CreatingControl = nullptr;
      self->Handle = window;
      BindWindow(window, self);
    } else {
      self = ControlOfWindow(window);
    }
    TMessage msg{window, message, wParam, lParam};
    if (self != nullptr) return self->WndProc(msg);
    if (AppWindow != nullptr) return AppWindow->WndProc(msg);
    return DefWindowProcW(window, message, wParam, lParam);
  } catch (...) {
    // A fault inside a handler is fatal: it ends in the runtime-error report.
    std::terminate();
  }
}

// Window class: "obj_" + base name, a superclass of the base class when the system knows it.
bool TControl::RegisterOwnClass(HINSTANCE instance, const std::wstring& className) {
  const TWideString baseClassName = WideFromCp1251(BaseClassName);
  WNDCLASSW wc{};
  wc.style = ClassStyle;
  wc.hCursor = LoadSharedCursor(nullptr, IDC_ARROW);
  wc.hInstance = instance;
  if (!BaseClassName.empty()) {
    WNDCLASSW base{};
    if (GetClassInfoW(nullptr, baseClassName.c_str(), &base) ||
        GetClassInfoW(instance, baseClassName.c_str(), &base)) {
      wc = base;
      wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS | CS_OWNDC | CS_CLASSDC | CS_PARENTDC);
      if (BaseWindowProc == nullptr) BaseWindowProc = base.lpfnWndProc;
    }
  }
  WNDCLASSW known{};
  if (GetClassInfoW(instance, className.c_str(), &known)) return true;
  wc.lpfnWndProc = ControlWindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = className.c_str();
  wc.lpszMenuName = nullptr;
  return RegisterClassW(&wc) != 0;
}

bool TControl::CreateWindowHandle() {
  if (Parent != nullptr && Parent->Handle == nullptr) {
    Parent->CreateWindowHandle();
    if (Parent->Handle == nullptr) return false;
  }
  if (Handle != nullptr) {
    CreateChildWindows();
    if (ShowAfterCreate) {
      SetVisible(true);
      ShowAfterCreate = false;
    }
    return true;
  }
  const TCreateParams params = CreateParams();
  if (IsChild && params.Parent == nullptr) return false;
  if (!MakeWindow(params)) return false;
  SetUpNewWindow(params.Child);
  CreateChildWindows();
  return Handle != nullptr;
}

TControl::TCreateParams TControl::CreateParams() const {
  TCreateParams params;
  params.Style = Style;
  if (!Enabled) params.Style |= WS_DISABLED;
  params.Parent = Parent != nullptr ? Parent->Handle : nullptr;
  params.X = BoundsRect.left;
  params.Y = BoundsRect.top;
  params.Width = BoundsRect.right - BoundsRect.left;
  params.Height = BoundsRect.bottom - BoundsRect.top;
  if (params.Width == 0) params.Width = CW_USEDEFAULT;
  if (params.Height == 0) params.Height = CW_USEDEFAULT;
  params.Child = (params.Style & WS_CHILD) != 0;
  if (!params.Child && !PositionSet && !SizeSet) {
    params.X = CW_USEDEFAULT;
    params.Y = CW_USEDEFAULT;
  }
  return params;
}

bool TControl::MakeWindow(const TCreateParams& params) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const TWideString className = WideFromCp1251("obj_" + BaseClassName);
  if (!RegisterOwnClass(instance, className)) return false;

  TControl* previousCreating = CreatingControl;
  CreatingControl = this;
  HMENU menu = params.Child ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(Id)) : nullptr;
  HWND created =
      CreateWindowExW(ExStyle, className.c_str(), WideFromCp1251(Caption).c_str(), params.Style, params.X,
                      params.Y, params.Width, params.Height, params.Parent, menu, instance, nullptr);
  // Whatever happened, a later window must not be bound to this object.
  CreatingControl = previousCreating == this ? nullptr : previousCreating;
  Handle = created;
  if (created == nullptr) return false;
  if (ControlOfWindow(created) == nullptr) BindWindow(created, this);
  return true;
}

void TControl::SetUpNewWindow(bool childWindow) {
  SendMessageW(Handle, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  if (!childWindow) {
    if (HICON icon = GetIcon()) SendMessageW(Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  if (OnCreateHook != nullptr) OnCreateHook(this);
  AfterCreateHook(this);
  ApplyFont();
}

void TControl::CreateChildWindows() {
  // A child may be freed or added while windows are made: walk by index over the live list.
  for (std::int32_t i = 0; Children != nullptr && i < Children->Count; ++i) {
    auto* child = static_cast<TControl*>(Children->Get(i));
    if (child != nullptr) child->CreateWindowHandle();
  }
}

void TControl::SetBaseClass(std::string_view baseClassName) {
  if (Handle != nullptr || baseClassName == BaseClassName) return;
  BaseClassName.assign(baseClassName);
  BaseWindowProc = nullptr;  // taken from the new class when its window is made
}

HWND TControl::GetHandle() {
  if (Handle == nullptr) {
    if (CreateVisible) {
      CreateWindowHandle();
    } else {
      // Made hidden, shown by the next CreateWindowHandle; a control meant to be hidden stays so.
      const bool wasVisible = Visible;
      SetVisible(false);
      CreateWindowHandle();
      if (Handle != nullptr && wasVisible) ShowAfterCreate = true;
    }
  }
  return Handle;
}

namespace {

bool IsCharMessage(UINT message) { return message == WM_CHAR || message == WM_SYSCHAR; }

LRESULT CallBase(WNDPROC base, const TMessage& msg, WPARAM wParam) {
  if (base != nullptr) return CallWindowProcW(base, msg.Window, msg.Message, wParam, msg.LParam);
  return DefWindowProcW(msg.Window, msg.Message, wParam, msg.LParam);
}

// True when the clipboard holds text with a character CP1251 has no byte for.
bool ClipboardTextIsUnmappable(HWND window) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(window)) return false;
  bool unmappable = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      std::size_t missing = 0;
      Cp1251FromWide(text, &missing);
      unmappable = missing != 0;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return unmappable;
}

}  // namespace

// Character messages reach the handlers as the CP1251 byte of the character, as every text of the
// program is; the base procedure gets the character back. An edit refuses a character or a paste
// CP1251 cannot hold (a beep) rather than store a byte that would stand for something else.
bool TControl::FilterTextInput(TMessage& msg, LRESULT& result) {
  const bool edit = HasCommandTable && Commands.ReplaceSelMsg != 0;
  if (IsCharMessage(msg.Message)) {
    char byte = 0;
    if (Cp1251OfWide(static_cast<TWideChar>(msg.WParam), byte)) {
      msg.WParam = static_cast<unsigned char>(byte);
      return false;
    }
    if (edit) MessageBeep(MB_OK);
    result = edit ? 0 : CallBase(BaseWindowProc, msg, msg.WParam);
    return true;
  }
  if (msg.Message == WM_PASTE && edit && ClipboardTextIsUnmappable(msg.Window)) {
    MessageBeep(MB_OK);
    result = 0;
    return true;
  }
  return false;
}

LRESULT TControl::CallDefault(const TMessage& msg) {
  WPARAM wParam = msg.WParam;
  if (IsCharMessage(msg.Message)) wParam = WideOfCp1251(static_cast<unsigned char>(msg.WParam));
  return CallBase(BaseWindowProc, msg, wParam);
}

namespace {

// The chain dispatcher: attached handlers newest first; after termination only the kept ones.
// The walk holds a reference; a Free during the walk ends it as handled. Inside the destructor
// no reference is taken (the count is already spent).
bool WalkHandlerChain(TControl* self, TMessage& msg, LRESULT& result) {
  if (self->HandlerChain.empty()) return false;
  const bool hold = !self->IsTearingDown();
  const bool freedBefore = (self->RefCount & 1) != 0;
  auto freedMeanwhile = [&] { return hold && !freedBefore && (self->RefCount & 1) != 0; };
  if (hold) self->AddRef();
  bool handled = false;
  for (std::size_t i = self->HandlerChain.size(); i-- > 0;) {
    if (i >= self->HandlerChain.size()) continue;  // detached meanwhile
    const TControl::THandlerEntry entry = self->HandlerChain[i];
    if (AppTerminated && !entry.KeepAfterTermination) continue;
    if (entry.Handler(self, msg, result) || freedMeanwhile()) {
      handled = true;
      break;
    }
  }
  if (hold) self->Release();
  return handled;
}

}  // namespace

void TControl::AttachHandler(TMessageHandler handler, bool keepAfterTermination) {
  if (handler == nullptr) return;
  for (const THandlerEntry& e : HandlerChain)
    if (e.Handler == handler) return;
  HandlerChain.push_back({handler, keepAfterTermination});
  ChainDispatcher = WalkHandlerChain;
}

void TControl::DetachHandler(TMessageHandler handler) {
  for (std::size_t i = 0; i < HandlerChain.size(); ++i) {
    if (HandlerChain[i].Handler == handler) {
      HandlerChain.erase(HandlerChain.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

LRESULT TControl::WndProc(TMessage& msg) {
  LRESULT result = 0;
  const TMessageHandler afterHook = AfterMessageHook;
  // The object stays alive until the message is done, even when a handler frees it.
  const bool holdReference = !TearingDown;
  if (holdReference) AddRef();

  bool runAfterHook = true;
  if (FilterTextInput(msg, result)) {
    runAfterHook = false;
  } else if (GlobalMessageHook(this, msg, result)) {
  } else if (AppRunning && AppWindow != nullptr && AppWindow != this && AppWindow->Events().OnMessage &&
             AppWindow->Events().OnMessage(msg, result)) {
  } else if (events_.OnMessage && events_.OnMessage(msg, result)) {
  } else if (ChainDispatcher(this, msg, result)) {
  } else if (ExtraHandler(this, msg, result)) {
  } else {
    runAfterHook = BuiltInHandling(msg, result);
  }
  if (runAfterHook && !AppTerminated && !Destroying) afterHook(this, msg, result);

  if (holdReference) Release();
  return result;
}

// The built-in handling, one function per message family. Each returns whether the after-message
// hook runs after it.
bool TControl::BuiltInHandling(TMessage& msg, LRESULT& result) {
  switch (msg.Message) {
    case WM_SIZE:
      return HandleSize(msg, result);
    case WM_SHOWWINDOW:
      return HandleShowWindow(msg, result);
    case WM_SETFOCUS:
      return HandleSetFocus(msg, result);
    case WM_SETCURSOR:
      return HandleSetCursor(msg, result);
    case WM_CLOSE:
      return HandleClose(msg, result);
    case WM_NCDESTROY:
      return HandleNcDestroy(msg, result);
    case kSelfReleaseMessage:
      return HandleSelfRelease(msg, result);
    case WM_COMMAND:
      return ForwardCommand(msg, result);
    case WM_SYSCOMMAND:
      return HandleSysCommand(msg, result);
    case kReflectedCommand:
      return AnswerReflectedCommand(msg, result);
    default:
      break;
  }
  if (msg.Message >= WM_KEYFIRST && msg.Message <= WM_KEYLAST) return HandleKeyMessage(msg, result);
  if (msg.Message >= WM_CTLCOLORMSGBOX && msg.Message <= WM_CTLCOLORSTATIC) return ReflectColor(msg, result);
  if (msg.Message >= WM_CTLCOLORMSGBOX + kReflectedColorBase &&
      msg.Message <= WM_CTLCOLORSTATIC + kReflectedColorBase)
    return AnswerReflectedColor(msg, result);
  result = CallDefault(msg);
  return false;
}

// The stored window state, and realigning.
bool TControl::HandleSize(TMessage& msg, LRESULT& result) {
  result = CallDefault(msg);
  if (msg.WParam <= SIZE_MAXIMIZED) WindowState = static_cast<std::uint8_t>(msg.WParam);
  if (!IsForm && Parent != nullptr) RealignHook(Parent);
  RealignHook(this);
  return false;
}

// Showing again what the parent's closing hid.
bool TControl::HandleShowWindow(TMessage& msg, LRESULT& result) {
  if (msg.LParam == SW_PARENTCLOSING) {
    SavedShowCommand = IsIconic(msg.Window)   ? SW_SHOWMINNOACTIVE
                       : IsZoomed(msg.Window) ? SW_SHOWMAXIMIZED
                                              : SW_SHOWNOACTIVATE;
    result = CallDefault(msg);
  } else if (msg.LParam == SW_PARENTOPENING && SavedShowCommand != 0) {
    // Only a window hidden by its parent's closing is shown again (0 would hide it).
    ShowWindow(msg.Window, SavedShowCommand);
    SavedShowCommand = 0;
    result = 0;
  } else {
    result = CallDefault(msg);
  }
  return true;
}

bool TControl::HandleSetFocus(TMessage& msg, LRESULT& result) {
  if (HasCommandTable) {
    if (TControl* form = ParentForm()) form->CurrentControl = this;
  }
  if (Enabled && TabStop) {
    ++FocusingCounter;
    ::SetFocus(msg.Window);
    result = CallDefault(msg);
    --FocusingCounter;
    return false;
  }
  result = 0;
  return true;
}

bool TControl::HandleSetCursor(TMessage& msg, LRESULT& result) {
  if (GetCapture() == nullptr && LOWORD(msg.LParam) == HTCLIENT && Cursor != nullptr) {
    ::SetCursor(Cursor);
    result = 1;
  } else {
    result = CallDefault(msg);
  }
  return true;
}

// The object ends once its window is gone (posted by HandleNcDestroy of a main window).
bool TControl::HandleSelfRelease(TMessage&, LRESULT& result) {
  Released = true;
  if (!TearingDown) Free();
  result = 0;
  return true;
}

bool TControl::HandleClose(TMessage& msg, LRESULT& result) {
  bool accept = true;
  if (events_.OnCloseQuery) events_.OnCloseQuery(this, accept);
  // A refusal counts only while the loop runs: shutdown cannot be held up.
  if (!accept && AppRunning) {
    result = 0;
    return true;
  }
  if (IsMainWindow(this) || this == AppWindow) {
    if (AppWindow != nullptr && AppWindow != this && AppWindow->Handle != nullptr)
      SendMessageW(AppWindow->Handle, WM_CLOSE, 0, 0);
    PostQuitMessage(0);
    result = 0;
  } else {
    result = CallDefault(msg);
  }
  return true;
}

bool TControl::HandleNcDestroy(TMessage& msg, LRESULT& result) {
  UnbindWindow(msg.Window);
  if (this == AppWindow) {
    Handle = nullptr;
    result = 0;
    return true;
  }
  if (IsMainWindow(this)) {
    PostMessageW(msg.Window, kSelfReleaseMessage, 0, 0);
    result = CallDefault(msg);
  } else if (Parent != nullptr && Parent == AppWindow) {
    Destroying = true;
    Handle = nullptr;
    if (!TearingDown) Free();
    result = 0;
    return false;
  } else {
    result = CallDefault(msg);
  }
  Handle = nullptr;  // the window is gone; nothing may use the handle again
  return true;
}

// WM_COMMAND goes on to the child that sent it; the child answers it as kReflectedCommand.
bool TControl::ForwardCommand(TMessage& msg, LRESULT& result) {
  HWND from = reinterpret_cast<HWND>(msg.LParam);
  if (from != nullptr && ControlOfWindow(from) != nullptr)
    result = SendMessageW(from, kReflectedCommand, msg.WParam, msg.LParam);
  else
    result = CallDefault(msg);
  return true;
}

// A main window's minimise minimises the application window.
bool TControl::HandleSysCommand(TMessage& msg, LRESULT& result) {
  if ((msg.WParam & kSysCommandMask) == SC_MINIMIZE && IsMainWindow(this) && AppWindow != nullptr &&
      AppWindow != this && AppWindow->Handle != nullptr) {
    PostMessageW(AppWindow->Handle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    result = 0;
  } else {
    result = CallDefault(msg);
  }
  return true;
}

bool TControl::AnswerReflectedCommand(TMessage& msg, LRESULT& result) {
  if (HasCommandTable && HandleReflectedCommand(msg, result)) return false;
  result = CallDefault(msg);
  return false;
}

// WM_CTLCOLOR*: reflected to the child so it answers with its own colours; a foreign child keeps
// the default.
bool TControl::ReflectColor(TMessage& msg, LRESULT& result) {
  HWND child = reinterpret_cast<HWND>(msg.LParam);
  if (child != nullptr && ControlOfWindow(child) != nullptr)
    result = SendMessageW(child, msg.Message + kReflectedColorBase, msg.WParam, msg.LParam);
  else
    result = CallDefault(msg);
  return true;
}

bool TControl::AnswerReflectedColor(TMessage& msg, LRESULT& result) {
  HDC dc = reinterpret_cast<HDC>(msg.WParam);
  ::SetTextColor(dc, ResolveColor(TextColor));
  if (Transparent) {
    SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  } else {
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ResolveColor(Color));
    result = reinterpret_cast<LRESULT>(GetBackgroundBrush());
  }
  return false;
}

bool TControl::HandleReflectedCommand(TMessage& msg, LRESULT& result) {
  const std::uint16_t code = HIWORD(msg.WParam);
  const bool doubleClick =
      DoubleClickIsClick && Commands.DoubleClickCode != 0 && code == Commands.DoubleClickCode;
  if (code == Commands.ClickCode || doubleClick) {
    if (!SuppressClick) {
      PreClick(this);
      if (events_.OnClick) events_.OnClick(this);
    }
  } else if (code == Commands.FocusGainedCode) {
    if (events_.OnFocusGained) events_.OnFocusGained(this);
  } else if (code == Commands.FocusLostCode) {
    if (events_.OnFocusLost) events_.OnFocusLost(this);
  } else if (code == Commands.ChangeCode) {
    TellChange();
  } else {
    return false;
  }
  result = CallDefault(msg);
  return true;
}

namespace {

// Removes the character message waiting for this window when it is this character.
void DropQueuedChar(HWND window, char ch) {
  MSG queued;
  if (PeekMessageW(&queued, window, WM_CHAR, WM_CHAR, PM_NOREMOVE | PM_NOYIELD) &&
      queued.wParam == static_cast<WPARAM>(static_cast<unsigned char>(ch)))
    PeekMessageW(&queued, window, WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD);
}

}  // namespace

bool TControl::HandleKeyMessage(TMessage& msg, LRESULT& result) {
  if (GetFocus() != msg.Window) {
    result = CallDefault(msg);
    return true;
  }
  if (KeyHandler(this, msg, result)) return false;

  bool consumed = false;
  if (!KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
    TControl* form = IsForm ? this : ParentForm();
    const auto key = static_cast<std::int32_t>(msg.WParam);
    if (form != nullptr) {
      switch (msg.Message) {
        case WM_KEYDOWN:
          consumed = form->NavigationHandler(form, this, key, false);
          // TranslateMessage queued the Tab character for this window before the key-down came
          // here; once the focus has moved on, nothing below would stop it from being typed.
          if (consumed && key == VK_TAB) DropQueuedChar(msg.Window, '\t');
          break;
        case WM_KEYUP:
          consumed = form->NavigationHandler(form, this, key, true);
          break;
        case WM_CHAR:
          // The Tab character of a navigating Tab key: only where Tab moves the focus, so an
          // edit that wants Tab still gets it.
          consumed = key == VK_TAB && form->NavigationHandler(form, this, VK_TAB, true);
          break;
        default:
          break;
      }
    }
  }
  if (consumed) {
    msg.WParam = 0;
    result = 0;
  } else {
    result = CallDefault(msg);
  }
  return true;
}

bool IsMainWindow(const TControl* c) {
  if (c == nullptr || c->IsChild) return false;
  const TControl* parent = c->GetParent();
  if (parent == nullptr) return c == AppWindow || !AppWindowWasCreated();
  return parent->GetParent() == nullptr && parent->ChildAt(0) == c;
}
