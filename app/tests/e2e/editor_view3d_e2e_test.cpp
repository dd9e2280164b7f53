// The cube view in the built editor, driven from outside its process with real keys and clicks:
// opened and hidden by its button, F11, Esc and its close box; a clicked LED lit at the place the
// cube's projection gives it; turned by keys and a drag and turned back by Home; following
// playback; and its place and turn kept when it is hidden and between runs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/tests/e2e/cube_view_driver.h"
#include "app/tests/e2e/editor_effect_driver.h"
#include "app/tests/e2e/saving_editor_fixture.h"
#include "cube/view3d.h"

namespace {

using e2e::TViewShot;

constexpr std::uint32_t kLit = RGB(0xFF, 0x00, 0x00);
// The LED nearest the eye at the Home turn, which nothing can cover: LED 211, column 1 of the
// front row of layer 6.
const std::size_t kNearest = cube::PaintOrder(cube::kHomeTurn).back();

POINT PixelOf(const TViewShot& shot, std::size_t index) {
  const cube::TViewProjection projection(cube::kHomeTurn, cube::PictureRect(shot.Width, shot.Height));
  const cube::TViewPoint at = projection.Led(index);
  return {std::lround(at.X), std::lround(at.Y)};
}
bool ShowsLit(const TViewShot& shot, std::size_t index) {
  const POINT at = PixelOf(shot, index);
  return shot.Pixel(at.x, at.y) == kLit;
}

class EditorCubeView : public e2e::TSavingEditor {
 protected:
  void SetUp() override {
    e2e::ForgetCubeView();
    TSavingEditor::SetUp();
  }
  // The place and turn a test leaves are no one else's start.
  void TearDown() override {
    editor.Kill();
    e2e::ForgetCubeView();
  }
  HWND ViewButton() const { return editor.ChildByText("Вид куба"); }
  // Opens the view by F11 and puts it at the work area's bottom left, clear of the LEDs clicked.
  HWND OpenAndPlace() {
    if (!editor.PressKey(VK_F11)) return nullptr;
    const HWND shown = view.WaitShown(true);
    if (shown == nullptr) return nullptr;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(shown, nullptr, work.left, work.bottom - 330, 330, 330, SWP_NOZORDER | SWP_NOACTIVATE);
    return editor.Sync() ? shown : nullptr;
  }

  // Closes the editor, starts the next one and opens its view: the place and turn left are there.
  void ExpectKeptInTheNextRun(const RECT& place, const TViewShot& turned) {
    ASSERT_TRUE(editor.Close());
    EXPECT_EQ(editor.WaitExit(20000), std::optional<DWORD>(0));
    e2e::TEditorProcess next;
    ASSERT_TRUE(next.Start()) << next.Error();
    e2e::TCubeViewDriver nextView(next);
    ASSERT_TRUE(next.PressKey(VK_F11));
    ASSERT_NE(nextView.WaitShown(true), nullptr);
    const RECT restarted = nextView.Place();
    EXPECT_TRUE(EqualRect(&place, &restarted));
    EXPECT_TRUE(nextView.WaitShot([&](const TViewShot& s) { return s == turned; }) == turned)
        << "the turn is not the one left";
    ASSERT_TRUE(next.Close());
    EXPECT_EQ(next.WaitExit(20000), std::optional<DWORD>(0));
  }

  e2e::TCubeViewDriver view{editor};
};

TEST_F(EditorCubeView, TheButtonAndF11OpenItAndEscF11AndTheCloseBoxHideIt) {
  ASSERT_NE(ViewButton(), nullptr);
  EXPECT_EQ(view.Find(), nullptr) << "made only once asked for";
  ASSERT_TRUE(editor.ClickButton(ViewButton()));
  ASSERT_NE(view.WaitShown(true), nullptr) << "the button opens it";
  ASSERT_TRUE(view.PressKey(VK_ESCAPE));
  ASSERT_EQ(view.WaitShown(false), view.Find()) << "Esc hides it";
  ASSERT_TRUE(editor.PressKey(VK_F11));
  ASSERT_NE(view.WaitShown(true), nullptr) << "F11 on the form brings it back";
  ASSERT_TRUE(view.PressKey(VK_F11));
  ASSERT_EQ(view.WaitShown(false), view.Find()) << "F11 in the view hides it";
  ASSERT_TRUE(editor.ClickButton(ViewButton()));
  const HWND shown = view.WaitShown(true);
  ASSERT_NE(shown, nullptr);
  PostMessageA(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_EQ(view.WaitShown(false), shown) << "the close box hides it and keeps it";
  ASSERT_TRUE(editor.Running());
  // The F11 from the frame line too, where the focus was typing.
  ASSERT_TRUE(editor.FocusFrameEdit());
  ASSERT_TRUE(editor.PressKey(VK_F11));
  ASSERT_NE(view.WaitShown(true), nullptr);
}

TEST_F(EditorCubeView, AClickedLedLightsAtItsPlaceInThePictureAndGoesDarkAgain) {
  ASSERT_NE(OpenAndPlace(), nullptr);
  const int led = static_cast<int>(kNearest) + 1;
  TViewShot dark = view.WaitShot([](const TViewShot& s) { return s.Width == s.Height; });
  ASSERT_TRUE(dark.Valid());
  ASSERT_FALSE(ShowsLit(dark, kNearest));
  ASSERT_TRUE(editor.ClickLed(led));
  const TViewShot lit = view.WaitShot([](const TViewShot& s) { return ShowsLit(s, kNearest); });
  ASSERT_TRUE(ShowsLit(lit, kNearest)) << "LED " << led << " is not lit in the view";
  // Far from that LED the picture stays as it was: the pixel of LED 1 at the back.
  const POINT back = PixelOf(lit, 0);
  EXPECT_EQ(lit.Pixel(back.x, back.y), dark.Pixel(back.x, back.y));
  ASSERT_TRUE(editor.ClickLed(led));
  const TViewShot again = view.WaitShot([&](const TViewShot& s) { return s == dark; });
  EXPECT_TRUE(again == dark) << "the picture of the dark cube comes back";
}

TEST_F(EditorCubeView, KeysAndADragTurnThePictureAndHomeBringsItBackIdentical) {
  const HWND shown = OpenAndPlace();
  ASSERT_NE(shown, nullptr);
  ASSERT_TRUE(editor.ClickLed(static_cast<int>(kNearest) + 1));
  const TViewShot home = view.WaitShot([](const TViewShot& s) { return ShowsLit(s, kNearest); });
  ASSERT_TRUE(ShowsLit(home, kNearest));
  for (const WORD key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
    ASSERT_TRUE(view.PressKey(key));
    const TViewShot turned = view.WaitShot([&](const TViewShot& s) { return !(s == home); });
    EXPECT_FALSE(turned == home) << "key " << key << " turns nothing";
    ASSERT_TRUE(view.PressKey(VK_HOME));
    EXPECT_TRUE(view.WaitShot([&](const TViewShot& s) { return s == home; }) == home);
  }
  // A drag across the picture with the real mouse.
  POINT from{60, 60};
  ClientToScreen(shown, &from);
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  auto mouse = [&](int x, int y, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x - left) * 65535 / (width - 1);
    input.mi.dy = (y - top) * 65535 / (height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
  };
  INPUT drag[4] = {mouse(from.x, from.y, 0), mouse(from.x, from.y, MOUSEEVENTF_LEFTDOWN),
                   mouse(from.x + 80, from.y + 30, 0), mouse(from.x + 80, from.y + 30, MOUSEEVENTF_LEFTUP)};
  ASSERT_EQ(SendInput(4, drag, sizeof(INPUT)), 4u);
  EXPECT_FALSE(view.WaitShot([&](const TViewShot& s) { return !(s == home); }) == home)
      << "the drag turns it";
  ASSERT_TRUE(view.PressKey(VK_HOME));
  EXPECT_TRUE(view.WaitShot([&](const TViewShot& s) { return s == home; }) == home);
}

TEST_F(EditorCubeView, ThePlayedFramesShowInTheView) {
  ASSERT_NE(OpenAndPlace(), nullptr);
  const int led = static_cast<int>(kNearest) + 1;
  Record({led});       // frame 1: the nearest LED lit
  Record({led, 201});  // frame 2: it is dark, LED 201 lit
  ASSERT_FALSE(ShowsLit(view.WaitShot([](const TViewShot& s) { return !ShowsLit(s, kNearest); }), kNearest));
  e2e::TEffectDriver effect(editor, save);
  ASSERT_TRUE(editor.SetTextOf(effect.RateEdit(), "2000"));
  ASSERT_TRUE(editor.Sync());
  ASSERT_TRUE(editor.PressKey(VK_F5));
  ASSERT_TRUE(effect.WaitCounter("кадр 1 из 2"));
  EXPECT_TRUE(ShowsLit(view.WaitShot([](const TViewShot& s) { return ShowsLit(s, kNearest); }), kNearest))
      << "the first played frame is not in the view";
  // Stepped from a stop, so that no tick can race the steps (playback ends after frame 2).
  ASSERT_TRUE(editor.PressKey(VK_F6));
  ASSERT_TRUE(effect.WaitCounter("кадр 0 из 2")) << effect.Counter();
  ASSERT_TRUE(editor.PressKey(VK_F8));
  ASSERT_TRUE(effect.WaitCounter("кадр 1 из 2")) << effect.Counter();
  EXPECT_TRUE(ShowsLit(view.WaitShot([](const TViewShot& s) { return ShowsLit(s, kNearest); }), kNearest))
      << "the first stepped frame is not in the view";
  ASSERT_TRUE(editor.PressKey(VK_F8));
  ASSERT_TRUE(effect.WaitCounter("кадр 2 из 2")) << effect.Counter();
  EXPECT_FALSE(ShowsLit(view.WaitShot([](const TViewShot& s) { return !ShowsLit(s, kNearest); }), kNearest))
      << "the second stepped frame is not in the view";
  ASSERT_TRUE(editor.PressKey(VK_F6));
}

TEST_F(EditorCubeView, ItsPlaceAndTurnAreKeptWhenHiddenAndBetweenRuns) {
  ASSERT_NE(OpenAndPlace(), nullptr);
  ASSERT_TRUE(view.PressKey(VK_RIGHT));
  ASSERT_TRUE(editor.Sync());
  const RECT place = view.Place();
  const TViewShot turned = view.WaitShot([](const TViewShot& s) { return s.Width == s.Height; });
  ASSERT_TRUE(view.PressKey(VK_ESCAPE));
  ASSERT_NE(view.WaitShown(false), nullptr);
  ASSERT_TRUE(editor.PressKey(VK_F11));
  ASSERT_NE(view.WaitShown(true), nullptr);
  const RECT reopened = view.Place();
  EXPECT_TRUE(EqualRect(&place, &reopened));
  EXPECT_TRUE(view.WaitShot([&](const TViewShot& s) { return s == turned; }) == turned);
  ExpectKeptInTheNextRun(place, turned);
}

// The program ends at once on close, without taking its windows down one by one: a view still open
// then is destroyed first, and keeps its place and turn all the same.
TEST_F(EditorCubeView, ItsPlaceAndTurnAreKeptWhenTheEditorClosesWithTheViewOpen) {
  ASSERT_NE(OpenAndPlace(), nullptr);
  ASSERT_TRUE(view.PressKey(VK_LEFT));
  ASSERT_TRUE(editor.Sync());
  const RECT place = view.Place();
  const TViewShot turned = view.WaitShot([](const TViewShot& s) { return s.Width == s.Height; });
  ExpectKeptInTheNextRun(place, turned);
}

}  // namespace
