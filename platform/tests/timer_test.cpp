// TTimer: ticks through the message loop, enabling and interval rules, and the shared hidden
// window's lifetime. Counts are asserted with generous bounds and orders, never exact timings.
#include "platform/timer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "platform/control.h"
#include "platform/tests/test_pump.h"

namespace {


struct TickCounter {
  int ticks = 0;
  TObj* lastSender = nullptr;
  static void Proc(void* data, TObj* sender) {
    auto* counter = static_cast<TickCounter*>(data);
    ++counter->ticks;
    counter->lastSender = sender;
  }
  TObjEvent Event() { return {&TickCounter::Proc, this}; }
};

// Records which of two timers ticked first.
struct FirstTick {
  TTimer* first = nullptr;
  static void Proc(void* data, TObj* sender) {
    auto* record = static_cast<FirstTick*>(data);
    if (record->first == nullptr) record->first = static_cast<TTimer*>(sender);
  }
};

}  // namespace

TEST(Timer, CreationBelowOneMillisecondGivesOneSecond) {
  TTimer* zero = CreateTimer(0);
  TTimer* negative = CreateTimer(-5);
  TTimer* given = CreateTimer(250);
  EXPECT_EQ(zero->Interval, 1000);
  EXPECT_EQ(negative->Interval, 1000);
  EXPECT_EQ(given->Interval, 250);
  EXPECT_FALSE(zero->Enabled);
  EXPECT_EQ(zero->TimerId, 0u);
  zero->Free();
  negative->Free();
  given->Free();
}

TEST(Timer, TicksArriveThroughTheMessageLoopAtAboutThePeriod) {
  TickCounter counter;
  TTimer* timer = CreateTimer(50);
  timer->SetOnTimer(counter.Event());
  timer->SetEnabled(true);
  EXPECT_NE(timer->TimerId, 0u);
  Sleep(200);
  EXPECT_EQ(counter.ticks, 0);  // nothing happens without the message loop
  PumpFor(1000);
  EXPECT_GE(counter.ticks, 3);
  EXPECT_LE(counter.ticks, 25);
  EXPECT_EQ(counter.lastSender, timer);
  timer->Free();
}

TEST(Timer, DisabledTimerIsSilentEvenWithAnExpiredPeriod) {
  TickCounter counter;
  TTimer* timer = CreateTimer(10);
  timer->SetOnTimer(counter.Event());
  timer->SetEnabled(true);
  Sleep(100);  // a period has passed, its WM_TIMER may be waiting
  timer->SetEnabled(false);
  EXPECT_EQ(timer->TimerId, 0u);
  PumpFor(200);
  EXPECT_EQ(counter.ticks, 0);
  timer->SetEnabled(false);  // disabling a stopped timer does nothing
  EXPECT_FALSE(timer->Enabled);
  timer->Free();
}

TEST(Timer, DestroyedTimerGetsNoTickFromAnExpiredPeriod) {
  TTimer* keeper = CreateTimer(1000);  // keeps the hidden window alive
  keeper->SetEnabled(true);
  TickCounter counter;
  TTimer* timer = CreateTimer(10);
  timer->SetOnTimer(counter.Event());
  timer->SetEnabled(true);
  Sleep(100);
  timer->Free();
  PumpFor(200);
  EXPECT_EQ(counter.ticks, 0);
  keeper->Free();
}

TEST(Timer, EnablingAnEnabledTimerDoesNotPostponeItsTick) {
  FirstTick record;
  TTimer* kept = CreateTimer(1000);
  TTimer* restarted = CreateTimer(1000);
  kept->SetOnTimer({&FirstTick::Proc, &record});
  restarted->SetOnTimer({&FirstTick::Proc, &record});
  kept->SetEnabled(true);
  restarted->SetEnabled(true);
  const UINT_PTR id = kept->TimerId;
  Sleep(500);
  kept->SetEnabled(true);  // nothing
  restarted->SetEnabled(false);
  restarted->SetEnabled(true);  // restarts: its tick comes a period from now
  EXPECT_EQ(kept->TimerId, id);
  PumpFor(5000, [&] { return record.first != nullptr; });
  EXPECT_EQ(record.first, kept);
  kept->Free();
  restarted->Free();
}

TEST(Timer, SameIntervalDoesNotRestartButANewOneDoes) {
  FirstTick record;
  TTimer* same = CreateTimer(1000);
  TTimer* changed = CreateTimer(1000);
  same->SetOnTimer({&FirstTick::Proc, &record});
  changed->SetOnTimer({&FirstTick::Proc, &record});
  same->SetEnabled(true);
  changed->SetEnabled(true);
  Sleep(500);
  same->SetInterval(1000);
  changed->SetInterval(1001);
  EXPECT_TRUE(changed->Enabled);
  EXPECT_EQ(changed->Interval, 1001);
  PumpFor(5000, [&] { return record.first != nullptr; });
  EXPECT_EQ(record.first, same);
  same->Free();
  changed->Free();
}

TEST(Timer, NewIntervalOfAStoppedTimerKeepsItStopped) {
  TTimer* timer = CreateTimer(100);
  timer->SetInterval(20);
  EXPECT_FALSE(timer->Enabled);
  EXPECT_EQ(timer->TimerId, 0u);
  timer->Free();
}

TEST(Timer, ShorterIntervalTakesEffectOnARunningTimer) {
  TickCounter counter;
  TTimer* timer = CreateTimer(60000);
  timer->SetOnTimer(counter.Event());
  timer->SetEnabled(true);
  timer->SetInterval(20);
  PumpFor(3000, [&] { return counter.ticks >= 2; });
  EXPECT_GE(counter.ticks, 2);
  timer->Free();
}

TEST(Timer, HandlerMayDestroyItsOwnTimer) {
  struct SelfFree {
    int ticks = 0;
    static void Proc(void* data, TObj* sender) {
      ++static_cast<SelfFree*>(data)->ticks;
      sender->Free();
    }
  } record;
  TTimer* timer = CreateTimer(10);
  timer->SetOnTimer({&SelfFree::Proc, &record});
  timer->SetEnabled(true);
  PumpFor(300);
  EXPECT_EQ(record.ticks, 1);
  EXPECT_EQ(TimerCount(), 0);
}

TEST(TimerWindow, LivesFromTheFirstEnablingToTheLastTimer) {
  ASSERT_EQ(TimerCount(), 0);
  EXPECT_EQ(TimerWindow, nullptr);
  TTimer* first = CreateTimer(1000);
  TTimer* second = CreateTimer(1000);
  EXPECT_EQ(TimerCount(), 2);
  EXPECT_EQ(TimerWindow, nullptr);  // made only when a timer is enabled
  first->SetEnabled(true);
  ASSERT_NE(TimerWindow, nullptr);
  const HWND window = TimerWindow->Handle;
  ASSERT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(IsMainWindow(TimerWindow));
  second->SetEnabled(true);
  EXPECT_EQ(TimerWindow->Handle, window);  // one window for all timers
  first->Free();
  EXPECT_NE(TimerWindow, nullptr);
  second->Free();
  EXPECT_EQ(TimerCount(), 0);
  EXPECT_EQ(TimerWindow, nullptr);
  EXPECT_FALSE(IsWindow(window));

  TickCounter counter;
  TTimer* again = CreateTimer(20);
  again->SetOnTimer(counter.Event());
  again->SetEnabled(true);
  ASSERT_NE(TimerWindow, nullptr);
  EXPECT_TRUE(IsWindow(TimerWindow->Handle));
  PumpFor(3000, [&] { return counter.ticks >= 1; });
  EXPECT_GE(counter.ticks, 1);
  again->Free();
  EXPECT_EQ(TimerWindow, nullptr);
}
