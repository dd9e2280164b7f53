// The shape of the frame-string graph as constant tables: the merge tree that joins the 216 LED
// texts in LED order, the reset fan-out that reaches every LED in LED order, and the element and
// link counts that follow from them. Pure data: never creates elements or includes window headers.
#pragma once

#include <array>
#include <cstdint>

namespace frame {

inline constexpr int kLedCount = 216;
inline constexpr int kJoinCount = kLedCount - 1;  // inner nodes of a binary tree over the LEDs

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
      tree.Leds[first] = {parent, side};
      return {true, first};
    }
    const int self = next++;
    Join& join = tree.Joins[self];
    join.First = first;
    join.Last = last;
    join.Parent = parent;
    join.Side = side;
    const int split = first + LeftSize(last - first + 1);
    const Child left = Make(first, split - 1, self, 0);
    const Child right = Make(split, last, self, 1);
    tree.Joins[self].Left = left;
    tree.Joins[self].Right = right;
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

}  // namespace frame
