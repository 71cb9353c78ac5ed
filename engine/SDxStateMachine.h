// Entity behaviour as states. A state (SDxState<T>) is a stateless object,
// one instance per state class, shared by every entity of its owner type T;
// all per-entity data lives in the owner, which every call receives. Each
// entity holds one machine with its current, previous and global state.
//
// The machine's update runs the global state's step, then the current
// state's. A change runs, in order: the old state's Exit (phase 2), then
// the new state's Enter with the old state and the caller's parameter
// (phase 1), then phase 0; a change from inside Exit or Enter runs whole at
// once and the outer change then finishes its own remaining steps.
// Messages of id 0xFFFF and above go to the current state, lower ids to the
// global state; never to both.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "engine/SDx.h"
#include "engine/SDxEntity.h"

#include <stdint.h>

template <class T>
class SDxState {
public:
  virtual ~SDxState() {}
  virtual void Enter(T* /*owner*/, SDxState<T>* /*previous*/, int32_t /*parameter*/) {}
  virtual void Execute(T* owner) = 0;
  virtual void Exit(T* /*owner*/, SDxState<T>* /*next*/) {}
  virtual bool OnMessage(T* /*owner*/, DXMSG* /*message*/) { return false; }

  SString m_name;  // empty unless the state sets it
};

template <class T>
class SDxStateMachine {
public:
  enum { PHASE_IDLE = 0, PHASE_ENTERING = 1, PHASE_EXITING = 2 };
  // The first message id for the current state.
  static const uint32_t CURRENT_STATE_IDS = 0xFFFF;

  SDxStateMachine(SDx* engine, T* owner) : m_engine(engine), m_owner(owner) {}

  // Stored without a call.
  void SetGlobalState(SDxState<T>* state) { m_global = state; }
  // Stored without an Enter; phase 0, entered now.
  void SetCurrentState(SDxState<T>* state) {
    m_current = state;
    m_phase = PHASE_IDLE;
    m_enterTime = Now();
  }
  SDxState<T>* GetCurrentState() const { return m_current; }
  SDxState<T>* GetPreviousState() const { return m_previous; }
  SDxState<T>* GetGlobalState() const { return m_global; }
  int GetPhase() const { return m_phase; }
  // Game-clock seconds at which the current state was entered; 0 while
  // changing and without a current state.
  float GetEnterTime() const { return m_enterTime; }
  float GetTimeInState() const { return m_engine ? m_engine->GetTimeSince(m_enterTime) : 0.0f; }
  // The time in the state over the duration, at most 1 (1 for a duration
  // <= 0).
  float GetProgress(float duration) const {
    return m_engine ? m_engine->GetProgress(m_enterTime, duration) : 1.0f;
  }

  void Update() {
    if (m_global) m_global->Execute(m_owner);
    if (m_current) m_current->Execute(m_owner);
  }

  // No guard against the state that is current: it is left and entered
  // again. Null leaves the machine without a current state.
  void ChangeState(SDxState<T>* state, int32_t parameter) {
    m_phase = PHASE_EXITING;
    if (m_current) {
      m_current->Exit(m_owner, state);
      m_enterTime = 0.0f;
    }
    m_previous = m_current;
    m_current = state;
    m_phase = PHASE_ENTERING;
    if (state) {
      m_enterTime = Now();
      state->Enter(m_owner, m_previous, parameter);
    }
    m_phase = PHASE_IDLE;
  }

  // The target state's answer; false when it is missing.
  bool HandleMessage(DXMSG* message) {
    if (!message) return false;
    SDxState<T>* target = message->id >= CURRENT_STATE_IDS ? m_current : m_global;
    return target ? target->OnMessage(m_owner, message) : false;
  }

private:
  float Now() const { return m_engine ? m_engine->GetTime() : 0.0f; }

  SDx* m_engine;
  T* m_owner;
  SDxState<T>* m_current = nullptr;
  SDxState<T>* m_previous = nullptr;
  SDxState<T>* m_global = nullptr;
  int m_phase = PHASE_IDLE;
  float m_enterTime = 0.0f;
};
