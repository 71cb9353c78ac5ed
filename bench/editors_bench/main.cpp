#include "bench/editors_bench/Bench.h"
#include "window/Framework.h"

#include <string.h>

namespace bench {

static Group* g_first = nullptr;

Group::Group(const char* groupName, void (*groupRun)()) : name(groupName), run(groupRun) {
  next = g_first;
  g_first = this;
}

}  // namespace bench

// Runs every group, or only the groups named on the command line.
int main(int argc, char** argv) {
  StartupFramework(::GetModuleHandleA(nullptr), SW_SHOWNORMAL, 0);
  for (bench::Group* group = bench::g_first; group; group = group->next) {
    bool wanted = argc < 2;
    for (int i = 1; i < argc; ++i) wanted = wanted || strcmp(argv[i], group->name) == 0;
    if (!wanted) continue;
    printf("[%s]\n", group->name);
    group->run();
  }
  ShutdownFramework();
  return 0;
}
