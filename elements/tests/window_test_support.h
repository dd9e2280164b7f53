// Test helpers for the window-backed elements: a parent form, with the shared message pumps and
// window helpers of the platform's tests.
#pragma once

#include "platform/control.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_windows.h"

// A plain form that parents the elements under test.
struct ParentForm {
  TControl* form = CreateFormWindow(nullptr, "Test parent");
  ParentForm() {
    form->SetSize(800, 600);
    form->GetHandle();
  }
  ~ParentForm() { form->Free(); }
};
