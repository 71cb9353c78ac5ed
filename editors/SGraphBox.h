// A box (node) of a graph board: a title bar with the name, a body, and the
// plugs it owns. Positions and rectangles are board coordinates; the box
// rectangle's strip above the inner rectangle is the title bar.
//
// Tree mode reads the links of type-2 plugs as a tree: a box's parent is the
// box of the first source linking into its first linked type-1 plug. Links
// may form cycles, so every walk over parents or children visits a box at
// most once.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

class SGraphBoard;
class SGraphCtrl;
class SGraphPlug;
class SGraphUndo_Expand;
class SGraphUndo_MoveBox;
class SXmlItem;
struct SGraphHit;

class SGraphBox {
public:
  enum { WIDTH = 50, HEIGHT = 46, TITLE_HEIGHT = 16, EXPAND_BUTTON = 16 };
  static const COLORREF TITLE_COLOR = 0x573127;
  static const COLORREF BODY_COLOR = 0x804939;
  static const COLORREF TEXT_COLOR = 0xFFFFFF;

  SGraphBox();
  SGraphBox(const SGraphBox&) = delete;
  SGraphBox& operator=(const SGraphBox&) = delete;
  // Deletes the plugs (their links must be gone).
  virtual ~SGraphBox();

  // The application's box type, stored as "type"; 0 here.
  virtual int GetType();
  // Reads the wrapper's inner "box" element (x, y shifted by the offset)
  // and a plug per "plug" wrapper; false without the inner element or when
  // a plug fails (that plug is deleted, the earlier ones stay).
  virtual bool Load(SXmlItem* wrapper, const POINT* offset);
  // Each plug's ResolveLinks in order; false at the first failure.
  virtual bool ResolveLinks(int pass);
  // Writes the inner "box" element and a "plug" wrapper per plug.
  virtual bool Save(SXmlItem* wrapper, const SArray<SGraphBox*>* boxes, bool allLinks);
  // Called by the control's hit test for every box it examines; an
  // application reports its own hits here (links: kind 3). Nothing here.
  virtual void HitTest(SGraphHit* hit);

  // Measures the name and the plugs with the control's font and sets both
  // rectangles and the plug squares; nothing without a control.
  void UpdateLayout();
  // Removes every link between a plug of this box and a plug of the other.
  void UnlinkFrom(SGraphBox* other);
  // The plug with the id; null when none.
  SGraphPlug* FindPlug(int id) const;
  // Index of the plug in this box; -1 when not there.
  int IndexOfPlug(const SGraphPlug* plug) const;
  // Appends the plug (taking ownership) and lays the box out.
  void AddPlug(SGraphPlug* plug);
  // Breaks the plug's links, removes and deletes it, lays the box out.
  bool RemovePlug(SGraphPlug* plug);

  // Tree mode.
  SGraphBox* GetParentBox() const;
  bool HasChildren() const;
  // True when an ancestor is collapsed.
  bool IsHidden() const;
  // Places the children right of this box from the cursor down, recursively;
  // each move goes into the record when given. visited holds the boxes
  // already placed. True when the box has child links.
  bool Arrange(int* cursor, SGraphUndo_MoveBox* record, SArray<SGraphBox*>* visited);
  // Sets the expanded flag (recorded in the record, or in a new one when
  // makeRecord and recording is on), recursively over the first target of
  // each linked type-2 plug, then arranges the tree when asked.
  void Expand(bool value, bool recursive, bool arrange, bool makeRecord,
              SGraphUndo_Expand* record = nullptr);

  SGraphCtrl* m_control;  // not owned
  SGraphBoard* m_board;   // not owned
  int m_id;
  int m_data;
  SString m_name;
  int m_x, m_y;
  bool m_expanded;
  COLORREF m_titleColor;
  COLORREF m_bodyColor;
  COLORREF m_textColor;
  RECT m_rect;
  RECT m_inner;
  SArray<SGraphPlug*> m_plugs;  // owned, in the order of the XML form

private:
  void ExpandTree(bool value, SGraphUndo_Expand* record, SArray<SGraphBox*>* visited);
};
