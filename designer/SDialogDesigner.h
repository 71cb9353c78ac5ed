// The interactive dialog designer: a window that shows a dialog document and
// lets a user select, place, move, resize, nudge, cut, copy, paste, delete
// and undo its controls, and run it as a test dialog.
//
// The designer is the document class of the window toolkit with a window:
// it keeps the document (records, reader, writer) as it is and adds its
// editing through the document's virtual hooks. A host application creates
// the window as a child, loads a dialog text into it (LoadText) and listens
// for SWM_CONTROLCHANGED.
//
// Coordinates. Records hold design coordinates. The design area is the
// client rectangle less the two 22-pixel rulers (when shown); design point
// p is drawn at client point p + (area.left - hpos, area.top - vpos), hpos
// and vpos being the scroll positions.
//
// Selection. m_selection (of the document) holds pointers into the records;
// element 0 is the primary selection. The dialog record is only ever
// selected alone.
//
// Drags. Moving, resizing and the rubber band are modal loops inside the
// mouse message: they poll the key state and the cursor (through s_keyState
// and s_cursorPos, the system's by default), discard queued input and draw
// XOR feedback on the window; Escape cancels them.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "window/FrameworkMessages.h"
#include "window/SDialogEditor.h"
#include "window/SMenu.h"

#include <functional>
#include <vector>

class SFile;

class SDialogDesigner : public SDialogEditor {
public:
  enum {
    RULER_SIZE = 22,       // width of each ruler
    UNDO_LEVELS = 32,      // snapshots kept at most
    GRIP_SIZE = 6,         // side of a resize grip
    MIN_SIZE = 10,         // smallest width and height a resize drag leaves
    COMMAND_MASK = 0x43F,  // Undo, Cut, Copy, Paste, Delete, Select All and Cancel keys
    COMBO_HIT_HEIGHT = 24  // a drop-down combo is hit in its edit part only
  };

  // Menu commands (SWM_MENUCOMMAND, lParam). Tab pages: (page + 1) *
  // PAGE_COMMAND + k, k = 1 shows the page, k >= 10 toggles the control of
  // index k - 10 on it.
  enum {
    CMD_CUT = 10,
    CMD_COPY = 11,
    CMD_PASTE = 12,
    CMD_SELECTALL = 13,
    CMD_DELETE = 14,
    CMD_TEST = 15,
    CMD_EXTERN = 1000,  // items of the external-control menu, up to CMD_EXTERN_END
    CMD_EXTERN_END = 1999,
    PAGE_COMMAND = 3000,
    PAGE_COMMAND_END = 9999,
    PAGE_SHOW = 1,
    PAGE_TOGGLE = 10
  };

  // The key state and the cursor position (screen) the drags and key
  // handlers poll.
  typedef SHORT(WINAPI* KeyStateFunction)(int key);
  typedef BOOL(WINAPI* CursorPosFunction)(POINT* point);
  static KeyStateFunction s_keyState;
  static CursorPosFunction s_cursorPos;

  // Lets a host draw the preview of an EXTERN control over its live
  // window's picture: (DC of the control's picture, record, user data, the
  // control's name/value block).
  typedef void (*ExternDrawCallback)(HDC dc, const _SCtrl* record, void* userData,
                                     const char* params);

  // A whole-document snapshot: copies of the dialog record and of every
  // control record, and which of the copies were selected (by id, in
  // document order).
  struct _SUndo {
    _SUndo() : m_dialog(nullptr) {}
    ~_SUndo();
    _SUndo(const _SUndo&) = delete;
    _SUndo& operator=(const _SUndo&) = delete;

    // Replaces the content by the designer's document; false for null.
    bool Fill(const SDialogDesigner* designer);
    // Puts the copies back into the designer (new live windows, ids and
    // names kept) and selects the copies listed; false without a dialog copy.
    bool Restore(SDialogDesigner* designer) const;

    _SCtrl* m_dialog;            // owned
    SArray<_SCtrl*> m_controls;  // owned, in document order
    SArray<_SCtrl*> m_selected;  // into m_controls
  };

  SDialogDesigner();
  ~SDialogDesigner() override;

  // --- document hooks ------------------------------------------------------

  // The document's Init, then the client rectangle and the rulers.
  bool Init() override;
  // The document's Reset; every snapshot goes too.
  void Reset() override;
  // The document's arming rule; an armed type shows the cross cursor, and
  // disarming gives the normal cursor back.
  bool SetInsertType(int type) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Edit commands fired by the keys of COMMAND_MASK.
  void Undo() override;
  void Cut() override;
  void Copy() override;
  void Paste() override;
  void Delete() override;
  void SelectAll() override;
  void Cancel() override;

  // Host hooks. A double click on the design area with a primary selection;
  // nothing here.
  virtual void OnControlDoubleClick(_SCtrl* record);
  // Answers the test dialog's builder for a name (TestCallback); 0 here.
  virtual int TestHook(const char* name);

  // --- coordinates -----------------------------------------------------------

  // The design area and the rulers from the client rectangle.
  void UpdateLayout();
  RECT DesignToClient(const RECT& rect);
  RECT ClientToDesign(const RECT& rect);
  POINT ClientToDesignPoint(POINT point);
  // The record's rectangle in design coordinates (16-bit sums).
  static RECT RecordRect(const _SCtrl* record);
  // The grid step when snapping is in effect (the snap flag, or its
  // opposite with invert), else 1.
  int GetSnapStepX(bool invert) const;
  int GetSnapStepY(bool invert) const;
  // Grip 0 to 7 of a rectangle: 6 x 6 squares just outside it, clockwise
  // from the top left by rows; empty for any other index.
  static RECT GetResizeGrip(const RECT& rect, int grip);

  // --- selection -------------------------------------------------------------

  _SCtrl* GetCtrl(int index) const;
  _SCtrl* GetSelectedCtrl(int index) const;
  _SCtrl* GetPrimary() const { return GetSelectedCtrl(0); }
  bool RemoveFromSelection(_SCtrl* record);
  // Swaps the selected record into element 0; false for null, the dialog
  // record or a record not selected.
  bool MakePrimary(_SCtrl* record);
  bool IsSelectionLocked() const;
  // The topmost visible control at the client point (group boxes by their
  // frame, drop-down combos by their edit part), else the dialog record
  // when the point is on it, else null.
  _SCtrl* HitTest(POINT point);
  // Appends every control record hidden on a tab page that is not shown.
  void CollectHiddenControls(SArray<_SCtrl*>* hidden) const;
  // Puts the record on (add) or takes it off one page of the selected TAB
  // record; pairs of removed controls and pages drop out.
  void SetTabPageMember(int page, _SCtrl* record, bool add);

  // --- mouse and keys ----------------------------------------------------------

  void OnLeftButtonDown(int x, int y);
  void OnRightButtonDown(int x, int y);
  void OnLeftDoubleClick(int x, int y);
  void OnMouseMove(int x, int y);
  void OnKeyDown(int key);
  void TrackRubberBand(POINT start);
  void TrackMove(POINT start);
  void TrackResize(POINT start, int grip);

  // --- undo, clipboard, edit commands -------------------------------------------

  void PushUndo();
  void DropLastUndo();
  bool RestoreLastUndo();
  int GetUndoCount() const { return m_undo.GetCount(); }
  bool CopySelection();
  bool CutSelection();
  bool PasteFromClipboard();
  bool CanPaste();
  bool DeleteSelection();
  void SelectAllVisible();
  // One record in the clipboard form (the reverse of _SCtrl::ReadBinary):
  // the bytes written, 0 without a file or record.
  static int WriteRecord(const _SCtrl* record, SFile* file);

  // --- painting ------------------------------------------------------------------

  void PaintDesignArea(HDC dc);
  void PaintItem(HDC dc, _SCtrl* record);
  void PaintRulers(HDC dc);
  // Moves the XOR pointer lines on the rulers to the client point (the
  // cursor when null), with the pen when one is given.
  void DrawRulerPointer(HDC dc, const POINT* point, HPEN pen);

  // --- test run and texts ------------------------------------------------------

  // Writes the document, builds a dialog of the text and runs it modally
  // over the designer. False without a dialog record, when the text cannot
  // be written or the dialog not built.
  bool Test();
  // The resolver handed to the test dialog's builder; context is the
  // designer.
  static int TestCallback(void* context, const char* name);
  // The designer's text of a key ("?ERROR" ...); the key itself when none.
  static SString GetCaptionText(const char* key);
  // A message box of the key's text titled with the "?ERROR" text.
  void ShowError(const char* key);

  // --- state ---------------------------------------------------------------------

  RECT m_client;                 // client rectangle at the last WM_SIZE or Init
  RECT m_area;                   // design area (client coordinates)
  RECT m_topRuler, m_leftRuler;  // empty without rulers
  bool m_rulers;                 // the rulers are shown
  int m_pointerX, m_pointerY;    // ruler pointer lines (client), -1 none
  bool m_notifyParent;           // SWM_CONTROLCHANGED goes to the parent
  bool m_undoEnabled;
  SArray<_SUndo*> m_undo;  // owned, oldest first
  ExternDrawCallback m_externDraw;
  void* m_externDrawData;
  // The external controls the host registered: each item's text is the
  // control's name, its data text the control's file. Opened where an armed
  // EXTERN type is placed.
  SMenu m_externMenu;
  POINT m_menuPoint;  // client point the menu was opened at

protected:
  void NotifyChanged();
  bool IsKeyDown(int key) const { return s_keyState && (s_keyState(key) & 0x8000) != 0; }
  // The selection emptied, then the record alone (null: nothing); no hook.
  void SelectOnly(_SCtrl* record);
  // Tells OnSelectionChanged when the primary or the count differs.
  void TellWhenChanged(_SCtrl* previous, int previousCount);

private:
  // One modal drag: calls feedback with the client cursor and the Ctrl
  // state until the left button is up or Escape is down, drawing the
  // rectangles it fills in XOR. Returns false when cancelled; drawn tells
  // whether anything was drawn.
  bool RunDrag(const std::function<void(POINT, bool, std::vector<RECT>*)>& feedback, bool* drawn);
  void DrawFeedback(HDC dc, const std::vector<RECT>& rects);
  // Focus and layout for a press; false when the designer is inactive or
  // the point is outside the design area.
  bool BeginClick(int x, int y);
  // The dialog record's background image from the data source, by name.
  void UpdateDesignImage(COLORREF background);
  void OnMenuCommand(void* menu, int id);
  void OnPageCommand(void* menu, int id);
  void PlaceExtern(int id);
  void ArrowKey(int key, bool ctrl);
  void TabKey();
};
