// The cube editor program: start-up in order, the message loop, then the end with exit code 0.
// Holds no behaviour of its own; everything the user sees comes from the application form.
#include <windows.h>

#include "app/editor_form.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/runtime_error.h"
#include "platform/startup_trace.h"
#include "runtime/data.h"

namespace {

// The form's window is destroyed only once the close is settled: the position is saved and the
// views it owns are gone (and saved theirs). Nothing is left to write, so the process ends here;
// the system frees the 231 windows, the elements and the drawing objects at once, far faster than
// taking them down one by one.
bool EndWithTheForm(TControl* form, TMessage& msg, LRESULT&) {
  if (msg.Message != WM_DESTROY || msg.Window != form->Handle) return false;
  StartupStamp("form window destroyed");
  StartupTraceWrite();
  ExitProcess(0);
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
  form->EditorWindow->Control->AttachHandler(&EndWithTheForm, /*keepAfterTermination=*/true);
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
