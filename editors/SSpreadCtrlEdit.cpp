// SSpreadCtrl: the in-place cell editor, the popup menu and its commands,
// row and column commands, loading and the dialog builder's set-up.
#include "core/Platform.h"
#include "editors/SSpreadCtrl.h"

#include "core/SFileMem.h"
#include "core/SResource.h"
#include "editors/EditorMessages.h"
#include "window/ControlFactory.h"
#include "window/SDialogEditor.h"

namespace {

// Edit commands fired by the toolkit from the keyboard: SelectAll, Cancel,
// New, Open, Save and SaveAs.
const unsigned int kCommandMask = 0x7C20;
const int kLineStep = 1;
const int kPageStep = 5;
const int kScrollUnit = 1;
// The single-line editor: WS_CHILD | ES_AUTOHSCROLL.
const DWORD kEditorStyle = 0x40000080;
const int kDesignerColumns = 3;
const int kDesignerRows = 3;

// The popup menu in order; id 0 is a separator.
struct MenuRow {
  int id;
  const char* text;
};
const MenuRow kMenuRows[] = {
    {SSpreadCtrl::CMD_CUT, "Cut\tCtrl+X"},
    {SSpreadCtrl::CMD_COPY, "Copy\tCtrl+C"},
    {SSpreadCtrl::CMD_PASTE, "Paste\tCtrl+V"},
    {SSpreadCtrl::CMD_DELETE, "Delete\tCtrl+Del"},
    {0, nullptr},
    {SSpreadCtrl::CMD_SELECTALL, "Select All\tCtrl+A"},
    {0, nullptr},
    {SSpreadCtrl::CMD_INSERTROW, "Insert Row"},
    {SSpreadCtrl::CMD_INSERTCOLUMN, "Insert Column"},
    {SSpreadCtrl::CMD_DELETEROW, "Delete Row"},
    {SSpreadCtrl::CMD_DELETECOLUMN, "Delete Column"},
};

}  // namespace

// --- the in-place editor ----------------------------------------------------------

LRESULT SSpreadCtrl::_SEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KILLFOCUS || (message == WM_KEYDOWN && wParam == VK_RETURN)) {
    EndEdit(true);
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    EndEdit(false);
    return 0;
  }
  return SEditCtrl::WindowProc(message, wParam, lParam);
}

void SSpreadCtrl::_SEditCtrl::EndEdit(bool store) {
  if (m_closed) return;
  // Closed before anything else happens: the loss of the focus that storing,
  // hiding and destroying may cause finds the editor closed.
  m_closed = true;
  if (store && m_owner) {
    SString text = GetText();
    m_owner->SetCellText(m_column, m_row, text.GetText());
    m_owner->NotifyChanged();
  }
  if (m_hWnd) {
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::DestroyWindow(m_hWnd);
  }
  m_hWnd = nullptr;
}

void SSpreadCtrl::BeginEdit(int column, int row) {
  if (m_editor.m_hWnd) m_editor.EndEdit(true);
  RECT rect;
  if (!GetCellRect(column, row, &rect)) return;
  m_editor.m_owner = this;
  m_editor.m_column = column;
  m_editor.m_row = row;
  m_editor.m_closed = false;
  SString text = GetCellText(column, row);
  if (!m_editor.CreateControl("EDIT", text.GetText(), kEditorStyle, 0, &rect, m_hWnd, nullptr)) {
    m_editor.m_closed = true;
    return;
  }
  m_editor.SendMessage(WM_SETFONT, static_cast<WPARAM>(SendMessage(WM_GETFONT)), TRUE);
  m_editor.SendMessage(EM_SETSEL, static_cast<WPARAM>(text.GetLength()), -1);
  m_editor.SetFocus();
  m_editor.Show(SW_SHOW);
}

void SSpreadCtrl::NotifyChanged() {
  HWND parent = GetParent();
  if (m_notifyParent && parent) {
    ::SendMessageA(parent, SWM_CONTROLCHANGED, reinterpret_cast<WPARAM>(this), 0);
  }
}

// --- menu and commands --------------------------------------------------------------

void SSpreadCtrl::SetUp() {
  m_commandMask = kCommandMask;
  m_menu.CreatePopup(m_hWnd);
  for (const MenuRow& row : kMenuRows) {
    if (row.id == 0) {
      m_menu.AddSeparator(0);
    } else {
      m_menu.AddItem(row.id, row.text);
    }
  }
  SetBackColor(::GetSysColor(COLOR_APPWORKSPACE));
  m_hLineStep = m_vLineStep = kLineStep;
  m_hPageStep = m_vPageStep = kPageStep;
  m_hScrollUnit = m_vScrollUnit = kScrollUnit;
  UpdateScrollBars();
}

void SSpreadCtrl::OnCommand(int id) {
  struct CommandRow {
    int id;
    void (*run)(SSpreadCtrl* s);
  };
  static const CommandRow kCommands[] = {
      {CMD_UNDO, [](SSpreadCtrl* s) { s->Undo(); }},
      {CMD_CUT, [](SSpreadCtrl* s) { s->Cut(); }},
      {CMD_COPY, [](SSpreadCtrl* s) { s->Copy(); }},
      {CMD_PASTE, [](SSpreadCtrl* s) { s->Paste(); }},
      {CMD_DELETE, [](SSpreadCtrl* s) { s->Delete(); }},
      {CMD_SELECTALL, [](SSpreadCtrl* s) { s->SelectAll(); }},
      {CMD_INSERTROW, [](SSpreadCtrl* s) { s->InsertRow(s->GetCurrentRow()); }},
      {CMD_INSERTCOLUMN, [](SSpreadCtrl* s) { s->InsertColumn(s->GetCurrentColumn()); }},
      {CMD_DELETEROW,
       [](SSpreadCtrl* s) {
         s->m_table.DeleteRow(s->GetCurrentRow());
         s->UpdateScrollBars();
         s->Repaint();
       }},
      {CMD_DELETECOLUMN, [](SSpreadCtrl* s) { s->DeleteColumn(s->GetCurrentColumn()); }},
  };
  for (const CommandRow& row : kCommands) {
    if (row.id == id) {
      row.run(this);
      return;
    }
  }
}

void SSpreadCtrl::Delete() {
  ClearSelectedCells();
  NotifyChanged();
}

// --- rows and columns -------------------------------------------------------------

int SSpreadCtrl::InsertColumn(int index) {
  int column = m_table.AddField("", index);
  if (column < 0) return -1;
  ResetColumnWidth(SString::FromInt(column).GetText());
  UpdateScrollBars();
  Repaint();
  return column;
}

int SSpreadCtrl::InsertRow(int index) {
  int row = m_table.InsertRow(index);
  UpdateScrollBars();
  Repaint();
  return row;
}

void SSpreadCtrl::DeleteColumn(int index) {
  int column = m_table.FindField(SString::FromInt(index).GetText());
  if (column >= 0) {
    m_table.Fields.DeleteAt(column);
    m_table.Fields.RemoveAt(column);
    if (m_table.GetFieldCount() == 0) {
      m_table.RowExtras.DeleteAndRemoveAll();
      m_table.RowAttributes.DeleteAndRemoveAll();
    }
  }
  UpdateScrollBars();
  Repaint();
}

void SSpreadCtrl::ResetColumnWidth(const char* column) {
  STable::_SField* field = m_table.GetField(m_table.FindField(column));
  if (!field) return;
  STable::SetAttribute(field->Attributes, "title", "");
  STable::SetAttribute(field->Attributes, "width", "0");
}

// --- loading ------------------------------------------------------------------------

bool SSpreadCtrl::LoadFile(SFile* file) {
  if (!m_table.Load(file)) return false;
  m_current = 0;
  if (m_table.GetFieldCount() > 0 && m_table.GetRowCount() > 0) SelectCell(0, 0);
  UpdateScrollBars();
  Repaint();
  return true;
}

// --- the dialog builder -------------------------------------------------------------

namespace {

SWnd* ConstructSpread() { return new SSpreadCtrl; }

// The dialog designer's live control starts with 3 x 3 empty cells; then the
// SPREAD_FILE entry of the archive is loaded when there is one.
void ConfigureSpread(SWnd* control, const SDialogEditor::_SCtrl* record, SResource* archive,
                     bool runMode) {
  SSpreadCtrl* spread = dynamic_cast<SSpreadCtrl*>(control);
  if (!spread) return;
  if (!runMode) {
    for (int i = 0; i < kDesignerColumns; ++i) spread->InsertColumn(-1);
    for (int i = 0; i < kDesignerRows; ++i) spread->InsertRow(-1);
  }
  if (!archive) return;
  SString name = SDialogEditor::GetProperty(record, "SPREAD_FILE");
  SFileMem file;
  if (archive->Load(&file, name.GetText(), true)) spread->LoadFile(&file);
}

const SDialogControlClass kSpreadClass = {&ConstructSpread, &ConfigureSpread, nullptr};

}  // namespace

bool SSpreadCtrl::Register() {
  return RegisterDialogControlClass(SDialogEditor::TYPE_SPREAD, &kSpreadClass);
}
