// The player and ghost files of a profile: formats, refusals, unlocking,
// resets, and a seeded mutation run over both kinds of file.
#include "core/Platform.h"

#include "app/PSave.h"
#include "app/PWnd.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The keyed transform of the save files, both ways.
std::string Scramble(std::string bytes, int sign) {
  const char* key = PSave::SAVE_KEY;
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(bytes[i] + sign * key[i % 32]);
  return bytes;
}

std::string Header() {
  return std::string(
      "GVR2\0"
      "1.00\0",
      10);
}

std::string Int32(int value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = char((uint32_t(value) >> (8 * i)) & 0xFF);
  return out;
}

class Saves : public ::testing::Test {
protected:
  void SetUp() override { Use(app); }
  void Use(PWnd& wnd) {
    wnd.saveFolderPath = (folder.Path() + "\\").c_str();
    wnd.profile = 2;
  }
  std::string PlayerPath() { return folder.File("player2.sav"); }
  std::string GhostPath(int d, int w, int l) {
    return folder.File("ghost2" + std::to_string(d) + std::to_string(w) + std::to_string(l) +
                       ".sav");
  }
  bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // A plain player body: every difficulty at its starting layout.
  std::string StartBody() {
    PWnd fresh;
    for (int d = 0; d < 3; ++d) fresh.ResetProgress(d, false);
    std::string body;
    for (int d = 0; d < 3; ++d) {
      body += char(d == 0);
      for (int w = 0; w < 5; ++w)
        for (int l = 0; l < 5; ++l) body += char(fresh.cellStates[d][w][l]) + Int32(0);
    }
    return body;
  }
  bool IsStartLayout(PWnd& wnd) {
    PWnd fresh;
    for (int d = 0; d < 3; ++d) fresh.ResetProgress(d, false);
    return memcmp(fresh.cellStates, wnd.cellStates, sizeof(wnd.cellStates)) == 0 &&
           memcmp(fresh.bestTimes, wnd.bestTimes, sizeof(wnd.bestTimes)) == 0;
  }
  static void ThreePoints(PGhost& ghost) {
    ghost.AddPoint(D3DXVECTOR3(1, 2, 3));
    ghost.AddPoint(D3DXVECTOR3(-4, 5, 600));
    ghost.AddPoint(D3DXVECTOR3(7, -8, 1200));
  }

  TempFolder folder;
  PWnd app;
};

TEST_F(Saves, PlayerFileRoundTripsByteForByte) {
  app.LoadPlayer();
  app.difficultyUnlocked[1] = true;
  app.cellStates[1][0][1] = 3;
  app.bestTimes[1][0][1] = 6543;
  app.bestTimes[2][4][4] = 17000;
  ASSERT_TRUE(app.SavePlayer());
  std::string first = ReadBytes(PlayerPath());
  ASSERT_EQ(388u, first.size());
  EXPECT_EQ(Header(), Scramble(first, -1).substr(0, 10));

  PWnd again;
  Use(again);
  again.LoadPlayer();
  EXPECT_TRUE(again.difficultyUnlocked[1]);
  EXPECT_EQ(6543, again.bestTimes[1][0][1]);
  ASSERT_TRUE(again.SavePlayer());
  EXPECT_EQ(first, ReadBytes(PlayerPath()));
  EXPECT_FALSE(Exists(PlayerPath() + ".tmp"));
}

TEST_F(Saves, PlayerFilesThatDoNotHoldAreRefused) {
  const std::string body = StartBody();
  auto withCell = [&](int d, int w, int l, int state, int time) {
    std::string b = body;
    size_t at = size_t(d * 126 + 1 + (w * 5 + l) * 5);
    b[at] = char(state);
    b.replace(at + 1, 4, Int32(time));
    return Header() + b;
  };
  const struct {
    const char* what;
    std::string plain;
  } cases[] = {
      {"one byte too many", Header() + body + "x"},
      {"one byte short", Header() + body.substr(1)},
      {"wrong tag", std::string("GVR3\0"
                                "1.00\0",
                                10) +
                        body},
      {"wrong version", std::string("GVR2\0"
                                    "1.01\0",
                                    10) +
                            body},
      {"state out of range", withCell(1, 2, 4, 4, 0)},
      {"state 255", withCell(0, 0, 0, 255, 0)},
      {"level in a cell without one", withCell(2, 3, 3, 2, 0)},
      {"negative best time", withCell(0, 0, 1, 3, -5)},
  };
  for (const auto& c : cases) {
    folder.Write("player2.sav", Scramble(c.plain, +1));
    app.cellStates[0][4][4] = 3;
    app.LoadPlayer();
    EXPECT_TRUE(IsStartLayout(app)) << c.what;
    EXPECT_EQ(Scramble(c.plain, +1), ReadBytes(PlayerPath())) << c.what << ": file kept";
  }
  folder.Write("player2.sav", Scramble(withCell(0, 0, 1, 3, 4500), +1));
  app.LoadPlayer();
  EXPECT_EQ(4500, app.bestTimes[0][0][1]);
}

TEST_F(Saves, FailedWriteKeepsTheExistingSave) {
  app.LoadPlayer();
  app.bestTimes[0][0][0] = 1234;
  ASSERT_TRUE(app.SavePlayer());
  std::string good = ReadBytes(PlayerPath());
  // The temporary file cannot be made: a folder stands in its place.
  folder.MakeFolder("player2.sav.tmp");
  app.bestTimes[0][0][0] = 999;
  EXPECT_FALSE(app.SavePlayer());
  EXPECT_EQ(good, ReadBytes(PlayerPath()));
}

TEST_F(Saves, GhostFiles) {
  app.LoadPlayer();
  app.bestTimes[0][2][3] = 7777;
  PGhost ghost;
  ThreePoints(ghost);
  ASSERT_TRUE(app.SaveGhost(&ghost, 0, 2, 3));
  EXPECT_EQ(10u + 36u, ReadBytes(GhostPath(0, 2, 3)).size());
  PGhost loaded;
  app.LoadGhost(&loaded, 0, 2, 3);
  ASSERT_EQ(3, loaded.GetCount());
  EXPECT_EQ(7777, loaded.time);
  EXPECT_EQ(0, loaded.name.GetLength());
  EXPECT_EQ(-4.0f, loaded.GetPoint(1).x);
  EXPECT_EQ(1200.0f, loaded.GetPoint(2).z);

  std::string points;
  for (int i = 0; i < 1025; ++i) points += Int32(i) + Int32(0) + Int32(i);
  const struct {
    const char* what;
    std::string plain;
  } refused[] = {
      {"partial point", Header() + points.substr(0, 37)},
      {"more points than a record holds", Header() + points},
      {"wrong tag", std::string("GVR1\0"
                                "1.00\0",
                                10) +
                        points.substr(0, 36)},
  };
  for (const auto& c : refused) {
    folder.Write("ghost2023.sav", Scramble(c.plain, +1));
    loaded.AddPoint(D3DXVECTOR3(1, 1, 1));
    app.LoadGhost(&loaded, 0, 2, 3);
    EXPECT_EQ(0, loaded.GetCount()) << c.what;
  }
  folder.Write("ghost2023.sav", Scramble(Header() + points.substr(0, 1024 * 12), +1));
  app.LoadGhost(&loaded, 0, 2, 3);
  EXPECT_EQ(1024, loaded.GetCount());
}

TEST_F(Saves, FirstCompletionsOpenNeighbours) {
  const struct {
    int world, level;
    int opened[2][2];  // cells that become open ({-1, -1}: none)
    int stays[2];      // a locked cell that stays locked ({-1, -1}: none)
  } cases[] = {
      {0, 0, {{1, 0}, {0, 1}}, {-1, -1}},   {1, 4, {{2, 4}, {-1, -1}}, {0, 4}},
      {3, 4, {{4, 4}, {2, 4}}, {-1, -1}},   {2, 1, {{-1, -1}, {-1, -1}}, {2, 2}},
      {1, 2, {{-1, -1}, {-1, -1}}, {2, 2}},
  };
  for (const auto& c : cases) {
    app.ResetProgress(0, false);
    PGhost ghost;
    app.RecordResult(0, c.world, c.level, 5000, &ghost);
    EXPECT_EQ(3, app.cellStates[0][c.world][c.level]);
    for (const auto& cell : c.opened) {
      if (cell[0] >= 0) {
        EXPECT_EQ(2, app.cellStates[0][cell[0]][cell[1]])
            << "(" << c.world << "," << c.level << ") opens (" << cell[0] << "," << cell[1] << ")";
      }
    }
    if (c.stays[0] >= 0) {
      EXPECT_EQ(1, app.cellStates[0][c.stays[0]][c.stays[1]]);
    }
  }
}

TEST_F(Saves, CentreOpensOnlyFromLockedAtTwentyDone) {
  PGhost ghost;
  ThreePoints(ghost);
  for (int centreFirst = 0; centreFirst < 2; ++centreFirst) {
    app.ResetProgress(1, false);
    if (centreFirst) app.RecordResult(1, 2, 2, 9000, &ghost);
    // Every other level done in map order; the centre opens at the twentieth
    // done cell, and only when it is still locked.
    for (int cell = 0, done = centreFirst; cell < 25; ++cell) {
      int w = cell / 5, l = cell % 5;
      if (app.cellStates[1][w][l] == 0 || (w == 2 && l == 2)) continue;
      EXPECT_EQ(centreFirst ? 3 : 1, app.cellStates[1][2][2]) << done << " done";
      app.RecordResult(1, w, l, 3000, &ghost);
      if (++done == 20) break;
    }
    EXPECT_EQ(centreFirst ? 3 : 2, app.cellStates[1][2][2]);
  }
  EXPECT_TRUE(Exists(GhostPath(1, 2, 2))) << "the centre done first keeps its ghost";
}

TEST_F(Saves, ResultsKeepTheBestTimeAndItsGhost) {
  app.LoadPlayer();
  PGhost first;
  ThreePoints(first);
  app.RecordResult(0, 0, 0, 5000, &first);
  std::string ghostFile = ReadBytes(GhostPath(0, 0, 0));

  PGhost slower;
  slower.AddPoint(D3DXVECTOR3(9, 9, 9));
  app.RecordResult(0, 0, 0, 5001, &slower);
  EXPECT_EQ(5000, app.bestTimes[0][0][0]);
  EXPECT_EQ(ghostFile, ReadBytes(GhostPath(0, 0, 0)));

  app.RecordResult(0, 0, 0, 5000, &slower);
  EXPECT_NE(ghostFile, ReadBytes(GhostPath(0, 0, 0))) << "an equal time replaces the ghost";

  for (const auto& cell : {std::make_pair(1, 1), std::make_pair(3, 3)}) {
    app.RecordResult(0, cell.first, cell.second, 100, &first);
    EXPECT_EQ(0, app.bestTimes[0][cell.first][cell.second]);
  }
}

TEST_F(Saves, ResetWithSavingDeletesGhostsOfCellsNotDone) {
  app.LoadPlayer();
  PGhost ghost;
  ThreePoints(ghost);
  app.RecordResult(0, 0, 0, 5000, &ghost);
  app.RecordResult(2, 0, 0, 5000, &ghost);
  app.SaveGhost(&ghost, 1, 4, 4);  // a stray ghost of a cell not done
  ASSERT_TRUE(Exists(GhostPath(2, 0, 0)));
  app.ResetProgress(0, true);
  EXPECT_FALSE(Exists(GhostPath(0, 0, 0)));
  EXPECT_FALSE(Exists(GhostPath(1, 4, 4)));
  EXPECT_TRUE(Exists(GhostPath(2, 0, 0)));
  EXPECT_EQ(2, app.cellStates[0][0][0]);
}

TEST_F(Saves, MutatedFilesNeverCrashNorReplaceAGoodSave) {
  app.LoadPlayer();
  PGhost ghost;
  ThreePoints(ghost);
  app.RecordResult(0, 0, 0, 5000, &ghost);
  const std::string goodPlayer = ReadBytes(PlayerPath());
  const std::string goodGhost = ReadBytes(GhostPath(0, 0, 0));
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    bool playerFile = round % 2 == 0;
    std::string bytes = playerFile ? goodPlayer : goodGhost;
    int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits; ++e) {
      switch (random() % 4) {
        case 0:
          bytes[random() % bytes.size()] = char(random());
          break;
        case 1:
          bytes.insert(random() % bytes.size(), 1, char(random()));
          break;
        case 2:
          if (bytes.size() > 1) bytes.erase(random() % bytes.size(), 1);
          break;
        default:
          bytes.append(12 * (1 + random() % 1100), char(random()));
          break;
      }
    }
    folder.Write(playerFile ? "player2.sav" : "ghost2000.sav", bytes);
    PWnd& loaded = app;
    loaded.LoadPlayer();
    for (int d = 0; d < 3; ++d)
      for (int w = 0; w < 5; ++w)
        for (int l = 0; l < 5; ++l) {
          ASSERT_GE(loaded.cellStates[d][w][l], 0);
          ASSERT_LE(loaded.cellStates[d][w][l], 3);
          ASSERT_GE(loaded.bestTimes[d][w][l], 0);
        }
    PGhost read;
    loaded.LoadGhost(&read, 0, 0, 0);
    ASSERT_LE(read.GetCount(), PGhost::CAPACITY);
    if (round % 500 == 1) {
      // What the game writes back after reading a broken file is a file it
      // reads back the same.
      ASSERT_TRUE(loaded.SavePlayer());
      PWnd check;
      Use(check);
      check.LoadPlayer();
      EXPECT_EQ(0, memcmp(check.cellStates, loaded.cellStates, sizeof(check.cellStates)));
      folder.Write("player2.sav", goodPlayer);
    }
  }
}

}  // namespace
