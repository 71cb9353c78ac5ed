// Text on the Windows clipboard (CF_TEXT), and the remaining bytes of a file
// in the framework's own format 0x81 (CF_DSPTEXT): a 32-bit little-endian
// byte count n, the n bytes, one zero byte.
//
// Every call opens the clipboard, does its one transfer and closes it again.
// The clipboard is opened for the owner window; without one, the system may
// refuse the data, and the call then reports false.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

class SFile;

class SClipboard {
public:
  enum { FORMAT_FILE_DATA = CF_DSPTEXT };  // 0x81

  explicit SClipboard(HWND owner = nullptr);
  virtual ~SClipboard();

  HWND GetOwner() const { return m_owner; }
  void SetOwner(HWND owner) { m_owner = owner; }

  // Replaces the clipboard's contents by the text; true when the system took
  // the data.
  bool SetText(const char* text);
  // The clipboard's CF_TEXT; empty when there is none or the clipboard
  // cannot be opened.
  SString GetText();
  // Replaces the clipboard's contents by the bytes from the file's position
  // to its end, and moves the position to the end. False, with the clipboard
  // untouched, when no byte remains; false when the clipboard cannot be
  // opened or emptied or the system refuses the data.
  bool SetFileData(SFile* file);

protected:
  // Hands a block to the open clipboard (SetClipboardData); null when the
  // system refused it.
  virtual HANDLE HandOver(UINT format, HGLOBAL block);

private:
  // Opens, empties, hands the block over and closes; the block is freed when
  // the hand-over fails.
  bool Put(UINT format, HGLOBAL block);

  HWND m_owner;
};
