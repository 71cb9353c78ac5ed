// SWnd: the base versions of OnMessage and WindowProc.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "core/SDisk.h"
#include "core/SKeyboard.h"
#include "core/SStringArray.h"
#include "window/ControlKinds.h"
#include "window/Framework.h"
#include "window/SCursor.h"
#include "window/WindowPrivate.h"

#include <new>

namespace {

// The windows that last saw a button pressed: left, middle, right; one set
// for the client area and one for the frame. Shared by all windows.
SWnd* g_clientOwners[3];
SWnd* g_frameOwners[3];

struct ButtonMessages {
  UINT down, up, click;
  WPARAM keyFlag;  // MK_ flag of WM_MOUSEMOVE
  int virtualKey;
};

const ButtonMessages kClientButtons[3] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, SWM_LCLICK, MK_LBUTTON, VK_LBUTTON},
    {WM_MBUTTONDOWN, WM_MBUTTONUP, SWM_MCLICK, MK_MBUTTON, VK_MBUTTON},
    {WM_RBUTTONDOWN, WM_RBUTTONUP, SWM_RCLICK, MK_RBUTTON, VK_RBUTTON},
};

const ButtonMessages kFrameButtons[3] = {
    {WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, SWM_NCLCLICK, 0, VK_LBUTTON},
    {WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, SWM_NCMCLICK, 0, VK_MBUTTON},
    {WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, SWM_NCRCLICK, 0, VK_RBUTTON},
};

// The edit-command keys: modifiers (2 Control, 1 Shift), key, mask bit.
struct EditKey {
  int modifiers;
  UINT key;
  int bit;
};

const EditKey kEditKeys[] = {
    {0, VK_ESCAPE, 10}, {0, VK_DELETE, 4}, {2, 'Z', 0},  {2, 'X', 1},  {2, 'C', 2},
    {2, 'V', 3},        {2, 'A', 5},       {2, 'F', 6},  {2, 'H', 7},  {2, 'G', 8},
    {2, 'P', 9},        {2, 'N', 11},      {2, 'O', 12}, {2, 'S', 13}, {3, 'S', 14},
};

// Command n of the mask.
void (SWnd::*const kEditCommands[15])() = {
    &SWnd::Undo, &SWnd::Cut,   &SWnd::Copy,   &SWnd::Paste, &SWnd::Delete,
    &SWnd::SelectAll, &SWnd::Find, &SWnd::Replace, &SWnd::GoTo, &SWnd::Print,
    &SWnd::Cancel, &SWnd::New, &SWnd::Open,   &SWnd::Save,  &SWnd::SaveAs,
};

struct CtlColorHook {
  UINT message;
  HBRUSH (SWnd::*hook)(HDC);
};

const CtlColorHook kCtlColorHooks[] = {
    {WM_CTLCOLOREDIT, &SWnd::OnCtlColorEdit},
    {WM_CTLCOLORLISTBOX, &SWnd::OnCtlColorListBox},
    {WM_CTLCOLORBTN, &SWnd::OnCtlColorBtn},
    {WM_CTLCOLORDLG, &SWnd::OnCtlColorDlg},
    {WM_CTLCOLORSCROLLBAR, &SWnd::OnCtlColorScrollBar},
    {WM_CTLCOLORSTATIC, &SWnd::OnCtlColorStatic},
};

// Message-built records: a 16-byte header (u32 requested size, i64 closing
// value, 4 reserved bytes), then the data. Sizes above the cap are refused,
// and so is a record beyond the open-record or open-byte limits of a window.
const int kRecordHeader = 16;
const int kRecordSizeCap = 16 * 1024 * 1024;
const int kMaxOpenRecords = 64;
const int kOpenRecordBytesCap = 2 * kRecordSizeCap + 64;

int RecordDataSize(unsigned int requested) {
  return static_cast<int>(requested & ~3u) + 4;
}

// ---------------------------------------------------------------------------
// Keys

// Hands a key to the nearest popup above a window that is not a popup
// itself; the answer, or 0 when there is nobody to ask.
LRESULT TellPopupAncestor(SWnd& wnd, UINT message, WPARAM key) {
  if (StyleOf(wnd.m_hWnd) & WS_POPUP) return 0;
  HWND ancestor = wnd.GetPopupAncestor();
  if (!ancestor) return 0;
  return SWnd::StaticWndProc(ancestor, message, key, ToLParam(&wnd));
}

bool OnKeyDown(SWnd& wnd, WPARAM key, LRESULT& result) {
  int modifiers = GetModifierKeys();
  TellPopupAncestor(wnd, SWM_KEYDOWN, key);
  if (!wnd.m_hWnd) return true;
  if (key == VK_TAB && wnd.m_tabGroup != -1) {
    SWnd* next = wnd.GetNextTabWindow();
    if (next && next != &wnd) {
      if (next->m_hWnd) ::SetFocus(next->m_hWnd);
      result = 0;
      return false;
    }
  }
  if (wnd.m_commandMask == 0) return true;
  for (const EditKey& row : kEditKeys) {
    if (row.key != key || row.modifiers != modifiers) continue;
    if (wnd.m_commandMask & (1u << row.bit)) (wnd.*kEditCommands[row.bit])();
    break;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Caret

void RebuildCaret(SWnd& wnd) {
  if (!wnd.m_caretCreated) return;
  if (wnd.m_caretShown) ::DestroyCaret();
  wnd.m_caretShown = false;
  if (!::CreateCaret(wnd.m_hWnd, nullptr, wnd.m_caretWidth, wnd.m_caretHeight)) return;
  if (wnd.m_caretPosValid) {
    ::SetCaretPos(wnd.m_caretX, wnd.m_caretY);
  } else {
    ::SetCaretPos(-182, -182);
  }
  ::ShowCaret(wnd.m_hWnd);
  wnd.m_caretShown = true;
}

// ---------------------------------------------------------------------------
// Mouse

void ClearOwnersOf(SWnd* wnd) {
  for (int i = 0; i < 3; ++i) {
    if (g_clientOwners[i] == wnd) g_clientOwners[i] = nullptr;
    if (g_frameOwners[i] == wnd) g_frameOwners[i] = nullptr;
  }
}

// A press makes the window the button's owner; the release on the owner is
// a click, a release anywhere else ends the ownership. True when the message
// was one of the table's.
bool TrackButton(SWnd& wnd, UINT message, LPARAM lParam, const ButtonMessages* table,
                 SWnd** owners) {
  for (int i = 0; i < 3; ++i) {
    if (message == table[i].down) {
      owners[i] = &wnd;
      return true;
    }
    if (message == table[i].up) {
      if (owners[i] == &wnd) {
        wnd.SendMessage(table[i].click, 0, lParam);
      } else {
        owners[i] = nullptr;
      }
      return true;
    }
  }
  return false;
}

// The drag target under the cursor and the cursor in its client
// coordinates (x low word, y high word); null and 0 when none.
SWnd* FindDragTarget(SWnd& wnd, LPARAM* point) {
  *point = 0;
  POINT cursor;
  if (!::GetCursorPos(&cursor)) return nullptr;
  HWND under = ::WindowFromPoint(cursor);
  SWnd* target = SWnd::FromHandle(under);
  if (!target || wnd.m_dragTargets.Find(under) < 0) return nullptr;
  ::ScreenToClient(under, &cursor);
  *point = MAKELPARAM(cursor.x, cursor.y);
  return target;
}

void OnMouseMove(SWnd& wnd, WPARAM wParam, LPARAM lParam) {
  for (int i = 0; i < 3; ++i) {
    if (!(wParam & kClientButtons[i].keyFlag)) g_clientOwners[i] = nullptr;
  }

  if (::GetCapture() != wnd.m_hWnd) {
    TRACKMOUSEEVENT query = {sizeof(query), TME_QUERY, nullptr, 0};
    bool tracking = ::TrackMouseEvent(&query) && (query.dwFlags & TME_LEAVE) &&
                    query.hwndTrack == wnd.m_hWnd;
    if (!tracking) {
      wnd.SendMessage(SWM_MOUSEENTER, wParam, lParam);
      if (!wnd.m_hWnd) return;
      TRACKMOUSEEVENT leave = {sizeof(leave), TME_LEAVE, wnd.m_hWnd, 0};
      ::TrackMouseEvent(&leave);
    }
  }

  if (wnd.m_moving) {
    POINT cursor;
    if (::GetCursorPos(&cursor)) {
      HWND parent = ::GetParent(wnd.m_hWnd);
      if ((StyleOf(wnd.m_hWnd) & WS_CHILD) && parent) ::ScreenToClient(parent, &cursor);
      wnd.Move(cursor.x - wnd.m_grabX, cursor.y - wnd.m_grabY);
    }
  }

  if (wnd.m_dragging) {
    LPARAM point;
    SWnd* target = FindDragTarget(wnd, &point);
    if (wnd.SendMessage(SWM_DRAGOVER, ToWParam(target), point) != 0) {
      ::ReleaseCapture();
      wnd.m_dragging = false;
    }
  }
}

void OnLeftButtonDown(SWnd& wnd, LPARAM lParam) {
  if (wnd.m_moveWithMouse && !wnd.m_moving && !::IsZoomed(wnd.m_hWnd) &&
      wnd.SendMessage(SWM_MOVESTART, 0, lParam) == 0 && wnd.m_hWnd) {
    int left = 0, top = 0;
    wnd.GetActualFrameMargins(&left, &top, nullptr, nullptr);
    wnd.m_moving = true;
    wnd.m_grabX = static_cast<short>(LOWORD(lParam)) + left;
    wnd.m_grabY = static_cast<short>(HIWORD(lParam)) + top;
    ::SetCapture(wnd.m_hWnd);
  }
  g_clientOwners[0] = &wnd;
  if (wnd.m_stateImagesOn) {
    wnd.m_pressed = true;
    wnd.Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void OnLeftButtonUp(SWnd& wnd, LPARAM lParam) {
  TrackButton(wnd, WM_LBUTTONUP, lParam, kClientButtons, g_clientOwners);
  if (!wnd.m_hWnd) return;
  if (wnd.m_moving) {
    ::ReleaseCapture();
    wnd.m_moving = false;
    wnd.SendMessage(SWM_MOVEEND, 0, 0);
  }
  if (wnd.m_dragging) {
    ::ReleaseCapture();
    wnd.m_dragging = false;
    LPARAM point;
    SWnd* target = FindDragTarget(wnd, &point);
    wnd.SendMessage(SWM_DROP, ToWParam(target), point);
  }
  if (wnd.m_stateImagesOn && wnd.m_hWnd) {
    wnd.m_pressed = false;
    wnd.Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

// Zones are tracked in window coordinates.
POINT ToWindowPoint(HWND hWnd, POINT screen) {
  RECT rect;
  if (::GetWindowRect(hWnd, &rect)) {
    screen.x -= rect.left;
    screen.y -= rect.top;
  }
  return screen;
}

const RECT* ZoneRect(SWnd& wnd, int index) {
  return wnd.m_zones.ElementAt(index);
}

void OnFrameMouseMove(SWnd& wnd, LPARAM lParam) {
  for (int i = 0; i < 3; ++i) {
    if (!(::GetAsyncKeyState(kFrameButtons[i].virtualKey) & 0x8000)) g_frameOwners[i] = nullptr;
  }
  if (!wnd.m_zonesEnabled) return;
  POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  POINT point = ToWindowPoint(wnd.m_hWnd, screen);
  int zone = wnd.FindZone(point.x, point.y);
  int current = wnd.m_currentZone;
  if (current != -2 && zone == current) {
    wnd.OnZoneMove(ZoneRect(wnd, zone), point.x, point.y, zone);
  } else {
    if (current != -2) {
      const RECT* old = ZoneRect(wnd, current);
      wnd.OnZoneLeave(old, point.x, point.y, old ? current : -1);
    }
    wnd.OnZoneEnter(ZoneRect(wnd, zone), point.x, point.y, zone);
    wnd.m_currentZone = zone;
  }
  if (!wnd.m_hWnd) return;
  TRACKMOUSEEVENT leave = {sizeof(leave), TME_LEAVE | TME_NONCLIENT, wnd.m_hWnd, 0};
  ::TrackMouseEvent(&leave);
}

void OnFrameMouseLeave(SWnd& wnd) {
  if (!wnd.m_zonesEnabled) return;
  POINT point = {0, 0};
  ::GetCursorPos(&point);
  point = ToWindowPoint(wnd.m_hWnd, point);
  const RECT* zone = ZoneRect(wnd, wnd.m_currentZone);
  wnd.OnZoneLeave(zone, point.x, point.y, zone ? wnd.m_currentZone : -1);
  wnd.m_currentZone = -2;
}

// ---------------------------------------------------------------------------
// Control notifications and commands: the row of the control's kind answers.

const SControlKind* KindOf(SWnd* control) {
  return control ? FindControlKind(control->m_kind) : nullptr;
}

bool OnNotify(SWnd& wnd, NMHDR* header, LRESULT& result) {
  if (!header) return true;
  // The window's own tooltip; a tool bar's tips are its own business.
  if (header->code == TTN_GETDISPINFOA && header->hwndFrom && header->hwndFrom == wnd.m_toolTip) {
    ::SendMessageA(header->hwndFrom, TTM_SETMAXTIPWIDTH, 0, 300);
    const char* text = wnd.m_toolTipText.GetText();
    reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = const_cast<char*>(text ? text : "");
    result = 0;
    return false;
  }
  SWnd* control = SWnd::FromHandle(header->hwndFrom);
  const SControlKind* kind = KindOf(control);
  if (!kind || !kind->notify) return true;
  return kind->notify(&wnd, control, header, &result);
}

void OnCommand(SWnd& wnd, WPARAM wParam, LPARAM lParam) {
  SWnd* control = SWnd::FromHandle(reinterpret_cast<HWND>(lParam));
  if (!control || !control->m_hWnd) return;
  const SControlKind* kind = KindOf(control);
  if (kind && kind->command) kind->command(&wnd, control, HIWORD(wParam));
}

// ---------------------------------------------------------------------------
// Dropped files, records, size limits

void OnDropFiles(SWnd& wnd, HDROP drop) {
  SStringArray paths;
  SDisk disk;
  UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char path[261];
    path[0] = 0;
    UINT length = ::DragQueryFileA(drop, i, path, sizeof(path));
    path[length < sizeof(path) ? length : sizeof(path) - 1] = 0;
    if (disk.Exists(path)) {
      paths.Add(SString(path).Concat("\\").GetText());
    } else {
      paths.Add(path);
    }
  }
  ::DragFinish(drop);
  wnd.SendMessage(SWM_DROPFILES, ToWParam(&paths), 0);
}

LRESULT OnRecordBegin(SWnd& wnd, WPARAM id, LPARAM size) {
  if (size <= 0 || size > kRecordSizeCap) return 0;
  unsigned int requested = static_cast<unsigned int>(size);
  int bytes = kRecordHeader + RecordDataSize(requested);
  int count = wnd.m_recordBuffers.GetCount();
  int open = 0, openBytes = 0;
  for (int i = 0; i < count; ++i) {
    if (!wnd.m_recordBuffers[i]) continue;
    ++open;
    openBytes += kRecordHeader + RecordDataSize(wnd.m_recordSizes[i]);
  }
  if (open >= kMaxOpenRecords || bytes > kOpenRecordBytesCap - openBytes) return 0;
  unsigned char* block = new (std::nothrow) unsigned char[bytes];
  if (!block) return 0;
  memset(block, 0, bytes);
  memcpy(block, &requested, 4);
  unsigned char* data = block + kRecordHeader;
  int index = 0;
  while (index < count && (wnd.m_recordBuffers[index] || wnd.m_recordPositions[index])) ++index;
  if (index == count) {
    bool grown = wnd.m_recordBuffers.Add(nullptr) >= 0 && wnd.m_recordSizes.Add(0) >= 0 &&
                 wnd.m_recordPositions.Add(nullptr) >= 0 && wnd.m_recordIds.Add(0) >= 0;
    if (!grown) {
      // The four lists stay of one length.
      if (wnd.m_recordBuffers.GetCount() > count) wnd.m_recordBuffers.RemoveAt(count);
      if (wnd.m_recordSizes.GetCount() > count) wnd.m_recordSizes.RemoveAt(count);
      if (wnd.m_recordPositions.GetCount() > count) wnd.m_recordPositions.RemoveAt(count);
      delete[] block;
      return 0;
    }
  }
  wnd.m_recordBuffers[index] = block;
  wnd.m_recordSizes[index] = requested;
  wnd.m_recordPositions[index] = data;
  wnd.m_recordIds[index] = static_cast<unsigned int>(id);
  return index + 1;
}

// The index of an open record, -1 for any other handle.
int RecordIndex(SWnd& wnd, WPARAM handle) {
  if (handle == 0 || handle > static_cast<WPARAM>(wnd.m_recordBuffers.GetCount())) return -1;
  int index = static_cast<int>(handle) - 1;
  return wnd.m_recordBuffers[index] ? index : -1;
}

void OnRecordAppend(SWnd& wnd, WPARAM handle, LPARAM value) {
  int index = RecordIndex(wnd, handle);
  if (index < 0) return;
  unsigned char* position = wnd.m_recordPositions[index];
  unsigned char* end = wnd.m_recordBuffers[index] + kRecordHeader +
                       RecordDataSize(wnd.m_recordSizes[index]);
  // Values past the data area are refused.
  if (!position || end - position < 4) return;
  uint32_t bits = static_cast<uint32_t>(value);
  position[0] = static_cast<unsigned char>(bits >> 24);
  position[1] = static_cast<unsigned char>(bits >> 16);
  position[2] = static_cast<unsigned char>(bits >> 8);
  position[3] = static_cast<unsigned char>(bits);
  wnd.m_recordPositions[index] = position + 4;
}

void OnRecordEnd(SWnd& wnd, WPARAM handle, LPARAM value) {
  int index = RecordIndex(wnd, handle);
  if (index < 0) return;
  unsigned char* block = wnd.m_recordBuffers[index];
  wnd.m_recordBuffers[index] = nullptr;
  int64_t closing = static_cast<int32_t>(value);
  memcpy(block + 4, &closing, 8);
  wnd.SendMessage(SWM_RECORD, wnd.m_recordIds[index], ToLParam(block));
  wnd.m_recordSizes[index] = 0;
  wnd.m_recordPositions[index] = nullptr;
  wnd.m_recordIds[index] = 0;
  delete[] block;
}

void ApplyTrackSize(LONG& value, int outer, int client, int margins) {
  if (outer >= 0) value = outer;
  if (client >= 0) value = client + margins;
}

void OnGetMinMaxInfo(SWnd& wnd, MINMAXINFO* info) {
  if (!info) return;
  int left = 0, top = 0, right = 0, bottom = 0;
  wnd.GetActualFrameMargins(&left, &top, &right, &bottom);
  ApplyTrackSize(info->ptMinTrackSize.x, wnd.m_minWidth, wnd.m_minClientWidth, left + right);
  ApplyTrackSize(info->ptMinTrackSize.y, wnd.m_minHeight, wnd.m_minClientHeight, top + bottom);
  ApplyTrackSize(info->ptMaxTrackSize.x, wnd.m_maxWidth, wnd.m_maxClientWidth, left + right);
  ApplyTrackSize(info->ptMaxTrackSize.y, wnd.m_maxHeight, wnd.m_maxClientHeight, top + bottom);
}

// ---------------------------------------------------------------------------
// Scrolling

// False when the message is left to the default processing.
bool OnScroll(SWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  bool vertical = message == WM_VSCROLL;
  int line = vertical ? wnd.m_vLineStep : wnd.m_hLineStep;
  int page = vertical ? wnd.m_vPageStep : wnd.m_hPageStep;
  int unit = vertical ? wnd.m_vScrollUnit : wnd.m_hScrollUnit;
  HWND hControl = reinterpret_cast<HWND>(lParam);
  SWnd* control = SWnd::FromHandle(hControl);
  const SControlKind* kind = KindOf(control);
  if (kind && kind->scroll) return kind->scroll(&wnd, control, message, wParam);
  if (!hControl && !wnd.m_previousProc) {
    int bar = vertical ? SB_VERT : SB_HORZ;
    int position = ::GetScrollPos(wnd.m_hWnd, bar);
    int minimum = 0, maximum = 0;
    ::GetScrollRange(wnd.m_hWnd, bar, &minimum, &maximum);
    int target = ScrollTarget(position, minimum, maximum, wParam, line, page, unit);
    if (target != position) {
      if (vertical) {
        wnd.SetScrollPos(target);
      } else {
        wnd.SetHScrollPos(target);
      }
      wnd.SendMessage(vertical ? SWM_VSCROLLED : SWM_HSCROLLED,
                      MAKEWPARAM(position, target), 0);
    }
    return true;
  }
  return false;
}

// Every framework window below this one, each before its own children,
// gets the message with this window's handle.
void TellDescendants(SWnd& wnd, UINT message, WPARAM wParam) {
  SArray<SWnd*> descendants;
  wnd.GetChildren(&descendants, nullptr, true, -1);
  // Handles: a window destroyed by an earlier delivery is skipped.
  SArray<HWND__*> handles;
  for (int i = 0; i < descendants.GetCount(); ++i) handles.Add(descendants[i]->m_hWnd);
  LPARAM self = ToLParam(wnd.m_hWnd);
  for (int i = 0; i < handles.GetCount(); ++i) {
    if (SWnd::FromHandle(handles[i])) ::SendMessageA(handles[i], message, wParam, self);
  }
}

}  // namespace

// The position after a scroll request, rounded down to the unit and kept in
// the range.
int ScrollTarget(int position, int minimum, int maximum, WPARAM request, int line, int page,
                 int unit) {
  switch (LOWORD(request)) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: position = HIWORD(request); break;
    case SB_TOP: position = minimum; break;
    case SB_BOTTOM: position = maximum; break;
  }
  if (unit > 0) position -= position % unit;
  if (position > maximum) position = maximum;
  if (position < minimum) position = minimum;
  return position;
}

void SWnd::ClearButtonOwners() {
  for (int i = 0; i < 3; ++i) {
    g_clientOwners[i] = nullptr;
    g_frameOwners[i] = nullptr;
  }
}

void SWnd::ClearButtonOwners(SWnd* wnd) {
  ClearOwnersOf(wnd);
}

bool SWnd::OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
  switch (message) {
    case WM_DESTROY:
      CancelModal();
      DestroyCaret();
      SetMenu(nullptr);
      ClearOwnersOf(this);
      break;

    case WM_SIZE:
      if (wParam == SIZE_RESTORED) {
        if (!m_normalState) {
          m_normalState = true;
          SendMessage(SWM_RESTORED, 0, 0);
        }
      } else if (wParam == SIZE_MINIMIZED) {
        m_normalState = false;
        SendMessage(SWM_MINIMIZED, 0, 0);
      } else if (wParam == SIZE_MAXIMIZED) {
        m_normalState = false;
        SendMessage(SWM_MAXIMIZED, 0, 0);
      }
      break;

    case WM_SETFOCUS:
      if (m_focusReturn) {
        m_focusReturn = false;
        ::SetFocus(reinterpret_cast<HWND>(wParam));
        result = 0;
        return false;
      }
      RebuildCaret(*this);
      break;

    case WM_KILLFOCUS:
      // Only this window's presses end, so a press that takes the focus still clicks.
      ClearOwnersOf(this);
      if (m_caretShown) {
        ::DestroyCaret();
        m_caretShown = false;
      }
      break;

    case WM_CLOSE: {
      if (!m_modalRunning) break;
      StaticWndProc(m_hWnd, SWM_MODALESCAPE, 0, 0);
      // The outermost popup above the window gets its input back before the
      // window hides, so that it becomes the active window again.
      HWND outermost = nullptr;
      for (HWND hWnd = ::GetParent(m_hWnd); hWnd; hWnd = ::GetParent(hWnd)) {
        if (StyleOf(hWnd) & WS_POPUP) outermost = hWnd;
      }
      if (FromHandle(outermost)) ::EnableWindow(outermost, TRUE);
      ::ShowWindow(m_hWnd, SW_HIDE);
      result = 0;
      return false;
    }

    case WM_ERASEBKGND:
      // Subclassed controls keep their own erase unless they ask for ours.
      if (!m_previousProc || m_eraseFlag) lParam = BeginErase(reinterpret_cast<HDC>(wParam));
      break;

    case WM_SETCURSOR:
      if (!m_cursorVisible) {
        ::SetCursor(nullptr);
        result = 0;
        return false;
      }
      if (m_cursor) {
        result = 1;
        ::SetCursor(m_cursor);
        return false;
      }
      break;

    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(*this, reinterpret_cast<MINMAXINFO*>(lParam));
      break;

    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      // The rows of the kinds answer for their items (menus among them).
      for (int i = 0; i < GetControlKindCount(); ++i) {
        const SControlKind* kind = GetControlKind(i);
        bool done = message == WM_MEASUREITEM
                        ? kind->measure && lParam &&
                              kind->measure(this, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))
                        : kind->draw && lParam &&
                              kind->draw(this, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        if (done) {
          result = 1;
          return false;
        }
      }
      break;

    case WM_SETFONT:
      m_font = reinterpret_cast<HFONT>(wParam);
      break;

    case WM_GETFONT:
      WindowProc(message, wParam, lParam);
      result = reinterpret_cast<LRESULT>(m_font);
      return false;

    case WM_NOTIFY:
      return OnNotify(*this, reinterpret_cast<NMHDR*>(lParam), result);

    case WM_STYLECHANGED:
      UpdateFrameFlags(StyleOf(m_hWnd), static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
      break;

    case WM_NCMOUSEMOVE:
      OnFrameMouseMove(*this, lParam);
      break;

    case WM_NCMOUSELEAVE:
      OnFrameMouseLeave(*this);
      break;

    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMBUTTONUP:
    case WM_NCRBUTTONUP:
      TrackButton(*this, message, lParam, kFrameButtons, g_frameOwners);
      break;

    case WM_KEYDOWN:
      return OnKeyDown(*this, wParam, result);

    case WM_SYSKEYDOWN:
      if (TellPopupAncestor(*this, SWM_SYSKEYDOWN, wParam) == -1) {
        result = 0;
        return false;
      }
      break;

    case WM_COMMAND:
      if (lParam) OnCommand(*this, wParam, lParam);
      break;

    case WM_INITMENUPOPUP:
      ::SetCursor(GetFrameworkCursor(0));
      break;

    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      SWnd* control = FromHandle(reinterpret_cast<HWND>(lParam));
      if (!control || !control->m_hWnd) break;
      for (const CtlColorHook& row : kCtlColorHooks) {
        if (row.message != message) continue;
        HBRUSH brush = (control->*row.hook)(reinterpret_cast<HDC>(wParam));
        if (brush) {
          result = reinterpret_cast<LRESULT>(brush);
          return false;
        }
        break;
      }
      break;
    }

    case WM_MOUSEMOVE:
      OnMouseMove(*this, wParam, lParam);
      break;

    case WM_LBUTTONDOWN:
      OnLeftButtonDown(*this, lParam);
      break;

    case WM_LBUTTONUP:
      OnLeftButtonUp(*this, lParam);
      break;

    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
      TrackButton(*this, message, lParam, kClientButtons, g_clientOwners);
      break;

    case WM_MOUSELEAVE:
      SendMessage(SWM_MOUSELEAVE, 0, 0);
      break;

    case WM_DROPFILES:
      // The list is built and the drop released: the handle is gone.
      OnDropFiles(*this, reinterpret_cast<HDROP>(wParam));
      result = 0;
      return false;

    case SWM_RECORD_BEGIN:
      result = OnRecordBegin(*this, wParam, lParam);
      return false;

    case SWM_RECORD_APPEND:
      OnRecordAppend(*this, wParam, lParam);
      break;

    case SWM_RECORD_END:
      OnRecordEnd(*this, wParam, lParam);
      break;

    case SWM_AFTERCREATE:
      OnAfterCreate();
      break;

    case SWM_PARENTSIZED:
      if (m_alignMask) {
        HWND parent = ApplyAutoAlign();
        if (parent) ::SendMessageA(parent, SWM_CHILDALIGNED, ToWParam(this), 0);
      }
      break;

    case SWM_MOUSEENTER:
      if (m_stateImagesOn) {
        if (!(wParam & MK_LBUTTON)) m_pressed = false;
        m_hover = true;
        Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      }
      break;

    case SWM_MOUSELEAVE:
      if (m_stateImagesOn) {
        m_hover = false;
        Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      }
      break;
  }
  return true;
}

void SWnd::OnAfterCreate() {
  m_eraseDepth = 0;
  if (m_kind == 0) SetBackColor(::GetSysColor(COLOR_BTNFACE));
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(g_defaultFont), TRUE);
  m_cursorVisible = true;
  m_cursor = nullptr;
  m_normalState = !::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd);
  m_focusReturn = false;
}

LRESULT SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY: {
      SetMenu(nullptr);
      SetBackgroundImage(nullptr, SImage::COLOR_NONE);
      LRESULT result = CallDefaultProc(message, wParam, lParam);
      // Out of the map before the handle is cleared, so that the sorted map
      // never holds a window without a handle.
      ReleaseWindow(FindRecord(m_threadId), this, m_hWnd);
      m_hWnd = nullptr;
      return result;
    }

    case WM_MOVE:
    case WM_SIZE: {
      LRESULT result = CallDefaultProc(message, wParam, lParam);
      TellDescendants(*this, message == WM_MOVE ? SWM_PARENTMOVED : SWM_PARENTSIZED, wParam);
      return result;
    }

    case WM_ERASEBKGND:
      if (!m_previousProc || m_eraseFlag) return EndErase(reinterpret_cast<HDC>(wParam), lParam);
      break;

    case WM_MENUCOMMAND:
      for (int i = 0; i < GetControlKindCount(); ++i) {
        const SControlKind* kind = GetControlKind(i);
        if (kind->menuCommand &&
            kind->menuCommand(this, reinterpret_cast<HMENU>(lParam), static_cast<int>(wParam))) {
          break;
        }
      }
      break;

    case WM_HSCROLL:
    case WM_VSCROLL:
      if (OnScroll(*this, message, wParam, lParam)) return 0;
      break;

    case WM_ENTERSIZEMOVE:
      m_sizeMove = true;
      break;

    case WM_EXITSIZEMOVE:
      m_sizeMove = false;
      Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      break;

    case SWM_AFTERCREATE:
      if (m_previousProc) return CallDefaultProc(message, wParam, lParam);
      return 0;

    case SWM_MODALSTART:
      return 0;

    case SWM_MODALRETURN:
      EndModal();
      break;

    case SWM_MODALESCAPE:
      CancelModal();
      break;
  }
  return CallDefaultProc(message, wParam, lParam);
}
