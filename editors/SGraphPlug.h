// A plug (pin) of a graph box. Links run from an output plug (types 2 and 4)
// to a plug that is no output (types 1 and 3 are the inputs; any other type
// is accepted as a target too). A link from A to B is held twice, once in A's
// outgoing list and once in B's incoming list; neither list owns the plugs.
//
// Layout: type 1 plugs stand in the box's left column, type 2 in its right
// column, types 3 and 4 in its bottom row; other types have no place.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

class SGraphBoard;
class SGraphBox;
class SGraphCtrl;
class SXmlItem;

class SGraphPlug {
public:
  enum { TYPE_LEFT = 1, TYPE_RIGHT = 2, TYPE_BOTTOM_IN = 3, TYPE_BOTTOM_OUT = 4 };

  // The control and board are taken from the box (which may be null).
  explicit SGraphPlug(SGraphBox* box);
  SGraphPlug(const SGraphPlug&) = delete;
  SGraphPlug& operator=(const SGraphPlug&) = delete;
  // Does not touch the links: whoever deletes a plug breaks them first.
  virtual ~SGraphPlug();

  // Reads the wrapper's inner "plug" element and its "trg" and "src" ids
  // into the pending lists; false without the inner element.
  virtual bool Load(SXmlItem* wrapper, const POINT* offset);
  // Pass 0 links this plug to each pending target id, pass 1 each pending
  // source id to this plug (refused links are no failure); false when an id
  // names no plug of the board. The pass's pending list is emptied.
  virtual bool ResolveLinks(int pass);
  // Writes the inner "plug" element, then one "trg" per outgoing link (only
  // to boxes of the array unless allLinks), then with allLinks one "src" per
  // incoming link.
  virtual bool Save(SXmlItem* wrapper, const SArray<SGraphBox*>* boxes, bool allLinks);

  bool IsOutput() const { return m_type == TYPE_RIGHT || m_type == TYPE_BOTTOM_OUT; }
  bool HasLinks() const { return m_incoming.GetCount() > 0 || m_outgoing.GetCount() > 0; }
  bool IsLinkedTo(const SGraphPlug* target) const;

  // Links this output to the target (see the rules above); with notify the
  // board hears of it, an undo record is made and a tree is arranged again.
  bool Link(SGraphPlug* target, bool notify);
  // False when the target is not linked from this plug.
  bool Unlink(SGraphPlug* target);
  // Every outgoing link, both ends.
  void UnlinkAll();
  // Every link, outgoing and incoming; each broken pair (source id, target
  // id) is appended to the lists when they are given.
  void BreakAllLinks(SArray<int>* sources, SArray<int>* targets);
  // With check, hiding a linked plug is refused and the box is laid out
  // again after the change.
  bool SetVisible(bool visible, bool check);

  // The point where links attach, in board coordinates.
  POINT GetAnchor() const;
  // The square in board coordinates.
  RECT GetSquare() const;
  // Empties both pending lists.
  void ClearPending();

  SGraphCtrl* m_control;  // not owned
  SGraphBoard* m_board;   // not owned
  SGraphBox* m_box;       // not owned
  int m_id;
  int m_data;
  int m_type;
  bool m_visible;
  bool m_enabled;
  SString m_name;
  SArray<int> m_pendingSources;
  SArray<int> m_pendingTargets;
  SArray<SGraphPlug*> m_incoming;  // plugs that link to this one
  SArray<SGraphPlug*> m_outgoing;  // plugs this one links to
  RECT m_rect;                     // relative to the box's inner rectangle
};
