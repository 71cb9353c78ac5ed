// The contact scan of object entities.
#include "core/Platform.h"
#include "engine/SDxEntity.h"

#include "engine/SDxGeometry.h"
#include "engine/SDxObject.h"
#include "engine/SDxShape.h"

#include <float.h>
#include <math.h>

namespace {

// The filters of the scan: both contact flags (unless ignored), visible
// (unless hidden objects count), and a box to measure.
bool TakesPart(const SDxObject* object, const SDxContactQuery& query) {
  if (!query.ignoreContactFlags && !(object->m_contactFlags[0] && object->m_contactFlags[1])) {
    return false;
  }
  if (!query.includeHidden && !object->IsVisible()) return false;
  const SDxBox& box = object->GetBox();
  return box.min.x <= box.max.x;
}

// The distance at which the ray (unit direction) meets the object through
// its pick operation, or -1.
float CastRay(SDxObject* object, const D3DXVECTOR3& origin, const D3DXVECTOR3& direction) {
  SDxPickQuery pick;
  pick.origin = origin;
  pick.direction = direction;
  pick.includeHidden = true;  // the scan's own filter has decided
  object->Pick(&pick);
  return pick.hitObject == object ? sqrtf(pick.hitSquaredDistance) : -1.0f;
}

// The rays cast at a mesh, in order: along each world axis through the
// sphere around the own object, then back along the last move and forward
// against it (only after a move). A ray qualifies when it hits closer than
// its reach.
struct ContactRay {
  D3DXVECTOR3 offset;  // the origin: the own position + offset x radius
  D3DXVECTOR3 axis;    // the direction when not along the move
  int alongMove;       // 0: the axis; 1: the move's back direction; -1: its opposite
  float radiusReach;   // reach: radiusReach x radius + moveReach x moved
  float moveReach;
};

const ContactRay kMeshRays[] = {
    {D3DXVECTOR3(-1, 0, 0), D3DXVECTOR3(1, 0, 0), 0, 2.0f, 0.0f},
    {D3DXVECTOR3(0, -1, 0), D3DXVECTOR3(0, 1, 0), 0, 2.0f, 0.0f},
    {D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(0, 0, 1), 0, 2.0f, 0.0f},
    {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 0), 1, 0.0f, 1.0f},
    {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 0), -1, 1.0f, 0.0f},
};

// Bounds of an object's world box made from its local box's centre and half
// size through the world matrix, widened by a margin for rounding: objects
// whose bounds do not meet cannot pass the test of the exact world boxes,
// and the bounds cost no corner transforms. A matrix that is not affine
// gives unbounded bounds.
struct RoughBounds {
  const SDxObject* object;
  bool affine;
  D3DXVECTOR3 center, half;
  float min[3], max[3];

  explicit RoughBounds(const SDxObject* o) : object(o) {
    const SDxBox& box = o->GetBox();
    const D3DXMATRIX& m = o->GetWorldMatrix();
    affine = m._14 == 0.0f && m._24 == 0.0f && m._34 == 0.0f && m._44 == 1.0f;
    center = box.GetCenter();
    half = (box.max - box.min) * 0.5f;
  }
  // The bounds along world axis j.
  void Axis(int j, float* low, float* high) const {
    const D3DXMATRIX& m = object->GetWorldMatrix();
    float x = center.x * m.m[0][j], y = center.y * m.m[1][j], z = center.z * m.m[2][j];
    float c = x + y + z + m.m[3][j];
    float e = fabsf(half.x * m.m[0][j]) + fabsf(half.y * m.m[1][j]) + fabsf(half.z * m.m[2][j]);
    // The margin grows with the largest terms summed, whatever cancels.
    float size = fabsf(x) + fabsf(y) + fabsf(z) + fabsf(m.m[3][j]) + e;
    float reach = affine ? e + size * 1e-5f + 1e-6f : FLT_MAX;
    *low = c - reach;
    *high = c + reach;
  }
  void Measure() {
    for (int j = 0; j < 3; ++j) Axis(j, &min[j], &max[j]);
  }
  // Against the measured bounds of another object, axis by axis.
  bool Meets(const RoughBounds& measured) const {
    for (int j = 0; j < 3; ++j) {
      float low, high;
      Axis(j, &low, &high);
      if (low > measured.max[j] || measured.min[j] > high) return false;
    }
    return true;
  }
};

}  // namespace

bool SDxEntityObj::Collide(SDxContactQuery* query) {
  if (!query) return false;
  SArray<SDxObject*>* own = query->ownObjects ? query->ownObjects : &m_objects;
  SArray<SDxObject*>* others = query->otherObjects;
  if (!others || others->GetCount() == 0 || own->GetCount() == 0) return false;
  // The last move of the main object: its length and the direction back.
  D3DXVECTOR3 back(0, 0, 0);
  float moved = 0.0f;
  if (SDxObject* main = GetMainObject()) {
    D3DXVECTOR3 d = m_lastPosition - main->GetPosition();
    moved = D3DXVec3Length(&d);
    D3DXVec3Normalize(&back, &d);
  }
  for (int i = 0; i < own->GetCount(); ++i) {
    SDxObject* o = (*own)[i];
    if (!TakesPart(o, *query)) continue;
    RoughBounds ownBounds(o);
    ownBounds.Measure();
    // The exact boxes of the own object are made once a candidate needs them.
    bool measured = false;
    SDxBox ownBox, otherBox;
    SDxOrientedBox ownOriented, otherOriented;
    float radius = 0.0f;
    for (int j = 0; j < others->GetCount(); ++j) {
      SDxObject* p = (*others)[j];
      if (p == o || p->m_owner == this || !TakesPart(p, *query)) continue;
      if (!RoughBounds(p).Meets(ownBounds)) continue;
      if (!measured) {
        o->GetWorldBox(&ownBox);
        o->GetOrientedBox(&ownOriented);
        radius = o->GetBoundingRadius();
        measured = true;
      }
      p->GetWorldBox(&otherBox);
      if (!BoxesOverlapAxisAligned(ownBox, otherBox)) continue;
      p->GetOrientedBox(&otherOriented);
      if (!BoxesOverlap(ownOriented, otherOriented)) continue;
      query->hitObject = p;
      query->hitEntity = p->m_owner;
      if (!Touches(query, o, p, radius, back, moved)) continue;
      if (!query->notify) return true;
      if (!OnContact(query)) return false;
    }
  }
  return false;
}

bool SDxEntityObj::Touches(SDxContactQuery* query, SDxObject* own, SDxObject* other, float radius,
                           const D3DXVECTOR3& back, float moved) {
  const D3DXVECTOR3& position = own->GetPosition();
  if (other->m_kind == SDxLayerItem::KIND_MESH) {
    for (const ContactRay& ray : kMeshRays) {
      if (ray.alongMove != 0 && moved == 0.0f) break;
      D3DXVECTOR3 direction = ray.alongMove == 0 ? ray.axis : back * (float)ray.alongMove;
      D3DXVECTOR3 origin = position + ray.offset * radius;
      float distance = CastRay(other, origin, direction);
      if (distance < 0.0f || distance >= ray.radiusReach * radius + ray.moveReach * moved) {
        continue;
      }
      query->contactPoint = origin + direction * distance;
      return true;
    }
    return false;
  }
  if (other->m_kind == SDxLayerItem::KIND_SHAPE) {
    SDxShape* shape = static_cast<SDxShape*>(other);
    for (int k = 0; k < shape->GetPolygonCount(); ++k) {
      SDxTriangle triangle = shape->GetPolygon(k)->positions;
      triangle.Transform(other->GetWorldMatrix());
      if (SphereOverlapsTriangle(triangle, position, radius, &query->contactPoint, nullptr)) {
        query->faceIndex = k;
        return true;
      }
    }
    return false;
  }
  query->contactPoint = m_lastPosition;
  return true;
}
