// A delayed message to an entity: the record that entity dispatchers queue
// and state machines route.
#pragma once

#include "core/Platform.h"

#include <stdint.h>

class SDxEntity;

struct DXMSG {
  // Ids from this one up are meant for the receiver's current state, lower
  // ids for its global state.
  static const uint32_t CURRENT_STATE_IDS = 0xFFFF;

  uint32_t sender;  // not read by the framework
  SDxEntity* receiver;
  uint32_t id;
  float time;  // delivery time on the real clock (GetTimeSeconds)
};
