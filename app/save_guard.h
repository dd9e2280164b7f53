// TQxSaveGuard: sits in front of the effect memo's save and clear inputs so that a save that did
// not reach the file keeps the effect text: the user is told which file failed, and the clearing
// tick that follows such a save leaves the memo alone. After a good save the tick clears only the
// lines that were saved; lines recorded or changed since stay. Must never discard text that was
// not saved.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "elements/memo.h"
#include "platform/control.h"
#include "runtime/data.h"

class TQxSaveGuard : public TQxObject {
 public:
  TQxMemo* Memo = nullptr;    // whose LastSaveOk is asked after every save
  TControl* Owner = nullptr;  // owner window of the failure message box
  TQx_Event outSave;          // to the memo's inSave
  TQx_Event outClear;         // to the memo's inClear
  TQx_Event outSaved;         // empty: a save wrote the whole effect (the text in the memo is saved)
  TQx_Event outCleared;       // empty: a clearing tick emptied the memo (no change report says so)
  bool KeepText = false;      // set by a failed save, cleared by the tick it suppressed
  // Every clearing tick is counted in this property of the owner window, so that a program
  // outside (a test driver) sees that the tick came even when it changed nothing.
  static constexpr const wchar_t* kTickCountProperty = L"CubeClearingTicks";

  void inSave(TData* d, std::uint16_t index);
  void inClear(TData* d, std::uint16_t index);

 private:
  // The memo's text as the last good save wrote it; until the first one the tick clears all.
  std::string savedText_;
  bool saved_ = false;
  std::intptr_t ticks_ = 0;

  void CountTick();
};
