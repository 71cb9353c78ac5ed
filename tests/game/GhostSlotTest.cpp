// The ghost slots of a level as it loads, through a host that answers for
// the player's saves and the game's server: the player's own ghost in slot
// 1, the rivals only on a done cell of a level that counts online, the
// player's rank and the time to beat.
#include "core/Platform.h"

#include "engine/SDxSprite.h"
#include "game/PGame.h"
#include "tests/game/RecordingHost.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A path of n points along the track.
void FillPath(PGhost* ghost, int n, int time) {
  ghost->Clear();
  for (int i = 0; i < n; ++i) ghost->AddPoint(D3DXVECTOR3(0, 0, 1000.0f * (i + 1)));
  ghost->time = time;
}

// The player's saves and the server as a test sets them: the saved ghost's
// length, the cell states, the rivals' times by slot (0: empty) and the
// rank; every question counted.
class GhostHost : public RecordingHost {
public:
  explicit GhostHost(SDx* engine) : RecordingHost(engine) {}
  bool IsOnline() const override { return online; }
  int GetOnlineDifficulty() override { return online ? onlineDifficulty : -1; }
  int GetCellState(int, int, int) override { return cellState; }
  void LoadGhost(PGhost* ghost, int difficulty, int world, int level) override {
    ++asked["ghost"];
    ghostCell = difficulty * 100 + world * 10 + level;
    ghost->Clear();
    if (savedPoints > 0) FillPath(ghost, savedPoints, 4200);
  }
  bool LoadLevelHiscores(int, int) override {
    ++asked["hiscores"];
    return true;
  }
  bool DownloadGhosts(int, int, PGhost* first, PGhost* second, PGhost* third) override {
    ++asked["rivals"];
    PGhost* slots[3] = {first, second, third};
    for (int i = 0; i < 3; ++i) {
      slots[i]->Clear();
      if (rivalTimes[i] > 0) FillPath(slots[i], 3 + i, rivalTimes[i]);
    }
    return true;
  }
  int GetPlayerRank(int, int) override {
    ++asked["rank"];
    return rank;
  }

  bool online = true;
  int onlineDifficulty = 1;
  int cellState = 3;
  int savedPoints = 0;
  int rivalTimes[3] = {7000, 6000, 5000};  // slots 2, 3, 4
  int rank = 12;
  int ghostCell = -1;
  std::map<std::string, int> asked;
};

class GhostSlots : public GameSuite {
protected:
  void SetUp() override {
    GameSuite::SetUp();
    ghostHost.reset(new GhostHost(s_engine));
    game.SetHost(ghostHost.get());
    for (int world = 0; world < 5; ++world)
      for (int level = 0; level < 5; ++level) {
        char name[32];
        sprintf(name, "level_%d%d.txt", world, level);
        ghostHost->levels[name] = "3\r\n..*..............\r\n";
      }
  }
  void TearDown() override {
    game.Unload();
    game.SetHost(nullptr);
    ghostHost.reset();
    GameSuite::TearDown();
  }
  // The time shown in a display of five sprites: minutes, seconds,
  // hundredths in sprites 0, 2 and 4.
  int Shown(SDxSprite** digits) const {
    return digits[0]->GetNumber() * 6000 + digits[2]->GetNumber() * 100 + digits[4]->GetNumber();
  }

  std::unique_ptr<GhostHost> ghostHost;
};

TEST_F(GhostSlots, RivalsOnlyOnADoneCellOfALevelThatCountsOnline) {
  const struct {
    const char* what;
    bool online;
    int onlineDifficulty, cellState, world, level;
    bool asked;
  } cases[] = {
      {"done, online at the difficulty", true, 1, 3, 0, 2, true},
      {"offline", false, 1, 3, 0, 2, false},
      {"online at another difficulty", true, 0, 3, 0, 2, false},
      {"open, not yet done", true, 1, 2, 0, 2, false},
      {"the lesson level", true, 1, 3, 1, 1, false},
      {"the bonus level", true, 1, 3, 3, 3, false},
  };
  for (const auto& c : cases) {
    ghostHost->asked.clear();
    ghostHost->online = c.online;
    ghostHost->onlineDifficulty = c.onlineDifficulty;
    ghostHost->cellState = c.cellState;
    game.Load(1, c.world, c.level);
    int asked = c.asked ? 1 : 0;
    EXPECT_EQ(asked, ghostHost->asked["hiscores"]) << c.what;
    EXPECT_EQ(asked, ghostHost->asked["rivals"]) << c.what;
    EXPECT_EQ(asked, ghostHost->asked["rank"]) << c.what;
    EXPECT_EQ(1, ghostHost->asked["ghost"]) << c.what << ": the player's own ghost is always read";
    EXPECT_EQ(c.asked ? 3 : 0, game.GetRivalGhostCount()) << c.what;
    if (c.asked) {
      EXPECT_EQ(12, game.hudRankDigits->GetNumber());
      EXPECT_EQ(5000, Shown(game.hudRivalTimeDigits));
    }
  }
}

TEST_F(GhostSlots, TheTimeToBeatIsTheHighestRivalSlotsWithAPath) {
  const struct {
    int times[3];  // slots 2, 3, 4
    int toBeat;
  } cases[] = {
      {{7000, 6000, 5000}, 5000}, {{7000, 6000, 0}, 6000}, {{7000, 0, 0}, 7000}, {{0, 0, 0}, 0},
      {{7000, 0, 17900}, 17900},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 3; ++i) ghostHost->rivalTimes[i] = c.times[i];
    game.Load(1, 0, 2);
    EXPECT_EQ(c.toBeat, Shown(game.hudRivalTimeDigits)) << c.times[0] << c.times[1] << c.times[2];
    game.Unload();
  }
}

TEST_F(GhostSlots, ThePlayersOwnGhostFillsSlotOneAndOnlyForItsLevel) {
  ghostHost->online = false;
  ghostHost->savedPoints = 40;
  game.Load(0, 4, 2);
  EXPECT_EQ(42, ghostHost->ghostCell) << "difficulty 0, world 4, level 2";
  EXPECT_EQ(40, game.ghosts[1].GetCount());
  EXPECT_EQ(4200, game.ghosts[1].time);
  // A level whose text cannot be read runs without the ghost of the one
  // before.
  ghostHost->levels.erase("level_43.txt");
  game.Load(0, 4, 3);
  EXPECT_EQ(0, game.ghosts[1].GetCount());
  EXPECT_EQ(0, game.ghosts[2].GetCount());
}

TEST_F(GhostSlots, ReloadingRivalsEmptiesTheSlotsFirst) {
  game.Load(1, 0, 2);
  ASSERT_EQ(3, game.GetRivalGhostCount());
  game.ghosts[3].name = "old";
  // The server now has one rival: it lands in slot 2 alone.
  ghostHost->rivalTimes[1] = ghostHost->rivalTimes[2] = 0;
  game.LoadRivalGhosts();
  EXPECT_EQ(1, game.GetRivalGhostCount());
  EXPECT_EQ(0, game.ghosts[3].GetCount());
  EXPECT_TRUE(game.ghosts[3].name == "");
  EXPECT_EQ(7000, Shown(game.hudRivalTimeDigits));
  // Gone offline: the slots are emptied and the numbers keep their values.
  ghostHost->online = false;
  game.LoadRivalGhosts();
  EXPECT_EQ(0, game.GetRivalGhostCount());
  EXPECT_EQ(7000, Shown(game.hudRivalTimeDigits));
  EXPECT_EQ(12, game.hudRankDigits->GetNumber());
}

}  // namespace
