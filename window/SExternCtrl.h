// The place of a control the framework does not implement: a plain white
// window that keeps the external control's name, the file that provides it
// and named parameters, which a host reads. The parameters leave the control
// as one block: for each, its name, a NUL byte, its value, a NUL byte; then
// one final NUL byte.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "window/SWnd.h"

class SExternCtrl : public SWnd {
public:
  SExternCtrl();
  ~SExternCtrl() override;

  // A new block (new[]; the caller deletes it); its length in *length when
  // asked.
  unsigned char* BuildParams(int* length = nullptr) const;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  bool m_flag;
  SString m_externName;  // EXTERN_NAME
  SString m_fileName;    // EXTERN_FILENAME
  SStringArray m_paramNames;
  SStringArray m_paramValues;  // value i belongs to name i
};
