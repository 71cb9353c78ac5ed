// Output helpers shared by the benchmark groups of core_bench.
#pragma once

#include "core/Platform.h"
#include "bench/BenchTiming.h"

#include <stdio.h>

namespace bench {

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
