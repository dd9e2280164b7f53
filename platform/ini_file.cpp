// TIniFile over the private profile functions.
#include "platform/ini_file.h"

#include <windows.h>

TIniFile* OpenIniFile(std::string_view fileName) {
  auto* ini = new TIniFile();
  ini->FileName = fileName;
  return ini;
}

std::int32_t TIniFile::ValueInteger(std::string_view key, std::int32_t value) {
  // std::string gives "" for an empty name, never a null pointer: a null section or key would
  // make WritePrivateProfileStringA delete a whole section or key instead of writing.
  const std::string keyName(key);
  if (Mode == kIniWrite) {
    WritePrivateProfileStringA(Section.c_str(), keyName.c_str(), std::to_string(value).c_str(),
                               FileName.c_str());
    return value;
  }
  return static_cast<std::int32_t>(
      GetPrivateProfileIntA(Section.c_str(), keyName.c_str(), value, FileName.c_str()));
}
