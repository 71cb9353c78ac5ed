// Range edits of a 10-minute stereo 16-bit wave at 44100 Hz (about 106 MB
// in its data file): amplifying and deleting a range, without a play buffer
// and then with the DirectSound buffer that every edit refills.
#include "core/Platform.h"

#include "bench/editors_bench/Bench.h"
#include "editors/SWave.h"
#include "window/Framework.h"

namespace {

const uint32_t kRate = 44100;
const uint32_t kFrames = kRate * 600;
const uint32_t kMinute = kRate * 60;

double Megabytes(uint32_t frames) { return frames * 4.0 / 1e6; }

// A loaded wave of kFrames silent frames with a ramp written over its first
// minute; false when the data file cannot grow.
bool MakeWave(SWave& wave) {
  if (!wave.Create(2) || !wave.BeginOperation(0, 0, -1, nullptr, nullptr)) return false;
  if (!wave.InsertSilence(kFrames)) return false;
  if (!wave.BeginOperation(0, kMinute, -1, nullptr, nullptr)) return false;
  return wave.Amplify(1.0);
}

void Edits(const char* label) {
  SWave wave;
  double t0 = bench::Now();
  if (!MakeWave(wave)) {
    printf("%s: the wave could not be made\n", label);
    return;
  }
  char name[96];
  snprintf(name, sizeof(name), "%s: make 10 min stereo (%.0f MB)", label, Megabytes(kFrames));
  bench::Print(name, bench::Now() - t0, "s");

  struct Edit {
    const char* what;
    uint32_t start, count;
    bool remove;
  } edits[] = {
      {"amplify 1 min in the middle", kFrames / 2, kMinute, false},
      {"amplify all 10 min", 0, kFrames, false},
      {"delete 1 min in the middle", kFrames / 2 - kMinute, kMinute, true},
      {"delete 1 min at the start", 0, kMinute, true},
  };
  for (const Edit& edit : edits) {
    if (!wave.BeginOperation(edit.start, edit.count, -1, nullptr, nullptr)) continue;
    double t = bench::Now();
    bool done = edit.remove ? wave.DeleteRange() : wave.Amplify(1.5);
    t = bench::Now() - t;
    snprintf(name, sizeof(name), "%s: %s%s", label, edit.what, done ? "" : " (FAILED)");
    bench::Print(name, t, "s");
  }
}

void Run() {
  Edits("no buffer");
  CreateDirectSound();
  if (g_directSound)
    Edits("DirectSound buffer");
  else
    printf("no DirectSound object here\n");
}

bench::Group g_group("wave", Run);

}  // namespace
