// The commands of cubefx and what they share: each takes the words after its name and returns the
// exit code. Internal to the tool; must never print the program's usage (the dispatcher does).
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cube/pattern.h"

namespace cubefx {

using TArgs = std::vector<std::string>;

// The playback rates the editor's rate field takes, in milliseconds per frame.
inline constexpr long kMinRateMs = 20;
inline constexpr long kMaxRateMs = 2000;
inline constexpr long kDefaultRateMs = 100;

int Check(const TArgs& args, std::ostream& out, std::ostream& err);
int Normalize(const TArgs& args, std::ostream& out, std::ostream& err);
int Info(const TArgs& args, std::ostream& out, std::ostream& err);
int Transform(const TArgs& args, std::ostream& out, std::ostream& err);
int Export(const TArgs& args, std::ostream& out, std::ostream& err);
int Gen(const TArgs& args, std::ostream& out, std::ostream& err);
// The generators and their parameters, after gen's usage.
void GenHelp(std::ostream& out);

// Prints "cubefx COMMAND: message" as one line on `err` and gives the failure exit code.
int Fail(std::ostream& err, std::string_view command, const std::string& message);
// Whether the word is an option (starts with '-' and is more than "-").
inline bool IsOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }
// Why line `index` (0-based) of an effect is not a frame, in English; the first line is blamed on a
// UTF-8 byte-order mark when it starts with one.
const char* LineFault(std::size_t index, std::string_view line, cube::TFrameFault fault);

// Reads a whole number of at most nine digits; false for anything else.
bool ParseCount(std::string_view text, long& value);
// A word that is no option: the one input file; false, with `why`, for a second one.
bool TakeInput(const std::string& word, std::string& input, std::string& why);
// Reads "N" or "A-B" with 1 <= A <= B: frames counted from 1 among the frames.
bool ParseFrameRange(std::string_view text, long& first, long& last);

}  // namespace cubefx
