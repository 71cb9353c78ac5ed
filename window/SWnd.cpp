// SWnd: construction, creation, the window-handle map, the one window
// procedure, modal runs and the window tree.
#include "core/Platform.h"
#include "window/SWnd.h"

#include "window/Framework.h"
#include "window/SCursor.h"
#include "window/WindowPrivate.h"

namespace {

const int kThreadSlots = 256;

// The window-handle map: one record per thread slot, null when empty.
SWnd::_SThreadRecord* g_handleMap[kThreadSlots];

bool HandleAbove(HWND a, HWND b) {
  return reinterpret_cast<uintptr_t>(a) > reinterpret_cast<uintptr_t>(b);
}

// The first position of the sorted list whose handle is not below the handle.
int HandlePosition(const SArray<SWnd*>& list, HWND hWnd) {
  int low = 0, high = list.GetCount();
  while (high > low) {
    int middle = (low + high) / 2;
    if (HandleAbove(hWnd, list[middle]->m_hWnd)) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

}  // namespace

// The members ResetState sets are set there only.
SWnd::SWnd()
    : m_hWnd(nullptr),
      m_kind(0),
      m_recordId(0),
      m_alignParentWidth(0),
      m_alignParentHeight(0),
      m_eraseDepth(0),
      m_modalResult(0),
      m_cursorVisible(false),
      m_cursor(nullptr),
      m_stateImages(nullptr),
      m_shapeKey(SImage::COLOR_NONE),
      m_hollowRedraw(false),
      m_toolTip(nullptr) {
  ::SetRectEmpty(&m_workArea);
  ::SetRectEmpty(&m_alignRect);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_workArea, 0);
  ::SetRectEmpty(&m_nineSlice);
  ResetState();
  SetBackColor(SImage::COLOR_NONE);
}

SWnd::~SWnd() {
  if (m_hWnd) {
    HWND hWnd = m_hWnd;
    ::ShowWindow(hWnd, SW_HIDE);
    if (::DestroyWindow(hWnd)) m_hWnd = nullptr;
  }
  // A window that could not be destroyed must not lead to this object.
  if (m_hWnd) {
    ReleaseWindow(FindRecord(m_threadId), this, m_hWnd);
  } else {
    DetachHandle(this);
  }
  if (m_toolTip && ::IsWindow(m_toolTip)) ::DestroyWindow(m_toolTip);
  m_toolTip = nullptr;
  ClearButtonOwners(this);
  FreeStateImages();
  for (int i = 0; i < m_recordBuffers.GetCount(); ++i) delete[] m_recordBuffers[i];
}

void SWnd::ResetState() {
  m_threadId = 0;
  m_previousProc = nullptr;
  m_eraseFlag = false;
  m_redraw = true;
  m_modalExempt = false;
  m_modalReturn = true;
  m_modalEscape = true;
  m_modalRunning = false;
  m_minWidth = ::GetSystemMetrics(SM_CXMIN);
  m_minHeight = ::GetSystemMetrics(SM_CYMIN);
  m_maxWidth = -1;
  m_maxHeight = -1;
  m_minClientWidth = -1;
  m_minClientHeight = -1;
  m_maxClientWidth = -1;
  m_maxClientHeight = -1;
  m_hasBorder = false;
  m_hasSystemMenu = false;
  m_moveWithMouse = false;
  m_alignMask = 0;
  m_hLineStep = 1;
  m_vLineStep = 1;
  m_hPageStep = 10;
  m_vPageStep = 10;
  m_hScrollUnit = 1;
  m_vScrollUnit = 1;
  m_font = nullptr;
  m_commandMask = 0;
  m_normalState = true;
  m_focusReturn = false;
  m_sizeMove = false;
  m_caretCreated = false;
  m_caretShown = false;
  m_caretWidth = 1;
  m_caretHeight = 0;
  m_caretPosValid = false;
  m_caretX = 0;
  m_caretY = 0;
  m_zonesEnabled = false;
  m_currentZone = -2;
  m_moving = false;
  m_grabX = 0;
  m_grabY = 0;
  FreeStateImages();
  m_tabGroup = -1;
  m_childCounter = 0;
  m_tabIndex = 0;
  m_stateImagesOn = false;
  m_hover = false;
  m_pressed = false;
  m_checked = false;
  m_dragging = false;
  m_dragTargets.RemoveAll();
  if (m_toolTip && ::IsWindow(m_toolTip)) ::DestroyWindow(m_toolTip);
  m_toolTip = nullptr;
  m_toolTipText.Empty();
}

void SWnd::FreeStateImages() {
  delete[] m_stateImages;
  m_stateImages = nullptr;
}

LRESULT SWnd::PrintTo(HDC dc, LPARAM flags) {
  if (!m_hWnd) return 0;
  return ::SendMessageA(m_hWnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
}

void SWnd::SetBackColor(COLORREF color) {
  m_backColor = color;
  m_backgroundImage.m_backColor = color;
}

COLORREF SWnd::GetBackColor() {
  return m_backColor;
}

void SWnd::Undo() {}
void SWnd::Cut() {}
void SWnd::Copy() {}
void SWnd::Paste() {}
void SWnd::Delete() {}
void SWnd::SelectAll() {}
void SWnd::Find() {}
void SWnd::Replace() {}
void SWnd::GoTo() {}
void SWnd::Print() {}
void SWnd::Cancel() {}
void SWnd::New() {}
void SWnd::Open() {}
void SWnd::Save() {}
void SWnd::SaveAs() {}

HBRUSH SWnd::OnCtlColorDlg(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorBtn(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorEdit(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorListBox(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorScrollBar(HDC) { return nullptr; }
HBRUSH SWnd::OnCtlColorStatic(HDC) { return nullptr; }

void SWnd::OnZoneEnter(const RECT*, int, int, int) {}
void SWnd::OnZoneMove(const RECT*, int, int, int) {}
void SWnd::OnZoneLeave(const RECT*, int, int, int) {}

// ---------------------------------------------------------------------------
// Window classes and creation

void SWnd::RegisterClasses() {
  WNDCLASSA wc;
  memset(&wc, 0, sizeof(wc));
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = StaticWndProc;
  wc.hInstance = GetInstanceHandle();
  wc.hCursor = GetFrameworkCursor(0);
  wc.lpszClassName = "VANDRO";
  ::RegisterClassA(&wc);
  wc.style |= CS_NOCLOSE;
  wc.lpszClassName = "VANDRO2";
  ::RegisterClassA(&wc);
  ClearButtonOwners();
}

bool SWnd::Create(const char* title, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                  HMENU menuOrId, void* createParam, HINSTANCE instance, bool noClose) {
  return CreateWindowOf(noClose ? "VANDRO2" : "VANDRO", false, title, style, exStyle, rect,
                        parent, menuOrId, createParam, instance);
}

bool SWnd::CreateControl(const char* className, const char* title, DWORD style, DWORD exStyle,
                         const RECT* rect, HWND parent, HMENU menuOrId, void* createParam,
                         HINSTANCE instance) {
  return CreateWindowOf(className, true, title, style, exStyle, rect, parent, menuOrId,
                        createParam, instance);
}

bool SWnd::CreateButton(DWORD style, const char* title, DWORD exStyle, const RECT* rect,
                        HWND parent, HMENU menuOrId) {
  if (!(style & WS_POPUP)) style |= WS_CHILD;
  return CreateControl("BUTTON", title, style, exStyle, rect, parent, menuOrId, nullptr,
                       GetInstanceHandle());
}

void SWnd::UpdateFrameFlags(DWORD style, DWORD exStyle) {
  m_hasBorder = (style & (WS_BORDER | WS_THICKFRAME)) != 0 ||
                (exStyle & (WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE)) != 0;
  m_hasSystemMenu = (style & WS_SYSMENU) != 0 && (style & WS_CAPTION) != 0;
}

bool SWnd::CreateWindowOf(const char* className, bool subclass, const char* title, DWORD style,
                          DWORD exStyle, const RECT* rect, HWND parent, HMENU menuOrId,
                          void* createParam, HINSTANCE instance) {
  if (m_hWnd) return false;
  ResetState();
  if (parent) {
    SWnd* owner = FromHandle(parent);
    if (owner) m_tabIndex = owner->m_childCounter++;
  }
  bool visible = (style & WS_VISIBLE) != 0;
  style &= ~WS_VISIBLE;
  if (!parent) style |= WS_POPUP;
  UpdateFrameFlags(style, exStyle);
  int x = 0, y = 0, width = 0, height = 0;
  if (rect) {
    x = rect->left;
    y = rect->top;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
  }
  m_previousProc = nullptr;
  m_eraseFlag = false;
  if (!instance) instance = GetInstanceHandle();

  HWND hWnd = ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                menuOrId, instance, createParam);
  if (!hWnd) return false;
  m_hWnd = hWnd;
  m_threadId = ::GetWindowThreadProcessId(hWnd, nullptr);
  // Without a map record the window stays unattached; a control then keeps
  // its own procedure.
  if (AttachHandle(this) && subclass) {
    m_previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc)));
  }

  if (StaticWndProc(hWnd, SWM_AFTERCREATE, 0, reinterpret_cast<LPARAM>(createParam)) != 0) {
    ::ShowWindow(hWnd, SW_HIDE);
    if (::DestroyWindow(hWnd) && m_hWnd == hWnd) m_hWnd = nullptr;
    return false;
  }
  if (visible && m_hWnd) ::ShowWindow(m_hWnd, SW_SHOW);
  return true;
}

// ---------------------------------------------------------------------------
// The handle map and the window procedure

void SWnd::CreateHandleMap() {
  FreeHandleMap();
  _SThreadRecord* record = new _SThreadRecord;
  record->threadId = ::GetCurrentThreadId();
  g_handleMap[0] = record;
}

void SWnd::FreeHandleMap() {
  for (int i = 0; i < kThreadSlots; ++i) {
    delete g_handleMap[i];
    g_handleMap[i] = nullptr;
  }
}

SWnd::_SThreadRecord* SWnd::FindRecord(DWORD threadId) {
  for (int i = 0; i < kThreadSlots; ++i) {
    if (g_handleMap[i] && g_handleMap[i]->threadId == threadId) return g_handleMap[i];
  }
  return nullptr;
}

SWnd* SWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  _SThreadRecord* record = FindRecord(::GetWindowThreadProcessId(hWnd, nullptr));
  if (!record) return nullptr;
  SArray<SWnd*>& list = record->windows;
  int at = HandlePosition(list, hWnd);
  return at < list.GetCount() && list[at]->m_hWnd == hWnd ? list[at] : nullptr;
}

bool SWnd::AttachHandle(SWnd* wnd) {
  if (!wnd || !wnd->m_hWnd) return false;
  _SThreadRecord* record = FindRecord(wnd->m_threadId);
  if (!record) return false;
  SArray<SWnd*>& list = record->windows;
  int at = HandlePosition(list, wnd->m_hWnd);
  // After the windows of the same handle (none in a sound map).
  while (at < list.GetCount() && list[at]->m_hWnd == wnd->m_hWnd) ++at;
  return list.InsertAt(wnd, at) >= 0;
}

int SWnd::GetThreadWindowCount() {
  _SThreadRecord* record = FindRecord(::GetCurrentThreadId());
  return record ? record->windows.GetCount() : 0;
}

bool SWnd::DetachHandle(SWnd* wnd) {
  if (!wnd) return false;
  _SThreadRecord* record = FindRecord(wnd->m_threadId);
  if (!record) return false;
  record->windows.RemoveValue(wnd);
  return true;
}

void SWnd::ReleaseWindow(_SThreadRecord* record, SWnd* wnd, HWND hWnd) {
  // Also when a class kept WM_DESTROY from the base handling.
  ClearButtonOwners(wnd);
  // An object no longer in the map has been released already or deleted by
  // a handler: it is not touched.
  if (!record || record->windows.RemoveValue(wnd) == 0) return;
  if (wnd->m_previousProc &&
      ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(StaticWndProc)) {
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_previousProc));
  }
  if (wnd->m_hWnd == hWnd) wnd->m_hWnd = nullptr;
}

LRESULT SWnd::Deliver(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  SWnd* wnd = FromHandle(hWnd);
  if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
  LRESULT result = 0;
  if (wnd->OnMessage(message, wParam, lParam, result)) {
    result = wnd->WindowProc(message, wParam, lParam);
  }
  return result;
}

LRESULT CALLBACK SWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_DESTROY) return Deliver(hWnd, message, wParam, lParam);
  SWnd* wnd = FromHandle(hWnd);
  if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
  _SThreadRecord* record = FindRecord(wnd->m_threadId);
  LRESULT result = 0;
  if (wnd->OnMessage(message, wParam, lParam, result)) {
    result = wnd->WindowProc(message, wParam, lParam);
  }
  // Whatever the handlers answered, the object leaves the map with its
  // window, so a later window with the same handle never finds it.
  ReleaseWindow(record, wnd, hWnd);
  return result;
}

// ---------------------------------------------------------------------------
// Modal runs

void SWnd::SetModalResult(int result) {
  if (!m_modalRunning) return;
  m_modalResult = result;
  m_modalRunning = false;
}

void SWnd::CancelModal() {
  SetModalResult(-1);
}

// ---------------------------------------------------------------------------
// Window tree

int SWnd::GetSiblings(SArray<SWnd*>* output, int kind) {
  if (!m_hWnd || !output) return 0;
  _SThreadRecord* record = FindRecord(m_threadId);
  if (!record) return 0;
  HWND parent = ::GetParent(m_hWnd);
  int added = 0;
  for (int i = 0; i < record->windows.GetCount(); ++i) {
    SWnd* wnd = record->windows[i];
    if (wnd == this || !wnd->m_hWnd || ::GetParent(wnd->m_hWnd) != parent) continue;
    if (kind != -1 && wnd->m_kind != kind) continue;
    output->Add(wnd);
    ++added;
  }
  return added;
}

int SWnd::GetChildren(SArray<SWnd*>* output, SArray<SWnd*>* exclude, bool recursive, int kind) {
  if (!m_hWnd || !output) return 0;
  _SThreadRecord* record = FindRecord(m_threadId);
  if (!record) return 0;
  int added = 0;
  for (int i = 0; i < record->windows.GetCount(); ++i) {
    SWnd* wnd = record->windows[i];
    if (!wnd->m_hWnd || ::GetParent(wnd->m_hWnd) != m_hWnd) continue;
    if (exclude && exclude->Find(wnd) >= 0) continue;
    if (kind == -1 || wnd->m_kind == kind) {
      output->Add(wnd);
      ++added;
    }
    if (recursive) added += wnd->GetChildren(output, exclude, true, kind);
  }
  return added;
}

int SWnd::GetTopLevelPopups(SArray<SWnd*>* output) {
  if (!m_hWnd || !output) return 0;
  _SThreadRecord* record = FindRecord(m_threadId);
  if (!record) return 0;
  int added = 0;
  for (int i = 0; i < record->windows.GetCount(); ++i) {
    SWnd* wnd = record->windows[i];
    if (!wnd->m_hWnd || !(StyleOf(wnd->m_hWnd) & WS_POPUP) || ::GetParent(wnd->m_hWnd)) continue;
    output->Add(wnd);
    ++added;
  }
  return added;
}

HWND SWnd::GetPopupAncestor() {
  if (!m_hWnd) return nullptr;
  for (HWND hWnd = ::GetParent(m_hWnd); hWnd; hWnd = ::GetParent(hWnd)) {
    if (StyleOf(hWnd) & WS_POPUP) return hWnd;
  }
  return nullptr;
}

SWnd* SWnd::GetNextTabWindow() {
  if (m_tabGroup == -1) return this;
  SArray<SWnd*> siblings;
  if (GetSiblings(&siblings, -1) == 0) return this;
  for (int pass = 0; pass < 2; ++pass) {
    SWnd* best = nullptr;
    for (int i = 0; i < siblings.GetCount(); ++i) {
      SWnd* wnd = siblings[i];
      if (wnd->m_tabGroup != m_tabGroup) continue;
      if (wnd->m_tabIndex == m_tabIndex) return wnd;
      bool wanted = pass == 0 ? wnd->m_tabIndex > m_tabIndex : wnd->m_tabIndex < m_tabIndex;
      if (!wanted || !::IsWindowVisible(wnd->m_hWnd) || !::IsWindowEnabled(wnd->m_hWnd)) continue;
      if (!best || wnd->m_tabIndex < best->m_tabIndex) best = wnd;
    }
    if (best) return best;
  }
  return this;
}

HWND SWnd::GetParent() {
  return m_hWnd ? ::GetParent(m_hWnd) : nullptr;
}

LRESULT SWnd::NotifyParent(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND parent = GetParent();
  if (!parent) return 0;
  return ::SendMessageA(parent, message, wParam, lParam);
}

LRESULT SWnd::NotifyParent(SWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return wnd ? wnd->NotifyParent(message, wParam, lParam) : 0;
}

bool SWnd::StopTimer(SWnd* wnd) {
  return wnd && wnd->m_hWnd && ::KillTimer(wnd->m_hWnd, 1);
}

bool SWnd::Close() {
  return PostMessage(WM_CLOSE, 0, 0);
}
