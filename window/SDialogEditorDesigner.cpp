// SDialogEditor: the selection, the designer's colours and the designer hooks
// with their document-side behaviour.
#include "core/Platform.h"
#include "window/SDialogEditor.h"

#include "core/Utility.h"
#include "window/WindowPrivate.h"

// --- selection ----------------------------------------------------------------

void SDialogEditor::SetSelection(_SCtrl* record) {
  _SCtrl* previous = m_selection.GetCount() > 0 ? m_selection[0] : nullptr;
  m_selection.RemoveAll();
  if (record) AddToSelection(record);
  OnSelectionChanged(previous, record);
}

bool SDialogEditor::AddToSelection(_SCtrl* record) {
  if (!record || m_selection.Find(record) >= 0) return false;
  m_selection.Add(record);
  return true;
}

// --- designer colours ---------------------------------------------------------

void SDialogEditor::SetDesignerColors() {
  SetBackgroundColors(::GetSysColor(COLOR_APPWORKSPACE), ::GetSysColor(COLOR_BTNFACE));
  COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
  if (text != COLOR_NONE) m_rulerTextColor = text;
  DeleteHandle(m_rulerTextBrush);
  m_rulerTextBrush = ::CreateSolidBrush(m_rulerTextColor);
  COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  SetHighlightColors(highlight, MakeGrey(highlight));
}

void SDialogEditor::SetBackgroundColors(COLORREF ruler, COLORREF design) {
  if (ruler != COLOR_NONE) m_rulerBackColor = ruler;
  if (design != COLOR_NONE) m_designBackColor = design;
  DeleteHandle(m_rulerBackBrush);
  DeleteHandle(m_designBackBrush);
  m_rulerBackBrush = ::CreateSolidBrush(m_rulerBackColor);
  m_designBackBrush = ::CreateSolidBrush(m_designBackColor);
}

void SDialogEditor::SetHighlightColors(COLORREF focused, COLORREF unfocused) {
  if (focused != COLOR_NONE) m_selectionColor = focused;
  if (unfocused != COLOR_NONE) m_selectionGreyColor = unfocused;
  DeleteHandle(m_selectionBrush);
  DeleteHandle(m_selectionGreyBrush);
  m_selectionBrush = ::CreateSolidBrush(m_selectionColor);
  m_selectionGreyBrush = ::CreateSolidBrush(m_selectionGreyColor);
}

COLORREF SDialogEditor::MakeGrey(COLORREF color) {
  uint8_t y, cr, cb, r, g, b;
  RgbToYCrCb(GetRValue(color), GetGValue(color), GetBValue(color), &y, &cr, &cb);
  YCrCbToRgb(y, 128, 128, &r, &g, &b);
  return RGB(r, r, r);
}

// --- designer hooks -----------------------------------------------------------

bool SDialogEditor::OnControlAdded(_SCtrl*) { return true; }

bool SDialogEditor::OnControlRemoving(_SCtrl*) { return true; }

void SDialogEditor::OnSelectionChanged(_SCtrl*, _SCtrl*) {}

bool SDialogEditor::SetInsertType(int type) {
  if (type == -1) {
    if (m_insertType == -1) return false;
    m_insertType = -1;
    return true;
  }
  if (type < 1 || type >= TYPE_COUNT || type == m_insertType) return false;
  m_insertType = type;
  return true;
}

void SDialogEditor::UpdateScrollBars() {
  if (!m_hWnd) return;
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  SCROLLINFO info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = 0;
  info.nMax = SCROLL_RANGE;
  info.nPage = UINT(client.right - client.left);
  ::SetScrollInfo(m_hWnd, SB_HORZ, &info, TRUE);
  info.nPage = UINT(client.bottom - client.top);
  ::SetScrollInfo(m_hWnd, SB_VERT, &info, TRUE);
}

bool SDialogEditor::RefreshPanel() { return false; }

void SDialogEditor::SetDefaultTexts() {}

SWnd* SDialogEditor::CreateControlWindow(_SCtrl* record) {
  return s_controlMaker ? s_controlMaker(m_hWnd, record, m_archive, false, nullptr) : nullptr;
}

bool SDialogEditor::RecreateControl(SDialogEditor* document, _SCtrl* record) {
  if (!document || !record || document->m_testMode || !document->m_hWnd) return false;
  SWnd* window = document->CreateControlWindow(record);
  if (!window) return false;
  delete record->m_window;
  record->m_window = window;
  if (window->m_hWnd) ::MoveWindow(window->m_hWnd, 0, 0, record->m_width, record->m_height, TRUE);
  DeleteHandle(record->m_font);
  if (record->m_fontName.GetLength() > 0) {
    record->m_font = CreateFontByStyle(record->m_fontName.GetText(), record->m_fontSize,
                                       int(record->m_fontStyle));
    if (record->m_font && window->m_hWnd) {
      ::SendMessageA(window->m_hWnd, WM_SETFONT, WPARAM(record->m_font), TRUE);
    }
  }
  return true;
}
