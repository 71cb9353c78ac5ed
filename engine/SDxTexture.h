// The engine's texture object: a Direct3D texture and, optionally, a second
// texture object holding its normal map. The engine owns its textures;
// shaders and scene items only point to them.
#pragma once

#include "core/Platform.h"

#include <d3d9.h>

class SDx;

class SDxTexture {
public:
  explicit SDxTexture(SDx* engine);
  ~SDxTexture();

  // Deletes the normal map and releases the Direct3D texture.
  void Release();

  SDx* m_engine;
  IDirect3DTexture9* m_texture;  // none until loaded
  SDxTexture* m_normalMap;       // owned, or none

private:
  SDxTexture(const SDxTexture&) = delete;
  SDxTexture& operator=(const SDxTexture&) = delete;
};
