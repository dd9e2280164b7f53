// Hint manager: one tooltip window per element with a hint, made at the first mouse move over the
// element (or when asked for), and its removal.
#include "elements/hint_manager.h"

#include <gtest/gtest.h>

#include "elements/image.h"
#include "elements/tests/probe.h"
#include "elements/tests/window_test_support.h"
#include "platform/app.h"
#include "platform/text_codec.h"

namespace {

class HintManagerTest : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  ParentForm parent;

  static void SetUpTestSuite() {
    InitCommonControlClasses(ICC_WIN95_CLASSES);
    StartHintManager();
  }
  static void TearDownTestSuite() { FinishHintManager(); }

  TQxImage* MakeElement(const char* hint) {
    auto* element = new TQxImage(parent.form);
    element->Width = 40;
    element->Height = 40;
    element->Hint = hint;
    element->Init();
    return element;
  }
};

TEST_F(HintManagerTest, StartedManagerHasItsInitialSettings) {
  ASSERT_NE(HintManager, nullptr);
  EXPECT_EQ(ProcessHintCallbacks, HintManager->Callbacks);
  EXPECT_EQ(HintManager->Font.Name, "Tahoma");
  EXPECT_EQ(HintManager->Font.Size, 8);
  EXPECT_EQ(HintManager->Font.Color, ElementSystemColor(COLOR_INFOTEXT));
  EXPECT_EQ(HintManager->BackColor, ElementSystemColor(COLOR_INFOBK));
  EXPECT_EQ(HintManager->InitialDelay, 500);
  EXPECT_EQ(HintManager->AutoPopDelay, 5000);
  EXPECT_EQ(HintManager->RectTips, 1);
  EXPECT_EQ(HintManager->Tracking, 0);
}

TEST_F(HintManagerTest, AttachingAHintMakesATooltipWindow) {
  TQxImage* element = MakeElement("Помощь");
  element->AttachHint(nullptr);
  ASSERT_NE(element->HintId, 0);
  HWND tip = HintManager->MakeTipWindow(element->HintId);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(IsWindow(tip));
  EXPECT_EQ(ClassOf(tip), "tooltips_class32");
  // A pop-up's owner is always a top-level window: the element's form stands in for its control.
  EXPECT_EQ(GetWindow(tip, GW_OWNER), GetAncestor(element->Control->Handle, GA_ROOT));
  EXPECT_NE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  wchar_t text[80] = {};
  info.hwnd = element->Control->Handle;
  info.uId = reinterpret_cast<UINT_PTR>(element->Control->Handle);
  info.lpszText = text;
  EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(Cp1251FromWide(text), "\xCF\xEE\xEC\xEE\xF9\xFC");  // CP1251 bytes of the hint
  delete element;
  EXPECT_FALSE(IsWindow(tip));
}

TEST_F(HintManagerTest, EveryElementGetsATooltipOfItsOwn) {
  TQxImage* first = MakeElement("one");
  TQxImage* second = MakeElement("two");
  first->AttachHint(nullptr);
  second->AttachHint(nullptr);
  HWND a = HintManager->MakeTipWindow(first->HintId);
  HWND b = HintManager->MakeTipWindow(second->HintId);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  EXPECT_NE(a, b);
  delete first;
  delete second;
}

// The tooltip waits for the mouse; the first move over the element makes it with the text set before,
// and the tip is then asked for once only.
TEST_F(HintManagerTest, TheFirstMouseMoveOverTheElementMakesItsTooltip) {
  TQxImage* element = MakeElement("позже");
  element->AttachHint(nullptr);
  EXPECT_EQ(TQxHintManager::TipWindow(element->HintId), nullptr);
  HWND owner = element->Control->Handle;
  SendMessageA(owner, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  HWND tip = TQxHintManager::TipWindow(element->HintId);
  ASSERT_NE(tip, nullptr);
  wchar_t text[32] = {};
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(owner);
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(Cp1251FromWide(text), "позже");
  SendMessageA(owner, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  EXPECT_EQ(TQxHintManager::TipWindow(element->HintId), tip);
  delete element;
  EXPECT_FALSE(IsWindow(tip));
}

TEST_F(HintManagerTest, EmptyHintAttachesNothing) {
  TQxImage* element = MakeElement("");
  element->AttachHint(nullptr);
  EXPECT_EQ(element->HintId, 0);
  EXPECT_EQ(element->HintLink, nullptr);
  delete element;
}

TEST_F(HintManagerTest, BalloonTipsAddTheBalloonStyle) {
  HintManager->RectTips = 0;
  TQxImage* element = MakeElement("balloon");
  element->AttachHint(nullptr);
  HWND tip = HintManager->MakeTipWindow(element->HintId);
  ASSERT_NE(tip, nullptr);
  EXPECT_NE(GetWindowLongA(tip, GWL_STYLE) & TTS_BALLOON, 0);
  delete element;
  HintManager->RectTips = 1;
}

}  // namespace
