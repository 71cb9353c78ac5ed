// The node-graph control (window kind 15): shows one board and edits it with
// the mouse, its keys and four popup menus, keeping a stack of 128 undo
// records with redo.
//
// Mouse: a left press selects (Ctrl toggles, Shift pans); a drag from a box
// moves the selection (snapped to the grid at the drop), from empty space
// draws a rubber band, from a plug drags a link. Drags run on the capture of
// the application window (or on the control's own messages when it cannot be
// taken) and scroll the view while the pointer is outside the client area
// (timer 1, every 10 ms). Keys: Delete, Ctrl+A, C, X, V, Z, Y and Q.
//
// Loading: LoadFile / LoadFromXml replace the board and empty the undo
// stack; a failed load leaves the control without a board, and then it
// ignores the mouse and keys and paints only its background.
//
// The factory slots (CreateBoard, CreateBox, CreateUndo) let an application
// bring its own board, box and record classes.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "window/SMenu.h"
#include "window/SWnd.h"
#include "editors/SGraphUndo.h"

class SFile;
class SGraphBoard;
class SGraphBox;
class SGraphPlug;
class SXmlItem;

// What lies under a point.
struct SGraphHit {
  enum { NONE = 0, BOX = 1, PLUG = 2, LINK = 3 };

  SGraphBoard* board;
  POINT client;
  POINT point;  // board coordinates
  int kind;
  SGraphBox* box;
  SGraphPlug* plug;
  SGraphPlug* linkSource;
  SGraphPlug* linkTarget;
  bool onTitle;
  bool onBody;
  bool onExpand;
};

class SGraphCtrl : public SWnd {
public:
  enum { KIND = 15 };
  enum : unsigned int {
    FLAG_CLIPBOARD = 1,  // Cut, Copy and Paste by key and menu
    FLAG_UNDO = 2,       // undo recording
    FLAG_ENABLE = 4,     // output plugs may be enabled and disabled
    FLAG_TREE = 8,       // tree mode
  };
  enum { DRAG_NONE = 0, DRAG_BAND = 1, DRAG_MOVE = 2, DRAG_PAN = 3, DRAG_LINK = 4 };
  enum { UNDO_SLOTS = 128, DRAG_THRESHOLD = 4, EDGE_STEP = 10, TIMER_EDGE = 1, TIMER_PERIOD = 10 };
  enum {
    CMD_PASTE = 10,
    CMD_BOX_BREAK = 100,
    CMD_BOX_SHOW = 101,
    CMD_BOX_HIDE_UNUSED = 102,
    CMD_BOX_CUT = 103,
    CMD_BOX_COPY = 104,
    CMD_BOX_PASTE = 105,
    CMD_BOX_DELETE = 106,
    CMD_PLUG_BREAK = 200,
    CMD_PLUG_HIDE = 201,
    CMD_PLUG_ENABLE = 202,
    CMD_PLUG_DISABLE = 203,
    CMD_LINK_DELETE = 300
  };
  enum { MENU_BACKGROUND = 0, MENU_BOX, MENU_PLUG, MENU_LINK, MENU_COUNT };

  SGraphCtrl();
  ~SGraphCtrl() override;

  // Registers the class with the dialog control factory for the GRAPH type
  // (key GRAPH_FILE: the archive entry of the graph); called by
  // RegisterEditorControls.
  static bool Register();

  // Factory and document slots.
  virtual SGraphBoard* CreateBoard();
  virtual SGraphBox* CreateBox(int type);
  virtual SGraphUndo* CreateUndo(int kind);
  // Deletes every undo record and the board.
  virtual void Reset();
  virtual bool IsReady();
  virtual bool LoadXml(SXmlItem* item, const POINT* offset);
  virtual bool ResolveLinks(int pass);
  // Replaces the item's child "graph" by the board's form; false without a
  // board.
  virtual bool SaveXml(SXmlItem* item);
  virtual void OnBeginDrag(int mode);
  virtual void OnEndDrag(int mode);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The file's XML text from its position; false when it does not parse or
  // does not load.
  bool LoadFile(SFile* file);
  bool LoadFromXml(SXmlItem* root);

  // The undo stack. One step undoes or redoes a record together with the
  // records chained to it (SWnd's Undo edit command stays unused: the
  // control handles its keys itself).
  void PushUndo(SGraphUndo* record);
  bool UndoStep();
  bool RedoStep();
  // A new record of the kind while recording is on, else null.
  SGraphUndo* MakeUndo(int kind);
  // The same, as the record class the caller needs: a record of another
  // class from an application's factory is deleted and null returned.
  template <class T>
  T* MakeUndoOf(int kind) {
    SGraphUndo* record = MakeUndo(kind);
    T* typed = dynamic_cast<T*>(record);
    if (!typed) delete record;
    return typed;
  }
  // Pushes a record that holds entries and tells the board; deletes it
  // otherwise. Returns whether it was pushed.
  bool Record(SGraphUndo* record);
  bool IsRecording() const { return (m_flags & FLAG_UNDO) != 0; }
  bool IsTreeMode() const { return (m_flags & FLAG_TREE) != 0; }
  int GetUndoIndex() const { return m_undoIndex; }
  SGraphUndo* GetUndoRecord(int slot) const;

  // What lies under a client point.
  void HitTest(int x, int y, SGraphHit* hit);
  // Paints the board into the DC (client coordinates), drawing what meets
  // the visible rectangle.
  void Paint(HDC dc, const RECT& visible);
  // The font the boxes are measured and drawn with.
  HFONT GetFont();
  // A memory DC with the font selected, for measuring; kept until the window
  // goes.
  HDC GetMeasureDC();
  // Rebuilds the four menus, greying the clipboard items without the flag.
  void BuildMenus();
  SMenu* GetMenu(int which) { return &m_menus[which]; }
  // Runs a menu command as if chosen from the last popup menu.
  void RunCommand(int id);
  // Forgets every pointer to the box or its plugs (hover, drag, menu).
  void ForgetBox(SGraphBox* box);
  void RedrawBoard();

  unsigned int m_flags;
  int m_linkPasses;
  SString m_signature;
  int m_dragMode;
  POINT m_dragScreen;            // screen point at the last step
  POINT m_dragBoard;             // board point at the last step
  POINT m_dragClient;            // client point at the last step (edge scrolling)
  POINT m_bandStart, m_bandEnd;  // board coordinates
  POINT m_press;                 // -1, -1: no press pending
  SGraphBox* m_hoverBox;
  SGraphPlug* m_hoverPlug;
  SGraphPlug* m_hoverLinkSource;
  SGraphPlug* m_hoverLinkTarget;
  SGraphPlug* m_linkSource;
  SGraphPlug* m_linkCandidate;
  SGraphBox* m_linkCandidateBox;
  SGraphBoard* m_board;  // owned
  POINT m_menuPoint;     // board coordinates of the last right click
  int m_menuPlugId, m_menuLinkSourceId, m_menuLinkTargetId;
  SMenu m_menus[MENU_COUNT];
  bool m_menuShown;
  SGraphUndo* m_undo[UNDO_SLOTS];
  int m_undoIndex;
  SGraphUndo_MoveBox* m_pendingMove;
  HPEN m_currentPen, m_selectedPen, m_disabledPen, m_linkPen;
  HBRUSH m_arrowBrush;

private:
  void CreateDrawingObjects();
  void DeleteDrawingObjects();
  void ClearUndo();
  // Mouse and keys.
  void OnLeftDown(int x, int y, WPARAM keys);
  void OnMouseMove(int x, int y);
  void OnLeftUp(int x, int y);
  void OnDoubleClick(int x, int y);
  void OnRightDown(int x, int y);
  void OnRightUp(int x, int y);
  void OnEdgeTimer();
  void OnKeyDown(WPARAM key);
  void StartDrag(int mode, int x, int y);
  void EndDrag();
  void FindLinkCandidate(const SGraphHit& hit);
  POINT ToScreen(int x, int y);
  // Menu commands.
  void BreakBoxLinks();
  void ShowPlugs(bool show);
  void SetPlugEnabled(SGraphPlug* plug, bool enable);
  void HidePlug(SGraphPlug* plug);
  void BreakPlugLinks(SGraphPlug* plug);
  void DeleteLink();
  // Painting.
  void PaintLinks(HDC dc, SGraphBox* box, const RECT& area);
  void PaintBox(HDC dc, SGraphBox* box);
  void PaintArrow(HDC dc, POINT from, POINT to);

  HDC m_measureDC;
  HGDIOBJ m_measureFont;
};
