// Ghosts in runs on the real application object and engine, the clock
// stepped by the test: the craft's path recorded every quarter second and
// saved with a won run, ghosts replayed beside the craft with their glows,
// labels and places, the rewind at a restart, and the rivals' ghosts and
// the upload against the reference server of the game's web service
// (tests/app/game_server.py, started beside this program).
#include "core/Platform.h"

#include "app/ReferenceServer.h"
#include "engine/SDxCamera.h"
#include "engine/SDxParticle.h"
#include "engine/SDxText.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>

namespace {

const char kOnlineKey[] = "Software\\Ardel Vandro\\Gravrun\\GhostRunTest";

class GhostRuns : public RunSuite {
protected:
  void SetUp() override {
    RunSuite::SetUp();
    maxDt = Dx().m_maxDt;
  }
  void TearDown() override {
    Dx().m_maxDt = maxDt;
    App().web.host = "";
    App().serverUploads = false;
    App().showGhostNames = true;
    for (bool& shown : App().showGhost) shown = true;
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kOnlineKey);
    RunSuite::TearDown();
  }

  static std::string FinishRows() { return Rows(30) + Cell(8, 'Z') + Rows(20); }
  // Frames until the run has lasted the time given (the last frame takes
  // what is left).
  static void RunTo(float seconds, float dt = kStep) {
    while (seconds - Game().GetRunTime() > dt) Step(1, dt);
    float left = seconds - Game().GetRunTime();
    if (left > 0) Step(1, left);
  }
  // The quarter second of a run time.
  static int QuarterOf(float seconds) { return (int)(seconds * 100) / 25; }
  // The player online at difficulty 0 on the reference server, as "bob".
  void GoOnline() {
    ASSERT_NE(0, server.port) << "the reference server is not running";
    ReferenceServer::WriteIdentity(kOnlineKey, server.port);
    App().online = true;
    App().onlineDifficulty = 0;
    App().ReadOnlineIdentity(kOnlineKey);
    App().web.timeoutMs = 1000;
    server.Check();
  }
  // The time shown by a display of five sprites (minutes, seconds and
  // hundredths in sprites 0, 2 and 4).
  static int Shown(SDxSprite** digits) {
    return digits[0]->GetNumber() * 6000 + digits[2]->GetNumber() * 100 + digits[4]->GetNumber();
  }
  static PGhost& Slot(int slot) { return Game().ghosts[slot]; }
  static SDxParticlePoint* Glow(int slot) { return Game().ghostEmitters[slot]; }
  static SDxText* Label(int slot) { return Game().ghostLabels[slot]; }
  static void ExpectAt(SDxParticlePoint* glow, float x, float y, float z) {
    EXPECT_NEAR(x, glow->m_position.x, 1e-3f);
    EXPECT_NEAR(y, glow->m_position.y, 1e-3f);
    EXPECT_NEAR(z, glow->m_position.z, 1e-2f);
  }

  ReferenceServer server;
  // The longest frame the engine takes as it is, put back after each test.
  float maxDt = 0;
};

// A path of n points from start, step apart, named.
void Path(PGhost* ghost, const char* name, int n, D3DXVECTOR3 start, D3DXVECTOR3 step) {
  ghost->Clear();
  ghost->name = name;
  for (int i = 0; i < n; ++i) ghost->AddPoint(start + step * float(i));
}

TEST_F(GhostRuns, TheCraftIsRecordedEveryQuarterSecondAndAWonRunSavesItsPath) {
  PGame& game = Game();
  App().bestTimes[1][0][2] = 0;
  App().cellStates[1][0][2] = 2;
  Forget();
  Play(FinishRows(), 1, 0, 2);
  StartRun();
  PlaceMoving(0, 4500);
  Press(VK_UP);
  // One point a quarter second, taken where the craft stands in that frame.
  std::vector<D3DXVECTOR3> taken;
  while (game.GetState() == 2) {
    Step();
    if (game.GetState() != 2) break;
    int quarter = QuarterOf(game.GetRunTime());
    ASSERT_EQ(quarter, game.ghosts[0].GetCount()) << "at " << game.GetRunTime() << " s";
    ASSERT_EQ(quarter, game.ghostSampleIndex);
    if (quarter > (int)taken.size()) taken.push_back(Ship()->GetPositionRef());
  }
  Release(VK_UP);
  ASSERT_EQ(4, game.GetState());
  ASSERT_TRUE(game.success);
  ASSERT_GT(taken.size(), 20u);
  for (size_t k = 0; k < taken.size(); ++k) {
    const D3DXVECTOR3& point = game.ghosts[0].GetPoint((int)k);
    EXPECT_EQ(float(int(taken[k].x)), point.x) << k;
    EXPECT_EQ(float(int(taken[k].z)), point.z) << k;
  }
  // The first won run is the best: its path is the player's ghost now,
  // and leaving the run saves it.
  int recorded = game.ghosts[0].GetCount();
  EXPECT_EQ(recorded, game.ghosts[1].GetCount());
  Tap(VK_RETURN);
  PGhost saved;
  App().LoadGhost(&saved, 1, 0, 2);
  ASSERT_EQ(recorded, saved.GetCount());
  EXPECT_EQ(game.bestTime, saved.time);
  for (int k = 0; k < recorded; ++k) EXPECT_EQ(game.ghosts[1].GetPoint(k), saved.GetPoint(k)) << k;
  // The next load of the level replays it in slot 1.
  Forget();
  Play(FinishRows(), 1, 0, 2);
  EXPECT_EQ(recorded, game.ghosts[1].GetCount());
  EXPECT_TRUE(Glow(1)->IsEmitting());
}

TEST_F(GhostRuns, GhostsMoveWithTheRunClockShowTheirLabelsAndCountPlaces) {
  PGame& game = Game();
  PlayLesson(Rows(200));
  // Slot 1: the player's own ghost far ahead; slot 2: a rival near ahead,
  // 100 along z a quarter second; slot 3: a rival behind; slot 4: a rival
  // whose path ends at 0.5 s.
  Path(&Slot(1), "", 40, D3DXVECTOR3(0, 0, 9000), D3DXVECTOR3(0, 0, 0));
  Path(&Slot(2), "rival", 8, D3DXVECTOR3(0, 10, 1000), D3DXVECTOR3(10, 0, 100));
  Path(&Slot(3), "slow", 40, D3DXVECTOR3(0, 0, -5000), D3DXVECTOR3(0, 0, 0));
  Path(&Slot(4), "quick", 2, D3DXVECTOR3(0, 0, 3000), D3DXVECTOR3(0, 0, 0));
  game.Restart();
  Step();
  Draw(false);
  ASSERT_EQ(2, game.GetState());
  EXPECT_STREQ("rival", Label(2)->m_text.GetText());
  EXPECT_STREQ("quick", Label(4)->m_text.GetText());

  // 0.305 s: a fifth of the way from each ghost's first point to its second.
  RunTo(0.305f);
  ASSERT_EQ(1, QuarterOf(game.GetRunTime()));
  const D3DXVECTOR3 rival(2, 10, 1020);
  ExpectAt(Glow(2), rival.x, rival.y, rival.z);
  EXPECT_TRUE(Glow(2)->IsVisible());
  EXPECT_TRUE(Glow(1)->IsVisible());
  EXPECT_FALSE(Glow(3)->IsVisible()) << "behind the craft";
  EXPECT_TRUE(Glow(4)->IsVisible());
  EXPECT_EQ(3, game.hudPosDigits->GetNumber()) << "two rivals ahead";
  // The near rival's name stands over its glow on the screen; the far
  // one's is beyond the label range, the one behind has none.
  ASSERT_TRUE(Label(2)->IsActive());
  float x = 0, y = 0;
  game.camera->WorldToScreen(rival, &x, &y);
  float sx = Dx().m_scaleX, sy = Dx().m_scaleY;
  EXPECT_FLOAT_EQ((x - 1) / sx, Label(2)->m_left);
  EXPECT_FLOAT_EQ((x + 1) / sx, Label(2)->m_right);
  EXPECT_FLOAT_EQ((y - 5) / sy, Label(2)->m_top);
  EXPECT_FLOAT_EQ(y / sy, Label(2)->m_bottom);
  EXPECT_TRUE(Label(4)->IsActive()) << "3000 ahead";
  EXPECT_FALSE(Label(3)->IsActive());

  // The switches: names off hide every label, a ghost switched off hides
  // its glow and its label.
  App().showGhostNames = false;
  Step();
  EXPECT_FALSE(Label(2)->IsActive());
  App().showGhostNames = true;
  App().showGhost[2] = false;
  Step();
  EXPECT_FALSE(Glow(2)->IsVisible());
  EXPECT_FALSE(Label(2)->IsActive());
  EXPECT_TRUE(Label(4)->IsActive());
  App().showGhost[2] = true;

  // 1.0 s: on the near rival's fourth point; the quick rival has ended:
  // hidden, yet still ahead.
  RunTo(1.005f);
  ExpectAt(Glow(2), 30, 10, 1300);
  EXPECT_FALSE(Glow(4)->IsVisible());
  EXPECT_FALSE(Label(4)->IsActive());
  EXPECT_EQ(3, game.hudPosDigits->GetNumber());
  // 1.995 s: nearly at its last point; at 2.0 s it has ended too and its
  // glow stays where it was.
  RunTo(1.995f);
  ExpectAt(Glow(2), 69.6f, 10, 1696);
  RunTo(2.005f);
  EXPECT_FALSE(Glow(2)->IsVisible());
  ExpectAt(Glow(2), 69.6f, 10, 1696);
}

TEST_F(GhostRuns, FromThreeMinutesOnNothingIsRecordedAndNothingMoves) {
  PGame& game = Game();
  PlayLesson(Rows(200));
  // A rival standing 5000 ahead for longer than the recording lasts, alone.
  Path(&Slot(2), "long", 800, D3DXVECTOR3(0, 0, 5000), D3DXVECTOR3(1, 0, 0));
  for (int slot : {1, 3, 4}) Slot(slot).Clear();
  game.Restart();
  Step();
  Draw(false);
  // Quarter-second frames (the engine takes them whole): one point each.
  Dx().m_maxDt = 0.25f;
  RunTo(179.9f, 0.25f);
  EXPECT_EQ(719, QuarterOf(game.GetRunTime()));
  EXPECT_EQ(719, game.ghosts[0].GetCount());
  D3DXVECTOR3 last = Glow(2)->m_position;
  EXPECT_EQ(2, game.hudPosDigits->GetNumber());
  // The craft goes past the rival after 180 s: no point, no move, and the
  // place stays.
  PlaceMoving(20000, 0);
  RunTo(185.0f, 0.25f);
  EXPECT_EQ(PGhost::RECORD_LIMIT, game.ghosts[0].GetCount());
  EXPECT_EQ(last, Glow(2)->m_position);
  EXPECT_EQ(2, game.hudPosDigits->GetNumber());
}

TEST_F(GhostRuns, ARestartRewindsTheGhosts) {
  PGame& game = Game();
  PlayLesson(Rows(200));
  Path(&Slot(1), "", 40, D3DXVECTOR3(0, 0, 9000), D3DXVECTOR3(0, 0, 0));
  Path(&Slot(3), "third", 40, D3DXVECTOR3(0, 0, 2000), D3DXVECTOR3(0, 0, 0));
  Slot(2).Clear();
  Slot(4).Clear();
  game.Restart();
  Step();
  Draw(false);
  RunTo(3.0f);
  ASSERT_EQ(12, game.ghosts[0].GetCount());
  ASSERT_TRUE(Label(3)->IsActive());

  game.Restart();
  EXPECT_EQ(0, game.ghostSampleIndex);
  EXPECT_EQ(0, game.ghosts[0].GetCount());
  for (int slot : {1, 3}) {
    EXPECT_TRUE(Glow(slot)->IsEmitting()) << slot;
    EXPECT_TRUE(Glow(slot)->IsVisible()) << slot;
    EXPECT_EQ(D3DXVECTOR3(0, 0, 0), Glow(slot)->m_position) << slot;
  }
  for (int slot : {2, 4}) {
    EXPECT_FALSE(Glow(slot)->IsEmitting()) << slot;
    EXPECT_FALSE(Glow(slot)->IsVisible()) << slot;
  }
  for (int slot : {2, 3, 4}) EXPECT_FALSE(Label(slot)->IsActive()) << slot;
  EXPECT_STREQ("third", Label(3)->m_text.GetText());
  EXPECT_STREQ("", Label(2)->m_text.GetText());
  // The run records afresh from its start.
  Step();
  RunTo(0.505f);
  EXPECT_EQ(2, game.ghosts[0].GetCount());
}

TEST_F(GhostRuns, RivalsFromTheServerArePlacedAsReceived) {
  PGame& game = Game();
  GoOnline();
  App().cellStates[0][0][0] = 3;
  App().cellStates[0][0][1] = 2;
  int before = server.Requests();
  Forget();
  Play(FinishRows(), 0, 0, 0);
  EXPECT_EQ(before + 2, server.Requests()) << "the level's hiscores and its rivals";
  // Three rivals: the first received in slot 4, the third in slot 2.
  const struct {
    int slot;
    const char* name;
    int time, points;
  } three[] = {{4, "rival0", 5000, 2}, {3, "rival1", 5100, 3}, {2, "rival2", 5200, 4}};
  for (const auto& r : three) {
    EXPECT_STREQ(r.name, Slot(r.slot).name.GetText()) << r.slot;
    EXPECT_EQ(r.time, Slot(r.slot).time) << r.slot;
    EXPECT_EQ(r.points, Slot(r.slot).GetCount()) << r.slot;
    EXPECT_STREQ(r.name, Label(r.slot)->m_text.GetText()) << "named at the restart";
  }
  EXPECT_EQ(2, game.hudRankDigits->GetNumber()) << "bob is second on the cell";
  EXPECT_EQ(5000, Shown(game.hudRivalTimeDigits));

  // A fourth rival has no slot and is ignored.
  server.Mode("normal");
  server.Mode("rivals4");
  game.LoadRivalGhosts();
  EXPECT_STREQ("rival0", Slot(4).name.GetText());
  EXPECT_STREQ("rival2", Slot(2).name.GetText());
  EXPECT_EQ(3, game.GetRivalGhostCount());
  // One rival stands in slot 2 alone and is the time to beat.
  server.Mode("normal");
  server.Mode("rivals1");
  game.LoadRivalGhosts();
  EXPECT_STREQ("rival0", Slot(2).name.GetText());
  EXPECT_EQ(0, Slot(3).GetCount());
  EXPECT_EQ(0, Slot(4).GetCount());
  EXPECT_EQ(5000, Shown(game.hudRivalTimeDigits));
  // A rival answer that breaks off keeps the rivals read before it.
  server.Mode("normal");
  server.Mode("ghostbad");
  game.LoadRivalGhosts();
  EXPECT_STREQ("rival0", Slot(4).name.GetText());
  EXPECT_EQ(0, Slot(2).GetCount());
  EXPECT_EQ("OK", server.Check());

  // Nothing is asked for a cell not done, nor offline.
  before = server.Requests();
  Forget();
  Play(FinishRows(), 0, 0, 1);
  EXPECT_EQ(0, game.GetRivalGhostCount());
  App().online = false;
  Forget();
  Play(FinishRows(), 0, 0, 0);
  EXPECT_EQ(0, Slot(4).GetCount());
  EXPECT_EQ(before, server.Requests());
  Forget();
}

TEST_F(GhostRuns, LeavingAWonRankedRunUploadsItAndReloadsTheRivals) {
  PGame& game = Game();
  GoOnline();
  App().serverUploads = true;
  App().cellStates[0][0][0] = 3;
  Forget();
  Play(FinishRows(), 0, 0, 0);
  auto win = [&] {
    StartRun();
    PlaceMoving(25000, 4500);
    return DriveOn();
  };
  ASSERT_EQ(4, win());
  int time = game.runTime;
  App().bestTimes[0][0][0] = 0;
  int before = server.Requests();
  // The server takes the ghost and asks for fresh rivals.
  Tap(VK_RETURN);
  EXPECT_EQ(before + 3, server.Requests()) << "the upload, then the hiscores and the rivals";
  EXPECT_NE(std::string::npos, server.Get("/last", "").find("time=" + std::to_string(time)));
  EXPECT_EQ(time, App().bestTimes[0][0][0]);
  EXPECT_EQ("OK", server.Check());

  // A server that fails three times: three attempts, then the player is
  // told; the result was recorded first.
  ASSERT_EQ(4, win());
  time = game.runTime;
  App().bestTimes[0][0][0] = 0;
  before = server.Requests();
  server.Mode("empty", 3);
  Tap(VK_RETURN);
  EXPECT_EQ(before + 3, server.Requests());
  EXPECT_STREQ("UPLOAD FAILED", Dx().m_overlayLine.GetText());
  EXPECT_EQ(time, App().bestTimes[0][0][0]);
  EXPECT_EQ("OK", server.Check());

  // A lost run records and sends nothing.
  Play(Cell(0, '*') + FinishRows(), 0, 0, 0);
  StartRun();
  game.Finish();
  ASSERT_FALSE(game.success);
  before = server.Requests();
  Tap(VK_RETURN);
  EXPECT_EQ(before, server.Requests());
  Forget();
}

}  // namespace
