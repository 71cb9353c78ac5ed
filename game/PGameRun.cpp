// The life of one run of a level: restart, the states and their changes,
// pause, the end at the finish and the per-frame step of game mode (keys,
// fade, night vision, times, the rolling boulder, the distance counter and
// the motion blur).
#include "core/Platform.h"

#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxGeometry.h"
#include "engine/SDxMesh.h"
#include "engine/SDxParticle.h"
#include "engine/SDxShader.h"
#include "engine/SDxShape.h"
#include "engine/SDxSound.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/PGameHost.h"
#include "game/PGhostUpload.h"

#include <float.h>
#include <math.h>
#include <initializer_list>

namespace {

const float kPi = 3.14159265f;
const float kFadeSeconds = 1.5f;
const float kBoulderStart = -16000.0f;
const float kBoulderGapLimit = 40000.0f;
const float kBoulderReach = 990.0f;    // the boulder's radius: it meets the craft there
const float kAlarmDistance = 5000.0f;  // the distance counter turns red below it
const float kNightVisionOpen = 15.0f;
const float kNightVisionClose = 10.0f;

// The ghost switches of the numpad keys: the slot (0: the names) and the
// overlay texts.
const struct {
  int key;
  int slot;
  const char* on;
  const char* off;
} kGhostKeys[] = {
    {VK_NUMPAD0, 1, "GHOST ENABLED", "GHOST DISABLED"},
    {VK_NUMPAD1, 2, "GHOST #1 ENABLED", "GHOST #1 DISABLED"},
    {VK_NUMPAD2, 3, "GHOST #2 ENABLED", "GHOST #2 DISABLED"},
    {VK_NUMPAD3, 4, "GHOST #3 ENABLED", "GHOST #3 DISABLED"},
    {VK_NUMPAD9, 0, "GHOST NAMES ENABLED", "GHOST NAMES DISABLED"},
};

// The menu page that Escape leaves a level for, by level.
enum { PAGE_MAIN = 1, PAGE_WORLD_MAP = 7, PAGE_END = 12 };

// The death image by the crash's kind (other kinds: the standard image),
// and the kinds whose flash is short.
const struct {
  int kind;
  SDxTexture* PGame::*image;
} kDeathImages[] = {
    {0, &PGame::texDeadDestroy},
    {PGame::ITEM_DYNAMITE, &PGame::texDeadDestroy},
    {PGame::ITEM_MINE, &PGame::texDeadDestroy},
    {PGame::ITEM_ARROW, &PGame::texDeadBullet},
    {PGame::ITEM_ENEMY, &PGame::texDeadBullet},
};
const int kShortFlashKinds[] = {0, PGame::ITEM_ARROW, PGame::ITEM_PISTON};

void Hide(SDxSprite* sprite) {
  if (sprite) sprite->SetVisible(false);
}

void SetShaderFloat(SDxShader* shader, SDxEffect::Handle parameter, float value) {
  if (shader && shader->GetEffect() && parameter) shader->GetEffect()->SetFloat(parameter, value);
}

// Deletes every entity of the array and empties it (delete false: only
// empties it, its entities go with another array).
template <class T>
void DeleteAll(SArray<T*>& array, bool remove) {
  if (remove) {
    for (int i = 0; i < array.GetCount(); ++i) delete array[i];
  }
  array.RemoveAll();
}

// Leaving a won run that counts: the game object's steps of the result and
// the upload. Not shown: the steps on the level's scene (message, frames,
// rivals) do nothing.
class RunUpload : public PGhostUpload {
public:
  RunUpload(PGame* game, bool shown) : m_game(game), m_shown(shown) {}
  void RecordResult() override {
    m_game->host->RecordResult(m_game->difficulty, m_game->world, m_game->level, m_game->runTime,
                               &m_game->ghosts[0]);
  }
  bool Upload(bool* reload) override {
    return m_game->host->UploadGhost(m_game->world, m_game->level, m_game->runTime,
                                     &m_game->ghosts[0], reload);
  }
  void ShowUploading() override {
    SDxSprite* message = m_shown ? m_game->messageSprite : nullptr;
    if (!message) return;
    message->SetTexture(m_game->texMsgUploading, 1, nullptr, 1, -1, 0);
    message->ResetAlpha();
    message->SetVisible(true);
  }
  void DrawFrame() override {
    if (m_shown) m_game->dx->Render();
  }
  void Wait(int ms) override { WaitMilliseconds(ms); }
  void ReloadRivals() override {
    if (m_shown) m_game->LoadRivalGhosts();
  }
  void ShowFailed() override {
    if (m_shown) m_game->dx->ShowOverlayText("UPLOAD FAILED", 6.0f);
  }

private:
  PGame* m_game;
  bool m_shown;
};

}  // namespace

// --- queries ---------------------------------------------------------------------------

float PGame::GetShipTrackPosition() const { return ship ? ship->GetTrackPosition() : 0.0f; }

float PGame::GetFirstPieceZ() const {
  return tubeSections.GetCount() > 0 ? tubeSections[0]->GetZ() : -FLT_MAX;
}

float PGame::GetRunTime() const {
  if (runEndTime > 0) return runEndTime - runStartTime;
  return dx ? dx->GetTimeSince(runStartTime) : 0.0f;
}

int PGame::GetRunTimeHundredths() const { return (int)(GetRunTime() * 100); }

bool PGame::IsTooSlow() const { return IsTimed() && GetRunTimeHundredths() > qualifyingTime; }

bool PGame::IsGhostUploadAllowed() const {
  return IsProgressionLevel() && host && host->IsOnline() &&
         difficulty == host->GetOnlineDifficulty();
}

void PGame::RemoveDynamite(PDynamiteEntity* stick) { dynamites.RemoveValue(stick); }

void PGame::ChangeMissedCount(bool decrease) {
  int before = missedGems;
  missedGems += decrease ? -1 : 1;
  if ((before == 0) != (missedGems == 0)) UpdateMessage();
}

void PGame::SetBoulderTarget(float z) {
  if (!boulderShape || !dx || z <= boulderShape->GetZ()) return;
  boulderMoveTime = dx->GetTime();
  boulderFromZ = boulderShape->GetZ();
  boulderToZ = z;
}

void PGame::SetEffects(SArray<SDxShader*>* effects) {
  if (dx) dx->SetScreenEffects(effects->GetCount() > 0 ? effects : nullptr);
}

void PGame::ShowTime(SDxSprite** digits, int hundredths) {
  const int parts[3] = {hundredths / 6000, (hundredths / 100) % 60, hundredths % 100};
  for (int i = 0; i < 3; ++i)
    if (digits[2 * i]) digits[2 * i]->SetNumber(parts[i], true);
}

void PGame::SetDigitsTexture(SDxSprite** digits, int count, SDxTexture* texture) {
  for (int i = 0; i < count; ++i)
    if (digits[i] && texture) digits[i]->ReplaceTexture(texture);
}

// --- restart ---------------------------------------------------------------------------

void PGame::DeleteEntities() {
  DeleteAll(arrows, true);
  DeleteAll(blockers, true);
  DeleteAll(boulders, true);
  DeleteAll(dynamites, true);
  DeleteAll(doors, true);
  DeleteAll(gems, true);
  DeleteAll(finishes, true);
  DeleteAll(fires, true);
  DeleteAll(forwards, true);
  DeleteAll(lasers, true);
  DeleteAll(lights, true);
  DeleteAll(mines, true);
  DeleteAll(platforms, true);
  DeleteAll(turbos, true);
  DeleteAll(enemies, false);
  DeleteAll(mirrors, false);
  DeleteAll(wagons, false);
}

void PGame::RestartGhosts() {
  ghostSampleIndex = 0;
  ghosts[0].Clear();
  const D3DXVECTOR3 origin(0, 0, 0);
  for (int slot = 1; slot < GHOST_COUNT; ++slot) {
    SDxParticlePoint* emitter = ghostEmitters[slot];
    if (emitter) {
      emitter->SetVisible(false);
      if (ghosts[slot].GetCount() > 0) {
        emitter->Start(&origin, -1.0f, 0.0f);
      } else {
        emitter->Stop();
      }
    }
    if (slot >= 2 && ghostLabels[slot]) {
      ghostLabels[slot]->SetActive(false);
      ghostLabels[slot]->SetText(ghosts[slot].name.GetText(), false);
    }
  }
}

void PGame::Restart() {
  if (!dx) return;
  SetState(0);
  dx->SetSceneFlag(false);
  if (boss) boss->DeleteFlies();
  boss = nullptr;
  DeleteEntities();

  dx->KillAllTimers();
  if (camera) {
    camera->StopShake();
    camera->SetFieldOfView(1.2f);
    camera->SetPositionXYZ(0, 0, 0);
    camera->SetRotation(kPi, 0, 0);
  }
  dx->StopAllSounds(nullptr, 0.0f);
  dx->ResumeSounds(true);
  dx->ResetInput();
  dx->SetSceneTint(0.5f);
  dx->SetSceneAmbient(IsLessonLevel() ? 0.6f : 0.4f);
  dx->FlashBrightness(0.0f, 0.0f);

  for (SDxSprite* sprite : {deathSprite, targetSprite, bossTargetSprite, messageSprite}) Hide(sprite);
  SetDigitsTexture(hudTimeDigits, 5, texDigitsWhite);
  if (hudGemFlash) {
    hudGemFlash->ResetAlpha();
    hudGemFlash->SetBlink(0, 0);
    hudGemFlash->SetVisible(false);
  }
  lastTargetTime = 0;
  ShowHud(false);
  ShowDynamiteHud(false);
  ShowTurboHud(false, true);
  if (tipSprite) {
    tipSprite->ResetAlpha();
    tipSprite->SetVisible(false);
  }
  tipShown = false;

  ResetTrack();
  CopyMapForRun();
  RestartGhosts();
  if (boulderShape) {
    boulderShape->SetZ(kBoulderStart);
    boulderShape->SetTexture(texBoulder);
  }
  if (ship) ship->Reset();

  dx->PlaySound(SOUND_BOULDER, false, 0.0f, 0.0f);
  dx->PlaySound(SOUND_MOVE, false, 0.0f, 0.0f);
  if (SDxSound* voice = dx->GetSound(SOUND_VOICE_START)) voice->SetReserved(0);

  success = false;
  nextRow = 0;
  crashAngle = boulderMoveTime = boulderFromZ = boulderToZ = 0;
  targetsTaken = missedGems = 0;
  lives = levelLives;
  if (hudLifeDigits) hudLifeDigits->SetNumber(lives, true);
  if (hudTargetsTakenDigits) hudTargetsTakenDigits->SetNumber(0, true);
  SDxSprite* counts[2] = {hudTargetsTakenDigits, hudTargetCountDigits};
  SetDigitsTexture(counts, 2, texDigitsWhite);
  nightVisionTime = 0;
  runTime = 0;
  lightColorIndex = -1;

  if (IsCentreLevel() && bossMesh && platforms.GetCount() < MAX_PLATFORMS) {
    SDxMesh* mesh = Instance(bossMesh);
    if (mesh) {
      boss = new PBossEntity(mesh->GetLayer(), mesh);
      platforms.Add(boss);
    }
  }
  SetState(1);
}

// --- states ------------------------------------------------------------------------------

void PGame::SetState(int newState) {
  if (!dx) return;
  LeaveState(newState);
  state = newState;
  stateTime = dx->GetTime();
  EnterState();
}

void PGame::LeaveState(int newState) {
  switch (state) {
    case 1:
      if (!IsLessonLevel() && newState != 0) dx->SetRumble(0.25f, 0.0f, 0.5f);
      break;
    case 2:
      runEndTime = dx->GetTime();
      Hide(hudDistanceDigits);
      Hide(hudDistance);
      SetNightVision(false);
      ShowTurboHud(false, false);
      ShowDynamiteHud(false);
      Hide(tipSprite);
      break;
    case 4:
      if (success && IsProgressionLevel()) RecordAndUpload(true, true);
      break;
  }
}

void PGame::RecordAndUpload(bool upload, bool shown) {
  if (!host) return;
  RunUpload steps(this, shown);
  if (upload) {
    steps.Run(IsGhostUploadAllowed());
  } else {
    steps.RecordResult();
  }
}

void PGame::EnterState() {
  switch (state) {
    case 1:
      dx->SetRumble(0.0f, 0.0f, 0.0f);
      SetEffects(&startEffects);
      Update(0.0f);
      break;
    case 2:
      SetEffects(&runEffects);
      if (!IsLessonLevel()) dx->PlaySound(SOUND_BIP_START, false, 1.0f, 0.0f);
      if (boss) boss->NextPhase();
      if (host) host->RestartLevelMusic();
      ShowHud(true);
      runStartTime = dx->GetTime();
      runEndTime = 0;
      break;
    case 3: {
      if (boulderShape) boulderShape->SetTexture(nullptr);
      crashAngle = 3.0f;
      int kind = ship ? ship->GetDeathKind() : 0;
      SDxTexture* image = texDeadStandard;
      for (const auto& entry : kDeathImages)
        if (entry.kind == kind) image = this->*entry.image;
      float flash = 0.5f;
      for (int shortKind : kShortFlashKinds)
        if (shortKind == kind) flash = 0.25f;
      if (deathSprite) {
        if (image) deathSprite->SetTexture(image, 1, nullptr, 1, -1, 0);
        deathSprite->SetVisible(true);
      }
      dx->FlashBrightness(16.0f, flash);
      Hide(targetSprite);
      UpdateMessage();
      dx->SetSceneTintRGB(0.5f, 0.0f, 0.0f);
      break;
    }
    case 4:
      dx->SetRumble(0.5f, 0.0f, 0.25f);
      if (ship) ship->StopAtFinish();
      if (success) {
        SetDigitsTexture(hudTimeDigits, 5, texDigitsGreen);
        if (bestTime == 0 || runTime < bestTime) {
          bestTime = runTime;
          ShowTime(hudBestTimeDigits, bestTime);
          SetDigitsTexture(hudBestTimeDigits, 5, texDigitsGreen);
          ghosts[1] = ghosts[0];
        }
      } else {
        SetDigitsTexture(hudTimeDigits, 5, texDigitsRed);
      }
      dx->PlaySound(SOUND_END, false, 1.0f, 0.0f);
      if (success) dx->PlaySound(SOUND_VOICE_SUCCESS, false, 1.0f, 0.0f);
      Hide(targetSprite);
      UpdateMessage();
      break;
  }
}

void PGame::TogglePause() {
  if (!dx || (state != 1 && state != 2)) return;
  if (dx->IsPaused()) {
    dx->ResumeSounds(true);
    UpdateMessage();
    if (state == 1) {
      SetEffects(&startEffects);
    } else if (!IsNightVisionOn()) {
      SetEffects(&runEffects);
    }
  } else {
    dx->SetRumble(0.0f, 0.0f, 0.0f);
    dx->PauseSounds(true);
    UpdateMessage();
    if (!IsNightVisionOn()) SetEffects(&pauseEffects);
  }
}

void PGame::Finish() {
  if (state != 2) return;
  success = false;
  if (AllTargetsCollected()) success = !IsTooSlow();
  if (success) runTime = GetRunTimeHundredths();
  if (success && !wonOnce) wonOnce = true;
  SetState(4);
}

// --- frame step --------------------------------------------------------------------------

bool PGame::HandleKeys() {
  if (dx->IsKeyPressedNoRepeat(VK_ESCAPE) || dx->IsBackPressed()) {
    bool wonCentre = IsCentreLevel() && success;
    SetState(0);
    int page = PAGE_WORLD_MAP, toWorld = -1, toLevel = -1;
    if (IsLevel33()) {
      page = PAGE_MAIN;
    } else if (IsLessonLevel()) {
      toWorld = toLevel = 0;
    } else if (wonCentre) {
      page = PAGE_END;
    }
    // The application leaves the level: nothing of it is used afterwards.
    if (host) host->EnterMenu(page, toWorld, toLevel);
    return true;
  }
  if (dx->IsKeyPressedNoRepeat(VK_RETURN) || dx->IsStartPressed() ||
      (dx->IsButtonPressed(1) && (state != 2 || missedGems != 0))) {
    Restart();
    return true;
  }
  if (dx->IsButtonPressed(3)) TogglePause();
  for (const auto& ghostKey : kGhostKeys) {
    if (!dx->IsKeyPressedNoRepeat(ghostKey.key) || !host) continue;
    bool shown;
    if (ghostKey.slot == 0) {
      shown = !host->AreGhostNamesShown();
      host->ShowGhostNames(shown);
    } else {
      shown = !host->IsGhostShown(ghostKey.slot);
      host->ShowGhost(ghostKey.slot, shown);
    }
    dx->ShowOverlayText(shown ? ghostKey.on : ghostKey.off, 3.0f);
  }
  return false;
}

void PGame::Frame() {
  if (!dx || !ship) return;
  if (HandleKeys()) return;
  float now = dx->GetTime();

  if (state == 1 && fadeShader)
    fadeShader->SetFloat("g_alpha", CosineEase(dx->GetProgress(stateTime, kFadeSeconds)));

  if (nightVisionTime != 0) {
    if (nightVisionPhase == 0) {
      if (now - nightVisionTime > kNightVisionOpen) {
        nightVisionPhase = 1;
        nightVisionTime = now;
      }
    } else {
      float radius = 1 - dx->GetProgress(nightVisionTime, kNightVisionClose);
      SetShaderFloat(nightShader, radiusParam, radius == 0 ? FLT_EPSILON : radius);
    }
  }

  ShowTime(hudTimeDigits, GetRunTimeHundredths());
  if (ship->GetDeathKind() == 0) StepBoulder();
  if (ship->IsAlive()) StepDistance();

  if (lastTargetTime != 0 && hudGemFlash) {
    float since = now - lastTargetTime;
    if (since > 1.5f) {
      hudGemFlash->SetBlink(0, 0);
      hudGemFlash->FadeAlpha(255, 0, 0, 0.5f, true, 0.0f);
      lastTargetTime = 0;
    } else if (since > 0.5f) {
      hudGemFlash->SetBlink(0, 0);
    }
  }

  float speed = ship->GetSpeed();
  SetShaderFloat(speedShader, speedParam, speed < 2250 ? 0.0f : 2 * (ship->GetSpeedRatio() - 0.5f));
  SetShaderFloat(speedShader, coefParam, ship->HasTurbo() ? 0.9f : 0.8f);
}

void PGame::StepBoulder() {
  if (!boulderShape) return;
  float dt = dx->GetElapsedTime();
  float craftZ = ship->GetTrackPosition();
  crashAngle += 2 * dt;
  boulderShape->SetRotation(0, 0, kPi - ship->GetAngle());
  boulderShape->RotateLocal(0, crashAngle, 0);

  float advance = dt * (difficulty == 0 ? 1000.0f : 2000.0f);
  if ((ship->IsAlive() && boss && boss->phase == 1) || IsLessonLevel()) advance = 0;
  float z = boulderShape->GetZ();
  if (boulderMoveTime == 0) {
    z += advance;
    if (craftZ - z > kBoulderGapLimit) z = craftZ - kBoulderGapLimit;
  } else {
    float p = dx->GetProgress(boulderMoveTime, 1.0f);
    z = InterpolateEased(p, boulderFromZ, boulderToZ, true, true);
    if (p >= 1) boulderMoveTime = 0;
  }
  boulderShape->SetZ(z);
  float distance = fabsf(craftZ - z);
  dx->SetSoundVolume(SOUND_BOULDER, CosineEase(1 - ClampFloat(distance / 14000, 0, 1)));

  if (ship->IsAlive() && z + kBoulderReach >= craftZ) {
    ship->Crash(0, 0.0f);
    CullPassed(FLT_MAX);
  }
}

void PGame::StepDistance() {
  float d = fabsf(ship->GetTrackPosition() - (boulderShape ? boulderShape->GetZ() : 0)) -
            kBoulderReach;
  if (hudDistanceDigits) hudDistanceDigits->SetNumber((int)(d / 1000 * 25), true);
  bool closeBy = d < kAlarmDistance;
  if (!dx->IsPaused()) {
    if (closeBy) {
      dx->PlaySound(SOUND_ALARM, true, 1.0f, 0.0f);
    } else {
      dx->StopSound(SOUND_ALARM, 0.5f);
    }
  }
  SDxTexture* digits = closeBy ? texDigitsRed : texDigitsWhite;
  if (hudDistanceDigits && digits) hudDistanceDigits->ReplaceTexture(digits);
}
