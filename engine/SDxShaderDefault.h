// The unlit object effect: texture or white, brightness and contrast, tinted
// by the world ambient and the material's ambient colour.
#pragma once

#include "core/Platform.h"
#include "engine/SDxShader.h"

class SDxShaderDefault : public SDxShader {
public:
  explicit SDxShaderDefault(SDx* engine);
  ~SDxShaderDefault() override;

  // "g_worldAmbientColor" = the engine's world ambient colour.
  void SetFrameParameters() override;
  // "g_worldViewProj" = world x the engine's view-projection.
  void SetWorld(const D3DXMATRIX& world, int objectId) override;
  // "g_ambientColor" = the material's ambient colour; "g_colorTexture" =
  // the texture object's texture (none without one); "g_hasColorMap" =
  // a texture object is given.
  void SetMaterial(SDxTexture* texture, const D3DMATERIAL9& material) override;

  SDxEffect::Handle m_worldAmbientColor;
  SDxEffect::Handle m_ambientColor;
  SDxEffect::Handle m_brightness;
  SDxEffect::Handle m_contrast;
  SDxEffect::Handle m_hasColorMap;

protected:
  void BindHandles(SDxEffect* effect) override;
};
