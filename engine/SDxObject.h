// The drawable, pickable 3D object of a layer: the base of meshes, shapes
// and blobs. On top of the transform it carries its owner entity, a name, a
// pick mask, the hidden and depth-sorted flags that decide how the layer
// files and draws it, the extra render targets it is drawn into and the
// contact flags of the entities' collision test.
//
// Picking: a caller fills an SDxPickQuery and hands it to the Pick
// operation of each object to test; every kind offers its hits through
// SDxPickQuery::Offer, which keeps the nearest, so that a query run over
// objects of several kinds ends with the nearest hit whatever the order.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"
#include "engine/SDxMotion.h"
#include "engine/SDxVertex.h"

#include <float.h>
#include <stdint.h>

class SDxDecal;
class SDxEntity;
class SDxObject;
class SDxTexture;

struct SDxPickQuery {
  D3DXVECTOR3 origin = D3DXVECTOR3(0, 0, 0);
  D3DXVECTOR3 direction = D3DXVECTOR3(0, 0, 0);  // a zero direction matches nothing
  float minDistance = 0.0f;                        // against the squared hit distance
  float maxDistance = FLT_MAX;                     // against the squared hit distance
  bool includeHidden = false;
  int requiredKind = 0;        // nonzero: only objects of this kind word
  uint32_t requiredMask = 0;   // nonzero: pick masks nonzero and inside it
  bool acceptUnowned = true;   // objects without an owner entity take part
  bool acceptOwned = true;     // objects with one take part
  SDxObject* excludedObject = nullptr;
  SDxEntity* excludedEntity = nullptr;
  // Results.
  SDxObject* hitObject = nullptr;
  uint8_t hitFaceFlag = 0;
  float hitParameter = -1.0f;  // along the unit direction
  float hitSquaredDistance = -1.0f;
  int hitFace = -1;
  float hitU = 0.0f, hitV = 0.0f;

  // Records the hit when its squared distance lies within [min, max] and it
  // is nearer than the hit already recorded; returns whether it did.
  bool Offer(SDxObject* object, const D3DXVECTOR3& worldPoint, int face, float u, float v,
             uint8_t faceFlag);
};

class SDxObject : public SDxMotion {
public:
  // The extra render targets: BeamRT and beam target 2.
  enum { TARGET_BEAM = 1, TARGET_BEAM2 = 2 };

  SDxObject(SDxLayer* layer, int kind);
  // Deletes the decals still held.
  ~SDxObject() override;

  // The motion's update; a depth-sorted object or a blob then asks the layer
  // to sort its ordered list again.
  void Update(int flags) override;
  // Nothing when hidden, else the box outline.
  void Render(SDxShader* shader) override;
  virtual int GetFaceCount() = 0;
  // Offers the ray's hits on the object's geometry to the query.
  virtual bool Pick(SDxPickQuery* query) = 0;
  // Releases geometry; the decals are deleted and switch off.
  virtual void Release();
  // The material that the shader's material operation takes with a
  // texture; none here.
  virtual const D3DMATERIAL9* GetMaterial() const;

  bool IsVisible() const { return !m_hidden; }
  // Refiles the object in its layer when the flag changes.
  void SetDepthSorted(bool sorted);
  bool IsDepthSorted() const { return m_depthSorted; }
  // Kept only by meshes and shapes.
  void SetDecalsEnabled(bool enabled);
  // The pick filter: the shared first step of every pick operation.
  bool PassesPickFilter(const SDxPickQuery& query) const;
  // The query's ray in object space (the direction not normalised); false
  // when the world matrix cannot be inverted.
  bool RayToLocal(const SDxPickQuery& query, D3DXVECTOR3* origin, D3DXVECTOR3* direction) const;
  // Offers the hits of the ray on triangles of engine vertices in object
  // space, both sides counting; true when one was recorded. Triangle f has
  // the vertices 3f to 3f + 2, or those that the three indices from 3f
  // name. The ray is first tested against the object's local box. The
  // engine's own triangle loop, for meshes and shapes.
  bool PickTriangles(SDxPickQuery* query, const SDxVertex* vertices, int triangleCount,
                     const uint16_t* indices = nullptr);

  // The pick filter, the ray in object space and the test against the
  // local box: false when the object cannot be hit.
  bool BeginPick(const SDxPickQuery& query, D3DXVECTOR3* origin, D3DXVECTOR3* direction) const;
  // The object-space ray against one triangle (both sides); a hit is
  // offered to the query.
  bool OfferTriangle(SDxPickQuery* query, const D3DXVECTOR3& origin, const D3DXVECTOR3& direction,
                     const D3DXVECTOR3* corners[3], int face, uint8_t flag);

  // --- decals (SDxObjectDecals.cpp) ------------------------------------------------
  // Places one decal of width x height on the face at the world point,
  // turned about the face's normal by the angle; surfaceOffset lifts its
  // vertices off the surface. Refused (false, nothing changes) when decals
  // are off, without a texture, for a face out of range, within the
  // spacing of another decal's centre (0: no spacing), on a failed read of
  // the geometry or when nothing of the object lies in the decal's box.
  bool AddDecal(int face, const D3DXVECTOR3& point, float width, float height,
                SDxTexture* texture, float angle, float spacing, float surfaceOffset);
  // Deletes every decal and the decal buffer; the shared texture goes.
  void ReleaseDecals();
  // The decal buffer again from every decal in order; false when it cannot
  // be made (the decals stay, none is drawn).
  bool RebuildDecalBuffer();
  // Visible, with a decal buffer and given the engine's G-buffer shader:
  // one draw with a shared texture, else one per decal; z-writes off.
  void RenderDecals(SDxShader* shader);
  int GetDecalCount() const { return m_decals.GetCount(); }
  SDxDecal* GetDecal(int index) const { return m_decals[index]; }

  SDxEntity* m_owner;
  SString m_name;
  uint32_t m_pickMask;
  bool m_depthSorted;
  uint32_t m_targetMask;
  bool m_contactFlags[2];
  bool m_decalsEnabled;
  SArray<SDxDecal*> m_decals;                // owned, in order of placement
  IDirect3DVertexBuffer9* m_decalBuffer;     // every decal's triangles, or none
  int m_decalTriangles;                      // in the decal buffer
  SDxTexture* m_decalTexture;                // shared by every decal, or none
};
