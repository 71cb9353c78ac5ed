#include "core/Platform.h"
#include "engine/SDxShaderDefault.h"

#include "engine/SDx.h"
#include "engine/SDxTexture.h"

SDxShaderDefault::SDxShaderDefault(SDx* engine) : SDxShader(engine) { ClearHandles(); }

SDxShaderDefault::~SDxShaderDefault() {}

void SDxShaderDefault::ClearHandles() {
  m_worldAmbientColor = nullptr;
  m_ambientColor = nullptr;
  m_brightness = nullptr;
  m_contrast = nullptr;
  m_hasColorMap = nullptr;
}

void SDxShaderDefault::Release() {
  SDxShader::Release();
  ClearHandles();
}

bool SDxShaderDefault::Create(const char* text) {
  if (!SDxShader::Create(text, true)) return false;
  if (!m_effect) return true;
  m_worldAmbientColor = m_effect->GetParameterByName("g_worldAmbientColor");
  m_ambientColor = m_effect->GetParameterByName("g_ambientColor");
  m_brightness = m_effect->GetParameterByName("g_brightness");
  m_contrast = m_effect->GetParameterByName("g_contrast");
  m_hasColorMap = m_effect->GetParameterByName("g_hasColorMap");
  return true;
}

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
  D3DXVECTOR4 ambient(material.Ambient.r, material.Ambient.g, material.Ambient.b, material.Ambient.a);
  m_effect->SetVector(m_ambientColor, &ambient);
  m_effect->SetTexture(m_colorTexture, texture ? texture->m_texture : nullptr);
  m_effect->SetBool(m_hasColorMap, texture != nullptr);
}
