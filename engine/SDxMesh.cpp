#include "core/Platform.h"
#include "engine/SDxMesh.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxShader.h"
#include "engine/SDxTexture.h"

#include <initializer_list>

SDxMesh* SDxLayer::AddMesh() {
  SDxMesh* mesh = new SDxMesh(this);
  return FileItem(mesh) ? mesh : nullptr;
}

void SDxLayer::RemoveInstancesOf(SDxMesh* master) {
  for (int list : {LIST_MESHES, LIST_ORDERED}) {
    for (int i = 0; i < GetCount(list); ++i) {
      SDxLayerItem* item = GetItem(list, i);
      if (item->m_kind != SDxLayerItem::KIND_MESH) continue;
      if (static_cast<SDxMesh*>(item)->m_source != master) continue;
      RemoveObject(static_cast<SDxObject*>(item));
      --i;  // the next item moved into this slot
    }
  }
}

SDxMesh::SDxMesh(SDxLayer* layer)
    : SDxObject(layer, KIND_MESH),
      m_source(nullptr),
      m_geometry(nullptr),
      m_materialCount(0),
      m_materials(nullptr),
      m_textures(nullptr),
      m_ownTextures(nullptr) {
  Release();
}

SDxMesh::~SDxMesh() { Release(); }

void SDxMesh::Release() {
  if (!m_source) {
    delete[] m_materials;
    for (int i = 0; m_ownTextures && i < m_materialCount; ++i) {
      if (m_ownTextures[i] && m_engine) m_engine->RemoveTexture(m_ownTextures[i]);
    }
    delete[] m_ownTextures;
    if (m_geometry) m_geometry->Release();
  }
  delete[] m_textures;
  m_materials = nullptr;
  m_ownTextures = nullptr;
  m_textures = nullptr;
  m_geometry = nullptr;
  m_source = nullptr;
  m_materialCount = 0;
  m_box.min = m_box.max = D3DXVECTOR3(0, 0, 0);
  SDxObject::Release();
}

const D3DMATERIAL9* SDxMesh::GetMaterial() const {
  return m_materialCount > 0 ? &m_materials[0] : nullptr;
}

void SDxMesh::ForgetTexture(SDxTexture* texture) {
  for (int i = 0; i < m_materialCount; ++i) {
    if (m_textures[i] == texture) m_textures[i] = nullptr;
    if (m_ownTextures && m_ownTextures[i] == texture) m_ownTextures[i] = nullptr;
  }
}

int SDxMesh::GetFaceCount() { return m_geometry ? (int)m_geometry->GetNumFaces() : 0; }

// --- instances -----------------------------------------------------------------------

SDxMesh* SDxMesh::CreateInstance(SDxMesh* source, SDxLayer* layer) {
  if (!source || !source->m_geometry) return nullptr;
  SDxMesh* master = source->m_source ? source->m_source : source;
  if (!layer) layer = source->m_layer;
  SDxMesh* instance = layer ? layer->AddMesh() : nullptr;
  if (instance && !instance->CopyFrom(master)) {
    layer->RemoveItem(instance);
    return nullptr;
  }
  return instance;
}

bool SDxMesh::CopyFrom(SDxMesh* source) {
  if (m_source || m_geometry || !source || !source->m_geometry) return false;
  m_source = source->m_source ? source->m_source : source;
  m_geometry = source->m_geometry;
  m_materialCount = source->m_materialCount;
  m_materials = source->m_materials;
  m_textures = new SDxTexture*[m_materialCount];
  for (int i = 0; i < m_materialCount; ++i) m_textures[i] = source->m_textures[i];
  m_box = source->m_box;
  BuildOutline();
  return true;
}

bool SDxMesh::SetMaterialTexture(int index, SDxTexture* texture) {
  if (index < -1 || index >= m_materialCount) return false;
  for (int i = 0; i < m_materialCount; ++i) {
    if (index == -1 || index == i) m_textures[i] = texture;
  }
  return true;
}

void SDxMesh::SetSpecularColor(float r, float g, float b) {
  for (int i = 0; i < m_materialCount; ++i) {
    m_materials[i].Specular.r = r;
    m_materials[i].Specular.g = g;
    m_materials[i].Specular.b = b;
  }
}

// --- vertices ----------------------------------------------------------------------------

SDxVertex* SDxMesh::LockVertices(int* count) {
  void* data = nullptr;
  if (!m_geometry || FAILED(m_geometry->LockVertexBuffer(0, &data))) data = nullptr;
  if (count) *count = data ? (int)m_geometry->GetNumVertices() : 0;
  return (SDxVertex*)data;
}

void SDxMesh::UnlockVertices(SDxVertex* vertices) {
  if (!vertices || !m_geometry) return;
  m_box.Reset();
  int count = (int)m_geometry->GetNumVertices();
  for (int i = 0; i < count; ++i) m_box.Grow(vertices[i].position);
  m_geometry->UnlockVertexBuffer();
  BuildOutline();
}

void SDxMesh::TransformVertices(const D3DXMATRIX& matrix) {
  int count = 0;
  SDxVertex* vertices = LockVertices(&count);
  for (int i = 0; i < count; ++i) {
    D3DXVec3TransformCoord(&vertices[i].position, &vertices[i].position, &matrix);
  }
  UnlockVertices(vertices);
}

void SDxMesh::RotateVertices(float x, float y, float z) {
  D3DXMATRIX rotation;
  D3DXMatrixRotationYawPitchRoll(&rotation, y, x, z);
  TransformVertices(rotation);
}

void SDxMesh::ComputeBounds() {
  m_box.min = m_box.max = D3DXVECTOR3(0, 0, 0);
  void* data = nullptr;
  if (m_geometry && m_geometry->GetNumVertices() > 0 &&
      SUCCEEDED(m_geometry->LockVertexBuffer(D3DLOCK_READONLY, &data))) {
    const SDxVertex* vertices = (const SDxVertex*)data;
    m_box.Reset();
    for (DWORD i = 0; i < m_geometry->GetNumVertices(); ++i) m_box.Grow(vertices[i].position);
    m_geometry->UnlockVertexBuffer();
  }
  BuildOutline();
}

// --- drawing and picking ----------------------------------------------------------------

void SDxMesh::DrawSubset(SDxShader* shader, int subset) {
  SDxTexture* texture = m_textures[subset];
  if (texture && m_engine) m_engine->SetBlendMode(texture);
  shader->SetMaterial(texture, m_materials[subset]);
  if (shader->m_effect) shader->m_effect->CommitChanges();
  m_geometry->DrawSubset((DWORD)subset);
  if (m_engine) m_engine->ResetBlendMode();
}

void SDxMesh::Render(SDxShader* shader) {
  if (m_hidden || !m_geometry || !shader) return;
  SDxEffect* effect = shader->m_effect;
  UINT passes = 0;
  bool begun = effect && effect->Begin(&passes, 0);
  bool inPass = begun && effect->BeginPass(0);
  shader->SetWorld(m_world, m_sequence);
  for (int pass = 0; pass < (m_depthSorted ? 2 : 1); ++pass) {
    for (int i = 0; i < m_materialCount; ++i) {
      bool opaque = m_materials[i].Diffuse.a >= 1.0f && m_materials[i].Ambient.a >= 1.0f;
      if (!m_depthSorted || opaque == (pass == 0)) DrawSubset(shader, i);
    }
  }
  if (inPass) effect->EndPass();
  if (begun) effect->End();
  if (!m_hidden) SDxObject::Render(shader);
}

bool SDxMesh::Pick(SDxPickQuery* query) {
  if (!m_geometry || !query || !PassesPickFilter(*query)) return false;
  void* vertices = nullptr;
  void* indices = nullptr;
  if (FAILED(m_geometry->LockVertexBuffer(D3DLOCK_READONLY, &vertices))) return false;
  bool hit = false;
  if (SUCCEEDED(m_geometry->LockIndexBuffer(D3DLOCK_READONLY, &indices))) {
    hit = PickTriangles(query, (const SDxVertex*)vertices, (int)m_geometry->GetNumFaces(),
                        (const uint16_t*)indices);
    m_geometry->UnlockIndexBuffer();
  }
  m_geometry->UnlockVertexBuffer();
  return hit;
}
