// The ghosts of a run: the craft's path recorded into slot 0, the player's
// own ghost and the rivals' played back beside the craft with their glows
// and name labels, the player's place among the rivals, and the rivals'
// ghosts fetched from the game's server with the time to beat and the
// player's rank.
#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxParticle.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/PGameHost.h"
#include "game/PGhostReplay.h"

namespace {

const int kCellDone = 3;
// A label's rectangle around the ghost's point on the screen, in percent
// of the screen: its half width and its height above the point.
const float kLabelHalfWidth = 1.0f;
const float kLabelHeight = 5.0f;

}  // namespace

void PGame::UpdateGhosts() {
  if (!ship) return;
  bool shown[GHOST_COUNT] = {false};
  for (int slot = 1; slot < GHOST_COUNT; ++slot) shown[slot] = host && host->IsGhostShown(slot);
  bool names = host && host->AreGhostNamesShown();

  PGhostReplay replay;
  replay.sampleIndex = ghostSampleIndex;
  float z = GetShipTrackPosition();
  // From 180 s on nothing is recorded, no ghost moves and the place stays.
  if (!replay.Step(GetRunTime(), ship->GetPositionRef(), z, ghosts, shown, names)) return;
  ghostSampleIndex = replay.sampleIndex;

  for (int slot = 1; slot < GHOST_COUNT; ++slot) {
    const PGhostReplay::Slot& step = replay.slots[slot];
    if (SDxParticlePoint* emitter = ghostEmitters[slot]) {
      if (step.onPath) emitter->SetPosition(step.position);
      emitter->SetVisible(step.shown);
    }
    SDxText* label = ghostLabels[slot];
    if (!label) continue;
    if (step.labelShown && camera) {
      float x = 0, y = 0;
      camera->WorldToScreen(step.position, &x, &y);
      label->SetRect(x - kLabelHalfWidth, y - kLabelHeight, x + kLabelHalfWidth, y);
      label->SetActive(true);
    } else {
      label->SetActive(false);
    }
  }
  if (hudPosDigits) hudPosDigits->SetNumber(replay.place, true);
}

void PGame::LoadRivalGhosts() {
  for (int slot = PGhostReplay::FIRST_RIVAL; slot < GHOST_COUNT; ++slot) ghosts[slot].Clear();
  // Only a level that counts online, and only once the player has done it.
  if (!IsGhostUploadAllowed() || host->GetCellState(difficulty, world, level) != kCellDone) return;
  host->LoadLevelHiscores(world, level);
  host->DownloadGhosts(world, level, &ghosts[2], &ghosts[3], &ghosts[4]);
  if (hudRankDigits) hudRankDigits->SetNumber(host->GetPlayerRank(world, level), true);
  // The time to beat: the first rival of the answer, which stands in the
  // highest slot that holds a path.
  int toBeat = 0;
  for (int slot = GHOST_COUNT - 1; slot >= PGhostReplay::FIRST_RIVAL; --slot) {
    if (ghosts[slot].GetCount() > 0) {
      toBeat = ghosts[slot].time;
      break;
    }
  }
  ShowTime(hudRivalTimeDigits, toBeat);
}
