// TFrameTimer: one tick per arming through the message loop, a replaced or disarmed arming never
// ticks, and a tick already posted for an ended arming is dropped. No timing is asserted beyond
// "within a generous wait".
#include "platform/frame_timer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/tests/test_pump.h"

namespace {

struct Ticks {
  int count = 0;
  static void Proc(void* data, TObj*) { ++static_cast<Ticks*>(data)->count; }
};

// A timer whose ticks are counted.
class FrameTimer : public ::testing::Test {
 protected:
  FrameTimer() { timer.OnTick = {&Ticks::Proc, &ticks}; }

  Ticks ticks;
  TFrameTimer timer;
};

TEST_F(FrameTimer, AnArmingTicksExactlyOnce) {
  ASSERT_TRUE(timer.Arm(5));
  EXPECT_TRUE(timer.Armed());
  PumpFor(2000, [&] { return ticks.count > 0; });
  EXPECT_EQ(ticks.count, 1);
  EXPECT_FALSE(timer.Armed());
  PumpFor(100);
  EXPECT_EQ(ticks.count, 1) << "one-shot";
}

TEST_F(FrameTimer, ADisarmedTimerNeverTicks) {
  ASSERT_TRUE(timer.Arm(20));
  timer.Disarm();
  PumpFor(150);
  EXPECT_EQ(ticks.count, 0);
}

TEST_F(FrameTimer, ATickPostedBeforeADisarmIsDropped) {
  ASSERT_TRUE(timer.Arm(1));
  // The event fires and posts while no message is taken; the disarm comes before the post is read.
  Sleep(50);
  timer.Disarm();
  PumpFor(100);
  EXPECT_EQ(ticks.count, 0);
}

TEST_F(FrameTimer, ArmingAgainReplacesTheEarlierArming) {
  ASSERT_TRUE(timer.Arm(1));
  Sleep(50);  // the first arming's tick is posted by now
  ASSERT_TRUE(timer.Arm(30));
  PumpFor(2000, [&] { return ticks.count > 0; });
  EXPECT_EQ(ticks.count, 1);
  PumpFor(100);
  EXPECT_EQ(ticks.count, 1) << "the replaced arming's tick was dropped";
}

TEST_F(FrameTimer, ATimerDestroyedWhileArmedLeavesNoTickBehind) {
  {
    TFrameTimer doomed;
    doomed.OnTick = {&Ticks::Proc, &ticks};
    ASSERT_TRUE(doomed.Arm(1));
    Sleep(50);
  }
  PumpFor(100);
  EXPECT_EQ(ticks.count, 0);
}

}  // namespace
