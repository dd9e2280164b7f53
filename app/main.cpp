// The cube editor program: start-up in order, the message loop, then teardown and exit code 0.
// Holds no behaviour of its own; everything the user sees comes from the application form.
#include <windows.h>

#include "app/editor_form.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/runtime_error.h"
#include "runtime/data.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InstallRuntimeErrorReport();
  InitCommonControlClasses(ICC_WIN95_CLASSES);
  StartHintManager();
  InitMainFormWindows();

  auto* form = new TClassMainForm_1509590();
  StartStep(form->EditorWindow->Visible != 0, &EnableDelivery);
  Run(AppWindow);
  delete form;

  FinishMainFormWindows();
  FinishHintManager();
  return 0;
}
