// Loading a mesh file: the .X block through D3DX, the materials with their
// textures, and the geometry rebuilt in engine vertices with a flat frame
// per face.
#include "core/Platform.h"
#include "engine/SDxMesh.h"

#include "core/SFileMem.h"
#include "engine/SDx.h"
#include "engine/SDxShader.h"
#include "engine/SDxShape.h"
#include "engine/SDxTexture.h"

#include <float.h>

namespace {

const char kMagic[24] = "VANDRO DX3DMESH 1.0.0.0";  // with its NUL: 24 bytes
const int kHeaderSize = 28;                          // magic and X end
const DWORD kOptions = D3DXMESH_SYSTEMMEM;

// The position and texture coordinate of the loaded vertices.
const D3DVERTEXELEMENT9 kLoadVertex[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
};
struct LoadVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR2 uv;
};

uint32_t ReadWord(const uint8_t* p) {
  return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

// The first embedded record of that name (letter case ignored): its bytes
// and size. Records that run past the section end the search.
const uint8_t* FindRecord(const uint8_t* section, int size, const char* name, int* length) {
  int at = 0;
  while (at + 4 <= size) {
    uint32_t bytes = ReadWord(section + at);
    if (bytes == 0) break;
    at += 4;
    const uint8_t* end = (const uint8_t*)memchr(section + at, 0, (size_t)(size - at));
    if (!end) break;
    const char* recordName = (const char*)section + at;
    at = (int)(end - section) + 1;
    if (bytes > (uint32_t)(size - at)) break;
    if (_stricmp(recordName, name) == 0) {
      *length = (int)bytes;
      return section + at;
    }
    at += (int)bytes;
  }
  return nullptr;
}

template <class T>
void ReleaseInterface(T** p) {
  if (*p) (*p)->Release();
  *p = nullptr;
}

}  // namespace

bool SDxMesh::LoadFromMemory(SFile* file, int size, const char* folder, bool embedded) {
  if (!file) return false;
  Release();
  if (size < 0) size = file->GetRemaining();
  if (size <= 0 || size > file->GetRemaining() || !m_device) return false;
  SFileMem bytes;
  bytes.Allocate(size);
  if (file->Read(bytes.GetBuffer(), size) != size) return false;
  const uint8_t* data = bytes.GetBuffer();
  const uint8_t* xData = data;
  int xSize = size;
  const uint8_t* section = nullptr;
  int sectionSize = 0;
  if (size >= 27 && memcmp(data, kMagic, sizeof(kMagic)) == 0) {
    // The offset is bounded by the file before the blocks are used.
    uint32_t xEnd = size >= kHeaderSize ? ReadWord(data + 24) : 0;
    if (xEnd < (uint32_t)kHeaderSize || xEnd > (uint32_t)size) return false;
    xData = data + kHeaderSize;
    xSize = (int)xEnd - kHeaderSize;
    section = data + xEnd;
    sectionSize = size - (int)xEnd;
  }
  ID3DXMesh* loaded = nullptr;
  ID3DXBuffer* materials = nullptr;
  DWORD count = 0;
  if (FAILED(D3DXLoadMeshFromXInMemory(xData, (DWORD)xSize, kOptions, m_device, nullptr,
                                       &materials, nullptr, &count, &loaded)) ||
      !loaded || !materials || count == 0) {
    ReleaseInterface(&loaded);
    ReleaseInterface(&materials);
    return false;
  }
  ID3DXMesh* clone = nullptr;
  HRESULT hr = loaded->CloneMesh(kOptions, kLoadVertex, m_device, &clone);
  loaded->Release();
  m_materialCount = (int)count;
  bool ok = SUCCEEDED(hr) &&
            LoadMaterials((const D3DXMATERIAL*)materials->GetBufferPointer(),
                          embedded ? section : nullptr, sectionSize, embedded ? folder : nullptr);
  materials->Release();
  ok = ok && BuildGeometry(clone);
  ReleaseInterface(&clone);
  if (!ok) {
    Release();
    return false;
  }
  ComputeBounds();
  return true;
}

bool SDxMesh::LoadMaterials(const D3DXMATERIAL* list, const uint8_t* section, int sectionSize,
                            const char* folder) {
  m_materials = new D3DMATERIAL9[m_materialCount];
  m_textures = new SDxTexture*[m_materialCount];
  m_ownTextures = new SDxTexture*[m_materialCount];
  for (int i = 0; i < m_materialCount; ++i) {
    m_materials[i] = list[i].MatD3D;
    m_materials[i].Ambient = m_materials[i].Diffuse;
    m_textures[i] = m_ownTextures[i] = nullptr;
    const char* name = list[i].pTextureFilename;
    if (!name || !name[0]) continue;
    m_materials[i] = m_engine->m_defaultMaterial;
    int length = 0;
    const uint8_t* record = section ? FindRecord(section, sectionSize, name, &length) : nullptr;
    if (record) {
      SFileMem texture;
      texture.Allocate(length);
      memcpy(texture.GetBuffer(), record, (size_t)length);
      m_textures[i] = m_ownTextures[i] = m_engine->CreateTexture(&texture, -1, name, 0);
    }
    if (folder) {
      SFileMem texture;
      SString path = SString(folder) + name;
      if (texture.LoadFile(path.GetText())) {
        SDxTexture* loaded = m_engine->CreateTexture(&texture, -1, name, 0);
        if (loaded && m_ownTextures[i]) m_engine->RemoveTexture(m_ownTextures[i]);
        if (loaded) m_textures[i] = m_ownTextures[i] = loaded;
      }
    }
    if (!section && !folder) m_textures[i] = m_engine->FindTexture(name);
  }
  return true;
}

bool SDxMesh::BuildGeometry(ID3DXMesh* source) {
  if (!source) return false;
  DWORD faces = source->GetNumFaces();
  // 16-bit indices: three vertices per face must stay below 65536.
  if (faces == 0 || faces * 3 > 0xFFFF) return false;
  ID3DXMesh* mesh = nullptr;
  if (FAILED(D3DXCreateMesh(faces, faces * 3, kOptions, SDxVertex::GetDeclaration(), m_device,
                            &mesh))) {
    return false;
  }
  bool wide = (source->GetOptions() & D3DXMESH_32BIT) != 0;
  void *inVertices = nullptr, *inIndices = nullptr, *outVertices = nullptr, *outIndices = nullptr;
  DWORD *inAttributes = nullptr, *outAttributes = nullptr;
  bool locked = SUCCEEDED(source->LockVertexBuffer(D3DLOCK_READONLY, &inVertices)) &&
                SUCCEEDED(source->LockIndexBuffer(D3DLOCK_READONLY, &inIndices)) &&
                SUCCEEDED(source->LockAttributeBuffer(D3DLOCK_READONLY, &inAttributes)) &&
                SUCCEEDED(mesh->LockVertexBuffer(0, &outVertices)) &&
                SUCCEEDED(mesh->LockIndexBuffer(0, &outIndices)) &&
                SUCCEEDED(mesh->LockAttributeBuffer(0, &outAttributes));
  bool ok = locked;
  DWORD vertexCount = source->GetNumVertices();
  for (DWORD f = 0; ok && f < faces; ++f) {
    D3DXVECTOR3 corners[3];
    D3DXVECTOR2 uvs[3];
    for (int k = 0; k < 3; ++k) {
      DWORD index = wide ? ((const uint32_t*)inIndices)[3 * f + k]
                         : ((const uint16_t*)inIndices)[3 * f + k];
      if (index >= vertexCount) {
        ok = false;
        break;
      }
      corners[k] = ((const LoadVertex*)inVertices)[index].position;
      uvs[k] = ((const LoadVertex*)inVertices)[index].uv;
    }
    if (!ok) break;
    D3DXVECTOR3 normal, tangent, binormal;
    TriangleTangentFrame(corners[0], corners[1], corners[2], true, &normal, &tangent, &binormal);
    for (int k = 0; k < 3; ++k) {
      SDxVertex& v = ((SDxVertex*)outVertices)[3 * f + k];
      v.position = corners[k];
      v.uv = uvs[k];
      v.normal = normal;
      v.binormal = binormal;
      v.tangent = tangent;
      ((uint16_t*)outIndices)[3 * f + k] = (uint16_t)(3 * f + k);
    }
    outAttributes[f] = inAttributes[f] < (DWORD)m_materialCount ? inAttributes[f] : 0;
  }
  if (outAttributes) mesh->UnlockAttributeBuffer();
  if (outIndices) mesh->UnlockIndexBuffer();
  if (outVertices) mesh->UnlockVertexBuffer();
  if (inAttributes) source->UnlockAttributeBuffer();
  if (inIndices) source->UnlockIndexBuffer();
  if (inVertices) source->UnlockVertexBuffer();
  DWORD* adjacency = ok ? new DWORD[faces * 3] : nullptr;
  ok = ok && SUCCEEDED(mesh->GenerateAdjacency(FLT_EPSILON, adjacency)) &&
       SUCCEEDED(mesh->OptimizeInplace(D3DXMESHOPT_ATTRSORT, adjacency, nullptr, nullptr,
                                       nullptr));
  delete[] adjacency;
  if (!ok) {
    mesh->Release();
    return false;
  }
  m_geometry = mesh;
  return true;
}

bool SDxMesh::CreateFromShape(SDxShape* shape) {
  if (!shape || shape->GetPolygonCount() == 0) return false;
  Release();
  int count = shape->GetPolygonCount();
  ID3DXMesh* mesh = nullptr;
  if (!m_device || count * 3 > 0xFFFF ||
      FAILED(D3DXCreateMesh((DWORD)count, (DWORD)count * 3, kOptions, SDxVertex::GetDeclaration(),
                            m_device, &mesh))) {
    return false;
  }
  // One subset per distinct texture, in the order of first appearance.
  SArray<SDxTexture*> textures;
  if (shape->m_sharedTexture) textures.Add(shape->m_sharedTexture);
  void *vertices = nullptr, *indices = nullptr;
  DWORD* attributes = nullptr;
  bool ok = SUCCEEDED(mesh->LockVertexBuffer(0, &vertices)) &&
            SUCCEEDED(mesh->LockAttributeBuffer(0, &attributes));
  for (int i = 0; ok && i < count; ++i) {
    const SDxPoly* polygon = shape->GetPolygon(i);
    SDx::BuildTriangle((SDxVertex*)vertices + 3 * i, polygon->positions.corners,
                       polygon->uvs.uv, false);
    int subset = 0;
    if (!shape->m_sharedTexture) {
      subset = textures.Find(polygon->texture);
      if (subset < 0) subset = textures.Add(polygon->texture);
    }
    attributes[i] = (DWORD)subset;
  }
  if (attributes) mesh->UnlockAttributeBuffer();
  if (vertices) mesh->UnlockVertexBuffer();
  ok = ok && SUCCEEDED(mesh->LockIndexBuffer(0, &indices));
  for (int i = 0; ok && i < 3 * count; ++i) ((uint16_t*)indices)[i] = (uint16_t)i;
  if (indices) mesh->UnlockIndexBuffer();
  DWORD* adjacency = ok ? new DWORD[3 * count] : nullptr;
  ok = ok && SUCCEEDED(mesh->GenerateAdjacency(FLT_EPSILON, adjacency)) &&
       SUCCEEDED(mesh->OptimizeInplace(D3DXMESHOPT_ATTRSORT, adjacency, nullptr, nullptr,
                                       nullptr));
  delete[] adjacency;
  if (!ok || textures.GetCount() == 0) {
    mesh->Release();
    textures.FreeBuffer();
    return false;
  }
  m_geometry = mesh;
  m_materialCount = textures.GetCount();
  m_materials = new D3DMATERIAL9[m_materialCount];
  m_textures = new SDxTexture*[m_materialCount];
  m_ownTextures = new SDxTexture*[m_materialCount];
  for (int i = 0; i < m_materialCount; ++i) {
    m_materials[i] = shape->m_material;
    m_textures[i] = textures[i];
    m_ownTextures[i] = nullptr;
  }
  textures.FreeBuffer();
  ComputeBounds();
  return true;
}
