#include "core/Platform.h"
#include "engine/SDxShaderGBuffer.h"

#include "engine/SDx.h"
#include "engine/SDxShaderBinding.h"
#include "engine/SDxTexture.h"

namespace {

const SDxHandleRow<SDxShaderGBuffer> kHandles[] = {
    {&SDxShaderGBuffer::m_view, "g_view"},
    {&SDxShaderGBuffer::m_world, "g_world"},
    {&SDxShaderGBuffer::m_worldAmbientColor, "g_worldAmbientColor"},
    {&SDxShaderGBuffer::m_lightDirection, "g_lightDirection"},
    {&SDxShaderGBuffer::m_lightColor, "g_lightColor"},
    {&SDxShaderGBuffer::m_ambientColor, "g_ambientColor"},
    {&SDxShaderGBuffer::m_diffuseColor, "g_diffuseColor"},
    {&SDxShaderGBuffer::m_specularColor, "g_specularColor"},
    {&SDxShaderGBuffer::m_hasColorMap, "g_hasColorMap"},
    {&SDxShaderGBuffer::m_hasNormalMap, "g_hasNormalMap"},
    {&SDxShaderGBuffer::m_glossiness, "g_glossiness"},
    {&SDxShaderGBuffer::m_brightness, "g_brightness"},
    {&SDxShaderGBuffer::m_contrast, "g_contrast"},
    {&SDxShaderGBuffer::m_idObj, "g_idObj"},
};

D3DXVECTOR4 ToVector(const D3DCOLORVALUE& c) { return D3DXVECTOR4(c.r, c.g, c.b, c.a); }

}  // namespace

SDxShaderGBuffer::SDxShaderGBuffer(SDx* engine) : SDxShader(engine) { BindHandles(nullptr); }

SDxShaderGBuffer::~SDxShaderGBuffer() { ReleaseInstancing(); }

void SDxShaderGBuffer::BindHandles(SDxEffect* effect) {
  BindHandleTable(this, kHandles, effect);
  m_instanced = effect ? effect->GetTechniqueByName("Instanced") : nullptr;
}

void SDxShaderGBuffer::Release() {
  ReleaseInstancing();
  SDxShader::Release();
}

void SDxShaderGBuffer::ReleaseInstancing() {
  if (m_instances) m_instances->Release();
  m_instances = nullptr;
  m_instanceCapacity = 0;
  if (m_instancedDeclaration) m_instancedDeclaration->Release();
  m_instancedDeclaration = nullptr;
}

bool SDxShaderGBuffer::DrawInstances(ID3DXMesh* geometry, const D3DXMATRIX* const* worlds,
                                     const int* objectIds, int count) {
  IDirect3DVertexShader9* shader = m_effect ? m_effect->GetVertexShader(m_instanced, 0) : nullptr;
  if (!shader || !m_device || !geometry || count <= 0 || !m_effect->IsInPass()) return false;
  // Every face in subset 0, so that one draw of the whole index range is
  // the subset's draw.
  DWORD faces = geometry->GetNumFaces();
  DWORD* attributes = nullptr;
  if (FAILED(geometry->LockAttributeBuffer(D3DLOCK_READONLY, &attributes)) || !attributes) {
    return false;
  }
  bool single = true;
  for (DWORD f = 0; f < faces && single; ++f) single = attributes[f] == 0;
  geometry->UnlockAttributeBuffer();
  if (!single || faces == 0) return false;

  D3DVERTEXELEMENT9 elements[MAX_FVF_DECL_SIZE];
  if (FAILED(geometry->GetDeclaration(elements))) return false;
  int used = 0;
  while (used < MAX_FVF_DECL_SIZE && elements[used].Stream != 0xFF) ++used;
  if (used + 8 >= MAX_FVF_DECL_SIZE) return false;
  size_t size = sizeof(D3DVERTEXELEMENT9) * (used + 1);
  if (!m_instancedDeclaration || memcmp(m_declaredFor, elements, size) != 0) {
    if (m_instancedDeclaration) m_instancedDeclaration->Release();
    m_instancedDeclaration = nullptr;
    D3DVERTEXELEMENT9 combined[MAX_FVF_DECL_SIZE];
    memcpy(combined, elements, sizeof(D3DVERTEXELEMENT9) * used);
    for (int i = 0; i < 8; ++i) {
      combined[used + i] = {1, (WORD)(16 * i), D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT,
                            D3DDECLUSAGE_TEXCOORD, (BYTE)(i + 1)};
    }
    combined[used + 8] = D3DDECL_END();
    if (FAILED(m_device->CreateVertexDeclaration(combined, &m_instancedDeclaration))) {
      m_instancedDeclaration = nullptr;
      return false;
    }
    memcpy(m_declaredFor, elements, size);
  }
  if (count > m_instanceCapacity) {
    if (m_instances) m_instances->Release();
    m_instances = nullptr;
    m_instanceCapacity = 0;
    int capacity = count < 256 ? 256 : count;
    if (FAILED(m_device->CreateVertexBuffer(capacity * sizeof(_SInstance),
                                            D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                            D3DPOOL_DEFAULT, &m_instances, nullptr))) {
      m_instances = nullptr;
      return false;
    }
    m_instanceCapacity = capacity;
  }
  _SInstance* out = nullptr;
  if (FAILED(m_instances->Lock(0, count * sizeof(_SInstance), (void**)&out, D3DLOCK_DISCARD)) ||
      !out) {
    return false;
  }
  for (int i = 0; i < count; ++i) {
    // The registers of column-packed matrices: register k holds column k.
    D3DXMATRIX wvp = *worlds[i] * m_engine->m_viewProjection;
    for (int k = 0; k < 4; ++k) {
      for (int r = 0; r < 4; ++r) out[i].registers[k][r] = wvp.m[r][k];
    }
    for (int k = 0; k < 3; ++k) {
      for (int r = 0; r < 4; ++r) out[i].registers[4 + k][r] = worlds[i]->m[r][k];
    }
    out[i].registers[7][0] = (float)objectIds[i];
    out[i].registers[7][1] = out[i].registers[7][2] = out[i].registers[7][3] = 0.0f;
  }
  m_instances->Unlock();

  IDirect3DVertexBuffer9* vertices = nullptr;
  IDirect3DIndexBuffer9* indices = nullptr;
  bool drawn = false;
  if (SUCCEEDED(geometry->GetVertexBuffer(&vertices)) &&
      SUCCEEDED(geometry->GetIndexBuffer(&indices))) {
    m_device->SetVertexDeclaration(m_instancedDeclaration);
    m_device->SetStreamSource(0, vertices, 0, geometry->GetNumBytesPerVertex());
    m_device->SetStreamSourceFreq(0, D3DSTREAMSOURCE_INDEXEDDATA | (UINT)count);
    m_device->SetStreamSource(1, m_instances, 0, sizeof(_SInstance));
    m_device->SetStreamSourceFreq(1, D3DSTREAMSOURCE_INSTANCEDATA | 1u);
    m_device->SetIndices(indices);
    m_device->SetVertexShader(shader);
    drawn = SUCCEEDED(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0,
                                                     geometry->GetNumVertices(), 0, faces));
    m_device->SetVertexShader(m_effect->GetVertexShader(m_effect->GetCurrentTechnique(), 0));
    m_device->SetStreamSourceFreq(0, 1);
    m_device->SetStreamSourceFreq(1, 1);
    m_device->SetStreamSource(1, nullptr, 0, 0);
  }
  if (vertices) vertices->Release();
  if (indices) indices->Release();
  return drawn;
}

void SDxShaderGBuffer::SetFrameParameters() {
  if (!m_effect) return;
  D3DXMATRIX inverse;
  if (!D3DXMatrixInverse(&inverse, nullptr, &m_engine->m_view)) D3DXMatrixIdentity(&inverse);
  m_effect->SetMatrix(m_view, &inverse);
  D3DXVECTOR4 ambient(m_engine->m_worldAmbient);
  m_effect->SetVector(m_worldAmbientColor, &ambient);
  const D3DXVECTOR3& d = m_engine->m_lightDirection;
  D3DXVECTOR4 direction(d.x, d.y, d.z, 0.0f);
  m_effect->SetVector(m_lightDirection, &direction);
  D3DXVECTOR4 color(m_engine->m_lightColor);
  m_effect->SetVector(m_lightColor, &color);
}

void SDxShaderGBuffer::SetWorld(const D3DXMATRIX& world, int objectId) {
  if (!m_effect) return;
  m_effect->SetMatrix(m_world, &world);
  D3DXMATRIX wvp = world * m_engine->m_viewProjection;
  m_effect->SetMatrix(m_worldViewProj, &wvp);
  m_effect->SetInt(m_idObj, objectId);
}

void SDxShaderGBuffer::SetMaterial(SDxTexture* texture, const D3DMATERIAL9& material) {
  if (!m_effect) return;
  D3DXVECTOR4 ambient = ToVector(material.Ambient), diffuse = ToVector(material.Diffuse);
  D3DXVECTOR4 specular = ToVector(material.Specular);
  m_effect->SetVector(m_ambientColor, &ambient);
  m_effect->SetVector(m_diffuseColor, &diffuse);
  m_effect->SetVector(m_specularColor, &specular);
  IDirect3DTexture9* color = texture ? texture->m_texture : nullptr;
  IDirect3DTexture9* normal =
      texture && texture->m_normalMap ? texture->m_normalMap->m_texture : nullptr;
  m_effect->SetTexture(m_colorTexture, color);
  m_effect->SetTexture(m_normalTexture, normal);
  m_effect->SetBool(m_hasColorMap, color != nullptr);
  m_effect->SetBool(m_hasNormalMap, normal != nullptr);
}
