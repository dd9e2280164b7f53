// Keyboard navigation: Tab, Shift+Tab, arrows and page keys walk a form's controls by TabOrder
// with wrap-around, skip what cannot take the focus, respect each control's NavigationKeys and
// never act with Ctrl or Alt held.
#include <gtest/gtest.h>

#include <string>

#include "platform/handlers.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_windows.h"
#include "platform/text_codec.h"

namespace {

// Tab order: first, line, disabled, hidden, memo, last. One form for the whole suite (closing a
// top-level window costs Wine seconds without a window manager); the controls are made per test.
class Navigation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    form = CreateFormWindow(nullptr, "navigation");
    form->SetBoundsRect({60, 60, 560, 460});
    form->CreateVisible = true;
    EnableKeyboardNavigation(form);
  }
  static void TearDownTestSuite() { form->Free(); }
  void SetUp() override {
    first = CreateButton(form, "first");
    line = CreateEdit(form, 0);
    disabled = CreateButton(form, "disabled");
    hidden = CreateButton(form, "hidden");
    memo = CreateEdit(form, eoMultiline);
    last = CreateButton(form, "last");
    line->SetPosition(0, 30);
    disabled->SetPosition(0, 60);
    hidden->SetPosition(0, 90);
    memo->SetBoundsRect({150, 0, 350, 200});
    last->SetPosition(0, 240);
    disabled->SetEnabled(false);
    hidden->SetVisible(false);
    ASSERT_TRUE(form->CreateWindowHandle());
    SetForegroundWindow(form->Handle);
  }
  void TearDown() override {
    ReleaseModifiers();
    for (std::int32_t i = form->ChildCount(); i > 0; --i) form->ChildAt(i - 1)->Free();
    EXPECT_EQ(form->ChildCount(), 0);
    // Dispatched, not dropped: the form stays and its paint must validate it.
    PumpMessages();
  }
  void Focus(TControl* c) {
    ::SetFocus(c->Handle);
    ASSERT_EQ(GetFocus(), c->Handle);
  }
  // Presses the key on the focused control and tells which control has the focus afterwards.
  std::string Press(int key) {
    HWND focused = GetFocus();
    SendMessageA(focused, WM_KEYDOWN, key, 0);
    SendMessageA(GetFocus(), WM_KEYUP, key, 0);
    return Name(GetFocus());
  }
  // The key as a real key press arrives: the character that TranslateMessage makes of it is
  // already queued for the same window when the key-down is handled.
  std::string PressTyping(int key, char ch) {
    HWND focused = GetFocus();
    PostMessageA(focused, WM_KEYDOWN, key, 0);
    PostMessageW(focused, WM_CHAR, WideOfCp1251(static_cast<unsigned char>(ch)), 0);
    DispatchQueued();
    PostMessageA(GetFocus(), WM_KEYUP, key, 0);
    DispatchQueued();
    return Name(GetFocus());
  }
  static void DispatchQueued() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&msg);
  }
  std::string Name(HWND window) const {
    if (window == first->Handle) return "first";
    if (window == line->Handle) return "line";
    if (window == disabled->Handle) return "disabled";
    if (window == hidden->Handle) return "hidden";
    if (window == memo->Handle) return "memo";
    if (window == last->Handle) return "last";
    return "?";
  }
  static TControl* form;
  TControl *first = nullptr, *line = nullptr, *disabled = nullptr, *hidden = nullptr, *memo = nullptr,
           *last = nullptr;
};
TControl* Navigation::form = nullptr;

TEST_F(Navigation, TabWalksForwardSkippingWhatCannotTakeTheFocusAndWraps) {
  Focus(first);
  EXPECT_EQ(Press(VK_TAB), "line");
  EXPECT_EQ(Press(VK_TAB), "memo");
  EXPECT_EQ(Press(VK_TAB), "last");
  EXPECT_EQ(Press(VK_TAB), "first");
  EXPECT_EQ(form->CurrentControl, first);
}

TEST_F(Navigation, ShiftTabWalksBackwardAndWrapsFromTheLowestToTheHighest) {
  Focus(first);
  SetKeyDown(VK_SHIFT, true);
  EXPECT_EQ(Press(VK_TAB), "last");
  EXPECT_EQ(Press(VK_TAB), "memo");
  EXPECT_EQ(Press(VK_TAB), "line");
  EXPECT_EQ(Press(VK_TAB), "first");
}

TEST_F(Navigation, ArrowAndPageKeysMoveByDirection) {
  Focus(first);
  EXPECT_EQ(Press(VK_RIGHT), "line");
  Focus(first);
  EXPECT_EQ(Press(VK_DOWN), "line");
  Focus(first);
  EXPECT_EQ(Press(VK_NEXT), "line");
  Focus(first);
  EXPECT_EQ(Press(VK_LEFT), "last");
  Focus(first);
  EXPECT_EQ(Press(VK_UP), "last");
  EXPECT_EQ(Press(VK_PRIOR), "memo");
  Focus(last);
  EXPECT_EQ(Press(VK_NEXT), "first");
}

TEST_F(Navigation, SingleLineEditKeepsLeftAndRightButGivesUpTheOtherKeys) {
  line->SetCaption("abc");
  Focus(line);
  SendMessageA(line->Handle, EM_SETSEL, 0, 0);
  EXPECT_EQ(Press(VK_RIGHT), "line");
  DWORD caret = 0;
  SendMessageA(line->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  EXPECT_EQ(caret, 1u);  // the edit moved its caret
  EXPECT_EQ(Press(VK_LEFT), "line");
  EXPECT_EQ(Press(VK_DOWN), "memo");
  Focus(line);
  EXPECT_EQ(Press(VK_UP), "first");
  Focus(line);
  EXPECT_EQ(Press(VK_NEXT), "memo");
  Focus(line);
  EXPECT_EQ(Press(VK_PRIOR), "first");
  Focus(line);
  EXPECT_EQ(Press(VK_TAB), "memo");
}

TEST_F(Navigation, MultiLineEditGivesUpOnlyTab) {
  Focus(memo);
  for (int key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT}) EXPECT_EQ(Press(key), "memo") << key;
  EXPECT_EQ(Press(VK_TAB), "last");
}

TEST_F(Navigation, EditThatWantsTabKeepsItAndTypesIt) {
  TControl* wantsTab = CreateEdit(form, eoMultiline | eoWantTab);
  wantsTab->SetBoundsRect({150, 210, 350, 310});
  ASSERT_TRUE(form->CreateWindowHandle());
  Focus(wantsTab);
  SendMessageA(wantsTab->Handle, WM_KEYDOWN, VK_TAB, 0);
  SendMessageA(wantsTab->Handle, WM_CHAR, '\t', 0);
  EXPECT_EQ(GetFocus(), wantsTab->Handle);
  EXPECT_EQ(wantsTab->GetCaption(), "\t");
}

TEST_F(Navigation, TabThatMovesTheFocusTypesNoTabIntoTheMultiLineEditItLeaves) {
  memo->SetCaption("frame 1\r\nframe 2");
  line->SetCaption("line");
  Focus(memo);
  EXPECT_EQ(PressTyping(VK_TAB, '\t'), "last");
  EXPECT_EQ(memo->GetCaption(), "frame 1\r\nframe 2");
  Focus(memo);
  SetKeyDown(VK_SHIFT, true);
  EXPECT_EQ(PressTyping(VK_TAB, '\t'), "line");
  SetKeyDown(VK_SHIFT, false);
  EXPECT_EQ(memo->GetCaption(), "frame 1\r\nframe 2");
  EXPECT_EQ(PressTyping(VK_TAB, '\t'), "memo");
  EXPECT_EQ(line->GetCaption(), "line");
  EXPECT_EQ(memo->GetCaption(), "frame 1\r\nframe 2");
}

TEST_F(Navigation, KeysThatDoNotMoveTheFocusStillType) {
  Focus(memo);
  EXPECT_EQ(PressTyping('A', 'a'), "memo");
  EXPECT_EQ(PressTyping('B', 'b'), "memo");
  EXPECT_EQ(memo->GetCaption(), "ab");
}

TEST_F(Navigation, EditThatWantsTabTypesTheQueuedTabToo) {
  TControl* wantsTab = CreateEdit(form, eoMultiline | eoWantTab);
  wantsTab->SetBoundsRect({150, 210, 350, 310});
  ASSERT_TRUE(form->CreateWindowHandle());
  Focus(wantsTab);
  EXPECT_EQ(PressTyping(VK_TAB, '\t'), "?");
  EXPECT_EQ(GetFocus(), wantsTab->Handle);
  EXPECT_EQ(wantsTab->GetCaption(), "\t");
}

TEST_F(Navigation, CtrlOrAltHeldNeverNavigates) {
  for (int modifier : {VK_CONTROL, VK_MENU}) {
    SetKeyDown(modifier, true);
    for (int key : {VK_TAB, VK_RIGHT, VK_DOWN, VK_NEXT, VK_LEFT, VK_UP, VK_PRIOR}) {
      Focus(first);
      EXPECT_EQ(Press(key), "first") << modifier << " " << key;
    }
    SetKeyDown(modifier, false);
  }
}

TEST_F(Navigation, TabOrderNotCreationOrderDecides) {
  last->SetTabOrder(1);  // last(1) first(2) line(3) ... memo(6)
  Focus(last);
  EXPECT_EQ(Press(VK_TAB), "first");
  Focus(memo);
  EXPECT_EQ(Press(VK_TAB), "last");
}

TEST_F(Navigation, ControlsShownOrEnabledLaterTakePartAgain) {
  disabled->SetEnabled(true);
  hidden->SetVisible(true);
  Focus(line);
  EXPECT_EQ(Press(VK_TAB), "disabled");
  EXPECT_EQ(Press(VK_TAB), "hidden");
}

TEST_F(Navigation, KeysOutsideTheSetAreNotTakenAndTestOnlyMovesNothing) {
  Focus(first);
  EXPECT_FALSE(TabOrderNavigation(form, first, VK_HOME, false));
  EXPECT_FALSE(TabOrderNavigation(form, first, VK_RETURN, false));
  EXPECT_TRUE(TabOrderNavigation(form, first, VK_TAB, true));
  EXPECT_EQ(GetFocus(), first->Handle);
  EXPECT_FALSE(TabOrderNavigation(form, memo, VK_DOWN, true));
}

TEST_F(Navigation, AFocusedControlThatIsDisabledHandsTheFocusToTheNextTabStop) {
  Focus(line);
  line->SetEnabled(false);
  EXPECT_EQ(Name(GetFocus()), "memo");
  EXPECT_EQ(form->CurrentControl, memo);
  Focus(last);
  last->SetEnabled(false);
  EXPECT_EQ(Name(GetFocus()), "first") << "wraps around";
  // One without the focus changes nothing.
  memo->SetEnabled(false);
  EXPECT_EQ(Name(GetFocus()), "first");
}

TEST_F(Navigation, AFocusedControlOutsideTheTabOrderThatIsDisabledHandsTheFocusToItsForm) {
  first->TabStop = false;  // focused by a click only, as a button out of the Tab order
  Focus(first);
  form->CurrentControl = first;
  first->SetEnabled(false);
  EXPECT_EQ(GetFocus(), form->Handle);
  EXPECT_EQ(form->CurrentControl, nullptr) << "the form would hand the focus straight back";
}

TEST_F(Navigation, NextTabControlFromNowhereStartsAtEitherEnd) {
  EXPECT_EQ(NextTabControl(form, nullptr, true), first);
  EXPECT_EQ(NextTabControl(form, nullptr, false), last);
  for (TControl* c : {first, line, memo, last}) c->SetEnabled(false);
  EXPECT_EQ(NextTabControl(form, nullptr, true), nullptr);
  line->SetEnabled(true);
  EXPECT_EQ(NextTabControl(form, line, true), line);  // the only candidate keeps the focus
}

}  // namespace
