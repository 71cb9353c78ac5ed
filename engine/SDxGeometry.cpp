#include "core/Platform.h"
#include "engine/SDxGeometry.h"

#include <math.h>

namespace {

// Signs along the three axes of the corners of a box, in corner order.
const float kCornerSigns[8][3] = {
    {-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1},
    {1, 1, 1},    {-1, 1, 1},  {-1, 1, -1}, {1, 1, -1},
};

float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return D3DXVec3Dot(&a, &b); }

D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 c;
  D3DXVec3Cross(&c, &a, &b);
  return c;
}

float Length(const D3DXVECTOR3& v) { return D3DXVec3Length(&v); }

D3DXVECTOR3 Normalized(const D3DXVECTOR3& v) {
  D3DXVECTOR3 n;
  D3DXVec3Normalize(&n, &v);
  return n;
}

}  // namespace

// --- records ---------------------------------------------------------------------

void SDxBox::Reset() {
  min = D3DXVECTOR3(FLT_MAX, FLT_MAX, FLT_MAX);
  max = D3DXVECTOR3(-FLT_MAX, -FLT_MAX, -FLT_MAX);
}

void SDxBox::Grow(const D3DXVECTOR3& p) {
  D3DXVec3Minimize(&min, &min, &p);
  D3DXVec3Maximize(&max, &max, &p);
}

bool SDxBox::Contains(const D3DXVECTOR3& p) const {
  return p.x >= min.x && p.x <= max.x && p.y >= min.y && p.y <= max.y && p.z >= min.z &&
         p.z <= max.z;
}

void SDxBox::GetCorners(D3DXVECTOR3 corners[8]) const {
  for (int k = 0; k < 8; ++k) {
    corners[k] = D3DXVECTOR3(kCornerSigns[k][0] < 0 ? min.x : max.x,
                             kCornerSigns[k][1] < 0 ? min.y : max.y,
                             kCornerSigns[k][2] < 0 ? min.z : max.z);
  }
}

void SDxBox::TransformCorners(const D3DXMATRIX& matrix, D3DXVECTOR3 corners[8]) const {
  GetCorners(corners);
  for (int k = 0; k < 8; ++k) D3DXVec3TransformCoord(&corners[k], &corners[k], &matrix);
}

void SDxBox::Transform(const D3DXMATRIX& matrix, SDxBox* output) const {
  D3DXVECTOR3 corners[8];
  TransformCorners(matrix, corners);
  output->Reset();
  for (const D3DXVECTOR3& c : corners) output->Grow(c);
}

SDxTriangle::SDxTriangle(float x0, float y0, float z0, float x1, float y1, float z1, float x2,
                         float y2, float z2) {
  Set(D3DXVECTOR3(x0, y0, z0), D3DXVECTOR3(x1, y1, z1), D3DXVECTOR3(x2, y2, z2));
}

void SDxTriangle::Set(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
  corners[0] = a;
  corners[1] = b;
  corners[2] = c;
}

void SDxTriangle::Transform(const D3DXMATRIX& matrix) {
  for (D3DXVECTOR3& c : corners) D3DXVec3TransformCoord(&c, &c, &matrix);
}

void SDxTriangle::SwapWinding() {
  D3DXVECTOR3 t = corners[1];
  corners[1] = corners[2];
  corners[2] = t;
}

void SDxTriangleUV::Set(float u0, float v0, float u1, float v1, float u2, float v2) {
  uv[0] = D3DXVECTOR2(u0, v0);
  uv[1] = D3DXVECTOR2(u1, v1);
  uv[2] = D3DXVECTOR2(u2, v2);
}

SDxOrientedBox::SDxOrientedBox(const SDxBox& box)
    : center(box.GetCenter()), extents((box.max - box.min) * 0.5f) {
  axes[0] = D3DXVECTOR3(1, 0, 0);
  axes[1] = D3DXVECTOR3(0, 1, 0);
  axes[2] = D3DXVECTOR3(0, 0, 1);
}

void SDxOrientedBox::GetCorners(D3DXVECTOR3 corners[8]) const {
  for (int k = 0; k < 8; ++k) {
    corners[k] = center + axes[0] * (kCornerSigns[k][0] * extents.x) +
                 axes[1] * (kCornerSigns[k][1] * extents.y) +
                 axes[2] * (kCornerSigns[k][2] * extents.z);
  }
}

void SDxOrientedBox::SetCorners(const D3DXVECTOR3 corners[8]) {
  D3DXVECTOR3 sum(0, 0, 0);
  for (int k = 0; k < 8; ++k) sum += corners[k];
  center = sum / 8.0f;
  D3DXVECTOR3 edges[3] = {corners[1] - corners[0], corners[6] - corners[0],
                          corners[3] - corners[0]};
  extents = D3DXVECTOR3(Length(edges[0]), Length(edges[1]), Length(edges[2])) * 0.5f;
  for (int i = 0; i < 3; ++i) axes[i] = Normalized(edges[i]);
}

void SDxOrientedBox::Transform(const D3DXMATRIX& matrix) {
  D3DXVECTOR3 corners[8];
  GetCorners(corners);
  for (D3DXVECTOR3& c : corners) D3DXVec3TransformCoord(&c, &c, &matrix);
  SetCorners(corners);
}

// --- overlap and intersection ---------------------------------------------------

bool BoxesOverlap(const SDxOrientedBox& a, const SDxOrientedBox& b) {
  const float ea[3] = {a.extents.x, a.extents.y, a.extents.z};
  const float eb[3] = {b.extents.x, b.extents.y, b.extents.z};
  float R[3][3], AbsR[3][3];
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      R[i][j] = Dot(a.axes[i], b.axes[j]);
      AbsR[i][j] = fabsf(R[i][j]) + DX_EPSILON;
    }
  }
  D3DXVECTOR3 d = b.center - a.center;
  const float t[3] = {Dot(d, a.axes[0]), Dot(d, a.axes[1]), Dot(d, a.axes[2])};
  for (int i = 0; i < 3; ++i) {
    float rb = eb[0] * AbsR[i][0] + eb[1] * AbsR[i][1] + eb[2] * AbsR[i][2];
    if (fabsf(t[i]) > ea[i] + rb) return false;
  }
  for (int j = 0; j < 3; ++j) {
    float ra = ea[0] * AbsR[0][j] + ea[1] * AbsR[1][j] + ea[2] * AbsR[2][j];
    float tj = t[0] * R[0][j] + t[1] * R[1][j] + t[2] * R[2][j];
    if (fabsf(tj) > ra + eb[j]) return false;
  }
  // a_i x b_j: the other two axes of each box give the radii.
  for (int i = 0; i < 3; ++i) {
    int i1 = (i + 1) % 3, i2 = (i + 2) % 3;
    for (int j = 0; j < 3; ++j) {
      int j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      float ra = ea[i1] * AbsR[i2][j] + ea[i2] * AbsR[i1][j];
      float rb = eb[j1] * AbsR[i][j2] + eb[j2] * AbsR[i][j1];
      float tij = t[i2] * R[i1][j] - t[i1] * R[i2][j];
      if (fabsf(tij) > ra + rb) return false;
    }
  }
  return true;
}

bool BoxesOverlapAxisAligned(const SDxBox& a, const SDxBox& b) {
  D3DXVECTOR3 d = b.GetCenter() - a.GetCenter();
  D3DXVECTOR3 half = (a.max - a.min + b.max - b.min) * 0.5f;
  return fabsf(d.x) <= half.x && fabsf(d.y) <= half.y && fabsf(d.z) <= half.z;
}

bool RayHitsBox(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, const SDxBox& box,
                float maxDistance, float* distance) {
  float tmin = 0.0f, tmax = maxDistance;
  const float o[3] = {origin.x, origin.y, origin.z};
  const float d[3] = {direction.x, direction.y, direction.z};
  const float lo[3] = {box.min.x, box.min.y, box.min.z};
  const float hi[3] = {box.max.x, box.max.y, box.max.z};
  for (int i = 0; i < 3; ++i) {
    if (fabsf(d[i]) < DX_EPSILON) {
      if (o[i] < lo[i] || o[i] > hi[i]) return false;
      continue;
    }
    float ood = 1.0f / d[i];
    float t1 = (lo[i] - o[i]) * ood, t2 = (hi[i] - o[i]) * ood;
    if (t1 > t2) {
      float swap = t1;
      t1 = t2;
      t2 = swap;
    }
    if (t1 > tmin) tmin = t1;
    if (t2 < tmax) tmax = t2;
    if (tmin > tmax) return false;
  }
  if (distance) *distance = tmin;
  return true;
}

bool RayHitsTriangle(const SDxTriangle& triangle, const D3DXVECTOR3& origin,
                     const D3DXVECTOR3& direction, bool planeOnly, D3DXVECTOR3* point,
                     float weights[3], float* distance) {
  const D3DXVECTOR3* c = triangle.corners;
  D3DXVECTOR3 ab = c[1] - c[0], ac = c[2] - c[0], qp = -direction;
  D3DXVECTOR3 n = Cross(ab, ac);
  float d = Dot(qp, n);
  if (d <= 0.0f) return false;
  D3DXVECTOR3 ap = origin - c[0];
  float t = Dot(ap, n);
  if (t < 0.0f) return false;
  D3DXVECTOR3 e = Cross(qp, ap);
  float v = Dot(ac, e), w = -Dot(ab, e);
  if (!planeOnly && (v < 0.0f || v > d || w < 0.0f || v + w > d)) return false;
  float ood = 1.0f / d;
  float u[3] = {1.0f - v * ood - w * ood, v * ood, w * ood};
  if (weights) {
    for (int i = 0; i < 3; ++i) weights[i] = u[i];
  }
  if (point) *point = c[0] * u[0] + c[1] * u[1] + c[2] * u[2];
  if (distance) *distance = t * ood;
  return true;
}

D3DXVECTOR3 ClosestPointOnTriangle(const D3DXVECTOR3& p, const D3DXVECTOR3& a,
                                   const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
  D3DXVECTOR3 ab = b - a, ac = c - a, ap = p - a, bp = p - b, cp = p - c;
  float d1 = Dot(ab, ap), d2 = Dot(ac, ap);
  if (d1 <= 0.0f && d2 <= 0.0f) return a;
  float d3 = Dot(ab, bp), d4 = Dot(ac, bp);
  if (d3 >= 0.0f && d4 <= d3) return b;
  float vc = d1 * d4 - d3 * d2;
  if (vc <= 0.0f && d1 >= 0.0f && d3 <= 0.0f) return a + ab * (d1 / (d1 - d3));
  float d5 = Dot(ab, cp), d6 = Dot(ac, cp);
  if (d6 >= 0.0f && d5 <= d6) return c;
  float vb = d5 * d2 - d1 * d6;
  if (vb <= 0.0f && d2 >= 0.0f && d6 <= 0.0f) return a + ac * (d2 / (d2 - d6));
  float va = d3 * d6 - d5 * d4;
  if (va <= 0.0f && d4 - d3 >= 0.0f && d5 - d6 >= 0.0f) {
    return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
  }
  float denominator = 1.0f / (va + vb + vc);
  return a + ab * (vb * denominator) + ac * (vc * denominator);
}

float PointToTrianglePlaneDistance(const D3DXVECTOR3& point, const SDxTriangle& triangle) {
  const D3DXVECTOR3* c = triangle.corners;
  D3DXVECTOR3 n = Normalized(Cross(c[0] - c[1], c[2] - c[1]));
  D3DXVECTOR3 hit;
  if (RayHitsTriangle(triangle, point, n, true, &hit, nullptr, nullptr) ||
      RayHitsTriangle(triangle, point, -n, true, &hit, nullptr, nullptr)) {
    return Length(hit - point);
  }
  return 0.0f;
}

bool SphereOverlapsTriangle(const SDxTriangle& triangle, const D3DXVECTOR3& center, float radius,
                            D3DXVECTOR3* closest, float* depth) {
  const D3DXVECTOR3* c = triangle.corners;
  D3DXVECTOR3 q = ClosestPointOnTriangle(center, c[0], c[1], c[2]);
  D3DXVECTOR3 d = q - center;
  if (Dot(d, d) > radius * radius) return false;
  if (closest) *closest = q;
  if (depth) *depth = radius - fabsf(PointToTrianglePlaneDistance(center, triangle));
  return true;
}

int SampleSegment(D3DXVECTOR3* points, int count, const D3DXVECTOR3& start,
                  const D3DXVECTOR3& end, float step) {
  if (!points || count < 1) return 0;
  D3DXVECTOR3 direction = Normalized(end - start);
  float length = Length(end - start), travelled = 0.0f;
  points[0] = start;
  int written = 1;
  bool reached = false;
  for (int i = 1; i < count; ++i) {
    ++written;
    if (reached) {
      points[i] = end;
      break;
    }
    travelled += step;
    if (travelled >= length) {
      points[i] = points[i - 1] + direction * (step - (travelled - length));
      reached = true;
    } else {
      points[i] = points[i - 1] + direction * step;
    }
  }
  if (!reached) points[count - 1] = end;
  return written;
}

// --- angles -----------------------------------------------------------------------

float WrapAngle(float x) {
  if (x >= 0.0f && x < DX_2PI) return x;
  float a = acosf(cosf(x));
  if (a > DX_PI) a = DX_PI;
  if (sinf(x) < 0.0f) {
    float r = (DX_PI - a) + DX_PI;
    return r < DX_2PI ? r : 0.0f;
  }
  return a;
}

float AngleDifference(float from, float to) {
  from = WrapAngle(from);
  to = WrapAngle(to);
  float d1 = from - to, d2 = to - from;
  if (d1 < 0.0f) d1 += DX_2PI;
  if (d2 < 0.0f) d2 += DX_2PI;
  return d1 < d2 ? -d1 : d2;
}

bool IsAngleBetween(float x, float start, float end, float* fraction) {
  float d = AngleDifference(start, x), e = AngleDifference(start, end);
  if (d < 0.0f || e < d) return false;
  if (fraction) *fraction = e != 0.0f ? d / e : 0.0f;
  return true;
}

float VectorAngle2D(float x1, float y1, float x2, float y2) {
  if (x1 == x2 && y1 == y2) return -1.0f;
  return atan2f(x2 - x1, y2 - y1);
}

void DirectionToAngles(const D3DXVECTOR3& direction, float* yaw, float* pitch) {
  float length = Length(direction);
  if (yaw) *yaw = length > 0.0f ? atan2f(direction.x, direction.z) : 0.0f;
  if (pitch) *pitch = length > 0.0f ? AcosFloat(direction.y / length) - DX_HALF_PI : 0.0f;
}

bool AnglesBetweenPoints(const D3DXVECTOR3& from, const D3DXVECTOR3& to, float* yaw,
                         float* pitch) {
  D3DXVECTOR3 v = to - from;
  float length = Length(v);
  if (length == 0.0f) return false;
  float a = VectorAngle2D(0.0f, 0.0f, v.x, v.z);
  if (yaw) *yaw = a == -1.0f ? 0.0f : a;
  if (pitch) *pitch = WrapAngle(AcosFloat(v.y / length) - DX_HALF_PI);
  return true;
}

// --- distances -------------------------------------------------------------------

float GetDistanceSq(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 d = b - a;
  return D3DXVec3LengthSq(&d);
}

float GetDistance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return sqrtf(GetDistanceSq(a, b)); }

// --- scalars ------------------------------------------------------------------------

float RoundToNearestFloat(float x) {
  float f = floorf(x);
  return x - f < 0.5f ? f : ceilf(x);
}

float CosineEase(float t) { return (cosf(t * DX_PI + DX_PI) + 1.0f) / 2.0f; }

float InterpolateEased(float t, float a, float b, bool easeFirstHalf, bool easeSecondHalf) {
  if ((t < 0.5f && easeFirstHalf) || (t >= 0.5f && easeSecondHalf)) t = CosineEase(t);
  return a + (b - a) * t;
}

float PerceptualLevel(float x) {
  float inner = 0.999f * x + 0.001f;
  if (!(inner > 0.0f)) return 0.0f;
  float level = (logf(inner) + 3.0f) / 3.0f;
  return level < 0.0f ? 0.0f : level > 1.0f ? 1.0f : level;
}

float AcosFloat(float x) { return acosf(x < -1.0f ? -1.0f : x > 1.0f ? 1.0f : x); }

float CeilFloat(float x) { return ceilf(x); }
