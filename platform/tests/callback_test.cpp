// TCallback: the brace-built, typed and member forms call the same way, pass references through,
// and an empty callback says so.
#include "platform/callback.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Counter {
  int total = 0;
  int Add(int n) { return total += n; }
};

int AddFromData(void* data, int n) { return static_cast<Counter*>(data)->Add(n); }
int AddTyped(Counter* c, int n) { return c->Add(n); }
void Append(Counter*, std::string& text, char ch) { text += ch; }

using TAdd = TCallback<int(int)>;

TEST(Callback, EmptyUntilAProcedureIsGiven) {
  const TAdd none;
  EXPECT_FALSE(none);
  Counter c;
  const TAdd some{&AddFromData, &c};
  EXPECT_TRUE(some);
}

TEST(Callback, BraceTypedAndMemberFormsReachTheSameObject) {
  Counter c;
  const TAdd braced{&AddFromData, &c};
  const TAdd typed = TAdd::Of<Counter, &AddTyped>(&c);
  const TAdd member = TAdd::Member<&Counter::Add>(&c);
  EXPECT_EQ(braced(1), 1);
  EXPECT_EQ(typed(10), 11);
  EXPECT_EQ(member(100), 111);
  EXPECT_EQ(typed.Data, &c);
}

TEST(Callback, ReferenceArgumentsAreChangedInPlace) {
  Counter c;
  const auto append = TCallback<void(std::string&, char)>::Of<Counter, &Append>(&c);
  std::string text = "a";
  append(text, 'b');
  append(text, 'c');
  EXPECT_EQ(text, "abc");
}

}  // namespace
