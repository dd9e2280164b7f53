// Where a message box kept clear of a window goes: left of it where there is room, else below,
// right or above, and nowhere else when it covers nothing or no side has room.
#include "platform/message_box.h"

#include <gtest/gtest.h>

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

const RECT kScreen{0, 0, 1600, 1000};
const RECT kText{640, 400, 1250, 580};  // the effect text on the screen

TEST(MessageBoxBeside, ABoxOverTheTextGoesLeftOfItAtItsOwnHeight) {
  const RECT to = PlaceBeside({500, 300, 900, 450}, kText, kScreen);
  EXPECT_TRUE(Same(to, {232, 300, 632, 450})) << to.left << "," << to.top;
}

TEST(MessageBoxBeside, WithNoRoomOnTheLeftItGoesBelow) {
  const RECT to = PlaceBeside({500, 300, 1200, 450}, kText, kScreen);
  EXPECT_TRUE(Same(to, {500, 588, 1200, 738})) << to.left << "," << to.top;
}

TEST(MessageBoxBeside, ABoxThatCoversNothingOrFindsNoRoomStaysPut) {
  const RECT clear{100, 100, 400, 200};
  EXPECT_TRUE(Same(PlaceBeside(clear, kText, kScreen), clear));
  const RECT huge{0, 0, 1500, 950};
  EXPECT_TRUE(Same(PlaceBeside(huge, kText, kScreen), huge));
}

}  // namespace
