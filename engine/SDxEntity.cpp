#include "core/Platform.h"
#include "engine/SDxEntity.h"

#include "engine/SDx.h"
#include "engine/SDxLayer.h"
#include "engine/SDxManager.h"
#include "engine/SDxObject.h"

// --- SDxEntity ---------------------------------------------------------------------

SDxEntity::SDxEntity(SDxLayer* layer)
    : m_engine(layer ? layer->m_engine : nullptr),
      m_layer(layer),
      m_id(0),
      m_type(0),
      m_removed(false),
      m_creationTime(m_engine ? m_engine->GetTime() : 0.0f) {
  if (layer && layer->m_manager) layer->m_manager->Register(this);
}

SDxEntity::~SDxEntity() {
  if (m_layer && m_layer->m_manager) m_layer->m_manager->Unregister(this);
}

bool SDxEntity::IsObjectEntity() const { return false; }
void SDxEntity::PreUpdate() {}
bool SDxEntity::HandleMessage(DXMSG*) { return false; }
void SDxEntity::Update() {}
void SDxEntity::PostUpdate() {}
bool SDxEntity::Collide(SDxContactQuery*) { return false; }

void SDxEntity::ForgetObject(SDxObject* object) {
  if (IsObjectEntity()) static_cast<SDxEntityObj*>(this)->m_objects.RemoveValue(object);
}

// --- SDxEntityObj ------------------------------------------------------------------

SDxEntityObj::SDxEntityObj(SDxLayer* layer, SDxObject* object)
    : SDxEntity(layer), m_ownsObjects(true), m_lastPosition(0, 0, 0), m_behavior(nullptr) {
  if (!object) return;
  m_objects.Add(object);
  if (!object->m_owner) object->m_owner = this;
}

SDxEntityObj::~SDxEntityObj() {
  // One object at a time leaves the array before its removal: removing a
  // master mesh removes its instances too, and an instance owned here
  // leaves the array through ForgetObject.
  while (m_objects.GetCount() > 0) {
    SDxObject* object = m_objects[0];
    m_objects.RemoveAt(0);
    if (object->m_owner == this) object->m_owner = nullptr;
    if (m_ownsObjects && object->m_layer) object->m_layer->RemoveItem(object);
  }
  m_objects.FreeBuffer();
}

bool SDxEntityObj::IsObjectEntity() const { return true; }

void SDxEntityObj::PreUpdate() {
  if (SDxObject* main = GetMainObject()) m_lastPosition = main->GetPosition();
}

bool SDxEntityObj::HandleMessage(DXMSG* message) { return SDxEntity::HandleMessage(message); }

void SDxEntityObj::Update() {
  if (m_behavior) m_behavior->Update();
}

void SDxEntityObj::PostUpdate() {
  SDxContactQuery query;
  query.notify = true;
  query.otherObjects = m_layer ? &m_layer->m_objects : nullptr;
  Collide(&query);
}

bool SDxEntityObj::OnContact(SDxContactQuery*) { return true; }

void SDxEntityObj::SetVisible(bool visible) {
  ForEachObject([&](SDxObject* object) { object->SetVisible(visible); });
}

// --- the main object -------------------------------------------------------------------

const D3DXVECTOR3* SDxEntityObj::GetPosition() const {
  SDxObject* main = GetMainObject();
  return main ? &main->GetPosition() : nullptr;
}

float SDxEntityObj::GetX() const {
  const D3DXVECTOR3* position = GetPosition();
  return position ? position->x : 0.0f;
}

float SDxEntityObj::GetY() const {
  const D3DXVECTOR3* position = GetPosition();
  return position ? position->y : 0.0f;
}

float SDxEntityObj::GetZ() const {
  const D3DXVECTOR3* position = GetPosition();
  return position ? position->z : 0.0f;
}

const D3DXMATRIX* SDxEntityObj::GetWorldMatrix() const {
  SDxObject* main = GetMainObject();
  return main ? &main->GetWorldMatrix() : nullptr;
}

bool SDxEntityObj::GetInverseWorld(D3DXMATRIX* inverse) const {
  if (!inverse) return false;
  SDxObject* main = GetMainObject();
  if (main && D3DXMatrixInverse(inverse, nullptr, &main->GetWorldMatrix())) return true;
  D3DXMatrixIdentity(inverse);
  return false;
}

float SDxEntityObj::GetScale() const {
  SDxObject* main = GetMainObject();
  return main ? main->m_scaling._11 : 0.0f;
}

bool SDxEntityObj::IsVisible() const {
  SDxObject* main = GetMainObject();
  return main && main->IsVisible();
}

// --- every object ----------------------------------------------------------------------

void SDxEntityObj::SetPosition(const D3DXVECTOR3& position) {
  ForEachObject([&](SDxObject* object) { object->SetPosition(position); });
}

void SDxEntityObj::SetPositionXYZ(float x, float y, float z) {
  ForEachObject([&](SDxObject* object) { object->SetPositionXYZ(x, y, z); });
}

void SDxEntityObj::SetZ(float z) {
  ForEachObject([&](SDxObject* object) { object->SetZ(z); });
}

void SDxEntityObj::OffsetZ(float dz) {
  ForEachObject([&](SDxObject* object) { object->OffsetZ(dz); });
}

void SDxEntityObj::MoveAlong(float distance, const D3DXVECTOR3* direction) {
  ForEachObject([&](SDxObject* object) { object->MoveAlong(distance, direction); });
}

void SDxEntityObj::SetRotation(float a, float b, float c) {
  ForEachObject([&](SDxObject* object) { object->SetRotation(a, b, c); });
}

void SDxEntityObj::RotateLocal(float a, float b, float c) {
  ForEachObject([&](SDxObject* object) { object->RotateLocal(a, b, c); });
}
