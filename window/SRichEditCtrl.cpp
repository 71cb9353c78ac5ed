// SRichEditCtrl: loading, printing into a DC, changes at the parent.
#include "core/Platform.h"
#include "window/SRichEditCtrl.h"

#include "core/SFile.h"
#include "window/ControlKinds.h"
#include "window/WindowPrivate.h"

#include <richedit.h>
#include <string.h>

namespace {

const int kTwipsPerInch = 1440;

void RichEditCommand(SWnd* parent, SWnd* control, UINT code) {
  if (code == EN_CHANGE) parent->SendMessage(SWM_RICHEDITCHANGED, ToWParam(control), 0);
}

const SControlKind kRichEditKind = {ControlKinds::KIND_RICHEDIT, CUT_CLIP, RichEditCommand};
const bool kRichEditKindRegistered = RegisterControlKind(&kRichEditKind);

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  SFile* file = reinterpret_cast<SFile*>(cookie);
  int n = wanted > 0 ? file->Read(buffer, int(wanted)) : 0;
  *given = n > 0 ? n : 0;
  return 0;
}

int ToTwips(int pixels, int perInch) {
  return perInch > 0 ? MulDiv(pixels, kTwipsPerInch, perInch) : 0;
}

// The content rendered into the DC over the control's formatting rectangle.
void PrintContent(SWnd* control, HDC dc) {
  RECT client;
  ::GetClientRect(control->m_hWnd, &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
  RECT format = client;
  control->SendMessage(EM_GETRECT, 0, ToLParam(&format));
  int x = ::GetDeviceCaps(dc, LOGPIXELSX), y = ::GetDeviceCaps(dc, LOGPIXELSY);
  FORMATRANGE range;
  memset(&range, 0, sizeof(range));
  range.hdc = range.hdcTarget = dc;
  range.rc = {ToTwips(format.left, x), ToTwips(format.top, y), ToTwips(format.right, x),
              ToTwips(format.bottom, y)};
  range.rcPage = range.rc;
  range.chrg.cpMin = 0;
  range.chrg.cpMax = -1;
  control->SendMessage(EM_FORMATRANGE, TRUE, ToLParam(&range));
  control->SendMessage(EM_FORMATRANGE, FALSE, 0);
}

}  // namespace

SRichEditCtrl::SRichEditCtrl() { m_kind = ControlKinds::KIND_RICHEDIT; }

SRichEditCtrl::~SRichEditCtrl() {}

bool SRichEditCtrl::LoadFromFile(SFile* file) {
  if (!file || !m_hWnd) return false;
  SetText("");
  EDITSTREAM stream;
  memset(&stream, 0, sizeof(stream));
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(file);
  stream.pfnCallback = ReadChunk;
  SendMessage(EM_STREAMIN, SF_TEXT, ToLParam(&stream));
  return true;
}

LRESULT SRichEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == SWM_AFTERCREATE) {
    SendMessage(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SCROLL | ENM_KEYEVENTS | ENM_MOUSEEVENTS);
  }
  if (message == WM_PRINTCLIENT && wParam) {
    PrintContent(this, reinterpret_cast<HDC>(wParam));
    return 0;
  }
  if (!ForwardMouse(this, SWM_RICHEDITMOUSE, message, lParam)) return 0;
  return SWnd::WindowProc(message, wParam, lParam);
}
