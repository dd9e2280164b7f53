// Drives the editor's save from outside its process: finds the file dialog and the message box of a
// failed save among the program's top-level windows, reads and types the file name, presses their
// buttons, and reads the files a save leaves behind. Never links the editor's code; every wait is
// bounded. Windows only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"

namespace e2e {

// A message box of the program as it stood when found.
struct TMessageBoxSeen {
  HWND Window = nullptr;
  HWND Owner = nullptr;
  std::string Caption;
  std::string Text;  // the longest static text in it: the message itself
};

// What became of the dialog after OK.
struct TDialogOutcome {
  bool Closed = false;                 // the dialog went away
  std::optional<TMessageBoxSeen> Box;  // a message box came up (the program's or the dialog's own)
};

class TSaveDriver {
 public:
  explicit TSaveDriver(TEditorProcess& editor) : editor_(editor) {}

  // Clicks the save button and waits until the dialog titled "Open Dialog" shows its name field.
  HWND OpenDialog(DWORD timeoutMs = 10000);
  // The program's visible dialog titled "Open Dialog", or null.
  HWND FindDialog() const;
  // The file name field of a file dialog, or null.
  HWND NameEdit(HWND dialog) const;
  std::string DialogTitle(HWND dialog) const;
  std::string DialogFileName(HWND dialog) const;
  // WM_SETTEXT into the name field: ANSI bytes, or UTF-16 for characters no code page holds.
  bool TypeFileName(HWND dialog, const std::string& name) const;
  bool TypeFileNameW(HWND dialog, const std::wstring& name) const;
  // Posts the button's command (IDOK or IDCANCEL) to the dialog or message box.
  bool Press(HWND window, int id) const;
  // Presses OK and waits until the dialog closed and the program has handled the save, or a
  // message box came up; the dialog may also stay (then Closed is false and there is no box).
  TDialogOutcome PressOkAndWait(HWND dialog, DWORD timeoutMs = 10000);
  // Presses Cancel and waits until the dialog is gone.
  bool CancelAndWait(HWND dialog, DWORD timeoutMs = 10000);
  // Visible message boxes of the program other than `except`.
  std::optional<TMessageBoxSeen> FindMessageBox(HWND except = nullptr) const;
  // Presses OK in the box and waits until it is gone.
  bool DismissAndWait(const TMessageBoxSeen& box, DWORD timeoutMs = 10000);
  // WM_SETTEXT into a control with a wait long enough for a very large text.
  bool SetLongText(HWND window, const std::string& text, DWORD timeoutMs = 60000) const;
  std::string LongTextOf(HWND window, DWORD timeoutMs = 60000) const;
  // Waits until the memo shows exactly this text.
  bool WaitMemoText(const std::string& expected, DWORD timeoutMs = 5000) const;
  // Presses Enter with real key input once the box is the foreground window: its default button.
  bool PressEnterOn(const TMessageBoxSeen& box, DWORD timeoutMs = 5000);
  // Waits out the clearing tick one second after start: marks the memo and waits until it is
  // emptied, or for long enough that the tick must have come before the mark; leaves it empty.
  bool PassFirstTick(DWORD timeoutMs = 2000) const;

 private:
  std::vector<HWND> TopWindows() const;
  TEditorProcess& editor_;
};

// The folder the editor remembers for its dialogs (in the user's registry, shared with every
// editor started by the tests): forgotten before a test so that no test starts where another ended.
void ForgetRememberedFolder();
std::string RememberedFolder();

// The bytes of a file, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Names of the files and directories in a directory ("." and ".." left out).
std::vector<std::string> DirectoryEntries(const std::string& dir);

}  // namespace e2e
