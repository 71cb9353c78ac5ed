// One tone source of the sound generator: a periodic wave of a given
// frequency, or noise. The phase runs in cycles; the square and saw waves are
// smoothed at their jumps (polynomial band-limited steps) so that high notes
// do not fold back into the audible range. Noise comes from a 32-bit
// xorshift generator seeded by the caller, so a sound is the same on every
// run.
#pragma once

#include "core/Platform.h"

#include <stdint.h>

class Oscillator {
public:
  enum Wave { WAVE_SINE, WAVE_TRIANGLE, WAVE_SQUARE, WAVE_SAW, WAVE_PULSE, WAVE_NOISE, WAVE_COUNT };

  Oscillator();
  void Reset(int wave, uint32_t seed);
  // The next sample in [-1, 1] at the given frequency and sample rate. For
  // noise the frequency is the rate at which new random values are drawn
  // (and joined by straight lines): low rates rumble, high rates hiss.
  double Next(double frequency, double sampleRate);
  // Uniform white noise in [-1, 1] from this oscillator's generator.
  double NextNoise();

  // The wave whose name is given ("sine", "square"...), or -1.
  static int FindWave(const char* name);

private:
  static double Blep(double t, double dt);

  int m_wave;
  double m_phase;
  uint32_t m_state;
  double m_from, m_to;
};
