// TUserRegistryKey over the advapi32 registry functions.
#include "platform/registry.h"

#include <algorithm>
#include <cstring>
#include <string>

TUserRegistryKey TUserRegistryKey::Create(std::string_view path) {
  const std::string name(path);
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, &disposition) != ERROR_SUCCESS) {
    return {};
  }
  return TUserRegistryKey(key);
}

TUserRegistryKey TUserRegistryKey::OpenForReading(std::string_view path) {
  const std::string name(path);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  return TUserRegistryKey(key);
}

bool TUserRegistryKey::WriteDword(std::string_view name, std::int32_t value) {
  if (!Key) return false;
  const std::string valueName(name);
  const DWORD data = static_cast<DWORD>(value);
  return RegSetValueExA(Key.Get(), valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

bool TUserRegistryKey::ReadDword(std::string_view name, std::int32_t& value) const {
  if (!Key) return false;
  const std::string valueName(name);
  BYTE data[4] = {};
  DWORD size = sizeof data;
  if (RegQueryValueExA(Key.Get(), valueName.c_str(), nullptr, nullptr, data, &size) != ERROR_SUCCESS) {
    return false;  // missing, or longer than 4 bytes (ERROR_MORE_DATA)
  }
  if (size != sizeof data) return false;
  std::memcpy(&value, data, sizeof value);
  return true;
}

bool TUserRegistryKey::WriteString(std::string_view name, std::string_view text) {
  if (!Key) return false;
  const std::string valueName(name);
  const std::string data(text);
  return RegSetValueExA(Key.Get(), valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool TUserRegistryKey::ReadString(std::string_view name, std::string& text, std::size_t maxBytes) const {
  if (!Key) return false;
  const std::string valueName(name);
  std::string data(maxBytes + 1, '\0');
  DWORD size = static_cast<DWORD>(data.size());
  DWORD type = 0;
  if (RegQueryValueExA(Key.Get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  // The stored terminator, if any, is not part of the text.
  data.resize(std::min<std::size_t>(size, data.size()));
  while (!data.empty() && data.back() == '\0') data.pop_back();
  text = data;
  return true;
}
