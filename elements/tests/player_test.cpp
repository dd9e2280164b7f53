#include "elements/player.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "elements/cube_pattern_element.h"
#include "elements/tests/probe.h"

namespace {

// A clock the test moves by hand, and a one-shot timer that only notes what it was asked.
struct FakeTime {
  std::int64_t now = 0;
  std::int32_t armedMs = -1;  // -1: not armed
  int arms = 0;
  static std::int64_t Now(void* self) { return static_cast<FakeTime*>(self)->now; }
  static void Arm(void* self, std::int32_t ms) {
    auto* t = static_cast<FakeTime*>(self);
    t->armedMs = ms;
    ++t->arms;
  }
  static void Disarm(void* self) { static_cast<FakeTime*>(self)->armedMs = -1; }
};

struct TextSource : TQxObject {
  ByteString text;
  void getText(TData* d, std::uint16_t) { MakeStr(d, text); }
};

// Collects the lines shown, the counters and the states.
struct Watch : TQxObject {
  std::vector<int> lines;
  std::vector<std::string> counters;
  std::vector<int> states;
  int noFrames = 0;
  void inLine(TData* d, std::uint16_t) { lines.push_back(AsInt(d)); }
  void inCounter(TData* d, std::uint16_t) { counters.emplace_back(AsStr(d).view()); }
  void inState(TData* d, std::uint16_t) { states.push_back(AsInt(d)); }
  void inNoFrames(TData*, std::uint16_t) { ++noFrames; }
};

cube::TPattern PatternOf(std::initializer_list<int> lit) {
  cube::TPattern p;
  for (int i : lit) p.set(static_cast<std::size_t>(i));
  return p;
}

class Player : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  FakeTime time;
  TextSource memo;
  Watch watch;
  TQxCubePattern pattern;  // without LEDs: its pattern alone tells what the cube would show
  TQxPlayer player;

  void SetUp() override {
    player.Clock = {&FakeTime::Now, &time};
    player.Timer = {&FakeTime::Arm, &FakeTime::Disarm, &time};
    player.dataText = MakeLink<&TextSource::getText>(&memo);
    player.dataFrame = MakeLink<&TQxCubePattern::getFrame>(&pattern);
    player.outShow = MakeLink<&TQxCubePattern::inShow>(&pattern);
    player.outSettle = MakeLink<&TQxCubePattern::inSettle>(&pattern);
    player.outLine = MakeLink<&Watch::inLine>(&watch);
    player.outCounter = MakeLink<&Watch::inCounter>(&watch);
    player.outState = MakeLink<&Watch::inState>(&watch);
    player.outNoFrames = MakeLink<&Watch::inNoFrames>(&watch);
    // Lines 0, 2, 3 and 5 are frames; 1 and 4 are not.
    memo.text = "0,227\r\nnot a frame\r\n1,227\r\n2,227\r\n\r\n3,227";
  }

  void Send(void (TQxPlayer::*pin)(TData*, std::uint16_t)) {
    TData d;
    (player.*pin)(&d, 0);
  }
  void Frame(const char* frame) {
    TData d;
    MakeStr(&d, frame);
    pattern.inFrame(&d, 0);
  }
  // Lets the fake time run to the armed deadline (plus `late` us) and delivers the tick.
  void TickWhenDue(std::int64_t late = 0) {
    ASSERT_GE(time.armedMs, 0) << "no tick was armed";
    time.now += std::int64_t{time.armedMs} * 1000 + late;
    time.armedMs = -1;
    Send(&TQxPlayer::inTick);
  }
};

TEST_F(Player, PlaysTheFrameLinesInOrderAndSkipsTheOthers) {
  Send(&TQxPlayer::inPlay);
  EXPECT_EQ(player.State(), TQxPlayer::psPlaying);
  EXPECT_EQ(time.armedMs, 98) << "the default rate, less the tick's lead";
  for (int i = 0; i < 3; ++i) TickWhenDue();
  EXPECT_EQ(watch.lines, (std::vector<int>{0, 2, 3, 5}));
  EXPECT_EQ(watch.counters.back(), TQxPlayer::CounterText(4, 4));
  EXPECT_EQ(pattern.Shown(), PatternOf({3}));
  EXPECT_EQ(pattern.History().UndoCount(), 0u) << "frames played record no step";
}

TEST_F(Player, WithoutLoopTheLastFrameKeepsItsTimeThenPlaybackPausesOnIt) {
  Send(&TQxPlayer::inPlay);
  for (int i = 0; i < 3; ++i) TickWhenDue();
  EXPECT_EQ(player.State(), TQxPlayer::psPlaying);
  TickWhenDue();
  EXPECT_EQ(player.State(), TQxPlayer::psPaused);
  EXPECT_EQ(pattern.Shown(), PatternOf({3}));
  EXPECT_EQ(pattern.History().UndoCount(), 1u) << "the frame it ended on is one step";
  Send(&TQxPlayer::inPlay);
  EXPECT_EQ(watch.lines.back(), 0) << "Play after the end starts over";
}

TEST_F(Player, WithLoopTheFirstFrameFollowsTheLast) {
  player.Loop = 1;
  Send(&TQxPlayer::inPlay);
  for (int i = 0; i < 5; ++i) TickWhenDue();
  EXPECT_EQ(watch.lines, (std::vector<int>{0, 2, 3, 5, 0, 2}));
  EXPECT_EQ(player.State(), TQxPlayer::psPlaying);
}

TEST_F(Player, ALateTickShowsTheLatestDueFrameAndKeepsTheGrid) {
  player.Loop = 1;
  Send(&TQxPlayer::inPlay);
  TickWhenDue(230000);  // frames 1 to 3 are due at once
  EXPECT_EQ(watch.lines, (std::vector<int>{0, 5})) << "frames 1 and 2 are skipped, not shown in a burst";
  EXPECT_EQ(time.armedMs, 70) << "the next deadline stays on the grid of the start";
  TickWhenDue(2500);  // a little late
  EXPECT_EQ(watch.lines.back(), 0);
  EXPECT_EQ(time.armedMs, 98);
}

TEST_F(Player, ATickWithinTwoMillisecondsOfTheDeadlineShowsTheFrameAnEarlierOneWaits) {
  Send(&TQxPlayer::inPlay);
  time.now += 97500;
  Send(&TQxPlayer::inTick);
  EXPECT_EQ(watch.lines.size(), 1u);
  EXPECT_EQ(time.armedMs, 1);
  time.now += 600;  // 1.9 ms before the deadline
  Send(&TQxPlayer::inTick);
  EXPECT_EQ(watch.lines.size(), 2u);
  EXPECT_EQ(time.armedMs, 100) << "the grid is kept: the next frame is due 101.9 ms from now";
}

TEST_F(Player, StopPutsBackThePatternTheCubeHadBeforePlay) {
  Frame("7,100,227");
  Send(&TQxPlayer::inPlay);
  TickWhenDue();
  Send(&TQxPlayer::inStop);
  EXPECT_EQ(player.State(), TQxPlayer::psStopped);
  EXPECT_EQ(pattern.Shown(), PatternOf({7, 100}));
  EXPECT_EQ(pattern.History().UndoCount(), 1u) << "only the frame set before Play";
  EXPECT_EQ(time.armedMs, -1) << "no tick left armed";
  EXPECT_EQ(watch.counters.back(), TQxPlayer::CounterText(0, 4));
}

TEST_F(Player, PauseRecordsTheShownFrameAndStopAfterItUndoesBackToIt) {
  Frame("7,227");
  Send(&TQxPlayer::inPlay);
  TickWhenDue();
  Send(&TQxPlayer::inPlay);  // pause on line 2
  EXPECT_EQ(player.State(), TQxPlayer::psPaused);
  EXPECT_EQ(time.armedMs, -1);
  EXPECT_EQ(pattern.History().UndoCount(), 2u);
  Send(&TQxPlayer::inStop);
  EXPECT_EQ(pattern.Shown(), PatternOf({7}));
  TData d;
  pattern.inUndo(&d, 0);
  EXPECT_EQ(pattern.Shown(), PatternOf({1})) << "the paused frame is a step of its own";
}

TEST_F(Player, PauseKeepsThePhaseOfTheFrame) {
  Send(&TQxPlayer::inPlay);
  time.now += 30000;
  Send(&TQxPlayer::inPlay);
  time.now += 5000000;
  Send(&TQxPlayer::inPlay);
  EXPECT_EQ(time.armedMs, 68) << "the rest of the frame's time, less the lead";
  TickWhenDue();
  EXPECT_EQ(watch.lines, (std::vector<int>{0, 2}));
}

TEST_F(Player, StepsMoveOneFrameAndRecordEachFrameTheyShow) {
  Send(&TQxPlayer::inForward);
  EXPECT_EQ(player.State(), TQxPlayer::psPaused);
  EXPECT_EQ(watch.lines, (std::vector<int>{0}));
  Send(&TQxPlayer::inForward);
  Send(&TQxPlayer::inForward);
  Send(&TQxPlayer::inBack);
  EXPECT_EQ(watch.lines, (std::vector<int>{0, 2, 3, 2}));
  EXPECT_EQ(pattern.History().UndoCount(), 4u);
  EXPECT_EQ(time.armedMs, -1) << "stepping never runs the timer";
}

TEST_F(Player, StepsStopAtTheEndsWithoutLoopAndWrapWithIt) {
  Send(&TQxPlayer::inBack);
  EXPECT_EQ(watch.lines, (std::vector<int>{5})) << "back from stopped starts at the last frame";
  Send(&TQxPlayer::inForward);
  EXPECT_EQ(watch.lines.size(), 1u);
  player.Loop = 1;
  Send(&TQxPlayer::inForward);
  EXPECT_EQ(watch.lines.back(), 0);
  Send(&TQxPlayer::inBack);
  EXPECT_EQ(watch.lines.back(), 5);
}

TEST_F(Player, AStepWhilePlayingPauses) {
  Send(&TQxPlayer::inPlay);
  Send(&TQxPlayer::inForward);
  EXPECT_EQ(player.State(), TQxPlayer::psPaused);
  EXPECT_EQ(watch.lines, (std::vector<int>{0, 2}));
  EXPECT_EQ(time.armedMs, -1);
}

TEST_F(Player, AHaltLeavesTheShownFrameRecordedAndEndsTheSession) {
  Frame("9,227");
  Send(&TQxPlayer::inPlay);
  TickWhenDue();
  Send(&TQxPlayer::inHalt);
  EXPECT_EQ(player.State(), TQxPlayer::psStopped);
  EXPECT_EQ(pattern.Shown(), PatternOf({1}));
  EXPECT_EQ(pattern.History().UndoCount(), 2u);
  EXPECT_EQ(time.armedMs, -1);
  Send(&TQxPlayer::inTick);  // a tick already on its way
  EXPECT_EQ(watch.lines.size(), 2u);
}

TEST_F(Player, AHaltForAChangedTextCountsItsFramesAnewWhetherPlayingOrNot) {
  TData changed;
  player.inHalt(&changed, 1);  // stopped: only the count
  EXPECT_EQ(player.State(), TQxPlayer::psStopped);
  EXPECT_EQ(watch.counters.back(), TQxPlayer::CounterText(0, 4));
  Send(&TQxPlayer::inPlay);
  memo.text = "";  // the clearing tick emptied the memo
  player.inHalt(&changed, 1);
  EXPECT_EQ(player.State(), TQxPlayer::psStopped);
  EXPECT_EQ(time.armedMs, -1);
  EXPECT_EQ(watch.counters.back(), TQxPlayer::CounterText(0, 0));
  memo.text = "bad\r\n5,227\r\n5,227\r\n";
  player.inHalt(&changed, 1);
  EXPECT_EQ(watch.counters.back(), TQxPlayer::CounterText(0, 2));
  const std::size_t reports = watch.counters.size();
  Send(&TQxPlayer::inHalt);  // a plain halt while stopped says nothing
  EXPECT_EQ(watch.counters.size(), reports);
}

TEST_F(Player, ACountAfterPlaybackBeganLeavesTheSessionAndItsCounterAlone) {
  // Typing paused, then Play came before the delayed count: the session already plays the new text.
  Send(&TQxPlayer::inPlay);
  const std::size_t reports = watch.counters.size();
  TData none;
  player.inCount(&none, 0);
  EXPECT_EQ(player.State(), TQxPlayer::psPlaying);
  EXPECT_NE(time.armedMs, -1);
  EXPECT_EQ(watch.counters.size(), reports);
  Send(&TQxPlayer::inStop);
  player.inCount(&none, 0);
  EXPECT_EQ(watch.counters.back(), TQxPlayer::CounterText(0, 4));
}

TEST_F(Player, APauseForABoxPausesOnlyARunningSession) {
  Send(&TQxPlayer::inPause);
  EXPECT_EQ(player.State(), TQxPlayer::psStopped);
  Send(&TQxPlayer::inPlay);
  TickWhenDue();
  Send(&TQxPlayer::inPause);
  EXPECT_EQ(player.State(), TQxPlayer::psPaused);
  EXPECT_EQ(time.armedMs, -1);
  EXPECT_EQ(pattern.History().UndoCount(), 1u) << "the paused frame is recorded";
  Send(&TQxPlayer::inPause);
  EXPECT_EQ(player.State(), TQxPlayer::psPaused);
  Send(&TQxPlayer::inPlay);  // Play goes on from the same frame
  EXPECT_EQ(player.State(), TQxPlayer::psPlaying);
  TickWhenDue();
  EXPECT_EQ(watch.lines, (std::vector<int>{0, 2, 3}));
}

TEST_F(Player, AClickOnAnLedWhilePlayingKeepsTheFrameAsItsOwnStepBeforeTheClick) {
  Frame("9,227");
  Send(&TQxPlayer::inPlay);
  TickWhenDue();  // shows 1,227
  pattern.outUserChange = MakeLink<&TQxPlayer::inHalt>(&player);
  TData click;  // LED 51 asks to be switched
  MakeInt(&click, TQxCubePattern::lcToggle);
  pattern.inLedChange(&click, 50);
  EXPECT_EQ(player.State(), TQxPlayer::psStopped);
  EXPECT_EQ(pattern.Shown(), PatternOf({1, 50}));
  TData d;
  pattern.inUndo(&d, 0);
  EXPECT_EQ(pattern.Shown(), PatternOf({1}));
  pattern.inUndo(&d, 0);
  EXPECT_EQ(pattern.Shown(), PatternOf({9}));
}

TEST_F(Player, ATextWithoutFramesStartsNothingAndSaysSo) {
  memo.text = "x\r\n\r\n1,1,227";
  Send(&TQxPlayer::inPlay);
  Send(&TQxPlayer::inForward);
  EXPECT_EQ(player.State(), TQxPlayer::psStopped);
  EXPECT_EQ(watch.noFrames, 2);
  EXPECT_TRUE(watch.lines.empty());
  EXPECT_EQ(time.arms, 0);
}

TEST_F(Player, TheRateIsClampedAndAppliesFromTheShownFrame) {
  TData d;
  MakeStr(&d, " 5 ");
  player.inRate(&d, 0);
  EXPECT_EQ(player.Rate, TQxPlayer::kMinRate);
  MakeInt(&d, 999999);
  player.inRate(&d, 0);
  EXPECT_EQ(player.Rate, TQxPlayer::kMaxRate);
  MakeStr(&d, "12a");
  player.inRate(&d, 0);
  EXPECT_EQ(player.Rate, TQxPlayer::kMaxRate) << "no number: the rate stays";
  MakeInt(&d, 50);
  player.inRate(&d, 0);
  Send(&TQxPlayer::inPlay);
  EXPECT_EQ(time.armedMs, 48);
  time.now += 20000;
  MakeInt(&d, 200);
  player.inRate(&d, 0);
  EXPECT_EQ(time.armedMs, 198) << "a whole new period from now";
}

TEST_F(Player, OnlyASettledRateIsReportedBack) {
  RecordingSink reported;
  player.outRate = reported.Link();
  TData d;
  MakeStr(&d, "5");
  player.inRate(&d, 0);  // typed on the way to "50"
  EXPECT_TRUE(reported.received.empty());
  MakeStr(&d, "50");
  player.inRate(&d, 0);
  EXPECT_EQ(player.Rate, 50);
  TData empty;
  player.inRate(&empty, 1);  // the field was left
  ASSERT_EQ(reported.received.size(), 1u);
  EXPECT_EQ(AsInt(&reported.received[0]), 50);
}

TEST_F(Player, LoopSwitchesOnAnEmptyValueAndIsSetByANumber) {
  TData d;
  player.inLoop(&d, 0);
  EXPECT_EQ(player.Loop, 1);
  player.inLoop(&d, 0);
  EXPECT_EQ(player.Loop, 0);
  MakeInt(&d, 5);
  player.inLoop(&d, 0);
  EXPECT_EQ(player.Loop, 1);
}

TEST_F(Player, StatesAreReportedOnceEachChange) {
  Send(&TQxPlayer::inPlay);
  Send(&TQxPlayer::inPlay);
  Send(&TQxPlayer::inPlay);
  Send(&TQxPlayer::inStop);
  Send(&TQxPlayer::inStop);
  EXPECT_EQ(watch.states, (std::vector<int>{1, 2, 1, 0}));
}

TEST_F(Player, AThousandFramesAtTwentyMillisecondsStayOnTheirDeadlines) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += std::to_string(i % 216) + ",227\r\n";
  memo.text = ByteString(text);
  TData d;
  MakeInt(&d, 20);
  player.inRate(&d, 0);
  const std::int64_t start = time.now;
  Send(&TQxPlayer::inPlay);
  // Ticks come up to 4 ms late; the next tick is still asked for a lead before start + (k + 1) *
  // 20 ms, whole ms up.
  for (int k = 1; k < 1000; ++k) {
    TickWhenDue((k * 7919) % 4000);
    ASSERT_EQ(player.Position(), static_cast<std::size_t>(k));
    const std::int64_t next = time.now + std::int64_t{time.armedMs} * 1000;
    const std::int64_t due = start + std::int64_t{k + 1} * 20000;
    ASSERT_GE(next, due - 2000);
    ASSERT_LT(next, due - 1000) << "frame " << k;
  }
}

}  // namespace

TEST_F(Player, AnAdoptedSplitIsPlayedOnlyWhileTheTextIsStillTheOneItWasMadeOf) {
  // Made by whoever wrote the text into the memo, before the text was edited there.
  player.Adopt(std::make_shared<const effect::TParsedEffect>(effect::ParseEffect("7,227\r\n8,227")));
  Send(&TQxPlayer::inPlay);
  EXPECT_EQ(pattern.Shown(), PatternOf({0})) << "the memo's own text plays, not a stale split";
  EXPECT_EQ(player.FrameCount(), 4u);
  Send(&TQxPlayer::inStop);
  memo.text = "7,227\r\n8,227";
  player.Adopt(std::make_shared<const effect::TParsedEffect>(effect::ParseEffect("7,227\r\n8,227")));
  Send(&TQxPlayer::inPlay);
  EXPECT_EQ(pattern.Shown(), PatternOf({7}));
  EXPECT_EQ(player.FrameCount(), 2u);
}
