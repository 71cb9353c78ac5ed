// The HUD of a run on the real engine: the mini-map's cells, the target
// counts and the large gem, the dynamite and turbo panels, the lesson tips,
// the centre messages and which panels each state shows.
#include "core/Platform.h"

#include "engine/SDxManager.h"
#include "engine/SDxParticle.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>

namespace {

class Hud : public RunSuite {
protected:
  static SDxTexture* CellImage(int column, int line) {
    return Game().mapCells[column][line]->m_texture;
  }
  // Every cell of the map line shows the image.
  static bool LineOf(int line, SDxTexture* image) {
    for (int c = 0; c < 9; ++c)
      if (CellImage(c, line) != image) return false;
    return true;
  }
};

TEST_F(Hud, MapColumnsAroundTheCraft) {
  const struct {
    int craft, column, cell;
  } cases[] = {{8, 8, 4}, {8, 4, 0}, {8, 12, 8}, {8, 3, -1}, {8, 13, -1},
               {0, 15, 3}, {15, 1, 6}, {3, 12, -1}, {0, 8, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(c.cell, PGame::MapColumnCell(c.craft, c.column)) << c.craft << " " << c.column;
}

TEST_F(Hud, TheMiniMapShowsTheRowsAhead) {
  // The craft in row 0, column 8: the map's lines 7 (row -1) to 0 (row 6).
  std::string rows = Row() +                    // row 0, line 6
                     Row(".......|\x97$") +      // walls, a roof, a box
                     Row("......*.....\\\xA4") +  // a gem two left, a jumper, a mine
                     Row(".....|..X.o") +         // a blocker row with more in it
                     Row("........\xB0") +       // a guard door
                     Row("Z") +                   // the finish
                     Row("....\xA4");            // a mine at the window's edge
  PlayLesson(rows + Rows(30));
  PGame& game = Game();
  PlaceMoving(500, 0);
  Step();
  EXPECT_TRUE(LineOf(7, game.texHudCell)) << "no row before the first";
  EXPECT_EQ(game.texHudCellShip, CellImage(4, 6));
  EXPECT_EQ(game.texHudCellWall, CellImage(3, 5));
  EXPECT_EQ(game.texHudCellRoof, CellImage(4, 5));
  EXPECT_EQ(game.texHudCellBox, CellImage(5, 5));
  EXPECT_EQ(game.texHudCellGem, CellImage(2, 4));
  EXPECT_EQ(game.texHudCellJumper, CellImage(8, 4));
  for (int c : {0, 1, 3, 4, 5, 6, 7}) EXPECT_EQ(game.texHudCell, CellImage(c, 4)) << c;
  EXPECT_TRUE(LineOf(3, game.texHudCellBlocker));
  for (int c = 0; c < 9; ++c) {
    SDxTexture* door = c >= 3 && c <= 5 ? game.texHudCellDoor2 : game.texHudCellDoor;
    EXPECT_EQ(door, CellImage(c, 2)) << c;
  }
  EXPECT_TRUE(LineOf(1, game.texHudCellFinish));
  EXPECT_EQ(game.texHudCellMine, CellImage(0, 0));
  // A collected gem leaves its cell; an open door clears its gap.
  MAPITEM* gem = game.GetMapItem(6, 2);
  static_cast<PGemEntity*>((SDxEntity*)gem->entity)->Collect();
  ASSERT_EQ(1, game.doors.GetCount());
  game.doors[0]->open = true;
  Step();
  EXPECT_EQ(game.texHudCell, CellImage(2, 4));
  for (int c = 0; c < 9; ++c) {
    SDxTexture* door = c >= 3 && c <= 5 ? game.texHudCell : game.texHudCellDoor;
    EXPECT_EQ(door, CellImage(c, 2)) << c;
  }
}

TEST_F(Hud, TheLastTargetTurnsTheCountsGreenAndOpensTheFinish) {
  PlayLesson(Rows(2) + Cell(8, '*') + Rows(2) + Cell(8, '*') + Rows(2) + Cell(8, 'Z') + Rows(20));
  PGame& game = Game();
  EXPECT_EQ(2, game.hudTargetCountDigits->GetNumber());
  EXPECT_FALSE(game.finishes[0]->IsOpen());
  PlaceMoving(2000, 2000);
  ASSERT_TRUE(StepUntil([&] { return game.targetsTaken == 1; }, 64));
  EXPECT_EQ(1, game.hudTargetsTakenDigits->GetNumber());
  EXPECT_EQ(game.texDigitsWhite, game.hudTargetsTakenDigits->m_texture);
  // The large gem blinks for half a second, then fades out at 1.5 s.
  SDxSprite* gem = game.hudGemFlash;
  EXPECT_TRUE(gem->IsVisible());
  EXPECT_EQ(20, gem->m_blinkPeriod);
  Ship()->speed = 0;
  StepSeconds(0.5f + 2 * kStep);
  EXPECT_EQ(0, gem->m_blinkPeriod);
  EXPECT_TRUE(gem->IsVisible());
  StepSeconds(1.0f);
  EXPECT_TRUE(gem->IsFading());
  Draw(true);  // the fade runs as the icon is drawn
  StepSeconds(0.6f);
  EXPECT_FALSE(gem->IsVisible());
  Draw(false);
  Silence(PGame::SOUND_BIP_ALL_GEMS);
  PlaceMoving(5000, 2000);
  ASSERT_TRUE(StepUntil([&] { return game.targetsTaken == 2; }, 64));
  EXPECT_EQ(game.texDigitsGreen, game.hudTargetsTakenDigits->m_texture);
  EXPECT_EQ(game.texDigitsGreen, game.hudTargetCountDigits->m_texture);
  EXPECT_TRUE(Started(PGame::SOUND_BIP_ALL_GEMS));
  EXPECT_FLOAT_EQ(8.0f, Dx().m_flashAmount);
  EXPECT_FLOAT_EQ(0.25f, Dx().m_flashDuration);
  EXPECT_TRUE(game.finishes[0]->IsOpen());
}

TEST_F(Hud, TheDynamitePanelCountsDownOrangeThenRed) {
  PlayLesson(Rows(3) + Cell(0, 'd') + Rows(20));
  PGame& game = Game();
  ASSERT_EQ(1, game.dynamites.GetCount());
  PDynamiteEntity* stick = game.dynamites[0];
  ASSERT_TRUE(Ship()->TakeDynamite(stick));
  EXPECT_EQ(0, game.dynamites.GetCount());
  EXPECT_FALSE(Ship()->TakeDynamite(stick)) << "the same stick twice";
  // 5.5 s left shows 6 in orange; 4.9 s shows 5 in red.
  const struct {
    float elapsed;
    int shown;
    SDxTexture* PGame::*digits;
  } cases[] = {{9.5f, 6, &PGame::texDigitsOrange}, {10.1f, 5, &PGame::texDigitsRed}};
  for (const auto& c : cases) {
    stick->countdownStart = Dx().GetTime() - c.elapsed;
    game.ShowDynamiteHud(true);
    EXPECT_EQ(c.shown, game.hudDynamiteDigits->GetNumber());
    EXPECT_EQ(game.*c.digits, game.hudDynamiteDigits->m_texture) << c.shown;
    EXPECT_TRUE(game.hudDynamite->IsVisible());
  }
  // The spark circles the icon, which pulses.
  ASSERT_NE(nullptr, game.spotEmitter);
  EXPECT_TRUE(game.spotEmitter->IsEmitting());
  float t = Dx().GetTime();
  EXPECT_NEAR(sinf(3 * t) * 70 + 869, game.spotEmitter->m_position.x, 0.01f);
  EXPECT_NEAR(cosf(3 * t) * 70 - 457, game.spotEmitter->m_position.y, 0.01f);
  EXPECT_TRUE(game.hudDynamiteIcon->IsFading());
  EXPECT_EQ(-1, game.hudDynamiteIcon->m_fadeRepeats);
  game.ShowDynamiteHud(false);
  EXPECT_FALSE(game.hudDynamiteDigits->IsVisible());
  EXPECT_FALSE(game.hudDynamiteIcon->IsVisible());
  EXPECT_FALSE(game.spotEmitter->IsEmitting());
  // Shown afresh, the panel starts orange again.
  game.ShowDynamiteHud(true);
  EXPECT_EQ(game.texDigitsRed, game.hudDynamiteDigits->m_texture) << "the held stick's 5";
  stick->countdownStart = Dx().GetTime();
  game.ShowDynamiteHud(false);
  game.ShowDynamiteHud(true);
  EXPECT_EQ(game.texDigitsOrange, game.hudDynamiteDigits->m_texture);
  // A crash lets the stick go off.
  Ship()->Crash(PGame::ITEM_MINE, 0);
  EXPECT_EQ(nullptr, Ship()->GetHeldDynamite());
  EXPECT_TRUE(stick->IsRemoved());
}

// Leaving a level whose craft holds a stick: the scene deletes both, in
// whatever order, and the game keeps no pointer to the craft.
TEST_F(Hud, LeavingALevelWithAStickHeld) {
  PlayLesson(Rows(3) + Cell(0, 'd') + Rows(20));
  ASSERT_EQ(1, Game().dynamites.GetCount());
  ASSERT_TRUE(Ship()->TakeDynamite(Game().dynamites[0]));
  s_app->LeaveMode();
  Forget();
  EXPECT_EQ(nullptr, Game().GetShip());
  EXPECT_EQ(nullptr, Game().GetBoss());
  EXPECT_EQ(0, Dx().GetFirstLayer() ? Dx().GetFirstLayer()->m_manager->GetCount() : 0);
}

TEST_F(Hud, TheTurboPanelFadesInCountsAndFadesOut) {
  PlayLesson(Rows(200));
  PGame& game = Game();
  EXPECT_FALSE(game.hudTurboIcon->IsVisible());
  Ship()->StartTurbo();
  EXPECT_TRUE(game.hudTurboIcon->IsVisible());
  EXPECT_TRUE(game.hudTurboIcon->IsFading());
  EXPECT_TRUE(game.sideEmitters[0]->IsEmitting());
  Step(40);
  EXPECT_EQ(9, game.hudTurboDigits->GetNumber());
  // Below 2 s left the side emitters stop.
  StepSeconds(6.0f);
  EXPECT_EQ(3, game.hudTurboDigits->GetNumber());
  EXPECT_TRUE(game.sideEmitters[1]->IsEmitting());
  StepSeconds(1.0f);
  EXPECT_FALSE(game.sideEmitters[1]->IsEmitting());
  ASSERT_TRUE(StepUntil([&] { return !Ship()->HasTurbo(); }, 200));
  EXPECT_EQ(0, game.hudTurboDigits->GetNumber());
  EXPECT_TRUE(game.hudTurboIcon->IsFading());
  Draw(true);  // the fade runs as the panel is drawn
  StepSeconds(1.1f);
  EXPECT_FALSE(game.hudTurboIcon->IsVisible());
  EXPECT_FALSE(game.hudTurboDigits->IsVisible());
}

TEST_F(Hud, LessonTipsFollowTheTrackPosition) {
  PlayLesson(Rows(200));
  PGame& game = Game();
  Draw(true);
  ASSERT_NE(nullptr, game.tipSprite);
  // The first tip, then a gap.
  PlaceMoving(1000, 0);
  Step();
  EXPECT_EQ(game.tipTextures[0], game.tipSprite->m_texture);
  StepSeconds(0.6f);
  PlaceMoving(8000, 0);
  StepSeconds(0.6f);
  EXPECT_FALSE(game.tipSprite->IsVisible());
  // At 13000 the hidden gem's tip fades in; at 16000 exactly it goes.
  PlaceMoving(13000, 0);
  Step();
  EXPECT_EQ(game.tipTextures[1], game.tipSprite->m_texture);
  EXPECT_TRUE(game.tipSprite->IsVisible());
  EXPECT_TRUE(game.tipSprite->IsFading());
  StepSeconds(0.6f);
  EXPECT_FALSE(game.tipSprite->IsFading());
  PlaceMoving(16000, 0);
  Step();
  EXPECT_TRUE(game.tipSprite->IsFading());
  StepSeconds(0.6f);
  EXPECT_FALSE(game.tipSprite->IsVisible());
}

TEST_F(Hud, CentreMessagesFollowPauseAndState) {
  PlayLesson(Rows(200));
  PGame& game = Game();
  SDxSprite* message = game.messageSprite;
  EXPECT_FALSE(message->IsVisible());
  // A missed gem blinks its warning without end; pause shows the pause
  // image at full opacity; resuming blinks the warning again.
  game.ChangeMissedCount(false);
  EXPECT_EQ(game.texMsgMissedGems, message->m_texture);
  EXPECT_TRUE(message->IsFading());
  EXPECT_EQ(-1, message->m_fadeRepeats);
  game.TogglePause();
  EXPECT_EQ(game.texMsgPause, message->m_texture);
  EXPECT_FALSE(message->IsFading());
  EXPECT_EQ(255, message->GetAlpha());
  game.TogglePause();
  EXPECT_EQ(game.texMsgMissedGems, message->m_texture);
  EXPECT_EQ(-1, message->m_fadeRepeats);
  // A crash: game over, faded in over 1 s after 2 s.
  Ship()->Crash(PGame::ITEM_MINE, 0);
  EXPECT_EQ(game.texMsgGameOver, message->m_texture);
  EXPECT_FLOAT_EQ(2.0f, message->m_fadeDelay);
  EXPECT_FLOAT_EQ(1.0f, message->m_fadeDuration);
  EXPECT_EQ(0, message->m_fadeRepeats);
}

TEST_F(Hud, PanelsShowWithTheRunAndTheQualifyingTimeOnTimedCells) {
  // World 4, level 2 is a timed cell.
  s_app->qualifyingTimes[1][4][2] = 12345;
  Forget();
  Play(Rows(60), 1, 4, 2);
  PGame& game = Game();
  EXPECT_FALSE(game.hudTime->IsVisible());
  EXPECT_FALSE(game.mapCells[0][0]->IsVisible());
  EXPECT_FALSE(game.hudQualification->IsVisible());
  StartRun();
  EXPECT_TRUE(game.hudTime->IsVisible());
  EXPECT_TRUE(game.mapCells[8][7]->IsVisible());
  EXPECT_TRUE(game.hudQualification->IsVisible());
  EXPECT_EQ(2, game.hudQualificationDigits[0]->GetNumber());
  EXPECT_EQ(3, game.hudQualificationDigits[2]->GetNumber());
  // Not online: rank, place and the rival's time stay hidden.
  EXPECT_FALSE(game.hudRank->IsVisible());
  EXPECT_FALSE(game.hudPos->IsVisible());
  EXPECT_FALSE(game.hudRivalTime->IsVisible());
  // The run's end hides the distance counter.
  Ship()->Crash(PGame::ITEM_MINE, 0);
  EXPECT_FALSE(game.hudDistanceDigits->IsVisible());
  EXPECT_FALSE(game.hudDistance->IsVisible());
  s_app->qualifyingTimes[1][4][2] = 0;
  Forget();
}

}  // namespace
