// Track streaming: the tube kept ahead of the craft, the rows that come
// within reach made into entities through a cursor over the attempt's map,
// the entities far behind the craft removed and the mini-map and lesson
// tips brought up to date; lasers made during play.
#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShape.h"
#include "game/PEntities.h"
#include "game/PGame.h"

#include <math.h>

namespace {

// A laser's sound by the type code of what fired it: a boss fly or an
// enemy, the craft.
const struct {
  int owner;
  int channel;
} kLaserSounds[] = {{PGame::ITEM_BOSS_FLY, 38}, {PGame::ITEM_ENEMY, 38}, {PGame::ITEM_CRAFT, 37}};

// Drops every entity of the array farther than the removal distance behind
// z (not the boss); flags it for deletion when remove is set.
template <class T>
void CullArray(SArray<T*>& array, float z, bool remove, const SDxEntity* boss) {
  for (int i = 0; i < array.GetCount();) {
    T* entity = array[i];
    if ((const SDxEntity*)entity != boss && z > entity->GetZ() + PGame::kCullDistance) {
      if (remove) entity->Remove();
      array.RemoveAt(i, 1);
    } else {
      ++i;
    }
  }
}

}  // namespace

void PGame::ResetTrack() {
  nextRow = 0;
  for (int i = 0; i < tubeSections.GetCount(); ++i) {
    tubeSections[i]->SetZ(i * kTubeSpacing - LOOK_AHEAD_ROWS * kRowLength);
    tubeSections[i]->SetTag(i);
  }
  if (endCap && tubeSections.GetCount() > 0) endCap->SetZ(tubeSections.GetLast()->GetZ() + 1000);
}

void PGame::Update(float z) {
  // Tube recycling: a section more than 17000 behind goes to the front.
  while (tubeSections.GetCount() > 0 &&
         z > tubeSections[0]->GetZ() + LOOK_AHEAD_ROWS * kRowLength + kRowLength) {
    SDxShape* section = tubeSections[0];
    section->SetZ(tubeSections.GetLast()->GetZ() + kTubeSpacing);
    if (endCap) endCap->SetZ(section->GetZ() + 1000);
    tubeSections.Move(0, -1, 1);
  }

  // Spawning: rows below z / 1000 + 16, two more after each sliding wall.
  int row = (int)(z / kRowLength);
  int extra = 0;
  for (;;) {
    while (nextRow < runItems.GetCount() && row + LOOK_AHEAD_ROWS > runItems[nextRow]->row) {
      MAPITEM* item = runItems[nextRow++];
      CreateEntity(item);
      if (item->type == ITEM_WALL && (item->subtype == 4 || item->subtype == 5))
        extra = SLIDE_EXTRA_ROWS;
    }
    if (extra == 0) break;
    ++row;
    --extra;
  }

  CullPassed(z);
  UpdateMap(z);
  UpdateTips(z);
  if (IsRunning()) UpdateGhosts();
}

void PGame::CullPassed(float z) {
  const SDxEntity* b = (const SDxEntity*)boss;
  CullArray(arrows, z, true, b);
  CullArray(blockers, z, true, b);
  CullArray(boulders, z, true, b);
  CullArray(dynamites, z, true, b);
  CullArray(doors, z, true, b);
  CullArray(enemies, z, false, b);
  CullArray(finishes, z, true, b);
  CullArray(fires, z, true, b);
  CullArray(forwards, z, true, b);
  CullArray(gems, z, true, b);
  CullArray(lights, z, true, b);
  CullArray(mines, z, true, b);
  CullArray(mirrors, z, false, b);
  CullArray(platforms, z, true, b);
  CullArray(turbos, z, true, b);
  CullArray(wagons, z, false, b);
}

PLaserEntity* PGame::FireLaser(int ownerType, const D3DXVECTOR3* origin, const int* motionKind,
                               const D3DXVECTOR3* direction) {
  SDxMesh* mesh = Instance(dummyMesh);
  if (!mesh) return nullptr;
  PLaserEntity* laser =
      new PLaserEntity(mesh->GetLayer(), mesh, ownerType, origin, motionKind, direction);
  AddLaser(laser);
  laser->ChangeState(PLaser_Launch::Instance(), 0);
  for (const auto& sound : kLaserSounds) {
    if (sound.owner == ownerType) dx->PlaySound(sound.channel, false, 0.35f, 0.0f);
  }
  return laser;
}

bool PGame::ProbePlatforms(PPlatformEntity** hit, SDxTriangle* triangle, const D3DXVECTOR3& p,
                           float radius) {
  bool found = false;
  const D3DXVECTOR3 axis(0, 0, p.z);
  for (int i = 0; i < platforms.GetCount(); ++i) {
    PPlatformEntity* platform = platforms[i];
    D3DXMATRIX inverse;
    float scale = platform->GetScale();
    if (fabsf(platform->GetZ() - p.z) > 2000 || scale <= 0 || !platform->GetInverseWorld(&inverse))
      continue;
    D3DXVECTOR3 center, from;
    D3DXVec3TransformCoord(&center, &p, &inverse);
    D3DXVec3TransformCoord(&from, &axis, &inverse);
    const D3DXVECTOR3* c = platform->corners;
    SDxTriangle tops[2];
    tops[0].Set(c[6], c[4], c[7]);
    tops[1].Set(c[4], c[5], c[7]);
    for (SDxTriangle& top : tops) {
      if (!SphereOverlapsTriangle(top, center, radius / scale, nullptr, nullptr)) continue;
      found = true;
      *hit = platform;
      *triangle = top;
      triangle->Transform(*platform->GetWorldMatrix());
      float along = 0;
      if (RayHitsTriangle(top, from, center - from, false, nullptr, nullptr, &along) &&
          along <= 1.0f)
        return true;
    }
  }
  return found;
}

void PGame::AddLaser(PLaserEntity* laser) { lasers.InsertSorted(laser); }

void PGame::RemoveLaser(PLaserEntity* laser) { lasers.RemoveSortedValue(laser); }

bool PGame::OnTimer(int) { return true; }
