// The fixture of the end-to-end tests that record, open and save effects: the built editor running
// with its save driver, past the clearing tick one second after start (whatever is recorded before
// it would be cleared by it).
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_save_driver.h"

namespace e2e {

class TSavingEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetRememberedFolder();
    ASSERT_TRUE(editor.Start()) << editor.Error();
    ASSERT_TRUE(save.PassFirstTick()) << "the first tick did not clear the memo";
  }

  std::string PathOf(const std::string& name) const { return editor.WorkDir() + "\\" + name; }
  // Clicks the LEDs (numbers from 1) and records the frame with Enter.
  void Record(std::initializer_list<int> leds) {
    for (int n : leds) ASSERT_TRUE(editor.ClickLed(n)) << "LED " << n << " did not react";
    ASSERT_TRUE(editor.PressEnterInFrameEdit());
  }

  TEditorProcess editor;
  TSaveDriver save{editor};
};

}  // namespace e2e
