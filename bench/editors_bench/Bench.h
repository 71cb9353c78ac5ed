// Benchmark groups of editors_bench: each file registers its group with one
// static Group object; main runs every group, or those whose name is given.
#pragma once

#include "core/Platform.h"
#include "bench/BenchTiming.h"

#include <stdio.h>

namespace bench {

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
