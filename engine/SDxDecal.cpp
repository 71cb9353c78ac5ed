#include "core/Platform.h"
#include "engine/SDxDecal.h"

#include "engine/SDxMesh.h"
#include "engine/SDxShader.h"
#include "engine/SDxShape.h"

namespace {

const float kHalfDepth = 1.0f;
const int kMaxVertices = 65536;  // 16-bit indices

float PlaneDot(const D3DXPLANE& plane, const D3DXVECTOR3& p) {
  return plane.a * p.x + plane.b * p.y + plane.c * p.z + plane.d;
}

D3DXPLANE Plane(const D3DXVECTOR3& n, float d) { return D3DXPLANE(n.x, n.y, n.z, d); }

}  // namespace

SDxDecal::SDxDecal()
    : m_minimumFacing(0.25f),
      m_texture(nullptr),
      m_value(0.0f),
      m_width(0.0f),
      m_height(0.0f),
      m_surfaceOffset(0.0f),
      m_centre(0, 0, 0),
      m_normal(0, 0, 0),
      m_binormal(0, 0, 0),
      m_tangent(0, 0, 0) {}

SDxDecal::~SDxDecal() {
  DeleteGeometry();
  m_positions.FreeBuffer();
  m_texCoords.FreeBuffer();
  m_triangles.FreeBuffer();
}

void SDxDecal::DeleteGeometry() {
  m_positions.DeleteAndRemoveAll();
  m_texCoords.DeleteAndRemoveAll();
  m_triangles.DeleteAndRemoveAll();
}

void SDxDecal::BuildClipBox(float value, const D3DXVECTOR3& centre, const D3DXVECTOR3& normal,
                            float width, float height, SDxTexture* texture, float surfaceOffset,
                            const D3DXVECTOR3& tangent) {
  DeleteGeometry();
  m_value = value;
  m_centre = centre;
  m_normal = normal;
  m_width = width;
  m_height = height;
  m_texture = texture;
  m_surfaceOffset = surfaceOffset;
  m_tangent = tangent;
  D3DXVec3Cross(&m_binormal, &m_normal, &m_tangent);
  float t = D3DXVec3Dot(&m_tangent, &centre), b = D3DXVec3Dot(&m_binormal, &centre),
        n = D3DXVec3Dot(&m_normal, &centre);
  m_planes[0] = Plane(m_tangent, width / 2 - t);
  m_planes[1] = Plane(-m_tangent, width / 2 + t);
  m_planes[2] = Plane(m_binormal, height / 2 - b);
  m_planes[3] = Plane(-m_binormal, height / 2 + b);
  m_planes[4] = Plane(m_normal, kHalfDepth - n);
  m_planes[5] = Plane(-m_normal, n + kHalfDepth);
}

void SDxDecal::ClipMesh(SDxMesh* mesh) {
  if (!mesh || !mesh->m_geometry) return;
  int faces = mesh->GetFaceCount();
  if ((int)mesh->m_geometry->GetNumVertices() < faces * 3) return;
  const SDxVertex* vertices = nullptr;
  if (FAILED(mesh->m_geometry->LockVertexBuffer(D3DLOCK_READONLY, (void**)&vertices)) ||
      !vertices) {
    return;
  }
  for (int f = 0; f < faces; ++f) {
    ClipTriangle(vertices[3 * f].position, vertices[3 * f + 1].position,
                 vertices[3 * f + 2].position);
  }
  mesh->m_geometry->UnlockVertexBuffer();
}

void SDxDecal::ClipShape(SDxShape* shape) {
  if (!shape) return;
  for (int i = 0; i < shape->GetPolygonCount(); ++i) {
    const D3DXVECTOR3* c = shape->GetPolygon(i)->positions.corners;
    ClipTriangle(c[0], c[2], c[1]);
  }
}

void SDxDecal::ClipTriangle(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
  D3DXVECTOR3 ab = b - a, ac = c - a, n;
  D3DXVec3Cross(&n, &ab, &ac);
  if (!(D3DXVec3Dot(&m_normal, &n) > m_minimumFacing * D3DXVec3Length(&n))) return;
  const D3DXVECTOR3 corners[3] = {a, b, c};
  D3DXVECTOR3 polygon[MAX_CLIPPED];
  int count = ClipPolygon(3, corners, polygon);
  if (count >= 3) AddPolygon(count, polygon);
}

int SDxDecal::ClipPolygon(int count, const D3DXVECTOR3* input, D3DXVECTOR3* output) const {
  D3DXVECTOR3 buffers[2][MAX_CLIPPED];
  for (int i = 0; i < count; ++i) buffers[0][i] = input[i];
  int from = 0;
  for (const D3DXPLANE& plane : m_planes) {
    count = ClipPolygonAgainstPlane(count, buffers[from], plane, buffers[1 - from]);
    from = 1 - from;
    if (count == 0) return 0;
  }
  for (int i = 0; i < count; ++i) output[i] = buffers[from][i];
  return count;
}

int SDxDecal::ClipPolygonAgainstPlane(int count, const D3DXVECTOR3* input, const D3DXPLANE& plane,
                                      D3DXVECTOR3* output) {
  bool outside[MAX_CLIPPED];
  int outsideCount = 0;
  for (int i = 0; i < count; ++i) {
    outside[i] = PlaneDot(plane, input[i]) < 0.0f;
    if (outside[i]) ++outsideCount;
  }
  if (outsideCount == count) return 0;
  int written = 0;
  for (int i = 0; i < count; ++i) {
    int previous = i == 0 ? count - 1 : i - 1;
    if (outside[i] == outside[previous]) {
      if (!outside[i] && written < MAX_CLIPPED) output[written++] = input[i];
      continue;
    }
    // The crossing point between this vertex and its predecessor.
    const D3DXVECTOR3& a = input[i];
    const D3DXVECTOR3& b = input[previous];
    D3DXVECTOR3 ab = a - b;
    float t = PlaneDot(plane, a) / (plane.a * ab.x + plane.b * ab.y + plane.c * ab.z);
    if (written < MAX_CLIPPED) output[written++] = a + (b - a) * t;
    if (!outside[i] && written < MAX_CLIPPED) output[written++] = a;
  }
  return written;
}

bool SDxDecal::AddPolygon(int count, const D3DXVECTOR3* polygon) {
  int base = m_positions.GetCount();
  if (count < 3 || base + count > kMaxVertices) return false;
  for (int i = 2; i < count; ++i) {
    _STriangle* triangle = new _STriangle;
    triangle->index[0] = (uint16_t)base;
    triangle->index[1] = (uint16_t)(base + i - 1);
    triangle->index[2] = (uint16_t)(base + i);
    m_triangles.Add(triangle);
  }
  for (int i = 0; i < count; ++i) m_positions.Add(new D3DXVECTOR3(polygon[i]));
  return true;
}

void SDxDecal::ComputeTexCoords() {
  m_texCoords.DeleteAndRemoveAll();
  for (int i = 0; i < m_positions.GetCount(); ++i) {
    D3DXVECTOR3 d = *m_positions[i] - m_centre;
    float u = m_width != 0.0f ? D3DXVec3Dot(&m_tangent, &d) / m_width + 0.5f : 0.5f;
    float v = m_height != 0.0f ? D3DXVec3Dot(&m_binormal, &d) / m_height + 0.5f : 0.5f;
    m_texCoords.Add(new D3DXVECTOR2(u, v));
  }
}

SDxVertex* SDxDecal::WriteVertices(SDxVertex* output) const {
  bool mapped = m_texCoords.GetCount() == m_positions.GetCount();
  for (int i = 0; i < m_triangles.GetCount(); ++i) {
    const uint16_t* index = m_triangles[i]->index;
    D3DXVECTOR3 p[3] = {*m_positions[index[0]], *m_positions[index[1]], *m_positions[index[2]]};
    D3DXVECTOR3 normal, tangent, binormal;
    TriangleTangentFrame(p[0], p[1], p[2], true, &normal, &tangent, &binormal);
    for (int k = 0; k < 3; ++k) {
      output->position = m_surfaceOffset > 0.0f ? p[k] + normal * m_surfaceOffset : p[k];
      output->uv = mapped ? *m_texCoords[index[k]] : D3DXVECTOR2(0.0f, 0.0f);
      output->normal = normal;
      output->tangent = tangent;
      output->binormal = binormal;
      ++output;
    }
  }
  return output;
}
