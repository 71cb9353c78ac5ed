// SExternCtrl: the parameter block and the white background.
#include "core/Platform.h"
#include "window/SExternCtrl.h"

#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <string.h>

namespace {

const COLORREF kWhite = 0x00FFFFFF;

}  // namespace

SExternCtrl::SExternCtrl() : m_flag(false) { m_kind = ControlKinds::KIND_EXTERN; }

SExternCtrl::~SExternCtrl() {}

unsigned char* SExternCtrl::BuildParams(int* length) const {
  int count = m_paramNames.GetCount();
  int size = 1;
  for (int i = 0; i < count; ++i) {
    size += m_paramNames.Get(i).GetLength() + m_paramValues.Get(i).GetLength() + 2;
  }
  unsigned char* block = new unsigned char[size];
  int at = 0;
  for (int i = 0; i < count; ++i) {
    for (const SString& text : {m_paramNames.Get(i), m_paramValues.Get(i)}) {
      int n = text.GetLength();
      if (n > 0) memcpy(block + at, text.GetText(), size_t(n));
      at += n;
      block[at++] = 0;
    }
  }
  block[at] = 0;
  if (length) *length = size;
  return block;
}

LRESULT SExternCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SWM_AFTERCREATE) SetBackColor(kWhite);
  if (message == WM_PRINTCLIENT) ContentPaintDC(message, wParam, lParam);
  return SWnd::WindowProc(message, wParam, lParam);
}
