// The graph control's messages: mouse, drags, edge scrolling and keys.
#include "core/Platform.h"
#include "editors/SGraphCtrl.h"

#include "editors/SGraphBoard.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphPlug.h"
#include "window/Framework.h"
#include "window/SCursor.h"
#include "window/SWndApp.h"

#include <stdlib.h>

#include <utility>

namespace {

const COLORREF kBackColor = 0x404040;
// The framework's last move-and-size message; with SWM_MOVESTART and
// SWM_MOVEEND it asks for a redraw.
const UINT kMoveMessageLast = 0x83FE;

int PointX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int PointY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

bool ControlDown() { return ::GetKeyState(VK_CONTROL) < 0; }

}  // namespace

LRESULT SGraphCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_AFTERCREATE:
      SetBackColor(kBackColor);
      BuildMenus();
      break;

    case WM_DESTROY:
      Reset();
      DeleteDrawingObjects();
      break;

    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (HDC dc = ContentPaintDC(message, wParam, lParam)) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        Paint(dc, client);
      }
      if (message == WM_PRINTCLIENT && wParam) return 0;
      break;

    case WM_TIMER:
      if (wParam == TIMER_EDGE) OnEdgeTimer();
      break;

    case WM_MOUSEMOVE:
    case SWM_CAPTUREMOVE:
      OnMouseMove(PointX(lParam), PointY(lParam));
      break;

    case WM_LBUTTONDOWN:
      OnLeftDown(PointX(lParam), PointY(lParam), wParam);
      break;

    case WM_LBUTTONUP:
    case SWM_CAPTUREDROP:
      OnLeftUp(PointX(lParam), PointY(lParam));
      break;

    case WM_LBUTTONDBLCLK:
      OnDoubleClick(PointX(lParam), PointY(lParam));
      break;

    case WM_RBUTTONDOWN:
      OnRightDown(PointX(lParam), PointY(lParam));
      break;

    case WM_RBUTTONUP:
      OnRightUp(PointX(lParam), PointY(lParam));
      break;

    case SWM_CAPTURECANCEL:
      EndDrag();
      break;

    case SWM_MENUCOMMAND:
      for (SMenu& menu : m_menus) {
        if (reinterpret_cast<WPARAM>(&menu) == wParam) RunCommand(static_cast<int>(lParam));
      }
      break;

    case WM_KEYDOWN:
      OnKeyDown(wParam);
      break;

    case SWM_MOUSELEAVE:
      m_hoverBox = nullptr;
      m_hoverPlug = m_hoverLinkSource = m_hoverLinkTarget = nullptr;
      break;

    case SWM_MOVESTART:
    case SWM_MOVEEND:
    case kMoveMessageLast:
      RedrawBoard();
      break;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

POINT SGraphCtrl::ToScreen(int x, int y) {
  POINT point = {x, y};
  if (m_hWnd) ::ClientToScreen(m_hWnd, &point);
  return point;
}

void SGraphCtrl::StartDrag(int mode, int x, int y) {
  m_dragScreen = ToScreen(x, y);
  m_dragClient.x = x;
  m_dragClient.y = y;
  m_dragBoard.x = x - m_board->m_originX;
  m_dragBoard.y = y - m_board->m_originY;
  m_dragMode = mode;
  OnBeginDrag(mode);
  // Without a button held down (messages sent by a program) the drag runs
  // on the control's own mouse messages.
  if (g_appWindow) g_appWindow->BeginCapture(m_hWnd);
  if (m_hWnd) ::SetTimer(m_hWnd, TIMER_EDGE, TIMER_PERIOD, nullptr);
}

void SGraphCtrl::EndDrag() {
  int mode = m_dragMode;
  if (m_hWnd) ::KillTimer(m_hWnd, TIMER_EDGE);
  m_dragMode = DRAG_NONE;
  m_linkSource = m_linkCandidate = nullptr;
  m_linkCandidateBox = nullptr;
  SetCursor(nullptr);
  if (m_board && m_hWnd) {
    POINT cursor;
    GetCursorPos(&cursor);
    SGraphHit hit;
    HitTest(cursor.x, cursor.y, &hit);
    m_hoverBox = hit.box;
    m_hoverPlug = hit.plug;
    m_hoverLinkSource = hit.linkSource;
    m_hoverLinkTarget = hit.linkTarget;
  }
  if (mode != DRAG_NONE) OnEndDrag(mode);
}

void SGraphCtrl::OnLeftDown(int x, int y, WPARAM keys) {
  SetFocus();
  if (!m_board || m_dragMode != DRAG_NONE) return;
  m_press.x = x;
  m_press.y = y;
  if (keys & MK_SHIFT) {
    StartDrag(DRAG_PAN, x, y);
    return;
  }
  bool control = (keys & MK_CONTROL) != 0;
  SGraphHit hit;
  HitTest(x, y, &hit);
  switch (hit.kind) {
    case SGraphHit::NONE:
      if (!control) m_board->ClearSelection(true);
      m_bandStart = m_bandEnd = hit.point;
      StartDrag(DRAG_BAND, x, y);
      break;
    case SGraphHit::BOX:
      if (control) {
        m_board->ToggleSelection(hit.box);
      } else if (m_board->IsSelected(hit.box)) {
        m_board->SetCurrent(hit.box);
      } else {
        m_board->SelectOnly(hit.box);
      }
      if (hit.onExpand) hit.box->Expand(!hit.box->m_expanded, false, true, true);
      break;
    case SGraphHit::LINK:
      if (!control && hit.linkSource && hit.linkTarget) {
        m_board->SelectOnly(hit.linkTarget->m_box);
        m_board->AddToSelection(hit.linkSource->m_box);
      }
      break;
  }
  RedrawBoard();
}

void SGraphCtrl::FindLinkCandidate(const SGraphHit& hit) {
  m_linkCandidate = nullptr;
  m_linkCandidateBox = nullptr;
  if (!m_linkSource) return;
  if (hit.kind == SGraphHit::BOX) {
    if (m_board->CanDropLinkOnBox(m_linkSource, hit.box)) m_linkCandidateBox = hit.box;
    return;
  }
  SGraphPlug* plug = hit.kind == SGraphHit::PLUG ? hit.plug : nullptr;
  if (!plug || plug == m_linkSource || plug->IsOutput() == m_linkSource->IsOutput()) return;
  if (m_linkSource->m_outgoing.Find(plug) >= 0 || m_linkSource->m_incoming.Find(plug) >= 0) return;
  SGraphPlug* source = m_linkSource->IsOutput() ? m_linkSource : plug;
  SGraphPlug* target = source == plug ? m_linkSource : plug;
  if (m_board->CanLink(source, target)) m_linkCandidate = plug;
}

void SGraphCtrl::OnMouseMove(int x, int y) {
  if (!m_board) return;
  SGraphHit hit;
  HitTest(x, y, &hit);
  m_hoverBox = hit.box;
  m_hoverPlug = hit.plug;
  m_hoverLinkSource = hit.linkSource;
  m_hoverLinkTarget = hit.linkTarget;

  if (m_dragMode == DRAG_NONE && m_press.x != -1 &&
      (abs(x - m_press.x) > DRAG_THRESHOLD || abs(y - m_press.y) > DRAG_THRESHOLD)) {
    SGraphHit pressed;
    HitTest(m_press.x, m_press.y, &pressed);
    if (pressed.kind == SGraphHit::BOX) {
      delete m_pendingMove;
      m_pendingMove = MakeUndoOf<SGraphUndo_MoveBox>(SGraphUndo::KIND_MOVEBOX);
      if (m_pendingMove) m_pendingMove->StoreOld(m_board->m_selection);
      StartDrag(DRAG_MOVE, m_press.x, m_press.y);
    } else if (pressed.kind == SGraphHit::PLUG) {
      m_linkSource = pressed.plug;
      m_linkCandidate = nullptr;
      m_linkCandidateBox = nullptr;
      StartDrag(DRAG_LINK, m_press.x, m_press.y);
    }
  }
  POINT board = {x - m_board->m_originX, y - m_board->m_originY};
  POINT screen = ToScreen(x, y);
  switch (m_dragMode) {
    case DRAG_BAND:
      m_bandEnd = board;
      break;
    case DRAG_MOVE:
      m_board->MoveBoxes(m_board->m_selection, board.x - m_dragBoard.x, board.y - m_dragBoard.y,
                         false);
      break;
    case DRAG_PAN:
      m_board->m_originX += screen.x - m_dragScreen.x;
      m_board->m_originY += screen.y - m_dragScreen.y;
      board.x = x - m_board->m_originX;
      board.y = y - m_board->m_originY;
      break;
    case DRAG_LINK:
      SetCursor(GetFrameworkCursor(CURSOR_CROSS));
      FindLinkCandidate(hit);
      break;
  }
  m_dragScreen = screen;
  m_dragBoard = board;
  m_dragClient.x = x;
  m_dragClient.y = y;
  if (m_dragMode != DRAG_NONE) RedrawBoard();
}

void SGraphCtrl::OnLeftUp(int x, int y) {
  m_press.x = m_press.y = -1;
  if (!m_board || m_dragMode == DRAG_NONE) return;
  if (m_hWnd) ::KillTimer(m_hWnd, TIMER_EDGE);
  POINT board = {x - m_board->m_originX, y - m_board->m_originY};
  switch (m_dragMode) {
    case DRAG_BAND: {
      m_bandEnd = board;
      RECT band = {m_bandStart.x, m_bandStart.y, m_bandEnd.x, m_bandEnd.y};
      if (band.left > band.right) std::swap(band.left, band.right);
      if (band.top > band.bottom) std::swap(band.top, band.bottom);
      SGraphUndo_SelectBox* record = m_board->BeginSelectionChange(true);
      bool added = false;
      for (int i = 0; i < m_board->m_boxes.GetCount(); ++i) {
        SGraphBox* box = m_board->m_boxes.GetAt(i);
        const RECT& r = box->m_rect;
        if (r.left < band.left || r.top < band.top || r.right > band.right ||
            r.bottom > band.bottom || m_board->IsSelected(box)) {
          continue;
        }
        if (IsTreeMode() && box->IsHidden()) continue;
        m_board->m_selection.Add(box);
        m_board->m_current = box;
        added = true;
      }
      m_board->EndSelectionChange(record);
      if (added) m_board->OnSelectionChanged(m_board->m_current);
      break;
    }
    case DRAG_MOVE: {
      m_board->MoveBoxes(m_board->m_selection, board.x - m_dragBoard.x, board.y - m_dragBoard.y,
                         true);
      bool pushed = false;
      if (m_pendingMove) {
        m_pendingMove->SetNewPositions();
        pushed = Record(m_pendingMove);
        m_pendingMove = nullptr;
      }
      if (IsTreeMode()) m_board->ArrangeTree(m_board->m_current, pushed, true);
      break;
    }
    case DRAG_LINK:
      if (m_linkSource && m_linkCandidate) {
        SGraphPlug* source = m_linkSource->IsOutput() ? m_linkSource : m_linkCandidate;
        SGraphPlug* target = source == m_linkCandidate ? m_linkSource : m_linkCandidate;
        if (m_board->CanLink(source, target)) source->Link(target, true);
      } else if (m_linkSource && m_linkCandidateBox &&
                 m_board->CanDropLinkOnBox(m_linkSource, m_linkCandidateBox)) {
        m_board->OnDropLinkOnBox(m_linkSource, m_linkCandidateBox);
      }
      break;
  }
  EndDrag();
  RedrawBoard();
}

void SGraphCtrl::OnEdgeTimer() {
  if (!m_board || !m_hWnd) return;
  if (m_dragMode != DRAG_BAND && m_dragMode != DRAG_MOVE && m_dragMode != DRAG_LINK) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  int dx = 0, dy = 0;
  if (m_dragClient.x < client.left) dx = EDGE_STEP;
  if (m_dragClient.x >= client.right) dx = -EDGE_STEP;
  if (m_dragClient.y < client.top) dy = EDGE_STEP;
  if (m_dragClient.y >= client.bottom) dy = -EDGE_STEP;
  if (dx == 0 && dy == 0) return;
  m_board->m_originX += dx;
  m_board->m_originY += dy;
  if (m_dragMode == DRAG_BAND) {
    m_bandEnd.x -= dx;
    m_bandEnd.y -= dy;
  } else if (m_dragMode == DRAG_MOVE) {
    m_board->MoveBoxes(m_board->m_selection, -dx, -dy, false);
  }
  m_dragBoard.x = m_dragClient.x - m_board->m_originX;
  m_dragBoard.y = m_dragClient.y - m_board->m_originY;
  RedrawBoard();
}

void SGraphCtrl::OnDoubleClick(int x, int y) {
  if (!m_board) return;
  SGraphHit hit;
  HitTest(x, y, &hit);
  if (hit.kind == SGraphHit::PLUG && !hit.plug->HasLinks()) HidePlug(hit.plug);
  RedrawBoard();
}

void SGraphCtrl::OnRightDown(int x, int y) {
  SetFocus();
  if (!m_board) return;
  SGraphHit hit;
  HitTest(x, y, &hit);
  if (hit.kind == SGraphHit::BOX && !m_board->IsSelected(hit.box)) m_board->SelectOnly(hit.box);
  RedrawBoard();
}

void SGraphCtrl::OnRightUp(int x, int y) {
  if (!m_board) return;
  m_menuPoint.x = x - m_board->m_originX;
  m_menuPoint.y = y - m_board->m_originY;
  SGraphHit hit;
  HitTest(x, y, &hit);
  m_menuPlugId = hit.plug ? hit.plug->m_id : 0;
  m_menuLinkSourceId = hit.linkSource ? hit.linkSource->m_id : 0;
  m_menuLinkTargetId = hit.linkTarget ? hit.linkTarget->m_id : 0;
  int which = MENU_BACKGROUND;
  if (hit.kind == SGraphHit::BOX) which = MENU_BOX;
  if (hit.kind == SGraphHit::PLUG) which = MENU_PLUG;
  if (hit.kind == SGraphHit::LINK) which = MENU_LINK;
  if (which == MENU_PLUG) {
    SGraphPlug* plug = hit.plug;
    bool switchable = (m_flags & FLAG_ENABLE) && plug->m_type == SGraphPlug::TYPE_RIGHT;
    m_menus[MENU_PLUG].EnableItem(CMD_PLUG_ENABLE, switchable && !plug->m_enabled);
    m_menus[MENU_PLUG].EnableItem(CMD_PLUG_DISABLE, switchable && plug->m_enabled);
    m_menus[MENU_PLUG].EnableItem(CMD_PLUG_HIDE, !plug->HasLinks());
  }
  if (m_menuShown) return;
  POINT screen = ToScreen(x, y);
  m_menuShown = true;
  m_menus[which].Track(screen.x, screen.y);
  m_menuShown = false;
}

void SGraphCtrl::OnKeyDown(WPARAM key) {
  if (!m_board) return;
  bool clipboard = (m_flags & FLAG_CLIPBOARD) != 0;
  if (key == VK_DELETE) {
    m_board->DeleteSelection();
  } else if (key >= VK_LEFT && key <= VK_DOWN) {
    // Only a redraw.
  } else if (!ControlDown()) {
    return;
  } else if (key == 'A') {
    m_board->SetSelection(m_board->m_boxes, nullptr, true);
  } else if (key == 'C') {
    if (clipboard) m_board->Copy();
  } else if (key == 'X') {
    if (clipboard) m_board->Cut();
  } else if (key == 'V') {
    if (clipboard) m_board->Paste(nullptr);
  } else if (key == 'Z') {
    UndoStep();
  } else if (key == 'Y') {
    RedoStep();
  } else if (key == 'Q') {
    m_board->ArrangeTree(m_board->m_current, true, false);
  } else {
    return;
  }
  RedrawBoard();
}
