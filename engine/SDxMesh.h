// A scene object drawing a triangle mesh loaded from a mesh file: the master
// mesh owns its geometry, materials and the textures it loaded; instances
// share the master's geometry and materials and keep their own texture per
// subset. Made only by SDxLayer::AddMesh and SDxMesh::CreateInstance.
//
// The mesh file "VANDRO DX3DMESH 1.0.0.0" (unsigned 32-bit little-endian
// integers): the 24-byte magic (23 characters and a NUL), at 24 the offset
// X end of the first byte after the .X block, the .X data from 28 to X end,
// then embedded file records back to back: a size word (0 ends the list),
// the NUL-terminated name and the file's bytes. A file shorter than 27
// bytes or without the whole magic is plain .X data. A material's texture
// file finds the first record of the same name, letter case ignored.
#pragma once

#include "core/Platform.h"
#include "engine/SDxObject.h"

#include <d3dx9.h>

class SFile;
class SDxShape;
class SDxTexture;

class SDxMesh : public SDxObject {
public:
  explicit SDxMesh(SDxLayer* layer);
  // Release.
  ~SDxMesh() override;

  // Not hidden and with geometry: every subset with its texture and
  // material (a depth-sorted mesh: the opaque subsets first), then the
  // object's own drawing.
  void Render(SDxShader* shader) override;
  int GetFaceCount() override;
  // The engine's own triangle loop over the faces, in object space.
  bool Pick(SDxPickQuery* query) override;
  // A master frees its materials, the textures it loaded and its geometry;
  // an instance only its own texture array. Empty afterwards.
  void Release() override;
  // The first material, or none.
  const D3DMATERIAL9* GetMaterial() const override;
  void ForgetTexture(SDxTexture* texture) override;

  // size bytes of a mesh file (negative: the rest of the file); textures
  // from the embedded records and then from folder + name when embedded is
  // set, else from the engine's textures by name. The item is released
  // first; false leaves it empty.
  bool LoadFromMemory(SFile* file, int size, const char* folder, bool embedded);
  // The geometry of the shape's triangles, one subset per distinct texture
  // with the shape's material; false (unchanged) without triangles.
  bool CreateFromShape(SDxShape* shape);
  // A new mesh on the layer (the source's when null) sharing the geometry
  // of the source's master mesh; null when the source has no geometry.
  static SDxMesh* CreateInstance(SDxMesh* source, SDxLayer* layer);
  // Makes this empty item an instance of the source.
  bool CopyFrom(SDxMesh* source);
  // index -1: every subset; only this item's textures change.
  bool SetMaterialTexture(int index, SDxTexture* texture);
  // Of every material, shared by the master and its instances.
  void SetSpecularColor(float r, float g, float b);
  // Every vertex position through the matrix, then the bounds.
  void TransformVertices(const D3DXMATRIX& matrix);
  // yaw y, pitch x, roll z.
  void RotateVertices(float x, float y, float z);
  // The vertex buffer locked for writing, or null; the count of vertices.
  SDxVertex* LockVertices(int* count);
  // With a pointer: the local box from every vertex, then the outline.
  void UnlockVertices(SDxVertex* vertices);
  SString GetName() const { return m_name; }

  SDxMesh* m_source;  // the master of an instance, null for a master
  ID3DXMesh* m_geometry;
  int m_materialCount;
  D3DMATERIAL9* m_materials;   // the master's, shared by its instances
  SDxTexture** m_textures;     // this item's, one per subset
  SDxTexture** m_ownTextures;  // a master's loaded textures, or null entries

private:
  // The materials of the loaded list with their textures; false only when
  // out of memory.
  bool LoadMaterials(const D3DXMATERIAL* list, const uint8_t* section, int sectionSize,
                     const char* folder);
  // The geometry in engine vertices from the loaded mesh; false on failure.
  bool BuildGeometry(ID3DXMesh* loaded);
  // The local box from the vertices, then the outline.
  void ComputeBounds();
  // The subset with its texture's blend mode.
  void DrawSubset(SDxShader* shader, int subset);
};
