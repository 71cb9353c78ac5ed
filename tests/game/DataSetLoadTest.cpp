// Levels of the data set loaded by the application's own loaders from the
// archives the build made, on a real device.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "data/GameArchives.h"
#include "engine/EngineTestSupport.h"
#include "engine/SDxSound.h"

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
  EXPECT_TRUE(music->m_loop);
  int voices = 0;
  for (SDxSound* voice = app.dx.GetSound(31); voice; voice = voice->m_next) ++voices;
  EXPECT_EQ(8, voices);
  SDxConfig* settings = app.dx.GetConfig();
  settings->musicVolume = 0.25f;
  app.dx.OnSettingChanged(settings, 4);
  if (music->m_loaded) {
    EXPECT_FLOAT_EQ(0.5f, music->m_volume);
  }
  settings->lighting = 0;
  app.dx.OnSettingChanged(settings, 0);
  ASSERT_NE(nullptr, app.game.speedShader);
  EXPECT_FALSE(app.game.speedShader->IsEnabled());

  // Back in the menu the level is gone with its channels.
  app.EnterMenu(1, -1, -1);
  EXPECT_EQ(PWnd::MODE_MENU, app.GetMode());
  EXPECT_EQ(0, app.game.state);
  EXPECT_EQ(nullptr, app.game.speedShader);
  EXPECT_EQ(0, app.dx.m_sounds.GetCount());
  app.dx.OnSettingChanged(settings, 4);
  app.dx.OnSettingChanged(settings, 3);
  app.RestartLevelMusic();
  EXPECT_EQ(0, app.dx.m_sounds.GetCount());
  g_app = nullptr;
}

}  // namespace
