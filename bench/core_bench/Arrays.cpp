// SArray<int> against the standard library: quicksort against std::sort and
// binary search (FindSorted) against std::lower_bound, on the same seeded
// random numbers.
#include "bench/core_bench/Bench.h"
#include "core/SArray.h"

#include <algorithm>
#include <random>
#include <vector>

namespace bench {

void Arrays() {
  const int n = 1000000;
  std::mt19937 rng(20240601);
  std::vector<int> values(n);
  for (int& v : values) v = int(rng());

  SArray<int> ours;
  ours.Resize(n);
  std::vector<int> reference;
  double sortOurs = Best(3, [&] {
    for (int i = 0; i < n; ++i) ours[i] = values[i];
    ours.Sort();
  });
  double sortReference = Best(3, [&] {
    reference = values;
    std::sort(reference.begin(), reference.end());
  });
  Ratio("SArray<int>::Sort, 1e6 random ints", sortOurs, sortReference);
  for (int i = 0; i < n; ++i) {
    if (ours[i] != reference[i]) {
      printf("SArray<int>::Sort: wrong order at %d\n", i);
      break;
    }
  }

  const int lookups = 1000000;
  std::vector<int> keys(lookups);
  for (int i = 0; i < lookups; ++i) keys[i] = (i % 2) ? values[rng() % n] : int(rng());
  long found = 0;
  double searchOurs = Best(3, [&] {
    found = 0;
    for (int k : keys) found += ours.FindSorted(k) >= 0;
  });
  long foundReference = 0;
  double searchReference = Best(3, [&] {
    foundReference = 0;
    for (int k : keys) {
      auto it = std::lower_bound(reference.begin(), reference.end(), k);
      foundReference += it != reference.end() && *it == k;
    }
  });
  Keep(&found);
  Keep(&foundReference);
  Ratio("SArray<int>::FindSorted, 1e6 lookups", searchOurs, searchReference);
  if (found != foundReference) printf("SArray<int>::FindSorted: %ld found, expected %ld\n", found, foundReference);
}

}  // namespace bench
