// Reading data inputs: link, default and incoming-value precedence, and consuming value chains.
#include <gtest/gtest.h>

#include "runtime/data.h"
#include "runtime/tests/test_elements.h"

namespace {

class Pull : public ::testing::Test {
 protected:
  void SetUp() override { EnableDelivery(); }
  void TearDown() override { DisableDelivery(); }
  TQx_Event unconnected;
};

TData Str(const char* s) {
  TData d;
  MakeStr(&d, s);
  return d;
}

TEST_F(Pull, NonEmptyDefaultWinsAndLeavesTheIncomingValueUntouched) {
  TData incoming = Str("x");
  EXPECT_EQ(PullStr(&incoming, unconnected, "def"), "def");
  EXPECT_EQ(incoming.Kind, dkString);
  EXPECT_EQ(incoming.StrValue, "x");
}

TEST_F(Pull, TwoStringInputsTakeTheIncomingValueThenNothing) {
  TData incoming = Str("x");
  EXPECT_EQ(PullStr(&incoming, unconnected, ""), "x");
  EXPECT_EQ(incoming.Kind, dkEmpty);
  EXPECT_EQ(PullStr(&incoming, unconnected, ""), "");
}

TEST_F(Pull, EachInputThatFallsBackConsumesOneValueOfTheChain) {
  TData third;
  MakeReal(&third, 2.5);
  TData second;
  MakeInt(&second, 7);
  second.Next = &third;
  TData incoming = Str("first");
  incoming.Next = &second;
  EXPECT_EQ(PullStr(&incoming, unconnected, ""), "first");
  EXPECT_EQ(PullStr(&incoming, unconnected, ""), "7");
  EXPECT_EQ(PullReal(&incoming, unconnected, 0), 2.5);
  EXPECT_EQ(incoming.Kind, dkEmpty);
  EXPECT_EQ(PullStr(&incoming, unconnected, ""), "");
  // The chain's records are only pointed to, never changed.
  EXPECT_EQ(second.Kind, dkInteger);
  EXPECT_EQ(second.Next, &third);
  EXPECT_EQ(third.Kind, dkReal);
}

TEST_F(Pull, AnIntegerIncomingValueIsConvertedAndConsumed) {
  TData incoming;
  MakeInt(&incoming, -12);
  EXPECT_EQ(PullStr(&incoming, unconnected, ""), "-12");
  EXPECT_EQ(incoming.Kind, dkEmpty);
}

TEST_F(Pull, RealInputWithDefaultZeroTakesTheIncomingValue) {
  TData incoming = Str("2.5");
  EXPECT_EQ(PullReal(&incoming, unconnected, 0), 2.5);
  EXPECT_EQ(incoming.Kind, dkEmpty);
}

TEST_F(Pull, RealInputWithDefaultOneIgnoresTheIncomingValue) {
  TData incoming = Str("2.5");
  EXPECT_EQ(PullReal(&incoming, unconnected, 1), 1.0);
  EXPECT_EQ(incoming.Kind, dkString);
}

TEST_F(Pull, RealInputWithNothingIncomingGivesItsDefault) {
  TData incoming;
  EXPECT_EQ(PullReal(&incoming, unconnected, 0), 0.0);
  EXPECT_EQ(PullReal(nullptr, unconnected, 0), 0.0);
  EXPECT_EQ(PullStr(nullptr, unconnected, ""), "");
}

TEST_F(Pull, ConnectedLinkWinsOverDefaultAndIncomingValue) {
  FixedSource out;
  MakeInt(&out.value, 5);
  TData incoming = Str("x");
  EXPECT_EQ(PullStr(&incoming, out.Link(), "def"), "5");
  EXPECT_EQ(PullReal(&incoming, out.Link(), 3), 5.0);
  EXPECT_EQ(PullInt(out.Link()), 5);
  EXPECT_EQ(out.reads, 3);
  EXPECT_EQ(incoming.Kind, dkString);
  EXPECT_EQ(incoming.StrValue, "x");
}

TEST_F(Pull, ConnectedLinkAnsweringEmptyStillWins) {
  FixedSource out;  // answers dkEmpty
  TData incoming = Str("x");
  EXPECT_EQ(PullStr(&incoming, out.Link(), "def"), "");
  EXPECT_EQ(PullReal(&incoming, out.Link(), 3), 0.0);
  EXPECT_EQ(incoming.Kind, dkString);
}

TEST_F(Pull, ConnectedLinkAnsweringAbsentBehavesLikeAnUnconnectedOne) {
  FixedSource out;
  out.value.Kind = dkAbsent;
  {
    TData incoming = Str("x");
    EXPECT_EQ(PullStr(&incoming, out.Link(), "def"), "def");
    EXPECT_EQ(incoming.Kind, dkString);
    EXPECT_EQ(PullStr(&incoming, out.Link(), ""), "x");
    EXPECT_EQ(incoming.Kind, dkEmpty);
  }
  {
    TData incoming = Str("4");
    EXPECT_EQ(PullReal(&incoming, out.Link(), 1), 1.0);
    EXPECT_EQ(PullReal(&incoming, out.Link(), 0), 4.0);
    EXPECT_EQ(incoming.Kind, dkEmpty);
  }
  {
    TData incoming = Str("v");
    TData result;
    PullValue(&incoming, out.Link(), nullptr, &result);
    EXPECT_EQ(result.Kind, dkString);
    EXPECT_EQ(result.StrValue, "v");
    EXPECT_EQ(incoming.Kind, dkEmpty);
  }
  EXPECT_EQ(PullInt(out.Link()), 0);
}

TEST_F(Pull, PullIntReadsOnlyTheLink) {
  EXPECT_EQ(PullInt(unconnected), 0);
  FixedSource out;
  MakeStr(&out.value, "12abc");
  EXPECT_EQ(PullInt(out.Link()), 12);
}

TEST_F(Pull, PullValueFromALinkDropsTheAnswersChain) {
  TData elsewhere;
  FixedSource out;
  MakeStr(&out.value, "linked");
  out.value.Next = &elsewhere;
  TData incoming = Str("x");
  TData result;
  MakeInt(&result, 3);
  PullValue(&incoming, out.Link(), nullptr, &result);
  EXPECT_EQ(result.Kind, dkString);
  EXPECT_EQ(result.StrValue, "linked");
  EXPECT_EQ(result.Next, nullptr);
  EXPECT_EQ(incoming.Kind, dkString);
}

TEST_F(Pull, PullValueWithANonEmptyDefaultCopiesIt) {
  TData def;
  MakeReal(&def, 1.25);
  TData incoming = Str("x");
  TData result;
  PullValue(&incoming, unconnected, &def, &result);
  EXPECT_EQ(result.Kind, dkReal);
  EXPECT_EQ(result.RealValue, 1.25);
  EXPECT_EQ(incoming.Kind, dkString);
}

TEST_F(Pull, PullValueWithAnEmptyDefaultTakesTheIncomingValue) {
  TData def;  // empty: does not count as a default
  TData second;
  MakeInt(&second, 2);
  TData incoming = Str("one");
  incoming.Next = &second;
  TData result;
  PullValue(&incoming, unconnected, &def, &result);
  EXPECT_EQ(result.Kind, dkString);
  EXPECT_EQ(result.StrValue, "one");
  EXPECT_EQ(result.Next, nullptr);
  EXPECT_EQ(incoming.Kind, dkInteger);  // advanced to the next value of the chain
  EXPECT_EQ(incoming.IntValue, 2);
  PullValue(&incoming, unconnected, nullptr, &result);
  EXPECT_EQ(result.Kind, dkInteger);
  EXPECT_EQ(result.IntValue, 2);
  EXPECT_EQ(incoming.Kind, dkEmpty);
}

TEST_F(Pull, PullValueFromAnEmptyIncomingValueCutsItsChain) {
  TData stray;
  MakeInt(&stray, 1);
  TData incoming;
  incoming.Next = &stray;
  TData result;
  MakeInt(&result, 5);
  PullValue(&incoming, unconnected, nullptr, &result);
  EXPECT_EQ(result.Kind, dkEmpty);
  EXPECT_EQ(result.Next, nullptr);
  EXPECT_EQ(incoming.Kind, dkEmpty);
  EXPECT_EQ(incoming.Next, nullptr);
}

TEST_F(Pull, PullValueIntoTheIncomingRecordItselfKeepsTheValue) {
  TData second;
  MakeInt(&second, 2);
  TData incoming = Str("one");
  incoming.Next = &second;
  PullValue(&incoming, unconnected, nullptr, &incoming);
  EXPECT_EQ(incoming.Kind, dkString);
  EXPECT_EQ(incoming.StrValue, "one");
  EXPECT_EQ(incoming.Next, nullptr);
}

TEST_F(Pull, PullRawWritesTheAnswerIntoTheIncomingRecord) {
  FixedSource out;
  MakeReal(&out.value, 0.5);
  TData incoming = Str("x");
  PullRaw(&incoming, out.Link());
  EXPECT_EQ(incoming.Kind, dkReal);
  EXPECT_EQ(incoming.RealValue, 0.5);
}

TEST_F(Pull, PullRawOnAnUnconnectedLinkMarksTheRecordAbsent) {
  TData incoming = Str("x");
  PullRaw(&incoming, unconnected);
  EXPECT_EQ(incoming.Kind, dkAbsent);
  // An absent value is not empty: a later fallback takes it and gets nothing from it.
  EXPECT_EQ(PullStr(&incoming, unconnected, ""), "");
  EXPECT_EQ(incoming.Kind, dkEmpty);
}

TEST_F(Pull, PullsKeepNoExtraStringReferences) {
  const ByteString s("counted");
  {
    FixedSource out;
    MakeStr(&out.value, s);
    TData incoming;
    MakeStr(&incoming, s);
    EXPECT_EQ(s.ShareCount(), 3);
    (void)PullStr(&incoming, out.Link(), "");
    (void)PullInt(out.Link());
    (void)PullReal(&incoming, out.Link(), 0);
    EXPECT_EQ(s.ShareCount(), 3);
  }
  EXPECT_EQ(s.ShareCount(), 1);
}

}  // namespace
