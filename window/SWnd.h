// The base of every framework window and control.
//
// An SWnd owns one Win32 window. Framework-class windows ("VANDRO",
// "VANDRO2") are made by Create; system controls by CreateControl, which
// subclasses them. Every message of either kind passes StaticWndProc, which
// finds the object from the handle (a process-wide map of per-thread sorted
// lists) and calls OnMessage, then, unless OnMessage consumed the message,
// the class's WindowProc. Framework set-up that needs the window runs on the
// after-create message SWM_AFTERCREATE, never on WM_CREATE.
//
// The fields are the window's state shared by the message handling, the
// painting, the dialog builder and the controls; they are public so that
// those can read and set them directly.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SImage.h"
#include "core/SString.h"
#include "window/FrameworkMessages.h"

class SResource;
class SWnd;

// UpdateLayeredWindow of "user32.dll", looked up at run time by whoever
// first builds a layered window; null until then (layers are not shown).
typedef BOOL(WINAPI* UpdateLayeredWindowProc)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                              BLENDFUNCTION*, DWORD);
extern UpdateLayeredWindowProc g_updateLayeredWindow;
class SWnd {
public:
  SWnd();
  // Destroys a living window first (through the WM_DESTROY path).
  virtual ~SWnd();

  // WM_PRINT to the window itself.
  virtual LRESULT PrintTo(HDC dc, LPARAM flags);
  // Stores the colour, also as the background image's back colour.
  virtual void SetBackColor(COLORREF color);
  virtual COLORREF GetBackColor();

  // The edit commands; command n (from 0, in this order) is fired by its key
  // when bit n of the command mask is set. Empty here.
  virtual void Undo();
  virtual void Cut();
  virtual void Copy();
  virtual void Paste();
  virtual void Delete();
  virtual void SelectAll();
  virtual void Find();
  virtual void Replace();
  virtual void GoTo();
  virtual void Print();
  virtual void Cancel();
  virtual void New();
  virtual void Open();
  virtual void Save();
  virtual void SaveAs();

  // Sees every message first. True asks for WindowProc to run next with the
  // (possibly changed) parameters; false means the message is done and
  // result holds its answer.
  virtual bool OnMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
  // The class's own message procedure; overrides end in this version, which
  // does the default processing.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Called on the child control for its parent's WM_CTLCOLOR message; 0 =
  // not handled.
  virtual HBRUSH OnCtlColorDlg(HDC dc);
  virtual HBRUSH OnCtlColorBtn(HDC dc);
  virtual HBRUSH OnCtlColorEdit(HDC dc);
  virtual HBRUSH OnCtlColorListBox(HDC dc);
  virtual HBRUSH OnCtlColorScrollBar(HDC dc);
  virtual HBRUSH OnCtlColorStatic(HDC dc);

  // Mouse-zone hooks: zone rectangle (null for no zone), point, zone index.
  virtual void OnZoneEnter(const RECT* zone, int x, int y, int index);
  virtual void OnZoneMove(const RECT* zone, int x, int y, int index);
  virtual void OnZoneLeave(const RECT* zone, int x, int y, int index);

  // Creation and lookup.
  // Sets the per-window state to its defaults (no window is touched except
  // the tooltip, which is destroyed).
  void ResetState();
  // Registers "VANDRO" and "VANDRO2" with the framework's instance.
  static void RegisterClasses();
  // Forgets the windows that saw a mouse button pressed (no click pending).
  static void ClearButtonOwners();
  // The same for the presses the window saw only.
  static void ClearButtonOwners(SWnd* wnd);
  // A framework-class window. Without a parent the style gets WS_POPUP;
  // WS_VISIBLE takes effect only after the after-create message returned 0.
  // A null instance means the framework's.
  bool Create(const char* title, DWORD style, DWORD exStyle = 0, const RECT* rect = nullptr,
              HWND parent = nullptr, HMENU menuOrId = nullptr, void* createParam = nullptr,
              HINSTANCE instance = nullptr, bool noClose = false);
  // A system control of the class, subclassed to StaticWndProc.
  bool CreateControl(const char* className, const char* title, DWORD style, DWORD exStyle = 0,
                     const RECT* rect = nullptr, HWND parent = nullptr, HMENU menuOrId = nullptr,
                     void* createParam = nullptr, HINSTANCE instance = nullptr);
  // A "BUTTON" control, WS_CHILD added unless WS_POPUP is set.
  bool CreateButton(DWORD style, const char* title, DWORD exStyle, const RECT* rect, HWND parent,
                    HMENU menuOrId);
  // Creation wrappers of the dialog builder, WS_CHILD added unless WS_POPUP
  // is set, with the framework's instance: a framework-class window with the
  // caption or with none, a "SysTreeView32" and a "STATIC" control.
  bool CreateChild(const char* caption, DWORD style, const RECT* rect, HWND parent, int id,
                   DWORD exStyle = 0);
  bool CreateChildNoText(DWORD style, const RECT* rect, HWND parent, int id, DWORD exStyle = 0);
  bool CreateTreeView(DWORD style, const RECT* rect, HWND parent, int id, DWORD exStyle = 0);
  bool CreateStatic(DWORD style, const RECT* rect, HWND parent, int id, DWORD exStyle = 0);
  // The window procedure of both classes and of every subclassed control.
  static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The object of a framework window; null for any other handle.
  static SWnd* FromHandle(HWND hWnd);
  static bool AttachHandle(SWnd* wnd);
  static bool DetachHandle(SWnd* wnd);
  // How many windows the calling thread's map record holds.
  static int GetThreadWindowCount();
  // Framework start-up and shutdown: the map's 256 thread slots, cleared,
  // with the record of the calling thread in the first; every record freed.
  static void CreateHandleMap();
  static void FreeHandleMap();

  // Modal run. Disables the other windows (all top-level framework popups
  // and their descendants with disableAll, else the popup ancestor and its
  // descendants; the keep-enabled popups and modal-exempt windows stay),
  // runs the modal loop until the run ends and enables what it disabled.
  // Returns the modal result; 0 at once for a WS_CHILD window.
  int RunModal(WPARAM wParam, LPARAM lParam, bool disableAll = true,
               SArray<SWnd*>* keepEnabled = nullptr, bool hideAfter = false);
  // Ends a running modal run with the result; nothing outside a run.
  void SetModalResult(int result);
  void EndModal() { SetModalResult(0); }
  void CancelModal();
  // The window's modal-Return flag (enter true) or modal-Escape flag.
  bool IsModalKeyEnabled(bool enter) const { return enter ? m_modalReturn : m_modalEscape; }

  // Window tree, over the framework windows of this window's thread. Each
  // appends to the list and returns how many it appended; kind -1 = any.
  int GetSiblings(SArray<SWnd*>* output, int kind = -1);
  int GetChildren(SArray<SWnd*>* output, SArray<SWnd*>* exclude = nullptr,
                  bool recursive = false, int kind = -1);
  int GetTopLevelPopups(SArray<SWnd*>* output);
  // The nearest window above this one (GetParent chain) with WS_POPUP.
  HWND GetPopupAncestor();
  // The window Tab moves to: the next higher tab index of the group among
  // the visible and enabled siblings, wrapping to the lowest; else itself.
  SWnd* GetNextTabWindow();
  // GetParent of the window; null without a window.
  HWND GetParent();

  // Geometry.
  int GetWidth();
  int GetHeight();
  int GetClientHeight();
  bool GetClientRectInWindow(RECT* rect);
  // Measured on the live window.
  bool GetActualFrameMargins(int* left, int* top, int* right, int* bottom);
  // Computed from the styles, the menu and the scroll bars.
  bool GetFrameMargins(int* left, int* top, int* right, int* bottom);
  bool SetClientSize(int width, int height);
  bool SetClientHeight(int height);
  // On the parent's window rectangle (onParent and a parent), else on the
  // desktop work area.
  bool Center(bool onParent);
  bool Move(int x, int y);
  bool ClientToScreen(RECT* rect);
  bool ScreenToClient(RECT* rect);
  // Lifts a visible window to the top of its band, shows it and gives it the
  // focus and the foreground.
  bool BringToFront();
  // Attaches the menu (or none) keeping the client height.
  bool SetMenu(HMENU menu);
  // Automatic alignment: mask bits 0x01 x += dx/2, 0x02 x += dx, 0x04
  // width += dx, 0x08 halves the horizontal amounts; 0x10 to 0x80 the same
  // vertically. dx, dy are the parent's client size changes since the mask
  // was set; amounts are measured from the rectangle of that moment.
  void SetAutoAlign(unsigned int mask);
  // Applies the mask; returns the parent, or null when nothing was done.
  HWND ApplyAutoAlign();

  // Caret, cursor, focus, zones, tooltip.
  bool CreateCaret(int height);
  bool DestroyCaret();
  void ShowCursor(bool visible);
  void SetCursor(HCURSOR cursor);
  // The mouse position in client coordinates.
  bool GetCursorPos(POINT* point);
  // Returns the window that had the focus; null without a window.
  HWND SetFocus();
  // Index of the first zone holding the point (window coordinates), -1.
  int FindZone(int x, int y);
  bool CreateToolTip();

  // Small wrappers on the window handle.
  int GetId();
  int MessageBox(const char* text, const char* caption, UINT flags);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  bool SetText(const char* text);
  SString GetText();
  bool Show(int command);
  // Returns the previous redraw flag.
  bool SetRedraw(bool redraw);
  // Repaints the window (RedrawWindow with the flags); a hollow window lets
  // its parent repaint underneath. A child of a layered window rebuilds the
  // parent's layer instead (true).
  bool Redraw(const RECT* rect = nullptr, UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  // The control's previous procedure, else DefWindowProcA.
  LRESULT CallDefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Rounded down to the scroll unit.
  void SetScrollPos(int position);
  void SetHScrollPos(int position);
  // The vertical position less / plus the vertical line step, through
  // SetScrollPos.
  void ScrollLineUp();
  void ScrollLineDown();
  // SendMessageA to the parent; 0 without a window or a parent.
  LRESULT NotifyParent(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT NotifyParent(SWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Posts WM_CLOSE to the window.
  bool Close();
  // KillTimer of timer 1 of the window.
  static bool StopTimer(SWnd* wnd);

  // Background images and painting.
  // The background image becomes a clone of the bitmap (null: no image); the
  // nine-slice rectangle is emptied; with a bitmap the key becomes the shape
  // colour key (0xFF000000: no shape). Then the shape region and a redraw.
  void SetBackgroundImage(Gdiplus::Bitmap* bitmap, COLORREF key);
  // Copies of the given images (each may be null); none unless at least one
  // has a bitmap.
  void SetStateImages(SImage* hover, SImage* pressed, SImage* checked, SImage* disabled);
  // The four images from archive entries; an empty name or a missing entry
  // leaves that image empty.
  void LoadStateImages(SResource* archive, const char* hover, const char* pressed,
                       const char* checked, const char* disabled);
  // The window region: key-coloured client pixels of the drawn background
  // cut out; rectangular without an image or a key.
  void UpdateShapeRegion();
  // The background (or the state image due) over width x height, nine-slice
  // when the rectangle is set.
  void DrawBackgroundImage(HDC dc, int width, int height);
  // Cuts the visible children out (of clipDC or paintDC by kind) and paints
  // the client background into paintDC.
  void PaintBackground(HDC clipDC, HDC paintDC);
  // The DC an owner-painted window paints its content into: the memory DC of
  // the framework's double-buffered erase (WM_ERASEBKGND's lParam), or the DC
  // of WM_PRINTCLIENT after the window's background was painted into it (the
  // DC's state kept); null for any other message.
  HDC ContentPaintDC(UINT message, WPARAM wParam, LPARAM lParam);
  // The background image's drawing mode; outside 0..12 gives 0.
  static void SetImageDrawMode(SWnd* wnd, int mode);
  // The same on this window; returns the previous mode.
  int SetBackgroundDrawMode(int mode);
  // A layered window's image: composed into a 32-bit memory HDC, pushed with
  // UpdateLayeredWindow (the HDC and its bitmap are freed there).
  HDC ComposeLayer();
  void ApplyLayer(HDC layerDC);
  void RedrawLayer();
  // The WM_ERASEBKGND protocol. OnMessage calls BeginErase with the
  // message's HDC and passes its result on as lParam: that HDC for a hollow
  // background, the memory HDC of the outermost erase (already painted), 0
  // inside a nested erase. WindowProc calls EndErase with the message's HDC
  // and that lParam: the outermost erase copies the memory HDC to the
  // message's HDC and frees it. Returns 1 (erased).
  LPARAM BeginErase(HDC dc);
  LRESULT EndErase(HDC dc, LPARAM memoryDC);

  // One thread's list of framework windows, sorted by handle (unsigned).
  struct _SThreadRecord {
    DWORD threadId;
    SArray<SWnd*> windows;
  };

  // State (defaults as after construction and ResetState).
  RECT m_workArea;               // desktop work area, read at construction
  DWORD m_threadId;              // thread of the window; selects the map record
  WNDPROC m_previousProc;        // a subclassed control's own procedure
  bool m_eraseFlag;              // a subclassed control still wants the framework's erase
  HWND m_hWnd;
  int m_kind;                    // control kind code; 0 for a plain window
  bool m_redraw;                 // current WM_SETREDRAW setting
  int m_recordId;                // id of the dialog record a control was built from
  SString m_name;                // control name from its dialog record
  int m_minWidth, m_minHeight;   // minimum outer track size; negative leaves the system's
  int m_maxWidth, m_maxHeight;   // maximum outer track size; -1 none
  int m_minClientWidth, m_minClientHeight;  // -1 none
  int m_maxClientWidth, m_maxClientHeight;  // -1 none
  bool m_hasBorder;              // WS_BORDER/WS_THICKFRAME or an edge extended style
  bool m_hasSystemMenu;          // WS_SYSMENU with a caption bit
  bool m_moveWithMouse;          // a left drag anywhere moves the window
  unsigned int m_alignMask;      // automatic alignment, 0 = off
  int m_alignParentWidth, m_alignParentHeight;
  RECT m_alignRect;              // in the parent's client coordinates
  int m_eraseDepth;
  int m_hLineStep, m_vLineStep, m_hPageStep, m_vPageStep;
  int m_hScrollUnit, m_vScrollUnit;
  HFONT m_font;                  // last WM_SETFONT
  unsigned int m_commandMask;    // bit n enables edit command n
  bool m_normalState;            // neither minimised nor maximised
  bool m_focusReturn;            // next WM_SETFOCUS gives the focus back
  bool m_sizeMove;               // between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE
  bool m_modalExempt;            // never disabled by another window's modal run
  bool m_modalReturn;            // the modal loop turns Return into SWM_MODALRETURN
  bool m_modalEscape;            // the modal loop turns Escape into SWM_MODALESCAPE
  bool m_modalRunning;
  int m_modalResult;
  bool m_caretCreated, m_caretShown;
  int m_caretWidth, m_caretHeight;
  bool m_caretPosValid;
  int m_caretX, m_caretY;
  bool m_cursorVisible;          // false hides the mouse cursor over the window
  HCURSOR m_cursor;              // own cursor instead of the class cursor; 0 none
  bool m_zonesEnabled;
  SArray<RECT> m_zones;          // in window coordinates
  int m_currentZone;             // -1 in no zone, -2 not tracked
  bool m_moving;
  int m_grabX, m_grabY;
  SImage* m_stateImages;         // four: hover, pressed, checked, disabled; or null
  bool m_stateImagesOn, m_hover, m_pressed, m_checked;
  int m_childCounter;            // tab index of the next child created under this window
  int m_tabGroup;                // -1 = not in the tab order
  int m_tabIndex;
  COLORREF m_backColor;          // 0xFF000000 none, 0xFF000001 hollow, else solid
  SImage m_backgroundImage;
  COLORREF m_shapeKey;           // 0xFF000000 none
  RECT m_nineSlice;              // empty = the whole image
  bool m_hollowRedraw;
  bool m_dragging;
  SArray<HWND__*> m_dragTargets; // sorted by handle
  HWND m_toolTip;
  SString m_toolTipText;
  SArray<unsigned char*> m_recordBuffers;
  SArray<unsigned int> m_recordSizes;
  SArray<unsigned char*> m_recordPositions;
  SArray<unsigned int> m_recordIds;

private:
  SWnd(const SWnd&) = delete;
  SWnd& operator=(const SWnd&) = delete;

  // Shared by Create and CreateControl.
  bool CreateWindowOf(const char* className, bool subclass, const char* title, DWORD style,
                      DWORD exStyle, const RECT* rect, HWND parent, HMENU menuOrId,
                      void* createParam, HINSTANCE instance);
  void UpdateFrameFlags(DWORD style, DWORD exStyle);
  // The after-create set-up of the window base.
  void OnAfterCreate();
  // Hands a message to the window's object as StaticWndProc does, without
  // the destruction step; DefWindowProcA when there is no object.
  static LRESULT Deliver(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The end of a window: its presses are forgotten, the object leaves the
  // map, its handle is cleared and a subclassed control gets its own
  // procedure back. Once out of the map, the object is not touched again.
  static void ReleaseWindow(_SThreadRecord* record, SWnd* wnd, HWND hWnd);
  static _SThreadRecord* FindRecord(DWORD threadId);
  void ForceCursorRefresh();
  void FreeStateImages();
};
