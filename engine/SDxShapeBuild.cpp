// The primitive builders of SDxShape.
#include "core/Platform.h"
#include "engine/SDxShape.h"

#include <math.h>

namespace {

typedef D3DXVECTOR3 V3;
typedef D3DXVECTOR2 V2;

// Box faces: the bottom-left, bottom-right, top-left and top-right corners
// seen from outside, as signs along x, y and z; the axis that the inward
// flag mirrors; whether the face takes the second triangle pattern.
const struct {
  float corners[4][3];
  int mirror;
  bool second;
} kBoxFaces[SDxShape::FACE_COUNT] = {
    {{{-1, -1, -1}, {1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}, 0, false},  // z = -depth/2
    {{{1, -1, 1}, {-1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}, 0, true},       // z = +depth/2
    {{{-1, -1, 1}, {-1, -1, -1}, {-1, 1, 1}, {-1, 1, -1}}, 2, false},  // x = -width/2
    {{{1, -1, -1}, {1, -1, 1}, {1, 1, -1}, {1, 1, 1}}, 2, true},       // x = +width/2
    {{{-1, 1, -1}, {1, 1, -1}, {-1, 1, 1}, {1, 1, 1}}, 2, false},      // y = +height/2
    {{{1, -1, -1}, {-1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}, 0, true},   // y = -height/2
};
enum { BL, BR, TL, TR };
// The two triangles of a face, by corner: first and second pattern.
const int kPatterns[2][2][3] = {{{BL, BR, TL}, {BR, TR, TL}}, {{TR, BL, BR}, {TR, TL, BL}}};

SDxTexture* FaceTexture(const SArray<SDxTexture*>* list, int face, SDxTexture* texture) {
  return list && face < list->GetCount() ? (*list)[face] : texture;
}

}  // namespace

bool SDxShape::BeginBuild(SDxTexture* texture) {
  if (m_polygons.GetCount() == 0) {
    m_sharedTexture = texture;
  } else if (texture != m_sharedTexture) {
    m_sharedTexture = nullptr;
  }
  bool autoUpdate = m_autoUpdate;
  m_autoUpdate = false;
  return autoUpdate;
}

void SDxShape::EndBuild(bool autoUpdate) {
  m_autoUpdate = autoUpdate;
  if (autoUpdate) Rebuild();
}

void SDxShape::AddTriangle(const V3& a, const V3& b, const V3& c, const V2& ua, const V2& ub,
                           const V2& uc, SDxTexture* texture) {
  SDxTriangle positions;
  positions.Set(a, b, c);
  SDxTriangleUV uvs;
  uvs.Set(ua.x, ua.y, ub.x, ub.y, uc.x, uc.y);
  AddPolygon(&positions, &uvs, texture, 1);
}

bool SDxShape::AddRing(SDxTexture* texture, float a, float b, float c, float d, float sweep, int n,
                       bool winding, int skipped, float offset) {
  if (a < 0 || b < 0 || c < 0 || d < 0 || n < 2 || skipped < 0 || skipped >= n || sweep < 0) {
    return false;
  }
  bool autoUpdate = BeginBuild(texture);
  float ru = a > 0 ? c / a / 8.0f : 0.0f, rv = b > 0 ? d / b / 8.0f : 0.0f;
  for (int i = 0; i < n - skipped; ++i) {
    float t[2] = {sweep * i / n, sweep * (i + 1) / n};
    V3 outer[2], inner[2];
    V2 uo[2], ui[2];
    for (int e = 0; e < 2; ++e) {
      outer[e] = V3(a / 2 * cosf(t[e]), 0, b / 2 * sinf(t[e]));
      inner[e] = V3(c / 2 * cosf(t[e]), 0, d / 2 * sinf(t[e]));
      float w = (sweep - t[e]) + (sweep - DX_PI) + offset;
      uo[e] = V2(0.5f + 0.5f * cosf(w), 0.5f + 0.5f * sinf(w));
      ui[e] = V2(0.5f + ru * cosf(w), 0.5f + rv * sinf(w));
      if (!winding) {
        uo[e].x = 1.0f - uo[e].x;
        ui[e].x = 1.0f - ui[e].x;
      }
    }
    if (winding) {
      AddTriangle(inner[0], outer[0], outer[1], ui[0], uo[0], uo[1], texture);
      AddTriangle(outer[1], inner[1], inner[0], uo[1], ui[1], ui[0], texture);
    } else {
      AddTriangle(inner[0], outer[1], outer[0], ui[0], uo[1], uo[0], texture);
      AddTriangle(outer[1], inner[0], inner[1], uo[1], ui[0], ui[1], texture);
    }
  }
  EndBuild(autoUpdate);
  return true;
}

bool SDxShape::AddBox(SDxTexture* texture, const SArray<SDxTexture*>* faceTextures, float width,
                      float height, float depth, bool inward, float r, const bool faces[6]) {
  bool autoUpdate = BeginBuild(texture);
  const V3 half(width / 2, height / 2, depth / 2);
  const V2 uvs[4] = {V2(0, r), V2(r, r), V2(0, 0), V2(r, 0)};
  for (int f = 0; f < FACE_COUNT; ++f) {
    if (faces && !faces[f]) continue;
    V3 corners[4];
    for (int k = 0; k < 4; ++k) {
      float s[3] = {kBoxFaces[f].corners[k][0], kBoxFaces[f].corners[k][1],
                    kBoxFaces[f].corners[k][2]};
      if (inward) s[kBoxFaces[f].mirror] = -s[kBoxFaces[f].mirror];
      corners[k] = V3(s[0] * half.x, s[1] * half.y, s[2] * half.z);
    }
    SDxTexture* faceTexture = FaceTexture(faceTextures, f, texture);
    for (const auto& t : kPatterns[kBoxFaces[f].second]) {
      AddTriangle(corners[t[0]], corners[t[1]], corners[t[2]], uvs[t[0]], uvs[t[1]], uvs[t[2]],
                  faceTexture);
    }
  }
  EndBuild(autoUpdate);
  return true;
}

bool SDxShape::AddPyramid(SDxTexture* texture, const SArray<SDxTexture*>* faceTextures,
                          float width, float h1, float depth, float h2, bool skip, float r,
                          const bool faces[6]) {
  if (skip) return true;
  bool autoUpdate = BeginBuild(texture);
  // The box's corners with the bottom on y = 0 and the top at h1, the top
  // drawn in toward the axis (to the apex when h2 is 0).
  float q = h2 != 0.0f && h1 + h2 != 0.0f ? h1 / (h1 + h2) : 0.0f;
  const V2 uvs[4] = {V2(0, r), V2(r, r), V2(0, 0), V2(r, 0)};
  for (int f = 0; f < FACE_COUNT; ++f) {
    if ((faces && !faces[f]) || (f == FACE_TOP && h2 == 0.0f)) continue;
    V3 corners[4];
    for (int k = 0; k < 4; ++k) {
      const float* s = kBoxFaces[f].corners[k];
      float scale = s[1] > 0 ? q : 1.0f;
      corners[k] = V3(s[0] * width / 2 * scale, s[1] > 0 ? h1 : 0.0f, s[2] * depth / 2 * scale);
    }
    SDxTexture* faceTexture = FaceTexture(faceTextures, f, texture);
    bool apex = h2 == 0.0f && f < FACE_TOP;
    for (int p = 0; p < (apex ? 1 : 2); ++p) {
      const int* t = kPatterns[kBoxFaces[f].second][p];
      AddTriangle(corners[t[0]], corners[t[1]], corners[t[2]], uvs[t[0]], uvs[t[1]], uvs[t[2]],
                  faceTexture);
    }
  }
  EndBuild(autoUpdate);
  return true;
}

bool SDxShape::AddSphere(SDxTexture* upperTexture, SDxTexture* lowerTexture, float x, float y,
                         float z, bool upper, bool lower, bool winding, int n, int m) {
  if (y < 0) y = x;
  if (z < 0) z = x;
  if (!(x > 0) || (!upper && !lower)) return false;
  if (n < 2) n = 2;
  if (m < 1) m = 1;
  bool autoUpdate = m_autoUpdate;
  if (upperTexture == lowerTexture) {
    autoUpdate = BeginBuild(upperTexture);
  } else {
    m_autoUpdate = false;
  }
  const int columns = 2 * n + 1, rows = m + 1;
  SArray<D3DXVECTOR3> points;
  SArray<D3DXVECTOR2> uvs;
  for (int half = 0; half < 2; ++half) {
    if (!(half == 0 ? upper : lower)) continue;
    float sign = half == 0 ? 1.0f : -1.0f;
    points.SetSize(columns * rows, false);
    uvs.SetSize(columns * rows, false);
    for (int r = 0; r < rows; ++r) {
      float lat = r * DX_HALF_PI / (rows - 1), w = 1.0f - (float)r / (rows - 1);
      for (int c = 0; c < columns; ++c) {
        float theta = c * DX_2PI / (columns - 1);
        if (half == 1) theta = DX_2PI - theta;
        points[r * columns + c] = V3(x / 2 * cosf(lat) * sinf(theta), sign * y / 2 * sinf(lat),
                                     -z / 2 * cosf(lat) * cosf(theta));
        uvs[r * columns + c] = V2((1 + w * cosf(theta)) / 2, (1 + w * sinf(theta)) / 2);
      }
    }
    SDxTexture* texture = half == 0 ? upperTexture : lowerTexture;
    for (int r = 0; r + 1 < rows; ++r) {
      for (int c = 0; c + 1 < columns; ++c) {
        int p00 = r * columns + c, p01 = p00 + 1, p10 = p00 + columns, p11 = p10 + 1;
        int first[3] = {p00, winding ? p10 : p01, winding ? p01 : p10};
        int second[3] = {p11, winding ? p01 : p10, winding ? p10 : p01};
        AddTriangle(points[first[0]], points[first[1]], points[first[2]], uvs[first[0]],
                    uvs[first[1]], uvs[first[2]], texture);
        // Next to the pole the second triangle would collapse.
        if (r + 2 < rows) {
          AddTriangle(points[second[0]], points[second[1]], points[second[2]], uvs[second[0]],
                      uvs[second[1]], uvs[second[2]], texture);
        }
      }
    }
  }
  EndBuild(autoUpdate);
  return true;
}

bool SDxShape::AddCylinder(SDxTexture* texture, float a, float b, float c, float d, float h,
                           float sweep, bool winding, int n, float repeat, float vTop,
                           float vBottom, bool bottomCap, bool topCap, SDxTexture* bottomTexture,
                           SDxTexture* topTexture, int m, int skipped) {
  if (b < 0) b = a;
  if (c < 0) c = a;
  if (d < 0) d = b;
  if (a < 0 || h < 0 || n < 2 || sweep < 0 || m < 1 || skipped < 0 || skipped >= n) return false;
  bool autoUpdate = BeginBuild(texture);
  for (int i = 0; i < n - skipped; ++i) {
    float t0 = sweep * i / n, t1 = sweep * (i + 1) / n;
    float u0 = repeat * i / n, u1 = repeat * (i + 1) / n;
    for (int j = 0; j < m; ++j) {
      float y0 = j * h / m - h / 2, y1 = (j + 1) * h / m - h / 2;
      float v0 = vBottom - ((float)j / m) * (vBottom - vTop);
      float v1 = vBottom - ((float)(j + 1) / m) * (vBottom - vTop);
      V3 b0(a / 2 * cosf(t0), y0, b / 2 * sinf(t0)), b1(a / 2 * cosf(t1), y0, b / 2 * sinf(t1));
      V3 top0(c / 2 * cosf(t0), y1, d / 2 * sinf(t0)), top1(c / 2 * cosf(t1), y1, d / 2 * sinf(t1));
      V2 ub0(u0, v0), ub1(u1, v0), ut0(u0, v1), ut1(u1, v1);
      if (winding) {
        AddTriangle(b0, top1, b1, ub0, ut1, ub1, texture);
        AddTriangle(top1, b0, top0, ut1, ub0, ut0, texture);
      } else {
        AddTriangle(b0, b1, top1, ub0, ub1, ut1, texture);
        AddTriangle(top1, top0, b0, ut1, ut0, ub0, texture);
      }
    }
  }
  if (bottomCap) {
    MoveVertices(0, h / 2, 0);
    AddRing(bottomTexture ? bottomTexture : texture, a, b, 0, 0, sweep, n, winding, skipped, 0);
    MoveVertices(0, -h / 2, 0);
  }
  if (topCap) {
    MoveVertices(0, -h / 2, 0);
    AddRing(topTexture ? topTexture : texture, c, d, 0, 0, sweep, n, !winding, skipped, 0);
    MoveVertices(0, h / 2, 0);
  }
  EndBuild(autoUpdate);
  return true;
}

bool SDxShape::AddTube(SDxTexture* texture, float ow, float od, float iw, float id, float h,
                       float sweep, int n, float repeat, float vTop, float vBottom, bool bottomCap,
                       bool topCap, bool sides, const SArray<SDxTexture*>* textures, int m,
                       int skipped) {
  if (ow < 0 || od < 0 || iw < 0 || id < 0 || h < 0 || sweep < 0 || n < 2 || skipped < 0 ||
      skipped >= n) {
    return false;
  }
  // Each part takes the next texture of the list while it has one.
  int next = 0;
  auto take = [&](bool useUp) {
    if (!textures || next >= textures->GetCount()) return texture;
    SDxTexture* t = (*textures)[next];
    if (useUp) ++next;
    return t;
  };
  bool autoUpdate = m_autoUpdate;
  m_autoUpdate = false;
  AddCylinder(take(true), ow, od, ow, od, h, sweep, false, n, repeat, vTop, vBottom, false, false,
              nullptr, nullptr, m, skipped);
  AddCylinder(take(true), iw, id, iw, id, h, sweep, true, n, repeat, vTop, vBottom, false, false,
              nullptr, nullptr, m, skipped);
  if (sides && sweep != DX_2PI) {
    SDxTexture* ends = take(true);
    BeginBuild(ends);
    float rowHeight = m > 0 ? h / m : h;
    float end = sweep * (n - skipped) / n;
    auto at = [](float w, float dd, float t, float y) {
      return V3(w / 2 * cosf(t), y, dd / 2 * sinf(t));
    };
    // The start end spans the first row, the far end the last row.
    float y0 = -h / 2, y1 = -h / 2 + rowHeight, y2 = h / 2 - rowHeight, y3 = h / 2;
    AddTriangle(at(iw, id, 0, y0), at(ow, od, 0, y0), at(iw, id, 0, y1), V2(0, 1), V2(1, 1),
                V2(0, 0), ends);
    AddTriangle(at(iw, id, 0, y1), at(ow, od, 0, y0), at(ow, od, 0, y1), V2(0, 0), V2(1, 1),
                V2(1, 0), ends);
    AddTriangle(at(ow, od, end, y2), at(iw, id, end, y2), at(ow, od, end, y3), V2(0, 1), V2(1, 1),
                V2(0, 0), ends);
    AddTriangle(at(ow, od, end, y3), at(iw, id, end, y2), at(iw, id, end, y3), V2(0, 0), V2(1, 1),
                V2(1, 0), ends);
  }
  MoveVertices(0, -h / 2, 0);
  if (topCap) AddRing(take(true), ow, od, iw, id, sweep, n, true, skipped, 0);
  MoveVertices(0, h, 0);
  if (bottomCap) AddRing(take(false), ow, od, iw, id, sweep, n, false, skipped, 0);
  MoveVertices(0, -h / 2, 0);
  EndBuild(autoUpdate);
  return true;
}
