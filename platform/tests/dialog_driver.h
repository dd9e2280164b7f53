// Test helper: drives a modal file dialog from the test's own thread, so dialog tests need no
// person. A thread timer, dispatched by the dialog's own message loop, finds the dialog, records
// what it shows, optionally types a file name and presses OK or Cancel. Message boxes that the
// dialog raises on top of itself are answered and counted. Windows only.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

struct TDialogScript {
  bool pressOk = false;
  bool typeName = false;
  std::string name;  // typed into the file name field when typeName
};

inline TDialogScript PressCancel() { return TDialogScript{false, false, {}}; }
inline TDialogScript PressOk() { return TDialogScript{true, false, {}}; }
inline TDialogScript TypeAndPressOk(std::string name) { return TDialogScript{true, true, std::move(name)}; }

struct TDialogSeen {
  bool shown = false;
  std::string title;
  std::string proposedName;  // the file name field as the dialog opened
  HWND owner = nullptr;
  int messageBoxes = 0;       // further dialogs answered on top of the file dialog
  bool forcedCancel = false;  // the dialog was still open long after the script ran
};

class TDialogDriver {
 public:
  explicit TDialogDriver(TDialogScript script);
  ~TDialogDriver();
  TDialogDriver(const TDialogDriver&) = delete;
  TDialogDriver& operator=(const TDialogDriver&) = delete;
  const TDialogSeen& Seen() const { return seen_; }

 private:
  static void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD);
  void OnStep();
  TDialogScript script_;
  TDialogSeen seen_;
  HWND dialog_ = nullptr;
  int ticksSinceAction_ = -1;  // -1 until the script's button was pressed
  UINT_PTR timer_ = 0;
};

// The dialog's file name field (the edit of cmb13, or edt1, or the first edit), or null.
HWND FindFileNameEdit(HWND dialog);

// The temporary folder by its long name, ending in a backslash: the form the dialog shows it in.
std::string TempDir();
