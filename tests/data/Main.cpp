#include "core/PlatformGdiplus.h"
// GDI+ for the image tests, started once for the whole program.
#include "tests/support/GdiTestSupport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
