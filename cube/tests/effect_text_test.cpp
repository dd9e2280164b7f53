#include "cube/effect_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using effect::TPlayClock;
using Lines = std::vector<std::string>;

Lines Split(std::string_view bytes) {
  Lines out;
  for (std::string_view line : effect::SplitFileLines(bytes)) out.emplace_back(line);
  return out;
}

Lines Memo(std::string_view text) {
  Lines out;
  for (const effect::TLineSpan& line : effect::MemoLines(text))
    out.emplace_back(text.substr(line.Start, line.Length));
  return out;
}

// What a save writes for the memo text: every line the save reads, each ended by CR LF.
std::string Saved(std::string_view memoText) {
  std::string bytes;
  for (const std::string& line : Memo(memoText)) bytes += line + "\r\n";
  return bytes;
}

// A stand-in for the frame check: lines that start with a digit.
bool StartsWithDigit(std::string_view line) { return !line.empty() && line[0] >= '0' && line[0] <= '9'; }

TEST(EffectFileLines, CrLfLfAndCrEachEndALine) {
  EXPECT_EQ(Split("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(Split("a\n\rb"), (Lines{"a", "", "b"})) << "LF then CR is two line ends";
  EXPECT_EQ(Split("a\r\r\nb"), (Lines{"a", "", "b"}));
}

TEST(EffectFileLines, AFinalLineEndMakesNoExtraLineButEmptyLinesBeforeItStay) {
  EXPECT_EQ(Split(""), Lines{});
  EXPECT_EQ(Split("a"), (Lines{"a"}));
  EXPECT_EQ(Split("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(Split("a\r"), (Lines{"a"}));
  EXPECT_EQ(Split("a\n\n"), (Lines{"a", ""}));
  EXPECT_EQ(Split("\r\n"), (Lines{""}));
  EXPECT_EQ(Split("\n\n\n"), (Lines{"", "", ""}));
}

TEST(EffectFileLines, LineBytesAreKeptExactly) {
  const std::string odd = std::string("  1,\t227 ") + "\xff\xd1";
  EXPECT_EQ(Split(odd + "\n" + odd), (Lines{odd, odd}));
}

TEST(EffectFileText, OnlyANulByteMakesBytesNotText) {
  EXPECT_TRUE(effect::LooksLikeText(""));
  EXPECT_TRUE(effect::LooksLikeText("\x01\xff\x7f\t"));
  EXPECT_FALSE(effect::LooksLikeText(std::string("227\r\n\0", 6)));
  EXPECT_FALSE(effect::LooksLikeText(std::string(1, '\0')));
}

TEST(EffectFileText, TheFirstLineOverTheLineLimitIsFoundAndTheLongestFrameIsWellUnderIt) {
  const std::string atLimit(effect::kMaxLineBytes, 'a');
  const std::string over(effect::kMaxLineBytes + 1, 'a');
  using Views = std::vector<std::string_view>;
  EXPECT_EQ(effect::FirstLongLine(Views{}), 0u);
  EXPECT_EQ(effect::FirstLongLine(Views{"227", atLimit, ""}), 3u);
  EXPECT_EQ(effect::FirstLongLine(Views{"227", over, atLimit, over}), 1u);
  EXPECT_EQ(effect::FirstLongLine(Views{over}), 0u);
  std::string all;
  for (int i = 0; i < 216; ++i) all += std::to_string(i) + ",";
  all += "227";
  EXPECT_EQ(all.size(), effect::kMaxFrameChars);
  EXPECT_LT(effect::kMaxFrameChars * 5, effect::kMaxLineBytes);
}

TEST(EffectFileText,
     TheLayoutWeightAdmitsTenThousandFramesAndAHundredThousandShortLinesButNotAFullSizeOfWideOnes) {
  using Views = std::vector<std::string_view>;
  EXPECT_EQ(effect::LayoutWeight(Views{}), 0u);
  EXPECT_EQ(effect::LayoutWeight(Views{"ab", "", "abc"}), 4u + 9u);
  const std::string frame(40, '1'), wide(effect::kMaxFrameChars, '1'), tiny(8, '1');
  EXPECT_LE(effect::LayoutWeight(Views(10000, frame)), effect::kMaxLayoutWeight);
  EXPECT_LE(effect::LayoutWeight(Views(100000, tiny)), effect::kMaxLayoutWeight);
  EXPECT_LE(effect::LayoutWeight(Views(1000, wide)), effect::kMaxLayoutWeight);
  // A file at the size limit of all-lit frames would take the edit control most of a minute.
  EXPECT_GT(effect::LayoutWeight(Views(effect::kMaxEffectBytes / (wide.size() + 2), wide)),
            effect::kMaxLayoutWeight);
}

TEST(EffectFileText, TenThousandFramesOfTwentyLedsStayWrappedButAThousandOfAHundredAndFiftyOpenUnwrapped) {
  using Views = std::vector<std::string_view>;
  // Twenty lit LEDs of two and three digits: about 75 characters; 150 of them about 520.
  const std::string twenty(75, '1'), eighty(280, '1'), wide(520, '1');
  EXPECT_LE(effect::LayoutWeight(Views(10000, twenty)), effect::kMaxWrappedWeight);
  EXPECT_GT(effect::LayoutWeight(Views(4000, eighty)), effect::kMaxWrappedWeight);
  EXPECT_GT(effect::LayoutWeight(Views(1000, wide)), effect::kMaxWrappedWeight);
  // What opens unwrapped can still be wrapped on request, up to the bound that keeps it to seconds.
  EXPECT_LT(effect::kMaxWrappedWeight, effect::kMaxLayoutWeight);
}

TEST(EffectMemoText, SavingTheMemoTextGivesEveryFileLineEndedByCrLf) {
  for (const char* file : {"", "a", "a\n", "a\rb\nc\r\n", "a\n\n", "\n", "\r\n\r\n", "x\n\ny\n\n\n"}) {
    const auto lines = effect::SplitFileLines(file);
    std::string expected;
    for (std::string_view line : lines) expected += std::string(line) + "\r\n";
    EXPECT_EQ(Saved(effect::MemoTextOf(lines)), expected) << "file " << ::testing::PrintToString(file);
    EXPECT_EQ(effect::SavedTextOf(lines), expected) << "the file text without the memo";
    EXPECT_EQ(Memo(effect::MemoTextOf(lines)), Split(file)) << "the memo shows the file's lines";
  }
}

TEST(EffectMemoText, RandomFilesKeepTheirLinesThroughTheMemo) {
  std::mt19937 random(7);
  const char alphabet[] = {'1', ',', '\r', '\n', 'x'};
  for (int round = 0; round < 500; ++round) {
    std::string file(random() % 30, ' ');
    for (char& c : file) c = alphabet[random() % sizeof alphabet];
    const auto lines = effect::SplitFileLines(file);
    ASSERT_EQ(Memo(effect::MemoTextOf(lines)), Split(file)) << ::testing::PrintToString(file);
    ASSERT_EQ(effect::SavedTextOf(lines), Saved(effect::MemoTextOf(lines))) << ::testing::PrintToString(file);
  }
}

TEST(EffectMemoLines, CaretOffsetsMapToTheLineASaveWouldWrite) {
  const std::string text = "ab\r\ncd\r\n\r\nef";
  const auto lines = effect::MemoLines(text);
  ASSERT_EQ(lines.size(), 4u);
  const std::vector<std::size_t> expected{0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 3, 3, 3};
  for (std::size_t at = 0; at <= text.size(); ++at) EXPECT_EQ(effect::LineAt(lines, at), expected[at]) << at;
}

TEST(EffectMemoLines, ThePlaceAfterAFinalBreakAndAnEmptyTextAreNoLine) {
  const std::string text = "ab\r\n";
  const auto lines = effect::MemoLines(text);
  EXPECT_EQ(effect::LineAt(lines, 2), 0u);
  EXPECT_EQ(effect::LineAt(lines, 4), 1u) << "the caret's empty line after the last break";
  EXPECT_EQ(effect::LineAt(effect::MemoLines(""), 0), 0u);
  EXPECT_EQ(effect::LineAt(lines, 99), 1u);
}

TEST(EffectMemoLines, ALoneLfStaysInsideItsLineAsTheSaveReadsIt) {
  EXPECT_EQ(Memo("a\nb\rc"), (Lines{"a\nb", "c"}));
}

TEST(EffectBadLines, CountsAllAndListsTheFirstFiveByLineNumber) {
  const Lines lines{"1", "x", "2", "", "y", "z", "3", "w", "v", "u"};
  const effect::TBadLines bad = effect::FindBadLines(lines, &StartsWithDigit, 5);
  EXPECT_EQ(bad.Count, 7u);
  EXPECT_EQ(bad.First, (std::vector<std::size_t>{2, 4, 5, 6, 8}));
  const std::string message = effect::BadLinesMessage(bad);
  EXPECT_NE(message.find("7"), std::string::npos);
  EXPECT_NE(message.find("2, 4, 5, 6, 8"), std::string::npos);
}

TEST(EffectBadLines, TheMessageNamesTwentyLinesAndTheTotal) {
  Lines lines(45, "x");
  lines[0] = "1";
  const effect::TBadLines bad = effect::FindBadLines(lines, &StartsWithDigit);
  ASSERT_EQ(bad.First.size(), 20u);
  EXPECT_EQ(bad.First.back(), 21u);
  const std::string message = effect::BadLinesMessage(bad);
  EXPECT_NE(message.find("Первые 20 из 44: 2, 3,"), std::string::npos) << message;
  EXPECT_NE(message.find(", 21."), std::string::npos) << message;
  EXPECT_EQ(message.find("22"), std::string::npos) << message;
}

TEST(EffectBadLines, NoneInAGoodOrEmptyEffect) {
  EXPECT_EQ(effect::FindBadLines(Lines{"1", "2"}, &StartsWithDigit).Count, 0u);
  EXPECT_EQ(effect::FindBadLines(Lines{}, &StartsWithDigit).Count, 0u);
}

TEST(EffectBadLines, AByteOrderMarkBeforeTheFirstLineIsNamedOnlyThere) {
  const std::string bom(effect::kUtf8Bom);
  const effect::TBadLines named = effect::FindBadLines(Lines{bom + "1", "2"}, &StartsWithDigit);
  EXPECT_TRUE(named.ByteOrderMark);
  EXPECT_EQ(named.First, (std::vector<std::size_t>{1}));
  const std::string mark = "BOM";
  EXPECT_NE(effect::BadLinesMessage(named).find(mark), std::string::npos);
  const effect::TBadLines later = effect::FindBadLines(Lines{"x", bom + "1"}, &StartsWithDigit);
  EXPECT_FALSE(later.ByteOrderMark);
  EXPECT_EQ(effect::BadLinesMessage(later).find(mark), std::string::npos);
  EXPECT_FALSE(effect::StartsWithUtf8Bom("\xEF\xBB"));
}

TEST(EffectPlayList, HoldsTheGoodLinesInOrderAndSkipsTheRest) {
  EXPECT_EQ(effect::PlayList(Lines{"x", "1", "", "2", "3", "y"}, &StartsWithDigit),
            (std::vector<std::size_t>{1, 3, 4}));
  EXPECT_TRUE(effect::PlayList(Lines{"x", ""}, &StartsWithDigit).empty());
}

// The play clock against a fake monotonic clock in microseconds.
TEST(PlayClock, FramesFallDueOnePeriodApartFromTheStart) {
  TPlayClock clock;
  clock.Start(1000, 20000);
  EXPECT_EQ(clock.DueFrame(1000), 0);
  EXPECT_EQ(clock.DueFrame(20999), 0);
  EXPECT_EQ(clock.DueFrame(21000), 1);
  EXPECT_EQ(clock.DelayAfter(0, 1000), 20000);
  EXPECT_EQ(clock.DelayAfter(0, 15000), 6000);
  EXPECT_EQ(clock.DelayAfter(0, 25000), 0) << "overdue";
}

TEST(PlayClock, LateTicksDoNotPushLaterFramesBack) {
  TPlayClock clock;
  clock.Start(0, 20000);
  // Every tick comes 3 ms late; the deadlines stay on the grid of the start.
  std::int64_t shown = 0;
  for (int k = 1; k <= 1000; ++k) {
    const std::int64_t now = k * 20000 + 3000;
    shown = clock.DueFrame(now);
    ASSERT_EQ(shown, k);
    ASSERT_EQ(clock.DelayAfter(shown, now), 17000);
  }
}

TEST(PlayClock, AVeryLateTickShowsTheLatestDueFrameOnly) {
  TPlayClock clock;
  clock.Start(0, 20000);
  EXPECT_EQ(clock.DueFrame(95000), 4) << "frames 1-3 are skipped, not shown in a burst";
  EXPECT_EQ(clock.DelayAfter(4, 95000), 5000);
}

TEST(PlayClock, PauseAndResumeKeepThePhaseOfTheFrame) {
  TPlayClock clock;
  clock.Start(0, 20000);
  clock.Pause(47000);  // 7 ms into frame 2
  EXPECT_TRUE(clock.Paused());
  EXPECT_EQ(clock.DueFrame(900000), 2) << "nothing falls due while paused";
  clock.Resume(500000);
  EXPECT_EQ(clock.DueFrame(500000), 2);
  EXPECT_EQ(clock.DelayAfter(2, 500000), 13000) << "the rest of frame 2";
  EXPECT_EQ(clock.DueFrame(513000), 3);
}

TEST(PlayClock, ANewRateTakesEffectFromTheShownFrame) {
  TPlayClock clock;
  clock.Start(0, 100000);
  clock.SetPeriod(3, 350000, 20000);
  EXPECT_EQ(clock.DueFrame(350000), 3);
  EXPECT_EQ(clock.DelayAfter(3, 350000), 20000);
  EXPECT_EQ(clock.DueFrame(370000), 4);
}

TEST(PlayClock, ARestartMakesTheSteppedToFrameDueNow) {
  TPlayClock clock;
  clock.Start(0, 50000);
  clock.Restart(10, 1000000);
  EXPECT_EQ(clock.DueFrame(1000000), 10);
  EXPECT_EQ(clock.DelayAfter(10, 1000000), 50000);
}

TEST(PlayClock, AZeroPeriodIsTakenAsTheShortestOne) {
  TPlayClock clock;
  clock.Start(0, 0);
  EXPECT_EQ(clock.Period(), 1);
  EXPECT_EQ(clock.DueFrame(5), 5);
}

}  // namespace
