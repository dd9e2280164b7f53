// Frame strings and transforms. Shifts work on whole 64-bit words of the bitset (masks of the
// columns, rows and layers at the edge); rotation and mirrors go through constant index tables.
#include "cube/pattern.h"

#include <array>

namespace cube {

namespace {

constexpr int kLayerSize = kSide * kSide;

TFrameParse Fail(TFrameFault fault) {
  TFrameParse result;
  result.Fault = fault;
  return result;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TFrameParse ParseFrame(std::string_view line) {
  if (line.empty()) return Fail(TFrameFault::Empty);
  if (line.size() > kMaxFrameLength) return Fail(TFrameFault::TooLong);
  TFrameParse result;
  int previous = -1;
  std::size_t at = 0;
  for (;;) {
    const std::size_t start = at;
    int value = 0;
    while (at < line.size() && IsDigit(line[at])) {
      if (value <= 1000) value = value * 10 + (line[at] - '0');  // past 1000 the exact value is moot
      ++at;
    }
    const std::size_t digits = at - start;
    if (digits == 0) return Fail(TFrameFault::NotANumber);
    if (digits > 1 && line[start] == '0') return Fail(TFrameFault::NotANumber);
    if (at == line.size()) {
      if (value != kFrameEnd) return Fail(TFrameFault::NoEnd);
      return result;
    }
    if (line[at] != ',') return Fail(TFrameFault::NotANumber);
    ++at;
    if (value >= kLedCount) return Fail(TFrameFault::OutOfRange);
    if (value == previous) return Fail(TFrameFault::Repeated);
    if (value < previous) return Fail(TFrameFault::NotAscending);
    result.Pattern.set(static_cast<std::size_t>(value));
    previous = value;
    if (at == line.size()) return Fail(TFrameFault::NoEnd);
  }
}

std::string FormatFrame(const TPattern& pattern) {
  std::string text;
  text.reserve(pattern.count() * 4 + 3);
  for (int i = 0; i < kLedCount; ++i) {
    if (!pattern.test(static_cast<std::size_t>(i))) continue;
    if (i >= 100) text.push_back(static_cast<char>('0' + i / 100));
    if (i >= 10) text.push_back(static_cast<char>('0' + i / 10 % 10));
    text.push_back(static_cast<char>('0' + i % 10));
    text.push_back(',');
  }
  text += "227";
  return text;
}

const char* FrameFaultText(TFrameFault fault) {
  switch (fault) {
    case TFrameFault::None:
      return "";
    case TFrameFault::Empty:
      return "пустая строка";
    case TFrameFault::NotANumber:
      return "лишний знак: ожидаются номера светодиодов через запятую";
    case TFrameFault::OutOfRange:
      return "номер светодиода больше 215";
    case TFrameFault::NotAscending:
      return "номера светодиодов идут не по возрастанию";
    case TFrameFault::Repeated:
      return "номер светодиода повторяется";
    case TFrameFault::NoEnd:
      return "строка не заканчивается на 227";
    case TFrameFault::TooLong:
      return "строка слишком длинная для кадра";
  }
  return "";
}

// Each reason says what the Russian one beside it says.
const char* FrameFaultEnglish(TFrameFault fault) {
  switch (fault) {
    case TFrameFault::None:
      return "";
    case TFrameFault::Empty:
      return "empty line";
    case TFrameFault::NotANumber:
      return "unexpected character: LED numbers separated by commas are expected";
    case TFrameFault::OutOfRange:
      return "an LED number is greater than 215";
    case TFrameFault::NotAscending:
      return "the LED numbers are not in ascending order";
    case TFrameFault::Repeated:
      return "an LED number is repeated";
    case TFrameFault::NoEnd:
      return "the line does not end with 227";
    case TFrameFault::TooLong:
      return "the line is too long for a frame";
  }
  return "";
}

namespace {

struct TMasks {
  TPattern Low[3];   // coordinate 0 along X, Y, Z
  TPattern High[3];  // coordinate 5 along X, Y, Z
};

TMasks MakeMasks() {
  TMasks masks;
  for (int z = 0; z < kSide; ++z) {
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        const std::size_t i = IndexOf(x, y, z);
        const int at[3] = {x, y, z};
        for (int a = 0; a < 3; ++a) {
          if (at[a] == 0) masks.Low[a].set(i);
          if (at[a] == kSide - 1) masks.High[a].set(i);
        }
      }
    }
  }
  return masks;
}

const TMasks& Masks() {
  static const TMasks masks = MakeMasks();
  return masks;
}

using TIndexMap = std::array<std::uint8_t, kLedCount>;  // source index -> target index

template <class Move>
constexpr TIndexMap MakeMap(Move move) {
  TIndexMap map{};
  for (int z = 0; z < kSide; ++z) {
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) map[IndexOf(x, y, z)] = static_cast<std::uint8_t>(move(x, y, z));
    }
  }
  return map;
}

constexpr int kLast = kSide - 1;
constexpr TIndexMap kRotateZ = MakeMap([](int x, int y, int z) { return IndexOf(kLast - y, x, z); });
constexpr TIndexMap kMirror[3] = {
    MakeMap([](int x, int y, int z) { return IndexOf(kLast - x, y, z); }),
    MakeMap([](int x, int y, int z) { return IndexOf(x, kLast - y, z); }),
    MakeMap([](int x, int y, int z) { return IndexOf(x, y, kLast - z); }),
};

TPattern Remap(const TPattern& pattern, const TIndexMap& map) {
  TPattern result;
  for (std::size_t i = pattern._Find_first(); i < pattern.size(); i = pattern._Find_next(i)) {
    result.set(map[i]);
  }
  return result;
}

}  // namespace

TPattern Shift(const TPattern& pattern, TAxis axis, int step, bool wrap) {
  const int a = static_cast<int>(axis);
  const std::size_t stride = a == 0 ? 1 : a == 1 ? kSide : kLayerSize;
  const std::size_t across = stride * kLast;  // from one edge to the other
  const TMasks& masks = Masks();
  if (step > 0) {
    const TPattern leaving = pattern & masks.High[a];
    TPattern moved = (pattern & ~masks.High[a]) << stride;
    if (wrap) moved |= leaving >> across;
    return moved;
  }
  const TPattern leaving = pattern & masks.Low[a];
  TPattern moved = (pattern & ~masks.Low[a]) >> stride;
  if (wrap) moved |= leaving << across;
  return moved;
}

TPattern RotateZ(const TPattern& pattern) { return Remap(pattern, kRotateZ); }

TPattern Mirror(const TPattern& pattern, TAxis axis) {
  return Remap(pattern, kMirror[static_cast<int>(axis)]);
}

}  // namespace cube
