// Conversions between kinds of value and the lenient number text rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/data.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TData Str(const char* s) {
  TData d;
  MakeStr(&d, s);
  return d;
}
TData Real(double v) {
  TData d;
  MakeReal(&d, v);
  return d;
}
TData Int(std::int32_t v) {
  TData d;
  MakeInt(&d, v);
  return d;
}

TEST(AsIndex, TellsWhichItemAStringMeans) {
  const TData zero = Str("0"), zeros = Str("00"), letters = Str("abc"), empty = Str(""), seven = Str("7x");
  const TData minus = Str("-3"), blankZero = Str(" 0"), signedZero = Str("-0");
  EXPECT_EQ(AsIndex(&zero), 0);
  EXPECT_EQ(AsIndex(&zeros), 0);
  EXPECT_EQ(AsIndex(&letters), -1);
  EXPECT_EQ(AsIndex(&empty), -1);
  EXPECT_EQ(AsIndex(&seven), 7);
  EXPECT_EQ(AsIndex(&minus), -3);
  EXPECT_EQ(AsIndex(&blankZero), -1);
  EXPECT_EQ(AsIndex(&signedZero), -1);  // a zero that does not start with "0" means no number
}

TEST(AsIndex, OfOtherKinds) {
  const TData nothing, absent = [] {
    TData d;
    d.Kind = dkAbsent;
    return d;
  }();
  const TData i = Int(-4), r = Real(2.5), r2 = Real(3.5);
  EXPECT_EQ(AsIndex(&nothing), -1);
  EXPECT_EQ(AsIndex(&absent), -1);
  EXPECT_EQ(AsIndex(&i), -4);
  EXPECT_EQ(AsIndex(&r), 2);
  EXPECT_EQ(AsIndex(&r2), 4);
}

TEST(AsInt, RoundsRealsHalfToEvenAndReadsStringsStrictlyFromTheStart) {
  const TData r25 = Real(2.5), r35 = Real(3.5), blanks = Str("  5"), plus = Str("+5"), i = Int(-9);
  EXPECT_EQ(AsInt(&r25), 2);
  EXPECT_EQ(AsInt(&r35), 4);
  EXPECT_EQ(AsInt(&blanks), 0);
  EXPECT_EQ(AsInt(&plus), 5);
  EXPECT_EQ(AsInt(&i), -9);
}

TEST(AsStr, OfRealsAndIntegers) {
  const TData five = Real(5), tenth = Real(0.1), half = Real(-0.5), minInt = Int(INT32_MIN);
  EXPECT_EQ(AsStr(&five), "5");
  EXPECT_EQ(AsStr(&tenth), "0.1");
  EXPECT_EQ(AsStr(&half), "-0.5");
  EXPECT_EQ(AsStr(&minInt), "-2147483648");
}

TEST(AsStr, OfAStringSharesItsBytes) {
  const TData s = Str("text");
  const ByteString copy = AsStr(&s);
  EXPECT_EQ(copy, "text");
  EXPECT_EQ(copy.data(), s.StrValue.data());
}

TEST(AsReal, OfIntegersIsExactAndOfStringsLenient) {
  const TData minInt = Int(INT32_MIN), maxInt = Int(INT32_MAX), s = Str("1,5");
  EXPECT_EQ(AsReal(&minInt), -2147483648.0);
  EXPECT_EQ(AsReal(&maxInt), 2147483647.0);
  EXPECT_EQ(AsReal(&s), 15.0);
}

TEST(Conversions, AKindNotInTheTableGivesNothing) {
  // The whole kind byte counts: a value still flagged for forwarding is not a plain value.
  for (std::uint8_t kind :
       {std::uint8_t(dkEmpty), std::uint8_t(dkAbsent), std::uint8_t(dkInteger | dkForward),
        std::uint8_t(dkString | dkForward), std::uint8_t(3), std::uint8_t(255)}) {
    TData d;
    MakeStr(&d, "12");
    d.IntValue = 12;
    d.RealValue = 12;
    d.Kind = kind;
    EXPECT_EQ(AsInt(&d), 0) << int(kind);
    EXPECT_EQ(AsStr(&d), "") << int(kind);
    EXPECT_EQ(AsReal(&d), 0.0) << int(kind);
    EXPECT_EQ(AsIndex(&d), -1) << int(kind);
  }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
}

TEST(RoundHalfEven, NonHalvesGoToTheNearest) {
  EXPECT_EQ(RoundHalfEven(2.4999999999999996), 2);
  EXPECT_EQ(RoundHalfEven(0.49999999999999994), 0);  // adding 0.5 first would give 1
  EXPECT_EQ(RoundHalfEven(2.5000000000000004), 3);
  EXPECT_EQ(RoundHalfEven(-2.5000000000000004), -3);
  EXPECT_EQ(RoundHalfEven(-0.2), 0);
  EXPECT_EQ(RoundHalfEven(7.0), 7);
  EXPECT_EQ(RoundHalfEven(-1e-300), 0);
}

TEST(RoundHalfEven, KeepsTheLow32BitsOfThe64BitResult) {
  EXPECT_EQ(RoundHalfEven(2147483647.0), INT32_MAX);
  EXPECT_EQ(RoundHalfEven(2147483648.0), INT32_MIN);
  EXPECT_EQ(RoundHalfEven(3e9), static_cast<std::int32_t>(3000000000u));
  EXPECT_EQ(RoundHalfEven(-3e9), static_cast<std::int32_t>(0x4D2FA200u));
  EXPECT_EQ(RoundHalfEven(4294967296.0 + 5), 5);
  EXPECT_EQ(RoundHalfEven(4294967296.0 * 3 + 0.5), 0);
  EXPECT_EQ(RoundHalfEven(4503599627370497.0), 1);  // 2^52 + 1: already whole and odd
  EXPECT_EQ(RoundHalfEven(9223372036854774784.0),
            static_cast<std::int32_t>(0xFFFFFC00u));  // largest below 2^63
  EXPECT_EQ(RoundHalfEven(-9223372036854775808.0), 0);
}

TEST(RoundHalfEven, ValuesThatDoNotFitIn64BitsOrAreNotFiniteGiveZero) {
  EXPECT_EQ(RoundHalfEven(9223372036854775808.0), 0);
  EXPECT_EQ(RoundHalfEven(-9223372036854777856.0), 0);
  EXPECT_EQ(RoundHalfEven(1e300), 0);
  EXPECT_EQ(RoundHalfEven(kInf), 0);
  EXPECT_EQ(RoundHalfEven(-kInf), 0);
  EXPECT_EQ(RoundHalfEven(kNaN), 0);
}

TEST(IntToStrDec, WritesPlainDecimal) {
  EXPECT_EQ(IntToStrDec(0), "0");
  EXPECT_EQ(IntToStrDec(7), "7");
  EXPECT_EQ(IntToStrDec(-1), "-1");
  EXPECT_EQ(IntToStrDec(1000), "1000");
  EXPECT_EQ(IntToStrDec(INT32_MAX), "2147483647");
  EXPECT_EQ(IntToStrDec(INT32_MIN), "-2147483648");
}

TEST(StrToIntLax, ReadsDigitsFromTheStartAndIgnoresTheRest) {
  EXPECT_EQ(StrToIntLax(""), 0);
  EXPECT_EQ(StrToIntLax("12abc"), 12);
  EXPECT_EQ(StrToIntLax("abc"), 0);
  EXPECT_EQ(StrToIntLax("-"), 0);
  EXPECT_EQ(StrToIntLax("+"), 0);
  EXPECT_EQ(StrToIntLax("+5"), 5);
  EXPECT_EQ(StrToIntLax("-42"), -42);
  EXPECT_EQ(StrToIntLax(" 5"), 0);
  EXPECT_EQ(StrToIntLax("+-5"), 0);
  EXPECT_EQ(StrToIntLax("--5"), 0);
  EXPECT_EQ(StrToIntLax("007"), 7);
  EXPECT_EQ(StrToIntLax("1.9"), 1);
  EXPECT_EQ(StrToIntLax(ByteString("3\0"
                                   "4",
                                   3)),
            3);
}

TEST(StrToIntLax, WrapsAt32Bits) {
  EXPECT_EQ(StrToIntLax("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToIntLax("2147483648"), INT32_MIN);
  EXPECT_EQ(StrToIntLax("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToIntLax("4294967296"), 0);
  EXPECT_EQ(StrToIntLax("4294967297"), 1);
  EXPECT_EQ(StrToIntLax("99999999999"), 1215752191);
  EXPECT_EQ(StrToIntLax("-99999999999"), -1215752191);
}

TEST(StrToRealLax, SkipsWhatIsNotADigitPointOrExponent) {
  EXPECT_EQ(StrToRealLax(""), 0.0);
  EXPECT_EQ(StrToRealLax("1,5"), 15.0);
  EXPECT_EQ(StrToRealLax(" 2.5"), 2.5);
  EXPECT_EQ(StrToRealLax("+5"), 5.0);
  EXPECT_EQ(StrToRealLax("12-3"), 123.0);
  EXPECT_EQ(StrToRealLax("1/2"), 12.0);
  EXPECT_EQ(StrToRealLax("1 000"), 1000.0);
  EXPECT_EQ(StrToRealLax("abc"), 0.0);
  EXPECT_EQ(StrToRealLax("--5"), -5.0);
  EXPECT_TRUE(std::signbit(StrToRealLax("-")));
}

TEST(StrToRealLax, ASecondPointEndsTheScan) {
  EXPECT_DOUBLE_EQ(StrToRealLax("3.1.4"), 3.1);
  EXPECT_EQ(StrToRealLax("..5"), 0.0);
  EXPECT_EQ(StrToRealLax(".5.5"), 0.5);
  EXPECT_EQ(StrToRealLax("-.5"), -0.5);
  EXPECT_EQ(StrToRealLax("7."), 7.0);
}

TEST(StrToRealLax, FractionDigitsAddScaledByRepeatedTenths) {
  const double tenth = 0.1, hundredth = tenth * 0.1;
  EXPECT_EQ(StrToRealLax("0.25"), 2 * tenth + 5 * hundredth);
  EXPECT_EQ(StrToRealLax("1.05"), 1 + 0 * tenth + 5 * hundredth);
}

TEST(StrToRealLax, ExponentMultipliesByAPowerOfTenBuiltStepByStep) {
  EXPECT_EQ(StrToRealLax("1.5e3"), 1500.0);
  EXPECT_EQ(StrToRealLax("2E2"), 200.0);
  EXPECT_EQ(StrToRealLax("1.5e+3"), 1500.0);
  EXPECT_EQ(StrToRealLax("1e"), 1.0);
  EXPECT_EQ(StrToRealLax("1ex"), 1.0);
  EXPECT_EQ(StrToRealLax("1e 3"), 1.0);  // the exponent is read strictly from its start
  EXPECT_EQ(StrToRealLax("1e1.5"), 10.0);
  EXPECT_EQ(StrToRealLax("1e2e3"), 100.0);
  EXPECT_EQ(StrToRealLax("e5"), 0.0);
  EXPECT_EQ(StrToRealLax("5e-3"), 5 * (0.1 * 0.1 * 0.1));
  EXPECT_EQ(StrToRealLax("-2e-1"), -2 * 0.1);
}

TEST(StrToRealLax, ExponentsBeyondTheRealRangeEndSafely) {
  EXPECT_EQ(StrToRealLax("1e400"), kInf);
  EXPECT_EQ(StrToRealLax("-1e400"), -kInf);
  EXPECT_EQ(StrToRealLax("1e-400"), 0.0);
  EXPECT_EQ(StrToRealLax("1e2147483647"), kInf);
  EXPECT_EQ(StrToRealLax("1e-2147483648"), 0.0);
  EXPECT_EQ(StrToRealLax("1e4294967296"), 1.0);     // the exponent wraps to 0
  EXPECT_EQ(StrToRealLax("0e400"), 0.0);            // never 0 times infinity
  const double subnormal = StrToRealLax("5e-310");  // kept, not flushed to zero
  EXPECT_GT(subnormal, 4e-310);
  EXPECT_LT(subnormal, 6e-310);
}

TEST(StrToRealLax, AnOverlongMantissaIsInfiniteAndNeverNaN) {
  const std::string digits(400, '9');
  EXPECT_EQ(StrToRealLax(ByteString(digits)), kInf);
  EXPECT_EQ(StrToRealLax(ByteString(digits + "e-400")), 0.0);
  EXPECT_EQ(StrToRealLax(ByteString("-" + digits)), -kInf);
  EXPECT_EQ(StrToRealLax(ByteString("0." + std::string(400, '0') + "1")), 0.0);
}

TEST(RealToStr, ShowsAtMostFifteenSignificantDigitsWithoutExponent) {
  EXPECT_EQ(RealToStr(5), "5");
  EXPECT_EQ(RealToStr(0.5), "0.5");
  EXPECT_EQ(RealToStr(123.456), "123.456");
  EXPECT_EQ(RealToStr(1e20), "100000000000000000000");
  EXPECT_EQ(RealToStr(0.00001), "0.00001");
  EXPECT_EQ(RealToStr(-2.25), "-2.25");
  EXPECT_EQ(RealToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(RealToStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(RealToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(RealToStr(1e15), "1000000000000000");
  EXPECT_EQ(RealToStr(123456789012345678.0), "123456789012346000");
  EXPECT_EQ(RealToStr(-1), "-1");
  EXPECT_EQ(RealToStr(10), "10");
  EXPECT_EQ(RealToStr(1e13), "10000000000000");
  EXPECT_EQ(RealToStr(5e12), "5000000000000");
  EXPECT_EQ(RealToStr(4999999999999.0), "4999999999999");
  EXPECT_EQ(RealToStr(2147483648.0), "2147483648");
  EXPECT_EQ(RealToStr(0.000123), "0.000123");
}

TEST(RealToStr, ZeroOfEitherSignIsZero) {
  EXPECT_EQ(RealToStr(0.0), "0");
  EXPECT_EQ(RealToStr(-0.0), "0");
}

TEST(RealToStr, RoundingUpCarriesIntoTheNextPowerOfTen) {
  EXPECT_EQ(RealToStr(0.99999999999999989), "1");
  EXPECT_EQ(RealToStr(99999999999999.99), "100000000000000");
  EXPECT_EQ(RealToStr(-9.9999999999999995e-7), "-0.000001");
}

TEST(RealToStr, ExtremeMagnitudesAreWrittenOut) {
  const std::string tiny(RealToStr(4.9406564584124654e-324).view());
  EXPECT_EQ(tiny, "0." + std::string(323, '0') + "494065645841247");
  const std::string huge(RealToStr(1.7976931348623157e308).view());
  EXPECT_EQ(huge, "179769313486232" + std::string(294, '0'));
}

TEST(RealToStr, NonFiniteValuesHaveFixedTexts) {
  EXPECT_EQ(RealToStr(kInf), "INF");
  EXPECT_EQ(RealToStr(-kInf), "-INF");
  EXPECT_EQ(RealToStr(kNaN), "NAN");
  TData d;
  MakeReal(&d, kNaN);
  EXPECT_EQ(AsInt(&d), 0);
  EXPECT_EQ(AsIndex(&d), 0);
}

}  // namespace
