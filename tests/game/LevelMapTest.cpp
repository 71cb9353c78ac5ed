// The level map: level texts read into linked map items.
#include "core/Platform.h"

#include "core/SResource.h"
#include "data/GameArchives.h"
#include "game/PGame.h"
#include "tests/game/RecordingHost.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

const char* const kName = "level_00.txt";

// A row of 17 empty cells with the given cells set.
std::string Row(std::initializer_list<std::pair<int, char>> cells) {
  std::string row(17, '.');
  for (auto& cell : cells) row[cell.first] = cell.second;
  return row;
}

class LevelMap : public ::testing::Test {
protected:
  void SetUp() override { game.SetHost(&host); }
  void TearDown() override { game.SetHost(nullptr); }

  // Parses the text as the level of the cell (world, level) at the
  // difficulty; the attempt's copy is made as the restart makes it.
  bool Parse(const std::string& text, int difficulty = 1, int world = 0, int level = 0) {
    host.levels[kName] = text;
    game.difficulty = difficulty;
    game.world = world;
    game.level = level;
    bool parsed = game.ParseLevel(kName);
    game.CopyMapForRun();
    return parsed;
  }

  RecordingHost host;
  PGame game;
};

TEST_F(LevelMap, GemInColumnTenIsOneTargetRecord) {
  ASSERT_TRUE(Parse("3\r\n" + Row({{10, '*'}}) + "\r\n"));
  ASSERT_EQ(1, game.mapItems.GetCount());
  const MAPITEM* gem = game.mapItems[0];
  EXPECT_EQ(PGame::ITEM_GEM, gem->type);
  EXPECT_EQ(0, gem->subtype);
  EXPECT_EQ(0, gem->row);
  EXPECT_EQ(10, gem->column);
  float expected = (float)((double)10.0f / 16.0 * -6.2831854820251465 + 0.19634954631328583);
  EXPECT_EQ(expected, gem->angle);
  EXPECT_NEAR(-10.0 / 16 * 2 * 3.14159265 + 3.14159265 / 16, gem->angle, 1e-5);
  EXPECT_EQ(1, game.targetCount);
  EXPECT_EQ(gem, game.mapRows[0]);
}

TEST_F(LevelMap, ColumnSixteenIsColumnZeroAndLinksDownward) {
  ASSERT_TRUE(Parse("0\r\n" + Row({{0, '|'}, {16, '$'}}) + "\r\n" + Row({{0, '*'}}) + "\r\n"));
  ASSERT_EQ(3, game.mapItems.GetCount());
  MAPITEM* first = game.mapItems[0];
  MAPITEM* wrapped = game.mapItems[1];
  MAPITEM* below = game.mapItems[2];
  EXPECT_EQ(PGame::ITEM_WALL, first->type);
  EXPECT_EQ(PGame::ITEM_BOX, wrapped->type);
  EXPECT_EQ(0, wrapped->column);
  EXPECT_EQ(first->next, wrapped);
  EXPECT_EQ(wrapped->prev, first);
  EXPECT_EQ(wrapped, below->up);
  EXPECT_EQ(below, wrapped->down);
  EXPECT_EQ(nullptr, first->down);
  // The attempt's copy finds the first of the two items of the cell.
  EXPECT_EQ(PGame::ITEM_WALL, game.GetItemTypeAt(0, 0));
  EXPECT_EQ(PGame::ITEM_GEM, game.GetItemTypeAt(0, 1));
  EXPECT_EQ(game.runItems[1], game.runItems[2]->up);
  EXPECT_NE(game.mapItems[0], game.GetMapItem(0, 0));
}

TEST_F(LevelMap, EmptyLinesMakeNoRowsAndEmptyRowsKeepTheirNumbers) {
  ASSERT_TRUE(Parse("0\r\n" + Row({{4, 'o'}}) + "\r\n\r\n" + Row({{4, 'o'}}) + "\r\n" + Row({}) +
                    "\r\n" + Row({{1, 'T'}})));
  ASSERT_EQ(3, game.mapItems.GetCount());
  EXPECT_EQ(1, game.mapItems[1]->row);
  EXPECT_EQ(game.mapItems[0], game.mapItems[1]->up);
  ASSERT_EQ(4, game.mapRows.GetCount());
  EXPECT_EQ(nullptr, game.mapRows[2]);
  EXPECT_EQ(3, game.mapItems[2]->row);
  EXPECT_EQ(0, game.GetItemTypeAt(4, 2));
  EXPECT_EQ(PGame::ITEM_TURBO, game.GetItemTypeAt(1, 3));
  EXPECT_EQ(0, game.GetItemTypeAt(1, 4));
  EXPECT_EQ(0, game.GetItemTypeAt(1, -1));
}

TEST_F(LevelMap, LineFeedsAloneDoNotSplitLines) {
  ASSERT_TRUE(Parse("4\n" + Row({{3, '*'}}) + "\n" + Row({{3, '*'}}) + "\n"));
  EXPECT_EQ(0, game.mapItems.GetCount());
  EXPECT_EQ(0, game.mapRows.GetCount());
  EXPECT_EQ(4, game.levelLives);
}

TEST_F(LevelMap, ShortLinesAndUnknownBytesAreEmptyCells) {
  ASSERT_TRUE(Parse("1\r\n..k?\xFF*\r\n"));
  ASSERT_EQ(1, game.mapItems.GetCount());
  EXPECT_EQ(5, game.mapItems[0]->column);
}

TEST_F(LevelMap, LaterPlainGuardDoorsHaveNoGuards) {
  ASSERT_TRUE(Parse("0\r\n" + Row({{1, '\xB0'}, {5, '\xB9'}}) + "\r\n" + Row({{2, '\xB0'}}) +
                    "\r\n" + Row({{3, '\xB0'}})));
  ASSERT_EQ(4, game.mapItems.GetCount());
  EXPECT_EQ(0, game.mapItems[0]->subtype);
  EXPECT_EQ(1, game.mapItems[1]->subtype);
  EXPECT_EQ(-1, game.mapItems[2]->subtype);
  EXPECT_EQ(-1, game.mapItems[3]->subtype);
}

TEST_F(LevelMap, LivesFollowTheDifficulty) {
  struct Case {
    const char* firstLine;
    int difficulty, world, level;
    int lives;
  } cases[] = {
      {"3", 0, 0, 0, 8}, {"3", 1, 0, 0, 3}, {"3", 2, 0, 0, 0},    {"3", 2, 2, 2, 1},
      {"x", 1, 0, 0, 0}, {"x", 0, 0, 0, 5}, {" -2", 1, 0, 0, -2}, {"7 lives", 2, 2, 2, 3},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Parse(std::string(c.firstLine) + "\r\n", c.difficulty, c.world, c.level));
    EXPECT_EQ(c.lives, game.levelLives) << c.firstLine << " at difficulty " << c.difficulty;
  }
}

TEST_F(LevelMap, TargetsCountGemsTargetedEnemiesAndTheBoss) {
  std::string text =
      "0\r\n" + Row({{0, '*'}, {1, '+'}, {2, '='}, {3, 'E'}, {4, '\xCA'}, {5, 'e'}, {6, '\xEA'}}) +
      "\r\n";
  ASSERT_TRUE(Parse(text));
  EXPECT_EQ(5, game.targetCount);
  ASSERT_TRUE(Parse(text, 1, 2, 2));
  EXPECT_EQ(6, game.targetCount);
}

TEST_F(LevelMap, EveryCharacterOfTheTableMakesItsItem) {
  struct Case {
    unsigned char byte;
    int type, subtype;
  } cases[] = {
      {0xBB, 1, 0},  {0xAB, 1, 1},  {'X', 2, 0},   {0xA9, 2, 1},  {0xAE, 2, 2},  {'@', 5, 0},
      {'$', 6, 0},   {'#', 6, 1},   {0xA3, 6, 2},  {'d', 7, 0},   {'D', 7, 1},   {'e', 8, 0},
      {0xEA, 8, 1},  {'E', 8, 2},   {0xCA, 8, 3},  {'Z', 9, 0},   {'<', 10, 0},  {'>', 10, 1},
      {'^', 10, 2},  {0x95, 11, 0}, {'*', 12, 0},  {'+', 12, 1},  {'=', 12, 2},  {0xB0, 13, 0},
      {0xB9, 13, 1}, {0xB2, 13, 2}, {0xB3, 13, 3}, {'\\', 14, 0}, {'/', 14, 1},  {'o', 16, 0},
      {0xD8, 16, 1}, {0xF4, 16, 2}, {'O', 16, 3},  {0xA4, 17, 0}, {'7', 18, 0},  {'9', 18, 1},
      {'1', 18, 2},  {'3', 18, 3},  {'l', 18, 4},  {'r', 18, 5},  {'f', 18, 6},  {'b', 18, 7},
      {'P', 19, 0},  {'T', 21, 0},  {'W', 22, 0},  {'|', 23, 0},  {'\'', 23, 1}, {'"', 23, 2},
      {0x97, 23, 3}, {'}', 23, 4},  {'{', 23, 5},  {'z', 23, 6},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Parse("0\r\n" + Row({{7, (char)c.byte}}) + "\r\n"));
    ASSERT_EQ(1, game.mapItems.GetCount()) << (int)c.byte;
    EXPECT_EQ(c.type, game.mapItems[0]->type) << (int)c.byte;
    EXPECT_EQ(c.subtype, game.mapItems[0]->subtype) << (int)c.byte;
  }
}

TEST_F(LevelMap, MissingFileGivesAnEmptyMapAndKeepsTheCounts) {
  ASSERT_TRUE(Parse("2\r\n" + Row({{1, '*'}}) + "\r\n"));
  EXPECT_FALSE(game.ParseLevel("level_44.txt"));
  EXPECT_EQ(0, game.mapItems.GetCount());
  EXPECT_EQ(0, game.runItems.GetCount());
  EXPECT_EQ(2, game.levelLives);
  EXPECT_EQ(1, game.targetCount);
  EXPECT_STREQ("level_44.txt", game.levelFile.GetText());
}

// Seeded random changes of a level text: the parser never fails on a text
// it can read, and every record it makes is linked consistently.
TEST_F(LevelMap, MutatedLevelTextsParseConsistently) {
  std::string base = "3\r\n";
  const char cells[] = "*+=|'\"{}zXoOTW$#@de/\\<>^7913lrfbPZ\xB0\xB9\xA4\x95.";
  std::mt19937 random(20261207);
  for (int r = 0; r < 40; ++r) {
    std::string row(17, '.');
    for (char& c : row) c = cells[random() % (sizeof(cells) - 1)];
    base += row + "\r\n";
  }
  for (int round = 0; round < 3000; ++round) {
    std::string text = base;
    int edits = 1 + (int)(random() % 8);
    for (int e = 0; e < edits; ++e) {
      size_t at = text.empty() ? 0 : random() % text.size();
      switch (random() % 4) {
        case 0:
          if (!text.empty()) text[at] = (char)(random() % 256);
          break;
        case 1:
          text.insert(at, 1, (char)(random() % 256));
          break;
        case 2:
          if (!text.empty()) text.erase(at, 1 + random() % 20);
          break;
        case 3:
          text.insert(at, "\r\n");
          break;
      }
    }
    ASSERT_TRUE(Parse(text, (int)(random() % 3)));
    const SArray<MAPITEM*>& items = game.mapItems;
    for (int i = 0; i < items.GetCount(); ++i) {
      const MAPITEM* item = items[i];
      ASSERT_EQ(i > 0 ? items[i - 1] : nullptr, item->prev);
      ASSERT_EQ(i + 1 < items.GetCount() ? items[i + 1] : nullptr, item->next);
      ASSERT_TRUE(item->column >= 0 && item->column < 16);
      ASSERT_TRUE(item->row >= 0 && item->row < game.mapRows.GetCount());
      if (item->up) {
        // Two items of one cell (columns 0 and 16) share the item above,
        // whose down link names the later of them.
        ASSERT_EQ(item->row - 1, item->up->row);
        ASSERT_EQ(item->column, item->up->column);
        ASSERT_NE(nullptr, item->up->down);
        ASSERT_EQ(item->row, item->up->down->row);
      }
    }
    ASSERT_EQ(items.GetCount(), game.runItems.GetCount());
  }
}

// Every level text of the data set parses into a map within the limits of
// the game's entity arrays and has a finish line.
TEST(LevelMapData, EveryLevelOfTheDataSetParses) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "dat"));
  struct ArchiveHost : RecordingHost {
    SResource* archive;
    bool LoadData(SFile* file, const char* name) override {
      return archive->Load(file, name, true);
    }
  } host;
  host.archive = &archive;
  PGame game;
  game.SetHost(&host);
  int levels = 0;
  for (int world = 0; world < 5; ++world) {
    for (int level = 0; level < 5; ++level) {
      SString name;
      name.Format("level_%d%d.txt", world, level);
      if (archive.Find(name.GetText()) < 0) continue;
      ++levels;
      game.world = world;
      game.level = level;
      game.difficulty = 1;
      ASSERT_TRUE(game.ParseLevel(name.GetText())) << name.GetText();
      EXPECT_GT(game.mapRows.GetCount(), 16) << name.GetText();
      EXPECT_GT(game.levelLives, 0) << name.GetText();
      int finishes = 0;
      for (int i = 0; i < game.mapItems.GetCount(); ++i)
        finishes += game.mapItems[i]->type == PGame::ITEM_FINISH;
      EXPECT_GE(finishes, 1) << name.GetText();
    }
  }
  EXPECT_EQ(23, levels);
  game.SetHost(nullptr);
}

}  // namespace
