#include "platform/list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// Lists end through Free; this keeps each test's list tidy.
struct ListHolder {
  TList* list = TList::Create();
  ~ListHolder() { list->Free(); }
  TList* operator->() const { return list; }
};

void* P(int n) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(n)); }

std::vector<void*> Entries(const TList& list) {
  return std::vector<void*>(list.Items, list.Items + list.Count);
}

TEST(TList, CreatedEmptyWithAGrowthOfFour) {
  ListHolder l;
  EXPECT_EQ(l->Items, nullptr);
  EXPECT_EQ(l->Count, 0);
  EXPECT_EQ(l->Capacity, 0);
  EXPECT_EQ(l->Growth, 4);
}

TEST(TList, GrowsByTheFixedStep) {
  ListHolder l;
  std::vector<int> capacities;
  for (int i = 1; i <= 9; ++i) {
    l->Add(P(i));
    capacities.push_back(l->Capacity);
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 4, 4, 4, 8, 8, 8, 8, 12}));
  for (int i = 0; i < 9; ++i) EXPECT_EQ(l->Get(i), P(i + 1));
}

TEST(TList, NonPositiveGrowthIsReplacedByFourAtTheNextAdd) {
  ListHolder l;
  l->Growth = 0;
  l->Add(P(1));
  EXPECT_EQ(l->Growth, 4);
  EXPECT_EQ(l->Capacity, 4);
  l->Growth = -7;
  for (int i = 0; i < 4; ++i) l->Add(P(2));
  EXPECT_EQ(l->Growth, 4);
  EXPECT_EQ(l->Capacity, 8);
}

TEST(TList, InsertShiftsLaterEntriesUp) {
  ListHolder l;
  l->Add(P(1));
  l->Add(P(3));
  l->Insert(1, P(2));
  l->Insert(0, P(0));
  l->Insert(l->Count, P(4));
  EXPECT_EQ(Entries(*l.list), (std::vector<void*>{P(0), P(1), P(2), P(3), P(4)}));
}

TEST(TList, InsertOutsideTheListIsIgnored) {
  ListHolder l;
  l->Add(P(1));
  l->Insert(-1, P(9));
  l->Insert(2, P(9));
  EXPECT_EQ(Entries(*l.list), (std::vector<void*>{P(1)}));
}

TEST(TList, GetOutOfRangeGivesNull) {
  ListHolder l;
  EXPECT_EQ(l->Get(0), nullptr);
  l->Add(P(5));
  EXPECT_EQ(l->Get(0), P(5));
  EXPECT_EQ(l->Get(-1), nullptr);
  EXPECT_EQ(l->Get(1), nullptr);
  EXPECT_EQ(l->Get(INT32_MIN), nullptr);
}

TEST(TList, IndexOfFindsTheFirstOccurrence) {
  ListHolder l;
  l->Add(P(7));
  l->Add(nullptr);
  l->Add(P(7));
  EXPECT_EQ(l->IndexOf(P(7)), 0);
  EXPECT_EQ(l->IndexOf(nullptr), 1);
  EXPECT_EQ(l->IndexOf(P(8)), -1);
}

TEST(TList, DeleteRangeMovesLaterEntriesDownAndCutsAnOverlongRange) {
  ListHolder l;
  for (int i = 0; i < 6; ++i) l->Add(P(i));
  l->DeleteRange(1, 2);
  EXPECT_EQ(Entries(*l.list), (std::vector<void*>{P(0), P(3), P(4), P(5)}));
  l->DeleteRange(2, 100);
  EXPECT_EQ(Entries(*l.list), (std::vector<void*>{P(0), P(3)}));
  l->DeleteRange(0, 0);
  l->DeleteRange(0, -3);
  l->Delete(2);
  l->Delete(-1);
  EXPECT_EQ(Entries(*l.list), (std::vector<void*>{P(0), P(3)}));
  l->Delete(0);
  EXPECT_EQ(Entries(*l.list), (std::vector<void*>{P(3)}));
  EXPECT_EQ(l->Capacity, 8);  // deleting never shrinks the array
}

TEST(TList, SetCapacityNeverDropsEntries) {
  ListHolder l;
  for (int i = 0; i < 5; ++i) l->Add(P(i));
  l->SetCapacity(2);
  EXPECT_EQ(l->Capacity, 5);
  l->SetCapacity(100);
  EXPECT_EQ(l->Capacity, 100);
  EXPECT_EQ(Entries(*l.list), (std::vector<void*>{P(0), P(1), P(2), P(3), P(4)}));
}

TEST(TList, ClearReleasesTheArray) {
  ListHolder l;
  for (int i = 0; i < 5; ++i) l->Add(P(i));
  l->Clear();
  EXPECT_EQ(l->Items, nullptr);
  EXPECT_EQ(l->Count, 0);
  EXPECT_EQ(l->Capacity, 0);
  l->Add(P(1));
  EXPECT_EQ(l->Get(0), P(1));
}

TEST(TList, ManyInsertionsAtTheFrontKeepOrder) {
  ListHolder l;
  for (int i = 0; i < 1000; ++i) l->Insert(0, P(i));
  ASSERT_EQ(l->Count, 1000);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(l->Get(i), P(999 - i));
}

}  // namespace
