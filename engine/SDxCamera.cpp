#include "core/Platform.h"
#include "engine/SDxCamera.h"

#include "engine/SDx.h"

#include <stdlib.h>

namespace {

float RandomOffset(float amplitude) {
  return amplitude * (2.0f * (float)rand() / (float)RAND_MAX - 1.0f);
}

}  // namespace

float (*SDxCamera::s_random)(float) = RandomOffset;

SDxCamera::SDxCamera(SDx* engine)
    : SDxMotion(engine, nullptr, KIND_CAMERA),
      m_fieldOfView(1.0f),
      m_aspect(engine ? engine->m_config.aspect : 1.7777778f),
      m_nearPlane(1.0f),
      m_farPlane(65535.0f),
      m_shakeActive(false),
      m_shakeStart(0.0f),
      m_shakeFrom(0.0f),
      m_shakeTo(0.0f),
      m_shakeDuration(0.0f),
      m_shakeReturns(false),
      m_savedDirection(0.0f, 0.0f, 0.0f),
      m_targetDirection(0.0f, 0.0f, 1.0f) {
  D3DXMatrixIdentity(&m_viewProjection);
  D3DXMatrixIdentity(&m_view);
  D3DXMatrixIdentity(&m_directionView);
  D3DXMatrixPerspectiveFovLH(&m_projection, m_fieldOfView, m_aspect, m_nearPlane, m_farPlane);
  Update(UPDATE_POSITION | UPDATE_ORIENTATION);
}

SDxCamera::~SDxCamera() {}

void SDxCamera::Update(int flags) {
  SDxMotion::Update(flags);
  D3DXVECTOR3 origin(0, 0, 0), at = m_position + m_forward;
  D3DXMatrixLookAtLH(&m_directionView, &origin, &m_forward, &m_up);
  D3DXMatrixLookAtLH(&m_view, &m_position, &at, &m_up);
  m_viewProjection = m_view * m_projection;
}

void SDxCamera::Apply() {
  if (m_engine) m_engine->SetViewProjection(m_view, m_projection);
}

void SDxCamera::Render(SDxShader*) { Apply(); }

void SDxCamera::SetFieldOfView(float radians) {
  m_fieldOfView = radians;
  UpdateProjection();
}

void SDxCamera::SetFarPlane(float distance) {
  m_farPlane = distance;
  UpdateProjection();
}

void SDxCamera::UpdateProjection() {
  if (!m_device) return;
  D3DXMatrixPerspectiveFovLH(&m_projection, m_fieldOfView, m_aspect, m_nearPlane, m_farPlane);
  m_viewProjection = m_view * m_projection;
  m_device->SetTransform(D3DTS_PROJECTION, &m_projection);
}

void SDxCamera::StartShake(float amplitude, float duration, float endAmplitude, bool returns) {
  m_shakeActive = true;
  m_shakeStart = m_engine ? m_engine->GetTime() : 0.0f;
  m_shakeFrom = amplitude;
  m_shakeTo = endAmplitude == -1.0f ? amplitude : endAmplitude;
  m_shakeReturns = returns;
  m_shakeDuration = duration;
  m_savedDirection = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  m_targetDirection = m_forward;
}

void SDxCamera::StopShake() {
  m_shakeActive = false;
  m_shakeStart = 0.0f;
}

void SDxCamera::Step() {
  if (!m_shakeActive || m_shakeStart == 0.0f || !m_engine) return;
  float p = m_engine->GetProgress(m_shakeStart, m_shakeDuration);
  float amplitude = m_engine->GetElapsedTime() * (m_shakeFrom + p * (m_shakeTo - m_shakeFrom));
  if (!m_shakeReturns || p < 0.75f) {
    m_forward.x += s_random(amplitude);
    m_forward.y += s_random(amplitude);
    m_forward.z += s_random(amplitude);
  } else {
    if (m_savedDirection == D3DXVECTOR3(0.0f, 0.0f, 0.0f)) m_savedDirection = m_forward;
    // Exactly the start direction at the end.
    m_forward = p >= 1.0f ? m_targetDirection
                          : m_savedDirection +
                                (m_targetDirection - m_savedDirection) * ((p - 0.75f) * 4.0f);
  }
  Update(UPDATE_ORIENTATION);
  if (p >= 1.0f) m_shakeActive = false;
}

void SDxCamera::WorldToScreen(const D3DXVECTOR3& point, float* x, float* y) const {
  D3DVIEWPORT9 viewport = {0, 0, 0, 0, 0.0f, 1.0f};
  if (m_engine) {
    viewport.Width = (DWORD)m_engine->m_backBufferWidth;
    viewport.Height = (DWORD)m_engine->m_backBufferHeight;
  }
  D3DXMATRIX world;
  D3DXMatrixIdentity(&world);
  D3DXVECTOR3 projected;
  D3DXVec3Project(&projected, &point, &viewport, &m_projection, &m_view, &world);
  float scaleX = m_engine ? m_engine->m_scaleX : 100.0f;
  float scaleY = m_engine ? m_engine->m_scaleY : 100.0f;
  if (x) *x = viewport.Width ? projected.x / (float)viewport.Width * scaleX : 0.0f;
  if (y) *y = viewport.Height ? projected.y / (float)viewport.Height * scaleY : 0.0f;
}
