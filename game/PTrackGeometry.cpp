#include "core/Platform.h"

#include "game/PTrackGeometry.h"

#include <math.h>

const float PTrackGeometry::kCellAngle = 3.14159265f / 8;

namespace {

// Texture coordinates named by code: 0, 1, the inset t, 1 - t, the v repeat
// w, one half, the piston's q and 3.
enum { U0, U1, UT, U1T, UW, UH, UQ, U3 };
// Points by index: the eight corners, then the jumper's midpoints M1 (of
// points 6 and 7) and M2 (of points 4 and 5).
enum { M1 = 8, M2 = 9 };

struct TriangleRow {
  int points[3];
  int uv[3][2];
  int role;
};

const int F = PTrackGeometry::ROLE_FRONT, S = PTrackGeometry::ROLE_SIDE,
          I = PTrackGeometry::ROLE_INNER, O = PTrackGeometry::ROLE_OUTER,
          R = PTrackGeometry::ROLE_RAMP;

// Wall pieces; the last two rows (the outer face) only for kinds 3 and 4.
const TriangleRow kWall[] = {
    {{2, 3, 6}, {{U0, U1}, {U1, U1}, {UT, U0}}, F}, {{6, 3, 7}, {{UT, U0}, {U1, U1}, {U1T, U0}}, F},
    {{1, 0, 5}, {{U0, U1}, {U1, U1}, {U0, U0}}, S}, {{5, 0, 4}, {{U0, U0}, {U1, U1}, {U1, U0}}, S},
    {{6, 7, 4}, {{U0, UW}, {U1, UW}, {U0, U0}}, I}, {{4, 7, 5}, {{U0, U0}, {U1, UW}, {U1, U0}}, I},
    {{0, 2, 4}, {{U0, U1}, {UW, U1}, {U0, U0}}, S}, {{4, 2, 6}, {{U0, U0}, {UW, U1}, {UW, U0}}, S},
    {{3, 1, 7}, {{U0, U1}, {UW, U1}, {U0, U0}}, S}, {{7, 1, 5}, {{U0, U0}, {UW, U1}, {UW, U0}}, S},
    {{0, 1, 2}, {{U0, UW}, {U1, UW}, {U0, U0}}, O}, {{2, 1, 3}, {{U0, U0}, {U1, UW}, {U1, U0}}, O},
};
const int kWallRowsWithoutOuter = 10;

const TriangleRow kJumper[] = {
    {{1, 0, 5}, {{U0, U1}, {U1, U1}, {U0, U0}}, S},
    {{5, 0, 4}, {{U0, U0}, {U1, U1}, {U1, U0}}, S},
    {{6, M1, 4}, {{U0, U1}, {UH, U1}, {U0, U0}}, R},
    {{4, M1, M2}, {{U0, U0}, {UH, U1}, {UH, U0}}, R},
    {{M1, 7, 5}, {{UH, U1}, {U1, U1}, {U1, U0}}, R},
    {{M2, M1, 5}, {{UH, U0}, {UH, U1}, {U1, U0}}, R},
    {{0, 2, 4}, {{U0, U1}, {U1, U1}, {U0, U0}}, S},
    {{7, 1, 5}, {{U0, U1}, {U1, U1}, {U1, U0}}, S},
};

const TriangleRow kPiston[] = {
    {{2, 3, 6}, {{U0, U1}, {U1, U1}, {UT, UQ}}, F}, {{6, 3, 7}, {{UT, UQ}, {U1, U1}, {U1T, UQ}}, F},
    {{6, 7, 4}, {{U0, U3}, {U1, U3}, {U0, U0}}, I}, {{4, 7, 5}, {{U0, U0}, {U1, U3}, {U1, U0}}, I},
    {{0, 2, 4}, {{U0, U1}, {U3, U1}, {U0, UQ}}, S}, {{4, 2, 6}, {{U0, UQ}, {U3, U1}, {U3, UQ}}, S},
    {{3, 1, 7}, {{U0, U1}, {U3, U1}, {U0, UQ}}, S}, {{7, 1, 5}, {{U0, UQ}, {U3, U1}, {U3, UQ}}, S},
};

// Wall kinds: outer radius, height, v repeat.
struct WallKind {
  int kind;
  float r0, h, w;
};
const WallKind kWallKinds[] = {
    {0, 1020, 1000, 3}, {1, 1020, 1000, 3}, {3, 800, 1000, 3}, {4, 800, 1000, 3}, {6, 1020, 250, 1},
};
const float kWallInner = 600;

const WallKind& FindWallKind(int kind) {
  for (const WallKind& k : kWallKinds)
    if (k.kind == kind) return k;
  return kWallKinds[0];
}

int Emit(const TriangleRow* rows, int count, const D3DXVECTOR3 corners[8], const float values[8],
         PPieceTriangle* out) {
  D3DXVECTOR3 points[10];
  for (int i = 0; i < 8; ++i) points[i] = corners[i];
  points[M1] = (corners[6] + corners[7]) * 0.5f;
  points[M2] = (corners[4] + corners[5]) * 0.5f;
  for (int n = 0; n < count; ++n) {
    for (int k = 0; k < 3; ++k) {
      out[n].points[k] = points[rows[n].points[k]];
      out[n].uvs[k] = D3DXVECTOR2(values[rows[n].uv[k][0]], values[rows[n].uv[k][1]]);
    }
    out[n].role = rows[n].role;
  }
  return count;
}

}  // namespace

void PTrackGeometry::FillCorners(D3DXVECTOR3 c[8], float r0, float r1, float h, float edge0,
                                 float edgeS) {
  const float radii[2] = {r0, r1};
  for (int i = 0; i < 8; ++i) {
    float r = radii[i / 4];
    float a = i % 2 == 0 ? edgeS : edge0;
    float z = (i % 4) < 2 ? h : 0.0f;
    c[i] = D3DXVECTOR3(r * sinf(a), r * cosf(a), z);
  }
}

float PTrackGeometry::Inset(const D3DXVECTOR3 c[8]) {
  D3DXVECTOR3 outer = c[2] - c[3], inner = c[6] - c[7];
  float o = D3DXVec3Length(&outer), i = D3DXVec3Length(&inner);
  return o > 0.0f ? (o - i) / 2 / o : 0.0f;
}

void PTrackGeometry::WallCorners(int kind, D3DXVECTOR3 corners[8]) {
  const WallKind& k = FindWallKind(kind);
  FillCorners(corners, k.r0, kWallInner, k.h, 0.0f, kCellAngle);
}

int PTrackGeometry::WallTriangles(int kind, bool medieval, PPieceTriangle* out) {
  const WallKind& k = FindWallKind(kind);
  D3DXVECTOR3 corners[8];
  WallCorners(kind, corners);
  float t = medieval && kind != 6 ? 0.0f : Inset(corners);
  const float values[8] = {0, 1, t, 1 - t, k.w, 0.5f, 0, 3};
  bool outer = kind == 3 || kind == 4;
  return Emit(kWall, outer ? 12 : kWallRowsWithoutOuter, corners, values, out);
}

void PTrackGeometry::JumperCorners(D3DXVECTOR3 corners[8]) {
  FillCorners(corners, 1050, 600, 1000, 0.0f, kCellAngle);
  corners[6] = corners[2];
  corners[7] = corners[3];
}

int PTrackGeometry::JumperTriangles(PPieceTriangle* out) {
  D3DXVECTOR3 corners[8];
  JumperCorners(corners);
  const float values[8] = {0, 1, 0, 1, 1, 0.5f, 0, 3};
  return Emit(kJumper, sizeof(kJumper) / sizeof(kJumper[0]), corners, values, out);
}

void PTrackGeometry::PistonCorners(D3DXVECTOR3 corners[8]) {
  FillCorners(corners, 1020, 775, 944, 0.01f, 0.38268343f);
}

int PTrackGeometry::PistonTriangles(PPieceTriangle* out) {
  D3DXVECTOR3 corners[8];
  PistonCorners(corners);
  float t = Inset(corners);
  const float values[8] = {0, 1, t, 1 - t, 1, 0.5f, 0.45f, 3};
  return Emit(kPiston, sizeof(kPiston) / sizeof(kPiston[0]), corners, values, out);
}

void PTrackGeometry::BoxCorners(const D3DXVECTOR3& min, const D3DXVECTOR3& max,
                                D3DXVECTOR3 corners[8]) {
  static const int kAtMax[8][3] = {{1, 1, 0}, {0, 1, 0}, {1, 1, 1}, {0, 1, 1},
                                   {1, 0, 0}, {0, 0, 0}, {1, 0, 1}, {0, 0, 1}};
  for (int i = 0; i < 8; ++i)
    corners[i] = D3DXVECTOR3(kAtMax[i][0] ? max.x : min.x, kAtMax[i][1] ? max.y : min.y,
                             kAtMax[i][2] ? max.z : min.z);
}
