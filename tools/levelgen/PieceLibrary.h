// The track pieces that levels are composed of, read from a piece file:
//
//   # a comment (outside pieces)
//   piece NAME
//   ROW
//   ...
//   end
//
// A row is 16 cells from column 0 on, each '.' (empty) or a map character.
// The file is UTF-8: the map characters outside ASCII are written as
// themselves (for example "»", "°", "•", "—") and stored as the level
// format's Windows-1252 bytes. Every line of a piece up to "end" is a row.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "core/SStringArray.h"

class PieceLibrary {
public:
  enum { COLUMNS = 16 };

  PieceLibrary();
  ~PieceLibrary();
  PieceLibrary(const PieceLibrary&) = delete;
  PieceLibrary& operator=(const PieceLibrary&) = delete;

  // Reads the piece file; false with the message set.
  bool Load(const char* path);
  // Index of the named piece, -1 when there is none.
  int Find(const SString& name) const;
  // The rows of piece i as Windows-1252 bytes, 16 cells each.
  const SStringArray& GetRows(int i) const { return *m_rows[i]; }
  const SString& GetError() const { return m_error; }

  // True for a byte of the level format's character table.
  static bool IsMapByte(unsigned char byte);

private:
  bool Fail(int line, const char* message, const char* detail = "");
  // One row from UTF-8 to 16 Windows-1252 cells; false for a bad row.
  bool ConvertRow(const SString& line, SString& row, SString& problem) const;

  SString m_path;
  SStringArray m_names;
  SArray<SStringArray*> m_rows;
  SString m_error;
};
