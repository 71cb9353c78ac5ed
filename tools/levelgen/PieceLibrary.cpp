#include "core/Platform.h"
#include "tools/levelgen/PieceLibrary.h"

#include "core/SFileMem.h"
#include "tools/common/TextLines.h"

namespace {

// The map characters of the level format as Windows-1252 bytes.
const unsigned char kMapBytes[] = {
    0xBB, 0xAB, 'X', 0xA9, 0xAE, '@',  '$',  '#',  0xA3, 'd',  'D',  'e',  0xEA,
    'E',  0xCA, 'Z', '<',  '>',  '^',  0x95, '*',  '+',  '=',  0xB0, 0xB9, 0xB2,
    0xB3, '\\', '/', 'o',  0xD8, 0xF4, 'O',  0xA4, '7',  '9',  '1',  '3',  'l',
    'r',  'f',  'b', 'P',  'T',  'W',  '|',  '\'', '"',  0x97, '}',  '{',  'z',
};
static_assert(sizeof(kMapBytes) == 52, "the level format has 52 map characters");

// Code points outside Latin-1 that the map uses, with their bytes.
const struct {
  unsigned codePoint;
  unsigned char byte;
} kWideCharacters[] = {{0x2022, 0x95}, {0x2014, 0x97}};

// Decodes one UTF-8 sequence at text[i]; 0 for a malformed one.
unsigned DecodeUtf8(const unsigned char* text, int length, int& i) {
  unsigned c = text[i++];
  if (c < 0x80) return c;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
  if (extra < 0 || i + extra > length) return 0;
  unsigned value = c & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    unsigned next = text[i++];
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  return value;
}

}  // namespace

PieceLibrary::PieceLibrary() {}

PieceLibrary::~PieceLibrary() {
  for (int i = 0; i < m_rows.GetCount(); ++i) delete m_rows[i];
}

bool PieceLibrary::IsMapByte(unsigned char byte) {
  for (unsigned char b : kMapBytes) {
    if (b == byte) return true;
  }
  return false;
}

bool PieceLibrary::Fail(int line, const char* message, const char* detail) {
  m_error.Format("%s:%d: %s%s", m_path.GetText(), line, message, detail);
  return false;
}

int PieceLibrary::Find(const SString& name) const {
  for (int i = 0; i < m_names.GetCount(); ++i) {
    if (m_names.Get(i) == name) return i;
  }
  return -1;
}

bool PieceLibrary::ConvertRow(const SString& line, SString& row, SString& problem) const {
  const unsigned char* text = (const unsigned char*)line.GetText();
  int length = line.GetLength();
  row = "";
  for (int i = 0; i < length;) {
    unsigned c = DecodeUtf8(text, length, i);
    unsigned char byte = 0;
    if (c == '.' || (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) byte = (unsigned char)c;
    for (const auto& wide : kWideCharacters) {
      if (wide.codePoint == c) byte = wide.byte;
    }
    if (byte == 0 || (byte != '.' && !IsMapByte(byte))) {
      problem.Format("an unknown cell (U+%04X)", c);
      return false;
    }
    row += (char)byte;
  }
  if (row.GetLength() != COLUMNS) {
    problem.Format("%d cells instead of %d", row.GetLength(), (int)COLUMNS);
    return false;
  }
  return true;
}

bool PieceLibrary::Load(const char* path) {
  m_path = path;
  SFileMem file;
  if (!file.LoadFile(path)) return Fail(0, "cannot be read");
  file.Rewind();
  SString text = file.ReadString();
  SStringArray* piece = nullptr;
  int lineNumber = 0;
  SString line;
  for (int start = 0; NextLine(text, start, line);) {
    ++lineNumber;
    if (piece) {
      if (line == "end") {
        if (piece->GetCount() == 0) return Fail(lineNumber, "a piece without rows");
        piece = nullptr;
        continue;
      }
      SString row, problem;
      if (!ConvertRow(line, row, problem))
        return Fail(lineNumber, "the row has ", problem.GetText());
      piece->Add(row.GetText());
      continue;
    }
    line.Trim(-1, -1, false);
    if (line.GetLength() == 0 || line.GetAt(0) == '#') continue;
    if (line.Left(6) != "piece ") return Fail(lineNumber, "expected \"piece NAME\"");
    SString name = line.Mid(6);
    name.Trim(-1, -1, false);
    if (name.GetLength() == 0 || name.FindChar(' ') >= 0)
      return Fail(lineNumber, "a bad piece name");
    if (Find(name) >= 0) return Fail(lineNumber, "the piece is defined twice: ", name.GetText());
    m_names.Add(name.GetText());
    piece = new SStringArray;
    m_rows.Add(piece);
  }
  if (piece) return Fail(lineNumber, "the last piece has no \"end\"");
  if (m_names.GetCount() == 0) return Fail(lineNumber, "no pieces");
  return true;
}
