// The board's XML form: loading with id checks, saving, and the clipboard.
#include "core/Platform.h"
#include "editors/SGraphBoard.h"

#include "core/SClipboard.h"
#include "core/SXml.h"
#include "core/SXmlItem.h"
#include "editors/GraphXml.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphCtrl.h"
#include "editors/SGraphPlug.h"
#include "editors/SGraphUndo.h"

namespace {

bool IsNamed(const SXmlItem* item, const char* name) {
  return item->GetName().CompareNoCase(name) == 0;
}

HWND OwnerOf(const SGraphCtrl* control) { return control ? control->m_hWnd : nullptr; }

}  // namespace

bool SGraphBoard::Load(SXmlItem* parent, const POINT* offset) {
  SXmlItem* board = parent ? parent->GetChild("board") : nullptr;
  if (!board) return false;
  graphxml::ReadInt(board, "nextid", &m_nextId);
  graphxml::ReadInt(board, "data", &m_data);
  graphxml::ReadCoordinate(board, "x", &m_originX);
  graphxml::ReadCoordinate(board, "y", &m_originY);
  if (m_nextId < 1) m_nextId = 1;
  if (m_nextId > MAX_ID) m_nextId = MAX_ID + 1;
  return LoadBoxes(parent, offset, nullptr);
}

bool SGraphBoard::TakeId(int id, SArray<int>* ids) {
  if (id < 1 || id > MAX_ID || ids->FindSorted(id) >= 0) return false;
  return ids->InsertSorted(id) >= 0;
}

void SGraphBoard::CollectIds(SArray<int>* ids) const {
  for (int i = 0; i < m_boxes.GetCount(); ++i) {
    SGraphBox* box = m_boxes.GetAt(i);
    ids->Add(box->m_id);
    for (int j = 0; j < box->m_plugs.GetCount(); ++j) ids->Add(box->m_plugs.GetAt(j)->m_id);
  }
  ids->Sort();
}

bool SGraphBoard::LoadBoxes(SXmlItem* parent, const POINT* offset, SArray<SGraphBox*>* collected) {
  if (!parent) return false;
  SArray<int> ids;
  CollectIds(&ids);
  bool loaded = LoadBoxesChecked(parent, offset, collected, &ids);
  // The counter stays above every id on the board.
  if (ids.GetCount() > 0 && ids.GetLast() >= m_nextId && ids.GetLast() <= MAX_ID) {
    m_nextId = ids.GetLast() + 1;
  }
  return loaded;
}

bool SGraphBoard::LoadBoxesChecked(SXmlItem* parent, const POINT* offset,
                                   SArray<SGraphBox*>* collected, SArray<int>* ids) {
  const SArray<SXmlItem*>& children = parent->GetChildren();
  for (int i = 0; i < children.GetCount(); ++i) {
    SXmlItem* wrapper = children.GetAt(i);
    if (!IsNamed(wrapper, "box")) continue;
    int type = 0;
    SXmlItem* inner = wrapper->GetChild("box");
    if (inner) graphxml::ReadInt(inner, "type", &type);
    SGraphBox* box = m_control ? m_control->CreateBox(type) : nullptr;
    if (!box) return false;
    box->m_board = this;
    box->m_control = m_control;
    bool ok = box->Load(wrapper, offset) && TakeId(box->m_id, ids);
    for (int j = 0; ok && j < box->m_plugs.GetCount(); ++j) {
      ok = TakeId(box->m_plugs.GetAt(j)->m_id, ids);
    }
    if (!ok) {
      delete box;
      return false;
    }
    box->UpdateLayout();
    m_boxes.Add(box);
    if (collected) collected->Add(box);
  }
  return true;
}

bool SGraphBoard::ResolveLinks(int pass) {
  for (int i = 0; i < m_boxes.GetCount(); ++i) {
    if (!m_boxes.GetAt(i)->ResolveLinks(pass)) return false;
  }
  return true;
}

bool SGraphBoard::Save(SXmlItem* parent) {
  if (!parent) return false;
  SXmlItem* board = parent->AddChild("board");
  if (!board) return false;
  graphxml::WriteInt(board, "nextid", m_nextId);
  graphxml::WriteInt(board, "data", m_data);
  graphxml::WriteInt(board, "x", m_originX);
  graphxml::WriteInt(board, "y", m_originY);
  return SaveBoxes(parent, &m_boxes, false);
}

bool SGraphBoard::SaveBoxes(SXmlItem* parent, const SArray<SGraphBox*>* boxes, bool allLinks) {
  if (!parent || !boxes) return false;
  for (int i = 0; i < boxes->GetCount(); ++i) {
    SXmlItem* wrapper = parent->AddChild("box");
    if (!wrapper || !boxes->GetAt(i)->Save(wrapper, boxes, allLinks)) return false;
  }
  return true;
}

// --- clipboard ------------------------------------------------------------------------

bool SGraphBoard::Copy() {
  const char* signature = m_control ? m_control->m_signature.GetText() : "";
  SXml document("clipboard", "signature", signature ? signature : "");
  if (!SaveBoxes(document.GetRoot(), &m_selection, false)) return false;
  SString text = document.WriteText();
  SClipboard clipboard(OwnerOf(m_control));
  return clipboard.SetText(text.GetText() ? text.GetText() : "");
}

bool SGraphBoard::Cut() {
  if (!Copy()) return false;
  DeleteSelection();
  return true;
}

POINT SGraphBoard::PasteOffset(const POINT* point, SGraphBoard* pasted) const {
  POINT bounds = pasted->GetBounds(pasted->m_boxes);
  POINT offset = {0, 0};
  if (point) {
    offset.x = point->x - bounds.x;
    offset.y = point->y - bounds.y;
  } else if (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) {
    // The pointer in client coordinates, then on the board.
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);
    HWND owner = OwnerOf(m_control);
    if (owner) ::ScreenToClient(owner, &cursor);
    offset.x = cursor.x - m_originX - bounds.x;
    offset.y = cursor.y - m_originY - bounds.y;
  } else if (m_current) {
    POINT selected = GetBounds(m_selection);
    offset.x = 4 * m_grid + selected.x - bounds.x;
    offset.y = 4 * m_grid + selected.y - bounds.y;
  }
  return offset;
}

bool SGraphBoard::Paste(const POINT* point) {
  if (!m_control) return false;
  SClipboard clipboard(OwnerOf(m_control));
  SString text = clipboard.GetText();
  if (text.GetLength() == 0) return false;
  SXml document;
  if (!document.ParseText(text.GetText())) return false;
  if (document.GetSignature() != m_control->m_signature) return false;

  SGraphBoard* pasted = m_control->CreateBoard();
  if (!pasted) return false;
  bool loaded = pasted->LoadBoxes(document.GetRoot(), nullptr, nullptr) &&
                pasted->ResolveLinks(0) && pasted->ResolveLinks(1);
  int objects = 0;
  for (int i = 0; i < pasted->m_boxes.GetCount(); ++i) {
    objects += 1 + pasted->m_boxes.GetAt(i)->m_plugs.GetCount();
  }
  if (!loaded || objects > MAX_ID + 1 - m_nextId) {
    delete pasted;
    return false;
  }
  AssignIds(pasted);
  SXml renumbered;
  bool saved = pasted->SaveBoxes(renumbered.GetRoot(), &pasted->m_boxes, false);
  POINT offset = PasteOffset(point, pasted);
  delete pasted;
  if (!saved) return false;

  SArray<int> oldSelection;
  GetSelectionIds(&oldSelection);
  int oldCurrent = m_current ? m_current->m_id : 0;
  SArray<SGraphBox*> collected;
  if (!LoadBoxes(renumbered.GetRoot(), &offset, &collected) || !ResolveLinks(0) ||
      !ResolveLinks(1)) {
    ClearPendingLinks();
    return false;
  }
  OnPaste(&collected);
  SGraphUndo_CreateBox* record =
      m_control->MakeUndoOf<SGraphUndo_CreateBox>(SGraphUndo::KIND_CREATEBOX);
  if (record) {
    if (record->Store(collected, oldSelection, oldCurrent)) {
      m_control->Record(record);
    } else {
      delete record;
    }
  }
  SetSelection(collected, nullptr, false);
  return true;
}
