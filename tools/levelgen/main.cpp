// levelgen: composes the game's level texts from track pieces.
//
//   levelgen PIECES FOLDER LEVEL...
//
// PIECES is the piece file (PieceLibrary.h). Each LEVEL is a description
// named "level_WL.lvl"; its level text "level_WL.txt" is written into
// FOLDER. A description is read by records (tools/common/DescriptionReader.h):
//
//   lives N                          the life count, first
//   PIECE [xN] [shift=K] [mirror]    the piece's rows, N times in a row;
//                                    shift turns it by K columns around
//                                    the tube, mirror swaps its left and
//                                    right (refused for pieces with mirrors,
//                                    whose kinds have a side)
//
// The text is Windows-1252 with CR LF line ends: the life count, then one
// row of 16 cells per line. The output depends on the inputs only.
// Exit status 0 on success, 1 with a one-line message on stderr on failure,
// 2 for a usage error.
#include "core/Platform.h"

#include "core/SFilePath.h"
#include "core/SFileMem.h"
#include "core/SString.h"
#include "tools/common/DescriptionReader.h"
#include "tools/levelgen/PieceLibrary.h"

#include <stdio.h>

namespace {

const char kUsage[] = "usage: levelgen PIECES FOLDER LEVEL...";
const int kMaxRepeat = 64;
const int kMaxRows = 2000;
// Mirror kinds have a side: their cells cannot be mirrored.
const char kSidedCells[] = "7913lrfb";

int Fail(const SString& message) {
  fprintf(stderr, "levelgen: %s\n", message.GetText());
  return 1;
}

// Appends the piece's rows, turned and mirrored, to the level text.
void AppendPiece(const SStringArray& rows, int shift, bool mirror, SFileMem& out) {
  const int n = PieceLibrary::COLUMNS;
  for (int r = 0; r < rows.GetCount(); ++r) {
    SString source = rows.Get(r);
    char cells[PieceLibrary::COLUMNS];
    for (int c = 0; c < n; ++c) {
      int from = mirror ? n - 1 - c : c;
      cells[((c + shift) % n + n) % n] = source.GetAt(from);
    }
    out.WriteData(cells, n);
    out.WriteData("\r\n", 2);
  }
}

bool HasSidedCells(const SStringArray& rows) {
  for (int r = 0; r < rows.GetCount(); ++r) {
    SString row = rows.Get(r);
    for (const char* c = kSidedCells; *c; ++c) {
      if (row.FindChar(*c) >= 0) return true;
    }
  }
  return false;
}

// The level text of one description; false with the message set.
bool Compose(const PieceLibrary& pieces, DescriptionReader& reader, SFileMem& out) {
  int lives = -1;
  int rowCount = 0;
  while (reader.Next()) {
    SString word = reader.Get(0);
    if (word == "lives") {
      if (lives >= 0) return reader.Fail("the life count is given twice");
      if (!reader.GetInt(1, lives)) return false;
      if (lives < 1 || lives > 99) return reader.Fail("lives must be 1 to 99");
      SString line;
      line.Format("%d\r\n", lives);
      out.WriteText(line.GetText());
      continue;
    }
    if (lives < 0) return reader.Fail("the description must begin with \"lives N\"");
    int piece = pieces.Find(word);
    if (piece < 0) return reader.Fail("no piece \"%s\"", word.GetText());
    int repeat = 1;
    int shift = 0;
    bool mirror = false;
    for (int i = 1; i < reader.GetCount(); ++i) {
      SString field = reader.Get(i);
      double value = 0;
      if (field.GetAt(0) == 'x' && DescriptionReader::ParseNumber(field.GetText() + 1, value)) {
        repeat = (int)value;
        if (repeat != value || repeat < 1 || repeat > kMaxRepeat)
          return reader.Fail("a repeat of 1 to %d", kMaxRepeat);
      } else if (field.Left(6) == "shift=") {
        if (!DescriptionReader::ParseNumber(field.GetText() + 6, value) || value != (int)value ||
            value < -15 || value > 15)
          return reader.Fail("a shift of -15 to 15 columns");
        shift = (int)value;
      } else if (field == "mirror") {
        mirror = true;
      } else {
        return reader.Fail("unknown field \"%s\"", field.GetText());
      }
    }
    const SStringArray& rows = pieces.GetRows(piece);
    if (mirror && HasSidedCells(rows)) return reader.Fail("\"%s\" holds mirrors", word.GetText());
    rowCount += rows.GetCount() * repeat;
    if (rowCount > kMaxRows) return reader.Fail("more than %d rows", kMaxRows);
    for (int k = 0; k < repeat; ++k) AppendPiece(rows, shift, mirror, out);
  }
  if (reader.GetError().GetLength() > 0) return false;
  if (lives < 0 || rowCount == 0) return reader.Fail("no rows");
  return true;
}

// "level_WL.txt" for a description path ending in "level_WL.lvl".
bool OutputName(const SString& path, SString& name) {
  int slash = path.ReverseFindAny(-1, 2, (int)'/', (int)'\\');
  name = path.Mid(slash + 1);
  if (name.GetLength() != 12 || name.Left(6) != "level_" || name.Mid(8) != ".lvl") return false;
  name = name.Left(8) + ".txt";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "%s\n", kUsage);
    return 2;
  }
  PieceLibrary pieces;
  if (!pieces.Load(argv[1])) return Fail(pieces.GetError());
  SString folder(argv[2]);
  if (folder.GetAt(folder.GetLength() - 1) != '/' && folder.GetAt(folder.GetLength() - 1) != '\\')
    folder += "/";
  for (int i = 3; i < argc; ++i) {
    SString name;
    if (!OutputName(argv[i], name)) return Fail(SString(argv[i]) + ": not named level_WL.lvl");
    DescriptionReader reader;
    if (!reader.Load(argv[i])) return Fail(reader.GetError());
    SFileMem out;
    out.Allocate(0);
    if (!Compose(pieces, reader, out)) return Fail(reader.GetError());
    SString path = folder + name;
    SFilePath file;
    if (!file.Open(path.GetText(), true, true, false, false))
      return Fail(SString("cannot write ") + path);
    int size = out.GetSize();
    bool written = file.WriteData(out.GetBuffer(), size) == size;
    file.Close();
    if (!written) return Fail(SString("cannot write ") + path);
  }
  return 0;
}
