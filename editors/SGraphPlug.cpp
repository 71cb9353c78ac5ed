#include "core/Platform.h"
#include "editors/SGraphPlug.h"

#include "core/SXmlItem.h"
#include "editors/GraphXml.h"
#include "editors/SGraphBoard.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphCtrl.h"
#include "editors/SGraphUndo.h"

SGraphPlug::SGraphPlug(SGraphBox* box)
    : m_control(box ? box->m_control : nullptr),
      m_board(box ? box->m_board : nullptr),
      m_box(box),
      m_id(0),
      m_data(0),
      m_type(0),
      m_visible(true),
      m_enabled(true) {
  SetRectEmpty(&m_rect);
}

SGraphPlug::~SGraphPlug() {}

bool SGraphPlug::Load(SXmlItem* wrapper, const POINT*) {
  SXmlItem* inner = wrapper ? wrapper->GetChild("plug") : nullptr;
  if (!inner) return false;
  graphxml::ReadInt(inner, "id", &m_id);
  graphxml::ReadInt(inner, "data", &m_data);
  graphxml::ReadInt(inner, "type", &m_type);
  graphxml::ReadText(inner, "name", &m_name);
  graphxml::ReadBool(inner, "visible", &m_visible);
  graphxml::ReadBool(inner, "enabled", &m_enabled);
  m_pendingTargets.RemoveAll();
  m_pendingSources.RemoveAll();
  // Only the wrapper's own children: the inner element is one of them.
  const SArray<SXmlItem*>& children = wrapper->GetChildren();
  for (int i = 0; i < children.GetCount(); ++i) {
    SXmlItem* child = children.GetAt(i);
    SString name = child->GetName();
    bool target = name.CompareNoCase("trg") == 0;
    if (!target && name.CompareNoCase("src") != 0) continue;
    int id = 0;
    graphxml::ReadInt(child, "id", &id);
    (target ? m_pendingTargets : m_pendingSources).Add(id);
  }
  return true;
}

bool SGraphPlug::ResolveLinks(int pass) {
  if (pass != 0 && pass != 1) return true;
  SArray<int>& pending = pass == 0 ? m_pendingTargets : m_pendingSources;
  bool resolved = true;
  for (int i = 0; i < pending.GetCount() && resolved; ++i) {
    SGraphPlug* other = m_board ? m_board->FindPlug(pending.GetAt(i)) : nullptr;
    if (!other) {
      resolved = false;
    } else if (pass == 0) {
      Link(other, false);
    } else {
      other->Link(this, false);
    }
  }
  pending.RemoveAll();
  return resolved;
}

bool SGraphPlug::Save(SXmlItem* wrapper, const SArray<SGraphBox*>* boxes, bool allLinks) {
  SXmlItem* inner = wrapper ? wrapper->AddChild("plug") : nullptr;
  if (!inner) return false;
  graphxml::WriteInt(inner, "id", m_id);
  graphxml::WriteInt(inner, "data", m_data);
  graphxml::WriteInt(inner, "type", m_type);
  graphxml::WriteText(inner, "name", m_name);
  graphxml::WriteBool(inner, "visible", m_visible);
  graphxml::WriteBool(inner, "enabled", m_enabled);
  for (int i = 0; i < m_outgoing.GetCount(); ++i) {
    SGraphPlug* target = m_outgoing.GetAt(i);
    if (!allLinks && (!boxes || const_cast<SArray<SGraphBox*>*>(boxes)->Find(target->m_box) < 0))
      continue;
    SXmlItem* trg = wrapper->AddChild("trg");
    if (!trg) return false;
    graphxml::WriteInt(trg, "id", target->m_id);
  }
  if (!allLinks) return true;
  for (int i = 0; i < m_incoming.GetCount(); ++i) {
    SXmlItem* src = wrapper->AddChild("src");
    if (!src) return false;
    graphxml::WriteInt(src, "id", m_incoming.GetAt(i)->m_id);
  }
  return true;
}

bool SGraphPlug::IsLinkedTo(const SGraphPlug* target) const {
  return const_cast<SArray<SGraphPlug*>&>(m_outgoing).Find(const_cast<SGraphPlug*>(target)) >= 0;
}

bool SGraphPlug::Link(SGraphPlug* target, bool notify) {
  if (!target || !IsOutput() || target->IsOutput() || IsLinkedTo(target)) return false;
  m_outgoing.Add(target);
  target->m_incoming.Add(this);
  if (!notify) return true;
  if (m_board) m_board->OnLink(this, target);
  if (!m_control) return true;
  bool pushed = false;
  SGraphUndo_Link* record = m_control->MakeUndoOf<SGraphUndo_Link>(SGraphUndo::KIND_LINK);
  if (record) {
    record->Add(m_id, target->m_id);
    pushed = m_control->Record(record);
  }
  if (m_control->IsTreeMode() && m_board) m_board->ArrangeTree(m_box, pushed, pushed);
  return true;
}

bool SGraphPlug::Unlink(SGraphPlug* target) {
  int index = target ? m_outgoing.Find(target) : -1;
  if (index < 0) return false;
  m_outgoing.RemoveAt(index);
  target->m_incoming.RemoveValue(this);
  return true;
}

void SGraphPlug::UnlinkAll() {
  while (m_outgoing.GetCount() > 0) Unlink(m_outgoing.GetLast());
}

void SGraphPlug::BreakAllLinks(SArray<int>* sources, SArray<int>* targets) {
  while (m_outgoing.GetCount() > 0) {
    SGraphPlug* target = m_outgoing.GetAt(0);
    if (sources && targets) {
      sources->Add(m_id);
      targets->Add(target->m_id);
    }
    Unlink(target);
  }
  while (m_incoming.GetCount() > 0) {
    SGraphPlug* source = m_incoming.GetAt(0);
    if (sources && targets) {
      sources->Add(source->m_id);
      targets->Add(m_id);
    }
    source->Unlink(this);
  }
}

bool SGraphPlug::SetVisible(bool visible, bool check) {
  if (check && !visible && m_visible && HasLinks()) return false;
  m_visible = visible;
  if (check && m_box) m_box->UpdateLayout();
  return true;
}

RECT SGraphPlug::GetSquare() const {
  RECT square = m_rect;
  if (m_box) OffsetRect(&square, m_box->m_inner.left, m_box->m_inner.top);
  return square;
}

POINT SGraphPlug::GetAnchor() const {
  RECT s = GetSquare();
  POINT anchor = {(s.left + s.right) / 2, (s.top + s.bottom) / 2};
  switch (m_type) {
    case TYPE_LEFT:
      anchor.x = s.left;
      break;
    case TYPE_RIGHT:
      anchor.x = s.right;
      break;
    case TYPE_BOTTOM_IN:
    case TYPE_BOTTOM_OUT:
      anchor.y = s.bottom;
      break;
  }
  return anchor;
}

void SGraphPlug::ClearPending() {
  m_pendingSources.RemoveAll();
  m_pendingTargets.RemoveAll();
}
