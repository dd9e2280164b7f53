// TIniFile over the private profile functions.
#include "platform/ini_file.h"

#include <windows.h>

#include "platform/wide_path.h"

TIniFile* OpenIniFile(std::string_view fileName) {
  auto* ini = new TIniFile();
  ini->FileName = fileName;
  return ini;
}

std::int32_t TIniFile::ValueInteger(std::string_view key, std::int32_t value) {
  // std::string gives "" for an empty name, never a null pointer: a null section or key would
  // make WritePrivateProfileStringW delete a whole section or key instead of writing.
  const TWideString keyName = WideFromCp1251(key);
  const TWideString section = WideFromCp1251(Section);
  const TWideString file = PathOfGraphName(FileName);
  if (Mode == kIniWrite) {
    WritePrivateProfileStringW(section.c_str(), keyName.c_str(),
                               WideFromCp1251(std::to_string(value)).c_str(), file.c_str());
    return value;
  }
  return static_cast<std::int32_t>(
      GetPrivateProfileIntW(section.c_str(), keyName.c_str(), value, file.c_str()));
}
