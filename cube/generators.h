// Generated effects: stock motions (a plane sweeping through, rain, a growing box, random fill, a
// wave, a rotating plane, text, a tool repeated) made as ordinary frames. One table describes every
// generator and its parameters, so the editor's dialog and cubefx are both built from it. Every
// generator is a pure function of its values and seed: the same input gives the same frames, byte
// for byte, on every compiler and system. Window-free; must never use std::rand, a standard
// distribution or the C library's mathematical functions, whose results differ between libraries.
//
// Orientation: X = column (left to right), Y = row, Z = layer (0 at the bottom). The front face is
// row 0 (the top row of each layer as the editor draws it); a text reads on it with its letters
// upright (glyph row 0 on layer 5) and its first column at column 0; row 5 is the back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cube/pattern.h"

namespace gen {

enum class TParamKind { Integer, Choice, Text };

struct TOption {
  const char* Id;       // English, for cubefx
  const char* Caption;  // Russian (CP1251)
};

struct TParamInfo {
  const char* Id;       // English, for cubefx: --ID VALUE
  const char* Caption;  // Russian (CP1251)
  TParamKind Kind = TParamKind::Integer;
  int Min = 0;
  int Max = 0;
  int Default = 0;  // a number, or the index of the default option
  std::vector<TOption> Options;
  std::string DefaultText;
};

struct TGeneratorInfo {
  const char* Id;
  const char* Caption;
  const char* Summary;       // English, one line, for cubefx --help
  bool Seeded = false;       // takes a seed
  bool FromPattern = false;  // starts from the cube's pattern
  std::vector<TParamInfo> Params;
};

// Every generator, in the order the dialog lists them.
const std::vector<TGeneratorInfo>& Generators();
// The generator with this id; nullptr when there is none.
const TGeneratorInfo* FindGenerator(std::string_view id);

// One parameter's value: Number for Integer and Choice (the option's index), Text for Text (CP1251).
struct TValue {
  int Number = 0;
  std::string Text;
};
using TValues = std::vector<TValue>;  // in the order of TGeneratorInfo::Params
TValues Defaults(const TGeneratorInfo& info);

inline constexpr std::uint64_t kDefaultSeed = 1;
inline constexpr std::uint64_t kMaxSeed = 999'999'999;
// No generator makes more frames than this (the longest text scrolled through).
inline constexpr std::size_t kMaxFrames = 2000;
inline constexpr std::size_t kMaxTextChars = 200;

// A refusal in both languages: Russian (CP1251) for the editor, English for cubefx.
struct TRefusal {
  std::string Russian;
  std::string English;
  bool Refused() const { return !English.empty(); }
};

// A number typed for an Integer parameter (or the seed when `param` is null): digits only, within
// range. On refusal the value is untouched.
TRefusal ReadNumber(const TParamInfo& param, std::string_view text, int& value);
TRefusal ReadSeed(std::string_view text, std::uint64_t& seed);
// The option with this English id, or -1.
int OptionIndex(const TParamInfo& param, std::string_view id);
// Checks every value against its parameter: ranges, a text that is not empty and can be drawn.
TRefusal Validate(const TGeneratorInfo& info, const TValues& values);

struct TGenerated {
  std::vector<cube::TPattern> Frames;
  TRefusal Refusal;
};
// The frames of `info` for these values; `start` is the cube's pattern for FromPattern generators.
TGenerated Generate(const TGeneratorInfo& info, const TValues& values, std::uint64_t seed,
                    const cube::TPattern& start);
// The frame strings, each followed by CR LF: the bytes the editor saves for these frames.
std::string FramesText(const std::vector<cube::TPattern>& frames);

}  // namespace gen
