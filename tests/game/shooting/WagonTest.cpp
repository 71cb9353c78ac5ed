// Wagons on the real engine: struck with and without a dynamite stick,
// rolling and slowing, blowing up what they reach, stopping when the
// craft's crash takes their stick away, and a second wagon struck while the
// stick rides the first.
#include "core/Platform.h"

#include "tests/game/run/RunSupport.h"

namespace {

class Wagon : public RunSuite {
protected:
  template <class T>
  static T* EntityAt(int column, int row) {
    MAPITEM* item = Game().GetMapItem(column, row);
    return item && item->entity ? static_cast<T*>((SDxEntity*)item->entity) : nullptr;
  }
  // The craft takes the stick of row 3 (column 8).
  static PDynamiteEntity* TakeStick() {
    PDynamiteEntity* stick = EntityAt<PDynamiteEntity>(8, 3);
    Place(3500);
    Step();
    EXPECT_EQ(stick, Ship()->GetHeldDynamite());
    return stick;
  }
  // The craft coasting into the front of the wagon of row 6 at 3000.
  static void DriveIntoWagon(PWagonEntity* wagon) {
    Place(5500);
    Ship()->speed = 3000;
    StepUntil([] { return Ship()->GetSpeed() < 0; }, 64);
    EXPECT_LT(Ship()->GetTrackPosition(), wagon->GetZ());
  }
};

TEST_F(Wagon, StruckWithAStickItCarriesItToTheEnemyItBlowsUp) {
  PlayLesson(Rows(3) + Cell(8, 'd') + Rows(2) + Cell(8, 'W') + Rows(2) + Cell(8, 'E') + Rows(40));
  auto* wagon = EntityAt<PWagonEntity>(8, 6);
  ASSERT_NE(nullptr, wagon);
  // Without a stick the craft only bounces off its front.
  DriveIntoWagon(wagon);
  EXPECT_EQ(0, wagon->GetSpeed());
  EXPECT_EQ(PWagon_Default::Instance(), wagon->GetCurrentState());
  // With one the wagon takes the stick and the craft's speed.
  PDynamiteEntity* stick = TakeStick();
  ASSERT_NE(nullptr, stick);
  Silence(PGame::SOUND_WAGON);
  DriveIntoWagon(wagon);
  // (It may have rolled one step already.)
  EXPECT_NEAR(-Ship()->GetSpeed(), wagon->GetSpeed(), 1000 * kStep + 0.01f);
  EXPECT_EQ(PWagon_Move::Instance(), wagon->GetCurrentState());
  EXPECT_EQ(wagon, stick->GetCarrier());
  EXPECT_EQ(stick, wagon->GetStick());
  EXPECT_TRUE(stick->IsVisible());
  EXPECT_TRUE(Playing(PGame::SOUND_WAGON));
  // It rolls on to within 250 of the target: the stick blows up the enemy
  // and the wagon, not the craft; the target counts as missed.
  auto* enemy = EntityAt<PEnemyEntity>(8, 9);
  ASSERT_NE(nullptr, enemy);
  ASSERT_TRUE(StepUntil([&] { return wagon->IsExploded(); }, 200));
  EXPECT_LT(enemy->GetZ() - wagon->GetZ(), 250);
  EXPECT_TRUE(enemy->IsDestroyed());
  EXPECT_TRUE(stick->IsExploded());
  EXPECT_FALSE(wagon->IsVisible());
  EXPECT_TRUE(Ship()->IsAlive());
  EXPECT_EQ(1, Game().missedGems);
}

TEST_F(Wagon, RollsFourThousandFiveHundredFromThreeThousandAndStopsAtAFixedBox) {
  PlayLesson(Rows(3) + Cell(8, 'd') + Rows(2) + Cell(8, 'W') + Rows(5) + Cell(8, '#') + Rows(2) +
             Cell(8, '$') + Rows(40));
  auto* wagon = EntityAt<PWagonEntity>(8, 6);
  PDynamiteEntity* stick = TakeStick();
  Place(0);
  Ship()->speed = 3000;
  ASSERT_TRUE(wagon->Strike());
  EXPECT_EQ(3000, wagon->GetSpeed());
  // Struck again while it carries the stick: only the craft's speed.
  Ship()->speed = 2000;
  EXPECT_TRUE(wagon->Strike());
  EXPECT_EQ(2000, wagon->GetSpeed());
  Ship()->speed = 3000;
  wagon->Strike();
  float start = wagon->GetZ(), struck = Dx().GetTime();
  // 3 s slowing by 1000 a second; the movable box of row 12 is passed.
  ASSERT_TRUE(StepUntil([&] { return wagon->GetSpeed() == 0; }, 300));
  EXPECT_NEAR(4500, wagon->GetZ() - start, 30);
  EXPECT_NEAR(3.0f, Dx().GetTime() - struck, kStep);
  EXPECT_FALSE(wagon->IsExploded());
  EXPECT_TRUE(EntityAt<PBoxEntity>(8, 12)->IsVisible());
  // Struck once more it reaches the fixed box of row 15: the box goes, the
  // one that moves stays.
  Ship()->speed = 3000;
  wagon->Strike();
  ASSERT_TRUE(StepUntil([&] { return wagon->IsExploded(); }, 200));
  EXPECT_TRUE(stick->IsExploded());
  EXPECT_FALSE(EntityAt<PBoxEntity>(8, 15)->IsVisible());
  EXPECT_TRUE(EntityAt<PBoxEntity>(8, 12)->IsVisible());
}

TEST_F(Wagon, StopsWhenTheCrashTakesItsStick) {
  PlayLesson(Rows(3) + Cell(8, 'd') + Rows(2) + Cell(8, 'W') + Rows(3) + Cell(8, 'e') + Rows(40));
  auto* wagon = EntityAt<PWagonEntity>(8, 6);
  TakeStick();
  Place(0);
  Ship()->speed = 3000;
  wagon->Strike();
  Step(10);
  float rolled = wagon->GetZ();
  // The crash lets go of the stick: the wagon stops where it is and the
  // enemy ahead of it stays.
  Ship()->Crash(PGame::ITEM_MINE, 0);
  EXPECT_EQ(nullptr, wagon->GetStick());
  Step(300);
  EXPECT_EQ(0, wagon->GetSpeed());
  EXPECT_NEAR(rolled, wagon->GetZ(), 50);
  EXPECT_FALSE(wagon->IsExploded());
  EXPECT_FALSE(EntityAt<PEnemyEntity>(8, 10)->IsDestroyed());
}

TEST_F(Wagon, ASecondWagonStruckWhileTheStickRidesTheFirstRollsOnWithoutIt) {
  // Wagons side by side in row 6, an enemy in the row after each.
  std::string wagons(17, '.'), enemies(17, '.');
  wagons[4] = wagons[8] = 'W';
  enemies[4] = enemies[8] = 'e';
  PlayLesson(Rows(3) + Cell(8, 'd') + Rows(2) + Row(wagons) + Row(enemies) + Rows(40));
  auto* carrier = EntityAt<PWagonEntity>(8, 6);
  auto* other = EntityAt<PWagonEntity>(4, 6);
  ASSERT_NE(nullptr, carrier);
  ASSERT_NE(nullptr, other);
  PDynamiteEntity* stick = TakeStick();
  Place(0);
  Ship()->speed = 3000;
  ASSERT_TRUE(carrier->Strike());
  Ship()->speed = 2000;
  ASSERT_TRUE(other->Strike());
  Ship()->speed = 0;
  EXPECT_EQ(carrier, stick->GetCarrier());
  float start = other->GetZ();
  Step(8);
  // Both roll and slow; the first one's sound goes on.
  EXPECT_FLOAT_EQ(2000 - 8 * 1000 * kStep, other->GetSpeed());
  EXPECT_NEAR(2000 * 0.125f - 1000 * 0.125f * 0.125f / 2, other->GetZ() - start, 5);
  EXPECT_FLOAT_EQ(3000 - 8 * 1000 * kStep, carrier->GetSpeed());
  EXPECT_TRUE(Playing(PGame::SOUND_WAGON));
  // The first blows up its enemy with the stick; the other passes its
  // enemy (it carries nothing to blow it up with) and stops after 2 s.
  ASSERT_TRUE(StepUntil([&] { return carrier->IsExploded(); }, 100));
  EXPECT_TRUE(EntityAt<PEnemyEntity>(8, 7)->IsDestroyed());
  EXPECT_FALSE(Playing(PGame::SOUND_WAGON));
  ASSERT_TRUE(StepUntil([&] { return other->GetSpeed() == 0; }, 200));
  EXPECT_NEAR(2000, other->GetZ() - start, 30);
  EXPECT_FALSE(other->IsExploded());
  EXPECT_FALSE(EntityAt<PEnemyEntity>(4, 7)->IsDestroyed());
}

}  // namespace
