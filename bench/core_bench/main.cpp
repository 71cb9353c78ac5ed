#include "bench/core_bench/Bench.h"

int main() {
  printf("%-44s %13s %13s\n", "measure", "ours", "reference");
  bench::Strings();
  bench::Arrays();
  bench::Digests();
  bench::Archive();
  return 0;
}
