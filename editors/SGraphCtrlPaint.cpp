// The graph control's hit test and painting.
#include "core/Platform.h"
#include "editors/SGraphCtrl.h"

#include "editors/SGraphBoard.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphPlug.h"

#include <math.h>
#include <string.h>

namespace {

// Arrowheads: corners this far from the tip, this many radians either side
// of the link; a link of zero length points this way.
const double kArrowLength = 12.0;
const double kArrowSpread = 0.3;
const double kZeroLengthAngle = -1.0;
// The rubber band's corner ellipse; the gap between a plug and its name.
const int kBandCorner = 10;
const int kNameGap = 2;
const int kBottomWrap = 75;

bool Meets(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool IsHiddenOutput(const SGraphBox* box, const SGraphPlug* plug, bool tree) {
  return tree && !box->m_expanded && plug->m_type == SGraphPlug::TYPE_RIGHT;
}

}  // namespace

void SGraphCtrl::HitTest(int x, int y, SGraphHit* hit) {
  memset(hit, 0, sizeof(*hit));
  hit->board = m_board;
  hit->client.x = x;
  hit->client.y = y;
  if (!m_board) return;
  hit->point.x = x - m_board->m_originX;
  hit->point.y = y - m_board->m_originY;
  RECT client;
  if (m_hWnd && ::GetClientRect(m_hWnd, &client) && !::PtInRect(&client, hit->client)) return;
  bool tree = IsTreeMode();
  POINT p = hit->point;
  for (int i = m_board->m_boxes.GetCount() - 1; i >= 0; --i) {
    SGraphBox* box = m_board->m_boxes.GetAt(i);
    if (tree && box->IsHidden()) continue;
    const RECT& inner = box->m_inner;
    if (::PtInRect(&box->m_rect, p) && p.x >= inner.left && p.x < inner.right &&
        p.y < inner.bottom) {
      hit->kind = SGraphHit::BOX;
      hit->onTitle = p.y < inner.top;
      hit->onBody = !hit->onTitle;
      hit->onExpand = tree && hit->onTitle && p.x > inner.right - SGraphBox::EXPAND_BUTTON;
    } else {
      bool collapsedParent = tree && !box->m_expanded && box->HasChildren();
      for (int j = 0; j < box->m_plugs.GetCount(); ++j) {
        SGraphPlug* plug = box->m_plugs.GetAt(j);
        if (!plug->m_visible) continue;
        if (collapsedParent && plug->m_type == SGraphPlug::TYPE_RIGHT) continue;
        RECT square = plug->GetSquare();
        if (::PtInRect(&square, p)) {
          hit->kind = SGraphHit::PLUG;
          hit->plug = plug;
          break;
        }
      }
    }
    box->HitTest(hit);
    if (hit->kind != SGraphHit::NONE) {
      if (!hit->box) hit->box = box;
      return;
    }
  }
}

void SGraphCtrl::Paint(HDC dc, const RECT& visible) {
  if (!m_board || !dc) return;
  CreateDrawingObjects();
  int saved = ::SaveDC(dc);
  ::SetBkMode(dc, TRANSPARENT);
  ::SelectObject(dc, GetFont());
  bool tree = IsTreeMode();
  int count = m_board->m_boxes.GetCount();
  // Whether each box is hidden under a collapsed ancestor, found once.
  SArray<uint8_t> hidden;
  hidden.SetSize(count, false);
  for (int i = 0; i < count; ++i) hidden[i] = tree && m_board->m_boxes.GetAt(i)->IsHidden();

  RECT area = visible;
  OffsetRect(&area, -m_board->m_originX, -m_board->m_originY);
  ::SetViewportOrgEx(dc, m_board->m_originX, m_board->m_originY, nullptr);
  for (int i = 0; i < count; ++i) {
    SGraphBox* box = m_board->m_boxes.GetAt(i);
    if (hidden[i] || (tree && !box->m_expanded)) continue;
    PaintLinks(dc, box, area);
  }
  for (int i = 0; i < count; ++i) {
    SGraphBox* box = m_board->m_boxes.GetAt(i);
    if (!hidden[i] && Meets(box->m_rect, area)) PaintBox(dc, box);
  }
  if (m_dragMode == DRAG_BAND) {
    ::SelectObject(dc, m_currentPen);
    ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, m_bandStart.x, m_bandStart.y, m_bandEnd.x, m_bandEnd.y, kBandCorner,
                kBandCorner);
  } else if (m_dragMode == DRAG_LINK && m_linkSource) {
    ::SelectObject(dc, m_linkPen);
    POINT from = m_linkSource->GetAnchor();
    ::MoveToEx(dc, from.x, from.y, nullptr);
    ::LineTo(dc, m_dragBoard.x, m_dragBoard.y);
    PaintArrow(dc, from, m_dragBoard);
  }
  if (saved) ::RestoreDC(dc, saved);
}

void SGraphCtrl::PaintLinks(HDC dc, SGraphBox* box, const RECT& area) {
  SGraphBox* current = m_board->m_current;
  for (int i = 0; i < box->m_plugs.GetCount(); ++i) {
    SGraphPlug* source = box->m_plugs.GetAt(i);
    for (int j = 0; j < source->m_outgoing.GetCount(); ++j) {
      SGraphPlug* target = source->m_outgoing.GetAt(j);
      POINT from = source->GetAnchor(), to = target->GetAnchor();
      RECT span = {from.x < to.x ? from.x : to.x, from.y < to.y ? from.y : to.y,
                   (from.x > to.x ? from.x : to.x) + 1, (from.y > to.y ? from.y : to.y) + 1};
      InflateRect(&span, int(kArrowLength), int(kArrowLength));
      if (!Meets(span, area)) continue;
      HPEN pen = m_linkPen;
      SGraphBox* other = target->m_box;
      if (!source->m_enabled || !target->m_enabled) {
        pen = m_disabledPen;
      } else if (box == current || other == current) {
        pen = m_currentPen;
      } else if (m_board->IsSelected(box) || m_board->IsSelected(other)) {
        pen = m_selectedPen;
      }
      ::SelectObject(dc, pen);
      ::MoveToEx(dc, from.x, from.y, nullptr);
      ::LineTo(dc, to.x, to.y);
      PaintArrow(dc, from, to);
    }
  }
}

void SGraphCtrl::PaintArrow(HDC dc, POINT from, POINT to) {
  double angle = (from.x == to.x && from.y == to.y)
                     ? kZeroLengthAngle
                     : atan2(double(to.y - from.y), double(to.x - from.x));
  POINT corners[3] = {to, to, to};
  for (int side = 0; side < 2; ++side) {
    double a = angle + (side ? kArrowSpread : -kArrowSpread);
    corners[side + 1].x = to.x - int(lround(kArrowLength * cos(a)));
    corners[side + 1].y = to.y - int(lround(kArrowLength * sin(a)));
  }
  ::SelectObject(dc, m_arrowBrush);
  ::Polygon(dc, corners, 3);
}

void SGraphCtrl::PaintBox(HDC dc, SGraphBox* box) {
  bool tree = IsTreeMode();
  const RECT& inner = box->m_inner;
  HGDIOBJ dcPen = ::GetStockObject(DC_PEN);
  HGDIOBJ dcBrush = ::GetStockObject(DC_BRUSH);
  ::SetDCPenColor(dc, box->m_titleColor);
  ::SetDCBrushColor(dc, box->m_bodyColor);
  ::SelectObject(dc, dcPen);
  ::SelectObject(dc, dcBrush);
  for (int i = 0; i < box->m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = box->m_plugs.GetAt(i);
    if (!plug->m_visible || IsHiddenOutput(box, plug, tree)) continue;
    RECT s = plug->GetSquare();
    ::Rectangle(dc, s.left, s.top, s.right, s.bottom);
  }
  HGDIOBJ border = dcPen;
  if (box == m_board->m_current) {
    border = m_currentPen;
  } else if (m_board->IsSelected(box)) {
    border = m_selectedPen;
  }
  ::SelectObject(dc, border);
  ::Rectangle(dc, inner.left, inner.top, inner.right, inner.bottom);

  ::SetTextColor(dc, box->m_textColor);
  for (int i = 0; i < box->m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = box->m_plugs.GetAt(i);
    if (!plug->m_visible || IsHiddenOutput(box, plug, tree) || plug->m_name.GetLength() == 0) {
      continue;
    }
    const char* name = plug->m_name.GetText();
    RECT s = plug->GetSquare();
    RECT r;
    switch (plug->m_type) {
      case SGraphPlug::TYPE_LEFT:
        SetRect(&r, s.right + kNameGap, s.top - 4, inner.right, s.bottom + 4);
        ::DrawTextA(dc, name, -1, &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        break;
      case SGraphPlug::TYPE_RIGHT:
        SetRect(&r, inner.left, s.top - 4, s.left - kNameGap, s.bottom + 4);
        ::DrawTextA(dc, name, -1, &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        break;
      case SGraphPlug::TYPE_BOTTOM_IN:
      case SGraphPlug::TYPE_BOTTOM_OUT: {
        int middle = (s.left + s.right) / 2;
        SetRect(&r, middle - kBottomWrap / 2, 0, middle + kBottomWrap / 2 + 1, 0);
        RECT measured = r;
        measured.bottom = 1000;
        ::DrawTextA(dc, name, -1, &measured, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
        r.bottom = s.top - kNameGap;
        r.top = r.bottom - (measured.bottom - measured.top);
        ::DrawTextA(dc, name, -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
        break;
      }
    }
  }

  RECT title = {inner.left, box->m_rect.top, inner.right, inner.top};
  ::SetDCBrushColor(dc, box->m_titleColor);
  ::FillRect(dc, &title, static_cast<HBRUSH>(dcBrush));
  if (tree && box->HasChildren()) {
    RECT button = title;
    button.left = button.right - SGraphBox::EXPAND_BUTTON;
    ::DrawTextA(dc, box->m_expanded ? "-" : "+", 1, &button,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (box->m_name.GetLength() > 0) {
    ::DrawTextA(dc, box->m_name.GetText(), -1, &title,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}
