// Every level of the data set driven to its finish on the real application
// object, engine and archives, one fixed step a frame, by the scripted
// driver (LevelDriver) along a route planned on the level's map
// (LevelPlan). Frames are only drawn while an explosion of a fly or of the
// boss plays, which ends only when its sprite has played.
#include "core/Platform.h"

#include "tests/game/levels/LevelDriver.h"
#include "tests/game/run/RunSupport.h"

#include <stdio.h>

#include <set>
#include <vector>

namespace {

const int kMostFrames = 64 * 400;  // 400 s of game time

struct Level {
  int world, level;
};

class LevelRuns : public RunSuite, public ::testing::WithParamInterface<Level> {
protected:
  static void SendKey(int key, bool down) { down ? Press(key) : Release(key); }
};

TEST_P(LevelRuns, TheDriverFinishesTheLevel) {
  const Level cell = GetParam();
  Forget();
  App().levels.clear();
  // A racing cell is driven on Easy, whose qualifying time the data set
  // fits for a craft at four fifths of its top speed; the others on Normal.
  int difficulty = App().levelMode[cell.world][cell.level] == 2 ? 0 : 1;
  App().EnterGame(difficulty, cell.world, cell.level);
  ASSERT_EQ(PWnd::MODE_GAME, App().GetMode());
  bool lesson = cell.world == 1 && cell.level == 1;
  if (lesson) {
    Step();
  } else {
    StartRun();
  }
  LevelPlan plan(Game());
  EXPECT_TRUE(plan.IsComplete()) << "no route through the level's map from row "
                                 << plan.GetFailedRow();
  LevelDriver driver(Game(), Dx(), plan, SendKey, kStep);
  // A line every ten rows and at each missed gem, shown when the run fails.
  std::string trace;
  int lastRow = -1, lastMissed = 0, lastLives = Game().lives;
  std::set<const MAPITEM*> reported;
  for (int frame = 0; frame < kMostFrames && Game().GetState() == 2; ++frame) {
    Draw(driver.IsExplosionPlaying());
    driver.Frame();
    Step();
    PShipEntity* s = Ship();
    if (Game().missedGems != lastMissed || Game().lives != lastLives ||
        s->GetRow() / 10 != lastRow / 10) {
      lastMissed = Game().missedGems;
      lastLives = Game().lives;
      lastRow = s->GetRow();
      char line[192];
      sprintf(line,
              "%7.2f s row %d column %d (route %d) speed %.0f radius %.0f taken %d missed %d "
              "lives %d\n",
              Game().GetRunTime(), lastRow, s->GetColumn(), plan.GetColumn(lastRow), s->GetSpeed(),
              s->GetRadius(), Game().targetsTaken, Game().missedGems, Game().lives);
      trace += line;
    }
    // Gems and target enemies counted as missed, each once.
    for (int i = 0; i < Game().GetGemCount(); ++i) {
      PGemEntity* gem = Game().GetGem(i);
      if (!gem->IsMissed() || !reported.insert(gem->item).second) continue;
      char line[96];
      sprintf(line, "missed gem of kind %d at row %d column %d\n", gem->item->subtype,
              gem->item->row, gem->item->column);
      trace += line;
    }
    for (int i = 0; i < Game().enemies.GetCount(); ++i) {
      PEnemyEntity* enemy = Game().enemies[i];
      if (!enemy->IsCounted() || !reported.insert(enemy->mapItem).second) continue;
      char line[96];
      sprintf(line, "missed target enemy at row %d column %d\n", enemy->mapItem->row,
              enemy->mapItem->column);
      trace += line;
    }
  }
  driver.ReleaseAll();
  Draw(false);
  PShipEntity* ship = Ship();
  if (Game().GetState() != 4 || !Game().success) {
    printf("%s", trace.c_str());
    // The map around the craft: items by type, the route's column a row.
    for (int r = ship->GetRow() + 4; r >= ship->GetRow() - 4 && r >= 0; --r) {
      printf("map %3d ", r);
      for (int c = 0; c < LevelPlan::COLUMNS; ++c) {
        const MAPITEM* item = Game().GetMapItem(c, r);
        static const char kTypes[] = ".aX?!@$deZ<f*D/.omMP?TW|";
        char ch = item ? kTypes[item->type] : '.';
        if (item && item->type == PGame::ITEM_WALL && item->subtype >= 3)
          ch = item->subtype == 6 ? 'z' : '-';
        if (item && item->type == PGame::ITEM_JUMPER && item->subtype == 0) ch = '\\';
        printf("%c", ch);
      }
      printf("  route %d\n", plan.GetColumn(r));
    }
  }
  EXPECT_EQ(4, Game().GetState()) << "state at z " << ship->GetTrackPosition() << ", row "
                                  << ship->GetRow() << ", column " << ship->GetColumn()
                                  << ", death kind " << ship->GetDeathKind();
  EXPECT_TRUE(Game().success) << Game().targetsTaken << " of " << Game().targetCount << " targets";
  printf("level %d%d %s (%s): %s in %.2f s, %d of %d targets, %d lives left\n", cell.world,
         cell.level, App().levelNames[cell.world][cell.level].GetText(),
         difficulty == 0 ? "Easy" : "Normal", Game().success ? "finished" : "not finished",
         Game().GetRunTime(), Game().targetsTaken, Game().targetCount, Game().lives);
}

// The levels of the data set (the lesson is (1, 1), the boss's level (2, 2)).
const Level kLevels[] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {1, 0}, {1, 1}, {1, 2},
                         {1, 4}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {3, 0}, {3, 2},
                         {3, 3}, {3, 4}, {4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}};

INSTANTIATE_TEST_SUITE_P(DataSet, LevelRuns, ::testing::ValuesIn(kLevels),
                         [](const ::testing::TestParamInfo<Level>& info) {
                           return "Level" + std::to_string(info.param.world) +
                                  std::to_string(info.param.level);
                         });

}  // namespace
