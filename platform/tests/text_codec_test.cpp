// CP1251 <-> UTF-16 by the table, and the real names kept for lossy CP1251 forms of paths.
#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/wide_path.h"

namespace {

TWideString Wide(std::u16string_view text) { return TWideString(text.begin(), text.end()); }

}  // namespace

TEST(TextCodec, EveryByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const TWideString wide = WideFromCp1251(byte);
    ASSERT_EQ(wide.size(), 1u);
    std::size_t unmappable = 99;
    EXPECT_EQ(Cp1251FromWide(wide, &unmappable), byte) << "byte " << b;
    EXPECT_EQ(unmappable, 0u);
  }
}

TEST(TextCodec, RussianLettersAndSignsAreTheirUnicodeCharacters) {
  // Source literals are CP1251 here: "Ёё№Ая" is five bytes.
  EXPECT_EQ(WideFromCp1251("Ёё№Ая"), Wide(u"Ёё№Ая"));
  EXPECT_EQ(Cp1251FromWide(Wide(u"СБРОС КАДРА €")), "СБРОС КАДРА €");
  EXPECT_EQ(WideFromCp1251("\x98"), Wide(u"\u0098"));  // undefined in CP1251, kept as itself
}

// Texts CP1251 cannot hold stay out of the assertions, whose own text is converted to CP1251.
TEST(TextCodec, UnmappableCharactersAreCountedAndShownAsQuestionMarks) {
  std::size_t unmappable = 0;
  // é and 效 are not in CP1251; 𝄞 is a surrogate pair and counts as one character.
  const TWideString foreign = Wide(u"été 效果 𝄞ї");
  EXPECT_EQ(Cp1251FromWide(foreign, &unmappable), "?t? ?? ?ї");
  EXPECT_EQ(unmappable, 5u);
  char byte = 'x';
  EXPECT_FALSE(Cp1251OfWide(static_cast<TWideChar>(0xD834), byte));
  EXPECT_EQ(byte, 'x');
}

TEST(WidePath, NamesCp1251HoldsNeedNoMemory) {
  EXPECT_EQ(GraphNameOfPath(Wide(u"C:\\Эффекты\\ZOZIVU.TXT")), "C:\\Эффекты\\ZOZIVU.TXT");
  EXPECT_EQ(PathOfGraphName("C:\\Эффекты\\ZOZIVU.TXT"), Wide(u"C:\\Эффекты\\ZOZIVU.TXT"));
}

TEST(WidePath, LossyFormLeadsBackToTheRealFileAndItsFolder) {
  const TWideString folder = Wide(u"C:\\Эффекты été 效果");
  const TWideString real = folder + Wide(u"\\𝄞.txt");
  const std::string form = GraphNameOfPath(real);
  EXPECT_EQ(form, "C:\\Эффекты ?t? ??\\?.txt");
  EXPECT_EQ(PathOfGraphName(form), real);
  // The folder part, as the remembered start folder, and another file typed into it.
  EXPECT_EQ(PathOfGraphName("C:\\Эффекты ?t? ??"), folder);
  EXPECT_EQ(PathOfGraphName("C:\\Эффекты ?t? ??\\new.txt"), folder + Wide(u"\\new.txt"));
  // A name that merely starts like the folder is not inside it.
  EXPECT_EQ(PathOfGraphName("C:\\Эффекты ?t? ??x"), Wide(u"C:\\Эффекты ?t? ??x"));
}

TEST(WidePath, TheNewestOfTwoPathsWithOneFormWins) {
  const TWideString older = Wide(u"D:\\効\\a.txt");
  const TWideString newer = Wide(u"D:\\效\\a.txt");
  GraphNameOfPath(older);
  GraphNameOfPath(newer);
  EXPECT_EQ(PathOfGraphName("D:\\?\\a.txt"), newer);
}

TEST(WidePath, OnlyLongAbsolutePathsGetThePrefix) {
  EXPECT_EQ(LongPathForm(Wide(u"C:/a/b.txt")), Wide(u"C:\\a\\b.txt"));
  const TWideString deep = Wide(u"C:\\") + TWideString(300, TWideChar{'x'});
  EXPECT_EQ(LongPathForm(deep), Wide(u"\\\\?\\") + deep);
  const TWideString share = Wide(u"\\\\host\\share\\") + TWideString(300, TWideChar{'y'});
  EXPECT_EQ(LongPathForm(share), Wide(u"\\\\?\\UNC") + share.substr(1));
  const TWideString relative(300, TWideChar{'z'});
  EXPECT_EQ(LongPathForm(relative), relative);
}
