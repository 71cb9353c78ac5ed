// Small timing helpers shared by the benchmark groups of core_bench.
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

// One line of output: "name: ours ms, reference ms, ratio x".
inline void Ratio(const char* name, double ours, double reference) {
  printf("%-44s %10.3f ms %10.3f ms  ratio %.2f\n", name, ours * 1e3, reference * 1e3,
         reference > 0 ? ours / reference : 0.0);
}

inline void Rate(const char* name, double bytes, double seconds) {
  printf("%-44s %10.1f MB/s\n", name, seconds > 0 ? bytes / seconds / 1e6 : 0.0);
}

// Keeps the optimiser from dropping a computed value.
inline void Keep(const void* p) { asm volatile("" : : "g"(p) : "memory"); }

// Groups, one per file of this folder.
void Strings();
void Arrays();
void Digests();
void Archive();

}  // namespace bench
