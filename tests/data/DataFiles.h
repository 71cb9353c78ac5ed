// Access to the staged data set (the files the archives are packed from) for
// the data tests.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SString.h"

namespace DataFiles {

// The path of a staged file: folder "snd", "obj", "fx", ... and entry name.
inline SString Path(const char* folder, const char* name) {
  return SString(DATA_STAGE_DIR) + "/" + folder + "/" + name;
}

// Loads the staged file into a memory file, rewound; false when missing.
inline bool Load(const char* folder, const char* name, SFileMem& file) {
  if (!file.LoadFile(Path(folder, name).GetText())) return false;
  file.Rewind();
  return true;
}

}  // namespace DataFiles
