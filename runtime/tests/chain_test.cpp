// Long forwarding chains run on a thread with a small stack: a dispatcher that recursed per
// link would overflow it long before the end of the chain.
#include <gtest/gtest.h>
#include <pthread.h>

#include <cstdint>
#include <vector>

#include "runtime/data.h"
#include "runtime/hub.h"
#include "runtime/tests/test_elements.h"

namespace {

constexpr std::size_t kChainLength = 1000000;
constexpr std::size_t kSmallStack = 64 * 1024;

// Runs body on a fresh thread whose stack is kSmallStack bytes.
template <class Body>
bool RunOnSmallStack(Body& body) {
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return false;
  if (pthread_attr_setstacksize(&attr, kSmallStack) != 0) return false;
  pthread_t thread;
  auto entry = [](void* arg) -> void* {
    (*static_cast<Body*>(arg))();
    return nullptr;
  };
  const bool started = pthread_create(&thread, &attr, entry, &body) == 0;
  pthread_attr_destroy(&attr);
  return started && pthread_join(thread, nullptr) == 0;
}

TEST(ForwardingChain, AMillionLinksRunAtConstantStackDepth) {
  std::vector<IntForwarder> chain(kChainLength);
  Recorder end;
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) chain[i].outNext = chain[i + 1].Link();
  chain.back().outNext = end.Link();
  auto body = [&] {
    EnableDelivery();
    FireInt(chain.front().Link(), 0);
    DisableDelivery();
  };
  ASSERT_TRUE(RunOnSmallStack(body));
  ASSERT_EQ(end.seen.size(), 1u);
  EXPECT_EQ(end.seen[0].kind, dkInteger);
  EXPECT_EQ(end.seen[0].intValue, static_cast<std::int32_t>(kChainLength));
}

// A string chain whose value is shared all the way: no reference may leak or be lost.
struct StrForwarder {
  TQx_Event outNext;
  void inValue(TData* d, std::uint16_t) { ForwardStr(d, &outNext, d->StrValue); }
};

TEST(ForwardingChain, AMillionStringLinksKeepTheReferenceCountExact) {
  std::vector<StrForwarder> chain(kChainLength);
  Recorder end;
  for (std::size_t i = 0; i + 1 < chain.size(); ++i)
    chain[i].outNext = MakeLink<&StrForwarder::inValue>(&chain[i + 1], 0);
  chain.back().outNext = end.Link();
  const ByteString text("carried");
  auto body = [&] {
    EnableDelivery();
    FireStr(MakeLink<&StrForwarder::inValue>(&chain.front(), 0), text);
    DisableDelivery();
  };
  ASSERT_TRUE(RunOnSmallStack(body));
  ASSERT_EQ(end.seen.size(), 1u);
  EXPECT_EQ(end.seen[0].strValue, "carried");
  EXPECT_EQ(text.ShareCount(), 1);
}

// Hubs in the middle of a chain start nested deliveries; the chains behind each hub output
// still run flat.
TEST(ForwardingChain, ChainsBehindHubOutputsRunFlat) {
  constexpr std::size_t kSegment = 100000;
  std::vector<IntForwarder> first(kSegment), second(kSegment);
  TQxHub hub;
  Recorder end1, end2;
  for (std::size_t i = 0; i + 1 < kSegment; ++i) {
    first[i].outNext = first[i + 1].Link();
    second[i].outNext = second[i + 1].Link();
  }
  first.back().outNext = MakeLink<&TQxHub::inEvent>(&hub, 0);
  hub.SetOutCount(2);
  hub.outEvent[0] = second.front().Link();
  hub.outEvent[1] = end1.Link();
  second.back().outNext = end2.Link();
  auto body = [&] {
    EnableDelivery();
    FireInt(first.front().Link(), 0);
    DisableDelivery();
  };
  ASSERT_TRUE(RunOnSmallStack(body));
  ASSERT_EQ(end2.seen.size(), 1u);
  EXPECT_EQ(end2.seen[0].intValue, static_cast<std::int32_t>(2 * kSegment));
  ASSERT_EQ(end1.seen.size(), 1u);
  EXPECT_EQ(end1.seen[0].intValue, static_cast<std::int32_t>(kSegment));
}

}  // namespace
