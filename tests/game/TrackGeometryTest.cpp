// The numbers of the generated track pieces, without a device.
#include "core/Platform.h"

#include "game/PTrackGeometry.h"

#include <gtest/gtest.h>
#include <math.h>

namespace {

const float kS = 3.14159265f / 8;

void ExpectPoint(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual, const char* what) {
  EXPECT_NEAR(expected.x, actual.x, 0.01f) << what;
  EXPECT_NEAR(expected.y, actual.y, 0.01f) << what;
  EXPECT_NEAR(expected.z, actual.z, 0.01f) << what;
}

D3DXVECTOR3 OnRim(float r, float a, float z) { return D3DXVECTOR3(r * sinf(a), r * cosf(a), z); }

TEST(TrackGeometry, CornerTablesOfEveryPiece) {
  struct Case {
    const char* piece;
    int wallKind;  // -1 jumper, -2 piston
    float r0, r1, h, edge0, edgeS;
  } cases[] = {
      {"wall 0", 0, 1020, 600, 1000, 0, kS},
      {"wall 1", 1, 1020, 600, 1000, 0, kS},
      {"wall 3", 3, 800, 600, 1000, 0, kS},
      {"wall 4", 4, 800, 600, 1000, 0, kS},
      {"wall 6", 6, 1020, 600, 250, 0, kS},
      {"jumper", -1, 1050, 600, 1000, 0, kS},
      {"piston", -2, 1020, 775, 944, 0.01f, 0.38268343f},
  };
  for (const Case& c : cases) {
    D3DXVECTOR3 corners[8];
    if (c.wallKind >= 0) PTrackGeometry::WallCorners(c.wallKind, corners);
    if (c.wallKind == -1) PTrackGeometry::JumperCorners(corners);
    if (c.wallKind == -2) PTrackGeometry::PistonCorners(corners);
    ExpectPoint(OnRim(c.r0, c.edgeS, c.h), corners[0], c.piece);
    ExpectPoint(OnRim(c.r0, c.edge0, c.h), corners[1], c.piece);
    ExpectPoint(OnRim(c.r0, c.edgeS, 0), corners[2], c.piece);
    ExpectPoint(OnRim(c.r0, c.edge0, 0), corners[3], c.piece);
    ExpectPoint(OnRim(c.r1, c.edgeS, c.h), corners[4], c.piece);
    ExpectPoint(OnRim(c.r1, c.edge0, c.h), corners[5], c.piece);
    // The ramp starts on the tube wall: its points 6 and 7 are 2 and 3.
    float inner = c.wallKind == -1 ? c.r0 : c.r1;
    ExpectPoint(OnRim(inner, c.edgeS, 0), corners[6], c.piece);
    ExpectPoint(OnRim(inner, c.edge0, 0), corners[7], c.piece);
  }
}

TEST(TrackGeometry, WallFacesInsetsAndRepeats) {
  // t = ((|P2 - P3| - |P6 - P7|) / 2) / |P2 - P3| = (R0 - R1) / 2 / R0.
  struct Case {
    int kind;
    bool medieval;
    int triangles;
    float inset, repeat;
  } cases[] = {
      {0, false, 10, 420.0f / 2 / 1020, 3},
      {0, true, 10, 0, 3},
      {1, false, 10, 420.0f / 2 / 1020, 3},
      {3, false, 12, 200.0f / 2 / 800, 3},
      {4, true, 12, 0, 3},
      {6, false, 10, 420.0f / 2 / 1020, 1},
      {6, true, 10, 420.0f / 2 / 1020, 1},
  };
  for (const Case& c : cases) {
    PPieceTriangle t[PTrackGeometry::MAX_TRIANGLES];
    ASSERT_EQ(c.triangles, PTrackGeometry::WallTriangles(c.kind, c.medieval, t)) << c.kind;
    // Front (z = 0): the inner edge maps to u = t .. 1 - t.
    EXPECT_EQ(PTrackGeometry::ROLE_FRONT, t[0].role);
    EXPECT_NEAR(c.inset, t[0].uvs[2].x, 1e-5f) << c.kind << c.medieval;
    EXPECT_NEAR(1 - c.inset, t[1].uvs[2].x, 1e-5f) << c.kind << c.medieval;
    for (const D3DXVECTOR3& p : t[0].points) EXPECT_EQ(0.0f, p.z);
    // Inner face: v repeat 3, or 1 for the quarter-height kind 6.
    EXPECT_EQ(PTrackGeometry::ROLE_INNER, t[4].role);
    EXPECT_FLOAT_EQ(c.repeat, t[4].uvs[0].y) << c.kind;
    // Only the roof walls (3, 4) stop short of the tube and have an outer face.
    EXPECT_EQ(c.triangles == 12, t[c.triangles - 1].role == PTrackGeometry::ROLE_OUTER);
  }
}

TEST(TrackGeometry, JumperRampAndPistonFaces) {
  PPieceTriangle t[PTrackGeometry::MAX_TRIANGLES];
  ASSERT_EQ(8, PTrackGeometry::JumperTriangles(t));
  int ramp = 0;
  for (int i = 0; i < 8; ++i) ramp += t[i].role == PTrackGeometry::ROLE_RAMP;
  EXPECT_EQ(4, ramp);
  // The ramp's middle line runs from the tube wall at z 0 to radius 600 at z 1000.
  D3DXVECTOR3 corners[8];
  PTrackGeometry::JumperCorners(corners);
  ExpectPoint((corners[6] + corners[7]) / 2, t[2].points[1], "M1");
  ExpectPoint((corners[4] + corners[5]) / 2, t[3].points[2], "M2");

  ASSERT_EQ(8, PTrackGeometry::PistonTriangles(t));
  PTrackGeometry::PistonCorners(corners);
  float inset = PTrackGeometry::Inset(corners);
  EXPECT_NEAR(inset, t[0].uvs[2].x, 1e-6f);
  EXPECT_FLOAT_EQ(0.45f, t[0].uvs[2].y);
  EXPECT_FLOAT_EQ(3.0f, t[2].uvs[0].y);
  for (int i = 0; i < 8; ++i)
    for (const D3DXVECTOR3& p : t[i].points) EXPECT_LT(p.z, 944.5f) << "no back face";
}

TEST(TrackGeometry, BoxCornerOrder) {
  D3DXVECTOR3 corners[8];
  PTrackGeometry::BoxCorners(D3DXVECTOR3(-1, -2, -3), D3DXVECTOR3(1, 2, 3), corners);
  const float expected[8][3] = {{1, 2, -3},  {-1, 2, -3},  {1, 2, 3},  {-1, 2, 3},
                                {1, -2, -3}, {-1, -2, -3}, {1, -2, 3}, {-1, -2, 3}};
  for (int i = 0; i < 8; ++i)
    ExpectPoint(D3DXVECTOR3(expected[i][0], expected[i][1], expected[i][2]), corners[i], "box");
}

}  // namespace
