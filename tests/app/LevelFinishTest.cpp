// Levels finished from the front end on the real application object and
// engine: the pages walked with keys through the window procedure, the run
// driven by the scripted driver (its keys through the window procedure
// too), the engine's clock stepped a frame at a time; the result read back
// by a new application object from the save files.
#include "core/Platform.h"

#include "app/GameWindow.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "tests/game/levels/LevelDriver.h"

#include <string>

namespace {

const int kMostFrames = 50 * 300;  // 300 s of game time

class FinishedLevel : public ::testing::Test {
protected:
  PWnd& app() { return game.app; }
  PMenu& menu() { return game.Menu(); }

  // The level of the game object driven until its run ends: true when it
  // ended at the finish, won. The scene is left out of the frames while
  // the driver runs (the run is stepped, not watched).
  bool DriveToFinish(GameWindow& window) {
    PGame& run = window.app.game;
    LevelPlan plan(run);
    EXPECT_TRUE(plan.IsComplete()) << "no route from row " << plan.GetFailedRow();
    LevelDriver driver(
        run, window.app.dx, plan,
        [&window](int key, bool down) { down ? window.KeyDown(key) : window.KeyUp(key); },
        GameWindow::kFrame);
    window.app.dx.SetSceneFlag(false);
    for (int frame = 0; frame < kMostFrames && run.GetState() == 2; ++frame) {
      driver.Frame();
      window.Step();
    }
    driver.ReleaseAll();
    window.Step();
    return run.GetState() == 4 && run.success;
  }

  // The map's selected cell after a key.
  std::pair<int, int> CellAfter(int key) {
    game.Press(key);
    return {menu().world, menu().level};
  }

  GameWindow game;
};

TEST_F(FinishedLevel, TheLessonAndTheFirstLevelFromTheMenuToTheSaveFile) {
  ASSERT_NO_FATAL_FAILURE(game.Open());
  ASSERT_EQ(PMenu::PAGE_MAIN, menu().page);
  // Play, Normal on its first use: the lesson page; its first item plays.
  game.Press(VK_RETURN);
  game.Press(VK_RETURN);
  ASSERT_EQ(PMenu::PAGE_LESSON, menu().page);
  game.Press(VK_RETURN);
  game.Step();
  ASSERT_EQ(PWnd::MODE_GAME, app().GetMode());
  ASSERT_TRUE(app().game.IsLessonLevel());
  game.Step();
  ASSERT_TRUE(app().game.IsRunning());
  EXPECT_TRUE(DriveToFinish(game))
      << app().game.targetsTaken << " of " << app().game.targetCount << " targets";

  // Escape: the map on (0, 0); the lesson counts for nothing.
  game.Press(VK_ESCAPE);
  ASSERT_EQ(PWnd::MODE_MENU, app().GetMode());
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  EXPECT_EQ(1, menu().difficulty);
  EXPECT_EQ(std::make_pair(0, 0), std::make_pair(menu().world, menu().level));
  EXPECT_EQ(0, app().bestTimes[1][1][1]);
  EXPECT_EQ(2, app().cellStates[1][0][0]);
  EXPECT_EQ(1, app().cellStates[1][1][0]);
  EXPECT_EQ(1, app().cellStates[1][0][1]);
  EXPECT_EQ(std::make_pair(0, 0), CellAfter(VK_RIGHT));

  // The first level, from the side menu's first item; the start phase
  // skipped by Control once its first second is over.
  game.Press(VK_RETURN);
  game.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_LOADING, menu().page);
  game.Step();
  ASSERT_EQ(PWnd::MODE_GAME, app().GetMode());
  ASSERT_EQ(0, app().game.world);
  ASSERT_EQ(0, app().game.level);
  game.Wait(1.1f);
  game.Press(VK_CONTROL);
  game.Step();
  ASSERT_TRUE(app().game.IsRunning());
  EXPECT_TRUE(DriveToFinish(game))
      << app().game.targetsTaken << " of " << app().game.targetCount << " targets";
  const int time = app().game.runTime;
  EXPECT_GT(time, 0);

  // Leaving the won run records it: the cell done, its neighbours open on
  // the map, where the cursor now goes.
  game.Press(VK_ESCAPE);
  ASSERT_EQ(PWnd::MODE_MENU, app().GetMode());
  EXPECT_EQ(PMenu::PAGE_MAP, menu().page);
  EXPECT_EQ(time, app().bestTimes[1][0][0]);
  EXPECT_EQ(3, app().cellStates[1][0][0]);
  EXPECT_EQ(2, app().cellStates[1][1][0]);
  EXPECT_EQ(2, app().cellStates[1][0][1]);
  EXPECT_EQ(1, app().cellStates[1][2][0]);
  EXPECT_TRUE(menu().cells[1][0]->IsVisible());
  EXPECT_TRUE(menu().cells[0][1]->IsVisible());
  EXPECT_FALSE(menu().cells[2][0]->IsVisible());
  EXPECT_EQ(menu().linkImages[1][0], menu().links[0]->m_texture);
  EXPECT_EQ(menu().linkImages[1][1], menu().links[4]->m_texture);
  EXPECT_EQ(std::make_pair(1, 0), CellAfter(VK_RIGHT));
  EXPECT_EQ(std::make_pair(1, 0), CellAfter(VK_RIGHT));
  EXPECT_EQ(std::make_pair(0, 0), CellAfter(VK_LEFT));
  EXPECT_EQ(std::make_pair(0, 1), CellAfter(VK_DOWN));
  game.Close();

  // A new application object on the same save folder: the progression and
  // the run's ghost read back; Play and Normal go straight to the map,
  // whose panel shows the best time.
  GameWindow next;
  for (SString path : {app().GetPlayerFileName(), app().GetGhostFileName(1, 0, 0)}) {
    std::string file = path.GetText();
    std::string copy = next.saves.Path() + file.substr(file.rfind('\\'));
    ASSERT_TRUE(::CopyFileA(file.c_str(), copy.c_str(), FALSE)) << file;
  }
  ASSERT_NO_FATAL_FAILURE(next.Open());
  PWnd& reader = next.app;
  EXPECT_TRUE(reader.IsDifficultyUnlocked(1));
  EXPECT_FALSE(reader.IsDifficultyUnlocked(0));
  for (int world = 0; world < PWnd::MAP_SIZE; ++world)
    for (int level = 0; level < PWnd::MAP_SIZE; ++level) {
      EXPECT_EQ(app().cellStates[1][world][level], reader.cellStates[1][world][level])
          << world << level;
      EXPECT_EQ(app().bestTimes[1][world][level], reader.bestTimes[1][world][level])
          << world << level;
    }
  PGhost ghost;
  reader.LoadGhost(&ghost, 1, 0, 0);
  EXPECT_EQ(time, ghost.time);
  EXPECT_GT(ghost.GetCount(), 10);
  next.Press(VK_RETURN);
  next.Press(VK_RETURN);
  EXPECT_EQ(PMenu::PAGE_MAP, next.Menu().page);
  SString shown;
  FormatTime(shown, time, false);
  std::string values = next.Menu().infoValues->m_text.GetText();
  EXPECT_NE(std::string::npos, values.find(std::string("\n") + shown.GetText() + "\n")) << values;
}

}  // namespace
