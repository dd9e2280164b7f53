#include "platform/obj.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/list.h"

namespace {

std::vector<std::string> events;

class Probe : public TObj {
 public:
  explicit Probe(std::string name) : name_(std::move(name)) {}
  using TObj::NotifyDestroy;

 protected:
  ~Probe() override { events.push_back("destroy " + name_); }

 private:
  std::string name_;
};

void Record(void* arg) { events.push_back(static_cast<const char*>(arg)); }

void RecordDestroyEvent(void* data, TObj* sender) {
  events.push_back(std::string(static_cast<const char*>(data)) + (sender != nullptr ? " sender" : " null"));
}

class ObjTest : public ::testing::Test {
 protected:
  void SetUp() override { events.clear(); }
};

TEST_F(ObjTest, FreeOfAnUnreferencedObjectDestroysItAtOnce) {
  Probe* p = new Probe("p");
  EXPECT_EQ(p->RefCount, 0);
  p->Free();
  EXPECT_EQ(events, std::vector<std::string>{"destroy p"});
}

TEST_F(ObjTest, FreeWithAReferenceHeldWaitsForTheLastRelease) {
  Probe* p = new Probe("p");
  p->AddRef();
  EXPECT_EQ(p->RefCount, 2);
  p->Free();
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(p->RefCount, 1);
  p->Free();  // a second Free while pending changes nothing
  EXPECT_EQ(p->RefCount, 1);
  EXPECT_TRUE(events.empty());
  p->Release();
  EXPECT_EQ(events, std::vector<std::string>{"destroy p"});
}

TEST_F(ObjTest, ReleaseWithoutFreeKeepsTheObject) {
  Probe* p = new Probe("p");
  p->AddRef();
  p->AddRef();
  p->Release();
  p->Release();
  EXPECT_EQ(p->RefCount, 0);
  EXPECT_TRUE(events.empty());
  p->Free();
  EXPECT_EQ(events, std::vector<std::string>{"destroy p"});
}

TEST_F(ObjTest, NestedReferencesDestroyOnlyAtTheOutermostRelease) {
  Probe* p = new Probe("p");
  p->AddRef();
  p->AddRef();
  p->Free();
  p->Release();
  EXPECT_TRUE(events.empty());
  p->Release();
  EXPECT_EQ(events, std::vector<std::string>{"destroy p"});
}

TEST_F(ObjTest, NullSafeFreeAcceptsNull) {
  ::Free(nullptr);
  Probe* p = new Probe("p");
  ::Free(p);
  EXPECT_EQ(events, std::vector<std::string>{"destroy p"});
}

TEST_F(ObjTest, DestructionCallsOnDestroyFirstThenAutoFreePairsNewestFirst) {
  Probe* p = new Probe("p");
  static char onDestroy[] = "on destroy";
  static char first[] = "first";
  static char second[] = "second";
  static char third[] = "third";
  p->OnDestroy = {RecordDestroyEvent, onDestroy};
  p->AddAutoFree(Record, first);
  p->AddAutoFree(Record, second);
  p->AddAutoFree(Record, third);
  ASSERT_NE(p->AutoFreeList, nullptr);
  EXPECT_EQ(p->AutoFreeList->Count, 6);
  EXPECT_EQ(p->AutoFreeList->Get(1), third);  // pairs are (procedure, argument), newest first
  p->Free();
  // The derived destructor runs before the base's notifications, as a derived Destroy does its own
  // work before the base destruction.
  EXPECT_EQ(events, (std::vector<std::string>{"destroy p", "on destroy sender", "third", "second", "first"}));
}

TEST_F(ObjTest, NotificationsRunOnceWhenCalledEarly) {
  Probe* p = new Probe("p");
  static char onDestroy[] = "on destroy";
  static char pair[] = "pair";
  p->OnDestroy = {RecordDestroyEvent, onDestroy};
  p->AddAutoFree(Record, pair);
  p->NotifyDestroy();
  EXPECT_FALSE(p->OnDestroy);
  EXPECT_EQ(p->AutoFreeList, nullptr);
  p->Free();
  EXPECT_EQ(events, (std::vector<std::string>{"on destroy sender", "pair", "destroy p"}));
}

TObj* reentered = nullptr;

void FreeAgainAndTouchReferences(void* /*data*/, TObj* sender) {
  events.push_back("on destroy");
  reentered = sender;
  sender->Free();
  sender->AddRef();
  sender->Release();
}

TEST_F(ObjTest, FreeOrAReferencePairInsideOnDestroyDoesNotDestroyTwice) {
  Probe* direct = new Probe("direct");
  direct->OnDestroy = {FreeAgainAndTouchReferences, nullptr};
  direct->Free();
  EXPECT_EQ(events, (std::vector<std::string>{"destroy direct", "on destroy"}));

  events.clear();
  Probe* pending = new Probe("pending");
  pending->OnDestroy = {FreeAgainAndTouchReferences, nullptr};
  pending->AddRef();
  pending->Free();
  pending->Release();  // destroys; the handler's own AddRef/Release must not destroy it again
  EXPECT_EQ(events, (std::vector<std::string>{"destroy pending", "on destroy"}));
}

Probe* registrar = nullptr;
char late[] = "late";

void RegisterAnother(void* /*arg*/) {
  events.push_back("early");
  registrar->AddAutoFree(Record, late);
}

TEST_F(ObjTest, APairAddedDuringDestructionStillRuns) {
  registrar = new Probe("p");
  registrar->AddAutoFree(RegisterAnother, nullptr);
  registrar->Free();
  EXPECT_EQ(events, (std::vector<std::string>{"destroy p", "early", "late"}));
}

}  // namespace
