#include "core/Platform.h"
#include "engine/SDxGeometry.h"

#include <gtest/gtest.h>

namespace {

const D3DXVECTOR3 kZero(0, 0, 0);

void ExpectNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual, const char* what) {
  D3DXVECTOR3 d = expected - actual;
  EXPECT_LT(D3DXVec3Length(&d), 1e-4f) << what << ": (" << actual.x << ", " << actual.y << ", "
                                       << actual.z << ")";
}

TEST(SDxGeometryTest, AnglesWrapDifferAndLieBetween) {
  const struct {
    float in, wrapped;
  } wraps[] = {{-DX_HALF_PI, 3 * DX_HALF_PI}, {DX_2PI, 0.0f}, {1.0f, 1.0f}, {7.0f, 7.0f - DX_2PI}};
  for (const auto& w : wraps) EXPECT_NEAR(w.wrapped, WrapAngle(w.in), 1e-5f) << w.in;
  const struct {
    float from, to, difference;
  } differences[] = {
      {0.0f, DX_PI, DX_PI}, {0.0f, -DX_HALF_PI, -DX_HALF_PI}, {6.0f, 0.5f, 0.78318f}};
  for (const auto& d : differences) {
    EXPECT_NEAR(d.difference, AngleDifference(d.from, d.to), 1e-4f) << d.from << " " << d.to;
  }
  // Between: on the arc turning positively from start to end only.
  float fraction = -1.0f;
  EXPECT_TRUE(IsAngleBetween(1.0f, 0.5f, 1.5f, &fraction));
  EXPECT_NEAR(0.5f, fraction, 1e-5f);
  EXPECT_FALSE(IsAngleBetween(1.0f, 1.5f, 0.5f, nullptr));  // the shortest way turns back
  EXPECT_FALSE(IsAngleBetween(2.0f, 0.5f, 1.5f, nullptr));
  EXPECT_EQ(-1.0f, VectorAngle2D(3, 4, 3, 4));

  float yaw = -1, pitch = -1;
  EXPECT_FALSE(AnglesBetweenPoints(kZero, kZero, &yaw, &pitch));
  ASSERT_TRUE(AnglesBetweenPoints(kZero, D3DXVECTOR3(1, 0, 0), &yaw, &pitch));
  EXPECT_NEAR(DX_HALF_PI, yaw, 1e-5f);
  EXPECT_NEAR(0.0f, pitch, 1e-5f);
  DirectionToAngles(D3DXVECTOR3(0, 1, 0), &yaw, &pitch);
  EXPECT_NEAR(-DX_HALF_PI, pitch, 1e-5f);
}

TEST(SDxGeometryTest, RoundingEasingAndLevels) {
  const float rounds[][2] = {{2.5f, 3.0f}, {-2.5f, -2.0f}, {-2.6f, -3.0f}, {2.4f, 2.0f}};
  for (const auto& r : rounds) EXPECT_EQ(r[1], RoundToNearestFloat(r[0])) << r[0];
  EXPECT_FLOAT_EQ(0.25f, InterpolateEased(0.25f, 0.0f, 1.0f, false, true));
  EXPECT_FLOAT_EQ(2.0f + 2.0f * CosineEase(0.25f),
                  InterpolateEased(0.25f, 2.0f, 4.0f, true, false));
  EXPECT_FLOAT_EQ(0.5f, CosineEase(0.5f));
  EXPECT_FLOAT_EQ(1.0f, PerceptualLevel(1.0f));
  EXPECT_EQ(0.0f, PerceptualLevel(0.04f));
  EXPECT_EQ(0.0f, PerceptualLevel(-5.0f));
  EXPECT_GT(PerceptualLevel(0.5f), 0.7f);
}

TEST(SDxGeometryTest, RaysAgainstBoxesAndTriangles) {
  SDxBox box;
  EXPECT_GT(box.min.x, box.max.x);
  box.Grow(D3DXVECTOR3(1, 1, 1));
  EXPECT_EQ(box.min, box.max);
  box.Grow(D3DXVECTOR3(-1, -1, -1));
  float distance = -1.0f;
  // A component of 1e-8 is parallel: inside its slab the ray goes on.
  EXPECT_TRUE(RayHitsBox(kZero, D3DXVECTOR3(1e-8f, 0, 1), box, 100.0f, &distance));
  EXPECT_EQ(0.0f, distance);
  EXPECT_FALSE(RayHitsBox(D3DXVECTOR3(0, 5, -5), D3DXVECTOR3(1e-8f, 0, 1), box, 100.0f, nullptr));
  EXPECT_TRUE(RayHitsBox(D3DXVECTOR3(-5, 0, 0), D3DXVECTOR3(2, 0, 0), box, 100.0f, &distance));
  EXPECT_FLOAT_EQ(2.0f, distance);  // in units of the direction's length
  EXPECT_FALSE(RayHitsBox(D3DXVECTOR3(-5, 0, 0), D3DXVECTOR3(2, 0, 0), box, 1.5f, nullptr));

  // (c1 - c0) x (c2 - c0) points to -z: rays from -z hit.
  SDxTriangle triangle(0, 0, 0, 0, 1, 0, 1, 0, 0);
  D3DXVECTOR3 point;
  float weights[3];
  ASSERT_TRUE(RayHitsTriangle(triangle, D3DXVECTOR3(0.25f, 0.25f, -2), D3DXVECTOR3(0, 0, 1), false,
                              &point, weights, &distance));
  ExpectNear(D3DXVECTOR3(0.25f, 0.25f, 0), point, "hit");
  EXPECT_FLOAT_EQ(2.0f, distance);
  EXPECT_NEAR(0.5f, weights[0], 1e-5f);
  EXPECT_FALSE(RayHitsTriangle(triangle, D3DXVECTOR3(0.25f, 0.25f, 2), D3DXVECTOR3(0, 0, -1),
                               false, nullptr, nullptr, nullptr));
  EXPECT_FALSE(RayHitsTriangle(triangle, D3DXVECTOR3(2, 2, -2), D3DXVECTOR3(0, 0, 1), false,
                               nullptr, nullptr, nullptr));
  ASSERT_TRUE(RayHitsTriangle(triangle, D3DXVECTOR3(2, 2, -2), D3DXVECTOR3(0, 0, 1), true, &point,
                              nullptr, nullptr));
  ExpectNear(D3DXVECTOR3(2, 2, 0), point, "plane hit");
}

TEST(SDxGeometryTest, OrientedBoxesOverlapWhenTheyTouch) {
  SDxBox unit;
  unit.Grow(D3DXVECTOR3(-1, -1, -1));
  unit.Grow(D3DXVECTOR3(1, 1, 1));
  SDxOrientedBox a(unit), b(unit);
  D3DXVECTOR3 corners[8];
  a.GetCorners(corners);
  ExpectNear(D3DXVECTOR3(1, -1, 1), corners[2], "corner 2");
  ExpectNear(D3DXVECTOR3(-1, 1, -1), corners[6], "corner 6");
  D3DXMATRIX m;
  const struct {
    float dx;
    float turn;
    bool overlap;
  } cases[] = {
      {2.0f, 0.0f, true}, {2.01f, 0.0f, false}, {2.3f, DX_PI / 4, true}, {2.5f, DX_PI / 4, false}};
  for (const auto& c : cases) {
    D3DXMATRIX turn, move;
    D3DXMatrixRotationY(&turn, c.turn);
    D3DXMatrixTranslation(&move, c.dx, 0, 0);
    m = turn * move;
    b = SDxOrientedBox(unit);
    b.Transform(m);
    EXPECT_EQ(c.overlap, BoxesOverlap(a, b)) << c.dx << " " << c.turn;
  }
  // Scaling changes the half extents.
  D3DXMatrixScaling(&m, 2, 3, 4);
  b = SDxOrientedBox(unit);
  b.Transform(m);
  ExpectNear(D3DXVECTOR3(2, 3, 4), b.extents, "extents");
  SDxBox moved = unit;
  moved.min.x += 2;
  moved.max.x += 2;
  EXPECT_TRUE(BoxesOverlapAxisAligned(unit, moved));
  moved.min.x += 0.01f;
  moved.max.x += 0.01f;
  EXPECT_FALSE(BoxesOverlapAxisAligned(unit, moved));
}

TEST(SDxGeometryTest, SpheresAgainstTriangles) {
  SDxTriangle floor(-10, 0, -10, -10, 0, 10, 10, 0, -10);  // front side up
  D3DXVECTOR3 closest;
  float depth = 0;
  ASSERT_TRUE(SphereOverlapsTriangle(floor, D3DXVECTOR3(-5, 0.5f, -5), 1.0f, &closest, &depth));
  ExpectNear(D3DXVECTOR3(-5, 0, -5), closest, "closest");
  EXPECT_NEAR(0.5f, depth, 1e-5f);
  EXPECT_FALSE(SphereOverlapsTriangle(floor, D3DXVECTOR3(-5, 1.5f, -5), 1.0f, nullptr, nullptr));
  // Beyond an edge the closest point is on the edge.
  ExpectNear(D3DXVECTOR3(0, 0, 0),
             ClosestPointOnTriangle(D3DXVECTOR3(3, 0, 3), floor.corners[0], floor.corners[1],
                                    floor.corners[2]),
             "edge");
  // Behind the front side the plane distance is 0.
  EXPECT_EQ(0.0f, PointToTrianglePlaneDistance(D3DXVECTOR3(-5, -2, -5), floor));
  EXPECT_NEAR(2.0f, PointToTrianglePlaneDistance(D3DXVECTOR3(-5, 2, -5), floor), 1e-5f);
}

TEST(SDxGeometryTest, BoxesContainTheirBoundsAndDistancesMeasurePoints) {
  SDxBox box;
  EXPECT_FALSE(box.Contains(kZero)) << "the empty box holds nothing";
  box.Grow(D3DXVECTOR3(-1, -2, -3));
  box.Grow(D3DXVECTOR3(1, 2, 3));
  const struct {
    D3DXVECTOR3 point;
    bool inside;
  } points[] = {{kZero, true},
                {D3DXVECTOR3(1, 2, 3), true},  // a corner
                {D3DXVECTOR3(-1, 0, -3), true},
                {D3DXVECTOR3(1.001f, 0, 0), false},
                {D3DXVECTOR3(0, -2.001f, 0), false},
                {D3DXVECTOR3(0, 0, 3.001f), false}};
  for (const auto& p : points) {
    EXPECT_EQ(p.inside, box.Contains(p.point)) << p.point.x << " " << p.point.y << " " << p.point.z;
  }
  D3DXVECTOR3 a(1, 2, 3), b(4, 6, 3);
  EXPECT_FLOAT_EQ(25.0f, GetDistanceSq(a, b));
  EXPECT_FLOAT_EQ(5.0f, GetDistance(b, a));
  EXPECT_EQ(0.0f, GetDistance(a, a));
}

TEST(SDxGeometryTest, SegmentSamples) {
  D3DXVECTOR3 end(3, 0, 0), points[5];
  const D3DXVECTOR3 untouched(9, 9, 9);
  for (D3DXVECTOR3& p : points) p = untouched;
  // A step longer than the segment: points 1 and 2 on the end, then stop.
  EXPECT_EQ(3, SampleSegment(points, 5, kZero, end, 10.0f));
  ExpectNear(end, points[1], "1");
  ExpectNear(end, points[2], "2");
  EXPECT_EQ(untouched, points[3]);
  // The end is reached by the last point when the steps fall short.
  EXPECT_EQ(3, SampleSegment(points, 3, kZero, end, 1.0f));
  ExpectNear(D3DXVECTOR3(1, 0, 0), points[1], "step");
  ExpectNear(end, points[2], "last");
  EXPECT_EQ(1, SampleSegment(points, 1, kZero, end, 1.0f));
  ExpectNear(end, points[0], "only");
  EXPECT_EQ(0, SampleSegment(points, 0, kZero, end, 1.0f));
}

}  // namespace
