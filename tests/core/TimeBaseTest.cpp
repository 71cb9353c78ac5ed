#include "core/Platform.h"
#include "core/SDll.h"
#include "core/TimeBase.h"

#include <gtest/gtest.h>

#include <math.h>

namespace {

TEST(TimeBaseTest, ClockStartsAtZeroCountsSecondsAndNeverGoesBack) {
  LARGE_INTEGER frequency;
  ASSERT_TRUE(::QueryPerformanceFrequency(&frequency));
  for (bool highResolution : {true, false}) {
    LARGE_INTEGER before, after;
    ::QueryPerformanceCounter(&before);
    InitTimeBase(highResolution);
    float last = GetTimeSeconds();
    ::QueryPerformanceCounter(&after);
    EXPECT_EQ(highResolution, IsTimeBaseHighResolution());
    EXPECT_GE(last, 0.0f);
    // It starts at zero: the first read shows no more than the time that
    // passed around the start by another clock (plus a millisecond tick),
    // however long that was on a busy machine.
    double around = double(after.QuadPart - before.QuadPart) / double(frequency.QuadPart);
    EXPECT_LE(last, around + 0.002) << highResolution;
    for (int i = 0; i < 20000; ++i) {
      float now = GetTimeSeconds();
      ASSERT_GE(now, last);
      // The millisecond clock moves in whole milliseconds.
      if (!highResolution) {
        ASSERT_NEAR(now * 1000.0f, roundf(now * 1000.0f), 0.01f);
      }
      last = now;
    }
    // A sleep of 250 ms shows as at least 0.2 s.
    Sleep(250);
    EXPECT_GT(GetTimeSeconds() - last, 0.2f) << highResolution;
  }
  InitTimeBase();
}

TEST(TimeBaseTest, LibraryObjectMembersAndFree) {
  SDll dll;
  EXPECT_TRUE(dll.GetDisk().GetTrailingSeparator());
  EXPECT_EQ(1u, dll.GetUserValue1());
  EXPECT_EQ(0u, dll.GetUserValue2());
  EXPECT_FALSE(dll.Free());
  // The two process-wide objects hold nothing.
  for (SDll* shared : {&g_sharedLibrary, &g_richTextLibrary}) {
    EXPECT_EQ(nullptr, shared->GetModule());
    EXPECT_FALSE(shared->Free());
  }

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
  dll.SetUserValue2(7);
  dll.GetFunctions().Add(reinterpret_cast<void*>(GetProcAddress(module, "AlphaBlend")));

  // Free releases the library and deletes the copy; the user's words stay.
  EXPECT_TRUE(dll.Free());
  EXPECT_EQ(nullptr, dll.GetModule());
  EXPECT_EQ(0, dll.GetFunctions().GetCount());
  EXPECT_EQ(0, dll.GetTempCopy().GetLength());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(copy));
  EXPECT_EQ(7u, dll.GetUserValue2());
  EXPECT_FALSE(dll.Free());
  // After a free the object can hold a library again; the destructor frees it.
  dll.SetModule(LoadLibraryA("msimg32.dll"));
  EXPECT_NE(nullptr, dll.GetModule());
}

}  // namespace
