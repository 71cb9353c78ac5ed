// Whole runs on the real application object, engine and data set: a
// scripted driver (keys through the engine's input, a fixed time step)
// takes a level made of gems, a boost pad, a jumper, walls and the finish to
// its end; a second run is stopped by a wall, caught by the boulder and
// restarted. The pictures of each state are read back from the frames.
#include "core/Platform.h"

#include "tests/game/run/RunSupport.h"

#include <math.h>

#include <algorithm>
#include <vector>

namespace {

// Pixels of the picture that are neither black nor all one colour.
struct PictureStats {
  int lit = 0;       // pixels not black
  int colours = 0;   // distinct colours (up to 64 counted)
  int greens = 0;    // strongly green pixels in the region asked for
};

PictureStats Measure(const Pixels& p, float x0 = 0, float y0 = 0, float x1 = 0, float y1 = 0) {
  PictureStats stats;
  std::vector<uint32_t> seen;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      uint32_t c = p.At(x, y) & 0xFFFFFF;
      stats.lit += c != 0;
      if (seen.size() < 64 && std::find(seen.begin(), seen.end(), c) == seen.end())
        seen.push_back(c);
      bool inside = x >= x0 * p.width / 100 && x < x1 * p.width / 100 &&
                    y >= y0 * p.height / 100 && y < y1 * p.height / 100;
      if (inside && p.Green(x, y) > p.Red(x, y) + 60 && p.Green(x, y) > p.Blue(x, y) + 60)
        ++stats.greens;
    }
  }
  stats.colours = (int)seen.size();
  return stats;
}

// A picture that shows something: a good part lit, many colours.
bool ShowsAScene(const Pixels& p) {
  PictureStats s = Measure(p);
  return p.width > 0 && s.lit > p.width * p.height / 4 && s.colours >= 32;
}

// How much two pictures differ: the share of pixels that changed clearly.
float Difference(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height || a.width == 0) return 1;
  int changed = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) {
      int d = 0;
      for (int n = 0; n < 3; ++n) d += abs(a.Channel(x, y, n) - b.Channel(x, y, n));
      changed += d > 60;
    }
  return (float)changed / (a.width * a.height);
}

class WholeRun : public RunSuite {
protected:
  // One frame of the driver: the accelerator held, steering toward the
  // angle with the arrow keys.
  static void DriveFrame(float target) {
    float angle = Ship()->GetAngle();
    bool left = angle < target - 0.02f, right = angle > target + 0.02f;
    if (left != Dx().IsKeyDown(VK_LEFT)) left ? Press(VK_LEFT) : Release(VK_LEFT);
    if (right != Dx().IsKeyDown(VK_RIGHT)) right ? Press(VK_RIGHT) : Release(VK_RIGHT);
    if (!Dx().IsKeyDown(VK_UP)) Press(VK_UP);
    Step();
  }
  // Drives until the state leaves 2; the frames it took.
  static int DriveToTheEnd(float target, int most) {
    int frames = 0;
    while (Game().GetState() == 2 && frames < most) {
      DriveFrame(target);
      ++frames;
    }
    for (int key : {VK_UP, VK_LEFT, VK_RIGHT})
      if (Dx().IsKeyDown(key)) Release(key);
    return frames;
  }
};

TEST_F(WholeRun, TheDriverFinishesALevelAndTheTimeShows) {
  std::string level = Rows(2) + Cell(8, '*') + Row() + Cell(8, '*') + Cell(8, 'T') + Rows(4) +
                      Cell(8, '\\') + Rows(3) + Cell(8, '|') + Rows(9) + Cell(8, '*') +
                      Rows(3) + Cell(8, 'Z') + Rows(20);
  Forget();
  Play(level);
  PGame& game = Game();
  ASSERT_EQ(3, game.targetCount);
  // The start phase fades the scene in.
  StepSeconds(1.5f);
  Pixels start = Screenshot();
  EXPECT_TRUE(ShowsAScene(start));
  StartRun();
  ASSERT_EQ(2, game.GetState());
  Pixels running = Screenshot();
  EXPECT_TRUE(ShowsAScene(running));
  EXPECT_EQ(0, Measure(running, 61, 3, 69, 8).greens) << "white times while running";
  Draw(false);

  bool jumped = false, turbo = false;
  int frames = 0;
  while (game.GetState() == 2 && frames < 1200) {
    DriveFrame(kColumn8);
    jumped = jumped || Ship()->airborne;
    turbo = turbo || Ship()->HasTurbo();
    ++frames;
  }
  for (int key : {VK_UP, VK_LEFT, VK_RIGHT}) Release(key);
  EXPECT_TRUE(turbo) << "the boost pad";
  EXPECT_TRUE(jumped) << "the jumper";
  EXPECT_EQ(3, game.targetsTaken);
  ASSERT_EQ(4, game.GetState());
  EXPECT_TRUE(game.success);
  EXPECT_GT(game.runTime, 0);
  // The finish time in green, the success message over the scene after
  // its delay.
  EXPECT_EQ(game.runTime / 6000, game.hudTimeDigits[0]->GetNumber());
  EXPECT_EQ(game.runTime / 100 % 60, game.hudTimeDigits[2]->GetNumber());
  EXPECT_EQ(game.runTime % 100, game.hudTimeDigits[4]->GetNumber());
  StepSeconds(3.0f);
  Pixels finished = Screenshot();
  EXPECT_GT(Measure(finished, 61, 3, 69, 8).greens, 0) << "green times at the end";
  EXPECT_EQ(game.texMsgSuccess, game.messageSprite->m_texture);
  EXPECT_EQ(255, game.messageSprite->GetAlpha());
}

TEST_F(WholeRun, AWallStopsTheRunTheBoulderCatchesItAndReturnRestarts) {
  Forget();
  Play(Rows(5) + Row("||||||||||||||||") + Rows(20));
  PGame& game = Game();
  StartRun();
  Pixels running = Screenshot();
  Draw(false);
  Silence(PGame::SOUND_BOUNCE_WALL_FRONT);
  bool rebounded = false;
  int frames = 0;
  while (game.GetState() == 2 && frames < 1200) {
    DriveFrame(kColumn8);
    rebounded = rebounded || Ship()->GetSpeed() < 0;
    ++frames;
  }
  for (int key : {VK_UP, VK_LEFT, VK_RIGHT}) Release(key);
  EXPECT_TRUE(rebounded);
  ASSERT_EQ(3, game.GetState());
  EXPECT_EQ(0, Ship()->GetDeathKind());
  EXPECT_LT(Ship()->GetTrackPosition(), 5000);
  Pixels crashed = Screenshot();
  EXPECT_TRUE(game.deathSprite->IsVisible());
  // The death caption added over the scene, tinted red.
  EXPECT_GT(Difference(running, crashed), 0.1f);
  // Return: the level again from its start.
  Tap(VK_RETURN);
  EXPECT_EQ(1, game.GetState());
  EXPECT_TRUE(Ship()->IsAlive());
  EXPECT_EQ(0, Ship()->GetTrackPosition());
  StartRun();
  EXPECT_EQ(2, game.GetState());
}

TEST_F(WholeRun, LevelsOfEveryThemeShowTheirTrack) {
  const struct {
    int world, level;
  } cells[] = {{0, 0}, {0, 1}, {0, 2}, {3, 3}};
  std::string level = Rows(3) + Row("........|.......|") + Cell(8, '*') + Rows(20);
  for (const auto& cell : cells) {
    Play(level, 1, cell.world, cell.level);
    StartRun();
    Pixels first = Screenshot();
    EXPECT_TRUE(ShowsAScene(first)) << "theme " << Game().GetTheme();
  }
  Forget();
}

}  // namespace
