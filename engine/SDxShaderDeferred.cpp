#include "core/Platform.h"
#include "engine/SDxShaderDeferred.h"

#include "engine/SDx.h"
#include "engine/SDxShaderBinding.h"

#include <math.h>

namespace {

const SDxHandleRow<SDxShaderDeferred> kHandles[] = {
    {&SDxShaderDeferred::m_view, "g_view"},
    {&SDxShaderDeferred::m_world, "g_world"},
    {&SDxShaderDeferred::m_lightAmbientMin, "g_lightAmbientMin"},
    {&SDxShaderDeferred::m_lightPosition, "g_lightPosition"},
    {&SDxShaderDeferred::m_lightColor, "g_lightColor"},
    {&SDxShaderDeferred::m_lightRange, "g_lightRange"},
    {&SDxShaderDeferred::m_idObjSkipped, "g_idObjSkipped"},
};

}  // namespace

SDxShaderDeferred::SDxShaderDeferred(SDx* engine) : SDxShader(engine) { BindHandles(nullptr); }

SDxShaderDeferred::~SDxShaderDeferred() {}

void SDxShaderDeferred::BindHandles(SDxEffect* effect) { BindHandleTable(this, kHandles, effect); }

void SDxShaderDeferred::SetFrameParameters() {
  if (!m_effect) return;
  D3DXMATRIX inverse;
  if (!D3DXMatrixInverse(&inverse, nullptr, &m_engine->m_view)) D3DXMatrixIdentity(&inverse);
  m_effect->SetMatrix(m_view, &inverse);
}

void SDxShaderDeferred::DrawLight(const D3DXVECTOR3& position, float volumeRadius,
                                  const D3DXVECTOR3& color, float range, int skippedId,
                                  int triangleCount) {
  if (!m_effect || !m_device) return;
  D3DXMATRIX inverseView;
  if (!D3DXMatrixInverse(&inverseView, nullptr, &m_engine->m_view))
    D3DXMatrixIdentity(&inverseView);
  D3DXVECTOR3 toCamera(inverseView._41 - position.x, inverseView._42 - position.y,
                       inverseView._43 - position.z);
  float length = D3DXVec3Length(&toCamera);
  float yaw = 0.0f, pitch = 0.0f;
  if (length > 0.0f) {
    yaw = atan2f(toCamera.x, toCamera.z);
    float c = toCamera.y / length;
    pitch = acosf(c < -1.0f ? -1.0f : c > 1.0f ? 1.0f : c) - 1.5707964f;
  }
  D3DXMATRIX scaling, rotation, translation, world;
  D3DXMatrixScaling(&scaling, 2.0f * volumeRadius, 2.0f * volumeRadius, 2.0f * volumeRadius);
  D3DXMatrixRotationYawPitchRoll(&rotation, yaw, pitch, 0.0f);
  D3DXMatrixTranslation(&translation, position.x, position.y, position.z);
  world = scaling * rotation * translation;
  m_effect->SetMatrix(m_world, &world);
  D3DXMATRIX wvp = world * m_engine->m_viewProjection;
  m_effect->SetMatrix(m_worldViewProj, &wvp);
  D3DXVECTOR4 lightPosition(position.x, position.y, position.z, 1.0f);
  m_effect->SetVector(m_lightPosition, &lightPosition);
  D3DXVECTOR4 lightColor(color.x, color.y, color.z, 1.0f);
  m_effect->SetVector(m_lightColor, &lightColor);
  m_effect->SetFloat(m_lightRange, range);
  m_effect->SetInt(m_idObjSkipped, skippedId);
  m_effect->CommitChanges();
  // A pixel gets light only where its surface lies within the range: not
  // outside the screen bounds of the range's sphere (unless that reaches
  // behind the camera).
  RECT area;
  bool bounded = range > 0.0f && m_engine->GetSphereBounds(position, range, &area);
  m_engine->SetScissorArea(bounded ? &area : nullptr);
  m_device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, (UINT)triangleCount);
}
