// The font the text generator draws with: one 5-wide, 6-high glyph per character, readable on a
// 6x6 face. Covers the digits, the Latin and the Russian letters (either case; a small letter shares
// its capital's glyph, ё shares Ё's) and common punctuation, all by their CP1251 bytes. Window-free;
// must never give two characters that read differently the same glyph.
#pragma once

#include <array>
#include <cstdint>

namespace gen {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 6;

// Row 0 on top; in each row bit 4 is the leftmost column, bit 0 the rightmost.
using TGlyph = std::array<std::uint8_t, kGlyphHeight>;

// The glyph of a CP1251 byte; nullptr when the font has none.
const TGlyph* GlyphOf(unsigned char c);
inline bool GlyphPixel(const TGlyph& glyph, int column, int row) {
  return (glyph[static_cast<std::size_t>(row)] >> (kGlyphWidth - 1 - column) & 1) != 0;
}

}  // namespace gen
