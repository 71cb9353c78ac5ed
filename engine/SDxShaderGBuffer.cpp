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

SDxShaderGBuffer::~SDxShaderGBuffer() {}

void SDxShaderGBuffer::BindHandles(SDxEffect* effect) { BindHandleTable(this, kHandles, effect); }

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
