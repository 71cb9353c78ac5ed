#include "core/Platform.h"
#include "engine/SDxTexture.h"

#include "core/SFileMem.h"
#include "core/SImage.h"
#include "engine/SDx.h"

#include <d3dx9.h>

SDxTexture::SDxTexture(SDx* engine) : m_engine(engine), m_texture(nullptr), m_normalMap(nullptr) {
  Release();
}

SDxTexture::~SDxTexture() { Release(); }

void SDxTexture::Release() {
  delete m_normalMap;
  m_normalMap = nullptr;
  if (m_texture) m_texture->Release();
  m_texture = nullptr;
  m_name.Set("");
  m_width = m_height = m_pictureWidth = m_pictureHeight = 0;
  m_aspect = 0.0f;
  m_blendKind = BLEND_NONE;
  m_drawCount = 1;
}

bool SDxTexture::LoadFromFile(SFile* file, int count, const char* name, int blendKind) {
  if (!m_engine || !m_engine->m_device || !file || !file->IsOpen()) return false;
  if (m_texture) m_texture->Release();
  m_texture = nullptr;
  // The count is bounded by what the file holds before anything is read.
  int remaining = file->GetRemaining();
  if (count < 0 || count > remaining) count = remaining;
  if (count <= 0) return false;
  SFileMem bytes;
  bytes.Allocate(count);
  if (file->Read(bytes.GetBuffer(), count) != count) return false;
  IDirect3DTexture9* texture = nullptr;
  if (FAILED(D3DXCreateTextureFromFileInMemory(m_engine->m_device, bytes.GetBuffer(),
                                               (UINT)count, &texture)) ||
      !texture) {
    return false;
  }
  m_texture = texture;
  D3DSURFACE_DESC desc;
  bool described = SUCCEEDED(texture->GetLevelDesc(0, &desc));
  m_width = described ? (int)desc.Width : 0;
  m_height = described ? (int)desc.Height : 0;
  // The picture's own size, read by D3DX from the same bytes: the
  // platform's GDI+ decoder can crash on a damaged picture that D3DX took.
  D3DXIMAGE_INFO info;
  if (SUCCEEDED(D3DXGetImageInfoFromFileInMemory(bytes.GetBuffer(), (UINT)count, &info)) &&
      info.Height > 0) {
    m_pictureWidth = (int)info.Width;
    m_pictureHeight = (int)info.Height;
    m_aspect = (float)m_pictureWidth / (float)m_pictureHeight;
  }
  m_blendKind = blendKind;
  m_name.Set(name ? name : "");
  return true;
}

bool SDxTexture::LoadFromImage(const SImage* image) {
  if (!m_engine || !image || !image->GetBitmap()) return false;
  SFileMem file;
  int format = image->GetBitsPerPixel() < 25 ? SImage::FORMAT_JPEG : SImage::FORMAT_PNG;
  if (!image->Save(&file, format)) return false;
  file.Rewind();
  return LoadFromFile(&file, -1, "", BLEND_NONE);
}

bool SDxTexture::LoadNormalMap(SFile* file) {
  if (!file) return false;
  delete m_normalMap;
  m_normalMap = new SDxTexture(m_engine);
  if (m_normalMap->LoadFromFile(file, -1, "", BLEND_NONE)) return true;
  delete m_normalMap;
  m_normalMap = nullptr;
  return false;
}
