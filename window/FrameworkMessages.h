// The framework's own window messages and the mouse record that several of
// them carry.
//
// "To itself" below means SWnd::SendMessage to the window's own handle; a
// control in a parameter is the control's SWnd*.
#pragma once

#include "core/Platform.h"

#include <stdint.h>

enum : UINT {
  // Message-built records. BEGIN: wParam = record id, lParam = data size in
  // bytes; answers the record handle (from 1), 0 when refused. APPEND:
  // wParam = handle, lParam = a 32-bit value stored most significant byte
  // first. END: wParam = handle, lParam = closing value; the finished block
  // then arrives to itself as SWM_RECORD (wParam = id, lParam = the block,
  // freed after the send).
  SWM_RECORD = 0x81F6,
  SWM_RECORD_BEGIN = 0x81F7,
  SWM_RECORD_APPEND = 0x81F8,
  SWM_RECORD_END = 0x81F9,

  SWM_AFTERCREATE = 0x83E9,   // lParam = creation parameter; nonzero aborts the creation
  SWM_DIALOGCREATED = 0x83EA, // a dialog built from text is complete: lParam = creation parameter
  SWM_PARENTSIZED = 0x83EB,   // to every descendant: wParam = WM_SIZE type, lParam = resized HWND
  SWM_PARENTMOVED = 0x83EC,   // to every descendant: wParam = WM_MOVE wParam, lParam = moved HWND
  SWM_MODALSTART = 0x83ED,    // wParam, lParam of RunModal; nonzero cancels the run
  SWM_MODALRETURN = 0x83EE,   // Return in a modal window: ends the run with 0
  SWM_MODALESCAPE = 0x83EF,   // Escape in a modal window, or its WM_CLOSE: ends the run with -1
  SWM_DROPFILES = 0x83F0,     // wParam = SStringArray* of the dropped paths; folders end with "\"
  SWM_MAXIMIZED = 0x83F1,
  SWM_MINIMIZED = 0x83F2,
  SWM_RESTORED = 0x83F3,      // back to the normal state after a minimise or maximise
  SWM_NCLCLICK = 0x83F4,      // non-client clicks; lParam = the screen point
  SWM_NCMCLICK = 0x83F5,
  SWM_NCRCLICK = 0x83F6,
  SWM_LCLICK = 0x83F7,        // press and release on the same window; lParam = client point
  SWM_MCLICK = 0x83F8,
  SWM_RCLICK = 0x83F9,
  SWM_MOUSEENTER = 0x83FA,    // wParam, lParam of the WM_MOUSEMOVE
  SWM_MOUSELEAVE = 0x83FB,
  SWM_MOVESTART = 0x83FC,     // lParam = client point; nonzero refuses the move
  SWM_MOVEEND = 0x83FD,
  SWM_HSCROLLED = 0x83FF,     // wParam: old position in the low word, new in the high word
  SWM_VSCROLLED = 0x8400,
  SWM_DRAGOVER = 0x8403,      // wParam = target SWnd* or 0, lParam = point in it; nonzero ends
  SWM_DROP = 0x8404,          // as SWM_DRAGOVER, at the release
  SWM_CONTROLCHANGED = 0x85DC, // to the parent: the user changed the content; wParam = control
  SWM_SYSKEYDOWN = 0x85DD,    // to the popup ancestor: wParam = key, lParam = SWnd*; -1 swallows
  SWM_KEYDOWN = 0x85DE,       // the same for WM_KEYDOWN; the answer is ignored
  SWM_CHILDALIGNED = 0x85DF,  // to the parent after automatic alignment: wParam = the child SWnd*
};

// Control notifications, sent by a window to itself when one of its controls
// reports; wParam = the control.
enum : UINT {
  SWM_BUTTONMOUSE = 0x8BC2,       // lParam = MOUSERECORD*
  SWM_BUTTONCLICKED = 0x8BC3,
  SWM_CHECKMOUSE = 0x8BCC,        // lParam = MOUSERECORD*
  SWM_CHECKCHANGED = 0x8BCD,      // lParam = the new check state
  SWM_BARAUTOSIZE = 0x8BE0,
  SWM_COMBOEDITCHANGED = 0x8BEA,
  SWM_COMBOSELCHANGED = 0x8BEB,
  SWM_EDITMOUSE = 0x8BF4,         // lParam = MOUSERECORD*
  SWM_EDITCHANGED = 0x8BF5,
  SWM_EDITRETURN = 0x8BF6,        // Enter pressed in an edit
  SWM_LISTKEYDOWN = 0x8BFE,       // lParam = virtual key
  SWM_LISTMOUSE = 0x8BFF,         // lParam = MOUSERECORD*
  SWM_LISTSELCHANGED = 0x8C00,    // lParam = item index or -1
  SWM_LISTITEMDBLCLK = 0x8C01,    // lParam = item index
  SWM_LISTCOLUMNCLICK = 0x8C02,   // lParam = column index
  SWM_LISTEDITBEGIN = 0x8C03,     // lParam = item index; nonzero forbids the edit
  SWM_LISTEDITEND = 0x8C04,       // lParam = LVITEMA*; 0 accepts the new text
  SWM_LISTEDITCANCEL = 0x8C05,    // lParam = LVITEMA*
  SWM_GROUPMOUSE = 0x8C12,        // lParam = MOUSERECORD*
  SWM_LABELMOUSE = 0x8C26,        // lParam = MOUSERECORD*
  SWM_LCDMOUSE = 0x8C30,          // lParam = MOUSERECORD*
  SWM_LEVELMOUSE = 0x8C3A,        // lParam = MOUSERECORD*
  SWM_LISTBOXKEYDOWN = 0x8C44,    // lParam = virtual key
  SWM_LISTBOXMOUSE = 0x8C45,      // lParam = MOUSERECORD*
  SWM_LISTBOXSELCHANGED = 0x8C46,
  SWM_LISTBOXDBLCLK = 0x8C47,
  SWM_MEDIAMOUSE = 0x8C4E,        // lParam = MOUSERECORD*
  SWM_MEDIACLICKED = 0x8C4F,      // a click on a rich-text view in button mode
  SWM_MEDIALINK = 0x8C50,         // lParam = the link text; nonzero = handled
  SWM_MENUCOMMAND = 0x8C62,       // wParam = SMenu*, lParam = command id
  SWM_PROGRESSMOUSE = 0x8C76,     // lParam = MOUSERECORD*
  SWM_RADIOMOUSE = 0x8C8A,        // lParam = MOUSERECORD*
  SWM_RADIOCLICKED = 0x8C8B,      // lParam = 1 when now checked
  SWM_RICHEDITMOUSE = 0x8C94,     // lParam = MOUSERECORD*
  SWM_RICHEDITCHANGED = 0x8C95,
  SWM_SCROLLCTRLMOUSE = 0x8C9E,   // lParam = MOUSERECORD*
  SWM_SCROLLCTRLMOVED = 0x8C9F,
  SWM_SLIDERMOUSE = 0x8CA8,       // lParam = MOUSERECORD*
  SWM_SLIDERMOVED = 0x8CA9,
  SWM_SPLITTERMOUSE = 0x8CB2,     // lParam = MOUSERECORD*
  SWM_STATUSBARMOUSE = 0x8CC6,    // lParam = MOUSERECORD*
  SWM_TABMOUSE = 0x8CD0,          // lParam = MOUSERECORD*
  SWM_TABSELCHANGED = 0x8CD1,     // lParam = selected tab
  SWM_TOOLBARCOMMAND = 0x8CE4,    // wParam = the tool bar, lParam = the button's command id
  SWM_TREEMOUSE = 0x8CF9,         // lParam = MOUSERECORD*
  SWM_TREESELCHANGED = 0x8CFA,    // lParam = selected HTREEITEM or 0
  SWM_TREEITEMDBLCLK = 0x8CFB,    // lParam = HTREEITEM
  SWM_TREEEXPANDED = 0x8CFD,      // lParam = HTREEITEM
  SWM_TREEEDITBEGIN = 0x8CFE,     // lParam = TVITEMA*; nonzero forbids the edit
  SWM_TREEEDITEND = 0x8CFF,       // lParam = TVITEMA*; 0 accepts the new text
  SWM_TREEEDITCANCEL = 0x8D00,    // lParam = TVITEMA*
};

// Mouse event of a control, valid during the send that carries it.
struct MOUSERECORD {
  uint32_t flags;        // one MOUSE_ button bit plus one action bit
  int32_t x, y;          // in the control's client coordinates
  int32_t screenX, screenY;
};

enum : uint32_t {
  MOUSE_LEFT = 0x01,
  MOUSE_MIDDLE = 0x02,
  MOUSE_RIGHT = 0x04,
  MOUSE_DOWN = 0x08,
  MOUSE_UP = 0x10,
  MOUSE_CLICK = 0x20,
  MOUSE_DOUBLE = 0x40,
};

// The record flags of a button message (WM_LBUTTONDOWN to WM_MBUTTONDBLCLK,
// SWM_LCLICK to SWM_RCLICK); 0 for any other message.
uint32_t GetMouseRecordFlags(UINT message);
// Fills the record from the message's client point (signed 16-bit x and y)
// and the same point on the screen; false when the message is no button
// message.
bool MakeMouseRecord(HWND hWnd, UINT message, LPARAM lParam, MOUSERECORD* record);
