// The geometry of one decal: a textured patch laid onto the surface of a
// mesh or shape object. A box of six clip planes around the placement
// point (width along the tangent, height along the binormal, 1.0 each way
// along the normal); the object's triangles that face the decal are clipped
// to the box as polygons, fanned into triangles, mapped onto the texture
// from the box and written as engine vertices into the object's decal
// buffer. Owned by its object (SDxObject::AddDecal).
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "engine/SDxVertex.h"

#include <d3dx9.h>
#include <stdint.h>

class SDxMesh;
class SDxShape;
class SDxTexture;

class SDxDecal {
public:
  struct _STriangle {
    uint16_t index[3];
  };
  // The most vertices a triangle clipped by six planes can have.
  enum { MAX_CLIPPED = 9, PLANE_COUNT = 6 };

  SDxDecal();
  // Deletes every stored vector and triangle.
  virtual ~SDxDecal();

  // Empties the arrays, stores the inputs, derives the binormal (normal x
  // tangent) and the six planes.
  void BuildClipBox(float value, const D3DXVECTOR3& centre, const D3DXVECTOR3& normal, float width,
                    float height, SDxTexture* texture, float surfaceOffset,
                    const D3DXVECTOR3& tangent);
  // The polygons of the object's triangles that face the decal, clipped to
  // the box. A failed lock of the mesh gives none.
  void ClipMesh(SDxMesh* mesh);
  void ClipShape(SDxShape* shape);
  // The facing test and the clipping of one triangle (three corners);
  // a surviving polygon is added.
  void ClipTriangle(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c);
  // The polygon of count vertices in input clipped against planes 1 to 6;
  // returns the count left (0: dropped), the result in output.
  int ClipPolygon(int count, const D3DXVECTOR3* input, D3DXVECTOR3* output) const;
  // One plane: the part of the polygon on the inside; returns its count.
  static int ClipPolygonAgainstPlane(int count, const D3DXVECTOR3* input, const D3DXPLANE& plane,
                                     D3DXVECTOR3* output);
  // Fans the polygon into triangles after the stored vertices. False, adding
  // nothing, when the vertices would pass the 16-bit index range.
  bool AddPolygon(int count, const D3DXVECTOR3* polygon);
  void ComputeTexCoords();
  // Three vertices per triangle with the triangle's flat frame; returns
  // the position after them.
  SDxVertex* WriteVertices(SDxVertex* output) const;

  int GetVertexCount() const { return m_positions.GetCount(); }
  int GetTriangleCount() const { return m_triangles.GetCount(); }
  const D3DXVECTOR3& GetPosition(int i) const { return *m_positions[i]; }
  const D3DXVECTOR2& GetTexCoord(int i) const { return *m_texCoords[i]; }
  SDxTexture* GetTexture() const { return m_texture; }
  const D3DXVECTOR3& GetCentre() const { return m_centre; }

  float m_minimumFacing;
  SDxTexture* m_texture;
  float m_value;
  float m_width, m_height;
  float m_surfaceOffset;
  D3DXVECTOR3 m_centre, m_normal, m_binormal, m_tangent;
  D3DXPLANE m_planes[PLANE_COUNT];
  SArray<D3DXVECTOR3*> m_positions;  // owned
  SArray<D3DXVECTOR2*> m_texCoords;  // owned
  SArray<_STriangle*> m_triangles;   // owned

private:
  SDxDecal(const SDxDecal&) = delete;
  SDxDecal& operator=(const SDxDecal&) = delete;

  void DeleteGeometry();
};
