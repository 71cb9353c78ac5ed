#include "core/Platform.h"
#include "tools/soundgen/Filter.h"

#include <math.h>

namespace {
const double kPi = 3.141592653589793;
}

Filter::Filter(int kind) : m_kind(kind) { Reset(); }

void Filter::Reset() { m_x1 = m_x2 = m_y1 = m_y2 = 0.0; }

double Filter::Next(double input, double frequency, double sampleRate, double q) {
  double nyquist = 0.49 * sampleRate;
  if (frequency > nyquist) frequency = nyquist;
  if (frequency < 1.0) frequency = 1.0;
  if (m_kind == BAND_PASS) {
    // Band-pass with 0 dB gain at the centre frequency.
    double w = 2.0 * kPi * frequency / sampleRate;
    double alpha = sin(w) / (2.0 * (q > 0.1 ? q : 0.1));
    double a0 = 1.0 + alpha;
    double b0 = alpha / a0, b2 = -alpha / a0;
    double a1 = -2.0 * cos(w) / a0, a2 = (1.0 - alpha) / a0;
    double y = b0 * input + b2 * m_x2 - a1 * m_y1 - a2 * m_y2;
    m_x2 = m_x1;
    m_x1 = input;
    m_y2 = m_y1;
    m_y1 = y;
    return y;
  }
  double a = 1.0 - exp(-2.0 * kPi * frequency / sampleRate);
  m_y1 += a * (input - m_y1);
  return m_kind == LOW_PASS ? m_y1 : input - m_y1;
}
