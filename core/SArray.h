// The framework's growable array of elements stored by value.
//
// Storage: the capacity is the first of 8, 16, 32, ... at or above the count,
// in both directions (a count that falls into a lower band shrinks the buffer
// at once). Reserve makes the array fixed: its buffer never moves and an
// insertion or size change beyond its capacity is refused.
//
// Element operations are virtual so that a derived array can change how
// elements are stored, compared or shown. Comparisons go through
// CompareElements; its result -2 hands the decision to the built-in
// comparison of the raw values (CompareValues, see SArrayElement). The flags
// word is handed to every comparison: bit 0 descending, bit 1 case-insensitive
// text (read by the string list only).
//
// Elements are plain data: moves inside the buffer are byte copies and only
// the elements an insertion stores pass through CopyElement. For pointer
// elements the array never owns the pointed-to objects unless a deleting
// member (DeleteAll, DeleteAt, RemoveAndDelete, DeleteAndRemoveAll) is called.
#pragma once

#include "core/Platform.h"
#include "core/SArrayElement.h"
#include "core/SString.h"

#include <limits.h>
#include <stdint.h>
#include <string.h>
#include <type_traits>
#include <typeinfo>

template <class T>
class SArray {
  static_assert(std::is_trivially_copyable<T>::value, "array elements are plain data");

public:
  SArray() : m_fixed(0), m_capacity(0), m_count(0), m_data(nullptr), m_flags(0) {}
  SArray(const SArray&) = delete;
  // Elements are not deleted: an owner of pointed-to objects calls
  // DeleteAndRemoveAll first.
  virtual ~SArray() { SArray::FreeBuffer(); }

  // Shallow copy of the elements (not through CopyElement) and of the flags;
  // the fixed flag is not copied. A fixed array too small for the source is
  // left unchanged.
  virtual SArray& operator=(const SArray& source);
  // Frees the buffer and sets capacity, count and flags to 0; the fixed flag
  // stays.
  virtual void FreeBuffer();
  // Stores one element at dest; every element stored by InsertAt, Add and
  // InsertSorted passes through here.
  virtual void CopyElement(T* dest, const T* source, int index, int param);
  // Called for each non-null element just before a deleting member deletes it.
  virtual void OnRemoveElement(T* element, int index, int param);
  // Negative, 0 or positive; -2 means "no opinion": the raw values decide.
  virtual int CompareElements(const T* a, const T* b, uint32_t flags, int param);
  // Conversions to and from text; no member of the array calls them.
  virtual void ElementFromString(T* dest, const char* text, int index, int param);
  virtual SString ElementToString(const T& element, int a, int b);

  // Access. operator[] and GetAt do not check i.
  int GetCount() const { return m_count; }
  T& operator[](int i) { return m_data[i]; }
  const T& operator[](int i) const { return m_data[i]; }
  T GetAt(int i) const { return m_data[i]; }
  // Null when i is outside [0, count).
  T* ElementAt(int i) { return i >= 0 && i < m_count ? m_data + i : nullptr; }
  const T* ElementAt(int i) const { return i >= 0 && i < m_count ? m_data + i : nullptr; }
  // The first element; a value-initialised T (null for pointers) when empty.
  T GetFirst() const { return m_count > 0 ? m_data[0] : T(); }
  // The array must not be empty.
  T GetLast() const { return m_data[m_count - 1]; }
  uint32_t GetFlags() const { return m_flags; }

  // For the 8-byte and 16-byte element types: index -1 stores the value into
  // every element; any other index outside [0, count) does nothing.
  template <class U = T, typename std::enable_if<sizeof(U) == 8 || sizeof(U) == 16, int>::type = 0>
  void SetAt(int index, T value) {
    if (index == -1) {
      for (int i = 0; i < m_count; ++i) m_data[i] = value;
    } else if (index >= 0 && index < m_count) {
      m_data[index] = value;
    }
  }

  // Size and storage. New slots are uninitialised; with keep the first
  // min(old count, count) elements survive a reallocation. A negative count
  // counts as 0.
  void SetSize(int count, bool keep) { SetStorage(count, keep); }
  void Resize(int count) { SetStorage(count, true); }
  // n >= 0: storage for n elements, count 0, and the array becomes fixed.
  // n < 0: not fixed, count 0, an 8-slot buffer.
  void Reserve(int n);
  // Count 0 and, unless fixed, an 8-slot buffer. Nothing when empty.
  void RemoveAll();

  // Stores n copies of value at index (index < 0 or > count: at the end).
  // Returns the index of the first copy, or -1 when n < 1 or the storage
  // cannot take them (a full fixed array).
  int InsertAt(T value, int index = -1, int n = 1);
  int Add(T value) { return InsertAt(value, -1, 1); }
  // Inserts value at its place in the sorted range; returns its index or -1.
  int InsertSorted(T value, int start = 0, int end = -1, int param = 0);

  // Removal; elements are not deleted. n < 0 means up to the end.
  void RemoveAt(int index, int n = 1);
  void RemoveLast() {
    if (m_count > 0) RemoveAt(m_count - 1, 1);
  }
  // Both return the number of elements removed.
  int RemoveValue(const T& value, int start = 0);
  int RemoveSortedValue(const T& value, int start = 0, int end = -1, int param = 0);

  // Deletion of the pointed-to objects (pointer element types only). The
  // slots stay, holding null; RemoveAndDelete and DeleteAndRemoveAll also
  // remove them.
  template <class U = T, typename std::enable_if<std::is_pointer<U>::value, int>::type = 0>
  void DeleteAll() {
    DeleteRange(0, m_count);
  }
  template <class U = T, typename std::enable_if<std::is_pointer<U>::value, int>::type = 0>
  void DeleteAt(int index, int n = 1) {
    if (ClampBlock(index, n)) DeleteRange(index, n);
  }
  template <class U = T, typename std::enable_if<std::is_pointer<U>::value, int>::type = 0>
  void RemoveAndDelete(int index, int n = 1) {
    DeleteAt(index, n);
    RemoveAt(index, n);
  }
  template <class U = T, typename std::enable_if<std::is_pointer<U>::value, int>::type = 0>
  void DeleteAndRemoveAll() {
    DeleteAll();
    RemoveAll();
  }

  // Reordering.
  bool Swap(int i, int j);
  // Moves the block of n elements at from so that it begins at to (-1 or
  // past the end: the last place) in the result.
  bool Move(int from, int to, int n = 1);
  // Quicksort of [start, end) with the middle element as pivot; not stable.
  void Sort(int start = 0, int end = -1, int param = 0);
  // Removes later duplicates, keeping first occurrences in order; returns the
  // number removed.
  int Unique(int start = 0);

  // Comparison and searching. Indexes, -1 when not found; end < 0 or past
  // the count means the count.
  int Compare(const T* a, const T* b, int param) {
    int r = CompareElements(a, b, m_flags, param);
    return r == -2 ? CompareValues(a, b, m_flags) : r;
  }
  // The built-in comparison: -1, 0 or 1, reversed when flags bit 0 is set.
  int CompareValues(const T* a, const T* b, uint32_t flags) const {
    int r = SArrayElement<T>::Compare(*a, *b);
    return (flags & 1) ? -r : r;
  }
  int Find(const T& value, int start = 0, int end = -1, int param = 0);
  // Binary search of a sorted range: an element equal to value (the first
  // met by the halving), or -1.
  int FindSorted(const T& value, int start = 0, int end = -1, int param = 0);
  // Where value belongs in the sorted range; -1 for an empty range or a start
  // outside [0, count).
  int FindInsertPos(const T& value, int start = 0, int end = -1, int param = 0);

protected:
  // Sets the count and adapts the buffer (capacity rule). False, with nothing
  // changed, when a fixed array cannot hold the count or the storage size is
  // not addressable.
  bool SetStorage(int count, bool keep);
  // The storage size for a count: the least of 8, 16, 32, ... at or above
  // it; -1 when its bytes cannot be addressed.
  static int StorageSizeFor(int count);
  // Bounds of the removal and deletion members: false when nothing is to be
  // done, else index and n describe a block inside [0, count).
  bool ClampBlock(int index, int& n) const;
  template <class U = T>
  void DeleteRange(int index, int n);
  // Quicksort of [start, end) with compare(i, j) on element indexes.
  template <class Cmp>
  void SortRange(int start, int end, Cmp compare);
  // Binary search narrowing [lo, hi) with compare(i) = value against element
  // i; the index of the first equal element met, or -1 with lo = hi.
  template <class Cmp>
  int Halve(int& lo, int& hi, Cmp compare);
  void SwapElements(int i, int j) {
    T t = m_data[i];
    m_data[i] = m_data[j];
    m_data[j] = t;
  }

  uint8_t m_fixed;
  int m_capacity;
  int m_count;
  T* m_data;

public:
  // Handed to every comparison; owners set it directly.
  uint32_t m_flags;
};

template <class T>
SArray<T>& SArray<T>::operator=(const SArray& source) {
  if (this == &source) return *this;
  if (!SetStorage(source.m_count, false)) return *this;
  m_flags = source.m_flags;
  if (m_count > 0) memcpy(m_data, source.m_data, sizeof(T) * m_count);
  return *this;
}

template <class T>
void SArray<T>::FreeBuffer() {
  if (!m_data) return;
  ::operator delete(m_data);
  m_data = nullptr;
  m_capacity = 0;
  m_count = 0;
  m_flags = 0;
}

template <class T>
void SArray<T>::CopyElement(T* dest, const T* source, int, int) {
  *dest = *source;
}

template <class T>
void SArray<T>::OnRemoveElement(T*, int, int) {}

template <class T>
int SArray<T>::CompareElements(const T*, const T*, uint32_t, int) {
  return -2;
}

template <class T>
void SArray<T>::ElementFromString(T*, const char*, int, int) {}

template <class T>
SString SArray<T>::ElementToString(const T&, int, int) {
  return SString();
}

template <class T>
int SArray<T>::StorageSizeFor(int count) {
  int64_t c = 8;
  while (count > c) c *= 2;
  if (c * (int64_t)sizeof(T) > INT_MAX) return -1;
  return (int)c;
}

template <class T>
bool SArray<T>::SetStorage(int count, bool keep) {
  if (count < 0) count = 0;
  if (m_fixed) {
    if (count > m_capacity) return false;
    m_count = count;
    return true;
  }
  int c = StorageSizeFor(count);
  if (c < 0) return false;
  if (c != m_capacity || !m_data) {
    T* data = static_cast<T*>(::operator new(sizeof(T) * c));
    int kept = m_count < count ? m_count : count;
    if (keep && m_data && kept > 0) memcpy(data, m_data, sizeof(T) * kept);
    ::operator delete(m_data);
    m_data = data;
    m_capacity = c;
  }
  m_count = count;
  return true;
}

template <class T>
void SArray<T>::Reserve(int n) {
  m_fixed = 0;
  if (n >= 0) {
    SetStorage(n, false);
    m_count = 0;
    m_fixed = 1;
  } else {
    m_count = 0;
    SetStorage(0, false);
  }
}

template <class T>
void SArray<T>::RemoveAll() {
  if (m_count == 0) return;
  if (m_fixed) {
    m_count = 0;
  } else {
    SetStorage(0, false);
  }
}

template <class T>
int SArray<T>::InsertAt(T value, int index, int n) {
  if (index < 0 && n == 1) {
    int i = m_count;
    if (i == INT_MAX || !SetStorage(i + 1, true)) return -1;
    CopyElement(m_data + i, &value, i, 0);
    return i;
  }
  if (index < 0 || index > m_count) index = m_count;
  if (n < 1 || n > INT_MAX - m_count) return -1;
  int old = m_count;
  if (!SetStorage(old + n, true)) return -1;
  if (index < old) memmove(m_data + index + n, m_data + index, sizeof(T) * (old - index));
  for (int j = 0; j < n; ++j) CopyElement(m_data + index + j, &value, index + j, 0);
  return index;
}

template <class T>
int SArray<T>::InsertSorted(T value, int start, int end, int param) {
  return InsertAt(value, FindInsertPos(value, start, end, param), 1);
}

template <class T>
bool SArray<T>::ClampBlock(int index, int& n) const {
  if (index < 0 || index >= m_count || n == 0) return false;
  if (n < 0 || n > m_count - index) n = m_count - index;
  return true;
}

template <class T>
void SArray<T>::RemoveAt(int index, int n) {
  if (!ClampBlock(index, n)) return;
  int after = m_count - index - n;
  if (after > 0) memmove(m_data + index, m_data + index + n, sizeof(T) * after);
  SetStorage(m_count - n, true);
}

template <class T>
int SArray<T>::RemoveValue(const T& value, int start) {
  int removed = 0;
  for (int i = start < 0 ? 0 : start; i < m_count;) {
    if (Compare(m_data + i, &value, 0) == 0) {
      RemoveAt(i, 1);
      ++removed;
    } else {
      ++i;
    }
  }
  return removed;
}

template <class T>
int SArray<T>::RemoveSortedValue(const T& value, int start, int end, int param) {
  if (end < 0) end = m_count;
  int removed = 0;
  for (int i = FindSorted(value, start, end, param); i != -1;
       i = FindSorted(value, start, end, param)) {
    RemoveAt(i, 1);
    ++removed;
    --end;
  }
  return removed;
}

template <class T>
template <class U>
void SArray<T>::DeleteRange(int index, int n) {
  for (int i = index; i < index + n; ++i) {
    if (!m_data[i]) continue;
    OnRemoveElement(m_data + i, i, 0);
    SArrayElement<T>::Delete(m_data[i]);
    m_data[i] = nullptr;
  }
}

template <class T>
bool SArray<T>::Swap(int i, int j) {
  if (i < 0 || i >= m_count || j < 0 || j >= m_count || i == j) return false;
  SwapElements(i, j);
  return true;
}

template <class T>
bool SArray<T>::Move(int from, int to, int n) {
  if (from < 0 || from >= m_count || to < -1 || to > m_count || n < 1) return false;
  if (to == -1 || to >= m_count) to = m_count - 1;
  if (from == to || n > m_count - from) return false;
  if (to > from && to > m_count - n) to = m_count - n;
  if (n == 1) {
    T held = m_data[from];
    if (to > from) {
      memmove(m_data + from, m_data + from + 1, sizeof(T) * (to - from));
    } else {
      memmove(m_data + to + 1, m_data + to, sizeof(T) * (from - to));
    }
    m_data[to] = held;
    return true;
  }
  T* block = static_cast<T*>(::operator new(sizeof(T) * n));
  memcpy(block, m_data + from, sizeof(T) * n);
  if (to > from) {
    memmove(m_data + from, m_data + from + n, sizeof(T) * (to - from));
  } else {
    memmove(m_data + to + n, m_data + to, sizeof(T) * (from - to));
  }
  memcpy(m_data + to, block, sizeof(T) * n);
  ::operator delete(block);
  return true;
}

template <class T>
void SArray<T>::Sort(int start, int end, int param) {
  if (m_count < 2) return;
  // A plain array answers -2 from CompareElements: compare the raw values
  // directly, without the virtual call per comparison.
  if (typeid(*this) == typeid(SArray)) {
    uint32_t flags = m_flags;
    SortRange(start, end,
              [this, flags](int i, int j) { return CompareValues(m_data + i, m_data + j, flags); });
  } else {
    SortRange(start, end,
              [this, param](int i, int j) { return Compare(m_data + i, m_data + j, param); });
  }
}

template <class T>
template <class Cmp>
void SArray<T>::SortRange(int start, int end, Cmp compare) {
  for (;;) {
    if (start < 0 || start > m_count || end < -1 || end > m_count) return;
    if (end == -1) end = m_count;
    if (end - start < 2) return;
    int middle = (start + end - 1) / 2;
    if (middle != start) SwapElements(start, middle);
    int last = start;
    for (int i = start + 1; i < end; ++i) {
      if (compare(i, start) < 0) {
        ++last;
        if (last != i) SwapElements(last, i);
      }
    }
    if (last != start) SwapElements(start, last);
    // The two parts are independent: recursing into the smaller one keeps the
    // stack depth logarithmic and gives the same result.
    if (last - start <= end - last - 1) {
      SortRange(start, last, compare);
      start = last + 1;
    } else {
      SortRange(last + 1, end, compare);
      end = last;
    }
  }
}

template <class T>
int SArray<T>::Unique(int start) {
  int removed = 0;
  for (int i = start < 0 ? 0 : start; i < m_count; ++i) {
    for (int j = i + 1; j < m_count;) {
      if (Compare(m_data + j, m_data + i, 0) == 0) {
        RemoveAt(j, 1);
        ++removed;
      } else {
        ++j;
      }
    }
  }
  return removed;
}

template <class T>
int SArray<T>::Find(const T& value, int start, int end, int param) {
  if (start < 0 || start >= m_count) return -1;
  if (end < 0 || end > m_count) end = m_count;
  for (int i = start; i < end; ++i) {
    if (Compare(m_data + i, &value, param) == 0) return i;
  }
  return -1;
}

template <class T>
int SArray<T>::FindSorted(const T& value, int start, int end, int param) {
  if (start < 0 || start >= m_count) return -1;
  if (end < 0 || end > m_count) end = m_count;
  int lo = start, hi = end;
  if (typeid(*this) == typeid(SArray)) {
    return Halve(lo, hi,
                 [this, &value](int i) { return CompareValues(&value, m_data + i, m_flags); });
  }
  return Halve(lo, hi, [this, &value, param](int i) { return Compare(&value, m_data + i, param); });
}

template <class T>
template <class Cmp>
int SArray<T>::Halve(int& lo, int& hi, Cmp compare) {
  while (hi - lo >= 1) {
    int mid = (lo + hi) / 2;
    int r = compare(mid);
    if (r == 0) return mid;
    if (r < 0) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return -1;
}

template <class T>
int SArray<T>::FindInsertPos(const T& value, int start, int end, int param) {
  if (start < 0 || start >= m_count) return -1;
  if (end < 0 || end > m_count) end = m_count;
  if (start >= end) return -1;
  int lo = start, hi = end;
  int found =
      Halve(lo, hi, [this, &value, param](int i) { return Compare(&value, m_data + i, param); });
  if (found >= 0) return found;
  if (lo >= m_count) return m_count;
  return Compare(&value, m_data + lo, param) >= 0 ? lo + 1 : lo;
}
