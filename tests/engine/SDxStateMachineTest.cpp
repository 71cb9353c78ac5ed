#include "core/Platform.h"
#include "engine/SDxStateMachine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Owner;
typedef SDxStateMachine<Owner> Machine;

// An entity that records what its states see.
struct Owner {
  Machine* machine = nullptr;
  std::vector<std::string> calls;
};

// A state that records each call with the machine's phase and enter time.
class RecordingState : public SDxState<Owner> {
public:
  explicit RecordingState(const char* name) { m_name.Set(name); }
  void Enter(Owner* o, SDxState<Owner>* previous, uint32_t param) override {
    Record(o, "enter", previous, param);
  }
  void Execute(Owner* o) override { Record(o, "execute", nullptr, 0); }
  void Exit(Owner* o, SDxState<Owner>* next) override { Record(o, "exit", next, 0); }
  bool OnMessage(Owner* o, DXMSG* message) override {
    Record(o, "message", nullptr, message->id);
    return true;
  }

private:
  void Record(Owner* o, const char* what, SDxState<Owner>* other, uint32_t value) {
    std::string text = std::string(m_name.GetText()) + " " + what;
    if (other) text += std::string(" ") + other->m_name.GetText();
    if (value) text += " " + std::to_string(value);
    if (std::string(what) != "execute" && std::string(what) != "message") {
      text += " phase " + std::to_string(o->machine->GetPhase()) + " at " +
              std::to_string((int)o->machine->GetEnterTime());
    }
    o->calls.push_back(text);
  }
};

TEST(SDxStateMachineTest, ChangesExitBeforeEnterAndMessagesGoByTheirId) {
  SDx engine;  // not created: its game clock stands at 60
  Owner owner;
  Machine machine(&engine, &owner);
  owner.machine = &machine;
  RecordingState global("global"), idle("idle"), move("move");
  machine.SetCurrentState(&idle);  // no Enter
  EXPECT_TRUE(owner.calls.empty());
  EXPECT_EQ(60.0f, machine.GetEnterTime());

  machine.Update();  // no global state: the current one alone
  machine.SetGlobalState(&global);
  machine.ChangeState(&move, 7);
  machine.Update();
  std::vector<std::string> expected = {"idle execute", "idle exit move phase 2 at 60",
                                       "move enter idle 7 phase 1 at 60", "global execute",
                                       "move execute"};
  EXPECT_EQ(expected, owner.calls);
  EXPECT_EQ(&idle, machine.GetPreviousState());
  EXPECT_EQ(0, machine.GetPhase());

  owner.calls.clear();
  DXMSG toCurrent = {0, nullptr, 65535, 0.0f}, toGlobal = {0, nullptr, 65534, 0.0f};
  EXPECT_TRUE(machine.HandleMessage(&toCurrent));
  EXPECT_TRUE(machine.HandleMessage(&toGlobal));
  EXPECT_EQ((std::vector<std::string>{"move message 65535", "global message 65534"}),
            owner.calls);
  machine.SetGlobalState(nullptr);
  EXPECT_FALSE(machine.HandleMessage(&toGlobal));

  // Changing to nothing leaves no current state and enter time 0.
  machine.ChangeState(nullptr, 0);
  EXPECT_EQ(nullptr, machine.GetCurrentState());
  EXPECT_EQ(0.0f, machine.GetEnterTime());
  EXPECT_FALSE(machine.HandleMessage(&toCurrent));
}

}  // namespace
