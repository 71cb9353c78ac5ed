// A list of heap strings owned by the list.
//
// Strings are created when stored (a full copy, user values included) and
// deleted by the deleting members, by FreeBuffer and by the destructor; the
// plain removal members of SArray (RemoveAt, RemoveAll) drop pointers without
// deleting. Comparison is by text: byte order, or case-insensitive when flags
// bit 1 (value 2) is set, reversed when bit 0 (value 1) is set. The text form
// of an element is its string Base64.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

class SStringArray : public SArray<SString*> {
public:
  SStringArray() {}
  SStringArray(const SStringArray&) = delete;
  ~SStringArray() override;

  // A deep copy: this list's strings are deleted, then each source string
  // is stored as a new full copy; the flags are copied.
  SArray<SString*>& operator=(const SArray<SString*>& source) override;
  SStringArray& operator=(const SStringArray& source);
  // Deletes every string, then frees the buffer (capacity, count and flags 0).
  void FreeBuffer() override;
  // Stores a new string assigned from the source with its user values.
  void CopyElement(SString** dest, SString* const* source, int index, int param) override;
  // -1, 0 or 1 by text; never -2.
  int CompareElements(SString* const* a, SString* const* b, uint32_t flags,
                      int param) override;
  // Stores a new string decoded from string Base64 text.
  void ElementFromString(SString** dest, const char* text, int index, int param) override;
  // The element's text in string Base64.
  SString ElementToString(SString* const& element, int a, int b) override;
  // Deletes this list's strings, then appends a new string for each source
  // string's text (user values 0).
  virtual void Copy(const SStringArray& source);

  // Inserts count copies of text (null: the empty string) at index, as
  // SArray::InsertAt does; returns the index or -1.
  int Add(const char* text, int index = -1, int count = 1);
  // A text-only copy of string i; the empty string for an index outside
  // [0, count).
  SString Get(int i) const;
  SString GetFirst() const { return Get(0); }
  // Searches with the list's comparison (flags honoured).
  int Find(const char* text, int start = 0, int end = -1);
  int FindSorted(const char* text);
  int InsertSorted(const char* text);
  // Counts the strings matching pattern and appends their indexes to out
  // (when given) in list order. Pattern byte 1 matches any run of
  // characters, byte 2 exactly one character, every other byte itself.
  int MatchWildcard(const char* pattern, SArray<int>* out);
};
