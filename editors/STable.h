// The table behind the spreadsheet control: an ordered list of fields (the
// columns), each holding one value per row, with per-row, per-column and
// per-cell attribute texts, read from "VANDRO TABLE 1.0.0.0" files.
//
// Storage: the table owns its fields and every string; the strings Load
// makes live in the table's string pool, so that Clear gives them back at
// once instead of one by one. The row count is the
// length of RowExtras; RowAttributes and the three per-row arrays of every
// field always have that length, and every row operation inserts or removes
// at the same index in all of them.
//
// Field names carry no leading or trailing spaces or tabs; a non-empty name
// is unique among the fields (ASCII case-insensitive) and never an integer
// text, so an integer text always denotes a field by its index. Empty names
// may repeat.
//
// Attribute text: items separated by ';', each key=value (the key is the text
// before the first '=', empty without one; the value the text after it).
// A ';' inside a double-quoted stretch does not split, the quotes staying in
// the item. A quote that is never closed is an ordinary character: the text
// before it splits as usual, the rest at every ';'. Keys compare ASCII
// case-insensitively; the first matching item wins.
//
// Table file: NUL-terminated byte strings, read one after the other: the
// magic, the field count F, the row count R (decimal texts), two table texts,
// three records per field (name, extra, attributes), then per row the row's
// extra and attribute text followed by value, extra and attribute text of
// each field. The declared records must fit in the bytes that follow the
// counts, at most MAX_RECORDS of them; missing records at the end read as
// empty texts.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "core/SStringPool.h"

class SFile;

class STable {
public:
  // One column.
  struct _SField {
    SString Name;
    SString Extra;                // kept, read by nothing else
    SString Attributes;           // keys "title", "width"
    SStringArray Values;          // the cell texts, one per row
    SStringArray CellExtras;      // kept, read by nothing else
    SStringArray CellAttributes;  // keys "backcolor", "textcolor", "halign", "valign"
  };

  // The largest number of field and row records a file may declare: each
  // record costs a string object, so a file of empty records could otherwise
  // ask for dozens of times its own size in memory.
  enum { MAX_RECORDS = 1 << 22 };

  STable();
  ~STable();
  STable(const STable&) = delete;
  STable& operator=(const STable&) = delete;

  // Empty texts, no rows, no fields (the field array back at its initial
  // storage).
  void Clear();
  // Reads a table file from the file's position. False for a null file (the
  // table untouched), else the table is cleared first and false means it
  // stays empty: a wrong magic, a negative count, more records than the
  // file can hold, a duplicate or integer field name.
  bool Load(SFile* file);

  int GetFieldCount() const { return Fields.GetCount(); }
  int GetRowCount() const { return RowExtras.GetCount(); }
  // The field at the index, or null.
  _SField* GetField(int index) const;

  // An integer text is an index (-1 unless 0 <= n < field count); any other
  // non-empty text a name. -1 when nothing matches or for an empty text.
  int FindField(const char* text) const;
  // The first field of that name (case-insensitive); -1 for an empty name.
  int FindFieldByName(const char* name) const;
  // A new field at the index (< 0 or past the end: appended) with the
  // trimmed name, no attributes and one empty value per row. -1, with
  // nothing changed, for a duplicate or integer name.
  int AddField(const char* name, int index);
  // An empty row at the index (< 0 or past the end: appended); returns the
  // index used.
  int InsertRow(int index);
  // Nothing unless 0 <= index < row count.
  void DeleteRow(int index);

  // The attribute of the field FindField names; empty when none.
  SString GetFieldAttribute(const char* field, const char* key) const;
  // The "height" attribute of the row; empty for a row that does not exist.
  SString GetRowHeight(int row) const;

  // Attribute texts.
  // The items of the text, in order (the array is emptied first).
  static void SplitAttributes(const char* text, SStringArray* items);
  // The value of the first item of the list with the key; empty for a null
  // key or when none matches.
  static SString FindAttribute(const SStringArray& items, const char* key);
  static SString GetAttribute(const char* text, const char* key);
  // The text with the key set to the value: the first item of the key keeps
  // its stored spelling of the key and gets the value, else key=value is
  // appended. The text comes back unchanged (empty for null) when the key is
  // not an identifier or the value holds ';' or an odd number of quotes
  // (which would merge the items after it on the next reading).
  static SString SetAttributeText(const char* text, const char* key, const char* value);
  static void SetAttribute(SString& text, const char* key, const char* value);

  // A decimal text: leading white space, an optional sign, digits up to the
  // first other character; 0 without digits; saturated to the int range.
  static int ReadNumber(const char* text);

  SString Text1;               // kept, read by nothing else
  SString Text2;               // kept, read by nothing else
  SStringArray RowExtras;      // one per row; its length is the row count
  SStringArray RowAttributes;  // one per row (key "height")
  SArray<_SField*> Fields;     // the columns in display order, owned

private:
  // Empties the array: strings of the pool are left to it, others deleted.
  void ReleaseStrings(SStringArray& strings);

  SStringPool m_pool;  // the strings Load made
};
