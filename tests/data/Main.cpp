#include "core/PlatformGdiplus.h"

#include <gtest/gtest.h>

// GDI+ for the image tests, started once for the whole program.
class GdiplusEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
  }
  void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
  ULONG_PTR m_token = 0;
};

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);
  return RUN_ALL_TESTS();
}
