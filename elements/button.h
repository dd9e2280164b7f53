// TQxButton: a push button that sends a copy of its fixed value when clicked. Must never send the
// value itself (a receiver may change what it gets).
#pragma once

#include <cstdint>

#include "elements/win.h"

class TQxButton : public TQxWin {
 public:
  TQx_Event outClick;
  TData Data;  // empty unless set
  ByteString Caption;
  std::uint8_t Default = 0;  // non-zero: clicked by Enter in its form

  using TQxWin::TQxWin;

  void Init() override;
};
