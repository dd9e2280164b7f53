// TFrameGraph: the non-visual elements that turn the LED states into the frame string (per-LED
// arithmetic and text, the merge tree of joins and hubs, the unlit filter, the terminator) and the
// reset fan-out, with their properties and links. The LEDs, the reset source and the frame line
// belong to the caller and are reached only through the links handed in. Window-free.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "app/frame_tree.h"
#include "cube/pattern_owner.h"
#include "elements/math.h"
#include "elements/replace.h"
#include "elements/strcat.h"
#include "runtime/data.h"
#include "runtime/hub.h"

// What the graph needs of one LED: its two output fields, which the graph connects, and the links
// to its inputs and its state output.
struct TFrameLedPins {
  TQx_Event* outClick = nullptr;  // linked to the LED's own inToggle
  TQx_Event* outState = nullptr;  // linked to LedScaleN.inMultiply
  TQx_Event inToggle;
  TQx_Event getState;  // read by LedScaleN.dataOp1
  TQx_Event inOff;     // target of the LED's reset hub output
};

// The pins of any LED class with the members outClick, outState, inToggle, getState and inOff.
template <class Led>
TFrameLedPins FrameLedPinsOf(Led* led) {
  TFrameLedPins pins;
  pins.outClick = &led->outClick;
  pins.outState = &led->outState;
  pins.inToggle = MakeLink<&Led::inToggle>(led, 0);
  pins.getState = MakeLink<&Led::getState>(led, 0);
  pins.inOff = MakeLink<&Led::inOff>(led, 1);
  return pins;
}

struct TFrameGraphPorts {
  std::array<TFrameLedPins, frame::kLedCount> Leds;  // LED N at N - 1
  TQx_Event* ResetSource = nullptr;                  // e.g. the reset button's outClick
  TQx_Event FrameSink;                               // receives every new frame string

  TFrameLedPins& Led(int led) { return Leds[frame::Slot(led - 1)]; }
  const TFrameLedPins& Led(int led) const { return Leds[frame::Slot(led - 1)]; }
};

class TFrameGraph {
 public:
  // Creates the elements and sets their properties; no link is set yet.
  TFrameGraph();
  TFrameGraph(const TFrameGraph&) = delete;
  TFrameGraph& operator=(const TFrameGraph&) = delete;

  // Sets every link of the frame string and the reset fan-out, once. Every pointer in ports must
  // name a field of a live element.
  void Connect(const TFrameGraphPorts& ports);

  // Brings the chains of the LEDs marked in `changed` (whose states were set without events) and the
  // joins above them in line without sending anything on, then sends the root's text on once as a
  // click does: the frame line is set once for any number of changed LEDs. Call after Connect.
  void Resync(const std::bitset<frame::kLedCount>& changed);

  // Visits every element the graph owns, each once.
  template <class Visit>
  void ForEachElement(Visit&& visit) {
    for (TQxMath& m : ledScale_) visit(static_cast<TQxObject&>(m));
    for (TQxMath& m : ledIndex_) visit(static_cast<TQxObject&>(m));
    for (TQxStrCat& s : ledText_) visit(static_cast<TQxObject&>(s));
    for (TQxStrCat& s : join_) visit(static_cast<TQxObject&>(s));
    for (TQxHub& h : joinHub_) visit(static_cast<TQxObject&>(h));
    visit(static_cast<TQxObject&>(unlitFilter_));
    visit(static_cast<TQxObject&>(frameEnd_));
    visit(static_cast<TQxObject&>(resetHub_));
    for (TQxHub& h : resetGroupHub_) visit(static_cast<TQxObject&>(h));
    for (TQxHub& h : resetLedHub_) visit(static_cast<TQxObject&>(h));
  }
  int ElementCount() {
    int count = 0;
    ForEachElement([&count](TQxObject&) { ++count; });
    return count;
  }
  // Links set by Connect.
  int LinkCount() const noexcept { return linkCount_; }

  // Elements by their role; LED numbers are 1-based, joins are indexed as in frame::kTree.
  TQxMath& LedScale(int led) { return ledScale_[frame::Slot(led - 1)]; }
  TQxMath& LedIndex(int led) { return ledIndex_[frame::Slot(led - 1)]; }
  TQxStrCat& LedText(int led) { return ledText_[frame::Slot(led - 1)]; }
  TQxStrCat& Join(int join) { return join_[frame::Slot(join)]; }
  TQxHub& JoinHub(int join) { return joinHub_[frame::Slot(join)]; }
  TQxReplace& UnlitFilter() { return unlitFilter_; }
  TQxStrCat& FrameEnd() { return frameEnd_; }
  TQxHub& ResetHub() { return resetHub_; }
  TQxHub& ResetGroupHub(int group) { return resetGroupHub_[frame::Slot(group)]; }  // as frame::kResetGroups
  TQxHub& ResetLedHub(int hub) { return resetLedHub_[frame::Slot(hub)]; }          // as frame::kResetLedHubs

 private:
  void Link(TQx_Event& field, const TQx_Event& link);
  TQx_Event ResultReaderOf(const frame::Child& child);

  std::array<TQxMath, frame::kLedCount> ledScale_;
  std::array<TQxMath, frame::kLedCount> ledIndex_;
  std::array<TQxStrCat, frame::kLedCount> ledText_;
  std::array<TQxStrCat, frame::kJoinCount> join_;
  std::array<TQxHub, frame::kJoinCount> joinHub_;
  TQxReplace unlitFilter_;
  TQxStrCat frameEnd_;
  TQxHub resetHub_;
  std::array<TQxHub, frame::kResetGroups.size()> resetGroupHub_;
  std::array<TQxHub, frame::kResetLedHubs.size()> resetLedHub_;
  int linkCount_ = 0;
};

// The graph as a follower of the pattern's owner (the graph as `self`). An LED's own click or reset
// is carried on by its chain; any other change is brought in line with one Resync, which reads the
// LEDs' states: subscribe it after the LEDs' follower. An equal frame put again still sets the
// frame line, which may hold text the user typed.
inline void FollowPatternOnGraph(void* graph, const cube::TPatternChange& change) {
  if (!cube::ByLed(change.Cause)) static_cast<TFrameGraph*>(graph)->Resync(change.Changed);
}
