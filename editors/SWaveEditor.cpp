#include "core/Platform.h"
#include "editors/SWaveEditor.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "core/SResource.h"
#include "window/SLevelCtrl.h"
#include "window/ControlFactory.h"
#include "window/SCursor.h"

#include <dsound.h>

SWaveEditor::KeyStateFunction SWaveEditor::s_keyState = ::GetAsyncKeyState;

namespace {

const COLORREF kKeep = 0xFF000000;

int g_editorCount = 0;
SFilePath* g_clipboard = nullptr;

// --- dialog control class ---------------------------------------------------

SWnd* ConstructWaveEditor() { return new SWaveEditor; }

void ConfigureWaveEditor(SWnd* control, const SDialogEditor::_SCtrl* r, SResource* archive, bool) {
  SWaveEditor* editor = static_cast<SWaveEditor*>(control);
  auto color = [r](const char* key) { return SDialogEditor::GetPropertyColor(r, key); };
  COLORREF backEnabled = color("WAVEEDITOR_COLORBACKENABLED");
  COLORREF backDisabled = color("WAVEEDITOR_COLORBACKDISABLED");
  COLORREF line = color("WAVEEDITOR_COLORLINE");
  COLORREF caret = color("WAVEEDITOR_COLORCARET");
  COLORREF caretPlay = color("WAVEEDITOR_COLORCARETPLAY");
  COLORREF progressBack = color("WAVEEDITOR_COLORPROGRESSBACK");
  COLORREF progressStart = color("WAVEEDITOR_COLORPROGRESSSTART");
  COLORREF progressEnd = color("WAVEEDITOR_COLORPROGRESSEND");
  editor->SetLineColors(line, caret, caretPlay);
  editor->SetBackColors(backEnabled, backDisabled);
  COLORREF waveDisabled = color("WAVEEDITOR_COLORWAVEDISABLED");
  COLORREF waveEnabled = color("WAVEEDITOR_COLORWAVEENABLED");
  editor->SetWaveColors(waveEnabled, waveDisabled);
  editor->SetProgressColors(progressBack, progressStart, progressEnd);
  editor->m_popupMenu = SDialogEditor::GetPropertyBool(r, "WAVEEDITOR_POPUPMENU");
  SString name = SDialogEditor::GetProperty(r, "WAVEEDITOR_FILE");
  SFileMem file;
  if (archive && name.GetLength() > 0 && archive->Load(&file, name.GetText(), true))
    editor->LoadFile(&file);
}

// The level meter is the dialog's LEVEL control that the record names.
void LinkWaveEditor(SWnd* control, SWnd* partner) {
  SWaveEditor* editor = static_cast<SWaveEditor*>(control);
  SLevelCtrl* meter = dynamic_cast<SLevelCtrl*>(partner);
  editor->m_wave.m_levelMeter = meter;
  if (meter)
    meter->SetChannelCount(editor->m_wave.GetChannels() > 1 ? editor->m_wave.GetChannels() : 1);
}

const SDialogControlClass kWaveEditorClass = {ConstructWaveEditor, ConfigureWaveEditor,
                                              LinkWaveEditor};

// --- keys ----------------------------------------------------------------------

// Modifier states: 1 Shift, 2 Ctrl.
enum Match { ANY, ONLY, NOT };

struct KeyRow {
  int first, last;  // virtual key range
  Match match;
  int modifiers;
  void (*act)(SWaveEditor& e, int index);  // index = key - first
};

void CollapseToStart(SWaveEditor& e, int) {
  e.SetSelection(e.m_selectionStart, 0);
  e.RedrawWindow();
}
void TogglePlay(SWaveEditor& e, int) {
  if (e.m_wave.IsPlaying())
    e.m_wave.Stop();
  else
    e.Play();
  e.RedrawWindow();
}
void CaretHome(SWaveEditor& e, int) {
  e.SetSelection(0, 0);
  e.RedrawWindow();
}
void CaretEnd(SWaveEditor& e, int) {
  e.SetSelection(e.m_wave.GetFrames(), 0);
  e.RedrawWindow();
}
uint32_t Step(SWaveEditor& e) {
  RECT client = {0, 0, 0, 0};
  ::GetClientRect(e.m_hWnd, &client);
  return e.m_wave.GetFrames() / uint32_t(client.right > 1 ? client.right : 1);
}
void ExtendLeft(SWaveEditor& e, int) {
  uint32_t step = Step(e), start = e.m_selectionStart;
  uint32_t moved = start < step ? start : step;
  e.SetSelection(start - moved, e.m_selectionLength + moved);
  e.RedrawWindow();
}
void MoveLeft(SWaveEditor& e, int) {
  uint32_t step = Step(e), start = e.m_selectionStart;
  if (e.m_selectionLength > 0)
    e.SetSelection(start, 0);
  else
    e.SetSelection(start < step ? 0 : start - step, 0);
  e.RedrawWindow();
}
void ExtendRight(SWaveEditor& e, int) {
  e.SetSelection(e.m_selectionStart, e.m_selectionLength + Step(e));
  e.RedrawWindow();
}
void MoveRight(SWaveEditor& e, int) {
  if (e.m_selectionLength > 0)
    e.SetSelection(e.m_selectionStart + e.m_selectionLength, 0);
  else
    e.SetSelection(e.m_selectionStart + Step(e), 0);
  e.RedrawWindow();
}
void FocusPrevious(SWaveEditor& e, int) {
  int channels = e.m_wave.GetChannels(), focus = e.m_focusChannel;
  e.SetFocusChannel(focus == -1 ? channels - 1 : focus - 1);
}
void FocusNext(SWaveEditor& e, int) {
  int channels = e.m_wave.GetChannels(), focus = e.m_focusChannel;
  e.SetFocusChannel(focus == -1 ? 0 : (focus + 1 < channels ? focus + 1 : -1));
}
void Silence(SWaveEditor& e, int) {
  e.SilenceSelection();
  e.AfterEdit();
}
void NewMono(SWaveEditor& e, int) {
  e.NewWave(1);
  e.Notify();
}
void NewSixChannels(SWaveEditor& e, int) {
  e.NewWave(6);
  e.Notify();
}
void Rebuild(SWaveEditor& e, int) {
  e.RebuildSelection();
  e.Notify();
}
void FocusToggle(SWaveEditor& e, int channel) {
  e.SetFocusChannel(e.m_focusChannel == channel ? -1 : channel);
}
void FocusAll(SWaveEditor& e, int) { e.SetFocusChannel(-1); }
void Mute(SWaveEditor& e, int channel) { e.ToggleChannelMute(channel); }
void UnmuteAll(SWaveEditor& e, int) { e.ToggleChannelMute(-1); }
void Louder(SWaveEditor& e, int) {
  e.AmplifySelection(1.5);
  if (e.m_wave.m_operation.written) e.Notify();
}
void Softer(SWaveEditor& e, int) {
  e.AmplifySelection(0.75);
  if (e.m_wave.m_operation.written) e.Notify();
}

const KeyRow kKeys[] = {
    {VK_ESCAPE, VK_ESCAPE, ANY, 0, CollapseToStart},
    {VK_SPACE, VK_SPACE, ANY, 0, TogglePlay},
    {VK_HOME, VK_HOME, ANY, 0, CaretHome},
    {VK_END, VK_END, ANY, 0, CaretEnd},
    {VK_LEFT, VK_LEFT, ONLY, 1, ExtendLeft},
    {VK_LEFT, VK_LEFT, NOT, 1, MoveLeft},
    {VK_RIGHT, VK_RIGHT, ONLY, 1, ExtendRight},
    {VK_RIGHT, VK_RIGHT, NOT, 1, MoveRight},
    {VK_UP, VK_UP, ANY, 0, FocusPrevious},
    {VK_DOWN, VK_DOWN, ANY, 0, FocusNext},
    {VK_DELETE, VK_DELETE, ONLY, 1, Silence},
    {'N', 'N', ONLY, 2, NewMono},
    {'N', 'N', ONLY, 3, NewSixChannels},
    {'R', 'R', ONLY, 2, Rebuild},
    {VK_NUMPAD1, VK_NUMPAD6, ONLY, 0, FocusToggle},
    {VK_NUMPAD0, VK_NUMPAD0, ONLY, 0, FocusAll},
    {VK_NUMPAD1, VK_NUMPAD6, ONLY, 2, Mute},
    {VK_NUMPAD0, VK_NUMPAD0, ONLY, 2, UnmuteAll},
    {VK_ADD, VK_ADD, ANY, 0, Louder},
    {VK_SUBTRACT, VK_SUBTRACT, ANY, 0, Softer},
};

// --- context menu -----------------------------------------------------------------

struct MenuRow {
  int id;  // 0: a separator
  const char* text;
};

const MenuRow kMenu[] = {
    {SWaveEditor::MENU_PLAY, "Play"},
    {SWaveEditor::MENU_STOP, "Stop"},
    {SWaveEditor::MENU_PAUSE, "Pause"},
    {0, nullptr},
    {SWaveEditor::MENU_CUT, "Cut"},
    {SWaveEditor::MENU_COPY, "Copy"},
    {SWaveEditor::MENU_PASTE, "Paste"},
    {SWaveEditor::MENU_DELETE, "Delete"},
    {0, nullptr},
    {SWaveEditor::MENU_REPEAT, "Repeat"},
};

}  // namespace

// --- construction ----------------------------------------------------------------

SWaveEditor::SWaveEditor() : m_wave(this) {
  m_kind = KIND;
  if (g_editorCount++ == 0) {
    g_clipboard = new SFilePath;
    g_clipboard->OpenTemp();
  }
  m_popupMenu = true;
  m_repeat = false;
  m_notifyParent = true;
  m_focusChannel = -1;
  m_selectionStart = m_selectionLength = 0;
  m_progressTotal = 0;
  m_backBuffer = m_progressSnapshot = nullptr;
  m_linePen = m_caretPen = m_caretPlayPen = m_waveEnabledPen = m_waveDisabledPen = nullptr;
  m_backEnabledBrush = m_backDisabledBrush = m_progressBackBrush = nullptr;
  SetDefaultColors();
}

void SWaveEditor::SetDefaultColors() {
  m_backEnabled = ::GetSysColor(COLOR_WINDOW);
  m_backDisabled = ::GetSysColor(COLOR_BTNFACE);
  m_line = m_caret = ::GetSysColor(COLOR_BTNTEXT);
  m_caretPlay = 0x0000FF;
  m_waveEnabled = ::GetSysColor(COLOR_HIGHLIGHT);
  m_waveDisabled = ::GetSysColor(COLOR_WINDOWTEXT);
  m_progressBack = 0x205C20;
  m_progressStart = 0x80FF80;
  m_progressEnd = 0x0000FF;
}

SWaveEditor::~SWaveEditor() {
  // The window goes first: its destruction still uses the members.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  FreeGdiObjects();
  if (m_backBuffer) ::DeleteObject(m_backBuffer);
  if (m_progressSnapshot) ::DeleteObject(m_progressSnapshot);
  m_backBuffer = m_progressSnapshot = nullptr;
  if (--g_editorCount == 0) {
    delete g_clipboard;
    g_clipboard = nullptr;
  }
}

bool SWaveEditor::Register() {
  return RegisterDialogControlClass(SDialogEditor::TYPE_WAVEEDITOR, &kWaveEditorClass);
}

SFilePath* SWaveEditor::GetClipboard() { return g_clipboard; }

void SWaveEditor::FreeGdiObjects() {
  HGDIOBJ objects[] = {m_linePen,           m_caretPen,         m_caretPlayPen,
                       m_waveEnabledPen,    m_waveDisabledPen,  m_backEnabledBrush,
                       m_backDisabledBrush, m_progressBackBrush};
  for (HGDIOBJ object : objects)
    if (object) ::DeleteObject(object);
  m_linePen = m_caretPen = m_caretPlayPen = m_waveEnabledPen = m_waveDisabledPen = nullptr;
  m_backEnabledBrush = m_backDisabledBrush = m_progressBackBrush = nullptr;
}

void SWaveEditor::RebuildGdiObjects() {
  FreeGdiObjects();
  m_linePen = ::CreatePen(PS_SOLID, 0, m_line);
  m_caretPen = ::CreatePen(PS_SOLID, 0, m_caret);
  m_caretPlayPen = ::CreatePen(PS_SOLID, 0, m_caretPlay);
  m_waveEnabledPen = ::CreatePen(PS_SOLID, 0, m_waveEnabled);
  m_waveDisabledPen = ::CreatePen(PS_SOLID, 0, m_waveDisabled);
  m_backEnabledBrush = ::CreateSolidBrush(m_backEnabled);
  m_backDisabledBrush = ::CreateSolidBrush(m_backDisabled);
  m_progressBackBrush = ::CreateSolidBrush(m_progressBack);
}

static void Keep(COLORREF* field, COLORREF value) {
  if (value != kKeep) *field = value;
}

void SWaveEditor::SetLineColors(COLORREF line, COLORREF caret, COLORREF caretPlay) {
  Keep(&m_line, line);
  Keep(&m_caret, caret);
  Keep(&m_caretPlay, caretPlay);
  RebuildGdiObjects();
}

void SWaveEditor::SetBackColors(COLORREF enabled, COLORREF disabled) {
  Keep(&m_backEnabled, enabled);
  Keep(&m_backDisabled, disabled);
  RebuildGdiObjects();
}

void SWaveEditor::SetWaveColors(COLORREF enabled, COLORREF disabled) {
  Keep(&m_waveEnabled, enabled);
  Keep(&m_waveDisabled, disabled);
  RebuildGdiObjects();
}

void SWaveEditor::SetProgressColors(COLORREF back, COLORREF start, COLORREF end) {
  Keep(&m_progressBack, back);
  Keep(&m_progressStart, start);
  Keep(&m_progressEnd, end);
  RebuildGdiObjects();
}

void SWaveEditor::BuildMenu() {
  m_menu.CreatePopup(m_hWnd);
  for (const MenuRow& row : kMenu) {
    if (row.id)
      m_menu.AddItem(row.id, row.text);
    else
      m_menu.AddSeparator(0);
  }
}

// --- state -------------------------------------------------------------------------

bool SWaveEditor::LoadFile(SFile* file) {
  if (!file) return false;
  Reset();
  if (!m_wave.LoadWav(file)) {
    RedrawAll();
    return false;
  }
  m_wave.m_repeat = m_repeat;
  RedrawAll();
  return true;
}


bool SWaveEditor::NewWave(int channels) {
  Reset();
  if (!m_wave.Create(channels)) return false;
  m_wave.m_repeat = m_repeat;
  RedrawAll();
  return true;
}

void SWaveEditor::Reset() {
  if (!m_wave.IsLoaded()) return;
  m_wave.Clear();
  m_focusChannel = -1;
  m_selectionStart = m_selectionLength = 0;
  m_progressTotal = 0;
  m_muted.SetSize(0, false);
  RedrawAll();
}

void SWaveEditor::ResetAll() {
  Reset();
  SetDefaultColors();
  RebuildGdiObjects();
  m_focusChannel = -1;
  m_selectionStart = m_selectionLength = 0;
  m_progressTotal = 0;
  m_muted.SetSize(0, false);
}

void SWaveEditor::Play() {
  if (!m_wave.IsLoaded()) return;
  m_wave.m_muted.SetSize(0, false);
  for (int i = 0; i < m_muted.GetCount(); ++i) m_wave.m_muted.Add(m_muted[i]);
  m_wave.m_muted.Sort();
  m_wave.PrepareBuffer();
  if (m_selectionLength == 0)
    m_wave.Play(m_selectionStart, 0);
  else
    m_wave.Play(m_selectionStart, m_selectionStart + m_selectionLength);
}

void SWaveEditor::SetFocusChannel(int channel) {
  m_focusChannel = channel >= 0 && channel < m_wave.GetChannels() ? channel : -1;
  RedrawAll();
}

void SWaveEditor::ToggleChannelMute(int channel) {
  if (!m_wave.IsLoaded()) return;
  if (channel >= 0 && channel < m_wave.GetChannels()) {
    int index = m_muted.Find(channel);
    if (index >= 0)
      m_muted.RemoveAt(index);
    else
      m_muted.Add(channel);
  } else {
    m_muted.SetSize(0, false);
  }
  RedrawAll();
}

void SWaveEditor::SetSelection(uint32_t start, uint32_t length) {
  uint32_t frames = m_wave.GetFrames();
  m_selectionStart = start < frames ? start : frames;
  uint32_t room = frames - m_selectionStart;
  m_selectionLength = length < room ? length : room;
}

uint32_t SWaveEditor::FrameFromX(int x) {
  RECT client = {0, 0, 0, 0};
  if (!m_wave.IsLoaded() || !m_hWnd || !::GetClientRect(m_hWnd, &client) || client.right <= 0)
    return 0;
  int64_t frame = int64_t(m_wave.GetFrames()) * (x - client.left) / client.right;
  return frame < 0 ? 0 : uint32_t(frame);
}

int SWaveEditor::XFromFrame(uint32_t frame, uint32_t total) {
  if (!m_wave.IsLoaded() || frame > total) return -1;
  RECT client = {0, 0, 0, 0};
  if (m_hWnd) ::GetClientRect(m_hWnd, &client);
  if (total == 0) return client.left;
  return client.left + int(int64_t(client.right - client.left) * frame / total);
}

void SWaveEditor::Notify() {
  if (m_notifyParent && m_hWnd && GetParent())
    ::SendMessageA(GetParent(), SWM_CONTROLCHANGED, reinterpret_cast<WPARAM>(this), 0);
}

void SWaveEditor::RedrawAll() {
  Redraw();
  RedrawWindow();
}

void SWaveEditor::RedrawWindow() {
  SWnd::Redraw(nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SWaveEditor::_SWave::OnPlayEvent() {
  if (m_owner) m_owner->RedrawWindow();
}

// --- edits ---------------------------------------------------------------------------

template <class Edit>
bool SWaveEditor::RunEdit(bool ready, Edit edit) {
  m_wave.m_operation.written = false;
  if (!ready || !m_wave.BeginOperation(m_selectionStart, m_selectionLength, m_focusChannel,
                                       ProgressCallback, this)) {
    return false;
  }
  BeginProgress();
  bool done = edit();
  EndProgress();
  return done;
}

bool SWaveEditor::DeleteSelection() {
  bool done = RunEdit(m_selectionLength > 0, [this] { return m_wave.DeleteRange(); });
  SetSelection(m_selectionStart, 0);
  return done;
}

bool SWaveEditor::SilenceSelection() {
  return RunEdit(m_selectionLength > 0, [this] { return m_wave.SilenceRange(); });
}

bool SWaveEditor::CopySelection() {
  bool ready = m_selectionLength > 0 && g_clipboard;
  if (ready) g_clipboard->SetSize(0);
  return RunEdit(ready, [this] { return m_wave.CopyRange(g_clipboard); });
}

bool SWaveEditor::CutSelection() {
  bool ready = m_selectionLength > 0 && g_clipboard;
  if (ready) g_clipboard->SetSize(0);
  bool done = RunEdit(ready, [this] { return m_wave.Cut(g_clipboard); });
  SetSelection(m_selectionStart, 0);
  return done;
}

bool SWaveEditor::PasteClipboard() {
  bool ready = g_clipboard && g_clipboard->GetSize() > 0;
  bool done = RunEdit(ready, [this] { return m_wave.Paste(g_clipboard); });
  if (!ready) return false;
  int unit = m_focusChannel >= 0 ? m_wave.GetBits() / 8 : m_wave.GetBlockAlign();
  if (unit > 0) SetSelection(m_selectionStart, uint32_t(g_clipboard->GetSize() / unit));
  return done;
}

bool SWaveEditor::AmplifySelection(double factor) {
  bool done = RunEdit(m_selectionLength > 0, [this, factor] { return m_wave.Amplify(factor); });
  RedrawAll();
  return done;
}

bool SWaveEditor::RebuildSelection() {
  bool done = RunEdit(true, [this] { return m_wave.RebuildPass(); });
  RedrawAll();
  return done;
}

void SWaveEditor::AfterEdit() {
  if (m_wave.m_operation.written) Notify();
  RedrawAll();
}

void SWaveEditor::Cut() {
  CutSelection();
  AfterEdit();
}

void SWaveEditor::Copy() {
  CopySelection();
  RedrawAll();
}

void SWaveEditor::Paste() {
  PasteClipboard();
  AfterEdit();
}

void SWaveEditor::Delete() {
  DeleteSelection();
  AfterEdit();
}

void SWaveEditor::SelectAll() {
  SetSelection(0, m_wave.GetFrames());
  RedrawWindow();
}

bool SWaveEditor::ProgressCallback(int percent, void* data) {
  SWaveEditor* editor = static_cast<SWaveEditor*>(data);
  if (editor->IsKeyDown(VK_ESCAPE)) return false;
  editor->DrawProgress(percent);
  return true;
}

// --- messages ------------------------------------------------------------------------

bool SWaveEditor::OnKeyDown(int key) {
  int modifiers = (IsKeyDown(VK_SHIFT) ? 1 : 0) | (IsKeyDown(VK_CONTROL) ? 2 : 0);
  for (const KeyRow& row : kKeys) {
    if (key < row.first || key > row.last) continue;
    bool match = row.match == ANY ||
                 (row.match == ONLY ? modifiers == row.modifiers : modifiers != row.modifiers);
    if (!match) continue;
    row.act(*this, key - row.first);
    return true;
  }
  return false;
}

void SWaveEditor::OnMenuCommand(int id) {
  switch (id) {
    case MENU_CUT:
      Cut();
      break;
    case MENU_COPY:
      Copy();
      break;
    case MENU_PASTE:
      Paste();
      break;
    case MENU_DELETE:
      Delete();
      break;
    case MENU_PLAY:
      Play();
      RedrawWindow();
      break;
    case MENU_PAUSE:
      m_wave.Pause();
      RedrawWindow();
      break;
    case MENU_STOP:
      if (m_wave.IsLoaded()) m_wave.Stop();
      RedrawWindow();
      break;
    case MENU_REPEAT:
      m_repeat = !m_repeat;
      m_wave.m_repeat = m_repeat;
      break;
  }
}

void SWaveEditor::NotifyMouse(UINT message, LPARAM lParam) {
  HWND parent = GetParent();
  MOUSERECORD record;
  if (!parent || !m_hWnd || !MakeMouseRecord(m_hWnd, message, lParam, &record)) return;
  SWnd::StaticWndProc(parent, SWM_WAVEEDITORMOUSE, reinterpret_cast<WPARAM>(this),
                      reinterpret_cast<LPARAM>(&record));
}

LRESULT SWaveEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  bool loaded = m_wave.IsLoaded();
  switch (message) {
    case SWM_AFTERCREATE:
      m_commandMask = COMMAND_MASK;
      BuildMenu();
      ResetAll();
      break;
    case WM_DESTROY:
      ResetAll();
      break;
    case WM_SIZE:
      RedrawAll();
      break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      if (HDC dc = ContentPaintDC(message, wParam, lParam)) Paint(dc);
      break;
    case WM_MOUSEMOVE:
      SetCursor(GetFrameworkCursor(CURSOR_IBEAM));
      break;
    case WM_NCMOUSEMOVE:
      SetCursor(nullptr);
      break;
    case WM_KEYDOWN:
      if (loaded) OnKeyDown(int(wParam));
      break;
    case WM_MOUSEWHEEL:
      if (loaded) {
        int frequency = m_wave.GetFrequency() + (short(HIWORD(wParam)) > 0 ? 500 : -500);
        if (m_wave.m_buffer) m_wave.m_buffer->SetFrequency(DWORD(frequency));
        RedrawWindow();
        Notify();
      }
      break;
    case WM_LBUTTONDOWN:
      if (loaded) TrackMouseSelection();
      break;
    case WM_LBUTTONDBLCLK:
      if (loaded) {
        SetFocus();
        SelectAll();
      }
      break;
    case WM_RBUTTONDOWN:
      if (loaded && m_popupMenu) {
        SetFocus();
        m_menu.EnableItem(MENU_REPEAT, true);
        POINT point = {short(LOWORD(lParam)), short(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &point);
        m_menu.Track(point.x, point.y);
      }
      break;
    case SWM_MENUCOMMAND:
      OnMenuCommand(int(lParam));
      break;
  }
  // Every mouse button message, after its own handling.
  NotifyMouse(message, lParam);
  return SWnd::WindowProc(message, wParam, lParam);
}
