// Loading one keyed and compressed 8 MiB archive entry from a disk file,
// against zlib's one-shot uncompress of the same data in memory.
#include "bench/core_bench/Bench.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "core/SResource.h"
#include "tools/common/SResourceWriter.h"

#include <zlib.h>

#include <string.h>

#include <vector>

namespace {

const char kKey[] = "Zq8RkT2mWx4LbN7cVd1FgH5jKp3sYt9uEa6oPi0wQe2rTy4uIo6pAs8dFg1hJk3lZxCv5B";
static_assert(sizeof(kKey) == 71, "keys have 70 characters, like the game's");

// Level-text-like lines: words and numbers from a small generator.
std::vector<uint8_t> MakeData(int size) {
  static const char* const words[] = {"tube", "craft", "gem", "boost", "wall", "mine",
                                      "door", "laser", "piston", "wagon", "fire", "box"};
  std::vector<uint8_t> data;
  data.reserve(size + 64);
  uint32_t seed = 12345;
  char line[64];
  while (int(data.size()) < size) {
    seed = seed * 1103515245u + 12345u;
    int n = snprintf(line, sizeof(line), "%s %u %u\r\n", words[(seed >> 16) % 12],
                     (seed >> 8) % 997, (seed >> 20) % 53);
    data.insert(data.end(), line, line + n);
  }
  data.resize(size);
  return data;
}

}  // namespace

void bench::Archive() {
  const int size = 8 << 20;
  std::vector<uint8_t> data = MakeData(size);

  char folder[MAX_PATH], path[MAX_PATH];
  ::GetTempPathA(MAX_PATH, folder);
  ::GetTempFileNameA(folder, "arc", 0, path);
  {
    SFilePath file;
    if (!file.Open(path, true, true, false, false)) {
      printf("archive: cannot write %s\n", path);
      return;
    }
    SFileMem source;
    source.Write(data.data(), size);
    source.Rewind();
    SResourceWriter writer;
    writer.SetKey(kKey);
    if (!writer.Begin(&file, true) || !writer.Add("big.dat", &source) || !writer.End()) {
      printf("archive: cannot write %s\n", path);
      return;
    }
  }

  SResource resource;
  resource.SetKey(kKey);
  if (!resource.Open(path)) {
    printf("archive: cannot open %s\n", path);
    ::DeleteFileA(path);
    return;
  }
  SFileMem check;
  bool same = resource.Load(&check, "big.dat", true) && check.GetSize() == size &&
              memcmp(check.GetBuffer(), data.data(), size) == 0;
  check.Close();
  double ours = Best(7, [&] {
    SFileMem out;
    resource.Load(&out, "big.dat", true);
    Keep(out.GetBuffer());
  });

  uLongf packedLength = compressBound(size);
  std::vector<uint8_t> packed(packedLength);
  compress(packed.data(), &packedLength, data.data(), size);
  std::vector<uint8_t> output(size);
  double reference = Best(7, [&] {
    uLongf length = size;
    uncompress(output.data(), &length, packed.data(), packedLength);
    Keep(output.data());
  });
  // The same into a buffer of its own each time, as a load has to.
  double freshReference = Best(7, [&] {
    std::vector<uint8_t> fresh(size);
    uLongf length = size;
    uncompress(fresh.data(), &length, packed.data(), packedLength);
    Keep(fresh.data());
  });

  Ratio("archive entry 8 MiB keyed+compressed (inflate)", ours, reference);
  Ratio("  against inflate into a new buffer", ours, freshReference);
  printf("archive entry stored in %d bytes%s\n", resource.GetStoredSize(0),
         same ? "" : ", LOADED BYTES DIFFER");
  ::DeleteFileA(path);
}
