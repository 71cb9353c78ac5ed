// Ready-made animated effects of a layer. SDxPreset is the base with a
// texture, a vertex buffer and a placement (orientation and translation);
// SDxPresetShockwave is a flat textured ring in the x-z plane that grows
// from nothing to its full radius while it fades out over its duration
// (3 seconds unless a start says otherwise). Made by SDxLayer::AddPreset,
// stepped by the layer's update, drawn by its preset pass while it runs.
#pragma once

#include "core/Platform.h"
#include "engine/SDxLayerItem.h"

#include <d3dx9.h>
#include <stdint.h>

class SDxShader;
class SDxTexture;

class SDxPreset : public SDxLayerItem {
public:
  // Layer item kinds 0x400 (base) and 0x402 (shock wave).
  SDxPreset(SDxLayer* layer, int kind);
  // Releases the vertex buffer.
  ~SDxPreset() override;

  virtual void Update() = 0;
  void Step() override { Update(); }
  // Draws the preset; here: whether it is visible.
  virtual bool Render(SDxShader* shader);
  void ForgetTexture(SDxTexture* texture) override;

  void SetTexture(SDxTexture* texture) { m_texture = texture; }
  // The orientation matrix.
  void SetMatrix(const D3DXMATRIX& matrix) { m_orientation = matrix; }
  void SetPositionVector(const D3DXVECTOR3& position);
  // Starts a run: at the position when given, for the duration unless it is
  // negative (then the previous duration stays).
  virtual void SetPosition(const D3DXVECTOR3* position, float duration);

  SDxTexture* m_texture;
  int m_vertexCount;
  IDirect3DVertexBuffer9* m_vertexBuffer;
  D3DXVECTOR3 m_position;
  D3DXMATRIX m_orientation;
  D3DXMATRIX m_translation;
  uint32_t m_targetMask;  // SDxObject's target bits: drawn into the beam targets
};

class SDxPresetShockwave : public SDxPreset {
public:
  // The vertex: position, colour and texture coordinate.
  struct _SVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
  };
  enum { FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1 };

  explicit SDxPresetShockwave(SDxLayer* layer);

  // The ring of vertexCount / 6 segments (six vertices each; the rest of a
  // count that is no multiple of six is not used). False, changing
  // nothing, below four segments or when the buffer cannot be made.
  bool BuildRing(int vertexCount, float outerRadius, float width);
  // Advances a running wave: it ends once its elapsed time passes the
  // duration; scale and alpha follow the progress.
  void Update() override;
  // White with that alpha on every vertex; false without a buffer.
  bool SetAlpha(int alpha);
  // Hidden or not running: false. Else one triangle list, scaled by the
  // progress in x and z, turned and moved by the placement.
  bool Render(SDxShader* shader) override;
  void SetPosition(const D3DXVECTOR3* position, float duration) override;
  bool IsRunning() const { return m_running; }

  int m_segments;
  float m_outerRadius;
  float m_width;
  float m_duration;
  bool m_running;
  float m_elapsed;
  float m_progress;
  int m_alpha;  // the alpha last written
};
