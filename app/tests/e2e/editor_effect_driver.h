// Drives the effect workbench of the editor from outside its process: the open dialog (by its
// button or Ctrl+O), the workbench's buttons and fields found by caption and place, lines of the
// effect text double-clicked or put under the caret, and the player's counter read back. Never
// links the editor's code; every wait is bounded. Windows only.
#pragma once

#include <windows.h>

#include <string>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_save_driver.h"

namespace e2e {

// The open dialog's title in CP1251 bytes.
const std::string& OpenDialogTitle();

class TEffectDriver {
 public:
  TEffectDriver(TEditorProcess& editor, TSaveDriver& save) : editor_(editor), save_(save) {}

  // The program's visible open dialog, or null.
  HWND FindOpenDialog() const;
  // Opens the dialog with the "Открыть эффект…" button (or Ctrl+O) and waits until it is up.
  HWND ShowOpenDialog(bool byKey = false, DWORD timeoutMs = 10000);
  // The whole open: the dialog, the name typed, OK, and what followed.
  TDialogOutcome OpenFile(const std::string& path, bool byKey = false);
  // The same with a name typed in UTF-16, which CP1251 may not hold.
  TDialogOutcome OpenFileW(const std::wstring& path);

  // A workbench control by its caption (the play button's changes with the state).
  HWND Button(const std::string& caption) const { return editor_.ChildByText(caption); }
  HWND PlayButton() const;
  HWND RateEdit() const;
  std::string Counter() const;
  bool WaitCounter(const std::string& text, DWORD timeoutMs = 5000) const;

  // Character offset in the memo text where a 0-based line starts (lines end with CR LF).
  std::size_t LineStart(std::size_t line) const;
  // Double-clicks into the line, a little right of its start.
  bool DoubleClickLine(std::size_t line);
  // Puts the memo's caret at the line's start.
  bool PutCaretOnLine(std::size_t line);
  // The memo's selection.
  std::pair<std::size_t, std::size_t> MemoSelection() const;

  // Presses a button and waits until the program has handled the click.
  bool Press(HWND button) { return editor_.ClickButton(button); }
  // Presses a box's button (IDYES, IDNO, IDOK) and waits until the box is gone.
  bool Answer(const TMessageBoxSeen& box, int id, DWORD timeoutMs = 10000);
  // Waits for a message box of the program.
  std::optional<TMessageBoxSeen> WaitMessageBox(DWORD timeoutMs = 5000) const;

 private:
  TEditorProcess& editor_;
  TSaveDriver& save_;
};

}  // namespace e2e
