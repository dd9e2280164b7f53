// The CP1251 table and the conversions over it.
#include "platform/text_codec.h"

namespace {

// Characters of the bytes 0x80..0xBF, eight to a row; below them CP1251 is ASCII.
// clang-format off
constexpr char16_t kUpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};  // clang-format on; 0xC0..0xFF are U+0410..U+044F, in order

constexpr char16_t kCyrillicA = 0x0410;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

TWideChar WideOfCp1251(unsigned char byte) {
  if (byte < 0x80) return static_cast<TWideChar>(byte);
  if (byte >= 0xC0) return static_cast<TWideChar>(kCyrillicA + (byte - 0xC0));
  return static_cast<TWideChar>(kUpperHalf[byte - 0x80]);
}

bool Cp1251OfWide(TWideChar wide, char& byte) {
  const auto unit = static_cast<char16_t>(wide);
  if (unit < 0x80) {
    byte = static_cast<char>(unit);
    return true;
  }
  if (unit >= kCyrillicA && unit < kCyrillicA + 64) {
    byte = static_cast<char>(0xC0 + (unit - kCyrillicA));
    return true;
  }
  for (unsigned i = 0; i < 64; ++i) {
    if (kUpperHalf[i] == unit) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

TWideString WideFromCp1251(std::string_view text) {
  TWideString wide(text.size(), TWideChar{});
  for (std::size_t i = 0; i < text.size(); ++i) wide[i] = WideOfCp1251(static_cast<unsigned char>(text[i]));
  return wide;
}

std::string Cp1251FromWide(TWideView text, std::size_t* unmappable) {
  std::string bytes;
  bytes.reserve(text.size());
  std::size_t missing = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char byte = kUnmappableByte;
    if (!Cp1251OfWide(text[i], byte)) {
      ++missing;
      const bool pair = IsHighSurrogate(static_cast<char16_t>(text[i])) && i + 1 < text.size() &&
                        IsLowSurrogate(static_cast<char16_t>(text[i + 1]));
      if (pair) ++i;
    }
    bytes.push_back(byte);
  }
  if (unmappable != nullptr) *unmappable = missing;
  return bytes;
}
