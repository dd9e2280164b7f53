// The generator dialog in the built editor, driven from outside its process: opened by its button
// and by Ctrl+G, a generator chosen and a parameter set, the frames inserted after the caret's line
// exactly as the core makes them, taken back by one Ctrl+Z, saved byte for byte; a bad parameter is
// refused in the dialog and nothing goes into the text.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"
#include "cube/effect_text.h"
#include "cube/generators.h"

namespace {

constexpr const char* kThree = "1,227\r\n2,227\r\n3,227";
// The dialog's controls, by the ids it gives them.
constexpr int kList = 100;
constexpr int kFirstField = 110;  // row r's edit at + 2 * r
constexpr int kMessage = 130;
constexpr int kCount = 131;

// The frames the core makes, as memo lines joined by CR LF.
std::string CoreLines(const char* id, std::initializer_list<std::pair<std::size_t, int>> numbers,
                      std::uint64_t seed = gen::kDefaultSeed, cube::TPattern start = {}) {
  const gen::TGeneratorInfo& info = *gen::FindGenerator(id);
  gen::TValues values = gen::Defaults(info);
  for (const auto& [at, number] : numbers) values[at].Number = number;
  std::string text = gen::FramesText(gen::Generate(info, values, seed, start).Frames);
  return text.substr(0, text.size() - 2);
}

class EditorGenerate : public e2e::TSavingEditor {
 protected:
  void SetUp() override {
    TSavingEditor::SetUp();
    ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), kThree));
    ASSERT_TRUE(editor.FocusByClick(editor.EffectMemo(), 300, 170));
  }
  HWND WaitDialog(DWORD timeoutMs = 5000) const {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs && editor.Running();
         Sleep(10)) {
      // Ready once the focus is inside it.
      const HWND found = editor.TopWindowTitled("Генератор эффекта", true);
      if (found != nullptr && IsChild(found, editor.FocusWindow())) return found;
    }
    return nullptr;
  }
  bool WaitClosed(HWND dialog, DWORD timeoutMs = 5000) const {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(10))
      if (!IsWindow(dialog) || !IsWindowVisible(dialog)) return editor.Sync();
    return false;
  }
  // A key pressed in the dialog: the editor driver's keys would bring the (disabled) editor window
  // to the front first.
  bool DialogKey(HWND dialog, WORD key) const {
    // Typed keys go to the foreground window: sent before the dialog is in front, they would be lost.
    SetForegroundWindow(dialog);
    for (const DWORD start = GetTickCount(); GetForegroundWindow() != dialog; Sleep(10))
      if (GetTickCount() - start >= 5000) return false;
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2 && editor.Sync();
  }
  // A mouse click on a control of the dialog, at its centre, with the dialog in front.
  bool DialogClick(HWND dialog, int id) const {
    HWND control = GetDlgItem(dialog, id);
    RECT box{};
    if (control == nullptr || !GetWindowRect(control, &box)) return false;
    if (GetForegroundWindow() != dialog) SetForegroundWindow(dialog);
    const POINT at{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    if (WindowFromPoint(at) != control) return false;
    SetCursorPos(at.x, at.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2 && editor.Sync();
  }
  // Chooses the generator by its place in the list from the keyboard: Home and Down towards it, each
  // waited for, until the list shows it (a busy machine may lose a typed key, or be slow to show it).
  bool Choose(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, kList);
    // Tab goes round the dialog's controls back to the list.
    for (int k = 0; k < 12 && editor.FocusWindow() != list; ++k)
      if (!DialogKey(dialog, VK_TAB)) return false;
    if (!editor.WaitFocus(list)) return false;
    for (int press = 0; press < 3 * (index + 8); ++press) {
      const LRESULT shown = SendMessageW(list, LB_GETCURSEL, 0, 0);
      if (shown == index) return editor.Sync();
      // Past it (or nothing chosen yet): back to the top, then down.
      if (!DialogKey(dialog, shown == LB_ERR || shown > index ? VK_HOME : VK_DOWN)) return false;
      for (const DWORD start = GetTickCount();
           SendMessageW(list, LB_GETCURSEL, 0, 0) == shown && GetTickCount() - start < 2000;)
        Sleep(10);
    }
    return false;
  }
  std::string Field(HWND dialog, int id) const { return editor.TextOf(GetDlgItem(dialog, id)); }
  bool WaitField(HWND dialog, int id, const std::string& expected) const {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(10))
      if (Field(dialog, id) == expected) return true;
    return false;
  }

  e2e::TEffectDriver effect{editor, save};
};

TEST_F(EditorGenerate, TheButtonAndCtrlGInsertTheCoresFramesAfterTheCaretsLineUndoneByOneCtrlZ) {
  ASSERT_TRUE(effect.PutCaretOnLine(0));
  HWND button = editor.ChildByText("Генератор…");
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(editor.ClickButton(button));
  HWND dialog = WaitDialog();
  ASSERT_NE(dialog, nullptr) << "the button opened no dialog";
  ASSERT_TRUE(Choose(dialog, 0));                                               // the plane sweep
  ASSERT_TRUE(editor.SetTextOf(GetDlgItem(dialog, kFirstField + 2 * 3), "3"));  // passes
  ASSERT_TRUE(WaitField(dialog, kCount, "Кадров: 18"));
  ASSERT_TRUE(DialogKey(dialog, VK_RETURN));
  ASSERT_TRUE(WaitClosed(dialog));
  const std::string sweep = CoreLines("sweep", {{3, 3}});
  ASSERT_TRUE(editor.WaitMemoText("1,227\r\n" + sweep + "\r\n2,227\r\n3,227")) << editor.MemoText();
  ASSERT_TRUE(editor.WaitFocus(editor.EffectMemo()));
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'Z'));
  ASSERT_TRUE(editor.WaitMemoText(kThree)) << "one Ctrl+Z: " << editor.MemoText();

  // Ctrl+G from the text; rain of 5 frames with seed 9, after the last line.
  ASSERT_TRUE(effect.PutCaretOnLine(2));
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'G'));
  dialog = WaitDialog();
  ASSERT_NE(dialog, nullptr) << "Ctrl+G opened no dialog";
  ASSERT_TRUE(Choose(dialog, 1));
  ASSERT_TRUE(WaitField(dialog, kFirstField + 2 * 2, "1"));  // the rain's seed row
  ASSERT_TRUE(editor.SetTextOf(GetDlgItem(dialog, kFirstField), "5"));
  ASSERT_TRUE(editor.SetTextOf(GetDlgItem(dialog, kFirstField + 2 * 2), "9"));
  ASSERT_TRUE(DialogClick(dialog, IDOK));
  ASSERT_TRUE(WaitClosed(dialog));
  const std::string rain = CoreLines("rain", {{0, 5}}, 9);
  const std::string text = std::string(kThree) + "\r\n" + rain;
  ASSERT_TRUE(editor.WaitMemoText(text)) << editor.MemoText();

  HWND saveDialog = save.OpenDialog();
  ASSERT_NE(saveDialog, nullptr);
  ASSERT_TRUE(save.TypeFileName(saveDialog, PathOf("rain.TXT")));
  const e2e::TDialogOutcome saved = save.PressOkAndWait(saveDialog);
  ASSERT_FALSE(saved.Box.has_value()) << saved.Box->Text;
  const std::vector<std::string_view> lines = effect::SplitFileLines(text);
  EXPECT_EQ(e2e::ReadFileBytes(PathOf("rain.TXT")).value_or("?"), effect::SavedTextOf(lines));
}

TEST_F(EditorGenerate, RepeatStartsFromTheCubesPattern) {
  ASSERT_TRUE(editor.ClickLed(5));
  ASSERT_TRUE(editor.WaitFrameText("4,227"));
  ASSERT_TRUE(effect.PutCaretOnLine(1));
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'G'));
  HWND dialog = WaitDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Choose(dialog, 7));
  ASSERT_TRUE(editor.SetTextOf(GetDlgItem(dialog, kFirstField + 2), "2"));  // twice x+, wrapping
  ASSERT_TRUE(WaitField(dialog, kCount, "Кадров: 2"));
  ASSERT_TRUE(DialogKey(dialog, VK_RETURN));
  ASSERT_TRUE(WaitClosed(dialog));
  EXPECT_TRUE(editor.WaitMemoText("1,227\r\n2,227\r\n5,227\r\n0,227\r\n3,227")) << editor.MemoText();
}

TEST_F(EditorGenerate, BadParametersAreRefusedInTheDialogAndNothingIsInserted) {
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'G'));
  HWND dialog = WaitDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Choose(dialog, 6));  // text
  // Tab goes from the list to the text, then to the choice of how it is shown.
  ASSERT_TRUE(DialogKey(dialog, VK_TAB));
  EXPECT_TRUE(editor.WaitFocus(GetDlgItem(dialog, kFirstField)));
  ASSERT_TRUE(DialogKey(dialog, VK_TAB));
  EXPECT_TRUE(editor.WaitFocus(GetDlgItem(dialog, kFirstField + 3)));
  ASSERT_TRUE(editor.SetTextOf(GetDlgItem(dialog, kFirstField), ""));
  ASSERT_TRUE(WaitField(dialog, kMessage, "«Текст»: текст пуст, введите хотя бы один знак"));
  EXPECT_EQ(Field(dialog, kCount), "");
  ASSERT_TRUE(DialogKey(dialog, VK_RETURN));
  ASSERT_TRUE(editor.Sync());
  EXPECT_TRUE(IsWindowVisible(dialog)) << "Вставить closed the dialog on a refusal";
  ASSERT_TRUE(Choose(dialog, 1));  // rain, with no frames
  ASSERT_TRUE(editor.SetTextOf(GetDlgItem(dialog, kFirstField), "0"));
  ASSERT_TRUE(WaitField(dialog, kMessage, "«Кадров»: число должно быть от 1 до 1000"))
      << Field(dialog, kMessage) << " | " << Field(dialog, kFirstField);
  ASSERT_TRUE(editor.SetTextOf(GetDlgItem(dialog, kFirstField), "пять"));
  ASSERT_TRUE(WaitField(dialog, kMessage, "«Кадров»: нужно целое число от 1 до 1000"));
  ASSERT_TRUE(DialogClick(dialog, IDOK));
  EXPECT_TRUE(IsWindowVisible(dialog));
  ASSERT_TRUE(DialogKey(dialog, VK_ESCAPE));
  ASSERT_TRUE(WaitClosed(dialog));
  EXPECT_EQ(editor.MemoText(), kThree);
}

}  // namespace
