// UTF-8 text from a terminal turned into the CP1251 bytes every string of the program holds.
// Window-free; must never guess: a character CP1251 has no byte for is refused, not replaced.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cp1251 {

struct TConverted {
  std::string Bytes;      // CP1251
  std::size_t BadAt = 0;  // 1-based character number of the first one that cannot be held; 0 if none
  bool Ok() const { return BadAt == 0; }
};

// Malformed UTF-8 is refused the same way, at the character where it starts.
TConverted FromUtf8(std::string_view utf8);
// CP1251 bytes as UTF-8, for a terminal; a byte the code page leaves unused becomes U+FFFD.
std::string ToUtf8(std::string_view bytes);

}  // namespace cp1251
