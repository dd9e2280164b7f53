#include "elements/replace.h"

#include <gtest/gtest.h>

#include <vector>

#include "elements/tests/probe.h"

namespace {

// Answers the skip question from a script, one answer per occurrence, and notes where it was asked.
struct SkipScript : TQxObject {
  TQxReplace* replace = nullptr;
  std::vector<int> answers;
  std::vector<int> askedAt;
  void getSkip(TData* d, std::uint16_t) {
    askedAt.push_back(replace->Position);
    const std::size_t n = askedAt.size() - 1;
    MakeInt(d, n < answers.size() ? answers[n] : 0);
  }
};

class ReplaceTest : public ::testing::Test {
 protected:
  DeliveryOn delivery;
  RecordingSink sink;
  TQxReplace replace;

  void SetUp() override { replace.outResult = sink.Link(); }

  ByteString Run(const char* text, const char* find, const char* repl) {
    replace.SubStr = find;
    replace.DestStr = repl;
    sink.received.clear();
    TData d;
    MakeStr(&d, text);
    TQx_Event link = MakeLink<&TQxReplace::inReplace>(&replace);
    Fire(link, &d);
    EXPECT_EQ(sink.received.size(), 1u);
    EXPECT_EQ(sink.received.back().Kind, dkString);
    return sink.received.back().StrValue;
  }
};

TEST_F(ReplaceTest, RemovesEveryUnlitPlaceholder) { EXPECT_EQ(Run("5,-1,-1,9,", "-1,", ""), "5,9,"); }

TEST_F(ReplaceTest, AdjacentPlaceholdersAtBothEndsAreAllRemoved) {
  EXPECT_EQ(Run("-1,-1,0,-1,-1,", "-1,", ""), "0,");
  EXPECT_EQ(Run("-1,-1,-1,", "-1,", ""), "");
}

TEST_F(ReplaceTest, OccurrencesDoNotOverlap) { EXPECT_EQ(Run("aaa", "aa", "b"), "ba"); }

TEST_F(ReplaceTest, InsertedTextIsNotSearchedAgain) {
  EXPECT_EQ(Run("a", "a", "aa"), "aa");
  EXPECT_EQ(Run("abab", "ab", "abab"), "abababab");
}

TEST_F(ReplaceTest, ReplacementLongerOrShorterThanFind) {
  EXPECT_EQ(Run("x.y.z", ".", "::"), "x::y::z");
  EXPECT_EQ(Run("x::y::z", "::", "."), "x.y.z");
}

TEST_F(ReplaceTest, ComparisonIsCaseSensitive) { EXPECT_EQ(Run("Hello", "hello", "x"), "Hello"); }

TEST_F(ReplaceTest, ComparisonIsByteByByteForCp1251Text) {
  // "Слой" and "слой" differ only in the case of a Cyrillic letter.
  EXPECT_EQ(Run("Слой слой", "слой", "x"), "Слой x");
}

TEST_F(ReplaceTest, EmptyFindReplacesNothing) { EXPECT_EQ(Run("abc", "", "x"), "abc"); }

TEST_F(ReplaceTest, EmptyTextForwardsTheEmptyString) { EXPECT_EQ(Run("", "-1,", ""), ""); }

TEST_F(ReplaceTest, TextWithoutOccurrenceIsUnchanged) { EXPECT_EQ(Run("0,1,", "-1,", ""), "0,1,"); }

TEST_F(ReplaceTest, FindLongerThanTextReplacesNothing) { EXPECT_EQ(Run("-1", "-1,", ""), "-1"); }

TEST_F(ReplaceTest, SkippedOccurrenceStaysAndSearchResumesOneFurther) {
  SkipScript skip;
  skip.replace = &replace;
  skip.answers = {1};
  replace.dataSkip = MakeLink<&SkipScript::getSkip>(&skip);
  // Skipping "aa" at 1 lets the search find the overlapping "aa" at 2.
  EXPECT_EQ(Run("aaa", "aa", "b"), "ab");
  EXPECT_EQ(skip.askedAt, (std::vector<int>{1, 2}));
}

TEST_F(ReplaceTest, SkipCheckSeesPositionsInTheTextAsChangedSoFar) {
  SkipScript skip;
  skip.replace = &replace;
  skip.answers = {0, 1, 0};
  replace.dataSkip = MakeLink<&SkipScript::getSkip>(&skip);
  EXPECT_EQ(Run("x-1,-1,-1,-1,", "-1,", "ab"), "xab-1,abab");
  EXPECT_EQ(skip.askedAt, (std::vector<int>{2, 4, 7, 9}));
}

TEST_F(ReplaceTest, EverySkippedOccurrenceStays) {
  SkipScript skip;
  skip.replace = &replace;
  skip.answers = {1, 1, 1};
  replace.dataSkip = MakeLink<&SkipScript::getSkip>(&skip);
  EXPECT_EQ(Run("a,a,a", "a", "b"), "a,a,a");
  EXPECT_EQ(skip.askedAt.size(), 3u);
}

TEST_F(ReplaceTest, ConnectedDataInputsWinOverTheIncomingValueAndDefaults) {
  FixedSource text, find, repl;
  MakeStr(&text.value, "1-2-3");
  MakeStr(&find.value, "-");
  MakeStr(&repl.value, "+");
  replace.dataText = text.Link();
  replace.dataSubStr = find.Link();
  replace.dataDestStr = repl.Link();
  EXPECT_EQ(Run("ignored", "x", "y"), "1+2+3");
}

TEST_F(ReplaceTest, WithEmptyDefaultsTheTextTakesTheIncomingValueAndFindGetsNothing) {
  // Find falls back to what is left of the incoming value, which is empty: nothing is replaced.
  EXPECT_EQ(Run("abc", "", ""), "abc");
}

TEST_F(ReplaceTest, ForwardsItsResultAndKeepsIt) {
  replace.SubStr = "-1,";
  TData d;
  MakeStr(&d, "-1,3,");
  replace.inReplace(&d, 0);
  EXPECT_TRUE(sink.received.empty());
  EXPECT_EQ(d.Kind, dkString | dkForward);
  EXPECT_EQ(d.ForwardTo, &replace.outResult);
  EXPECT_EQ(d.StrValue, "3,");
  EXPECT_EQ(replace.Result, "3,");
}

}  // namespace
