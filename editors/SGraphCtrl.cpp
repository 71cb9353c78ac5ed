#include "core/Platform.h"
#include "editors/SGraphCtrl.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "core/SXml.h"
#include "core/SXmlItem.h"
#include "editors/SGraphBoard.h"
#include "editors/SGraphBox.h"
#include "editors/SGraphPlug.h"
#include "window/ControlFactory.h"
#include "window/Framework.h"

#include <string.h>

namespace {

const COLORREF kBackColor = 0x404040;

// The undo record classes by kind; kind 2 has none.
template <class T>
SGraphUndo* MakeRecord(SGraphCtrl* control) {
  return new T(control);
}

struct UndoKind {
  int kind;
  SGraphUndo* (*make)(SGraphCtrl* control);
};

const UndoKind kUndoKinds[] = {
    {SGraphUndo::KIND_ADDPLUG, MakeRecord<SGraphUndo_AddPlug>},
    {SGraphUndo::KIND_CREATEBOX, MakeRecord<SGraphUndo_CreateBox>},
    {SGraphUndo::KIND_DESTROYBOX, MakeRecord<SGraphUndo_DestroyBox>},
    {SGraphUndo::KIND_ENABLEPLUG, MakeRecord<SGraphUndo_EnablePlug>},
    {SGraphUndo::KIND_EXPAND, MakeRecord<SGraphUndo_Expand>},
    {SGraphUndo::KIND_LINK, MakeRecord<SGraphUndo_Link>},
    {SGraphUndo::KIND_MOVEBOX, MakeRecord<SGraphUndo_MoveBox>},
    {SGraphUndo::KIND_REMOVEPLUG, MakeRecord<SGraphUndo_RemovePlug>},
    {SGraphUndo::KIND_SELECTBOX, MakeRecord<SGraphUndo_SelectBox>},
    {SGraphUndo::KIND_SHOWPLUG, MakeRecord<SGraphUndo_ShowPlug>},
};

// The popup menus; a null caption is a separator. Clipboard items are greyed
// without the clipboard flag.
struct MenuItem {
  int menu;
  int id;
  const char* caption;
  bool clipboard;
};

typedef SGraphCtrl G;

const MenuItem kMenuItems[] = {
    {G::MENU_BACKGROUND, G::CMD_PASTE, "Paste\tCtrl+V", true},
    {G::MENU_BOX, G::CMD_BOX_BREAK, "Break All Links", false},
    {G::MENU_BOX, G::CMD_BOX_SHOW, "Show All Plugs", false},
    {G::MENU_BOX, G::CMD_BOX_HIDE_UNUSED, "Hide Unused Plugs", false},
    {G::MENU_BOX, 0, nullptr, false},
    {G::MENU_BOX, G::CMD_BOX_CUT, "Cut\tCtrl+X", true},
    {G::MENU_BOX, G::CMD_BOX_COPY, "Copy\tCtrl+C", true},
    {G::MENU_BOX, G::CMD_BOX_PASTE, "Paste\tCtrl+V", true},
    {G::MENU_BOX, G::CMD_BOX_DELETE, "Delete\tDel", false},
    {G::MENU_PLUG, G::CMD_PLUG_BREAK, "Break All Links", false},
    {G::MENU_PLUG, G::CMD_PLUG_HIDE, "Hide", false},
    {G::MENU_PLUG, G::CMD_PLUG_ENABLE, "Enable", false},
    {G::MENU_PLUG, G::CMD_PLUG_DISABLE, "Disable", false},
    {G::MENU_LINK, G::CMD_LINK_DELETE, "Delete", false},
};

SWnd* ConstructGraph() { return new SGraphCtrl; }

// GRAPH_FILE names the archive entry of the graph.
void ConfigureGraph(SWnd* control, const SDialogEditor::_SCtrl* record, SResource* archive, bool) {
  if (!control || control->m_kind != SGraphCtrl::KIND || !archive) return;
  SString name = SDialogEditor::GetProperty(record, "GRAPH_FILE");
  SFileMem file;
  if (name.GetLength() > 0 && archive->Load(&file, name.GetText(), true)) {
    static_cast<SGraphCtrl*>(control)->LoadFile(&file);
  }
}

const SDialogControlClass kGraphClass = {ConstructGraph, ConfigureGraph, nullptr};

}  // namespace

bool SGraphCtrl::Register() {
  return RegisterDialogControlClass(SDialogEditor::TYPE_GRAPH, &kGraphClass);
}

SGraphCtrl::SGraphCtrl()
    : m_flags(FLAG_CLIPBOARD | FLAG_UNDO),
      m_linkPasses(SGraphBoard::LINK_PASSES),
      m_signature("GRAPH"),
      m_dragMode(DRAG_NONE),
      m_hoverBox(nullptr),
      m_hoverPlug(nullptr),
      m_hoverLinkSource(nullptr),
      m_hoverLinkTarget(nullptr),
      m_linkSource(nullptr),
      m_linkCandidate(nullptr),
      m_linkCandidateBox(nullptr),
      m_board(nullptr),
      m_menuPlugId(0),
      m_menuLinkSourceId(0),
      m_menuLinkTargetId(0),
      m_menuShown(false),
      m_undoIndex(-1),
      m_pendingMove(nullptr),
      m_currentPen(nullptr),
      m_selectedPen(nullptr),
      m_disabledPen(nullptr),
      m_linkPen(nullptr),
      m_arrowBrush(nullptr),
      m_measureDC(nullptr),
      m_measureFont(nullptr) {
  m_kind = KIND;
  m_dragScreen.x = m_dragScreen.y = 0;
  m_dragBoard = m_dragClient = m_bandStart = m_bandEnd = m_menuPoint = m_dragScreen;
  m_press.x = m_press.y = -1;
  memset(m_undo, 0, sizeof(m_undo));
  CreateDrawingObjects();
  BuildMenus();
}

SGraphCtrl::~SGraphCtrl() {
  // Destroyed here, so that this class's WM_DESTROY handling still runs.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  Reset();
  DeleteDrawingObjects();
}

void SGraphCtrl::CreateDrawingObjects() {
  if (!m_currentPen) m_currentPen = ::CreatePen(PS_SOLID, 1, 0x00FFFF);
  if (!m_selectedPen) m_selectedPen = ::CreatePen(PS_SOLID, 1, 0x0080FF);
  if (!m_disabledPen) m_disabledPen = ::CreatePen(PS_SOLID, 1, 0x0000E0);
  if (!m_linkPen) m_linkPen = ::CreatePen(PS_SOLID, 1, 0xC0C0C0);
  if (!m_arrowBrush) m_arrowBrush = ::CreateSolidBrush(0x000000);
}

void SGraphCtrl::DeleteDrawingObjects() {
  HGDIOBJ objects[] = {m_currentPen, m_selectedPen, m_disabledPen, m_linkPen, m_arrowBrush};
  for (HGDIOBJ object : objects) {
    if (object) ::DeleteObject(object);
  }
  m_currentPen = m_selectedPen = m_disabledPen = m_linkPen = nullptr;
  m_arrowBrush = nullptr;
  if (m_measureDC) {
    ::SelectObject(m_measureDC, m_measureFont);
    ::DeleteDC(m_measureDC);
  }
  m_measureDC = nullptr;
  m_measureFont = nullptr;
}

// --- factory and document slots ---------------------------------------------------------

SGraphBoard* SGraphCtrl::CreateBoard() { return new SGraphBoard(this); }

SGraphBox* SGraphCtrl::CreateBox(int type) { return type == 0 ? new SGraphBox : nullptr; }

SGraphUndo* SGraphCtrl::CreateUndo(int kind) {
  for (const UndoKind& row : kUndoKinds) {
    if (row.kind == kind) return row.make(this);
  }
  return nullptr;
}

void SGraphCtrl::ClearUndo() {
  for (SGraphUndo*& record : m_undo) {
    delete record;
    record = nullptr;
  }
  m_undoIndex = -1;
  delete m_pendingMove;
  m_pendingMove = nullptr;
}

void SGraphCtrl::Reset() {
  ClearUndo();
  if (m_dragMode != DRAG_NONE && m_hWnd) ::KillTimer(m_hWnd, TIMER_EDGE);
  m_dragMode = DRAG_NONE;
  m_press.x = m_press.y = -1;
  ForgetBox(nullptr);
  m_menuPlugId = m_menuLinkSourceId = m_menuLinkTargetId = 0;
  delete m_board;
  m_board = nullptr;
}

bool SGraphCtrl::IsReady() { return true; }

bool SGraphCtrl::LoadXml(SXmlItem* item, const POINT* offset) {
  SXmlItem* graph = item ? item->GetChild("graph") : nullptr;
  if (!graph) return false;
  // A board loaded before goes with everything that points into it.
  if (m_board) Reset();
  m_board = CreateBoard();
  return m_board && m_board->Load(graph, offset);
}

bool SGraphCtrl::ResolveLinks(int pass) { return m_board && m_board->ResolveLinks(pass); }

bool SGraphCtrl::SaveXml(SXmlItem* item) {
  if (!item || !m_board) return false;
  SArray<SXmlItem*>& children = item->GetChildren();
  for (int i = 0; i < children.GetCount(); ++i) {
    if (children.GetAt(i)->GetName().CompareNoCase("graph") != 0) continue;
    children.RemoveAndDelete(i);
    break;
  }
  SXmlItem* graph = item->AddChild("graph");
  return graph && m_board->Save(graph);
}

void SGraphCtrl::OnBeginDrag(int) {}
void SGraphCtrl::OnEndDrag(int) {}

bool SGraphCtrl::LoadFile(SFile* file) {
  if (!file) return false;
  SXml document;
  return document.Parse(file) && LoadFromXml(document.GetRoot());
}

bool SGraphCtrl::LoadFromXml(SXmlItem* root) {
  Reset();
  bool loaded = root && LoadXml(root, nullptr);
  for (int pass = 0; loaded && pass < m_linkPasses; ++pass) loaded = ResolveLinks(pass);
  if (!loaded) {
    Reset();
    RedrawBoard();
    return false;
  }
  RedrawBoard();
  return true;
}

// --- undo stack ----------------------------------------------------------------------

SGraphUndo* SGraphCtrl::MakeUndo(int kind) { return IsRecording() ? CreateUndo(kind) : nullptr; }

bool SGraphCtrl::Record(SGraphUndo* record) {
  if (!record) return false;
  if (!record->HasEntries()) {
    delete record;
    return false;
  }
  PushUndo(record);
  if (m_board) m_board->OnUndoRecord(record);
  return true;
}

void SGraphCtrl::PushUndo(SGraphUndo* record) {
  if (!record) return;
  for (int i = m_undoIndex + 1; i < UNDO_SLOTS; ++i) {
    delete m_undo[i];
    m_undo[i] = nullptr;
  }
  if (m_undoIndex == UNDO_SLOTS - 1) {
    delete m_undo[0];
    memmove(m_undo, m_undo + 1, sizeof(m_undo[0]) * (UNDO_SLOTS - 1));
    m_undo[UNDO_SLOTS - 1] = record;
  } else {
    m_undo[++m_undoIndex] = record;
  }
}

SGraphUndo* SGraphCtrl::GetUndoRecord(int slot) const {
  return slot >= 0 && slot < UNDO_SLOTS ? m_undo[slot] : nullptr;
}

bool SGraphCtrl::UndoStep() {
  if (!IsRecording()) return false;
  bool done = false;
  while (m_undoIndex >= 0) {
    SGraphUndo* record = m_undo[m_undoIndex];
    if (!record->Undo()) return false;
    --m_undoIndex;
    done = true;
    if (!record->m_chained) break;
  }
  return done;
}

bool SGraphCtrl::RedoStep() {
  if (!IsRecording()) return false;
  bool done = false;
  while (m_undoIndex < UNDO_SLOTS - 1 && m_undo[m_undoIndex + 1]) {
    if (!m_undo[m_undoIndex + 1]->Redo()) return false;
    ++m_undoIndex;
    done = true;
    SGraphUndo* next = m_undoIndex < UNDO_SLOTS - 1 ? m_undo[m_undoIndex + 1] : nullptr;
    if (!next || !next->m_chained) break;
  }
  return done;
}

// --- menus ---------------------------------------------------------------------------

void SGraphCtrl::BuildMenus() {
  for (SMenu& menu : m_menus) menu.CreatePopup(m_hWnd);
  for (const MenuItem& item : kMenuItems) {
    SMenu& menu = m_menus[item.menu];
    if (!item.caption) {
      menu.AddSeparator(0);
      continue;
    }
    bool greyed = item.clipboard && !(m_flags & FLAG_CLIPBOARD);
    menu.AddItem(item.id, item.caption, -1, 0, false, greyed);
  }
}

// --- pointers into the board ---------------------------------------------------------

void SGraphCtrl::ForgetBox(SGraphBox* box) {
  auto gone = [box](SGraphPlug* plug) { return plug && (!box || plug->m_box == box); };
  if (!box || m_hoverBox == box) m_hoverBox = nullptr;
  if (!box || m_linkCandidateBox == box) m_linkCandidateBox = nullptr;
  if (gone(m_hoverPlug)) m_hoverPlug = nullptr;
  if (gone(m_hoverLinkSource) || gone(m_hoverLinkTarget)) {
    m_hoverLinkSource = m_hoverLinkTarget = nullptr;
  }
  if (gone(m_linkCandidate)) m_linkCandidate = nullptr;
  if (gone(m_linkSource)) {
    m_linkSource = nullptr;
    // A link drag without its source has nothing left to drag.
    if (m_dragMode == DRAG_LINK) m_dragMode = DRAG_NONE;
  }
}

void SGraphCtrl::RedrawBoard() {
  if (m_hWnd) Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HFONT SGraphCtrl::GetFont() {
  HFONT font = m_hWnd ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)) : m_font;
  if (!font) font = g_defaultFont;
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  return font;
}

HDC SGraphCtrl::GetMeasureDC() {
  if (!m_measureDC) {
    m_measureDC = ::CreateCompatibleDC(nullptr);
    if (!m_measureDC) return nullptr;
    m_measureFont = ::SelectObject(m_measureDC, GetFont());
  } else {
    ::SelectObject(m_measureDC, GetFont());
  }
  return m_measureDC;
}
