// The effect text's no-wrap view of the built cube editor, driven from outside its process: the
// wrap button and its key switch between wrapped lines and one frame per row with a horizontal
// scroll bar, keeping the text and the caret; the choice holds for the next run; and an effect too
// large to show wrapped quickly opens unwrapped with a note instead of a refusal.
#include <gtest/gtest.h>

#include <string>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"

namespace {

const std::string kWrapOn = "Перенос строк: да";
const std::string kWrapOff = "Перенос строк: нет";

// Where the editor keeps the choice (the prefix's registry is shared with the program).
void ForgetWrapChoice() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TESSARO", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, "WordWrap");
  RegCloseKey(key);
}

// A frame of every LED from `from` on: long enough to wrap in the effect text.
std::string WideFrame(int from) {
  std::string frame;
  for (int n = from; n < 216; ++n) frame += std::to_string(n) + ",";
  return frame + "227";
}

class EditorWrap : public e2e::TSavingEditor {
 protected:
  void SetUp() override {
    ForgetWrapChoice();
    e2e::TSavingEditor::SetUp();
    const auto place = editor.PlaceOf(editor.EffectMemo());
    ASSERT_TRUE(place.has_value());
    memoPlace = *place;
  }
  void TearDown() override { ForgetWrapChoice(); }

  // The effect text's window as it stands now: a change of wrapping makes it anew in its place.
  HWND Memo() const { return editor.ChildAtPlace(memoPlace); }
  bool RunsOn() const { return (GetWindowLongA(Memo(), GWL_STYLE) & (WS_HSCROLL | ES_AUTOHSCROLL)) != 0; }
  std::string MemoText() const { return save.LongTextOf(Memo()); }
  DWORD Selection() const {
    DWORD_PTR both = 0;
    SendMessageTimeoutA(Memo(), EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &both);
    return static_cast<DWORD>(both);
  }
  bool WaitMemo(const std::string& expected) const {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20))
      if (MemoText() == expected) return true;
    return false;
  }
  // Waits until the wrap button shows this caption (after a click or the key).
  bool WaitWrapButton(const std::string& caption) const {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20))
      if (effect.Button(caption) != nullptr && editor.Sync()) return true;
    return false;
  }

  e2e::TPlace memoPlace{};
  e2e::TEffectDriver effect{editor, save};
};

TEST_F(EditorWrap, TheButtonAndF4SwitchToOneFramePerRowAndBackKeepingTextCaretAndRecording) {
  const std::string text = WideFrame(0) + "\r\n" + WideFrame(100) + "\r\n1,227";
  ASSERT_TRUE(editor.SetTextOf(Memo(), text));
  EXPECT_FALSE(RunsOn()) << "the designed look wraps";
  const DWORD caret = MAKELONG(text.find("\r\n") + 2, text.find("\r\n") + 2);
  SendMessageTimeoutA(Memo(), EM_SETSEL, LOWORD(caret), HIWORD(caret), SMTO_ABORTIFHUNG, 5000, nullptr);

  HWND button = effect.Button(kWrapOn);
  ASSERT_NE(button, nullptr) << "no wrap button";
  ASSERT_TRUE(effect.Press(button));
  ASSERT_TRUE(WaitWrapButton(kWrapOff));
  EXPECT_TRUE(RunsOn()) << "no horizontal scrolling after the button";
  EXPECT_EQ(MemoText(), text);
  EXPECT_EQ(Selection(), caret);
  // The effect text is still the one Enter records into.
  ASSERT_TRUE(editor.ClickLed(6));
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  ASSERT_TRUE(WaitMemo(text + "\r\n5,227")) << MemoText();

  ASSERT_TRUE(editor.FocusByClick(Memo(), 20, 10));
  ASSERT_TRUE(editor.PressKey(VK_F4));
  ASSERT_TRUE(WaitWrapButton(kWrapOn)) << "F4 did not switch back";
  EXPECT_FALSE(RunsOn());
  EXPECT_EQ(MemoText(), text + "\r\n5,227");
  EXPECT_EQ(editor.FocusWindow(), Memo()) << "the effect text lost the focus";
}

TEST_F(EditorWrap, TheChoiceHoldsForTheNextRun) {
  ASSERT_TRUE(editor.PressKey(VK_F4));
  ASSERT_TRUE(WaitWrapButton(kWrapOff));
  ASSERT_TRUE(editor.Close());
  ASSERT_TRUE(editor.WaitExit(10000).has_value());

  e2e::TEditorProcess again;
  ASSERT_TRUE(again.Start()) << again.Error();
  EXPECT_NE(again.ChildByText(kWrapOff), nullptr) << "the next run forgot the choice";
  EXPECT_NE(GetWindowLongA(again.EffectMemo(), GWL_STYLE) & WS_HSCROLL, 0);
  EXPECT_TRUE(IsWindowVisible(again.EffectMemo())) << "the effect text is not shown";
  again.Kill();
}

TEST_F(EditorWrap, AWideEffectTooLargeToWrapQuicklyOpensUnwrappedWithANoteAndSmallOnesWrapAgain) {
  // 2,000 frames of 150 LEDs and more: today's wrapping would lay it out for many seconds.
  std::string file;
  for (int k = 0; k < 2000; ++k) file += WideFrame(k % 60) + "\r\n";
  const std::string path = PathOf("wide.TXT");
  ASSERT_TRUE(e2e::WriteFileBytes(path, file));
  const e2e::TDialogOutcome outcome = effect.OpenFile(path);
  ASSERT_TRUE(outcome.Box.has_value()) << "no note that the effect is shown unwrapped";
  EXPECT_EQ(outcome.Box->Caption, "Эффект открыт");
  EXPECT_NE(outcome.Box->Text.find("без переноса строк"), std::string::npos) << outcome.Box->Text;
  ASSERT_TRUE(save.DismissAndWait(*outcome.Box));
  EXPECT_TRUE(RunsOn());
  EXPECT_NE(effect.Button(kWrapOff), nullptr);
  EXPECT_EQ(MemoText() + "\r\n", file);

  // The user's choice stays wrapped: a small effect opens wrapped again.
  ASSERT_TRUE(e2e::WriteFileBytes(PathOf("small.TXT"), "1,227\r\n2,227\r\n"));
  const e2e::TDialogOutcome small = effect.OpenFile(PathOf("small.TXT"));
  ASSERT_FALSE(small.Box.has_value()) << small.Box->Text;
  ASSERT_TRUE(WaitWrapButton(kWrapOn));
  EXPECT_FALSE(RunsOn());
  EXPECT_EQ(MemoText(), "1,227\r\n2,227");
}

}  // namespace
