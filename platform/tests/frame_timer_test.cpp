// TFrameTimer: one tick per arming through the message loop, a replaced or disarmed arming never
// ticks, and a tick already posted for an ended arming is dropped. No timing is asserted: a tick
// that must not come is checked once a later sentinel arming has ticked, and a tick "posted by now"
// is waited for in the queue.
#include "platform/frame_timer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "platform/tests/test_pump.h"

namespace {

struct Ticks {
  int count = 0;
  static void Proc(void* data, TObj*) { ++static_cast<Ticks*>(data)->count; }
};

// Waits, with a generous bound, until a posted message (a fired arming's tick) is in this thread's
// queue, without taking it.
bool WaitForPostedTick() {
  const DWORD start = GetTickCount();
  while (!(HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE)) {
    if (GetTickCount() - start > 5000) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_POSTMESSAGE, MWMO_INPUTAVAILABLE);
  }
  return true;
}

// A timer whose ticks are counted, and a sentinel armed later: once the sentinel has ticked, any
// tick of an earlier arming would have come too.
class FrameTimer : public ::testing::Test {
 protected:
  FrameTimer() {
    PumpMessages();  // nothing an earlier test posted may pass for a tick
    timer.OnTick = {&Ticks::Proc, &ticks};
    sentinel.OnTick = {&Ticks::Proc, &sentinelTicks};
  }

  void PumpUntilTheSentinelTicks(std::int32_t ms) {
    ASSERT_TRUE(sentinel.Arm(ms));
    PumpFor(5000, [&] { return sentinelTicks.count > 0; });
    ASSERT_EQ(sentinelTicks.count, 1);
  }

  Ticks ticks;
  Ticks sentinelTicks;
  TFrameTimer timer;
  TFrameTimer sentinel;
};

TEST_F(FrameTimer, AnArmingTicksExactlyOnce) {
  ASSERT_TRUE(timer.Arm(5));
  EXPECT_TRUE(timer.Armed());
  PumpFor(2000, [&] { return ticks.count > 0; });
  EXPECT_EQ(ticks.count, 1);
  EXPECT_FALSE(timer.Armed());
  PumpUntilTheSentinelTicks(30);
  EXPECT_EQ(ticks.count, 1) << "one-shot";
}

TEST_F(FrameTimer, ADisarmedTimerNeverTicks) {
  ASSERT_TRUE(timer.Arm(20));
  timer.Disarm();
  PumpUntilTheSentinelTicks(40);
  EXPECT_EQ(ticks.count, 0);
}

TEST_F(FrameTimer, ATickPostedBeforeADisarmIsDropped) {
  ASSERT_TRUE(timer.Arm(1));
  // The event fires and posts while no message is taken; the disarm comes before the post is read.
  ASSERT_TRUE(WaitForPostedTick());
  timer.Disarm();
  PumpUntilTheSentinelTicks(1);
  EXPECT_EQ(ticks.count, 0);
}

TEST_F(FrameTimer, ArmingAgainReplacesTheEarlierArming) {
  ASSERT_TRUE(timer.Arm(1));
  ASSERT_TRUE(WaitForPostedTick());  // the first arming's tick waits in the queue
  ASSERT_TRUE(timer.Arm(30));
  PumpFor(2000, [&] { return ticks.count > 0; });
  EXPECT_EQ(ticks.count, 1);
  PumpUntilTheSentinelTicks(1);
  EXPECT_EQ(ticks.count, 1) << "the replaced arming's tick was dropped";
}

TEST_F(FrameTimer, ATimerDestroyedWhileArmedLeavesNoTickBehind) {
  {
    TFrameTimer doomed;
    doomed.OnTick = {&Ticks::Proc, &ticks};
    ASSERT_TRUE(doomed.Arm(1));
    ASSERT_TRUE(WaitForPostedTick());
  }
  PumpUntilTheSentinelTicks(1);
  EXPECT_EQ(ticks.count, 0);
}

}  // namespace
