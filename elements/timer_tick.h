// The tick algorithm of the timer element, window-free so it can be tested anywhere: one arrived
// tick is counted, and handled unless an earlier tick is still being handled (the work behind
// outTimer may let messages be processed, and so let the next tick in). QueueTicks decides whether
// such a tick is dropped or handled right after the running one.
#pragma once

#include "runtime/data.h"

// Timer needs the fields Pending, Remaining, QueueTicks, outTimer, outStop and DisableTimer().
template <class Timer>
void HandleTimerTick(Timer& timer) {
  timer.Pending += 1;
  if (timer.Pending > 1) {
    if (timer.QueueTicks == 0) timer.Pending -= 1;
    return;
  }
  do {
    if (timer.Remaining >= 0) timer.Remaining -= 1;
    const bool last = timer.Remaining == 0;
    FireEmpty(timer.outTimer);
    if (last) {
      timer.Pending = 0;  // ticks queued meanwhile end with the automatic stop
      timer.DisableTimer();
      FireEmpty(timer.outStop);
    }
    if (timer.Pending > 0) timer.Pending -= 1;
  } while (timer.Pending != 0);
}
