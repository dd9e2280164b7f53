// A demonstration of the window library for a person to look at under Wine: a form with a label,
// an edit line and a button that copies the edit's text into the label.
// Uses the library only; nothing of the editor's element graph.
#include <windows.h>

#include "platform/app.h"
#include "platform/control.h"
#include "platform/handlers.h"
#include "platform/runtime_error.h"

namespace {

struct Demo {
  TControl* label = nullptr;
  TControl* edit = nullptr;
  int presses = 0;
};

void CopyTextToLabel(void* data, TObj*) {
  auto* demo = static_cast<Demo*>(data);
  ++demo->presses;
  std::string text = demo->edit->GetCaption();
  if (text.empty()) text = "Нажато: " + std::to_string(demo->presses);
  demo->label->SetCaption(text);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InstallRuntimeErrorReport();
  InitCommonControlClasses(ICC_WIN95_CLASSES);
  InitMainFormWindows();

  AppWindow = CreateAppWindow("Демонстрация");
  TControl* form = CreateFormWindow(AppWindow, "Демонстрация окон");
  form->SetBoundsRect({80, 80, 480, 280});

  Demo demo;
  demo.label = CreateLabel(form, "Введите текст и нажмите кнопку");
  demo.label->SetBoundsRect({16, 16, 376, 38});
  demo.edit = CreateEdit(form, 0);
  demo.edit->SetBoundsRect({16, 48, 276, 70});
  demo.edit->SetCaption("СЛОЙ 1");
  TControl* button = CreateButton(form, "Показать");
  button->SetBoundsRect({16, 84, 136, 110});
  button->SetOnClick({CopyTextToLabel, &demo});

  EnableKeyboardNavigation(form);
  StartStep(true, nullptr);
  Run(AppWindow);
  FinishMainFormWindows();
  return 0;
}
