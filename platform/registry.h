// Keys and 32-bit values under the current user's hive (HKEY_CURRENT_USER), as used to remember a
// window's position under "Software\<name>". Windows builds only. Failures are told by return
// values and never change the caller's value.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/handles.h"
#include "platform/text_codec.h"

class TUserRegistryKey {
 public:
  // Creates the key or opens the existing one (non-volatile, KEY_ALL_ACCESS).
  static TUserRegistryKey Create(std::string_view path);
  // Opens an existing key for reading (KEY_READ).
  static TUserRegistryKey OpenForReading(std::string_view path);

  TUserRegistryKey() = default;

  bool IsOpen() const { return static_cast<bool>(Key); }
  void Close() { Key.Reset(); }

  // Stores value as a 4-byte REG_DWORD.
  bool WriteDword(std::string_view name, std::int32_t value);
  // Reads a value of exactly 4 bytes into value, whatever its registry type. A missing value, one
  // longer than 4 bytes and one shorter than 4 bytes (which would fill only part of the number)
  // answer false and leave value as it was.
  bool ReadDword(std::string_view name, std::int32_t& value) const;
  // Stores text as REG_SZ; reads back a REG_SZ value of at most maxBytes bytes. Anything else
  // (missing, another type, longer) answers false and leaves text as it was.
  bool WriteString(std::string_view name, std::string_view text);
  bool ReadString(std::string_view name, std::string& text, std::size_t maxBytes = MAX_PATH) const;
  // The same for text that CP1251 may not hold (a folder's real name); maxChars in UTF-16 units.
  bool WriteWideString(std::string_view name, TWideView text);
  bool ReadWideString(std::string_view name, TWideString& text, std::size_t maxChars = MAX_PATH) const;

 private:
  struct TCloseKey {
    void operator()(HKEY key) const noexcept { RegCloseKey(key); }
  };
  explicit TUserRegistryKey(HKEY key) : Key(key) {}
  TOwned<HKEY, TCloseKey> Key;
};
