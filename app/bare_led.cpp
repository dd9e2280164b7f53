// TBareLED: the new state leaves as a tail delivery, like the on-screen LED's.
#include "app/bare_led.h"

void TBareLED::Click() { FireEmpty(outClick); }

void TBareLED::inToggle(TData* d, std::uint16_t) {
  State = State == 0 ? 1 : 0;
  FireInt(outChange, 0);
  ForwardInt(d, &outState, State);
}

void TBareLED::inOff(TData* d, std::uint16_t) {
  if (State == 0) return;  // a dark LED ignores the request: no event
  State = 0;
  FireInt(outChange, 1);
  ForwardInt(d, &outState, 0);
}

void TBareLED::getState(TData* d, std::uint16_t) { MakeInt(d, State); }
