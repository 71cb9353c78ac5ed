// Undo records of the graph control. A record keeps ids, never pointers, and
// where boxes or plugs vanish an XML snapshot in the board's form, so that it
// stays valid while other edits come and go. Undo and Redo never make new
// records. A chained record belongs to the same user step as the record
// below it on the control's stack.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SXml.h"

#include <stdint.h>

class SGraphBoard;
class SGraphBox;
class SGraphCtrl;
class SGraphPlug;

class SGraphUndo {
public:
  enum {
    KIND_ADDPLUG = 1,
    KIND_CREATEBOX = 3,
    KIND_DESTROYBOX = 4,
    KIND_ENABLEPLUG = 5,
    KIND_EXPAND = 6,
    KIND_LINK = 7,
    KIND_MOVEBOX = 8,
    KIND_REMOVEPLUG = 9,
    KIND_SELECTBOX = 10,
    KIND_SHOWPLUG = 11
  };

  explicit SGraphUndo(SGraphCtrl* control) : m_control(control), m_chained(false) {}
  SGraphUndo(const SGraphUndo&) = delete;
  SGraphUndo& operator=(const SGraphUndo&) = delete;
  virtual ~SGraphUndo() {}

  virtual int Kind() { return 0; }
  virtual bool Undo() = 0;
  virtual bool Redo() = 0;
  // Whether the record holds anything worth pushing.
  virtual bool HasEntries() { return true; }

  SGraphCtrl* m_control;  // not owned
  bool m_chained;

protected:
  SGraphBoard* Board() const;
};

// A plug added to a box (kind 1); kind 9 is its reverse.
class SGraphUndo_AddPlug : public SGraphUndo {
public:
  explicit SGraphUndo_AddPlug(SGraphCtrl* control);
  int Kind() override { return KIND_ADDPLUG; }
  bool Undo() override { return RemoveStoredPlug(); }
  bool Redo() override { return RebuildStoredPlug(); }
  // Keeps the plug's ids and saved form (with all its links).
  bool Store(SGraphPlug* plug);

  int m_boxId;
  int m_plugId;
  SXml m_form;

protected:
  bool RemoveStoredPlug();
  bool RebuildStoredPlug();
};

class SGraphUndo_RemovePlug : public SGraphUndo_AddPlug {
public:
  explicit SGraphUndo_RemovePlug(SGraphCtrl* control) : SGraphUndo_AddPlug(control) {}
  int Kind() override { return KIND_REMOVEPLUG; }
  bool Undo() override { return RebuildStoredPlug(); }
  bool Redo() override { return RemoveStoredPlug(); }
};

// Boxes created by a paste (kind 3).
class SGraphUndo_CreateBox : public SGraphUndo {
public:
  explicit SGraphUndo_CreateBox(SGraphCtrl* control);
  int Kind() override { return KIND_CREATEBOX; }
  bool Undo() override;
  bool Redo() override;
  // Snapshot of the created boxes with all their links, their ids, and the
  // selection before the step.
  bool Store(const SArray<SGraphBox*>& created, const SArray<int>& oldSelection, int oldCurrent);

  int m_currentId;
  SArray<int> m_oldSelection;
  SArray<int> m_created;
  SXml m_document;
};

// Boxes destroyed (kind 4).
class SGraphUndo_DestroyBox : public SGraphUndo {
public:
  explicit SGraphUndo_DestroyBox(SGraphCtrl* control);
  int Kind() override { return KIND_DESTROYBOX; }
  bool Undo() override;
  bool Redo() override;
  bool Store(const SArray<SGraphBox*>& boxes);

  SArray<int> m_ids;
  SXml m_document;
};

// Per-object flags (kinds 5, 6, 11): ids with their old and new values.
class SGraphUndo_Flags : public SGraphUndo {
public:
  explicit SGraphUndo_Flags(SGraphCtrl* control) : SGraphUndo(control) {}
  void Add(int id, bool oldValue, bool newValue);
  bool HasEntries() override { return m_ids.GetCount() > 0; }

  SArray<int> m_ids;
  SArray<uint8_t> m_old;
  SArray<uint8_t> m_new;

protected:
  virtual bool Apply(const SArray<uint8_t>& values) = 0;

public:
  bool Undo() override { return Apply(m_old); }
  bool Redo() override { return Apply(m_new); }
};

class SGraphUndo_EnablePlug : public SGraphUndo_Flags {
public:
  explicit SGraphUndo_EnablePlug(SGraphCtrl* control) : SGraphUndo_Flags(control) {}
  int Kind() override { return KIND_ENABLEPLUG; }

protected:
  bool Apply(const SArray<uint8_t>& values) override;
};

class SGraphUndo_Expand : public SGraphUndo_Flags {
public:
  explicit SGraphUndo_Expand(SGraphCtrl* control) : SGraphUndo_Flags(control) {}
  int Kind() override { return KIND_EXPAND; }

protected:
  bool Apply(const SArray<uint8_t>& values) override;
};

class SGraphUndo_ShowPlug : public SGraphUndo_Flags {
public:
  explicit SGraphUndo_ShowPlug(SGraphCtrl* control) : SGraphUndo_Flags(control) {}
  int Kind() override { return KIND_SHOWPLUG; }

protected:
  bool Apply(const SArray<uint8_t>& values) override;
};

// Links made or broken (kind 7); Undo and Redo toggle each pair.
class SGraphUndo_Link : public SGraphUndo {
public:
  explicit SGraphUndo_Link(SGraphCtrl* control) : SGraphUndo(control) {}
  int Kind() override { return KIND_LINK; }
  bool Undo() override { return Toggle(); }
  bool Redo() override { return Toggle(); }
  bool HasEntries() override { return m_sources.GetCount() > 0; }
  void Add(int sourceId, int targetId);

  SArray<int> m_sources;
  SArray<int> m_targets;

private:
  bool Toggle();
};

// Boxes moved (kind 8).
class SGraphUndo_MoveBox : public SGraphUndo {
public:
  explicit SGraphUndo_MoveBox(SGraphCtrl* control) : SGraphUndo(control) {}
  int Kind() override { return KIND_MOVEBOX; }
  bool Undo() override { return Apply(m_old); }
  bool Redo() override { return Apply(m_new); }
  bool HasEntries() override { return m_ids.GetCount() > 0; }
  // One box with its old and new position.
  void Add(int id, POINT oldPosition, POINT newPosition);
  // The boxes' present positions as the old ones (and the new ones, until
  // SetNewPositions).
  void StoreOld(const SArray<SGraphBox*>& boxes);
  // The present positions of the stored boxes become the new ones; boxes
  // that did not move or are gone are dropped.
  void SetNewPositions();

  SArray<int> m_ids;
  SArray<POINT> m_old;
  SArray<POINT> m_new;

private:
  bool Apply(const SArray<POINT>& positions);
};

// A selection change (kind 10).
class SGraphUndo_SelectBox : public SGraphUndo {
public:
  explicit SGraphUndo_SelectBox(SGraphCtrl* control);
  int Kind() override { return KIND_SELECTBOX; }
  bool Undo() override { return Apply(m_oldIds, m_oldCurrent); }
  bool Redo() override { return Apply(m_newIds, m_newCurrent); }
  bool HasEntries() override;

  SArray<int> m_oldIds;
  int m_oldCurrent;
  SArray<int> m_newIds;
  int m_newCurrent;

private:
  bool Apply(const SArray<int>& ids, int currentId);
};
