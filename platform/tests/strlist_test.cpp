#include "platform/strlist.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_view_literals;

template <class List>
struct Holder {
  List* list = List::Create();
  ~Holder() { list->Free(); }
  List* operator->() const { return list; }
};

std::vector<std::string> LinesOf(const TStrList& list) {
  std::vector<std::string> lines;
  for (std::int32_t i = 0; i < list.Count; ++i) lines.emplace_back(list.Line(i));
  return lines;
}

std::vector<std::string> Split(std::string_view text) {
  Holder<TStrList> l;
  l->SetText(text, false);
  EXPECT_EQ(l->Count, l->Lines == nullptr ? 0 : l->Lines->Count);
  return LinesOf(*l.list);
}

using Lines = std::vector<std::string>;

// ---- splitting ----

TEST(TStrListSetText, CrLfEndsALineAndTheLfIsDropped) { EXPECT_EQ(Split("a\r\nb"), (Lines{"a", "b"})); }

TEST(TStrListSetText, ATrailingBreakGivesNoEmptyLastLine) {
  EXPECT_EQ(Split("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(Split("a\r"), (Lines{"a"}));
}

TEST(TStrListSetText, ABreakAloneGivesOneEmptyLine) {
  EXPECT_EQ(Split("\r\n"), (Lines{""}));
  EXPECT_EQ(Split("\r"), (Lines{""}));
}

TEST(TStrListSetText, EmptyTextGivesNoLines) {
  Holder<TStrList> l;
  l->SetText("", false);
  EXPECT_EQ(l->Count, 0);
  EXPECT_EQ(l->TextBuffer, nullptr);
  EXPECT_EQ(l->TextSize, 0);
}

TEST(TStrListSetText, CrAloneEndsALine) { EXPECT_EQ(Split("a\rb"), (Lines{"a", "b"})); }

TEST(TStrListSetText, LoneLfStaysInsideTheLine) {
  EXPECT_EQ(Split("a\n\nb"), (Lines{"a\n\nb"}));
  EXPECT_EQ(Split("\na"), (Lines{"\na"}));
  EXPECT_EQ(Split("a\n"), (Lines{"a\n"}));
}

TEST(TStrListSetText, TwoBreaksInARowGiveAnEmptyLine) {
  EXPECT_EQ(Split("a\r\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Split("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Split("a\n\r\rb"), (Lines{"a\n", "", "b"}));
}

TEST(TStrListSetText, OnlyOneLfAfterACrIsDropped) {
  EXPECT_EQ(Split("a\r\n\nb"), (Lines{"a", "\nb"}));
  EXPECT_EQ(Split("a\r\r\n"), (Lines{"a", ""}));
}

TEST(TStrListSetText, TheTextEndsAtItsFirstNul) {
  EXPECT_EQ(Split("a\0b\rc"sv), (Lines{"a"}));
  EXPECT_EQ(Split("a\rb\0c\rd"sv), (Lines{"a", "b"}));
  EXPECT_EQ(Split("a\r\0b"sv), (Lines{"a"}));
  EXPECT_EQ(Split("\0abc"sv), Lines{});
}

TEST(TStrListSetText, KeepsHighBytesUnchanged) {
  const std::string cp1251 = "\xD1\xCB\xCE\xC9 1\r\xFF";
  EXPECT_EQ(Split(cp1251), (Lines{"\xD1\xCB\xCE\xC9 1", "\xFF"}));
}

TEST(TStrListSetText, LinesPointIntoOneTextBufferHoldingTheText) {
  Holder<TStrList> l;
  l->SetText("ab\r\ncd", false);
  ASSERT_EQ(l->Count, 2);
  EXPECT_EQ(l->TextSize, 7);
  EXPECT_EQ(l->Get(0), l->TextBuffer);
  EXPECT_EQ(l->Get(1), l->TextBuffer + 4);
}

TEST(TStrListSetText, WithoutAppendReplacesEveryLine) {
  Holder<TStrList> l;
  l->Add("inserted");
  l->SetText("a\rb", false);
  l->SetText("c", false);
  EXPECT_EQ(LinesOf(*l.list), (Lines{"c"}));
  EXPECT_EQ(l->TextSize, 2);
}

TEST(TStrListSetText, EmptyTextWithoutAppendClears) {
  Holder<TStrList> l;
  l->SetText("a\rb", false);
  l->SetText("", false);
  EXPECT_EQ(l->Count, 0);
  EXPECT_EQ(l->TextBuffer, nullptr);
}

TEST(TStrListSetText, AppendKeepsEarlierLinesValidAfterTheBufferMoved) {
  Holder<TStrList> l;
  l->SetText("a", false);
  l->Add("inserted");
  const char* before = l->TextBuffer;
  // Large enough that the new block cannot be the old one.
  const std::string big(100000, 'x');
  l->SetText(big, true);
  l->SetText("x\r\ny", true);
  EXPECT_NE(l->TextBuffer, before);
  ASSERT_EQ(l->Count, 5);
  EXPECT_EQ(l->Line(0), "a");  // read through the moved pointer; the sanitizer catches a stale one
  EXPECT_EQ(l->Line(1), "inserted");
  EXPECT_EQ(l->Line(2), big);
  EXPECT_EQ(l->Line(3), "x");
  EXPECT_EQ(l->Line(4), "y");
  EXPECT_EQ(l->Count, l->Lines->Count);
}

TEST(TStrListSetText, AppendingEmptyTextChangesNothing) {
  Holder<TStrList> l;
  l->SetText("a", false);
  l->SetText("", true);
  EXPECT_EQ(LinesOf(*l.list), (Lines{"a"}));
  EXPECT_EQ(l->TextSize, 2);
}

TEST(TStrListSetText, AppendingOneOfItsOwnLinesWorks) {
  Holder<TStrList> l;
  l->SetText("first\rsecond", false);
  l->SetText(l->Line(1), true);  // the text lives in the buffer that is about to be replaced
  l->SetText(l->Line(0), true);
  EXPECT_EQ(LinesOf(*l.list), (Lines{"first", "second", "second", "first"}));
}

// ---- joining ----

TEST(TStrListGetText, EveryLineIncludingTheLastGetsCrLf) {
  Holder<TStrList> l;
  l->Add("a");
  l->Add("");
  EXPECT_EQ(l->GetText(), "\x61\x0D\x0A\x0D\x0A"sv);
}

TEST(TStrListGetText, EmptyListGivesEmptyText) {
  Holder<TStrList> l;
  EXPECT_EQ(l->GetText(), "");
  l->SetText("a", false);
  l->Clear();
  EXPECT_EQ(l->GetText(), "");
}

TEST(TStrListGetText, RoundTripNormalisesBreaksToCrLf) {
  Holder<TStrList> l;
  l->SetText("1,2\r3\r\n4\n5", false);
  EXPECT_EQ(l->GetText(), "1,2\r\n3\r\n4\n5\r\n");
}

TEST(TStrListGetText, JoinsSetTextAndInsertedLinesInListOrder) {
  Holder<TStrList> l;
  l->SetText("b\rc", false);
  l->Insert(0, "a");
  l->Add("d");
  EXPECT_EQ(l->GetText(), "a\r\nb\r\nc\r\nd\r\n");
}

// ---- line operations ----

TEST(TStrListLines, InsertCopiesTheBytes) {
  Holder<TStrList> l;
  std::string source = "frame";
  l->Insert(0, source);
  source[0] = 'X';
  EXPECT_EQ(l->Line(0), "frame");
  EXPECT_NE(l->Get(0), source.data());
}

TEST(TStrListLines, InsertKeepsOnlyTheBytesBeforeANul) {
  Holder<TStrList> l;
  l->Add("ab\0cd"sv);
  EXPECT_EQ(l->Line(0), "ab");
  EXPECT_EQ(l->GetText(), "ab\r\n");
}

TEST(TStrListLines, AddReturnsTheNewIndexAndCountFollowsLines) {
  Holder<TStrList> l;
  EXPECT_EQ(l->Lines, nullptr);
  EXPECT_EQ(l->Add("a"), 0);
  EXPECT_EQ(l->Add("b"), 1);
  ASSERT_NE(l->Lines, nullptr);
  EXPECT_EQ(l->Lines->Growth, 4);
  EXPECT_EQ(l->Count, 2);
  EXPECT_EQ(l->Lines->Count, 2);
}

TEST(TStrListLines, IndicesOutsideTheListAreIgnored) {
  Holder<TStrList> l;
  l->Add("a");
  l->Insert(-1, "x");
  l->Insert(2, "x");
  l->Delete(1);
  l->Delete(-1);
  EXPECT_EQ(LinesOf(*l.list), (Lines{"a"}));
  EXPECT_EQ(l->Get(1), nullptr);
  EXPECT_EQ(l->Get(-1), nullptr);
  EXPECT_EQ(l->Line(5), "");
}

TEST(TStrListLines, DeletingASetTextLineLeavesTheBufferAlone) {
  Holder<TStrList> l;
  l->SetText("a\rb\rc", false);
  l->Insert(1, "inserted");
  const char* buffer = l->TextBuffer;
  l->Delete(0);  // inside the buffer: freeing it would be caught by the sanitizer as a bad free
  l->Delete(2);  // the last line, also inside the buffer
  EXPECT_EQ(l->TextBuffer, buffer);
  EXPECT_EQ(LinesOf(*l.list), (Lines{"inserted", "b"}));
  l->Delete(0);  // a separate block: freed (the leak checker would see it otherwise)
  EXPECT_EQ(LinesOf(*l.list), (Lines{"b"}));
  EXPECT_EQ(l->Line(0), "b");
}

TEST(TStrListLines, ClearFreesTheBufferOnceAndTheListStaysUsable) {
  Holder<TStrList> l;
  l->SetText("a\rb", false);
  l->Add("c");
  l->Clear();
  EXPECT_EQ(l->Count, 0);
  EXPECT_EQ(l->Lines, nullptr);
  EXPECT_EQ(l->TextBuffer, nullptr);
  EXPECT_EQ(l->TextSize, 0);
  l->Clear();
  l->SetText("d", true);
  EXPECT_EQ(LinesOf(*l.list), (Lines{"d"}));
}

// ---- lines with objects ----

int objA, objB, objC;

TEST(TStrListEx, ObjectsFollowTheirLines) {
  Holder<TStrListEx> l;
  ASSERT_NE(l->Objects, nullptr);
  EXPECT_EQ(l->AddObject("a", &objA), 0);
  EXPECT_EQ(l->AddObject("c", &objC), 1);
  l->InsertObject(1, "b", &objB);
  EXPECT_EQ(LinesOf(*l.list), (Lines{"a", "b", "c"}));
  EXPECT_EQ(l->GetObject(0), &objA);
  EXPECT_EQ(l->GetObject(1), &objB);
  EXPECT_EQ(l->GetObject(2), &objC);
  EXPECT_EQ(l->IndexOfObject(&objC), 2);
  l->Delete(0);
  EXPECT_EQ(l->GetObject(0), &objB);
  EXPECT_EQ(l->IndexOfObject(&objA), -1);
  EXPECT_EQ(l->IndexOfObject(&objC), 1);
}

TEST(TStrListEx, GetObjectOutOfRangeGivesNull) {
  Holder<TStrListEx> l;
  EXPECT_EQ(l->GetObject(0), nullptr);
  l->AddObject("a", &objA);
  EXPECT_EQ(l->GetObject(-1), nullptr);
  EXPECT_EQ(l->GetObject(1), nullptr);
}

TEST(TStrListEx, LinesWithoutObjectKeepLaterObjectsAtTheirLines) {
  Holder<TStrListEx> l;
  l->AddObject("a", &objA);
  l->Insert(0, "plain");  // no object: a null entry keeps the others in step
  EXPECT_EQ(l->GetObject(0), nullptr);
  EXPECT_EQ(l->GetObject(1), &objA);
  l->SetText("x\ry", true);  // lines without objects at the end
  EXPECT_EQ(l->AddObject("b", &objB), 4);
  EXPECT_EQ(l->GetObject(2), nullptr);
  EXPECT_EQ(l->GetObject(3), nullptr);
  EXPECT_EQ(l->GetObject(4), &objB);
  EXPECT_EQ(l->IndexOfObject(&objB), 4);
  l->Delete(2);
  EXPECT_EQ(l->IndexOfObject(&objB), 3);
}

TEST(TStrListEx, ReplacingTheTextDropsTheObjects) {
  Holder<TStrListEx> l;
  l->AddObject("a", &objA);
  l->SetText("b", false);
  EXPECT_EQ(l->GetObject(0), nullptr);
  EXPECT_EQ(l->IndexOfObject(&objA), -1);
  l->Clear();
  EXPECT_EQ(l->Objects->Count, 0);
}

}  // namespace
