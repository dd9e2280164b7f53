// The editor form on real windows for the programs that drive it from inside (its tests and
// benchmarks): made and started as the program does, and torn down.
#pragma once

#include "app/editor_form.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/tests/test_pump.h"
#include "platform/timer.h"

namespace editor_form_fixture {

// Returns once the clearing timer's first tick, a second after start, has passed, so that it
// cannot land inside a test or a measurement.
inline TClassMainForm_1509590* StartForm(bool visible) {
  InitCommonControlClasses(ICC_WIN95_CLASSES);
  StartHintManager();
  InitMainFormWindows();
  auto* form = new TClassMainForm_1509590();
  StartStep(visible, &EnableDelivery);
  // The clearing timer stops itself at its first tick.
  PumpFor(10000, [&] { return !form->ClearTimer->Timer->Enabled; });
  return form;
}

inline void FinishForm(TClassMainForm_1509590* form) {
  DisableDelivery();
  delete form;
  FinishMainFormWindows();
  FinishHintManager();
}

}  // namespace editor_form_fixture
