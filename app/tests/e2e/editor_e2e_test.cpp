// The built cube editor program driven from outside its process with real mouse and key input:
// the frame string after clicks and resets, recording frames, the clearing tick after start, what
// the window shows where, quick repeated clicks on one LED, where Tab and Shift+Tab take the
// focus, a click storm, and a clean exit.
#include <gtest/gtest.h>

#include <bitset>
#include <random>
#include <string>
#include <vector>

#include "app/tests/e2e/editor_driver.h"
#include "app/tests/e2e/led_shot.h"

namespace {

using e2e::BodyPoints;
using e2e::ShotShowing;
using e2e::TEditorProcess;
using Leds = std::bitset<e2e::kLedCount>;

// The frame string of a set of lit LEDs, written independently of the program.
std::string FrameOf(const Leds& lit) {
  std::string frame;
  for (int i = 0; i < e2e::kLedCount; ++i)
    if (lit[i]) frame += std::to_string(i) + ",";
  return frame + "227";
}

std::string AllIndicesFrame() {
  std::string frame;
  for (int i = 0; i <= 215; ++i) frame += std::to_string(i) + ",";
  return frame + "227";
}

class EditorProgram : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(editor.Start()) << editor.Error(); }
  // Clicks LED n with real input and keeps the model in step.
  void Click(int n) {
    ASSERT_TRUE(editor.ClickLed(n)) << "LED " << n << " did not react";
    lit.flip(n - 1);
    // The change seen may come from quick clicks still being handled: wait for all of them.
    ASSERT_TRUE(editor.WaitFrameText(FrameOf(lit)))
        << "after a click on LED " << n << ": " << editor.FrameText();
  }
  // Clicks LED n `times` times in one quick burst on one spot (double clicks included), then LED
  // `thenLed` once; the frame that shows both is the end of the burst.
  void ClickQuickly(int n, int times, int thenLed) {
    ASSERT_TRUE(editor.ClickLedQuickly(n, times, thenLed)) << "LED " << n;
    if (times % 2 != 0) lit.flip(n - 1);
    lit.flip(thenLed - 1);
    ASSERT_TRUE(editor.WaitFrameText(FrameOf(lit)))
        << "LED " << n << " clicked " << times << " times, then LED " << thenLed << ": "
        << editor.FrameText();
  }
  // A second click on the LED clicked last, on the very spot of the first.
  void ClickAgainOnTheSameSpot(int n) {
    ASSERT_TRUE(editor.ClickLedOnTheSameSpot(n)) << "LED " << n << " did not react to its second click";
    lit.flip(n - 1);
    ASSERT_TRUE(editor.WaitFrameText(FrameOf(lit)))
        << "LED " << n << " clicked again: " << editor.FrameText();
  }
  void Reset() {
    ASSERT_TRUE(editor.ClickButton(editor.ResetButton()));
    // A reset with nothing lit changes nothing, not even a hand-edited or empty line.
    if (lit.any()) {
      lit.reset();
      ASSERT_TRUE(editor.WaitFrameText("227"));
    }
  }
  TEditorProcess editor;
  Leds lit;
};

// The clearing timer's first tick, one second after start, empties the effect text: recordings
// start only once it has passed, so that it does not clear them.
class RecordingProgram : public EditorProgram {
 protected:
  void SetUp() override { ASSERT_TRUE(editor.StartPastFirstTick()) << editor.Error(); }
};

// --- The frame string

TEST_F(EditorProgram, ClickedLedsListTheirZeroBasedIndicesAscendingAndClickingAgainDarkensThem) {
  EXPECT_EQ(editor.FrameText(), "") << "nothing is computed before the first LED change";
  for (int n : {216, 1, 2}) Click(n);
  EXPECT_EQ(editor.FrameText(), "0,1,215,227");
  Click(1);
  EXPECT_EQ(editor.FrameText(), "1,215,227");
  Click(2);
  Click(216);
  EXPECT_EQ(editor.FrameText(), "227");
}

TEST_F(EditorProgram, AllLedsLitListEveryIndexAndResetDarkensThemAll) {
  for (int n = 1; n <= e2e::kLedCount; ++n) Click(n);
  EXPECT_EQ(editor.FrameText(), AllIndicesFrame());
  EXPECT_EQ(editor.FrameText().size(), 757u);
  Reset();
  EXPECT_EQ(editor.FrameText(), "227");
  Click(109);
  EXPECT_EQ(editor.FrameText(), "108,227") << "after a reset every LED starts dark again";
}

TEST_F(EditorProgram, RandomClicksAndResetsAgreeWithAnIndependentModel) {
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> led(1, e2e::kLedCount);
  // A few LEDs clicked again and again, so that LEDs also go dark, mixed with the whole cube.
  std::uniform_int_distribution<int> fewLeds(1, 12);
  for (int click = 1; click <= 300; ++click) {
    const int n = click % 3 == 0 ? fewLeds(random) : led(random);
    Click(n);
    ASSERT_EQ(editor.FrameText(), FrameOf(lit)) << "after click " << click << " on LED " << n;
    if (click % 75 == 0) {
      Reset();
      ASSERT_EQ(editor.FrameText(), "227") << "after the reset at click " << click;
    }
  }
}

TEST_F(EditorProgram, ResetWithNothingLitLeavesTheLineAsItIs) {
  Reset();
  EXPECT_EQ(editor.FrameText(), "");
  Click(3);
  Click(3);
  ASSERT_TRUE(editor.SetTextOf(editor.FrameEdit(), "typed by hand"));
  Reset();
  EXPECT_EQ(editor.FrameText(), "typed by hand");
  Click(200);
  EXPECT_EQ(editor.FrameText(), "199,227") << "the next LED change replaces hand-typed text";
}

// --- Recording frames and the clearing tick

TEST_F(RecordingProgram, EnterRecordsTheFrameAsANewMemoLineAndEmptiesTheLine) {
  Click(1);
  Click(2);
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  EXPECT_EQ(editor.MemoText(), "0,1,227");
  EXPECT_EQ(editor.FrameText(), "");
  Click(3);
  EXPECT_EQ(editor.FrameText(), "0,1,2,227") << "the LEDs keep their states after recording";
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  EXPECT_EQ(editor.MemoText(), "0,1,227\r\n0,1,2,227");
  EXPECT_EQ(editor.FrameText(), "");
}

TEST_F(RecordingProgram, EnterOnAnEmptyLineLeavesOneEmptyLineThatTheNextFrameTakes) {
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  EXPECT_EQ(editor.MemoText(), "") << "an empty text on an empty memo adds nothing";
  Click(5);
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  EXPECT_EQ(editor.MemoText(), "4,227\r\n") << "at most one empty line at the end";
  Click(6);
  ASSERT_TRUE(editor.PressEnterInFrameEdit());
  EXPECT_EQ(editor.MemoText(), "4,227\r\n4,5,227");
}

TEST(EditorProgramStart, TextTypedInTheFirstSecondIsClearedByTheFirstTick) {
  TEditorProcess editor;
  // Typed as soon as the memo exists, well inside the first second.
  ASSERT_TRUE(editor.StartWithMemoText("typed at start")) << editor.Error();
  ASSERT_TRUE(editor.WaitMemoText("", 10000))
      << "the first tick clears the effect text, still: " << editor.MemoText();
  // That the timer stopped itself at this tick is checked on the form itself (editor_form_tests),
  // where the timer can be seen: from here only the passing of time could show it.
  EXPECT_EQ(editor.FrameText(), "") << "the tick does not touch the frame line";
}

// --- What the window shows, and where

// Pixels of the labels' dark blue text inside a rectangle of the client area.
int TextPixelsIn(const e2e::TScreenShot& shot, const e2e::TPlace& place) {
  int count = 0;
  for (int y = place.Top; y < place.Top + place.Height; ++y)
    for (int x = place.Left; x < place.Left + place.Width; ++x) {
      const std::uint32_t c = shot.Pixel(x, y);
      // Dark blue 0x800000, possibly smoothed against the face colour: blue well above red and green.
      const int blue = (c >> 16) & 0xFF, green = (c >> 8) & 0xFF, red = c & 0xFF;
      if (blue >= 0x60 && blue - red >= 0x40 && blue - green >= 0x40) ++count;
    }
  return count;
}

TEST(EditorLayout, EveryLedKeepsMostOfItsBodyVisible) {
  int covered = 0;
  for (int n = 1; n <= e2e::kLedCount; ++n) {
    EXPECT_GE(BodyPoints(n).size(), 3u) << "LED " << n;
    covered += 5 - static_cast<int>(BodyPoints(n).size());
  }
  EXPECT_LT(covered, 40) << "the screenshot check would look at too few pixels";
}

TEST_F(EditorProgram, EveryLedBodyShowsItsStateColourAtItsPlace) {
  std::string mismatches;
  ShotShowing(editor, lit, mismatches);
  EXPECT_EQ(mismatches, "") << "all dark at start";
  // The off-grid LEDs of layer 1, column 0 of several layers, the corners of the cube.
  for (int n : {1, 2, 3, 8, 30, 6, 7, 37, 43, 108, 133, 181, 211, 216}) Click(n);
  ShotShowing(editor, lit, mismatches);
  EXPECT_EQ(mismatches, "") << "after lighting some";
  for (int n : {2, 30, 211}) Click(n);
  ShotShowing(editor, lit, mismatches);
  EXPECT_EQ(mismatches, "") << "after darkening some again";
}

TEST_F(EditorProgram, WindowAndControlsStandWhereTheLayoutPutsThem) {
  RECT window{};
  ASSERT_TRUE(GetWindowRect(editor.Window(), &window));
  EXPECT_EQ(window.left, 0);
  EXPECT_EQ(window.top, 0);
  EXPECT_EQ(window.right - window.left, e2e::kWindowWidth);
  EXPECT_EQ(window.bottom - window.top, e2e::kWindowHeight);
  struct Control {
    HWND window;
    e2e::TPlace place;
    const char* name;
  };
  for (const Control& c : {Control{editor.ResetButton(), e2e::kResetButtonPlace, "reset button"},
                           Control{editor.SaveButton(), e2e::kSaveButtonPlace, "save button"}}) {
    const std::optional<e2e::TPlace> place = editor.PlaceOf(c.window);
    ASSERT_TRUE(place) << c.name;
    EXPECT_EQ(place->Left, c.place.Left) << c.name;
    EXPECT_EQ(place->Top, c.place.Top) << c.name;
    EXPECT_EQ(place->Width, c.place.Width) << c.name;
    EXPECT_EQ(place->Height, c.place.Height) << c.name;
  }

  std::string mismatches;
  const e2e::TScreenShot shot = ShotShowing(editor, lit, mismatches);
  ASSERT_TRUE(shot.Valid());
  struct Caption {
    std::string text;
    e2e::TPlace place;
  };
  const std::vector<Caption> captions = {
      {"СЛОЙ 1", e2e::kLayerLabelPlaces[0]},
      {"СЛОЙ 2", e2e::kLayerLabelPlaces[1]},
      {"СЛОЙ 3", e2e::kLayerLabelPlaces[2]},
      {"СЛОЙ 4", e2e::kLayerLabelPlaces[3]},
      {"СЛОЙ 5", e2e::kLayerLabelPlaces[4]},
      {"СЛОЙ 6", e2e::kLayerLabelPlaces[5]},
      {"TESSARO ", e2e::kTitleLabelPlace},
      {"СТРОКА ДАННЫХ ДЛЯ КАДРА", e2e::kFrameLabelPlace},
      {"ТЕКСТОВЫЙ РЕДАКТОР ДЛЯ ЭФФЕКТА-ЗАПИСЬ КАДРА КЛАВИШЕЙ ВВОД ", e2e::kEffectLabelPlace},
  };
  for (const Caption& c : captions) {
    HWND label = editor.ChildByText(c.text);
    ASSERT_NE(label, nullptr) << c.text;
    const std::optional<e2e::TPlace> place = editor.PlaceOf(label);
    ASSERT_TRUE(place);
    // The label sizes itself to its caption but keeps its corner.
    EXPECT_EQ(place->Left, c.place.Left) << c.text;
    EXPECT_EQ(place->Top, c.place.Top) << c.text;
    EXPECT_GT(TextPixelsIn(shot, *place), 10) << c.text << ": no dark blue text drawn where it stands";
  }
}

// --- Quick clicks on one LED

// A double click is two clicks to the user: the LED goes on and off again.
TEST_F(EditorProgram, TwoQuickClicksOnOneSpotOfAnLedLightAndDarkenIt) {
  Click(5);
  ASSERT_EQ(editor.FrameText(), "4,227");
  // LED 5 clicked last ends the burst: LED 9 dark again, the frame back to where it started.
  ClickQuickly(9, 2, 5);
  EXPECT_EQ(editor.FrameText(), "227") << "LED 9 lit and dark again";
  std::string mismatches;
  ShotShowing(editor, lit, mismatches);
  EXPECT_EQ(mismatches, "") << "LED 9 shows dark";
  Click(10);
  ClickQuickly(10, 2, 5);
  EXPECT_EQ(editor.FrameText(), "4,9,227") << "a lit LED goes dark and lit again";
  ClickQuickly(9, 3, 5);
  EXPECT_EQ(editor.FrameText(), "8,9,227") << "three quick clicks switch it three times";
  // A user's second click a moment after the first, on the same spot.
  Click(216);
  ClickAgainOnTheSameSpot(216);
  EXPECT_EQ(editor.FrameText(), "8,9,227");
}

TEST_F(EditorProgram, RandomClicksWithQuickRepeatsOnOneLedAgreeWithAnIndependentModel) {
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> led(1, e2e::kLedCount);
  std::uniform_int_distribution<int> fewLeds(1, 12);
  std::uniform_int_distribution<int> kind(0, 9);
  int last = 0;
  for (int step = 1; step <= 160; ++step) {
    const int n = step % 3 == 0 ? fewLeds(random) : led(random);
    const int k = kind(random);
    if (k < 4 || (k >= 8 && last == 0)) {
      Click(n);
      last = n;
    } else if (k < 8) {
      const int then = n % e2e::kLedCount + 1;
      ClickQuickly(n, k < 7 ? 2 : 3, then);
      last = then;
    } else {
      // The LED clicked last, again, right away and where the click before landed.
      ClickAgainOnTheSameSpot(last);
    }
    ASSERT_EQ(editor.FrameText(), FrameOf(lit))
        << "after step " << step << " on LED " << n << " (kind " << k << ")";
    if (step % 80 == 0) {
      Reset();
      last = 0;
    }
  }
}

// --- Keyboard focus

// Where Tab and Shift+Tab lead from the frame line and the effect text, and the full cycle. The LEDs
// keep their places in the tab order but are no stops; the labels and the picture are, as designed.
class KeyboardProgram : public RecordingProgram {
 protected:
  void SetUp() override {
    RecordingProgram::SetUp();
    ASSERT_TRUE(editor.SetTextOf(editor.EffectMemo(), kEffect));
    frameLabel = editor.ChildByText("СТРОКА ДАННЫХ ДЛЯ КАДРА");
    effectLabel = editor.ChildByText("ТЕКСТОВЫЙ РЕДАКТОР ДЛЯ ЭФФЕКТА-ЗАПИСЬ КАДРА КЛАВИШЕЙ ВВОД ");
    cubeImage = editor.ChildAtPlace(e2e::kCubeImagePlace);
    ASSERT_NE(frameLabel, nullptr);
    ASSERT_NE(effectLabel, nullptr);
    ASSERT_NE(cubeImage, nullptr);
  }
  void FocusMemo() {
    // Into the text's last line, so that a typed Tab would land inside it.
    ASSERT_TRUE(editor.FocusByClick(editor.EffectMemo(), 40, 25));
  }
  void FocusFrameEdit() { ASSERT_TRUE(editor.FocusFrameEdit()); }
  // The key goes to the focused control; returns once the focus has left it for `expected`.
  void PressAndExpectFocus(WORD key, bool shifted, HWND expected, const char* what) {
    ASSERT_TRUE(shifted ? editor.PressKeyWith(VK_SHIFT, key) : editor.PressKey(key));
    ASSERT_TRUE(editor.WaitFocus(expected)) << what << ": the focus is on " << editor.FocusWindow();
    ASSERT_TRUE(editor.Sync());
  }
  bool IsLed(HWND window) const {
    for (int n = 1; n <= e2e::kLedCount; ++n)
      if (editor.Led(n) == window) return true;
    return false;
  }
  static constexpr const char* kEffect = "0,1,227\r\n4,5,227";
  HWND frameLabel = nullptr;
  HWND effectLabel = nullptr;
  HWND cubeImage = nullptr;
};

TEST_F(KeyboardProgram, TabAndShiftTabLeaveTheEffectTextWithoutTypingIntoIt) {
  Click(3);
  FocusMemo();
  PressAndExpectFocus(VK_TAB, false, effectLabel, "Tab from the effect text");
  EXPECT_EQ(editor.MemoText(), kEffect);
  FocusMemo();
  PressAndExpectFocus(VK_TAB, true, frameLabel, "Shift+Tab from the effect text");
  EXPECT_EQ(editor.MemoText(), kEffect);
  EXPECT_EQ(editor.FrameText(), "2,227");
}

TEST_F(KeyboardProgram, TabShiftTabUpAndPageUpFromTheFrameLineLandOnVisibleControls) {
  Click(3);
  FocusFrameEdit();
  PressAndExpectFocus(VK_TAB, false, editor.ResetButton(), "Tab from the frame line");
  FocusFrameEdit();
  PressAndExpectFocus(VK_TAB, true, cubeImage, "Shift+Tab from the frame line");
  FocusFrameEdit();
  PressAndExpectFocus(VK_UP, false, cubeImage, "Up from the frame line");
  FocusFrameEdit();
  PressAndExpectFocus(VK_PRIOR, false, cubeImage, "PageUp from the frame line");
  EXPECT_EQ(editor.FrameText(), "2,227");
  EXPECT_EQ(editor.MemoText(), kEffect);
}

TEST_F(KeyboardProgram, AFullTabCycleVisitsFourteenVisibleControlsAndNoLed) {
  FocusFrameEdit();
  std::vector<HWND> visited;
  for (int press = 1; press <= 30 && (visited.empty() || visited.back() != editor.FrameEdit()); ++press) {
    const HWND before = editor.FocusWindow();
    ASSERT_TRUE(editor.PressKey(VK_TAB));
    const DWORD start = GetTickCount();
    while (editor.FocusWindow() == before && GetTickCount() - start < 5000) Sleep(1);
    ASSERT_TRUE(editor.Sync());
    const HWND now = editor.FocusWindow();
    ASSERT_NE(now, before) << "Tab number " << press << " left the focus where it was";
    EXPECT_TRUE(IsWindowVisible(now)) << "Tab number " << press;
    EXPECT_FALSE(IsLed(now)) << "Tab number " << press;
    visited.push_back(now);
  }
  ASSERT_EQ(visited.size(), 14u) << "the cycle back to the frame line";
  EXPECT_EQ(visited[0], editor.ResetButton());
  EXPECT_EQ(visited[8], editor.EffectMemo());
  EXPECT_EQ(visited[9], effectLabel);
  EXPECT_EQ(visited[11], editor.SaveButton());
  EXPECT_EQ(visited[12], cubeImage);
  EXPECT_EQ(editor.MemoText(), kEffect) << "Tab passed through the effect text and typed nothing";
}

// --- Start, stress and exit

// The tooltips are made when the mouse first comes: each button's own hint still shows under a resting
// mouse, the first one and one made after it.
TEST_F(EditorProgram, AButtonsHintShowsWhenTheMouseRestsOnIt) {
  const struct {
    const char* Caption;
    const char* Hint;
  } buttons[] = {{"Экспорт…", "Экспорт эффекта: заголовок C, GIF или PNG (Ctrl+Shift+E)"},
                 {"Вид куба", "Показать или скрыть куб в перспективе (F11)"}};
  for (const auto& button : buttons) {
    HWND window = editor.ChildByText(button.Caption);
    ASSERT_NE(window, nullptr) << button.Caption;
    RECT client{};
    GetClientRect(window, &client);
    // A rest the system did not notice (a busy machine) is tried again from a point beside it.
    bool shown = false;
    for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
      ASSERT_TRUE(editor.HoverAt(window, client.right / 2 - attempt, client.bottom / 2)) << button.Caption;
      shown = editor.WaitTooltipShowing(button.Hint);
    }
    EXPECT_TRUE(shown) << "no hint over " << button.Caption;
  }
}

TEST(EditorProgramLife, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
  TEditorProcess editor;
  ASSERT_TRUE(editor.Start()) << editor.Error();
  ASSERT_TRUE(editor.ClickLed(7));
  ASSERT_TRUE(editor.Close());
  // Generous against a loaded machine; the benchmark reports how long it really takes.
  const std::optional<DWORD> code = editor.WaitExit(5000);
  ASSERT_TRUE(code.has_value()) << "still running after WM_CLOSE";
  EXPECT_EQ(*code, 0u);
}

TEST(EditorProgramLife, TwoProgramsInDifferentFoldersRunSideBySide) {
  TEditorProcess first;
  TEditorProcess second;
  ASSERT_TRUE(first.Start()) << first.Error();
  ASSERT_TRUE(second.Start()) << second.Error();
  ASSERT_NE(first.Window(), second.Window());
  ASSERT_NE(first.WorkDir(), second.WorkDir());
  ASSERT_TRUE(first.Close());
  EXPECT_EQ(first.WaitExit(5000), std::optional<DWORD>(0));
  EXPECT_TRUE(second.Running()) << "closing one program leaves the other alone";
}

TEST_F(EditorProgram, ClickStormOfTenThousandClicksKeepsTheProgramAliveAndInStep) {
  std::mt19937 random(9);
  std::uniform_int_distribution<int> led(1, e2e::kLedCount);
  constexpr int kClicks = 10000;
  constexpr int kBatch = 500;  // stays far below any posted-message queue limit
  for (int sent = 0; sent < kClicks;) {
    for (int i = 0; i < kBatch; ++i, ++sent) {
      const int n = led(random);
      ASSERT_TRUE(editor.PostClickLed(n)) << "post failed at click " << sent;
      lit.flip(n - 1);
    }
    ASSERT_TRUE(editor.WaitFrameText(FrameOf(lit), 30000)) << "after " << sent << " clicks";
  }
  EXPECT_TRUE(editor.Running());
  EXPECT_EQ(editor.FrameText(), FrameOf(lit));
  Click(1);
  EXPECT_EQ(editor.FrameText(), FrameOf(lit)) << "real clicks still work after the storm";
}

}  // namespace
