// The craft under the player's control: thrust, steering, jumps and
// bounces, the turbo and boost pads, shots and the lock-on, contacts and
// crashes, driven by keys and pad states on the real engine.
#include "core/Platform.h"

#include "engine/SDxGeometry.h"
#include "engine/SDxCamera.h"
#include "engine/SDxMesh.h"
#include "engine/SDxShader.h"
#include "engine/WaveTestSupport.h"
#include "tests/game/run/RunSupport.h"

#include <math.h>

#include <cmath>

namespace {

const float kPi = 3.14159265f;
// A wall's top toward the axis: its inner radius 600 at the cell's edges.
const float kWallTop = 600 * cosf(kPi / 16);

class Craft : public RunSuite {};

TEST_F(Craft, ThrustReachesItsLimitsAtTheirTimes) {
  PlayLesson(Rows(200) + Cell(8, '\x95') + Rows(20));
  PShipEntity* ship = Ship();
  ASSERT_EQ(2, Game().GetState());
  EXPECT_EQ(0, ship->GetSpeed());
  // Full acceleration: 4500 after 1.125 s (72 steps), never more.
  Press(VK_UP);
  Step(71);
  EXPECT_LT(ship->GetSpeed(), 4500);
  Step();
  EXPECT_FLOAT_EQ(4500, ship->GetSpeed());
  EXPECT_EQ(PShipEntity::THRUST_ACCELERATE, ship->thrustMode);
  Step(30);
  EXPECT_FLOAT_EQ(4500, ship->GetSpeed());
  // Coasting loses 1000 a second.
  Release(VK_UP);
  Step(64);
  EXPECT_FLOAT_EQ(3500, ship->GetSpeed());
  EXPECT_EQ(PShipEntity::THRUST_COAST, ship->thrustMode);
  // Braking from rest: -1125 after 0.28125 s (18 steps); in the lesson the
  // craft never goes below z 0.
  Place(500);
  ship->speed = 0;
  Press(VK_DOWN);
  Step(17);
  EXPECT_GT(ship->GetSpeed(), -1125);
  Step();
  EXPECT_FLOAT_EQ(-1125, ship->GetSpeed());
  Step(60);
  EXPECT_FLOAT_EQ(-1125, ship->GetSpeed());
  EXPECT_EQ(0, ship->GetTrackPosition());
  // On a forward pad the brake does nothing: the craft coasts.
  Place(200500);
  ship->speed = 2000;
  Step(8);
  EXPECT_FLOAT_EQ(2000 - 8 * 1000 * kStep, ship->GetSpeed());
  EXPECT_EQ(PShipEntity::THRUST_COAST, ship->thrustMode);
  Release(VK_DOWN);
}

TEST_F(Craft, NeverBehindTheFirstTubeSection) {
  Play(Rows(120), 0);
  StartRun();
  Place(45000);
  Step();
  float first = Game().GetFirstPieceZ();
  EXPECT_FLOAT_EQ(28000, first);
  Press(VK_DOWN);
  StepSeconds(16);
  Release(VK_DOWN);
  EXPECT_TRUE(Ship()->IsAlive());
  EXPECT_FLOAT_EQ(first, Ship()->GetTrackPosition());
}

TEST_F(Craft, SteeringDecaysSnapsAndFollowsThePad) {
  PlayLesson(Rows(200));
  PShipEntity* ship = Ship();
  // Without input: a rate below 0.03 stops at once; 1.0 loses pi/2 a second.
  ship->angularSpeed = 0.02f;
  Step();
  EXPECT_EQ(0, ship->angularSpeed);
  ship->angularSpeed = 1.0f;
  Step(32);
  EXPECT_NEAR(1.0f - kPi / 4, ship->angularSpeed, 1e-4f);
  ship->angularSpeed = -1.0f;
  Step(32);
  EXPECT_NEAR(kPi / 4 - 1.0f, ship->angularSpeed, 1e-4f);
  // The left key: pi a second, at most pi/2; the angle grows with it.
  ship->angularSpeed = 0;
  float angle = ship->GetAngle();
  Press(VK_LEFT);
  Step(16);
  EXPECT_NEAR(kPi / 4, ship->angularSpeed, 1e-4f);
  Step(40);
  EXPECT_FLOAT_EQ(kPi / 2, ship->angularSpeed);
  EXPECT_GT(ship->GetAngle(), angle);
  Release(VK_LEFT);
  // The pad's stick halfway right steers a quarter as fast (the square of
  // its value).
  ship->angularSpeed = 0;
  UsePad(true);
  Pad().sThumbLX = 9000 + 11884;  // 0.5 past the level's dead zone of 9000
  Step();
  Step();
  EXPECT_NEAR(-2 * kStep * kPi * 0.25f, ship->angularSpeed, 1e-5f);
}

TEST_F(Craft, LandingsBounceFromFourHundred) {
  PlayLesson(Rows(200));
  PShipEntity* ship = Ship();
  // Falling at v0 meets the ground in this frame at v0 - 3000/64 (46.875).
  const struct {
    float v0;
    bool bounces;
  } cases[] = {{-353.125f, true}, {-353.0f, false}, {-1000.0f, true}};
  for (const auto& c : cases) {
    ship->speed = 0;
    Place(1000, kColumn8, 959);
    ship->airborne = true;
    ship->verticalSpeed = c.v0;
    Silence(PGame::SOUND_BOUNCE_GROUND);
    Silence(PGame::SOUND_BOUNCE_GROUND2);
    bool toggle = ship->landingToggle;
    Step();
    EXPECT_EQ(c.bounces, ship->airborne) << c.v0;
    if (c.bounces) {
      EXPECT_FLOAT_EQ((46.875f - c.v0) / 4, ship->verticalSpeed) << c.v0;
    }
    EXPECT_FLOAT_EQ(960, ship->GetRadius()) << c.v0;
    // Landings take turns with their two sounds.
    EXPECT_TRUE(Started(toggle ? PGame::SOUND_BOUNCE_GROUND : PGame::SOUND_BOUNCE_GROUND2));
    EXPECT_NE(toggle, ship->landingToggle);
    ship->airborne = false;
  }
}

// One frame of a jump: the craft and the camera are finite, and the camera
// stands 30 units from the craft on its line through the axis, toward the
// axis, and 40 behind it, also while the craft is on the axis itself.
void ExpectCameraOnTheCraft(PShipEntity* ship, SDxCamera* camera, int frame) {
  const D3DXVECTOR3 &craft = ship->GetPositionRef(), &eye = camera->GetPosition();
  for (float value : {craft.x, craft.y, craft.z, eye.x, eye.y, eye.z, ship->verticalSpeed})
    ASSERT_TRUE(std::isfinite(value)) << "frame " << frame;
  EXPECT_NEAR(30, hypotf(eye.x - craft.x, eye.y - craft.y), 0.01f) << "frame " << frame;
  EXPECT_NEAR(fabsf(fabsf(ship->GetRadius()) - 30), hypotf(eye.x, eye.y), 0.01f)
      << "frame " << frame;
  EXPECT_FLOAT_EQ(craft.z - 40, eye.z) << "frame " << frame;
}

// A jump from the floor rises by dt x its speed a frame while gravity
// takes 3000 a second off the speed; a full one goes through the axis and
// comes down on the far side of it. Each landing bounces with a quarter of
// the speed until that is below 100. A frame longer than 0.02 s is taken
// as 0.02 s (frames of two steps keep the clock on the steps' grid).
TEST_F(Craft, AFullJumpPassesTheAxis) {
  const struct {
    const char* name;
    float frame, strength;
    std::vector<int> flights;  // frames of the jump and of each bounce
    float lowest;
    std::vector<float> bounces;
    bool onAxis;  // a frame ends with the craft on the axis point
  } cases[] = {
      {"full, 1/64 s", kStep, 2500, {108, 29, 9}, -101.2793f, {640.625f, 179.6875f}, false},
      {"full, 0.02 s", 2 * kStep, 2500, {85, 23, 8}, -106.8f, {650, 182.5f}, false},
      {"on the axis", kStep, 2450.0625f, {106, 28, 9}, -59.68066f, {629.6719f, 170.707f}, true},
  };
  PlayLesson(Rows(400));
  PShipEntity* ship = Ship();
  SDxCamera* camera = Dx().GetCamera(-1);
  for (const auto& c : cases) {
    ship->speed = 0;
    Place(1000);
    ship->Jump(c.strength, true);
    std::vector<int> flights;
    std::vector<float> bounces;
    float lowest = 960;
    bool onAxis = false;
    for (int frame = 1, frames = 1; frame < 400 && ship->airborne; ++frame, ++frames) {
      Step(1, c.frame);
      ExpectCameraOnTheCraft(ship, camera, frame);
      if (HasFatalFailure()) return;
      lowest = fminf(lowest, ship->GetRadius());
      onAxis = onAxis || ship->GetRadius() == 0;
      if (ship->GetRadius() < 960) continue;
      flights.push_back(frames);
      frames = 0;
      if (ship->airborne) bounces.push_back(ship->verticalSpeed);
    }
    EXPECT_EQ(c.flights, flights) << c.name;
    EXPECT_NEAR(c.lowest, lowest, 0.01f) << c.name;
    ASSERT_EQ(c.bounces.size(), bounces.size()) << c.name;
    for (size_t i = 0; i < bounces.size(); ++i)
      EXPECT_NEAR(c.bounces[i], bounces[i], 0.01f) << c.name;
    EXPECT_EQ(c.onAxis, onAxis) << c.name;
  }
}

// A launcher at full speed throws the craft at 2500 from the ramp's end:
// it flies by the same step through the axis, far over to the other side
// of it, and lands on the floor with a quarter of its speed.
TEST_F(Craft, ALauncherThrowsTheCraftThroughTheAxis) {
  PlayLesson(Rows(5) + Cell(8, '\\') + Rows(60));
  PShipEntity* ship = Ship();
  SDxCamera* camera = Dx().GetCamera(-1);
  Place(3000);
  ship->speed = 4500;
  Press(VK_UP);
  ASSERT_TRUE(StepUntil([&] { return ship->airborne; }, 100));
  EXPECT_FLOAT_EQ(2500, ship->verticalSpeed);
  float lowest = ship->GetRadius();
  int frames = 0;
  while (frames < 200) {
    float radius = ship->GetRadius(), speed = ship->verticalSpeed;
    Step();
    ++frames;
    ExpectCameraOnTheCraft(ship, camera, frames);
    if (HasFatalFailure()) break;
    float fall = speed - kStep * 3000;
    if (ship->GetRadius() == 960) {
      EXPECT_FLOAT_EQ(-fall / 4, ship->verticalSpeed);
      break;
    }
    ASSERT_FLOAT_EQ(radius - kStep * speed, ship->GetRadius()) << "frame " << frames;
    ASSERT_FLOAT_EQ(fall, ship->verticalSpeed) << "frame " << frames;
    lowest = fminf(lowest, ship->GetRadius());
  }
  Release(VK_UP);
  // From the ramp's end, 569 from the axis: 492 beyond it, 117 frames.
  EXPECT_NEAR(-492.1f, lowest, 0.1f);
  EXPECT_EQ(117, frames);
}

// The turbo's stronger blur and higher top speed end with the run.
TEST_F(Craft, TheTurboEndsWithTheRun) {
  PGame& game = Game();
  for (bool crash : {true, false}) {
    PlayLesson(Rows(200));
    Ship()->StartTurbo();
    Step();
    float coef = 0;
    ASSERT_NE(nullptr, game.speedShader);
    game.speedShader->GetEffect()->GetFloat(game.coefParam, &coef);
    EXPECT_FLOAT_EQ(0.9f, coef);
    if (crash) {
      Ship()->Crash(PGame::ITEM_MINE, 0);
    } else {
      game.Finish();
    }
    EXPECT_FALSE(Ship()->HasTurbo()) << crash;
    Step();
    game.speedShader->GetEffect()->GetFloat(game.coefParam, &coef);
    EXPECT_FLOAT_EQ(0.8f, coef) << crash;
  }
}

TEST_F(Craft, BoostPadsStartNineSecondsOfTurbo) {
  // Pads in rows 2 and 30 of column 8, and one in row 100 to jump over.
  PlayLesson(Rows(2) + Cell(8, 'T') + Rows(27) + Cell(8, 'T') + Rows(69) + Cell(8, 'T') +
             Rows(40));
  PShipEntity* ship = Ship();
  Place(0);
  Press(VK_UP);
  Silence(PGame::SOUND_TURBO);
  ASSERT_TRUE(StepUntil([&] { return ship->HasTurbo(); }, 200));
  EXPECT_EQ(2, ship->GetRow());
  EXPECT_TRUE(Started(PGame::SOUND_TURBO));
  float first = ship->turboTime;
  // Over the same pad again: it fired once.
  Place(1900);
  StepUntil([&] { return ship->GetRow() == 3; }, 50);
  EXPECT_EQ(first, ship->turboTime);
  ASSERT_TRUE(StepUntil([&] { return ship->turboTime != first; }, 600));
  EXPECT_EQ(30, ship->GetRow());
  float second = ship->turboTime;
  EXPECT_LT(second - first, 9);
  // The limit is 6000 while the turbo runs, for 9 s after the last pad.
  Step(100);
  EXPECT_FLOAT_EQ(6000, ship->GetSpeed());
  ASSERT_TRUE(StepUntil([&] { return !ship->HasTurbo(); }, 1000));
  EXPECT_FLOAT_EQ(9 + kStep, Dx().GetTime() - second);
  // Still faster than 4500 with the accelerator held: it coasts down.
  Step();
  EXPECT_EQ(PShipEntity::THRUST_COAST, ship->thrustMode);
  EXPECT_FLOAT_EQ(6000 - 1000 * kStep, ship->GetSpeed());
  ASSERT_TRUE(StepUntil([&] { return ship->thrustMode == PShipEntity::THRUST_ACCELERATE; }, 200));
  Step(5);
  EXPECT_FLOAT_EQ(4500, ship->GetSpeed());
  // A pad passed high in the air (900 from the axis or less) stays armed.
  Place(99000);
  ship->speed = 4500;
  ship->Jump(1500, true);
  ASSERT_TRUE(StepUntil([&] { return ship->GetRow() == 101; }, 200));
  EXPECT_FALSE(ship->HasTurbo());
  Release(VK_UP);
}

TEST_F(Craft, ShotsAreHalfASecondApart) {
  PlayLesson(Rows(200));
  Silence(PGame::SOUND_PRE_LASER);
  Press(VK_SPACE);
  Step();
  EXPECT_TRUE(Started(PGame::SOUND_PRE_LASER));
  EXPECT_TRUE(Game().targetSprite->IsVisible());
  Release(VK_SPACE);
  Step();
  ASSERT_EQ(1, Game().lasers.GetCount());
  EXPECT_EQ(PGame::ITEM_CRAFT, Game().lasers[0]->ownerKind);
  // The shot recoils the nose.
  EXPECT_TRUE(Ship()->pitchActive);
  Tap(VK_CONTROL);
  EXPECT_EQ(1, Game().lasers.GetCount()) << "within 0.5 s";
  StepSeconds(0.5f);
  Tap(VK_CONTROL);
  EXPECT_EQ(2, Game().lasers.GetCount());
}

TEST_F(Craft, CrashImpactsKindsAndImages) {
  const struct {
    int kind;
    float impact;
    float speedAfter;  // from 3000
    SDxTexture* PGame::*image;
    float flash;
  } cases[] = {
      {0, 0, 3000, &PGame::texDeadDestroy, 0.25f},
      {PGame::ITEM_BOSS, 666, 4000, &PGame::texDeadStandard, 0.5f},
      {PGame::ITEM_PISTON, -0.5f, -2000, &PGame::texDeadStandard, 0.25f},
      {PGame::ITEM_FINISH, 0.5f, -1500, &PGame::texDeadStandard, 0.5f},
      {PGame::ITEM_FIRE, 2.0f, -3000, &PGame::texDeadStandard, 0.5f},
      {PGame::ITEM_DYNAMITE, 1.0f, -3000, &PGame::texDeadDestroy, 0.5f},
      {PGame::ITEM_MINE, 0.5f, -1500, &PGame::texDeadDestroy, 0.5f},
      {PGame::ITEM_ARROW, 0, 3000, &PGame::texDeadBullet, 0.25f},
      {PGame::ITEM_ENEMY, 0, 3000, &PGame::texDeadBullet, 0.5f},
  };
  for (const auto& c : cases) {
    PlayLesson(Rows(200));
    PShipEntity* ship = Ship();
    Place(5000);
    Step();
    ship->speed = 3000;
    Silence(PGame::SOUND_DIE);
    ship->Crash(c.kind, c.impact);
    EXPECT_FLOAT_EQ(c.speedAfter, ship->GetSpeed()) << c.kind;
    EXPECT_EQ(3, Game().GetState());
    EXPECT_FALSE(ship->IsAlive());
    EXPECT_EQ(c.kind, ship->GetDeathKind());
    EXPECT_EQ(Game().*c.image, Game().deathSprite->m_texture) << c.kind;
    EXPECT_TRUE(Game().deathSprite->IsVisible());
    EXPECT_FLOAT_EQ(c.flash, Dx().m_flashDuration) << c.kind;
    EXPECT_TRUE(Started(PGame::SOUND_DIE));
    // A second crash changes nothing.
    ship->Crash(PGame::ITEM_BLOCKER, 666);
    EXPECT_EQ(c.kind, ship->GetDeathKind());
    EXPECT_FLOAT_EQ(c.speedAfter, ship->GetSpeed());
  }
}

TEST_F(Craft, ShotsTakeLivesThenCrash) {
  PlayLesson(Rows(200), 1, 1);
  PShipEntity* ship = Ship();
  ship->speed = 2000;
  ship->HitByShot(PGame::ITEM_ENEMY);
  EXPECT_FLOAT_EQ(-4000, ship->GetSpeed());
  EXPECT_EQ(0, Game().lives);
  EXPECT_EQ(0, Game().hudLifeDigits->GetNumber());
  EXPECT_TRUE(ship->IsAlive());
  ship->HitByShot(PGame::ITEM_ARROW);
  EXPECT_FALSE(ship->IsAlive());
  EXPECT_EQ(PGame::ITEM_ARROW, ship->GetDeathKind());
  EXPECT_EQ(Game().texDeadBullet, Game().deathSprite->m_texture);
}

TEST_F(Craft, WallFrontsReboundPushOrLetThrough) {
  const struct {
    const char* name;
    std::string rows;  // rows 4 and 5 of column 8
    float z, speed;
    bool rebound, pushed;
  } cases[] = {
      {"a row wall", Cell(8, '|') + Row(), 3500, 3000, true, false},
      {"a pushable wall, fast", Cell(8, '\'') + Row(), 3500, 3000, true, true},
      {"a pushable wall, slow", Cell(8, '\'') + Row(), 3880, 800, true, false},
      {"a low roof", Cell(8, '\x97') + Row(), 3500, 3000, false, false},
      // The front of a wall behind another row wall lies inside them.
      {"the inner face", Cell(8, '|') + Cell(8, '|'), 4900, 3000, false, false},
  };
  for (const auto& c : cases) {
    PlayLesson(Rows(4) + c.rows + Rows(100));
    PShipEntity* ship = Ship();
    Place(c.z);
    ship->speed = c.speed;
    Step();
    // Thrown back at the speed it had (coasting 1000 a second), from the
    // last place before the face.
    float before = 0;
    for (int i = 0; i < 40 && ship->GetSpeed() > 0; ++i) {
      before = ship->GetSpeed();
      Step();
    }
    bool rebound = ship->GetSpeed() < 0;
    EXPECT_EQ(c.rebound, rebound) << c.name;
    if (rebound) {
      EXPECT_FLOAT_EQ(-(before - 1000 * kStep), ship->GetSpeed()) << c.name;
      EXPECT_LT(ship->GetTrackPosition(), 4000 - 40 + 1) << c.name;
    } else {
      EXPECT_GT(ship->GetTrackPosition(), 5100) << c.name;
    }
    MAPITEM* item = Game().GetMapItem(8, 4);
    ASSERT_NE(nullptr, item);
    auto* wall = static_cast<PWallEntity*>((PPlatformEntity*)(SDxEntity*)item->entity);
    EXPECT_EQ(c.pushed, wall->moving) << c.name;
  }
}

TEST_F(Craft, SideContactsTurnTheCraftBack) {
  PlayLesson(Rows(4) + Cell(9, '|') + Rows(100));
  PShipEntity* ship = Ship();
  Place(4500);
  ship->angularSpeed = -1.2f;  // steering right, into column 9
  Silence(PGame::SOUND_BOUNCE_WALL_SIDE);
  float before = 0;
  for (int i = 0; i < 30 && ship->angularSpeed < 0; ++i) {
    before = ship->angularSpeed;
    Step();
  }
  // Back to the angle before the contact, the rate (decayed in that frame
  // by pi/2 a second) reversed at half.
  EXPECT_GE(ship->GetAngle(), kPi);
  EXPECT_NEAR(-(before + kStep * kPi / 2) / 2, ship->angularSpeed, 1e-5f);
  EXPECT_TRUE(Started(PGame::SOUND_BOUNCE_WALL_SIDE));
}

TEST_F(Craft, ASideSoundLongerThanAFifthOfASecondStartsAgainOnTheNextSideContact) {
  const struct {
    const char* name;
    int frames;  // of a 44100 Hz sound put in its place; 0: the level's own
    bool again;
  } cases[] = {
      {"the level's sound", 0, true},
      {"a fifth of a second", 8820, false},
      {"less", 6615, false},
  };
  for (const auto& c : cases) {
    PlayLesson(Rows(4) + Cell(9, '|') + Rows(100));
    SDxSound* side = Dx().GetSound(PGame::SOUND_BOUNCE_WALL_SIDE);
    ASSERT_NE(nullptr, side);
    SFileMem file;
    if (c.frames > 0) {
      ASSERT_TRUE(side->ParseWave(Open(file, Wave(2, 44100, c.frames))));
    }
    EXPECT_EQ(c.again, side->GetDuration() > 0.2f) << c.name;
    // Sounding since a moment ago at half volume, held where it is (its
    // buffer stays queued, however long the test takes).
    ASSERT_NE(nullptr, Dx().PlaySound(PGame::SOUND_BOUNCE_WALL_SIDE, false, 0.5f, 0));
    side->m_voice->Stop(0);
    Silence(PGame::SOUND_SLIDE);
    // Steering right into the wall of column 9 at half speed.
    PShipEntity* ship = Ship();
    Place(4300);
    ship->speed = 2250;
    ship->angularSpeed = -1.2f;
    ASSERT_TRUE(StepUntil([&] { return ship->angularSpeed > 0; }, 30)) << c.name;
    // Started again at full volume, or the slide in its place.
    EXPECT_TRUE(Playing(PGame::SOUND_BOUNCE_WALL_SIDE)) << c.name;
    EXPECT_EQ(c.again ? 1.0f : 0.5f, side->m_volume) << c.name;
    EXPECT_EQ(!c.again, Started(PGame::SOUND_SLIDE)) << c.name;
  }
  // The next run loads the level's own sounds again.
  Forget();
}

TEST_F(Craft, RidesFortyAboveWallTops) {
  PlayLesson(Rows(3) + Rows(4, "........|") + Rows(100));
  PShipEntity* ship = Ship();
  // Above the top, coming down at 1000 a second until it rides on it.
  Place(4500, kColumn8, 450);
  Step(12);
  EXPECT_NEAR(kWallTop - 40, ship->GetRadius(), 0.5f);
  ship->speed = 2000;
  Step(20);
  EXPECT_EQ(5, ship->GetRow());
  EXPECT_NEAR(kWallTop - 40, ship->GetRadius(), 0.5f);
  // Past the last top it sinks back to the ground.
  Press(VK_UP);
  StepUntil([&] { return ship->GetRow() == 8; }, 100);
  Release(VK_UP);
  StepSeconds(0.5f);
  EXPECT_FLOAT_EQ(960, ship->GetRadius());
}

TEST_F(Craft, PlatformLandingsWaitATenthOfASecondAfterTheJump) {
  PlayLesson(Rows(3) + Rows(4, "........|") + Rows(100));
  PShipEntity* ship = Ship();
  for (float since : {0.0f, 1.0f}) {
    Place(4500, kColumn8, kWallTop - 40 - 15);
    ship->airborne = true;
    ship->verticalSpeed = -1000;
    ship->jumpTime = Dx().GetTime() - since;
    Silence(PGame::SOUND_BOUNCE_PLATFORM);
    Step();
    bool bounced = ship->verticalSpeed > 0;
    EXPECT_EQ(since > 0, bounced) << since;
    EXPECT_EQ(since > 0, Started(PGame::SOUND_BOUNCE_PLATFORM)) << since;
    ship->airborne = false;
  }
}

TEST_F(Craft, TheChargedShotLocksOnAFlyAfterThreeQuartersOfASecond) {
  Play(Rows(200), 1, 2, 2);
  StartRun();
  PGame& game = Game();
  ASSERT_NE(nullptr, game.GetBoss());
  ASSERT_NE(nullptr, game.bossTargetSprite);
  game.GetBoss()->SetPositionXYZ(0, 0, 100000);
  SDxMesh* mesh = SDxMesh::CreateInstance(game.GetBossFlyMesh(), nullptr);
  ASSERT_NE(nullptr, mesh);
  mesh->SetVisible(true);
  auto* fly = new PBossFlyEntity(mesh->GetLayer(), mesh);
  fly->SetPositionXYZ(0, -400, 9000);
  game.GetBoss()->flies.Add(fly);
  Place(6000);
  Press(VK_SPACE);
  Step();
  float pressed = Dx().GetTime();
  StepUntil([&] { return Ship()->GetLockTarget() != nullptr; }, 100);
  EXPECT_EQ(fly, Ship()->GetLockTarget());
  float waited = Dx().GetTime() - pressed;
  EXPECT_GT(waited, 0.75f);
  EXPECT_LE(waited, 0.75f + 2 * kStep);
  EXPECT_TRUE(game.bossTargetSprite->IsVisible());
  EXPECT_TRUE(Playing(PGame::SOUND_BIP_TARGET));
  // The shot goes at the fly; the lock is spent.
  Release(VK_SPACE);
  Step();
  ASSERT_EQ(1, game.lasers.GetCount());
  D3DXVECTOR3 toward = game.lasers[0]->direction;
  EXPECT_GT(toward.z, 0.9f);
  EXPECT_EQ(nullptr, Ship()->GetLockTarget());
  EXPECT_FALSE(Playing(PGame::SOUND_BIP_TARGET));
  game.GetBoss()->DeleteFlies();
}

}  // namespace
