#include "core/Platform.h"
#include "editors/SGraphBox.h"

#include "core/SXmlItem.h"
#include "editors/GraphXml.h"
#include "editors/SGraphBoard.h"
#include "editors/SGraphCtrl.h"
#include "editors/SGraphPlug.h"
#include "editors/SGraphUndo.h"

namespace {

// Layout constants: plug squares, gaps and the wrapped width of bottom names.
const int kSquare = 10;
const int kStart = 4;
const int kGap = 4;
const int kTitleMargin = 8;
const int kColumnMargin = 4;
const int kBottomMargin = 8;
const int kBottomWrap = 75;
const int kBottomWrapHeight = 1000;
// Tree arrangement: horizontal distance to the children, vertical gap.
const int kChildOffset = 60;
const int kChildGap = 10;

SIZE Measure(HDC dc, const SString& text, UINT flags, int width, int height) {
  RECT r = {0, 0, width, height};
  if (dc)
    ::DrawTextA(dc, text.GetText() ? text.GetText() : "", -1, &r,
                flags | DT_CALCRECT | DT_NOPREFIX);
  SIZE size = {r.right - r.left, r.bottom - r.top};
  return size;
}

int Max(int a, int b) { return a > b ? a : b; }

}  // namespace

SGraphBox::SGraphBox()
    : m_control(nullptr),
      m_board(nullptr),
      m_id(0),
      m_data(0),
      m_x(0),
      m_y(0),
      m_expanded(true),
      m_titleColor(TITLE_COLOR),
      m_bodyColor(BODY_COLOR),
      m_textColor(TEXT_COLOR) {
  SetRect(&m_rect, 0, 0, WIDTH, HEIGHT);
  SetRect(&m_inner, 0, TITLE_HEIGHT, WIDTH, HEIGHT);
}

SGraphBox::~SGraphBox() { m_plugs.DeleteAndRemoveAll(); }

int SGraphBox::GetType() { return 0; }

bool SGraphBox::Load(SXmlItem* wrapper, const POINT* offset) {
  SXmlItem* inner = wrapper ? wrapper->GetChild("box") : nullptr;
  if (!inner) return false;
  graphxml::ReadInt(inner, "id", &m_id);
  graphxml::ReadText(inner, "name", &m_name);
  graphxml::ReadInt(inner, "data", &m_data);
  graphxml::ReadBool(inner, "expanded", &m_expanded);
  graphxml::ReadCoordinate(inner, "x", &m_x);
  graphxml::ReadCoordinate(inner, "y", &m_y);
  if (offset) {
    m_x += offset->x;
    m_y += offset->y;
  }
  const SArray<SXmlItem*>& children = wrapper->GetChildren();
  for (int i = 0; i < children.GetCount(); ++i) {
    SXmlItem* child = children.GetAt(i);
    if (child == inner || child->GetName().CompareNoCase("plug") != 0) continue;
    SGraphPlug* plug = new SGraphPlug(this);
    if (!plug->Load(child, offset)) {
      delete plug;
      return false;
    }
    m_plugs.Add(plug);
  }
  return true;
}

bool SGraphBox::ResolveLinks(int pass) {
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    if (!m_plugs.GetAt(i)->ResolveLinks(pass)) return false;
  }
  return true;
}

bool SGraphBox::Save(SXmlItem* wrapper, const SArray<SGraphBox*>* boxes, bool allLinks) {
  SXmlItem* inner = wrapper ? wrapper->AddChild("box") : nullptr;
  if (!inner) return false;
  graphxml::WriteInt(inner, "type", GetType());
  graphxml::WriteInt(inner, "id", m_id);
  graphxml::WriteText(inner, "name", m_name);
  graphxml::WriteInt(inner, "data", m_data);
  graphxml::WriteBool(inner, "expanded", m_expanded);
  graphxml::WriteInt(inner, "x", m_x);
  graphxml::WriteInt(inner, "y", m_y);
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    SXmlItem* plugWrapper = wrapper->AddChild("plug");
    if (!plugWrapper || !m_plugs.GetAt(i)->Save(plugWrapper, boxes, allLinks)) return false;
  }
  return true;
}

void SGraphBox::HitTest(SGraphHit*) {}

void SGraphBox::UpdateLayout() {
  if (!m_control) return;
  HDC dc = m_control->GetMeasureDC();
  const UINT line = DT_SINGLELINE;
  SetRect(&m_rect, 0, 0, WIDTH, HEIGHT);
  SetRect(&m_inner, 0, TITLE_HEIGHT, WIDTH, HEIGHT);
  int title = Measure(dc, m_name, line, 0, 0).cx + kTitleMargin;
  if (title > m_rect.right) m_rect.right = m_inner.right = title;

  int leftY = kStart, rightY = kStart, bottomX = kStart;
  int leftWidth = 0, rightWidth = 0, bottomHeight = 0;
  bool left = false, right = false, bottom = false;
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = m_plugs.GetAt(i);
    if (!plug->m_visible) {
      if (!plug->HasLinks()) continue;
      plug->m_visible = true;
    }
    switch (plug->m_type) {
      case SGraphPlug::TYPE_LEFT:
      case SGraphPlug::TYPE_RIGHT: {
        bool isLeft = plug->m_type == SGraphPlug::TYPE_LEFT;
        SIZE size = Measure(dc, plug->m_name, line, 0, 0);
        int& y = isLeft ? leftY : rightY;
        int& width = isLeft ? leftWidth : rightWidth;
        SetRect(&plug->m_rect, isLeft ? -kSquare : 0, y, isLeft ? 0 : kSquare, y + kSquare);
        y += size.cy + kGap;
        width = Max(width, size.cx);
        (isLeft ? left : right) = true;
        break;
      }
      case SGraphPlug::TYPE_BOTTOM_IN:
      case SGraphPlug::TYPE_BOTTOM_OUT: {
        SIZE size = Measure(dc, plug->m_name, DT_WORDBREAK, kBottomWrap, kBottomWrapHeight);
        int middle = bottomX + size.cx / 2;
        SetRect(&plug->m_rect, middle - kSquare / 2, 0, middle + kSquare / 2, kSquare);
        bottomX += size.cx + kGap;
        bottomHeight = Max(bottomHeight, size.cy);
        bottom = true;
        break;
      }
      default:
        SetRectEmpty(&plug->m_rect);
        break;
    }
  }
  if (left) leftWidth += kColumnMargin;
  if (right) rightWidth += kColumnMargin;
  if (bottom) bottomHeight += kBottomMargin;

  int width = Max(leftWidth + rightWidth + 8, bottomX);
  if (width > m_inner.right - m_inner.left) m_rect.right = m_inner.right = m_inner.left + width;
  int height = Max(leftY, rightY) + bottomHeight;
  if (height > m_inner.bottom - m_inner.top) m_rect.bottom = m_inner.bottom = m_inner.top + height;
  if (left) m_rect.left -= kSquare;
  if (right) m_rect.right += kSquare;
  if (bottom) m_rect.bottom += kSquare;

  int dx = m_x - m_rect.left, dy = m_y - m_rect.top;
  OffsetRect(&m_rect, dx, dy);
  OffsetRect(&m_inner, dx, dy);
  int innerWidth = m_inner.right - m_inner.left;
  int innerHeight = m_inner.bottom - m_inner.top;
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = m_plugs.GetAt(i);
    if (plug->m_type == SGraphPlug::TYPE_RIGHT) {
      plug->m_rect.left = innerWidth;
      plug->m_rect.right = innerWidth + kSquare;
    } else if (plug->m_type == SGraphPlug::TYPE_BOTTOM_IN ||
               plug->m_type == SGraphPlug::TYPE_BOTTOM_OUT) {
      plug->m_rect.top = innerHeight;
      plug->m_rect.bottom = innerHeight + kSquare;
    }
  }
}

void SGraphBox::UnlinkFrom(SGraphBox* other) {
  if (!other) return;
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = m_plugs.GetAt(i);
    for (int j = plug->m_outgoing.GetCount() - 1; j >= 0; --j) {
      SGraphPlug* target = plug->m_outgoing.GetAt(j);
      if (target->m_box == other) plug->Unlink(target);
    }
    for (int j = plug->m_incoming.GetCount() - 1; j >= 0; --j) {
      SGraphPlug* source = plug->m_incoming.GetAt(j);
      if (source->m_box == other) source->Unlink(plug);
    }
  }
}

SGraphPlug* SGraphBox::FindPlug(int id) const {
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    if (m_plugs.GetAt(i)->m_id == id) return m_plugs.GetAt(i);
  }
  return nullptr;
}

int SGraphBox::IndexOfPlug(const SGraphPlug* plug) const {
  return const_cast<SArray<SGraphPlug*>&>(m_plugs).Find(const_cast<SGraphPlug*>(plug));
}

void SGraphBox::AddPlug(SGraphPlug* plug) {
  if (!plug || IndexOfPlug(plug) >= 0) return;
  plug->m_box = this;
  plug->m_board = m_board;
  plug->m_control = m_control;
  m_plugs.Add(plug);
  UpdateLayout();
}

bool SGraphBox::RemovePlug(SGraphPlug* plug) {
  int index = IndexOfPlug(plug);
  if (index < 0) return false;
  if (m_control) m_control->ForgetBox(nullptr);
  plug->BreakAllLinks(nullptr, nullptr);
  m_plugs.RemoveAt(index);
  delete plug;
  UpdateLayout();
  return true;
}

// --- tree mode ----------------------------------------------------------------

SGraphBox* SGraphBox::GetParentBox() const {
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = m_plugs.GetAt(i);
    if (plug->m_type != SGraphPlug::TYPE_LEFT || !plug->HasLinks()) continue;
    if (plug->m_incoming.GetCount() == 0) return nullptr;
    SGraphBox* parent = plug->m_incoming.GetAt(0)->m_box;
    return parent == this ? nullptr : parent;
  }
  return nullptr;
}

bool SGraphBox::HasChildren() const {
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = m_plugs.GetAt(i);
    if (plug->m_type == SGraphPlug::TYPE_RIGHT && plug->m_outgoing.GetCount() > 0) return true;
  }
  return false;
}

bool SGraphBox::IsHidden() const {
  // A cycle of parents ends after as many steps as there are boxes.
  int steps = m_board ? m_board->m_boxes.GetCount() : 0;
  for (SGraphBox* box = GetParentBox(); box && steps > 0; box = box->GetParentBox(), --steps) {
    if (!box->m_expanded) return true;
  }
  return false;
}

bool SGraphBox::Arrange(int* cursor, SGraphUndo_MoveBox* record, SArray<SGraphBox*>* visited) {
  if (visited->Find(this) < 0) visited->Add(this);
  bool hasLinks = false;
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = m_plugs.GetAt(i);
    if (plug->m_type != SGraphPlug::TYPE_RIGHT) continue;
    for (int j = 0; j < plug->m_outgoing.GetCount(); ++j) {
      hasLinks = true;
      if (!m_expanded) continue;
      SGraphBox* child = plug->m_outgoing.GetAt(j)->m_box;
      if (!child || child == this || visited->Find(child) >= 0) continue;
      POINT old = {child->m_x, child->m_y};
      int grid = m_board ? m_board->m_grid : 0;
      int x = m_rect.right + kChildOffset, y = *cursor;
      if (grid > 0) {
        x -= x % grid;
        y -= y % grid;
      }
      child->m_x = x;
      child->m_y = y;
      child->UpdateLayout();
      POINT moved = {x, y};
      if (record) record->Add(child->m_id, old, moved);
      int childCursor = y;
      if (child->Arrange(&childCursor, record, visited)) {
        *cursor = Max(childCursor, child->m_rect.bottom + kChildGap);
      } else {
        *cursor += child->m_rect.bottom - child->m_rect.top + kChildGap;
      }
    }
  }
  return hasLinks;
}

void SGraphBox::Expand(bool value, bool recursive, bool arrange, bool makeRecord,
                       SGraphUndo_Expand* record) {
  SGraphUndo_Expand* made = nullptr;
  if (!record && makeRecord && m_control) {
    made = m_control->MakeUndoOf<SGraphUndo_Expand>(SGraphUndo::KIND_EXPAND);
    record = made;
  }
  SArray<SGraphBox*> visited;
  if (recursive) {
    ExpandTree(value, record, &visited);
  } else {
    if (record) record->Add(m_id, m_expanded, value);
    m_expanded = value;
    UpdateLayout();
  }
  bool pushed = made && m_control->Record(made);
  if (arrange && m_board) m_board->ArrangeTree(this, makeRecord && pushed, pushed);
}

void SGraphBox::ExpandTree(bool value, SGraphUndo_Expand* record, SArray<SGraphBox*>* visited) {
  visited->Add(this);
  if (record) record->Add(m_id, m_expanded, value);
  m_expanded = value;
  UpdateLayout();
  for (int i = 0; i < m_plugs.GetCount(); ++i) {
    SGraphPlug* plug = m_plugs.GetAt(i);
    if (plug->m_type != SGraphPlug::TYPE_RIGHT || plug->m_outgoing.GetCount() == 0) continue;
    SGraphBox* child = plug->m_outgoing.GetAt(0)->m_box;
    if (child && visited->Find(child) < 0) child->ExpandTree(value, record, visited);
  }
}
