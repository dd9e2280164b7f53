// The start-up stamps as the benchmark reads them. A program of its own: the variable is read once,
// at the first stamp, so it must be set before any.
#include "platform/startup_trace.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <string>

#include "platform/tests/test_windows.h"

namespace {

struct TLine {
  long long Counter = 0;
  int Times = 0;
};

// "stamp <counter> <times> <name>" and "span ..." lines by kind and name.
std::map<std::string, TLine> ReadLines(const std::string& path, long long& frequency) {
  std::map<std::string, TLine> lines;
  std::ifstream file(path);
  std::string kind;
  file >> kind >> frequency;
  TLine line;
  while (file >> kind >> line.Counter >> line.Times) {
    std::string name;
    std::getline(file >> std::ws, name);
    lines[kind + " " + name] = line;
  }
  return lines;
}

TEST(StartupTraceTest, StampsSpansAndTheNthStampAreWrittenWholeUnderTheirNames) {
  const std::string path = TempPath("cube_startup_trace_" + std::to_string(GetCurrentProcessId()));
  ASSERT_TRUE(SetEnvironmentVariableA("CUBE_STARTUP_TRACE", path.c_str()));

  StartupStampNth("third paint", 3);
  StartupStamp("main");
  StartupStamp("main");  // a second call only counts
  StartupStampNth("third paint", 3);
  StartupStampNth("third paint", 3);
  StartupStampNth("third paint", 3);  // past the third: the reading stays the third's
  for (int i = 0; i < 2; ++i) TStartupSpan fonts("fonts");
  StartupTraceWrite();

  long long frequency = 0;
  const auto lines = ReadLines(path, frequency);
  DeleteFileA(path.c_str());
  EXPECT_GT(frequency, 0);
  ASSERT_EQ(lines.size(), 3u);
  ASSERT_EQ(lines.count("stamp main"), 1u);
  ASSERT_EQ(lines.count("stamp third paint"), 1u);
  ASSERT_EQ(lines.count("span fonts"), 1u);
  EXPECT_EQ(lines.at("stamp main").Times, 2);
  EXPECT_EQ(lines.at("stamp third paint").Times, 4);
  // Taken at the third call, after "main": not at the first call, before it.
  EXPECT_GT(lines.at("stamp third paint").Counter, lines.at("stamp main").Counter);
  EXPECT_EQ(lines.at("span fonts").Times, 2);
  EXPECT_GE(lines.at("span fonts").Counter, 0);
  EXPECT_EQ(GetFileAttributesA((path + ".part").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
