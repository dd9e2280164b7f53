#include "tools/cubefx/command_line.h"

#ifdef _WIN32
#include <windows.h>

// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace cubefx {

#ifdef _WIN32

std::wstring WideOfUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8OfWide(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::vector<std::string> CommandLineWords(int argc, char** argv) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return std::vector<std::string>(argv + 1, argv + argc);
  std::vector<std::string> utf8;
  for (int i = 1; i < count; ++i) utf8.push_back(Utf8OfWide(words[i]));
  LocalFree(words);
  return utf8;
}

#else

std::vector<std::string> CommandLineWords(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

#endif

}  // namespace cubefx
