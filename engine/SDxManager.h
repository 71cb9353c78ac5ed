// The entity manager of a layer: it holds the layer's entities in ascending
// order of their ids (two parallel arrays), runs their per-frame passes in a
// fixed order, applies the force records and deletes the entities flagged
// for removal; then the layer's dispatcher delivers the messages that are
// due. The layer makes and deletes its manager and dispatcher.
//
// Entities may be created, flagged or deleted from inside any pass, a
// message handler or a contact notification: the running index (the entity
// being run) moves with every insertion before it and every removal at or
// before it, so that no entity is run twice or skipped in a pass. Ids rise from 1 and are not
// reused until RemoveAll.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

class SDx;
class SDxDispatcher;
class SDxEntity;
class SDxEntityObj3;
class SDxLayer;

// A force applied to an object once per frame.
class SDxForce {
public:
  virtual ~SDxForce() {}
  // Applies the force to the object for a frame of dt seconds.
  virtual void Apply(SDxEntityObj3* object, float dt) = 0;
};

// Pairs of an object and the force applied to it (the same index in both
// arrays). Neither side is owned.
class SDxForceManager {
public:
  virtual ~SDxForceManager() {}

  SArray<SDxEntityObj3*> m_objects;
  SArray<SDxForce*> m_forces;
};

class SDxManager {
public:
  explicit SDxManager(SDxLayer* layer);
  // RemoveAll.
  virtual ~SDxManager();

  // The frame: pre-update of every entity, the forces (with the engine's
  // scaled frame time), update, post-update, deletion of the flagged
  // entities, delivery of the due messages.
  void Update();
  // The force pairs are dropped (not deleted), every entity is deleted from
  // the last, and ids start at 1 again.
  void RemoveAll();
  // n >= 0 gives both arrays fixed storage for n entities, or for those
  // registered when there are more (a registration beyond it is refused:
  // the entity is not run); n < 0 makes them growable again. The registered
  // entities stay, in their order, with their ids; the force pairs and the
  // next id are kept.
  void Reserve(int n);

  int GetCount() const { return m_entities.GetCount(); }
  // Null outside [0, count).
  SDxEntity* GetEntity(int index) const;

  SDx* m_engine;
  SDxLayer* m_layer;
  SDxDispatcher* m_dispatcher;
  SArray<int> m_ids;              // ascending
  SArray<SDxEntity*> m_entities;  // entity i has id i
  int m_running;                  // the entity being run; -1 outside the passes
  SDxForceManager m_forceManager;
  int m_nextId;

private:
  friend class SDxEntity;
  SDxManager(const SDxManager&) = delete;
  SDxManager& operator=(const SDxManager&) = delete;

  // The next id, the entity filed at its place.
  void Register(SDxEntity* entity);
  // Out of both arrays (nothing when not found); its queued messages go.
  void Unregister(SDxEntity* entity);
  // One pass over the entities with the running index.
  void RunPass(void (SDxEntity::*pass)());
};
