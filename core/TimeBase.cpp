#include "core/Platform.h"
#include "core/TimeBase.h"

namespace {

bool g_highResolution = false;
LONGLONG g_startCounter = 0;
double g_frequency = 0.0;
// The millisecond count at start-up; differences are taken in unsigned
// arithmetic so that a wrap of the counter does no harm.
DWORD g_startMilliseconds = 0;

}  // namespace

void InitTimeBase(bool highResolution) {
  g_startMilliseconds = timeGetTime();
  g_highResolution = false;
  g_frequency = 0.0;
  LARGE_INTEGER frequency;
  if (highResolution && QueryPerformanceFrequency(&frequency) && frequency.QuadPart != 0) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    g_frequency = static_cast<double>(frequency.QuadPart);
    g_startCounter = counter.QuadPart;
    g_highResolution = true;
  }
}

float GetTimeSeconds() {
  if (g_highResolution) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<float>(static_cast<double>(counter.QuadPart - g_startCounter) / g_frequency);
  }
  DWORD elapsed = timeGetTime() - g_startMilliseconds;
  return static_cast<float>(elapsed / 1000.0);
}

bool IsTimeBaseHighResolution() { return g_highResolution; }
