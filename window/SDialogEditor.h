// The dialog document: the table of the 37 control types, the dialog record
// and the ordered control records of a dialog text, and the reader and writer
// of that text ("VANDRO DIALOG 1.0.0.0"). The record types, the kind and type
// names and the typed access to a record's extended properties come from
// SDialogRecords.
//
// The same class is the interactive dialog designer when it has a window:
// the designer derives from it and overrides the virtual hooks, whose bodies
// here are the behaviour of a document without a designer. A document
// without a window (the dialog builder's) never gets live control windows.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SImage.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "window/SDialogRecords.h"
#include "window/SWnd.h"

#include <stdint.h>

class SFile;
class SDialog;
class SResource;

class SDialogEditor : public SWnd, public SDialogRecords {
public:
  enum {
    KIND = KIND_DIALOGEDITOR,  // the window kind code of the class
    MAX_CONTROL_ID = 9999,   // ids the document hands out run from 1 to this
    GRID_STEP = 5,           // grid after Init, both axes
    SCROLL_RANGE = 2000      // the designer's scroll bars run from 0 to this
  };

  // First line of every dialog text.
  static constexpr char MAGIC[] = "VANDRO DIALOG 1.0.0.0";
  SDialogEditor();
  // Clears and resets the document, then frees what it created.
  ~SDialogEditor() override;

  // --- document -----------------------------------------------------------

  // Clear, the designer's colours and grid, the type table and the list of
  // registered ActiveX controls (start-up flag 16 only). Always true.
  virtual bool Init();
  // A loaded document first tells the selection hook that nothing is
  // selected; then Reset, and the document is no longer loaded.
  void Clear();
  // Designer state back to its start, the selection emptied, every record
  // destroyed. The loaded flag stays.
  virtual void Reset();

  // Copies the record into the dialog record (made when missing), with type
  // DIALOG and the dialog-record flag. False for a null record.
  bool SetDialogRecord(const _SCtrl* record);
  // Appends a copy of the record to the document's control list. A taken or
  // unwanted id becomes NewControlId (0xFFFF when none is free), a taken or
  // unwanted name MakeControlName; with defaults the record gets the type's
  // caption, WS_VISIBLE, "TABINDEX=-1" and the type's defaults. Unless both
  // keep flags are set, OnControlAdded may refuse it. Returns the document's
  // new record, or null (null document or record, unknown type, a record of
  // the list itself, a refusal).
  static _SCtrl* AddControl(SDialogEditor* document, bool defaults, const _SCtrl* record,
                            bool keepName, bool keepId);
  // Takes the record out of the selection (telling OnSelectionChanged),
  // asks OnControlRemoving when ask is set, then destroys it. False for a
  // record not in the list or a refusal.
  bool RemoveControl(_SCtrl* record, bool ask);
  void RemoveAllControls();

  // The first control record with that id (16-bit compare) or name (exact);
  // null when none. The dialog record is not searched.
  _SCtrl* FindControlById(int16_t id) const;
  _SCtrl* FindControlByName(const char* name) const;
  // The smallest id from 1 to 9999 no control record bears; -1 when all are.
  int NewControlId() const;
  // Keyword + the smallest n from 1 to 9999 giving a free name; empty without
  // a type, when all are taken or when that makes no identifier.
  SString MakeControlName(const _SType* type) const;
  // An identifier that no control record bears.
  bool IsControlNameFree(const char* name) const;
  // The type entry whose keyword equals the text, ignoring ASCII case; null
  // when none (also before Init).
  const _SType* FindType(const char* keyword) const;
  // The type entry with that id; null when none (also before Init).
  const _SType* FindTypeById(int id) const;

  // Empties the selection, selects the record (when not null) and tells
  // OnSelectionChanged.
  void SetSelection(_SCtrl* record);
  // Appends the record to the selection; false for null or a record already
  // selected.
  bool AddToSelection(_SCtrl* record);

  // Ruler and design backgrounds from the system colours 12 and 15, ruler
  // text from 18, selection colours from 13 and its grey.
  void SetDesignerColors();
  // Each colour is kept unless it is COLOR_NONE; both brushes are rebuilt.
  void SetBackgroundColors(COLORREF ruler, COLORREF design);
  void SetHighlightColors(COLORREF focused, COLORREF unfocused);
  // The grey of a colour: luminance kept, no chrominance.
  static COLORREF MakeGrey(COLORREF color);

  // --- designer hooks (document-side behaviour) ----------------------------

  // Asked after a record was appended; false removes and destroys it.
  virtual bool OnControlAdded(_SCtrl* record);
  // Asked before a record is destroyed; false keeps it.
  virtual bool OnControlRemoving(_SCtrl* record);
  // The first selected record changed (either may be null).
  virtual void OnSelectionChanged(_SCtrl* previous, _SCtrl* current);
  // Arms placing a control of type 1 to 36 (true when it differs from the
  // armed one) or disarms with -1 (true when something was armed).
  virtual bool SetInsertType(int type);
  // With a window: both scroll bars over 0 to 2000, the page the client size.
  virtual void UpdateScrollBars();
  // Updates an attached tool panel; false when there is none.
  virtual bool RefreshPanel();
  // Fills the designer's caption table.
  virtual void SetDefaultTexts();
  // A new live window for the record in the document's window: nothing in
  // test mode or without a window; the earlier live window and font go, the
  // new window is sized to the record and gets the record's font.
  static bool RecreateControl(SDialogEditor* document, _SCtrl* record);

  // --- dialog text ---------------------------------------------------------

  // Clears the document and reads a whole dialog text from the file's
  // position. True when it was read; a wrong first line leaves the document
  // empty, any later fault resets it to no records.
  static bool LoadText(SFile* text, SDialogEditor* document);
  // One section into the record: the bytes consumed, 0 for an unknown
  // section keyword, -1 without a file or for a property line without "=".
  static int ReadSection(_SCtrl* record, SFile* text, SDialogEditor* document);
  // The whole document at the file's position. False without a file, for a
  // document with controls but no dialog record, or when a section cannot
  // be written (what was written stays).
  bool SaveText(SFile* out);
  // One section; the bytes written, 0 without a file or record, for a type
  // not in the table, or for a record whose texts would not read back the
  // same (nothing is written then).
  int WriteSection(const _SCtrl* record, SFile* out);
  // The style names of the record's type that its STYLE (false) or EXSTYLE
  // (true) field holds, each followed by one blank (two after the tab
  // control's TCS_FLATBUTTONS and TCS_FOCUSONBUTTONDOWN).
  static SString GetStyleNames(const _SCtrl* record, bool extended);
  // Sets that field to the OR of the type's names (either row, and
  // WS_VISIBLE, WS_DISABLED) among the blank-separated parts of the text; an
  // empty text keeps the field.
  static void ParseStyleNames(_SCtrl* record, bool extended, const char* text);
  // True when the record's texts would read back unchanged from the text
  // the writer makes of them.
  static bool IsWritable(const _SCtrl* record);

  // --- state -----------------------------------------------------------------

  _SType m_types[TYPE_COUNT];          // filled by Init
  _SCtrl* m_dialog;                    // owned; null until SetDialogRecord
  SArray<_SCtrl*> m_controls;          // owned, in document order
  SArray<_SCtrl*> m_selection;         // not owned; the first is the first selected
  bool m_loaded;                       // between a successful LoadText and Clear

  // Designer state.
  HBRUSH m_hatchBrush;                 // the canvas: HS_DIAGCROSS, grey 0x808080
  HFONT m_rulerFont;                   // "arial", 7 points
  COLORREF m_rulerBackColor, m_designBackColor, m_rulerTextColor;
  HBRUSH m_rulerBackBrush, m_designBackBrush, m_rulerTextBrush;
  COLORREF m_selectionColor, m_selectionGreyColor;  // with and without the focus
  HBRUSH m_selectionBrush, m_selectionGreyBrush;
  RECT m_canvas;                       // the client rectangle at Init
  int m_gridX, m_gridY;
  bool m_gridShown, m_snap;
  int m_insertType;                    // -1: nothing armed
  int m_dragX, m_dragY;                // -1: no drag
  SImage m_designImage;                // the dialog's background image, by name
  SStringArray m_oleClassTexts;        // registered ActiveX controls, sorted by name
  SArray<GUID> m_oleClasses;
  SStringArray m_oleNames;
  bool m_testMode;                     // no live window is re-created while set
  SResource* m_archive;                // entries named by the records; not owned

protected:
  // The live window the control factory makes for the record inside the
  // document's window; null when none can be made or the factory is not
  // linked in.
  virtual SWnd* CreateControlWindow(_SCtrl* record);

public:
  // The control factory, set by the factory's own file when it is linked in
  // (the document sits below the factory and does not call it directly).
  typedef SWnd* (*ControlMaker)(HWND parent, const _SCtrl* record, SResource* archive,
                                bool runMode, SDialog* dialog);
  static ControlMaker s_controlMaker;

private:
  // The per-type defaults of a newly placed control, in their order.
  static void ApplyTypeDefaults(_SCtrl* record);
  // The type table's entries: id, keyword and display name of every type.
  static void FillTypes(_SType* types);
};
