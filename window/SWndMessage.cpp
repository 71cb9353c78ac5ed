// SWnd: the base versions of OnMessage and WindowProc, keys, the caret, track
// sizes and the notices to descendants; the other aspects are in SWndMouse,
// SWndNotify and SWndRecord.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "core/SKeyboard.h"
#include "window/ControlKinds.h"
#include "window/Framework.h"
#include "window/SCursor.h"
#include "window/WindowPrivate.h"


namespace {

using namespace WindowPrivate;

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
      TrackFrameButton(*this, message, lParam);
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
      TrackClientButton(*this, message, lParam);
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
