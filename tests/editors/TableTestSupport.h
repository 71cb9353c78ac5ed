// Support of the table, spreadsheet and hex viewer tests: tables described
// as texts and written as the NUL-terminated records of "VANDRO TABLE
// 1.0.0.0", an archive of one entry, system colours as read back from a DIB.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "core/SResource.h"
#include "tests/support/TempFolder.h"
#include "editors/EditorControls.h"
#include "tools/common/SResourceWriter.h"
#include "window/SWnd.h"

#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

// A string's text; null as empty.
inline std::string Text(const SString& s) { return s.GetText() ? s.GetText() : ""; }

struct TableCell {
  std::string value, extra, attributes;
};

struct TableRow {
  std::string extra, attributes;
  std::vector<TableCell> cells;
};

struct TableField {
  std::string name, extra, attributes;
};

struct TableDescription {
  std::string text1, text2;
  std::vector<TableField> fields;
  std::vector<TableRow> rows;

  // The records in file order, the counts as the field and row lists give.
  std::vector<std::string> Records() const {
    std::vector<std::string> r = {"VANDRO TABLE 1.0.0.0", std::to_string(fields.size()),
                                  std::to_string(rows.size()), text1, text2};
    for (const TableField& f : fields) r.insert(r.end(), {f.name, f.extra, f.attributes});
    for (const TableRow& row : rows) {
      r.insert(r.end(), {row.extra, row.attributes});
      for (const TableCell& c : row.cells) r.insert(r.end(), {c.value, c.extra, c.attributes});
    }
    return r;
  }
};

// The records, each followed by its NUL.
inline std::string JoinRecords(const std::vector<std::string>& records) {
  std::string bytes;
  for (const std::string& r : records) bytes += r + std::string(1, '\0');
  return bytes;
}

inline void WriteBytes(SFileMem* file, const std::string& bytes) {
  file->SetSize(0);
  file->Write(bytes.data(), int(bytes.size()));
  file->Rewind();
}

// A table of the given size: column c is named "F<c>", cell values are
// "<column>:<row>".
inline TableDescription GridTable(int columns, int rows) {
  TableDescription t;
  for (int c = 0; c < columns; ++c) t.fields.push_back({"F" + std::to_string(c), "", ""});
  for (int r = 0; r < rows; ++r) {
    TableRow row;
    for (int c = 0; c < columns; ++c) {
      row.cells.push_back({std::to_string(c) + ":" + std::to_string(r), "", ""});
    }
    t.rows.push_back(row);
  }
  return t;
}

// An archive of one entry in the folder; the reader opened on it.
inline void WriteArchive(const TempFolder& folder, const char* name, const std::string& bytes,
                         SResource* archive) {
  std::string path = folder.File("data.res");
  {
    SFilePath file(path.c_str(), true, true, true, false);
    SFileMem entry;
    WriteBytes(&entry, bytes);
    SResourceWriter writer;
    writer.Begin(&file, false);
    writer.Add(name, &entry);
    writer.End();
  }
  ASSERT_TRUE(archive->Open(path.c_str()));
}

// A rectangle as {left, top, right, bottom}, for one comparison.
inline std::vector<LONG> Edges(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A system colour as 0xRRGGBB, the way Dib32::Rgb reads pixels.
inline uint32_t SystemRgb(int index) {
  COLORREF c = ::GetSysColor(index);
  return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
}

// The editor controls registered, a visible 500 x 400 popup parent and the
// control as its 400 x 300 child at the parent's origin.
inline void CreateInHost(SWnd* parent, SWnd* control) {
  RegisterEditorControls();
  RECT rect = {0, 0, 500, 400};
  ASSERT_TRUE(parent->Create("", WS_VISIBLE, 0, &rect));
  RECT child = {0, 0, 400, 300};
  ASSERT_TRUE(control->Create("", WS_CHILD | WS_VISIBLE, 0, &child, parent->m_hWnd));
}
