#include "cube/pattern_history.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using cube::TPattern;
using cube::TPatternHistory;

TPattern RandomPattern(std::mt19937& random) {
  TPattern p;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (random() % 3 == 0) p.set(i);
  }
  return p;
}

// Plays a sequence of changes as the pattern element does: each change records what it leaves.
struct TSession {
  TPatternHistory history;
  std::vector<TPattern> shown;  // every pattern in order; the last is on the cube

  explicit TSession(std::size_t capacity) : history(capacity), shown{TPattern()} {}
  void Change(const TPattern& next) {
    history.Record(shown.back());
    shown.push_back(next);
  }
};

TEST(PatternHistoryTest, UndoGivesBackEachEarlierPatternAndRedoGoesForwardAgain) {
  std::mt19937 random(2026);
  for (int round = 0; round < 20; ++round) {
    TSession session(TPatternHistory::kDefaultCapacity);
    const int changes = 1 + static_cast<int>(random() % 120);
    for (int k = 0; k < changes; ++k) session.Change(RandomPattern(random));
    TPattern current = session.shown.back();
    for (int k = changes - 1; k >= 0; --k) {
      const std::optional<TPattern> earlier = session.history.Undo(current);
      ASSERT_TRUE(earlier.has_value());
      EXPECT_EQ(*earlier, session.shown[static_cast<std::size_t>(k)]);
      current = *earlier;
    }
    EXPECT_FALSE(session.history.Undo(current).has_value());
    for (int k = 1; k <= changes; ++k) {
      const std::optional<TPattern> later = session.history.Redo(current);
      ASSERT_TRUE(later.has_value());
      EXPECT_EQ(*later, session.shown[static_cast<std::size_t>(k)]);
      current = *later;
    }
    EXPECT_FALSE(session.history.Redo(current).has_value());
    EXPECT_EQ(session.history.UndoCount(), static_cast<std::size_t>(changes));
  }
}

TEST(PatternHistoryTest, KeepsAtLeastAHundredStepsAndForgetsTheOldestBeyondItsCapacity) {
  EXPECT_GE(TPatternHistory().Capacity(), 100u);
  std::mt19937 random(5);
  TSession session(TPatternHistory::kDefaultCapacity);
  const int changes = static_cast<int>(TPatternHistory::kDefaultCapacity) + 37;
  for (int k = 0; k < changes; ++k) session.Change(RandomPattern(random));
  EXPECT_EQ(session.history.UndoCount(), TPatternHistory::kDefaultCapacity);
  TPattern current = session.shown.back();
  for (std::size_t k = 0; k < TPatternHistory::kDefaultCapacity; ++k) {
    const std::optional<TPattern> earlier = session.history.Undo(current);
    ASSERT_TRUE(earlier.has_value());
    current = *earlier;
  }
  EXPECT_EQ(current, session.shown[37]);  // the 37 oldest steps are gone
  EXPECT_FALSE(session.history.Undo(current).has_value());
  EXPECT_EQ(session.history.RedoCount(), TPatternHistory::kDefaultCapacity);
}

TEST(PatternHistoryTest, ARecordAfterUndoDropsTheRedoSteps) {
  TPatternHistory history(8);
  const TPattern a, b = TPattern().set(1), c = TPattern().set(2), d = TPattern().set(3);
  history.Record(a);  // a -> b
  history.Record(b);  // b -> c
  EXPECT_EQ(*history.Undo(c), b);
  history.Record(b);  // b -> d instead
  EXPECT_EQ(history.RedoCount(), 0u);
  EXPECT_FALSE(history.Redo(d).has_value());
  EXPECT_EQ(*history.Undo(d), b);
  EXPECT_EQ(*history.Undo(b), a);
  EXPECT_EQ(*history.Redo(a), b);
  EXPECT_EQ(*history.Redo(b), d);
}

TEST(PatternHistoryTest, UndoAndRedoAlternatingAtTheCapacityKeepEveryStep) {
  TPatternHistory history(3);
  std::vector<TPattern> shown;
  for (std::size_t k = 0; k <= 5; ++k) shown.push_back(TPattern().set(k));
  for (std::size_t k = 0; k < 5; ++k) history.Record(shown[k]);
  TPattern current = shown[5];
  for (int k = 0; k < 10; ++k) {
    current = *history.Undo(current);
    EXPECT_EQ(current, shown[4]);
    current = *history.Redo(current);
    EXPECT_EQ(current, shown[5]);
    EXPECT_EQ(history.UndoCount(), 3u);
  }
  history.Clear();
  EXPECT_EQ(history.UndoCount(), 0u);
  EXPECT_FALSE(history.Undo(current).has_value());
}

}  // namespace
