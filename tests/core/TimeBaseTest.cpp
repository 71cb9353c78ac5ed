#include "core/Platform.h"
#include "core/SDll.h"
#include "core/TimeBase.h"

#include <gtest/gtest.h>

#include <math.h>

namespace {

TEST(TimeBaseTest, ClockStartsAtZeroAndNeverGoesBack) {
  InitTimeBase();
  ASSERT_TRUE(IsTimeBaseHighResolution());
  float last = GetTimeSeconds();
  EXPECT_GE(last, 0.0f);
  EXPECT_LT(last, 0.05f);
  for (int i = 0; i < 100000; ++i) {
    float now = GetTimeSeconds();
    ASSERT_GE(now, last);
    last = now;
  }

  // The millisecond clock moves in whole milliseconds.
  InitTimeBase(false);
  EXPECT_FALSE(IsTimeBaseHighResolution());
  last = GetTimeSeconds();
  EXPECT_LT(last, 0.05f);
  for (int i = 0; i < 20; ++i) {
    Sleep(3);
    float now = GetTimeSeconds();
    EXPECT_GE(now, last);
    EXPECT_NEAR(now * 1000.0f, roundf(now * 1000.0f), 0.01f);
    last = now;
  }
  InitTimeBase();
}

TEST(TimeBaseTest, ClockCountsSeconds) {
  for (bool highResolution : {true, false}) {
    InitTimeBase(highResolution);
    float before = GetTimeSeconds();
    Sleep(250);
    float elapsed = GetTimeSeconds() - before;
    EXPECT_GT(elapsed, 0.2f) << highResolution;
    EXPECT_LT(elapsed, 1.5f) << highResolution;
  }
  InitTimeBase();
}

TEST(TimeBaseTest, LibraryFreeReleasesAndDeletesTheTemporaryCopy) {
  SDll dll;
  EXPECT_FALSE(dll.Free());

  char system[MAX_PATH], folder[MAX_PATH], copy[MAX_PATH];
  ASSERT_NE(0u, GetSystemDirectoryA(system, MAX_PATH));
  strcat(system, "\\msimg32.dll");
  ASSERT_NE(0u, GetTempPathA(MAX_PATH, folder));
  ASSERT_NE(0u, GetTempFileNameA(folder, "dll", 0, copy));
  ASSERT_TRUE(CopyFileA(system, copy, FALSE));

  HMODULE module = LoadLibraryA(copy);
  ASSERT_NE(nullptr, module);
  dll.SetModule(module);
  dll.SetTempCopy(copy);
  dll.GetFunctions().Add(reinterpret_cast<void*>(GetProcAddress(module, "AlphaBlend")));

  EXPECT_TRUE(dll.Free());
  EXPECT_EQ(nullptr, dll.GetModule());
  EXPECT_EQ(0, dll.GetFunctions().GetCount());
  EXPECT_EQ(0, dll.GetTempCopy().GetLength());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy));
  EXPECT_FALSE(dll.Free());

  // After a free the object can hold a library again; the destructor frees it.
  dll.SetModule(LoadLibraryA("msimg32.dll"));
  EXPECT_NE(nullptr, dll.GetModule());
  EXPECT_FALSE(g_sharedLibrary.Free());
}

}  // namespace
