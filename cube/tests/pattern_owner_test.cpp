#include "cube/pattern_owner.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cube/pattern_recorder.h"

namespace {

using cube::TPattern;
using cube::TPatternCause;
using cube::TPatternChange;
using cube::TPatternOwner;

// A follower that writes down what it is told and what the owner holds while it is told.
struct TFollower {
  TFollower(TPatternOwner* o, std::string n, std::vector<std::string>* l)
      : owner(o), name(std::move(n)), log(l) {}

  TPatternOwner* owner = nullptr;
  std::string name;
  std::vector<std::string>* log = nullptr;
  std::vector<TPattern> olds, news, changed, ownerHeld;
  std::vector<TPatternCause> causes;
  std::function<void(const TPatternChange&)> during;  // runs inside each telling

  static void Follow(void* self, const TPatternChange& change) {
    auto& f = *static_cast<TFollower*>(self);
    if (f.log != nullptr) f.log->push_back(f.name);
    f.olds.push_back(change.Old);
    f.news.push_back(change.New);
    f.changed.push_back(change.Changed);
    f.causes.push_back(change.Cause);
    f.ownerHeld.push_back(f.owner->Pattern());
    if (f.during) f.during(change);
  }
  cube::TPatternListener Listener() { return {&Follow, this}; }
};

class PatternOwnerTest : public ::testing::Test {
 protected:
  TPatternOwner owner;
  std::vector<std::string> log;
  TFollower a{&owner, "a", &log}, b{&owner, "b", &log}, c{&owner, "c", &log};
};

// --- what every follower is told

TEST_F(PatternOwnerTest, FollowersAreToldInTheOrderTheySubscribedWithOldNewChangedAndCause) {
  owner.Subscribe(a.Listener());
  owner.Subscribe(b.Listener());
  owner.Subscribe(c.Listener());
  owner.Put(TPattern().set(3).set(200), TPatternCause::Frame);
  owner.Put(TPattern().set(200).set(4), TPatternCause::Transform);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "c", "a", "b", "c"}));
  for (const TFollower* f : {&a, &b, &c}) {
    ASSERT_EQ(f->news.size(), 2u);
    EXPECT_EQ(f->olds[0], TPattern());
    EXPECT_EQ(f->olds[1], TPattern().set(3).set(200));
    EXPECT_EQ(f->changed[1], TPattern().set(3).set(4));
    EXPECT_EQ(f->causes[1], TPatternCause::Transform);
    // While told, the owner already holds the new pattern: a follower may read it back.
    EXPECT_EQ(f->ownerHeld, f->news);
  }
}

TEST_F(PatternOwnerTest, AnEqualPatternIsStillToldWithNothingChanged) {
  owner.Subscribe(a.Listener());
  owner.Put(TPattern().set(7), TPatternCause::Frame);
  owner.Put(TPattern().set(7), TPatternCause::Frame);
  ASSERT_EQ(a.changed.size(), 2u);
  EXPECT_TRUE(a.changed[1].none());
  EXPECT_EQ(a.olds[1], a.news[1]);
}

TEST_F(PatternOwnerTest, OnlyTheLedsOwnChangesCountAsCarriedByTheirChains) {
  EXPECT_TRUE(cube::ByLed(TPatternCause::Click));
  EXPECT_TRUE(cube::ByLed(TPatternCause::Reset));
  for (TPatternCause cause : {TPatternCause::Frame, TPatternCause::Transform, TPatternCause::Show,
                              TPatternCause::Undo, TPatternCause::Redo})
    EXPECT_FALSE(cube::ByLed(cause));
}

// --- changes asked for while the followers are being told

TEST_F(PatternOwnerTest, APutFromAFollowerWaitsUntilEveryFollowerHeardTheChangeBeforeIt) {
  owner.Subscribe(a.Listener());
  owner.Subscribe(b.Listener());
  a.during = [this](const TPatternChange& change) {
    if (change.Cause == TPatternCause::Click) owner.Put(TPattern().set(9), TPatternCause::Undo);
  };
  owner.Put(TPattern().set(1), TPatternCause::Click);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "a", "b"}));
  for (const TFollower* f : {&a, &b}) {
    ASSERT_EQ(f->news.size(), 2u);
    EXPECT_EQ(f->olds[1], f->news[0]) << f->name << " saw the changes out of order";
    EXPECT_EQ(f->news[1], TPattern().set(9));
    EXPECT_EQ(f->ownerHeld, f->news);
  }
  EXPECT_EQ(owner.Pattern(), TPattern().set(9));
}

TEST_F(PatternOwnerTest, PutsFromFollowersAreToldInTheOrderTheyWereAsked) {
  owner.Subscribe(a.Listener());
  a.during = [this](const TPatternChange& change) {
    if (change.Cause != TPatternCause::Frame) return;
    owner.Put(TPattern().set(1), TPatternCause::Show);
    owner.Put(TPattern().set(2), TPatternCause::Show);
  };
  owner.Put(TPattern().set(0), TPatternCause::Frame);
  ASSERT_EQ(a.news.size(), 3u);
  EXPECT_EQ(a.news[1], TPattern().set(1));
  EXPECT_EQ(a.news[2], TPattern().set(2));
  EXPECT_EQ(a.changed[2], TPattern().set(1).set(2));
}

// --- subscribing and leaving

TEST_F(PatternOwnerTest, ALeftFollowerHearsNothingMoreEvenWhenItLeavesDuringATelling) {
  owner.Subscribe(a.Listener());
  owner.Subscribe(b.Listener());
  owner.Subscribe(c.Listener());
  // b leaves as a is told, and c right after: neither hears this change.
  a.during = [this](const TPatternChange&) {
    owner.Unsubscribe(&b);
    owner.Unsubscribe(&c);
  };
  owner.Put(TPattern().set(5), TPatternCause::Show);
  EXPECT_EQ(log, (std::vector<std::string>{"a"}));
  EXPECT_EQ(owner.ListenerCount(), 1u);
}

TEST_F(PatternOwnerTest, SubscribingTwiceKeepsOneSubscriptionAndANullListenerIsIgnored) {
  owner.Subscribe(a.Listener());
  owner.Subscribe(a.Listener());
  owner.Subscribe({nullptr, &b});
  EXPECT_EQ(owner.ListenerCount(), 1u);
  owner.Put(TPattern().set(5), TPatternCause::Show);
  EXPECT_EQ(log, (std::vector<std::string>{"a"}));
}

TEST_F(PatternOwnerTest, AFollowerSubscribedDuringATellingHearsFromTheNextChangeOn) {
  owner.Subscribe(a.Listener());
  a.during = [this](const TPatternChange&) { owner.Subscribe(b.Listener()); };
  owner.Put(TPattern().set(5), TPatternCause::Show);
  EXPECT_TRUE(b.news.empty());
  owner.Put(TPattern().set(6), TPatternCause::Show);
  ASSERT_EQ(b.news.size(), 1u);
  EXPECT_EQ(b.olds[0], TPattern().set(5));
}

// --- the recorder as a follower: which changes are steps

class PatternRecorderTest : public ::testing::Test {
 protected:
  TPatternOwner owner;
  cube::TPatternRecorder recorder;
  void SetUp() override { owner.Subscribe(recorder.Listener()); }
  void Put(const TPattern& p, TPatternCause cause) { owner.Put(p, cause); }
  bool Undo() {
    const auto target = recorder.Undo(owner.Pattern());
    if (target) owner.Put(*target, TPatternCause::Undo);
    return target.has_value();
  }
};

TEST_F(PatternRecorderTest, ResetsInARowAreOneStepAndAClickClosesIt) {
  Put(TPattern().set(1).set(2).set(3), TPatternCause::Frame);
  Put(TPattern().set(2).set(3), TPatternCause::Reset);
  Put(TPattern().set(3), TPatternCause::Reset);
  Put(TPattern(), TPatternCause::Reset);
  EXPECT_EQ(recorder.History().UndoCount(), 2u);
  Put(TPattern().set(8), TPatternCause::Click);
  Put(TPattern(), TPatternCause::Reset);
  EXPECT_EQ(recorder.History().UndoCount(), 4u);
  ASSERT_TRUE(Undo());
  ASSERT_TRUE(Undo());
  ASSERT_TRUE(Undo());
  EXPECT_EQ(owner.Pattern(), TPattern().set(1).set(2).set(3));
}

TEST_F(PatternRecorderTest, PlayedFramesAreNoStepsUntilSettledAndASettleKeepsAnOpenResetOpen) {
  Put(TPattern().set(1), TPatternCause::Frame);
  Put(TPattern().set(2).set(4), TPatternCause::Show);
  EXPECT_EQ(recorder.History().UndoCount(), 1u);
  Put(TPattern().set(4), TPatternCause::Reset);  // the reset in the midst of playback
  recorder.Settle(owner.Pattern());              // the halted player settles
  EXPECT_TRUE(recorder.ResetOpen());
  Put(TPattern(), TPatternCause::Reset);
  EXPECT_EQ(recorder.History().UndoCount(), 3u);  // the start, the frame before playback, the played one
  ASSERT_TRUE(Undo());
  EXPECT_EQ(owner.Pattern(), TPattern().set(2).set(4));
}

TEST_F(PatternRecorderTest, AFrameThatChangesNothingIsNoStepAndNothingToUndoPutsNothing) {
  Put(TPattern().set(1), TPatternCause::Frame);
  Put(TPattern().set(1), TPatternCause::Frame);
  Put(TPattern().set(1), TPatternCause::Transform);
  EXPECT_EQ(recorder.History().UndoCount(), 1u);
  ASSERT_TRUE(Undo());
  EXPECT_FALSE(Undo());
  EXPECT_EQ(owner.Pattern(), TPattern());
}

}  // namespace
