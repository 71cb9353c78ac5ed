// A mirror standing in the tube ('7', '9', '1', '3', 'l', 'r', 'f', 'b':
// kinds 0 to 7). It never moves; it turns the craft's laser bolts that meet
// it by a table of its kind and the bolt's motion, and stops the bolts that
// the table does not turn.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PLaserEntity;
struct SDxPickQuery;

class PMirrorEntity : public PGameEntity<PMirrorEntity, PPlatformEntity> {
public:
  PMirrorEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // Whether the mirror took the bolt whose last step the query holds:
  // turned it (on its first turn the bolt is then put at the mirror's
  // centre) or, for a motion it does not turn, exploded it 20 before its
  // face. False when its pick misses the step.
  bool Reflect(PLaserEntity* bolt, const SDxPickQuery& query);
  int mirrorKind;
};
P_STATE(PMirror_Global, PMirrorEntity, "");
P_STATE(PMirror_Default, PMirrorEntity, "Default");
