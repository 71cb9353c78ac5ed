// The graph control's popup menu commands.
#include "core/Platform.h"
#include "editors/SGraphCtrl.h"

#include "editors/SGraphBoard.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphPlug.h"

void SGraphCtrl::RunCommand(int id) {
  if (!m_board) return;
  bool clipboard = (m_flags & FLAG_CLIPBOARD) != 0;
  SGraphPlug* plug = m_menuPlugId ? m_board->FindPlug(m_menuPlugId) : nullptr;
  switch (id) {
    case CMD_PASTE:
      if (clipboard) m_board->Paste(&m_menuPoint);
      break;
    case CMD_BOX_BREAK:
      BreakBoxLinks();
      break;
    case CMD_BOX_SHOW:
      ShowPlugs(true);
      break;
    case CMD_BOX_HIDE_UNUSED:
      ShowPlugs(false);
      break;
    case CMD_BOX_CUT:
      if (clipboard && m_board->m_current) m_board->Cut();
      break;
    case CMD_BOX_COPY:
      if (clipboard && m_board->m_current) m_board->Copy();
      break;
    case CMD_BOX_PASTE:
      if (clipboard) m_board->Paste(nullptr);
      break;
    case CMD_BOX_DELETE:
      m_board->DestroyBoxes(m_board->m_selection, true);
      m_board->ClearSelection(false);
      break;
    case CMD_PLUG_BREAK:
      if (plug) BreakPlugLinks(plug);
      break;
    case CMD_PLUG_HIDE:
      if (plug && !plug->HasLinks()) HidePlug(plug);
      break;
    case CMD_PLUG_ENABLE:
    case CMD_PLUG_DISABLE:
      if (plug) SetPlugEnabled(plug, id == CMD_PLUG_ENABLE);
      break;
    case CMD_LINK_DELETE:
      DeleteLink();
      break;
    default:
      return;
  }
  RedrawBoard();
}

void SGraphCtrl::BreakBoxLinks() {
  SArray<SGraphBox*> boxes;
  boxes = m_board->m_selection;
  for (int i = 0; i < boxes.GetCount(); ++i) {
    SGraphBox* box = boxes.GetAt(i);
    SGraphUndo_Link* record = MakeUndoOf<SGraphUndo_Link>(SGraphUndo::KIND_LINK);
    SArray<int> sources, targets;
    // A link between two plugs of the box is met once: it goes at the first.
    for (int j = 0; j < box->m_plugs.GetCount(); ++j) {
      box->m_plugs.GetAt(j)->BreakAllLinks(&sources, &targets);
    }
    if (record) {
      for (int j = 0; j < sources.GetCount(); ++j) record->Add(sources.GetAt(j), targets.GetAt(j));
      Record(record);
    }
  }
}

void SGraphCtrl::BreakPlugLinks(SGraphPlug* plug) {
  SGraphUndo_Link* record = MakeUndoOf<SGraphUndo_Link>(SGraphUndo::KIND_LINK);
  SArray<int> sources, targets;
  plug->BreakAllLinks(&sources, &targets);
  if (!record) return;
  for (int j = 0; j < sources.GetCount(); ++j) record->Add(sources.GetAt(j), targets.GetAt(j));
  Record(record);
}

void SGraphCtrl::ShowPlugs(bool show) {
  for (int i = 0; i < m_board->m_selection.GetCount(); ++i) {
    SGraphBox* box = m_board->m_selection.GetAt(i);
    SGraphUndo_ShowPlug* record = MakeUndoOf<SGraphUndo_ShowPlug>(SGraphUndo::KIND_SHOWPLUG);
    for (int j = 0; j < box->m_plugs.GetCount(); ++j) {
      SGraphPlug* plug = box->m_plugs.GetAt(j);
      bool old = plug->m_visible;
      if (old == show || (!show && plug->HasLinks())) continue;
      plug->SetVisible(show, false);
      if (record) record->Add(plug->m_id, old, show);
    }
    box->UpdateLayout();
    Record(record);
  }
}

void SGraphCtrl::HidePlug(SGraphPlug* plug) {
  bool old = plug->m_visible;
  if (!plug->SetVisible(false, true) || !old) return;
  SGraphUndo_ShowPlug* record = MakeUndoOf<SGraphUndo_ShowPlug>(SGraphUndo::KIND_SHOWPLUG);
  if (record) record->Add(plug->m_id, old, false);
  Record(record);
}

void SGraphCtrl::SetPlugEnabled(SGraphPlug* plug, bool enable) {
  if (!(m_flags & FLAG_ENABLE) || plug->m_type != SGraphPlug::TYPE_RIGHT) return;
  if (plug->m_enabled == enable) return;
  SGraphUndo_EnablePlug* record = MakeUndoOf<SGraphUndo_EnablePlug>(SGraphUndo::KIND_ENABLEPLUG);
  if (record) record->Add(plug->m_id, plug->m_enabled, enable);
  plug->m_enabled = enable;
  if (plug->m_box) plug->m_box->UpdateLayout();
  Record(record);
}

void SGraphCtrl::DeleteLink() {
  SGraphPlug* source = m_menuLinkSourceId ? m_board->FindPlug(m_menuLinkSourceId) : nullptr;
  SGraphPlug* target = m_menuLinkTargetId ? m_board->FindPlug(m_menuLinkTargetId) : nullptr;
  if (source && target && source->IsLinkedTo(target) && m_board->CanUnlink(source, target)) {
    SGraphUndo_Link* record = MakeUndoOf<SGraphUndo_Link>(SGraphUndo::KIND_LINK);
    if (record) record->Add(source->m_id, target->m_id);
    source->Unlink(target);
    m_board->OnUnlink(source, target);
    Record(record);
  }
  m_menuLinkSourceId = m_menuLinkTargetId = 0;
}
