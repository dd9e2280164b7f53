#include "elements/cube_pattern_element.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>

#include "elements/tests/probe.h"

namespace {

using cube::TPattern;

// Followers of the pattern's owner, as the form subscribes them: 216 LED stand-ins (a state byte
// each and a repaint count) and the frame graph's stand-in, which records every batch it would
// bring in line (an LED's own change is carried on by its chain, not by the graph).
struct TCube {
  std::array<std::uint8_t, cube::kLedCount> states{};
  std::array<int, cube::kLedCount> repaints{};
  std::vector<TPattern> syncs;

  static void Follow(void* self, const cube::TPatternChange& change) {
    auto& cube = *static_cast<TCube*>(self);
    for (std::size_t i = 0; i < cube.states.size(); ++i) {
      if (!change.Changed.test(i)) continue;
      cube.states[i] = change.New.test(i) ? 1 : 0;
      ++cube.repaints[i];
    }
    if (!cube::ByLed(change.Cause)) cube.syncs.push_back(change.Changed);
  }

  TPattern Lit() const {
    TPattern p;
    for (std::size_t i = 0; i < states.size(); ++i) p.set(i, states[i] != 0);
    return p;
  }
  int RepaintCount() const {
    int total = 0;
    for (int r : repaints) total += r;
    return total;
  }
};

class CubePatternElementTest : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  TCube cube_;
  TQxCubePattern pattern;
  RecordingSink faults, userChanges, history;

  void SetUp() override {
    pattern.Subscribe({&TCube::Follow, &cube_});
    pattern.outFault = faults.Link();
    pattern.outUserChange = userChanges.Link();
    pattern.outHistory = history.Link();
  }

  template <auto Pin>
  void Str(const std::string& text) {
    TData d;
    MakeStr(&d, ByteString(text));
    Fire(MakeLink<Pin>(&pattern), &d);
  }
  template <auto Pin>
  void Int(std::int32_t value, std::uint16_t index = 0) {
    TData d;
    MakeInt(&d, value);
    Fire(MakeLink<Pin>(&pattern, index), &d);
  }
  template <auto Pin>
  void Empty() {
    TData d;
    Fire(MakeLink<Pin>(&pattern), &d);
  }
  std::string Frame() {
    TData d;
    TQx_Event link = MakeLink<&TQxCubePattern::getFrame>(&pattern);
    DeliverRead(&link, &d);
    return std::string(AsStr(&d).view());
  }
  // What a click does to LED i: the LED asks for its toggle.
  void Click(std::size_t i) {
    Int<&TQxCubePattern::inLedChange>(TQxCubePattern::lcToggle, static_cast<std::uint16_t>(i));
  }
  // What the reset does: every lit LED asks to go dark, in LED order.
  void Reset() {
    for (std::size_t i = 0; i < cube_.states.size(); ++i) {
      if (cube_.states[i] == 0) continue;
      Int<&TQxCubePattern::inLedChange>(TQxCubePattern::lcOff, static_cast<std::uint16_t>(i));
    }
  }
};

TEST_F(CubePatternElementTest, AFrameSetsOnlyTheChangedLedsAndSyncsTheGraphOnce) {
  Str<&TQxCubePattern::inFrame>("0,5,215,227");
  EXPECT_EQ(cube_.Lit(), TPattern().set(0).set(5).set(215));
  EXPECT_EQ(cube_.RepaintCount(), 3);
  ASSERT_EQ(cube_.syncs.size(), 1u);
  EXPECT_EQ(cube_.syncs[0], cube_.Lit());
  EXPECT_EQ(Frame(), "0,5,215,227");

  cube_.repaints.fill(0);
  Str<&TQxCubePattern::inFrame>("0,6,215,227");
  EXPECT_EQ(cube_.RepaintCount(), 2);
  EXPECT_EQ(cube_.repaints[5], 1);
  EXPECT_EQ(cube_.repaints[6], 1);
  ASSERT_EQ(cube_.syncs.size(), 2u);
  EXPECT_EQ(cube_.syncs[1], TPattern().set(5).set(6));
  EXPECT_TRUE(userChanges.received.empty());
}

TEST_F(CubePatternElementTest, TheSameFrameAgainRepaintsNothingButStillSetsTheFrameLine) {
  Str<&TQxCubePattern::inFrame>("3,227");
  cube_.repaints.fill(0);
  Str<&TQxCubePattern::inFrame>("3,227");
  EXPECT_EQ(cube_.RepaintCount(), 0);
  ASSERT_EQ(cube_.syncs.size(), 2u);
  EXPECT_TRUE(cube_.syncs[1].none());
  EXPECT_EQ(pattern.History().UndoCount(), 1u);  // no step for a change that changes nothing
}

TEST_F(CubePatternElementTest, AnInvalidFrameChangesNothingAndSaysWhy) {
  Str<&TQxCubePattern::inFrame>("1,227");
  for (const char* line : {"", "5,3,227", "1,2", "x", "216,227"}) {
    Str<&TQxCubePattern::inFrame>(line);
    Str<&TQxCubePattern::inShow>(line);
  }
  ASSERT_EQ(faults.received.size(), 10u);
  EXPECT_EQ(faults.received[2].StrValue, cube::FrameFaultText(cube::TFrameFault::NotAscending));
  EXPECT_EQ(faults.received[9].StrValue, cube::FrameFaultText(cube::TFrameFault::OutOfRange));
  EXPECT_EQ(cube_.Lit(), TPattern().set(1));
  EXPECT_EQ(cube_.syncs.size(), 1u);
  EXPECT_EQ(pattern.History().UndoCount(), 1u);
}

TEST_F(CubePatternElementTest, ShownFramesRecordNothingUntilSettled) {
  Str<&TQxCubePattern::inFrame>("1,227");  // the pattern before playback
  Str<&TQxCubePattern::inShow>("2,227");
  Str<&TQxCubePattern::inShow>("3,227");
  EXPECT_EQ(cube_.Lit(), TPattern().set(3));
  EXPECT_EQ(pattern.History().UndoCount(), 1u);
  Empty<&TQxCubePattern::inSettle>();
  Empty<&TQxCubePattern::inSettle>();  // the same again: no second step
  EXPECT_EQ(pattern.History().UndoCount(), 2u);
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(Frame(), "1,227");
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(Frame(), "227");
  Empty<&TQxCubePattern::inRedo>();
  Empty<&TQxCubePattern::inRedo>();
  EXPECT_EQ(Frame(), "3,227");
  EXPECT_EQ(cube_.Lit(), TPattern().set(3));
}

TEST_F(CubePatternElementTest, UndoDuringPlaybackGoesBackToThePatternBeforeIt) {
  Str<&TQxCubePattern::inFrame>("1,227");
  Str<&TQxCubePattern::inShow>("2,227");
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(Frame(), "1,227");
  Empty<&TQxCubePattern::inRedo>();
  EXPECT_EQ(Frame(), "2,227");
}

TEST_F(CubePatternElementTest, EachClickIsOneStep) {
  Click(4);
  Click(10);
  Click(4);
  EXPECT_EQ(pattern.Shown(), TPattern().set(10));
  EXPECT_EQ(userChanges.received.size(), 3u);
  EXPECT_TRUE(cube_.syncs.empty());  // the designed graph handles a click itself
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(4).set(10));
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(4));
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern());
  Empty<&TQxCubePattern::inRedo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(4));
}

TEST_F(CubePatternElementTest, AResetIsOneStepThatUndoBringsBack) {
  Str<&TQxCubePattern::inFrame>("0,7,100,215,227");
  Reset();
  EXPECT_EQ(pattern.Shown(), TPattern());
  EXPECT_EQ(pattern.History().UndoCount(), 2u);
  EXPECT_EQ(userChanges.received.size(), 1u);
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(Frame(), "0,7,100,215,227");
  EXPECT_EQ(cube_.Lit(), TPattern().set(0).set(7).set(100).set(215));
  Empty<&TQxCubePattern::inRedo>();
  EXPECT_EQ(cube_.Lit(), TPattern());
}

TEST_F(CubePatternElementTest, TwoResetsWithAClickBetweenAreTwoSteps) {
  Click(1);
  Click(2);
  Reset();
  Click(3);
  Reset();
  EXPECT_EQ(pattern.History().UndoCount(), 5u);
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(3));
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern());
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(1).set(2));
}

TEST_F(CubePatternElementTest, AResetAfterUndoIsANewStep) {
  Str<&TQxCubePattern::inFrame>("1,2,227");
  Reset();
  Empty<&TQxCubePattern::inUndo>();
  Reset();
  EXPECT_EQ(pattern.History().UndoCount(), 2u);
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(1).set(2));
}

TEST_F(CubePatternElementTest, EveryTransformCodeIsOneStepOfItsTransform) {
  using cube::TAxis;
  const TPattern start = TPattern().set(0).set(7).set(41).set(100).set(215);
  const struct {
    std::int32_t Code;
    TPattern Expected;
  } cases[] = {
      {TQxCubePattern::ctShiftXMinus, cube::Shift(start, TAxis::X, -1, false)},
      {TQxCubePattern::ctShiftXPlus, cube::Shift(start, TAxis::X, 1, false)},
      {TQxCubePattern::ctShiftYMinus, cube::Shift(start, TAxis::Y, -1, false)},
      {TQxCubePattern::ctShiftYPlus, cube::Shift(start, TAxis::Y, 1, false)},
      {TQxCubePattern::ctShiftZMinus, cube::Shift(start, TAxis::Z, -1, false)},
      {TQxCubePattern::ctShiftZPlus, cube::Shift(start, TAxis::Z, 1, false)},
      {TQxCubePattern::ctWrapShiftXMinus, cube::Shift(start, TAxis::X, -1, true)},
      {TQxCubePattern::ctWrapShiftXPlus, cube::Shift(start, TAxis::X, 1, true)},
      {TQxCubePattern::ctWrapShiftYMinus, cube::Shift(start, TAxis::Y, -1, true)},
      {TQxCubePattern::ctWrapShiftYPlus, cube::Shift(start, TAxis::Y, 1, true)},
      {TQxCubePattern::ctWrapShiftZMinus, cube::Shift(start, TAxis::Z, -1, true)},
      {TQxCubePattern::ctWrapShiftZPlus, cube::Shift(start, TAxis::Z, 1, true)},
      {TQxCubePattern::ctRotateZ, cube::RotateZ(start)},
      {TQxCubePattern::ctMirrorX, cube::Mirror(start, TAxis::X)},
      {TQxCubePattern::ctMirrorY, cube::Mirror(start, TAxis::Y)},
      {TQxCubePattern::ctMirrorZ, cube::Mirror(start, TAxis::Z)},
      {TQxCubePattern::ctInvert, cube::Invert(start)},
      {TQxCubePattern::ctLightAll, cube::AllLit()},
  };
  Str<&TQxCubePattern::inFrame>(cube::FormatFrame(start));
  for (const auto& c : cases) {
    userChanges.received.clear();
    Int<&TQxCubePattern::inTransform>(c.Code);
    EXPECT_EQ(cube_.Lit(), c.Expected) << "code " << c.Code;
    EXPECT_EQ(Frame(), cube::FormatFrame(c.Expected));
    EXPECT_EQ(userChanges.received.size(), 1u);
    Empty<&TQxCubePattern::inUndo>();
    EXPECT_EQ(cube_.Lit(), start) << "code " << c.Code;
  }
}

TEST_F(CubePatternElementTest, UnknownTransformCodesChangeNothing) {
  Str<&TQxCubePattern::inFrame>("1,227");
  for (std::int32_t code : {0, -1, 19, 100, 0x10001}) Int<&TQxCubePattern::inTransform>(code);
  EXPECT_EQ(cube_.Lit(), TPattern().set(1));
  EXPECT_EQ(pattern.History().UndoCount(), 1u);
  EXPECT_TRUE(userChanges.received.empty());
}

TEST_F(CubePatternElementTest, ReportsWhetherUndoAndRedoArePossible) {
  Click(1);                                                     // undo possible
  Empty<&TQxCubePattern::inUndo>();                             // redo only
  Empty<&TQxCubePattern::inRedo>();                             // undo only
  Int<&TQxCubePattern::inTransform>(TQxCubePattern::ctInvert);  // no change of the state: nothing
  Empty<&TQxCubePattern::inUndo>();                             // both
  ASSERT_EQ(history.received.size(), 4u);
  EXPECT_EQ(history.received[0].IntValue, 1);
  EXPECT_EQ(history.received[1].IntValue, 2);
  EXPECT_EQ(history.received[2].IntValue, 1);
  EXPECT_EQ(history.received[3].IntValue, 3);
}

TEST_F(CubePatternElementTest, UndoAndRedoWithNothingToDoChangeNothing) {
  Empty<&TQxCubePattern::inUndo>();
  Empty<&TQxCubePattern::inRedo>();
  EXPECT_TRUE(cube_.syncs.empty());
  EXPECT_TRUE(userChanges.received.empty());
  EXPECT_TRUE(history.received.empty());
}

// The LEDs start dark, as the owner does; they follow it from the first change on.
TEST_F(CubePatternElementTest, StartsDarkAndTellsTheLedsNothingBeforeTheFirstChange) {
  TQxCubePattern other;
  TCube followers;
  other.Subscribe({&TCube::Follow, &followers});
  EXPECT_EQ(other.Shown(), TPattern());
  EXPECT_EQ(followers.RepaintCount(), 0);
  FireEmpty(MakeLink<&TQxCubePattern::inUndo>(&other));
  EXPECT_EQ(followers.RepaintCount(), 0);
  FireInt(MakeLink<&TQxCubePattern::inLedChange>(&other, 9), TQxCubePattern::lcToggle);
  EXPECT_EQ(followers.Lit(), TPattern().set(9));
}

TEST_F(CubePatternElementTest, KeepsTheNewestStepsBeyondTheCapacity) {
  for (std::size_t k = 0; k < 300; ++k) Click(k % cube_.states.size());
  for (int k = 0; k < 300; ++k) Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(pattern.History().UndoCount(), 0u);
  // 300 - 256 clicks stay: LEDs 0..43 lit.
  TPattern expected;
  for (std::size_t i = 0; i < 300 - 256; ++i) expected.set(i);
  EXPECT_EQ(cube_.Lit(), expected);
}

// Stands for the player: a user change halts playback, which settles the frame on the cube.
struct SettlingPlayer : TQxObject {
  TQxCubePattern* pattern = nullptr;
  int halts = 0;
  void inHalt(TData*, std::uint16_t) {
    ++halts;
    FireEmpty(MakeLink<&TQxCubePattern::inSettle>(pattern));
  }
};

TEST_F(CubePatternElementTest, AResetDuringPlaybackIsOneStepThoughTheHaltSettlesInItsMidst) {
  SettlingPlayer player;
  player.pattern = &pattern;
  pattern.outUserChange = MakeLink<&SettlingPlayer::inHalt>(&player);
  Str<&TQxCubePattern::inFrame>("1,227");           // before playback
  Str<&TQxCubePattern::inShow>("0,7,100,215,227");  // a playback frame
  Reset();
  EXPECT_EQ(player.halts, 1);
  EXPECT_EQ(cube_.Lit(), TPattern());
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(0).set(7).set(100).set(215));
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(1));
}

TEST_F(CubePatternElementTest, AClickDuringPlaybackKeepsTheShownFrameAsAStep) {
  SettlingPlayer player;
  player.pattern = &pattern;
  pattern.outUserChange = MakeLink<&SettlingPlayer::inHalt>(&player);
  Str<&TQxCubePattern::inFrame>("1,227");
  Str<&TQxCubePattern::inShow>("2,227");
  Click(3);
  EXPECT_EQ(cube_.Lit(), TPattern().set(2).set(3));
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(2));
  Empty<&TQxCubePattern::inUndo>();
  EXPECT_EQ(cube_.Lit(), TPattern().set(1));
}

}  // namespace

// The view of the cube repaints on outChange: it must come for every change the LEDs show,
// playback and undo included, and never for one that changes nothing.
TEST(CubePatternChange, ComesForEveryShownChangeAndNeverForNone) {
  DeliveryOn delivery;
  TQxCubePattern pattern;
  RecordingSink changes;
  pattern.outChange = changes.Link();
  auto send = [&](auto pin, const char* text) {
    TData d;
    MakeStr(&d, ByteString(text));
    Fire(pin, &d);
  };
  send(MakeLink<&TQxCubePattern::inShow>(&pattern), "7,227");  // a played frame
  send(MakeLink<&TQxCubePattern::inShow>(&pattern), "7,227");  // the same again: no change
  send(MakeLink<&TQxCubePattern::inFrame>(&pattern), "7,8,227");
  send(MakeLink<&TQxCubePattern::inFrame>(&pattern), "bad");
  EXPECT_EQ(changes.received.size(), 2u);
  FireEmpty(MakeLink<&TQxCubePattern::inUndo>(&pattern));
  EXPECT_EQ(changes.received.size(), 3u);
  TData click;
  MakeInt(&click, TQxCubePattern::lcToggle);
  Fire(MakeLink<&TQxCubePattern::inLedChange>(&pattern, 100), &click);  // a click on LED 101
  EXPECT_EQ(changes.received.size(), 4u);
  TData reset;
  MakeInt(&reset, TQxCubePattern::lcOff);
  Fire(MakeLink<&TQxCubePattern::inLedChange>(&pattern, 50), &reset);  // the reset reaching a dark LED
  EXPECT_EQ(changes.received.size(), 4u);
}
