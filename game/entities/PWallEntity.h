// A wall: a solid block filling one cell of the tube. Seven kinds come from
// the map (the item's subtype): 0 a plain wall; 1 and 2 walls that the
// craft pushes one row forward per fast hit, once or twice, with a light
// that turns from green to red when no push is left (off until then in the
// medieval theme); 3 a low roof; 4 and 5 walls sliding to and fro along
// their row (4 from its start, 5 from its end); 6 a low step. The craft
// rides their tops and meets their faces (PShipEntityContact.cpp); a
// pushed wall's map item stays in the row it was read from.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class SDxLight;

class PWallEntity : public PGameEntity<PWallEntity, PPlatformEntity> {
public:
  // The corner table of the wall's shape; a pushable wall gets its light.
  PWallEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);
  // The light leaves the scene with the wall.
  ~PWallEntity() override;

  // Moves a push under way and the sliding kinds; only while the run is on.
  void Step();
  // Hit at its front fast: a push of one row over 1.0 s starts, unless one
  // runs or none is left.
  void Push();
  // Seconds since the wall was made.
  float GetAge() const;

  SDxLight* light;  // pushable walls only
  int kind;         // the item's subtype, 0..6
  int pushesAllowed;
  int pushesDone;
  bool moving;
  float moveTime;

private:
  // The light before the wall's front, on its column at 800 from the axis.
  void PlaceLight();
};
P_STATE(PWall_Global, PWallEntity, "");
P_STATE(PWall_Default, PWallEntity, "Default");
