// CP1251 by table: 0xC0..0xFF are А..я in order, 0x80..0xBF a mixed row of letters and signs.
#include "cube/cp1251.h"

#include <array>
#include <cstdint>

namespace cp1251 {

namespace {

// The code point of each byte from 0x80 to 0xBF; 0 where the code page has none.
constexpr std::array<std::uint16_t, 64> kHighRow{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// The byte of a code point; -1 when CP1251 has none.
int ByteOf(std::uint32_t code) {
  if (code < 0x80) return static_cast<int>(code);
  if (code >= 0x0410 && code <= 0x044F) return static_cast<int>(code - 0x0410 + 0xC0);
  for (std::size_t i = 0; i < kHighRow.size(); ++i)
    if (kHighRow[i] == code && code != 0) return static_cast<int>(0x80 + i);
  return -1;
}

// Decodes one character at `at` and moves past it; false for malformed or overlong UTF-8.
bool Decode(std::string_view text, std::size_t& at, std::uint32_t& code) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const int length = lead < 0x80                   ? 1
                     : lead >= 0xC2 && lead < 0xE0 ? 2
                     : lead >= 0xE0 && lead < 0xF0 ? 3
                     : lead >= 0xF0 && lead < 0xF5 ? 4
                                                   : 0;
  if (length == 0 || at + static_cast<std::size_t>(length) > text.size()) return false;
  code = length == 1 ? lead : lead & (0x7Fu >> length);
  for (int k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(k)]);
    if ((next & 0xC0) != 0x80) return false;
    code = code << 6 | (next & 0x3Fu);
  }
  constexpr std::uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  at += static_cast<std::size_t>(length);
  return true;
}

void Encode(std::uint32_t code, std::string& out) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | code >> 6));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | code >> 12));
    out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

}  // namespace

std::string ToUtf8(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    std::uint32_t code = byte;
    if (byte >= 0xC0)
      code = 0x0410u + (byte - 0xC0u);
    else if (byte >= 0x80)
      code = kHighRow[byte - 0x80u] != 0 ? kHighRow[byte - 0x80u] : 0xFFFDu;
    Encode(code, out);
  }
  return out;
}

TConverted FromUtf8(std::string_view utf8) {
  TConverted result;
  std::size_t number = 0;
  for (std::size_t at = 0; at < utf8.size();) {
    ++number;
    std::uint32_t code = 0;
    const int byte = Decode(utf8, at, code) ? ByteOf(code) : -1;
    if (byte < 0) {
      result.BadAt = number;
      result.Bytes.clear();
      return result;
    }
    result.Bytes.push_back(static_cast<char>(byte));
  }
  return result;
}

}  // namespace cp1251
