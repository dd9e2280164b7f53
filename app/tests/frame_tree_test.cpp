#include "app/frame_tree.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using frame::kTree;

void CollectLeaves(const frame::Child& c, std::vector<int>& out) {
  if (c.IsLed) {
    out.push_back(c.Number);
    return;
  }
  CollectLeaves(kTree.Joins[c.Number].Left, out);
  CollectLeaves(kTree.Joins[c.Number].Right, out);
}

int FindJoin(int first, int last) {
  for (int j = 0; j < frame::kJoinCount; ++j) {
    if (kTree.Joins[j].First == first && kTree.Joins[j].Last == last) return j;
  }
  return -1;
}

frame::Child JoinChild(int first, int last) { return {false, FindJoin(first, last)}; }
frame::Child LedChild(int n) { return {true, n}; }

int First(const frame::Child& c) { return c.IsLed ? c.Number : kTree.Joins[c.Number].First; }
int Last(const frame::Child& c) { return c.IsLed ? c.Number : kTree.Joins[c.Number].Last; }

TEST(FrameTree, LeavesAreTheLedsInLedOrder) {
  std::vector<int> leaves;
  CollectLeaves({false, frame::kRootJoin}, leaves);
  ASSERT_EQ(leaves.size(), 216u);
  for (int n = 1; n <= 216; ++n) EXPECT_EQ(leaves[n - 1], n);
}

TEST(FrameTree, RootCoversAllLedsAndHasNoParent) {
  EXPECT_EQ(kTree.Joins[frame::kRootJoin].First, 1);
  EXPECT_EQ(kTree.Joins[frame::kRootJoin].Last, 216);
  EXPECT_EQ(kTree.Joins[frame::kRootJoin].Parent, -1);
}

TEST(FrameTree, LedDepthsAreEightSevenAndSix) {
  for (int n = 1; n <= 216; ++n) {
    int depth = 1;
    for (int j = kTree.Leds[n].Parent; kTree.Joins[j].Parent >= 0; j = kTree.Joins[j].Parent) ++depth;
    const int expected = n <= 192 ? 8 : n <= 208 ? 7 : 6;
    EXPECT_EQ(depth, expected) << "LED " << n;
  }
}

TEST(FrameTree, UnevenNodesSplitAtTheirLargestPowerOfTwo) {
  EXPECT_EQ(kTree.Joins[FindJoin(1, 216)].Left, JoinChild(1, 128));
  EXPECT_EQ(kTree.Joins[FindJoin(1, 216)].Right, JoinChild(129, 216));
  EXPECT_EQ(kTree.Joins[FindJoin(129, 216)].Left, JoinChild(129, 192));
  EXPECT_EQ(kTree.Joins[FindJoin(129, 216)].Right, JoinChild(193, 216));
  EXPECT_EQ(kTree.Joins[FindJoin(193, 216)].Left, JoinChild(193, 208));
  EXPECT_EQ(kTree.Joins[FindJoin(193, 216)].Right, JoinChild(209, 216));
}

TEST(FrameTree, EveryOtherNodeSplitsIntoHalves) {
  const std::set<std::pair<int, int>> uneven{{1, 216}, {129, 216}, {193, 216}};
  for (const frame::Join& join : kTree.Joins) {
    if (uneven.count({join.First, join.Last})) continue;
    const int n = join.Last - join.First + 1;
    EXPECT_EQ(n & (n - 1), 0) << join.First << ".." << join.Last;
    EXPECT_EQ(Last(join.Left) - First(join.Left) + 1, n / 2) << join.First << ".." << join.Last;
  }
  EXPECT_EQ(kTree.Joins[FindJoin(1, 128)].Left, JoinChild(1, 64));
  EXPECT_EQ(kTree.Joins[FindJoin(1, 128)].Right, JoinChild(65, 128));
  EXPECT_EQ(kTree.Joins[FindJoin(1, 2)].Left, LedChild(1));
  EXPECT_EQ(kTree.Joins[FindJoin(1, 2)].Right, LedChild(2));
  EXPECT_EQ(kTree.Joins[FindJoin(209, 216)].Left, JoinChild(209, 212));
}

TEST(FrameTree, ChildrenTileTheirParentsRangeAndPointBackWithTheirSide) {
  for (int j = 0; j < frame::kJoinCount; ++j) {
    const frame::Join& join = kTree.Joins[j];
    EXPECT_EQ(First(join.Left), join.First);
    EXPECT_EQ(Last(join.Left) + 1, First(join.Right));
    EXPECT_EQ(Last(join.Right), join.Last);
    for (int side = 0; side < 2; ++side) {
      const frame::Child& c = side == 0 ? join.Left : join.Right;
      const int parent = c.IsLed ? kTree.Leds[c.Number].Parent : kTree.Joins[c.Number].Parent;
      const int childSide = c.IsLed ? kTree.Leds[c.Number].Side : kTree.Joins[c.Number].Side;
      EXPECT_EQ(parent, j);
      EXPECT_EQ(childSide, side);
    }
  }
}

TEST(FrameTree, EveryRangeIsOneNodeOnly) {
  std::set<std::pair<int, int>> ranges;
  for (const frame::Join& join : kTree.Joins) ranges.insert({join.First, join.Last});
  EXPECT_EQ(ranges.size(), 215u);
}

TEST(FrameTree, OddAndEvenLedsAreLeftAndRightChildrenOfTheirPairs) {
  for (int n = 1; n <= 216; ++n) {
    EXPECT_EQ(kTree.Leds[n].Side, (n - 1) % 2) << "LED " << n;
    const frame::Join& pair = kTree.Joins[kTree.Leds[n].Parent];
    EXPECT_EQ(pair.Last - pair.First, 1) << "LED " << n;
  }
}

TEST(ResetFanOut, LedHubsCoverEveryLedInOrderWithinTheirOutputs) {
  int next = 1;
  for (const frame::ResetLedHub& hub : frame::kResetLedHubs) {
    EXPECT_EQ(hub.First, next);
    EXPECT_LE(hub.Last - hub.First + 1, frame::kResetLedHubOutCount);
    next = hub.Last + 1;
  }
  EXPECT_EQ(next, 217);
  EXPECT_EQ(frame::kResetLedHubs[6].Last - frame::kResetLedHubs[6].First + 1, 24);
}

TEST(ResetFanOut, GroupsFeedConsecutiveLedHubsOverTheirRange) {
  int nextHub = 0;
  for (const frame::ResetGroup& g : frame::kResetGroups) {
    EXPECT_EQ(g.FirstLedHub, nextHub);
    EXPECT_LE(g.LedHubCount, g.OutCount);
    EXPECT_EQ(frame::kResetLedHubs[g.FirstLedHub].First, g.First);
    EXPECT_EQ(frame::kResetLedHubs[g.FirstLedHub + g.LedHubCount - 1].Last, g.Last);
    nextHub += g.LedHubCount;
  }
  EXPECT_EQ(nextHub, 7);
  EXPECT_EQ(frame::kResetGroups[1].OutCount, 4);  // output 3 of ResetHub129_216 stays unconnected
}

TEST(FrameCounts, FrameStringPartHasItsShareOfTheEditor) {
  EXPECT_EQ(frame::kResetHubCount, 10);
  EXPECT_EQ(frame::kResetLinkCount, 226);
  EXPECT_EQ(frame::kElementCount, 1090);
  EXPECT_EQ(frame::kLinkCount, 2600);
  // With the 231 visual elements, the 5 non-visual elements and 9 links of effect recording.
  EXPECT_EQ(frame::kElementCount + 231 + 5, 1326);
  EXPECT_EQ(frame::kLinkCount + 9, 2609);
}

}  // namespace
