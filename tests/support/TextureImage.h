// An image file decoded as the engine decodes its textures: by Direct3D's
// image library on a device, the top level as 32-bit ARGB pixels (alpha 255
// where the file has none), into an SImage.
#pragma once

#include "core/Platform.h"
#include "core/SFileMem.h"
#include "core/SImage.h"

#include <d3dx9.h>
#include <stdint.h>
#include <string.h>

#include <vector>

inline bool DecodeAsTexture(IDirect3DDevice9* device, SFileMem& bytes, SImage* image) {
  D3DXIMAGE_INFO info;
  if (!device || FAILED(D3DXGetImageInfoFromFileInMemory(bytes.GetBuffer(), (UINT)bytes.GetSize(),
                                                         &info)))
    return false;
  IDirect3DSurface9* surface = nullptr;
  if (FAILED(device->CreateOffscreenPlainSurface(info.Width, info.Height, D3DFMT_A8R8G8B8,
                                                 D3DPOOL_SCRATCH, &surface, nullptr)))
    return false;
  std::vector<uint32_t> pixels((size_t)info.Width * info.Height);
  D3DLOCKED_RECT locked;
  bool decoded =
      SUCCEEDED(D3DXLoadSurfaceFromFileInMemory(surface, nullptr, nullptr, bytes.GetBuffer(),
                                                (UINT)bytes.GetSize(), nullptr, D3DX_FILTER_NONE,
                                                0, nullptr)) &&
      SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY));
  if (decoded) {
    for (UINT y = 0; y < info.Height; ++y)
      memcpy(&pixels[(size_t)y * info.Width], (const uint8_t*)locked.pBits + y * locked.Pitch,
             info.Width * 4);
    surface->UnlockRect();
  }
  surface->Release();
  return decoded && image->CreateFromPixels(pixels.data(), (int)info.Width, (int)info.Height);
}
