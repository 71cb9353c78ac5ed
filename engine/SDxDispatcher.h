// The delayed-message queue of a layer. Messages wait, earliest dispatch
// time first, for the real clock (the engine's clock function, the
// framework's GetTimeSeconds) to pass their time; the manager's update
// delivers the due ones at its end.
//
// Storage: the dispatcher owns its records and deletes each one after its
// delivery, when its receiver is deleted (the manager's unregistration
// drops it), on Clear and in its destructor. So every queued receiver is
// alive: one flagged for removal still gets its messages until the removal
// step deletes it. Every record is stamped with a time above 0, so that
// none can hold back the queue for good.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

#include <stdint.h>

class SDx;
class SDxEntity;
class SDxLayer;
class SDxManager;
struct DXMSG;

class SDxDispatcher {
public:
  SDxDispatcher(SDx* engine, SDxLayer* layer);
  // Clear.
  virtual ~SDxDispatcher();

  // Queues a message to an entity of this layer, due delay seconds (0 for a
  // negative or undefined delay) from now on the real clock, after every
  // message due at the same time. False for no receiver or one of another
  // layer.
  bool Post(SDxEntity* receiver, uint32_t id, float delay, uint32_t sender = 0);
  // Delivers, from the front, every message whose time the real clock has
  // passed; the first one not yet due holds back the rest. A message posted
  // during delivery waits for a later call.
  void DispatchDelayed();
  // Deletes every queued message.
  void Clear();
  // Deletes the messages queued for the entity.
  void DropMessagesTo(SDxEntity* receiver);

  int GetCount() const { return m_queue.GetCount(); }
  // Null outside [0, count).
  const DXMSG* GetQueued(int index) const;

  SDx* m_engine;
  SDxLayer* m_layer;
  SDxManager* m_manager;
  SArray<DXMSG*> m_queue;  // by dispatch time, earliest first

private:
  SDxDispatcher(const SDxDispatcher&) = delete;
  SDxDispatcher& operator=(const SDxDispatcher&) = delete;

  // Seconds on the real clock.
  float Now() const;
};
