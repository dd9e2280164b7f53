// TUserRegistryKey over the advapi32 registry functions.
#include "platform/registry.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/text_codec.h"

namespace {

TWideString WideName(std::string_view name) { return WideFromCp1251(name); }

}  // namespace

TUserRegistryKey TUserRegistryKey::Create(std::string_view path) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, WideName(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS) {
    return {};
  }
  return TUserRegistryKey(key);
}

TUserRegistryKey TUserRegistryKey::OpenForReading(std::string_view path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, WideName(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  return TUserRegistryKey(key);
}

bool TUserRegistryKey::WriteDword(std::string_view name, std::int32_t value) {
  if (!Key) return false;
  const DWORD data = static_cast<DWORD>(value);
  return RegSetValueExW(Key.Get(), WideName(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

bool TUserRegistryKey::ReadDword(std::string_view name, std::int32_t& value) const {
  if (!Key) return false;
  BYTE data[4] = {};
  DWORD size = sizeof data;
  if (RegQueryValueExW(Key.Get(), WideName(name).c_str(), nullptr, nullptr, data, &size) != ERROR_SUCCESS) {
    return false;  // missing, or longer than 4 bytes (ERROR_MORE_DATA)
  }
  if (size != sizeof data) return false;
  std::memcpy(&value, data, sizeof value);
  return true;
}

bool TUserRegistryKey::WriteString(std::string_view name, std::string_view text) {
  return WriteWideString(name, WideFromCp1251(text));
}

bool TUserRegistryKey::ReadString(std::string_view name, std::string& text, std::size_t maxBytes) const {
  TWideString wide;
  if (!ReadWideString(name, wide, maxBytes)) return false;
  text = Cp1251FromWide(wide);
  return true;
}

bool TUserRegistryKey::WriteWideString(std::string_view name, TWideView text) {
  if (!Key) return false;
  const TWideString data(text);
  return RegSetValueExW(Key.Get(), WideName(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool TUserRegistryKey::ReadWideString(std::string_view name, TWideString& text, std::size_t maxChars) const {
  if (!Key) return false;
  // Values written by earlier versions through the ANSI functions are read here as the system stored
  // them, in UTF-16.
  TWideString data(maxChars + 1, L'\0');
  DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  DWORD type = 0;
  if (RegQueryValueExW(Key.Get(), WideName(name).c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  // The stored terminator, if any, is not part of the text.
  data.resize(std::min<std::size_t>(size / sizeof(wchar_t), data.size()));
  while (!data.empty() && data.back() == L'\0') data.pop_back();
  text = data;
  return true;
}
