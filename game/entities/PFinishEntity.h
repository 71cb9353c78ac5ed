// The finish line: eight shock-wave rings standing across the tube at the
// end of the finish row, one restarted every second, every third spinning.
// Their texture tells whether the finish is open (every target taken and
// the run not too slow). An open finish ends the run as won when the craft
// passes the end of the row; a closed one crashes the craft 10 units
// before it.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "game/PGameEntity.h"

class SDxPresetShockwave;

class PFinishEntity : public PItemEntity<PFinishEntity> {
public:
  enum { RINGS = 8 };

  PFinishEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item);
  // The rings leave the scene.
  ~PFinishEntity() override;

  void Step();
  // Reads the open condition again; on a change every ring takes the
  // texture of the new state.
  void Open();
  bool IsOpenNow() const;
  bool IsOpen() const { return open; }

  SArray<SDxPresetShockwave*> presets;
  int nextPulse;
  float pulseTime;
  float spin;
  bool open;
};
P_STATE(PFinish_Global, PFinishEntity, "");
P_STATE(PFinish_Default, PFinishEntity, "Default");
