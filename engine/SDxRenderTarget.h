// One render target of the engine: a texture in the default pool and its
// level-0 surface.
#pragma once

#include "core/Platform.h"

#include <d3d9.h>

struct SDxRenderTarget {
  IDirect3DTexture9* texture;
  IDirect3DSurface9* surface;
  bool quarter;              // a quarter of the back buffer in each dimension
  SDxRenderTarget* partner;  // the ping-pong partner, or null
};
