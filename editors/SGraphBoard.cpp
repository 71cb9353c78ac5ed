#include "core/Platform.h"
#include "editors/SGraphBoard.h"

#include "editors/SGraphBox.h"
#include "editors/SGraphCtrl.h"
#include "editors/SGraphPlug.h"
#include "editors/SGraphUndo.h"

SGraphBoard::SGraphBoard(SGraphCtrl* control)
    : m_control(control),
      m_nextId(1),
      m_data(0),
      m_current(nullptr),
      m_grid(DEFAULT_GRID),
      m_originX(0),
      m_originY(0) {}

SGraphBoard::~SGraphBoard() {
  m_selection.RemoveAll();
  m_current = nullptr;
  // Links between the boxes go with them: no plug outlives its partners.
  m_boxes.DeleteAndRemoveAll();
}

void SGraphBoard::Clear() {
  m_selection.RemoveAll();
  m_current = nullptr;
  if (m_control) m_control->ForgetBox(nullptr);
  m_boxes.DeleteAndRemoveAll();
  m_data = 0;
  m_originX = m_originY = 0;
  m_nextId = 1;
  m_grid = DEFAULT_GRID;
}

// --- hooks of applications -------------------------------------------------------

bool SGraphBoard::CanDestroyBoxes(SArray<SGraphBox*>*) { return true; }
void SGraphBoard::OnBoxesDestroyed() {}
bool SGraphBoard::CanDestroyBox(SGraphBox*) { return true; }
void SGraphBoard::OnDestroyBox(SGraphBox*) {}
void SGraphBoard::OnSelectionChanged(SGraphBox*) {}
bool SGraphBoard::CanLink(SGraphPlug*, SGraphPlug*) { return true; }
void SGraphBoard::OnLink(SGraphPlug*, SGraphPlug*) {}
bool SGraphBoard::CanUnlink(SGraphPlug*, SGraphPlug*) { return true; }
void SGraphBoard::OnUnlink(SGraphPlug*, SGraphPlug*) {}
bool SGraphBoard::CanDropLinkOnBox(SGraphPlug*, SGraphBox*) { return false; }
void SGraphBoard::OnDropLinkOnBox(SGraphPlug*, SGraphBox*) {}
void SGraphBoard::OnHook(int) {}
void SGraphBoard::OnPaste(SArray<SGraphBox*>*) {}
void SGraphBoard::OnUndoRecord(SGraphUndo*) {}

// --- lookup and geometry ----------------------------------------------------------

SGraphPlug* SGraphBoard::FindPlug(int id) const {
  for (int i = 0; i < m_boxes.GetCount(); ++i) {
    SGraphPlug* plug = m_boxes.GetAt(i)->FindPlug(id);
    if (plug) return plug;
  }
  return nullptr;
}

SGraphBox* SGraphBoard::FindBox(int id) const {
  for (int i = 0; i < m_boxes.GetCount(); ++i) {
    if (m_boxes.GetAt(i)->m_id == id) return m_boxes.GetAt(i);
  }
  return nullptr;
}

int SGraphBoard::IndexOfBox(const SGraphBox* box) const {
  return const_cast<SArray<SGraphBox*>&>(m_boxes).Find(const_cast<SGraphBox*>(box));
}

bool SGraphBoard::FindBoxes(const SArray<int>& ids, SArray<SGraphBox*>* boxes) const {
  for (int i = 0; i < ids.GetCount(); ++i) {
    SGraphBox* box = FindBox(ids.GetAt(i));
    if (!box) return false;
    boxes->Add(box);
  }
  return true;
}

void SGraphBoard::AssignIds(SGraphBoard* source) {
  for (int i = 0; i < source->m_boxes.GetCount(); ++i) {
    SGraphBox* box = source->m_boxes.GetAt(i);
    box->m_id = m_nextId++;
    for (int j = 0; j < box->m_plugs.GetCount(); ++j) box->m_plugs.GetAt(j)->m_id = m_nextId++;
  }
}

POINT SGraphBoard::GetBounds(const SArray<SGraphBox*>& boxes) const {
  POINT bounds = {0, 0};
  for (int i = 0; i < boxes.GetCount(); ++i) {
    const RECT& r = boxes.GetAt(i)->m_rect;
    if (i == 0 || r.left < bounds.x) bounds.x = r.left;
    if (i == 0 || r.top < bounds.y) bounds.y = r.top;
  }
  return bounds;
}

int SGraphBoard::Snap(int value) const { return m_grid > 0 ? value - value % m_grid : value; }

void SGraphBoard::MoveBoxes(const SArray<SGraphBox*>& boxes, int dx, int dy, bool snap) {
  for (int i = 0; i < boxes.GetCount(); ++i) {
    SGraphBox* box = boxes.GetAt(i);
    box->m_x += dx;
    box->m_y += dy;
    if (snap) {
      box->m_x = Snap(box->m_x);
      box->m_y = Snap(box->m_y);
    }
    box->UpdateLayout();
  }
}

void SGraphBoard::AddBox(SGraphBox* box) {
  if (!box || IndexOfBox(box) >= 0) return;
  box->m_board = this;
  box->m_control = m_control;
  m_boxes.Add(box);
  box->UpdateLayout();
}

void SGraphBoard::ClearPendingLinks() {
  for (int i = 0; i < m_boxes.GetCount(); ++i) {
    SGraphBox* box = m_boxes.GetAt(i);
    for (int j = 0; j < box->m_plugs.GetCount(); ++j) box->m_plugs.GetAt(j)->ClearPending();
  }
}

// --- destroying boxes -------------------------------------------------------------

void SGraphBoard::DeleteBox(SGraphBox* box) {
  int index = IndexOfBox(box);
  if (index < 0) return;
  for (int i = 0; i < m_boxes.GetCount(); ++i) {
    SGraphBox* other = m_boxes.GetAt(i);
    if (other != box) box->UnlinkFrom(other);
  }
  // Links from the box to itself go too: no plug may keep a deleted partner.
  for (int i = 0; i < box->m_plugs.GetCount(); ++i) {
    box->m_plugs.GetAt(i)->BreakAllLinks(nullptr, nullptr);
  }
  m_boxes.RemoveAt(index);
  int selected = m_selection.Find(box);
  if (selected >= 0) m_selection.RemoveAt(selected);
  if (m_current == box) m_current = m_selection.GetCount() > 0 ? m_selection.GetAt(0) : nullptr;
  if (m_control) m_control->ForgetBox(box);
  delete box;
}

int SGraphBoard::DestroyBoxes(const SArray<SGraphBox*>& boxes, bool arrangeRecord) {
  SArray<SGraphBox*> asked;
  asked = boxes;
  if (!CanDestroyBoxes(&asked)) return 0;
  // The boxes that will go, asked before the snapshot so that the record
  // holds exactly them (the array may be the selection, which shrinks as
  // boxes go).
  SArray<SGraphBox*> doomed;
  for (int i = 0; i < asked.GetCount(); ++i) {
    SGraphBox* box = asked.GetAt(i);
    if (IndexOfBox(box) >= 0 && doomed.Find(box) < 0 && CanDestroyBox(box)) doomed.Add(box);
  }
  SGraphUndo_DestroyBox* record =
      m_control && doomed.GetCount() > 0
          ? m_control->MakeUndoOf<SGraphUndo_DestroyBox>(SGraphUndo::KIND_DESTROYBOX)
          : nullptr;
  bool pushed = false;
  if (record) {
    if (!record->Store(doomed)) {
      delete record;
      return 0;
    }
    pushed = m_control->Record(record);
  }
  for (int i = 0; i < doomed.GetCount(); ++i) {
    OnDestroyBox(doomed.GetAt(i));
    DeleteBox(doomed.GetAt(i));
  }
  ArrangeTree(nullptr, arrangeRecord, pushed);
  OnBoxesDestroyed();
  return doomed.GetCount();
}

void SGraphBoard::DeleteSelection() {
  if (m_selection.GetCount() == 0) return;
  SGraphBox* oldCurrent = m_current;
  int oldCount = m_selection.GetCount();
  DestroyBoxes(m_selection, false);
  bool changed = m_selection.GetCount() != oldCount || m_current != oldCurrent;
  if (m_selection.GetCount() > 0) {
    m_selection.RemoveAll();
    m_current = nullptr;
    changed = true;
  }
  if (changed) OnSelectionChanged(m_current);
}

// --- selection ----------------------------------------------------------------------

bool SGraphBoard::IsSelected(const SGraphBox* box) const {
  return const_cast<SArray<SGraphBox*>&>(m_selection).Find(const_cast<SGraphBox*>(box)) >= 0;
}

void SGraphBoard::GetSelectionIds(SArray<int>* ids) const {
  for (int i = 0; i < m_selection.GetCount(); ++i) ids->Add(m_selection.GetAt(i)->m_id);
}

SGraphUndo_SelectBox* SGraphBoard::BeginSelectionChange(bool makeRecord) {
  if (!makeRecord || !m_control) return nullptr;
  SGraphUndo_SelectBox* record =
      m_control->MakeUndoOf<SGraphUndo_SelectBox>(SGraphUndo::KIND_SELECTBOX);
  if (!record) return nullptr;
  GetSelectionIds(&record->m_oldIds);
  record->m_oldCurrent = m_current ? m_current->m_id : 0;
  return record;
}

void SGraphBoard::EndSelectionChange(SGraphUndo_SelectBox* record) {
  if (!record) return;
  GetSelectionIds(&record->m_newIds);
  record->m_newCurrent = m_current ? m_current->m_id : 0;
  m_control->Record(record);
}

void SGraphBoard::FinishSelectionChange(SGraphUndo_SelectBox* record) {
  EndSelectionChange(record);
  OnSelectionChanged(m_current);
}

void SGraphBoard::ClearSelection(bool record) {
  if (m_selection.GetCount() == 0) return;
  SGraphUndo_SelectBox* change = BeginSelectionChange(record);
  m_selection.RemoveAll();
  m_current = nullptr;
  FinishSelectionChange(change);
}

void SGraphBoard::SetCurrent(SGraphBox* box, bool record) {
  if (!box || box == m_current || !IsSelected(box)) return;
  SGraphUndo_SelectBox* change = BeginSelectionChange(record);
  m_current = box;
  FinishSelectionChange(change);
}

void SGraphBoard::SelectOnly(SGraphBox* box, bool record) {
  if (box && IndexOfBox(box) < 0) return;
  SGraphUndo_SelectBox* change = BeginSelectionChange(record);
  m_selection.RemoveAll();
  m_current = box;
  if (box) m_selection.Add(box);
  FinishSelectionChange(change);
}

void SGraphBoard::SetSelection(const SArray<SGraphBox*>& boxes, SGraphBox* preferred, bool record) {
  SGraphUndo_SelectBox* change = BeginSelectionChange(record);
  m_selection.RemoveAll();
  for (int i = 0; i < boxes.GetCount(); ++i) {
    SGraphBox* box = boxes.GetAt(i);
    if (IndexOfBox(box) >= 0 && m_selection.Find(box) < 0) m_selection.Add(box);
  }
  m_current = nullptr;
  if (m_selection.GetCount() > 0) {
    m_current = m_selection.Find(preferred) >= 0 ? preferred : m_selection.GetAt(0);
  }
  FinishSelectionChange(change);
}

void SGraphBoard::AddToSelection(SGraphBox* box, bool record) {
  if (!box || IsSelected(box) || IndexOfBox(box) < 0) return;
  SGraphUndo_SelectBox* change = BeginSelectionChange(record);
  m_selection.Add(box);
  m_current = box;
  FinishSelectionChange(change);
}

void SGraphBoard::ToggleSelection(SGraphBox* box, bool record) {
  if (!box || IndexOfBox(box) < 0) return;
  SGraphUndo_SelectBox* change = BeginSelectionChange(record);
  int index = m_selection.Find(box);
  if (index >= 0) {
    m_selection.RemoveAt(index);
    if (m_current == box) m_current = m_selection.GetCount() > 0 ? m_selection.GetAt(0) : nullptr;
  } else {
    m_selection.Add(box);
    m_current = box;
  }
  FinishSelectionChange(change);
}

// --- tree mode ----------------------------------------------------------------------

void SGraphBoard::ArrangeTree(SGraphBox* start, bool makeRecord, bool chain) {
  if (!m_control || !m_control->IsTreeMode() || m_boxes.GetCount() == 0) return;
  SGraphBox* root = start;
  SArray<SGraphBox*> visited;
  if (root) {
    visited.Add(root);
    for (SGraphBox* parent = root->GetParentBox(); parent && visited.Find(parent) < 0;
         parent = root->GetParentBox()) {
      visited.Add(parent);
      root = parent;
    }
  } else {
    for (int i = 0; i < m_boxes.GetCount() && !root; ++i) {
      if (!m_boxes.GetAt(i)->GetParentBox()) root = m_boxes.GetAt(i);
    }
  }
  if (!root) return;
  SGraphUndo_MoveBox* record =
      makeRecord ? m_control->MakeUndoOf<SGraphUndo_MoveBox>(SGraphUndo::KIND_MOVEBOX) : nullptr;
  visited.RemoveAll();
  int cursor = root->m_y;
  root->Arrange(&cursor, record, &visited);
  if (!record) return;
  bool below = m_control->GetUndoIndex() >= 0;
  if (m_control->Record(record) && chain && below) record->m_chained = true;
}
