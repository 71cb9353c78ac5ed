#include "core/Platform.h"
#include "core/SStringPool.h"

#include "core/SString.h"
#include "core/SStringArray.h"
#include "core/SStringParser.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

TEST(SStringPool, StringsOfAScopeLiveInThePoolWithEveryBufferTheyTake) {
  SStringPool pool;
  SString* outside = new SString("before the scope");
  SString* inside = nullptr;
  SString onStack;
  {
    SStringPool::Scope scope(&pool);
    inside = new SString("short");
    onStack = "a string on the stack is nobody's";
  }
  EXPECT_TRUE(pool.Contains(inside));
  EXPECT_TRUE(pool.Contains(inside->GetText()));
  EXPECT_FALSE(pool.Contains(outside));
  EXPECT_FALSE(pool.Contains(onStack.GetText()));
  EXPECT_GT(pool.GetReservedBytes(), 0u);

  // Growing through every slot size and beyond them, then shrinking: the
  // buffers stay in the pool (the large one in its list) and the text holds.
  std::string expected = "short";
  for (int length : {12, 30, 60, 200, 5000, 3}) {
    expected.assign(size_t(length), 'q');
    inside->Set(expected.c_str());
    EXPECT_EQ(expected, inside->GetText()) << length;
    if (length <= 60) {
      EXPECT_TRUE(pool.Contains(inside->GetText())) << length;
    }
  }
  *inside += " and more";
  EXPECT_STREQ("qqq and more", inside->GetText());

  // Deleted alone, a pool string's memory serves the next string made in
  // the pool.
  void* freed = inside;
  delete inside;
  {
    SStringPool::Scope scope(&pool);
    SString* next = new SString("x");
    EXPECT_EQ(freed, static_cast<void*>(next));
    delete next;
  }
  delete outside;
}

TEST(SStringPool, ScopesNestAndOtherThreadsAreNotAffected) {
  SStringPool outer, inner;
  SStringPool::Scope first(&outer);
  SString* a = new SString("a");
  SString* b = nullptr;
  {
    SStringPool::Scope second(&inner);
    b = new SString("b");
    SString* fromThread = nullptr;
    std::thread other([&] { fromThread = new SString("thread"); });
    other.join();
    EXPECT_FALSE(outer.Contains(fromThread));
    EXPECT_FALSE(inner.Contains(fromThread));
    delete fromThread;
  }
  SString* c = new SString("c");
  EXPECT_TRUE(outer.Contains(a));
  EXPECT_TRUE(inner.Contains(b));
  EXPECT_TRUE(outer.Contains(c));
  // A class derived from SString is made and deleted the same way.
  SStringParser* parser = new SStringParser;
  parser->Set("one two");
  delete parser;
  delete a;
  delete b;
  delete c;
}

TEST(SStringPool, ReleaseGivesBackEverythingAtOnce) {
  SStringPool pool;
  SStringArray strings;
  {
    SStringPool::Scope scope(&pool);
    for (int i = 0; i < 100000; ++i) strings.Add(SString::FromInt(i).GetText());
    strings[7]->Set(std::string(300, 'L').c_str());
  }
  ASSERT_EQ(100000, strings.GetCount());
  EXPECT_STREQ("99999", strings[99999]->GetText());
  for (int i = 0; i < strings.GetCount(); ++i) ASSERT_TRUE(pool.Contains(strings[i])) << i;
  // The owner forgets the strings, then the pool lets all of them go.
  strings.RemoveAll();
  pool.Release();
  EXPECT_EQ(0u, pool.GetReservedBytes());

  // The pool serves again after a release.
  SString* again = nullptr;
  {
    SStringPool::Scope scope(&pool);
    again = new SString("again");
  }
  EXPECT_TRUE(pool.Contains(again));
  EXPECT_STREQ("again", again->GetText());
  delete again;
}

TEST(SStringPool, ChunksGrowSoThatASmallPoolStaysSmallAndALargeOneTakesFew) {
  const size_t kMB = size_t(1) << 20;
  SStringPool pool;
  std::vector<SString*> strings;
  auto add = [&](const char* text) {
    SStringPool::Scope scope(&pool);
    strings.push_back(new SString(text));
  };
  add("one");
  // One string takes the first, smallest chunk.
  EXPECT_EQ(kMB, pool.GetReservedBytes());

  // Each chunk taken is twice the one before, up to 16 MB: what the pool
  // reserves runs through 1, 3, 7, 15, 31 MB, then grows 16 MB at a time.
  std::vector<size_t> seen = {pool.GetReservedBytes()};
  while (pool.GetReservedBytes() < 70 * kMB) {
    add("a text of the pool, 40 bytes of buffer");
    if (pool.GetReservedBytes() != seen.back()) seen.push_back(pool.GetReservedBytes());
  }
  const std::vector<size_t> expected = {1 * kMB,  3 * kMB,  7 * kMB,  15 * kMB,
                                        31 * kMB, 47 * kMB, 63 * kMB, 79 * kMB};
  EXPECT_EQ(expected, seen);
  int outside = 0;
  for (SString* s : strings) outside += !pool.Contains(s) || !pool.Contains(s->GetText());
  EXPECT_EQ(0, outside);
  EXPECT_STREQ("one", strings.front()->GetText());
  EXPECT_STREQ("a text of the pool, 40 bytes of buffer", strings.back()->GetText());

  // Released, no address of any chunk counts as the pool's any more, and a
  // string made afterwards starts with a first-size chunk again.
  const void* first = strings.front();
  const void* last = strings.back();
  strings.clear();
  pool.Release();
  EXPECT_EQ(0u, pool.GetReservedBytes());
  EXPECT_FALSE(pool.Contains(first));
  EXPECT_FALSE(pool.Contains(last));
  add("again");
  EXPECT_EQ(kMB, pool.GetReservedBytes());
  EXPECT_TRUE(pool.Contains(strings.back()));
}
