// Random byte strings through SetText/GetText, checked against a split written independently of
// the list's own scan. Run under the sanitizers on the native build, so a stale line pointer after
// the buffer moved or a freed buffer byte shows up as an error.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/strlist.h"

namespace {

// The lines a text gives: it ends at its first NUL; CR ends a line and swallows one LF right after
// it; whatever follows the last break is the last line.
void ReferenceSplit(std::string_view text, std::vector<std::string>& lines) {
  text = text.substr(0, text.find('\0'));
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += text[i];
      open = true;
    }
  }
  if (open) lines.push_back(line);
}

std::string ReferenceJoin(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string RandomBytes(std::mt19937_64& random) {
  const std::uint64_t shape = random() % 100;
  const std::size_t length = shape < 2 ? 64 + random() % 2000 : random() % 65;
  std::string bytes(length, '\0');
  for (char& byte : bytes) {
    const std::uint64_t pick = random() % 100;
    if (pick < 25) {
      byte = '\r';
    } else if (pick < 45) {
      byte = '\n';
    } else if (pick < 47) {
      byte = '\0';
    } else {
      byte = static_cast<char>(1 + random() % 255);
    }
  }
  return bytes;
}

TEST(TStrListRandom, SetTextAndGetTextMatchTheReferenceForAMillionTexts) {
  std::mt19937_64 random(20240613);
  TStrList* list = TStrList::Create();
  std::vector<std::string> expected;
  for (int round = 0; round < 1000000; ++round) {
    const std::string text = RandomBytes(random);
    const std::uint64_t action = random() % 100;
    if (action < 3 && !expected.empty()) {
      const auto index = static_cast<std::int32_t>(random() % expected.size());
      list->Delete(index);
      expected.erase(expected.begin() + index);
    } else if (action < 6) {
      list->Add(text);
      expected.push_back(text.substr(0, text.find('\0')));
    } else {
      // Start afresh now and then, and whenever the buffer has grown, so each check stays small.
      const bool append = action < 70 && list->TextSize < 512;
      list->SetText(text, append);
      if (!append) expected.clear();
      ReferenceSplit(text, expected);
    }
    ASSERT_EQ(list->Count, static_cast<std::int32_t>(expected.size())) << "round " << round;
    ASSERT_EQ(list->Count, list->Lines == nullptr ? 0 : list->Lines->Count) << "round " << round;
    ASSERT_EQ(list->GetText(), ReferenceJoin(expected)) << "round " << round;
  }
  list->Free();
}

}  // namespace
