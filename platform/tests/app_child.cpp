// A small program on the window library, run by the start-up tests as a child process: it starts
// the loop, shows a form with a few controls, and ends when its main form is closed (by the
// parent, or by itself after a moment with "close-self"). Its exit code tells what went wrong.
#include <windows.h>

#include <cstring>

#include "platform/app.h"
#include "platform/control.h"

namespace {

int formsDestroyed = 0;
int startsRun = 0;
bool deliveryOn = false;
bool startSawDelivery = false;

void SwitchDeliveryOn() { deliveryOn = true; }
void Started(void*) {
  ++startsRun;
  startSawDelivery = deliveryOn;
}
void FormDestroyed(void*, TObj*) { ++formsDestroyed; }

bool CloseOnTimer(void* data, TMessage& msg, LRESULT&) {
  if (msg.Message != WM_TIMER) return false;
  auto* form = static_cast<TControl*>(data);
  KillTimer(msg.Window, msg.WParam);
  form->Close();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool closeSelf = argc > 1 && std::strcmp(argv[1], "close-self") == 0;
  InitCommonControlClasses(ICC_WIN95_CLASSES);
  InitMainFormWindows();
  if (InnerMessageId == 0 || MainFormWindows == nullptr) return 10;

  AppWindow = CreateAppWindow("cube child app");
  TControl* form = CreateFormWindow(AppWindow, "cube child form");
  form->SetBoundsRect({40, 40, 360, 200});
  form->OnDestroy = {FormDestroyed, nullptr};
  TControl* label = CreateLabel(form, "label");
  label->SetBoundsRect({10, 10, 110, 32});
  TControl* edit = CreateEdit(form, 0);
  edit->SetPosition(10, 40);
  TControl* button = CreateButton(form, "button");
  button->SetBoundsRect({10, 70, 110, 92});
  RegisterDeferredStart(Started, nullptr);
  if (form->Handle != nullptr) return 11;  // nothing is created before the loop

  StartStep(true, SwitchDeliveryOn);
  if (startsRun != 1 || !startSawDelivery) return 12;
  if (closeSelf) {
    form->SetOnMessage({CloseOnTimer, form});
    SetTimer(form->GetHandle(), 1, 300, nullptr);
  }
  Run(AppWindow);

  if (!AppTerminated || AppRunning) return 13;
  if (AppWindow != nullptr) return 14;
  if (formsDestroyed != 1) return 15;
  FinishMainFormWindows();
  return 0;
}
