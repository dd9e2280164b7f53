// The cube editor program: start-up in order, the message loop, then the end with exit code 0.
// Holds no behaviour of its own; everything the user sees comes from the application form.
#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include "app/editor_form.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/runtime_error.h"
#include "platform/startup_trace.h"
#include "runtime/data.h"

namespace {

HWND FormWindow = nullptr;

// Destroys each window the form owns except the tooltips: a view saves its place when its window
// goes, a tooltip keeps nothing.
BOOL CALLBACK DestroyOwnedView(HWND window, LPARAM) {
  wchar_t className[32]{};
  GetClassNameW(window, className, 32);
  if (GetWindow(window, GW_OWNER) == FormWindow && lstrcmpiW(className, TOOLTIPS_CLASSW) != 0)
    DestroyWindow(window);
  return TRUE;
}

[[noreturn]] void EndTheProcess() {
  StartupTraceWrite();
  ExitProcess(0);
}

// The form asks the application window to close only once its close is settled: accepted, and its
// own closing work done. Nothing is left to write but the views' places, so the views are destroyed (each
// saves its own) and the process ends here: the system frees the form's 231 windows, the tooltips,
// the elements and the drawing objects at once, far faster than taking them down one by one.
bool EndAtTheSettledClose(TControl* app, TMessage& msg, LRESULT&) {
  if (msg.Message != WM_CLOSE || msg.Window != app->GetHandle() || FormWindow == nullptr) return false;
  StartupStamp("close settled");
  EnumThreadWindows(GetCurrentThreadId(), &DestroyOwnedView, 0);
  StartupStamp("views destroyed");
  EndTheProcess();
}

// Should the form's window be destroyed some other way, the views it owned are gone by its
// WM_DESTROY, so the process can end there just the same.
bool EndWithTheForm(TControl*, TMessage& msg, LRESULT&) {
  if (msg.Message != WM_DESTROY || msg.Window != FormWindow) return false;
  StartupStamp("form window destroyed");
  EndTheProcess();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  StartupStamp("WinMain");
  InstallRuntimeErrorReport();
  // The common controls (only the tooltips use them) are initialised by the first tooltip made.
  StartHintManager();
  StartupStamp("hint manager");
  InitMainFormWindows();

  auto* form = new TClassMainForm_1509590();
  TControl* formControl = form->EditorWindow->Control;
  FormWindow = formControl->GetHandle();
  formControl->AttachHandler(&EndWithTheForm, /*keepAfterTermination=*/true);
  if (AppWindow != nullptr) AppWindow->AttachHandler(&EndAtTheSettledClose, /*keepAfterTermination=*/true);
  StartupStamp("form built");
  StartStep(form->EditorWindow->Visible != 0, &EnableDelivery);
  StartupStamp("shown, delivery on");
  Run(AppWindow);
  // Reached only when the loop ends without the form's window destroyed.
  StartupStamp("loop ended");
  delete form;
  StartupStamp("form freed");

  FinishMainFormWindows();
  FinishHintManager();
  StartupStamp("exit");
  StartupTraceWrite();
  return 0;
}

// Before every other static initialiser of the program: where the loader hands over.
__attribute__((constructor(101))) static void StampLoaded() { StartupStamp("libraries loaded"); }
