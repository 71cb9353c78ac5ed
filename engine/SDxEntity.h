// Entities: the live game objects that think once per frame. Every entity
// belongs to one layer and is registered with that layer's manager
// (SDxManager) from its constructor to its destructor; the manager runs its
// per-frame passes and deletes it once it is flagged with Remove. An object
// entity (SDxEntityObj) carries the 3D objects of its layer that show it,
// the first of them its main object, and finds contacts between its
// objects and others with its contact scan.
//
// Ownership: the manager deletes its entities (flagged ones at the end of
// its update, all of them on RemoveAll). An object entity owns its objects
// while its owns-objects flag is set: its destructor removes them from
// their layer. Each object records the entity that owns it; the layer's
// removal of an owned object takes it out of its owner's array, so that the
// array never keeps a removed object.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

#include <d3dx9.h>
#include <stdint.h>

class SDx;
class SDxEntity;
class SDxLayer;
class SDxManager;
class SDxObject;

// A delayed message to an entity, queued by the layer's dispatcher
// (SDxDispatcher), which owns it until delivery.
struct DXMSG {
  uint32_t sender;  // the caller's word; the framework does not read it
  SDxEntity* receiver;
  uint32_t id;         // 0xFFFF and above: for the receiver's current state
  float dispatchTime;  // real-clock seconds; delivered once the clock is past it
};

// The record of a contact scan: the caller fills the first five fields, the
// scan writes the results.
struct SDxContactQuery {
  // True: every contact goes to OnContact, and the scan goes on while it
  // answers true. False: the first contact ends the scan (Collide true).
  bool notify = true;
  SArray<SDxObject*>* ownObjects = nullptr;  // null: the entity's objects
  SArray<SDxObject*>* otherObjects = nullptr;
  // False: an object takes part only with both contact flags set.
  bool ignoreContactFlags = false;
  bool includeHidden = false;
  // Results.
  SDxObject* hitObject = nullptr;
  SDxEntity* hitEntity = nullptr;  // the hit object's owner
  D3DXVECTOR3 contactPoint = D3DXVECTOR3(0, 0, 0);
  int faceIndex = -1;  // written for shape contacts only
};

// An optional per-frame behaviour of an object entity; not owned by it.
class SDxBehavior {
public:
  virtual ~SDxBehavior() {}
  virtual void Update() = 0;
};

class SDxEntity {
public:
  // Unregisters from the manager, which also drops the messages queued for
  // the entity.
  virtual ~SDxEntity();

  virtual bool IsObjectEntity() const;
  // The three passes of the manager's update; empty here.
  virtual void PreUpdate();
  // A delivered message; false here.
  virtual bool HandleMessage(DXMSG* message);
  virtual void Update();
  virtual void PostUpdate();
  // The contact scan; false here.
  virtual bool Collide(SDxContactQuery* query);

  void SetType(int type) { m_type = type; }
  int GetType() const { return m_type; }
  // The entity lives until the end of the manager's current (or next) update.
  void Remove() { m_removed = true; }
  bool IsRemoved() const { return m_removed; }
  int GetId() const { return m_id; }
  float GetCreationTime() const { return m_creationTime; }
  SDx* GetEngine() const { return m_engine; }
  SDxLayer* GetLayer() const { return m_layer; }
  // The layer is removing the object: an object entity takes it out of its
  // array.
  void ForgetObject(SDxObject* object);

  SDx* m_engine;
  SDxLayer* m_layer;
  int m_id;  // from the manager, rising; 0 when not registered
  int m_type;
  bool m_removed;
  float m_creationTime;  // game clock

protected:
  // Engine and layer from the layer, creation time from the game clock, then
  // registration with the layer's manager.
  explicit SDxEntity(SDxLayer* layer);

private:
  SDxEntity(const SDxEntity&) = delete;
  SDxEntity& operator=(const SDxEntity&) = delete;
};

class SDxEntityObj : public SDxEntity {
public:
  // The object (when not null) becomes the main object, and this entity its
  // owner when it has none.
  SDxEntityObj(SDxLayer* layer, SDxObject* object);
  // Each object loses this entity as owner and, with owns-objects set, is
  // removed from its layer.
  ~SDxEntityObj() override;

  bool IsObjectEntity() const override;
  // Last position := the main object's position.
  void PreUpdate() override;
  bool HandleMessage(DXMSG* message) override;
  // The behaviour's update, when one is attached.
  void Update() override;
  // The contact scan of the entity's objects against the layer's object
  // list, with the filters on and every contact notified.
  void PostUpdate() override;
  // Each own object that passes the filters against each other object that
  // does and is not this entity's: world and oriented boxes first, then the
  // other object's own test by its kind (SDxEntityContact.cpp). Without
  // notification true at the first contact; otherwise false, at once when
  // OnContact answers false.
  bool Collide(SDxContactQuery* query) override;
  // A contact of a notifying scan; true goes on scanning. True here.
  virtual bool OnContact(SDxContactQuery* query);
  // Every object shown or hidden.
  virtual void SetVisible(bool visible);

  // --- the main object (null, 0 or false without one) ---------------------------
  SDxObject* GetMainObject() const { return m_objects.GetFirst(); }
  const D3DXVECTOR3* GetPosition() const;
  float GetX() const;
  float GetY() const;
  float GetZ() const;
  const D3DXMATRIX* GetWorldMatrix() const;
  // False, with the identity, when there is no main object or its world
  // matrix cannot be inverted.
  bool GetInverseWorld(D3DXMATRIX* inverse) const;
  // The main object's scale along x.
  float GetScale() const;
  bool IsVisible() const;
  // The main object's position at the pre-update of this frame.
  const D3DXVECTOR3* GetLastPosition() const { return &m_lastPosition; }

  // --- every object, in array order ------------------------------------------------
  void SetPosition(const D3DXVECTOR3& position);
  void SetPositionXYZ(float x, float y, float z);
  void SetZ(float z);
  void OffsetZ(float dz);
  void MoveAlong(float distance, const D3DXVECTOR3* direction);
  void SetRotation(float a, float b, float c);
  void RotateLocal(float a, float b, float c);

  SArray<SDxObject*> m_objects;
  bool m_ownsObjects;
  D3DXVECTOR3 m_lastPosition;
  SDxBehavior* m_behavior;

private:
  template <class F>
  void ForEachObject(F f) {
    for (int i = 0; i < m_objects.GetCount(); ++i) f(m_objects[i]);
  }
  // One candidate of the scan: whether the other object touches the own
  // one, with the contact point (and face) written into the query.
  bool Touches(SDxContactQuery* query, SDxObject* own, SDxObject* other, float radius,
               const D3DXVECTOR3& back, float moved);
};
