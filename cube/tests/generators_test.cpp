#include "cube/generators.h"

#include <gtest/gtest.h>

#include <string>

#include "cube/glyphs.h"
#include "cube/motions.h"

namespace {

using cube::TPattern;

const gen::TGeneratorInfo& Info(const char* id) { return *gen::FindGenerator(id); }

// Defaults with some values set by parameter id.
gen::TValues With(const gen::TGeneratorInfo& info, std::initializer_list<std::pair<const char*, int>> numbers,
                  const char* text = nullptr) {
  gen::TValues values = gen::Defaults(info);
  for (std::size_t i = 0; i < info.Params.size(); ++i) {
    for (const auto& [id, number] : numbers)
      if (std::string(id) == info.Params[i].Id) values[i].Number = number;
    if (text != nullptr && info.Params[i].Kind == gen::TParamKind::Text) values[i].Text = text;
  }
  return values;
}

gen::TGenerated Make(const char* id, std::initializer_list<std::pair<const char*, int>> numbers = {},
                     const char* text = nullptr, std::uint64_t seed = 7, TPattern start = TPattern().set(0)) {
  const gen::TGeneratorInfo& info = Info(id);
  return gen::Generate(info, With(info, numbers, text), seed, start);
}

bool Lit(const TPattern& p, int x, int y, int z) { return p.test(cube::IndexOf(x, y, z)); }

// --- every generator

TEST(GeneratorsTest, EveryGeneratorGivesValidFramesAndTheSameBytesForTheSameSeed) {
  for (const gen::TGeneratorInfo& info : gen::Generators()) {
    SCOPED_TRACE(info.Id);
    const gen::TValues values = gen::Defaults(info);
    const gen::TGenerated first = gen::Generate(info, values, 42, TPattern().set(5).set(100));
    const gen::TGenerated again = gen::Generate(info, values, 42, TPattern().set(5).set(100));
    ASSERT_FALSE(first.Refusal.Refused()) << first.Refusal.English;
    ASSERT_FALSE(first.Frames.empty());
    EXPECT_LE(first.Frames.size(), gen::kMaxFrames);
    EXPECT_EQ(gen::FramesText(first.Frames), gen::FramesText(again.Frames));
    for (const TPattern& frame : first.Frames) {
      const cube::TFrameParse parsed = cube::ParseFrame(cube::FormatFrame(frame));
      ASSERT_TRUE(parsed.Ok());
      EXPECT_EQ(parsed.Pattern, frame);
    }
  }
}

TEST(GeneratorsTest, SeededGeneratorsDifferWithTheSeedAndTheBytesAreFixed) {
  EXPECT_NE(gen::FramesText(Make("rain", {}, nullptr, 1).Frames),
            gen::FramesText(Make("rain", {}, nullptr, 2).Frames));
  EXPECT_NE(gen::FramesText(Make("fill", {}, nullptr, 1).Frames),
            gen::FramesText(Make("fill", {}, nullptr, 2).Frames));
  // Pinned, so a change of the random stream (which would change users' effects) is seen.
  EXPECT_EQ(cube::FormatFrame(Make("rain", {{"drops", 3}}, nullptr, 1).Frames[0]), "200,207,215,227");
}

TEST(GeneratorsTest, EveryTableEntryHasCaptionsAndDefaultsInRange) {
  for (const gen::TGeneratorInfo& info : gen::Generators()) {
    EXPECT_EQ(gen::FindGenerator(info.Id), &info);
    for (const gen::TParamInfo& param : info.Params) {
      EXPECT_NE(std::string(param.Caption), "");
      if (param.Kind == gen::TParamKind::Choice) {
        EXPECT_EQ(param.Max, static_cast<int>(param.Options.size()) - 1);
      }
      if (param.Kind != gen::TParamKind::Text) {
        EXPECT_TRUE(param.Default >= param.Min && param.Default <= param.Max);
      }
    }
  }
  EXPECT_EQ(gen::FindGenerator("nothing"), nullptr);
}

// --- the motions

TEST(GeneratorsTest, SweepLightsOnePlaneOf36AndCountsItsPasses) {
  const gen::TGenerated there = Make("sweep", {{"axis", 0}, {"passes", 3}, {"back", 0}});
  ASSERT_EQ(there.Frames.size(), 18u);
  const gen::TGenerated both = Make("sweep", {{"axis", 1}, {"passes", 2}, {"back", 1}, {"direction", 1}});
  ASSERT_EQ(both.Frames.size(), 20u);
  for (const TPattern& frame : both.Frames) EXPECT_EQ(frame.count(), 36u);
  // Down along Y: row 5 first, row 0 at the far end, row 1 last before the next pass.
  EXPECT_TRUE(Lit(both.Frames[0], 3, 5, 2));
  EXPECT_TRUE(Lit(both.Frames[5], 3, 0, 2));
  EXPECT_TRUE(Lit(both.Frames[9], 0, 4, 0));
  EXPECT_TRUE(Lit(there.Frames[2], 2, 0, 5));
}

TEST(GeneratorsTest, RainDropsFallOneLayerAFrameAndNothingLightsBelowAPath) {
  const gen::TGenerated rain = Make("rain", {{"frames", 40}, {"drops", 5}});
  ASSERT_EQ(rain.Frames.size(), 40u);
  EXPECT_EQ(rain.Frames[0].count(), 5u);
  for (std::size_t k = 1; k < rain.Frames.size(); ++k) {
    for (int z = 0; z < 5; ++z)
      for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
          EXPECT_TRUE(!Lit(rain.Frames[k], x, y, z) || Lit(rain.Frames[k - 1], x, y, z + 1)) << k;
  }
  TPattern top;
  for (int i = 180; i < 216; ++i) top.set(static_cast<std::size_t>(i));
  for (const TPattern& frame : rain.Frames) EXPECT_EQ((frame & top).count(), 5u);
}

// The box spanned by a frame's lit LEDs, edges or whole, equals the frame.
TEST(GeneratorsTest, BoxFramesAreBoxesGrowingThenShrinking) {
  for (int solid = 0; solid < 2; ++solid) {
    for (int centre = 0; centre < 2; ++centre) {
      const gen::TGenerated box =
          Make("box", {{"style", solid}, {"from", centre}, {"motion", 2}, {"cycles", 2}});
      ASSERT_EQ(box.Frames.size(), centre == 1 ? 8u : 20u);
      for (const TPattern& frame : box.Frames) {
        int low = 6, high = -1;
        for (std::size_t i = frame._Find_first(); i < frame.size(); i = frame._Find_next(i)) {
          low = std::min(low, static_cast<int>(i % 6));
          high = std::max(high, static_cast<int>(i % 6));
        }
        EXPECT_EQ(centre == 1 ? low + high : low, centre == 1 ? 5 : 0);
        TPattern expected;
        for (int z = low; z <= high; ++z)
          for (int y = low; y <= high; ++y)
            for (int x = low; x <= high; ++x) {
              const int faces = (x == low || x == high) + (y == low || y == high) + (z == low || z == high);
              if (solid == 1 || faces >= 2) expected.set(cube::IndexOf(x, y, z));
            }
        EXPECT_EQ(frame, expected);
      }
    }
  }
  EXPECT_EQ(Make("box", {{"motion", 0}}).Frames.back().count(), 6u * 12 - 8 * 2);  // 12 edges, corners shared
  EXPECT_EQ(Make("box", {{"motion", 1}, {"style", 1}}).Frames.front(), cube::AllLit());
}

TEST(GeneratorsTest, FillLightsStepLedsAFrameUntilFullThenDarkens) {
  const gen::TGenerated fill = Make("fill", {{"step", 10}, {"order", 0}});
  ASSERT_EQ(fill.Frames.size(), 2u * 22);
  EXPECT_EQ(fill.Frames[0].count(), 10u);
  EXPECT_EQ(fill.Frames[21], cube::AllLit());
  EXPECT_EQ(fill.Frames[22].count(), 206u);
  EXPECT_TRUE(fill.Frames.back().none());
  for (std::size_t k = 1; k < 22; ++k) EXPECT_EQ(fill.Frames[k] & fill.Frames[k - 1], fill.Frames[k - 1]);
  const gen::TGenerated reverse = Make("fill", {{"step", 216}, {"order", 1}});
  ASSERT_EQ(reverse.Frames.size(), 2u);
  EXPECT_TRUE(reverse.Frames[0].none());
  EXPECT_EQ(reverse.Frames[1], cube::AllLit());
}

TEST(GeneratorsTest, WaveKeepsOneLedAColumnWithinItsAmplitudeAndRepeatsAfterItsPeriod) {
  for (int amplitude = 1; amplitude <= 3; ++amplitude) {
    const gen::TGenerated wave =
        Make("wave", {{"amplitude", amplitude}, {"period", 8}, {"frames", 17}, {"axis", 1}});
    ASSERT_EQ(wave.Frames.size(), 17u);
    TPattern layersUsed;
    for (const TPattern& frame : wave.Frames) {
      EXPECT_EQ(frame.count(), 36u);
      for (std::size_t i = frame._Find_first(); i < frame.size(); i = frame._Find_next(i)) {
        const int z = static_cast<int>(i / 36);
        EXPECT_GE(z, 3 - amplitude);
        EXPECT_LE(z, 2 + amplitude);
        layersUsed.set(static_cast<std::size_t>(z));
      }
    }
    EXPECT_EQ(layersUsed.count(), static_cast<std::size_t>(2 * amplitude));
    EXPECT_EQ(wave.Frames[0], wave.Frames[8]);
    EXPECT_NE(wave.Frames[0], wave.Frames[2]);
  }
}

TEST(GeneratorsTest, SpinTurnsAVerticalPlaneThroughTheCentre) {
  const gen::TGenerated spin = Make("spin", {{"turns", 3}, {"steps", 8}});
  ASSERT_EQ(spin.Frames.size(), 24u);
  for (const TPattern& frame : spin.Frames) {
    EXPECT_EQ(frame.count(), 36u);
    const TPattern bottom = frame & (TPattern().set() >> 180);
    for (std::size_t z = 1; z < 6; ++z) EXPECT_EQ((frame >> (36 * z)) & (TPattern().set() >> 180), bottom);
  }
  EXPECT_EQ(spin.Frames[0], spin.Frames[8]);
  // A quarter turn apart: the plane of one row becomes the plane of one column.
  EXPECT_EQ(cube::Shift(spin.Frames[0], cube::TAxis::Y, 1, true) & spin.Frames[0], TPattern());
  EXPECT_EQ(cube::Shift(spin.Frames[0], cube::TAxis::X, 1, true), spin.Frames[0]);
  EXPECT_EQ(cube::Shift(spin.Frames[2], cube::TAxis::Y, 1, true), spin.Frames[2]);
  EXPECT_NE(spin.Frames[0], spin.Frames[1]);
}

TEST(GeneratorsTest, RepeatedToolFramesEqualTheToolAppliedKTimes) {
  const TPattern start = TPattern().set(cube::IndexOf(1, 2, 3)).set(cube::IndexOf(5, 0, 0));
  const gen::TGeneratorInfo& info = Info("repeat");
  for (int tool = 0; tool <= info.Params[0].Max; ++tool) {
    const gen::TGenerated repeat = gen::Generate(info, With(info, {{"tool", tool}, {"times", 7}}), 0, start);
    ASSERT_EQ(repeat.Frames.size(), 7u);
    TPattern expected = start;
    for (const TPattern& frame : repeat.Frames) {
      expected = gen::motion::ApplyTool(tool, expected);
      EXPECT_EQ(frame, expected) << tool;
    }
  }
  // x+ wraps: six shifts bring the pattern home.
  const gen::TGenerated around = gen::Generate(info, With(info, {{"tool", 1}, {"times", 6}}), 0, start);
  EXPECT_EQ(around.Frames[0], cube::Shift(start, cube::TAxis::X, 1, true));
  EXPECT_EQ(around.Frames[5], start);
}

// --- text

// The front face (row 0) of a frame as a glyph picture at columns `first` .. `first` + 4.
bool ShowsGlyph(const TPattern& frame, unsigned char c, int first, int row = 0) {
  const gen::TGlyph& glyph = *gen::GlyphOf(c);
  for (int column = 0; column < gen::kGlyphWidth; ++column)
    for (int line = 0; line < gen::kGlyphHeight; ++line)
      if (Lit(frame, first + column, row, 5 - line) != gen::GlyphPixel(glyph, column, line)) return false;
  return true;
}

TEST(TextGeneratorTest, ScrolledTextShowsEachGlyphOnTheFrontFace) {
  const std::string text = "7Gжё";  // a digit, a Latin letter, a Russian one, ё
  const gen::TGenerated scroll = Make("text", {{"mode", 0}}, text.c_str());
  ASSERT_EQ(scroll.Frames.size(), 4u * 6 - 1 + 5);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const TPattern& aligned = scroll.Frames[6 * i + 5];
    EXPECT_TRUE(ShowsGlyph(aligned, static_cast<unsigned char>(text[i]), 0)) << i;
  }
  // Only the front face lights; the first frame shows the text's first column at column 5 alone.
  for (const TPattern& frame : scroll.Frames)
    for (std::size_t i = frame._Find_first(); i < frame.size(); i = frame._Find_next(i))
      ASSERT_EQ(i / 6 % 6, 0u);
  for (std::size_t i = scroll.Frames[0]._Find_first(); i < 216; i = scroll.Frames[0]._Find_next(i))
    EXPECT_EQ(i % 6, 5u);
  EXPECT_GT(scroll.Frames[0].count(), 0u);
}

TEST(TextGeneratorTest, FlownTextMovesEachGlyphFromTheFrontRowToTheBack) {
  const gen::TGenerated fly = Make("text", {{"mode", 1}}, "Ё1");
  ASSERT_EQ(fly.Frames.size(), 12u);
  for (int row = 0; row < 6; ++row) {
    EXPECT_TRUE(ShowsGlyph(fly.Frames[static_cast<std::size_t>(row)], 0xA8, 0, row));
    EXPECT_TRUE(ShowsGlyph(fly.Frames[static_cast<std::size_t>(6 + row)], '1', 0, row));
  }
}

TEST(TextGeneratorTest, SmallLettersShareTheirCapitalsAndYoIsNotYe) {
  for (unsigned char c = 'a'; c <= 'z'; ++c)
    EXPECT_EQ(gen::GlyphOf(c), gen::GlyphOf(static_cast<unsigned char>(c - 32)));
  for (int c = 0xE0; c <= 0xFF; ++c) {
    ASSERT_NE(gen::GlyphOf(static_cast<unsigned char>(c)), nullptr) << c;
    EXPECT_EQ(gen::GlyphOf(static_cast<unsigned char>(c)), gen::GlyphOf(static_cast<unsigned char>(c - 32)));
  }
  EXPECT_EQ(gen::GlyphOf(0xB8), gen::GlyphOf(0xA8));
  EXPECT_NE(*gen::GlyphOf(0xA8), *gen::GlyphOf(static_cast<unsigned char>(std::string("Е")[0])));
  for (unsigned char c = '0'; c <= '9'; ++c) EXPECT_NE(gen::GlyphOf(c), nullptr);
  // Glyphs that would read alike must differ.
  EXPECT_NE(*gen::GlyphOf('0'), *gen::GlyphOf('O'));
  EXPECT_NE(*gen::GlyphOf(static_cast<unsigned char>(std::string("Ш")[0])),
            *gen::GlyphOf(static_cast<unsigned char>(std::string("Щ")[0])));
}

// --- refusals

TEST(GeneratorRefusalTest, EmptyTextAndCharactersOutsideTheFontAreRefused) {
  EXPECT_EQ(Make("text", {}, "").Refusal.English, "text: the text is empty");
  EXPECT_TRUE(Make("text", {}, "").Frames.empty());
  const gen::TGenerated euro = Make("text", {}, "ab\x88");
  EXPECT_EQ(euro.Refusal.English, "text: character 3 of the text is not in the cube's font");
  EXPECT_NE(euro.Refusal.Russian.find("нет в шрифте"), std::string::npos);
  EXPECT_TRUE(Make("text", {}, std::string(gen::kMaxTextChars + 1, 'A').c_str()).Refusal.Refused());
  EXPECT_FALSE(Make("text", {}, std::string(gen::kMaxTextChars, 'A').c_str()).Refusal.Refused());
}

TEST(GeneratorRefusalTest, ZeroFramesAndOutOfRangeValuesAreRefused) {
  const gen::TGenerated none = Make("rain", {{"frames", 0}});
  EXPECT_TRUE(none.Frames.empty());
  EXPECT_EQ(none.Refusal.English, "frames: the value must be from 1 to 1000");
  EXPECT_EQ(none.Refusal.Russian, "«Кадров»: число должно быть от 1 до 1000");
  EXPECT_TRUE(Make("wave", {{"amplitude", 4}}).Refusal.Refused());
  EXPECT_TRUE(Make("sweep", {{"axis", 3}}).Refusal.Refused());
  EXPECT_TRUE(Make("repeat", {{"tool", -1}}).Refusal.Refused());
}

TEST(GeneratorRefusalTest, TypedNumbersAreDigitsWithinRangeAndARefusalKeepsTheValue) {
  const gen::TParamInfo& frames = Info("rain").Params[0];
  int value = 5;
  EXPECT_FALSE(gen::ReadNumber(frames, "1000", value).Refused());
  EXPECT_EQ(value, 1000);
  for (const char* bad : {"", "-3", "+3", " 3", "3x", "1e3", "99999999999"})
    EXPECT_EQ(gen::ReadNumber(frames, bad, value).English,
              "frames: a whole number from 1 to 1000 is expected")
        << bad;
  EXPECT_EQ(gen::ReadNumber(frames, "1001", value).English, "frames: the value must be from 1 to 1000");
  EXPECT_EQ(gen::ReadNumber(frames, "0", value).English, "frames: the value must be from 1 to 1000");
  EXPECT_EQ(value, 1000);
  std::uint64_t seed = 3;
  EXPECT_FALSE(gen::ReadSeed("0", seed).Refused());
  EXPECT_EQ(seed, 0u);
  EXPECT_TRUE(gen::ReadSeed("1000000000", seed).Refused());
  EXPECT_EQ(gen::OptionIndex(Info("sweep").Params[0], "z"), 2);
  EXPECT_EQ(gen::OptionIndex(Info("sweep").Params[0], "w"), -1);
}

}  // namespace
