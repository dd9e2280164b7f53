#include "platform/text_lines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

// The line starts a full scan finds: the reference the incremental index must always equal.
std::vector<std::size_t> ScannedStarts(const std::u16string& text) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == u'\r' && text[i + 1] == u'\n') starts.push_back(i + 2);
  return starts;
}

void ExpectIndexMatchesText(const TTextLines& lines) {
  const std::vector<std::size_t> starts = ScannedStarts(lines.Text());
  ASSERT_EQ(lines.LineCount(), starts.size());
  std::size_t longest = 0;
  for (std::size_t line = 0; line < starts.size(); ++line) {
    ASSERT_EQ(lines.LineStart(line), starts[line]) << "line " << line;
    const std::size_t end = line + 1 < starts.size() ? starts[line + 1] - 2 : lines.Length();
    ASSERT_EQ(lines.LineLength(line), end - starts[line]) << "line " << line;
    longest = std::max(longest, end - starts[line]);
  }
  EXPECT_EQ(lines.LongestLineLength(), longest);
  EXPECT_EQ(lines.LineLength(lines.LongestLine()), longest);
}

TTextLines Made(std::u16string_view text) {
  TTextLines lines;
  lines.SetText(text);
  return lines;
}

TEST(TextLines, AnEmptyTextIsOneEmptyLine) {
  const TTextLines lines = Made(u"");
  EXPECT_EQ(lines.LineCount(), 1u);
  EXPECT_EQ(lines.LineStart(0), 0u);
  EXPECT_EQ(lines.LineLength(0), 0u);
  EXPECT_EQ(lines.LineFromChar(0), 0u);
  EXPECT_EQ(lines.LineFromChar(5), 0u);
  EXPECT_EQ(lines.LongestLineLength(), 0u);
  EXPECT_FALSE(lines.CanUndo());
}

TEST(TextLines, OnlyCrLfBreaksALineAndCountsTwoCharacters) {
  const TTextLines lines = Made(u"1,227\r\n2\r3\n4\r\n\r\n5,227");
  ASSERT_EQ(lines.LineCount(), 4u);
  EXPECT_EQ(lines.Line(0), u"1,227");
  EXPECT_EQ(lines.Line(1), u"2\r3\n4");  // a lone CR or LF is an ordinary character
  EXPECT_EQ(lines.Line(2), u"");
  EXPECT_EQ(lines.LineStart(3), 16u);
  EXPECT_EQ(lines.Line(3), u"5,227");  // the last line needs no break
  EXPECT_EQ(lines.LongestLineLength(), 5u);
  // The characters of a break belong to the line they end; past the text is the last line.
  EXPECT_EQ(lines.LineFromChar(5), 0u);
  EXPECT_EQ(lines.LineFromChar(6), 0u);
  EXPECT_EQ(lines.LineFromChar(7), 1u);
  EXPECT_EQ(lines.LineFromChar(22), 3u);
  EXPECT_EQ(lines.LineFromChar(1000), 3u);
  EXPECT_EQ(lines.LineStart(99), lines.Length());
  EXPECT_EQ(lines.LineLength(99), 0u);
}

TEST(TextLines, ATextEndingInABreakHasAnEmptyLastLine) {
  const TTextLines lines = Made(u"1,227\r\n");
  ASSERT_EQ(lines.LineCount(), 2u);
  EXPECT_EQ(lines.LineStart(1), 7u);
  EXPECT_EQ(lines.LineLength(1), 0u);
  EXPECT_EQ(lines.LineFromChar(7), 1u);
}

TEST(TextLines, EditsAtLineStartsAndEndsKeepTheIndex) {
  TTextLines lines = Made(u"ab\r\ncd\r\nef");
  lines.Replace(4, 4, u"X", false);  // at a line's start
  EXPECT_EQ(lines.Line(1), u"Xcd");
  ExpectIndexMatchesText(lines);
  lines.Replace(7, 7, u"\r\nnew", false);  // at a line's end, a new line
  EXPECT_EQ(lines.Text(), u"ab\r\nXcd\r\nnew\r\nef");
  ExpectIndexMatchesText(lines);
  lines.Replace(2, 4, u"", false);  // the first break removed: two lines join
  EXPECT_EQ(lines.Line(0), u"abXcd");
  ExpectIndexMatchesText(lines);
  lines.Replace(lines.Length(), lines.Length(), u"\r\n", false);  // a break at the very end
  EXPECT_EQ(lines.LineLength(lines.LineCount() - 1), 0u);
  ExpectIndexMatchesText(lines);
}

TEST(TextLines, EditsInsideAndAcrossABreakFormAndSplitCrLf) {
  TTextLines lines = Made(u"ab\r\ncd");
  lines.Replace(3, 3, u"x", false);  // between CR and LF: the break is gone
  EXPECT_EQ(lines.LineCount(), 1u);
  ExpectIndexMatchesText(lines);
  lines.Replace(3, 4, u"", false);  // and back: CR and LF meet again
  EXPECT_EQ(lines.LineCount(), 2u);
  ExpectIndexMatchesText(lines);
  TTextLines lone = Made(u"a\rb\nc");
  lone.Replace(2, 2, u"\n", false);  // a LF after a lone CR makes a break
  EXPECT_EQ(lone.Line(0), u"a");
  lone.Replace(4, 4, u"\r", false);  // a CR before a lone LF too
  EXPECT_EQ(lone.LineCount(), 3u);
  ExpectIndexMatchesText(lone);
  lone.Replace(0, lone.Length(), u"", false);
  EXPECT_EQ(lone.LineCount(), 1u);
  ExpectIndexMatchesText(lone);
}

TEST(TextLines, RandomEditsAlwaysLeaveTheIndexAFullScanWouldBuild) {
  std::mt19937 random(7);
  const std::u16string pieces[] = {u"", u"\r", u"\n", u"\r\n", u"1,227", u"\r\n5,6,227\r\n", u"x\r\n\r\ny"};
  TTextLines lines = Made(u"0,227\r\n1,227\r\n2,227");
  for (int step = 0; step < 3000; ++step) {
    const std::size_t a = random() % (lines.Length() + 1);
    const std::size_t b = std::min(lines.Length(), a + random() % 9);
    lines.Replace(random() % 2 != 0 ? a : b, random() % 2 != 0 ? b : a, pieces[random() % 7], step % 3 == 0);
    ExpectIndexMatchesText(lines);
    if (HasFatalFailure()) return;
  }
}

TEST(TextLines, OneUndoTakesBackAReplacementAfterTheUndoBufferWasEmptied) {
  // The line tools: empty the undo step, then one undoable replacement of whole lines.
  TTextLines lines = Made(u"1,227\r\n2,227\r\n3,227");
  lines.Replace(0, 1, u"9", true);
  lines.EmptyUndo();
  EXPECT_FALSE(lines.CanUndo());
  lines.Replace(7, 14, u"4,227\r\n5,227\r\n", true);
  ASSERT_TRUE(lines.CanUndo());
  std::size_t from = 0, to = 0;
  ASSERT_TRUE(lines.Undo(from, to));
  EXPECT_EQ(lines.Text(), u"9,227\r\n2,227\r\n3,227");
  EXPECT_EQ(from, 7u);  // the text put back is selected
  EXPECT_EQ(to, 14u);
  ExpectIndexMatchesText(lines);
  ASSERT_TRUE(lines.Undo(from, to));  // and the next undo takes the undo back
  EXPECT_EQ(lines.Text(), u"9,227\r\n4,227\r\n5,227\r\n3,227");
  EXPECT_EQ(to - from, 14u);
}

TEST(TextLines, ARunOfTypingIsOneUndoStepAndTypingElsewhereStartsANewOne) {
  TTextLines lines = Made(u"ab\r\ncd");
  std::size_t at = 0;
  for (char16_t c : std::u16string(u"12")) at = lines.Replace(at, at, std::u16string(1, c), true);
  lines.Replace(5, 5, u"3", true);  // elsewhere
  std::size_t from = 0, to = 0;
  ASSERT_TRUE(lines.Undo(from, to));
  EXPECT_EQ(lines.Text(), u"12ab\r\ncd");
  EXPECT_EQ(from, 5u);
  EXPECT_EQ(to, 5u);

  TTextLines typed = Made(u"ab");
  at = 0;
  for (char16_t c : std::u16string(u"xyz")) at = typed.Replace(at, at, std::u16string(1, c), true);
  ASSERT_TRUE(typed.Undo(from, to));
  EXPECT_EQ(typed.Text(), u"ab") << "the whole run goes at once";
}

TEST(TextLines, TypingOverASelectionAndBackspacesUndoAsOneStep) {
  TTextLines lines = Made(u"12ab");
  lines.Replace(1, 3, u"Q", true);
  lines.Replace(2, 2, u"R", true);
  std::size_t from = 0, to = 0;
  ASSERT_TRUE(lines.Undo(from, to));
  EXPECT_EQ(lines.Text(), u"12ab");
  EXPECT_EQ(from, 1u);
  EXPECT_EQ(to, 3u);

  TTextLines erased = Made(u"12ab");
  erased.Replace(1, 2, u"", true);  // Backspace twice from 2
  erased.Replace(0, 1, u"", true);
  erased.Replace(0, 1, u"", true);  // then Delete once
  ASSERT_TRUE(erased.Undo(from, to));
  EXPECT_EQ(erased.Text(), u"12ab");
  EXPECT_EQ(from, 0u);
  EXPECT_EQ(to, 3u);
}

TEST(TextLines, AChangeWithoutUndoOrANewTextForgetsTheStep) {
  TTextLines lines = Made(u"ab");
  lines.Replace(0, 0, u"x", true);
  lines.Replace(0, 0, u"y", false);
  EXPECT_FALSE(lines.CanUndo());
  lines.Replace(0, 0, u"x", true);
  lines.SetText(u"new");
  EXPECT_FALSE(lines.CanUndo());
  std::size_t from = 9, to = 9;
  EXPECT_FALSE(lines.Undo(from, to));
  EXPECT_EQ(lines.Text(), u"new");
}

// About 4 MB of 150-LED frames, the largest effect a file may hold.
std::u16string LargeEffect() {
  std::u16string frame;
  for (int n = 0; n < 150; ++n)
    for (char c : std::to_string(n) + ",") frame.push_back(static_cast<char16_t>(c));
  frame += u"227\r\n";
  std::u16string text;
  while (text.size() + frame.size() < 4u * 1024 * 1024) text += frame;
  return text;
}

TEST(TextLines, AFourMegabyteTextIsIndexedAndEditedAtBothEnds) {
  const std::u16string text = LargeEffect();
  TTextLines lines = Made(text);
  const std::size_t count = lines.LineCount();
  EXPECT_EQ(count, text.size() / 495 + 1);  // 493 characters a frame and its break
  EXPECT_EQ(lines.LongestLineLength(), 493u);
  lines.Replace(0, 0, u"1,227\r\n", true);
  lines.Replace(lines.Length(), lines.Length(), u"2,227", true);
  EXPECT_EQ(lines.LineCount(), count + 1);
  EXPECT_EQ(lines.Line(count), u"2,227");
  EXPECT_EQ(lines.LineFromChar(lines.Length()), count);
  std::size_t from = 0, to = 0;
  ASSERT_TRUE(lines.Undo(from, to));
  EXPECT_EQ(lines.Length(), text.size() + 7);
  ExpectIndexMatchesText(lines);
}

}  // namespace
