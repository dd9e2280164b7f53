// The message handlers that the constructors attach to the application window and to forms:
// focus passed on to the current control, the system menu's close, the end of the session, and
// the form background.
// Handlers answer only their own messages and never throw.
#include "platform/app.h"
#include "platform/control.h"

bool AppWindowHandler(TControl* self, TMessage& msg, LRESULT& result) {
  switch (msg.Message) {
    case WM_SETFOCUS:
      if (self->CurrentControl == nullptr) return false;
      if (HWND window = self->CurrentControl->GetHandle()) ::SetFocus(window);
      result = 0;
      return true;
    case WM_SYSCOMMAND:
      if ((msg.WParam & kSysCommandMask) != SC_CLOSE) return false;
      if (TControl* first = self->ChildAt(0); first != nullptr && IsMainWindow(first)) {
        first->Close();
        result = 0;
        return true;
      }
      return false;
    default:
      return false;
  }
}

bool FormFocusHandler(TControl* self, TMessage& msg, LRESULT& result) {
  switch (msg.Message) {
    case WM_SETFOCUS: {
      if (AppWindow != nullptr && AppWindow != self) AppWindow->CurrentControl = self;
      TControl* current = self->CurrentControl;
      if (current == nullptr) return false;
      if (HWND window = current->GetHandle()) ::SetFocus(window);
      result = 0;
      return true;
    }
    case WM_ENDSESSION: {
      if (msg.WParam == 0) return false;
      // The session ends: no close protocol, the process goes now.
      AppTerminated = true;
      AppRunning = false;
      TControl* app = AppWindow;
      AppWindow = nullptr;
      self->Free();
      if (app != nullptr && app != self) app->Free();
      Halt(0);
    }
    default:
      return false;
  }
}

bool FormBackgroundHandler(TControl* self, TMessage& msg, LRESULT& result) {
  if (msg.Message != WM_ERASEBKGND) return false;
  // Children not made yet appear with the form's first paint.
  for (std::int32_t i = 0; i < self->ChildCount(); ++i)
    if (TControl* child = self->ChildAt(i)) child->CreateWindowHandle();
  if (self->GetTransparent()) return false;
  HDC dc = reinterpret_cast<HDC>(msg.WParam);
  RECT client;
  ::GetClientRect(msg.Window, &client);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ResolveColor(self->GetColor()));
  SetBrushOrgEx(dc, 0, 0, nullptr);
  ::FillRect(dc, &client, self->GetBrush()->GetBrushHandle());
  result = 1;
  return true;
}
