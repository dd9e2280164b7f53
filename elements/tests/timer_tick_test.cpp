// The timer element's tick algorithm: automatic stop, and ticks that arrive while one is handled.
#include "elements/timer_tick.h"

#include <gtest/gtest.h>

#include <string>

#include "elements/tests/probe.h"
#include "runtime/data.h"

namespace {

// Stands in for the element: the same fields, with a recorder on both outputs.
struct FakeTimer {
  std::int32_t Pending = 0;
  std::int32_t Remaining = 0;
  std::uint8_t QueueTicks = 0;
  TQx_Event outTimer;
  TQx_Event outStop;
  bool running = true;
  void DisableTimer() { running = false; }
};

class TimerTick : public ::testing::Test {
 protected:
  void SetUp() override {
    EnableDelivery();
    timer.outTimer = MakeLink<&TimerRecorder::onTimer>(&recorder);
    timer.outStop = MakeLink<&TimerRecorder::onStop>(&recorder);
  }
  void TearDown() override { DisableDelivery(); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) HandleTimerTick(timer);
  }
  FakeTimer timer;
  TimerRecorder recorder;
};

}  // namespace

TEST_F(TimerTick, AutoStopThreeGivesThreeTicksThenOneStop) {
  timer.Remaining = 3;
  Ticks(3);
  EXPECT_EQ(recorder.log, "TTTS");
  EXPECT_FALSE(timer.running);
  EXPECT_EQ(timer.Pending, 0);
}

TEST_F(TimerTick, AutoStopZeroNeverStops) {
  timer.Remaining = 0;
  Ticks(50);
  EXPECT_EQ(recorder.log, std::string(50, 'T'));
  EXPECT_TRUE(timer.running);
  EXPECT_LT(timer.Remaining, 0);
}

TEST_F(TimerTick, TickArrivingDuringATickIsDroppedWithoutQueueing) {
  timer.Remaining = -1;
  timer.QueueTicks = 0;
  recorder.duringTick = [&] { Ticks(2); };
  Ticks(1);
  EXPECT_EQ(recorder.log, "T");
  EXPECT_EQ(timer.Pending, 0);
  Ticks(1);  // the guard is released: the next tick is handled again
  EXPECT_EQ(recorder.log, "TT");
}

TEST_F(TimerTick, QueuedTicksAreHandledAfterwardsOncePerArrival) {
  timer.Remaining = -1;
  timer.QueueTicks = 1;
  recorder.duringTick = [&] {
    Ticks(2);
    EXPECT_EQ(recorder.log, "T");  // not handled inside the running tick
  };
  Ticks(1);
  EXPECT_EQ(recorder.log, "TTT");
  EXPECT_EQ(timer.Pending, 0);
}

TEST_F(TimerTick, AutomaticStopDiscardsQueuedTicks) {
  timer.Remaining = 2;
  timer.QueueTicks = 1;
  Ticks(1);
  recorder.duringTick = [&] { Ticks(3); };
  Ticks(1);
  EXPECT_EQ(recorder.log, "TTS");
  EXPECT_EQ(timer.Pending, 0);
}

TEST_F(TimerTick, NothingIsDeliveredWhileDeliveryIsOff) {
  DisableDelivery();
  timer.Remaining = 1;
  Ticks(1);
  EXPECT_EQ(recorder.log, "");
  EXPECT_FALSE(timer.running);  // the stop itself still happens
}
