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
#include "core/SStringArray.h"
#include "designer/SPanelCtrl.h"
#include "designer/SPropertyCtrl.h"
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
    PAGE_TOGGLE = 10,
    CMD_OLE = 2000  // items of the ActiveX letter submenus, by list index
  };

  // The tool panel's groups and the commands of the last one.
  enum {
    PANEL_CONTROLS = 0,  // command 0 the selection tool, 1 to 36 the control types
    PANEL_ALIGNMENT = 1,
    PANEL_ORDER = 2,
    PANEL_MISC = 3,
    MISC_GRID = 0,
    MISC_SNAP = 1,
    MISC_TEST = 2
  };
  enum {
    TEXT_COUNT = 367,  // lines of the caption table
    OLE_LETTER_MENUS = 9
  };

  // Where the value of a property row lives in a record.
  enum RowSource : uint8_t {
    SRC_TYPE,  // the type's display name (read only)
    SRC_ID,    // the id as a signed decimal (read only)
    SRC_NAME,
    SRC_CAPTION,
    SRC_X,
    SRC_Y,
    SRC_WIDTH,
    SRC_HEIGHT,
    SRC_HALIGN,     // the anchoring number of HALIGN, shown as an option
    SRC_VALIGN,     // the same for VALIGN
    SRC_EXT,        // the key's line of the extended properties
    SRC_EXT_INT,    // the same, read as an integer
    SRC_STYLE,      // "1" when every bit of the mask is set in the style
    SRC_NOT_STYLE,  // "1" when not every bit of the mask is set
    SRC_EXSTYLE,    // as SRC_STYLE on the extended style
    SRC_BACKCOLOR,
    SRC_TEXTCOLOR,
    SRC_TRANSPARENT,
    SRC_FONT,         // "name,size,flags"; always in group 0
    SRC_COMPUTED,     // an option chosen from the style by a rule
    SRC_BORDER_ROWS,  // the border group (AddBorderRows)
    SRC_DECLARED      // the declared rows of external controls
  };
  // Option lists of the rows.
  enum RowOptions : uint8_t {
    OPT_NONE,
    OPT_HANCHOR,
    OPT_VANCHOR,
    OPT_THREE_H,
    OPT_THREE_V,
    OPT_FOUR_H,
    OPT_DRAW_MODES,
    OPT_COMBO_TYPES,
    OPT_LISTVIEW_TYPES,
    OPT_SELECTION_MODES,
    OPT_EDGES,
    OPT_TAB_TYPES,
    OPT_ALL_CONTROLS,
    OPT_LEVEL_CONTROLS,
    OPT_COUNT
  };
  // Rules of the computed options (RowSource SRC_COMPUTED).
  enum StyleRule : uint8_t {
    RULE_NONE,
    RULE_BUTTON_HALIGN,  // also GROUP_ALIGN
    RULE_BUTTON_VALIGN,
    RULE_EDIT_ALIGN,  // also RICHEDIT_ALIGN
    RULE_COMBO_TYPE,
    RULE_EXLIST_TYPE,
    RULE_LIST_SELECTION,
    RULE_TAB_TYPE,
    RULE_COUNT
  };
  // Conditions of a row.
  enum : uint8_t {
    ROW_SINGLE = 1,      // only with exactly one selected record
    ROW_SAME_TYPE = 2,   // only when every selected record has the first one's type
    ROW_NOT_DIALOG = 4,  // not for the dialog record
    ROW_CAPTION = 8      // only when every selected type offers a caption
  };

  // One row of the property tables: the group selected before it, its key,
  // kind and value source, the style mask or rule, its options and its
  // conditions.
  struct _SPropertyRow {
    const char* group;
    const char* key;  // null for the border group and the declared rows
    int8_t kind;
    RowSource source;
    uint32_t mask;  // style bits, or the StyleRule of a computed row
    RowOptions options;
    uint8_t conditions;
  };
  // The general rows every record shows first.
  static const _SPropertyRow* GetGeneralRows(int* count);
  // The rows of AddBorderRows.
  static const _SPropertyRow* GetBorderRows(int* count);
  // The rows of a type (0 the dialog to 36); null with a count of 0 for
  // any other number.
  static const _SPropertyRow* GetTypeRows(int type, int* count);

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

  // Refills the property grid for the new primary and updates the panel.
  void OnSelectionChanged(_SCtrl* previous, _SCtrl* current) override;
  // The attached panel with a window, updated; false without one.
  bool RefreshPanel() override;

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

  // --- texts, panel and context menu --------------------------------------------

  // The caption table: every text of the designer, its panel, its property
  // rows and its messages, as KEY=Caption lines; then the attached grid's
  // yes/no texts.
  void SetDefaultTexts() override;
  // The caption of the first line whose part before its first "=" is the key
  // (case-sensitive); empty when none.
  SString GetCaptionText(const char* key) const;
  // "key|caption", an option of a property row.
  SString AddOptionCaption(const char* key) const;
  // A message box of the key's text titled with the "?ERROR" text.
  void ShowError(const char* key);
  // Fills an attached panel with the designer's groups and checks the
  // selection tool.
  virtual void BuildPanel(SPanelCtrl* panel);
  // Enables the alignment and order buttons for the selection and shows
  // the grid and snap flags.
  virtual void UpdatePanel(SPanelCtrl* panel);
  // The context menu for the selection, tab-page submenus included; slot
  // OnContextMenu has seen it.
  void BuildContextMenu();
  // BuildContextMenu, then the menu opened at the client point.
  void ShowContextMenu(int x, int y);
  // The context menu before it opens, and the first selected record (or
  // null); nothing here.
  virtual void OnContextMenu(SMenu* menu, _SCtrl* record);

  // --- property rows -----------------------------------------------------------------

  // Fills the attached grid with the rows of the selection, restoring the
  // record's grid scroll position; null empties it.
  void FillPropertyGrid(_SCtrl* record);
  // At the end of every fill with a record; nothing here.
  virtual void OnPropertyGridFilled(SPropertyCtrl* grid, _SCtrl* record);
  // One row into the current group (group -1) with the key's caption
  // (caption null); false when a condition refuses it. A value that no
  // option has becomes the first option's.
  bool AddPropertyRow(bool singleOnly, bool sameTypeOnly, const char* key, int kind,
                      const char* value, const SStringArray* options, int group = -1,
                      const char* caption = nullptr);
  void SelectPropertyGroup(const char* key);
  void AddBorderRows(_SCtrl* record);
  // "id|name" of every record of the type (every record for a negative
  // type) appended to the list when given; their number.
  int ListControls(int type, SStringArray* list) const;
  // Writes the grid row's value into every selected record whose type shows
  // that row (a host calls it on the grid's SWM_PROPERTYCHANGED): one undo
  // snapshot, the live windows re-created, the parent notified. A name that
  // another control bears is refused with "?NAMEEXIST". False when nothing
  // changed.
  bool ApplyPropertyRow(int group, int item);

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
  POINT m_menuPoint;              // client point the menu was opened at
  SStringArray m_texts;           // the caption table
  SPanelCtrl* m_panel;            // attached by the host; not owned
  SPropertyCtrl* m_propertyGrid;  // attached by the host; not owned
  SMenu m_contextMenu;
  SArray<SMenu*> m_pageMenus;  // owned: the tab-page submenus of the last context menu
  SMenu m_oleMenu;             // the root of the ActiveX letter submenus
  SMenu m_oleLetterMenus[OLE_LETTER_MENUS];
  int m_propertyGroup;  // the grid group rows go to; -1 none
  // Declared rows of external controls: name, key, caption and editor word
  // ("edit", "edit_int", "edit_float", "bool") joined by the byte 1.
  SStringArray m_externProperties;

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
  // The selection tool checked again on an attached panel.
  void ResetPanelTool();
  // Selected control records for the commands; 0 when the first is locked.
  int GetCommandCount() const;
  void FillOleMenus();
  // The rows of one record in the fill.
  void AddRecordRows(_SCtrl* record, const _SPropertyRow* rows, int count, bool captionOffered,
                     const SStringArray* options);
  SString GetRowValue(const _SCtrl* record, const _SPropertyRow& row) const;
  // Writes a grid row into one record; true when it changed.
  bool ApplyRow(_SCtrl* record, const _SPropertyRow& row, const SPropertyCtrl::_SItem* item);
  // The row of the key that a record of the type shows in the group; false
  // when it shows none.
  bool FindRowDefinition(const _SCtrl* record, const char* group, const char* key,
                         _SPropertyRow* row) const;
  // The $POSITION items of the grid, when present, set to the values.
  void SetPositionItems(const char* first, int firstValue, const char* second, int secondValue);
};
