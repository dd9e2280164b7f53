#include "elements/strcat.h"

#include <gtest/gtest.h>

#include "elements/tests/probe.h"

namespace {

class StrCatTest : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  RecordingSink sink;
  TQxStrCat cat;

  void SetUp() override { cat.outResult = sink.Link(); }

  // Delivers s to inConcat through the dispatcher, as a linked event would.
  void Send(const TData& value) {
    TQx_Event link = MakeLink<&TQxStrCat::inConcat>(&cat);
    Fire(link, &value);
  }
  static TData Str(const char* s) {
    TData d;
    MakeStr(&d, s);
    return d;
  }
  ByteString Only() {
    EXPECT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(sink.received.back().Kind, dkString);
    return sink.received.back().StrValue;
  }
};

TEST_F(StrCatTest, TwoNonEmptyDefaultsIgnoreTheIncomingValue) {
  cat.Str1 = "A";
  cat.Str2 = "B";
  Send(Str("zzz"));
  EXPECT_EQ(Only(), "AB");
}

TEST_F(StrCatTest, EmptyDefaultsGiveTheIncomingValueToTheFirstPartOnly) {
  Send(Str("12"));
  EXPECT_EQ(Only(), "12");
}

TEST_F(StrCatTest, IncomingValueFollowedBySecondDefault) {
  cat.Str2 = ",";
  Send(Str("7"));
  EXPECT_EQ(Only(), "7,");
}

TEST_F(StrCatTest, IncomingRealBecomesItsText) {
  // The per-LED text: a whole real converts without fraction part.
  cat.Str2 = ",";
  TData v;
  MakeReal(&v, -1);
  Send(v);
  MakeReal(&v, 215);
  Send(v);
  ASSERT_EQ(sink.received.size(), 2u);
  EXPECT_EQ(sink.received[0].StrValue, "-1,");
  EXPECT_EQ(sink.received[1].StrValue, "215,");
}

TEST_F(StrCatTest, TwoEmptyPartsForwardTheEmptyString) {
  Send(TData());
  EXPECT_EQ(Only(), "");
}

TEST_F(StrCatTest, ConnectedDataInputsAreJoinedFirstThenSecond) {
  FixedSource left, right;
  MakeStr(&left.value, "0,");
  MakeStr(&right.value, "-1,");
  cat.dataStr1 = left.Link();
  cat.dataStr2 = right.Link();
  Send(Str("ignored"));
  EXPECT_EQ(Only(), "0,-1,");
}

TEST_F(StrCatTest, ForwardsItsResultInsteadOfFiringIt) {
  TData d = Str("x");
  cat.inConcat(&d, 0);
  EXPECT_TRUE(sink.received.empty());
  EXPECT_EQ(d.Kind, dkString | dkForward);
  EXPECT_EQ(d.ForwardTo, &cat.outResult);
  EXPECT_EQ(d.StrValue, "x");
}

TEST_F(StrCatTest, GetResultIsEmptyBeforeTheFirstJoinThenTheLastJoin) {
  TData d;
  cat.getResult(&d, 0);
  EXPECT_EQ(d.Kind, dkString);
  EXPECT_EQ(d.StrValue, "");
  Send(Str("ab"));
  cat.getResult(&d, 0);
  EXPECT_EQ(d.StrValue, "ab");
}

TEST_F(StrCatTest, LongForwardingChainRunsAtConstantStackDepth) {
  // Each element's first part takes the incoming value; a deep recursion would overflow.
  constexpr std::size_t kLength = 200000;
  std::vector<TQxStrCat> chain(kLength);
  for (std::size_t i = 0; i < kLength; ++i) {
    chain[i].outResult = i + 1 < kLength ? MakeLink<&TQxStrCat::inConcat>(&chain[i + 1]) : sink.Link();
  }
  chain[0].Str2 = "!";
  TQx_Event head = MakeLink<&TQxStrCat::inConcat>(&chain[0]);
  TData v = Str("go");
  Fire(head, &v);
  EXPECT_EQ(Only(), "go!");
}

}  // namespace
