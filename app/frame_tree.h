// The shape of the frame-string graph as constant tables: the merge tree that joins the 216 LED
// texts in LED order, the reset fan-out that reaches every LED in LED order, and the element and
// link counts that follow from them. Pure data: never creates elements or includes window headers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace frame {

inline constexpr int kLedCount = 216;
inline constexpr int kJoinCount = kLedCount - 1;  // inner nodes of a binary tree over the LEDs

// The tables number LEDs from 1 and give the root the parent -1, so their numbers are int; an array
// position is a size_t. This is the one conversion between them, for numbers already known not to be -1.
constexpr std::size_t Slot(int number) { return static_cast<std::size_t>(number); }

// A child of a join node: either the text element of one LED or another join node.
struct Child {
  bool IsLed = false;
  int Number = 0;  // LED number 1..216, or join index 0..214
  friend constexpr bool operator==(const Child&, const Child&) = default;
};

// JoinA_B: A = First, B = Last. Joins are numbered in pre-order, so the root is join 0.
struct Join {
  int First = 0;
  int Last = 0;
  Child Left;
  Child Right;
  int Parent = -1;  // -1 for the root
  int Side = 0;     // 0 left child of Parent, 1 right child; the hub input it arrives on
};

// Where a child's text goes: the parent join and the hub input (0 left, 1 right).
struct Place {
  int Parent = -1;
  int Side = 0;
};

struct Tree {
  std::array<Join, kJoinCount> Joins{};
  std::array<Place, kLedCount + 1> Leds{};  // indexed by LED number; entry 0 unused

  constexpr Join& JoinAt(int join) { return Joins[Slot(join)]; }
  constexpr const Join& JoinAt(int join) const { return Joins[Slot(join)]; }
  constexpr Place& LedAt(int led) { return Leds[Slot(led)]; }
  constexpr const Place& LedAt(int led) const { return Leds[Slot(led)]; }
};

// The left part of a range of n > 1 LEDs: a power of two is halved, any other n gives its largest
// power of two below n to the left (216 = 128 + 88, 88 = 64 + 24, 24 = 16 + 8).
constexpr int LeftSize(int n) {
  int p = 1;
  while (p * 2 < n) p *= 2;
  return p;
}

namespace detail {
struct Builder {
  Tree tree;
  int next = 0;
  constexpr Child Make(int first, int last, int parent, int side) {
    if (first == last) {
      tree.LedAt(first) = {parent, side};
      return {true, first};
    }
    const int self = next++;
    Join& join = tree.JoinAt(self);
    join.First = first;
    join.Last = last;
    join.Parent = parent;
    join.Side = side;
    const int split = first + LeftSize(last - first + 1);
    const Child left = Make(first, split - 1, self, 0);
    const Child right = Make(split, last, self, 1);
    tree.JoinAt(self).Left = left;
    tree.JoinAt(self).Right = right;
    return {false, self};
  }
};
}  // namespace detail

constexpr Tree MakeTree() {
  detail::Builder b;
  b.Make(1, kLedCount, -1, 0);
  return b.tree;
}

inline constexpr Tree kTree = MakeTree();
inline constexpr int kRootJoin = 0;

// --- the shape of kTree, checked where it is built: a wrong table does not compile
namespace detail {
constexpr int FirstOf(const Child& c) { return c.IsLed ? c.Number : kTree.JoinAt(c.Number).First; }
constexpr int LastOf(const Child& c) { return c.IsLed ? c.Number : kTree.JoinAt(c.Number).Last; }
constexpr Place PlaceOf(const Child& c) {
  return c.IsLed ? kTree.LedAt(c.Number) : Place{kTree.JoinAt(c.Number).Parent, kTree.JoinAt(c.Number).Side};
}
// The node over LEDs first..last: the LED itself, or the join of that range (number -1: none).
constexpr Child NodeOf(int first, int last) {
  if (first == last) return {true, first};
  for (int j = 0; j < kJoinCount; ++j)
    if (kTree.JoinAt(j).First == first && kTree.JoinAt(j).Last == last) return {false, j};
  return {false, -1};
}
constexpr bool SplitsAt(int first, int last, int leftLast) {
  const Child node = NodeOf(first, last);
  return node.Number >= 0 && kTree.JoinAt(node.Number).Left == NodeOf(first, leftLast) &&
         kTree.JoinAt(node.Number).Right == NodeOf(leftLast + 1, last);
}
// The next LED an in-order walk from `c` expects after its leaves, or -1 once one was out of order.
constexpr int WalkLeaves(const Child& c, int next) {
  if (next < 0) return -1;
  if (c.IsLed) return c.Number == next ? next + 1 : -1;
  return WalkLeaves(kTree.JoinAt(c.Number).Right, WalkLeaves(kTree.JoinAt(c.Number).Left, next));
}
// Joins from the LED's pair up to the root, both counted.
constexpr int DepthOf(int led) {
  int depth = 1;
  for (int j = kTree.LedAt(led).Parent; kTree.JoinAt(j).Parent >= 0; j = kTree.JoinAt(j).Parent) ++depth;
  return depth;
}
constexpr bool LedDepthsAreEightSevenAndSix() {
  for (int n = 1; n <= kLedCount; ++n)
    if (DepthOf(n) != (n <= 192 ? 8 : n <= 208 ? 7 : 6)) return false;
  return true;
}
constexpr bool IsUneven(const Join& join) {
  return join.Last == kLedCount && (join.First == 1 || join.First == 129 || join.First == 193);
}
constexpr bool EveryOtherJoinSplitsIntoHalves() {
  for (const Join& join : kTree.Joins) {
    const int n = join.Last - join.First + 1;
    if (!IsUneven(join) && ((n & (n - 1)) != 0 || LastOf(join.Left) - FirstOf(join.Left) + 1 != n / 2))
      return false;
  }
  return true;
}
constexpr bool ChildrenTileTheirParentAndPointBackWithTheirSide() {
  for (int j = 0; j < kJoinCount; ++j) {
    const Join& join = kTree.JoinAt(j);
    if (FirstOf(join.Left) != join.First || LastOf(join.Left) + 1 != FirstOf(join.Right) ||
        LastOf(join.Right) != join.Last)
      return false;
    if (PlaceOf(join.Left).Parent != j || PlaceOf(join.Left).Side != 0 || PlaceOf(join.Right).Parent != j ||
        PlaceOf(join.Right).Side != 1)
      return false;
  }
  return true;
}
constexpr bool EveryRangeIsOneJoinOnly() {
  for (int a = 0; a < kJoinCount; ++a)
    for (int b = a + 1; b < kJoinCount; ++b)
      if (kTree.JoinAt(a).First == kTree.JoinAt(b).First && kTree.JoinAt(a).Last == kTree.JoinAt(b).Last)
        return false;
  return true;
}
constexpr bool OddAndEvenLedsAreLeftAndRightOfTheirPairs() {
  for (int n = 1; n <= kLedCount; ++n) {
    const Join& pair = kTree.JoinAt(kTree.LedAt(n).Parent);
    if (kTree.LedAt(n).Side != (n - 1) % 2 || pair.Last - pair.First != 1) return false;
  }
  return true;
}
}  // namespace detail

static_assert(detail::WalkLeaves({false, kRootJoin}, 1) == kLedCount + 1,
              "the leaves are the LEDs in LED order");
static_assert(kTree.JoinAt(kRootJoin).First == 1 && kTree.JoinAt(kRootJoin).Last == kLedCount &&
                  kTree.JoinAt(kRootJoin).Parent == -1,
              "the root covers every LED and has no parent");
static_assert(detail::LedDepthsAreEightSevenAndSix());
static_assert(detail::SplitsAt(1, 216, 128) && detail::SplitsAt(129, 216, 192) &&
                  detail::SplitsAt(193, 216, 208),
              "an uneven range splits at its largest power of two");
static_assert(detail::EveryOtherJoinSplitsIntoHalves());
static_assert(detail::SplitsAt(1, 128, 64) && detail::SplitsAt(1, 2, 1) && detail::SplitsAt(209, 216, 212));
static_assert(detail::ChildrenTileTheirParentAndPointBackWithTheirSide());
static_assert(detail::EveryRangeIsOneJoinOnly());
static_assert(detail::OddAndEvenLedsAreLeftAndRightOfTheirPairs());

// --- reset fan-out: ResetHub -> two group hubs -> seven LED-level hubs -> inOff of every LED.
struct ResetLedHub {
  int First = 0;  // ResetHubA_B: output i reaches LED First + i
  int Last = 0;
};
struct ResetGroup {
  int First = 0;  // ResetHubA_B over the LEDs of its LED-level hubs
  int Last = 0;
  int OutCount = 0;  // may exceed the hubs it feeds; the extra outputs stay unconnected
  int FirstLedHub = 0;
  int LedHubCount = 0;
};

inline constexpr int kResetRootOutCount = 2;
inline constexpr int kResetLedHubOutCount = 32;
inline constexpr std::array<ResetGroup, 2> kResetGroups{{
    {1, 128, 4, 0, 4},
    {129, 216, 4, 4, 3},
}};
inline constexpr std::array<ResetLedHub, 7> kResetLedHubs{{
    {1, 32},
    {33, 64},
    {65, 96},
    {97, 128},
    {129, 160},
    {161, 192},
    {193, 216},
}};
inline constexpr int kResetHubCount = 1 + static_cast<int>(kResetGroups.size() + kResetLedHubs.size());

namespace detail {
// The LED-level hubs reach LEDs 1..216 in order, none with more LEDs than outputs.
constexpr bool LedHubsCoverEveryLedInOrder() {
  int next = 1;
  for (const ResetLedHub& hub : kResetLedHubs) {
    if (hub.First != next || hub.Last - hub.First + 1 > kResetLedHubOutCount) return false;
    next = hub.Last + 1;
  }
  return next == kLedCount + 1;
}
// Each group feeds the LED-level hubs that follow the previous group's, over exactly its range.
constexpr bool GroupsFeedConsecutiveLedHubsOverTheirRange() {
  int nextHub = 0;
  for (const ResetGroup& g : kResetGroups) {
    if (g.FirstLedHub != nextHub || g.LedHubCount > g.OutCount) return false;
    if (kResetLedHubs[Slot(g.FirstLedHub)].First != g.First ||
        kResetLedHubs[Slot(g.FirstLedHub + g.LedHubCount - 1)].Last != g.Last)
      return false;
    nextHub += g.LedHubCount;
  }
  return nextHub == static_cast<int>(kResetLedHubs.size());
}
}  // namespace detail

static_assert(detail::LedHubsCoverEveryLedInOrder());
static_assert(kResetLedHubs[6].Last - kResetLedHubs[6].First + 1 == 24);
static_assert(detail::GroupsFeedConsecutiveLedHubsOverTheirRange());
static_assert(kResetGroups[1].OutCount == 4, "output 3 of ResetHub129_216 stays unconnected");
static_assert(kResetHubCount == 10);

// --- counts of the frame-string part of the editor
inline constexpr int kLinksPerLed = 7;     // click, state, two operand reads, two results, text to hub
inline constexpr int kLinksPerJoin = 3;    // hub to join, two reads of the children's texts
inline constexpr int kLinksAfterRoot = 3;  // root to filter, filter to end, end to the frame line
constexpr int ResetLinkCount() {
  int links = 1 + static_cast<int>(kResetGroups.size());  // the source into ResetHub, ResetHub's outputs
  for (const ResetGroup& g : kResetGroups) links += g.LedHubCount;
  for (const ResetLedHub& h : kResetLedHubs) links += h.Last - h.First + 1;
  return links;
}
inline constexpr int kResetLinkCount = ResetLinkCount();
inline constexpr int kLinkCount = kLinksPerLed * kLedCount + kLinksPerJoin * kJoinCount + (kJoinCount - 1) +
                                  kLinksAfterRoot + kResetLinkCount;
// LedScale, LedIndex and LedText per LED; a join and its hub per node; UnlitFilter, FrameEnd.
inline constexpr int kElementCount = 3 * kLedCount + 2 * kJoinCount + 2 + kResetHubCount;

// The frame string's share of the editor's 1326 elements and 2609 links; with it the editor has its
// 231 visual elements, 5 other non-visual ones and the 9 links of effect recording.
static_assert(kResetLinkCount == 226);
static_assert(kElementCount == 1090);
static_assert(kLinkCount == 2600);

}  // namespace frame
