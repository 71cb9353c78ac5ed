// The engine vertex of meshes, shapes, decals, box outlines and the light
// volume: 56 bytes on stream 0, one flat frame per triangle.
#pragma once

#include "core/Platform.h"

#include <d3d9.h>
#include <d3dx9.h>

struct SDxVertex {
  D3DXVECTOR3 position;  // offset 0
  D3DXVECTOR2 uv;        // offset 12
  D3DXVECTOR3 normal;    // offset 20
  D3DXVECTOR3 binormal;  // offset 32
  D3DXVECTOR3 tangent;   // offset 44

  // The vertex declaration's elements, ended by D3DDECL_END.
  static const D3DVERTEXELEMENT9* GetDeclaration();
};

static_assert(sizeof(SDxVertex) == 56, "the engine vertex is 56 bytes");
