// The save's texts and the clearing of exactly the saved lines, window-free.
#include "elements/save_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using effect::TextLeftAfterClearing;

// --- Counts in Russian

TEST(SaveCountWords, FollowTheLastDigitsWithTheTeensAlwaysMany) {
  const auto word = [](std::size_t n) { return std::string(effect::CountWord(n, "one", "few", "many")); };
  EXPECT_EQ(word(1), "one");
  EXPECT_EQ(word(21), "one");
  EXPECT_EQ(word(101), "one");
  EXPECT_EQ(word(2), "few");
  EXPECT_EQ(word(4), "few");
  EXPECT_EQ(word(34), "few");
  EXPECT_EQ(word(0), "many");
  EXPECT_EQ(word(5), "many");
  EXPECT_EQ(word(11), "many");
  EXPECT_EQ(word(12), "many");
  EXPECT_EQ(word(14), "many");
  EXPECT_EQ(word(111), "many");
  EXPECT_EQ(word(112), "many");
  EXPECT_EQ(word(100000), "many");
}

TEST(SaveNotFramesQuestion, AgreesWithItsCountAndNamesTheFirstLine) {
  EXPECT_EQ(effect::NotFramesQuestion({1, {3}}),
            "1 строка не является кадром (строка 3).\r\nСохранить всё равно?");
  EXPECT_EQ(effect::NotFramesQuestion({3, {2, 5, 9}}),
            "3 строки не являются кадрами (первая: строка 2).\r\nСохранить всё равно?");
  EXPECT_EQ(effect::NotFramesQuestion({12, {7}}),
            "12 строк не являются кадрами (первая: строка 7).\r\nСохранить всё равно?");
  EXPECT_EQ(effect::NotFramesQuestion({21, {1}}),
            "21 строка не является кадром (первая: строка 1).\r\nСохранить всё равно?");
}

TEST(SaveStatusText, NamesTheFileMarksChangesAndCountsSavedFrames) {
  EXPECT_EQ(effect::FileStatusText("ZOZIVU.TXT", true), "ZOZIVU.TXT • изменён");
  EXPECT_EQ(effect::FileStatusText("ZOZIVU.TXT", false), "ZOZIVU.TXT");
  EXPECT_EQ(effect::FileStatusText("", true), "Новый эффект • изменён");
  EXPECT_EQ(effect::SavedStatusText(12, "ZOZIVU.TXT"), "Сохранено: 12 кадров, ZOZIVU.TXT");
  EXPECT_EQ(effect::SavedStatusText(1, "A.TXT"), "Сохранено: 1 кадр, A.TXT");
  EXPECT_EQ(effect::SavedStatusText(3, "A.TXT"), "Сохранено: 3 кадра, A.TXT");
  EXPECT_EQ(effect::FileNameOf("C:\\work\\fx\\ZOZIVU.TXT"), "ZOZIVU.TXT");
  EXPECT_EQ(effect::FileNameOf("/tmp/a.txt"), "a.txt");
  EXPECT_EQ(effect::FileNameOf("bare.txt"), "bare.txt");
}

// --- Clearing after a save

TEST(SaveClearing, TakesTheWholeTextWhenNothingChangedSinceTheSave) {
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n1,227", "0,227\r\n1,227"), "");
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n1,227\r\n", "0,227\r\n1,227"), "");
  EXPECT_EQ(TextLeftAfterClearing("", ""), "");
}

TEST(SaveClearing, KeepsFramesRecordedAfterTheSave) {
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n1,227", "0,227\r\n1,227\r\n2,227"), "2,227");
  EXPECT_EQ(TextLeftAfterClearing("0,227", "0,227\r\n2,227\r\n3,227"), "2,227\r\n3,227");
  // A frame recorded onto the empty line a double Enter left.
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n", "0,227\r\n5,227"), "5,227");
  // Repeated lines: only as many go as were saved.
  EXPECT_EQ(TextLeftAfterClearing("227\r\n227", "227\r\n227\r\n227"), "227");
}

TEST(SaveClearing, KeepsLinesChangedOrInsertedAfterTheSaveAndDropsTheSavedOnesAroundThem) {
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n1,227\r\n2,227", "0,227\r\n1,9,227\r\n2,227"), "1,9,227");
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n2,227", "0,227\r\n1,227\r\n2,227"), "1,227");
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n1,227", "7,227\r\n0,227\r\n1,227"), "7,227");
}

TEST(SaveClearing, KeepsEverythingWhenTheTextWasReplacedAndNothingWhenItWasOnlyCut) {
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n1,227", "5,227\r\n6,227"), "5,227\r\n6,227");
  EXPECT_EQ(TextLeftAfterClearing("", "5,227"), "5,227");
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n1,227\r\n2,227", "0,227\r\n2,227"), "");
  EXPECT_EQ(TextLeftAfterClearing("0,227\r\n1,227", ""), "");
}

}  // namespace
