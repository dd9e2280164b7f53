// TOpenSaveDialog: the system's open/save file dialog with the library's option bits and
// "|"-separated filters. Modal: the dialog runs its own message loop on the GUI thread, so timers
// and paints keep being handled while it is open. Windows builds only.
// It never hands back a shortened path: a name that does not fit is a failed run (false, empty
// FileName, LastError set), like a cancel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_dialog_text.h"
#include "platform/obj.h"

class TOpenSaveDialog : public TObj {
 public:
  std::string Filter;            // "description|pattern|description|pattern..."
  std::int32_t FilterIndex = 0;  // in/out: 1-based index of the selected pair
  bool OpenDialog = true;        // false: a save dialog
  std::string InitialDir;        // empty: the system chooses
  std::string DefaultExtension;
  // in: the proposed name; out: the chosen file(s), or empty. CP1251: a chosen name CP1251 cannot
  // hold comes as its form with '?', which the file functions take back to the real name.
  std::string FileName;
  std::string Title;
  std::uint32_t Options = TOpenSaveOptions::Default;
  HWND OwnerWindow = nullptr;  // null: the application window, when there is one
  // CommDlgExtendedError of the last run: 0 after a confirmed choice or a plain cancel; otherwise
  // why the run failed (FNERR_BUFFERTOOSMALL for a chosen name that did not fit, for example).
  DWORD LastError = 0;

  // Shows the dialog; true when the user confirmed a choice, which is then in FileName.
  bool Execute();

 protected:
  ~TOpenSaveDialog() override = default;
};

// An open-file dialog with Title, InitialDir and options (0 means the default set).
TOpenSaveDialog* CreateOpenSaveDialog(std::string_view title, std::string_view initialDir,
                                      std::uint32_t options);
