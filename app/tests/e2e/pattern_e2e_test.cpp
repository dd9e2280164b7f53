// The pattern tools of the built editor program, driven from outside with real mouse and key
// input: a transform from its button and from its key, undo and redo of a reset, and Ctrl+Z inside
// the frame line left to the line. Checked on the frame line and on screenshots of the LEDs.
#include <gtest/gtest.h>

#include <string>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/led_shot.h"

namespace {

using e2e::TEditorProcess;

class PatternProgram : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(editor.Start()) << editor.Error(); }

  HWND Tool(const char* caption) {
    HWND button = editor.ChildByText(caption);
    EXPECT_NE(button, nullptr) << caption;
    return button;
  }
  void ClickLeds(std::initializer_list<int> leds) {
    for (int n : leds) ASSERT_TRUE(editor.ClickLed(n)) << "LED " << n;
  }
  // The frame line shows `frame` and every LED the colour it asks for.
  void ExpectShown(const std::string& frame, const char* step) {
    ASSERT_TRUE(editor.WaitFrameText(frame)) << step << ": the line shows " << editor.FrameText();
    std::string mismatches;
    ASSERT_TRUE(e2e::ShotShowing(editor, e2e::LitOfFrame(frame), mismatches).Valid());
    EXPECT_EQ(mismatches, "") << step;
  }
  bool Ctrl(WORD key) { return editor.PressKeyWith(VK_CONTROL, key) && editor.Sync(); }

  TEditorProcess editor;
};

TEST_F(PatternProgram, AShiftFromItsButtonAndFromItsKeyMovesTheLedsOnTheScreen) {
  ClickLeds({1, 8, 43});  // indices 0, 7 and 42: column 0 and 1, layers 0 and 1
  ExpectShown("0,7,42,227", "clicked");
  ASSERT_TRUE(editor.ClickButton(Tool("X+")));
  ExpectShown("1,8,43,227", "X+ from the mouse");
  // The click left the focus on the button, outside the text controls: the key works.
  ASSERT_TRUE(Ctrl('2'));
  ExpectShown("2,9,44,227", "X+ from Ctrl+2");
  ASSERT_TRUE(Ctrl('6'));
  ExpectShown("38,45,80,227", "Z+ from Ctrl+6");
  ASSERT_TRUE(editor.ClickButton(Tool("Поворот")));
  ExpectShown("53,58,88,227", "rotation from the mouse");
}

TEST_F(PatternProgram, WrapMakesAShiftBringTheEdgeInAtTheFarSide) {
  ClickLeds({6});  // index 5: the last column
  ASSERT_TRUE(editor.ClickButton(Tool("По кругу: нет")));
  EXPECT_NE(editor.ChildByText("По кругу: да"), nullptr);
  ASSERT_TRUE(editor.ClickButton(Tool("X+")));
  ExpectShown("0,227", "X+ with wrap");
  ASSERT_TRUE(Ctrl('W'));  // wrap off again
  EXPECT_NE(editor.ChildByText("По кругу: нет"), nullptr);
  ASSERT_TRUE(Ctrl('1'));
  ExpectShown("227", "X- without wrap drops the LED");
}

TEST_F(PatternProgram, LightAllAndInvertFromTheirKeys) {
  ClickLeds({2});
  ASSERT_TRUE(editor.ClickButton(Tool("Все")));
  std::string allFrame;
  for (int i = 0; i < 216; ++i) allFrame += std::to_string(i) + ",";
  allFrame += "227";
  ExpectShown(allFrame, "light all from the mouse");
  ASSERT_TRUE(Ctrl('E'));
  ExpectShown("227", "invert from Ctrl+E");
  ASSERT_TRUE(Ctrl('L'));
  ExpectShown(allFrame, "light all from Ctrl+L");
}

TEST_F(PatternProgram, UndoAfterAResetBringsThePatternBackAndRedoDarkensItAgain) {
  ClickLeds({3, 50, 216});
  ExpectShown("2,49,215,227", "clicked");
  ASSERT_TRUE(editor.ClickButton(editor.ResetButton()));
  ExpectShown("227", "reset");
  ASSERT_TRUE(Ctrl('Z'));
  ExpectShown("2,49,215,227", "undo with Ctrl+Z after the reset");
  ASSERT_TRUE(Ctrl('Y'));
  ExpectShown("227", "redo with Ctrl+Y");
  ASSERT_TRUE(editor.ClickButton(Tool("Отменить")));
  ExpectShown("2,49,215,227", "undo from the mouse");
  ASSERT_TRUE(editor.ClickButton(Tool("Отменить")));
  ExpectShown("2,49,227", "the last click undone");
  ASSERT_TRUE(editor.ClickButton(Tool("Вернуть")));
  ExpectShown("2,49,215,227", "redo from the mouse");
}

TEST_F(PatternProgram, CtrlZInsideTheFrameLineLeavesThePatternAlone) {
  ClickLeds({4, 5});
  ExpectShown("3,4,227", "clicked");
  editor.FocusFrameEdit();
  ASSERT_EQ(editor.FocusWindow(), editor.FrameEdit());
  ASSERT_TRUE(Ctrl('Z'));
  ASSERT_TRUE(Ctrl('1'));
  ASSERT_TRUE(Ctrl('Y'));
  std::string mismatches;
  e2e::ShotShowing(editor, e2e::LitOfFrame("3,4,227"), mismatches);
  EXPECT_EQ(mismatches, "") << "keys typed in the frame line changed the LEDs";
  // The history is untouched: outside the line, Ctrl+Z takes back the last click.
  ASSERT_TRUE(editor.ClickButton(Tool("Поворот")));
  ExpectShown("23,29,227", "rotation");
  ASSERT_TRUE(Ctrl('Z'));
  ExpectShown("3,4,227", "undo of the rotation");
  ASSERT_TRUE(Ctrl('Z'));
  ExpectShown("3,227", "undo of the last click");
}

TEST_F(PatternProgram, CtrlZRightAfterLedClicksTakesBackTheLastClick) {
  // The LEDs take no focus: after start and after clicks the keys reach the form.
  ClickLeds({10, 20});
  ExpectShown("9,19,227", "clicked");
  ASSERT_TRUE(Ctrl('Z'));
  ExpectShown("9,227", "undo of the last click");
  ASSERT_TRUE(Ctrl('Y'));
  ExpectShown("9,19,227", "redo of it");
}

}  // namespace
