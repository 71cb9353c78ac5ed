#include "core/Platform.h"
#include "core/SClipboard.h"
#include "core/SFile.h"

SClipboard::SClipboard(HWND owner) : m_owner(owner) {}

SClipboard::~SClipboard() {}

bool SClipboard::Put(UINT format, HGLOBAL block) {
  if (!OpenClipboard(m_owner)) {
    GlobalFree(block);
    return false;
  }
  bool placed = EmptyClipboard() && HandOver(format, block) != nullptr;
  // Once handed over, the block belongs to the system.
  if (!placed) GlobalFree(block);
  CloseClipboard();
  return placed;
}

HANDLE SClipboard::HandOver(UINT format, HGLOBAL block) { return SetClipboardData(format, block); }

bool SClipboard::SetText(const char* text) {
  if (!text) text = "";
  size_t size = strlen(text) + 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return false;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return false;
  }
  memcpy(p, text, size);
  GlobalUnlock(block);
  return Put(CF_TEXT, block);
}

SString SClipboard::GetText() {
  if (!OpenClipboard(m_owner)) return SString("");
  SString text("");
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data) {
    const char* p = static_cast<const char*>(GlobalLock(data));
    if (p) {
      // Another program's block need not hold a NUL: stop at its size.
      size_t size = GlobalSize(data);
      const char* end = static_cast<const char*>(memchr(p, 0, size));
      int length = static_cast<int>(end ? end - p : size);
      text.SetLength(length, false);
      memcpy(const_cast<char*>(text.GetText()), p, length);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool SClipboard::SetFileData(SFile* file) {
  if (!file) return false;
  int count = file->GetSize() - file->Tell();
  if (count <= 0) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(count) + 5);
  if (!block) return false;
  uint8_t* p = static_cast<uint8_t*>(GlobalLock(block));
  if (!p) {
    GlobalFree(block);
    return false;
  }
  int read = file->Read(p + 4, count);
  if (read < 0) read = 0;
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(static_cast<uint32_t>(read) >> (8 * i));
  p[4 + read] = 0;
  GlobalUnlock(block);
  return Put(FORMAT_FILE_DATA, block);
}
