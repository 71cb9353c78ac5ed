// The control kinds: the kind code every control stores in SWnd::m_kind, the
// dialog record type that makes it, and what each kind does for the window
// base.
//
// The window base knows no control class. Where a message of a child concerns
// the child's kind (its commands and notifications, its scroll requests, its
// owner-drawn items, how it is cut out of the parent's background, what it
// draws into a layer), the base asks the row of that kind. Each kind's row is
// filled by the kind's own file and registered there with one line:
//
//   const SControlKind kButtonKind = {ControlKinds::KIND_BUTTON, CUT_CLIP_WHILE_SIZING,
//                                     ButtonCommand};
//   const bool kButtonKindRegistered = RegisterControlKind(&kButtonKind);
//
// A kind without a row behaves as a plain window. Rows are constant data
// kept by pointer; they are registered before main runs and never removed.
#pragma once

#include "core/Platform.h"
#include "core/SImage.h"

class SWnd;

// Kind codes and dialog record types. The codes follow the alphabetical
// order of the class names, except the external control, which is last.
// SDialogEditor and the classes above it inherit the names.
struct ControlKinds {
  enum Kind : int {
    KIND_WINDOW = 0,         // SWnd itself and the WINDOW type's window
    KIND_BINARY = 2,         // type BINARY
    KIND_BROWSER = 3,        // type BROWSER
    KIND_BUTTON = 4,         // type BUTTON
    KIND_CHECK = 6,          // type CHECK
    KIND_CODEEDIT = 8,       // type CODEEDIT
    KIND_COMBO = 9,          // type COMBO
    KIND_CONTROLBAR = 10,    // made by the dialog builder, no type
    KIND_DIALOGEDITOR = 11,  // the dialog document and designer, no type
    KIND_EDIT = 12,          // type EDIT
    KIND_EXTENDEDLIST = 13,  // type EXTENDEDLIST
    KIND_FLASH = 14,         // type FLASH
    KIND_GRAPH = 15,         // type GRAPH
    KIND_GROUP = 16,         // type GROUP
    KIND_GUI = 18,           // type GUI
    KIND_IMAGEEDITOR = 19,   // type IMAGEEDITOR
    KIND_LABEL = 20,         // type LABEL
    KIND_LCD = 21,           // type LCD
    KIND_LEVEL = 22,         // type LEVEL
    KIND_LIST = 23,          // type LIST
    KIND_MEDIA = 26,         // type MEDIA
    KIND_MEDIAPLAYER = 27,   // type MEDIAPLAYER
    KIND_PANEL = 28,         // type PANEL
    KIND_PROGRESS = 29,      // type PROGRESS
    KIND_PROPERTY = 31,      // type PROPERTY
    KIND_RADIO = 32,         // type RADIO
    KIND_RICHEDIT = 33,      // type RICHEDIT
    KIND_SCROLL = 34,        // type SCROLL
    KIND_SLIDER = 36,        // type SLIDER
    KIND_SPLITTER = 37,      // type SPLITTER
    KIND_SPREAD = 38,        // type SPREAD
    KIND_STATIC = 39,        // type STATIC
    KIND_STATUSBAR = 40,     // made by the dialog builder, no type
    KIND_TAB = 41,           // type TAB
    KIND_TABDOC = 42,        // type TABDOC
    KIND_TOOLBAR = 43,       // type TOOLBAR
    KIND_TREE = 45,          // type TREE
    KIND_WAVEEDITOR = 47,    // type WAVEEDITOR
    KIND_EXTERN = 48,        // type EXTERN
    KIND_COUNT
  };

  // Dialog record types, the ids of the dialog document's type table. Type
  // 0 is the dialog itself; every other type makes one control.
  enum Type : int {
    TYPE_DIALOG = 0,
    TYPE_BINARY = 1,
    TYPE_BROWSER = 2,
    TYPE_BUTTON = 3,
    TYPE_CHECK = 4,
    TYPE_CODEEDIT = 5,
    TYPE_COMBO = 6,
    TYPE_EDIT = 7,
    TYPE_EXTENDEDLIST = 8,
    TYPE_FLASH = 9,
    TYPE_GRAPH = 10,
    TYPE_GROUP = 11,
    TYPE_GUI = 12,
    TYPE_IMAGEEDITOR = 13,
    TYPE_LABEL = 14,
    TYPE_LCD = 15,
    TYPE_LEVEL = 16,
    TYPE_LIST = 17,
    TYPE_MEDIA = 18,
    TYPE_MEDIAPLAYER = 19,
    TYPE_PANEL = 20,
    TYPE_PROGRESS = 21,
    TYPE_PROPERTY = 22,
    TYPE_RADIO = 23,
    TYPE_RICHEDIT = 24,
    TYPE_SCROLL = 25,
    TYPE_SLIDER = 26,
    TYPE_SPLITTER = 27,
    TYPE_SPREAD = 28,
    TYPE_STATIC = 29,
    TYPE_TAB = 30,
    TYPE_TABDOC = 31,
    TYPE_TOOLBAR = 32,
    TYPE_TREE = 33,
    TYPE_WAVEEDITOR = 34,
    TYPE_WINDOW = 35,
    TYPE_EXTERN = 36,
    TYPE_COUNT
  };

  // The kind of the control a type makes; -1 for the dialog type and for
  // numbers outside the table.
  static int KindOfType(int type);
};

// Where a visible child is cut out of its parent's background.
enum ControlCutOut {
  CUT_CLIP,                    // out of the clip HDC (the default)
  CUT_PAINT,                   // out of the paint HDC
  CUT_CLIP_WHILE_SIZING,       // out of the clip HDC during a size or move, else not at all
  CUT_PAINT_WHEN_TRANSPARENT,  // out of the paint HDC with TBSTYLE_TRANSPARENT, else the clip HDC
};

// What a kind does for the window base. Null members are skipped.
struct SControlKind {
  int kind;  // a KIND_ code; -1 for a row that concerns no window (menus)
  ControlCutOut cutOut = CUT_CLIP;
  // WM_COMMAND of a control of the kind, at its parent.
  void (*command)(SWnd* parent, SWnd* control, UINT code) = nullptr;
  // WM_NOTIFY of a control of the kind, at its parent. False when the message
  // is done, with its answer in result.
  bool (*notify)(SWnd* parent, SWnd* control, NMHDR* header, LRESULT* result) = nullptr;
  // WM_HSCROLL or WM_VSCROLL of a control of the kind, at its parent. True
  // when the message is done (answer 0).
  bool (*scroll)(SWnd* parent, SWnd* control, UINT message, WPARAM request) = nullptr;
  // WM_MEASUREITEM and WM_DRAWITEM at the parent, asked of every row in turn:
  // true when the row answered for the item (answer 1).
  bool (*measure)(SWnd* parent, MEASUREITEMSTRUCT* measure) = nullptr;
  bool (*draw)(SWnd* parent, DRAWITEMSTRUCT* draw) = nullptr;
  // WM_MENUCOMMAND at the owner window, asked of every row in turn.
  bool (*menuCommand)(SWnd* owner, HMENU menu, int position) = nullptr;
  // The part of the control's client area its own background painting leaves
  // alone (client coordinates); empty for none.
  RECT (*keepFree)(SWnd* control) = nullptr;
  // Draws the control's content over its background in a layered parent's
  // image.
  void (*drawLayer)(SWnd* control, HDC dc) = nullptr;
};

// Keeps the row (a later row of the same kind replaces an earlier one).
// Returns true, so that a file can register with a constant's initialiser.
bool RegisterControlKind(const SControlKind* row);
// The row of a kind; null when none.
const SControlKind* FindControlKind(int kind);
// The registered rows in registration order; index from 0 to the count.
int GetControlKindCount();
const SControlKind* GetControlKind(int index);
