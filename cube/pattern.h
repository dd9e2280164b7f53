// The cube's LED pattern as 216 bits, the frame string that carries it (strict parse, format, the
// Russian and English reasons for a rejected line) and the reshaping transforms. Window-free and
// element-free: must never include a window-system header or touch a link.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cube {

inline constexpr int kSide = 6;
inline constexpr int kLedCount = 216;
inline constexpr int kFrameEnd = 227;
// The longest valid frame string: all 216 indices with their commas, then "227".
inline constexpr std::size_t kMaxFrameLength = 757;

using TPattern = std::bitset<kLedCount>;  // bit i: LED index i = layer * 36 + row * 6 + column

enum class TFrameFault { None, Empty, NotANumber, OutOfRange, NotAscending, Repeated, NoEnd, TooLong };

struct TFrameParse {
  TPattern Pattern;
  TFrameFault Fault = TFrameFault::None;
  bool Ok() const { return Fault == TFrameFault::None; }
};

// Strict: exactly the frame string format, nothing else (no spaces, signs, leading zeros or line
// ends). The first fault from the left is reported.
TFrameParse ParseFrame(std::string_view line);
// Whether the line is a frame string; the test the effect text's line checks take.
inline bool IsFrameLine(std::string_view line) { return ParseFrame(line).Ok(); }
// "0,1,215,227"; "227" for a dark cube.
std::string FormatFrame(const TPattern& pattern);
// Short Russian reason (CP1251) for a message; "" for None.
const char* FrameFaultText(TFrameFault fault);
// The same reason in English, for terminals and build logs; "" for None.
const char* FrameFaultEnglish(TFrameFault fault);

// X = column, Y = row, Z = layer.
enum class TAxis { X, Y, Z };

// Coordinates are int because moves step below 0; a place inside the cube has a position, never negative.
inline constexpr std::size_t IndexOf(int column, int row, int layer) {
  return static_cast<std::size_t>(layer * kSide * kSide + row * kSide + column);
}

// Moves every LED one place along the axis, towards higher coordinates when step > 0, else lower.
// Without wrap the LEDs that would leave the cube are dropped; with wrap they enter at the far side.
TPattern Shift(const TPattern& pattern, TAxis axis, int step, bool wrap);
// A quarter turn about the vertical axis (Z), clockwise as the layers are drawn (row 0 on top):
// column c, row r goes to column 5 - r, row c.
TPattern RotateZ(const TPattern& pattern);
TPattern Mirror(const TPattern& pattern, TAxis axis);
inline TPattern Invert(const TPattern& pattern) { return ~pattern; }
inline TPattern AllLit() { return TPattern().set(); }

}  // namespace cube
