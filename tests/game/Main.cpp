#include "core/Platform.h"
#include "window/Framework.h"

#include <gtest/gtest.h>

// The framework runs for the whole test program, started and shut down the
// way the game's entry does it.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, STARTUP_WINSOCK | STARTUP_XAUDIO2);
  int result = RUN_ALL_TESTS();
  ShutdownFramework();
  return result;
}
