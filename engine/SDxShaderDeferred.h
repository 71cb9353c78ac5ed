// The deferred point light: one light volume drawn over the G-buffer, adding
// a half-Lambert light with linear fall-off to every pixel it covers except
// those of the light's own object.
#pragma once

#include "core/Platform.h"
#include "engine/SDxShader.h"

class SDxShaderDeferred : public SDxShader {
public:
  explicit SDxShaderDeferred(SDx* engine);
  ~SDxShaderDeferred() override;

  // "g_view" = inverse of the engine's view.
  void SetFrameParameters() override;

  // Draws one light volume inside a pass of the effect: the volume (the
  // triangle list of the bound stream, triangleCount triangles of a unit
  // box) scaled by twice the radius, turned by the yaw and pitch of the
  // direction from the light to the camera and moved to the light;
  // "g_lightPosition" = (position, 1), "g_lightColor" = (color, 1),
  // "g_lightRange", "g_idObjSkipped" = the light's object id (0 for none).
  // Nothing without an effect.
  void DrawLight(const D3DXVECTOR3& position, float volumeRadius, const D3DXVECTOR3& color,
                 float range, int skippedId, int triangleCount);

  SDxEffect::Handle m_view;
  SDxEffect::Handle m_world;
  SDxEffect::Handle m_lightAmbientMin;
  SDxEffect::Handle m_lightPosition;
  SDxEffect::Handle m_lightColor;
  SDxEffect::Handle m_lightRange;
  SDxEffect::Handle m_idObjSkipped;

protected:
  void BindHandles(SDxEffect* effect) override;
};
