#include "core/Platform.h"
#include "app/PSave.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"

namespace PSave {

const char* const SAVE_KEY = "kqTRmvXa7305218wnePLchzdtyg4fHs9";
const char* const TAG = "GVR2";
const char* const VERSION = "1.00";

bool ReadFile(const char* path, int maxSize, SFileMem* plain) {
  plain->Close();
  SFilePath disk;
  if (!disk.Open(path, false, false, true, true)) return false;
  int size = disk.GetSize();
  if (size < HEADER_SIZE || size > maxSize) return false;
  plain->Allocate(size);
  if (disk.Read(plain->GetBuffer(), size) != size) return false;
  disk.Close();
  SFileMem key(SAVE_KEY);
  if (!SFile::KeyedDecode(&key, plain)) return false;
  plain->Rewind();
  if (plain->ReadStringZ(true) != TAG) return false;
  return plain->ReadStringZ(true) == VERSION;
}

bool WriteFile(const char* path, SFileMem* plain) {
  SString temp = SString(path) + ".tmp";
  SFilePath disk;
  if (!disk.Open(temp.GetText(), true, true, true, false)) return false;
  SFileMem key(SAVE_KEY);
  plain->Rewind();
  bool written = SFile::KeyedEncode(&key, plain, -1, &disk) && disk.GetSize() == plain->GetSize();
  disk.Close();
  if (written && ::MoveFileExA(temp.GetText(), path, MOVEFILE_REPLACE_EXISTING)) return true;
  ::DeleteFileA(temp.GetText());
  return false;
}

void StartFile(SFileMem* plain) {
  plain->Allocate(0);
  plain->WriteStringZ(TAG);
  plain->WriteStringZ(VERSION);
}

}  // namespace PSave
