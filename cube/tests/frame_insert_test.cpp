#include "cube/frame_insert.h"

#include <gtest/gtest.h>

#include <string>

#include "cube/effect_text.h"

namespace {

std::string Inserted(const std::string& text, std::size_t caret, const std::string& lines) {
  const effect::TInsertion insertion = effect::InsertAfterCaretLine(text, caret, lines);
  return text.substr(0, insertion.At) + insertion.Text + text.substr(insertion.At);
}

TEST(FrameInsertTest, FramesGoRightAfterTheCaretsLine) {
  const std::string frames = "1,227\r\n2,227\r\n";
  EXPECT_EQ(Inserted("a\r\nb\r\nc", 0, frames), "a\r\n1,227\r\n2,227\r\nb\r\nc");
  EXPECT_EQ(Inserted("a\r\nb\r\nc", 4, frames), "a\r\nb\r\n1,227\r\n2,227\r\nc");
  // The caret at a line's end, right before its break, is still on that line.
  EXPECT_EQ(Inserted("a\r\nb", 1, frames), "a\r\n1,227\r\n2,227\r\nb");
  // A bare CR breaks a line as the save reads it.
  EXPECT_EQ(Inserted("a\rb", 0, frames), "a\r1,227\r\n2,227\r\nb");
}

TEST(FrameInsertTest, AtTheLastLineTheFramesEndAsTheTextDid) {
  const std::string frames = "1,227\r\n2,227\r\n";
  EXPECT_EQ(Inserted("a\r\nb", 4, frames), "a\r\nb\r\n1,227\r\n2,227");
  EXPECT_EQ(Inserted("a\r\n", 3, frames), "a\r\n1,227\r\n2,227");
  EXPECT_EQ(Inserted("a\r\n", 0, frames), "a\r\n1,227\r\n2,227");
  EXPECT_EQ(Inserted("", 0, frames), "1,227\r\n2,227");
  // A caret past the end (a stale selection) counts as the end.
  EXPECT_EQ(Inserted("a", 9, frames), "a\r\n1,227\r\n2,227");
}

TEST(FrameInsertTest, AnEffectPastTheOpeningLimitsDoesNotFit) {
  const std::string frames = "1,227\r\n";
  EXPECT_TRUE(effect::FitsEffect("a", effect::InsertAfterCaretLine("a", 0, frames)));
  // Saved, every line gets CR LF: this text saves to 6 bytes short of the limit.
  std::string big;
  while (big.size() + 4002 <= effect::kMaxEffectBytes - 100) big += std::string(4000, 'x') + "\r\n";
  big += std::string(effect::kMaxEffectBytes - 8 - big.size(), 'y');
  EXPECT_TRUE(effect::FitsEffect(big, effect::InsertAfterCaretLine(big, 0, "227\r\n")));
  EXPECT_FALSE(effect::FitsEffect(big, effect::InsertAfterCaretLine(big, 0, "1,227\r\n")));
  const std::string longLine(effect::kMaxLineBytes + 1, 'x');
  EXPECT_FALSE(effect::FitsEffect(longLine, effect::InsertAfterCaretLine(longLine, 0, frames)));
}

}  // namespace
