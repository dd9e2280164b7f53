// The fixture of the end-to-end tests that record, open and save effects: the built editor running
// with its save driver, past the clearing tick one second after start (whatever is recorded before
// it would be cleared by it).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

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

  // Saving over an existing file and saving lines that are not frames ask first: answers Yes and
  // returns what followed (a failure's message, if any).
  TDialogOutcome AnswerYes(TDialogOutcome outcome) {
    if (!outcome.Box || outcome.Box->Caption != "Сохранение эффекта") {
      ADD_FAILURE() << "no question before the save";
      return outcome;
    }
    const HWND question = outcome.Box->Window;
    EXPECT_TRUE(save.Press(question, IDYES));
    for (DWORD start = GetTickCount(); IsWindow(question) && GetTickCount() - start < 10000;) Sleep(5);
    EXPECT_TRUE(editor.Sync(60000));
    outcome.Box = save.FindMessageBox();
    return outcome;
  }

  TEditorProcess editor;
  TSaveDriver save{editor};
};

}  // namespace e2e
