// The engine's geometric records and free geometry functions: angles,
// easing and rounding, boxes, triangles, oriented boxes, and the ray,
// overlap and distance tests that picking, contact scans and the game use.
// Everything works in single precision and keeps no state; the one
// tolerance is DX_EPSILON.
#pragma once

#include "core/Platform.h"

#include <d3dx9.h>
#include <float.h>

const float DX_PI = 3.1415927f;
const float DX_2PI = 6.2831855f;
const float DX_HALF_PI = 1.5707964f;
const float DX_EPSILON = FLT_EPSILON;

// Axis-aligned box. The empty box has min +FLT_MAX and max -FLT_MAX, so
// that growing it by a point makes min = max = that point.
struct SDxBox {
  D3DXVECTOR3 min, max;

  SDxBox() { Reset(); }
  void Reset();
  void Grow(const D3DXVECTOR3& point);
  // In the corner order of SDxOrientedBox.
  void GetCorners(D3DXVECTOR3 corners[8]) const;
  // The eight corners transformed by the matrix (D3DXVec3TransformCoord).
  void TransformCorners(const D3DXMATRIX& matrix, D3DXVECTOR3 corners[8]) const;
  // The empty box grown by the transformed corners.
  void Transform(const D3DXMATRIX& matrix, SDxBox* output) const;
  D3DXVECTOR3 GetCenter() const { return (min + max) * 0.5f; }
  float GetWidth() const { return max.x - min.x; }
  float GetHeight() const { return max.y - min.y; }
  float GetDepth() const { return max.z - min.z; }
  // Within min and max on all three axes, the bounds included.
  bool Contains(const D3DXVECTOR3& point) const;
};

struct SDxTriangle {
  D3DXVECTOR3 corners[3];

  SDxTriangle() {}
  SDxTriangle(float x0, float y0, float z0, float x1, float y1, float z1, float x2, float y2,
              float z2);
  void Set(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c);
  // Every corner through D3DXVec3TransformCoord.
  void Transform(const D3DXMATRIX& matrix);
  // Swaps corners 1 and 2.
  void SwapWinding();
};

struct SDxTriangleUV {
  D3DXVECTOR2 uv[3];

  // u and v of corner 0, then of corner 1, then of corner 2.
  void Set(float u0, float v0, float u1, float v1, float u2, float v2);
};

// A box of any orientation: centre, three unit axes, three half extents.
// Corner order (signs along u0, u1, u2): 0 (-,-,-), 1 (+,-,-), 2 (+,-,+),
// 3 (-,-,+), 4 (+,+,+), 5 (-,+,+), 6 (-,+,-), 7 (+,+,-).
struct SDxOrientedBox {
  D3DXVECTOR3 center;
  D3DXVECTOR3 axes[3];
  D3DXVECTOR3 extents;  // e0, e1, e2

  SDxOrientedBox() {}
  // Centre and half size of the box, the world axes.
  explicit SDxOrientedBox(const SDxBox& box);
  void GetCorners(D3DXVECTOR3 corners[8]) const;
  // Rebuilt from eight corners in the order above.
  void SetCorners(const D3DXVECTOR3 corners[8]);
  // Corners transformed, then rebuilt: scaling changes the extents, shear
  // is lost.
  void Transform(const D3DXMATRIX& matrix);
};

// --- overlap and intersection ---------------------------------------------------

// Separating-axis test over the 15 axes; touching boxes overlap.
bool BoxesOverlap(const SDxOrientedBox& a, const SDxOrientedBox& b);
// Per axis the centres' distance against the half extents; equal overlaps.
bool BoxesOverlapAxisAligned(const SDxBox& a, const SDxBox& b);
// Slab test up to maxDistance (in units of the direction's length); a
// component below DX_EPSILON makes the ray parallel to that slab. The
// distance is 0 for an origin inside the box.
bool RayHitsBox(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, const SDxBox& box,
                float maxDistance, float* distance);
// One-sided: only a ray coming from the side that (c1 - c0) x (c2 - c0)
// points to hits. With planeOnly the crossing with the plane counts
// wherever it lies. Weights are those of corners 0, 1, 2.
bool RayHitsTriangle(const SDxTriangle& triangle, const D3DXVECTOR3& origin,
                     const D3DXVECTOR3& direction, bool planeOnly, D3DXVECTOR3* point,
                     float weights[3], float* distance);
D3DXVECTOR3 ClosestPointOnTriangle(const D3DXVECTOR3& p, const D3DXVECTOR3& a,
                                   const D3DXVECTOR3& b, const D3DXVECTOR3& c);
// Along the triangle's normal (c0 - c1) x (c2 - c1), then against it; 0
// when neither one-sided cast meets the plane.
float PointToTrianglePlaneDistance(const D3DXVECTOR3& point, const SDxTriangle& triangle);
bool SphereOverlapsTriangle(const SDxTriangle& triangle, const D3DXVECTOR3& center, float radius,
                            D3DXVECTOR3* closest, float* depth);
// Up to count points from start toward end, step apart, the last on the
// end; returns the number written (at least 1 for count >= 1). A zero
// segment gives the start and then the end.
int SampleSegment(D3DXVECTOR3* points, int count, const D3DXVECTOR3& start,
                  const D3DXVECTOR3& end, float step);

// --- distances -------------------------------------------------------------------

float GetDistanceSq(const D3DXVECTOR3& a, const D3DXVECTOR3& b);
float GetDistance(const D3DXVECTOR3& a, const D3DXVECTOR3& b);

// --- angles (radians) -------------------------------------------------------------

// Into [0, 2 pi).
float WrapAngle(float x);
// The signed shortest turn from one angle to the other, in (-pi, pi].
float AngleDifference(float from, float to);
// Whether x lies on the arc from start turning positively to end; the
// fraction of the arc (0 when the arc is empty).
bool IsAngleBetween(float x, float start, float end, float* fraction);
// atan2(x2 - x1, y2 - y1); -1.0 for equal points.
float VectorAngle2D(float x1, float y1, float x2, float y2);
// yaw = atan2(x, z), pitch = acos(y / length) - pi/2; both 0 for a zero
// direction.
void DirectionToAngles(const D3DXVECTOR3& direction, float* yaw, float* pitch);
// The yaw and wrapped pitch that point from one point to the other; false
// for equal points.
bool AnglesBetweenPoints(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float* yaw,
                         float* pitch);

// --- scalars ------------------------------------------------------------------------

// Halves go up, also below zero: -2.5 gives -2.
float RoundToNearestFloat(float x);
// (cos(t pi + pi) + 1) / 2: 0..1 eased into 0..1.
float CosineEase(float t);
// a + (b - a) t, t eased in the half whose flag is set.
float InterpolateEased(float t, float a, float b, bool easeFirstHalf, bool easeSecondHalf);
// (ln(0.999 x + 0.001) + 3) / 3 clamped to [0, 1].
float PerceptualLevel(float x);
// acos with its argument clamped to [-1, 1]; ceil.
float AcosFloat(float x);
float CeilFloat(float x);
