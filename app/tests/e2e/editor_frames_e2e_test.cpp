// Frames in the built editor, driven from outside its process with real keys and clicks: typing
// while an effect plays replaces no frame, a long frame shows in the frame line, the keys still
// work after undo or redo greys its own button out, the open message about lines that are not
// frames, and the line tools of the effect text (keys and buttons, each taken back by one Ctrl+Z).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"

namespace {

using e2e::TDialogOutcome;

class EditorFrames : public e2e::TSavingEditor {
 protected:
  std::string OpenEffect(const std::string& name, const std::string& bytes) {
    const std::string path = PathOf(name);
    EXPECT_TRUE(e2e::WriteFileBytes(path, bytes));
    return path;
  }
  HWND Button(const std::string& caption) const { return editor.ChildByText(caption); }
  static std::string AllLit() {
    std::string all;
    for (int n = 0; n < 216; ++n) all += std::to_string(n) + ",";
    return all + "227";
  }
  // Saves the effect text into this file through the save dialog; `notFrames`: the text holds lines
  // that are not frames, and the question about them is answered Yes.
  void SaveAs(const std::string& name, bool notFrames = false) {
    HWND dialog = save.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(save.TypeFileName(dialog, PathOf(name)));
    TDialogOutcome saved = save.PressOkAndWait(dialog);
    if (notFrames) saved = AnswerYes(saved);
    ASSERT_FALSE(saved.Box.has_value()) << saved.Box->Text;
  }

  e2e::TEffectDriver effect{editor, save};
};

// --- Typing during playback

TEST_F(EditorFrames, TypingDuringPlaybackGoesWhereTheUserClickedAndReplacesNoFrame) {
  std::string file;
  std::string memo;
  for (int k = 0; k < 10; ++k) {
    const std::string frame = std::to_string(k) + "," + std::to_string(20 + k) + ",227";
    file += frame + "\r\n";
    memo += (k > 0 ? "\r\n" : "") + frame;
  }
  const TDialogOutcome opened = effect.OpenFile(OpenEffect("ten.TXT", file));
  ASSERT_TRUE(opened.Closed);
  ASSERT_FALSE(opened.Box.has_value()) << opened.Box->Text;
  ASSERT_TRUE(editor.SetTextOf(effect.RateEdit(), "2000"));
  ASSERT_TRUE(effect.Press(effect.PlayButton()));
  ASSERT_TRUE(editor.WaitFrameText("0,20,227"));
  // The played line is marked by the caret at its start, with nothing selected.
  EXPECT_EQ(effect.MemoSelection(), std::make_pair(std::size_t{0}, std::size_t{0}));

  // Below the last line: the caret goes to the end of the text.
  ASSERT_TRUE(editor.ClickAt(editor.EffectMemo(), 300, 170));
  ASSERT_TRUE(editor.PressKey('X'));
  ASSERT_TRUE(editor.WaitMemoText(memo + "x")) << editor.MemoText();
  EXPECT_NE(effect.Button("Пуск"), nullptr) << "the click ended playback";
  SaveAs("typed.TXT", /*notFrames=*/true);  // "9,29,227x" is no frame
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("typed.TXT")).value_or("?"), file.substr(0, file.size() - 2) + "x\r\n");
}

TEST_F(EditorFrames, AKeyTypedInTheTextDuringPlaybackEndsItAndReplacesNothing) {
  ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), "1,227\r\n2,227\r\n3,227"));
  ASSERT_TRUE(editor.FocusByClick(editor.EffectMemo(), 300, 170));
  ASSERT_TRUE(editor.SetTextOf(effect.RateEdit(), "2000"));
  ASSERT_TRUE(editor.PressKey(VK_F5));  // from inside the text: the focus stays there
  ASSERT_TRUE(editor.WaitFrameText("1,227"));
  // The caret marks the played line's start: the letter goes in there, in front of the frame.
  ASSERT_TRUE(editor.PressKey('X'));
  ASSERT_TRUE(editor.WaitMemoText("x1,227\r\n2,227\r\n3,227")) << editor.MemoText();
  EXPECT_NE(effect.Button("Пуск"), nullptr) << "the key ended playback";
}

// --- The frame line

TEST_F(EditorFrames, AFrameOfEveryLedShowsInTheFrameLineFromItsStart) {
  ASSERT_TRUE(editor.ClickButton(Button("Все")));
  ASSERT_TRUE(editor.WaitFrameText(AllLit()));
  DWORD_PTR first = 0;
  ASSERT_NE(SendMessageTimeoutA(editor.FrameEdit(), EM_POSFROMCHAR, 0, 0, SMTO_ABORTIFHUNG, 5000, &first), 0);
  EXPECT_LT(static_cast<short>(LOWORD(first)), 10) << "the line is scrolled away from its start";
  ASSERT_TRUE(editor.ParkMouse());
  ASSERT_TRUE(editor.Sync());
  const auto place = editor.PlaceOf(editor.FrameEdit());
  ASSERT_TRUE(place.has_value());
  const e2e::TScreenShot shot = editor.ScreenShot();
  ASSERT_TRUE(shot.Valid());
  // "0,1,2,3,4,5" in the line's blue: the left part of the field holds its glyphs.
  int ink = 0;
  for (int y = place->Top + 2; y < place->Top + place->Height - 2; ++y)
    for (int x = place->Left + 2; x < place->Left + 80; ++x) {
      const std::uint32_t bgr = shot.Pixel(x, y);
      if ((bgr & 0xFF) < 0x80 && ((bgr >> 8) & 0xFF) < 0x80 && ((bgr >> 16) & 0xFF) > 0xA0) ++ink;
    }
  EXPECT_GT(ink, 20) << "the frame line shows nothing";
}

// --- Keys after a button greys itself out

TEST_F(EditorFrames, ShortcutsStillWorkAfterUndoOrRedoGreysItsButtonOut) {
  HWND undo = Button("Отменить");
  HWND redo = Button("Вернуть");
  ASSERT_NE(undo, nullptr);
  ASSERT_NE(redo, nullptr);
  ASSERT_TRUE(editor.ClickLed(5));
  ASSERT_TRUE(editor.WaitFrameText("4,227"));
  ASSERT_TRUE(editor.ClickButton(undo));
  ASSERT_TRUE(editor.WaitFrameText("227"));
  ASSERT_FALSE(IsWindowEnabled(undo)) << "nothing more to undo";
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'Y'));
  ASSERT_TRUE(editor.WaitFrameText("4,227")) << "Ctrl+Y after Отменить greyed out";
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'Z'));
  ASSERT_TRUE(editor.WaitFrameText("227"));
  ASSERT_TRUE(editor.ClickButton(redo));
  ASSERT_TRUE(editor.WaitFrameText("4,227"));
  ASSERT_FALSE(IsWindowEnabled(redo)) << "nothing more to redo";
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'L'));
  EXPECT_TRUE(editor.WaitFrameText(AllLit())) << "Ctrl+L after Вернуть greyed out";
}

// --- The open message

TEST_F(EditorFrames, TheOpenMessageNamesTwentyLinesAndTheTotalAndStandsBesideTheText) {
  std::string file = "0,227\r\n";
  for (int i = 0; i < 30; ++i) file += "line " + std::to_string(i) + "\r\n";
  const TDialogOutcome outcome = effect.OpenFile(OpenEffect("bad.TXT", file));
  ASSERT_TRUE(outcome.Box.has_value());
  const std::string& text = outcome.Box->Text;
  EXPECT_NE(text.find(": 30"), std::string::npos) << text;
  EXPECT_NE(text.find("Первые 20 из 30: 2, 3, 4,"), std::string::npos) << text;
  EXPECT_NE(text.find(", 20, 21."), std::string::npos) << text;
  EXPECT_EQ(text.find("22"), std::string::npos) << text;
  RECT box{};
  RECT memo{};
  ASSERT_TRUE(GetWindowRect(outcome.Box->Window, &box));
  ASSERT_TRUE(GetWindowRect(editor.EffectMemo(), &memo));
  RECT both{};
  EXPECT_FALSE(IntersectRect(&both, &box, &memo)) << "the message covers the lines it names";
  ASSERT_TRUE(save.DismissAndWait(*outcome.Box));
}

// --- Line tools

class EditorLineTools : public EditorFrames {
 protected:
  static constexpr const char* kThree = "1,227\r\n2,227\r\n3,227";
  void SetUp() override {
    EditorFrames::SetUp();
    ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), kThree));
    ASSERT_TRUE(editor.FocusByClick(editor.EffectMemo(), 300, 170));
  }
  // The caret on line 1 ("2,227"), the key or the button, the text it makes, then one Ctrl+Z in
  // the effect text brings back the three lines.
  void ExpectOneUndoableStep(const std::string& after, const std::function<bool()>& act) {
    ASSERT_TRUE(effect.PutCaretOnLine(1));
    ASSERT_TRUE(act());
    ASSERT_TRUE(editor.WaitMemoText(after)) << editor.MemoText();
    ASSERT_TRUE(editor.WaitFocus(editor.EffectMemo()));
    ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'Z'));
    ASSERT_TRUE(editor.WaitMemoText(kThree)) << "one Ctrl+Z: " << editor.MemoText();
  }
};

TEST_F(EditorLineTools, KeysDuplicateMoveDeleteAndInsertTheFrameEachUndoneByOneCtrlZ) {
  ExpectOneUndoableStep("1,227\r\n2,227\r\n2,227\r\n3,227",
                        [this] { return editor.PressKeyWith(VK_CONTROL, 'D'); });
  ExpectOneUndoableStep("2,227\r\n1,227\r\n3,227", [this] { return editor.PressKeyWith(VK_MENU, VK_UP); });
  ExpectOneUndoableStep("1,227\r\n3,227\r\n2,227", [this] { return editor.PressKeyWith(VK_MENU, VK_DOWN); });
  ExpectOneUndoableStep("1,227\r\n3,227", [this] { return editor.PressKeyWith(VK_CONTROL, VK_SHIFT, 'K'); });
  ASSERT_TRUE(editor.ClickLed(5));
  ASSERT_TRUE(editor.ClickLed(9));
  ASSERT_TRUE(editor.WaitFrameText("4,8,227"));
  ExpectOneUndoableStep("1,227\r\n4,8,227\r\n2,227\r\n3,227",
                        [this] { return editor.PressKeyWith(VK_MENU, VK_INSERT); });
  // Alt let go after Alt+Up opens no menu: the next letter is typed into the text.
  ASSERT_TRUE(effect.PutCaretOnLine(0));
  ASSERT_TRUE(editor.PressKeyWith(VK_MENU, VK_DOWN));
  ASSERT_TRUE(editor.WaitMemoText("2,227\r\n1,227\r\n3,227"));
  ASSERT_TRUE(editor.PressKey('Q'));
  EXPECT_TRUE(editor.WaitMemoText("2,227\r\nq1,227\r\n3,227")) << editor.MemoText();
}

TEST_F(EditorLineTools, ButtonsDoTheSameAndLeaveTheFocusInTheText) {
  ASSERT_TRUE(editor.ClickLed(7));
  ASSERT_TRUE(editor.WaitFrameText("6,227"));
  const std::vector<std::pair<std::string, std::string>> tools{
      {"Копия", "1,227\r\n2,227\r\n2,227\r\n3,227"},
      {"Выше", "2,227\r\n1,227\r\n3,227"},
      {"Ниже", "1,227\r\n3,227\r\n2,227"},
      {"Удалить", "1,227\r\n3,227"},
      {"+ кадр", "1,227\r\n6,227\r\n2,227\r\n3,227"},
  };
  for (const auto& [caption, after] : tools) {
    SCOPED_TRACE(caption);
    ASSERT_NE(Button(caption), nullptr);
    ExpectOneUndoableStep(after, [&] { return editor.ClickButton(Button(caption)); });
  }
}

}  // namespace
