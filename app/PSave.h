// The save files of a profile: the player file (progression of the three
// difficulties) and one ghost file per done cell, in the save folder.
//
// Both are the tag "GVR2" and the version "1.00", each ended by a NUL byte,
// then the body; the whole file passes through the keyed byte transform
// with SAVE_KEY. A save is written to "<name>.tmp" first and then replaces
// the old file, so a failed write keeps the existing save.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

class SFileMem;

namespace PSave {

extern const char* const SAVE_KEY;
extern const char* const TAG;
extern const char* const VERSION;

enum {
  HEADER_SIZE = 10,   // both header strings with their NULs
  PLAYER_BODY = 378,  // 3 x (1 + 25 x (1 + 4))
  POINT_SIZE = 12,    // three 32-bit integers
  MAX_GHOST_FILE = HEADER_SIZE + POINT_SIZE * 1024,
};

// Reads a save file into plain content, header checked; the memory file is
// left just after the header. False for a missing file, one larger than
// maxSize, or a wrong tag or version.
bool ReadFile(const char* path, int maxSize, SFileMem* plain);
// Writes the plain content scrambled, through a temporary file that
// replaces the old one. False, with the old file untouched, on any failure.
bool WriteFile(const char* path, SFileMem* plain);
// A memory file holding the two header strings.
void StartFile(SFileMem* plain);

}  // namespace PSave
