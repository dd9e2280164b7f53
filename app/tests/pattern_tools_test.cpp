// The pattern tools on the real editor form: the strip's layout, whole frames, transforms from the
// buttons and the keys, and undo and redo of clicks, resets and transforms, with event delivery on.
#include "app/pattern_tools.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/editor_form.h"
#include "app/tests/editor_form_fixture.h"
#include "elements/hint_manager.h"
#include "platform/app.h"
#include "platform/control.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_windows.h"
#include "runtime/data.h"

namespace {

using pattern_keys::TTool;

TClassMainForm_1509590* form = nullptr;

RECT ScreenRect(const TQxWin* e) {
  RECT r{};
  GetWindowRect(e->Control->Handle, &r);
  return r;
}

// The rectangle in the form's client coordinates.
RECT ClientRect(const TQxWin* e) {
  RECT r = ScreenRect(e);
  MapWindowPoints(nullptr, form->EditorWindow->Control->Handle, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class PatternTools : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { form = editor_form_fixture::StartForm(false); }
  static void TearDownTestSuite() {
    editor_form_fixture::FinishForm(form);
    form = nullptr;
  }
  void SetUp() override {
    tools = form->PatternTools;
    SendMessageA(form->ResetButton->Control->Handle, BM_CLICK, 0, 0);
    SetWindowTextA(form->FrameEdit->Control->Handle, "");
    if (tools->Keys->Wrap != 0) Click(TTool::Wrap);
    ReleaseModifiers();
  }
  void TearDown() override { ReleaseModifiers(); }

  std::string Frame() { return WindowText(form->FrameEdit->Control->Handle); }
  void Click(TTool tool) { SendMessageA(tools->Button(tool)->Control->Handle, BM_CLICK, 0, 0); }
  void ClickLed(int n) {
    const HWND led = form->Led(n)->Control->Handle;
    SendMessageA(led, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(led, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  }
  void Show(const char* frame) { FireStr(MakeLink<&TQxCubePattern::inFrame>(tools->Pattern), frame); }
  std::string Lit() {
    cube::TPattern p;
    for (int i = 0; i < 216; ++i) p.set(i, form->Leds[i]->State != 0);
    return cube::FormatFrame(p);
  }
  // A key pressed in the control that has the focus, as the window procedure gets it.
  static void Press(HWND focus, WPARAM key, bool ctrl) {
    SetFocus(focus);
    SetKeyDown(VK_CONTROL, ctrl);
    SendMessageA(focus, WM_KEYDOWN, key, 1);
    SendMessageA(focus, WM_KEYUP, key, 0xC0000001);
    SetKeyDown(VK_CONTROL, false);
  }

  TPatternTools* tools = nullptr;
};

// --- layout

TEST_F(PatternTools, ButtonsStayInTheStripClearOfTheTitleTheLedsAndEachOther) {
  std::vector<RECT> taken;
  for (TQxWin* e : form->VisualOrder()) {
    if (e != form->EditorWindow) taken.push_back(ClientRect(e));
  }
  for (std::size_t i = 0; i < tools->Buttons.size(); ++i) {
    const RECT r = ClientRect(tools->Buttons[i]);
    EXPECT_GE(r.left, 450) << i;
    EXPECT_LE(r.right, 980) << i;
    EXPECT_GE(r.top, 36) << i;
    EXPECT_LE(r.bottom, 95) << i;
    for (const RECT& other : taken) EXPECT_FALSE(Overlap(r, other)) << "button " << i;
    for (std::size_t j = 0; j < i; ++j)
      EXPECT_FALSE(Overlap(r, ClientRect(tools->Buttons[j]))) << i << ' ' << j;
  }
}

TEST_F(PatternTools, ButtonsUseTheFormsButtonFontAndStayOutOfTheTabOrder) {
  for (TQxButton* button : tools->Buttons) {
    EXPECT_EQ(button->Font.Name.view(), form->ResetButton->Font.Name.view());
    EXPECT_EQ(button->Font.Style, form->ResetButton->Font.Style);
    EXPECT_EQ(button->Font.Color, form->ResetButton->Font.Color);
    EXPECT_FALSE(button->Control->TabStop);
  }
}

TEST_F(PatternTools, EveryHintNamesItsKey) {
  for (const pattern_keys::TKey& key : pattern_keys::kKeys) {
    const std::string hint(tools->Button(key.Tool)->Hint.view());
    EXPECT_NE(hint.find(std::string("(") + key.Name + ")"), std::string::npos) << hint;
  }
  EXPECT_EQ(WindowText(tools->Button(TTool::Undo)->Control->Handle), "Отменить");
  EXPECT_EQ(WindowText(tools->Button(TTool::Redo)->Control->Handle), "Вернуть");
}

// --- whole frames

TEST_F(PatternTools, AWholeFrameLightsTheLedsAndSetsTheFrameLine) {
  Show("0,35,100,215,227");
  EXPECT_EQ(Frame(), "0,35,100,215,227");
  EXPECT_EQ(Lit(), "0,35,100,215,227");
  const std::string all = cube::FormatFrame(cube::AllLit());
  Show(all.c_str());
  EXPECT_EQ(Frame(), all);
  Show("227");
  EXPECT_EQ(Frame(), "227");
  EXPECT_EQ(Lit(), "227");
}

// The form's client area as the window holds it, one 0x00RRGGBB word a pixel.
std::vector<std::uint32_t> ClientPixels(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(client.right) *
                                    static_cast<std::size_t>(client.bottom));
  HDC dc = GetDC(window);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(client.bottom), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, dc);
  return pixels;
}

// Neighbouring LEDs of the deeper layers overlap: each must stay under the ones above it.
TEST_F(PatternTools, AWholeFrameIsPaintedAtOnceExactlyAsTheLedsOwnPaintsWouldShowIt) {
  HWND window = form->EditorWindow->Control->Handle;
  const TShownOnTop onTop(window);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  cube::TPattern p;
  for (int i = 0; i < 216; i += 3) p.set(static_cast<std::size_t>(i));
  Show(cube::FormatFrame(p).c_str());
  for (TQxLED* led : form->Leds) {
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(led->Control->Handle, &pending, FALSE)) << "painted, no paint to come";
  }
  // The frame line's own paint, still to come, is no part of the comparison.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  const std::vector<std::uint32_t> atOnce = ClientPixels(window);
  for (TQxLED* led : form->Leds) InvalidateRect(led->Control->Handle, nullptr, TRUE);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_TRUE(ClientPixels(window) == atOnce);
  ShowWindow(window, SW_HIDE);
}

TEST_F(PatternTools, ClicksAfterAWholeFrameExtendItAsTheDesignedGraphDoes) {
  Show("10,20,30,227");
  ClickLed(1);
  ClickLed(21);
  EXPECT_EQ(Frame(), "0,10,30,227");
  SendMessageA(form->ResetButton->Control->Handle, BM_CLICK, 0, 0);
  EXPECT_EQ(Frame(), "227");
}

// --- tools

TEST_F(PatternTools, ShiftButtonsFollowTheWrapSetting) {
  Show("5,227");  // column 5 of row 0, layer 0
  Click(TTool::ShiftXPlus);
  EXPECT_EQ(Frame(), "227");  // pushed off the edge
  Click(TTool::Undo);
  EXPECT_EQ(Frame(), "5,227");
  Click(TTool::Wrap);
  EXPECT_EQ(WindowText(tools->Button(TTool::Wrap)->Control->Handle), "По кругу: да");
  Click(TTool::ShiftXPlus);
  EXPECT_EQ(Frame(), "0,227");
  Click(TTool::ShiftZMinus);
  EXPECT_EQ(Frame(), "180,227");
  Click(TTool::Wrap);
  EXPECT_EQ(WindowText(tools->Button(TTool::Wrap)->Control->Handle), "По кругу: нет");
  EXPECT_EQ(Lit(), "180,227");
}

TEST_F(PatternTools, EachToolButtonIsOneUndoableStep) {
  Show("0,1,7,227");
  Click(TTool::Rotate);
  EXPECT_EQ(Frame(), "5,10,11,227");
  Click(TTool::MirrorZ);
  EXPECT_EQ(Frame(), "185,190,191,227");
  Click(TTool::Invert);
  const std::string inverted = Frame();
  EXPECT_EQ(inverted.size(), cube::FormatFrame(cube::AllLit()).size() - std::string("185,190,191,").size());
  EXPECT_EQ(inverted.find("190,"), std::string::npos);
  Click(TTool::LightAll);
  EXPECT_EQ(Frame(), cube::FormatFrame(cube::AllLit()));
  for (const std::string& earlier :
       {inverted, std::string("185,190,191,227"), std::string("5,10,11,227"), std::string("0,1,7,227")}) {
    Click(TTool::Undo);
    EXPECT_EQ(Frame(), earlier);
  }
  Click(TTool::Redo);
  EXPECT_EQ(Frame(), "5,10,11,227");
  EXPECT_EQ(Lit(), "5,10,11,227");
}

TEST_F(PatternTools, UndoAfterResetBringsThePatternBackAndRedoDarkensIt) {
  ClickLed(2);
  ClickLed(100);
  SendMessageA(form->ResetButton->Control->Handle, BM_CLICK, 0, 0);
  EXPECT_EQ(Frame(), "227");
  Click(TTool::Undo);
  EXPECT_EQ(Frame(), "1,99,227");
  EXPECT_EQ(Lit(), "1,99,227");
  Click(TTool::Redo);
  EXPECT_EQ(Frame(), "227");
  Click(TTool::Undo);
  Click(TTool::Undo);
  EXPECT_EQ(Frame(), "1,227");  // the click on LED 100 undone
}

// --- keys

TEST_F(PatternTools, KeysOutsideTheTextControlsRunTheirTools) {
  const HWND button = tools->Button(TTool::Rotate)->Control->Handle;
  Show("0,227");
  Press(button, '2', true);  // X+
  EXPECT_EQ(Frame(), "1,227");
  Press(button, '7', true);  // rotate
  EXPECT_EQ(Frame(), "11,227");
  Press(button, 'W', true);  // wrap on
  EXPECT_EQ(tools->Keys->Wrap, 1);
  Press(button, '6', true);  // Z+
  Press(button, '5', true);  // Z-
  Press(button, '5', true);  // Z- wraps to layer 5
  EXPECT_EQ(Frame(), "191,227");
  Press(button, 'Z', true);
  EXPECT_EQ(Frame(), "11,227");
  Press(button, 'Y', true);
  EXPECT_EQ(Frame(), "191,227");
  Press(button, 'L', true);
  EXPECT_EQ(Frame(), cube::FormatFrame(cube::AllLit()));
  Press(button, 'E', true);
  EXPECT_EQ(Frame(), "227");
}

// A multi-line edit turns a Ctrl+letter into the control character it types (Ctrl+I a tab): the
// table's keys must be ones the effect text ignores, since they reach it when it has the focus.
TEST_F(PatternTools, NoCtrlLetterOfTheTableTypesIntoTheEffectText) {
  const HWND memo = form->EffectMemo->Control->Handle;
  SetWindowTextA(memo, "0,227");
  for (const pattern_keys::TKey& key : pattern_keys::kKeys) {
    if (!key.Ctrl || key.VirtualKey < 'A' || key.VirtualKey > 'Z') continue;
    SendMessageA(memo, EM_SETSEL, 2, 2);
    SendMessageA(memo, WM_CHAR, static_cast<WPARAM>(key.VirtualKey - 'A' + 1), 1);
    char text[32] = {};
    GetWindowTextA(memo, text, sizeof text);
    EXPECT_STREQ(text, "0,227") << key.Name;
  }
}

TEST_F(PatternTools, UndoAndRedoAreGreyedExactlyWhileThereIsNothingToUndoOrRedo) {
  const HWND undo = tools->Button(TTool::Undo)->Control->Handle;
  const HWND redo = tools->Button(TTool::Redo)->Control->Handle;
  Show("7,227");
  EXPECT_TRUE(IsWindowEnabled(undo));
  EXPECT_FALSE(IsWindowEnabled(redo));  // a new step ends what could be redone
  while (tools->Pattern->History().UndoCount() > 0) {
    EXPECT_TRUE(IsWindowEnabled(undo));
    Click(TTool::Undo);
    EXPECT_TRUE(IsWindowEnabled(redo));
  }
  EXPECT_FALSE(IsWindowEnabled(undo));
  Click(TTool::Undo);  // greyed, but its click must still do no harm
  while (tools->Pattern->History().RedoCount() > 0) Click(TTool::Redo);
  EXPECT_FALSE(IsWindowEnabled(redo));
  EXPECT_TRUE(IsWindowEnabled(undo));
  EXPECT_EQ(Lit(), "7,227");
}

TEST_F(PatternTools, CtrlZInsideTheFrameLineLeavesThePatternAlone) {
  Show("3,227");
  ClickLed(5);
  const std::size_t steps = tools->Pattern->History().UndoCount();
  const HWND edit = form->FrameEdit->Control->Handle;
  Press(edit, 'Z', true);
  Press(edit, 'Y', true);
  Press(edit, '1', true);
  EXPECT_EQ(Lit(), "3,4,227");
  EXPECT_EQ(tools->Pattern->History().UndoCount(), steps);
  Press(form->EffectMemo->Control->Handle, 'Z', true);
  EXPECT_EQ(Lit(), "3,4,227");
}

TEST_F(PatternTools, KeysWithShiftOrWithoutCtrlDoNothing) {
  const HWND button = tools->Button(TTool::Rotate)->Control->Handle;
  Show("0,227");
  Press(button, '2', false);
  SetKeyDown(VK_SHIFT, true);
  SetKeyDown(VK_CONTROL, true);
  SetFocus(button);
  SendMessageA(button, WM_KEYDOWN, 'I', 1);
  ReleaseModifiers();
  EXPECT_EQ(Frame(), "0,227");
}

}  // namespace
