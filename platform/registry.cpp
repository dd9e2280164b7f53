// TUserRegistryKey over the advapi32 registry functions.
#include "platform/registry.h"

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
