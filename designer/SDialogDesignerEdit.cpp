// SDialogDesigner: snapshot undo, the clipboard block and the edit commands.
#include "core/Platform.h"
#include "designer/SDialogDesigner.h"

#include "core/SClipboard.h"
#include "core/SFileMem.h"

#include <stdint.h>
#include <string.h>

namespace {

typedef SDialogDesigner::_SCtrl Record;

// Copies the designer block of the clipboard (a u32 count, then the bytes)
// into the file; the count is never trusted beyond the block's size. False
// when there is no such block or the clipboard cannot be opened.
bool ReadClipboardBlock(SFileMem* file) {
  if (!::OpenClipboard(nullptr)) return false;
  bool found = false;
  HANDLE handle = ::GetClipboardData(SClipboard::FORMAT_FILE_DATA);
  const uint8_t* block = handle ? static_cast<const uint8_t*>(::GlobalLock(handle)) : nullptr;
  if (block) {
    SIZE_T size = ::GlobalSize(handle);
    if (size >= 4) {
      uint32_t count = uint32_t(block[0]) | uint32_t(block[1]) << 8 | uint32_t(block[2]) << 16 |
                       uint32_t(block[3]) << 24;
      if (count > size - 4) count = uint32_t(size - 4);
      if (count > 0) file->WriteData(block + 4, int(count));
      found = true;
    }
    ::GlobalUnlock(handle);
  }
  ::CloseClipboard();
  file->Rewind();
  return found;
}

// Little-endian numbers of the clipboard form.
void WriteNumber(SFile* file, uint32_t value, int size) {
  uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                      uint8_t(value >> 24)};
  file->WriteData(bytes, size);
}

void WriteText(SFile* file, const SString& text) {
  file->WriteStringZ(text.GetText() ? text.GetText() : "");
}

}  // namespace

// --- snapshots ------------------------------------------------------------------

SDialogDesigner::_SUndo::~_SUndo() {
  delete m_dialog;
  m_controls.DeleteAndRemoveAll();
}

bool SDialogDesigner::_SUndo::Fill(const SDialogDesigner* designer) {
  if (!designer) return false;
  delete m_dialog;
  m_dialog = nullptr;
  m_controls.DeleteAndRemoveAll();
  m_selected.RemoveAll();
  if (designer->m_dialog) {
    m_dialog = new _SCtrl;
    m_dialog->CopyFrom(designer->m_dialog);
  }
  for (int i = 0; i < designer->m_controls.GetCount(); ++i) {
    _SCtrl* copy = new _SCtrl;
    copy->CopyFrom(designer->m_controls[i]);
    m_controls.Add(copy);
  }
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    for (int k = 0; k < designer->m_selection.GetCount(); ++k) {
      const _SCtrl* selected = designer->m_selection[k];
      if (selected != designer->m_dialog && selected->m_id == m_controls[i]->m_id) {
        m_selected.Add(m_controls[i]);
        break;
      }
    }
  }
  return true;
}

bool SDialogDesigner::_SUndo::Restore(SDialogDesigner* designer) const {
  if (!designer || !m_dialog) return false;
  designer->SetDialogRecord(m_dialog);
  designer->RemoveAllControls();
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    AddControl(designer, false, m_controls[i], true, true);
  }
  for (int i = 0; i < m_selected.GetCount(); ++i) {
    _SCtrl* record = designer->FindControlById(int16_t(m_selected[i]->m_id));
    if (record) designer->AddToSelection(record);
  }
  return true;
}

void SDialogDesigner::PushUndo() {
  if (!m_undoEnabled) return;
  while (m_undo.GetCount() >= UNDO_LEVELS) m_undo.RemoveAndDelete(0);
  _SUndo* snapshot = new _SUndo;
  snapshot->Fill(this);
  m_undo.Add(snapshot);
}

void SDialogDesigner::DropLastUndo() {
  if (m_undoEnabled && m_undo.GetCount() > 0) m_undo.RemoveAndDelete(m_undo.GetCount() - 1);
}

bool SDialogDesigner::RestoreLastUndo() {
  if (!m_undoEnabled || m_undo.GetCount() == 0) return false;
  _SCtrl* previous = GetPrimary();
  m_selection.RemoveAll();
  OnSelectionChanged(previous, nullptr);
  m_undo.GetLast()->Restore(this);
  DropLastUndo();
  OnSelectionChanged(nullptr, GetPrimary());
  return true;
}

// --- clipboard --------------------------------------------------------------------

int SDialogDesigner::WriteRecord(const _SCtrl* r, SFile* file) {
  if (!file || !r) return 0;
  int start = file->Tell();
  WriteNumber(file, r->m_id, 2);
  WriteNumber(file, uint16_t(r->m_type), 2);
  WriteText(file, r->m_name);
  WriteText(file, r->m_caption);
  WriteText(file, r->m_fontName);
  WriteNumber(file, uint16_t(r->m_fontSize), 2);
  WriteNumber(file, r->m_fontStyle, 4);
  WriteNumber(file, uint16_t(r->m_left), 2);
  WriteNumber(file, uint16_t(r->m_top), 2);
  WriteNumber(file, uint16_t(r->m_width), 2);
  WriteNumber(file, uint16_t(r->m_height), 2);
  WriteNumber(file, r->m_locked ? 1 : 0, 1);
  WriteNumber(file, r->m_isDialog ? 1 : 0, 1);
  WriteNumber(file, r->m_style, 4);
  WriteNumber(file, r->m_exStyle, 4);
  WriteNumber(file, r->m_backColor, 4);
  WriteNumber(file, r->m_textColor, 4);
  WriteNumber(file, r->m_transparent ? 1 : 0, 1);
  WriteText(file, r->m_properties);
  return file->Tell() - start;
}

bool SDialogDesigner::CopySelection() {
  _SCtrl* primary = GetPrimary();
  if (!primary || primary == m_dialog) return false;
  SFileMem file;
  file.WriteStringZ(MAGIC);
  for (int i = 0; i < m_selection.GetCount(); ++i) WriteRecord(m_selection[i], &file);
  file.Rewind();
  SClipboard clipboard;
  return clipboard.SetFileData(&file);
}

bool SDialogDesigner::CutSelection() {
  if (!CopySelection()) return false;
  PushUndo();
  while (m_selection.GetCount() > 0) {
    _SCtrl* record = m_selection.GetLast();
    if (!RemoveControl(record, true)) RemoveFromSelection(record);
  }
  return true;
}

bool SDialogDesigner::PasteFromClipboard() {
  SFileMem file;
  ReadClipboardBlock(&file);
  int start = file.Tell();
  SString magic = file.ReadStringZ(true);
  // The magic must be there whole, with its 0 byte.
  if (!(magic == MAGIC) || file.Tell() != start + magic.GetLength() + 1) return false;
  PushUndo();
  SArray<_SCtrl*> added;
  while (!file.IsEOF()) {
    _SCtrl record;
    // A cut-off record, one that is no control or one whose texts would
    // break the dialog text takes the whole paste back.
    _SCtrl* copy = nullptr;
    if (record.ReadBinary(&file) > 0 && record.m_type > TYPE_DIALOG && IsWritable(&record)) {
      copy = AddControl(this, false, &record, true, false);
    }
    if (!copy) {
      RestoreLastUndo();
      return false;
    }
    added.Add(copy);
  }
  if (added.GetCount() == 0) {
    DropLastUndo();
    return false;
  }
  _SCtrl* previous = GetPrimary();
  m_selection.RemoveAll();
  for (int i = 0; i < added.GetCount(); ++i) m_selection.Add(added[i]);
  OnSelectionChanged(previous, GetPrimary());
  return true;
}

bool SDialogDesigner::CanPaste() {
  SFileMem file;
  return ReadClipboardBlock(&file) && file.GetSize() > 0;
}

bool SDialogDesigner::DeleteSelection() {
  _SCtrl* primary = GetPrimary();
  if (!primary || primary == m_dialog) return false;
  PushUndo();
  m_selection.RemoveValue(primary);
  OnSelectionChanged(primary, nullptr);
  if (!OnControlRemoving(primary)) {
    DropLastUndo();
    return false;
  }
  RemoveControl(primary, false);
  SArray<_SCtrl*> rest;
  for (int i = 0; i < m_selection.GetCount(); ++i) rest.Add(m_selection[i]);
  m_selection.RemoveAll();
  for (int i = 0; i < rest.GetCount(); ++i) {
    if (OnControlRemoving(rest[i])) RemoveControl(rest[i], false);
  }
  Redraw();
  NotifyChanged();
  return true;
}

void SDialogDesigner::SelectAllVisible() {
  SArray<_SCtrl*> hidden;
  CollectHiddenControls(&hidden);
  _SCtrl* previous = GetPrimary();
  m_selection.RemoveAll();
  for (int i = 0; i < m_controls.GetCount(); ++i) {
    if (hidden.Find(m_controls[i]) < 0) m_selection.Add(m_controls[i]);
  }
  Redraw();
  if (GetPrimary() != previous) OnSelectionChanged(previous, GetPrimary());
}

// --- edit commands ---------------------------------------------------------------

void SDialogDesigner::Undo() {
  if (!RestoreLastUndo()) return;
  NotifyChanged();
  Redraw();
}

void SDialogDesigner::Cut() {
  if (!CutSelection()) return;
  NotifyChanged();
  Redraw();
}

void SDialogDesigner::Copy() { CopySelection(); }

void SDialogDesigner::Paste() {
  if (!PasteFromClipboard()) return;
  NotifyChanged();
  Redraw();
}

// Deleting notifies and redraws itself.
void SDialogDesigner::Delete() { DeleteSelection(); }

void SDialogDesigner::SelectAll() { SelectAllVisible(); }

void SDialogDesigner::Cancel() {
  _SCtrl* previous = GetPrimary();
  m_selection.RemoveAll();
  OnSelectionChanged(previous, nullptr);
  Redraw();
}
