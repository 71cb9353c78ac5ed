#include "core/Platform.h"
#include "engine/SDxObject.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"

bool SDxPickQuery::Offer(SDxObject* object, const D3DXVECTOR3& worldPoint, int face, float u,
                         float v, uint8_t faceFlag) {
  D3DXVECTOR3 d = worldPoint - origin;
  float squared = D3DXVec3LengthSq(&d);
  if (squared < minDistance || squared > maxDistance) return false;
  if (hitSquaredDistance >= 0.0f && squared >= hitSquaredDistance) return false;
  float length = D3DXVec3Length(&direction);
  hitObject = object;
  hitFaceFlag = faceFlag;
  hitParameter = length > 0.0f ? D3DXVec3Dot(&d, &direction) / length : 0.0f;
  hitSquaredDistance = squared;
  hitFace = face;
  hitU = u;
  hitV = v;
  return true;
}

SDxObject::SDxObject(SDxLayer* layer, int kind)
    : SDxMotion(nullptr, layer, kind),
      m_owner(nullptr),
      m_pickMask(0),
      m_depthSorted(false),
      m_targetMask(0),
      m_decalsEnabled(false),
      m_decalBuffer(nullptr),
      m_decalTriangles(0),
      m_decalTexture(nullptr) {
  m_contactFlags[0] = false;
  m_contactFlags[1] = true;
}

SDxObject::~SDxObject() {
  ReleaseDecals();
  m_decals.FreeBuffer();
}

void SDxObject::Update(int flags) {
  SDxMotion::Update(flags);
  if (m_layer && (m_depthSorted || m_kind == KIND_BLOB)) m_layer->m_orderDirty = true;
}

void SDxObject::Render(SDxShader* shader) {
  if (!m_hidden) SDxMotion::Render(shader);
}

void SDxObject::Release() {
  ReleaseDecals();
  m_decalsEnabled = false;
}

const D3DMATERIAL9* SDxObject::GetMaterial() const { return nullptr; }

void SDxObject::SetDepthSorted(bool sorted) {
  if (sorted == m_depthSorted) return;
  m_depthSorted = sorted;
  if (m_layer) m_layer->UpdateDepthSorting(this);
}

void SDxObject::SetDecalsEnabled(bool enabled) {
  m_decalsEnabled = enabled && (m_kind == KIND_MESH || m_kind == KIND_SHAPE);
}

bool SDxObject::PassesPickFilter(const SDxPickQuery& query) const {
  const D3DXVECTOR3& d = query.direction;
  if (d.x == 0.0f && d.y == 0.0f && d.z == 0.0f) return false;
  if (m_owner ? !query.acceptOwned : !query.acceptUnowned) return false;
  if (this == query.excludedObject) return false;
  if (query.excludedEntity && m_owner == query.excludedEntity) return false;
  if (m_hidden && !query.includeHidden) return false;
  if (query.requiredKind != 0 && query.requiredKind != m_kind) return false;
  if (query.requiredMask == 0) return true;
  return m_pickMask != 0 && (m_pickMask & query.requiredMask) == m_pickMask;
}

bool SDxObject::RayToLocal(const SDxPickQuery& query, D3DXVECTOR3* origin,
                           D3DXVECTOR3* direction) const {
  D3DXMATRIX inverse;
  if (!D3DXMatrixInverse(&inverse, nullptr, &m_world)) return false;
  D3DXVECTOR3 end = query.origin + query.direction;
  D3DXVec3TransformCoord(origin, &query.origin, &inverse);
  D3DXVec3TransformCoord(&end, &end, &inverse);
  *direction = end - *origin;
  return true;
}

bool SDxObject::BeginPick(const SDxPickQuery& query, D3DXVECTOR3* origin,
                          D3DXVECTOR3* direction) const {
  if (!PassesPickFilter(query) || !RayToLocal(query, origin, direction)) return false;
  // The local ray against the local box (an empty box lets every ray on).
  return m_box.min.x > m_box.max.x || RayHitsBox(*origin, *direction, m_box, FLT_MAX, nullptr);
}

bool SDxObject::OfferTriangle(SDxPickQuery* query, const D3DXVECTOR3& origin,
                              const D3DXVECTOR3& direction, const D3DXVECTOR3* corners[3],
                              int face, uint8_t flag) {
  float u = 0.0f, w = 0.0f, t = 0.0f;
  if (!D3DXIntersectTri(corners[0], corners[1], corners[2], &origin, &direction, &u, &w, &t) ||
      t < 0.0f) {
    return false;
  }
  D3DXVECTOR3 local = origin + direction * t, world;
  D3DXVec3TransformCoord(&world, &local, &m_world);
  return query->Offer(this, world, face, u, w, flag);
}

bool SDxObject::PickTriangles(SDxPickQuery* query, const SDxVertex* vertices, int triangleCount,
                              const uint16_t* indices) {
  D3DXVECTOR3 origin, direction;
  if (!query || !vertices || !BeginPick(*query, &origin, &direction)) return false;
  bool recorded = false;
  for (int face = 0; face < triangleCount; ++face) {
    const D3DXVECTOR3* corners[3];
    for (int k = 0; k < 3; ++k) {
      corners[k] = &vertices[indices ? indices[3 * face + k] : 3 * face + k].position;
    }
    recorded |= OfferTriangle(query, origin, direction, corners, face, 0);
  }
  return recorded;
}
