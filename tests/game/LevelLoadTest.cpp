// Level loading through a recording host on a real engine: the order and
// arguments of every load, the members each level fills, and the unload.
#include "core/Platform.h"

#include "engine/EngineTestSupport.h"
#include "engine/SDxMesh.h"
#include "engine/SDxParticle.h"
#include "engine/SDxShaderDeferred.h"
#include "engine/SDxSprite.h"
#include "engine/SDxTexture.h"
#include "game/PGame.h"
#include "tests/game/RecordingHost.h"

#include <gtest/gtest.h>

namespace {

class LevelLoad : public GameSuite {};

const char* const kSoundNames[58] = {"accelerate.wav",
                                     "alarm.wav",
                                     "bip_allgems.wav",
                                     "bip_dynamite.wav",
                                     "bip_gem.wav",
                                     "bip_start.wav",
                                     "bip_target.wav",
                                     "blood.wav",
                                     "boss_move.wav",
                                     "boulder.wav",
                                     "bounce_gem.wav",
                                     "bounce_ground.wav",
                                     "bounce_ground2.wav",
                                     "bounce_laser.wav",
                                     "bounce_platform.wav",
                                     "bounce_wallfront.wav",
                                     "bounce_wallside.wav",
                                     "box.wav",
                                     "brake.wav",
                                     "catchdynamite.wav",
                                     "decelerate.wav",
                                     "die.wav",
                                     "door.wav",
                                     "dynamite.wav",
                                     "electricity.wav",
                                     "end.wav",
                                     "explosion_arrow.wav",
                                     "explosion_boss.wav",
                                     "explosion_dynamite.wav",
                                     "explosion_enemy.wav",
                                     "explosion_gem.wav",
                                     "explosion_laser.wav",
                                     "explosion_mine.wav",
                                     "fan.wav",
                                     "fire.wav",
                                     "jump_jump.wav",
                                     "jump_slide.wav",
                                     "laser.wav",
                                     "laser_enemy.wav",
                                     "mirror.wav",
                                     "move.wav",
                                     "newgem.wav",
                                     "piston_activate.wav",
                                     "piston_pullback.wav",
                                     "prelaser.wav",
                                     "pushwall.wav",
                                     "slide.wav",
                                     "turbo.wav",
                                     "voice_gameover0.wav",
                                     "voice_gameover1.wav",
                                     "voice_gameover2.wav",
                                     "voice_gameover3.wav",
                                     "voice_gameover4.wav",
                                     "voice_success.wav",
                                     "voice_start.wav",
                                     "wagon.wav",
                                     "wind.wav",
                                     "music0.mp3"};

TEST_F(LevelLoad, SoundsTakeTheirChannelsInOrderWhateverIsMissing) {
  host->missing = {"alarm.wav", "fan.wav"};
  game.Load(0, 0, 0);
  std::vector<RecordedLoad> sounds = host->Of("sound");
  ASSERT_EQ(58u, sounds.size());
  for (int id = 0; id < 58; ++id) EXPECT_EQ(kSoundNames[id], sounds[id].name) << id;
  struct Flags {
    int id;
    bool loop;
    int voices;
  } flags[] = {{0, false, 1},  {1, true, 1},  {4, false, 3},  {17, false, 4}, {24, true, 2},
               {31, false, 8}, {33, true, 8}, {34, true, 8},  {38, false, 2}, {40, true, 1},
               {53, false, 1}, {55, true, 1}, {56, false, 1}, {57, true, 1}};
  for (const Flags& f : flags) {
    EXPECT_EQ(f.loop, sounds[f.id].flag) << f.id;
    EXPECT_EQ(f.voices, sounds[f.id].value) << f.id;
  }
}

TEST_F(LevelLoad, MusicComesFromThePlayersFilesThenTheTheme) {
  struct Case {
    int world, level;
    bool userFile, userFileReads;
    const char* last;  // the last sound load
  } cases[] = {
      {0, 1, false, false, "music1.mp3"}, {0, 2, false, false, "music2.mp3"},
      {1, 1, false, false, "wind.wav"},   {0, 0, true, true, "C:\\music\\a.mp3"},
      {0, 0, true, false, "music0.mp3"},
  };
  for (const Case& c : cases) {
    host->loads.clear();
    host->music.RemoveAll();
    host->missing.clear();
    if (c.userFile) host->music.Add("C:\\music\\a.mp3");
    if (c.userFile && !c.userFileReads) host->missing.insert("C:\\music\\a.mp3");
    game.Load(1, c.world, c.level);
    std::vector<RecordedLoad> all;
    for (const RecordedLoad& load : host->loads)
      if (load.kind == "sound" || load.kind == "soundfile") all.push_back(load);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(c.last, all.back().name) << c.world << c.level;
    EXPECT_EQ(c.world == 1 && c.level == 1 ? 57u : 58u,
              all.size() - (c.userFile && !c.userFileReads));
  }
}

// The texture loads of a level as (name, normal map, option).
std::vector<RecordedLoad> TexturesOf(RecordingHost& host) { return host.Of("texture"); }

bool Loaded(const std::vector<RecordedLoad>& loads, const std::string& name, bool* normal = nullptr,
            int* option = nullptr) {
  for (const RecordedLoad& load : loads) {
    if (load.name != name) continue;
    if (normal) *normal = load.flag;
    if (option) *option = load.value;
    return true;
  }
  return false;
}

TEST_F(LevelLoad, TexturesFollowTheThemeWithTheirOptions) {
  struct Case {
    const char* name;
    int world, level;
    bool loaded, normal;
    int option;
  } cases[] = {
      {"dark.jpg", 0, 0, true, false, 0},
      {"msg_pause.png", 0, 0, true, false, 1},
      {"particle_spot.png", 0, 0, true, false, 2},
      {"particle_cloudalpha.png", 0, 0, true, false, 1},
      {"hud_target.png", 0, 0, true, false, 1},
      {"hud_cellfinish.png", 0, 0, true, false, 2},
      {"laser_ship.png", 0, 0, true, false, 2},
      {"egypt_wall.jpg", 0, 0, true, true, 0},
      {"egypt_wallarrow.jpg", 0, 0, true, true, 0},
      {"egypt_ground.jpg", 0, 0, true, false, 0},
      {"egypt_gem.png", 0, 0, true, true, 0},
      {"medieval_guard2.jpg", 0, 1, true, false, 0},
      {"medieval_wall_roof1.jpg", 0, 1, true, true, 0},
      {"hitech_piston.jpg", 0, 2, true, true, 0},
      {"hitech_wall_on.jpg", 0, 2, true, true, 0},
      {"bonus_wall.jpg", 3, 3, true, false, 0},
      {"bonus_gem.jpg", 3, 3, true, false, 0},
      {"bonus_steam.jpg", 3, 3, true, false, 0},
      {"bonus_boulder.jpg", 3, 3, true, false, 0},
      {"boulder.jpg", 3, 3, false, false, 0},
      {"boss.jpg", 0, 0, false, false, 0},
      {"boss.jpg", 2, 2, true, false, 0},
      {"hud_tip_gem.png", 0, 0, false, false, 0},
      {"hud_tip_end.png", 1, 1, true, false, 1},
      {"medieval_guard2.jpg", 0, 0, false, false, 0},
  };
  for (const Case& c : cases) {
    host->loads.clear();
    game.Load(1, c.world, c.level);
    bool normal = false;
    int option = -1;
    bool loaded = Loaded(TexturesOf(*host), c.name, &normal, &option);
    EXPECT_EQ(c.loaded, loaded) << c.name << " in " << c.world << c.level;
    if (!loaded || !c.loaded) continue;
    EXPECT_EQ(c.normal, normal) << c.name;
    EXPECT_EQ(c.option, option) << c.name;
  }
}

TEST_F(LevelLoad, BonusThemeSlotsWithoutFilesStayEmpty) {
  game.Load(2, 3, 3);
  EXPECT_EQ(1, game.difficulty);
  EXPECT_EQ(nullptr, game.texDoorSmall);
  EXPECT_EQ(nullptr, game.texBox);
  EXPECT_EQ(nullptr, game.texTurbo);
  EXPECT_EQ(nullptr, game.texFan);
  EXPECT_EQ(nullptr, game.texGuard);
  EXPECT_EQ(nullptr, game.texMirror);
  EXPECT_EQ(nullptr, game.mineMesh);
  ASSERT_NE(nullptr, game.texWallRoof);
  EXPECT_EQ(game.texWallRoof, game.texWallRoof1);
  EXPECT_EQ(game.texWallRoof, game.texWallRoof2);
  EXPECT_EQ(game.texBoulder, game.texBoulderBlood);
  ASSERT_FALSE(host->Of("mesh").empty());
  EXPECT_EQ("enemy_.x", host->Of("mesh")[2].name);
}

TEST_F(LevelLoad, LessonAndCentreAssetsOnlyOnTheirLevels) {
  game.Load(1, 1, 1);
  for (SDxTexture* tip : game.tipTextures) EXPECT_NE(nullptr, tip);
  EXPECT_EQ(nullptr, game.texBoss);
  EXPECT_EQ(nullptr, game.bossMesh);
  EXPECT_EQ(nullptr, game.bossFlyMesh);
  game.Load(1, 2, 2);
  for (SDxTexture* tip : game.tipTextures) EXPECT_EQ(nullptr, tip);
  EXPECT_NE(nullptr, game.texBoss);
  EXPECT_NE(nullptr, game.texBossFly);
  EXPECT_NE(nullptr, game.bossMesh);
  EXPECT_NE(nullptr, game.bossFlyMesh);
}

TEST_F(LevelLoad, MissingMeshesLeaveNoItemBehind) {
  host->missing = {"gem.x", "mirror.x", "dummy.x"};
  int before = s_engine->GetFirstLayer()->m_meshCount;
  (void)before;
  game.Load(1, 0, 1);
  EXPECT_EQ(nullptr, game.gemMesh);
  EXPECT_EQ(nullptr, game.dummyMesh);
  for (SDxMesh* mirror : game.mirrorMeshes) EXPECT_EQ(nullptr, mirror);
  ASSERT_NE(nullptr, game.wagonMesh);
  EXPECT_FALSE(game.wagonMesh->IsVisible());
  // Every mesh item left in the scene is a loaded one.
  SDxLayer* layer = s_engine->GetFirstLayer();
  for (int i = 0; i < layer->GetCount(SDxLayer::LIST_MESHES); ++i) {
    SDxMesh* mesh = static_cast<SDxMesh*>(layer->GetItem(SDxLayer::LIST_MESHES, i));
    EXPECT_NE(nullptr, mesh->m_geometry);
  }
}

TEST_F(LevelLoad, EffectListsHoldOnlyEffectsThatExist) {
  game.Load(1, 0, 0);
  // The night-vision file is missing (the host has no effects).
  EXPECT_EQ(nullptr, game.nightShader);
  for (SArray<SDxShader*>* list :
       {&game.startEffects, &game.runEffects, &game.nightEffects, &game.pauseEffects})
    for (int i = 0; i < list->GetCount(); ++i) EXPECT_NE(nullptr, (*list)[i]);
  EXPECT_EQ(game.speedShader != nullptr ? 1 : 0, game.nightEffects.GetCount());
}

TEST_F(LevelLoad, HudSpritesFollowTheLevelAndShowTheTargetCount) {
  struct {
    int world, level;
    const char* text;
    int targets;
    bool lesson, centre;
  } cases[] = {
      {0, 2, "3\r\n..*..............\r\n*................\r\n", 2, false, false},
      {2, 2, "3\r\n..*..............\r\n", 2, false, true},  // the boss counts once
      {1, 1, "3\r\n.................\r\n", 0, true, false},
  };
  for (const auto& c : cases) {
    SString name;
    name.Format("level_%d%d.txt", c.world, c.level);
    host->levels[name.GetText()] = c.text;
    game.Load(1, c.world, c.level);
    ASSERT_NE(nullptr, game.hudTargetCountDigits);
    EXPECT_EQ(c.targets, game.hudTargetCountDigits->GetNumber()) << name.GetText();
    EXPECT_EQ(c.centre, game.bossTargetSprite != nullptr);
    EXPECT_EQ(c.lesson, game.tipSprite != nullptr);
    if (game.tipSprite) {
      EXPECT_FALSE(game.tipSprite->IsVisible());
    }
    // Every sprite exists; the ones for later moments start hidden.
    for (SDxSprite** s = &game.deathSprite; s <= &game.tipSprite; ++s)
      if (s != &game.bossTargetSprite && s != &game.tipSprite) {
        ASSERT_NE(nullptr, *s);
      }
    for (SDxSprite* hidden : {game.deathSprite, game.messageSprite, game.hudDynamiteIcon,
                              game.hudRank, game.hudPosDigits, game.hudRivalTimeDigits[4]})
      EXPECT_FALSE(hidden->IsVisible());
    // The load ends with the first attempt's start phase: the run's panels
    // wait for the run.
    for (SDxSprite* waiting : {game.hudTimeDigits[0], game.mapCells[8][7], game.hudTurboDigits})
      EXPECT_FALSE(waiting->IsVisible());
    EXPECT_EQ(game.texDigitsRed, game.hudDistanceDigits->m_texture);
    EXPECT_EQ(game.texHudCell, game.mapCells[0][0]->m_texture);
  }
  game.Unload();
  for (SDxSprite** s = &game.deathSprite; s <= &game.tipSprite; ++s) EXPECT_EQ(nullptr, *s);
}

TEST_F(LevelLoad, EmittersRunBesideTheTrackAndWaitOnTheGhosts) {
  game.Load(1, 0, 0);
  // The dynamite's spark and the turbo's side emitters wait for their
  // panels once the first attempt starts.
  ASSERT_NE(nullptr, game.spotEmitter);
  EXPECT_FALSE(game.spotEmitter->IsEmitting());
  EXPECT_EQ(game.texParticleSpot, game.spotEmitter->m_texture);
  struct {
    float x, directionX;
  } sides[] = {{-1000.0f, 1.0f}, {1000.0f, -1.0f}};
  for (int i = 0; i < 2; ++i) {
    SDxParticlePoint* side = game.sideEmitters[i];
    ASSERT_NE(nullptr, side);
    EXPECT_FALSE(side->IsEmitting());
    EXPECT_EQ(D3DXVECTOR3(sides[i].x, -700.0f, 0.0f), side->m_position);
    EXPECT_EQ(sides[i].directionX, side->m_directionMin.x);
    // Room for every atom of five seconds at the highest rate.
    EXPECT_GE(side->m_capacity, 500);
  }
  const float colors[5][3] = {{0, 0, 0}, {0, 1, 1}, {0, 1, 0}, {1, 0.5f, 0}, {0.42f, 0.17f, 0.62f}};
  EXPECT_EQ(nullptr, game.ghostEmitters[0]);
  for (int slot = 1; slot < PGame::GHOST_COUNT; ++slot) {
    SDxParticlePoint* trail = game.ghostEmitters[slot];
    ASSERT_NE(nullptr, trail);
    EXPECT_FALSE(trail->IsEmitting());
    EXPECT_EQ(D3DXCOLOR(colors[slot][0], colors[slot][1], colors[slot][2], 1.0f), trail->m_colorA);
    EXPECT_EQ(D3DXVECTOR3(0, 0, 0), trail->m_directionMax);
    EXPECT_EQ(40, trail->m_capacity);
  }
  game.Unload();
  EXPECT_EQ(nullptr, game.spotEmitter);
  EXPECT_EQ(nullptr, game.sideEmitters[1]);
  EXPECT_EQ(nullptr, game.ghostEmitters[4]);
}

TEST_F(LevelLoad, DeferredLightsLightDarkSurfacesFromATenthOfTheirColour) {
  SDxShaderDeferred* shader = s_engine->GetDeferredShader();
  ASSERT_NE(nullptr, shader);
  ASSERT_NE(nullptr, shader->m_effect);
  s_engine->SetDeferredValue(0.0f);
  game.Load(1, 0, 0);
  float floor = -1.0f;
  ASSERT_TRUE(shader->m_effect->GetFloat(shader->m_lightAmbientMin, &floor));
  EXPECT_FLOAT_EQ(0.1f, floor);
}

TEST_F(LevelLoad, UnloadLeavesNoPointerIntoTheScene) {
  host->levels["level_02.txt"] = "3\r\n..*..............\r\n";
  game.Load(1, 0, 2);
  EXPECT_EQ(1, game.state);
  EXPECT_EQ(1, game.mapItems.GetCount());
  EXPECT_EQ(3, game.lives);
  EXPECT_NE(nullptr, game.camera);
  EXPECT_NE(nullptr, game.ghostLabels[2]);
  EXPECT_EQ(nullptr, game.ghostLabels[1]);
  game.Unload();
  EXPECT_EQ(0, game.state);
  EXPECT_EQ(0, game.mapItems.GetCount());
  EXPECT_EQ(0, game.runItems.GetCount());
  const SDxTexture* const* first = &game.texDark;
  const SDxTexture* const* last = &game.texWagon;
  for (const SDxTexture* const* t = first; t <= last; ++t) EXPECT_EQ(nullptr, *t);
  EXPECT_EQ(nullptr, game.camera);
  EXPECT_EQ(nullptr, game.speedShader);
  EXPECT_EQ(nullptr, game.gemMesh);
  EXPECT_EQ(nullptr, game.ghostLabels[2]);
  EXPECT_EQ(0, game.startEffects.GetCount());
}

}  // namespace
