// The real editor form for the benchmarks that measure it from inside the program: made and
// started as the program does, held past its first clearing tick, and torn down; and the clock
// they read. Windows only; it measures nothing itself.
#pragma once

#include <windows.h>

#include <chrono>

#include "app/editor_form.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/tests/test_pump.h"

namespace bench_form {

using Clock = std::chrono::steady_clock;

inline double MicrosecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

inline double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The form with delivery running, once the clearing tick one second after start has passed, so
// that it cannot land inside a measurement.
inline TClassMainForm_1509590* StartForm() {
  InitCommonControlsEx(0xFF);
  StartHintManager();
  InitMainFormWindows();
  auto* form = new TClassMainForm_1509590();
  StartStep(true, &EnableDelivery);
  const DWORD until = GetTickCount() + 1300;
  while (GetTickCount() < until) {
    PumpMessages();
    Sleep(10);
  }
  return form;
}

inline void FinishForm(TClassMainForm_1509590* form) {
  DisableDelivery();
  delete form;
  FinishMainFormWindows();
  FinishHintManager();
}

}  // namespace bench_form
