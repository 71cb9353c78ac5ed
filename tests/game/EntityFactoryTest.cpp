// The entity factory and the track streaming on a real engine: levels given
// as texts through a recording host (meshes stand in as boxes).
#include "core/Platform.h"

#include "engine/EngineTestSupport.h"
#include "engine/SDxLayer.h"
#include "engine/SDxManager.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShape.h"
#include "game/PEntities.h"
#include "game/PGame.h"
#include "tests/game/RecordingHost.h"

#include <gtest/gtest.h>
#include <float.h>
#include <math.h>

#include <string>

namespace {

const float kPi = 3.14159265f;

// A row of the level text with one character in a column ('.' elsewhere).
std::string Row(int column, char c) {
  std::string row(17, '.');
  row[column] = c;
  return row + "\r\n";
}

class Track : public GameSuite {
protected:
  void SetUp() override {
    GameSuite::SetUp();
    g_game = &game;
  }
  void TearDown() override {
    GameSuite::TearDown();
    g_game = nullptr;
  }
  // Loads the rows as the level of the cell (world 0: egypt, medieval,
  // hitech by level 0, 1, 2).
  void LoadRows(const std::string& rows, int level = 0) {
    char name[32];
    sprintf(name, "level_0%d.txt", level);
    host->levels[name] = "3\r\n" + rows;
    game.Load(1, 0, level);
    // The load starts the first attempt, which makes the first rows: they
    // go again, and the map and the spawn cursor start afresh.
    game.CullPassed(FLT_MAX);
    RunManager();
    game.CopyMapForRun();
    game.ResetTrack();
  }
  // Lets the layer's manager delete the entities flagged for removal.
  void RunManager() { s_engine->GetFirstLayer()->m_manager->Update(); }
  int LiveEntities() { return s_engine->GetFirstLayer()->m_manager->GetCount(); }
};

// The arrays of the game by bit, and the ones an entity is found in.
enum {
  A_ARROW = 1,
  A_BLOCKER = 2,
  A_BOULDER = 4,
  A_DYNAMITE = 8,
  A_DOOR = 16,
  A_ENEMY = 32,
  A_FINISH = 64,
  A_FIRE = 128,
  A_FORWARD = 256,
  A_GEM = 512,
  A_LIGHT = 1024,
  A_MINE = 2048,
  A_MIRROR = 4096,
  A_PLATFORM = 8192,
  A_TURBO = 16384,
  A_WAGON = 32768
};

template <class T>
int In(const SArray<T*>& array, SDxEntity* entity, int bit) {
  for (int i = 0; i < array.GetCount(); ++i)
    if ((SDxEntity*)array[i] == entity) return bit;
  return 0;
}

int ArraysOf(const PGame& g, SDxEntity* e) {
  return In(g.arrows, e, A_ARROW) | In(g.blockers, e, A_BLOCKER) | In(g.boulders, e, A_BOULDER) |
         In(g.dynamites, e, A_DYNAMITE) | In(g.doors, e, A_DOOR) | In(g.enemies, e, A_ENEMY) |
         In(g.finishes, e, A_FINISH) | In(g.fires, e, A_FIRE) | In(g.forwards, e, A_FORWARD) |
         In(g.gems, e, A_GEM) | In(g.lights, e, A_LIGHT) | In(g.mines, e, A_MINE) |
         In(g.mirrors, e, A_MIRROR) | In(g.platforms, e, A_PLATFORM) | In(g.turbos, e, A_TURBO) |
         In(g.wagons, e, A_WAGON);
}

template <class T>
bool Is(SDxEntity* e) {
  return dynamic_cast<T*>(e) != nullptr;
}

TEST_F(Track, EveryMapCharacterMakesItsEntity) {
  const float a5 = kPi / 16 - 5 * kPi / 8;  // item angle of column 5
  // Where an entity stands: radius from the axis (0: on the axis) at the
  // item's angle plus the offset, z from its row's start; its roll about
  // the tube axis; the arrays it is filed in.
  struct Case {
    char c;
    bool (*isClass)(SDxEntity*);
    int type;
    float radius, angleOffset, z, roll;
    int arrays;
  } cases[] = {
      {'\xBB', Is<PArrowEntity>, 1, 950, -0.04f, 0, 0, A_ARROW},
      {'X', Is<PBlockerEntity>, 2, 0, 0, 500, 0, A_BLOCKER},
      {'\xA9', Is<PBlockerEntity>, 2, 0, 0, 500, 0, A_BLOCKER},
      {'\xAE', Is<PBlockerEntity>, 2, 0, 0, 500, 0, A_BLOCKER},
      {'@', Is<PBoulderEntity>, 5, 0, 0, 0, 0, A_BOULDER},
      {'$', Is<PBoxEntity>, 6, 1000, 0, 0, kPi - a5, A_PLATFORM},
      {'#', Is<PBoxEntity>, 6, 1000, 0, 0, kPi - a5, A_PLATFORM},
      {'\xA3', Is<PBoxEntity>, 6, 1000, 0, 0, kPi - a5, A_PLATFORM},
      {'d', Is<PDynamiteEntity>, 7, 1000, 0, 500, kPi - a5, A_DYNAMITE},
      {'D', Is<PDynamiteEntity>, 7, 1000, 0, 500, kPi - a5, A_DYNAMITE},
      {'e', Is<PEnemyEntity>, 8, 1000, 0, 500, kPi - a5, A_ENEMY | A_PLATFORM},
      {'\xCA', Is<PEnemyEntity>, 8, 1000, 0, 500, kPi - a5, A_ENEMY | A_PLATFORM},
      {'Z', Is<PFinishEntity>, 9, 0, 0, 0, 0, A_FINISH},
      {'<', Is<PFireEntity>, 10, 915, 0, 500, kPi - a5, A_FIRE},
      {'^', Is<PFireEntity>, 10, 915, 0, 500, kPi - a5, A_FIRE},
      {'\x95', Is<PForwardEntity>, 11, 0, 0, 0, kPi - a5 - kPi / 2 + kPi / 16, A_FORWARD},
      {'*', Is<PGemEntity>, 12, 940, 0, 500, kPi - a5, A_GEM},
      {'+', Is<PGemEntity>, 12, 200, 0, 500, kPi - a5, A_GEM},
      {'=', Is<PGemEntity>, 12, 540, 0, 250, kPi - a5, A_GEM},
      {'\xB3', Is<PGuardDoorEntity>, 13, 0, 0, 0, 5 * kPi / 8, A_DOOR},
      {'\\', Is<PJumperEntity>, 14, 0, 0, 0, 5 * kPi / 8, A_PLATFORM},
      {'/', Is<PJumperEntity>, 14, 0, 0, 0, 5 * kPi / 8, A_PLATFORM},
      {'o', Is<PLightEntity>, 16, 700, 0, 500, 0, A_LIGHT},
      {'O', Is<PLightEntity>, 16, 700, 0, 500, 0, A_LIGHT},
      {'\xA4', Is<PMineEntity>, 17, 995, 0, 500, kPi - a5, A_MINE},
      {'7', Is<PMirrorEntity>, 18, 840, 0, 350, kPi - a5, A_MIRROR | A_PLATFORM},
      {'b', Is<PMirrorEntity>, 18, 840, 0, 350, kPi - a5, A_MIRROR | A_PLATFORM},
      {'P', Is<PPistonEntity>, 19, 0, 0, 995, 5 * kPi / 8, A_PLATFORM},
      {'T', Is<PTurboEntity>, 21, 0, 0, 0, kPi - a5 - kPi / 2, A_TURBO},
      {'W', Is<PWagonEntity>, 22, 1000, 0, 500, kPi - a5, A_WAGON | A_PLATFORM},
      {'|', Is<PWallEntity>, 23, 0, 0, 0, 5 * kPi / 8, A_PLATFORM},
      {'}', Is<PWallEntity>, 23, 0, 0, 0, 5 * kPi / 8, A_PLATFORM},
      {'z', Is<PWallEntity>, 23, 0, 0, 0, 5 * kPi / 8, A_PLATFORM},
  };
  std::string rows;
  for (const Case& c : cases) rows += Row(5, c.c);
  LoadRows(rows);
  ASSERT_EQ((int)(sizeof(cases) / sizeof(cases[0])), game.runItems.GetCount());
  for (int i = 0; i < game.runItems.GetCount(); ++i) {
    const Case& c = cases[i];
    MAPITEM* item = game.runItems[i];
    ASSERT_TRUE(game.CreateEntity(item)) << c.c;
    SDxEntityObj* entity = (SDxEntityObj*)(SDxEntity*)item->entity;
    ASSERT_NE(nullptr, entity) << c.c;
    EXPECT_TRUE(c.isClass(entity)) << c.c;
    EXPECT_EQ(c.type, entity->GetType()) << c.c;
    const D3DXVECTOR3& p = *entity->GetPosition();
    EXPECT_NEAR(c.radius, sqrtf(p.x * p.x + p.y * p.y), 0.05f) << c.c;
    if (c.radius > 0) {
      EXPECT_NEAR(item->angle + c.angleOffset, atan2f(p.x, p.y), 1e-4f) << c.c;
    }
    EXPECT_NEAR(i * 1000 + c.z, p.z, 0.01f) << c.c;
    // The roll about the tube axis turns the model's up axis.
    D3DXVECTOR3 up;
    entity->GetMainObject()->GetAxes(nullptr, &up, nullptr, nullptr);
    EXPECT_NEAR(cosf(c.roll), up.y, 1e-4f) << c.c;
    EXPECT_NEAR(fabsf(sinf(c.roll)), fabsf(up.x), 1e-4f) << c.c;
    EXPECT_EQ(c.arrays, ArraysOf(game, entity)) << c.c;
  }
}

TEST_F(Track, PlacementEdgeCases) {
  // An arrow in column 0 of row 5 and its backward twin; a gem of subtype 2
  // in row 3; a mirror in row 2; a platform in column 8.
  std::string rows = Row(0, '.') + Row(0, '.') + Row(3, '7') + Row(3, '=') + Row(8, '|') +
                     Row(0, '\xBB') + Row(0, '\xAB') + Row(0, '|');
  LoadRows(rows);
  for (int i = 0; i < game.runItems.GetCount(); ++i)
    ASSERT_TRUE(game.CreateEntity(game.runItems[i]));
  SDxEntityObj* mirror = game.mirrors[0];
  EXPECT_FLOAT_EQ(2350, mirror->GetZ());
  EXPECT_FLOAT_EQ(3250, game.gems[0]->GetZ());
  PPlatformEntity* wall8 = (PPlatformEntity*)game.GetMapItem(8, 4)->entity;
  EXPECT_NEAR(kPi, wall8->turnAngle, 1e-5f);
  EXPECT_NEAR(-kPi, wall8->sectorStart, 1e-5f);
  EXPECT_NEAR(-kPi + kPi / 8, wall8->sectorEnd, 1e-5f);
  PArrowEntity* forward = game.arrows[0];
  PArrowEntity* backward = game.arrows[1];
  EXPECT_NEAR(950 * sinf(kPi / 16 - 0.04f), forward->GetX(), 0.01f);
  EXPECT_NEAR(950 * cosf(kPi / 16 - 0.04f), forward->GetY(), 0.01f);
  EXPECT_FLOAT_EQ(5000, forward->startZ);
  EXPECT_FLOAT_EQ(7000, backward->startZ);
  D3DXVECTOR3 ahead;
  backward->GetMainObject()->GetAxes(&ahead, nullptr, nullptr, nullptr);
  EXPECT_NEAR(-1, ahead.z, 1e-5f);
  // Egypt: the wall after the backward arrow shows the arrow's opening.
  SDxMesh* wall = (SDxMesh*)((SDxEntityObj*)game.GetMapItem(0, 7)->entity)->GetMainObject();
  EXPECT_EQ(game.wallMeshes[2], wall->m_source);
  SDxMesh* plain = (SDxMesh*)wall8->GetMainObject();
  EXPECT_EQ(game.wallMeshes[0], plain->m_source);
}

TEST_F(Track, ThemesChangeEnemiesAndArrowWalls) {
  std::string rows = Row(2, 'e') + Row(4, '\xAB') + Row(4, '|');
  float enemyZ[3];
  for (int level = 0; level < 3; ++level) {
    LoadRows(rows, level);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(game.CreateEntity(game.runItems[i]));
    enemyZ[level] = game.enemies[0]->GetZ();
    SDxMesh* wall = (SDxMesh*)game.platforms[1]->GetMainObject();
    EXPECT_EQ(game.wallMeshes[level == 0 ? 2 : 0], wall->m_source) << level;
  }
  EXPECT_FLOAT_EQ(500, enemyZ[0]);
  EXPECT_FLOAT_EQ(470, enemyZ[1]);
  EXPECT_FLOAT_EQ(300, enemyZ[2]);
}

TEST_F(Track, GuardDoorsCountTheirGuards) {
  // The first plain guard door is a dark door with one guard; a later one
  // (subtype -1) has none; the others have their subtype's count.
  LoadRows(Row(0, '\xB0') + Row(0, '\xB0') + Row(0, '\xB9') + Row(0, '\xB3'));
  const int guards[4] = {1, 0, 1, 3};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(game.CreateEntity(game.runItems[i]));
    PGuardDoorEntity* door = (PGuardDoorEntity*)game.doors[i];
    EXPECT_EQ(guards[i], door->GetGuardCount()) << i;
    EXPECT_FLOAT_EQ(kPi / 16, door->guardAngle);
    EXPECT_FALSE(door->GetGuardObject()->m_hidden);
  }
}

TEST_F(Track, UnknownTypesFullArraysAndMissingMeshesMakeNothing) {
  LoadRows(Row(0, 'T') + Row(1, 'T') + Row(2, 'T') + Row(0, 'o') + Row(0, '@'));
  MAPITEM fake = *game.runItems[0];
  for (int type : {0, 3, 4, 15, 20, 24}) {
    fake.type = type;
    EXPECT_FALSE(game.CreateEntity(&fake)) << type;
  }
  EXPECT_TRUE(game.CreateEntity(game.runItems[0]));
  EXPECT_TRUE(game.CreateEntity(game.runItems[1]));
  int entities = LiveEntities();
  EXPECT_FALSE(game.CreateEntity(game.runItems[2])) << "two boost pads at most";
  EXPECT_EQ(2, game.turbos.GetCount());
  EXPECT_EQ(entities, LiveEntities());

  host->missing.insert("dummy.x");
  LoadRows(Row(0, 'o') + Row(0, '@'));
  EXPECT_EQ(nullptr, game.dummyMesh);
  EXPECT_FALSE(game.CreateEntity(game.runItems[0]));
  EXPECT_FALSE(game.CreateEntity(game.runItems[1]));
  EXPECT_EQ(nullptr, game.FireLaser(PGame::ITEM_CRAFT, nullptr, nullptr, nullptr));
  EXPECT_EQ(0, game.lights.GetCount() + game.boulders.GetCount() + game.lasers.GetCount());
}

TEST_F(Track, RowsSpawnAheadAndGoBehind) {
  std::string rows;
  for (int r = 0; r < 60; ++r) rows += Row(r % 16, '*');
  LoadRows(rows);
  // The spawn cursor: items of the rows below z / 1000 + 16 exist.
  const struct {
    float z;
    int made;
  } steps[] = {{0, 16}, {999, 16}, {1000, 17}, {15999, 31}, {16000, 32}};
  for (const auto& step : steps) {
    game.Update(step.z);
    EXPECT_EQ(step.made, game.nextRow) << step.z;
  }
  // The gem of row 1 stands at 1500: it goes only when strictly more than
  // 15000 behind.
  game.Update(16500);
  EXPECT_EQ(31, game.gems.GetCount()) << "rows 1..31";
  game.Update(nextafterf(16500.0f, 1e9f));
  EXPECT_EQ(30, game.gems.GetCount());
  EXPECT_FLOAT_EQ(2500, game.gems[0]->GetZ());
  int live = LiveEntities();
  RunManager();
  EXPECT_EQ(live - 2, LiveEntities()) << "the two gems behind are deleted";
}

TEST_F(Track, SlidingWallsLookFurtherAhead) {
  std::string rows;
  for (int r = 0; r < 30; ++r) rows += Row(0, r == 10 || r == 17 ? '}' : '*');
  LoadRows(rows);
  game.Update(0);
  // Rows 0..15, then 16 and 17 after the wall of row 10, and 18, 19 after
  // the one of row 17.
  EXPECT_EQ(20, game.nextRow);
  EXPECT_EQ(18, game.gems.GetCount());
}

TEST_F(Track, PlatformKindsAreDeletedOnceAndTheBossStays) {
  LoadRows(Row(0, 'e') + Row(1, '7') + Row(2, 'W') + Row(3, '|') + Row(4, '*'));
  game.Update(0);
  EXPECT_EQ(4, game.platforms.GetCount());
  SDxMesh* bossMesh = SDxMesh::CreateInstance(game.wallMeshes[0], nullptr);
  game.boss = new PBossEntity(bossMesh->GetLayer(), bossMesh);
  game.platforms.Add(game.boss);
  RunManager();
  int before = LiveEntities();
  game.CullPassed(FLT_MAX);
  EXPECT_EQ(0, game.enemies.GetCount() + game.mirrors.GetCount() + game.wagons.GetCount());
  ASSERT_EQ(1, game.platforms.GetCount());
  EXPECT_EQ((PPlatformEntity*)game.boss, game.platforms[0]);
  RunManager();
  EXPECT_EQ(before - 5, LiveEntities()) << "four platforms and the gem, once each";
}

TEST_F(Track, TubeSectionsAreRecycledInOrder) {
  LoadRows(Row(0, '*'));
  ASSERT_EQ(16, game.tubeSections.GetCount());
  SDxShape* first = game.tubeSections[0];
  SDxShape* second = game.tubeSections[1];
  EXPECT_FLOAT_EQ(-16000, first->GetZ());
  EXPECT_FLOAT_EQ(14000, game.tubeSections[15]->GetZ());
  EXPECT_FLOAT_EQ(15000, game.endCap->GetZ());
  game.Update(1000);
  EXPECT_EQ(first, game.tubeSections[0]) << "moved only when more than 17000 behind";
  game.Update(3000.5f);
  EXPECT_EQ(first, game.tubeSections[14]);
  EXPECT_EQ(second, game.tubeSections[15]);
  EXPECT_FLOAT_EQ(16000, first->GetZ());
  EXPECT_FLOAT_EQ(18000, second->GetZ());
  EXPECT_FLOAT_EQ(19000, game.endCap->GetZ());
}

TEST_F(Track, TubeSectionsHoldTheirIndexFromTheLoadAndEachRestart) {
  LoadRows(Row(0, '*'));
  ASSERT_EQ(16, game.tubeSections.GetCount());
  for (int i = 0; i < 16; ++i) EXPECT_EQ(i, game.tubeSections[i]->GetTag()) << i;
  // Recycled to the front, a section keeps its number until the restart
  // numbers them again in their new order.
  game.Update(3000.5f);
  SDxShape* first = game.tubeSections[14];
  EXPECT_EQ(0, first->GetTag());
  game.Restart();
  EXPECT_EQ(first, game.tubeSections[14]);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(i, game.tubeSections[i]->GetTag()) << i;
    EXPECT_FLOAT_EQ(i * 2000.0f - 16000, game.tubeSections[i]->GetZ()) << i;
  }
}

TEST_F(Track, LasersAreKeptInPointerOrderInTheirLaunchState) {
  LoadRows(Row(0, '*'));
  D3DXVECTOR3 origin(0, 900, 500);
  for (int owner : {1, 8, 20, 4})
    ASSERT_NE(nullptr, game.FireLaser(owner, &origin, nullptr, nullptr));
  ASSERT_EQ(4, game.lasers.GetCount());
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      EXPECT_LT(game.lasers[i - 1], game.lasers[i]);
    }
    EXPECT_EQ(PLaser_Launch::Instance(), game.lasers[i]->GetCurrentState());
    EXPECT_FLOAT_EQ(500, game.lasers[i]->GetZ());
  }
}

TEST_F(Track, TheProbeFindsThePlatformTopUnderTheCraft) {
  LoadRows(Row(0, '|') + Row(0, '.') + Row(0, '.') + Row(0, '.') + Row(2, '|'));
  game.Update(0);
  const float a = kPi / 16;  // the centre of column 0
  struct Case {
    float radius, z;
    PPlatformEntity* platform;
  } cases[] = {
      {620, 500, game.platforms[0]},  // on the wall's top (radius 600)
      {700, 500, nullptr},            // above it
      {620, 1500, nullptr},           // in the row behind it
  };
  for (const Case& c : cases) {
    PPlatformEntity* hit = nullptr;
    SDxTriangle top;
    D3DXVECTOR3 p(c.radius * sinf(a), c.radius * cosf(a), c.z);
    EXPECT_EQ(c.platform != nullptr, game.ProbePlatforms(&hit, &top, p, 40)) << c.radius;
    EXPECT_EQ(c.platform, hit) << c.radius << " " << c.z;
    if (hit) {
      for (const D3DXVECTOR3& corner : top.corners)
        EXPECT_NEAR(600, sqrtf(corner.x * corner.x + corner.y * corner.y), 0.5f);
    }
  }
}

}  // namespace
