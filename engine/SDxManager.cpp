#include "core/Platform.h"
#include "engine/SDxManager.h"

#include "engine/SDx.h"
#include "engine/SDxDispatcher.h"
#include "engine/SDxEntity.h"
#include "engine/SDxLayer.h"

SDxManager::SDxManager(SDxLayer* layer)
    : m_engine(layer ? layer->m_engine : nullptr),
      m_layer(layer),
      m_dispatcher(nullptr),
      m_running(-1),
      m_nextId(1) {}

SDxManager::~SDxManager() { RemoveAll(); }

void SDxManager::Register(SDxEntity* entity) {
  int id = m_nextId++;
  entity->m_id = id;
  int at = m_ids.FindInsertPos(id);
  if (at < 0) at = m_ids.GetCount();
  if (m_ids.InsertAt(id, at) < 0) return;
  if (m_entities.InsertAt(entity, at) < 0) {
    m_ids.RemoveAt(at);
    return;
  }
  if (at <= m_running) ++m_running;
}

void SDxManager::Unregister(SDxEntity* entity) {
  if (m_dispatcher) m_dispatcher->DropMessagesTo(entity);
  int at = m_entities.Find(entity);
  if (at < 0) return;
  m_entities.RemoveAt(at);
  m_ids.RemoveAt(at);
  // The entity being run, or one before it: the next one moves back by one.
  if (at <= m_running) --m_running;
}

void SDxManager::RunPass(void (SDxEntity::*pass)()) {
  for (m_running = 0; m_running < m_entities.GetCount(); ++m_running) {
    (m_entities[m_running]->*pass)();
  }
  m_running = -1;
}

void SDxManager::Update() {
  RunPass(&SDxEntity::PreUpdate);
  float dt = m_engine ? m_engine->GetElapsedTime() : 0.0f;
  SDxForceManager& forces = m_forceManager;
  for (int k = 0; k < forces.m_forces.GetCount() && k < forces.m_objects.GetCount(); ++k) {
    forces.m_forces[k]->Apply(forces.m_objects[k], dt);
  }
  RunPass(&SDxEntity::Update);
  RunPass(&SDxEntity::PostUpdate);
  // The running index walks the array, so that it follows the deletions
  // (also those that a destructor makes).
  for (m_running = 0; m_running < m_entities.GetCount(); ++m_running) {
    SDxEntity* entity = m_entities[m_running];
    if (entity->m_removed) delete entity;
  }
  m_running = -1;
  if (m_dispatcher) m_dispatcher->DispatchDelayed();
}

void SDxManager::RemoveAll() {
  m_forceManager.m_objects.RemoveAll();
  m_forceManager.m_forces.RemoveAll();
  while (m_entities.GetCount() > 0) delete m_entities.GetLast();
  m_nextId = 1;
}

void SDxManager::Reserve(int n) {
  // The arrays start again from a count of 0 in their new storage, and the
  // registered entities are filed back in their order: the manager is their
  // only owner, so none may be dropped (it would never run nor be deleted)
  // or deleted (its holders would keep a freed pointer). The storage holds
  // at least them; the running index stays valid.
  SArray<int> ids;
  SArray<SDxEntity*> entities;
  for (int i = 0; i < m_entities.GetCount(); ++i) {
    ids.Add(m_ids[i]);
    entities.Add(m_entities[i]);
  }
  int capacity = n < 0 || n >= entities.GetCount() ? n : entities.GetCount();
  m_ids.Reserve(capacity);
  m_entities.Reserve(capacity);
  for (int i = 0; i < entities.GetCount(); ++i) {
    m_ids.Add(ids[i]);
    m_entities.Add(entities[i]);
  }
  ids.FreeBuffer();
  entities.FreeBuffer();
}

SDxEntity* SDxManager::GetEntity(int index) const {
  return index >= 0 && index < m_entities.GetCount() ? m_entities[index] : nullptr;
}
