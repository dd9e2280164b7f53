#include "cube/pattern.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using cube::TAxis;
using cube::TFrameFault;
using cube::TPattern;

constexpr std::size_t kLeds = TPattern().size();

// Random patterns of every density, from nearly dark to nearly full, for a fixed seed.
std::vector<TPattern> RandomPatterns(unsigned seed, int count) {
  std::mt19937 random(seed);
  std::vector<TPattern> patterns{TPattern(), cube::AllLit()};
  for (int k = 0; k < count; ++k) {
    std::uniform_int_distribution<int> percent(0, 100);
    const int density = percent(random);
    TPattern p;
    for (std::size_t i = 0; i < kLeds; ++i) {
      if (percent(random) < density) p.set(i);
    }
    patterns.push_back(p);
  }
  return patterns;
}

struct TPoint {
  int At[3];  // column, row, layer
};
// Coordinates are int (tests step them below 0); a position fits in int.
TPoint PointOf(std::size_t index) {
  const int i = static_cast<int>(index);
  return {{i % 6, i / 6 % 6, i / 36}};
}
std::size_t IndexOf(const TPoint& p) { return cube::IndexOf(p.At[0], p.At[1], p.At[2]); }

TPattern Single(std::size_t index) { return TPattern().set(index); }

// --- parse and format

TEST(FrameStringTest, FormatsTheLitIndicesAscendingWithTheEnd) {
  EXPECT_EQ(cube::FormatFrame(TPattern()), "227");
  TPattern p;
  p.set(0).set(1).set(9).set(10).set(99).set(100).set(215);
  EXPECT_EQ(cube::FormatFrame(p), "0,1,9,10,99,100,215,227");
}

TEST(FrameStringTest, TheFullFrameIsTheLongestValidLine) {
  const std::string full = cube::FormatFrame(cube::AllLit());
  EXPECT_EQ(full.size(), cube::kMaxFrameLength);
  const cube::TFrameParse parsed = cube::ParseFrame(full);
  ASSERT_TRUE(parsed.Ok());
  EXPECT_TRUE(parsed.Pattern.all());
}

TEST(FrameStringTest, ParseOfFormatGivesThePatternBack) {
  for (const TPattern& p : RandomPatterns(1509590, 500)) {
    const cube::TFrameParse parsed = cube::ParseFrame(cube::FormatFrame(p));
    ASSERT_TRUE(parsed.Ok()) << cube::FormatFrame(p);
    EXPECT_EQ(parsed.Pattern, p);
  }
}

TEST(FrameStringTest, EachSingleLedRoundTrips) {
  for (std::size_t i = 0; i < kLeds; ++i) {
    const std::string line = std::to_string(i) + ",227";
    EXPECT_EQ(cube::FormatFrame(Single(i)), line);
    const cube::TFrameParse parsed = cube::ParseFrame(line);
    ASSERT_TRUE(parsed.Ok()) << line;
    EXPECT_EQ(parsed.Pattern, Single(i));
  }
}

struct TBadLine {
  std::string Line;
  TFrameFault Fault;
};

void ExpectRejected(const std::vector<TBadLine>& lines) {
  for (const TBadLine& bad : lines) {
    const cube::TFrameParse parsed = cube::ParseFrame(bad.Line);
    EXPECT_EQ(parsed.Fault, bad.Fault) << '"' << bad.Line.substr(0, 60) << '"';
    EXPECT_FALSE(parsed.Ok());
  }
}

TEST(FrameStringTest, RejectsIndicesOutOfRangeAndOverflowingNumbers) {
  ExpectRejected({
      {"216,227", TFrameFault::OutOfRange},
      {"300,227", TFrameFault::OutOfRange},
      {"0,5,227,227", TFrameFault::OutOfRange},  // the end marker in the middle
      {"227,", TFrameFault::OutOfRange},
      {"4294967296,227", TFrameFault::OutOfRange},  // 2^32: zero if it wrapped
      {"4294967301,227", TFrameFault::OutOfRange},
      {"99999999999999999999999999999999,227", TFrameFault::OutOfRange},
      {"1," + std::string(700, '9') + ",227", TFrameFault::OutOfRange},
  });
}

TEST(FrameStringTest, RejectsRepeatedAndDescendingIndices) {
  ExpectRejected({
      {"3,3,227", TFrameFault::Repeated},
      {"0,0,227", TFrameFault::Repeated},
      {"1,2,3,215,215,227", TFrameFault::Repeated},
      {"5,3,227", TFrameFault::NotAscending},
      {"1,0,227", TFrameFault::NotAscending},
      {"0,100,99,227", TFrameFault::NotAscending},
  });
}

TEST(FrameStringTest, RejectsLinesWithoutTheEnd) {
  ExpectRejected({
      {"1,2", TFrameFault::NoEnd},
      {"1,2,", TFrameFault::NoEnd},
      {"0,", TFrameFault::NoEnd},
      {"226", TFrameFault::NoEnd},
      {"2270", TFrameFault::NoEnd},
      {"1,2227", TFrameFault::NoEnd},  // a missing comma runs two numbers together
      {"0", TFrameFault::NoEnd},
  });
}

TEST(FrameStringTest, RejectsLettersSignsSpacesAndLeadingZeros) {
  ExpectRejected({
      {"abc", TFrameFault::NotANumber},      {"1,a,227", TFrameFault::NotANumber},
      {"1,2,22a", TFrameFault::NotANumber},  {"-1,227", TFrameFault::NotANumber},
      {"+1,227", TFrameFault::NotANumber},   {" 1,227", TFrameFault::NotANumber},
      {"1 ,227", TFrameFault::NotANumber},   {"1, 2,227", TFrameFault::NotANumber},
      {"1,227 ", TFrameFault::NotANumber},   {"1 2,227", TFrameFault::NotANumber},  // a space for the comma
      {"1;2,227", TFrameFault::NotANumber},  {"01,227", TFrameFault::NotANumber},
      {"00,227", TFrameFault::NotANumber},   {"1,0227", TFrameFault::NotANumber},
      {",227", TFrameFault::NotANumber},     {"1,,227", TFrameFault::NotANumber},
      {",", TFrameFault::NotANumber},        {"1.5,227", TFrameFault::NotANumber},
      {"\xC0,227", TFrameFault::NotANumber}, {std::string("1,\0,227", 7), TFrameFault::NotANumber},
  });
}

TEST(FrameStringTest, RejectsAnythingAfterTheEnd) {
  ExpectRejected({
      {"1,227x", TFrameFault::NotANumber},
      {"227 227", TFrameFault::NotANumber},
      {"1,227\r", TFrameFault::NotANumber},  // the line splitter strips line ends: a CR left over is junk
      {"227\r\n", TFrameFault::NotANumber},
      {"227\n", TFrameFault::NotANumber},
      {"227\t", TFrameFault::NotANumber},
  });
}

TEST(FrameStringTest, RejectsEmptyAndOverlongLines) {
  ExpectRejected({
      {"", TFrameFault::Empty},
      {std::string(1 << 20, '1'), TFrameFault::TooLong},
      {cube::FormatFrame(cube::AllLit()) + "0", TFrameFault::TooLong},
      {std::string(1000, ','), TFrameFault::TooLong},
  });
}

TEST(FrameStringTest, EveryFaultHasItsOwnTextInRussianAndEnglish) {
  EXPECT_STREQ(cube::FrameFaultText(TFrameFault::None), "");
  EXPECT_STREQ(cube::FrameFaultEnglish(TFrameFault::None), "");
  const TFrameFault faults[] = {TFrameFault::Empty,        TFrameFault::NotANumber, TFrameFault::OutOfRange,
                                TFrameFault::NotAscending, TFrameFault::Repeated,   TFrameFault::NoEnd,
                                TFrameFault::TooLong};
  for (TFrameFault a : faults) {
    EXPECT_GT(std::strlen(cube::FrameFaultText(a)), 5u);
    EXPECT_GT(std::strlen(cube::FrameFaultEnglish(a)), 5u);
    for (TFrameFault b : faults) {
      if (a != b) {
        EXPECT_STRNE(cube::FrameFaultText(a), cube::FrameFaultText(b));
        EXPECT_STRNE(cube::FrameFaultEnglish(a), cube::FrameFaultEnglish(b));
      }
    }
  }
}

// --- transforms

TEST(CubeTransformTest, ShiftWithoutWrapDropsTheEdgeAndMovesTheRestByOne) {
  for (const TPattern& p : RandomPatterns(42, 200)) {
    for (int axis = 0; axis < 3; ++axis) {
      for (int step : {-1, 1}) {
        const TPattern shifted = cube::Shift(p, static_cast<TAxis>(axis), step, false);
        TPattern expected;
        for (std::size_t i = 0; i < kLeds; ++i) {
          if (!p.test(i)) continue;
          TPoint point = PointOf(i);
          point.At[axis] += step;
          if (point.At[axis] < 0 || point.At[axis] > 5) continue;
          expected.set(IndexOf(point));
        }
        ASSERT_EQ(shifted, expected) << "axis " << axis << " step " << step << ' ' << cube::FormatFrame(p);
      }
    }
  }
}

TEST(CubeTransformTest, ShiftWithoutWrapEmptiesTheCubeAfterSixSteps) {
  for (int axis = 0; axis < 3; ++axis) {
    for (int step : {-1, 1}) {
      TPattern p = cube::AllLit();
      for (int k = 1; k <= 6; ++k) {
        p = cube::Shift(p, static_cast<TAxis>(axis), step, false);
        EXPECT_EQ(p.count(), static_cast<std::size_t>(36 * (6 - k)));
      }
    }
  }
}

TEST(CubeTransformTest, ShiftWithWrapIsAPermutationThatSixStepsUndo) {
  for (const TPattern& p : RandomPatterns(7, 200)) {
    for (int axis = 0; axis < 3; ++axis) {
      for (int step : {-1, 1}) {
        TPattern q = p;
        for (int k = 1; k <= 6; ++k) {
          q = cube::Shift(q, static_cast<TAxis>(axis), step, true);
          ASSERT_EQ(q.count(), p.count());
        }
        EXPECT_EQ(q, p);
        EXPECT_EQ(cube::Shift(cube::Shift(p, static_cast<TAxis>(axis), step, true), static_cast<TAxis>(axis),
                              -step, true),
                  p);
      }
    }
  }
}

TEST(CubeTransformTest, ShiftWithWrapBringsTheEdgeInAtTheFarSide) {
  // Column 5 of row 2, layer 3 wraps to column 0; layer 0 wraps down to layer 5.
  EXPECT_EQ(cube::Shift(Single(cube::IndexOf(5, 2, 3)), TAxis::X, 1, true), Single(cube::IndexOf(0, 2, 3)));
  EXPECT_EQ(cube::Shift(Single(cube::IndexOf(4, 0, 1)), TAxis::Y, -1, true), Single(cube::IndexOf(4, 5, 1)));
  EXPECT_EQ(cube::Shift(Single(cube::IndexOf(1, 1, 0)), TAxis::Z, -1, true), Single(cube::IndexOf(1, 1, 5)));
  EXPECT_EQ(cube::Shift(Single(215), TAxis::Z, 1, true), Single(cube::IndexOf(5, 5, 0)));
  // The same LEDs without wrap leave the cube; a neighbour in the same word does not move with them.
  EXPECT_EQ(cube::Shift(Single(cube::IndexOf(5, 2, 3)), TAxis::X, 1, false), TPattern());
  EXPECT_EQ(cube::Shift(Single(cube::IndexOf(5, 2, 3)).set(cube::IndexOf(0, 3, 3)), TAxis::X, 1, false),
            Single(cube::IndexOf(1, 3, 3)));
}

TEST(CubeTransformTest, RotationTurnsClockwiseAsTheLayersAreDrawn) {
  // Top-left corner to top-right, top-right to bottom-right, each within its layer.
  EXPECT_EQ(cube::RotateZ(Single(cube::IndexOf(0, 0, 2))), Single(cube::IndexOf(5, 0, 2)));
  EXPECT_EQ(cube::RotateZ(Single(cube::IndexOf(5, 0, 2))), Single(cube::IndexOf(5, 5, 2)));
  EXPECT_EQ(cube::RotateZ(Single(cube::IndexOf(1, 0, 0))), Single(cube::IndexOf(5, 1, 0)));
  for (std::size_t i = 0; i < kLeds; ++i) {
    const TPattern turned = cube::RotateZ(Single(i));
    ASSERT_EQ(turned.count(), 1u);
    const TPoint from = PointOf(i);
    const TPoint to = PointOf(turned._Find_first());
    EXPECT_EQ(to.At[2], from.At[2]);
    EXPECT_EQ(to.At[0], 5 - from.At[1]);
    EXPECT_EQ(to.At[1], from.At[0]);
  }
}

TEST(CubeTransformTest, FourRotationsGiveThePatternBack) {
  for (const TPattern& p : RandomPatterns(11, 300)) {
    TPattern q = p;
    for (int k = 0; k < 4; ++k) q = cube::RotateZ(q);
    EXPECT_EQ(q, p);
    EXPECT_EQ(cube::RotateZ(p).count(), p.count());
  }
}

TEST(CubeTransformTest, MirrorsReflectOneAxisAndTwoGiveThePatternBack) {
  for (int axis = 0; axis < 3; ++axis) {
    for (std::size_t i = 0; i < kLeds; ++i) {
      TPoint point = PointOf(i);
      point.At[axis] = 5 - point.At[axis];
      EXPECT_EQ(cube::Mirror(Single(i), static_cast<TAxis>(axis)), Single(IndexOf(point)));
    }
  }
  for (const TPattern& p : RandomPatterns(13, 300)) {
    for (int axis = 0; axis < 3; ++axis) {
      EXPECT_EQ(cube::Mirror(cube::Mirror(p, static_cast<TAxis>(axis)), static_cast<TAxis>(axis)), p);
    }
  }
}

TEST(CubeTransformTest, ARandomRunOfToolsUndoneInReverseGivesThePatternBack) {
  std::mt19937 random(23);
  for (const TPattern& p : RandomPatterns(19, 200)) {
    TPattern q = p;
    std::vector<unsigned> tools(random() % 12);
    for (unsigned& tool : tools) tool = static_cast<unsigned>(random() % 11);
    // 0-5: wrapped shifts, 6: rotation, 7-9: mirrors, 10: invert.
    const auto apply = [](TPattern x, unsigned tool, bool undo) {
      if (tool < 6)
        return cube::Shift(x, static_cast<TAxis>(tool / 2), (tool % 2 == 0) != undo ? 1 : -1, true);
      if (tool == 6) return undo ? cube::RotateZ(cube::RotateZ(cube::RotateZ(x))) : cube::RotateZ(x);
      if (tool < 10) return cube::Mirror(x, static_cast<TAxis>(tool - 7));
      return cube::Invert(x);
    };
    for (unsigned tool : tools) q = apply(q, tool, false);
    for (auto tool = tools.rbegin(); tool != tools.rend(); ++tool) q = apply(q, *tool, true);
    ASSERT_EQ(q, p) << cube::FormatFrame(p);
  }
}

TEST(CubeTransformTest, RotationTurnsAColumnShiftIntoARowShiftAndARowShiftIntoAColumnShiftBack) {
  // Column c, row r goes to column 5 - r, row c: +X becomes +Y, and +Y becomes -X, with or without wrap.
  for (const TPattern& p : RandomPatterns(29, 200)) {
    for (bool wrap : {false, true}) {
      for (int step : {-1, 1}) {
        EXPECT_EQ(cube::RotateZ(cube::Shift(p, TAxis::X, step, wrap)),
                  cube::Shift(cube::RotateZ(p), TAxis::Y, step, wrap));
        EXPECT_EQ(cube::RotateZ(cube::Shift(p, TAxis::Y, step, wrap)),
                  cube::Shift(cube::RotateZ(p), TAxis::X, -step, wrap));
        EXPECT_EQ(cube::RotateZ(cube::Shift(p, TAxis::Z, step, wrap)),
                  cube::Shift(cube::RotateZ(p), TAxis::Z, step, wrap));
      }
    }
  }
}

TEST(CubeTransformTest, InvertAndLightAll) {
  for (const TPattern& p : RandomPatterns(17, 50)) {
    EXPECT_EQ((cube::Invert(p) & p).count(), 0u);
    EXPECT_EQ((cube::Invert(p) | p).count(), 216u);
    EXPECT_EQ(cube::Invert(cube::Invert(p)), p);
  }
  EXPECT_EQ(cube::FormatFrame(cube::Invert(cube::AllLit())), "227");
  EXPECT_TRUE(cube::AllLit().all());
}

}  // namespace
