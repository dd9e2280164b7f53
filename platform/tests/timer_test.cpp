// TTimer: ticks through the message loop, enabling and interval rules, and the shared hidden
// window's lifetime. Ticks are counted against the WM_TIMER messages dispatched, and timers only
// against each other; waits have generous bounds and no time is asserted (bench/window_bench
// measures the period).
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

// Waits for the next WM_TIMER of `timer` and takes it off the queue undispatched, so that the test
// decides when it is dispatched. False when none came within the (generous) bound.
bool TakeTimerMessage(const TTimer* timer, MSG& msg) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 5000) {
    if (PeekMessageA(&msg, TimerWindow->Handle, WM_TIMER, WM_TIMER, PM_REMOVE) &&
        msg.wParam == timer->TimerId)
      return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER);
  }
  return false;
}

// A 10 ms timer counted by `counter`, with one of its WM_TIMER messages in hand that is known to
// reach it: taken off the queue, then dispatched once while the timer runs.
class TimerMessageInHand : public ::testing::Test {
 protected:
  void SetUp() override {
    timer = CreateTimer(10);
    timer->SetOnTimer(counter.Event());
    timer->SetEnabled(true);
    ASSERT_NE(timer->TimerId, 0u);
    ASSERT_TRUE(TakeTimerMessage(timer, waiting));
    ASSERT_EQ(counter.ticks, 0);  // a period has passed, yet nothing happens without the loop
    DispatchMessageA(&waiting);
    ASSERT_EQ(counter.ticks, 1);
  }
  TickCounter counter;
  TTimer* timer = nullptr;
  MSG waiting{};
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

TEST_F(TimerMessageInHand, EveryTimerMessageDispatchedIsOneTick) {
  for (int i = 2; i <= 3; ++i) {
    DispatchMessageA(&waiting);
    EXPECT_EQ(counter.ticks, i);
  }
  EXPECT_EQ(counter.lastSender, timer);
  // The same through a loop that counts what it dispatches.
  int messages = 0;
  for (MSG next; messages < 3 && TakeTimerMessage(timer, next); ++messages) DispatchMessageA(&next);
  EXPECT_EQ(messages, 3);
  EXPECT_EQ(counter.ticks, 3 + messages);
  timer->Free();
}

TEST_F(TimerMessageInHand, DisabledTimerIsSilentForItsWaitingTimerMessage) {
  timer->SetEnabled(false);
  EXPECT_EQ(timer->TimerId, 0u);
  DispatchMessageA(&waiting);  // queued before the stop, dispatched after it
  PumpMessages();
  EXPECT_EQ(counter.ticks, 1);
  timer->SetEnabled(false);  // disabling a stopped timer does nothing
  EXPECT_FALSE(timer->Enabled);
  timer->Free();
}

TEST_F(TimerMessageInHand, DestroyedTimerGetsNoTickFromItsWaitingTimerMessage) {
  TTimer* keeper = CreateTimer(1000);  // keeps the hidden window alive
  keeper->SetEnabled(true);
  timer->Free();
  DispatchMessageA(&waiting);  // names the freed timer by its id
  PumpMessages();
  EXPECT_EQ(counter.ticks, 1);
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
  PumpFor(5000, [&] { return counter.ticks >= 2; });
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
  PumpFor(5000, [&] { return record.ticks >= 1; });
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
  PumpFor(5000, [&] { return counter.ticks >= 1; });
  EXPECT_GE(counter.ticks, 1);
  again->Free();
  EXPECT_EQ(TimerWindow, nullptr);
}
