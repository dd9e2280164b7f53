// TQxLED: the on-screen LED indicator, a self-painted child window with a two-valued state that
// only its inputs change; a click is only reported. Must never create drawing objects per paint
// beyond what the LED drawing routine makes.
#pragma once

#include <cstdint>

#include "elements/led_paint.h"
#include "elements/win.h"

class TQxLED : public TQxWin {
 public:
  std::int32_t OnColor = 0;
  std::int32_t OffColor = 0;
  std::int32_t LightColor = 0;
  std::uint8_t State = 0;  // 0 dark, else lit; the inputs store 0 or 1
  std::uint8_t Shape = 0;  // 0 round, 1 square, other: square without rim or highlights
  std::uint8_t Bevel = 0;
  // The eight pens and brushes, made once by Init from the colours as they stand then.
  TLEDTools Tools;
  TQx_Event outState;
  TQx_Event outClick;
  // Not in the original graph: reports each change of State before outState carries it on, with
  // 0 for a toggle and 1 for inOff, so that the pattern's history sees clicks and resets.
  TQx_Event outChange;

  using TQxWin::TQxWin;

  void inToggle(TData* d, std::uint16_t index);
  void inOff(TData* d, std::uint16_t index);
  void getState(TData* d, std::uint16_t index);

  void DoResize() override;
  void Init() override;
};
