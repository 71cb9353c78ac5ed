// Entity behaviour as states. A state is a stateless singleton of a class
// derived from SDxState<T>, T being the owning entity class; each entity
// owns one SDxStateMachine<T> holding its current, previous and global
// state, which the entity's update runs and its message handler feeds.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"
#include "engine/DXMSG.h"
#include "engine/SDx.h"

template <class T>
class SDxState {
public:
  virtual ~SDxState() {}
  // On entering, with the state left and the caller's parameter.
  virtual void Enter(T*, SDxState<T>*, uint32_t) {}
  virtual void Execute(T* owner) = 0;
  // On leaving, with the state that follows.
  virtual void Exit(T*, SDxState<T>*) {}
  virtual bool OnMessage(T*, DXMSG*) { return false; }

  SString m_name;
};

template <class T>
class SDxStateMachine {
public:
  // Transition phases.
  enum { PHASE_IDLE = 0, PHASE_ENTERING = 1, PHASE_EXITING = 2 };

  // No states; the owner then sets its global and current state.
  SDxStateMachine(SDx* engine, T* owner)
      : m_engine(engine),
        m_owner(owner),
        m_current(nullptr),
        m_previous(nullptr),
        m_global(nullptr),
        m_phase(PHASE_IDLE),
        m_enterTime(0.0f) {}

  // No Enter is called for either.
  void SetGlobalState(SDxState<T>* state) { m_global = state; }
  void SetCurrentState(SDxState<T>* state) {
    m_current = state;
    m_phase = PHASE_IDLE;
    m_enterTime = Now();
  }
  SDxState<T>* GetCurrentState() const { return m_current; }
  SDxState<T>* GetPreviousState() const { return m_previous; }
  SDxState<T>* GetGlobalState() const { return m_global; }
  int GetPhase() const { return m_phase; }
  float GetEnterTime() const { return m_enterTime; }

  // The global state's step, then the current state's.
  void Update() {
    if (m_global) m_global->Execute(m_owner);
    if (m_current) m_current->Execute(m_owner);
  }

  // Exit of the old state, then Enter of the new one (also when they are
  // the same state); a change from inside Exit or Enter runs at once.
  void ChangeState(SDxState<T>* next, uint32_t param) {
    m_phase = PHASE_EXITING;
    if (m_current) {
      m_current->Exit(m_owner, next);
      m_enterTime = 0.0f;
    }
    m_previous = m_current;
    m_current = next;
    m_phase = PHASE_ENTERING;
    if (next) {
      m_enterTime = Now();
      next->Enter(m_owner, m_previous, param);
    }
    m_phase = PHASE_IDLE;
  }

  // Ids from DXMSG::CURRENT_STATE_IDS up to the current state, others to
  // the global state; false without that state.
  bool HandleMessage(DXMSG* message) {
    SDxState<T>* target = message && message->id >= DXMSG::CURRENT_STATE_IDS ? m_current
                                                                             : m_global;
    return message && target && target->OnMessage(m_owner, message);
  }

private:
  float Now() const { return m_engine ? m_engine->GetTime() : 0.0f; }

  SDx* m_engine;
  T* m_owner;
  SDxState<T>* m_current;
  SDxState<T>* m_previous;
  SDxState<T>* m_global;
  int m_phase;
  float m_enterTime;
};
