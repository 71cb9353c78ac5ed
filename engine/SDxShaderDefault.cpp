#include "core/Platform.h"
#include "engine/SDxShaderDefault.h"

#include "engine/SDx.h"
#include "engine/SDxShaderBinding.h"
#include "engine/SDxTexture.h"

namespace {

const SDxHandleRow<SDxShaderDefault> kHandles[] = {
    {&SDxShaderDefault::m_worldAmbientColor, "g_worldAmbientColor"},
    {&SDxShaderDefault::m_ambientColor, "g_ambientColor"},
    {&SDxShaderDefault::m_brightness, "g_brightness"},
    {&SDxShaderDefault::m_contrast, "g_contrast"},
    {&SDxShaderDefault::m_hasColorMap, "g_hasColorMap"},
};

}  // namespace

SDxShaderDefault::SDxShaderDefault(SDx* engine) : SDxShader(engine) { BindHandles(nullptr); }

SDxShaderDefault::~SDxShaderDefault() {}

void SDxShaderDefault::BindHandles(SDxEffect* effect) { BindHandleTable(this, kHandles, effect); }

void SDxShaderDefault::SetFrameParameters() {
  if (!m_effect) return;
  D3DXVECTOR4 ambient(m_engine->m_worldAmbient);
  m_effect->SetVector(m_worldAmbientColor, &ambient);
}

void SDxShaderDefault::SetWorld(const D3DXMATRIX& world, int) {
  if (!m_effect) return;
  D3DXMATRIX wvp = world * m_engine->m_viewProjection;
  m_effect->SetMatrix(m_worldViewProj, &wvp);
}

void SDxShaderDefault::SetMaterial(SDxTexture* texture, const D3DMATERIAL9& material) {
  if (!m_effect) return;
  D3DXVECTOR4 ambient(material.Ambient.r, material.Ambient.g, material.Ambient.b,
                      material.Ambient.a);
  m_effect->SetVector(m_ambientColor, &ambient);
  m_effect->SetTexture(m_colorTexture, texture ? texture->m_texture : nullptr);
  m_effect->SetBool(m_hasColorMap, texture != nullptr);
}
