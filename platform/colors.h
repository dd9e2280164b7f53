// The one colour rule of the program: a value with its top bit set names the system colour whose
// index is its low byte; any other value is an RGB colour 0x00BBGGRR.
// Must never cache a resolved system colour: the user may change it at any time.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr bool IsSystemColor(std::int32_t color) noexcept { return color < 0; }

// The colour value naming system colour `index` (COLOR_BTNFACE, ...), as the library's own defaults
// write it.
inline constexpr std::int32_t SystemColor(int index) noexcept {
  return static_cast<std::int32_t>(0x80000000u | static_cast<std::uint32_t>(index));
}

// The same system colour as the elements' properties write it (high byte 0xFF). Both forms resolve
// alike; the elements keep theirs because stored property values are compared byte for byte.
inline constexpr std::int32_t ElementSystemColor(int index) noexcept {
  return static_cast<std::int32_t>(0xFF000000u | static_cast<std::uint32_t>(index));
}

// Resolves `color` to the RGB value it stands for right now.
inline COLORREF ResolveColor(std::int32_t color) noexcept {
  if (IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color);
}
