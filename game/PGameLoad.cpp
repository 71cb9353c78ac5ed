// Level loading: the level's sounds under their fixed channel numbers, its
// screen effects, textures (the theme's among them), ghost name texts and
// meshes, then the level text; and the unload that gives them back.
#include "core/Platform.h"

#include "core/SStringArray.h"
#include "core/Utility.h"
#include "engine/SDx.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxMesh.h"
#include "engine/SDxParticle.h"
#include "engine/SDxShader.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "engine/SDxShape.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "game/PGameHost.h"

#include <float.h>

namespace {

const float kPi = 3.14159265f;

struct SoundEntry {
  const char* file;
  bool loop;
  int voices;
};

// The level's sounds; a sound's channel number is its place here.
constexpr SoundEntry kSounds[] = {
    {"accelerate.wav", false, 1},
    {"alarm.wav", true, 1},
    {"bip_allgems.wav", false, 1},
    {"bip_dynamite.wav", true, 1},
    {"bip_gem.wav", false, 3},
    {"bip_start.wav", false, 1},
    {"bip_target.wav", true, 1},
    {"blood.wav", false, 1},
    {"boss_move.wav", false, 1},
    {"boulder.wav", true, 1},
    {"bounce_gem.wav", false, 1},
    {"bounce_ground.wav", false, 1},
    {"bounce_ground2.wav", false, 1},
    {"bounce_laser.wav", false, 1},
    {"bounce_platform.wav", false, 1},
    {"bounce_wallfront.wav", false, 1},
    {"bounce_wallside.wav", false, 1},
    {"box.wav", false, 4},
    {"brake.wav", false, 1},
    {"catchdynamite.wav", false, 1},
    {"decelerate.wav", false, 1},
    {"die.wav", false, 1},
    {"door.wav", false, 1},
    {"dynamite.wav", false, 1},
    {"electricity.wav", true, 2},
    {"end.wav", false, 1},
    {"explosion_arrow.wav", false, 4},
    {"explosion_boss.wav", false, 1},
    {"explosion_dynamite.wav", false, 1},
    {"explosion_enemy.wav", false, 4},
    {"explosion_gem.wav", false, 1},
    {"explosion_laser.wav", false, 8},
    {"explosion_mine.wav", false, 1},
    {"fan.wav", true, 8},
    {"fire.wav", true, 8},
    {"jump_jump.wav", false, 1},
    {"jump_slide.wav", false, 1},
    {"laser.wav", false, 4},
    {"laser_enemy.wav", false, 2},
    {"mirror.wav", false, 1},
    {"move.wav", true, 1},
    {"newgem.wav", false, 1},
    {"piston_activate.wav", false, 4},
    {"piston_pullback.wav", false, 4},
    {"prelaser.wav", false, 1},
    {"pushwall.wav", false, 1},
    {"slide.wav", false, 1},
    {"turbo.wav", false, 1},
    {"voice_gameover0.wav", false, 1},
    {"voice_gameover1.wav", false, 1},
    {"voice_gameover2.wav", false, 1},
    {"voice_gameover3.wav", false, 1},
    {"voice_gameover4.wav", false, 1},
    {"voice_success.wav", false, 1},
    {"voice_start.wav", false, 1},
    {"wagon.wav", true, 1},
    {"wind.wav", false, 1},
};
static_assert(sizeof(kSounds) / sizeof(kSounds[0]) == PGame::SOUND_COUNT, "57 level sounds");

constexpr bool SameText(const char* a, const char* b) {
  return *a == *b && (*a == 0 || SameText(a + 1, b + 1));
}
// The channel names of the game object follow the table.
static_assert(SameText(kSounds[PGame::SOUND_BOULDER].file, "boulder.wav") &&
                  SameText(kSounds[PGame::SOUND_MOVE].file, "move.wav") &&
                  SameText(kSounds[PGame::SOUND_TURBO].file, "turbo.wav") &&
                  SameText(kSounds[PGame::SOUND_VOICE_GAME_OVER + 4].file, "voice_gameover4.wav") &&
                  SameText(kSounds[PGame::SOUND_VOICE_START].file, "voice_start.wav") &&
                  SameText(kSounds[PGame::SOUND_WIND].file, "wind.wav"),
              "sound channels in load order");

typedef SDxTexture* PGame::*TextureMember;

// Which levels load a texture.
enum { ON_EVERY_LEVEL, ON_CENTRE_LEVEL, ON_LESSON_LEVEL };

struct TextureEntry {
  TextureMember member;  // null: the next tip texture
  const char* file;
  int option;
  int when;
};

// Every level's textures in load order.
const TextureEntry kTextures[] = {
    {&PGame::texDark, "dark.jpg", 0, ON_EVERY_LEVEL},
    {&PGame::texMsgPause, "msg_pause.png", 1, ON_EVERY_LEVEL},
    {&PGame::texMsgGameOver, "msg_gameover.png", 1, ON_EVERY_LEVEL},
    {&PGame::texMsgTimeout, "msg_timeout.png", 1, ON_EVERY_LEVEL},
    {&PGame::texMsgSuccess, "msg_success.png", 1, ON_EVERY_LEVEL},
    {&PGame::texMsgMissedGems, "msg_missedgems.png", 1, ON_EVERY_LEVEL},
    {&PGame::texMsgUploading, "msg_uploading.png", 1, ON_EVERY_LEVEL},
    {&PGame::texDigitsGreen, "digits_green.png", 1, ON_EVERY_LEVEL},
    {&PGame::texDigitsOrange, "digits_orange.png", 1, ON_EVERY_LEVEL},
    {&PGame::texDigitsRed, "digits_red.png", 1, ON_EVERY_LEVEL},
    {&PGame::texDigitsWhite, "digits_white.png", 1, ON_EVERY_LEVEL},
    {&PGame::texParticleSpot, "particle_spot.png", 2, ON_EVERY_LEVEL},
    {&PGame::texParticleStar, "particle_star.png", 2, ON_EVERY_LEVEL},
    {&PGame::texParticleCloud, "particle_cloud.png", 2, ON_EVERY_LEVEL},
    {&PGame::texParticleCloudAlpha, "particle_cloudalpha.png", 1, ON_EVERY_LEVEL},
    {&PGame::texExplosion, "explosion.jpg", 2, ON_EVERY_LEVEL},
    {&PGame::texSmoke, "smoke.jpg", 2, ON_EVERY_LEVEL},
    {&PGame::texHole, "hole.png", 1, ON_EVERY_LEVEL},
    {&PGame::texBlood, "blood.jpg", 2, ON_EVERY_LEVEL},
    {&PGame::texShockwave0, "shockwave0.jpg", 2, ON_EVERY_LEVEL},
    {&PGame::texShockwave1, "shockwave1.jpg", 2, ON_EVERY_LEVEL},
    {&PGame::texDeadStandard, "dead_standard.jpg", 2, ON_EVERY_LEVEL},
    {&PGame::texDeadBullet, "dead_bullet.jpg", 2, ON_EVERY_LEVEL},
    {&PGame::texDeadDestroy, "dead_destroy.jpg", 2, ON_EVERY_LEVEL},
    {&PGame::texBoulder, "boulder.jpg", 0, ON_EVERY_LEVEL},
    {&PGame::texBoulderBlood, "boulderblood.jpg", 0, ON_EVERY_LEVEL},
    {&PGame::texHudGem, "hud_gem.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudMap, "hud_map.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudTarget, "hud_target.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudTargetBoss, "hud_targetboss.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCell, "hud_cell.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellShip, "hud_cellship.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellGem, "hud_cellgem.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellWall, "hud_cellwall.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellRoof, "hud_cellroof.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellJumper, "hud_celljumper.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellDoor, "hud_celldoor.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellDoor2, "hud_celldoor2.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellBox, "hud_cellbox.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellMine, "hud_cellmine.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellBlocker, "hud_cellblocker.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudCellFinish, "hud_cellfinish.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudDistance, "hud_distance.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudLife, "hud_life.png", 2, ON_EVERY_LEVEL},
    {&PGame::texHudQualification, "hud_qualification.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudBestTime, "hud_besttime.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudRivalTime, "hud_rivaltime.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudTime, "hud_time.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudRank, "hud_rank.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudPos, "hud_pos.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudDynamite, "hud_dynamite.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudDynamiteIcon, "hud_dynamiteicon.png", 1, ON_EVERY_LEVEL},
    {&PGame::texHudTurboIcon, "hud_turboicon.png", 1, ON_EVERY_LEVEL},
    {&PGame::texFinish, "finish.jpg", 0, ON_EVERY_LEVEL},
    {&PGame::texFinish2, "finish2.jpg", 0, ON_EVERY_LEVEL},
    {&PGame::texDynamite, "dynamite.jpg", 0, ON_EVERY_LEVEL},
    {&PGame::texLaser, "laser.png", 0, ON_EVERY_LEVEL},
    {&PGame::texLaserShip, "laser_ship.png", 2, ON_EVERY_LEVEL},
    {&PGame::texLaserEnemy, "laser_enemy.png", 2, ON_EVERY_LEVEL},
    {&PGame::texBoss, "boss.jpg", 0, ON_CENTRE_LEVEL},
    {&PGame::texBossFly, "boss_fly.jpg", 0, ON_CENTRE_LEVEL},
    {nullptr, "hud_tip_gem.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_hiddengem.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_jumper.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_guard.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_wall.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_enemy.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_mirror.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_door.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_mat.png", 1, ON_LESSON_LEVEL},
    {nullptr, "hud_tip_end.png", 1, ON_LESSON_LEVEL},
    {&PGame::texWagon, "default_wagon.jpg", 0, ON_EVERY_LEVEL},
};

// Normal-map flags of a theme slot, one bit per theme.
enum { NM_NONE = 0, NM_BUT_BONUS = 7, NM_ALL = 15 };

struct ThemeEntry {
  TextureMember member;
  const char* files[PGame::THEME_COUNT];  // null: the theme has none
  int normalMaps;
};

// The theme textures (option 0), in load order.
const ThemeEntry kThemeTextures[] = {
    {&PGame::texGround,
     {"egypt_ground.jpg", "medieval_ground.jpg", "hitech_ground.jpg", "bonus_ground.jpg"},
     NM_NONE},
    {&PGame::texWall,
     {"egypt_wall.jpg", "medieval_wall.jpg", "hitech_wall.jpg", "bonus_wall.jpg"},
     NM_BUT_BONUS},
    {&PGame::texWallArrow, {"egypt_wallarrow.jpg", nullptr, nullptr, nullptr}, NM_ALL},
    {&PGame::texWallOn, {"egypt_wall_on.jpg", nullptr, "hitech_wall_on.jpg", nullptr}, NM_ALL},
    {&PGame::texWallOff, {"egypt_wall_off.jpg", nullptr, "hitech_wall_off.jpg", nullptr}, NM_ALL},
    {&PGame::texWallTop,
     {"egypt_wall_top.jpg", "medieval_wall_top.jpg", "hitech_wall_top.jpg", "bonus_wall_top.jpg"},
     NM_NONE},
    {&PGame::texWallRoof,
     {"egypt_wall_roof.jpg", "medieval_wall_roof.jpg", "hitech_wall_roof.jpg",
      "bonus_wall_roof.jpg"},
     NM_NONE},
    {&PGame::texWallRoof1,
     {"egypt_wall_roof1.jpg", "medieval_wall_roof1.jpg", "hitech_wall_roof1.jpg", nullptr},
     NM_ALL},
    {&PGame::texWallRoof2,
     {"egypt_wall_roof2.jpg", "medieval_wall_roof2.jpg", "hitech_wall_roof2.jpg", nullptr},
     NM_ALL},
    {&PGame::texPiston, {nullptr, nullptr, "hitech_piston.jpg", nullptr}, NM_ALL},
    {&PGame::texJumper,
     {"egypt_jumper.jpg", "medieval_jumper.jpg", "hitech_jumper.jpg", "bonus_jumper.jpg"},
     NM_NONE},
    {&PGame::texJumper2,
     {"egypt_jumper2.jpg", "medieval_jumper2.jpg", "hitech_jumper2.jpg", "bonus_jumper2.jpg"},
     NM_NONE},
    {&PGame::texDoorSmall,
     {"egypt_door_small.jpg", "medieval_door_small.jpg", "hitech_door_small.jpg", nullptr},
     NM_NONE},
    {&PGame::texDoorBig,
     {"egypt_door_big.jpg", "medieval_door_big.jpg", "hitech_door_big.jpg", nullptr},
     NM_NONE},
    {&PGame::texDoorSide,
     {"egypt_door_side.jpg", "medieval_door_side.jpg", "hitech_door_side.jpg", nullptr},
     NM_NONE},
    {&PGame::texBlocker,
     {"egypt_blocker.jpg", "medieval_blocker.jpg", "hitech_blocker.jpg", "bonus_steam.jpg"},
     NM_BUT_BONUS},
    {&PGame::texBox, {"egypt_box.jpg", "medieval_box.jpg", "hitech_box.jpg", nullptr}, NM_NONE},
    {&PGame::texBoxFront,
     {"egypt_boxfront.jpg", "medieval_boxfront.jpg", "hitech_boxfront.jpg", nullptr},
     NM_NONE},
    {&PGame::texBoxTop,
     {"egypt_boxtop.jpg", "medieval_boxtop.jpg", "hitech_boxtop.jpg", nullptr},
     NM_NONE},
    {&PGame::texForward,
     {"egypt_forward.jpg", "medieval_forward.jpg", "hitech_forward.jpg", nullptr},
     NM_NONE},
    {&PGame::texTurbo,
     {"egypt_turbo.jpg", "medieval_turbo.jpg", "hitech_turbo.jpg", nullptr},
     NM_NONE},
    {&PGame::texEnemy,
     {"egypt_enemy.jpg", "medieval_enemy.jpg", "hitech_enemy.jpg", "bonus_enemy.jpg"},
     NM_NONE},
    {&PGame::texFan, {"egypt_fan.jpg", "medieval_fan.jpg", "hitech_fan.jpg", nullptr}, NM_NONE},
    {&PGame::texGem,
     {"egypt_gem.png", "medieval_gem.png", "hitech_gem.png", "bonus_gem.jpg"},
     NM_BUT_BONUS},
    {&PGame::texGuard,
     {"egypt_guard.jpg", "medieval_guard.jpg", "hitech_guard.jpg", nullptr},
     NM_NONE},
    {&PGame::texGuard2, {nullptr, "medieval_guard2.jpg", nullptr, nullptr}, NM_NONE},
    {&PGame::texMine, {"egypt_mine.jpg", "medieval_mine.jpg", "hitech_mine.jpg", nullptr}, NM_NONE},
    {&PGame::texMirror,
     {"egypt_mirror.jpg", "medieval_mirror.jpg", "hitech_mirror.jpg", nullptr},
     NM_NONE},
};

// The turn of each mirror kind after its fitting: about the vertical axis,
// then about the horizontal axis.
const float kMirrorTurns[PGame::MIRROR_KINDS][2] = {
    {3 * kPi / 4, 0},     {-3 * kPi / 4, 0},   {kPi / 4, 0},  {-kPi / 4, 0},
    {-kPi / 4, -kPi / 2}, {kPi / 4, -kPi / 2}, {0, -kPi / 4}, {0, -3 * kPi / 4},
};

typedef SDxSprite* PGame::*SpriteMember;

struct HudEntry {
  SpriteMember member;
  TextureMember texture;
  int digits;   // 0 a picture, else a 4 x 4 digit sheet showing a number of this many digits
  float width;  // percent of the screen, the height keeps the aspect
  float x, y;
  bool shown;
};

// The HUD's single sprites after the death, target and message sprites.
const HudEntry kHud[] = {
    {&PGame::hudDistanceDigits, &PGame::texDigitsRed, 1, 2.2f, 47.6f, 5.0f, true},
    {&PGame::hudDistance, &PGame::texHudDistance, 0, 12.0f, 50.0f, 8.0f, true},
    {&PGame::hudLife, &PGame::texHudLife, 0, 8.0f, 91.5f, 10.0f, true},
    {&PGame::hudLifeDigits, &PGame::texDigitsWhite, 1, 1.5f, 90.8f, 14.5f, true},
    {&PGame::hudGem, &PGame::texHudGem, 0, 5.0f, 91.5f, 5.5f, true},
    {&PGame::hudGemFlash, &PGame::texHudGem, 0, 8.0f, 7.5f, 35.0f, true},
    {&PGame::hudTargetsTakenDigits, &PGame::texDigitsWhite, 1, 2.0f, 86.0f, 5.0f, true},
    {&PGame::hudTargetCountDigits, &PGame::texDigitsWhite, 1, 2.0f, 95.0f, 5.0f, true},
    {&PGame::hudDynamiteIcon, &PGame::texHudDynamiteIcon, 0, 7.0f, 94.72f, 91.72f, false},
    {&PGame::hudDynamite, &PGame::texHudDynamite, 0, 6.0f, 94.72f, 82.5f, true},
    {&PGame::hudDynamiteDigits, &PGame::texDigitsOrange, 1, 1.5f, 94.02f, 80.0f, true},
    {&PGame::hudRank, &PGame::texHudRank, 0, 6.0f, 19.0f, 7.5f, false},
    {&PGame::hudRankDigits, &PGame::texDigitsWhite, 1, 1.5f, 18.2f, 5.0f, false},
    {&PGame::hudPos, &PGame::texHudPos, 0, 6.0f, 25.0f, 7.5f, false},
    {&PGame::hudPosDigits, &PGame::texDigitsWhite, 1, 1.5f, 25.0f, 5.0f, false},
    {&PGame::hudQualification, &PGame::texHudQualification, 0, 6.0f, 34.0f, 7.5f, true},
    {&PGame::hudTime, &PGame::texHudTime, 0, 6.0f, 65.5f, 7.5f, true},
    {&PGame::hudBestTime, &PGame::texHudBestTime, 0, 6.0f, 77.0f, 7.5f, true},
    {&PGame::hudRivalTime, &PGame::texHudRivalTime, 0, 6.0f, 77.0f, 13.5f, false},
};

struct TimeDigitsEntry {
  SDxSprite** (*sprites)(PGame* game);
  int count;
  float x[5];
  float y;
  bool shown;
};

// Time displays: numbers in the 1st, 3rd and 5th places, separators between.
const TimeDigitsEntry kTimeDigits[] = {
    {[](PGame* g) { return g->hudQualificationDigits; }, 3, {32.0f, 33.0f, 34.0f}, 5.0f, true},
    {[](PGame* g) { return g->hudTimeDigits; }, 5, {62.1f, 63.1f, 64.1f, 66.6f, 67.6f}, 5.0f, true},
    {[](PGame* g) { return g->hudBestTimeDigits; },
     5,
     {73.5f, 74.5f, 75.5f, 78.0f, 79.0f},
     5.0f,
     true},
    {[](PGame* g) { return g->hudRivalTimeDigits; },
     5,
     {73.5f, 74.5f, 75.5f, 78.0f, 79.0f},
     11.0f,
     false},
};

// Room in each ghost trail: a little more than the 0.15 s of atoms at 250 a
// second.
const int kGhostTrailAtoms = 40;

// The ghost trails' colours by slot (slot 0 has no trail).
const D3DXCOLOR kGhostColors[PGame::GHOST_COUNT] = {
    {0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 1.0f, 1.0f},    {0.0f, 1.0f, 0.0f, 1.0f},
    {1.0f, 0.5f, 0.0f, 1.0f}, {0.42f, 0.17f, 0.62f, 1.0f},
};

}  // namespace

void PGame::Load(int newDifficulty, int newWorld, int newLevel) {
  if (!dx || !host) return;
  theme = host->GetLevelTheme(newWorld, newLevel);
  levelMode = host->GetLevelMode(newWorld, newLevel);
  qualifyingTime = host->GetQualifyingTime(newDifficulty, newWorld, newLevel);
  difficulty = newWorld == 3 && newLevel == 3 ? 1 : newDifficulty;
  world = newWorld;
  level = newLevel;
  finished = false;
  wonOnce = false;
  state = 0;
  bestTime = host->GetBestTime(newDifficulty, newWorld, newLevel);

  dx->Clear(true);
  ForgetSceneItems();

  camera = dx->GetCamera(-1);
  if (camera) camera->SetFarPlane(FLT_MAX);
  dx->SetContrast(0.03f);
  D3DXVECTOR3 direction(0.25f, -1.0f, 0.25f);
  D3DXVec3Normalize(&dx->m_lightDirection, &direction);
  dx->EnableFog(true);
  dx->SetFog(4000.0f, 14000.0f);
  dx->m_beamScale = 2.0f;
  dx->m_glowScale = 2.0f;
  dx->m_lighting = dx->GetConfig()->lighting != 0;
  dx->SetDeferredValue(0.1f);
  dx->SetPadDeadZones(9000.0f, 9000.0f, 30.0f, 30.0f);
  dx->ReserveCapacity(512);

  LoadSounds();
  LoadEffects();
  LoadTextures();
  LoadEmitters();
  LoadHud();
  BuildTrack();
  LoadGhostEmitters();
  LoadGhostLabels();
  LoadMeshes();
  SDxLayer* layer = Layer();
  SDxShape* body = layer ? layer->AddShape() : nullptr;
  if (body) ship = new PShipEntity(layer, body);

  SString name;
  name.Format("level_%d%d.txt", world, level);
  ParseLevel(name.GetText());
  if (hudTargetCountDigits) hudTargetCountDigits->SetNumber(targetCount, true);
  // The level's best time and qualifying time (minutes and seconds) as the
  // run starts; a run only changes the best time.
  ShowTime(hudBestTimeDigits, bestTime);
  if (hudQualificationDigits[0]) hudQualificationDigits[0]->SetNumber(qualifyingTime / 6000, true);
  if (hudQualificationDigits[2])
    hudQualificationDigits[2]->SetNumber(qualifyingTime / 100 % 60, true);
  Restart();
}

void PGame::LoadSounds() {
  for (const SoundEntry& sound : kSounds) host->LoadSound(sound.file, sound.loop, sound.voices, 0);
  LoadMusic();
}

void PGame::LoadMusic() {
  const SStringArray* music = host->GetMusicFiles();
  if (music && music->GetCount() > 0) {
    bool taken = false;
    if (host->LoadSoundFile(music->Get(RandomInt(music->GetCount())).GetText(), true, 1, &taken) ||
        taken)
      return;
  }
  if (IsLessonLevel()) return;
  int number = IsLevel33() ? RandomInt(3) : theme;
  host->LoadSound((SString("music") + SString::FromInt(number) + ".mp3").GetText(), true, 1, 0);
}

void PGame::LoadEffects() {
  fadeShader = dx->CreateShader(SDxShader::TEXT_FADE);
  grayShader = dx->CreateShader(SDxShader::TEXT_GREY);
  speedShader = dx->CreateShader(SDxShader::TEXT_SPEED_BLUR);
  if (speedShader) {
    speedShader->SetEnabled(dx->GetConfig()->lighting != 0);
    speedParam = speedShader->GetParameter("g_speed");
    coefParam = speedShader->GetParameter("g_coef");
    speedShader->SetUseNormalTexture(true);
    speedShader->SetUsePreviousTexture(true);
  }
  nightShader = host->LoadShader("pp_nightvision.fx");
  if (nightShader) radiusParam = nightShader->GetParameter("g_radius");

  // An effect that could not be made stays out of the lists.
  struct {
    SArray<SDxShader*>* list;
    SDxShader* second;
  } lists[] = {{&startEffects, fadeShader},
               {&runEffects, nullptr},
               {&nightEffects, nightShader},
               {&pauseEffects, grayShader}};
  for (auto& entry : lists) {
    entry.list->RemoveAll();
    if (speedShader) entry.list->Add(speedShader);
    if (entry.second) entry.list->Add(entry.second);
  }
}

void PGame::LoadTextures() {
  int tip = 0;
  for (const TextureEntry& entry : kTextures) {
    bool wanted = entry.when == ON_EVERY_LEVEL ||
                  (entry.when == ON_CENTRE_LEVEL && IsCentreLevel()) ||
                  (entry.when == ON_LESSON_LEVEL && IsLessonLevel());
    const char* file = entry.file;
    if (theme == THEME_BONUS && entry.member == &PGame::texBoulderBlood) {
      texBoulderBlood = texBoulder;
      continue;
    }
    if (theme == THEME_BONUS && entry.member == &PGame::texBoulder) file = "bonus_boulder.jpg";
    SDxTexture* texture = wanted ? host->LoadTexture(file, false, entry.option) : nullptr;
    if (entry.member) {
      this->*entry.member = texture;
    } else {
      tipTextures[tip++] = texture;
    }
  }
  for (const ThemeEntry& entry : kThemeTextures) {
    const char* file = theme >= 0 && theme < THEME_COUNT ? entry.files[theme] : nullptr;
    this->*entry.member =
        file ? host->LoadTexture(file, (entry.normalMaps >> theme & 1) != 0, 0) : nullptr;
  }
  if (theme == THEME_BONUS) texWallRoof1 = texWallRoof2 = texWallRoof;
}

SDxParticlePoint* PGame::AddEmitter(float rateMin, float rateMax, float lifetime, float pointSize,
                                    float speed, int capacity) {
  SDxLayer* layer = dx->GetFirstLayer();
  if (capacity <= 0) capacity = (int)(rateMax * lifetime + 0.999f);
  SDxParticlePoint* emitter = layer ? layer->AddParticle(texParticleSpot, capacity) : nullptr;
  if (!emitter) return nullptr;
  emitter->SetEmissionRate(rateMin, rateMax);
  emitter->SetLifetime(lifetime);
  emitter->SetPointSize(pointSize);
  emitter->SetSpeed(speed);
  return emitter;
}

void PGame::LoadEmitters() {
  spotEmitter = AddEmitter(100.0f, 100.0f, 2.0f, 50.0f, 5.0f);
  if (spotEmitter) {
    spotEmitter->SetParameters(1.0f, 0.5f, 0.5f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, false, true);
    D3DXVECTOR3 from(1.0f, 1.0f, 0.0f), to(-1.0f, -1.0f, 0.0f);
    spotEmitter->SetVectorRange(&from, &to);
    spotEmitter->Start(nullptr, 0.0f, 0.0f);
  }
  for (int i = 0; i < 2; ++i) {
    SDxParticlePoint* side = sideEmitters[i] = AddEmitter(50.0f, 100.0f, 5.0f, 250.0f, 100.0f);
    if (!side) continue;
    float sign = i == 0 ? 1.0f : -1.0f;
    side->SetParameters(1.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 1.0f, false, true);
    D3DXVECTOR3 from(sign, 1.0f, 0.1f), to(0.1f * sign, 0.1f, 0.1f);
    side->SetVectorRange(&from, &to);
    D3DXVECTOR3 position(-1000.0f * sign, -700.0f, 0.0f);
    side->Start(&position, 0.0f, 0.0f);
  }
}

void PGame::LoadGhostEmitters() {
  for (int slot = 1; slot < GHOST_COUNT; ++slot) {
    SDxParticlePoint* trail = ghostEmitters[slot] =
        AddEmitter(250.0f, 250.0f, 0.15f, 35.0f, 0.0f, kGhostTrailAtoms);
    if (!trail) continue;
    const D3DXCOLOR& c = kGhostColors[slot];
    // Each atom fades from the slot's colour to transparent white.
    trail->SetParameters(c.r, c.g, c.b, c.a, 1.0f, 1.0f, 1.0f, 0.0f, false, true);
    D3DXVECTOR3 none(0.0f, 0.0f, 0.0f);
    trail->SetVectorRange(&none, &none);
  }
}

SDxSprite* PGame::AddHudSprite(SDxTexture* texture, int digits, float width, float x, float y,
                               bool shown) {
  SDxLayer* layer = dx->GetFirstLayer();
  int cells = digits != 0 ? DIGIT_SHEET_CELLS : 1;
  SDxSprite* sprite = layer ? layer->AddSprite(texture, cells, nullptr, cells, -1, 0) : nullptr;
  if (!sprite) return nullptr;
  if (width > 0.0f) sprite->SetSize(width, -1.0f);
  if (x >= 0.0f) sprite->SetPositionXY(x, y);
  if (digits > 0) sprite->SetNumberDisplay(true, digits, false, 0.0f, 0.0f);
  sprite->SetVisible(shown);
  return sprite;
}

void PGame::LoadHud() {
  // Shown by the run when it needs them.
  deathSprite = AddHudSprite(texDeadStandard, 0, 0.0f, -1.0f, 0.0f, false);
  targetSprite = AddHudSprite(texHudTarget, 0, 25.0f, 48.5f, 60.0f, false);
  if (IsCentreLevel())
    bossTargetSprite = AddHudSprite(texHudTargetBoss, 0, 10.0f, -1.0f, 0.0f, false);
  messageSprite = AddHudSprite(nullptr, 0, 20.0f, -1.0f, 0.0f, false);
  if (IsLessonLevel()) {
    float width = dx->GetWidth() > 1024 ? 45.0f : 50.0f;
    tipSprite = AddHudSprite(nullptr, 0, width, 2.0f, 98.0f, false);
    if (tipSprite) tipSprite->SetPivot(0.0f, 100.0f);
  }
  for (const HudEntry& entry : kHud)
    this->*entry.member = AddHudSprite(this->*entry.texture, entry.digits, entry.width, entry.x,
                                       entry.y, entry.shown);
  for (const TimeDigitsEntry& group : kTimeDigits) {
    SDxSprite** sprites = group.sprites(this);
    for (int i = 0; i < group.count; ++i) {
      bool number = i % 2 == 0;
      int digits = number ? (i == 0 ? 1 : 2) : -1;
      sprites[i] = AddHudSprite(texDigitsWhite, digits, 1.5f, group.x[i], group.y, group.shown);
      if (!number && sprites[i])
        sprites[i]->SetFrame(i == 1 ? DIGIT_FRAME_MINUTES : DIGIT_FRAME_HUNDREDTHS);
    }
  }
  mapFrame = AddHudSprite(texHudMap, 0, 15.0f, 0.0f, 1.5f, true);
  if (mapFrame) mapFrame->SetPivot(0.0f, 0.0f);
  for (int i = 0; i < 9; ++i)
    for (int j = 0; j < 8; ++j)
      mapCells[i][j] = AddHudSprite(texHudCell, 0, 1.25f, 2.5f + 1.25f * i, 4.0f + 3.0f * j, true);
  hudTurboIcon = AddHudSprite(texHudTurboIcon, 0, 12.0f, 91.5f, 23.0f, true);
  hudTurboDigits = AddHudSprite(texDigitsRed, 1, 2.0f, 93.6f, 24.0f, true);
}

void PGame::LoadGhostLabels() {
  SDxLayer* layer = dx->GetFirstLayer();
  for (int slot = 2; slot < GHOST_COUNT && layer; ++slot) {
    ghostLabels[slot] = layer->AddText("verdana", 1.5f, 0, 289, 0xFFFFFFFF);
    // Half opaque, so that the track shows through a rival's name.
    if (ghostLabels[slot]) ghostLabels[slot]->SetAlpha(128);
  }
}

SDxMesh* PGame::LoadMeshItem(const char* name, SDxTexture* texture) {
  SDxLayer* layer = dx->GetFirstLayer();
  SDxMesh* mesh = layer ? layer->AddMesh() : nullptr;
  if (!mesh) return nullptr;
  if (!host->LoadMesh(mesh, name, 0)) {
    dx->RemoveItem(mesh);
    return nullptr;
  }
  if (texture) mesh->SetMaterialTexture(-1, texture);
  mesh->SetVisible(false);
  return mesh;
}

void PGame::LoadMeshes() {
  SString themeName = ThemeName(theme);
  dummyMesh = LoadMeshItem("dummy.x", nullptr);
  arrowMesh = LoadMeshItem("arrow.xtx", nullptr);
  enemyMesh = LoadMeshItem((SString("enemy_") + themeName + ".x").GetText(), texEnemy);
  fanMesh = LoadMeshItem("fan.x", texFan);
  fireMesh = LoadMeshItem("fire_medieval.xtx", nullptr);
  gemMesh = LoadMeshItem("gem.x", texGem);
  if (gemMesh) gemMesh->SetSpecularColor(3.0f, 3.0f, 3.0f);
  bool medieval = theme == THEME_MEDIEVAL;
  guardMesh =
      LoadMeshItem((SString("guard_") + themeName + ".x").GetText(), medieval ? nullptr : texGuard);
  if (guardMesh && medieval) {
    guardMesh->SetMaterialTexture(0, texGuard2);
    guardMesh->SetMaterialTexture(1, texGuard);
  }
  if (theme == THEME_EGYPT) mineMesh = BuildEgyptMine();
  if (theme == THEME_MEDIEVAL || theme == THEME_HITECH)
    mineMesh = LoadMeshItem((SString("mine_") + themeName + ".x").GetText(), texMine);
  for (int k = 0; k < MIRROR_KINDS; ++k) {
    SDxMesh* mirror = LoadMeshItem("mirror.x", texMirror);
    mirrorMeshes[k] = mirror;
    if (!mirror) continue;
    D3DXVECTOR3 size = mirror->GetBox().max - mirror->GetBox().min;
    if (size.x <= 0.0f || size.y <= 0.0f || size.z <= 0.0f) continue;
    D3DXMATRIX scale, yaw, pitch;
    D3DXMatrixScaling(&scale, 300.0f / size.x, 300.0f / size.y, 20.0f / size.z);
    D3DXMatrixRotationY(&yaw, kMirrorTurns[k][0]);
    D3DXMatrixRotationX(&pitch, kMirrorTurns[k][1]);
    mirror->TransformVertices(scale * yaw * pitch);
  }
  dynamiteMesh = LoadMeshItem("dynamite.x", texDynamite);
  wagonMesh = LoadMeshItem("wagon.x", texWagon);
  if (IsCentreLevel()) {
    bossMesh = LoadMeshItem("boss.x", texBoss);
    if (bossMesh) bossMesh->RotateVertices(0.0f, kPi, 0.0f);
    bossFlyMesh = LoadMeshItem("boss_fly.x", texBossFly);
  }
}

void PGame::KeepFinishedResult(bool upload) {
  if (state == 4 && success && IsProgressionLevel()) RecordAndUpload(upload, false);
}

void PGame::Unload() {
  // A won run left from the finished screen by closing the window keeps
  // its result; there is no time left for an upload.
  KeepFinishedResult(false);
  // The craft lets go of its stick while both are alive: the scene deletes
  // its entities in any order.
  if (ship) ship->TakeDynamite(nullptr);
  speedShader = nullptr;
  ForgetEntities();
  FreeMaps();
  state = 0;
  if (dx) dx->Clear(true);
  ForgetSceneItems();
}
