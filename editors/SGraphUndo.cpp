#include "core/Platform.h"
#include "editors/SGraphUndo.h"

#include "core/SXmlItem.h"
#include "editors/SGraphBoard.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphCtrl.h"
#include "editors/SGraphPlug.h"

namespace {

// Loads the snapshot's "boxes" back onto the board with their links; the
// restored boxes become the selection.
bool RestoreBoxes(SGraphBoard* board, SXml& document) {
  SXmlItem* boxes = document.GetRoot()->GetChild("boxes");
  SArray<SGraphBox*> restored;
  if (!boxes || !board->LoadBoxes(boxes, nullptr, &restored) || !board->ResolveLinks(0) ||
      !board->ResolveLinks(1)) {
    board->ClearPendingLinks();
    return false;
  }
  board->SetSelection(restored, nullptr, false);
  return true;
}

// Writes the boxes with all their links under a fresh "boxes" element.
bool SnapshotBoxes(SGraphBoard* board, SXml& document, const SArray<SGraphBox*>& boxes) {
  document.Reset("xml");
  SXmlItem* element = document.GetRoot()->AddChild("boxes");
  return element && board && board->SaveBoxes(element, &boxes, true);
}

void DeleteBoxes(SGraphBoard* board, const SArray<int>& ids) {
  for (int i = 0; i < ids.GetCount(); ++i) {
    SGraphBox* box = board->FindBox(ids.GetAt(i));
    if (box) board->DeleteBox(box);
  }
}

}  // namespace

SGraphBoard* SGraphUndo::Board() const { return m_control ? m_control->m_board : nullptr; }

// --- plugs ------------------------------------------------------------------------------

SGraphUndo_AddPlug::SGraphUndo_AddPlug(SGraphCtrl* control)
    : SGraphUndo(control), m_boxId(0), m_plugId(0) {}

bool SGraphUndo_AddPlug::Store(SGraphPlug* plug) {
  if (!plug || !plug->m_box) return false;
  m_boxId = plug->m_box->m_id;
  m_plugId = plug->m_id;
  m_form.Reset("xml");
  SXmlItem* wrapper = m_form.GetRoot()->AddChild("plug");
  return wrapper && plug->Save(wrapper, nullptr, true);
}

bool SGraphUndo_AddPlug::RemoveStoredPlug() {
  SGraphBoard* board = Board();
  SGraphBox* box = board ? board->FindBox(m_boxId) : nullptr;
  SGraphPlug* plug = box ? box->FindPlug(m_plugId) : nullptr;
  return plug && box->RemovePlug(plug);
}

bool SGraphUndo_AddPlug::RebuildStoredPlug() {
  SGraphBoard* board = Board();
  SGraphBox* box = board ? board->FindBox(m_boxId) : nullptr;
  SXmlItem* wrapper = m_form.GetRoot()->GetChild("plug");
  if (!box || !wrapper) return false;
  if (box->FindPlug(m_plugId) || board->FindPlug(m_plugId)) return false;
  SGraphPlug* plug = new SGraphPlug(box);
  if (!plug->Load(wrapper, nullptr) || plug->m_id != m_plugId || !plug->ResolveLinks(0) ||
      !plug->ResolveLinks(1)) {
    plug->BreakAllLinks(nullptr, nullptr);
    delete plug;
    return false;
  }
  box->AddPlug(plug);
  return true;
}

// --- boxes ------------------------------------------------------------------------------

SGraphUndo_CreateBox::SGraphUndo_CreateBox(SGraphCtrl* control)
    : SGraphUndo(control), m_currentId(0) {}

bool SGraphUndo_CreateBox::Store(const SArray<SGraphBox*>& created, const SArray<int>& oldSelection,
                                 int oldCurrent) {
  m_currentId = oldCurrent;
  m_oldSelection = oldSelection;
  m_created.RemoveAll();
  for (int i = 0; i < created.GetCount(); ++i) m_created.Add(created.GetAt(i)->m_id);
  return SnapshotBoxes(Board(), m_document, created);
}

bool SGraphUndo_CreateBox::Undo() {
  SGraphBoard* board = Board();
  if (!board) return false;
  DeleteBoxes(board, m_created);
  SArray<SGraphBox*> selection;
  for (int i = 0; i < m_oldSelection.GetCount(); ++i) {
    SGraphBox* box = board->FindBox(m_oldSelection.GetAt(i));
    if (box) selection.Add(box);
  }
  board->SetSelection(selection, board->FindBox(m_currentId), false);
  return true;
}

bool SGraphUndo_CreateBox::Redo() {
  SGraphBoard* board = Board();
  return board && RestoreBoxes(board, m_document);
}

SGraphUndo_DestroyBox::SGraphUndo_DestroyBox(SGraphCtrl* control) : SGraphUndo(control) {}

bool SGraphUndo_DestroyBox::Store(const SArray<SGraphBox*>& boxes) {
  m_ids.RemoveAll();
  for (int i = 0; i < boxes.GetCount(); ++i) m_ids.Add(boxes.GetAt(i)->m_id);
  return SnapshotBoxes(Board(), m_document, boxes);
}

bool SGraphUndo_DestroyBox::Undo() {
  SGraphBoard* board = Board();
  if (!board || !RestoreBoxes(board, m_document)) return false;
  board->ArrangeTree(nullptr, false, false);
  return true;
}

bool SGraphUndo_DestroyBox::Redo() {
  SGraphBoard* board = Board();
  if (!board) return false;
  DeleteBoxes(board, m_ids);
  board->ArrangeTree(nullptr, false, false);
  return true;
}

// --- flags ------------------------------------------------------------------------------

void SGraphUndo_Flags::Add(int id, bool oldValue, bool newValue) {
  m_ids.Add(id);
  m_old.Add(oldValue ? 1 : 0);
  m_new.Add(newValue ? 1 : 0);
}

bool SGraphUndo_EnablePlug::Apply(const SArray<uint8_t>& values) {
  SGraphBoard* board = Board();
  if (!board) return false;
  for (int i = 0; i < m_ids.GetCount(); ++i) {
    SGraphPlug* plug = board->FindPlug(m_ids.GetAt(i));
    if (!plug) continue;
    plug->m_enabled = values.GetAt(i) != 0 && plug->m_type == SGraphPlug::TYPE_RIGHT;
    if (plug->m_box) plug->m_box->UpdateLayout();
  }
  return true;
}

bool SGraphUndo_ShowPlug::Apply(const SArray<uint8_t>& values) {
  SGraphBoard* board = Board();
  if (!board) return false;
  for (int i = 0; i < m_ids.GetCount(); ++i) {
    SGraphPlug* plug = board->FindPlug(m_ids.GetAt(i));
    if (plug) plug->SetVisible(values.GetAt(i) != 0, true);
  }
  return true;
}

bool SGraphUndo_Expand::Apply(const SArray<uint8_t>& values) {
  SGraphBoard* board = Board();
  SArray<SGraphBox*> boxes;
  if (!board || !board->FindBoxes(m_ids, &boxes)) return false;
  for (int i = 0; i < boxes.GetCount(); ++i) {
    boxes.GetAt(i)->Expand(values.GetAt(i) != 0, false, false, false);
  }
  board->ArrangeTree(nullptr, false, false);
  return true;
}

// --- links and moves ----------------------------------------------------------------------

void SGraphUndo_Link::Add(int sourceId, int targetId) {
  m_sources.Add(sourceId);
  m_targets.Add(targetId);
}

bool SGraphUndo_Link::Toggle() {
  SGraphBoard* board = Board();
  if (!board) return false;
  for (int i = 0; i < m_sources.GetCount(); ++i) {
    SGraphPlug* source = board->FindPlug(m_sources.GetAt(i));
    SGraphPlug* target = board->FindPlug(m_targets.GetAt(i));
    if (!source || !target) continue;
    if (!source->Unlink(target)) source->Link(target, false);
  }
  return true;
}

void SGraphUndo_MoveBox::Add(int id, POINT oldPosition, POINT newPosition) {
  m_ids.Add(id);
  m_old.Add(oldPosition);
  m_new.Add(newPosition);
}

void SGraphUndo_MoveBox::StoreOld(const SArray<SGraphBox*>& boxes) {
  for (int i = 0; i < boxes.GetCount(); ++i) {
    SGraphBox* box = boxes.GetAt(i);
    POINT position = {box->m_x, box->m_y};
    Add(box->m_id, position, position);
  }
}

void SGraphUndo_MoveBox::SetNewPositions() {
  SGraphBoard* board = Board();
  for (int i = m_ids.GetCount() - 1; i >= 0; --i) {
    SGraphBox* box = board ? board->FindBox(m_ids.GetAt(i)) : nullptr;
    POINT old = m_old.GetAt(i);
    if (box && (box->m_x != old.x || box->m_y != old.y)) {
      m_new[i].x = box->m_x;
      m_new[i].y = box->m_y;
      continue;
    }
    m_ids.RemoveAt(i);
    m_old.RemoveAt(i);
    m_new.RemoveAt(i);
  }
}

bool SGraphUndo_MoveBox::Apply(const SArray<POINT>& positions) {
  SGraphBoard* board = Board();
  SArray<SGraphBox*> boxes;
  if (!board || !board->FindBoxes(m_ids, &boxes)) return false;
  for (int i = 0; i < boxes.GetCount(); ++i) {
    SGraphBox* box = boxes.GetAt(i);
    box->m_x = positions.GetAt(i).x;
    box->m_y = positions.GetAt(i).y;
    box->UpdateLayout();
  }
  return true;
}

// --- selection ----------------------------------------------------------------------------

SGraphUndo_SelectBox::SGraphUndo_SelectBox(SGraphCtrl* control)
    : SGraphUndo(control), m_oldCurrent(0), m_newCurrent(0) {}

bool SGraphUndo_SelectBox::HasEntries() {
  if (m_oldCurrent != m_newCurrent || m_oldIds.GetCount() != m_newIds.GetCount()) return true;
  for (int i = 0; i < m_oldIds.GetCount(); ++i) {
    if (m_oldIds.GetAt(i) != m_newIds.GetAt(i)) return true;
  }
  return false;
}

bool SGraphUndo_SelectBox::Apply(const SArray<int>& ids, int currentId) {
  SGraphBoard* board = Board();
  SArray<SGraphBox*> boxes;
  if (!board || !board->FindBoxes(ids, &boxes)) return false;
  board->SetSelection(boxes, currentId ? board->FindBox(currentId) : nullptr, false);
  return true;
}
