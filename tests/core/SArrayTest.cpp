#include "core/Platform.h"
#include "core/SArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Exposes the storage fields that the members do not return.
template <class T>
class Probe : public SArray<T> {
public:
  using SArray<T>::operator=;
  int Capacity() const { return this->m_capacity; }
  bool Fixed() const { return this->m_fixed != 0; }
  const T* Data() const { return this->m_data; }
};

template <class T>
std::vector<T> Items(const SArray<T>& a) {
  std::vector<T> v;
  for (int i = 0; i < a.GetCount(); ++i) v.push_back(a[i]);
  return v;
}

template <class T>
SArray<T>& Fill(SArray<T>& a, std::initializer_list<T> values) {
  a.RemoveAll();
  for (const T& v : values) a.Add(v);
  return a;
}

typedef std::vector<int> Ints;

struct Counted {
  explicit Counted(int* counter) : counter(counter) {}
  virtual ~Counted() { ++*counter; }
  int* counter;
};

}  // namespace

TEST(SArray, CapacityFollowsTheCountAndAFixedArrayKeepsItsBuffer) {
  Probe<int> a;
  for (int i = 1; i <= 17; ++i) a.Add(i);
  EXPECT_EQ(32, a.Capacity());
  a.RemoveAt(16, 1);  // 16 elements: back to 16 slots at once
  EXPECT_EQ(16, a.Capacity());
  a.RemoveAt(8, -1);
  EXPECT_EQ((Ints{1, 2, 3, 4, 5, 6, 7, 8}), Items(a));
  EXPECT_EQ(8, a.Capacity());
  a.SetSize(100, true);
  EXPECT_EQ(128, a.Capacity());
  EXPECT_EQ(5, a[4]);  // kept
  a.m_flags = 3;
  a.RemoveAll();  // keeps 8 slots and the flags; FreeBuffer drops both
  EXPECT_EQ(8, a.Capacity());
  EXPECT_EQ(3u, a.GetFlags());
  a.FreeBuffer();
  EXPECT_EQ(nullptr, a.Data());
  EXPECT_EQ(0u, a.GetFlags());

  Probe<int> fixed, big;
  fixed.Reserve(2);
  const int* buffer = fixed.Data();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(i, fixed.Add(i));
  EXPECT_EQ(-1, fixed.Add(8));
  EXPECT_EQ(-1, fixed.InsertSorted(3));
  fixed.SetSize(9, true);
  fixed.RemoveAt(0, 3);                     // no shrinking while fixed
  EXPECT_EQ(-1, fixed.InsertAt(42, 1, 4));  // 5 + 4 > 8
  EXPECT_EQ(1, fixed.InsertAt(42, 1, 3));
  for (int i = 0; i < 20; ++i) big.Add(i);
  fixed = big;  // not enlarged by a copy either
  EXPECT_EQ(8, fixed.GetCount());
  EXPECT_EQ(buffer, fixed.Data());
  a = fixed;  // the fixed flag is not copied
  EXPECT_FALSE(a.Fixed());
  fixed.Reserve(-1);  // back to a growable 8-slot array, count 0
  for (int i = 0; i < 9; ++i) fixed.Add(i);
  EXPECT_EQ(16, fixed.Capacity());
}

TEST(SArray, InsertRemoveFindAndMove) {
  SArray<int> a;
  EXPECT_EQ(5, Fill(a, {0, 1, 2, 3, 4}).InsertAt(9, 100, 1));
  EXPECT_EQ(2, a.InsertAt(8, 2, 2));
  EXPECT_EQ(-1, a.InsertAt(9, 2, 0));
  EXPECT_EQ((Ints{0, 1, 8, 8, 2, 3, 4, 9}), Items(a));
  Fill(a, {0, 1, 2, 3, 4, 5, 6, 7});
  a.Add(a[3]);  // from the array itself while it grows
  EXPECT_EQ(3, a[8]);
  Fill(a, {0, 1, 2, 3, 4}).RemoveAt(5, 1);
  a.RemoveAt(-1, 1);
  a.RemoveAt(3, 100);
  EXPECT_EQ((Ints{0, 1, 2}), Items(a));
  EXPECT_EQ(nullptr, a.ElementAt(3));
  SArray<int*> pointers;
  EXPECT_EQ(nullptr, pointers.GetFirst()) << "null for an empty array";
  pointers.Add(&a[2]);
  EXPECT_EQ(&a[2], pointers.GetFirst());

  Fill(a, {4, 1, 4, 2, 4});
  EXPECT_EQ(2, a.Find(4, 1));
  EXPECT_EQ(-1, a.Find(4, 3, 4));
  EXPECT_EQ(2, a.RemoveValue(4, 1));
  EXPECT_EQ((Ints{4, 1, 2}), Items(a));
  EXPECT_EQ(4, Fill(a, {1, 2, 2, 2, 2, 3, 5}).RemoveSortedValue(2));
  EXPECT_EQ(0, a.RemoveSortedValue(4));
  EXPECT_EQ(2, Fill(a, {3, 1, 3, 2, 1}).Unique(0));  // first occurrences stay
  EXPECT_EQ((Ints{3, 1, 2}), Items(a));
  EXPECT_FALSE(a.Swap(2, 2));
  EXPECT_TRUE(a.Swap(0, 2));
  EXPECT_EQ((Ints{2, 1, 3}), Items(a));

  const struct {
    int from, to, count;
    Ints result;  // empty: refused
  } moves[] = {{3, 0, 2, {3, 4, 0, 1, 2}},
               {0, -1, 1, {1, 2, 3, 4, 0}},
               {0, 2, 2, {2, 3, 0, 1, 4}},
               {0, 4, 2, {2, 3, 4, 0, 1}},  // pulled back so that the block fits
               {1, 1, 1, {}},
               {-1, 0, 1, {}},
               {5, 0, 1, {}},
               {0, 6, 1, {}},
               {0, 2, 0, {}},
               {4, 0, 2, {}},
               {4, 5, 1, {}}};
  for (const auto& m : moves) {
    EXPECT_EQ(!m.result.empty(), Fill(a, {0, 1, 2, 3, 4}).Move(m.from, m.to, m.count));
    EXPECT_EQ(m.result.empty() ? Ints({0, 1, 2, 3, 4}) : m.result, Items(a)) << m.from << m.to;
  }
}

TEST(SArray, SortSearchAndSortedInsert) {
  std::mt19937 rng(7);
  for (int n : {0, 1, 17, 1000}) {
    SArray<int> a;
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(int(rng() % 300) - 150);
    for (int x : v) a.Add(x);
    a.Sort();
    std::sort(v.begin(), v.end());
    ASSERT_EQ(v, Items(a)) << n;
    for (int x = -160; x < 160; x += 7) {
      int i = a.FindSorted(x);
      bool present = std::binary_search(v.begin(), v.end(), x);
      EXPECT_EQ(present, i >= 0 && a[i] == x) << x;
      int at = int(std::lower_bound(v.begin(), v.end(), x) - v.begin());
      if (!present) {
        EXPECT_EQ(n == 0 ? -1 : at, a.FindInsertPos(x));
      }
    }
  }
  SArray<int> a;
  EXPECT_EQ(2, Fill(a, {1, 2, 2, 2, 3}).InsertSorted(2));
  EXPECT_EQ(6, a.InsertSorted(9));
  // Sub-ranges: the search and the sort stay inside [start, end).
  Fill(a, {9, 9, 1, 3, 5, 0});
  EXPECT_EQ(3, a.FindSorted(3, 2, 5));
  EXPECT_EQ(-1, a.FindSorted(9, 2, 5));
  EXPECT_EQ(4, a.FindInsertPos(4, 2, 5));
  Fill(a, {9, 8, 7, 6, 5, 4}).Sort(1, 4);
  a.Sort(0, 7);  // bad bounds do nothing
  EXPECT_EQ((Ints{9, 6, 7, 8, 5, 4}), Items(a));
  // The descending flag reverses sorting and searching.
  a.m_flags = 1;
  Fill(a, {3, -1, 7, 0, 7, 2}).Sort();
  EXPECT_EQ((Ints{7, 7, 3, 2, 0, -1}), Items(a));
  EXPECT_EQ(5, a.FindSorted(-1));
  EXPECT_EQ(4, a.InsertSorted(1));

  // CompareElements answering -2 falls back to the raw values: here the
  // order is by magnitude, except for searches with param 1.
  class ByMagnitude : public SArray<int> {
  public:
    int CompareElements(const int* a, const int* b, uint32_t, int param) override {
      return param ? -2 : abs(*a) < abs(*b) ? -1 : abs(*a) > abs(*b) ? 1 : 0;
    }
  } m;
  for (int x : {-5, 2, -1, 4, -3}) m.Add(x);
  m.Sort();
  EXPECT_EQ((Ints{-1, 2, -3, 4, -5}), Items(m));
  EXPECT_EQ(2, m.Find(3));  // |3| == |-3|
  EXPECT_EQ(-1, m.Find(3, 0, -1, 1));
  EXPECT_EQ(2, m.Find(-3, 0, -1, 1));
}

TEST(SArray, DeletingMembersAndTheRemovalHook) {
  class Hooked : public SArray<Counted*> {
  public:
    void OnRemoveElement(Counted** element, int index, int) override {
      hooked.push_back(*element ? index : -1);
    }
    std::vector<int> hooked;
  } a;
  int deleted = 0;
  for (int i = 0; i < 5; ++i) a.Add(new Counted(&deleted));
  a.Add(nullptr);
  a.DeleteAt(1, 2);  // the slots stay, holding null
  EXPECT_EQ(2, deleted);
  EXPECT_EQ(nullptr, a[2]);
  a.RemoveAndDelete(3, 1);
  EXPECT_EQ(5, a.GetCount());
  a.DeleteAll();
  a.DeleteAll();
  EXPECT_EQ(5, deleted);
  EXPECT_EQ((Ints{1, 2, 3, 0, 3}), a.hooked);  // non-null elements only
  a.Add(new Counted(&deleted));
  a.DeleteAndRemoveAll();
  EXPECT_EQ(6, deleted);
  EXPECT_EQ(0, a.GetCount());
  Counted kept(&deleted);  // removal alone never deletes
  a.Add(&kept);
  a.RemoveAt(0);
  a.FreeBuffer();
  EXPECT_EQ(6, deleted);
}

TEST(SArray, AssignmentIsShallowAndBypassesCopyElement) {
  class Counting : public SArray<int> {
  public:
    void CopyElement(int* dest, const int* source, int index, int) override {
      indexes.push_back(index);
      *dest = *source * 10;
    }
    std::vector<int> indexes;
  } a;
  a.Add(1);
  a.InsertAt(2, 0, 2);
  a.InsertSorted(50);  // stored as 500; FindInsertPos sees raw 50
  EXPECT_EQ((Ints{20, 20, 10, 500}), Items(a));
  EXPECT_EQ((Ints{0, 0, 1, 3}), a.indexes);
  a.Move(0, 3);
  a.Sort();
  SArray<int> b;
  b.m_flags = 3;
  b.Add(7);
  static_cast<SArray<int>&>(a) = b;  // neither moves nor assignment use it
  EXPECT_EQ(4u, a.indexes.size());
  EXPECT_EQ((Ints{7}), Items(a));
  EXPECT_EQ(3u, a.GetFlags());
}

TEST(SArrayElement, OrderAndReleasePerFamily) {
  SArray<unsigned int> u;
  Fill(u, {0xFFFFFFFFu, 1u}).Sort();
  EXPECT_EQ(1u, u[0]);
  // Pointers: unsigned address order, also above 2 GB.
  void* high = reinterpret_cast<void*>(uintptr_t(0x90000000u));
  void* low = reinterpret_cast<void*>(uintptr_t(0x10u));
  SArray<void*> p;
  Fill(p, {high, low}).Sort();
  EXPECT_EQ(low, p[0]);
  // Records are equal when their bytes are.
  SArray<GUID> g;
  GUID g1 = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, g2 = g1;
  g2.Data4[7] = 12;
  EXPECT_EQ(1, Fill(g, {g2, g1}).Find(g1));
  SArray<RECT> r;
  RECT a = {1, 2, 3, 4}, b = {5, 6, 7, 8};
  Fill(r, {a, a}).SetAt(1, b);
  r.SetAt(2, b);  // outside: nothing
  EXPECT_TRUE(r[0].left == 1 && r[1].left == 5 && r.GetCount() == 2);
  r.SetAt(-1, b);  // every element
  EXPECT_EQ(5, r[0].left);

  // Records, byte buffers and untyped blocks are released the way they were
  // made; the slots become null.
  SArray<RECT*> records;
  records.Add(new RECT());
  records.DeleteAndRemoveAll();
  SArray<unsigned char*> buffers;
  buffers.Add(new unsigned char[100]);
  buffers.DeleteAll();
  EXPECT_EQ(nullptr, buffers[0]);
  SArray<void*> blocks;
  blocks.Add(::operator new(64));
  blocks.RemoveAndDelete(0);
  EXPECT_EQ(0, blocks.GetCount());
}
