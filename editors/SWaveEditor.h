// The wave editor control (dialog type WAVEEDITOR, kind 47): one waveform
// strip per channel over the whole client width, a selection made with the
// mouse or the keys, playing of the selection, and edits of it (cut, copy,
// paste, delete, silence, amplify) with a progress bar that Escape cancels.
//
// All wave editors share one clipboard file of raw frames (or one channel's
// samples), made by the first editor and deleted with the last. The parent
// hears of every change the user made as SWM_CONTROLCHANGED, and of mouse
// buttons as SWM_WAVEEDITORMOUSE, through its framework window procedure.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "editors/EditorMessages.h"
#include "editors/SWave.h"
#include "window/FrameworkMessages.h"
#include "window/SMenu.h"
#include "window/SWnd.h"

class SFile;
class SFilePath;

class SWaveEditor : public SWnd {
public:
  enum { KIND = 47, COMMAND_MASK = 0x3E };
  // Context menu commands.
  enum {
    MENU_CUT = 1000,
    MENU_COPY = 1001,
    MENU_PASTE = 1002,
    MENU_PLAY = 1003,
    MENU_PAUSE = 1004,
    MENU_STOP = 1005,
    MENU_DELETE = 1006,
    MENU_REPEAT = 1007
  };

  // The edited sound: its play events redraw the editor.
  class _SWave : public SWave {
  public:
    explicit _SWave(SWaveEditor* owner) : m_owner(owner) {}
    void OnPlayProgress() override { OnPlayEvent(); }
    void OnPlayStopped() override { OnPlayEvent(); }
    void OnPlayEvent();
    SWaveEditor* m_owner;
  };

  // The key state the editor polls (GetAsyncKeyState by default).
  typedef SHORT(WINAPI* KeyStateFunction)(int key);
  static KeyStateFunction s_keyState;

  SWaveEditor();
  ~SWaveEditor() override;

  // Registers the control class with the dialog control factory.
  static bool Register();
  // The clipboard file shared by all editors; null while none exists.
  static SFilePath* GetClipboard();

  void Cut() override;
  void Copy() override;
  void Paste() override;
  void Delete() override;
  void SelectAll() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Colour setters; 0xFF000000 keeps a colour.
  void SetLineColors(COLORREF line, COLORREF caret, COLORREF caretPlay);
  void SetBackColors(COLORREF enabled, COLORREF disabled);
  void SetWaveColors(COLORREF enabled, COLORREF disabled);
  void SetProgressColors(COLORREF back, COLORREF start, COLORREF end);

  bool LoadFile(SFile* file);
  bool NewWave(int channels);
  void Reset();
  void ResetAll();
  void Play();
  void SetFocusChannel(int channel);
  void ToggleChannelMute(int channel);
  void SetSelection(uint32_t start, uint32_t length);
  uint32_t FrameFromX(int x);
  int XFromFrame(uint32_t frame, uint32_t total);
  int XFromFrame(uint32_t frame) { return XFromFrame(frame, m_wave.GetFrames()); }

  // Edits of the selection: the wave edit's result (false also when the
  // edit could not begin).
  bool DeleteSelection();
  bool SilenceSelection();
  bool CopySelection();
  bool CutSelection();
  bool PasteClipboard();
  bool AmplifySelection(double factor);
  bool RebuildSelection();

  // Rebuilds the back buffer; Paint draws it with the selection and caret.
  void Redraw();
  void Paint(HDC dc);
  void DrawChannel(HDC dc, int channel, const RECT& strip);
  void TrackMouseSelection();
  void BeginProgress();
  void DrawProgress(int percent);
  void EndProgress();
  static bool ProgressCallback(int percent, void* editor);

  // Sends SWM_CONTROLCHANGED to the parent while m_notifyParent is set.
  void Notify();
  // Notify when the last edit changed the data, then redraw.
  void AfterEdit();
  // Redraw, then a window redraw.
  void RedrawAll();
  // A window redraw.
  void RedrawWindow();

  SMenu m_menu;
  _SWave m_wave;
  bool m_popupMenu;
  bool m_repeat;
  bool m_notifyParent;  // on by default
  int m_focusChannel;   // -1: all channels
  uint32_t m_selectionStart, m_selectionLength;
  uint32_t m_progressTotal;
  SArray<int> m_muted;
  HBITMAP m_backBuffer;
  HBITMAP m_progressSnapshot;
  // Colours and their GDI objects.
  COLORREF m_backEnabled, m_backDisabled, m_line, m_caret, m_caretPlay, m_waveEnabled,
      m_waveDisabled, m_progressBack, m_progressStart, m_progressEnd;
  HPEN m_linePen, m_caretPen, m_caretPlayPen, m_waveEnabledPen, m_waveDisabledPen;
  HBRUSH m_backEnabledBrush, m_backDisabledBrush, m_progressBackBrush;

private:
  bool IsKeyDown(int key) const { return s_keyState && (s_keyState(key) & 0x8000) != 0; }
  void SetDefaultColors();
  void RebuildGdiObjects();
  void FreeGdiObjects();
  void BuildMenu();
  // Runs one edit of the selection between BeginProgress and EndProgress,
  // when ready; false when not ready or when the operation cannot begin.
  template <class Edit>
  bool RunEdit(bool ready, Edit edit);
  bool OnKeyDown(int key);
  void OnMenuCommand(int id);
  void NotifyMouse(UINT message, LPARAM lParam);
  // The rectangle of the focused channel's strip, or the whole client.
  RECT GetFocusRect();
};
