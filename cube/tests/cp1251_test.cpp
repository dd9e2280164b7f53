#include "cube/cp1251.h"

#include <gtest/gtest.h>

namespace {

// The literals on the right are CP1251 (the build's execution charset); on the left, UTF-8 bytes.
TEST(Cp1251Test, RussianLettersDigitsAndLatinBecomeTheirBytes) {
  const cp1251::TConverted text = cp1251::FromUtf8("\xD0\x81\xD1\x91 \xD0\x90\xD1\x8F 7z");
  ASSERT_TRUE(text.Ok());
  EXPECT_EQ(text.Bytes, "Ёё Ая 7z");
  EXPECT_EQ(cp1251::FromUtf8("\xE2\x84\x96\xE2\x82\xAC").Bytes, "\xB9\x88");  // numero sign, euro
  EXPECT_TRUE(cp1251::FromUtf8("").Ok());
}

TEST(Cp1251Test, EveryByteGoesToUtf8AndBackUnchanged) {
  for (int byte = 1; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    if (byte == 0x98) {
      EXPECT_EQ(cp1251::ToUtf8(one), "\xEF\xBF\xBD");  // the one byte the code page leaves unused
      continue;
    }
    EXPECT_EQ(cp1251::FromUtf8(cp1251::ToUtf8(one)).Bytes, one) << byte;
  }
  EXPECT_EQ(cp1251::ToUtf8("Ёж"), "\xD0\x81\xD0\xB6");
}

TEST(Cp1251Test, CharactersWithoutAByteAndBrokenUtf8AreRefusedWhereTheyStand) {
  EXPECT_EQ(cp1251::FromUtf8("ab\xE2\x98\x83").BadAt, 3u);  // a snowman
  EXPECT_EQ(cp1251::FromUtf8("\xC3\xA9").BadAt, 1u);        // e acute: Latin-1, not CP1251
  EXPECT_EQ(cp1251::FromUtf8("a\xD0").BadAt, 2u);           // cut short
  EXPECT_EQ(cp1251::FromUtf8("a\xC0\x80").BadAt, 2u);       // overlong NUL
  EXPECT_EQ(cp1251::FromUtf8("\xED\xA0\x80").BadAt, 1u);    // a surrogate
  EXPECT_TRUE(cp1251::FromUtf8("ab\xE2\x98\x83").Bytes.empty());
}

}  // namespace
