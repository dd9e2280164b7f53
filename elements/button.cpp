// TQxButton: the button control, its default-button setting and the click report.
#include "elements/button.h"

namespace {

void ClickProc(void* data, TObj*) {
  const TQxButton& button = *static_cast<TQxButton*>(data);
  Fire(button.outClick, &button.Data);
}

}  // namespace

void TQxButton::Init() {
  Control = CreateButton(ParentControl, Caption.view());
  Control->SetOnClick({&ClickProc, this});
  if (TControl* form = Control->ParentForm()) {
    if (Default != 0) {
      form->DefaultButton = Control;
    } else if (form->DefaultButton == Control) {
      // Another button stays its form's default; only this one gives the role up.
      form->DefaultButton = nullptr;
    }
    if (form->CancelButton == Control) form->CancelButton = nullptr;
  }
  if (Default != 0)
    Control->SetStyle(Control->GetStyle() | BS_DEFPUSHBUTTON);
  else
    Control->SetStyle(Control->GetStyle() & ~static_cast<std::uint32_t>(BS_DEFPUSHBUTTON));
  Control->SetStyle(Control->GetStyle() | BS_MULTILINE);
  CommonInit();
}
