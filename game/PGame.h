// The game being played: one object for the whole run of the program, a
// member of the application object. It holds what one level needs while it
// is played: the level's textures, meshes, sounds and screen effects, the
// ghost name texts, the level map and the level indices with the game
// state.
//
// Ownership: every engine object a member points to is owned by the
// engine's scene or resource lists (Load makes them, the scene clear of the
// next Load or of Unload deletes them); the game object owns only its map
// records (mapItems and runItems each own theirs). After Unload every
// pointer member is null.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "engine/SDxEffect.h"
#include "game/PGhost.h"

#include <d3dx9.h>

class PArrowEntity;
class PBlockerEntity;
class PBossEntity;
class PBoulderEntity;
class PDoorEntity;
class PDynamiteEntity;
class PEnemyEntity;
class PFinishEntity;
class PFireEntity;
class PForwardEntity;
class PGameHost;
class PGemEntity;
class PLaserEntity;
class PLightEntity;
class PMineEntity;
class PMirrorEntity;
class PPlatformEntity;
class PShipEntity;
class PTurboEntity;
class PWagonEntity;
class SDx;
class SDxEntityObj;
class SDxLayer;
class SDxShape;
class SDxCamera;
class SDxMesh;
class SDxShader;
class SDxParticlePoint;
class SDxSprite;
class SDxText;
struct SDxTriangle;
class SDxTexture;
class SFile;

// One item of a level map: a plain record, allocated one by one and owned
// by the array of map items that holds it.
struct MAPITEM {
  MAPITEM* prev;  // previous item in reading order; null for the first
  MAPITEM* next;  // next item in reading order; null for the last
  MAPITEM* up;    // same column, the row just before; null when none
  MAPITEM* down;  // same column, the row just after; null when none
  int type;       // item type 1..23
  int row;        // row index, 0 = the first row after the life line
  int column;     // 0..15 (column 16 is stored as 0)
  float angle;    // angle around the tube of the cell's centre
  int subtype;    // variant of the type; -1 for a later plain guard door
  void* entity;   // the entity made from the item; null until made
};
static_assert(sizeof(MAPITEM) == 40, "a map item is a 40-byte record");

class PGame {
public:
  // Item types (the entity type codes share these numbers).
  enum {
    ITEM_ARROW = 1,
    ITEM_BLOCKER,
    ITEM_BOSS,
    ITEM_BOSS_FLY,
    ITEM_BOULDER,
    ITEM_BOX,
    ITEM_DYNAMITE,
    ITEM_ENEMY,
    ITEM_FINISH,
    ITEM_FIRE,
    ITEM_FORWARD,
    ITEM_GEM,
    ITEM_GUARD_DOOR,
    ITEM_JUMPER,
    ITEM_LASER,
    ITEM_LIGHT,
    ITEM_MINE,
    ITEM_MIRROR,
    ITEM_PISTON,
    ITEM_CRAFT,
    ITEM_TURBO,
    ITEM_WAGON,
    ITEM_WALL
  };
  // Themes.
  enum { THEME_EGYPT, THEME_MEDIEVAL, THEME_HITECH, THEME_BONUS, THEME_COUNT };
  // The digit sheets (4 x 4 frames): digits 0..9 in frames 0..9, the
  // separator before hundredths in 11, the one after minutes in 12.
  enum { DIGIT_SHEET_CELLS = 4, DIGIT_FRAME_HUNDREDTHS = 11, DIGIT_FRAME_MINUTES = 12 };
  enum { SOUND_COUNT = 57, MUSIC_CHANNEL = 57, GHOST_COUNT = 5, TIP_COUNT = 10, MIRROR_KINDS = 8 };
  // The level's sound channels, in load order.
  enum {
    SOUND_ACCELERATE,
    SOUND_ALARM,
    SOUND_BIP_ALL_GEMS,
    SOUND_BIP_DYNAMITE,
    SOUND_BIP_GEM,
    SOUND_BIP_START,
    SOUND_BIP_TARGET,
    SOUND_BLOOD,
    SOUND_BOSS_MOVE,
    SOUND_BOULDER,
    SOUND_BOUNCE_GEM,
    SOUND_BOUNCE_GROUND,
    SOUND_BOUNCE_GROUND2,
    SOUND_BOUNCE_LASER,
    SOUND_BOUNCE_PLATFORM,
    SOUND_BOUNCE_WALL_FRONT,
    SOUND_BOUNCE_WALL_SIDE,
    SOUND_BOX,
    SOUND_BRAKE,
    SOUND_CATCH_DYNAMITE,
    SOUND_DECELERATE,
    SOUND_DIE,
    SOUND_DOOR,
    SOUND_DYNAMITE,
    SOUND_ELECTRICITY,
    SOUND_END,
    SOUND_EXPLOSION_ARROW,
    SOUND_EXPLOSION_BOSS,
    SOUND_EXPLOSION_DYNAMITE,
    SOUND_EXPLOSION_ENEMY,
    SOUND_EXPLOSION_GEM,
    SOUND_EXPLOSION_LASER,
    SOUND_EXPLOSION_MINE,
    SOUND_FAN,
    SOUND_FIRE,
    SOUND_JUMP,
    SOUND_JUMP_SLIDE,
    SOUND_LASER,
    SOUND_LASER_ENEMY,
    SOUND_MIRROR,
    SOUND_MOVE,
    SOUND_NEW_GEM,
    SOUND_PISTON_ACTIVATE,
    SOUND_PISTON_PULL_BACK,
    SOUND_PRE_LASER,
    SOUND_PUSH_WALL,
    SOUND_SLIDE,
    SOUND_TURBO,
    SOUND_VOICE_GAME_OVER,  // five in a row
    SOUND_VOICE_SUCCESS = SOUND_VOICE_GAME_OVER + 5,
    SOUND_VOICE_START,
    SOUND_WAGON,
    SOUND_WIND,
  };
  static_assert(SOUND_WIND + 1 == SOUND_COUNT, "every level sound has its channel");
  // Capacities of the entity arrays: a creator whose array is full makes
  // nothing.
  enum {
    MAX_ARROWS = 128,
    MAX_BLOCKERS = 16,
    MAX_BOULDERS = 16,
    MAX_DYNAMITES = 4,
    MAX_DOORS = 16,
    MAX_ENEMIES = 64,
    MAX_FINISHES = 1,
    MAX_FIRES = 64,
    MAX_FORWARDS = 128,
    MAX_GEMS = 128,
    MAX_LIGHTS = 128,
    MAX_MINES = 128,
    MAX_MIRRORS = 64,
    MAX_PLATFORMS = 512,
    MAX_TURBOS = 2,
    MAX_WAGONS = 4
  };
  // Track streaming: rows ahead of the craft, rows more after a sliding
  // wall, distance behind the craft beyond which entities go, tube sections.
  enum { LOOK_AHEAD_ROWS = 16, SLIDE_EXTRA_ROWS = 2, TUBE_SECTIONS = 16 };
  static const float kRowLength;
  static const float kCullDistance;
  static const float kTubeSpacing;

  PGame();
  // Unload, then the members.
  virtual ~PGame();

  // --- level map (PGameMap.cpp) -------------------------------------------------
  // Reads the named level text of the data archive into the level's map;
  // false (and an empty map, lives and targets unchanged) when it cannot be
  // read.
  bool ParseLevel(const char* name);
  // The attempt's copy of the map: every record of the level's map copied
  // with its links rebuilt among the copies.
  void CopyMapForRun();
  // The item of the attempt's map at (column, row); null when none.
  MAPITEM* GetMapItem(int column, int row) const;
  // Its type, 0 when there is none.
  int GetItemTypeAt(int column, int row) const;
  // The angle of a column's cell centre, in single precision.
  static float ColumnAngle(int column);

  // --- loading (PGameLoad.cpp) ----------------------------------------------------
  // Fills the object for one cell of one difficulty; a missing asset leaves
  // its member null (a sound: an empty channel) and loading goes on.
  void Load(int difficulty, int world, int level);
  // Gives everything back: map records freed, the scene cleared, every
  // pointer member null, state 0.
  void Unload();
  // A won run still on its finished screen, which the player has not left,
  // keeps its result when the level ends another way (the window closing,
  // the device lost): it is recorded as on leaving the screen and, with
  // upload, its ghost goes to the server when that is allowed, without the
  // uploading message, the frames or the rivals' reload (the scene may be
  // gone already). Nothing for any other run.
  void KeepFinishedResult(bool upload);

  // --- track geometry (PGameTrack.cpp) ------------------------------------------------
  // The tube, its end cap, the boulder, the generated pieces with their
  // corner tables and the laser bolts; after the textures.
  void BuildTrack();
  SDxMesh* BuildWallPiece(int kind, int variant);
  SDxMesh* BuildJumperPiece(int variant);
  SDxMesh* BuildPistonPiece();
  SDxMesh* BuildGuardDoorPiece(int variant);
  SDxMesh* BuildBlockerPiece(float size);
  SDxMesh* BuildTurboPiece();
  SDxMesh* BuildBoxPiece(int kind);
  SDxMesh* BuildForwardPiece();
  SDxMesh* BuildFinishPiece();
  SDxMesh* BuildLaserBolt(float length, SDxTexture* texture);
  SDxMesh* BuildEgyptMine();

  // --- entity factory (PGameFactory.cpp) ----------------------------------------------
  // The entity of the item's type, placed and filed; false for the types
  // never made from the map, for a full array and for a missing mesh.
  bool CreateEntity(MAPITEM* item);
  PArrowEntity* CreateArrow(MAPITEM* item);
  PBlockerEntity* CreateBlocker(MAPITEM* item);
  PBoulderEntity* CreateBoulder(MAPITEM* item);
  PPlatformEntity* CreateBox(MAPITEM* item);
  PDynamiteEntity* CreateDynamite(MAPITEM* item);
  PEnemyEntity* CreateEnemy(MAPITEM* item);
  PFinishEntity* CreateFinish(MAPITEM* item);
  PFireEntity* CreateFire(MAPITEM* item);
  PForwardEntity* CreateForward(MAPITEM* item);
  PGemEntity* CreateGem(MAPITEM* item);
  PDoorEntity* CreateGuardDoor(MAPITEM* item);
  PPlatformEntity* CreateJumper(MAPITEM* item);
  PLightEntity* CreateLight(MAPITEM* item);
  PMineEntity* CreateMine(MAPITEM* item);
  PMirrorEntity* CreateMirror(MAPITEM* item);
  PPlatformEntity* CreatePiston(MAPITEM* item);
  PTurboEntity* CreateTurbo(MAPITEM* item);
  PWagonEntity* CreateWagon(MAPITEM* item);
  PPlatformEntity* CreateWall(MAPITEM* item);

  // --- track streaming (PGameStream.cpp) ------------------------------------------------
  // The attempt's track back to its start: spawn cursor 0, the tube
  // sections at i x 2000 - 16000, each tagged with its index i, and the end
  // cap past the last.
  void ResetTrack();
  // The step driven by the craft's track position: tube recycling,
  // spawning the rows ahead, removing what lies behind.
  void Update(float z);
  // Every entity (but the boss) farther than 15000 behind z leaves its
  // array; flagged for deletion except in the enemy, mirror and wagon
  // arrays (their entities go through the platform array).
  void CullPassed(float z);
  // A new bolt of the owner (its type code) in its launch state, with the
  // shot's sound; null without the dummy mesh.
  PLaserEntity* FireLaser(int ownerType, const D3DXVECTOR3* origin, const int* motionKind,
                          const D3DXVECTOR3* direction);
  void AddLaser(PLaserEntity* laser);
  // The bolt leaves the laser array (its explosion and trail are over).
  void RemoveLaser(PLaserEntity* laser);
  // The craft's surface probe: the sphere at p against the two top
  // triangles (corners 6, 4, 7 and 4, 5, 7) of every platform within 2000
  // along z, in the platform's model space. The last platform touched, with
  // its triangle in world space, unless the segment from the axis to p
  // crosses a touched triangle first, which ends the search.
  bool ProbePlatforms(PPlatformEntity** hit, SDxTriangle* triangle, const D3DXVECTOR3& p,
                      float radius);
  // The engine's timer in game mode: dropped.
  bool OnTimer(int id);

  // --- the run (PGameRun.cpp) -----------------------------------------------------------
  // A fresh attempt of the loaded level: entities, map copy, craft, boulder,
  // HUD and ghosts back to their start; ends in state 1. Safe in any state.
  void Restart();
  // The old state's leaving actions, the new state and its time, then its
  // entering actions (states: 0 none, 1 start, 2 running, 3 crashed, 4
  // finished).
  void SetState(int newState);
  // Pause or resume; only in states 1 and 2.
  void TogglePause();
  // The per-frame step of game mode: keys, fade, night vision, times, the
  // rolling boulder, the distance counter and the motion blur.
  void Frame();
  // The craft passed the open finish: state 4, won when every target is
  // taken in time. Only in state 2.
  void Finish();
  // The missed-gem count one lower (decrease) or higher; the centre
  // message follows when it changes from or to 0.
  void ChangeMissedCount(bool decrease);
  // An eased move of the boulder over 1 s to z, when z is ahead of it.
  void SetBoulderTarget(float z);
  // The gem array's entries and count.
  PGemEntity* GetGem(int i) const { return gems[i]; }
  int GetGemCount() const { return gems.GetCount(); }
  PPlatformEntity* GetPlatform(int i) const { return platforms[i]; }
  int GetPlatformCount() const { return platforms.GetCount(); }
  PDoorEntity* GetDoor(int i) const { return doors[i]; }
  int GetDoorCount() const { return doors.GetCount(); }
  // The stick leaves the dynamite array (it is the craft's now).
  void RemoveDynamite(PDynamiteEntity* stick);
  // The z of the first tube section (the craft never goes behind it).
  float GetFirstPieceZ() const;
  // Run time in seconds (to the end when ended) and in hundredths.
  float GetRunTime() const;
  int GetRunTimeHundredths() const;
  // A timed cell whose run time passed the qualifying time.
  bool IsTooSlow() const;
  bool AllTargetsCollected() const { return targetsTaken == targetCount; }
  // A progression level played online at the online difficulty.
  bool IsGhostUploadAllowed() const;
  bool IsNightVisionOn() const { return nightVisionTime != 0.0f; }

  // --- HUD and screen messages (PGameHud.cpp) ---------------------------------------------
  // The mini-map: rows r - 1 (bottom line) to r + 6 (top line) and the nine
  // columns around the craft's.
  void UpdateMap(float z);
  // The map line cell of a column: d + 4 for the shorter signed step d
  // from the craft's column when |d| < 5, else -1.
  static int MapColumnCell(int craftColumn, int column);
  // The lesson tip for the craft's track position (lesson level only).
  void UpdateTips(float z);
  // The centre message for the pause flag and the state.
  void UpdateMessage();
  void ShowHud(bool show);
  // A target taken: counts, the large gem icon; the last one opens the
  // finish.
  void OnTargetCollected();
  // A hit: one life less; below 0 the craft crashes with the kind.
  void DecrementLife(int kind);
  void ShowDynamiteHud(bool show);
  // The spark circling the dynamite icon.
  void UpdateDynamiteSpark();
  void ShowTurboHud(bool show, bool immediate);
  void PulseTarget(bool on);
  // The boss target indicator on the entity's screen point; null hides it.
  void ShowTargetIndicator(SDxEntityObj* entity);
  void SetNightVision(bool on);
  // Rival ghost slots holding points, counted only on a done cell.
  int GetRivalGhostCount() const;

  // --- ghosts of a run (PGameGhosts.cpp) -----------------------------------------------
  // One frame of a running attempt: the craft's position appended to slot 0
  // when a new quarter second began, the ghosts of slots 1..4 moved along
  // their paths to the run's time with their glows and the rivals' labels
  // shown or hidden, and the place among the rivals set. From 180 s on it
  // does nothing.
  void UpdateGhosts();
  // The rival slots emptied, then, on a done cell of a level that counts
  // online, the cell's hiscores and rival ghosts fetched, the player's rank
  // and the time to beat shown.
  void LoadRivalGhosts();

  // --- accessors -------------------------------------------------------------------
  void SetEngine(SDx* engine) { dx = engine; }
  void SetHost(PGameHost* gameHost) { host = gameHost; }
  int GetTheme() const { return theme; }
  int GetDifficulty() const { return difficulty; }
  int GetState() const { return state; }
  bool IsRunning() const { return state == 2; }
  bool IsLessonLevel() const { return world == 1 && level == 1; }
  bool IsCentreLevel() const { return world == 2 && level == 2; }
  bool IsLevel33() const { return world == 3 && level == 3; }
  // Neither the lesson level nor level (3, 3): results count.
  bool IsProgressionLevel() const { return !IsLessonLevel() && !IsLevel33(); }
  // A progression level on a timed cell.
  bool IsTimed() const { return IsProgressionLevel() && levelMode == 2; }
  PShipEntity* GetShip() const { return ship; }
  float GetShipTrackPosition() const;
  // The next entry of lightColors (wrapping from 8 to 0).
  D3DXCOLOR GetNextLightColor();
  SDxTexture* GetCloudTexture() const { return texParticleCloud; }
  SDxTexture* GetCloudAlphaTexture() const { return texParticleCloudAlpha; }
  SDxTexture* GetExplosionTexture() const { return texExplosion; }
  SDxTexture* GetSpotTexture() const { return texParticleSpot; }
  SDxTexture* GetStarTexture() const { return texParticleStar; }
  SDxTexture* GetShockwaveTexture(int n) const { return n == 0 ? texShockwave0 : texShockwave1; }
  SDxMesh* GetBossFlyMesh() const { return bossFlyMesh; }
  SDxMesh* GetGuardMesh() const { return guardMesh; }
  SDxShape* GetBoulderShape() const { return boulderShape; }
  PBossEntity* GetBoss() const { return boss; }
  // Theme names: "egypt", "medieval", "hitech" and "" for the bonus theme.
  static const char* ThemeName(int theme);

  // Engine and effects.
  SDx* dx;
  PGameHost* host;
  SDxCamera* camera;
  SDxShader* fadeShader;
  SDxShader* grayShader;
  SDxShader* speedShader;
  SDxShader* nightShader;
  SDxEffect::Handle speedParam, coefParam, radiusParam;
  SArray<SDxShader*> startEffects;
  SArray<SDxShader*> runEffects;
  SArray<SDxShader*> nightEffects;
  SArray<SDxShader*> pauseEffects;

  // Textures, one member per file.
  SDxTexture* texDark;
  SDxTexture *texMsgPause, *texMsgGameOver, *texMsgTimeout, *texMsgSuccess, *texMsgMissedGems,
      *texMsgUploading;
  SDxTexture *texDigitsGreen, *texDigitsOrange, *texDigitsRed, *texDigitsWhite;
  SDxTexture *texParticleSpot, *texParticleStar, *texParticleCloud, *texParticleCloudAlpha;
  SDxTexture *texExplosion, *texSmoke, *texHole, *texBlood, *texShockwave0, *texShockwave1;
  SDxTexture *texDeadStandard, *texDeadBullet, *texDeadDestroy;
  SDxTexture *texBoulder, *texBoulderBlood;
  SDxTexture *texHudGem, *texHudMap, *texHudTarget, *texHudTargetBoss;
  SDxTexture *texHudCell, *texHudCellShip, *texHudCellGem, *texHudCellWall, *texHudCellRoof,
      *texHudCellJumper, *texHudCellDoor, *texHudCellDoor2, *texHudCellBox, *texHudCellMine,
      *texHudCellBlocker, *texHudCellFinish;
  SDxTexture *texHudDistance, *texHudLife, *texHudQualification, *texHudBestTime, *texHudRivalTime,
      *texHudTime, *texHudRank, *texHudPos, *texHudDynamite, *texHudDynamiteIcon, *texHudTurboIcon;
  SDxTexture *texFinish, *texFinish2, *texDynamite, *texLaser, *texLaserShip, *texLaserEnemy;
  SDxTexture *texBoss, *texBossFly;
  SDxTexture* tipTextures[TIP_COUNT];
  SDxTexture *texGround, *texWall, *texWallArrow, *texWallOn, *texWallOff, *texWallTop,
      *texWallRoof, *texWallRoof1, *texWallRoof2, *texPiston, *texJumper, *texJumper2,
      *texDoorSmall, *texDoorBig, *texDoorSide, *texBlocker, *texBox, *texBoxFront, *texBoxTop,
      *texForward, *texTurbo, *texEnemy, *texFan, *texGem, *texGuard, *texGuard2, *texMine,
      *texMirror;
  SDxTexture* texWagon;

  // Scene items made at load.
  SDxParticlePoint* spotEmitter;
  SDxParticlePoint* sideEmitters[2];
  SDxParticlePoint* ghostEmitters[GHOST_COUNT];  // slot 0 null
  SDxText* ghostLabels[GHOST_COUNT];
  // HUD sprites of the first layer, back to back from deathSprite to
  // tipSprite; bossTargetSprite and tipSprite are null off their levels.
  SDxSprite *deathSprite, *targetSprite, *bossTargetSprite, *messageSprite;
  SDxSprite *hudDistanceDigits, *hudDistance, *hudLifeDigits, *hudLife;
  SDxSprite *hudGem, *hudGemFlash, *hudTargetsTakenDigits, *hudTargetCountDigits;
  SDxSprite *hudDynamite, *hudRank, *hudPos, *hudQualification, *hudBestTime, *hudRivalTime,
      *hudTime;
  SDxSprite *hudDynamiteDigits, *hudRankDigits, *hudPosDigits;
  SDxSprite* hudQualificationDigits[3];  // minutes, separator, seconds
  SDxSprite* hudBestTimeDigits[5];       // minutes, separator, seconds, separator, hundredths
  SDxSprite* hudRivalTimeDigits[5];
  SDxSprite* hudTimeDigits[5];
  SDxSprite* mapFrame;
  SDxSprite* mapCells[9][8];  // [column 0..8][line 0..7]
  SDxSprite *hudDynamiteIcon, *hudTurboIcon, *hudTurboDigits;
  SDxSprite* tipSprite;
  D3DXCOLOR lightColors[8];
  SDxMesh *bossMesh, *bossFlyMesh;
  SDxMesh *arrowMesh, *dummyMesh, *dynamiteMesh, *enemyMesh, *fanMesh, *fireMesh, *gemMesh,
      *guardMesh, *mineMesh;
  SDxMesh* mirrorMeshes[MIRROR_KINDS];
  SDxMesh* wagonMesh;

  // Track geometry made at load.
  SDxShape* endCap;
  SArray<SDxShape*> tubeSections;  // in z order; tagged 0..15 at load and restart
  SDxShape* boulderShape;
  D3DXVECTOR3 wallCorners01[8], wallCorners34[8], wallCorners6[8], jumperCorners[8],
      pistonCorners[8];
  D3DXVECTOR3 boxCorners[3][8];
  SDxMesh* wallMeshes[6];
  SDxMesh* jumperMeshes[2];
  SDxMesh* pistonMesh;
  SDxMesh* guardDoorMeshes[2];
  SDxMesh* blockerMeshes[2];
  SDxMesh* turboMesh;
  SDxMesh* boxMeshes[3];
  SDxMesh* forwardMesh;
  SDxMesh* finishMesh;
  SDxMesh *laserBoltMeshA, *laserBoltMeshB;

  // Live entities of each kind (the scene layer owns them).
  PShipEntity* ship;
  PBossEntity* boss;
  SArray<PLaserEntity*> lasers;  // sorted by pointer value, growable
  SArray<PArrowEntity*> arrows;
  SArray<PBlockerEntity*> blockers;
  SArray<PBoulderEntity*> boulders;
  SArray<PDynamiteEntity*> dynamites;
  SArray<PDoorEntity*> doors;
  SArray<PEnemyEntity*> enemies;
  SArray<PFinishEntity*> finishes;
  SArray<PFireEntity*> fires;
  SArray<PForwardEntity*> forwards;
  SArray<PGemEntity*> gems;
  SArray<PLightEntity*> lights;
  SArray<PMineEntity*> mines;
  SArray<PMirrorEntity*> mirrors;
  SArray<PPlatformEntity*> platforms;
  SArray<PTurboEntity*> turbos;
  SArray<PWagonEntity*> wagons;

  // Map.
  SArray<MAPITEM*> mapItems;  // owns its records
  SArray<MAPITEM*> mapRows;   // row heads of mapItems, null for a row without items
  SArray<MAPITEM*> runItems;  // the attempt's copies; owns its records
  SArray<MAPITEM*> runRows;

  // Ghost slots: 0 the attempt being recorded, 1 the player's saved ghost,
  // 2..4 rivals.
  PGhost ghosts[GHOST_COUNT];
  int ghostSampleIndex;

  // Level, state and counters.
  SString levelFile;
  int nextRow;  // the spawn cursor: index in runItems of the next item to make
  int theme;
  int levelMode;
  int qualifyingTime;
  int difficulty;
  int world, level;
  bool finished;
  bool success;  // the attempt was won
  bool wonOnce;  // a run was won since the level was loaded
  int state;
  float stateTime;
  // The rolling boulder: its roll angle and its eased move (start time 0:
  // none).
  float crashAngle;
  float boulderMoveTime, boulderFromZ, boulderToZ;
  float runStartTime;
  float runEndTime;  // 0 while the run goes on
  int runTime;       // the won attempt's time in hundredths
  int bestTime;
  int targetCount;
  int targetsTaken;
  int missedGems;
  float lastTargetTime;  // 0: the large gem icon is idle
  int levelLives;
  int lives;
  int lightColorIndex;
  float nightVisionTime;  // 0 while off
  int nightVisionPhase;
  bool tipShown;

private:
  PGame(const PGame&) = delete;
  PGame& operator=(const PGame&) = delete;

  // Loading steps (PGameLoad.cpp).
  void LoadSounds();
  void LoadMusic();
  void LoadEffects();
  void LoadTextures();
  void LoadGhostLabels();
  void LoadHud();
  void LoadEmitters();
  void LoadGhostEmitters();
  // An emitter of the first layer textured with the spot; room for the
  // atoms given, or (0) for every atom alive at the highest rate.
  SDxParticlePoint* AddEmitter(float rateMin, float rateMax, float lifetime, float pointSize,
                               float speed, int capacity = 0);
  SDxSprite* AddHudSprite(SDxTexture* texture, int digits, float width, float x, float y,
                          bool shown);
  void LoadMeshes();
  // A mesh item of the scene filled from the file and hidden; null (no
  // item left behind) when the file does not load.
  SDxMesh* LoadMeshItem(const char* name, SDxTexture* texture);
  // Every pointer member made by Load back to null.
  void ForgetSceneItems();
  // Frees the records of both maps and empties the row arrays.
  void FreeMaps();
  // Every entity array emptied, boss and laser list included.
  void ForgetEntities();
  // The run's steps (PGameRun.cpp).
  void DeleteEntities();
  void RestartGhosts();
  void LeaveState(int newState);
  void EnterState();
  // The won result recorded and, with upload and when allowed, the ghost
  // uploaded; shown: the uploading message, the frames and the rivals'
  // reload on the level's scene.
  void RecordAndUpload(bool upload, bool shown);
  bool HandleKeys();
  void StepBoulder();
  void StepDistance();
  // A time display: minutes, seconds, hundredths in its sprites 0, 2, 4.
  static void ShowTime(SDxSprite** digits, int hundredths);
  static void SetDigitsTexture(SDxSprite** digits, int count, SDxTexture* texture);
  void SetEffects(SArray<SDxShader*>* effects);
  // The layer that the level's scene lives on.
  SDxLayer* Layer() const;
  // A visible instance of the source mesh on its layer; null without one.
  SDxMesh* Instance(SDxMesh* source);
  // The shape made into a hidden mesh, then removed.
  SDxMesh* FinishPiece(SDxShape* shape);
};

// The one game object of the process (set by the application object).
extern PGame* g_game;
