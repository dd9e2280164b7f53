#include "runtime/bytestring.h"

#include <gtest/gtest.h>

TEST(ByteString, CopiesShareOneBlockUntilTheLastHolderGoes) {
  ByteString a("frame");
  {
    ByteString b = a;
    EXPECT_EQ(a.ShareCount(), 2);
    EXPECT_EQ(b.data(), a.data());
  }
  EXPECT_EQ(a.ShareCount(), 1);
}

TEST(ByteString, EmptyStringsHoldNoBlockAndAreNulTerminated) {
  ByteString e;
  ByteString n(static_cast<const char*>(nullptr));
  EXPECT_TRUE(e.empty());
  EXPECT_TRUE(n.empty());
  EXPECT_EQ(e.c_str()[0], '\0');
  EXPECT_EQ(e.ShareCount(), 0);
}

TEST(ByteString, KeepsInnerNulAndHighBytes) {
  const char bytes[] = {'a', 0, char(0xD1), 'b'};
  ByteString s(bytes, 4);
  EXPECT_EQ(s.size(), 4u);
  EXPECT_EQ(s[2], char(0xD1));
}

TEST(ByteString, ConcatenationAndSelfAssignment) {
  ByteString a("0,"), b("227");
  ByteString c = a + b;
  EXPECT_EQ(c, "0,227");
  EXPECT_EQ(ByteString() + b, "227");
  c = c;
  EXPECT_EQ(c, "0,227");
}
