// Where a main form keeps its position and size between runs: nowhere, an ini file beside the
// program ("cfg.ini\Main": file cfg.ini, section Main) or the user's registry key "Software\<key>".
// Loading only changes the values that could be read; every failure is silent and leaves the
// position as it was. Never touches a window: the caller reads and applies the rectangle.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct TFormPosition {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

enum class TPositionStore : std::uint8_t { None, Registry, IniFile };

// Empty key: nowhere; a key holding ".ini\": the ini file; anything else: the registry.
TPositionStore ChoosePositionStore(std::string_view positionKey);

// The ini file name (up to and including ".ini", relative to the program directory) and the
// section after ".ini\"; both empty when the key has no ini marker.
struct TIniPlace {
  std::string File;
  std::string Section;
};
TIniPlace SplitIniKey(std::string_view positionKey);

// Save writes all four values; load reads each value that is there. The store is chosen from the
// key as ChoosePositionStore says, so an empty key reads and writes nothing.
void SavePosition(std::string_view positionKey, const TFormPosition& position);
void LoadPosition(std::string_view positionKey, TFormPosition& position);

// One more integer kept the same way, under its own name beside the position's four, which it
// never touches. Loading leaves `value` as it was when there is none.
void SaveStoredValue(std::string_view positionKey, std::string_view name, std::int32_t value);
void LoadStoredValue(std::string_view positionKey, std::string_view name, std::int32_t& value);
