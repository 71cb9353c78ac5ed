// Levels of the data set loaded by the application's own loaders from the
// archives the build made, on a real device.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "data/GameArchives.h"
#include "engine/EngineTestSupport.h"
#include "engine/SDxLayer.h"
#include "engine/SDxManager.h"
#include "engine/SDxSound.h"
#include "engine/SDxTexture.h"
#include "game/PEntities.h"

#include <gtest/gtest.h>

namespace {

// The application with its archives open and its engine on the window.
void OpenGame(PWnd& app, SWnd* window) {
  SResource* archives[] = {&app.resImg, &app.resSnd, &app.resObj, &app.resFx, &app.resDat};
  const char* kinds[] = {"img", "snd", "obj", "fx", "dat"};
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(GameArchives::Open(*archives[i], kinds[i]));
  SDxConfig config;
  SString error;
  ASSERT_TRUE(app.dx.Create(window, &config, &error)) << error.GetText();
}

TEST(DataSetLoad, LevelsOfEveryThemeLoadFromTheArchives) {
  std::unique_ptr<SWnd> window = MakeEngineWindow();
  PWnd app;
  ASSERT_NO_FATAL_FAILURE(OpenGame(app, window.get()));
  struct Case {
    int world, level, theme;
    int channels;
  } cases[] = {{0, 0, 0, 58}, {0, 1, 1, 58}, {0, 2, 2, 58},
               {3, 3, 3, 58}, {1, 1, 0, 57}, {2, 2, 0, 58}};
  for (const Case& c : cases) {
    app.EnterGame(1, c.world, c.level);
    const PGame& game = app.game;
    EXPECT_EQ(PWnd::MODE_GAME, app.GetMode());
    EXPECT_EQ(c.theme, game.theme);
    EXPECT_EQ(c.channels, app.dx.m_sounds.GetCount()) << c.world << c.level;
    for (int id = 0; id < c.channels; ++id)
      EXPECT_NE(nullptr, app.dx.GetSound(id)) << "channel " << id << " of " << c.world << c.level;
    EXPECT_NE(nullptr, game.texGround) << c.world << c.level;
    EXPECT_NE(nullptr, game.texWall) << c.world << c.level;
    EXPECT_NE(nullptr, game.gemMesh) << c.world << c.level;
    EXPECT_NE(nullptr, game.nightShader) << c.world << c.level;
    EXPECT_GT(game.mapItems.GetCount(), 0) << c.world << c.level;
    EXPECT_EQ(1, game.state);
    EXPECT_TRUE(app.dx.Render());
  }
  app.LeaveMode();
  EXPECT_EQ(0, app.game.state);
}

// The engine's option hooks in a run and in the menu.
TEST(DataSetLoad, OptionsReachTheLevelMusicOnlyInARun) {
  std::unique_ptr<SWnd> window = MakeEngineWindow();
  PWnd app;
  g_app = &app;
  ASSERT_NO_FATAL_FAILURE(OpenGame(app, window.get()));

  app.EnterGame(0, 0, 0);
  SDxSound* music = app.dx.GetSound(PGame::MUSIC_CHANNEL);
  ASSERT_NE(nullptr, music);
  ASSERT_TRUE(music->m_loaded);
  EXPECT_TRUE(music->m_loop);
  int voices = 0;
  for (SDxSound* voice = app.dx.GetSound(31); voice; voice = voice->m_next) ++voices;
  EXPECT_EQ(8, voices);
  SDxConfig* settings = app.dx.GetConfig();
  settings->musicVolume = 0.25f;
  app.dx.OnSettingChanged(settings, 4);
  EXPECT_FLOAT_EQ(0.5f, music->m_volume);

  // The music option: with audio and music on the level music starts again
  // at twice the configured volume; otherwise it stops.
  struct MusicCase {
    uint8_t audio, music;
    bool plays;
  } musicCases[] = {{1, 1, true}, {1, 0, false}, {0, 1, false}};
  settings->musicVolume = 0.3f;
  for (const MusicCase& c : musicCases) {
    app.dx.PlaySound(PGame::MUSIC_CHANNEL, false, 0.9f, 0.0f);
    settings->audio = c.audio;
    settings->music = c.music;
    app.dx.OnSettingChanged(settings, 3);
    EXPECT_EQ(c.plays, music->IsPlaying()) << int(c.audio) << int(c.music);
    if (c.plays) EXPECT_FLOAT_EQ(0.6f, music->m_volume);
  }
  settings->audio = settings->music = 1;

  // Audio back on in a run: the boulder's and the craft's looped sounds,
  // silent, and nothing else.
  app.dx.StopAllSounds(nullptr, 0.0f);
  for (int channel : {9, 40}) app.dx.SetSoundVolume(channel, 0.7f);
  app.dx.OnSettingChanged(settings, 2);
  for (int channel = 0; channel < app.dx.m_sounds.GetCount(); ++channel)
    EXPECT_EQ(channel == 9 || channel == 40, app.dx.IsSoundPlaying(channel)) << channel;
  for (int channel : {9, 40}) EXPECT_FLOAT_EQ(0.0f, app.dx.GetSound(channel)->m_volume);

  settings->lighting = 0;
  app.dx.OnSettingChanged(settings, 0);
  ASSERT_NE(nullptr, app.game.speedShader);
  EXPECT_FALSE(app.game.speedShader->IsEnabled());

  // Back in the menu the level is gone with its channels: the menu's four
  // remain. Audio back on restarts the menu music at half volume and
  // nothing else; the level's music options leave it as it is.
  app.EnterMenu(1, -1, -1);
  EXPECT_EQ(PWnd::MODE_MENU, app.GetMode());
  EXPECT_EQ(0, app.game.state);
  EXPECT_EQ(nullptr, app.game.speedShader);
  EXPECT_EQ(4, app.dx.m_sounds.GetCount());
  SDxSound* menuMusic = app.dx.GetSound(1);
  app.dx.StopAllSounds(nullptr, 0.0f);
  app.dx.SetSoundVolume(1, 0.9f);
  app.dx.OnSettingChanged(settings, 2);
  for (int channel = 0; channel < app.dx.m_sounds.GetCount(); ++channel)
    EXPECT_EQ(channel == 1, app.dx.IsSoundPlaying(channel)) << channel;
  EXPECT_FLOAT_EQ(0.5f, menuMusic->m_volume);
  app.dx.OnSettingChanged(settings, 4);
  settings->music = 0;
  app.dx.OnSettingChanged(settings, 3);
  app.RestartLevelMusic();
  EXPECT_EQ(4, app.dx.m_sounds.GetCount());
  EXPECT_TRUE(menuMusic->IsPlaying());
  EXPECT_FLOAT_EQ(0.5f, menuMusic->m_volume);
  g_app = nullptr;
}

// The level music starts with audio and music on, at twice the configured
// volume; with either off it stays silent, and so it does on the lesson
// level, which loads no music (its channel is put there by hand).
TEST(DataSetLoad, LevelMusicOnlyWithAudioAndMusicOnAndNotInTheLesson) {
  std::unique_ptr<SWnd> window = MakeEngineWindow();
  PWnd app;
  g_app = &app;
  ASSERT_NO_FATAL_FAILURE(OpenGame(app, window.get()));
  struct Case {
    int world, level;
    uint8_t audio, music;
    bool plays;
  } cases[] = {{0, 0, 1, 1, true}, {0, 0, 0, 1, false}, {0, 0, 1, 0, false}, {1, 1, 1, 1, false}};
  SDxConfig* settings = app.dx.GetConfig();
  settings->musicVolume = 0.3f;
  for (const Case& c : cases) {
    if (app.GetMode() != PWnd::MODE_GAME || app.game.world != c.world ||
        app.game.level != c.level)
      app.EnterGame(0, c.world, c.level);
    if (app.dx.m_sounds.GetCount() == PGame::MUSIC_CHANNEL) app.LoadSound("alarm.wav", true, 1, 0);
    SDxSound* music = app.dx.GetSound(PGame::MUSIC_CHANNEL);
    ASSERT_NE(nullptr, music);
    ASSERT_TRUE(music->m_loaded);
    app.dx.StopSound(PGame::MUSIC_CHANNEL, 0.0f);
    settings->audio = c.audio;
    settings->music = c.music;
    app.RestartLevelMusic();
    EXPECT_EQ(c.plays, music->IsPlaying()) << c.world << c.level << int(c.audio) << int(c.music);
    if (c.plays) EXPECT_FLOAT_EQ(0.6f, music->m_volume);
  }
  app.LeaveMode();
  g_app = nullptr;
}

// Textures with the normal-map flag take their "+n." entry as the normal
// map; without that entry the texture comes all the same, without one.
TEST(DataSetLoad, TexturesWithAndWithoutTheirNormalMaps) {
  std::unique_ptr<SWnd> window = MakeEngineWindow();
  PWnd app;
  ASSERT_NO_FATAL_FAILURE(OpenGame(app, window.get()));
  struct Case {
    const char* name;
    bool withNormalMap;
    bool hasNormalMap;
  } cases[] = {{"egypt_wall.jpg", true, true},
               {"EGYPT_WALL.JPG", true, true},
               {"egypt_wall.jpg", false, false},
               {"egypt_ground.jpg", true, false},
               {"particle_spot.png", true, false}};
  for (const Case& c : cases) {
    SDxTexture* texture = app.LoadTexture(c.name, c.withNormalMap, 0);
    ASSERT_NE(nullptr, texture) << c.name;
    EXPECT_EQ(c.hasNormalMap, texture->m_normalMap != nullptr) << c.name << c.withNormalMap;
  }
  EXPECT_EQ(nullptr, app.LoadTexture("no_such_image.jpg", true, 0));
}

// Every level of the data set streamed from its start to past its finish by
// a scripted craft position: every item is made once in reach, nothing stays
// farther than 15000 behind, and the arrays keep their capacities.
TEST(DataSetLoad, EveryLevelStreamsFromStartToFinish) {
  std::unique_ptr<SWnd> window = MakeEngineWindow();
  PWnd app;
  g_app = &app;
  ASSERT_NO_FATAL_FAILURE(OpenGame(app, window.get()));
  int levels = 0;
  for (int world = 0; world < 5; ++world) {
    for (int level = 0; level < 5; ++level) {
      if (!app.HasLevel(world, level)) continue;
      ++levels;
      app.EnterGame(1, world, level);
      PGame& game = app.game;
      SDxManager* manager = app.dx.GetFirstLayer()->m_manager;
      ASSERT_GT(game.runRows.GetCount(), 0) << world << level;
      float end = game.runRows.GetCount() * 1000.0f + 16000.0f;
      int most = 0;
      for (float z = 0; z <= end; z += 250.0f) {
        game.Update(z);
        manager->Update();
        most = manager->GetCount() > most ? manager->GetCount() : most;
        for (int i = 0; i < game.platforms.GetCount(); ++i) {
          if ((SDxEntity*)game.platforms[i] != (SDxEntity*)game.boss) {
            ASSERT_LE(z, game.platforms[i]->GetZ() + 15000.0f + 250.0f) << world << level;
          }
        }
        ASSERT_LE(game.turbos.GetCount(), (int)PGame::MAX_TURBOS);
        ASSERT_LE(game.platforms.GetCount(), (int)PGame::MAX_PLATFORMS);
      }
      EXPECT_EQ(game.runItems.GetCount(), game.nextRow) << world << level;
      int made = 0;
      for (int i = 0; i < game.runItems.GetCount(); ++i)
        made += game.runItems[i]->entity != nullptr;
      EXPECT_EQ(game.runItems.GetCount(), made) << "every item made, level " << world << level;
      // The boss stays whatever the distance.
      int boss = game.boss ? 1 : 0;
      EXPECT_EQ(boss, game.platforms.GetCount() + game.gems.GetCount() + game.finishes.GetCount());
      EXPECT_GT(most, 0);
      EXPECT_LE(most, 512) << world << level;
    }
  }
  EXPECT_GE(levels, 21);
  app.LeaveMode();
  g_app = nullptr;
}

}  // namespace
