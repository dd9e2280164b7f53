// The motions behind the generator table, each a pure function of its numbers. Internal to the
// generators; the values are checked against the table before any of these is called.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "cube/pattern.h"

namespace gen::motion {

using TFrames = std::vector<cube::TPattern>;

TFrames Sweep(cube::TAxis axis, bool down, bool back, int passes);
TFrames Rain(int frames, int drops, std::uint64_t seed);
TFrames Box(bool centre, bool solid, int motion, int cycles);  // motion: 0 grow, 1 shrink, 2 both
TFrames Fill(bool emptyFirst, int step, std::uint64_t seed);
TFrames Wave(cube::TAxis axis, int amplitude, int period, int frames);
TFrames Spin(bool counterClockwise, int turns, int steps);
// `text` in CP1251, every character in the font.
TFrames Text(std::string_view text, bool fly);
TFrames Repeat(int tool, int times, const cube::TPattern& start);

// The layers a wave of this amplitude keeps to: 3 - amplitude to 2 + amplitude.
inline int WaveLow(int amplitude) { return cube::kSide / 2 - amplitude; }
inline int WaveHigh(int amplitude) { return cube::kSide / 2 - 1 + amplitude; }
// The tool of "repeat" by its option index, as the editor's button applies it (shifts wrap).
cube::TPattern ApplyTool(int tool, const cube::TPattern& pattern);

}  // namespace gen::motion
