// The viewpoint: a transform item whose forward and up axes give the view
// matrix, with a perspective projection, a shake of its look direction and
// a world-to-screen projection in hundredths of the screen. Cameras belong
// to the engine (SDx::CreateCamera); one of them is current.
#pragma once

#include "core/Platform.h"
#include "engine/SDxMotion.h"

class SDxCamera : public SDxMotion {
public:
  explicit SDxCamera(SDx* engine);
  ~SDxCamera() override;

  // The motion's update, then the direction view, view and view-projection.
  void Update(int flags) override;
  // Sets the device's view and projection transforms (and the engine's).
  void Apply();
  // The camera's part of a frame: Apply, so that the frame is drawn
  // through the camera as it stands.
  void Render(SDxShader* shader) override;
  // The shake, once a frame while it runs.
  void Step() override;

  void SetFieldOfView(float radians);
  void SetFarPlane(float distance);
  // Projection and view-projection; the device's projection transform.
  // Nothing without a device.
  void UpdateProjection();
  // An end amplitude of -1 keeps the start amplitude; with returns the last
  // quarter steers the look direction back to where it was.
  void StartShake(float amplitude, float duration, float endAmplitude, bool returns);
  void StopShake();
  bool IsShaking() const { return m_shakeActive; }
  // The point in hundredths of the screen (the sprites' and texts' units).
  void WorldToScreen(const D3DXVECTOR3& point, float* x, float* y) const;

  // Random offsets of the shake in [-amplitude, amplitude]; rand() unless
  // a test sets it.
  static float (*s_random)(float amplitude);

  float m_fieldOfView;
  float m_aspect;
  float m_nearPlane, m_farPlane;
  D3DXMATRIX m_projection;
  D3DXMATRIX m_viewProjection;
  D3DXMATRIX m_view;
  D3DXMATRIX m_directionView;
  bool m_shakeActive;
  float m_shakeStart;
  float m_shakeFrom, m_shakeTo;
  float m_shakeDuration;
  bool m_shakeReturns;
  D3DXVECTOR3 m_savedDirection;
  D3DXVECTOR3 m_targetDirection;
};
