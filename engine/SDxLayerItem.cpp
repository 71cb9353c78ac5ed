#include "core/Platform.h"
#include "engine/SDxLayerItem.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"

SDxLayerItem::SDxLayerItem(SDx* engine, SDxLayer* layer, int kind)
    : m_engine(layer ? layer->m_engine : engine),
      m_layer(layer),
      m_device(m_engine ? m_engine->m_device : nullptr),
      m_sequence(layer ? layer->m_nextSequence++ : 0),
      m_kind(kind),
      m_cameraDistance(0.0f),
      m_active(true),
      m_hidden(false),
      m_tag(0) {}

SDxLayerItem::~SDxLayerItem() {}

void SDxLayerItem::Step() {}

void SDxLayerItem::ForgetTexture(SDxTexture*) {}

bool SDxLayerItem::GetOrderPosition(D3DXVECTOR3*) const { return false; }

SDxLayerItem* SDxLayerItem::SetActive(bool active) {
  m_active = active;
  return this;
}
