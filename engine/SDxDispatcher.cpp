#include "core/Platform.h"
#include "engine/SDxDispatcher.h"

#include "core/TimeBase.h"
#include "engine/SDx.h"
#include "engine/SDxEntity.h"

#include <float.h>

SDxDispatcher::SDxDispatcher(SDx* engine, SDxLayer* layer)
    : m_engine(engine), m_layer(layer), m_manager(nullptr) {}

SDxDispatcher::~SDxDispatcher() {
  Clear();
  m_queue.FreeBuffer();
}

float SDxDispatcher::Now() const {
  return m_engine && m_engine->m_clock ? m_engine->m_clock() : GetTimeSeconds();
}

bool SDxDispatcher::Post(SDxEntity* receiver, uint32_t id, float delay, uint32_t sender) {
  if (!receiver || receiver->m_layer != m_layer) return false;
  float time = Now() + (delay > 0.0f ? delay : 0.0f);
  // A time of 0 or below would never be due and would hold back the queue.
  if (!(time > 0.0f)) time = FLT_MIN;
  // After every message due at the same time or earlier.
  int lo = 0, hi = m_queue.GetCount();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (m_queue[mid]->dispatchTime <= time) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  DXMSG* message = new DXMSG{sender, receiver, id, time};
  if (m_queue.InsertAt(message, lo) < 0) {
    delete message;
    return false;
  }
  return true;
}

void SDxDispatcher::DispatchDelayed() {
  float now = Now();
  while (m_queue.GetCount() > 0) {
    DXMSG* message = m_queue[0];
    if (!(now > message->dispatchTime && message->dispatchTime > 0.0f)) break;
    // Out of the queue before delivery: the handler may post, or delete
    // entities, which drops their messages. A queued receiver is alive
    // (flagged for removal or not): deletion drops its messages.
    m_queue.RemoveAt(0);
    message->receiver->HandleMessage(message);
    delete message;
  }
}

void SDxDispatcher::Clear() { m_queue.DeleteAndRemoveAll(); }

void SDxDispatcher::DropMessagesTo(SDxEntity* receiver) {
  for (int i = m_queue.GetCount() - 1; i >= 0; --i) {
    if (m_queue[i]->receiver == receiver) m_queue.RemoveAndDelete(i);
  }
}

const DXMSG* SDxDispatcher::GetQueued(int index) const {
  return index >= 0 && index < m_queue.GetCount() ? m_queue[index] : nullptr;
}
