#include "platform/runtime_error_report.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(RuntimeErrorOfException, MapsEveryListedCode) {
  struct Case {
    std::uint32_t code;
    int error;
  };
  const Case cases[] = {
      {0xC0000094u, 200}, {0xC000008Eu, 200}, {0xC000008Cu, 201}, {0xC00000FDu, 202}, {0xC0000091u, 205},
      {0xC000008Du, 206}, {0xC0000093u, 206}, {0xC000008Fu, 207}, {0xC0000090u, 207}, {0xC0000092u, 207},
      {0xC0000095u, 215}, {0xC0000005u, 216}, {0xC000001Du, 216}, {0xC000013Au, 217}, {0xC0000096u, 218},
  };
  for (const Case& c : cases) EXPECT_EQ(RuntimeErrorOfException(c.code), c.error) << std::hex << c.code;
}

TEST(RuntimeErrorOfException, OtherErrorSeverityCodesAre217AndTheRest255) {
  EXPECT_EQ(RuntimeErrorOfException(0xC0000025u), 217);  // non-continuable exception
  EXPECT_EQ(RuntimeErrorOfException(0xE06D7363u), 217);  // a foreign C++ runtime's exception
  EXPECT_EQ(RuntimeErrorOfException(0xC0000000u), 217);
  EXPECT_EQ(RuntimeErrorOfException(0x80000003u), 255);  // breakpoint: warning severity
  EXPECT_EQ(RuntimeErrorOfException(0x40010005u), 255);  // informational
  EXPECT_EQ(RuntimeErrorOfException(0x00000000u), 255);
}

TEST(IsFloatException, CoversTheFloatingPointCodesOnly) {
  for (std::uint32_t code = 0xC000008Du; code <= 0xC0000093u; ++code) EXPECT_TRUE(IsFloatException(code));
  EXPECT_FALSE(IsFloatException(0xC000008Cu));  // array bounds
  EXPECT_FALSE(IsFloatException(0xC0000094u));  // integer divide by zero
  EXPECT_FALSE(IsFloatException(0xC0000005u));
}

TEST(IsLanguageRuntimeSignal, RecognisesTheCxxThrowAndUnwindCodesOnly) {
  EXPECT_TRUE(IsLanguageRuntimeSignal(0x20474343u));
  EXPECT_TRUE(IsLanguageRuntimeSignal(0x21474343u));
  EXPECT_TRUE(IsLanguageRuntimeSignal(0x22474343u));
  EXPECT_FALSE(IsLanguageRuntimeSignal(0xE0474343u));
  EXPECT_FALSE(IsLanguageRuntimeSignal(0xC0000005u));
  EXPECT_FALSE(IsLanguageRuntimeSignal(0x20474344u));
}

std::string Address(std::uintptr_t a) {
  char digits[kMaxAddressDigits];
  return std::string(digits, FormatCodeAddress(a, digits));
}

TEST(FormatCodeAddress, WritesEightUpperCaseDigitsWithLeadingZeros) {
  EXPECT_EQ(Address(0x0040ABCDu), "0040ABCD");
  EXPECT_EQ(Address(0), "00000000");
  EXPECT_EQ(Address(0xFFFFFFFFu), "FFFFFFFF");
}

TEST(FormatCodeAddress, WritesSixteenDigitsForAddressesAboveFourGiB) {
  if (sizeof(std::uintptr_t) < 8) GTEST_SKIP() << "32-bit addresses";
  EXPECT_EQ(Address(static_cast<std::uintptr_t>(0x14001A2F0ull)), "000000014001A2F0");
  EXPECT_EQ(Address(static_cast<std::uintptr_t>(0xFFFFFFFFFFFFFFFFull)), "FFFFFFFFFFFFFFFF");
}

std::string Report(int error, std::uintptr_t address, const std::vector<std::uintptr_t>& frames,
                   std::size_t outSize = kMaxReportSize) {
  std::vector<char> out(outSize);
  return std::string(out.data(), FormatRuntimeErrorReport(error, address, frames.data(), frames.size(),
                                                          out.data(), outSize));
}

TEST(FormatRuntimeErrorReport, ListsTheAddressThenEachFrameThenAnEmptyLine) {
  EXPECT_EQ(Report(216, 0x00401234u, {0x00405678u, 0x7C80ABCDu}),
            "Runtime error 216 at $00401234\r\n"
            "  $00401234\r\n"
            "  $00405678\r\n"
            "  $7C80ABCD\r\n"
            "\r\n");
}

TEST(FormatRuntimeErrorReport, WithoutFramesStillEndsWithTheEmptyLine) {
  EXPECT_EQ(Report(200, 0x10u, {}), "Runtime error 200 at $00000010\r\n  $00000010\r\n\r\n");
}

TEST(FormatRuntimeErrorReport, ListsAtMost256Frames) {
  std::vector<std::uintptr_t> frames(300, 0x00401000u);
  const std::string text = Report(217, 0x00401000u, frames);
  std::size_t lines = 0;
  for (std::size_t i = text.find("\r\n"); i != std::string::npos; i = text.find("\r\n", i + 2)) ++lines;
  EXPECT_EQ(lines, 2u + 256u + 1u);
  EXPECT_LE(text.size(), kMaxReportSize);
}

TEST(FormatRuntimeErrorReport, StopsShortOfASmallBufferInsteadOfOverrunningIt) {
  std::vector<char> out(40, '#');
  const std::uintptr_t frames[] = {0x00405678u};
  const std::size_t n = FormatRuntimeErrorReport(216, 0x00401234u, frames, 1, out.data(), 32);
  EXPECT_LE(n, 32u);
  EXPECT_EQ(std::string(out.data(), n), "Runtime error 216 at $00401234\r\n");
  EXPECT_EQ(out[32], '#');
}

// A fake stack: words indexed from its low end; frame links are addresses of words in it.
struct FakeStack {
  std::uintptr_t words[64] = {};
  std::uintptr_t At(std::size_t i) const { return reinterpret_cast<std::uintptr_t>(&words[i]); }
  void Frame(std::size_t i, std::uintptr_t link, std::uintptr_t returnAddress) {
    words[i] = link;
    words[i + 1] = returnAddress;
  }
  std::uintptr_t Low() const { return At(0); }
  std::uintptr_t High() const { return At(0) + sizeof(words); }
};

std::vector<std::uintptr_t> Walk(const FakeStack& s, std::uintptr_t first,
                                 std::size_t max = kMaxReportFrames) {
  std::vector<std::uintptr_t> frames(max);
  frames.resize(WalkFrameChain(first, s.Low(), s.High(), frames.data(), max));
  return frames;
}

TEST(WalkFrameChain, FollowsLinksUpTheStackUntilALinkPointsBack) {
  FakeStack s;
  s.Frame(4, s.At(10), 0x1111);
  s.Frame(10, s.At(20), 0x2222);
  s.Frame(20, s.At(2), 0x3333);  // points back down: this is the last frame
  s.Frame(2, s.At(30), 0x4444);
  EXPECT_EQ(Walk(s, s.At(4)), (std::vector<std::uintptr_t>{0x1111, 0x2222, 0x3333}));
}

TEST(WalkFrameChain, StopsAtAZeroReturnAddress) {
  FakeStack s;
  s.Frame(4, s.At(10), 0x1111);
  s.Frame(10, s.At(20), 0);
  s.Frame(20, s.At(30), 0x3333);
  EXPECT_EQ(Walk(s, s.At(4)), (std::vector<std::uintptr_t>{0x1111}));
}

TEST(WalkFrameChain, NeverReadsOutsideTheStack) {
  FakeStack s;
  s.Frame(4, s.At(10), 0x1111);
  s.Frame(10, s.High() + 64, 0x2222);  // a link past the stack's top
  EXPECT_EQ(Walk(s, s.At(4)), (std::vector<std::uintptr_t>{0x1111, 0x2222}));
  s.Frame(10, s.At(63), 0x2222);  // a frame whose second word would lie past the top
  EXPECT_EQ(Walk(s, s.At(4)), (std::vector<std::uintptr_t>{0x1111, 0x2222}));
  EXPECT_TRUE(Walk(s, s.Low() - sizeof(std::uintptr_t)).empty());
  EXPECT_TRUE(Walk(s, 0).empty());
}

TEST(WalkFrameChain, RejectsAMisalignedLink) {
  FakeStack s;
  s.Frame(4, s.At(10) + 1, 0x1111);
  EXPECT_EQ(Walk(s, s.At(4)), (std::vector<std::uintptr_t>{0x1111}));
}

TEST(WalkFrameChain, StopsAfterTheGivenNumberOfFrames) {
  FakeStack s;
  for (std::size_t i = 0; i + 3 < 64; i += 2) s.Frame(i, s.At(i + 2), 0x1000 + i);
  EXPECT_EQ(Walk(s, s.At(0), 5).size(), 5u);
}

std::vector<std::string> shown;
void Collect(const char* text) { shown.emplace_back(text); }

struct ErrorOutputTest : ::testing::Test {
  void SetUp() override { shown.clear(); }
  TErrorOutput out{Collect};
};

TEST_F(ErrorOutputTest, HoldsTextUntilItEndsWithAnEmptyLine) {
  out.Write("Runtime error 216 at $00401234\r\n", 32);
  out.Write("  $00401234\r\n", 13);
  EXPECT_TRUE(shown.empty());
  out.Write("\r\n", 2);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Runtime error 216 at $00401234\r\n  $00401234\r\n\r\n");
  EXPECT_EQ(out.Pending(), 0u);
}

TEST_F(ErrorOutputTest, AnEmptyLineInsideOneWriteDoesNotSplitIt) {
  out.Write("a\r\n\r\nb", 6);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(out.Pending(), 6u);
}

TEST_F(ErrorOutputTest, ShowsEachFullBufferAndKeepsTheRest) {
  const std::string text(2500, 'x');
  out.Write(text.data(), text.size());
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], std::string(1024, 'x'));
  EXPECT_EQ(shown[1], std::string(1024, 'x'));
  EXPECT_EQ(out.Pending(), 2500u - 2048u);
}

TEST_F(ErrorOutputTest, FlushShowsPendingTextOnceAndNothingWhenEmpty) {
  out.Flush();
  EXPECT_TRUE(shown.empty());
  out.Write("pending", 7);
  out.Flush();
  out.Flush();
  EXPECT_EQ(shown, (std::vector<std::string>{"pending"}));
}

TEST_F(ErrorOutputTest, ALongReportArrivesInFullBuffersThenTheTail) {
  std::vector<std::uintptr_t> frames(100, 0x00401000u);
  const std::string text = Report(216, 0x00401000u, frames);
  out.Write(text.data(), text.size());
  std::string joined;
  for (const std::string& s : shown) joined += s;
  EXPECT_EQ(joined, text);
  EXPECT_EQ(shown[0].size(), TErrorOutput::kCapacity);
  EXPECT_EQ(out.Pending(), 0u);
}

}  // namespace
