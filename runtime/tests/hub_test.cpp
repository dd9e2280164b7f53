// The hub: ordered fan-out of copies, skipping unconnected outputs, and its output array.
#include "runtime/hub.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/data.h"
#include "runtime/tests/test_elements.h"

namespace {

class Hub : public ::testing::Test {
 protected:
  void SetUp() override { EnableDelivery(); }
  void TearDown() override { DisableDelivery(); }
};

TEST_F(Hub, StartsWithNoOutputsAndThenAnInputDoesNothing) {
  TQxHub hub;
  EXPECT_EQ(hub.OutCount(), 0);
  EXPECT_EQ(hub.InCount, 0);
  TData d;
  MakeStr(&d, "x");
  FireSame(MakeLink<&TQxHub::inEvent>(&hub, 0), &d);
  EXPECT_EQ(d.Kind, dkString);
  EXPECT_EQ(d.StrValue, "x");
}

TEST_F(Hub, SetOutCountKeepsExistingEntriesAndAddsUnconnectedOnes) {
  TQxHub hub;
  Recorder a, b;
  hub.SetOutCount(2);
  hub.outEvent[0] = a.Link(3);
  hub.outEvent[1] = b.Link(4);
  hub.SetOutCount(4);
  ASSERT_EQ(hub.OutCount(), 4);
  EXPECT_EQ(hub.outEvent[0].Target, &a);
  EXPECT_EQ(hub.outEvent[0].Index, 3);
  EXPECT_EQ(hub.outEvent[1].Target, &b);
  EXPECT_FALSE(hub.outEvent[2].Connected());
  EXPECT_FALSE(hub.outEvent[3].Connected());
  hub.SetOutCount(1);
  ASSERT_EQ(hub.OutCount(), 1);
  EXPECT_EQ(hub.outEvent[0].Target, &a);
  hub.SetOutCount(255);
  EXPECT_EQ(hub.OutCount(), 255);
  EXPECT_EQ(hub.outEvent[0].Target, &a);
  EXPECT_FALSE(hub.outEvent[1].Connected());
}

TEST_F(Hub, UnconnectedOutputsAreSkippedAndTheFollowingOnesStillFire) {
  TQxHub hub;
  Recorder first, last;
  hub.SetOutCount(4);
  hub.outEvent[0] = first.Link();
  hub.outEvent[3] = last.Link();
  FireInt(MakeLink<&TQxHub::inEvent>(&hub, 0), 8);
  ASSERT_EQ(first.seen.size(), 1u);
  ASSERT_EQ(last.seen.size(), 1u);
  EXPECT_EQ(last.seen[0].intValue, 8);
}

TEST_F(Hub, OutputsFireInOrderEachAfterTheWholeDeliveryBeforeIt) {
  std::vector<std::string> log;
  IntForwarder f1, f2;
  Recorder end0, out1, out2;
  f1.log = f2.log = end0.log = out1.log = out2.log = &log;
  f1.name = "f1";
  f2.name = "f2";
  end0.name = "end0";
  out1.name = "out1";
  out2.name = "out2";
  f1.outNext = f2.Link();
  f2.outNext = end0.Link();
  TQxHub hub;
  hub.SetOutCount(3);
  hub.outEvent[0] = f1.Link();
  hub.outEvent[1] = out1.Link();
  hub.outEvent[2] = out2.Link();
  FireInt(MakeLink<&TQxHub::inEvent>(&hub, 0), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"f1", "f2", "end0", "out1", "out2"}));
  EXPECT_EQ(end0.seen.at(0).intValue, 2);
  EXPECT_EQ(out1.seen.at(0).intValue, 0);  // the chain behind output 0 changed only its own copy
}

TEST_F(Hub, AValueOfAnyKindReachesEveryOutputUnchangedFromAnyInputPin) {
  TQxHub hub;
  IntForwarder changer;  // forwards a different value through its copy
  Recorder a, b;
  hub.InCount = 4;
  hub.SetOutCount(3);
  hub.outEvent[0] = a.Link();
  hub.outEvent[1] = changer.Link();
  hub.outEvent[2] = b.Link();
  TData values[4];
  MakeInt(&values[1], -3);
  MakeStr(&values[2], "s");
  MakeReal(&values[3], 0.25);
  for (std::uint16_t pin = 0; pin < 4; ++pin) {
    TData d = values[pin];
    FireSame(MakeLink<&TQxHub::inEvent>(&hub, pin), &d);
    EXPECT_EQ(d.Kind, values[pin].Kind) << "the hub never forwards and leaves its record alone";
    for (const Recorder* r : {&a, &b}) {
      ASSERT_EQ(r->seen.size(), pin + 1u);
      const Recorder::Seen& seen = r->seen.back();
      EXPECT_EQ(seen.kind, values[pin].Kind);
      EXPECT_EQ(seen.intValue, values[pin].IntValue);
      EXPECT_EQ(seen.strValue, std::string(values[pin].StrValue.view()));
      EXPECT_EQ(seen.realValue, values[pin].RealValue);
      EXPECT_EQ(seen.index, 0) << "receivers get their own link's index, not the hub pin";
    }
  }
}

TEST_F(Hub, AReceiverConsumingItsValueDoesNotStarveTheNextOutput) {
  struct Consumer {
    ByteString got;
    void inValue(TData* d, std::uint16_t) { got = PullStr(d, TQx_Event(), ""); }
  };
  Consumer first, second;
  TQxHub hub;
  hub.SetOutCount(2);
  hub.outEvent[0] = MakeLink<&Consumer::inValue>(&first, 0);
  hub.outEvent[1] = MakeLink<&Consumer::inValue>(&second, 0);
  FireStr(MakeLink<&TQxHub::inEvent>(&hub, 1), "x");
  EXPECT_EQ(first.got, "x");
  EXPECT_EQ(second.got, "x");
}

TEST_F(Hub, ANestedDeliveryIntoTheSameHubRunsCompletelyFirst) {
  std::vector<std::string> log;
  TQxHub hub;
  struct Reenter {
    TQx_Event back;
    std::vector<std::string>* log;
    void inValue(TData* d, std::uint16_t) {
      const std::int32_t depth = AsInt(d);
      log->push_back("reenter" + std::to_string(depth));
      if (depth == 0) FireInt(back, 1);
    }
  };
  Recorder after;
  after.log = &log;
  after.name = "after";
  Reenter reenter{MakeLink<&TQxHub::inEvent>(&hub, 0), &log};
  hub.SetOutCount(2);
  hub.outEvent[0] = MakeLink<&Reenter::inValue>(&reenter, 0);
  hub.outEvent[1] = after.Link();
  FireInt(MakeLink<&TQxHub::inEvent>(&hub, 0), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"reenter0", "reenter1", "after", "after"}));
  EXPECT_EQ(after.seen.at(0).intValue, 1);
  EXPECT_EQ(after.seen.at(1).intValue, 0);
}

TEST_F(Hub, AReceiverThatGrowsTheHubDuringDeliveryIsSafe) {
  TQxHub hub;
  struct Grower {
    TQxHub* hub;
    Recorder* extra;
    void inValue(TData*, std::uint16_t) {
      hub->SetOutCount(200);  // reallocates the array the hub is looping over
      hub->outEvent[199] = extra->Link();
    }
  };
  Recorder extra;
  Grower grower{&hub, &extra};
  hub.SetOutCount(1);
  hub.outEvent[0] = MakeLink<&Grower::inValue>(&grower, 0);
  FireInt(MakeLink<&TQxHub::inEvent>(&hub, 0), 5);
  ASSERT_EQ(extra.seen.size(), 1u);
  EXPECT_EQ(extra.seen[0].intValue, 5);
}

}  // namespace
