// A million random byte strings through the lenient parsers, the value conversions and the
// real-to-text writer, checking the properties that must hold for any input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "runtime/data.h"

namespace {

constexpr int kStrings = 1000000;
constexpr std::uint64_t kSeed = 20240611;

class RandomText {
 public:
  explicit RandomText(std::uint64_t seed) : rng_(seed) {}

  std::string Next() { return Pick(100) < 30 ? Structured() : Junk(); }

 private:
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }

  char Digit() { return static_cast<char>('0' + Pick(10)); }

  std::string Digits(int max) {
    std::string s;
    for (int i = Pick(max + 1); i > 0; --i) s += Digit();
    return s;
  }

  // Something shaped like a number: [-]digits[.digits][e[-|+]digits]
  std::string Structured() {
    std::string s;
    if (Pick(3) == 0) s += '-';
    s += Digits(Pick(4) == 0 ? 40 : 12);
    if (Pick(2) == 0) s += '.' + Digits(Pick(4) == 0 ? 40 : 12);
    if (Pick(3) == 0) {
      s += Pick(2) == 0 ? 'e' : 'E';
      const int sign = Pick(3);
      if (sign == 1) s += '-';
      if (sign == 2) s += '+';
      s += Digits(Pick(5) == 0 ? 12 : 3);
    }
    return s;
  }

  std::string Junk() {
    const int bucket = Pick(100);
    int length = 0;
    if (bucket < 5)
      length = 0;
    else if (bucket < 80)
      length = 1 + Pick(24);
    else if (bucket < 95)
      length = 25 + Pick(56);
    else
      length = 81 + Pick(320);
    std::string s;
    for (int i = 0; i < length; ++i) {
      const int c = Pick(100);
      if (c < 45)
        s += Digit();
      else if (c < 53)
        s += '.';
      else if (c < 59)
        s += Pick(2) == 0 ? 'e' : 'E';
      else if (c < 65)
        s += '-';
      else if (c < 69)
        s += '+';
      else if (c < 73)
        s += ' ';
      else if (c < 76)
        s += ',';
      else
        s += static_cast<char>(Pick(256));
    }
    return s;
  }

  std::mt19937_64 rng_;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the shape of a finite value's text: [-](0|[1-9]digits)[.digits ending in non-zero].
::testing::AssertionResult WellFormedRealText(const std::string& text) {
  std::size_t i = 0;
  if (i < text.size() && text[i] == '-') ++i;
  const std::size_t intStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::size_t intDigits = i - intStart;
  if (intDigits == 0) return ::testing::AssertionFailure() << "no integer digits in " << text;
  if (intDigits > 1 && text[intStart] == '0')
    return ::testing::AssertionFailure() << "leading zero in " << text;
  if (i < text.size()) {
    if (text[i] != '.') return ::testing::AssertionFailure() << "stray character in " << text;
    ++i;
    const std::size_t fracStart = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i != text.size() || i == fracStart || text.back() == '0')
      return ::testing::AssertionFailure() << "bad fraction in " << text;
  }
  if (text == "-0") return ::testing::AssertionFailure() << "negative zero text";
  std::string digits;
  for (char c : text)
    if (IsDigit(c)) digits += c;
  const std::size_t first = digits.find_first_not_of('0');
  const std::size_t last = digits.find_last_not_of('0');
  const std::size_t significant = first == std::string::npos ? 0 : last - first + 1;
  if (significant > 15)
    return ::testing::AssertionFailure() << significant << " significant digits in " << text;
  return ::testing::AssertionSuccess();
}

// Removes the characters the real parser skips, up to its exponent mark.
std::string WithoutSkippedCharacters(const std::string& s) {
  std::string kept;
  std::size_t i = 0;
  if (!s.empty() && s[0] == '-') kept += s[i++];
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c == 'e' || c == 'E') return kept + s.substr(i);
    if (IsDigit(c) || c == '.') kept += c;
  }
  return kept;
}

void CheckOneString(const std::string& text, int& roundTrips) {
  {
    const ByteString s(text);
    TData value;
    MakeStr(&value, s);

    // Integers: the value is fixed by the leading sign and digit run only.
    const std::int32_t i = StrToIntLax(s);
    ASSERT_EQ(AsInt(&value), i);
    std::size_t p = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    std::size_t runEnd = p;
    while (runEnd < text.size() && IsDigit(text[runEnd])) ++runEnd;
    if (runEnd == p) {
      ASSERT_EQ(i, 0);
    } else if (runEnd - p <= 9) {
      const long expected = std::strtol(text.substr(p, runEnd - p).c_str(), nullptr, 10);
      ASSERT_EQ(i, text[0] == '-' ? -expected : expected);
    }
    if (!text.empty() && text[0] != '-' && text[0] != '+') {
      const std::int32_t negated = StrToIntLax(ByteString("-" + text));
      ASSERT_EQ(static_cast<std::uint32_t>(negated), 0u - static_cast<std::uint32_t>(i));
    }

    // Index: -1 exactly when there is no number to mean.
    const std::int32_t index = AsIndex(&value);
    if (text.empty()) {
      ASSERT_EQ(index, -1);
    } else if (i != 0) {
      ASSERT_EQ(index, i);
    } else {
      ASSERT_EQ(index, text[0] == '0' ? 0 : -1);
    }

    // Text of a string value is the string itself, shared.
    const ByteString same = AsStr(&value);
    ASSERT_EQ(same.data(), s.data());

    // Reals: never NaN, sign only from a leading '-', skipped characters really are skipped.
    const double r = StrToRealLax(s);
    ASSERT_FALSE(std::isnan(r));
    const double viaValue = AsReal(&value);
    ASSERT_TRUE(viaValue == r);
    if (text.empty() || text[0] != '-') {
      ASSERT_FALSE(std::signbit(r));
    }
    if (!text.empty() && text[0] == '-') {
      ASSERT_LE(r, 0.0);
    }
    ASSERT_EQ(StrToRealLax(ByteString(WithoutSkippedCharacters(text))), r);
    const bool hasExponent = text.find_first_of("eE") != std::string::npos;
    if (!hasExponent && text.find('.') == std::string::npos) {
      std::string digits;
      for (char c : text)
        if (IsDigit(c)) digits += c;
      if (digits.size() <= 15) {
        const double whole =
            digits.empty() ? 0.0 : static_cast<double>(std::strtoll(digits.c_str(), nullptr, 10));
        ASSERT_EQ(r, text[0] == '-' ? -whole : whole);
      }
    }

    // Writing the real back out.
    const std::string written(RealToStr(r).view());
    ASSERT_EQ(written.find_first_of("eE"), std::string::npos);
    if (!std::isfinite(r)) {
      ASSERT_EQ(written, r < 0 ? "-INF" : "INF");
      return;
    }
    ASSERT_TRUE(WellFormedRealText(written));
    if (r > 0) {
      ASSERT_EQ(std::string(RealToStr(-r).view()), "-" + written);
    }
    const double magnitude = std::fabs(r);
    if (magnitude >= 1e-60) {  // below, the parser's repeated tenths drift past 1e-14
      const double back = StrToRealLax(ByteString(written));
      ASSERT_LE(std::fabs(back - r), 1e-14 * magnitude) << written;
      ++roundTrips;
    }
    TData real;
    MakeReal(&real, r);
    ASSERT_EQ(AsInt(&real), RoundHalfEven(r));
    if (magnitude < 2147483647.0) {
      ASSERT_LE(std::fabs(RoundHalfEven(r) - r), 0.5);
    }
  }
}

TEST(RandomConversions, HoldTheirPropertiesForAMillionStrings) {
  RandomText generator(kSeed);
  int roundTrips = 0;
  for (int n = 0; n < kStrings; ++n) {
    const std::string text = generator.Next();
    CheckOneString(text, roundTrips);
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "string #" << n << " [" << text << "]";
      return;
    }
  }
  EXPECT_GT(roundTrips, kStrings / 2);
}

}  // namespace
