// A run's states on the real application object: the start phase and its
// skip, pause, the keys of the frame step, the rolling boulder, the finish
// line open and closed, the best time and what leaving a won run records.
#include "core/Platform.h"

#include "engine/SDxPreset.h"
#include "engine/SDxShader.h"
#include "engine/SDxShape.h"
#include "tests/game/run/RunSupport.h"

#include <float.h>

namespace {

class RunStates : public RunSuite {
protected:
  // Whether the engine draws exactly the list's screen effects.
  static bool Showing(const SArray<SDxShader*>& effects) {
    const SArray<SDxShader*>& shown = Dx().m_screenEffects;
    if (shown.GetCount() != effects.GetCount()) return false;
    for (int i = 0; i < shown.GetCount(); ++i)
      if (shown[i] != effects[i]) return false;
    return true;
  }
  static float BoulderZ() { return Game().GetBoulderShape()->GetZ(); }
};

TEST_F(RunStates, TheStartPhaseFadesInUntilTheBoulderArrives) {
  Play(Rows(100));
  PGame& game = Game();
  EXPECT_EQ(1, game.GetState());
  EXPECT_TRUE(Showing(game.startEffects));
  EXPECT_FALSE(Dx().m_sceneVisible);
  EXPECT_FALSE(game.hudTimeDigits[0]->IsVisible());
  // The fade follows the eased curve: half way after 0.75 s.
  StepSeconds(0.75f);
  EXPECT_TRUE(Dx().m_sceneVisible);
  float alpha = -1;
  ASSERT_NE(nullptr, game.fadeShader);
  game.fadeShader->GetEffect()->GetFloat(game.fadeShader->GetParameter("g_alpha"), &alpha);
  EXPECT_NEAR(0.5f, alpha, 0.01f);
  // The boulder rolls in from -16000 at 2000 a second.
  EXPECT_FLOAT_EQ(-16000 + 0.75f * 2000, BoulderZ());
  // The run starts when it reaches -4000 (taken from 4600 before it), the
  // starting voice on the way.
  Game().GetBoulderShape()->SetZ(-4600);
  Silence(PGame::SOUND_BIP_START);
  ASSERT_TRUE(StepUntil([&] { return game.GetState() == 2; }, 40));
  EXPECT_GE(BoulderZ(), -4000.0f);
  EXPECT_LT(BoulderZ(), -4000.0f + 3 * 2000 * kStep);
  EXPECT_NE(0u, Dx().GetSound(PGame::SOUND_VOICE_START)->IsReserved());
  EXPECT_TRUE(Showing(game.runEffects));
  EXPECT_TRUE(Started(PGame::SOUND_BIP_START));
  EXPECT_TRUE(game.hudTimeDigits[0]->IsVisible());
}

TEST_F(RunStates, TheStartIsSkippedAfterASecond) {
  Play(Rows(100));
  StepSeconds(0.9f);
  Tap(VK_CONTROL);
  EXPECT_EQ(1, Game().GetState()) << "not within the first second";
  Step(5);
  Tap(VK_CONTROL);
  EXPECT_EQ(2, Game().GetState());
  // Put at -4000, then rolling on in the same frame.
  EXPECT_FLOAT_EQ(-4000 + 2000 * kStep, BoulderZ());
  EXPECT_TRUE(Ship()->IsAlive());
}

TEST_F(RunStates, PauseWorksOnlyWhileStartingOrRunning) {
  Play(Rows(100));
  PGame& game = Game();
  for (int state : {1, 2}) {
    if (state == 2) StartRun();
    ASSERT_EQ(state, game.GetState());
    game.TogglePause();
    EXPECT_TRUE(Dx().IsPaused());
    EXPECT_TRUE(game.messageSprite->IsVisible());
    EXPECT_EQ(game.texMsgPause, game.messageSprite->m_texture);
    EXPECT_TRUE(Showing(game.pauseEffects));
    // The game clock stands still; the pad's Y resumes.
    float now = Dx().GetTime();
    Step(10);
    EXPECT_EQ(now, Dx().GetTime());
    UsePad(true);
    Pad().wButtons = XINPUT_GAMEPAD_Y;
    Step();
    UsePad(false);
    EXPECT_FALSE(Dx().IsPaused());
    EXPECT_FALSE(game.messageSprite->IsVisible());
    EXPECT_TRUE(Showing(state == 1 ? game.startEffects : game.runEffects));
  }
  // Crashed or finished: nothing.
  Ship()->Crash(PGame::ITEM_MINE, 0);
  game.TogglePause();
  EXPECT_FALSE(Dx().IsPaused());
  Play(Cell(8, 'Z') + Rows(10));
  StartRun();
  ASSERT_EQ(4, DriveOn());
  game.TogglePause();
  EXPECT_FALSE(Dx().IsPaused());
}

TEST_F(RunStates, RestartKeysAndThePadsB) {
  Play(Rows(100));
  PGame& game = Game();
  StartRun();
  UsePad(true);
  // B in a clean run does nothing; after a missed gem it restarts.
  Pad().wButtons = XINPUT_GAMEPAD_B;
  Step();
  Pad().wButtons = 0;
  Step();
  EXPECT_EQ(2, game.GetState());
  game.ChangeMissedCount(false);
  Pad().wButtons = XINPUT_GAMEPAD_B;
  Step();
  Pad().wButtons = 0;
  EXPECT_EQ(1, game.GetState());
  EXPECT_EQ(0, game.missedGems);
  // Start restarts from a crash; so does Return.
  StartRun();
  Ship()->Crash(PGame::ITEM_MINE, 0);
  Pad().wButtons = XINPUT_GAMEPAD_START;
  Step();
  Pad().wButtons = 0;
  EXPECT_EQ(1, game.GetState());
  EXPECT_TRUE(Ship()->IsAlive());
  UsePad(false);
  StartRun();
  Ship()->Crash(PGame::ITEM_MINE, 0);
  Tap(VK_RETURN);
  EXPECT_EQ(1, game.GetState());
}

TEST_F(RunStates, EscapeLeavesForThePageOfTheLevel) {
  const struct {
    int world, level;
    bool won;
    RunApp::Page page;
  } cases[] = {
      {0, 0, false, {7, -1, -1}}, {1, 1, false, {7, 0, 0}}, {3, 3, false, {1, -1, -1}},
      {2, 2, false, {7, -1, -1}}, {2, 2, true, {12, -1, -1}},
  };
  for (const auto& c : cases) {
    s_app->pages.clear();
    Play(Rows(60), 1, c.world, c.level);
    StartRun();
    PGame& game = Game();
    if (c.won) {
      while (!game.AllTargetsCollected()) game.OnTargetCollected();
      game.Finish();
      ASSERT_EQ(4, game.GetState());
    }
    Tap(VK_ESCAPE);
    ASSERT_EQ(1u, s_app->pages.size()) << c.world << c.level;
    EXPECT_EQ(c.page.page, s_app->pages[0].page) << c.world << c.level;
    EXPECT_EQ(c.page.world, s_app->pages[0].world);
    EXPECT_EQ(c.page.level, s_app->pages[0].level);
    EXPECT_EQ(PWnd::MODE_MENU, s_app->GetMode());
    EXPECT_EQ(0, game.GetState());
  }
}

TEST_F(RunStates, TheBoulderRollsKeepsItsDistanceAndCatches) {
  // Difficulty 0: 1000 a second; 2000 above.
  for (int difficulty : {0, 1}) {
    Play(Cell(8, '*') + Rows(200), difficulty);
    StartRun();
    float z = BoulderZ();
    Step(64);
    EXPECT_FLOAT_EQ(z + (difficulty == 0 ? 1000 : 2000), BoulderZ()) << difficulty;
  }
  PGame& game = Game();
  // Its sound follows the distance; the counter shows a 40th of it, red
  // and with the alarm within 5000.
  PlaceMoving(BoulderZ() + 20000, 0);
  Step(40);  // the alarm of the start fades out over 0.5 s
  PlaceMoving(BoulderZ() + 7000, 0);
  Step();
  EXPECT_NEAR(0.5f, Dx().GetSound(PGame::SOUND_BOULDER)->m_volume, 0.01f);
  EXPECT_EQ((int)((7000 - 2000 * kStep - 990) / 1000 * 25), game.hudDistanceDigits->GetNumber());
  EXPECT_EQ(game.texDigitsWhite, game.hudDistanceDigits->m_texture);
  EXPECT_FALSE(Playing(PGame::SOUND_ALARM));
  PlaceMoving(BoulderZ() + 5000, 0);
  Step();
  EXPECT_TRUE(Ship()->IsAlive());
  EXPECT_EQ(game.texDigitsRed, game.hudDistanceDigits->m_texture);
  EXPECT_TRUE(Playing(PGame::SOUND_ALARM));
  // An eased move toward a target ahead: half way after half a second;
  // a target behind changes nothing.
  float from = BoulderZ();
  game.SetBoulderTarget(from - 1000);
  EXPECT_EQ(0, game.boulderMoveTime);
  game.SetBoulderTarget(from + 3000);
  Step(32);
  EXPECT_NEAR(from + 1500, BoulderZ(), 1);
  Step(32);
  EXPECT_FLOAT_EQ(from + 3000, BoulderZ());
  EXPECT_EQ(0, game.boulderMoveTime);
  // Never more than 40000 behind.
  PlaceMoving(100000, 0);
  Step();
  EXPECT_FLOAT_EQ(100000 - 40000, BoulderZ());
  // Caught: a crash of kind 0 and every entity of the map gone at once.
  Play(Cell(8, '*') + Rows(200));
  StartRun();
  ASSERT_GT(game.gems.GetCount(), 0);
  ASSERT_TRUE(StepUntil([&] { return !Ship()->IsAlive(); }, 200));
  EXPECT_EQ(0, Ship()->GetDeathKind());
  EXPECT_EQ(3, game.GetState());
  EXPECT_EQ(0, game.gems.GetCount() + game.finishes.GetCount() + game.platforms.GetCount());
  EXPECT_EQ(game.texDeadDestroy, game.deathSprite->m_texture);
  // The boulder rolls over the craft and on.
  float over = BoulderZ();
  Step(8);
  EXPECT_GT(BoulderZ(), over);
}

TEST_F(RunStates, TheLessonsBoulderStaysBehind) {
  PlayLesson(Rows(60));
  float z = BoulderZ();
  StepSeconds(2);
  EXPECT_FLOAT_EQ(z, BoulderZ());
}

TEST_F(RunStates, AnOpenFinishWinsAClosedOneCrashes) {
  PGame& game = Game();
  // Open: no target in the level.
  Play(Rows(3) + Cell(8, 'Z') + Rows(20));
  StartRun();
  ASSERT_EQ(1, game.finishes.GetCount());
  EXPECT_TRUE(game.finishes[0]->IsOpen());
  EXPECT_EQ(game.texShockwave1, game.finishes[0]->presets[0]->m_texture);
  PlaceMoving(3000, 0);
  Silence(PGame::SOUND_VOICE_SUCCESS);
  EXPECT_EQ(4, DriveOn());
  EXPECT_TRUE(game.success);
  EXPECT_GT(Ship()->GetTrackPosition(), 4000);
  EXPECT_EQ(-1, Ship()->GetDeathKind());
  EXPECT_EQ(game.texDigitsGreen, game.hudTimeDigits[0]->m_texture);
  EXPECT_EQ(game.texMsgSuccess, game.messageSprite->m_texture);
  EXPECT_TRUE(Started(PGame::SOUND_VOICE_SUCCESS));
  EXPECT_EQ(game.runTime, game.bestTime);
  // Closed: a gem left in another column; the craft crashes 10 before the
  // end of the finish row.
  Play(Cell(0, '*') + Rows(2) + Cell(8, 'Z') + Rows(20));
  StartRun();
  EXPECT_FALSE(game.finishes[0]->IsOpen());
  EXPECT_EQ(game.texShockwave0, game.finishes[0]->presets[0]->m_texture);
  PlaceMoving(3000, 0);
  EXPECT_EQ(3, DriveOn());
  EXPECT_EQ(PGame::ITEM_FINISH, Ship()->GetDeathKind());
  EXPECT_LT(Ship()->GetTrackPosition(), 4000);
  EXPECT_EQ(game.texMsgGameOver, game.messageSprite->m_texture);
  // Taking the last target opens it at once, before its next step.
  Play(Cell(0, '*') + Rows(2) + Cell(8, 'Z') + Rows(20));
  StartRun();
  game.GetGem(0)->Collect();
  EXPECT_TRUE(game.finishes[0]->IsOpen());
  EXPECT_EQ(game.texShockwave1, game.finishes[0]->presets[0]->m_texture);
}

TEST_F(RunStates, FinishRingsPulseOnePerSecondAndEveryThirdSpins) {
  Play(Rows(3) + Cell(8, 'Z') + Rows(20));
  StartRun();
  PFinishEntity* finish = Game().finishes[0];
  ASSERT_EQ(8, finish->presets.GetCount());
  EXPECT_FLOAT_EQ(4000, finish->presets[0]->m_position.z);
  int first = finish->nextPulse;
  StepSeconds(1.0f + kStep);
  EXPECT_EQ((first + 1) % 8, finish->nextPulse);
  auto* restarted = static_cast<SDxPresetShockwave*>(finish->presets[first]);
  EXPECT_TRUE(restarted->IsRunning());
  EXPECT_FLOAT_EQ(5.0f, restarted->m_duration);
  D3DXMATRIX spun;
  D3DXMatrixRotationX(&spun, finish->spin);
  for (int i : {0, 3, 6}) EXPECT_EQ(spun, finish->presets[i]->m_orientation) << i;
  EXPECT_NE(spun, finish->presets[1]->m_orientation);
}

TEST_F(RunStates, ATimedCellIsWonAtTheQualifyingTimeAndLostAfterIt) {
  // World 4, level 2 is a timed cell; its qualifying time set per case.
  std::string level = Rows(8) + Cell(8, 'Z') + Rows(20);
  auto finish = [&](int qualifying) {
    s_app->qualifyingTimes[1][4][2] = qualifying;
    Forget();
    Play(level, 1, 4, 2);
    StartRun();
    PlaceMoving(0, 4500);
    return DriveOn();
  };
  ASSERT_EQ(4, finish(100000));
  int time = Game().runTime;
  ASSERT_GT(time, 50);
  EXPECT_EQ(4, finish(time));
  EXPECT_TRUE(Game().success);
  EXPECT_EQ(3, finish(time - 50));
  EXPECT_EQ(PGame::ITEM_FINISH, Ship()->GetDeathKind());
  EXPECT_EQ(Game().texMsgTimeout, Game().messageSprite->m_texture);
  s_app->qualifyingTimes[1][4][2] = 0;
  Forget();
}

TEST_F(RunStates, OnlyAStrictlyBetterTimeReplacesTheBestAndItsGhost) {
  PGame& game = Game();
  std::string level = Rows(3) + Cell(8, 'Z') + Rows(20);
  s_app->bestTimes[1][0][0] = 0;
  Forget();
  auto win = [&](const char* name) {
    Play(level);
    StartRun();
    game.ghosts[0].name = name;
    PlaceMoving(2000, 3000);
    return DriveOn();
  };
  ASSERT_EQ(4, win("first"));
  int best = game.bestTime;
  EXPECT_STREQ("first", game.ghosts[1].name.GetText());
  EXPECT_EQ(game.texDigitsGreen, game.hudBestTimeDigits[0]->m_texture);
  ASSERT_EQ(4, win("same"));
  EXPECT_EQ(best, game.runTime);
  EXPECT_STREQ("first", game.ghosts[1].name.GetText());
  // A finish with a target missing is lost: red times, the best kept.
  Play(Cell(0, '*') + level);
  StartRun();
  game.Finish();
  EXPECT_EQ(4, game.GetState());
  EXPECT_FALSE(game.success);
  EXPECT_EQ(game.texDigitsRed, game.hudTimeDigits[0]->m_texture);
  EXPECT_EQ(best, game.bestTime);
}

TEST_F(RunStates, LeavingAWonRunRecordsItAndUploadsWhenOnline) {
  PGame& game = Game();
  std::string level = Rows(3) + Cell(8, 'Z') + Rows(20);
  s_app->bestTimes[1][0][0] = 0;
  // Offline: recorded when the player restarts, nothing sent.
  Play(level);
  StartRun();
  PlaceMoving(3000, 3000);
  ASSERT_EQ(4, DriveOn());
  int won = game.runTime;
  EXPECT_EQ(0, s_app->bestTimes[1][0][0]) << "not before the run is left";
  Tap(VK_RETURN);
  EXPECT_EQ(won, s_app->bestTimes[1][0][0]);
  EXPECT_EQ(3, s_app->GetCellState(1, 0, 0));
  EXPECT_TRUE(s_app->uploads.empty());
  // Online at this difficulty: uploaded as the player leaves for the menu.
  s_app->online = true;
  s_app->onlineDifficulty = 1;
  StartRun();
  PlaceMoving(3000, 3000);
  ASSERT_EQ(4, DriveOn());
  int time = game.runTime;
  Tap(VK_ESCAPE);
  ASSERT_EQ(1u, s_app->uploads.size());
  EXPECT_EQ(time, s_app->uploads[0]);
  // The window closing from a won run's screen still records it.
  s_app->online = false;
  s_app->bestTimes[1][0][0] = 0;
  Play(level);
  StartRun();
  PlaceMoving(3000, 3000);
  ASSERT_EQ(4, DriveOn());
  won = game.runTime;
  s_app->LeaveMode();
  Forget();
  EXPECT_EQ(won, s_app->bestTimes[1][0][0]);
  EXPECT_TRUE(s_app->uploads.size() == 1) << "no upload on the way out";
  // The lesson is never recorded.
  PlayLesson(level);
  PlaceMoving(3000, 3000);
  ASSERT_EQ(4, DriveOn());
  Tap(VK_RETURN);
  EXPECT_EQ(0, s_app->bestTimes[1][1][1]);
}

TEST_F(RunStates, NumpadKeysToggleTheGhostSwitchesOnFirstPress) {
  Play(Rows(60));
  const struct {
    int key;
    bool* flag;
    const char* off;
    const char* on;
  } cases[] = {
      {VK_NUMPAD0, &s_app->showGhost[1], "GHOST DISABLED", "GHOST ENABLED"},
      {VK_NUMPAD2, &s_app->showGhost[3], "GHOST #2 DISABLED", "GHOST #2 ENABLED"},
      {VK_NUMPAD9, &s_app->showGhostNames, "GHOST NAMES DISABLED", "GHOST NAMES ENABLED"},
  };
  for (const auto& c : cases) {
    *c.flag = true;
    Press(c.key);
    Step();
    EXPECT_FALSE(*c.flag);
    EXPECT_STREQ(c.off, Dx().m_overlayLine.GetText());
    // Held down, the key repeats: no new toggle.
    Press(c.key);
    Step();
    EXPECT_FALSE(*c.flag);
    Release(c.key);
    Step();
    Tap(c.key);
    EXPECT_TRUE(*c.flag);
    EXPECT_STREQ(c.on, Dx().m_overlayLine.GetText());
  }
}

TEST_F(RunStates, NightVisionClosesAfterFifteenSecondsOverTen) {
  Play(Rows(300), 0);
  StartRun();
  PGame& game = Game();
  game.SetNightVision(true);
  EXPECT_TRUE(Showing(game.nightEffects));
  // Pause keeps the night's effects.
  game.TogglePause();
  EXPECT_TRUE(Showing(game.nightEffects));
  game.TogglePause();
  PlaceMoving(100000, 0);
  StepSeconds(15.0f + kStep);
  EXPECT_EQ(1, game.nightVisionPhase);
  StepSeconds(5.0f);
  float radius = -1;
  if (game.nightShader) {
    game.nightShader->GetEffect()->GetFloat(game.radiusParam, &radius);
    EXPECT_NEAR(0.5f, radius, 0.01f);
  }
  // The run's end switches it off.
  Ship()->Crash(PGame::ITEM_MINE, 0);
  EXPECT_FALSE(game.IsNightVisionOn());
  EXPECT_TRUE(Showing(game.runEffects));
}

}  // namespace
