#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxPreset.h"
#include "game/PGame.h"
#include "game/entities/PFinishEntity.h"
#include "game/entities/PShipEntity.h"

namespace {

const float kPi = 3.14159265f;
const float kPulseInterval = 1.0f;
const float kPulseDuration = 5.0f;
// A closed finish crashes the craft this far before the end of its row.
const float kClosedMargin = 10.0f;

}  // namespace

PFinishEntity::PFinishEntity(SDxLayer* layer, SDxObject* object, MAPITEM* mapItem)
    : PItemEntity(PGame::ITEM_FINISH, PFinish_Default::Instance(), PFinish_Global::Instance(),
                  layer, object, mapItem),
      nextPulse(0),
      pulseTime(0),
      spin(0),
      open(IsOpenNow()) {
  CullByPosition(object);
  SDxLayer* first = GetEngine()->GetFirstLayer();
  SDxTexture* texture = g_game ? g_game->GetShockwaveTexture(open ? 1 : 0) : nullptr;
  float end = (mapItem ? mapItem->row * PGame::kRowLength : 0) + PGame::kRowLength;
  D3DXMATRIX across;
  D3DXMatrixRotationX(&across, kPi / 2);
  for (int i = 0; i < RINGS && first; ++i) {
    SDxPresetShockwave* ring = static_cast<SDxPresetShockwave*>(first->AddPreset(texture, 2000, 1000, -1));
    if (!ring) continue;
    ring->m_targetMask = 2;
    ring->SetPositionVector(D3DXVECTOR3(0, 0, end));
    ring->SetMatrix(across);
    presets.Add(ring);
  }
}

PFinishEntity::~PFinishEntity() {
  for (int i = 0; i < presets.GetCount(); ++i) GetEngine()->RemoveItem(presets[i]);
}

bool PFinishEntity::IsOpenNow() const {
  return g_game && g_game->AllTargetsCollected() && !g_game->IsTooSlow();
}

void PFinishEntity::Open() {
  bool now = IsOpenNow();
  if (now == open) return;
  open = now;
  SDxTexture* texture = g_game ? g_game->GetShockwaveTexture(open ? 1 : 0) : nullptr;
  for (int i = 0; i < presets.GetCount(); ++i) presets[i]->SetTexture(texture);
}

void PFinishEntity::Step() {
  SDx* dx = GetEngine();
  if (dx->GetTimeSince(pulseTime) > kPulseInterval && presets.GetCount() > 0) {
    pulseTime = dx->GetTime();
    presets[nextPulse]->SetPosition(nullptr, kPulseDuration);
    nextPulse = (nextPulse + 1) % presets.GetCount();
  }
  spin += dx->GetElapsedTime() * kPi;
  D3DXMATRIX turn;
  D3DXMatrixRotationX(&turn, spin);
  for (int i = 0; i < presets.GetCount(); i += 3) presets[i]->SetMatrix(turn);

  PShipEntity* ship = g_game ? g_game->GetShip() : nullptr;
  if (!ship || g_game->GetState() != 2) return;
  float end = GetZ() + PGame::kRowLength;
  float z = ship->GetTrackPosition();
  if (!open && z > end - kClosedMargin) {
    ship->Crash(PGame::ITEM_FINISH, 1.0f);
  } else if (open && z > end) {
    g_game->Finish();
  }
  Open();
}
