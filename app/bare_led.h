// TBareLED: an LED without a window, for running the frame-string graph where no window exists
// (tests, benchmarks). It has the pins of the on-screen LED that the graph uses and nothing else:
// it never paints and never includes a window-system header.
#pragma once

#include <cstdint>

#include "runtime/data.h"

class TBareLED : public TQxObject {
 public:
  std::uint8_t State = 0;  // 0 dark, 1 lit
  TQx_Event outState;
  TQx_Event outClick;
  TQx_Event outChange;  // as the on-screen LED's: 0 after a toggle, 1 after inOff

  // Stands for a mouse click on the LED: fires outClick with an empty value.
  void Click();

  void inToggle(TData* d, std::uint16_t index);
  void inOff(TData* d, std::uint16_t index);
  void getState(TData* d, std::uint16_t index);
};
