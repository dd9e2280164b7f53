// TQxTimer on a real timer: ticks through the message loop, start and stop, the automatic stop,
// and ticks that arrive while a tick is being handled. Counts and orders only, never timings.
#include "elements/timer_element.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "elements/tests/probe.h"
#include "platform/tests/test_pump.h"
#include "platform/timer.h"
#include "runtime/data.h"

namespace {

class TimerElement : public ::testing::Test {
 protected:
  void SetUp() override {
    EnableDelivery();
    element = new TQxTimer();
    element->outTimer = MakeLink<&TimerRecorder::onTimer>(&recorder);
    element->outStop = MakeLink<&TimerRecorder::onStop>(&recorder);
    element->SetInterval(20);
  }
  void TearDown() override {
    delete element;
    DisableDelivery();
  }
  // Counts the ticks that reach the element, before its own guard sees them.
  void CountArrivals() {
    element->Timer->SetOnTimer({[](void* data, TObj*) {
                                  auto* self = static_cast<TimerElement*>(data);
                                  ++self->arrivals;
                                  self->element->Tick();
                                },
                                this});
  }
  void Start() {
    TData value;
    element->inStart(&value, 0);
  }
  void Stop() {
    TData value;
    element->inStop(&value, 0);
  }
  TQxTimer* element = nullptr;
  TimerRecorder recorder;
  int arrivals = 0;
};

}  // namespace

TEST_F(TimerElement, IsCreatedStoppedWithOneSecondPeriod) {
  TQxTimer fresh;
  EXPECT_EQ(fresh.Pending, 0);
  EXPECT_FALSE(fresh.Timer->Enabled);
  EXPECT_EQ(fresh.Timer->Interval, 1000);
}

TEST_F(TimerElement, AutoStopThreeGivesThreeTicksThenOneStopThenNothing) {
  element->SetAutoStop(3);
  Start();
  PumpFor(5000, [&] { return recorder.log.find('S') != std::string::npos; });
  PumpFor(200);
  EXPECT_EQ(recorder.log, "TTTS");
  EXPECT_FALSE(element->Timer->Enabled);
}

TEST_F(TimerElement, StartReloadsTheCountAfterAnAutomaticStop) {
  element->SetAutoStop(2);
  Start();
  PumpFor(5000, [&] { return recorder.log == "TTS"; });
  Start();
  PumpFor(5000, [&] { return recorder.log == "TTSTTS"; });
  PumpFor(100);
  EXPECT_EQ(recorder.log, "TTSTTS");
}

TEST_F(TimerElement, AutoStopZeroRunsUntilStop) {
  element->SetAutoStop(0);
  Start();
  PumpFor(5000, [&] { return recorder.Ticks() >= 5; });
  ASSERT_GE(recorder.Ticks(), 5);
  EXPECT_EQ(recorder.log.find('S'), std::string::npos);
  Stop();
  const std::string atStop = recorder.log;
  EXPECT_EQ(atStop.back(), 'S');
  PumpFor(200);
  EXPECT_EQ(recorder.log, atStop);
}

TEST_F(TimerElement, StopFiresOutStopEvenWhenNotRunning) {
  Stop();
  EXPECT_EQ(recorder.log, "S");
  Stop();
  EXPECT_EQ(recorder.log, "SS");
}

TEST_F(TimerElement, EnablePropertyRunsAndStopsTheTimer) {
  element->SetEnable(1);
  PumpFor(5000, [&] { return recorder.Ticks() >= 2; });
  EXPECT_GE(recorder.Ticks(), 2);
  element->SetEnable(0);
  const std::string atStop = recorder.log;
  PumpFor(200);
  EXPECT_EQ(recorder.log, atStop);
  EXPECT_EQ(atStop.find('S'), std::string::npos);  // only inStop and the automatic stop fire outStop
}

TEST_F(TimerElement, TickArrivingWhileATickIsHandledIsDroppedWithoutQueueing) {
  CountArrivals();
  element->SetQueueTicks(0);
  recorder.duringTick = [&] {
    PumpFor(400, [&] { return arrivals >= 4; });  // the work behind outTimer lets messages in
    element->SetEnable(0);
  };
  element->SetEnable(1);
  PumpFor(5000, [&] { return !element->Timer->Enabled; });
  ASSERT_GE(arrivals, 2);
  EXPECT_EQ(recorder.Ticks(), 1);
  EXPECT_EQ(element->Pending, 0);
}

TEST_F(TimerElement, QueuedTicksAreHandledAfterwardsOncePerArrival) {
  CountArrivals();
  element->SetQueueTicks(1);
  int arrivedDuringTheFirst = 0;
  recorder.duringTick = [&] {
    PumpFor(400, [&] { return arrivals >= 4; });
    element->SetEnable(0);
    arrivedDuringTheFirst = arrivals - 1;
    EXPECT_EQ(recorder.Ticks(), 1);  // none handled inside the running tick
  };
  element->SetEnable(1);
  PumpFor(5000, [&] { return !element->Timer->Enabled; });
  ASSERT_GE(arrivedDuringTheFirst, 1);
  EXPECT_EQ(recorder.Ticks(), 1 + arrivedDuringTheFirst);
  EXPECT_EQ(element->Pending, 0);
}

TEST_F(TimerElement, TicksReachNobodyWhileDeliveryIsOff) {
  CountArrivals();
  DisableDelivery();
  element->SetEnable(1);
  PumpFor(5000, [&] { return arrivals >= 3; });
  EXPECT_GE(arrivals, 3);
  EXPECT_EQ(recorder.log, "");
}

TEST_F(TimerElement, DestroyingTheElementFreesItsTimer) {
  const std::int32_t before = TimerCount();
  auto* running = new TQxTimer();
  running->SetInterval(10);
  running->SetEnable(1);
  EXPECT_EQ(TimerCount(), before + 1);
  delete running;
  EXPECT_EQ(TimerCount(), before);
  PumpFor(100);  // no tick reaches the freed element
}
