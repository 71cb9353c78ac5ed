// Timing shared by the benchmark programs.
#pragma once

#include "core/Platform.h"

namespace bench {

// Seconds from a high-resolution counter, since the first call. The ticks
// are subtracted as integers before they become seconds: a Direct3D device
// leaves the FPU in single precision, too coarse for a time since boot.
inline double Now() {
  static LARGE_INTEGER start = [] {
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return c;
  }();
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return double(c.QuadPart - start.QuadPart) / double(f.QuadPart);
}

// Best of `runs` timings of fn(), in seconds.
template <class Fn>
double Best(int runs, Fn fn) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    double t0 = Now();
    fn();
    double t = Now() - t0;
    if (t < best) best = t;
  }
  return best;
}

}  // namespace bench
