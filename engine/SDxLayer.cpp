#include "core/Platform.h"
#include "engine/SDxLayer.h"

#include "engine/SDx.h"
#include "engine/SDxBlob.h"
#include "engine/SDxCamera.h"
#include "engine/SDxDispatcher.h"
#include "engine/SDxEntity.h"
#include "engine/SDxLight.h"
#include "engine/SDxManager.h"
#include "engine/SDxMesh.h"
#include "engine/SDxObject.h"
#include "engine/SDxParticle.h"
#include "engine/SDxPreset.h"
#include "engine/SDxShaderGBuffer.h"
#include "engine/SDxSprite.h"
#include "engine/SDxText.h"

#include <math.h>
#include <string.h>

#include <typeinfo>
#include <vector>

namespace {

// The list of each kind of item and whether that list is kept in ascending
// element order (else items are appended and searched linearly). Meshes and
// shapes go to the ordered list instead while they are depth-sorted.
const struct {
  int kind;
  int list;
  bool sorted;
} kKinds[] = {
    {SDxLayerItem::KIND_BLOB, SDxLayer::LIST_ORDERED, false},
    {SDxLayerItem::KIND_LIGHT, SDxLayer::LIST_LIGHTS, true},
    {SDxLayerItem::KIND_MESH, SDxLayer::LIST_MESHES, true},
    {SDxLayerItem::KIND_SHAPE, SDxLayer::LIST_SHAPES, true},
    {SDxLayerItem::KIND_PARTICLE_POINT, SDxLayer::LIST_ORDERED, false},
    {SDxLayerItem::KIND_PRESET, SDxLayer::LIST_PRESETS, true},
    {SDxLayerItem::KIND_SHOCKWAVE, SDxLayer::LIST_PRESETS, true},
    {SDxLayerItem::KIND_SPRITE, SDxLayer::LIST_SPRITES, false},
    {SDxLayerItem::KIND_TEXT, SDxLayer::LIST_TEXTS, true},
};

// The engine's removal hook of each kind.
const struct {
  int kind;
  void (*notify)(SDx* engine, SDxLayerItem* item);
} kHooks[] = {
    {SDxLayerItem::KIND_LIGHT,
     [](SDx* e, SDxLayerItem* item) { e->OnLightRemoved(static_cast<SDxLight*>(item)); }},
    {SDxLayerItem::KIND_BLOB,
     [](SDx* e, SDxLayerItem* item) { e->OnObjectRemoved(static_cast<SDxObject*>(item)); }},
    {SDxLayerItem::KIND_MESH,
     [](SDx* e, SDxLayerItem* item) { e->OnObjectRemoved(static_cast<SDxObject*>(item)); }},
    {SDxLayerItem::KIND_SHAPE,
     [](SDx* e, SDxLayerItem* item) { e->OnObjectRemoved(static_cast<SDxObject*>(item)); }},
    {SDxLayerItem::KIND_TEXT,
     [](SDx* e, SDxLayerItem* item) { e->OnTextRemoved(static_cast<SDxText*>(item)); }},
    {SDxLayerItem::KIND_PARTICLE_POINT,
     [](SDx* e, SDxLayerItem* item) { e->OnParticleRemoved(static_cast<SDxParticle*>(item)); }},
    {SDxLayerItem::KIND_PRESET,
     [](SDx* e, SDxLayerItem* item) { e->OnPresetRemoved(static_cast<SDxPreset*>(item)); }},
    {SDxLayerItem::KIND_SHOCKWAVE,
     [](SDx* e, SDxLayerItem* item) { e->OnPresetRemoved(static_cast<SDxPreset*>(item)); }},
    {SDxLayerItem::KIND_SPRITE,
     [](SDx* e, SDxLayerItem* item) { e->OnSpriteRemoved(static_cast<SDxSprite*>(item)); }},
};

// A mesh that an instanced draw can take: a plain mesh of one subset that
// draws nothing but its geometry.
bool IsInstanceable(SDxLayerItem* item) {
  if (item->m_kind != SDxLayerItem::KIND_MESH || typeid(*item) != typeid(SDxMesh)) return false;
  SDxMesh* mesh = static_cast<SDxMesh*>(item);
  return mesh->m_geometry && mesh->m_materialCount == 1 && !mesh->m_outline;
}

// Two such meshes draw alike: the same geometry, material and texture.
bool DrawAlike(SDxMesh* a, SDxMesh* b) {
  return a->m_geometry == b->m_geometry && a->m_textures[0] == b->m_textures[0] &&
         (a->m_materials == b->m_materials ||
          memcmp(&a->m_materials[0], &b->m_materials[0], sizeof(D3DMATERIAL9)) == 0);
}

// A mesh or shape drawn into beam targets only.
bool IsBeamItem(const SDxLayerItem* item) {
  return (item->m_kind == SDxLayerItem::KIND_MESH || item->m_kind == SDxLayerItem::KIND_SHAPE) &&
         static_cast<const SDxObject*>(item)->m_targetMask != 0;
}

bool IsObjectKind(int kind) {
  return kind == SDxLayerItem::KIND_BLOB || kind == SDxLayerItem::KIND_MESH ||
         kind == SDxLayerItem::KIND_SHAPE;
}

bool IsSortedList(int list) {
  for (const auto& row : kKinds) {
    if (row.list == list) return row.sorted;
  }
  return false;
}

// The squared distance of the item to the camera, cached in the item.
float CameraDistance(SDxLayerItem* item, SDxCamera* camera) {
  if (item->m_cameraDistance != -1.0f || !camera) return item->m_cameraDistance;
  D3DXVECTOR3 position;
  int family = item->m_kind & 0xFF00;
  if ((family == 0x100 || family == 0x200) && item->GetOrderPosition(&position)) {
    item->m_cameraDistance = GetDistanceSq(position, camera->m_position);
  }
  return item->m_cameraDistance;
}

}  // namespace

int SDxLayer::_SOrderItemArray::CompareElements(SDxLayerItem* const* a, SDxLayerItem* const* b,
                                                uint32_t, int param) {
  if (param == 1) return -2;
  SDxCamera* camera = m_layer && m_layer->m_engine ? m_layer->m_engine->m_currentCamera : nullptr;
  float da = CameraDistance(*a, camera), db = CameraDistance(*b, camera);
  if (fabsf(da - db) < 1.0f) return (*a)->m_sequence >= (*b)->m_sequence ? 1 : -1;
  return da < db ? 1 : -1;
}

SDxLayer::SDxLayer(SDx* engine)
    : m_engine(engine), m_device(engine ? engine->m_device : nullptr), m_active(true) {
  m_ordered.m_layer = this;
  m_dispatcher = new SDxDispatcher(engine, this);
  m_manager = new SDxManager(this);
  m_manager->m_dispatcher = m_dispatcher;
  m_dispatcher->m_manager = m_manager;
  Clear();
}

SDxLayer::~SDxLayer() {
  Clear();
  delete m_manager;
  delete m_dispatcher;
  for (SArray<SDxLayerItem*>& list : m_lists) list.FreeBuffer();
  m_ordered.FreeBuffer();
}

void SDxLayer::Clear() {
  m_dispatcher->Clear();
  m_manager->RemoveAll();
  m_objects.RemoveAll();
  // Every item leaves its list before the first is deleted: a destructor
  // that releases a texture makes the engine walk these lists.
  SArray<SDxLayerItem*> items;
  const int order[] = {LIST_TEXTS, LIST_SPRITES, LIST_PRESETS, LIST_ORDERED,
                       LIST_SHAPES, LIST_MESHES, LIST_LIGHTS};
  for (int list : order) {
    SArray<SDxLayerItem*>& l = List(list);
    for (int i = 0; i < l.GetCount(); ++i) items.Add(l[i]);
    l.RemoveAll();
  }
  // Instances on other layers of the masters that go with this layer go
  // first: they would be left on freed geometry.
  for (int i = 0; m_engine && i < items.GetCount(); ++i) {
    if (items[i]->m_kind != SDxLayerItem::KIND_MESH) continue;
    SDxMesh* mesh = static_cast<SDxMesh*>(items[i]);
    for (int l = -1; !mesh->m_source && l < m_engine->m_layers.GetCount(); ++l) {
      SDxLayer* layer = l < 0 ? m_engine->GetMainLayer() : m_engine->m_layers[l];
      if (layer && layer != this) layer->RemoveInstancesOf(mesh);
    }
  }
  items.DeleteAndRemoveAll();
  items.FreeBuffer();
  m_orderDirty = true;
  m_shapeCount = m_meshCount = m_blobCount = m_particleCount = 0;
  m_culledCount = 0;
  m_nextSequence = 1;
}

void SDxLayer::SetFixedCapacity(int n) {
  m_manager->Reserve(n);
  // The items already filed stay filed: the storage holds at least them.
  SArray<SDxLayerItem*> kept;
  for (int list = LIST_ORDERED; list < LIST_COUNT; ++list) {
    SArray<SDxLayerItem*>& l = List(list);
    kept.RemoveAll();
    for (int i = 0; i < l.GetCount(); ++i) kept.Add(l[i]);
    l.Reserve(n < 0 || n >= kept.GetCount() ? n : kept.GetCount());
    for (int i = 0; i < kept.GetCount(); ++i) l.Add(kept[i]);
  }
  kept.FreeBuffer();
}

// --- factories -------------------------------------------------------------------

SDxLight* SDxLayer::AddLight() {
  SDxLight* light = new SDxLight(this);
  return FileItem(light) ? light : nullptr;
}

SDxText* SDxLayer::AddText(const char* face, float height, int style, DWORD format,
                           D3DCOLOR color) {
  SDxText* text = new SDxText(m_engine, this);
  if (!text->CreateFont(face, height, style)) {
    delete text;
    return nullptr;
  }
  text->SetColors(color, text->m_shadowColor);
  text->SetFormat(format);
  return FileItem(text) ? text : nullptr;
}

bool SDxLayer::FileItem(SDxLayerItem* item) {
  if (!item) return false;
  int list = item->m_layer == this ? ListFor(item) : LIST_COUNT;
  int at = -1;
  if (list != LIST_COUNT) {
    SArray<SDxLayerItem*>& l = List(list);
    at = IsSortedList(list) ? l.InsertSorted(item) : l.Add(item);
  }
  if (at < 0) {
    delete item;
    return false;
  }
  if (int* counter = CounterFor(item->m_kind)) ++*counter;
  if (item->m_kind == SDxLayerItem::KIND_BLOB) m_orderDirty = true;
  return true;
}

int SDxLayer::ListFor(const SDxLayerItem* item) {
  if (IsObjectKind(item->m_kind) && static_cast<const SDxObject*>(item)->m_depthSorted) {
    return LIST_ORDERED;
  }
  for (const auto& row : kKinds) {
    if (row.kind == item->m_kind) return row.list;
  }
  return LIST_COUNT;
}

int* SDxLayer::CounterFor(int kind) {
  switch (kind) {
    case SDxLayerItem::KIND_SHAPE:
      return &m_shapeCount;
    case SDxLayerItem::KIND_MESH:
      return &m_meshCount;
    case SDxLayerItem::KIND_BLOB:
      return &m_blobCount;
    case SDxLayerItem::KIND_PARTICLE_POINT:
      return &m_particleCount;
  }
  return nullptr;
}

void SDxLayer::NotifyRemoval(SDxLayerItem* item) {
  if (!m_engine) return;
  for (const auto& row : kHooks) {
    if (row.kind == item->m_kind) row.notify(m_engine, item);
  }
}

// --- removal and filing --------------------------------------------------------

int SDxLayer::FindList(SDxLayerItem* item, int* index) {
  int list = item ? ListFor(item) : LIST_COUNT;
  int at = -1;
  if (list != LIST_COUNT) {
    SArray<SDxLayerItem*>& l = List(list);
    at = IsSortedList(list) ? l.FindSorted(item) : l.Find(item, 0, -1, 1);
  }
  if (index) *index = at;
  return at < 0 ? LIST_COUNT : list;
}

bool SDxLayer::RemoveItem(SDxLayerItem* item) {
  if (!item) return false;
  if (IsObjectKind(item->m_kind)) return RemoveObject(static_cast<SDxObject*>(item));
  int index = -1;
  int list = FindList(item, &index);
  if (list == LIST_COUNT) return false;
  NotifyRemoval(item);
  List(list).RemoveAt(index);
  if (int* counter = CounterFor(item->m_kind)) --*counter;
  delete item;
  return true;
}

bool SDxLayer::RemoveObject(SDxObject* object) {
  int index = -1;
  int list = object && IsObjectKind(object->m_kind) ? FindList(object, &index) : LIST_COUNT;
  if (list == LIST_COUNT) return false;
  SDxMesh* master = object->m_kind == SDxLayerItem::KIND_MESH ? static_cast<SDxMesh*>(object)
                                                               : nullptr;
  if (master && !master->m_source && m_engine) {
    for (int i = -1; i < m_engine->m_layers.GetCount(); ++i) {
      SDxLayer* layer = i < 0 ? m_engine->GetMainLayer() : m_engine->m_layers[i];
      if (layer) layer->RemoveInstancesOf(master);
    }
    list = FindList(object, &index);  // the instances' removal moved its slot
  }
  NotifyRemoval(object);
  m_objects.RemoveValue(object);
  if (object->m_owner) object->m_owner->ForgetObject(object);
  SArray<SDxLayerItem*>& lights = m_lists[LIST_LIGHTS];
  for (int i = 0; i < lights.GetCount(); ++i) {
    SDxLight* light = static_cast<SDxLight*>(lights[i]);
    if (light->m_attached == object) light->m_attached = nullptr;
  }
  List(list).RemoveAt(index);
  if (int* counter = CounterFor(object->m_kind)) --*counter;
  delete object;
  return true;
}

void SDxLayer::UpdateDepthSorting(SDxObject* object) {
  if (!object || (object->m_kind != SDxLayerItem::KIND_MESH &&
                  object->m_kind != SDxLayerItem::KIND_SHAPE)) {
    return;
  }
  int plain = object->m_kind == SDxLayerItem::KIND_MESH ? LIST_MESHES : LIST_SHAPES;
  int from = object->m_depthSorted ? plain : LIST_ORDERED;
  int to = object->m_depthSorted ? LIST_ORDERED : plain;
  SArray<SDxLayerItem*>& source = List(from);
  int at = from == LIST_ORDERED ? source.Find(object, 0, -1, 1) : source.FindSorted(object);
  if (at >= 0) {
    source.RemoveAt(at);
    if (to == LIST_ORDERED) {
      m_ordered.Add(object);
    } else {
      List(to).InsertSorted(object);
    }
  }
  m_orderDirty = true;
}

void SDxLayer::ForgetTexture(SDxTexture* texture) {
  for (int list = LIST_ORDERED; list < LIST_COUNT; ++list) {
    SArray<SDxLayerItem*>& l = List(list);
    for (int i = 0; i < l.GetCount(); ++i) l[i]->ForgetTexture(texture);
  }
}

// --- per frame ---------------------------------------------------------------------

void SDxLayer::Update() {
  SArray<SDxLayerItem*>& presets = m_lists[LIST_PRESETS];
  for (int i = 0; i < presets.GetCount(); ++i) presets[i]->Step();
  for (int i = 0; i < m_ordered.GetCount(); ++i) {
    if (m_ordered[i]->m_kind == SDxLayerItem::KIND_PARTICLE_POINT) m_ordered[i]->Step();
  }
  SArray<SDxLayerItem*>& lights = m_lists[LIST_LIGHTS];
  for (int i = 0; i < lights.GetCount(); ++i) lights[i]->Step();
}

void SDxLayer::SortOrderItems() {
  m_culledCount = 0;
  if (!m_orderDirty) return;
  for (int i = 0; i < m_ordered.GetCount(); ++i) m_ordered[i]->m_cameraDistance = -1.0f;
  m_ordered.Sort(0, -1, 0);
  m_orderDirty = false;
}

void SDxLayer::RenderObject(SDxObject* object, SDxShader* shader) {
  object->UpdateSound();
  DrawObject(object, shader);
}

void SDxLayer::DrawObject(SDxObject* object, SDxShader* shader) {
  if (!object->IsVisible()) return;
  if (object->IsOutsideViewCone(nullptr)) {
    ++m_culledCount;
  } else {
    object->Render(shader);
  }
}

void SDxLayer::RenderOpaque() {
  if (!m_active || !m_engine) return;
  SDxShader* shader = m_engine->m_shaderGBuffer;
  // One pass of the G-buffer effect around all the items: each item finds
  // it begun and only sets its own parameters, so that the shaders and the
  // samplers are bound once, not once an item.
  SDxEffect* effect = shader ? shader->m_effect : nullptr;
  UINT passes = 0;
  bool begun = effect && effect->Begin(&passes, 0);
  bool inPass = begun && effect->BeginPass(0);
  const int lists[] = {LIST_SHAPES, LIST_MESHES};
  for (int list : lists) {
    SArray<SDxLayerItem*>& l = m_lists[list];
    for (int i = 0; i < l.GetCount();) {
      // A run of meshes that draw alike goes in one instanced draw.
      int end = i + 1;
      if (inPass && IsInstanceable(l[i])) {
        SDxMesh* first = static_cast<SDxMesh*>(l[i]);
        while (end < l.GetCount() && IsInstanceable(l[end]) &&
               DrawAlike(first, static_cast<SDxMesh*>(l[end]))) {
          ++end;
        }
      }
      if (end - i > 1) {
        RenderInstances(i, end);
      } else {
        RenderObject(static_cast<SDxObject*>(l[i]), shader);
      }
      i = end;
    }
  }
  if (inPass) effect->EndPass();
  if (begun) effect->End();
}

void SDxLayer::RenderInstances(int from, int to) {
  SArray<SDxLayerItem*>& l = m_lists[LIST_MESHES];
  std::vector<SDxMesh*>& meshes = m_instanceMeshes;
  std::vector<const D3DXMATRIX*>& worlds = m_instanceWorlds;
  std::vector<int>& ids = m_instanceIds;
  meshes.clear();
  worlds.clear();
  ids.clear();
  for (int i = from; i < to; ++i) {
    SDxMesh* mesh = static_cast<SDxMesh*>(l[i]);
    mesh->UpdateSound();
    if (!mesh->IsVisible()) continue;
    if (mesh->IsOutsideViewCone(nullptr)) {
      ++m_culledCount;
      continue;
    }
    meshes.push_back(mesh);
    worlds.push_back(&mesh->m_world);
    ids.push_back(mesh->m_sequence);
  }
  SDxShaderGBuffer* shader = m_engine->m_shaderGBuffer;
  bool drawn = false;
  if (meshes.size() > 1) {
    SDxMesh* first = meshes[0];
    SDxTexture* texture = first->m_textures[0];
    if (texture) m_engine->SetBlendMode(texture);
    shader->SetMaterial(texture, first->m_materials[0]);
    shader->m_effect->CommitChanges();
    drawn = shader->DrawInstances(first->m_geometry, worlds.data(), ids.data(), (int)meshes.size());
    m_engine->ResetBlendMode();
  }
  if (!drawn) {
    for (SDxMesh* mesh : meshes) mesh->Render(shader);
  }
}

void SDxLayer::RenderOrdered() {
  if (!m_active || !m_engine) return;
  SDxShader* shader = m_engine->m_shaderGBuffer;
  for (int i = 0; i < m_ordered.GetCount();) {
    SDxLayerItem* item = m_ordered[i];
    if (IsBeamItem(item)) {
      int end = i + 1;
      while (end < m_ordered.GetCount() && IsBeamItem(m_ordered[end])) ++end;
      RenderBeamItems(i, end);
      i = end;
      continue;
    }
    ++i;
    if (item->m_kind == SDxLayerItem::KIND_BLOB) RenderBlob(static_cast<SDxBlob*>(item));
    if (item->m_kind == SDxLayerItem::KIND_PARTICLE_POINT) {
      SDxParticle* particle = static_cast<SDxParticle*>(item);
      if (!particle->m_overlay) RenderParticle(particle);
    }
    if (item->m_kind != SDxLayerItem::KIND_MESH && item->m_kind != SDxLayerItem::KIND_SHAPE) {
      continue;
    }
    // A mesh or shape of the scene (beam items went to RenderBeamItems).
    SDxObject* object = static_cast<SDxObject*>(item);
    object->UpdateSound();
    if (object->IsVisible()) DrawObject(object, shader);
  }
}

void SDxLayer::RenderBeamItems(int from, int to) {
  struct Draw {
    SDxObject* object;
    int beam;
    RECT area;
    bool done;
  };
  std::vector<Draw> draws;
  for (int i = from; i < to; ++i) {
    SDxObject* object = static_cast<SDxObject*>(m_ordered[i]);
    object->UpdateSound();
    if (!object->IsVisible()) continue;
    Draw draw = {object, 0, {}, false};
    m_engine->GetItemArea(&object->GetBox(), &object->m_world, &draw.area);
    for (draw.beam = 0; draw.beam < 2; ++draw.beam) {
      if (object->m_targetMask & (1u << draw.beam)) draws.push_back(draw);
    }
  }
  if (draws.empty()) return;
  SDxShader* shader = m_engine->m_shaderGBuffer;
  SDxRenderTarget* beams[2] = {&m_engine->m_beamRT, &m_engine->m_beamRT2};
  SDxRenderTarget* scene = nullptr;
  // Each round binds the target of the first draw still to make and makes
  // every later draw into it that shares no pixel with an earlier draw
  // still to make.
  size_t first = 0;
  while (first < draws.size()) {
    int beam = draws[first].beam;
    SDxRenderTarget* previous = m_engine->SetRenderTarget(beams[beam]);
    if (!scene) scene = previous;
    for (size_t d = first; d < draws.size(); ++d) {
      Draw& draw = draws[d];
      if (draw.done || draw.beam != beam) continue;
      bool apart = true;
      for (size_t e = first; e < d && apart; ++e) {
        RECT common;
        apart = draws[e].done || !::IntersectRect(&common, &draws[e].area, &draw.area);
      }
      if (!apart) continue;
      m_engine->AddBeamArea(&draw.object->GetBox(), &draw.object->m_world);
      DrawObject(draw.object, shader);
      draw.done = true;
    }
    while (first < draws.size() && draws[first].done) ++first;
  }
  m_engine->SetRenderTarget(scene);
  // Texture stage 0 as the item-by-item order leaves it: the target of the
  // last draw.
  m_device->SetTexture(0, beams[draws.back().beam]->texture);
}

void SDxLayer::RenderScreenItems() {
  if (!m_active || !m_device || !m_engine) return;
  m_device->SetTransform(D3DTS_WORLD, &m_engine->m_identity);
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  SArray<SDxLayerItem*>& texts = m_lists[LIST_TEXTS];
  ID3DXSprite* sprite = m_engine->m_sprite;
  bool withTexts = texts.GetCount() > 0 && sprite;
  // Texts go on in the sprites' batch when one is open: its state saving and
  // restoring is done once. The sprites drawn so far are flushed first, with
  // their own blending.
  bool open = RenderSprites(withTexts);
  if (withTexts) {
    if (open) {
      sprite->Flush();
      m_engine->ResetBlendMode();
    }
    m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    if (open || SUCCEEDED(sprite->Begin(0))) {
      for (int i = 0; i < texts.GetCount(); ++i) static_cast<SDxText*>(texts[i])->Draw();
      sprite->End();
    }
    m_engine->ResetBlendMode();
  }
  m_device->SetRenderState(D3DRS_ZENABLE, D3DZB_USEW);
}

// --- access ------------------------------------------------------------------------

int SDxLayer::GetCount(int list) const {
  return list == LIST_ORDERED || (list >= 0 && list < LIST_COUNT) ? List(list).GetCount() : 0;
}

SDxLayerItem* SDxLayer::GetItem(int list, int index) const {
  if (index < 0 || index >= GetCount(list)) return nullptr;
  return List(list)[index];
}

SDxLight* SDxLayer::GetLight(int index) const {
  return static_cast<SDxLight*>(GetItem(LIST_LIGHTS, index));
}

SDxText* SDxLayer::GetText(int index) const {
  return static_cast<SDxText*>(GetItem(LIST_TEXTS, index));
}
