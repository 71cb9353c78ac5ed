// SDialogEditor: construction, start and reset of the document, and its
// control records.
#include "core/Platform.h"
#include "window/SDialogEditor.h"

#include "core/SFile.h"
#include "core/Utility.h"
#include "window/Framework.h"
#include "window/WindowPrivate.h"

#include <string.h>

#include <vector>

SDialogEditor::ControlMaker SDialogEditor::s_controlMaker = nullptr;

// --- construction -----------------------------------------------------------

SDialogEditor::SDialogEditor()
    : m_dialog(nullptr),
      m_loaded(false),
      m_hatchBrush(nullptr),
      m_rulerFont(nullptr),
      m_rulerBackColor(0),
      m_designBackColor(0),
      m_rulerTextColor(0),
      m_rulerBackBrush(nullptr),
      m_designBackBrush(nullptr),
      m_rulerTextBrush(nullptr),
      m_selectionColor(0),
      m_selectionGreyColor(0),
      m_selectionBrush(nullptr),
      m_selectionGreyBrush(nullptr),
      m_canvas{0, 0, 0, 0},
      m_gridX(GRID_STEP),
      m_gridY(GRID_STEP),
      m_gridShown(true),
      m_snap(true),
      m_insertType(-1),
      m_testMode(false),
      m_archive(nullptr) {
  m_kind = KIND;
  m_hatchBrush = ::CreateHatchBrush(HS_DIAGCROSS, RGB(0x80, 0x80, 0x80));
  HDC screen = ::GetDC(nullptr);
  int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  m_rulerFont = ::CreateFontA(int(RoundToNearest(dpi * 7.0 / -72.0)), 0, 0, 0, FW_NORMAL, 0, 0,
                              0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "arial");
  Reset();
}

SDialogEditor::~SDialogEditor() {
  Clear();
  Reset();
  DeleteHandle(m_hatchBrush);
  DeleteHandle(m_rulerFont);
  DeleteHandle(m_rulerBackBrush);
  DeleteHandle(m_designBackBrush);
  DeleteHandle(m_rulerTextBrush);
  DeleteHandle(m_selectionBrush);
  DeleteHandle(m_selectionGreyBrush);
  // Reset leaves nothing; records added behind the document's back go too.
  delete m_dialog;
  m_dialog = nullptr;
  m_controls.DeleteAndRemoveAll();
}

bool SDialogEditor::Init() {
  Clear();
  if (m_hWnd) ::GetClientRect(m_hWnd, &m_canvas);
  SetDefaultTexts();
  SetDesignerColors();
  m_gridX = GRID_STEP;
  m_gridY = GRID_STEP;
  m_gridShown = true;
  m_snap = true;
  if (m_hWnd) Redraw();
  FillTypes(m_types);
  m_oleClassTexts.DeleteAndRemoveAll();
  m_oleClasses.RemoveAll();
  m_oleNames.DeleteAndRemoveAll();
  if (g_startupFlags & STARTUP_LIST_CONTROLS) {
    ListOleControls(&m_oleClassTexts, &m_oleClasses, &m_oleNames);
  }
  return true;
}

void SDialogEditor::Clear() {
  if (m_loaded) {
    _SCtrl* previous = m_selection.GetCount() > 0 ? m_selection[0] : nullptr;
    m_selection.RemoveAll();
    OnSelectionChanged(previous, nullptr);
    Reset();
    m_loaded = false;
  } else {
    Reset();
  }
}

void SDialogEditor::Reset() {
  SetInsertType(-1);
  UpdateScrollBars();
  m_dragX = -1;
  m_dragY = -1;
  m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  m_designImage.FreeBitmap();
  m_designImage.SetName("");
  m_designImage.m_transparentColor = SImage::COLOR_NONE;
  m_selection.RemoveAll();
  while (m_controls.GetCount() > 0) {
    if (!RemoveControl(m_controls[0], false)) break;
  }
  delete m_dialog;
  m_dialog = nullptr;
}

// --- records ------------------------------------------------------------------

bool SDialogEditor::SetDialogRecord(const _SCtrl* record) {
  if (!record) return false;
  if (!m_dialog) m_dialog = new _SCtrl;
  m_dialog->CopyFrom(record);
  m_dialog->m_type = TYPE_DIALOG;
  m_dialog->m_isDialog = true;
  return true;
}

SDialogEditor::_SCtrl* SDialogEditor::AddControl(SDialogEditor* document, bool defaults,
                                                  const _SCtrl* record, bool keepName,
                                                  bool keepId) {
  if (!document || !record) return nullptr;
  const _SType* type = document->FindTypeById(record->m_type);
  if (!type) return nullptr;
  if (document->m_controls.Find(const_cast<_SCtrl*>(record)) >= 0) return nullptr;

  _SCtrl* added = new _SCtrl;
  added->CopyFrom(record);
  added->m_isDialog = false;
  if (!keepId || document->FindControlById(int16_t(added->m_id))) {
    added->m_id = uint16_t(document->NewControlId());
  }
  if (!keepName || document->FindControlByName(added->m_name.GetText())) {
    added->m_name = document->MakeControlName(type);
  }
  if (defaults) {
    added->m_caption = type->m_displayName;
    added->m_style |= WS_VISIBLE;
    SetPropertyInt(added, "TABINDEX", -1);
    ApplyTypeDefaults(added);
  }
  RecreateControl(document, added);
  document->m_controls.Add(added);
  if (!(keepName && keepId) && !document->OnControlAdded(added)) {
    document->m_controls.RemoveValue(added);
    document->m_selection.RemoveValue(added);
    delete added;
    return nullptr;
  }
  return added;
}

bool SDialogEditor::RemoveControl(_SCtrl* record, bool ask) {
  _SCtrl* previous = m_selection.GetCount() > 0 ? m_selection[0] : nullptr;
  if (!record) return false;
  int index = m_controls.Find(record);
  if (index < 0) return false;
  if (m_selection.Find(record) >= 0) {
    m_selection.RemoveValue(record);
    OnSelectionChanged(previous, m_selection.GetCount() > 0 ? m_selection[0] : nullptr);
  }
  if (ask && !OnControlRemoving(record)) return false;
  // The hooks may have reordered the list.
  index = m_controls.Find(record);
  if (index < 0) return false;
  m_controls.RemoveAt(index);
  delete record;
  return true;
}

void SDialogEditor::RemoveAllControls() {
  while (m_controls.GetCount() > 0) {
    if (!RemoveControl(m_controls[0], false)) break;
  }
}

SDialogEditor::_SCtrl* SDialogEditor::FindControlById(int16_t id) const {
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    if (m_controls[i]->m_id == uint16_t(id)) return m_controls[i];
  }
  return nullptr;
}

SDialogEditor::_SCtrl* SDialogEditor::FindControlByName(const char* name) const {
  if (!name) name = "";
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    if (m_controls[i]->m_name == name) return m_controls[i];
  }
  return nullptr;
}

int SDialogEditor::NewControlId() const {
  std::vector<bool> taken(MAX_CONTROL_ID + 1, false);
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    int id = m_controls[i]->m_id;
    if (id >= 1 && id <= MAX_CONTROL_ID) taken[id] = true;
  }
  for (int id = 1; id <= MAX_CONTROL_ID; ++id) {
    if (!taken[id]) return id;
  }
  return -1;
}

SString SDialogEditor::MakeControlName(const _SType* type) const {
  if (!type) return SString("");
  const char* keyword = type->m_keyword.GetText();
  int keywordLength = type->m_keyword.GetLength();
  // Keyword + digits is an identifier for every n or for none.
  if (!keyword || !IsIdentifier((type->m_keyword + "1").GetText())) return SString("");
  // The numbers n for which keyword + n is taken.
  std::vector<bool> taken(MAX_CONTROL_ID + 1, false);
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    const SString& name = m_controls[i]->m_name;
    int digits = name.GetLength() - keywordLength;
    if (digits < 1 || digits > 4 || strncmp(name.GetText(), keyword, keywordLength) != 0) continue;
    const char* number = name.GetText() + keywordLength;
    if (number[0] == '0') continue;
    int n = 0;
    bool isNumber = true;
    for (int k = 0; k < digits; ++k) {
      if (number[k] < '0' || number[k] > '9') isNumber = false;
      n = n * 10 + (number[k] - '0');
    }
    if (isNumber && n <= MAX_CONTROL_ID) taken[n] = true;
  }
  for (int n = 1; n <= MAX_CONTROL_ID; ++n) {
    if (!taken[n]) return type->m_keyword + SString::FromInt(n);
  }
  return SString("");
}

bool SDialogEditor::IsControlNameFree(const char* name) const {
  return name && IsIdentifier(name) && !FindControlByName(name);
}

