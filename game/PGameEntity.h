// The pattern every game entity follows: an SDxEntityObj (or a platform)
// with a state machine of its own, owned and freed by the entity, whose
// current state starts at the class's default state and whose global state
// is the class's global state, neither entered; the type code set right
// after the base part; messages forwarded to the machine; an update that
// runs the base's update, the machine and the class's own step.
//
// States carry no per-entity data: one object per state class, made on
// first use by Instance and destroyed at program exit.
#pragma once

#include "core/Platform.h"
#include "engine/SDxEntity.h"
#include "engine/SDxStateMachine.h"

#include <stdint.h>

struct MAPITEM;

// A state with no operation of its own; named states set their name.
template <class T>
class PState : public SDxState<T> {
public:
  explicit PState(const char* name = "") { this->m_name = name; }
  void Execute(T*) override {}
};

// The one object of a state class.
template <class S>
S* StateInstance() {
  static S state;
  return &state;
}

// Self is the entity class, Base its framework base (SDxEntityObj or
// PPlatformEntity). Self may define a public Step (the class's per-frame
// step, not virtual); the default is empty.
template <class Self, class Base>
class PGameEntity : public Base {
public:
  template <class... Args>
  PGameEntity(int type, SDxState<Self>* current, SDxState<Self>* global, Args... args)
      : Base(args...) {
    this->SetType(type);
    machine = new SDxStateMachine<Self>(this->GetEngine(), static_cast<Self*>(this));
    machine->SetCurrentState(current);
    machine->SetGlobalState(global);
  }
  ~PGameEntity() override { delete machine; }

  bool HandleMessage(DXMSG* message) override { return machine->HandleMessage(message); }
  void Update() override {
    Base::Update();
    machine->Update();
    static_cast<Self*>(this)->Step();
  }
  void Step() {}
  void ChangeState(SDxState<Self>* state, int32_t parameter) {
    machine->ChangeState(state, parameter);
  }
  SDxState<Self>* GetCurrentState() const { return machine->GetCurrentState(); }
  SDxStateMachine<Self>* GetMachine() const { return machine; }

protected:
  SDxStateMachine<Self>* machine;
};

// Declares the global and default states of an entity class and any named
// ones: class PArrow_Global : public PState<PArrowEntity> with Instance.
#define P_STATE(Name, Entity, Text)                           \
  class Name : public PState<Entity> {                        \
  public:                                                     \
    Name() : PState<Entity>(Text) {}                          \
    static Name* Instance() { return StateInstance<Name>(); } \
  }

// A named state whose step is one member of the entity:
// P_STATE_STEP(PBoss_Move, PBossEntity, "Move", Move) runs boss->Move().
#define P_STATE_STEP(Name, Entity, Text, Member)              \
  class Name : public PState<Entity> {                        \
  public:                                                     \
    Name() : PState<Entity>(Text) {}                          \
    void Execute(Entity* owner) override { owner->Member(); } \
    static Name* Instance() { return StateInstance<Name>(); } \
  }

// The entities made from a map item keep it and write themselves into it.
template <class Self>
class PItemEntity : public PGameEntity<Self, SDxEntityObj> {
public:
  PItemEntity(int type, SDxState<Self>* current, SDxState<Self>* global, SDxLayer* layer,
              SDxObject* object, MAPITEM* mapItem);
  MAPITEM* item;
};

// The base of the entities whose object is a solid piece standing on the
// tube wall: its collision box as eight corners in model space (corner i
// takes, per axis, the box minimum or maximum: 0 (min, min, max), 1 (max,
// min, max), 2 (min, min, min), 3 (max, min, min), 4 (min, max, max),
// 5 (max, max, max), 6 (min, max, min), 7 (max, max, min)), its map item
// and the sixteenth of the tube it covers in the craft's angle convention.
class PPlatformEntity : public SDxEntityObj {
public:
  // With an item: at (0, 0, row x 1000), turned about the tube axis by
  // column / 16 x 2 pi, and written into the item's entity pointer (which
  // is left as it is when the entity goes). Corners copied from the
  // table, or from the object's local box without one.
  PPlatformEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);
  void Update() override;
  void SetSectorAngle(float a);
  // A wall (23) of subtype 0, 1 or 2.
  bool IsRowWall() const;
  // A wall of subtype 4 or 5: its z minus its row's start; 0 otherwise.
  float GetSlideOffset() const;

  D3DXVECTOR3 corners[8];
  MAPITEM* mapItem;
  float turnAngle;
  float sectorEnd;
  float sectorStart;
};

void LinkMapItem(MAPITEM* item, SDxEntity* entity);
// View-cone culling by position, as every map entity's object has it.
void CullByPosition(SDxObject* object);

template <class Self>
PItemEntity<Self>::PItemEntity(int type, SDxState<Self>* current, SDxState<Self>* global,
                               SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PGameEntity<Self, SDxEntityObj>(type, current, global, layer, object), item(mapItem) {
  LinkMapItem(mapItem, this);
}
