// The cube editor program: start-up in order, the message loop, then teardown and exit code 0.
// Holds no behaviour of its own; everything the user sees comes from the application form.
#include <windows.h>

#include "app/editor_form.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/runtime_error.h"
#include "platform/startup_trace.h"
#include "runtime/data.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  StartupStamp("WinMain");
  InstallRuntimeErrorReport();
  // The common controls (only the tooltips use them) are initialised by the first tooltip made.
  StartHintManager();
  StartupStamp("hint manager");
  InitMainFormWindows();

  auto* form = new TClassMainForm_1509590();
  StartupStamp("form built");
  StartStep(form->EditorWindow->Visible != 0, &EnableDelivery);
  StartupStamp("shown, delivery on");
  Run(AppWindow);
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
