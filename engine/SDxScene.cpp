// The engine's scene resources: textures, cameras, layers and its own
// overlay objects.
#include "core/Platform.h"
#include "engine/SDx.h"

#include "core/SFileMem.h"
#include "core/SImage.h"
#include "engine/SDxCamera.h"
#include "engine/SDxLayer.h"
#include "engine/SDxObject.h"
#include "engine/SDxShape.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"
#include "engine/SDxTexture.h"

namespace {

const char* const kSlowWarning = "TOO SLOW: USE ANOTHER RESOLUTION OR DEACTIVATE LIGHTING (F1)";
const DWORD kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;  // 0x125

}  // namespace

void SDx::ClearScene() {
  delete m_slowWarningSprite;
  m_slowWarningSprite = nullptr;
  delete m_slowWarningText;
  m_slowWarningText = nullptr;
  delete m_slowWarningTexture;
  m_slowWarningTexture = nullptr;
  m_textures.DeleteAndRemoveAll();
  m_currentCamera = nullptr;
  m_cameras.DeleteAndRemoveAll();
  m_overlayText = nullptr;
  delete m_boxShape;
  m_boxShape = nullptr;
  m_layers.DeleteAndRemoveAll();
  if (m_mainLayer) m_mainLayer->Clear();
}

void SDx::BuildOwnObjects() {
  // The light volume: a unit box seen from inside, kept out of the main
  // layer's lists (the layer's Clear must not delete it a second time); its
  // triangles go, its vertex buffer stays.
  const bool faces[SDxShape::FACE_COUNT] = {true, true, true, true, true, true};
  m_boxShape = new SDxShape(m_mainLayer);
  m_boxShape->AddBox(nullptr, nullptr, 1.0f, 1.0f, 1.0f, true, 1.0f, faces);
  m_boxShape->SetVisible(false);
  m_boxShape->Clear();
  SImage image;
  if (image.Create(2, 2)) {
    image.Clear(RGB(0xC0, 0, 0));
    m_slowWarningTexture = new SDxTexture(this);
    if (!m_slowWarningTexture->LoadFromImage(&image)) {
      delete m_slowWarningTexture;
      m_slowWarningTexture = nullptr;
    }
  }
  // The bar over the top 2.5 % of the screen, placed by its top-left corner.
  m_slowWarningSprite = new SDxSprite(this, nullptr);
  m_slowWarningSprite->SetTexture(m_slowWarningTexture, 1, nullptr, 1, 1, 0);
  m_slowWarningSprite->SetPivot(0.0f, 0.0f);
  m_slowWarningSprite->SetPositionXY(0.0f, 0.0f);
  m_slowWarningSprite->SetSize(100.0f, 2.5f);
  m_slowWarningText = new SDxText(this, nullptr);
  if (m_slowWarningText->CreateFont("arial", 2.0f, 0)) {
    m_slowWarningText->SetFormat(kCentredLine);
    m_slowWarningText->SetRect(0.0f, 0.0f, 100.0f, 2.5f);
    m_slowWarningText->SetText(kSlowWarning, false);
  }
  m_slowWarningText->SetActive(false);
  m_currentCamera = CreateCamera();
  m_overlayText = m_mainLayer->AddText("verdana", 3.5f, 0, kCentredLine, 0xFFFFFFFF);
  if (m_overlayText) {
    m_overlayText->SetRect(0.0f, 90.0f, 100.0f, 100.0f);
    m_overlayText->SetActive(false);
  }
  CreateLayer();
}

void SDx::RefreshTexts() {
  SDxLayer* main = m_mainLayer;
  for (int i = -1; i < m_layers.GetCount(); ++i) {
    SDxLayer* layer = i < 0 ? main : m_layers[i];
    if (!layer) continue;
    for (int t = 0; t < layer->GetCount(SDxLayer::LIST_TEXTS); ++t) layer->GetText(t)->Refresh();
  }
  if (m_slowWarningText) m_slowWarningText->Refresh();
}

// --- textures -----------------------------------------------------------------------

SDxTexture* SDx::CreateTexture(SFile* file, int count, const char* name, int blendKind) {
  if (!file) return nullptr;
  SDxTexture* texture = new SDxTexture(this);
  if (!texture->LoadFromFile(file, count, name, blendKind) ||
      m_textures.InsertSorted(texture) < 0) {
    delete texture;
    return nullptr;
  }
  return texture;
}

bool SDx::RemoveTexture(SDxTexture* texture) {
  int at = texture ? m_textures.FindSorted(texture) : -1;
  if (at < 0) return false;
  OnTextureRemoved(texture);
  if (m_mainLayer) m_mainLayer->ForgetTexture(texture);
  for (int i = 0; i < m_layers.GetCount(); ++i) m_layers[i]->ForgetTexture(texture);
  // The slot goes first: the texture's deletion cannot meet it again.
  m_textures.RemoveAt(at);
  delete texture;
  return true;
}

SDxTexture* SDx::FindTexture(const char* name) const {
  if (!name) return nullptr;
  for (int i = 0; i < m_textures.GetCount(); ++i) {
    if (strcmp(m_textures[i]->m_name.GetText(), name) == 0) return m_textures[i];
  }
  return nullptr;
}

void SDx::SetBlendMode(SDxTexture* texture) {
  if (!m_device || !texture) return;
  if (texture->m_blendKind != SDxTexture::BLEND_ALPHA &&
      texture->m_blendKind != SDxTexture::BLEND_ADDITIVE) {
    return;
  }
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  if (texture->m_blendKind == SDxTexture::BLEND_ADDITIVE) {
    m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  }
}

void SDx::ResetBlendMode() {
  if (!m_device) return;
  m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
}

float SDx::GetProgress(float start, float duration) const {
  if (duration <= 0.0f) return 1.0f;
  float p = (m_time - start) / duration;
  return p < 1.0f ? p : 1.0f;
}

// --- cameras and layers -----------------------------------------------------------

SDxCamera* SDx::CreateCamera() {
  SDxCamera* camera = new SDxCamera(this);
  if (m_cameras.InsertSorted(camera) < 0) {
    delete camera;
    return nullptr;
  }
  return camera;
}

SDxCamera* SDx::GetCamera(int index) const {
  if (index == -1) return m_currentCamera;
  return index >= 0 && index < m_cameras.GetCount() ? m_cameras[index] : nullptr;
}

SDxLayer* SDx::CreateLayer() {
  SDxLayer* layer = new SDxLayer(this);
  if (m_layers.Add(layer) < 0) {
    delete layer;
    return nullptr;
  }
  return layer;
}

SDxLayer* SDx::GetLayer(int index) const {
  return index >= 0 && index < m_layers.GetCount() ? m_layers[index] : nullptr;
}

bool SDx::RemoveItem(SDxLayerItem* item) {
  return item && item->m_layer && item->m_layer->RemoveItem(item);
}

SDxObject* SDx::FindObjectByName(const char* name) const {
  if (!name) return nullptr;
  for (int i = 0; i < m_layers.GetCount(); ++i) {
    SDxLayer* layer = m_layers[i];
    for (int m = 0; m < layer->GetCount(SDxLayer::LIST_MESHES); ++m) {
      SDxObject* mesh = static_cast<SDxObject*>(layer->GetItem(SDxLayer::LIST_MESHES, m));
      if (_stricmp(mesh->m_name.GetText(), name) == 0) return mesh;
    }
  }
  return nullptr;
}
