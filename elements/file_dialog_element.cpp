// TQxODialog over the window library's TOpenSaveDialog.
#include "elements/file_dialog_element.h"

#include "platform/app.h"
#include "platform/control.h"
#include "platform/file_dialog.h"

namespace {

// The main form recorded by the application window (its first form), else its first child.
HWND DialogOwner() {
  if (AppWindow == nullptr) return nullptr;
  TControl* owner = nullptr;
  for (std::int32_t i = 0; i < AppWindow->ChildCount() && owner == nullptr; ++i) {
    if (AppWindow->ChildAt(i)->IsForm) owner = AppWindow->ChildAt(i);
  }
  if (owner == nullptr) owner = AppWindow->ChildAt(0);
  return owner != nullptr ? owner->Handle : nullptr;
}

}  // namespace

TQxODialog::~TQxODialog() { Free(Dialog); }

void TQxODialog::inExecute(TData* d, std::uint16_t) {
  if (Dialog == nullptr) {
    Dialog = CreateOpenSaveDialog(Title.view(), StartDir.view(), TOpenSaveOptions::NoValidate);
    Dialog->OwnerWindow = DialogOwner();
    Dialog->Filter = Filter.view();
  }
  Dialog->InitialDir = StartDir.view();
  Dialog->FileName = PullStr(d, dataFileName, FileName).view();
  if (Dialog->Execute()) {
    ForwardStr(d, &outExecute, ByteString(Dialog->FileName));
  } else {
    ForwardEmpty(d, &outCancel);
  }
}
