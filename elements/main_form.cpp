// The main form element: application window ownership, border styles, close procedure, following
// a master form and position persistence.
#include "elements/main_form.h"

#include <algorithm>

#include "platform/app.h"
// <windows.h> renames GetObject to GetObjectA; the list's member keeps its own name.
#undef GetObject
#include "platform/startup_trace.h"
#include "platform/strlist.h"

namespace {

struct TBorderBits {
  std::uint32_t Style;
  std::uint32_t ExStyle;
};
constexpr TBorderBits kBorderStyles[10] = {
    {0, 0},
    {WS_CAPTION | WS_MINIMIZEBOX, 0},
    {WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0},
    {WS_CAPTION, WS_EX_WINDOWEDGE},
    {WS_CAPTION, WS_EX_TOOLWINDOW},
    {WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW},
    {0, WS_EX_DLGMODALFRAME},
    {WS_THICKFRAME, WS_EX_TOOLWINDOW},
    {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME},
    {WS_THICKFRAME, WS_EX_CLIENTEDGE},
};
constexpr std::uint32_t kBorderStyleMask = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr std::uint32_t kBorderExStyleMask = WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

void StartFormProc(void* data) { static_cast<TQxMainForm*>(data)->StartForm(); }

void ShowProc(void* data, TObj*) { static_cast<TQxMainForm*>(data)->DoShow(); }

void NoPersistence(TQxMainForm*, bool) {}

void PersistPosition(TQxMainForm* self, bool save) {
  if (save) {
    SavePosition(self->PositionKey.view(), self->CurrentPosition());
  } else {
    TFormPosition position = self->CurrentPosition();
    LoadPosition(self->PositionKey.view(), position);
    self->ApplyPosition(position);
  }
}

void PostToMainForms(UINT message) {
  if (MainFormWindows == nullptr || message == 0) return;
  for (std::int32_t i = 0; i < MainFormWindows->Count; ++i)
    if (auto window = static_cast<HWND>(MainFormWindows->GetObject(i))) PostMessageW(window, message, 0, 0);
}

}  // namespace

TQxMainForm::TQxMainForm(TControl* parentControl) : TQxWin(parentControl) {
  if (AppWindow == nullptr) {
    AppWindow = CreateAppWindow("App");
    OwnsApp = 1;
  }
  Control = CreateFormWindow(ParentControl != nullptr ? ParentControl : AppWindow, "Form");
  Control->SetVisible(false);
  Control->SetOnShow({&ShowProc, this});
  Control->Border = 0;
  RegisterDeferredStart(&StartFormProc, this);
}

TQxMainForm::~TQxMainForm() {
  // A form ended before the start step must not be started by it.
  std::erase_if(DeferredStartList, [this](const TDeferredStart& entry) {
    return entry.Proc == &StartFormProc && entry.Data == this;
  });
  Unlist();
}

void TQxMainForm::Unlist() {
  if (ListedWindow == nullptr) return;
  if (MainFormWindows != nullptr) {
    const std::int32_t at = MainFormWindows->IndexOfObject(ListedWindow);
    if (at >= 0) MainFormWindows->Delete(at);
  }
  ListedWindow = nullptr;
}

void TQxMainForm::DoControlDestroyed() {
  Unlist();
  TQxWin::DoControlDestroyed();
}

void TQxMainForm::SetCaption(const ByteString& caption) {
  Control->SetCaption(caption.view());
  if (OwnsApp != 0 && AppWindow != nullptr) AppWindow->SetCaption(caption.view());
}

void TQxMainForm::SetBorderStyle(std::uint8_t style) {
  if (style > 9) return;
  Control->GetHandle();
  const TBorderBits& bits = kBorderStyles[style];
  Control->SetStyle((Control->GetStyle() & ~kBorderStyleMask) | bits.Style);
  Control->SetExStyle((Control->GetExStyle() & ~kBorderExStyleMask) | bits.ExStyle);
}

void TQxMainForm::SetIcon(HICON icon) {
  // Each window destroys the icon it replaces, so each gets a handle of its own.
  if (icon == nullptr) {
    TControl* source = ParentControl != nullptr ? ParentControl : AppWindow;
    HICON shared = source != nullptr ? source->GetIcon() : nullptr;
    if (shared == nullptr) return;
    icon = CopyIcon(shared);
  }
  if (OwnsApp != 0 && AppWindow != nullptr) AppWindow->SetIcon(CopyIcon(icon));
  Control->SetIcon(icon);
}

void TQxMainForm::SetAppToolWindow(std::uint8_t value) {
  if (OwnsApp != 0 && value == 1 && AppWindow != nullptr)
    AppWindow->SetExStyle(WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME);
}

void TQxMainForm::Init() {
  PersistRoutine =
      ChoosePositionStore(PositionKey.view()) == TPositionStore::None ? &NoPersistence : &PersistPosition;
  const std::uint8_t wasVisible = Visible;
  Visible = 0;
  if (OwnsApp == 0 && MainFormWindows != nullptr) {
    ListedWindow = Control->GetHandle();
    MainFormWindows->AddObject({}, ListedWindow);
  }
  CommonInit();
  Visible = wasVisible;
  Control->SetAlphaBlend(AlphaBlend);
  if (ClientSize != 0) Control->SetClientSize(Width, Height);
  Control->OwnerObject = this;
  if (InitHook) InitHook();
}

void TQxMainForm::StartForm() {
  FireEmpty(outCreate);
  Control->SetVisible(Visible != 0);
}

void TQxMainForm::DoShow() {
  if (Shown == 0) {
    if (WindowState == 1 || WindowState == 2) Control->SetWindowState(WindowState);
    if (PersistRoutine != nullptr) PersistRoutine(this, false);
    Shown = 1;
  }
  TQxWin::DoShow();
}

void TQxMainForm::DoMouseDown(TMouseEventData& mouse) {
  if (DragByClient != 0 && Control->Handle != nullptr) {
    ReleaseCapture();
    SendMessageW(Control->Handle, WM_SYSCOMMAND, kDragMove, 0);
  }
  TQxWin::DoMouseDown(mouse);
}

bool TQxMainForm::CloseProcedure(bool ask) {
  if (ask && PullInt(dataKeepOpen) != 0) return true;
  for (std::int32_t i = 0; i < Control->ChildCount(); ++i) {
    TControl* child = Control->ChildAt(i);
    if (child != nullptr && child->IsForm && child->Handle != nullptr)
      SendMessageW(child->Handle, WM_CLOSE, 0, 1);
  }
  bool staysOpen = false;
  if (OwnsApp != 0) {
    FireEmpty(outClose);
    // Nothing may travel while the windows are taken down.
    DisableDelivery();
  } else {
    // A form that does not own the program only hides: its element lives on with the program.
    Control->SetVisible(false);
    staysOpen = true;
  }
  if (PersistRoutine != nullptr) PersistRoutine(this, true);
  return staysOpen;
}

bool TQxMainForm::DoMessage(TMessage& msg, LRESULT& result) {
  if (msg.Message == InnerMessageId && InnerMessageId != 0) {
    if (OwnsApp == 0 && MasterLink != nullptr && *MasterLink) {
      if (TControl* master = (*MasterLink)(); master != nullptr && Control->Handle != nullptr) {
        SetWindowPos(Control->Handle, nullptr, master->GetLeft() + MasterOffsetX,
                     master->GetTop() + MasterOffsetY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  }
  switch (msg.Message) {
    case WM_MOVE:
      if (OwnsApp != 0 && AppWindow != nullptr) AppWindow->SetPosition(Control->GetLeft(), Control->GetTop());
      if (!Name.empty()) PostToMainForms(InnerMessageId);
      break;
    case WM_SIZE:
      if (OwnsApp != 0 && AppWindow != nullptr) AppWindow->SetWidth(Control->GetWidth());
      if (!Name.empty()) PostToMainForms(InnerMessageId);
      break;
    case WM_ACTIVATE:
      if (static_cast<std::int16_t>(LOWORD(msg.WParam)) > 0)
        FireEmpty(outActivate);
      else if (LOWORD(msg.WParam) == 0)
        FireEmpty(outDeactivate);
      break;
    case WM_CLOSE:
      StartupStamp("close asked");
      if (CloseProcedure(msg.LParam == 0)) {
        result = 0;
        return true;
      }
      break;
    case WM_QUERYENDSESSION:
      // The end of the session asks as a close does; a form kept open stops the session's end.
      if (OwnsApp != 0) {
        result = PullInt(dataKeepOpen) != 0 ? FALSE : TRUE;
        return true;
      }
      break;
    default:
      break;
  }
  return TQxWin::DoMessage(msg, result);
}

TFormPosition TQxMainForm::CurrentPosition() {
  return {Control->GetLeft(), Control->GetTop(), Control->GetWidth(), Control->GetHeight()};
}

void TQxMainForm::ApplyPosition(const TFormPosition& p) {
  const TFormPosition now = CurrentPosition();
  if (p.Left != now.Left || p.Top != now.Top) Control->SetPosition(p.Left, p.Top);
  if (p.Width != now.Width || p.Height != now.Height) Control->SetSize(p.Width, p.Height);
}
