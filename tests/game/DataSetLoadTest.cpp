// Levels of the data set loaded by the application's own loaders from the
// archives the build made, on a real device.
#include "core/Platform.h"

#include "app/PWnd.h"
#include "data/GameArchives.h"
#include "engine/EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(DataSetLoad, LevelsOfEveryThemeLoadFromTheArchives) {
  std::unique_ptr<SWnd> window = MakeEngineWindow();
  PWnd app;
  SResource* archives[] = {&app.resImg, &app.resSnd, &app.resObj, &app.resFx, &app.resDat};
  const char* kinds[] = {"img", "snd", "obj", "fx", "dat"};
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(GameArchives::Open(*archives[i], kinds[i]));
  SDxConfig config;
  SString error;
  ASSERT_TRUE(app.dx.Create(window.get(), &config, &error)) << error.GetText();
  struct Case {
    int world, level, theme;
    int channels;
  } cases[] = {{0, 0, 0, 58}, {0, 1, 1, 58}, {0, 2, 2, 58}, {3, 3, 3, 58}, {1, 1, 0, 57},
               {2, 2, 0, 58}};
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

}  // namespace
