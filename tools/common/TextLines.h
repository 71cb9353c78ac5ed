// Line splitting for the text inputs of the data generators: lines end with
// LF or CR LF, so that a file reads the same whatever line ends a checkout
// gives it.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

// The line that starts at start in text, without its line end; start moves
// past it. False at the end of the text.
inline bool NextLine(const SString& text, int& start, SString& line) {
  if (start >= text.GetLength()) return false;
  int end = text.FindChar('\n', start);
  if (end < 0) end = text.GetLength();
  line = text.Mid(start, end - start);
  start = end + 1;
  if (line.GetLength() > 0 && line.GetAt(line.GetLength() - 1) == '\r')
    line.SetLength(line.GetLength() - 1);
  return true;
}
