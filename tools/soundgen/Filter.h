// Filters of the sound generator: one-pole low-pass and high-pass, and a
// two-pole band-pass resonator (unit gain at its centre) for vowel formants.
// The cut-off may change from sample to sample.
#pragma once

#include "core/Platform.h"

class Filter {
public:
  enum Kind { LOW_PASS, HIGH_PASS, BAND_PASS };

  explicit Filter(int kind = LOW_PASS);
  void Reset();
  // One sample through the filter; for the band-pass, q is its quality
  // (centre frequency over bandwidth).
  double Next(double input, double frequency, double sampleRate, double q = 1.0);

private:
  int m_kind;
  double m_x1, m_x2, m_y1, m_y2;
};
