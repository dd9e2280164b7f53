// Transparent controls: the parent shows through, transparent siblings stack in order, foreign
// child windows are subclassed, and a text change keeps the focus.
#include <gtest/gtest.h>

#include "platform/handlers.h"
#include "platform/tests/test_pump.h"
#include "platform/tests/test_surface.h"
#include "platform/tests/test_windows.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

void Fill(HDC dc, RECT r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}
void PaintBlueSquare(void*, TControl*, HDC dc) { Fill(dc, {20, 20, 40, 40}, kBlue); }
void PaintGreenCorner(void*, TControl*, HDC dc) { Fill(dc, {0, 0, 10, 10}, kGreen); }

// A 100 x 80 image filled white, selected into its own DC.
struct MemoryImage : TestSurface {
  MemoryImage() : TestSurface(100, 80, kWhite) {}
};

// One form for the whole suite (closing a top-level window costs Wine seconds without a window
// manager); each test's controls are freed after it.
class Transparency : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    form = CreateFormWindow(nullptr, "transparency");
    form->SetBoundsRect({80, 80, 480, 380});
    form->SetColor(static_cast<std::int32_t>(kRed));
    form->CreateVisible = true;
  }
  static void TearDownTestSuite() { form->Free(); }
  void TearDown() override {
    for (std::int32_t i = form->ChildCount(); i > 0; --i) form->ChildAt(i - 1)->Free();
    EXPECT_EQ(form->ChildCount(), 0);
    // Dispatched, not dropped: the form stays and its paint must validate it.
    PumpMessages();
  }
  TControl* Box(RECT bounds, void (*paint)(void*, TControl*, HDC)) {
    TControl* box = CreatePaintBox(form);
    box->SetBoundsRect(bounds);
    box->SetOnPaint({paint, nullptr});
    return box;
  }
  // What the control's own paint puts into a white 100 x 80 image.
  static void PaintInto(TControl* c, MemoryImage& image) {
    SendMessageA(c->Handle, WM_PAINT, reinterpret_cast<WPARAM>(image.dc()), 0);
  }
  static TControl* form;
};
TControl* Transparency::form = nullptr;

TEST_F(Transparency, TransparentControlShowsTheParentUnderItsOwnPainting) {
  TControl* clear = Box({10, 10, 110, 90}, PaintBlueSquare);
  TControl* opaque = Box({200, 10, 300, 90}, PaintBlueSquare);
  clear->SetTransparent(true);
  ASSERT_TRUE(form->CreateWindowHandle());

  MemoryImage seeThrough;
  PaintInto(clear, seeThrough);
  EXPECT_EQ(seeThrough.At(5, 5), kRed);
  EXPECT_EQ(seeThrough.At(30, 30), kBlue);

  MemoryImage plain;
  PaintInto(opaque, plain);
  EXPECT_EQ(plain.At(5, 5), kWhite);
  EXPECT_EQ(plain.At(30, 30), kBlue);
}

TEST_F(Transparency, LaterTransparentSiblingsArePaintedOnTop) {
  TControl* below = Box({10, 10, 110, 90}, PaintBlueSquare);
  TControl* above = Box({35, 35, 135, 115}, PaintGreenCorner);  // its corner lies on the blue square
  below->SetTransparent(true);
  above->SetTransparent(true);
  ASSERT_TRUE(form->CreateWindowHandle());
  MemoryImage image;
  PaintInto(below, image);
  EXPECT_EQ(image.At(22, 22), kBlue);
  EXPECT_EQ(image.At(27, 27), kGreen);  // (2, 2) of the sibling above
  EXPECT_EQ(image.At(50, 50), kRed);
}

TEST_F(Transparency, TransparentControlErasesNothingOfItsOwn) {
  TControl* clear = Box({10, 10, 110, 90}, PaintBlueSquare);
  clear->SetTransparent(true);
  ASSERT_TRUE(form->CreateWindowHandle());
  MemoryImage image;
  EXPECT_EQ(SendMessageA(clear->Handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(image.dc()), 0), 1);
  EXPECT_EQ(image.At(5, 5), kWhite);
}

TEST_F(Transparency, TransparentLabelShowsTheParentAroundItsText) {
  TControl* label = CreateLabel(form, "x");
  label->SetBoundsRect({10, 10, 110, 90});
  label->SetTransparent(true);
  ASSERT_TRUE(form->CreateWindowHandle());
  MemoryImage image;
  PaintInto(label, image);
  EXPECT_EQ(image.At(90, 70), kRed);
}

TEST_F(Transparency, ForeignChildWindowsAreSubclassedAndStillWork) {
  ASSERT_NE(form->GetHandle(), nullptr);
  HWND foreign = CreateWindowExA(0, "STATIC", "foreign", WS_CHILD | WS_VISIBLE, 0, 200, 80, 20, form->Handle,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(foreign, nullptr);
  MemoryImage image;
  EXPECT_EQ(GetPropA(foreign, "PREV_PROC"), nullptr);

  TControl* clear = Box({10, 10, 110, 90}, PaintBlueSquare);
  clear->SetTransparent(true);
  ASSERT_TRUE(form->CreateWindowHandle());
  EXPECT_NE(GetPropA(foreign, "PREV_PROC"), nullptr);
  EXPECT_EQ(GetPropA(clear->Handle, "PREV_PROC"), nullptr);  // the library's own windows are left alone
  EXPECT_EQ(SendMessageA(foreign, WM_ERASEBKGND, reinterpret_cast<WPARAM>(image.dc()), 0), 1);
  EXPECT_EQ(image.At(5, 5), kWhite);
  EXPECT_EQ(WindowText(foreign), "foreign");
  DestroyWindow(foreign);
}

TEST_F(Transparency, SettingTheTextOfAFocusedTransparentEditKeepsTheFocus) {
  TControl* edit = CreateEdit(form, 0);
  edit->SetTransparent(true);
  ASSERT_TRUE(form->CreateWindowHandle());
  SetForegroundWindow(form->Handle);
  ::SetFocus(edit->Handle);
  ASSERT_EQ(GetFocus(), edit->Handle);
  edit->SetCaption("new text");
  EXPECT_EQ(edit->GetCaption(), "new text");
  EXPECT_EQ(GetFocus(), edit->Handle);
  EXPECT_TRUE(IsWindowVisible(edit->Handle));
}

TEST_F(Transparency, TurningTransparencyOnInstallsTheHooksForGood) {
  TControl* clear = Box({10, 10, 110, 90}, PaintBlueSquare);
  clear->SetTransparent(true);
  EXPECT_EQ(GlobalMessageHook, &TransparencyHandler);
  clear->SetTransparent(false);
  EXPECT_EQ(GlobalMessageHook, &TransparencyHandler);
}

}  // namespace
