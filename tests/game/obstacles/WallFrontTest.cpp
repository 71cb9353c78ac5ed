// The craft driven at the fronts of walls that stand right behind another
// piece of their column (a wall, a sliding wall, a ramp), with the sliding
// walls at chosen points of their swing: it is thrown back by the faces
// left open and by no other, and never ends inside a block.
#include "core/Platform.h"

#include "tests/game/obstacles/ObstacleSupport.h"

#include <vector>

namespace {

// Riding a wall's top: 40 above its inner face at the middle of the cell.
const float kRide = 600 * cosf(kPi / 16) - 40;
// Roof height: between a low roof's inner and outer faces.
const float kRoof = 650;

// Whether the point lies more than a unit inside the block's six faces.
bool InsideBlock(const PPlatformEntity* block, const D3DXVECTOR3& point) {
  D3DXMATRIX inverse;
  if (!block->GetInverseWorld(&inverse)) return false;
  D3DXVECTOR3 p;
  D3DXVec3TransformCoord(&p, &point, &inverse);
  const D3DXVECTOR3* c = block->corners;
  D3DXVECTOR3 centre(0, 0, 0);
  for (int i = 0; i < 8; ++i) centre += c[i] / 8;
  // Front, back, the two sides, inner and outer face.
  const int faces[6][3] = {{2, 3, 6}, {0, 1, 4}, {0, 2, 4}, {1, 3, 5}, {4, 5, 6}, {0, 1, 2}};
  for (const auto& f : faces) {
    D3DXVECTOR3 n, u = c[f[1]] - c[f[0]], v = c[f[2]] - c[f[0]];
    D3DXVec3Cross(&n, &u, &v);
    D3DXVec3Normalize(&n, &n);
    D3DXVECTOR3 toCentre = centre - c[f[0]], toPoint = p - c[f[0]];
    float depth = D3DXVec3Dot(&n, &toPoint);
    if (D3DXVec3Dot(&n, &toCentre) < 0) depth = -depth;
    if (depth < 1) return false;
  }
  return true;
}

// The wall that holds the point inside it, or null.
const PPlatformEntity* BlockHolding(const D3DXVECTOR3& point) {
  PGame& game = *g_game;
  for (int i = 0; i < game.GetPlatformCount(); ++i) {
    const PPlatformEntity* platform = game.GetPlatform(i);
    if (platform->GetType() == PGame::ITEM_WALL && InsideBlock(platform, point)) return platform;
  }
  return nullptr;
}

// A sliding wall's age in seconds, which sets its place in the swing: '}'
// is at the start of its row at 0 and pi, a whole row on at pi/2; '{' the
// other way round.
const float kSlid = kPi / 2, kHalf = kPi / 4, kUnslid = kPi - 0.1f;

// The pieces of rows 3, 4 and 5 of column 8 ('.' none): '|' a wall, the low
// roof, '}' and '{' the sliding walls, 'z' the low step, '/' a ramp that
// does not launch; the ages of the sliding ones (-1 leaves a wall as
// made); the craft's start on column 8 and its speed, on the ground or a
// top, or in the air falling from rest.
struct Approach {
  const char* name;
  const char* pieces;
  float ages[3];
  float z, radius, speed;
  bool flying;
};

// A front contact: the craft's z after it and the front of a row's piece.
struct Contact {
  float z, front;
};

class WallFronts : public ObstacleSuite {
protected:
  struct Drive {
    std::vector<Contact> contacts;
    int insideRow = -1, insideFrame = -1;  // the first time inside a block
  };
  // A second of the craft's run as the approach starts it; the contacts
  // name the front of the piece in that row.
  static Drive DriveAt(const Approach& a, int frontRow) {
    std::string rows = Rows(3);
    for (int r = 0; r < 3; ++r) rows += Cell(8, a.pieces[r]);
    PlayLesson(rows + Rows(100));
    for (int r = 0; r < 3; ++r) {
      auto* wall = EntityAt<PWallEntity>(8, 3 + r);
      // The age it has as it moves in the next frame.
      if (a.ages[r] >= 0 && wall) wall->m_creationTime = Dx().GetTime() + kStep - a.ages[r];
    }
    PShipEntity* ship = Ship();
    Place(a.z, Angle(8), a.radius);
    ship->speed = a.speed;
    ship->airborne = a.flying;
    ship->verticalSpeed = 0;
    ship->jumpTime = Dx().GetTime();
    const PPlatformEntity* face = EntityAt<PPlatformEntity>(8, frontRow);
    Drive drive;
    for (int frame = 0; frame < 64; ++frame) {
      float before = ship->GetSpeed();
      Step();
      const PPlatformEntity* holder = BlockHolding(ship->GetPositionRef());
      if (holder && drive.insideFrame < 0) {
        drive.insideRow = holder->mapItem->row;
        drive.insideFrame = frame;
      }
      if (before > 0 && ship->GetSpeed() < 0)
        drive.contacts.push_back({ship->GetTrackPosition(), face ? face->GetZ() : 0});
    }
    return drive;
  }
};

TEST_F(WallFronts, OnlyOpenFrontsThrowTheCraftBack) {
  const struct {
    Approach approach;
    int bounceRow;  // the row whose front throws the craft back; -1 none
  } cases[] = {
      // Behind fixed walls.
      {{"slid a row out from behind a wall", ".|}", {-1, -1, kSlid}, 5300, kRoof, 3000, true}, 5},
      {{"not slid behind a wall: ridden over", ".|}", {-1, -1, kUnslid}, 4600, kRide, 3000, false},
       -1},
      {{"half slid behind a roof", ".\x97}", {-1, -1, kHalf}, 5100, kRoof, 3000, true}, 5},
      {{"a step under a roof", ".\x97z", {-1, -1, -1}, 4300, 960, 3000, false}, 5},
      {{"a roof after a step", ".z\x97", {-1, -1, -1}, 4050, kRide, 4000, false}, 5},
      {{"a wall under a roof", ".\x97|", {-1, -1, -1}, 4300, 960, 3000, false}, 5},
      // Behind sliding walls.
      {{"slid behind one not slid", ".}}", {-1, kUnslid, kSlid}, 5300, kRoof, 3000, true}, 5},
      {{"in step with the one before: ridden over",
        ".}}",
        {-1, kHalf, kHalf},
        4800,
        kRide,
        3000,
        false},
       -1},
      {{"not slid, under one slid over it", ".}}", {-1, kSlid, kUnslid}, 4300, kRoof, 3000, true},
       4},
      {{"a roof under a slider that left a wall",
        "|}\x97",
        {-1, kHalf, -1},
        4100,
        kRoof,
        3000,
        true},
       4},
      // Behind a ramp.
      {{"slid behind a ramp", "./{", {-1, -1, 0.45f}, 3800, 960, 3000, false}, 5},
      {{"not slid behind a ramp: ridden over",
        "./{",
        {-1, -1, kSlid - 0.42f},
        3800,
        960,
        3000,
        false},
       -1},
  };
  for (const auto& c : cases) {
    const char* name = c.approach.name;
    Drive drive = DriveAt(c.approach, c.bounceRow >= 0 ? c.bounceRow : 5);
    EXPECT_EQ(-1, drive.insideFrame) << name << ": inside the block of row " << drive.insideRow
                                     << " at frame " << drive.insideFrame;
    if (c.bounceRow < 0) {
      EXPECT_TRUE(drive.contacts.empty()) << name << ": thrown back at " << drive.contacts[0].z;
      EXPECT_GT(Ship()->GetTrackPosition(), 5600) << name;
      continue;
    }
    EXPECT_FALSE(drive.contacts.empty()) << name << ": never thrown back";
    // Each time back at the last place before that front: the craft moves
    // up to 47 in a frame, a sliding wall up to 16 either way.
    for (const Contact& contact : drive.contacts) {
      float ahead = contact.front - 40 - contact.z;
      EXPECT_GE(ahead, -16) << name;
      EXPECT_LE(ahead, 47 + 16) << name;
    }
  }
}

// A craft put inside the piece before, at roof height, meets no front that
// this piece covers, however the two have slid.
TEST_F(WallFronts, FrontsCoveredByThePieceBeforeStopNothing) {
  const Approach cases[] = {
      {"a wall before one not slid", ".|}", {-1, -1, kUnslid}, 4800, kRoof, 3000, true},
      {"a slider in step with the one before", ".}}", {-1, kHalf, kHalf}, 5300, kRoof, 3000, true},
      {"a roof under a half slid slider", ".}\x97", {-1, kHalf, -1}, 4800, kRoof, 3000, true},
  };
  for (const auto& c : cases) {
    Drive drive = DriveAt(c, 5);
    EXPECT_TRUE(drive.contacts.empty()) << c.name << ": thrown back at " << drive.contacts[0].z;
    EXPECT_GT(Ship()->GetTrackPosition(), 5600) << c.name;
  }
}

}  // namespace
