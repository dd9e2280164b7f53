// TBareLED: the new state leaves as a tail delivery, like the on-screen LED's.
#include "app/bare_led.h"

void TBareLED::Click() { FireEmpty(outClick); }

void TBareLED::inToggle(TData* d, std::uint16_t) {
  if (outChange.Connected())
    FireInt(outChange, 0);
  else
    ShowState(State == 0);
  ForwardInt(d, &outState, State);
}

void TBareLED::inOff(TData* d, std::uint16_t) {
  if (State == 0) return;  // a dark LED ignores the request: no event
  if (outChange.Connected())
    FireInt(outChange, 1);
  else
    ShowState(false);
  ForwardInt(d, &outState, State);
}

void TBareLED::getState(TData* d, std::uint16_t) { MakeInt(d, State); }

void ShowOnBareLeds(void* leds, const cube::TPatternChange& change) {
  auto& all = *static_cast<std::array<TBareLED, cube::kLedCount>*>(leds);
  const cube::TPattern& changed = change.Changed;
  for (std::size_t i = changed._Find_first(); i < changed.size(); i = changed._Find_next(i))
    all[i].ShowState(change.New.test(i));
}
