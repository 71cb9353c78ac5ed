// Benchmark groups of editors_bench: each file registers its group with one
// static Group object; main runs every group, or those whose name is given.
#pragma once

#include "core/Platform.h"

#include <stdio.h>

namespace bench {

// Seconds from a high-resolution counter.
inline double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return double(c.QuadPart) / double(f.QuadPart);
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

// One line of output: "name: value unit".
inline void Print(const char* name, double value, const char* unit) {
  printf("%-52s %12.3f %s\n", name, value, unit);
}

struct Group {
  Group(const char* name, void (*run)());
  const char* name;
  void (*run)();
  Group* next;
};

}  // namespace bench
