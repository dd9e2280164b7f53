// Test helper that drives a modal file dialog (see dialog_driver.h).
#include "platform/tests/dialog_driver.h"

#include <vector>

#include "platform/tests/test_windows.h"
#include "platform/text_codec.h"

namespace {

TDialogDriver* ActiveDriver = nullptr;  // a thread timer carries no data pointer

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && ClassOf(window) == "#32770") {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK FirstEdit(HWND window, LPARAM found) {
  if (ClassOf(window) == "Edit" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace

HWND FindFileNameEdit(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, 0x47C)) {  // cmb13
    if (ClassOf(combo) == "Edit") return combo;
    if (HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr)) return edit;
  }
  if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;  // edt1
  HWND found = nullptr;
  EnumChildWindows(dialog, FirstEdit, reinterpret_cast<LPARAM>(&found));
  return found;
}

TDialogDriver::TDialogDriver(TDialogScript script) : script_(std::move(script)) {
  ActiveDriver = this;
  timer_ = SetTimer(nullptr, 0, 50, &TDialogDriver::Step);
}

TDialogDriver::~TDialogDriver() {
  KillTimer(nullptr, timer_);
  ActiveDriver = nullptr;
}

void CALLBACK TDialogDriver::Step(HWND, UINT, UINT_PTR, DWORD) {
  if (ActiveDriver != nullptr) ActiveDriver->OnStep();
}

void TDialogDriver::OnStep() {
  std::vector<HWND> dialogs;
  EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
  for (HWND window : dialogs) {
    if (dialog_ == nullptr) dialog_ = window;
    if (window != dialog_) {  // a message box raised by the dialog: answer it
      ++seen_.messageBoxes;
      Press(window, IDOK);
      Press(window, IDCANCEL);
    }
  }
  if (dialog_ == nullptr || !IsWindow(dialog_)) return;
  if (ticksSinceAction_ >= 0) {
    // Still open long after the button was pressed (a refused name, for example): give up on it.
    if (++ticksSinceAction_ == 60) {
      seen_.forcedCancel = true;
      Press(dialog_, IDCANCEL);
    }
    return;
  }
  HWND edit = FindFileNameEdit(dialog_);
  if (edit == nullptr) return;  // not filled in yet
  seen_.shown = true;
  seen_.title = WindowText(dialog_);
  seen_.proposedName = WindowText(edit);
  seen_.owner = GetWindow(dialog_, GW_OWNER);
  if (script_.typeName) SetWindowTextW(edit, WideFromCp1251(script_.name).c_str());
  Press(dialog_, script_.pressOk ? IDOK : IDCANCEL);
  ticksSinceAction_ = 0;
}

std::string TempDir() {
  char dir[MAX_PATH + 1] = {};
  GetTempPathA(sizeof dir, dir);
  char full[MAX_PATH + 1] = {};
  GetLongPathNameA(dir, full, sizeof full);
  std::string path = full[0] != '\0' ? full : dir;
  if (path.back() != '\\') path += '\\';
  return path;
}
