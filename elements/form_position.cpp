// Position persistence of the main form over the ini file and the user registry.
#include "elements/form_position.h"

#include "platform/ini_file.h"
#include "platform/program_dir.h"
#include "platform/registry.h"
#include "platform/startup_trace.h"

namespace {

constexpr std::string_view kIniMarker = ".ini\\";

std::string RegistryPath(std::string_view positionKey) { return "Software\\" + std::string(positionKey); }

// The registry keeps the order Left, Top, Height, Width in both directions.
void SaveToRegistry(std::string_view positionKey, const TFormPosition& p) {
  TUserRegistryKey key = TUserRegistryKey::Create(RegistryPath(positionKey));
  if (!key.IsOpen()) return;
  key.WriteDword("Left", p.Left);
  key.WriteDword("Top", p.Top);
  key.WriteDword("Height", p.Height);
  key.WriteDword("Width", p.Width);
}

void LoadFromRegistry(std::string_view positionKey, TFormPosition& p) {
  const TUserRegistryKey key = TUserRegistryKey::OpenForReading(RegistryPath(positionKey));
  if (!key.IsOpen()) return;
  key.ReadDword("Left", p.Left);
  key.ReadDword("Top", p.Top);
  key.ReadDword("Height", p.Height);
  key.ReadDword("Width", p.Width);
}

// One routine for both directions: in read mode each call answers the stored value or, when there
// is none, the current one.
void ExchangeWithIni(std::string_view positionKey, TFormPosition& p, std::uint8_t mode) {
  const TIniPlace place = SplitIniKey(positionKey);
  TIniFile* ini = OpenIniFile(ProgramDirectory() + place.File);
  ini->Section = place.Section;
  ini->Mode = mode;
  p.Left = ini->ValueInteger("Left", p.Left);
  p.Top = ini->ValueInteger("Top", p.Top);
  p.Width = ini->ValueInteger("Width", p.Width);
  p.Height = ini->ValueInteger("Height", p.Height);
  ini->Free();
}

std::int32_t ExchangeValueWithIni(std::string_view positionKey, std::string_view name, std::int32_t value,
                                  std::uint8_t mode) {
  const TIniPlace place = SplitIniKey(positionKey);
  TIniFile* ini = OpenIniFile(ProgramDirectory() + place.File);
  ini->Section = place.Section;
  ini->Mode = mode;
  value = ini->ValueInteger(name, value);
  ini->Free();
  return value;
}

}  // namespace

TPositionStore ChoosePositionStore(std::string_view positionKey) {
  if (positionKey.empty()) return TPositionStore::None;
  if (positionKey.find(kIniMarker) != std::string_view::npos) return TPositionStore::IniFile;
  return TPositionStore::Registry;
}

TIniPlace SplitIniKey(std::string_view positionKey) {
  const std::size_t at = positionKey.find(kIniMarker);
  if (at == std::string_view::npos) return {};
  return {std::string(positionKey.substr(0, at + 4)),
          std::string(positionKey.substr(at + kIniMarker.size()))};
}

void SavePosition(std::string_view positionKey, const TFormPosition& position) {
  switch (ChoosePositionStore(positionKey)) {
    case TPositionStore::None:
      return;
    case TPositionStore::Registry:
      SaveToRegistry(positionKey, position);
      return;
    case TPositionStore::IniFile: {
      TFormPosition copy = position;
      ExchangeWithIni(positionKey, copy, kIniWrite);
      return;
    }
  }
}

void LoadPosition(std::string_view positionKey, TFormPosition& position) {
  TStartupSpan span("stored position, settings");
  switch (ChoosePositionStore(positionKey)) {
    case TPositionStore::None:
      return;
    case TPositionStore::Registry:
      LoadFromRegistry(positionKey, position);
      return;
    case TPositionStore::IniFile:
      ExchangeWithIni(positionKey, position, kIniRead);
      return;
  }
}

void SaveStoredValue(std::string_view positionKey, std::string_view name, std::int32_t value) {
  switch (ChoosePositionStore(positionKey)) {
    case TPositionStore::None:
      return;
    case TPositionStore::Registry: {
      TUserRegistryKey key = TUserRegistryKey::Create(RegistryPath(positionKey));
      if (key.IsOpen()) key.WriteDword(name, value);
      return;
    }
    case TPositionStore::IniFile:
      ExchangeValueWithIni(positionKey, name, value, kIniWrite);
      return;
  }
}

void LoadStoredValue(std::string_view positionKey, std::string_view name, std::int32_t& value) {
  TStartupSpan span("stored position, settings");
  switch (ChoosePositionStore(positionKey)) {
    case TPositionStore::None:
      return;
    case TPositionStore::Registry: {
      const TUserRegistryKey key = TUserRegistryKey::OpenForReading(RegistryPath(positionKey));
      if (key.IsOpen()) key.ReadDword(name, value);
      return;
    }
    case TPositionStore::IniFile:
      value = ExchangeValueWithIni(positionKey, name, value, kIniRead);
      return;
  }
}
