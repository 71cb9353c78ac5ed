// The document of a node graph: the boxes in drawing order (last = top-most),
// the selection with its current box, the id counter, the grid step and the
// view origin (where board point 0, 0 is drawn in the control's client area).
//
// Ids: boxes and plugs take their ids from the board's counter, one sequence
// for both, and the XML form keeps them. A load refuses ids below 1 or above
// MAX_ID and an id that is already on the board, and afterwards keeps the
// counter above every id, so that links, paste and undo records always
// resolve to the one object they mean.
//
// XML form: "graph" holds one "board" (nextid, data, x, y) and one wrapper
// "box" per box; a wrapper holds the inner "box" (type, id, name, data,
// expanded, x, y) and one wrapper "plug" per plug; a plug wrapper holds the
// inner "plug" (id, data, type, name, visible, enabled), then "trg" elements
// (links from this plug), then "src" elements (links into it, undo snapshots
// only). The clipboard holds the wrappers under a root "clipboard" with a
// "signature" attribute.
//
// The hook slots (Can..., On...) are for applications; here they allow
// everything (except dropping a link on a box) and do nothing.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

class SGraphBox;
class SGraphCtrl;
class SGraphPlug;
class SGraphUndo;
class SGraphUndo_SelectBox;
class SXmlItem;

class SGraphBoard {
public:
  enum { DEFAULT_GRID = 8, MAX_ID = 0x3FFFFFFF, LINK_PASSES = 2 };

  explicit SGraphBoard(SGraphCtrl* control);
  SGraphBoard(const SGraphBoard&) = delete;
  SGraphBoard& operator=(const SGraphBoard&) = delete;
  virtual ~SGraphBoard();

  // Empties the selection, deletes every box; data 0, origin 0, 0, next id
  // 1, grid 8.
  virtual void Clear();
  // Reads the child "board" of the item, then its boxes; false without one.
  virtual bool Load(SXmlItem* parent, const POINT* offset);
  // One box per "box" wrapper of the item, made by the control's factory,
  // appended (and to collected when given). False on a box that fails or an
  // id that is refused; the boxes loaded before it stay.
  virtual bool LoadBoxes(SXmlItem* parent, const POINT* offset, SArray<SGraphBox*>* collected);
  // Each box's ResolveLinks in board order; false at the first failure.
  virtual bool ResolveLinks(int pass);
  // Adds "board" and every box to the item.
  virtual bool Save(SXmlItem* parent);

  virtual bool CanDestroyBoxes(SArray<SGraphBox*>* boxes);
  virtual void OnBoxesDestroyed();
  virtual bool CanDestroyBox(SGraphBox* box);
  virtual void OnDestroyBox(SGraphBox* box);
  virtual void OnSelectionChanged(SGraphBox* current);
  virtual bool CanLink(SGraphPlug* source, SGraphPlug* target);
  virtual void OnLink(SGraphPlug* source, SGraphPlug* target);
  virtual bool CanUnlink(SGraphPlug* source, SGraphPlug* target);
  virtual void OnUnlink(SGraphPlug* source, SGraphPlug* target);
  virtual bool CanDropLinkOnBox(SGraphPlug* plug, SGraphBox* box);
  virtual void OnDropLinkOnBox(SGraphPlug* plug, SGraphBox* box);
  virtual void OnHook(int value);
  // The selection to the clipboard as text; Cut then deletes it.
  virtual bool Cut();
  virtual bool Copy();
  // The clipboard's boxes with fresh ids, at the point (board coordinates)
  // or by the placement rule when null; they become the selection.
  virtual bool Paste(const POINT* point);
  virtual void OnPaste(SArray<SGraphBox*>* boxes);
  virtual void OnUndoRecord(SGraphUndo* record);

  // Writes a wrapper per box of the array into the item.
  bool SaveBoxes(SXmlItem* parent, const SArray<SGraphBox*>* boxes, bool allLinks);
  SGraphPlug* FindPlug(int id) const;
  SGraphBox* FindBox(int id) const;
  int IndexOfBox(const SGraphBox* box) const;
  // Each id's box into the array; false when one names no box.
  bool FindBoxes(const SArray<int>& ids, SArray<SGraphBox*>* boxes) const;
  // The source's boxes and then their plugs take this board's next ids.
  void AssignIds(SGraphBoard* source);
  // Least left and top of the boxes' rectangles; 0, 0 for none.
  POINT GetBounds(const SArray<SGraphBox*>& boxes) const;
  void MoveBoxes(const SArray<SGraphBox*>& boxes, int dx, int dy, bool snap);
  // The value less the remainder of its division by the grid step.
  int Snap(int value) const;
  // Destroys the boxes that the hooks allow (with a DestroyBox record);
  // returns how many went.
  int DestroyBoxes(const SArray<SGraphBox*>& boxes, bool arrangeRecord);
  void DeleteSelection();
  // Unlinks the box from every other box, takes it out of the board and the
  // selection and deletes it.
  void DeleteBox(SGraphBox* box);
  // Appends a box made elsewhere (taking ownership) and lays it out.
  void AddBox(SGraphBox* box);
  // Empties every plug's pending id lists.
  void ClearPendingLinks();

  // Selection. Each operation that changes the selection makes a selection
  // record when record is set and calls OnSelectionChanged.
  bool IsSelected(const SGraphBox* box) const;
  void ClearSelection(bool record = true);
  void SetCurrent(SGraphBox* box, bool record = true);
  void SelectOnly(SGraphBox* box, bool record = true);
  void SetSelection(const SArray<SGraphBox*>& boxes, SGraphBox* preferred, bool record = true);
  void AddToSelection(SGraphBox* box, bool record = true);
  void ToggleSelection(SGraphBox* box, bool record = true);
  // A SelectBox record of the present selection; null unless recording is
  // on and makeRecord is set.
  SGraphUndo_SelectBox* BeginSelectionChange(bool makeRecord);
  // Completes and pushes the record (a record that saw no change is
  // dropped); nothing for null.
  void EndSelectionChange(SGraphUndo_SelectBox* record);
  // The ids of the selection.
  void GetSelectionIds(SArray<int>* ids) const;

  // Tree mode: arranges the tree of the start box's root (or of the first
  // root); the moves are recorded when makeRecord, the record chained to
  // the one below when chain.
  void ArrangeTree(SGraphBox* start, bool makeRecord, bool chain);

  SGraphCtrl* m_control;  // not owned
  int m_nextId;
  int m_data;
  SArray<SGraphBox*> m_boxes;  // owned
  SGraphBox* m_current;
  SArray<SGraphBox*> m_selection;  // not owned
  int m_grid;
  int m_originX, m_originY;

private:
  // The id is free and within bounds; it then goes into the sorted ids.
  static bool TakeId(int id, SArray<int>* ids);
  void CollectIds(SArray<int>* ids) const;
  void FinishSelectionChange(SGraphUndo_SelectBox* record);
  bool LoadBoxesChecked(SXmlItem* parent, const POINT* offset, SArray<SGraphBox*>* collected,
                        SArray<int>* ids);
  POINT PasteOffset(const POINT* point, SGraphBoard* pasted) const;
};
