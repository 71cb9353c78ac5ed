// SSplitterCtrl: the grid, fitting and placing the panes, bars and dragging.
#include "core/Platform.h"
#include "window/SSplitterCtrl.h"

#include "window/ControlKinds.h"
#include "window/SCursor.h"
#include "window/WindowPrivate.h"

namespace {

const int kBar = 4;
// Grids from dialog texts are kept within this many columns and rows.
const int kMaxGrid = 32;
const UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE;

const SControlKind kSplitterKind = {ControlKinds::KIND_SPLITTER};
const bool kSplitterKindRegistered = RegisterControlKind(&kSplitterKind);

int Sum(const SArray<int>& sizes, int count) {
  int sum = 0;
  for (int i = 0; i < count && i < sizes.GetCount(); ++i) sum += sizes[i];
  return sum;
}

// Cuts sizes that pass the total, and gives a shortfall to the last one.
void Fit(SArray<int>& sizes, int total) {
  int used = 0;
  for (int i = 0; i < sizes.GetCount(); ++i) {
    if (used + sizes[i] > total) sizes[i] = total - used > 0 ? total - used : 0;
    used += sizes[i];
  }
  if (used < total && sizes.GetCount() > 0) sizes[sizes.GetCount() - 1] += total - used;
}

}  // namespace

SSplitterCtrl::_SWnd::~_SWnd() {
  if (m_hWnd) {
    for (HWND child = ::GetTopWindow(m_hWnd); child;) {
      HWND next = ::GetWindow(child, GW_HWNDNEXT);
      if (FromHandle(child)) {
        ::ShowWindow(child, SW_HIDE);
        ::SetParent(child, nullptr);
      }
      child = next;
    }
  }
}

LRESULT SSplitterCtrl::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (m_owner && !m_owner->OnChildMessage(m_self, message, wParam, lParam, &result)) return result;
  return SWnd::WindowProc(message, wParam, lParam);
}

SSplitterCtrl::SSplitterCtrl()
    : m_paneColor(::GetSysColor(COLOR_WINDOW)),
      m_barWidth(kBar),
      m_barHeight(kBar),
      m_columns(0),
      m_rows(0) {
  m_kind = ControlKinds::KIND_SPLITTER;
}

SSplitterCtrl::~SSplitterCtrl() { FreePanes(); }

bool SSplitterCtrl::OnChildMessage(_SWnd*, UINT, WPARAM, LPARAM, LRESULT*) { return true; }

void SSplitterCtrl::FreePanes() {
  SArray<_SWnd*> panes;
  panes = m_panes;
  m_panes.RemoveAll();
  for (int i = 0; i < panes.GetCount(); ++i) delete panes[i];
  m_widths.RemoveAll();
  m_heights.RemoveAll();
  m_columns = m_rows = 0;
}

void SSplitterCtrl::GetUsableSize(int* width, int* height) {
  RECT client = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  *width = client.right - (m_columns > 0 ? m_columns - 1 : 0) * m_barWidth;
  *height = client.bottom - (m_rows > 0 ? m_rows - 1 : 0) * m_barHeight;
  if (*width < 0) *width = 0;
  if (*height < 0) *height = 0;
}

bool SSplitterCtrl::SetGrid(int columns, int rows) {
  if (columns < 1 || rows < 1 || columns > kMaxGrid || rows > kMaxGrid || !m_hWnd) return false;
  FreePanes();
  m_columns = columns;
  m_rows = rows;
  for (int i = 0; i < columns * rows; ++i) {
    _SWnd* pane = new _SWnd(this);
    RECT empty = {0, 0, 0, 0};
    if (pane->Create("", WS_CHILD | WS_VISIBLE, 0, &empty, m_hWnd)) pane->SetBackColor(m_paneColor);
    m_panes.Add(pane);
  }
  int width, height;
  GetUsableSize(&width, &height);
  for (int c = 0; c < columns; ++c) m_widths.Add(width / columns);
  for (int r = 0; r < rows; ++r) m_heights.Add(height / rows);
  FitSizes();
  return true;
}

SSplitterCtrl::_SWnd* SSplitterCtrl::GetPane(int column, int row) {
  if (column < 0 || column >= m_columns || row < 0 || row >= m_rows) return nullptr;
  return m_panes[row * m_columns + column];
}

RECT SSplitterCtrl::PaneRect(int column, int row) {
  int x = Sum(m_widths, column) + column * m_barWidth;
  int y = Sum(m_heights, row) + row * m_barHeight;
  int width = column < m_widths.GetCount() ? m_widths[column] : 0;
  int height = row < m_heights.GetCount() ? m_heights[row] : 0;
  return RECT{x, y, x + width, y + height};
}

void SSplitterCtrl::FitSizes() {
  int width, height;
  GetUsableSize(&width, &height);
  if (width > 0 && height > 0) {
    Fit(m_widths, width);
    Fit(m_heights, height);
  }
  PlacePanes();
}

void SSplitterCtrl::PlacePanes() {
  if (!m_hWnd) return;
  bool visible = ::IsWindowVisible(m_hWnd) != 0;
  if (visible) SendMessage(WM_SETREDRAW, FALSE);
  for (int r = 0; r < m_rows; ++r) {
    for (int c = 0; c < m_columns; ++c) {
      _SWnd* pane = GetPane(c, r);
      RECT rect = PaneRect(c, r);
      if (pane && pane->m_hWnd) {
        ::SetWindowPos(pane->m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                       rect.bottom - rect.top, kPlaceFlags);
      }
    }
  }
  if (visible) SendMessage(WM_SETREDRAW, TRUE);
  Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

RECT SSplitterCtrl::BarRect(int bar) {
  RECT client = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  if (bar >= 0 && bar < m_columns - 1) {
    int x = Sum(m_widths, bar + 1) + bar * m_barWidth;
    return RECT{x, 0, x + m_barWidth, client.bottom};
  }
  int row = bar - (m_columns > 0 ? m_columns - 1 : 0);
  if (row >= 0 && row < m_rows - 1) {
    int y = Sum(m_heights, row + 1) + row * m_barHeight;
    return RECT{0, y, client.right, y + m_barHeight};
  }
  return RECT{0, 0, 0, 0};
}

int SSplitterCtrl::HitBar(POINT point) {
  int bars = (m_columns > 0 ? m_columns - 1 : 0) + (m_rows > 0 ? m_rows - 1 : 0);
  for (int bar = 0; bar < bars; ++bar) {
    RECT rect = BarRect(bar);
    if (::PtInRect(&rect, point)) return bar;
  }
  return -1;
}

void SSplitterCtrl::DragSizes(int a, int b, int d, int* first, int* second) {
  if (d > b) {
    *first = a + b;
    *second = 0;
  } else if (d < -a) {
    *first = 0;
    *second = a + b;
  } else {
    *first = a + d;
    *second = b - d;
  }
}

void SSplitterCtrl::DragBar(int bar, int a, int b, int d) {
  bool column = bar < m_columns - 1;
  SArray<int>& sizes = column ? m_widths : m_heights;
  int index = column ? bar : bar - (m_columns - 1);
  if (bar < 0 || index < 0 || index + 1 >= sizes.GetCount()) return;
  DragSizes(a, b, d, &sizes[index], &sizes[index + 1]);
  PlacePanes();
}

void SSplitterCtrl::TrackBar(int bar, POINT press) {
  bool column = bar < m_columns - 1;
  SArray<int>& sizes = column ? m_widths : m_heights;
  int index = column ? bar : bar - (m_columns - 1);
  if (index < 0 || index + 1 >= sizes.GetCount()) return;
  int a = sizes[index], b = sizes[index + 1];
  SetCursor(GetFrameworkCursor(column ? CURSOR_SIZEWE : CURSOR_SIZENS));
  int last = 0;
  while (m_hWnd && (::GetAsyncKeyState(VK_LBUTTON) & 0x8000)) {
    POINT point;
    if (!GetCursorPos(&point)) break;
    int d = column ? point.x - press.x : point.y - press.y;
    if (d != last) {
      last = d;
      DragBar(bar, a, b, d);
    }
    ::Sleep(1);
  }
}

void SSplitterCtrl::UpdateCursor() {
  POINT point;
  if (!GetCursorPos(&point)) return;
  int bar = HitBar(point);
  if (bar < 0) {
    SetCursor(nullptr);
  } else {
    SetCursor(GetFrameworkCursor(bar < m_columns - 1 ? CURSOR_SIZEWE : CURSOR_SIZENS));
  }
}

void SSplitterCtrl::PaintBars(HDC dc) {
  int bars = (m_columns > 0 ? m_columns - 1 : 0) + (m_rows > 0 ? m_rows - 1 : 0);
  COLORREF back = GetBackColor();
  HBRUSH brush = ::CreateSolidBrush(back == SImage::COLOR_NONE || back == SImage::COLOR_HOLLOW
                                        ? ::GetSysColor(COLOR_BTNFACE)
                                        : back);
  for (int bar = 0; bar < bars; ++bar) {
    RECT rect = BarRect(bar);
    ::FillRect(dc, &rect, brush);
    ::DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
  }
  ::DeleteObject(brush);
}

LRESULT SSplitterCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HDC dc = ContentPaintDC(message, wParam, lParam)) PaintBars(dc);
  switch (message) {
    case SWM_AFTERCREATE:
      SetBackColor(::GetSysColor(COLOR_BTNFACE));
      break;
    case WM_SIZE:
      FitSizes();
      break;
    case SWM_MOUSEENTER:
      UpdateCursor();
      break;
    case SWM_MOUSELEAVE: {
      SetCursor(nullptr);
      POINT point;
      if (::GetCursorPos(&point)) ::SetCursorPos(point.x, point.y);
      break;
    }
    case WM_LBUTTONDOWN: {
      POINT press = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      int bar = HitBar(press);
      if (bar >= 0) TrackBar(bar, press);
      if (!ForwardMouse(this, SWM_SPLITTERMOUSE, message, lParam)) return 0;
      break;
    }
    default:
      if (!ForwardMouse(this, SWM_SPLITTERMOUSE, message, lParam)) return 0;
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}
