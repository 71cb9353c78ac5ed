// A scene object of triangles built in code: rings, boxes, pyramids,
// spheres, cylinders and tubes, or single triangles, drawn from a vertex
// buffer of its own (three engine vertices per triangle, corners 0, 2, 1),
// picked per triangle and convertible into a mesh. Made by
// SDxLayer::AddShape.
//
// While the auto-update flag is set every change of the triangles rebuilds
// the vertex buffer; a builder rebuilds once at its end. The shape-wide
// texture is the one texture of all triangles: a builder on an empty shape
// sets it, a builder with another texture clears it.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "engine/SDxObject.h"

#include <stdint.h>

class SDxMesh;
class SDxTexture;

// One triangle of a shape.
struct SDxPoly {
  SDxTriangle positions;
  SDxTriangleUV uvs;
  SDxTexture* texture;  // not owned
  uint8_t flag;         // the pick query's hit flag; builders set 1

  SDxPoly();
};

class SDxShape : public SDxObject {
public:
  // The faces of AddBox and AddPyramid, in the order of their flags.
  enum { FACE_FRONT, FACE_BACK, FACE_LEFT, FACE_RIGHT, FACE_TOP, FACE_BOTTOM, FACE_COUNT };

  explicit SDxShape(SDxLayer* layer);
  ~SDxShape() override;

  // The vertex buffer from the triangles, and the local box; false without
  // triangles or when the buffer cannot be made.
  void Rebuild() override;
  // Not hidden and with a vertex buffer: Draw, then the object's own.
  void Render(SDxShader* shader) override;
  int GetFaceCount() override { return GetPolygonCount(); }
  // The nearest triangle hit, with the triangle's flag.
  bool Pick(SDxPickQuery* query) override;
  // Material back to white, no texture, no triangles, no buffer.
  void Release() override;
  const D3DMATERIAL9* GetMaterial() const override { return &m_material; }
  void ForgetTexture(SDxTexture* texture) override;

  // The triangles with their textures (one draw with a shape-wide one).
  void Draw(SDxShader* shader);
  SDxPoly* AddPolygon(const SDxTriangle* positions, const SDxTriangleUV* uvs,
                      SDxTexture* texture, uint8_t flag);
  SDxPoly* GetPolygon(int index) const;
  int GetPolygonCount() const { return m_polygons.GetCount(); }
  // yaw y, pitch x, roll z.
  void RotateVertices(float x, float y, float z);
  void MoveVertices(float dx, float dy, float dz);
  // The triangles of that texture lose it; returns how many.
  int ClearTexture(SDxTexture* texture);
  // The texture of the whole shape (null: each triangle's own).
  void SetTexture(SDxTexture* texture) { m_sharedTexture = texture; }
  // A mesh of the triangles on the layer (the shape's when null), or null.
  SDxMesh* CreateMesh(SDxLayer* layer);
  // The triangles go, the vertex buffer stays; false without a buffer.
  bool Clear();

  // --- builders: false, adding nothing, when a parameter is refused -----------------
  // A flat ring (or disc, inner sizes 0) in the plane y = 0 over the sweep,
  // k of n segments left out at its end.
  bool AddRing(SDxTexture* texture, float outerWidth, float outerDepth, float innerWidth,
               float innerDepth, float sweep, int segments, bool winding, int skipped,
               float textureAngle);
  // A box around the origin; faces by flag, textures per face from the
  // list when given; inward for a room or a light volume.
  bool AddBox(SDxTexture* texture, const SArray<SDxTexture*>* faceTextures, float width,
              float height, float depth, bool inward, float repeat, const bool faces[6]);
  // A pyramid standing on y = 0, cut at its top when topValue is not 0.
  bool AddPyramid(SDxTexture* texture, const SArray<SDxTexture*>* faceTextures, float width,
                  float height, float depth, float topValue, bool skip, float repeat,
                  const bool faces[6]);
  bool AddSphere(SDxTexture* upperTexture, SDxTexture* lowerTexture, float width, float height,
                 float depth, bool upper, bool lower, bool winding, int segments, int rings);
  bool AddCylinder(SDxTexture* texture, float bottomWidth, float bottomDepth, float topWidth,
                   float topDepth, float height, float sweep, bool winding, int segments,
                   float repeat, float vTop, float vBottom, bool bottomCap, bool topCap,
                   SDxTexture* bottomTexture, SDxTexture* topTexture, int rows, int skipped);
  bool AddTube(SDxTexture* texture, float outerWidth, float outerDepth, float innerWidth,
               float innerDepth, float height, float sweep, int segments, float repeat,
               float vTop, float vBottom, bool bottomCap, bool topCap, bool sides,
               const SArray<SDxTexture*>* textures, int rows, int skipped);

  D3DMATERIAL9 m_material;
  SArray<SDxPoly*> m_polygons;
  int m_triangleCount;
  IDirect3DVertexBuffer9* m_vertexBuffer;
  SDxTexture* m_sharedTexture;

private:
  // The shape-wide texture rule, then auto-update off; returns the flag.
  bool BeginBuild(SDxTexture* texture);
  // The flag back, and one rebuild when it is set.
  void EndBuild(bool autoUpdate);
  // One triangle with flag 1.
  void AddTriangle(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c,
                   const D3DXVECTOR2& ua, const D3DXVECTOR2& ub, const D3DXVECTOR2& uc,
                   SDxTexture* texture);
  void DeletePolygons();
};
