// SCodeEditCtrl: undo, comments, the find and replace dialogs, go-to and
// printing.
#include "core/Platform.h"
#include "editors/SCodeEditCtrl.h"

#include "core/SFileMem.h"
#include "editors/SPrinter.h"
#include "window/Framework.h"
#include "window/MessageLoop.h"

#include <ctype.h>

namespace {

const int kFindLength = SCodeEditCtrl::FIND_TEXT_SIZE - 1;

void CopyText(char* target, const char* source) {
  if (target == source) return;
  strncpy(target, source ? source : "", kFindLength);
  target[kFindLength] = 0;
}

void ForgetModeless(HWND dialog) {
  int index = g_modelessDialogs.Find(dialog);
  if (index >= 0) RemoveModelessDialogAt(index);
}

bool IsBlankLine(const SString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text.GetAt(i) != ' ' && text.GetAt(i) != '\t') return false;
  }
  return true;
}

// The first match of the text lying wholly in [start, end) of the line,
// letters compared without case; -1 when none.
int FindNoCase(const SString& line, const char* text, int start, int end) {
  int n = int(strlen(text));
  const unsigned char* p = reinterpret_cast<const unsigned char*>(line.GetText());
  unsigned char lower = static_cast<unsigned char>(tolower(static_cast<unsigned char>(text[0])));
  unsigned char upper = static_cast<unsigned char>(toupper(static_cast<unsigned char>(text[0])));
  for (int i = start; i <= end - n; ++i) {
    if ((p[i] == lower || p[i] == upper) && _strnicmp(line.GetText() + i, text, n) == 0) return i;
  }
  return -1;
}

int CountLineFeeds(const char* text) {
  int count = 0;
  for (; *text; ++text) count += *text == '\n';
  return count;
}

}  // namespace

// ---------------------------------------------------------------------------
// Undo

void SCodeEditCtrl::PushUndo(int first, int count, int added) {
  if (m_undo.GetCount() >= m_undoLimit && m_undo.GetCount() > 0) m_undo.RemoveAndDelete(0);
  _SUndo* record = new _SUndo;
  if (first >= 0 && count > m_lines.GetCount() - first) count = m_lines.GetCount() - first;
  record->m_first = first;
  record->m_count = first >= 0 && count > 0 ? count : 0;
  record->m_added = added;
  int line, column;
  if (GetCaret(&line, &column)) {
    bool end = HasSelection() && m_caretAtEnd;
    record->m_caretLine = !HasSelection() ? line : end ? m_selStartLine : m_selEndLine;
    record->m_caretColumn = !HasSelection() ? column : end ? m_selStartColumn : m_selEndColumn;
  }
  for (int i = 0; i < record->m_count; ++i) record->Add(m_lines[first + i]->GetText());
  m_undo.Add(record);
}

void SCodeEditCtrl::DropLastUndo() {
  if (m_undo.GetCount() > 0) m_undo.RemoveAndDelete(m_undo.GetCount() - 1);
}

bool SCodeEditCtrl::UndoLast() {
  if (m_undo.GetCount() == 0) return false;
  _SUndo* r = m_undo.GetLast();
  int oldCount = m_lines.GetCount();
  if (r->m_count > 0) {
    InsertLines(r->m_first, r->m_count - 1);
    for (int i = 0; i < r->m_count && r->m_first + i < m_lines.GetCount(); ++i) {
      m_lines[r->m_first + i]->Set((*r)[i]->GetText());
      LineEdited(r->m_first + i);
    }
    int at = r->m_first + r->m_count;
    int n = r->m_added < m_lines.GetCount() - at ? r->m_added : m_lines.GetCount() - at;
    RemoveLines(at, n);
  }
  SetSelection(r->m_caretLine, r->m_caretColumn, -1, -1, 0);
  DropLastUndo();
  CheckDigits(oldCount);
  return true;
}

void SCodeEditCtrl::Undo() {
  if (!m_hasText || m_readOnly) return;
  if (UndoLast()) Changed();
}

// ---------------------------------------------------------------------------
// Comments

bool SCodeEditCtrl::CommentLines(bool add, int from, int to) {
  if (to < 0 || to >= m_lines.GetCount()) to = m_lines.GetCount() - 1;
  if (from < 0 || to < from) return false;
  int columns[2] = {m_selStartColumn, m_selEndColumn};
  const int lines[2] = {m_selStartLine, m_selEndLine};
  for (int line = from; line <= to; ++line) {
    SString* text = m_lines[line];
    if (IsBlankLine(*text)) continue;
    int at;
    int shift;
    if (add) {
      at = 0;
      while (text->GetAt(at) == '\t') ++at;
      text->Insert("//", at);
      shift = 2;
    } else {
      int first = 0;
      while (text->GetAt(first) == ' ' || text->GetAt(first) == '\t') ++first;
      if (text->GetAt(first) != '/' || text->GetAt(first + 1) != '/') continue;
      at = text->FindChar('/');
      text->Delete(at, 2);
      shift = -2;
    }
    LineEdited(line);
    for (int i = 0; i < 2; ++i) {
      if (lines[i] != line || columns[i] <= at) continue;
      columns[i] += shift;
      if (columns[i] < at) columns[i] = at;
    }
  }
  if (HasSelection()) {
    SetSelection(lines[0], columns[0], lines[1], columns[1], m_caretAtEnd ? 0 : 1);
  } else {
    SetSelection(lines[0], columns[0], -1, -1, 0);
  }
  return true;
}

void SCodeEditCtrl::CommentSelection() { CommentSelected(true); }

void SCodeEditCtrl::UncommentSelection() { CommentSelected(false); }

void SCodeEditCtrl::CommentSelected(bool add) {
  int first, last;
  SelectedLines(&first, &last);
  if (!m_hasText || m_readOnly || first < 0) return;
  PushUndo(first, last - first + 1, last - first);
  if (!CommentLines(add, first, last)) {
    DropLastUndo();
    return;
  }
  NotifyChange();
  Redraw();
}

// ---------------------------------------------------------------------------
// Find and replace

SCodeEditCtrl::_SFindState& SCodeEditCtrl::GetFindState() {
  return m_localFind ? m_find : GetSharedFindState();
}

void SCodeEditCtrl::CloseFindDialog() {
  if (!m_findDialog) return;
  HWND dialog = m_findDialog;
  m_findDialog = nullptr;
  ForgetModeless(dialog);
  ::DestroyWindow(dialog);
}

void SCodeEditCtrl::Find() { OpenFindDialog(false); }

void SCodeEditCtrl::Replace() {
  // A read-only text offers finding only.
  OpenFindDialog(!m_readOnly);
}

void SCodeEditCtrl::OpenFindDialog(bool replace) {
  if (!m_hWnd) return;
  SString seed = GetSelectedText().Left(kFindLength);
  if (m_findDialog) {
    ::SetFocus(m_findDialog);
    return;
  }
  _SFindState& state = GetFindState();
  if (seed.GetLength() > 0) {
    CopyText(m_find.findText, seed.GetText());
    if (!m_localFind) CopyText(GetSharedFindState().findText, seed.GetText());
  }
  memset(&m_findRecord, 0, sizeof(m_findRecord));
  m_findRecord.lStructSize = sizeof(m_findRecord);
  m_findRecord.hwndOwner = m_hWnd;
  m_findRecord.lpstrFindWhat = state.findText;
  m_findRecord.wFindWhatLen = kFindLength;
  m_findRecord.Flags =
      FR_NOWHOLEWORD | (state.searchDown ? FR_DOWN : 0) | (state.matchCase ? FR_MATCHCASE : 0);
  if (replace) {
    m_findRecord.lpstrReplaceWith = state.replaceText;
    m_findRecord.wReplaceWithLen = kFindLength;
    m_findDialog = ::ReplaceTextA(&m_findRecord);
  } else {
    m_findDialog = ::FindTextA(&m_findRecord);
  }
  if (m_findDialog) AddModelessDialog(m_findDialog);
}

LRESULT SCodeEditCtrl::OnFindMessage(FINDREPLACEA* record) {
  if (!record) return 0;
  if (record->Flags & FR_DIALOGTERM) {
    if (m_findDialog) ForgetModeless(m_findDialog);
    m_findDialog = nullptr;
    SetFocus();
    return 0;
  }
  bool replace = (record->Flags & (FR_REPLACE | FR_REPLACEALL)) != 0;
  if (!(record->Flags & FR_FINDNEXT) && !replace) return 0;
  if (replace && m_readOnly) return 0;
  _SFindState& state = GetFindState();
  bool down = (record->Flags & FR_DOWN) != 0, matchCase = (record->Flags & FR_MATCHCASE) != 0;
  m_find.searchDown = state.searchDown = down;
  m_find.matchCase = state.matchCase = matchCase;
  m_wrapAround = true;
  CopyText(state.findText, record->lpstrFindWhat);
  if (replace) CopyText(state.replaceText, record->lpstrReplaceWith);

  bool done;
  if (record->Flags & FR_REPLACEALL) {
    done = ReplaceAll();
  } else if (record->Flags & FR_REPLACE) {
    done = ReplaceCurrent();
  } else {
    done = FindNext(false);
  }
  if (!done) return 0;
  if (replace) NotifyChange();
  RequestAndRedraw(SCROLL_CENTRE);
  return 0;
}

// A match of the find text lying wholly in [from, to) of the line (to < 0:
// the line's end): the first one, or the last one with lastMatch.
bool SCodeEditCtrl::SearchLine(int line, int from, int to, bool lastMatch, int* found) {
  const _SFindState& state = GetFindState();
  const SString& text = *m_lines[line];
  int end = to < 0 || to > text.GetLength() ? text.GetLength() : to;
  int at = from;
  *found = -1;
  while (at < end) {
    int index = state.matchCase ? text.Find(state.findText, at, end - at)
                                : FindNoCase(text, state.findText, at, end);
    if (index < 0) break;
    *found = index;
    if (!lastMatch) break;
    at = index + 1;
  }
  return *found >= 0;
}

bool SCodeEditCtrl::FindNext(bool fromSelectionStart) {
  _SFindState& state = GetFindState();
  int caretLine, caretColumn;
  if (!state.findText[0] || !m_hasText || !GetCaret(&caretLine, &caretColumn)) return false;
  int length = int(strlen(state.findText));
  int startLine = m_selStartLine, startColumn = m_selStartColumn;
  int endLine = HasSelection() ? m_selEndLine : startLine;
  int endColumn = HasSelection() ? m_selEndColumn : startColumn;
  int count = m_lines.GetCount();
  int found = -1, line = -1;

  if (state.searchDown || fromSelectionStart) {
    int first = fromSelectionStart ? startLine : endLine;
    int from = fromSelectionStart ? startColumn : endColumn;
    for (line = first; line < count && found < 0; ++line) {
      if (SearchLine(line, line == first ? from : 0, -1, false, &found)) break;
    }
    if (found < 0 && m_wrapAround) {
      for (line = 0; line <= startLine && found < 0; ++line) {
        if (SearchLine(line, 0, line == startLine ? startColumn : -1, false, &found)) break;
      }
    }
  } else {
    // Upwards the nearest match before the selection comes first.
    for (line = startLine; line >= 0 && found < 0; --line) {
      if (SearchLine(line, 0, line == startLine ? startColumn : -1, true, &found)) break;
    }
    if (found < 0 && m_wrapAround) {
      for (line = count - 1; line >= startLine && found < 0; --line) {
        if (SearchLine(line, 0, -1, true, &found)) break;
      }
    }
  }
  if (found < 0) return false;
  SetSelection(line, found, line, found + length, 0);
  return true;
}

bool SCodeEditCtrl::ReplaceCurrent() {
  if (m_readOnly || !FindNext(true)) return false;
  const char* text = GetFindState().replaceText;
  PushUndo(m_selStartLine, 1, CountLineFeeds(text));
  if (!InsertText(text)) {
    DropLastUndo();
    return false;
  }
  return true;
}

bool SCodeEditCtrl::ReplaceAll() {
  if (m_readOnly || !m_hasText) return false;
  bool wrap = m_wrapAround;
  m_wrapAround = false;
  SetSelection(0, 0, -1, -1, 0);
  bool any = false;
  while (ReplaceCurrent()) any = true;
  m_wrapAround = wrap;
  return any;
}

// ---------------------------------------------------------------------------
// Go to

SCodeEditCtrl::_SWndGoto::_SWndGoto(SCodeEditCtrl* owner) : m_owner(owner) {}

LRESULT SCodeEditCtrl::_SWndGoto::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case SWM_AFTERCREATE: {
      LRESULT result = SWnd::WindowProc(message, wParam, lParam);
      SetClientSize(200, 65);
      Center(true);
      int line = 0, column = 0;
      m_owner->GetCaret(&line, &column);
      RECT edit = {5, 5, 195, 30};
      m_edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                    SString::FromInt(line + 1).GetText(), WS_EX_CLIENTEDGE, &edit, m_hWnd, 100);
      m_edit.SendMessage(EM_SETSEL, 0, -1);
      RECT ok = {10, 35, 100, 60};
      m_ok.CreateButton(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, "OK", 0, &ok, m_hWnd,
                        reinterpret_cast<HMENU>(1));
      RECT cancel = {105, 35, 195, 60};
      m_cancel.CreateButton(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                            m_owner->GetDefaultText("#CANCEL").GetText(), 0, &cancel, m_hWnd,
                            nullptr);
      return result;
    }
    case WM_SHOWWINDOW:
      if (wParam) m_edit.SetFocus();
      break;
    case SWM_MODALRETURN:
      SetModalResult(atoi(m_edit.GetText().GetText() ? m_edit.GetText().GetText() : ""));
      return 0;
    case SWM_BUTTONCLICKED:
      if (wParam == reinterpret_cast<WPARAM>(&m_ok)) {
        SetModalResult(atoi(m_edit.GetText().GetText() ? m_edit.GetText().GetText() : ""));
      } else if (wParam == reinterpret_cast<WPARAM>(&m_cancel)) {
        SetModalResult(0);
      }
      return 0;
  }
  return SWnd::WindowProc(message, wParam, lParam);
}

void SCodeEditCtrl::GoTo() {
  if (!m_hWnd || !m_hasText) return;
  if (m_goto) {
    m_goto->SetFocus();
    return;
  }
  int count = m_lines.GetCount();
  SString caption = SString("1 - ") + SString::FromInt(count);
  _SWndGoto* window = new _SWndGoto(this);
  m_goto = window;
  RECT rect = {0, 0, 200, 65};
  int result = 0;
  if (window->Create(caption.GetText(), WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, &rect, m_hWnd)) {
    result = window->RunModal(0, 0);
  }
  m_goto = nullptr;
  delete window;
  if (!m_hWnd) return;
  if (result >= 1 && result <= m_lines.GetCount()) {
    SetSelection(result - 1, 0, -1, -1, 0);
    RequestAndRedraw(SCROLL_CENTRE);
  }
  SetFocus();
}

// ---------------------------------------------------------------------------
// Print

bool SCodeEditCtrl::PrintText() {
  SFileMem file;
  if (!m_hasText || !SaveToFile(&file, m_documentName.GetText())) return false;
  file.Rewind();
  SPrinter printer;
  printer.m_owner = m_hWnd;
  printer.m_fontName = "courier new";
  printer.m_fontSize = 9;
  bool printed = printer.PrintText(&file);
  bool ended = printer.End();
  return printed && ended;
}

void SCodeEditCtrl::Print() { PrintText(); }
