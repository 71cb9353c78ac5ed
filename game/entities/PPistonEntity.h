// A ram in one cell of the tube that shoots out toward the oncoming craft
// and pulls back, over and over while the run is on: it waits 1.0 s at
// rest (Default), shoots 940 toward lower z (Activate: accelerating by
// 7000 per second squared up to 3000) and returns (PullBack: by 400 up to
// 3000). A craft that meets it while it shoots out crashes; the contact
// test puts it back to Default where it stands. Outside a run a stroke
// under way ends, but no new one starts.
#pragma once

#include "core/Platform.h"
#include "game/PGameEntity.h"

class PPistonEntity : public PGameEntity<PPistonEntity, PPlatformEntity> {
public:
  // The corner table of the piston's shape; at rest 995 past its row's
  // start.
  PPistonEntity(SDxLayer* layer, SDxObject* object, MAPITEM* item, const D3DXVECTOR3* corners);

  // Neither shooting out nor pulling back.
  bool IsIdle() const;
  // Shooting out: the only time it crashes the craft.
  bool IsActive() const;
  // Shoots out when idle and the run is on.
  void TryActivate();
  // Moves the ram by dt x speed toward the end (lower z when the end lies
  // below), the speed growing by dt x acceleration up to 3000; true, with
  // the ram at the end, once it gets there.
  bool MoveToward(float end, float acceleration);
  // 1 - distance to the craft / reach, when above 0; else 0.
  float VolumeWithin(float reach) const;

  float speed;
  float extendedZ;
  float restZ;
};

P_STATE(PPiston_Global, PPistonEntity, "");

class PPiston_Default : public PState<PPistonEntity> {
public:
  PPiston_Default() : PState<PPistonEntity>("Default") {}
  static PPiston_Default* Instance() { return StateInstance<PPiston_Default>(); }
  // After 1.0 s in the state, while the run is on, it shoots out.
  void Execute(PPistonEntity* piston) override;
};

class PPiston_Activate : public PState<PPistonEntity> {
public:
  PPiston_Activate() : PState<PPistonEntity>("Activate") {}
  static PPiston_Activate* Instance() { return StateInstance<PPiston_Activate>(); }
  // The activation sound, heard up to 4000 away; from standstill.
  void Enter(PPistonEntity* piston, SDxState<PPistonEntity>*, int32_t) override;
  void Execute(PPistonEntity* piston) override;
};

class PPiston_PullBack : public PState<PPistonEntity> {
public:
  PPiston_PullBack() : PState<PPistonEntity>("PullBack") {}
  static PPiston_PullBack* Instance() { return StateInstance<PPiston_PullBack>(); }
  // The pull-back sound, heard up to 8000 away; from standstill.
  void Enter(PPistonEntity* piston, SDxState<PPistonEntity>*, int32_t) override;
  void Execute(PPistonEntity* piston) override;
};
