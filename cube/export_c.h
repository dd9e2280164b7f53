// An effect as a C header for a microcontroller sketch: every frame as 27 bytes of LED bits in
// program memory (PROGMEM on AVR, plain const elsewhere), the frame count and the rate, with a
// comment that gives the bit order and a loop that reads it. Window-free; must never emit a header
// that a C compiler refuses, so an effect without frames is refused before any text is made.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "cube/pattern.h"

namespace export_c {

// Bit i of a frame is LED index i (layer * 36 + row * 6 + column, as in the frame string): bit
// i % 8, least significant first, of byte i / 8.
inline constexpr std::size_t kFrameBytes = cube::kLedCount / 8;

// The frames of an effect text's lines that are frames, in order; other lines are skipped.
std::vector<cube::TPattern> FramesOf(const std::vector<std::string_view>& lines);

// Frames `first` to `last` of `frames`, counted from 1 and inclusive; false (and nothing taken)
// when the range is empty or reaches past the last frame.
bool TakeRange(std::vector<cube::TPattern>& frames, std::size_t first, std::size_t last);

// A C identifier made of the last part of a path without its extension, upper-cased: letters and
// digits stay, anything else becomes '_'; "FX_" goes in front of a leading digit or '_' or an empty name.
std::string IdentifierOf(std::string_view path);

// The 27 bytes of one frame.
std::string FrameBytes(const cube::TPattern& pattern);

// The whole header, for one frame or more. `name` must be a C identifier (see IdentifierOf).
std::string HeaderText(const std::vector<cube::TPattern>& frames, long rateMs, const std::string& name);

// Reads the frames back from a header made by HeaderText; empty when the text holds no frame
// table. The tests' independent check is compiling the header; this one needs no compiler.
std::vector<cube::TPattern> DecodeHeader(std::string_view text);

}  // namespace export_c
