// Element rules of SArray<T>: the built-in comparison of two element values
// and the disposal of an owned element by the deleting members.
//
// The defaults cover every element family:
// - pointers and handles compare as unsigned 32-bit addresses;
// - integers compare by value (signed for signed types), floating-point
//   numbers and bool by value;
// - records (POINT, RECT, GUID, vectors) are equal when their bytes are
//   equal and are otherwise ordered by their bytes;
// - a pointed-to object is deleted with delete (its virtual destructor, or
//   its own destructor, or the memory alone for plain records); a byte buffer
//   (unsigned char*) with delete[]; an untyped block (void*) with operator
//   delete.
// A type whose objects are disposed of otherwise specialises SArrayElement,
// deriving from SArrayElementDefault and replacing Delete.
#pragma once

#include "core/Platform.h"

#include <stdint.h>
#include <string.h>
#include <type_traits>

template <class T>
struct SArrayElementDefault {
  // -1, 0 or 1 in ascending order.
  static int Compare(const T& a, const T& b) {
    if constexpr (std::is_pointer<T>::value) {
      uintptr_t x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
      return x < y ? -1 : (x > y ? 1 : 0);
    } else if constexpr (std::is_arithmetic<T>::value || std::is_enum<T>::value) {
      return a < b ? -1 : (b < a ? 1 : 0);
    } else {
      int r = memcmp(&a, &b, sizeof(T));
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
  }

  // Disposes of the object an element points to (never called with null).
  static void Delete(T p) {
    static_assert(std::is_pointer<T>::value, "only pointer elements own objects");
    typedef typename std::remove_cv<typename std::remove_pointer<T>::type>::type Pointee;
    if constexpr (std::is_void<Pointee>::value) {
      ::operator delete(const_cast<void*>(static_cast<const void*>(p)));
    } else if constexpr (std::is_same<Pointee, unsigned char>::value) {
      delete[] p;
    } else {
      delete p;
    }
  }
};

template <class T>
struct SArrayElement : SArrayElementDefault<T> {};
