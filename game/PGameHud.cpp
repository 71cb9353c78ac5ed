// The head-up display of a run: the mini-map, the counters, the centre
// messages, the dynamite and turbo panels, the target indicators, the
// lesson tips and night vision.
#include "core/Platform.h"

#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxParticle.h"
#include "engine/SDxShader.h"
#include "engine/SDxSprite.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/PGameHost.h"

#include <math.h>
#include <initializer_list>

namespace {

// Blinking every 0.2 s, half of it shown (hundredths of a second).
const int kBlinkPeriod = 20;

// The lesson tips by the craft's track position (bounds excluded), as
// indices of the tip textures.
const struct {
  float from, to;
  int tip;
} kTips[] = {
    {0, 5000, 0},           // gem
    {12000, 16000, 1},      // hidden gem
    {19000, 38000, 2},      // jumper
    {42000, 53000, 4},      // wall
    {58000, 71000, 8},      // mat
    {77000, 100000, 7},     // door
    {105000, 116000, 3},    // guard
    {118000, 132000, 6},    // mirror
    {137000, 149000, 5},    // enemy
    {155000, 173000, 9},    // end
};

// A picture for a sprite: the texture as one frame.
void ShowPicture(SDxSprite* sprite, SDxTexture* texture) {
  if (sprite && texture) sprite->SetTexture(texture, 1, nullptr, 1, -1, 0);
}

void SetShown(SDxSprite* sprite, bool shown) {
  if (sprite) sprite->SetVisible(shown);
}

void Blink(SDxSprite* sprite, bool on) {
  if (sprite) sprite->SetBlink(on ? kBlinkPeriod : 0, on ? kBlinkPeriod / 2 : 0);
}

// Whether the entity is still one of the array's (the map keeps pointers
// to entities that are gone).
template <class T>
T* Live(const SArray<T*>& array, const void* entity) {
  for (int i = 0; entity && i < array.GetCount(); ++i)
    if ((const SDxEntity*)array[i] == (const SDxEntity*)entity) return array[i];
  return nullptr;
}

}  // namespace

int PGame::MapColumnCell(int craftColumn, int column) {
  int d = ((column - craftColumn) % 16 + 16) % 16;
  if (d > 8) d -= 16;
  return d > -5 && d < 5 ? d + 4 : -1;
}

void PGame::UpdateMap(float z) {
  if (!ship) return;
  int r = (int)(z / kRowLength);
  int c0 = ship->GetColumn();
  auto set = [this](int cell, int line, SDxTexture* texture) {
    if (cell >= 0 && cell < 9 && mapCells[cell][line] && texture)
      mapCells[cell][line]->ReplaceTexture(texture);
  };
  for (int line = 0; line < 8; ++line) {
    for (int cell = 0; cell < 9; ++cell) set(cell, line, texHudCell);
    int row = r + 6 - line;
    if (row < 0 || row >= runRows.GetCount()) continue;
    for (MAPITEM* item = runRows[row]; item && item->row == row; item = item->next) {
      int cell = MapColumnCell(c0, item->column);
      SDxTexture* fill = item->type == ITEM_BLOCKER  ? texHudCellBlocker
                         : item->type == ITEM_FINISH ? texHudCellFinish
                         : item->type == ITEM_GUARD_DOOR ? texHudCellDoor
                                                         : nullptr;
      if (fill)
        for (int c = 0; c < 9; ++c) set(c, line, fill);
      if (item->type == ITEM_GUARD_DOOR) {
        PDoorEntity* door = Live(doors, item->entity);
        SDxTexture* gap = door && door->IsOpen() ? texHudCell : texHudCellDoor2;
        for (int c = item->column - 1; c <= item->column + 1; ++c) set(MapColumnCell(c0, c), line, gap);
        break;
      }
      switch (item->type) {
        case ITEM_BOX:
          set(cell, line, texHudCellBox);
          break;
        case ITEM_GEM: {
          PGemEntity* gem = Live(gems, item->entity);
          if (gem && !gem->IsCollected()) set(cell, line, texHudCellGem);
          break;
        }
        case ITEM_JUMPER:
          set(cell, line, texHudCellJumper);
          break;
        case ITEM_MINE:
          set(cell, line, texHudCellMine);
          break;
        case ITEM_WALL:
          set(cell, line, item->subtype >= 3 && item->subtype <= 5 ? texHudCellRoof : texHudCellWall);
          break;
      }
    }
  }
  set(4, 6, texHudCellShip);
}

void PGame::UpdateTips(float z) {
  if (!tipSprite || tipSprite->IsFading()) return;
  int wanted = -1;
  for (const auto& tip : kTips)
    if (tip.from < z && z < tip.to) wanted = tip.tip;
  if (wanted >= 0 && !tipShown) {
    ShowPicture(tipSprite, tipTextures[wanted]);
    tipShown = true;
    tipSprite->ResetAlpha();
    tipSprite->FadeAlpha(0, 255, 0, 0.5f, false, 0.0f);
  } else if (wanted < 0 && tipShown) {
    tipShown = false;
    tipSprite->FadeAlpha(255, 0, 0, 0.5f, true, 0.0f);
  }
}

void PGame::UpdateMessage() {
  if (!messageSprite || !dx) return;
  if (dx->IsPaused()) {
    ShowPicture(messageSprite, texMsgPause);
    messageSprite->ResetAlpha();
    messageSprite->SetVisible(true);
    return;
  }
  switch (state) {
    case 1:
    case 2:
      if (missedGems != 0) {
        ShowPicture(messageSprite, texMsgMissedGems);
        messageSprite->FadeAlpha(0, 255, -1, 1.0f, false, 0.0f);
      } else {
        messageSprite->SetVisible(false);
      }
      break;
    case 3:
    case 4: {
      bool timeOut = IsTimed() && AllTargetsCollected() && IsTooSlow();
      ShowPicture(messageSprite, state == 4 ? texMsgSuccess : timeOut ? texMsgTimeout
                                                                       : texMsgGameOver);
      messageSprite->FadeAlpha(0, 255, 0, 1.0f, false, 2.0f);
      break;
    }
    default:
      messageSprite->SetVisible(false);
      break;
  }
}

void PGame::ShowHud(bool show) {
  for (SDxSprite* sprite : {hudDistanceDigits, hudDistance, hudLifeDigits, hudLife, hudGem,
                            hudTargetsTakenDigits, hudTargetCountDigits, hudBestTime, hudTime,
                            mapFrame})
    SetShown(sprite, show);
  for (int i = 0; i < 5; ++i) {
    SetShown(hudBestTimeDigits[i], show);
    SetShown(hudTimeDigits[i], show);
  }
  for (int c = 0; c < 9; ++c)
    for (int line = 0; line < 8; ++line) SetShown(mapCells[c][line], show);
  bool timed = show && IsTimed();
  SetShown(hudQualification, timed);
  for (SDxSprite* sprite : hudQualificationDigits) SetShown(sprite, timed);
  if (!IsGhostUploadAllowed()) return;
  bool ranked = show && hudRankDigits && hudRankDigits->GetNumber() != 0;
  SetShown(hudRank, ranked);
  SetShown(hudRankDigits, ranked);
  bool rivals = show && GetRivalGhostCount() > 0;
  SetShown(hudPos, rivals);
  SetShown(hudPosDigits, rivals);
  SetShown(hudRivalTime, rivals);
  for (SDxSprite* sprite : hudRivalTimeDigits) SetShown(sprite, rivals);
}

int PGame::GetRivalGhostCount() const {
  if (!host || host->GetCellState(difficulty, world, level) != 3) return 0;
  int count = 0;
  for (int slot = 2; slot < GHOST_COUNT; ++slot) count += ghosts[slot].GetCount() > 0;
  return count;
}

void PGame::OnTargetCollected() {
  ++targetsTaken;
  if (hudTargetsTakenDigits) hudTargetsTakenDigits->SetNumber(targetsTaken, true);
  if (hudGemFlash) {
    hudGemFlash->ResetAlpha();
    Blink(hudGemFlash, true);
    hudGemFlash->SetVisible(true);
  }
  lastTargetTime = dx->GetTime();
  if (targetsTaken != targetCount) return;
  dx->PlaySound(SOUND_BIP_ALL_GEMS, false, 1.0f, 0.0f);
  SDxSprite* counts[2] = {hudTargetsTakenDigits, hudTargetCountDigits};
  SetDigitsTexture(counts, 2, texDigitsGreen);
  dx->FlashBrightness(8.0f, 0.25f);
  if (finishes.GetCount() > 0) finishes[0]->Open();
}

void PGame::DecrementLife(int kind) {
  --lives;
  if (lives >= 0) {
    if (hudLifeDigits) hudLifeDigits->SetNumber(lives, true);
  } else if (ship) {
    ship->Crash(kind, 0.0f);
  }
}

void PGame::ShowDynamiteHud(bool show) {
  // A panel shown afresh starts orange.
  if (show && hudDynamiteDigits && !hudDynamiteDigits->IsVisible() && texDigitsOrange)
    hudDynamiteDigits->ReplaceTexture(texDigitsOrange);
  SetShown(hudDynamite, show);
  SetShown(hudDynamiteDigits, show);
  PDynamiteEntity* stick = ship ? ship->GetHeldDynamite() : nullptr;
  if (stick && hudDynamiteDigits) {
    int seconds = (int)(stick->GetTimeLeft() + 1);
    hudDynamiteDigits->SetNumber(seconds, true);
    if (show && seconds < 6 && texDigitsRed) hudDynamiteDigits->ReplaceTexture(texDigitsRed);
  }
  if (show) {
    UpdateDynamiteSpark();
    return;
  }
  if (spotEmitter) spotEmitter->Stop();
  if (hudDynamiteIcon) {
    hudDynamiteIcon->ResetAlpha();
    hudDynamiteIcon->SetVisible(false);
  }
}

void PGame::UpdateDynamiteSpark() {
  if (!spotEmitter) return;
  if (!spotEmitter->IsEmitting()) {
    if (hudDynamiteIcon) hudDynamiteIcon->FadeAlpha(224, 64, -1, 0.5f, false, 0.0f);
    spotEmitter->Start(nullptr, 0.0f, 0.0f);
  }
  float t = dx->GetTime();
  spotEmitter->SetPositionXYZ(sinf(3 * t) * 70 + 869, cosf(3 * t) * 70 - 457, 0);
}

void PGame::ShowTurboHud(bool show, bool immediate) {
  SDxSprite* sprites[2] = {hudTurboIcon, hudTurboDigits};
  if (immediate) {
    for (SDxSprite* sprite : sprites) SetShown(sprite, show);
    for (SDxParticlePoint* emitter : sideEmitters)
      if (emitter) emitter->Reset();
    return;
  }
  // The panel counts as idle while it is shown: it is faded in when it
  // comes and out when it goes.
  bool shown = hudTurboIcon && hudTurboIcon->IsVisible();
  if (!show) {
    if (!shown) return;
    for (SDxSprite* sprite : sprites) {
      if (!sprite) continue;
      sprite->ResetAlpha();
      sprite->FadeAlpha(255, 0, 0, 1.0f, true, 0.0f);
    }
    if (hudTurboDigits) hudTurboDigits->SetNumber(0, true);
    for (SDxParticlePoint* emitter : sideEmitters)
      if (emitter) emitter->Stop();
  } else if (!shown) {
    for (SDxSprite* sprite : sprites) {
      if (!sprite) continue;
      sprite->ResetAlpha();
      sprite->FadeAlpha(0, 255, 0, 0.5f, false, 0.0f);
    }
    for (SDxParticlePoint* emitter : sideEmitters)
      if (emitter) emitter->Start(nullptr, 0.0f, 0.0f);
  } else if (ship) {
    float left = ship->GetTurboSecondsLeft();
    if (hudTurboDigits) hudTurboDigits->SetNumber((int)(left + 1), true);
    if (left < 2)
      for (SDxParticlePoint* emitter : sideEmitters)
        if (emitter) emitter->Stop();
  }
}

void PGame::PulseTarget(bool on) {
  if (!targetSprite) return;
  targetSprite->ResetAlpha();
  if (on) {
    targetSprite->FadeAlpha(0, 255, 0, 0.25f, false, 0.0f);
  } else {
    targetSprite->FadeAlpha(255, 0, 0, 0.5f, false, 0.0f);
  }
}

void PGame::ShowTargetIndicator(SDxEntityObj* entity) {
  if (!bossTargetSprite) return;
  if (!entity || !camera) {
    bossTargetSprite->SetVisible(false);
    return;
  }
  float x = 0, y = 0;
  camera->WorldToScreen(*entity->GetPosition(), &x, &y);
  if (bossTargetSprite->m_blinkPeriod == 0) Blink(bossTargetSprite, true);
  bossTargetSprite->SetVisible(true);
  bossTargetSprite->SetPositionXY(x, y);
}

void PGame::SetNightVision(bool on) {
  if (!dx) return;
  if (!on) {
    nightVisionTime = 0;
    SetEffects(&runEffects);
    return;
  }
  if (nightShader && radiusParam && nightShader->GetEffect())
    nightShader->GetEffect()->SetFloat(radiusParam, 1.0f);
  SetEffects(&nightEffects);
  dx->SetSceneAmbient(0.4f);
  dx->SetSceneTint(0.5f);
  nightVisionTime = dx->GetTime();
  nightVisionPhase = 0;
}
