// A device lost in a run ends the program with exit code 0; a run won and
// still on its finished screen keeps its result first: the save files hold
// its time and, online, its ghost went to the server. The program really
// ends, so each case plays in a process of its own (a death test) on a save
// folder that both processes find by its name.
#include "core/Platform.h"

#include "app/GameWindow.h"
#include "app/ReferenceServer.h"

#include <ostream>
#include <string>

namespace {

const char kSavesName[] = "gravrun2_lost_device";
const int kDifficulty = 2;

struct Loss {
  const char* name;
  bool online;
  bool resetFails;
};

void PrintTo(const Loss& loss, std::ostream* os) { *os << loss.name; }

bool g_resetFails = false;

// Every frame loses the device; the render targets cannot be made again
// when the reset is to fail.
HRESULT LoseTheDevice(int call, HRESULT result, void*) {
  if (call == SDx::D3DCALL_PRESENT) return D3DERR_DEVICELOST;
  if (call == SDx::D3DCALL_CREATE_TARGET && g_resetFails) return E_FAIL;
  return result;
}

// The game as the program makes it, a won finish on (0, 0), then a frame
// whose device is lost. Returns only when the program goes on.
void WinThenLoseTheDevice(const Loss& loss) {
  GameWindow window(kSavesName);
  window.Open(loss.online ? kDifficulty : -1,
              loss.online ? GameWindow::ServerPort() : int(GameWindow::NO_SERVER));
  if (::testing::Test::HasFatalFailure()) return;
  PGame& game = window.app.game;
  window.app.EnterGame(kDifficulty, 0, 0);
  window.Wait(1.1f);
  window.Press(VK_CONTROL);
  window.Step();
  window.Wait(1.0f);
  if (!game.IsRunning()) return;
  // Every target taken: the finish is won.
  game.targetsTaken = game.targetCount;
  game.Finish();
  if (game.GetState() != 4 || !game.success) return;
  g_resetFails = loss.resetFails;
  SDx::s_direct3DSeam = LoseTheDevice;
  window.Step();
  SDx::s_direct3DSeam = nullptr;
}

class LostDeviceInARun : public ::testing::TestWithParam<Loss> {
protected:
  void TearDown() override { ::RegDeleteKeyA(HKEY_CURRENT_USER, GAME_REGISTRY_KEY); }
};

TEST_P(LostDeviceInARun, KeepsTheWonResultAndEndsTheProgram) {
  const Loss& loss = GetParam();
  ReferenceServer server;
  if (loss.online) ASSERT_NE(0, server.port) << "the reference server is not running";
  if (server.port) server.Check();
  int requests = server.port ? server.Requests() : 0;
  TempFolder saves(kSavesName);

  EXPECT_EXIT(WinThenLoseTheDevice(loss), ::testing::ExitedWithCode(0), "");

  PWnd reader;
  reader.saveFolderPath = (saves.Path() + "\\").c_str();
  reader.LoadPlayer();
  const int time = reader.bestTimes[kDifficulty][0][0];
  EXPECT_NEAR(100, time, 2) << "a run of a second";
  EXPECT_EQ(3, reader.cellStates[kDifficulty][0][0]);
  EXPECT_EQ(2, reader.cellStates[kDifficulty][1][0]);
  PGhost ghost;
  reader.LoadGhost(&ghost, kDifficulty, 0, 0);
  EXPECT_GT(ghost.GetCount(), 0);
  if (!server.port) return;
  if (loss.online) {
    std::string last = server.Get("/last", "");
    EXPECT_NE(std::string::npos, last.find("time=" + std::to_string(time) + "\n")) << last;
    EXPECT_NE(std::string::npos, last.find("level=00\n")) << last;
    EXPECT_EQ("OK", server.Check()) << "problems the server saw";
  } else {
    EXPECT_EQ(requests, server.Requests()) << "offline, nothing is sent";
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LostDeviceInARun,
                         ::testing::Values(Loss{"OfflineResetFails", false, true},
                                           Loss{"OnlineResetFails", true, true},
                                           Loss{"OfflineResetWorks", false, false}),
                         [](const ::testing::TestParamInfo<Loss>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
