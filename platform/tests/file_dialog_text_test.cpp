// The window-free text handling of the file dialog and of the program directory.
#include "platform/file_dialog_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/program_dir.h"

using namespace std::string_literals;

TEST(DialogFilter, BarsBecomeNulsAndTheListEndsWithTwoNuls) {
  EXPECT_EQ(SystemFilterText("All|*.TXT*"), "All\0*.TXT*\0\0"s);
  EXPECT_EQ(SystemFilterText("Text|*.txt|All|*.*"), "Text\0*.txt\0All\0*.*\0\0"s);
}

TEST(DialogFilter, EmptyFilterPassesNoFilter) { EXPECT_TRUE(SystemFilterText("").empty()); }

TEST(DialogFilter, DescriptionWithoutPatternStillEndsTheList) {
  // The system sees the description followed by an empty pattern, which ends the list.
  EXPECT_EQ(SystemFilterText("All"), "All\0\0"s);
}

TEST(DialogOptions, EachOptionBitGivesItsSystemFlag) {
  const std::pair<std::uint32_t, std::uint32_t> table[] = {
      {TOpenSaveOptions::CreatePrompt, 0x2000},     {TOpenSaveOptions::ExtensionDifferent, 0x400},
      {TOpenSaveOptions::FileMustExist, 0x1000},    {TOpenSaveOptions::HideReadOnly, 0x4},
      {TOpenSaveOptions::NoChangeDir, 0x8},         {TOpenSaveOptions::NoDereferenceLinks, 0x100000},
      {TOpenSaveOptions::AllowMultiSelect, 0x200},  {TOpenSaveOptions::NoNetworkButton, 0x20000},
      {TOpenSaveOptions::NoReadOnlyReturn, 0x8000}, {TOpenSaveOptions::OverwritePrompt, 0x2},
      {TOpenSaveOptions::PathMustExist, 0x800},     {TOpenSaveOptions::ReadOnly, 0x1},
      {TOpenSaveOptions::NoValidate, 0x100},        {TOpenSaveOptions::EnableTemplate, 0x40},
      {TOpenSaveOptions::EnableHook, 0x20},
  };
  for (const auto& [bit, flag] : table) EXPECT_EQ(MapDialogOptions(bit), flag) << "bit " << bit;
}

TEST(DialogOptions, DefaultSetAndUnknownBits) {
  EXPECT_EQ(MapDialogOptions(TOpenSaveOptions::Default), 0x1000u | 0x4u | 0x2u | 0x800u);
  EXPECT_EQ(MapDialogOptions(0xFFFF8000u), 0u);
}

TEST(DialogFileBuffer, ShortNameFillsTheStandardRoom) {
  const auto buffer = MakeFileBuffer("ZOZIVU.TXT", false);
  ASSERT_EQ(buffer.size(), kSingleFileBufferSize);
  EXPECT_EQ(std::string(buffer.data()), "ZOZIVU.TXT");
  EXPECT_EQ(MakeFileBuffer("", true).size(), kMultiFileBufferSize);
}

TEST(DialogFileBuffer, StaysNulTerminatedAndUncutForEveryNameLength) {
  for (std::size_t length : {kSingleFileBufferSize - 2, kSingleFileBufferSize - 1, kSingleFileBufferSize,
                             kSingleFileBufferSize + 1, std::size_t{5000}}) {
    const std::string name(length, 'n');
    const auto buffer = MakeFileBuffer(name, false);
    ASSERT_GT(buffer.size(), length) << length;
    EXPECT_EQ(buffer[length], '\0') << length;
    EXPECT_EQ(std::string(buffer.data()), name) << length;
  }
  const std::string longMulti(kMultiFileBufferSize, 'm');
  const auto buffer = MakeFileBuffer(longMulti, true);
  EXPECT_EQ(buffer.back(), '\0');
  EXPECT_EQ(std::string(buffer.data()), longMulti);
}

TEST(DialogResult, SingleSelectionEndsAtTheFirstNul) {
  const std::string filled = "C:\\cube\\ZOZIVU.TXT\0junk\0\0"s;
  EXPECT_EQ(FileNameFromBuffer(filled.data(), filled.size(), false), "C:\\cube\\ZOZIVU.TXT");
}

TEST(DialogResult, MultipleSelectionJoinsDirectoryAndNamesWithCr) {
  const std::string filled = "C:\\cube\0a.txt\0b.txt\0\0rest"s;
  EXPECT_EQ(FileNameFromBuffer(filled.data(), filled.size(), true), "C:\\cube\ra.txt\rb.txt");
  const std::string single = "C:\\cube\\a.txt\0\0"s;
  EXPECT_EQ(FileNameFromBuffer(single.data(), single.size(), true), "C:\\cube\\a.txt");
}

TEST(DialogResult, EmptyBufferGivesNoName) {
  const std::string empty(8, '\0');
  EXPECT_EQ(FileNameFromBuffer(empty.data(), empty.size(), false), "");
  EXPECT_EQ(FileNameFromBuffer(empty.data(), empty.size(), true), "");
}

TEST(DialogResult, NeverReadsPastTheBuffer) {
  const std::string full = "abc\0def"s;  // no closing double NUL inside the given size
  EXPECT_EQ(FileNameFromBuffer(full.data(), full.size(), true), "abc\rdef");
  EXPECT_EQ(FileNameFromBuffer("abcdef", 3, false), "abc");
}

TEST(ProgramDirectoryText, KeepsDriveDirectoryAndItsBackslash) {
  EXPECT_EQ(DirectoryOfPath("C:\\Tools\\cube.exe"), "C:\\Tools\\");
  EXPECT_EQ(DirectoryOfPath("C:\\cube.exe"), "C:\\");
  EXPECT_EQ(DirectoryOfPath("cube.exe"), "");
}
