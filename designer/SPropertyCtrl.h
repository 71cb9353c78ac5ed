// The property grid (dialog type PROPERTY, kind 31): named properties in two
// columns, caption left and value right, grouped under collapsible group
// rows, each row of one kind that decides how its value is shown and edited
// in place.
//
// Row kinds and their values (SetItem's text becomes the stored value):
//   0 read-only text   the text                      not editable
//   1 yes/no           atoi(text) != 0, "Yes"/"No"   toggled
//   2 colour           a 64-bit decimal (saturating) whose low 32 bits are a
//                      COLORREF, 0xFE000000 + n the system colour n, an empty
//                      text or 0xFF000000 none ("Default")
//                                                    colour dialog, system-
//                                                    colour window, reset
//   3 text             the text                      edit box
//   4 integer          atoi(text) in decimal         edit box
//   5 decimal          atof(text) as "%f"            edit box
//   6 font             "name, size, style", split at commas (quotes group)
//                                                    font dialog, reset
//   7 option           the text; options are "value|caption" texts and the
//                      caption of the matching value is shown
//                                                    drop-down list; Enter
//                                                    steps to the next one
// A row that SetItem updates with a different value becomes mixed and shows
// "[...]" until the user changes it through the grid.
//
// Rows are addressed by (group index, item index), by (group index, key) or
// by visible row: every group has its own row, followed by one row per item
// while it is expanded; row 0 is the first group's.
//
// Every change the user makes runs one protocol: the old value is kept, the
// new one stored, CanChangeItem asked; on yes the parent gets
// SWM_PROPERTYCHANGED (MAKELONG(group index, item index)) and the mixed flag
// is cleared, on no the old value comes back; then the grid is redrawn. The
// parent also hears of every mouse button event (SWM_PROPERTYMOUSE) and of
// every scroll (SWM_PROPERTYSCROLLED).
#pragma once

#include "core/PlatformGdiplus.h"
#include "core/SArray.h"
#include "core/SImage.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "designer/DesignerMessages.h"
#include "window/ControlKinds.h"
#include "window/SEditCtrl.h"
#include "window/SIdentifiants.h"
#include "window/SListCtrl.h"
#include "window/SWnd.h"

#include <stdint.h>

#include <functional>

class SPropertyCtrl : public SWnd {
public:
  enum { KIND = ControlKinds::KIND_PROPERTY };
  enum ItemKind {
    ITEM_READONLY = 0,
    ITEM_BOOL = 1,
    ITEM_COLOR = 2,
    ITEM_TEXT = 3,
    ITEM_INT = 4,
    ITEM_DECIMAL = 5,
    ITEM_FONT = 6,
    ITEM_OPTION = 7
  };
  enum Icon {
    ICON_TOGGLE,
    ICON_DROPDOWN,
    ICON_CHOOSER,
    ICON_SYSTEMCOLOR,
    ICON_RESET,
    ICON_EDIT,
    ICON_EXPANDED,
    ICON_COLLAPSED,
    ICON_COUNT
  };
  enum {
    SPLIT_DEFAULT = 100,  // the value column's left edge after creation
    SPLIT_MIN = 25,
    SPLIT_GRAB = 3,     // the split is grabbed closer than this
    BUTTON_WIDTH = 14,  // a row's buttons, from the right end of its value cell
    GROUP_ICON_SIZE = 16,
    CELL_INSET = 2,     // an editor lies this far inside the value cell
    LIST_HEIGHT = 100,  // the drop-down list before it is fitted
    LIST_LINES = 6,     // lines the drop-down list shows
    MIN_ROW_HEIGHT = 16
  };
  static constexpr uint32_t NO_COLOR = 0xFF000000;
  static constexpr uint32_t SYSTEM_COLOR = 0xFE000000;
  // The colour of a new colour row until its first value.
  static constexpr uint32_t NEW_ROW_COLOR = SYSTEM_COLOR + COLOR_BTNFACE;
  static constexpr const char* MIXED_TEXT = "[...]";

  // One row, owned by its group.
  struct _SItem {
    _SItem() = default;
    _SItem(const _SItem&) = delete;
    _SItem& operator=(const _SItem&) = delete;

    SString m_key;  // unique within its group, compared byte for byte
    SString m_caption;
    int m_kind = ITEM_READONLY;
    bool m_yes = false;                // kind 1
    SString m_text;                    // kinds 0, 3, 4, 5 and 7
    SStringArray m_options;            // kind 7: "value|caption" (no bar: both)
    uint32_t m_color = NEW_ROW_COLOR;  // kind 2
    SString m_fontName;                // kind 6; empty: the default font
    int m_fontSize = 0;                // points
    int m_fontStyle = 0;               // 1 bold, 2 italic, 4 underline, 8 strikeout
    bool m_mixed = false;
  };

  // One group row and its items, owned by the grid.
  struct _SGroup {
    _SGroup() = default;
    _SGroup(const _SGroup&) = delete;
    _SGroup& operator=(const _SGroup&) = delete;
    ~_SGroup() { m_items.DeleteAndRemoveAll(); }

    // Index of the item with the key (byte compare); -1 when none.
    int FindItem(const char* key) const;

    SString m_name;  // found by FindGroup, byte for byte
    SString m_caption;
    bool m_expanded = true;
    SArray<_SItem*> m_items;  // owned, in order
  };

  // The edit box over a text, integer or decimal value cell. Enter and the
  // loss of the focus commit its text, Escape drops it. A mixed row's text
  // is committed only when the user changed it.
  class _SEditCtrl : public SEditCtrl {
  public:
    // Nothing when closed already. With commit the row's value becomes the
    // typed text in its kind's form and goes through the change protocol
    // when it differs from the old one; then the window goes.
    void Close(bool commit, bool redraw);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SPropertyCtrl* m_owner = nullptr;
    int m_group = -1;
    _SItem* m_item = nullptr;
    bool m_closed = true;
  };

  class _SWndList;

  // The drop-down list of an option row. A release of the left button and
  // Enter choose the selected line, Escape and the loss of the focus drop
  // the list.
  class _SListCtrl : public SListCtrl {
  public:
    // Nothing when closed already. With commit and a selected line the row
    // takes that option's value through the change protocol (also when it
    // is the same); then the list and its popup go.
    void Close(bool commit, bool redraw);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    _SWndList* m_host = nullptr;
    SPropertyCtrl* m_owner = nullptr;
    int m_group = -1;
    SPropertyCtrl::_SItem* m_item = nullptr;  // (the list's own items are SListCtrl::_SItem)
    bool m_closed = true;
  };

  // The popup that holds the drop-down list.
  class _SWndList : public SWnd {
  public:
    ~_SWndList() override;
    _SListCtrl m_list;
  };

  // The key state and cursor position (screen) the split drag polls.
  typedef SHORT(WINAPI* KeyStateFunction)(int key);
  typedef BOOL(WINAPI* CursorPosFunction)(POINT* point);
  static KeyStateFunction s_keyState;
  static CursorPosFunction s_cursorPos;

  SPropertyCtrl();
  ~SPropertyCtrl() override;

  // Registers the class with the dialog control factory (type PROPERTY).
  static bool Register();

  // --- rows ------------------------------------------------------------------

  // Appends an expanded group; its index, or -1 when a group has the name.
  int AddGroup(const char* name, const char* caption);
  int FindGroup(const char* name) const;
  // Adds the row of the key to the group (-1: the last group) or updates
  // it: a new row gets the caption, kind and a copy of the options; an
  // existing row keeps them and takes the value parsed by this kind,
  // becoming mixed when the value differs. The item index; -1 without
  // groups or for a group index out of range.
  int SetItem(int group, const char* key, const char* caption, int kind, const char* value,
              const SStringArray* options);
  // Closes the editors, clears the selection and every group.
  void RemoveAll();
  void RemoveEmptyGroups();
  // The vertical bar over the visible rows, its page the whole rows that fit.
  void UpdateScrollBar();

  _SGroup* GetGroup(int group) const;
  _SItem* GetItem(int group, int item) const;
  _SItem* FindItem(int group, const char* key) const;
  bool LocateItem(const _SItem* item, int* group, int* index) const;
  // Every group's row and items, expanded or not.
  int GetRowCount() const;
  int GetVisibleRowCount() const;
  // The group and the item index (-1 for a group row) of a visible row; -1
  // past the end.
  int GroupFromRow(int row) const;
  int ItemFromRow(int row) const;
  // The visible row of an item; -1 when it is absent or its group collapsed.
  int RowFromItem(int group, int item) const;
  // Clamped to -1 .. GetRowCount() - 1.
  void SetSelectedRow(int row, bool redraw);
  int GetSelectedRow() const { return m_selectedRow; }
  int GetSelectedGroupIndex() const { return m_selectedRow < 0 ? -1 : m_selectedGroup; }
  int GetSelectedItemIndex() const { return m_selectedRow < 0 ? -1 : m_selectedItem; }
  int GetFirstVisibleRow() const;

  // The value cell of a visible row (client coordinates); false when the
  // row is not wholly shown.
  bool GetRowRect(int row, RECT* rect) const;
  // Button n (0 the rightmost) of a row's value cell.
  bool GetButtonRect(int row, int n, RECT* rect) const;
  // The visible row at the point with its group, item (-1 for a group row)
  // and column (1 for the value of an item row right of the split, else 0);
  // -1 left of the window or past the rows.
  int HitTest(int x, int y, int* group, int* item, int* column) const;

  // Option lookups by value part; an empty text for index -1.
  static int FindOption(const _SItem* item, const char* value);
  static SString GetOptionValue(const _SItem* item, int index);
  static SString GetOptionText(const _SItem* item, int index);
  // The text the value cell shows.
  SString GetDisplayText(const _SItem* item) const;

  // --- editing -----------------------------------------------------------------

  // Opens the row's editor (flag 1: the system-colour window for a colour
  // row); nothing for a row that is absent or not wholly shown.
  void BeginEdit(_SItem* item, int group, int index, int flag);
  void CloseEditors(bool redraw);
  // The change protocol for a row: store changes the value; false when
  // CanChangeItem refused it (the old value is back). A group index of -1
  // sends no notification.
  bool ChangeItem(_SItem* item, int group, int index, const std::function<void(_SItem*)>& store);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // After every scroll of the wheel or the bar; empty here.
  virtual void OnScrolled();
  // Asked before a change is announced; false puts the old value back.
  virtual bool CanChangeItem(int group, _SItem* item);

  void Paint(HDC dc);
  // The eight icons from their pixel tables.
  void LoadIcons();

  // --- state ---------------------------------------------------------------------

  SIdentifiants m_names;  // names the system colours
  // Gradients (0xAARRGGBB), read at construction.
  uint32_t m_groupStartColor, m_groupEndColor, m_valueStartColor, m_valueEndColor;
  Gdiplus::Pen* m_pen;  // cell borders and the split line
  Gdiplus::SolidBrush* m_backBrush;
  Gdiplus::SolidBrush* m_groupTextBrush;
  Gdiplus::SolidBrush* m_captionBrush;
  Gdiplus::SolidBrush* m_textBrush;
  Gdiplus::SolidBrush* m_selectedBrush;
  Gdiplus::SolidBrush* m_selectedTextBrush;
  HFONT m_editorFont;  // the stock GUI font; not owned
  Gdiplus::Font* m_font;
  Gdiplus::Font* m_boldFont;
  SImage m_icons[ICON_COUNT];
  SStringArray m_boolTexts;  // "No", "Yes", "Default"
  int m_rowHeight;
  int m_split;
  SArray<_SGroup*> m_groups;  // owned, in order
  int m_selectedRow;          // -1: none
  int m_selectedGroup, m_selectedItem;
  _SEditCtrl m_edit;
  _SWndList m_listHost;

private:
  void OnAfterCreate();
  void FreeFonts();
  // Stores the text as a kind's value.
  static void StoreValue(_SItem* item, int kind, const char* text);
  // Mouse and keys.
  void OnLeftButtonDown(int x, int y);
  void OnLeftDoubleClick(int x, int y);
  void OnButtonClick(int row, int group, int index, int x, int y);
  void OnKeyDown(int key);
  void TrackSplit(int x);
  bool NearSplit(int x) const;
  void OnScrollChange();
  // The list editor of an option row inside the value cell (client).
  void OpenList(_SItem* item, int group, const RECT& cell);
  void OpenEdit(_SItem* item, int group, const RECT& cell);
  // Steps an option row to the option after its value.
  void StepOption(_SItem* item, int group, int index);
  void PaintItem(Gdiplus::Graphics* graphics, const Gdiplus::StringFormat& format,
                 const _SItem* item, int y, int width, bool last, bool selected);
};
