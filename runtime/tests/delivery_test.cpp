// Event delivery: the dispatcher loop, firing and forwarding, and delivery being off.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "runtime/data.h"
#include "runtime/tests/test_elements.h"

namespace {

// Taken during static initialisation, before any test switches delivery on.
struct StartState {
  bool enabled;
  std::size_t reached;
  StartState() {
    enabled = DeliveryEnabled();
    Recorder r;
    FireInt(r.Link(), 1);
    reached = r.seen.size();
  }
};
const StartState startState;

class Delivery : public ::testing::Test {
 protected:
  void SetUp() override { EnableDelivery(); }
  void TearDown() override { DisableDelivery(); }
};

TEST(DeliveryState, IsOffAtProgramStartAndReachesNobody) {
  EXPECT_FALSE(startState.enabled);
  EXPECT_EQ(startState.reached, 0u);
}

TEST(DeliveryState, NothingReachesAnInputMethodAfterDisable) {
  EnableDelivery();
  DisableDelivery();
  EXPECT_FALSE(DeliveryEnabled());
  Recorder r;
  FireInt(r.Link(), 1);
  FireStr(r.Link(), "x");
  FireEmpty(r.Link());
  FireReal(r.Link(), 1.5);
  TData d;
  MakeInt(&d, 3);
  Fire(r.Link(), &d);
  FireSame(r.Link(), &d);
  EXPECT_TRUE(r.seen.empty());
}

TEST(DeliveryState, ReadWhileOffLeavesTheRecordAsItWas) {
  DisableDelivery();
  FixedSource out;
  MakeInt(&out.value, 42);
  TData d;
  MakeStr(&d, "keep");
  PullRaw(&d, out.Link());
  EXPECT_EQ(out.reads, 0);
  EXPECT_EQ(d.Kind, dkString);
  EXPECT_EQ(d.StrValue, "keep");
}

TEST(DeliveryState, PullStrOnAConnectedLinkWhileOffGivesTheEmptyString) {
  DisableDelivery();
  FixedSource out;
  MakeStr(&out.value, "answer");
  TData incoming;
  MakeStr(&incoming, "incoming");
  // The link is connected, so neither the default nor the incoming value is used.
  EXPECT_EQ(PullStr(&incoming, out.Link(), "default"), "");
  EXPECT_EQ(incoming.Kind, dkString);
  EXPECT_EQ(PullInt(out.Link()), 0);
}

TEST_F(Delivery, FireReachesTheTargetWithTheLinksIndex) {
  Recorder r;
  FireInt(r.Link(7), -5);
  ASSERT_EQ(r.seen.size(), 1u);
  EXPECT_EQ(r.seen[0].kind, dkInteger);
  EXPECT_EQ(r.seen[0].intValue, -5);
  EXPECT_EQ(r.seen[0].index, 7);
}

TEST_F(Delivery, FreshValuesCarryNoChainOrForwardLink) {
  struct Probe {
    const void* forwardTo = &forwardTo;
    const void* next = &next;
    void inValue(TData* d, std::uint16_t) {
      forwardTo = d->ForwardTo;
      next = d->Next;
    }
  };
  Probe p;
  const TQx_Event link = MakeLink<&Probe::inValue>(&p, 0);
  FireStr(link, "s");
  EXPECT_EQ(p.forwardTo, nullptr);
  EXPECT_EQ(p.next, nullptr);
  p = Probe();
  FireEmpty(link);
  EXPECT_EQ(p.forwardTo, nullptr);
  EXPECT_EQ(p.next, nullptr);
}

TEST_F(Delivery, FiringAnUnconnectedEventChangesNothing) {
  TQx_Event unconnected;
  TData d;
  MakeStr(&d, "x");
  FireSame(unconnected, &d);
  Fire(unconnected, &d);
  EXPECT_EQ(d.Kind, dkString);
  EXPECT_EQ(d.StrValue, "x");
  EXPECT_EQ(d.StrValue.ShareCount(), 1);
}

TEST_F(Delivery, ForwardingToAnUnconnectedLinkLeavesTheValueWithoutTheFlag) {
  IntForwarder f;  // outNext unconnected
  TData d;
  MakeInt(&d, 41);
  FireSame(f.Link(), &d);
  EXPECT_EQ(d.Kind, dkInteger);
  EXPECT_EQ(d.IntValue, 42);
  EXPECT_EQ(d.ForwardTo, &f.outNext);
}

TEST_F(Delivery, ForwardingToANullLinkEndsTheDelivery) {
  struct NullForwarder {
    void inValue(TData* d, std::uint16_t) { ForwardStr(d, nullptr, "end"); }
  };
  NullForwarder f;
  TData d;
  FireSame(MakeLink<&NullForwarder::inValue>(&f, 0), &d);
  EXPECT_EQ(d.Kind, dkString);
  EXPECT_EQ(d.StrValue, "end");
}

TEST_F(Delivery, ForwardedStepsRunInOrderAfterTheMethodReturns) {
  std::vector<std::string> log;
  IntForwarder a, b;
  Recorder end;
  a.log = b.log = end.log = &log;
  a.name = "a";
  b.name = "b";
  end.name = "end";
  a.outNext = b.Link();
  b.outNext = end.Link();
  FireInt(a.Link(), 10);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "end"}));
  ASSERT_EQ(end.seen.size(), 1u);
  EXPECT_EQ(end.seen[0].kind, dkInteger);  // the flag is gone before the next delivery
  EXPECT_EQ(end.seen[0].intValue, 12);
}

// Each step of a forwarding chain is called by the same dispatcher frame, so a local of the
// called method lies at the same address at every step.
struct DepthProbe {
  TQx_Event outNext;
  std::uintptr_t* depth;
  void inValue(TData* d, std::uint16_t) {
    volatile char marker = 0;
    *depth = reinterpret_cast<std::uintptr_t>(&marker);
    ForwardEmpty(d, &outNext);
  }
};

TEST_F(Delivery, ForwardedStepsRunAtTheSameStackDepth) {
  std::uintptr_t depths[3] = {};
  DepthProbe probes[3];
  for (int i = 0; i < 3; ++i) probes[i].depth = &depths[i];
  probes[0].outNext = MakeLink<&DepthProbe::inValue>(&probes[1], 0);
  probes[1].outNext = MakeLink<&DepthProbe::inValue>(&probes[2], 0);
  FireEmpty(MakeLink<&DepthProbe::inValue>(&probes[0], 0));
  EXPECT_EQ(depths[0], depths[1]);
  EXPECT_EQ(depths[1], depths[2]);
}

TEST_F(Delivery, ForwardEmptyKeepsTheOtherFields) {
  struct EmptyForwarder {
    TQx_Event outNext;
    void inValue(TData* d, std::uint16_t) { ForwardEmpty(d, &outNext); }
  };
  EmptyForwarder f;
  Recorder end;
  f.outNext = end.Link();
  TData d;
  MakeStr(&d, "still here");
  d.IntValue = 9;
  FireSame(MakeLink<&EmptyForwarder::inValue>(&f, 0), &d);
  ASSERT_EQ(end.seen.size(), 1u);
  EXPECT_EQ(end.seen[0].kind, dkEmpty);
  EXPECT_EQ(end.seen[0].strValue, "still here");
  EXPECT_EQ(end.seen[0].intValue, 9);
}

TEST_F(Delivery, ForwardStrAndForwardIntClearTheChain) {
  TData chained;
  struct Forwarder {
    TQx_Event outNext;
    bool asString;
    void inValue(TData* d, std::uint16_t) {
      if (asString)
        ForwardStr(d, &outNext, "s");
      else
        ForwardInt(d, &outNext, 1);
    }
  };
  for (bool asString : {true, false}) {
    Forwarder f{TQx_Event(), asString};
    TData d;
    MakeInt(&d, 0);
    d.Next = &chained;
    FireSame(MakeLink<&Forwarder::inValue>(&f, 0), &d);
    EXPECT_EQ(d.Next, nullptr);
    EXPECT_EQ(d.Kind, asString ? dkString : dkInteger);
  }
}

TEST_F(Delivery, FireGivesTheReceiverACopySoForwardingLeavesTheSenderAlone) {
  IntForwarder f;
  Recorder end;
  f.outNext = end.Link();
  TData d;
  MakeInt(&d, 1);
  d.StrValue = "shared";
  Fire(f.Link(), &d);
  EXPECT_EQ(d.Kind, dkInteger);
  EXPECT_EQ(d.IntValue, 1);
  EXPECT_EQ(d.StrValue.ShareCount(), 1);  // the copy's reference is gone again
  ASSERT_EQ(end.seen.size(), 1u);
  EXPECT_EQ(end.seen[0].intValue, 2);
}

TEST_F(Delivery, FireSamePassesTheRecordItselfSoForwardingOverwritesIt) {
  IntForwarder f;
  Recorder end;
  f.outNext = end.Link();
  TData d;
  MakeInt(&d, 1);
  FireSame(f.Link(), &d);
  EXPECT_EQ(d.Kind, dkInteger);
  EXPECT_EQ(d.IntValue, 2);
}

TEST_F(Delivery, AnInputMethodMayFireBackIntoItself) {
  struct Countdown {
    TQx_Event self;
    std::vector<std::int32_t> seen;
    void inValue(TData* d, std::uint16_t) {
      const std::int32_t v = AsInt(d);
      if (v > 0) FireInt(self, v - 1);
      seen.push_back(v);
    }
  };
  Countdown c;
  c.self = MakeLink<&Countdown::inValue>(&c, 0);
  FireInt(c.self, 3);
  EXPECT_EQ(c.seen, (std::vector<std::int32_t>{0, 1, 2, 3}));
}

// The temporary record of a Fire operation must drop its string reference even when the
// delivery is left by an exception.
TEST(DeliveryTemporaries, AreReleasedWhenAnExceptionPassesThrough) {
  const TDeliverProc savedEvent = DeliverEvent;
  DeliverEvent = [](const TQx_Event*, TData*) { throw std::runtime_error("receiver failed"); };
  const ByteString s("payload");
  TData d;
  MakeStr(&d, s);
  EXPECT_THROW(FireStr(TQx_Event(), s), std::runtime_error);
  EXPECT_THROW(Fire(TQx_Event(), &d), std::runtime_error);
  DeliverEvent = savedEvent;
  EXPECT_EQ(s.ShareCount(), 2);  // s and d only
}

#if !defined(_WIN32)
// An exception thrown by an input method must not unwind through the dispatcher into its
// caller (window code): it ends the program instead.
TEST(DeliveryDeathTest, AnExceptionFromAnInputMethodEndsTheProgram) {
  struct Thrower {
    void inValue(TData*, std::uint16_t) { throw std::runtime_error("fault"); }
  };
  EXPECT_DEATH(
      {
        EnableDelivery();
        Thrower t;
        try {
          FireEmpty(MakeLink<&Thrower::inValue>(&t, 0));
        } catch (...) {
          std::exit(0);  // caught outside the dispatcher: the fault escaped it
        }
        std::exit(0);
      },
      "");
}
#endif

}  // namespace
