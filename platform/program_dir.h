// The directory of the program file, where the program keeps files of its own (an ini file beside
// it). DirectoryOfPath is window-free; ProgramDirectory asks the system (Windows builds only).
#pragma once

#include <string>
#include <string_view>

// The path cut right after its last backslash, which stays ("C:\Tools\cube.exe" gives "C:\Tools\");
// a path without a backslash gives the empty string.
inline std::string DirectoryOfPath(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

// The full path of the running program's directory, with its trailing backslash.
std::string ProgramDirectory();
