// The editor form on real windows for the test programs that drive it from inside: made and
// started as the program does, once per test suite, past its first clearing tick.
#pragma once

#include "app/editor_form.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/tests/test_pump.h"

namespace editor_form_fixture {

inline TClassMainForm_1509590* StartForm() {
  InitCommonControlsEx(0xFF);
  StartHintManager();
  InitMainFormWindows();
  auto* form = new TClassMainForm_1509590();
  StartStep(false, &EnableDelivery);
  // The clearing timer ticks once a second after start; let that tick pass.
  PumpFor(1500);
  return form;
}

}  // namespace editor_form_fixture
