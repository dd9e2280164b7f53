// TIniFile: integer values in an ini file, read or written by one call shape so that a single
// routine saves and restores a set of values by switching Mode. Windows builds only.
// Failures are silent: a missing file, section or key reads as the default; write errors vanish.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/obj.h"

inline constexpr std::uint8_t kIniRead = 0;
inline constexpr std::uint8_t kIniWrite = 1;

class TIniFile : public TObj {
 public:
  std::uint8_t Mode = kIniRead;
  std::string FileName;  // give a full path: the system looks for a bare name in its own directory
  std::string Section;

  // Write mode: stores the decimal text of value under key and returns value.
  // Read mode: the key's integer, or value when the file, the section or the key is missing.
  std::int32_t ValueInteger(std::string_view key, std::int32_t value);

 protected:
  ~TIniFile() override = default;
};

// A reader (Mode kIniRead) of fileName with an empty Section; the caller sets Mode and Section.
TIniFile* OpenIniFile(std::string_view fileName);
