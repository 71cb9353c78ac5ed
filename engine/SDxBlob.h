// A flat textured picture in the 3D scene: drawn inside the engine's D3DX
// sprite batch (its states) as a quad in object space, sized in world units, animated through the
// frames of a texture sheet, optionally turned toward the camera about one
// or two axes, and picked as a rectangle of two triangles. Made by
// SDxLayer::AddBlob; always in the layer's ordered list, drawn back to
// front by SDxLayer::RenderBlob.
#pragma once

#include "core/Platform.h"
#include "engine/SDxObject.h"

#include <d3dx9.h>

class SDxTexture;

class SDxBlob : public SDxObject {
public:
  explicit SDxBlob(SDxLayer* layer);
  // Reset.
  ~SDxBlob() override;

  // The motion's update, the layer's order dirty, the sprite matrix again.
  void Update(int flags) override;
  // Inside the layer's object-space sprite batch: the animation step, the
  // camera-facing turn and the current frame.
  void Render(SDxShader* shader) override;
  int GetFaceCount() override { return 2; }
  // The rectangle at the blob's position in its z plane (not turned).
  bool Pick(SDxPickQuery* query) override;
  // The release: no texture, size 0, one frame, speed 10, facing the
  // camera about both axes, stopped.
  void Release() override { Reset(); }
  void Reset();
  // Keeps the size: one frame of 0 x 0 without a texture.
  void ForgetTexture(SDxTexture* texture) override;

  // The sheet: columns and rows at least 1, a negative count takes every
  // cell; the frame rewinds (the animation does not start). The pivot is
  // the frame's centre when centred.
  void SetTexture(SDxTexture* texture, int columns, int rows, int frameCount, bool centred);
  // In world units; negative values become 0.
  void SetSize(float width, float height);
  void SetSpeed(float framesPerSecond) { m_speed = framesPerSecond; }
  void SetLooping(bool looping) { m_looping = looping; }
  void SetBillboard(bool first, bool second);
  // From frame 0, running and shown.
  void ResetAnimation();
  bool IsPlaying() const { return m_running && m_frame < m_frameCount; }
  // The frame's source rectangle; false outside the table.
  bool GetFrameRect(int frame, RECT* rect) const;

  SDxTexture* m_texture;
  float m_width, m_height;
  SDxTriangle m_pickTriangles[2];
  int m_columns, m_rows, m_frameCount;
  float m_scaleX, m_scaleY;
  int m_frameWidth, m_frameHeight;
  RECT* m_frames;  // owned; null below two frames
  bool m_looping;
  float m_speed;
  bool m_faceFirst, m_faceSecond;
  D3DXMATRIX m_spriteMatrix;
  D3DXVECTOR3 m_pivot;
  int m_frame;
  float m_frameTime;
  bool m_running;

private:
  struct _SVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
  };
  enum { FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1 };

  void BuildSpriteMatrix();
  // The frame's rectangle of the texture as a quad about the pivot.
  void DrawFrame(const RECT& rect);
};
