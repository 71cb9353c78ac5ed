#include "core/Platform.h"
#include "engine/SDxStateMachine.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

struct Owner;
typedef SDxState<Owner> State;

// The owner keeps the log of every state call with what the machine showed
// at that moment.
struct Owner {
  explicit Owner(SDx* engine) : machine(engine, this) {}
  SDxStateMachine<Owner> machine;
  std::string log;
};

// A state named by a letter that logs its calls; an optional action runs
// inside Enter or Execute.
class Named : public State {
public:
  explicit Named(const char* name) { m_name.Set(name); }
  void Enter(Owner* owner, State* previous, int32_t parameter) override {
    owner->log += Text() + ".enter(" + Name(previous) + "," + std::to_string(parameter) +
                  ") phase" + std::to_string(owner->machine.GetPhase()) + " at" +
                  std::to_string((int)owner->machine.GetEnterTime()) + " ";
    if (std::function<void(Owner*)> action = onEnter) action(owner);
  }
  void Execute(Owner* owner) override {
    owner->log += Text() + ".run ";
    if (std::function<void(Owner*)> action = onExecute) action(owner);
  }
  void Exit(Owner* owner, State* next) override {
    owner->log += Text() + ".exit(" + Name(next) + ") phase" +
                  std::to_string(owner->machine.GetPhase()) + " ";
  }
  bool OnMessage(Owner* owner, DXMSG* message) override {
    owner->log += Text() + ".msg" + std::to_string(message->id) + " ";
    return true;
  }
  static std::string Name(State* state) { return state ? state->m_name.GetText() : "-"; }
  std::string Text() const { return m_name.GetText(); }

  std::function<void(Owner*)> onEnter, onExecute;
};

class SDxStateMachineTest : public ::testing::Test {
protected:
  void SetUp() override { engine.m_time = 100.0f; }
  SDx engine;
  Named a{"A"}, b{"B"}, c{"C"}, global{"G"};
  Owner owner{&engine};
};

TEST_F(SDxStateMachineTest, ChangesExitTheOldStateBeforeEnteringTheNew) {
  SDxStateMachine<Owner>& machine = owner.machine;
  machine.SetGlobalState(&global);
  machine.SetCurrentState(&a);
  EXPECT_EQ("", owner.log);  // the initial state starts silently
  EXPECT_EQ(100.0f, machine.GetEnterTime());

  engine.m_time = 103.0f;
  machine.ChangeState(&b, -7);
  EXPECT_EQ("A.exit(B) phase2 B.enter(A,-7) phase1 at103 ", owner.log);
  EXPECT_EQ(0, machine.GetPhase());
  EXPECT_EQ(&a, machine.GetPreviousState());
  engine.m_time = 104.0f;
  EXPECT_FLOAT_EQ(1.0f, machine.GetTimeInState());
  EXPECT_FLOAT_EQ(0.5f, machine.GetProgress(2.0f));

  // The same state is left and entered again; null leaves no state.
  owner.log.clear();
  machine.ChangeState(&b, 1);
  EXPECT_EQ("B.exit(B) phase2 B.enter(B,1) phase1 at104 ", owner.log);
  machine.ChangeState(nullptr, 0);
  EXPECT_EQ(nullptr, machine.GetCurrentState());
  EXPECT_EQ(0.0f, machine.GetEnterTime());

  // A change inside Enter runs whole; the outer one only ends its phase.
  owner.log.clear();
  machine.SetCurrentState(&a);
  b.onEnter = [&](Owner* o) { o->machine.ChangeState(&c, 2); };
  machine.ChangeState(&b, 1);
  EXPECT_EQ(
      "A.exit(B) phase2 B.enter(A,1) phase1 at104 B.exit(C) phase2 C.enter(B,2) phase1 at104 ",
      owner.log);
  EXPECT_EQ(&c, machine.GetCurrentState());
  EXPECT_EQ(&b, machine.GetPreviousState());
  EXPECT_EQ(0, machine.GetPhase());
}

TEST_F(SDxStateMachineTest, UpdateRunsTheGlobalStateFirst) {
  SDxStateMachine<Owner>& machine = owner.machine;
  machine.SetCurrentState(&a);
  machine.Update();
  EXPECT_EQ("A.run ", owner.log);  // no global state: only the current

  // The global state's change takes effect in the same update.
  machine.SetGlobalState(&global);
  global.onExecute = [&](Owner* o) { o->machine.ChangeState(&b, 0); };
  owner.log.clear();
  machine.Update();
  EXPECT_EQ("G.run A.exit(B) phase2 B.enter(A,0) phase1 at100 B.run ", owner.log);
}

TEST_F(SDxStateMachineTest, MessageIdsPickTheCurrentOrTheGlobalState) {
  SDxStateMachine<Owner>& machine = owner.machine;
  const struct {
    uint32_t id;
    bool withGlobal, withCurrent;
    bool answer;
    const char* log;
  } cases[] = {
      {65535, true, true, true, "A.msg65535 "}, {0xFFFFFFFF, true, true, true, "A.msg4294967295 "},
      {65534, true, true, true, "G.msg65534 "}, {0, true, true, true, "G.msg0 "},
      {65534, false, true, false, ""},          {65535, true, false, false, ""},
  };
  for (const auto& c : cases) {
    machine.SetGlobalState(c.withGlobal ? &global : nullptr);
    machine.SetCurrentState(c.withCurrent ? &a : nullptr);
    owner.log.clear();
    DXMSG message = {0, nullptr, c.id, 1.0f};
    EXPECT_EQ(c.answer, machine.HandleMessage(&message)) << c.id;
    EXPECT_EQ(c.log, owner.log) << c.id;
  }
}

}  // namespace
