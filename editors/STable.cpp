#include "core/Platform.h"
#include "editors/STable.h"

#include "core/SFile.h"
#include "core/SStringParser.h"
#include "core/Utility.h"

#include <ctype.h>
#include <limits.h>
#include <stdint.h>
#include <string.h>

namespace {

const char kMagic[] = "VANDRO TABLE 1.0.0.0";
const char kItemSeparator[] = ";";
const char kQuote = '"';
// SStringParser: quoted stretches do not split.
const int kQuoting = 1;
// SStringArray flags: case-insensitive comparison.
const uint32_t kNoCase = 2;

// The key of an item: the text before its first '=', empty without one.
SString ItemKey(const SString& item) { return item.BeforeChar('='); }

int CountChar(const char* text, char c) {
  int n = 0;
  for (; text && *text; ++text) n += *text == c;
  return n;
}

SString ReadRecord(SFile* file) { return file->ReadStringZ(true); }

SString TrimmedName(const char* name) {
  SString trimmed(name);
  trimmed.Trim(-1, -1, false);
  return trimmed;
}

// Inserts a field of an already checked name, with one empty value per row.
int InsertField(SArray<STable::_SField*>& fields, int rows, const SString& name, int index) {
  STable::_SField* field = new STable::_SField;
  field->Name = name;
  field->Extra.Set("");
  field->Attributes.Set("");
  if (rows > 0) {
    field->Values.Add("", -1, rows);
    field->CellExtras.Add("", -1, rows);
    field->CellAttributes.Add("", -1, rows);
  }
  return fields.InsertAt(field, index, 1);
}

}  // namespace

STable::STable() {}

STable::~STable() { Clear(); }

void STable::ReleaseStrings(SStringArray& strings) {
  for (int i = 0; i < strings.GetCount(); ++i) {
    if (!m_pool.Contains(strings[i])) delete strings[i];
  }
  strings.RemoveAll();
}

void STable::Clear() {
  Text1.Set("");
  Text2.Set("");
  ReleaseStrings(RowExtras);
  ReleaseStrings(RowAttributes);
  for (int i = 0; i < Fields.GetCount(); ++i) {
    ReleaseStrings(Fields[i]->Values);
    ReleaseStrings(Fields[i]->CellExtras);
    ReleaseStrings(Fields[i]->CellAttributes);
  }
  Fields.DeleteAndRemoveAll();
  // No string of the pool is reachable any more.
  m_pool.Release();
}

STable::_SField* STable::GetField(int index) const {
  return index >= 0 && index < Fields.GetCount() ? Fields[index] : nullptr;
}

// --- fields and rows ----------------------------------------------------------

int STable::FindField(const char* text) const {
  SString s(text);
  if (s.GetLength() == 0) return -1;
  if (!s.IsInteger()) return FindFieldByName(text);
  int n = ReadNumber(text);
  return n >= 0 && n < Fields.GetCount() ? n : -1;
}

int STable::FindFieldByName(const char* name) const {
  if (!name || !*name) return -1;
  for (int i = 0; i < Fields.GetCount(); ++i) {
    if (Fields[i]->Name.CompareNoCase(name) == 0) return i;
  }
  return -1;
}

int STable::AddField(const char* name, int index) {
  if (index < 0 || index > Fields.GetCount()) index = Fields.GetCount();
  SString trimmed = TrimmedName(name);
  if (trimmed.GetLength() > 0 && (FindFieldByName(trimmed.GetText()) >= 0 || trimmed.IsInteger())) {
    return -1;
  }
  return InsertField(Fields, GetRowCount(), trimmed, index);
}

int STable::InsertRow(int index) {
  int rows = GetRowCount();
  if (index < 0 || index > rows) index = rows;
  RowExtras.Add("", index);
  RowAttributes.Add("", index);
  for (int i = 0; i < Fields.GetCount(); ++i) {
    Fields[i]->Values.Add("", index);
    Fields[i]->CellExtras.Add("", index);
    Fields[i]->CellAttributes.Add("", index);
  }
  return index;
}

void STable::DeleteRow(int index) {
  if (index < 0 || index >= GetRowCount()) return;
  RowExtras.RemoveAndDelete(index);
  RowAttributes.RemoveAndDelete(index);
  for (int i = 0; i < Fields.GetCount(); ++i) {
    Fields[i]->Values.RemoveAndDelete(index);
    Fields[i]->CellExtras.RemoveAndDelete(index);
    Fields[i]->CellAttributes.RemoveAndDelete(index);
  }
}

SString STable::GetFieldAttribute(const char* field, const char* key) const {
  _SField* f = GetField(FindField(field));
  return f ? GetAttribute(f->Attributes.GetText(), key) : SString("");
}

SString STable::GetRowHeight(int row) const {
  if (row < 0 || row >= GetRowCount()) return SString("");
  return GetAttribute(RowAttributes[row]->GetText(), "height");
}

// --- loading ------------------------------------------------------------------

bool STable::Load(SFile* file) {
  if (!file) return false;
  Clear();
  if (ReadRecord(file) != kMagic) return false;
  int fields = ReadNumber(ReadRecord(file).GetText());
  int rows = ReadNumber(ReadRecord(file).GetText());
  if (fields < 0 || rows < 0 || fields > MAX_RECORDS || rows > MAX_RECORDS) return false;
  // Each field or row record takes at least its NUL byte of what follows,
  // but the last one may end at the end of the file.
  int64_t records = 3 * int64_t(fields) + int64_t(rows) * (2 + 3 * int64_t(fields));
  if (records > MAX_RECORDS || records > int64_t(file->GetRemaining()) + 1) return false;

  Text1 = ReadRecord(file);
  Text2 = ReadRecord(file);

  // Names seen so far, sorted without regard to case: duplicates are found
  // without a pass over all fields per field.
  SStringArray names;
  names.m_flags = kNoCase;
  for (int i = 0; i < fields; ++i) {
    SString name = TrimmedName(ReadRecord(file).GetText());
    if (name.GetLength() > 0) {
      if (name.IsInteger() || names.FindSorted(name.GetText()) >= 0) {
        Clear();
        return false;
      }
      names.InsertSorted(name.GetText());
    }
    _SField* field = Fields[InsertField(Fields, 0, name, -1)];
    field->Extra = ReadRecord(file);
    field->Attributes = ReadRecord(file);
  }

  // Every per-row array gets its final length at once; each slot is then
  // filled with the string read for it.
  RowExtras.SetSize(rows, false);
  RowAttributes.SetSize(rows, false);
  for (int i = 0; i < fields; ++i) {
    Fields[i]->Values.SetSize(rows, false);
    Fields[i]->CellExtras.SetSize(rows, false);
    Fields[i]->CellAttributes.SetSize(rows, false);
  }
  SStringPool::Scope scope(&m_pool);
  for (int r = 0; r < rows; ++r) {
    RowExtras[r] = new SString(ReadRecord(file));
    RowAttributes[r] = new SString(ReadRecord(file));
    for (int i = 0; i < fields; ++i) {
      _SField* field = Fields[i];
      field->Values[r] = new SString(ReadRecord(file));
      field->CellExtras[r] = new SString(ReadRecord(file));
      field->CellAttributes[r] = new SString(ReadRecord(file));
    }
  }
  return true;
}

// --- attribute texts ----------------------------------------------------------

void STable::SplitAttributes(const char* text, SStringArray* items) {
  items->DeleteAndRemoveAll();
  SStringParser parser(text);
  int count = parser.Parse(kItemSeparator, kQuoting, kQuote);
  if (count >= 0) {
    for (int i = 0; i < count; ++i) items->Add(parser.GetToken(i).GetText());
    return;
  }
  // A quote left open: quotes alternate between opening and closing, so the
  // last one is the open one. Before it the quotes pair up; from it on every
  // ';' splits. The item it stands in joins the two parts.
  SString all(text);
  int open = all.ReverseFindChar(kQuote);
  SStringParser head(all.Left(open).GetText());
  int headCount = head.Parse(kItemSeparator, kQuoting, kQuote);
  SStringParser tail(all.Mid(open).GetText());
  int tailCount = tail.Parse(kItemSeparator, 0, kQuote);
  for (int i = 0; i < headCount - 1; ++i) items->Add(head.GetToken(i).GetText());
  SString joined = headCount > 0 ? head.GetToken(headCount - 1) : SString("");
  joined += tail.GetToken(0);
  items->Add(joined.GetText());
  for (int i = 1; i < tailCount; ++i) items->Add(tail.GetToken(i).GetText());
}

SString STable::FindAttribute(const SStringArray& items, const char* key) {
  if (!key) return SString("");
  for (int i = 0; i < items.GetCount(); ++i) {
    const SString& item = *items[i];
    if (ItemKey(item).CompareNoCase(key) == 0) return item.AfterChar('=');
  }
  return SString("");
}

SString STable::GetAttribute(const char* text, const char* key) {
  SStringArray items;
  SplitAttributes(text, &items);
  return FindAttribute(items, key);
}

SString STable::SetAttributeText(const char* text, const char* key, const char* value) {
  SString result(text);
  if (!value) value = "";
  if (!IsIdentifier(key) || strchr(value, ';') || CountChar(value, kQuote) % 2 != 0) return result;
  SStringArray items;
  SplitAttributes(text, &items);
  bool found = false;
  for (int i = 0; i < items.GetCount() && !found; ++i) {
    SString stored = ItemKey(*items[i]);
    if (stored.CompareNoCase(key) != 0) continue;
    items[i]->Set((stored + "=" + value).GetText());
    found = true;
  }
  result.Set("");
  for (int i = 0; i < items.GetCount(); ++i) {
    if (i > 0) result += ';';
    result += *items[i];
  }
  if (!found) {
    if (result.GetLength() > 0) result += ';';
    result += key;
    result += '=';
    result += value;
  }
  return result;
}

void STable::SetAttribute(SString& text, const char* key, const char* value) {
  text = SetAttributeText(text.GetText(), key, value);
}

int STable::ReadNumber(const char* text) {
  if (!text) return 0;
  while (isspace(static_cast<unsigned char>(*text))) ++text;
  bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > int64_t(INT_MAX) + 1) value = int64_t(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return int(value);
}
