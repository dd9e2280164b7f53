// TFrameGraph: element properties and links, written as rules over the constant tables.
#include "app/frame_graph.h"

namespace {

void SetupMath(TQxMath& m, std::uint8_t opType, double op2) {
  m.OpType = opType;
  m.Op1 = 0;  // the first operand comes through dataOp1
  m.Op2 = op2;
  m.ResultType = 1;
  m.SetDefault(0);
  m.SetAngleMode(0);
}

void SetupHub(TQxHub& hub, std::uint8_t inCount, std::uint8_t outCount) {
  hub.InCount = inCount;
  hub.SetOutCount(outCount);
}

}  // namespace

TFrameGraph::TFrameGraph() {
  for (int n = 1; n <= frame::kLedCount; ++n) {
    SetupMath(LedScale(n), 2, n);
    SetupMath(LedIndex(n), 1, 1);
    LedText(n).Str2 = ",";
  }
  for (int j = 0; j < frame::kJoinCount; ++j) {
    SetupHub(JoinHub(j), 2, 1);  // Join(j) keeps empty Str1 and Str2: both parts are read
  }
  unlitFilter_.SubStr = "-1,";
  frameEnd_.Str2 = "227";

  SetupHub(resetHub_, 1, frame::kResetRootOutCount);
  for (std::size_t g = 0; g < frame::kResetGroups.size(); ++g) {
    SetupHub(resetGroupHub_[g], 1, static_cast<std::uint8_t>(frame::kResetGroups[g].OutCount));
  }
  for (TQxHub& hub : resetLedHub_) SetupHub(hub, 1, frame::kResetLedHubOutCount);
}

void TFrameGraph::Link(TQx_Event& field, const TQx_Event& link) {
  field = link;
  ++linkCount_;
}

TQx_Event TFrameGraph::ResultReaderOf(const frame::Child& child) {
  return child.IsLed ? MakeLink<&TQxStrCat::getResult>(&LedText(child.Number))
                     : MakeLink<&TQxStrCat::getResult>(&Join(child.Number));
}

void TFrameGraph::Connect(const TFrameGraphPorts& ports) {
  // Per LED: click -> toggle -> state x N -> minus 1 -> text -> the parent's hub.
  for (int n = 1; n <= frame::kLedCount; ++n) {
    const TFrameLedPins& led = ports.Led(n);
    const frame::Place& place = frame::kTree.LedAt(n);
    Link(*led.outClick, led.inToggle);
    Link(*led.outState, MakeLink<&TQxMath::inMultiply>(&LedScale(n)));
    Link(LedScale(n).dataOp1, led.getState);
    Link(LedScale(n).outResult, MakeLink<&TQxMath::inSubtract>(&LedIndex(n)));
    Link(LedIndex(n).dataOp1, MakeLink<&TQxMath::getResult>(&LedScale(n)));
    Link(LedIndex(n).outResult, MakeLink<&TQxStrCat::inConcat>(&LedText(n)));
    Link(LedText(n).outResult,
         MakeLink<&TQxHub::inEvent>(&JoinHub(place.Parent), static_cast<std::uint16_t>(place.Side)));
  }

  // Per join: its hub calls it, it reads both children; every join but the root feeds its parent.
  for (int j = 0; j < frame::kJoinCount; ++j) {
    const frame::Join& node = frame::kTree.JoinAt(j);
    Link(JoinHub(j).outEvent[0], MakeLink<&TQxStrCat::inConcat>(&Join(j)));
    Link(Join(j).dataStr1, ResultReaderOf(node.Left));
    Link(Join(j).dataStr2, ResultReaderOf(node.Right));
    if (node.Parent >= 0) {
      Link(Join(j).outResult,
           MakeLink<&TQxHub::inEvent>(&JoinHub(node.Parent), static_cast<std::uint16_t>(node.Side)));
    }
  }

  Link(Join(frame::kRootJoin).outResult, MakeLink<&TQxReplace::inReplace>(&unlitFilter_));
  Link(unlitFilter_.outResult, MakeLink<&TQxStrCat::inConcat>(&frameEnd_));
  Link(frameEnd_.outResult, ports.FrameSink);

  // Reset: hubs fire their outputs in order, so inOff reaches LED 1, 2, ... 216 in turn.
  Link(*ports.ResetSource, MakeLink<&TQxHub::inEvent>(&resetHub_));
  for (std::size_t g = 0; g < frame::kResetGroups.size(); ++g) {
    const frame::ResetGroup& group = frame::kResetGroups[g];
    Link(resetHub_.outEvent[g], MakeLink<&TQxHub::inEvent>(&resetGroupHub_[g]));
    for (int i = 0; i < group.LedHubCount; ++i) {
      Link(resetGroupHub_[g].outEvent[frame::Slot(i)],
           MakeLink<&TQxHub::inEvent>(&ResetLedHub(group.FirstLedHub + i)));
    }
  }
  for (std::size_t h = 0; h < frame::kResetLedHubs.size(); ++h) {
    const frame::ResetLedHub& hub = frame::kResetLedHubs[h];
    for (int n = hub.First; n <= hub.Last; ++n) {
      Link(resetLedHub_[h].outEvent[frame::Slot(n - hub.First)], ports.Led(n).inOff);
    }
  }
}

void TFrameGraph::Resync(const std::bitset<frame::kLedCount>& changed) {
  std::bitset<frame::kJoinCount> dirty;
  for (int n = 1; n <= frame::kLedCount; ++n) {
    if (!changed.test(frame::Slot(n - 1))) continue;
    // The LED's own chain runs as its outState would run it; only the last hop, into the tree, is
    // held back for the moment.
    TQxStrCat& text = LedText(n);
    const TQx_Event toTree = text.outResult;
    text.outResult = TQx_Event();
    TData state;
    TData read;
    DeliverRead(&LedScale(n).dataOp1, &read);
    MakeInt(&state, AsInt(&read));
    Fire(MakeLink<&TQxMath::inMultiply>(&LedScale(n)), &state);
    text.outResult = toTree;
    for (int j = frame::kTree.LedAt(n).Parent; j >= 0 && !dirty.test(frame::Slot(j));
         j = frame::kTree.JoinAt(j).Parent) {
      dirty.set(frame::Slot(j));
    }
  }
  // Pre-order numbering puts every join after its parent, so going backwards meets the children
  // first. A join called directly keeps its result and leaves its forward undelivered.
  for (int j = frame::kJoinCount - 1; j > frame::kRootJoin; --j) {
    if (!dirty.test(frame::Slot(j))) continue;
    TData quiet;
    Join(j).inConcat(&quiet, 0);
  }
  TData root;
  Fire(MakeLink<&TQxStrCat::inConcat>(&Join(frame::kRootJoin)), &root);
}
