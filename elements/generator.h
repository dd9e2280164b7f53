// TQxGenerator: the generator dialog as an element. inOpen shows the dialog over Owner, starting
// "repeat" from the cube's frame (dataFrame) and pacing the preview by the rate field (dataRate);
// the frames it makes go into Memo after the caret's line as one replacement with undo allowed, so
// one Ctrl+Z in the memo takes them all back. Must never change the memo when the dialog is
// cancelled or refuses, and never open a second dialog while one is open.
#pragma once

#include <cstdint>
#include <string>

#include "elements/memo.h"

class TQxGenerator : public TQxObject {
 public:
  TQxMemo* Memo = nullptr;
  TControl* Owner = nullptr;  // the form the dialog is modal over
  TQx_Event dataFrame;        // string: the cube's frame string
  TQx_Event dataRate;         // string: milliseconds per frame, as the rate field holds them

  void inOpen(TData* d, std::uint16_t index);

 private:
  void Insert(const std::string& lines);

  int generator_ = 0;  // the last one chosen, offered first next time
  bool open_ = false;
};
