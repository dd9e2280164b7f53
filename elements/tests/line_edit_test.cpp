// Whole-line edits of the effect text: the text each leaves, the selection after it, and the
// places where there is nothing to do.
#include "elements/line_edit.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using effect::TLineEdit;

struct TAfter {
  std::string Text;
  std::size_t SelStart = 0;
  std::size_t SelEnd = 0;
  bool operator==(const TAfter&) const = default;
};

std::optional<TAfter> After(std::string_view text, const std::optional<TLineEdit>& edit) {
  if (!edit) return std::nullopt;
  return TAfter{effect::Applied(text, *edit), edit->SelStart, edit->SelEnd};
}

std::ostream& operator<<(std::ostream& out, const TAfter& a) {
  return out << '"' << a.Text << "\" sel " << a.SelStart << ".." << a.SelEnd;
}

const std::string kThree = "1,227\r\n2,227\r\n3,227";  // lines start at 0, 7, 14

TEST(LineEditDuplicate, CopiesTheCaretsLineBelowItselfAndTheCaretGoesWithTheCopy) {
  EXPECT_EQ(After(kThree, effect::DuplicateLines(kThree, 9, 9)),
            (TAfter{"1,227\r\n2,227\r\n2,227\r\n3,227", 16, 16}));
  // The last line, which has no break after it.
  EXPECT_EQ(After(kThree, effect::DuplicateLines(kThree, 19, 19)),
            (TAfter{"1,227\r\n2,227\r\n3,227\r\n3,227", 26, 26}));
}

TEST(LineEditDuplicate, CopiesEveryLineTheSelectionTouchesButNotOneItEndsAt) {
  EXPECT_EQ(After(kThree, effect::DuplicateLines(kThree, 2, 14)),
            (TAfter{"1,227\r\n2,227\r\n1,227\r\n2,227\r\n3,227", 16, 28}));
}

TEST(LineEditMove, SwapsTheLineWithItsNeighbourAndKeepsTheCaretInIt) {
  EXPECT_EQ(After(kThree, effect::MoveLines(kThree, 8, 8, false)), (TAfter{"2,227\r\n1,227\r\n3,227", 1, 1}));
  EXPECT_EQ(After(kThree, effect::MoveLines(kThree, 8, 8, true)),
            (TAfter{"1,227\r\n3,227\r\n2,227", 15, 15}));
}

TEST(LineEditMove, TheFirstLineGoesNoHigherAndTheLastNoLower) {
  EXPECT_FALSE(effect::MoveLines(kThree, 0, 0, false).has_value());
  EXPECT_FALSE(effect::MoveLines(kThree, 16, 16, true).has_value());
  // A text that ends with a line break: its last line still goes no lower.
  EXPECT_FALSE(effect::MoveLines("1,227\r\n2,227\r\n", 8, 8, true).has_value());
}

TEST(LineEditMove, MovesASelectedBlockWhole) {
  EXPECT_EQ(After(kThree, effect::MoveLines(kThree, 7, 19, false)),
            (TAfter{"2,227\r\n3,227\r\n1,227", 0, 12}));
}

TEST(LineEditDelete, RemovesTheLineWithItsBreak) {
  EXPECT_EQ(After(kThree, effect::DeleteLines(kThree, 9, 9)), (TAfter{"1,227\r\n3,227", 7, 7}));
  EXPECT_EQ(After(kThree, effect::DeleteLines(kThree, 0, 0)), (TAfter{"2,227\r\n3,227", 0, 0}));
}

TEST(LineEditDelete, ALastLineTakesTheBreakBeforeItSoNoEmptyLineStays) {
  EXPECT_EQ(After(kThree, effect::DeleteLines(kThree, 16, 16)), (TAfter{"1,227\r\n2,227", 7, 7}));
  EXPECT_EQ(After("9,227", effect::DeleteLines("9,227", 2, 2)), (TAfter{"", 0, 0}));
}

TEST(LineEditDelete, NothingPastTheLastBreakOrInAnEmptyText) {
  EXPECT_FALSE(effect::DeleteLines("1,227\r\n", 7, 7).has_value());
  EXPECT_FALSE(effect::DeleteLines("", 0, 0).has_value());
  EXPECT_FALSE(effect::DuplicateLines("", 0, 0).has_value());
}

TEST(LineEditInsert, PutsTheLineAboveTheCaretsLineAndLeavesTheCaretThere) {
  EXPECT_EQ(After(kThree, effect::InsertLineAbove(kThree, 10, 10, "0,5,227")),
            (TAfter{"1,227\r\n0,5,227\r\n2,227\r\n3,227", 16, 16}));
  EXPECT_EQ(After(kThree, effect::InsertLineAbove(kThree, 0, 0, "0,5,227")),
            (TAfter{"0,5,227\r\n1,227\r\n2,227\r\n3,227", 9, 9}));
}

TEST(LineEditInsert, AnEmptyTextGetsJustTheLineAndTheEmptyPlaceAtTheEndALineBeforeIt) {
  EXPECT_EQ(After("", effect::InsertLineAbove("", 0, 0, "227")), (TAfter{"227", 3, 3}));
  EXPECT_EQ(After("1,227\r\n", effect::InsertLineAbove("1,227\r\n", 7, 7, "227")),
            (TAfter{"1,227\r\n227\r\n", 12, 12}));
}

TEST(LineEdit, LinesEndedByALoneCrAreLinesToo) {
  // The memo breaks lines at CR as a save does; the lines' own bytes are never touched.
  EXPECT_EQ(After("a\rb", effect::MoveLines("a\rb", 2, 2, false)), (TAfter{"b\r\na", 0, 0}));
}

}  // namespace
