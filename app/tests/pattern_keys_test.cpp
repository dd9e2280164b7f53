#include "app/pattern_keys.h"

#include <gtest/gtest.h>

#ifdef CUBE_README
#include <iconv.h>
#endif

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <utility>

namespace {

using pattern_keys::TTool;

// Keys the frame line, the effect text and the focus navigation use today, with and without Ctrl.
constexpr std::int32_t kTab = 0x09, kEnter = 0x0D, kEscape = 0x1B, kSpace = 0x20, kPageUp = 0x21,
                       kPageDown = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26, kRight = 0x27,
                       kDown = 0x28, kInsert = 0x2D, kDelete = 0x2E, kBack = 0x08, kF10 = 0x79;

TEST(PatternKeysTest, EveryToolHasExactlyOneKeyAndNoKeyTwoTools) {
  std::set<TTool> tools;
  std::set<std::pair<std::int32_t, bool>> keys;
  std::set<std::string> names;
  for (const pattern_keys::TKey& key : pattern_keys::kKeys) {
    EXPECT_NE(key.Tool, TTool::None);
    EXPECT_TRUE(tools.insert(key.Tool).second);
    EXPECT_TRUE(keys.insert({key.VirtualKey, key.Ctrl}).second) << key.Name;
    EXPECT_TRUE(names.insert(key.Name).second) << key.Name;
    EXPECT_EQ(pattern_keys::ToolOf(key.VirtualKey, key.Ctrl, false, false), key.Tool) << key.Name;
    EXPECT_STREQ(pattern_keys::KeyNameOf(key.Tool), key.Name);
  }
  EXPECT_EQ(tools.size(), static_cast<std::size_t>(TTool::Redo));
}

TEST(PatternKeysTest, TakesNoKeyOfTypingEditingOrNavigation) {
  for (bool ctrl : {false, true}) {
    for (std::int32_t key : {kTab, kEnter, kEscape, kSpace, kPageUp, kPageDown, kEnd, kHome, kLeft, kUp,
                             kRight, kDown, kInsert, kDelete, kBack, kF10}) {
      EXPECT_EQ(pattern_keys::ToolOf(key, ctrl, false, false), TTool::None) << key;
    }
  }
  // Letters and digits without Ctrl are typing; Ctrl+C, V, X and A are the clipboard and selection.
  for (std::int32_t key = 0x30; key <= 0x5A; ++key) {
    EXPECT_EQ(pattern_keys::ToolOf(key, false, false, false), TTool::None) << key;
  }
  for (char letter : {'A', 'C', 'V', 'X'}) {
    EXPECT_EQ(pattern_keys::ToolOf(letter, true, false, false), TTool::None) << letter;
  }
  // A multi-line edit turns Ctrl+H, I, J and M into backspace, tab, line feed and Enter: they type.
  for (char letter : {'H', 'I', 'J', 'M'}) {
    EXPECT_EQ(pattern_keys::ToolOf(letter, true, false, false), TTool::None) << letter;
  }
}

TEST(PatternKeysTest, ShiftAltAndAltGrNeverMatch) {
  for (const pattern_keys::TKey& key : pattern_keys::kKeys) {
    EXPECT_EQ(pattern_keys::ToolOf(key.VirtualKey, key.Ctrl, true, false), TTool::None) << key.Name;
    EXPECT_EQ(pattern_keys::ToolOf(key.VirtualKey, key.Ctrl, false, true), TTool::None) << key.Name;
    EXPECT_EQ(pattern_keys::ToolOf(key.VirtualKey, true, false, true), TTool::None) << key.Name;
  }
  // The Ctrl keys do nothing without it.
  EXPECT_EQ(pattern_keys::ToolOf('Z', false, false, false), TTool::None);
  EXPECT_EQ(pattern_keys::ToolOf('1', false, false, false), TTool::None);
}

TEST(PatternKeysTest, LeavesTheEffectPanelsKeysAlone) {
  // Open (Ctrl+O), the rate field (Ctrl+R), a line onto the cube (F2), the frame back (F3), play,
  // stop, back, forward and loop (F5-F9).
  EXPECT_EQ(pattern_keys::ToolOf('O', true, false, false), TTool::None);
  EXPECT_EQ(pattern_keys::ToolOf('R', true, false, false), TTool::None);
  for (std::int32_t f = 0x70; f <= 0x7B; ++f) {  // F1..F12, with and without Ctrl
    EXPECT_EQ(pattern_keys::ToolOf(f, false, false, false), TTool::None) << f;
    EXPECT_EQ(pattern_keys::ToolOf(f, true, false, false), TTool::None) << f;
  }
}

}  // namespace

namespace {

TEST(PatternKeysTest, TheReadmeShowsTheToolTableMadeFromTheRows) {
#ifndef CUBE_README
  GTEST_SKIP() << "the README is checked by the native build";
#else
  std::ifstream file(CUBE_README, std::ios::binary);
  ASSERT_TRUE(file) << CUBE_README;
  // Lines as Markdown reads them: the table stands indented in a list item.
  std::string readme, line;
  while (std::getline(file, line))
    readme += line.substr(std::min(line.find_first_not_of(' '), line.size())) + "\n";
  // The rows' texts are CP1251, the README UTF-8.
  std::string table = pattern_keys::MarkdownTable();
  std::string utf8(table.size() * 3, '\0');
  iconv_t convert = iconv_open("UTF-8", "CP1251");
  ASSERT_NE(convert, reinterpret_cast<iconv_t>(-1));
  char* in = table.data();
  char* out = utf8.data();
  std::size_t inLeft = table.size(), outLeft = utf8.size();
  ASSERT_NE(iconv(convert, &in, &inLeft, &out, &outLeft), static_cast<std::size_t>(-1));
  iconv_close(convert);
  utf8.resize(utf8.size() - outLeft);
  EXPECT_NE(readme.find(utf8), std::string::npos) << "the README's tool table should read:\n" << utf8;
#endif
}

}  // namespace
