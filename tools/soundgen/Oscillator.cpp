#include "core/Platform.h"
#include "tools/soundgen/Oscillator.h"

#include <math.h>

namespace {

const char* const kWaveNames[Oscillator::WAVE_COUNT] = {"sine", "triangle", "square", "saw", "pulse", "noise"};

const double kTwoPi = 6.283185307179586;

// Duty cycle of the pulse wave: a thin, buzzing pulse.
const double kPulseDuty = 0.12;

}  // namespace

Oscillator::Oscillator() { Reset(WAVE_SINE, 1); }

void Oscillator::Reset(int wave, uint32_t seed) {
  m_wave = wave;
  m_phase = 0.0;
  m_state = seed ? seed : 0x9E3779B9u;
  m_from = 0.0;
  m_to = NextNoise();
}

int Oscillator::FindWave(const char* name) {
  for (int i = 0; i < WAVE_COUNT; ++i)
    if (strcmp(name, kWaveNames[i]) == 0) return i;
  return -1;
}

double Oscillator::NextNoise() {
  m_state ^= m_state << 13;
  m_state ^= m_state >> 17;
  m_state ^= m_state << 5;
  return (double)m_state / 2147483647.5 - 1.0;
}

double Oscillator::Blep(double t, double dt) {
  if (dt <= 0.0) return 0.0;
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Oscillator::Next(double frequency, double sampleRate) {
  double dt = frequency / sampleRate;
  if (dt < 0.0) dt = 0.0;
  if (dt > 0.5) dt = 0.5;
  double t = m_phase;
  double value = 0.0;
  switch (m_wave) {
    case WAVE_SINE:
      value = sin(kTwoPi * t);
      break;
    case WAVE_TRIANGLE:
      value = t < 0.5 ? 4.0 * t - 1.0 : 3.0 - 4.0 * t;
      break;
    case WAVE_SQUARE: {
      value = t < 0.5 ? 1.0 : -1.0;
      value += Blep(t, dt);
      double u = t + 0.5;
      if (u >= 1.0) u -= 1.0;
      value -= Blep(u, dt);
      break;
    }
    case WAVE_SAW:
      value = 2.0 * t - 1.0 - Blep(t, dt);
      break;
    case WAVE_PULSE: {
      value = t < kPulseDuty ? 1.0 : -kPulseDuty / (1.0 - kPulseDuty);
      double step = 1.0 + kPulseDuty / (1.0 - kPulseDuty);
      value += 0.5 * step * Blep(t, dt);
      double u = t + 1.0 - kPulseDuty;
      if (u >= 1.0) u -= 1.0;
      value -= 0.5 * step * Blep(u, dt);
      break;
    }
    case WAVE_NOISE:
      value = m_from + (m_to - m_from) * t;
      break;
  }
  m_phase += m_wave == WAVE_NOISE ? frequency / sampleRate : dt;
  while (m_phase >= 1.0) {
    m_phase -= 1.0;
    if (m_wave == WAVE_NOISE) {
      m_from = m_to;
      m_to = NextNoise();
    }
  }
  return value;
}
