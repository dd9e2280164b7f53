// TBareLED: an LED without a window, for running the frame-string graph where no window exists
// (tests, benchmarks). It has the pins of the on-screen LED that the graph uses and nothing else:
// it never paints and never includes a window-system header.
#pragma once

#include <array>
#include <cstdint>

#include "cube/pattern_owner.h"
#include "runtime/data.h"

class TBareLED : public TQxObject {
 public:
  std::uint8_t State = 0;  // 0 dark, 1 lit; written only through ShowState
  TQx_Event outState;
  TQx_Event outClick;
  // As the on-screen LED's: asks the pattern's owner, 0 for a toggle, 1 for inOff; unlinked, the
  // LED changes itself.
  TQx_Event outChange;

  // The one way State changes (nothing to paint).
  void ShowState(bool lit) { State = lit ? 1 : 0; }

  // Stands for a mouse click on the LED: fires outClick with an empty value.
  void Click();

  void inToggle(TData* d, std::uint16_t index);
  void inOff(TData* d, std::uint16_t index);
  void getState(TData* d, std::uint16_t index);
};

// 216 bare LEDs (LED index i at i) as a follower of the pattern's owner: each changed LED takes its
// new state. `leds` is a std::array<TBareLED, 216>.
void ShowOnBareLeds(void* leds, const cube::TPatternChange& change);
