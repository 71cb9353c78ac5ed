// The engine's texture object: a Direct3D texture made from the bytes of an
// image file (the formats D3DX reads), with its name, the sizes of the
// texture and of the picture, the blend kind of the items that draw it and,
// optionally, a second texture object holding its normal map. The engine
// owns its textures (SDx::CreateTexture); shaders and scene items only
// point to them. Textures live in the managed pool and survive a reset.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

#include <d3d9.h>

class SDx;
class SFile;
class SImage;

class SDxTexture {
public:
  // Blend kinds.
  enum { BLEND_NONE = 0, BLEND_ALPHA = 1, BLEND_ADDITIVE = 2 };

  explicit SDxTexture(SDx* engine);
  ~SDxTexture();

  // Deletes the normal map, releases the Direct3D texture; name "", sizes,
  // aspect and blend kind 0, draw count 1.
  void Release();
  // count bytes from the file's position (negative: to its end), at most
  // what the file holds. False without an engine, a file or readable bytes;
  // a failed decode leaves no texture but keeps the name, sizes and normal
  // map. The picture's size is the decoded image's (D3DX image info).
  bool LoadFromFile(SFile* file, int count, const char* name, int blendKind);
  // The image encoded as JPEG (below 25 bits per pixel) or PNG, then loaded
  // without a name.
  bool LoadFromImage(const SImage* image);
  // A second texture object from the rest of the file; on failure none.
  bool LoadNormalMap(SFile* file);
  SString GetName() const { return m_name; }

  SDx* m_engine;
  IDirect3DTexture9* m_texture;  // none until loaded
  SString m_name;
  int m_width, m_height;                // level 0 of the texture
  int m_pictureWidth, m_pictureHeight;  // of the decoded image
  float m_aspect;                       // picture width / height
  int m_blendKind;
  int m_drawCount;          // how often blobs and sprites draw it per frame
  SDxTexture* m_normalMap;  // owned, or none

private:
  SDxTexture(const SDxTexture&) = delete;
  SDxTexture& operator=(const SDxTexture&) = delete;
};
