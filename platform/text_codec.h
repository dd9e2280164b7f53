// CP1251 <-> UTF-16 by the code page's own table: the program's texts are CP1251 bytes on every
// Windows, whatever its ANSI code page, so they must never be converted by the system's (CP_ACP).
// Window-free, so the table is tested natively.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A UTF-16 unit: wchar_t where Windows takes it, char16_t on the host.
#ifdef _WIN32
using TWideChar = wchar_t;
#else
using TWideChar = char16_t;
#endif
using TWideString = std::basic_string<TWideChar>;
using TWideView = std::basic_string_view<TWideChar>;

// What stands for a character CP1251 has no byte for, where one must stand (a name to show).
inline constexpr char kUnmappableByte = '?';

// Every byte has its character; 0x98, which CP1251 leaves undefined, is U+0098, so all 256 round-trip.
TWideChar WideOfCp1251(unsigned char byte);
// The byte of one UTF-16 unit; false when CP1251 has no such character (a surrogate never has).
bool Cp1251OfWide(TWideChar unit, char& byte);

TWideString WideFromCp1251(std::string_view text);
// Each character CP1251 cannot hold becomes kUnmappableByte and is counted in *unmappable; a
// surrogate pair is one character and one byte, so positions stay those of the characters.
std::string Cp1251FromWide(TWideView text, std::size_t* unmappable = nullptr);
