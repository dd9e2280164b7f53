// Settings storage: integer values in an ini file, 32-bit values under the current user's registry
// hive, and the program's directory that an ini file is placed in.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/ini_file.h"
#include "platform/program_dir.h"
#include "platform/registry.h"

namespace {

std::string TempIniPath() {
  char dir[MAX_PATH + 1] = {};
  GetTempPathA(sizeof dir, dir);
  char path[MAX_PATH + 1] = {};
  GetTempFileNameA(dir, "ini", 0, path);  // creates an empty file
  return path;
}

std::string ReadFile(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char chunk[256];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) text.append(chunk, n);
    std::fclose(f);
  }
  return text;
}

class IniFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path = TempIniPath();
    ini = OpenIniFile(path);
    ini->Section = "Main";
  }
  void TearDown() override {
    ini->Free();
    DeleteFileA(path.c_str());
  }
  std::string path;
  TIniFile* ini = nullptr;
};

}  // namespace

TEST_F(IniFile, OpensForReadingWithoutSection) {
  TIniFile* fresh = OpenIniFile("C:\\x.ini");
  EXPECT_EQ(fresh->Mode, kIniRead);
  EXPECT_EQ(fresh->FileName, "C:\\x.ini");
  EXPECT_EQ(fresh->Section, "");
  fresh->Free();
}

TEST_F(IniFile, MissingKeyReadsAsTheDefault) {
  EXPECT_EQ(ini->ValueInteger("Left", 10), 10);
  EXPECT_EQ(ini->ValueInteger("Top", -7), -7);
}

TEST_F(IniFile, MissingFileReadsAsTheDefault) {
  TIniFile* absent = OpenIniFile(path + ".absent");
  absent->Section = "Main";
  EXPECT_EQ(absent->ValueInteger("Left", 42), 42);
  absent->Free();
}

TEST_F(IniFile, WriteStoresDecimalTextAndReturnsTheValue) {
  ini->Mode = kIniWrite;
  EXPECT_EQ(ini->ValueInteger("Left", 10), 10);
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("[Main]"), std::string::npos) << text;
  EXPECT_NE(text.find("Left=10"), std::string::npos) << text;
}

TEST_F(IniFile, OneRoutineSavesAndRestoresBySwitchingMode) {
  struct Bounds {
    std::int32_t left, top, width, height;
  };
  auto persist = [&](Bounds& b) {
    b.left = ini->ValueInteger("Left", b.left);
    b.top = ini->ValueInteger("Top", b.top);
    b.width = ini->ValueInteger("Width", b.width);
    b.height = ini->ValueInteger("Height", b.height);
  };
  Bounds saved{15, 25, 1274, 709};
  ini->Mode = kIniWrite;
  persist(saved);
  Bounds restored{0, 0, 100, 100};
  ini->Mode = kIniRead;
  persist(restored);
  EXPECT_EQ(restored.left, 15);
  EXPECT_EQ(restored.top, 25);
  EXPECT_EQ(restored.width, 1274);
  EXPECT_EQ(restored.height, 709);
}

TEST_F(IniFile, NegativeValueReadsBack) {
  // A window left of the primary screen has a negative left edge.
  ini->Mode = kIniWrite;
  ini->ValueInteger("Left", -120);
  ini->Mode = kIniRead;
  EXPECT_EQ(ini->ValueInteger("Left", 0), -120);
}

TEST_F(IniFile, ValuesOfOtherSectionsStaySeparate) {
  ini->Mode = kIniWrite;
  ini->ValueInteger("Left", 1);
  ini->Section = "Other";
  ini->ValueInteger("Left", 2);
  ini->Mode = kIniRead;
  EXPECT_EQ(ini->ValueInteger("Left", 0), 2);
  ini->Section = "Main";
  EXPECT_EQ(ini->ValueInteger("Left", 0), 1);
}

TEST_F(IniFile, EmptySectionIsWrittenNotDeleted) {
  // An empty section name is passed as "" (never null, which would delete instead of write).
  ini->Mode = kIniWrite;
  ini->ValueInteger("Left", 3);
  ini->Section = "";
  ini->ValueInteger("Left", 4);
  ini->Section = "Main";
  ini->Mode = kIniRead;
  EXPECT_EQ(ini->ValueInteger("Left", 0), 3);
}

namespace {

constexpr const char* kTestKey = "Software\\CubeEditorStorageTest";

class UserRegistry : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
  void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
  // Stores raw bytes of any type, as another program could have left them.
  static void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
};

}  // namespace

TEST_F(UserRegistry, MissingKeyDoesNotOpen) {
  EXPECT_FALSE(TUserRegistryKey::OpenForReading(kTestKey).IsOpen());
  std::int32_t value = 5;
  EXPECT_FALSE(TUserRegistryKey::OpenForReading(kTestKey).ReadDword("Left", value));
  EXPECT_EQ(value, 5);
}

TEST_F(UserRegistry, WrittenValuesReadBack) {
  {
    TUserRegistryKey key = TUserRegistryKey::Create(kTestKey);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_TRUE(key.WriteDword("Left", 120));
    EXPECT_TRUE(key.WriteDword("Top", -30));
  }
  TUserRegistryKey key = TUserRegistryKey::OpenForReading(kTestKey);
  ASSERT_TRUE(key.IsOpen());
  std::int32_t left = 0, top = 0;
  EXPECT_TRUE(key.ReadDword("Left", left));
  EXPECT_TRUE(key.ReadDword("Top", top));
  EXPECT_EQ(left, 120);
  EXPECT_EQ(top, -30);
}

TEST_F(UserRegistry, WrittenValueIsAFourByteDword) {
  TUserRegistryKey::Create(kTestKey).WriteDword("Width", 1274);
  DWORD type = 0, size = 0;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Width", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, 4u);
}

TEST_F(UserRegistry, MissingValueLeavesTheCurrentOne) {
  TUserRegistryKey::Create(kTestKey).WriteDword("Left", 1);
  std::int32_t height = 709;
  EXPECT_FALSE(TUserRegistryKey::OpenForReading(kTestKey).ReadDword("Height", height));
  EXPECT_EQ(height, 709);
}

TEST_F(UserRegistry, FourBytesOfAnyTypeAreRead) {
  const unsigned char bytes[4] = {0x10, 0x00, 0x00, 0x00};
  SetRaw("Left", REG_BINARY, bytes, sizeof bytes);
  std::int32_t left = 0;
  EXPECT_TRUE(TUserRegistryKey::OpenForReading(kTestKey).ReadDword("Left", left));
  EXPECT_EQ(left, 16);
}

TEST_F(UserRegistry, LongerValueLeavesTheCurrentOne) {
  const unsigned char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  SetRaw("Left", REG_BINARY, bytes, sizeof bytes);
  SetRaw("Top", REG_SZ, "hello", 6);
  TUserRegistryKey key = TUserRegistryKey::OpenForReading(kTestKey);
  std::int32_t left = 11, top = 22;
  EXPECT_FALSE(key.ReadDword("Left", left));
  EXPECT_FALSE(key.ReadDword("Top", top));
  EXPECT_EQ(left, 11);
  EXPECT_EQ(top, 22);
}

TEST_F(UserRegistry, ShorterValueLeavesTheCurrentOne) {
  // Two bytes would fill only half of the number.
  const unsigned char bytes[2] = {0xFF, 0xFF};
  SetRaw("Left", REG_BINARY, bytes, sizeof bytes);
  std::int32_t left = 11;
  EXPECT_FALSE(TUserRegistryKey::OpenForReading(kTestKey).ReadDword("Left", left));
  EXPECT_EQ(left, 11);
}

TEST_F(UserRegistry, ClosedKeyRefusesEverything) {
  TUserRegistryKey key = TUserRegistryKey::Create(kTestKey);
  key.Close();
  std::int32_t value = 3;
  EXPECT_FALSE(key.WriteDword("Left", 1));
  EXPECT_FALSE(key.ReadDword("Left", value));
  EXPECT_EQ(value, 3);
}

TEST_F(UserRegistry, TextReadsBackBesideTheNumbersAndOnlyAsText) {
  {
    TUserRegistryKey key = TUserRegistryKey::Create(kTestKey);
    EXPECT_TRUE(key.WriteDword("Left", 120));
    EXPECT_TRUE(key.WriteString("Folder", "C:\\Эффекты\\куб"));
  }
  TUserRegistryKey key = TUserRegistryKey::OpenForReading(kTestKey);
  std::string folder;
  std::int32_t left = 0;
  EXPECT_TRUE(key.ReadString("Folder", folder));
  EXPECT_EQ(folder, "C:\\Эффекты\\куб");
  EXPECT_TRUE(key.ReadDword("Left", left)) << "the text leaves the position's values alone";
  EXPECT_EQ(left, 120);
  std::string kept = "kept";
  EXPECT_FALSE(key.ReadString("Left", kept)) << "a number is no text";
  EXPECT_FALSE(key.ReadString("Missing", kept));
  SetRaw("Long", REG_SZ, std::string(400, 'a').c_str(), 401);
  EXPECT_FALSE(key.ReadString("Long", kept, 300));
  EXPECT_EQ(kept, "kept");
}

TEST(ProgramDirectory, IsTheDirectoryOfTheRunningProgram) {
  char path[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string dir = ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '\\');
  EXPECT_EQ(std::string(path).rfind(dir, 0), 0u) << path;
  EXPECT_EQ(std::string(path).find('\\', dir.size()), std::string::npos) << path;
  EXPECT_NE(GetFileAttributesA(dir.c_str()), INVALID_FILE_ATTRIBUTES);
}
