// Particle systems: short-lived points (atoms) emitted from a position,
// moved in straight lines, faded over their lifetime and drawn in one draw
// call as Direct3D point sprites. SDxParticle is the emitter with its
// parameters; SDxParticlePoint owns the atoms and a dynamic vertex buffer.
// Made by SDxLayer::AddParticle, stepped by the layer's update and drawn by
// its ordered pass (or its overlay pass when the overlay flag is set).
//
// Atoms are pooled: the pool owns every atom ever made and only grows (up
// to the capacity); the live list holds the atoms alive now in birth order.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "engine/SDxLayerItem.h"

#include <d3dx9.h>

class SDxShader;
class SDxTexture;

class SDxParticle : public SDxLayerItem {
public:
  SDxParticle(SDxLayer* layer, int kind);
  ~SDxParticle() override;

  // The per-frame update (the layer's step runs it).
  virtual void Update() = 0;
  void Step() override { Update(); }
  // Draws the atoms; here: whether the system is visible.
  virtual bool Render(SDxShader* shader);
  // Here only D3DRS_ZENABLE: by the depth-test flag when on, USEW when off.
  virtual void SetRenderStates(bool on);
  // Drops every atom and stops.
  virtual void Reset() = 0;
  bool GetOrderPosition(D3DXVECTOR3* position) const override;

  // Emits from the position (when given) for runTime seconds (<= 0:
  // unlimited), at once or delay seconds of game time later; shown.
  void Start(const D3DXVECTOR3* position, float runTime, float delay);
  // Stops emitting; living atoms run out.
  void Stop() { m_activeEmission = false; }
  bool IsEmitting() const { return m_activeEmission; }
  bool IsVisible() const { return !m_hidden; }
  void SetPosition(const D3DXVECTOR3& position);
  void SetPositionXYZ(float x, float y, float z);
  // Null minimum: (-1, -1, -1); null maximum: (1, 1, 1).
  void SetVectorRange(const D3DXVECTOR3* minimum, const D3DXVECTOR3* maximum);
  void SetSpeed(float speed) { m_speed = speed; }
  void SetLifetime(float lifetime) { m_lifetime = lifetime; }
  void SetEmissionRate(float minimum, float maximum);
  void SetFallSpeed(float fallSpeed) { m_fallSpeed = fallSpeed; }
  void SetAlpha(float alpha) { m_alphaFactor = alpha; }
  void SetDepthTest(bool depthTest) { m_depthTest = depthTest; }
  // Drawn by the layer's overlay pass instead of its ordered pass.
  void SetOverlay(bool overlay) { m_overlay = overlay; }

  int m_capacity;
  float m_alphaFactor;
  bool m_depthTest;
  float m_fallSpeed;
  D3DXVECTOR3 m_directionMin, m_directionMax;
  float m_speed;
  float m_rateMin, m_rateMax;
  float m_lifetime;
  D3DXVECTOR3 m_position;
  float m_pendingStart;  // game clock of a delayed start, 0 for none
  bool m_activeEmission;
  float m_runTime;  // <= 0: unlimited
  float m_startTime;
  bool m_overlay;
};

class SDxParticlePoint : public SDxParticle {
public:
  struct _SAtom {
    SDxParticlePoint* owner;
    bool alive;
    float birth;
    float lifetime;
    D3DXCOLOR color, startColor, endColor;
    D3DXVECTOR3 position;
    D3DXVECTOR3 direction;  // not normalised
    float speed;
  };
  // The vertex: position and colour, FVF XYZ | DIFFUSE.
  struct _SVertex {
    float x, y, z;
    D3DCOLOR color;
  };
  enum { FVF = D3DFVF_XYZ | D3DFVF_DIFFUSE };

  explicit SDxParticlePoint(SDxLayer* layer);
  // Deletes the pool, releases the vertex buffer.
  ~SDxParticlePoint() override;

  // Ages, moves and fades the atoms, drops the dead, emits (see the
  // source) and writes the vertices of the living atoms.
  void Update() override;
  // With live atoms, a texture, a vertex buffer and not hidden: one point
  // list draw; true when drawn.
  bool Render(SDxShader* shader) override;
  void SetRenderStates(bool on) override;
  void Reset() override;
  void ForgetTexture(SDxTexture* texture) override;

  // The vertex buffer for n atoms; false when one exists or it cannot be
  // made (the capacity stays).
  bool SetCapacity(int n);
  void SetTexture(SDxTexture* texture) { m_texture = texture; }
  void SetPointSize(float size) { m_pointSize = size; }
  void SetParameters(float r1, float g1, float b1, float a1, float r2, float g2, float b2, float a2,
                     bool randomColor, bool fadeColor);
  int GetAtomCount() const { return m_live.GetCount(); }
  const _SAtom* GetAtom(int index) const { return m_live[index]; }
  // The vertices written by the last update.
  int GetWrittenCount() const { return m_written; }

  SDxTexture* m_texture;
  IDirect3DVertexBuffer9* m_vertexBuffer;
  float m_pointSize;
  float m_maxPointSize;
  D3DXCOLOR m_colorA, m_colorB;
  bool m_randomColor, m_fadeColor;
  SArray<_SAtom*> m_pool;  // owned
  SArray<_SAtom*> m_live;  // not owned, birth order
  float m_remainder;
  int m_written;

private:
  // Emits k atoms now.
  void Emit(int k);
  // One vertex per live atom; a failed lock writes nothing.
  void WriteVertices();
};
