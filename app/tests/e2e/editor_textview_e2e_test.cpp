// The effect text's no-wrap view, driven with real keys from outside the built editor's process:
// typing, Enter, selecting with Shift and the arrows and typing over the selection, Ctrl+Z, a
// paste, the form's own keys while the view has the focus, and scrolling to the end of a long text.
#include <gtest/gtest.h>

#include <string>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/editor_save_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"

namespace {

void ForgetWrapChoice() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TESSARO", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, "WordWrap");
  RegCloseKey(key);
}

bool PutOnClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool put = false;
  if (auto* chars = static_cast<wchar_t*>(memory != nullptr ? GlobalLock(memory) : nullptr)) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, chars);
    GlobalUnlock(memory);
    put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  }
  CloseClipboard();
  return put;
}

class EditorTextView : public e2e::TSavingEditor {
 protected:
  void SetUp() override {
    ForgetWrapChoice();
    e2e::TSavingEditor::SetUp();
    if (HasFatalFailure()) return;
    const auto place = editor.PlaceOf(editor.EffectMemo());
    ASSERT_TRUE(place.has_value());
    memoPlace = *place;
    // The wrap button, waited for by its caption: a key pressed while the program still starts
    // could be lost, and a run may start unwrapped already.
    for (int attempt = 0; attempt < 3 && !Unwrapped(); ++attempt) {
      if (HWND button = effect.Button("Перенос строк: да")) {
        ASSERT_TRUE(effect.Press(button));
      }
      for (DWORD start = GetTickCount(); GetTickCount() - start < 5000 && !Unwrapped(); Sleep(20)) {
      }
    }
    ASSERT_TRUE(Unwrapped()) << "the wrap button did not switch to the no-wrap view";
    ASSERT_TRUE(editor.Sync());
  }
  void TearDown() override { ForgetWrapChoice(); }

  HWND Memo() const { return editor.ChildAtPlace(memoPlace); }
  bool Unwrapped() const {
    char name[64] = {};
    return Memo() != nullptr && GetClassNameA(Memo(), name, sizeof name) > 0 &&
           std::string(name).find("NoWrapEdit") != std::string::npos;
  }
  // Input is handled in its own time, which round trips to the program do not wait for: a check of
  // what a key or a click did waits for it, with a bound.
  template <typename Check>
  static bool Within(Check check) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20))
      if (check()) return true;
    return check();
  }
  std::string Text() const { return save.LongTextOf(Memo()); }
  bool WaitText(const std::string& expected) const {
    return Within([&] { return Text() == expected; });
  }
  std::pair<DWORD, DWORD> Selection() const {
    DWORD_PTR both = 0;
    SendMessageTimeoutA(Memo(), EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &both);
    return {LOWORD(both), HIWORD(both)};
  }
  ::testing::AssertionResult SelectionIs(DWORD from, DWORD to) const {
    if (Within([&] { return Selection() == std::make_pair(from, to); })) return ::testing::AssertionSuccess();
    const auto [now, end] = Selection();
    return ::testing::AssertionFailure() << "the selection is " << now << "-" << end;
  }
  LRESULT Ask(UINT message, WPARAM wParam = 0) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(Memo(), message, wParam, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
  }
  bool Type(const std::string& keys) {
    for (char c : keys)
      if (!editor.PressKey(c == ',' ? VK_OEM_COMMA : static_cast<WORD>(c))) return false;
    return editor.Sync();
  }
  // A click past the end of the first line, waited for until the caret stands there, so that no key
  // sent next can come before it.
  bool FocusMemo() {
    RECT client{};
    GetClientRect(Memo(), &client);
    if (!editor.FocusByClick(Memo(), client.right - 12, 8)) return false;
    const DWORD lineEnd = static_cast<DWORD>(Ask(EM_LINELENGTH, 0));
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20))
      if (Selection() == std::make_pair(lineEnd, lineEnd)) return editor.Sync();
    return false;
  }

  e2e::TPlace memoPlace{};
  e2e::TEffectDriver effect{editor, save};
};

TEST_F(EditorTextView, TypingEnterAndOneUndoOfTheRunOfTyping) {
  ASSERT_TRUE(editor.SetTextOf(Memo(), "1,227\r\n2,227"));
  ASSERT_TRUE(FocusMemo());
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, VK_END));
  ASSERT_TRUE(editor.PressKey(VK_RETURN));
  ASSERT_TRUE(Type("3,227"));
  ASSERT_TRUE(WaitText("1,227\r\n2,227\r\n3,227")) << Text();
  EXPECT_EQ(Selection(), std::make_pair(DWORD{19}, DWORD{19}));
  EXPECT_NE(Ask(EM_GETMODIFY), 0);
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'Z'));
  EXPECT_TRUE(WaitText("1,227\r\n2,227")) << "one Ctrl+Z takes the whole run back: " << Text();
  EXPECT_EQ(editor.FocusWindow(), Memo());
}

TEST_F(EditorTextView, ShiftWithArrowsSelectsAndTypingReplacesTheSelection) {
  ASSERT_TRUE(editor.SetTextOf(Memo(), "1,227\r\n2,227\r\n3,227"));
  ASSERT_TRUE(FocusMemo());
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, VK_HOME));
  ASSERT_TRUE(editor.PressKey(VK_DOWN));
  ASSERT_TRUE(editor.PressKeyWith(VK_SHIFT, VK_RIGHT));
  ASSERT_TRUE(editor.PressKeyWith(VK_SHIFT, VK_RIGHT));
  EXPECT_TRUE(SelectionIs(7, 9)) << "\"2,\" selected";
  ASSERT_TRUE(Type("45,"));
  ASSERT_TRUE(WaitText("1,227\r\n45,227\r\n3,227")) << Text();
  // Shift+Down from a line's start takes that whole line with its break; Delete removes it.
  ASSERT_TRUE(editor.PressKey(VK_HOME));
  ASSERT_TRUE(editor.PressKeyWith(VK_SHIFT, VK_DOWN));
  ASSERT_TRUE(editor.PressKey(VK_DELETE));
  ASSERT_TRUE(WaitText("1,227\r\n3,227")) << Text();
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'Z'));
  ASSERT_TRUE(WaitText("1,227\r\n45,227\r\n3,227")) << Text();
  EXPECT_EQ(Selection(), std::make_pair(DWORD{7}, DWORD{15})) << "the line put back is selected";
}

TEST_F(EditorTextView, APasteGoesInAtTheCaretAndCtrlZTakesItBack) {
  ASSERT_TRUE(editor.SetTextOf(Memo(), "1,227\r\n2,227"));
  ASSERT_TRUE(FocusMemo());
  ASSERT_TRUE(PutOnClipboard(L"7,8,227\r\n"));
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, VK_END));
  ASSERT_TRUE(editor.PressKey(VK_HOME));
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'V'));
  ASSERT_TRUE(WaitText("1,227\r\n7,8,227\r\n2,227")) << Text();
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'Z'));
  ASSERT_TRUE(WaitText("1,227\r\n2,227")) << Text();
  // The form's own keys still act from the view: Ctrl+D duplicates the caret's line.
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, VK_HOME));
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, 'D'));
  ASSERT_TRUE(WaitText("1,227\r\n1,227\r\n2,227")) << Text();
}

TEST_F(EditorTextView, CtrlEndScrollsTheLastLineIntoViewAndCtrlHomeBack) {
  std::string text;
  for (int k = 0; k < 3000; ++k) text += std::to_string(k % 216) + ",227\r\n";
  text += "5,227";
  ASSERT_TRUE(save.SetLongText(Memo(), text));
  ASSERT_TRUE(FocusMemo());
  EXPECT_EQ(Ask(EM_GETLINECOUNT), 3001);
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, VK_END));
  ASSERT_TRUE(SelectionIs(LOWORD(text.size()), LOWORD(text.size())));
  const LRESULT first = Ask(EM_GETFIRSTVISIBLELINE);
  RECT room{};
  SendMessageTimeoutA(Memo(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  const LRESULT end = Ask(EM_POSFROMCHAR, text.size() - 1);
  EXPECT_GT(first, 2900);
  EXPECT_GE(static_cast<short>(HIWORD(end)), room.top);
  EXPECT_LT(static_cast<short>(HIWORD(end)), room.bottom) << "the last line is in view";
  ASSERT_TRUE(editor.PressKey(VK_PRIOR));
  EXPECT_TRUE(Within([&] { return Ask(EM_GETFIRSTVISIBLELINE) < first; })) << "Page Up scrolled";
  ASSERT_TRUE(editor.PressKeyWith(VK_CONTROL, VK_HOME));
  EXPECT_TRUE(Within([&] { return Ask(EM_GETFIRSTVISIBLELINE) == 0; })) << Ask(EM_GETFIRSTVISIBLELINE);
  EXPECT_EQ(Text(), text);
}

TEST_F(EditorTextView, AClickPlacesTheCaretAndADoubleClickSelectsOneLedNumber) {
  ASSERT_TRUE(editor.SetTextOf(Memo(), "1,227\r\n12,145,227"));
  const LRESULT at = Ask(EM_POSFROMCHAR, 10);  // before "145" in "12,145,227"
  const int y = static_cast<short>(HIWORD(at)) + 5;
  ASSERT_TRUE(editor.ClickAt(Memo(), static_cast<short>(LOWORD(at)) + 1, y));
  EXPECT_TRUE(SelectionIs(10, 10));
  // Away from the click, so that the two are not taken for a double click themselves.
  const LRESULT first = Ask(EM_POSFROMCHAR, 7);  // "12"
  ASSERT_TRUE(editor.DoubleClickAt(Memo(), static_cast<short>(LOWORD(first)) + 1, y));
  EXPECT_TRUE(SelectionIs(7, 9)) << "\"12\" selected, no comma";
  EXPECT_EQ(Text(), "1,227\r\n12,145,227");
}

// The view's context menu, from the mouse and from the keyboard: each command acts on the text as its
// key does, and one undo takes a deletion back. The menu opens with nothing chosen, so Up picks its
// last item and Down its first.
TEST_F(EditorTextView, TheContextMenuSelectsAllDeletesAndUndoes) {
  ASSERT_TRUE(editor.SetTextOf(Memo(), "1,227\r\n2,227"));
  ASSERT_TRUE(FocusMemo());
  const auto choose = [&](WORD key, int times) {
    for (int i = 0; i < times; ++i)
      if (!editor.PressKey(key)) return false;
    return editor.PressKey(VK_RETURN) && editor.Sync();
  };

  ASSERT_TRUE(editor.PressKeyWith(VK_SHIFT, VK_F10));
  ASSERT_NE(editor.WaitPopupMenu(), nullptr) << "no menu from Shift+F10";
  ASSERT_TRUE(choose(VK_UP, 1));  // "Выделить всё"
  EXPECT_TRUE(SelectionIs(0, 12));

  ASSERT_TRUE(editor.RightClickAt(Memo(), 20, 8));
  ASSERT_NE(editor.WaitPopupMenu(), nullptr) << "no menu from a right click";
  ASSERT_TRUE(choose(VK_UP, 2));  // past "Выделить всё" and the separator: "Удалить"
  ASSERT_TRUE(WaitText("")) << Text();

  ASSERT_TRUE(editor.PressKeyWith(VK_SHIFT, VK_F10));
  ASSERT_NE(editor.WaitPopupMenu(), nullptr);
  ASSERT_TRUE(choose(VK_DOWN, 1));  // "Отменить"
  EXPECT_TRUE(WaitText("1,227\r\n2,227")) << Text();
  EXPECT_EQ(editor.FocusWindow(), Memo());
}

// A drag that comes to rest below the view goes on scrolling and selecting while the button is held,
// as in the system's edit: the mouse sends no more moves there.
TEST_F(EditorTextView, ADragRestingBelowTheViewScrollsOnAndSelects) {
  std::string text;
  for (int k = 0; k < 300; ++k) text += std::to_string(k % 216) + ",227\r\n";
  ASSERT_TRUE(save.SetLongText(Memo(), text));
  ASSERT_TRUE(FocusMemo());
  RECT client{};
  GetClientRect(Memo(), &client);
  ASSERT_TRUE(editor.LeftButtonAt(Memo(), 6, 8, true));
  ASSERT_TRUE(editor.HoverAt(Memo(), 40, client.bottom + 30));
  bool scrolled = false;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000 && !scrolled; Sleep(20))
    scrolled = Ask(EM_GETFIRSTVISIBLELINE) >= 40;
  ASSERT_TRUE(editor.LeftButtonAt(Memo(), 40, client.bottom + 30, false));
  ASSERT_TRUE(editor.Sync());
  EXPECT_TRUE(scrolled) << "stopped at line " << Ask(EM_GETFIRSTVISIBLELINE);
  const auto [from, to] = Selection();
  EXPECT_EQ(from, 0u);
  EXPECT_GE(to, static_cast<DWORD>(Ask(EM_LINEINDEX, 40))) << "the selection follows the scrolling";
  EXPECT_EQ(Text(), text);
}

}  // namespace
