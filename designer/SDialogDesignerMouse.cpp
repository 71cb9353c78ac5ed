// SDialogDesigner: placing, selecting, the three drags and the keys.
#include "core/Platform.h"
#include "designer/SDialogDesigner.h"

#include "window/SCursor.h"

#include <stdlib.h>

#include <algorithm>

namespace {

typedef SDialogDesigner::_SCtrl Record;

// Framework cursor kind of each grip.
const int kGripCursors[8] = {10, 9, 8, 11, 11, 8, 9, 10};

// Which edges a grip moves: left, top, right, bottom.
struct GripEdges {
  bool left, top, right, bottom;
};
const GripEdges kGripEdges[8] = {{true, true, false, false},  {false, true, false, false},
                                 {false, true, true, false},  {true, false, false, false},
                                 {false, false, true, false}, {true, false, false, true},
                                 {false, false, false, true}, {false, false, true, true}};

// v - (v mod step), the remainder taking the sign of v.
int RoundDown(int value, int step) { return step > 0 ? value - value % step : value; }

bool InRect(const RECT& rect, POINT point) { return ::PtInRect(&rect, point) != 0; }

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!::EqualRect(&a[i], &b[i])) return false;
  }
  return true;
}

}  // namespace

// --- buttons ------------------------------------------------------------------------

bool SDialogDesigner::BeginClick(int x, int y) {
  if (!m_loaded || !m_hWnd) return false;
  SetFocus();
  UpdateLayout();
  return InRect(m_area, {x, y});
}

void SDialogDesigner::OnLeftButtonDown(int x, int y) {
  if (!BeginClick(x, y)) return;
  POINT point = {x, y};

  if (m_insertType >= 1 && m_insertType < TYPE_EXTERN) {
    PushUndo();
    _SCtrl record;
    record.m_type = int16_t(m_insertType);
    POINT design = ClientToDesignPoint(point);
    record.m_left = int16_t(m_snap ? RoundDown(design.x, m_gridX) : design.x);
    record.m_top = int16_t(m_snap ? RoundDown(design.y, m_gridY) : design.y);
    if (!AddControl(this, true, &record, false, false)) {
      DropLastUndo();
      return;
    }
    SetInsertType(-1);
    ResetPanelTool();
    Redraw();
    NotifyChanged();
    return;
  }
  if (m_insertType == TYPE_EXTERN) {
    SetInsertType(-1);
    ResetPanelTool();
    if (!m_externMenu.m_hMenu || ::GetMenuItemCount(m_externMenu.m_hMenu) <= 0) {
      ShowError("?NOEXTERN");
      return;
    }
    // Its command places the control where the menu was opened.
    m_menuPoint = point;
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    m_externMenu.Track(screen.x, screen.y);
    return;
  }

  bool ctrl = IsKeyDown(VK_CONTROL);
  _SCtrl* p0 = GetPrimary();
  int n0 = m_selection.GetCount();
  if (p0) {
    RECT rect = DesignToClient(RecordRect(p0));
    for (int grip = 0; grip < 8; ++grip) {
      if (!InRect(GetResizeGrip(rect, grip), point)) continue;
      while (m_selection.GetCount() > 1) m_selection.RemoveAt(1);
      Redraw();
      if (n0 > 1) OnSelectionChanged(p0, p0);
      TrackResize(point, grip);
      return;
    }
  }
  _SCtrl* hit = HitTest(point);
  if (!hit || hit == m_dialog) {
    SelectOnly(m_dialog);
    Redraw();
    OnSelectionChanged(p0, GetPrimary());
    TrackRubberBand(point);
    return;
  }
  if (m_selection.Find(hit) >= 0) {
    if (ctrl) {
      RemoveFromSelection(hit);
      Redraw();
      OnSelectionChanged(p0, GetPrimary());
      return;
    }
    MakePrimary(hit);
  } else if (!ctrl) {
    SelectOnly(hit);
  } else {
    if (m_selection.GetCount() == 1 && m_selection[0] == m_dialog) m_selection.RemoveAll();
    AddToSelection(hit);
    MakePrimary(hit);
  }
  Redraw();
  TellWhenChanged(p0, n0);
  TrackMove(point);
}

void SDialogDesigner::OnRightButtonDown(int x, int y) {
  if (!BeginClick(x, y)) return;
  POINT point = {x, y};
  _SCtrl* p0 = GetPrimary();
  int n0 = m_selection.GetCount();
  _SCtrl* hit = HitTest(point);
  if (!hit) hit = m_dialog;
  if (m_selection.Find(hit) < 0)
    SelectOnly(hit);
  else
    MakePrimary(hit);
  Redraw();
  TellWhenChanged(p0, n0);
  ShowContextMenu(x, y);
}

void SDialogDesigner::OnLeftDoubleClick(int x, int y) {
  if (!m_loaded) return;
  UpdateLayout();
  POINT point = {x, y};
  if (InRect(m_area, point) && GetPrimary()) OnControlDoubleClick(GetPrimary());
}

void SDialogDesigner::OnMouseMove(int x, int y) {
  if (!m_loaded || !m_hWnd) return;
  if (m_rulers) {
    UpdateLayout();
    HDC dc = ::GetDC(m_hWnd);
    DrawRulerPointer(dc, nullptr, nullptr);
    ::ReleaseDC(m_hWnd, dc);
  }
  _SCtrl* primary = GetPrimary();
  if (m_insertType != -1 || !primary) return;
  POINT point = {x, y};
  RECT rect = DesignToClient(RecordRect(primary));
  for (int grip = 0; grip < 8; ++grip) {
    if (InRect(GetResizeGrip(rect, grip), point)) {
      SetCursor(GetFrameworkCursor(kGripCursors[grip]));
      return;
    }
  }
  if (m_cursor) {
    SetCursor(nullptr);
    POINT screen;
    if (::GetCursorPos(&screen)) ::SetCursorPos(screen.x, screen.y);
  }
}

// --- drags ----------------------------------------------------------------------------

void SDialogDesigner::DrawFeedback(HDC dc, const std::vector<RECT>& rects) {
  for (const RECT& r : rects) ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

bool SDialogDesigner::RunDrag(const std::function<void(POINT, bool, std::vector<RECT>*)>& feedback,
                              bool* drawn) {
  *drawn = false;
  HDC dc = ::GetDC(m_hWnd);
  HPEN pen = ::CreatePen(PS_DOT, 0, RGB(0, 0, 0));
  HPEN previousPen = static_cast<HPEN>(::SelectObject(dc, pen));
  int rop = ::SetROP2(dc, R2_NOTXORPEN);
  std::vector<RECT> shown;
  bool cancelled = false;
  while (IsKeyDown(VK_LBUTTON)) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | ((QS_KEY | QS_MOUSE) << 16))) {
    }
    if (IsKeyDown(VK_ESCAPE)) {
      cancelled = true;
      break;
    }
    POINT cursor = {0, 0};
    if (s_cursorPos) s_cursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    std::vector<RECT> next;
    feedback(cursor, IsKeyDown(VK_CONTROL), &next);
    if (*drawn && SameRects(next, shown)) continue;
    if (*drawn) DrawFeedback(dc, shown);
    DrawFeedback(dc, next);
    shown = next;
    *drawn = true;
    DrawRulerPointer(dc, &cursor, previousPen);
  }
  ::SetROP2(dc, rop);
  ::SelectObject(dc, previousPen);
  ::DeleteObject(pen);
  ::ReleaseDC(m_hWnd, dc);
  return !cancelled;
}

void SDialogDesigner::TrackRubberBand(POINT start) {
  _SCtrl* p0 = GetPrimary();
  RECT band = {start.x, start.y, start.x, start.y};
  bool drawn = false;
  bool done = RunDrag(
      [&](POINT cursor, bool, std::vector<RECT>* out) {
        band = {std::min(start.x, cursor.x), std::min(start.y, cursor.y),
                std::max(start.x, cursor.x), std::max(start.y, cursor.y)};
        ::IntersectRect(&band, &band, &m_area);
        out->push_back(band);
      },
      &drawn);
  if (!done) {
    Redraw();
    return;
  }
  SArray<_SCtrl*> hidden;
  CollectHiddenControls(&hidden);
  m_selection.RemoveAll();
  RECT area = ClientToDesign(band);
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    _SCtrl* r = m_controls[i];
    if (hidden.Find(r) >= 0) continue;
    RECT rect = RecordRect(r);
    if (InRect(area, {rect.left, rect.top}) && InRect(area, {rect.right, rect.bottom})) {
      m_selection.Add(r);
    }
  }
  if (m_selection.GetCount() == 0 && p0 == m_dialog && m_dialog) m_selection.Add(m_dialog);
  Redraw();
  OnSelectionChanged(p0, GetPrimary());
}

void SDialogDesigner::TrackMove(POINT start) {
  _SCtrl* primary = GetPrimary();
  if (!primary || IsSelectionLocked() || primary == m_dialog) return;
  UpdateLayout();
  POINT delta = {0, 0};
  bool drawn = false;
  bool done = RunDrag(
      [&](POINT cursor, bool ctrl, std::vector<RECT>* out) {
        delta = {cursor.x - start.x, cursor.y - start.y};
        for (int i = 0; i < m_selection.GetCount(); ++i) {
          const _SCtrl* r = m_selection[i];
          RECT rect = DesignToClient(RecordRect(r));
          ::OffsetRect(&rect, delta.x, delta.y);
          rect = ClientToDesign(rect);
          rect.left = RoundDown(rect.left, GetSnapStepX(ctrl));
          rect.top = RoundDown(rect.top, GetSnapStepY(ctrl));
          rect.right = rect.left + abs(r->m_width);
          rect.bottom = rect.top + abs(r->m_height);
          rect = DesignToClient(rect);
          rect.left = std::max(rect.left, m_area.left);
          rect.right = std::max(rect.right, m_area.left);
          rect.top = std::max(rect.top, m_area.top);
          rect.bottom = std::max(rect.bottom, m_area.top);
          out->push_back(rect);
        }
      },
      &drawn);
  if (!done) delta = {0, 0};
  if (!drawn || (delta.x == 0 && delta.y == 0)) {
    Redraw();
    return;
  }
  PushUndo();
  bool ctrl = IsKeyDown(VK_CONTROL);
  // Every selected control moves by the drag, also those out of sight; none
  // goes left of or above the design's origin.
  for (int i = 0; i < m_selection.GetCount(); ++i) {
    _SCtrl* r = m_selection[i];
    int x = RoundDown(r->m_left + delta.x, GetSnapStepX(ctrl));
    int y = RoundDown(r->m_top + delta.y, GetSnapStepY(ctrl));
    r->m_left = int16_t(std::max(x, 0));
    r->m_top = int16_t(std::max(y, 0));
  }
  Redraw();
  NotifyChanged();
  OnSelectionChanged(primary, primary);
}

void SDialogDesigner::TrackResize(POINT start, int grip) {
  if (m_selection.GetCount() != 1 || grip < 0 || grip > 7) return;
  _SCtrl* record = m_selection[0];
  if (record->m_locked) return;
  HCURSOR cursor = GetFrameworkCursor(kGripCursors[grip]);
  SetCursor(cursor);
  const GripEdges& edges = kGripEdges[grip];
  RECT before = DesignToClient(RecordRect(record));
  RECT final = before;
  POINT delta = {0, 0};
  bool drawn = false;
  bool done = RunDrag(
      [&](POINT at, bool ctrl, std::vector<RECT>* out) {
        delta = {at.x - start.x, at.y - start.y};
        RECT rect = DesignToClient(RecordRect(record));
        if (edges.left) rect.left += delta.x;
        if (edges.top) rect.top += delta.y;
        if (edges.right) rect.right += delta.x;
        if (edges.bottom) rect.bottom += delta.y;
        rect = ClientToDesign(rect);
        rect.left = RoundDown(rect.left, GetSnapStepX(ctrl));
        rect.right = RoundDown(rect.right, GetSnapStepX(ctrl));
        rect.top = RoundDown(rect.top, GetSnapStepY(ctrl));
        rect.bottom = RoundDown(rect.bottom, GetSnapStepY(ctrl));
        rect = DesignToClient(rect);
        rect.right = std::max<LONG>(rect.right, before.left + MIN_SIZE);
        rect.bottom = std::max<LONG>(rect.bottom, before.top + MIN_SIZE);
        rect.left = std::min<LONG>(rect.left, before.right - MIN_SIZE);
        rect.top = std::min<LONG>(rect.top, before.bottom - MIN_SIZE);
        final = rect;
        out->push_back(rect);
      },
      &drawn);
  if (!done) delta = {0, 0};
  if (drawn && (delta.x != 0 || delta.y != 0)) {
    PushUndo();
    RECT rect = ClientToDesign(final);
    record->m_left = int16_t(rect.left);
    record->m_top = int16_t(rect.top);
    record->m_width = int16_t(abs(rect.right - rect.left));
    record->m_height = int16_t(abs(rect.bottom - rect.top));
    if (record->m_window && record->m_window->m_hWnd) {
      ::MoveWindow(record->m_window->m_hWnd, 0, 0, record->m_width, record->m_height, TRUE);
    }
    Redraw();
    NotifyChanged();
    OnSelectionChanged(record, record);
  } else {
    Redraw();
  }
  SetCursor(nullptr);
}

// --- keys -------------------------------------------------------------------------------

void SDialogDesigner::OnKeyDown(int key) {
  if (!m_loaded) return;
  if (key == VK_TAB) {
    TabKey();
  } else if (key >= VK_LEFT && key <= VK_DOWN) {
    ArrowKey(key, IsKeyDown(VK_CONTROL));
  }
}

void SDialogDesigner::TabKey() {
  if (m_selection.GetCount() != 1) return;
  _SCtrl* p0 = GetPrimary();
  SArray<_SCtrl*> hidden;
  CollectHiddenControls(&hidden);
  int count = m_controls.GetCount();
  _SCtrl* next = nullptr;
  if (p0 == m_dialog) {
    for (int i = 0; i < count && !next; ++i) {
      if (hidden.Find(m_controls[i]) < 0) next = m_controls[i];
    }
  } else {
    int index = m_controls.Find(p0);
    for (int step = 1; step < count && index >= 0; ++step) {
      _SCtrl* candidate = m_controls[(index + step) % count];
      if (hidden.Find(candidate) < 0) {
        next = candidate;
        break;
      }
    }
  }
  if (next) SelectOnly(next);
  Redraw();
  if (GetPrimary() != p0) OnSelectionChanged(p0, GetPrimary());
}

void SDialogDesigner::ArrowKey(int key, bool ctrl) {
  int stepX = GetSnapStepX(ctrl), stepY = GetSnapStepY(ctrl);
  if (IsKeyDown(VK_SHIFT)) {
    if (m_selection.GetCount() != 1 || m_selection[0]->m_locked) return;
    _SCtrl* r = m_selection[0];
    PushUndo();
    switch (key) {
      case VK_UP:
        if (r->m_height > MIN_SIZE) r->m_height = int16_t(r->m_height - stepY);
        break;
      case VK_DOWN:
        r->m_height = int16_t(r->m_height + stepY);
        break;
      case VK_LEFT:
        if (r->m_width > MIN_SIZE) r->m_width = int16_t(r->m_width - stepX);
        break;
      case VK_RIGHT:
        r->m_width = int16_t(r->m_width + stepX);
        break;
    }
    if (r->m_window && r->m_window->m_hWnd) {
      ::MoveWindow(r->m_window->m_hWnd, 0, 0, r->m_width, r->m_height, TRUE);
    }
    Redraw();
    NotifyChanged();
    SetPositionItems("WIDTH", r->m_width, "HEIGHT", r->m_height);
  } else {
    _SCtrl* primary = GetPrimary();
    if (!primary || primary == m_dialog || IsSelectionLocked()) return;
    PushUndo();
    int dx = key == VK_LEFT ? -stepX : key == VK_RIGHT ? stepX : 0;
    int dy = key == VK_UP ? -stepY : key == VK_DOWN ? stepY : 0;
    for (int i = 0; i < m_selection.GetCount(); ++i) {
      m_selection[i]->m_left = int16_t(m_selection[i]->m_left + dx);
      m_selection[i]->m_top = int16_t(m_selection[i]->m_top + dy);
    }
    Redraw();
    NotifyChanged();
    SetPositionItems("X", primary->m_left, "Y", primary->m_top);
  }
}
