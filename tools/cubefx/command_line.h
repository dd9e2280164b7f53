// The tool's words and file names between the system and the tool's own code, which holds UTF-8
// throughout. Windows hands a console program its command line in UTF-16 and opens files by UTF-16
// names; elsewhere words and names are the system's bytes as they are. Window-free; must never go
// through the Windows ANSI code page, which cannot hold most names ("эффект été 效果.txt").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cubefx {

// The words after the program's name: on Windows read again from the UTF-16 command line and
// converted to UTF-8, `argv` serving only where that cannot be had; elsewhere `argv` as it is.
std::vector<std::string> CommandLineWords(int argc, char** argv);

#ifdef _WIN32
// UTF-8 and UTF-16, both ways; malformed input becomes U+FFFD rather than being dropped.
std::wstring WideOfUtf8(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);
#endif

}  // namespace cubefx
