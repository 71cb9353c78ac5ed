#include "core/Platform.h"
#include "engine/SDxTexture.h"

SDxTexture::SDxTexture(SDx* engine) : m_engine(engine), m_texture(nullptr), m_normalMap(nullptr) {}

SDxTexture::~SDxTexture() { Release(); }

void SDxTexture::Release() {
  delete m_normalMap;
  m_normalMap = nullptr;
  if (m_texture) m_texture->Release();
  m_texture = nullptr;
}
