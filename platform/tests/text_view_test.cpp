// The no-wrap text view beside the system's multi-line edit: the same messages, in the same order,
// must get the same answers from both (lines, selection, undo, the modified flag, notifications).
#include "platform/text_view.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/text_codec.h"

namespace {

// A parent that counts the change notifications of its children.
int changes = 0;
LRESULT CALLBACK CountingParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) ++changes;
  return DefWindowProcW(window, message, wParam, lParam);
}

class TextViewBesideEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(RegisterTextViewClass());
    WNDCLASSW parentClass{};
    parentClass.lpfnWndProc = CountingParent;
    parentClass.hInstance = GetModuleHandleW(nullptr);
    parentClass.lpszClassName = L"TextViewTestParent";
    RegisterClassW(&parentClass);
    parent = CreateWindowExW(0, L"TextViewTestParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 700, 300, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_NOHIDESEL | WS_HSCROLL |
                             ES_AUTOHSCROLL | WS_VSCROLL | ES_AUTOVSCROLL;
    edit = CreateWindowExW(0, L"EDIT", L"", kStyle, 0, 0, 300, 200, parent, nullptr, nullptr, nullptr);
    const TWideString viewClass = WideFromCp1251(kTextViewClass);
    view = CreateWindowExW(0, viewClass.c_str(), L"", kStyle, 320, 0, 300, 200, parent, nullptr, nullptr,
                           nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(view, nullptr);
    for (HWND w : {edit, view}) SendMessageW(w, EM_LIMITTEXT, 0, 0);
  }
  void TearDown() override { DestroyWindow(parent); }

  // Sends the message to both and expects the same answer; answers the edit's.
  LRESULT Both(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    changes = 0;
    const LRESULT expected = SendMessageW(edit, message, wParam, lParam);
    const int editChanges = changes;
    changes = 0;
    EXPECT_EQ(SendMessageW(view, message, wParam, lParam), expected) << "message 0x" << std::hex << message;
    // Whether the change was told; the edit tells an undo twice, which the program need not copy.
    EXPECT_EQ(changes > 0, editChanges > 0) << "change notification of message 0x" << std::hex << message;
    return expected;
  }
  void Text(const wchar_t* text) { Both(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
  void ExpectSameText() {
    wchar_t a[256] = {};
    wchar_t b[256] = {};
    GetWindowTextW(edit, a, 256);
    GetWindowTextW(view, b, 256);
    EXPECT_EQ(std::wstring(b), std::wstring(a));
    Both(WM_GETTEXTLENGTH);
    Both(EM_GETSEL);
    Both(EM_CANUNDO);
    Both(EM_GETMODIFY);
    Both(EM_GETLINECOUNT);
  }

  HWND parent = nullptr;
  HWND edit = nullptr;
  HWND view = nullptr;
};

TEST_F(TextViewBesideEdit, LineQueriesAnswerAsTheEditsDoAcrossBreaksAndPastTheEnd) {
  for (const wchar_t* text : {L"", L"ab\r\ncd\r\nef", L"1,227\r\n", L"a\rb\r\n\r\nd"}) {
    Text(text);
    ExpectSameText();
    const auto length = static_cast<int>(wcslen(text));
    for (int index = -1; index <= length + 2; ++index) {
      SCOPED_TRACE(testing::Message() << "text of " << length << " characters, index " << index);
      Both(EM_LINEFROMCHAR, static_cast<WPARAM>(index));
      Both(EM_LINEINDEX, static_cast<WPARAM>(index));
      Both(EM_LINELENGTH, static_cast<WPARAM>(index));
    }
    for (int line = 0; line < 5; ++line) {
      wchar_t a[16] = {8};
      wchar_t b[16] = {8};
      const LRESULT copied = SendMessageW(edit, EM_GETLINE, line, reinterpret_cast<LPARAM>(a));
      EXPECT_EQ(SendMessageW(view, EM_GETLINE, line, reinterpret_cast<LPARAM>(b)), copied);
      EXPECT_EQ(std::wstring(b, static_cast<std::size_t>(copied)),
                std::wstring(a, static_cast<std::size_t>(copied)));
    }
  }
}

TEST_F(TextViewBesideEdit, SelectionsIncludingMinusOneAndBackwardsAnswerAlike) {
  Text(L"ab\r\ncd\r\nef");
  const std::vector<std::pair<int, int>> selections = {{5, 3},  {-1, 0}, {1, -1}, {3, 4},
                                                       {0, 99}, {99, 2}, {4, 4}};
  for (const auto& [from, to] : selections) {
    SCOPED_TRACE(testing::Message() << "selection " << from << ", " << to);
    Both(EM_SETSEL, static_cast<WPARAM>(from), to);
    ExpectSameText();
    Both(EM_LINEFROMCHAR, static_cast<WPARAM>(-1));
    Both(EM_LINEINDEX, static_cast<WPARAM>(-1));
    Both(EM_LINELENGTH, static_cast<WPARAM>(-1));
  }
}

TEST_F(TextViewBesideEdit, UndoOfReplacementsTypingAndBackspacesMatchesTheEdit) {
  Text(L"ab\r\ncd\r\nef");
  Both(EM_EMPTYUNDOBUFFER);
  Both(EM_SETSEL, 4, 6);
  Both(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"XYZ"));
  ExpectSameText();
  Both(EM_SETSEL, 0, 0);
  Both(EM_UNDO);
  ExpectSameText();
  Both(EM_UNDO);  // the undo taken back
  ExpectSameText();
  for (const wchar_t c : std::wstring(L"12")) Both(WM_CHAR, c);
  Both(EM_SETSEL, 5, 5);
  Both(WM_CHAR, L'3');
  Both(EM_UNDO);
  ExpectSameText();
  Both(EM_SETSEL, 2, 2);
  Both(WM_CHAR, L'\b');
  Both(WM_CHAR, L'\b');
  Both(EM_UNDO);
  ExpectSameText();
  Both(EM_SETSEL, 0, 2);  // not into a break: a lone LF would break a line in the edit
  Both(WM_CHAR, L'Q');
  Both(WM_CHAR, L'R');
  Both(EM_UNDO);
  ExpectSameText();
  Both(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"nn"));  // not undoable: the step is gone
  ExpectSameText();
  Both(EM_SETSEL, 0, 1);
  Both(WM_CLEAR);
  ExpectSameText();
}

TEST_F(TextViewBesideEdit, ReadOnlyRefusesTypingButNotReplaceSelAndTheLimitHolds) {
  Text(L"abc");
  Both(EM_SETREADONLY, TRUE);
  EXPECT_EQ(GetWindowLongW(view, GWL_STYLE) & ES_READONLY, ES_READONLY);
  Both(WM_CHAR, L'z');
  ExpectSameText();
  Both(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"rr"));
  ExpectSameText();
  Both(EM_SETREADONLY, FALSE);
  Both(EM_SETMODIFY, FALSE);
  Both(EM_LIMITTEXT, 6);
  Both(EM_GETLIMITTEXT);
  Both(EM_SETSEL, 5, 5);
  Both(WM_CHAR, L'k');  // the sixth character fits
  Both(WM_CHAR, L'l');  // the seventh does not
  ExpectSameText();
  Both(EM_LIMITTEXT, 0);
  Both(EM_GETLIMITTEXT);
  Both(WM_GETDLGCODE);
}

}  // namespace
