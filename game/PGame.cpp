#include "core/Platform.h"

#include "game/PGame.h"

#include <string.h>
#include <initializer_list>

PGame* g_game = nullptr;

const float PGame::kRowLength = 1000.0f;
const float PGame::kCullDistance = 15000.0f;
const float PGame::kTubeSpacing = 2000.0f;

namespace {

const char* const kThemeNames[PGame::THEME_COUNT] = {"egypt", "medieval", "hitech", ""};

// Colours handed out in turn to the lights of a level.
const D3DCOLOR kLightColors[8] = {0xFFFFFFFF, 0xFFA9A9FF, 0xFFED8686, 0xFFEFA27B,
                                  0xFFFFFFFF, 0xFFE6E68B, 0xFFA4DEA4, 0xFFA6DBDB};

}  // namespace

PGame::PGame()
    : dx(nullptr),
      host(nullptr),
      ship(nullptr),
      ghostSampleIndex(0),
      nextRow(0),
      theme(0),
      levelMode(0),
      qualifyingTime(0),
      difficulty(0),
      world(0),
      level(0),
      finished(false),
      success(false),
      wonOnce(false),
      state(0),
      stateTime(0.0f),
      crashAngle(0.0f),
      boulderMoveTime(0.0f),
      boulderFromZ(0.0f),
      boulderToZ(0.0f),
      runStartTime(0.0f),
      runEndTime(0.0f),
      runTime(0),
      bestTime(0),
      targetCount(0),
      targetsTaken(0),
      missedGems(0),
      lastTargetTime(0.0f),
      levelLives(0),
      lives(0),
      lightColorIndex(-1),
      nightVisionTime(0.0f),
      nightVisionPhase(0),
      tipShown(false) {
  ForgetSceneItems();
  for (int i = 0; i < 8; ++i) lightColors[i] = D3DXCOLOR(kLightColors[i]);
  arrows.Reserve(MAX_ARROWS);
  blockers.Reserve(MAX_BLOCKERS);
  boulders.Reserve(MAX_BOULDERS);
  dynamites.Reserve(MAX_DYNAMITES);
  doors.Reserve(MAX_DOORS);
  enemies.Reserve(MAX_ENEMIES);
  finishes.Reserve(MAX_FINISHES);
  fires.Reserve(MAX_FIRES);
  forwards.Reserve(MAX_FORWARDS);
  gems.Reserve(MAX_GEMS);
  lights.Reserve(MAX_LIGHTS);
  mines.Reserve(MAX_MINES);
  mirrors.Reserve(MAX_MIRRORS);
  platforms.Reserve(MAX_PLATFORMS);
  turbos.Reserve(MAX_TURBOS);
  wagons.Reserve(MAX_WAGONS);
}

PGame::~PGame() {
  // The owner is going: nothing more is asked of it.
  host = nullptr;
  Unload();
}

const char* PGame::ThemeName(int theme) {
  return theme >= 0 && theme < THEME_COUNT ? kThemeNames[theme] : "";
}

D3DXCOLOR PGame::GetNextLightColor() {
  lightColorIndex = lightColorIndex + 1 >= 8 ? 0 : lightColorIndex + 1;
  return lightColors[lightColorIndex];
}

void PGame::ForgetSceneItems() {
  camera = nullptr;
  fadeShader = grayShader = speedShader = nightShader = nullptr;
  speedParam = coefParam = radiusParam = nullptr;
  startEffects.RemoveAll();
  runEffects.RemoveAll();
  nightEffects.RemoveAll();
  pauseEffects.RemoveAll();
  // The texture members lie back to back from texDark to texWagon.
  for (SDxTexture** t = &texDark; t <= &texWagon; ++t) *t = nullptr;
  for (SDxText*& text : ghostLabels) text = nullptr;
  spotEmitter = sideEmitters[0] = sideEmitters[1] = nullptr;
  for (SDxParticlePoint*& emitter : ghostEmitters) emitter = nullptr;
  for (SDxSprite** sprite = &deathSprite; sprite <= &tipSprite; ++sprite) *sprite = nullptr;
  bossMesh = bossFlyMesh = nullptr;
  arrowMesh = dummyMesh = dynamiteMesh = enemyMesh = fanMesh = fireMesh = gemMesh = guardMesh =
      mineMesh = nullptr;
  for (SDxMesh*& mesh : mirrorMeshes) mesh = nullptr;
  wagonMesh = nullptr;
  endCap = boulderShape = nullptr;
  tubeSections.RemoveAll();
  for (SDxMesh** list :
       {wallMeshes, wallMeshes + 3, jumperMeshes, guardDoorMeshes, blockerMeshes, boxMeshes}) {
    list[0] = list[1] = nullptr;
  }
  wallMeshes[2] = wallMeshes[5] = boxMeshes[2] = nullptr;
  pistonMesh = turboMesh = forwardMesh = finishMesh = laserBoltMeshA = laserBoltMeshB = nullptr;
  ForgetEntities();
}

void PGame::ForgetEntities() {
  ship = nullptr;
  boss = nullptr;
  lasers.RemoveAll();
  arrows.RemoveAll();
  blockers.RemoveAll();
  boulders.RemoveAll();
  dynamites.RemoveAll();
  doors.RemoveAll();
  enemies.RemoveAll();
  finishes.RemoveAll();
  fires.RemoveAll();
  forwards.RemoveAll();
  gems.RemoveAll();
  lights.RemoveAll();
  mines.RemoveAll();
  mirrors.RemoveAll();
  platforms.RemoveAll();
  turbos.RemoveAll();
  wagons.RemoveAll();
}
