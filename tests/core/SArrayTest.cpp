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
void Fill(SArray<T>& a, std::initializer_list<T> values) {
  a.RemoveAll();
  for (const T& v : values) a.Add(v);
}

typedef std::vector<int> Ints;
typedef std::vector<char> Chars;

}  // namespace

TEST(SArray, CapacityFollowsTheCountInBothDirections) {
  Probe<int> a;
  a.RemoveAll();  // empty: nothing allocated
  EXPECT_EQ(0, a.Capacity());
  EXPECT_EQ(nullptr, a.Data());

  for (int i = 1; i <= 8; ++i) a.Add(i);
  EXPECT_EQ(8, a.Capacity());
  a.Add(9);
  EXPECT_EQ(16, a.Capacity());
  for (int i = 10; i <= 17; ++i) a.Add(i);
  EXPECT_EQ(32, a.Capacity());
  a.RemoveAt(16, 1);  // 16 elements: back to 16 slots at once
  EXPECT_EQ(16, a.Capacity());
  a.RemoveAt(8, -1);
  EXPECT_EQ(8, a.Capacity());
  EXPECT_EQ((Ints{1, 2, 3, 4, 5, 6, 7, 8}), Items(a));

  a.SetSize(100, true);
  EXPECT_EQ(128, a.Capacity());
  EXPECT_EQ(5, a[4]);  // kept
  a.Resize(33);
  EXPECT_EQ(64, a.Capacity());
  a.SetSize(-5, true);
  EXPECT_EQ(0, a.GetCount());
  EXPECT_EQ(8, a.Capacity());

  // RemoveAll keeps 8 slots and the flags; FreeBuffer drops both.
  for (int i = 0; i < 40; ++i) a.Add(i);
  a.m_flags = 3;
  a.RemoveAll();
  EXPECT_EQ(8, a.Capacity());
  EXPECT_EQ(3u, a.GetFlags());
  a.Add(7);
  a.FreeBuffer();
  EXPECT_EQ(0, a.GetCount());
  EXPECT_EQ(nullptr, a.Data());
  EXPECT_EQ(0u, a.GetFlags());
}

TEST(SArray, FixedArrayKeepsItsBufferAndRefusesToGrow) {
  Probe<int> a;
  a.Reserve(2);
  EXPECT_TRUE(a.Fixed());
  EXPECT_EQ(8, a.Capacity());
  const int* buffer = a.Data();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(i, a.Add(i));

  EXPECT_EQ(-1, a.Add(8));
  EXPECT_EQ(-1, a.InsertAt(9, 0, 1));
  EXPECT_EQ(-1, a.InsertSorted(3));
  a.SetSize(9, true);
  a.Resize(1000);
  EXPECT_EQ((Ints{0, 1, 2, 3, 4, 5, 6, 7}), Items(a));
  EXPECT_EQ(buffer, a.Data());

  a.RemoveAt(0, 3);  // no shrinking while fixed
  EXPECT_EQ(buffer, a.Data());
  EXPECT_EQ(-1, a.InsertAt(42, 1, 4));  // 5 + 4 > 8
  EXPECT_EQ(1, a.InsertAt(42, 1, 3));
  EXPECT_EQ((Ints{3, 42, 42, 42, 4, 5, 6, 7}), Items(a));
  a.RemoveAll();
  EXPECT_EQ(buffer, a.Data());

  Probe<int> small;  // a fixed array is not enlarged by a copy either
  small.Reserve(8);
  small.Add(5);
  Probe<int> big;
  for (int i = 0; i < 20; ++i) big.Add(i);
  small = big;
  EXPECT_EQ((Ints{5}), Items(small));
  Probe<int> copy;  // and the fixed flag is not copied
  copy = small;
  EXPECT_FALSE(copy.Fixed());

  a.FreeBuffer();  // still fixed, without a buffer: nothing fits
  EXPECT_TRUE(a.Fixed());
  EXPECT_EQ(-1, a.Add(1));

  Probe<int> b;
  b.Reserve(512);
  EXPECT_EQ(512, b.Capacity());
  b.Add(1);
  b.Reserve(-1);  // back to a growable 8-slot array, count 0
  EXPECT_FALSE(b.Fixed());
  EXPECT_EQ(8, b.Capacity());
  EXPECT_EQ(0, b.GetCount());
  for (int i = 0; i < 9; ++i) b.Add(i);
  EXPECT_EQ(16, b.Capacity());
}

TEST(SArray, InsertRemoveAndAccess) {
  SArray<int> a;
  Fill(a, {0, 1, 2, 3, 4});
  EXPECT_EQ(5, a.InsertAt(7, -1, 3));
  EXPECT_EQ(-1, a.InsertAt(9, 2, 0));
  EXPECT_EQ(-1, a.InsertAt(9, 2, -3));
  EXPECT_EQ((Ints{0, 1, 2, 3, 4, 7, 7, 7}), Items(a));
  Fill(a, {0, 1, 2, 3, 4});
  EXPECT_EQ(5, a.InsertAt(9, 100, 1));
  EXPECT_EQ(2, a.InsertAt(8, 2, 2));
  EXPECT_EQ(0, a.InsertAt(6, 0));
  EXPECT_EQ((Ints{6, 0, 1, 8, 8, 2, 3, 4, 9}), Items(a));

  // The value may come from the array itself while it grows.
  Fill(a, {0, 1, 2, 3, 4, 5, 6, 7});
  a.Add(a[3]);
  EXPECT_EQ(3, a[8]);

  Fill(a, {0, 1, 2, 3, 4});
  a.RemoveAt(5, 1);
  a.RemoveAt(-1, 1);
  a.RemoveAt(1, 0);
  EXPECT_EQ(5, a.GetCount());
  a.RemoveAt(3, 100);
  a.RemoveAt(1, 1);
  a.RemoveLast();
  EXPECT_EQ((Ints{0}), Items(a));
  a.RemoveLast();
  a.RemoveLast();
  EXPECT_EQ(0, a.GetCount());

  EXPECT_EQ(nullptr, a.ElementAt(0));
  Fill(a, {4, 5, 6});
  EXPECT_EQ(&a[1], a.ElementAt(1));
  EXPECT_EQ(nullptr, a.ElementAt(3));
  EXPECT_EQ(nullptr, a.ElementAt(-1));
  EXPECT_EQ(6, a.GetLast());
}

TEST(SArray, SortedSearchAndInsert) {
  SArray<int> a;
  EXPECT_EQ(-1, a.FindSorted(1));
  EXPECT_EQ(-1, a.FindInsertPos(1));
  EXPECT_EQ(0, a.InsertSorted(5));

  Fill(a, {1, 2, 2, 2, 3});
  EXPECT_EQ(2, a.FindSorted(2));  // the first midpoint met
  EXPECT_EQ(-1, a.FindSorted(0));
  EXPECT_EQ(4, a.FindSorted(3));
  EXPECT_EQ(2, a.InsertSorted(2));
  EXPECT_EQ(6, a.InsertSorted(9));
  EXPECT_EQ(0, a.InsertSorted(-4));
  EXPECT_EQ((Ints{-4, 1, 2, 2, 2, 2, 3, 9}), Items(a));
  EXPECT_EQ(-1, a.FindSorted(2, 3, 3));  // empty range
  EXPECT_EQ(-1, a.FindInsertPos(2, 8));

  // Sub-ranges: the search stays inside [start, end).
  Fill(a, {9, 9, 1, 3, 5, 0});
  EXPECT_EQ(3, a.FindSorted(3, 2, 5));
  EXPECT_EQ(-1, a.FindSorted(9, 2, 5));
  EXPECT_EQ(4, a.FindInsertPos(4, 2, 5));

  // The descending flag reverses sorting and searching.
  a.m_flags = 1;
  Fill(a, {3, -1, 7, 0, 7, 2});
  a.Sort();
  EXPECT_EQ((Ints{7, 7, 3, 2, 0, -1}), Items(a));
  EXPECT_EQ(5, a.FindSorted(-1));
  EXPECT_EQ(4, a.InsertSorted(1));
  EXPECT_EQ((Ints{7, 7, 3, 2, 1, 0, -1}), Items(a));

  // A random sorted sequence: every value found, insert positions exact.
  std::mt19937 rng(11);
  std::vector<int> v;
  for (int i = 0; i < 500; ++i) v.push_back(int(rng() % 300) - 150);
  std::sort(v.begin(), v.end());
  SArray<int> s;
  for (int x : v) s.Add(x);
  for (int x = -160; x < 160; ++x) {
    int i = s.FindSorted(x);
    if (std::binary_search(v.begin(), v.end(), x)) {
      ASSERT_GE(i, 0);
      EXPECT_EQ(x, s[i]);
    } else {
      EXPECT_EQ(-1, i);
      EXPECT_EQ(int(std::lower_bound(v.begin(), v.end(), x) - v.begin()), s.FindInsertPos(x));
    }
  }
}

TEST(SArray, SortMatchesTheStandardOrder) {
  std::mt19937 rng(7);
  for (int n : {0, 1, 2, 17, 1000}) {
    for (int range : {3, 1000000}) {
      SArray<int> a;
      std::vector<int> v;
      for (int i = 0; i < n; ++i) {
        int x = int(rng() % range) - range / 2;
        a.Add(x);
        v.push_back(x);
      }
      a.Sort();
      std::sort(v.begin(), v.end());
      EXPECT_EQ(v, Items(a)) << "n=" << n << " range=" << range;
    }
  }
  // Presorted and reversed input.
  for (int reversed = 0; reversed < 2; ++reversed) {
    SArray<int> big;
    for (int i = 0; i < 200000; ++i) big.Add(reversed ? -i : i);
    big.Sort();
    for (int i = 1; i < big.GetCount(); ++i) ASSERT_LT(big[i - 1], big[i]);
  }
  // Only the given range is sorted; bad bounds do nothing.
  SArray<int> a;
  Fill(a, {9, 8, 7, 6, 5, 4});
  a.Sort(1, 4);
  EXPECT_EQ((Ints{9, 6, 7, 8, 5, 4}), Items(a));
  a.Sort(-1, 3);
  a.Sort(0, 7);
  a.Sort(0, -2);
  EXPECT_EQ((Ints{9, 6, 7, 8, 5, 4}), Items(a));
}

TEST(SArray, SortUsesTheMiddlePivot) {
  // Records the pivot of every partition: the element compared as the
  // second operand.
  class Recorder : public SArray<int> {
  public:
    int CompareElements(const int*, const int* b, uint32_t, int) override {
      pivots.push_back(*b);
      return -2;
    }
    std::vector<int> pivots;
  } a;
  for (int x : {5, 1, 4, 2, 3}) a.Add(x);
  a.Sort();
  EXPECT_EQ((Ints{1, 2, 3, 4, 5}), Items(a));
  // [5 1 4 2 3]: the pivot is index 2 (4); then [3 1 2] with pivot 1.
  ASSERT_GE(a.pivots.size(), 5u);
  EXPECT_EQ(4, a.pivots[0]);
  EXPECT_EQ(4, a.pivots[3]);
  EXPECT_EQ(1, a.pivots[4]);
}

TEST(SArray, CompareResultMinusTwoFallsBackToRawValues) {
  // Orders by absolute value, except that a search with param 1 compares the
  // raw values.
  class ByMagnitude : public SArray<int> {
  public:
    int CompareElements(const int* a, const int* b, uint32_t flags, int param) override {
      if (param != 0) return -2;
      int x = abs(*a), y = abs(*b);
      int r = x < y ? -1 : (x > y ? 1 : 0);
      return (flags & 1) ? -r : r;
    }
  } a;
  for (int x : {-5, 2, -1, 4, -3}) a.Add(x);
  a.Sort();
  EXPECT_EQ((Ints{-1, 2, -3, 4, -5}), Items(a));
  EXPECT_EQ(2, a.Find(3));  // |3| == |-3|
  EXPECT_EQ(-1, a.Find(3, 0, -1, 1));
  EXPECT_EQ(2, a.Find(-3, 0, -1, 1));
  EXPECT_EQ(-1, a.Compare(&a[2], &a[1], 1));  // -3 < 2 as raw values
  EXPECT_EQ(1, a.Compare(&a[2], &a[1], 0));   // |-3| > |2|
}

TEST(SArray, FindAndRemoveValues) {
  SArray<int> a;
  Fill(a, {4, 1, 4, 2, 4});
  EXPECT_EQ(2, a.Find(4, 1));
  EXPECT_EQ(-1, a.Find(4, 3, 4));
  EXPECT_EQ(-1, a.Find(4, -1));
  EXPECT_EQ(4, a.Find(4, 3, 99));
  EXPECT_EQ(0, a.RemoveValue(4, 5));
  EXPECT_EQ(2, a.RemoveValue(4, 1));
  EXPECT_EQ((Ints{4, 1, 2}), Items(a));

  Fill(a, {1, 2, 2, 2, 2, 3, 5});
  EXPECT_EQ(4, a.RemoveSortedValue(2));
  EXPECT_EQ(0, a.RemoveSortedValue(4));
  EXPECT_EQ((Ints{1, 3, 5}), Items(a));
  Fill(a, {1, 2, 2, 2, 3});
  EXPECT_EQ(1, a.RemoveSortedValue(2, 0, 2));  // only inside [0, 2)
  EXPECT_EQ((Ints{1, 2, 2, 3}), Items(a));
}

TEST(SArray, SwapAndMove) {
  SArray<char> a;
  Fill(a, {'a', 'b', 'c', 'd', 'e'});
  EXPECT_FALSE(a.Swap(2, 2));
  EXPECT_FALSE(a.Swap(-1, 2));
  EXPECT_FALSE(a.Swap(0, 5));
  EXPECT_TRUE(a.Swap(0, 4));
  EXPECT_EQ((Chars{'e', 'b', 'c', 'd', 'a'}), Items(a));

  Fill(a, {'a', 'b', 'c', 'd', 'e'});
  EXPECT_TRUE(a.Move(3, 0, 2));
  EXPECT_EQ((Chars{'d', 'e', 'a', 'b', 'c'}), Items(a));
  Fill(a, {'a', 'b', 'c', 'd', 'e'});
  EXPECT_TRUE(a.Move(0, -1, 1));
  EXPECT_EQ((Chars{'b', 'c', 'd', 'e', 'a'}), Items(a));
  EXPECT_TRUE(a.Move(3, 1));
  EXPECT_EQ((Chars{'b', 'e', 'c', 'd', 'a'}), Items(a));
  Fill(a, {'a', 'b', 'c', 'd', 'e'});
  EXPECT_TRUE(a.Move(0, 2, 2));  // the block begins at 2 in the result
  EXPECT_EQ((Chars{'c', 'd', 'a', 'b', 'e'}), Items(a));
  EXPECT_TRUE(a.Move(0, 4, 2));  // pulled back so that the block fits
  EXPECT_EQ((Chars{'a', 'b', 'e', 'c', 'd'}), Items(a));

  // Refused: no move, a bad place, a count of 0, a block past the end, and
  // the last place for the last element.
  Fill(a, {'a', 'b', 'c', 'd', 'e'});
  const int refused[][3] = {{1, 1, 1}, {-1, 0, 1}, {5, 0, 1}, {0, -2, 1},
                            {0, 6, 1}, {0, 2, 0},  {4, 0, 2}, {4, 5, 1}};
  for (const auto& m : refused) EXPECT_FALSE(a.Move(m[0], m[1], m[2])) << m[0] << " " << m[1];
  EXPECT_EQ((Chars{'a', 'b', 'c', 'd', 'e'}), Items(a));
}

TEST(SArray, UniqueKeepsFirstOccurrences) {
  SArray<int> a;
  Fill(a, {3, 1, 3, 2, 1});
  EXPECT_EQ(2, a.Unique(0));
  EXPECT_EQ((Ints{3, 1, 2}), Items(a));
  Fill(a, {1, 1, 2, 2, 2, 1});
  EXPECT_EQ(2, a.Unique(2));
  EXPECT_EQ((Ints{1, 1, 2, 1}), Items(a));
  EXPECT_EQ(0, a.Unique(4));
}

namespace {

struct Counted {
  explicit Counted(int* counter) : counter(counter) {}
  virtual ~Counted() { ++*counter; }
  int* counter;
};

class HookedArray : public SArray<Counted*> {
public:
  void OnRemoveElement(Counted** element, int index, int param) override {
    hooked.push_back(index);
    EXPECT_EQ(0, param);
    EXPECT_NE(nullptr, *element);
  }
  std::vector<int> hooked;
};

}  // namespace

TEST(SArray, DeletingMembers) {
  int deleted = 0;
  HookedArray a;
  for (int i = 0; i < 5; ++i) a.Add(new Counted(&deleted));
  a.Add(nullptr);

  a.DeleteAt(1, 2);  // the slots stay, holding null
  a.DeleteAt(6, 1);
  EXPECT_EQ(2, deleted);
  EXPECT_EQ(6, a.GetCount());
  EXPECT_EQ(nullptr, a[2]);
  a.RemoveAndDelete(3, 1);
  EXPECT_EQ(3, deleted);
  EXPECT_EQ(5, a.GetCount());
  a.DeleteAll();
  a.DeleteAll();
  EXPECT_EQ(5, deleted);
  EXPECT_EQ(5, a.GetCount());
  EXPECT_EQ((Ints{1, 2, 3, 0, 3}), a.hooked);  // non-null elements only
  a.Add(new Counted(&deleted));
  a.DeleteAndRemoveAll();
  EXPECT_EQ(6, deleted);
  EXPECT_EQ(0, a.GetCount());

  // Removal alone never deletes.
  Counted kept(&deleted);
  a.Add(&kept);
  a.RemoveAll();
  a.Add(&kept);
  a.RemoveAt(0);
  a.FreeBuffer();
  EXPECT_EQ(6, deleted);
}

TEST(SArray, AssignmentIsShallowAndBypassesCopyElement) {
  int objects[20];
  SArray<int*> source;
  for (int i = 0; i < 20; ++i) source.Add(&objects[i]);
  source.m_flags = 3;
  Probe<int*> target;
  int x;
  for (int i = 0; i < 3; ++i) target.Add(&x);
  target = source;
  EXPECT_EQ(32, target.Capacity());
  EXPECT_EQ(3u, target.GetFlags());
  EXPECT_EQ(Items(source), Items(target));
  target = target;
  EXPECT_EQ(20, target.GetCount());

  class Counting : public SArray<int> {
  public:
    void CopyElement(int* dest, const int* source, int index, int param) override {
      indexes.push_back(index);
      EXPECT_EQ(0, param);
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
  b.Add(7);
  static_cast<SArray<int>&>(a) = b;  // neither moves nor assignment use it
  EXPECT_EQ(4u, a.indexes.size());
  EXPECT_EQ(7, a[0]);
}

TEST(SArrayElement, BuiltInOrderPerFamily) {
  SArray<unsigned int> u;
  Fill(u, {0xFFFFFFFFu, 1u});
  u.Sort();
  EXPECT_EQ((std::vector<unsigned int>{1u, 0xFFFFFFFFu}), Items(u));

  // Pointers: unsigned address order, also above 2 GB.
  void* high = reinterpret_cast<void*>(uintptr_t(0x90000000u));
  void* low = reinterpret_cast<void*>(uintptr_t(0x10u));
  SArray<void*> p;
  Fill(p, {high, low});
  p.Sort();
  EXPECT_EQ(low, p[0]);
  EXPECT_EQ(1, p.InsertSorted(reinterpret_cast<void*>(uintptr_t(0x20u))));
  EXPECT_EQ(2, p.FindSorted(high));

  // Records are equal when their bytes are; they have no text form.
  SArray<GUID> g;
  GUID g1 = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  GUID g2 = g1;
  g2.Data4[7] = 12;
  Fill(g, {g2, g1});
  EXPECT_EQ(1, g.Find(g1));
  EXPECT_EQ(0, g.Find(g2));
  EXPECT_EQ(0, g.ElementToString(g[0], 0, 0).GetLength());
  g.ElementFromString(&g[0], "abc", 0, 0);  // does nothing
  EXPECT_EQ(0, memcmp(&g2, &g[0], sizeof g2));
}

TEST(SArrayElement, SetAtAndDeletionPerFamily) {
  SArray<RECT> r;
  RECT a = {1, 2, 3, 4}, b = {5, 6, 7, 8};
  for (int i = 0; i < 3; ++i) r.Add(a);
  r.SetAt(3, b);
  r.SetAt(-2, b);
  r.SetAt(1, b);
  EXPECT_EQ(1, r[0].left);
  EXPECT_EQ(8, r.GetAt(1).bottom);
  EXPECT_EQ(1, r[2].left);
  r.SetAt(-1, b);  // every element
  for (int i = 0; i < 3; ++i) EXPECT_EQ(0, memcmp(&b, &r[i], sizeof b));

  // Plain records, byte buffers and untyped blocks are released the way
  // they were made; the slots become null.
  SArray<RECT*> records;
  records.Add(new RECT());
  records.Add(nullptr);
  records.DeleteAndRemoveAll();
  EXPECT_EQ(0, records.GetCount());
  SArray<unsigned char*> buffers;
  buffers.Add(new unsigned char[100]);
  buffers.Add(new unsigned char[3]);
  buffers.DeleteAll();
  EXPECT_EQ(nullptr, buffers[0]);
  EXPECT_EQ(nullptr, buffers[1]);
  SArray<void*> blocks;
  blocks.Add(::operator new(64));
  blocks.RemoveAndDelete(0);
  EXPECT_EQ(0, blocks.GetCount());
}
