#include "core/Platform.h"
#include "tools/soundgen/EffectSound.h"

#include "tools/common/DescriptionReader.h"
#include "tools/soundgen/Filter.h"
#include "tools/soundgen/Oscillator.h"
#include "tools/soundgen/WaveFile.h"

#include <math.h>

namespace {

const double kTwoPi = 6.283185307179586;

// Vowel formants: three centre frequencies (Hz) and their levels.
struct Vowel {
  char letter;
  double frequency[3];
};
const Vowel kVowels[] = {
    {'a', {800, 1150, 2900}}, {'e', {400, 1700, 2600}}, {'i', {270, 2140, 2950}},
    {'o', {450, 800, 2830}},  {'u', {325, 700, 2530}},
};
const double kFormantLevel[3] = {1.0, 0.6, 0.25};
const double kFormantWidth[3] = {90.0, 110.0, 150.0};  // bandwidth in Hz

int FindVowel(char letter) {
  for (int i = 0; i < (int)(sizeof(kVowels) / sizeof(kVowels[0])); ++i)
    if (kVowels[i].letter == letter) return i;
  return -1;
}

uint32_t HashName(const char* text) {
  uint32_t h = 2166136261u;
  for (; *text; ++text) h = (h ^ (uint8_t)*text) * 16777619u;
  return h;
}

// Time the gate takes to open or close, as a filter cut-off.
const double kGateSmoothing = 250.0;
// A sound played once fades to silence over its last samples, after its
// echo: an echo that the end cuts off would otherwise click.
const double kTailFadeSeconds = 0.01;

}  // namespace

EffectSound::EffectSound()
    : m_seconds(0),
      m_wave(0),
      m_from(0),
      m_to(0),
      m_attack(0),
      m_decay(0),
      m_release(0),
      m_volume(0),
      m_noise(0),
      m_lowPass(0),
      m_lowPassEnd(0),
      m_highPass(0),
      m_vibratoRate(0),
      m_vibratoDepth(0),
      m_tremoloRate(0),
      m_tremoloDepth(0),
      m_gateRate(0),
      m_gateDuty(1),
      m_steps(0),
      m_partialCount(0),
      m_vowelFrom(-1),
      m_vowelTo(-1),
      m_echoDelay(0),
      m_echoGain(0),
      m_seed(0),
      m_loop(false),
      m_length(0) {}

bool EffectSound::ReadPair(DescriptionReader& reader, const char* key, double& a, double& b,
                           bool optionalSecond) {
  SString value = reader.GetOption(key, 9);
  int colon = value.FindChar(':');
  if (colon < 0 && optionalSecond) {
    if (!DescriptionReader::ParseNumber(value.GetText(), a))
      return reader.Fail("bad %s value", key);
    b = a;
    return true;
  }
  if (colon < 0 || !DescriptionReader::ParseNumber(value.Left(colon).GetText(), a) ||
      !DescriptionReader::ParseNumber(value.Mid(colon + 1).GetText(), b))
    return reader.Fail("%s wants two numbers joined by ':'", key);
  return true;
}

bool EffectSound::Read(DescriptionReader& reader) {
  m_name = reader.Get(0);
  if (reader.GetCount() < 9) return reader.Fail("a sound needs nine fields");
  if (m_name.GetLength() == 0 || m_name.FindChar('/') >= 0 || m_name.FindChar('\\') >= 0)
    return reader.Fail("bad sound name");
  m_wave = reader.Get(2) == "speech" ? WAVE_SPEECH : Oscillator::FindWave(reader.Get(2).GetText());
  if (m_wave < 0 && !IsSpeech()) return reader.Fail("unknown wave \"%s\"", reader.Get(2).GetText());
  if (!reader.GetNumber(1, m_seconds) || !reader.GetNumber(3, m_from) ||
      !reader.GetNumber(4, m_to) || !reader.GetNumber(5, m_attack) ||
      !reader.GetNumber(6, m_decay) || !reader.GetNumber(7, m_release) ||
      !reader.GetNumber(8, m_volume))
    return false;
  if ((m_seconds < 0.01 && !(IsSpeech() && m_seconds == 0)) || m_seconds > 30.0)
    return reader.Fail("length out of range");
  if (m_from <= 0 || m_to <= 0) return reader.Fail("frequencies must be above 0");
  if (m_attack < 0 || m_decay < 0 || m_release < 0 ||
      (m_seconds > 0 && m_attack + m_release > m_seconds))
    return reader.Fail("bad envelope");
  if (m_volume <= 0 || m_volume > 1) return reader.Fail("volume out of (0, 1]");
  m_length = (int)lround(m_seconds * SAMPLE_RATE);
  m_seed = HashName(m_name.GetText());
  return ReadOptions(reader);
}

bool EffectSound::ReadOptions(DescriptionReader& reader) {
  static const char* const kKeys[] = {"noise", "lowpass",  "highpass", "vibrato", "tremolo", "gate",
                                      "steps", "partials", "formant",  "echo",    "seed"};
  for (int i = 9; i < reader.GetCount(); ++i) {
    SString field = reader.Get(i);
    if (field == "loop") {
      m_loop = true;
      continue;
    }
    int equals = field.FindChar('=');
    SString key = field.Left(equals);
    bool known = false;
    for (const char* k : kKeys)
      if (equals > 0 && key == k) known = true;
    if (!known) return reader.Fail("unknown option \"%s\"", field.GetText());
  }
  double unused = 0;
  if (reader.HasOption("noise", 9)) {
    if (!DescriptionReader::ParseNumber(reader.GetOption("noise", 9).GetText(), m_noise) ||
        m_noise < 0 || m_noise > 1)
      return reader.Fail("noise wants a number from 0 to 1");
  }
  if (reader.HasOption("lowpass", 9) && !ReadPair(reader, "lowpass", m_lowPass, m_lowPassEnd, true))
    return false;
  if (reader.HasOption("highpass", 9) && !ReadPair(reader, "highpass", m_highPass, unused, true))
    return false;
  if (reader.HasOption("vibrato", 9) &&
      !ReadPair(reader, "vibrato", m_vibratoRate, m_vibratoDepth, false))
    return false;
  if (reader.HasOption("tremolo", 9) &&
      !ReadPair(reader, "tremolo", m_tremoloRate, m_tremoloDepth, false))
    return false;
  if (reader.HasOption("gate", 9) && !ReadPair(reader, "gate", m_gateRate, m_gateDuty, false))
    return false;
  if (reader.HasOption("echo", 9) && !ReadPair(reader, "echo", m_echoDelay, m_echoGain, false))
    return false;
  if (m_lowPass < 0 || m_lowPassEnd < 0 || m_highPass < 0 || m_vibratoRate < 0 ||
      m_tremoloRate < 0 || m_gateRate < 0 || m_gateDuty <= 0 || m_gateDuty > 1 ||
      m_tremoloDepth < 0 || m_tremoloDepth > 1 || m_echoDelay < 0 ||
      (m_seconds > 0 && m_echoDelay >= m_seconds) || m_echoGain < 0 || m_echoGain >= 1)
    return reader.Fail("option value out of range");
  if (reader.HasOption("steps", 9)) {
    double steps = 0;
    if (!DescriptionReader::ParseNumber(reader.GetOption("steps", 9).GetText(), steps) ||
        steps < 2 || steps > 64 || steps != (int)steps)
      return reader.Fail("steps wants a whole number from 2 to 64");
    m_steps = (int)steps;
  }
  if (reader.HasOption("seed", 9)) {
    double seed = 0;
    if (!DescriptionReader::ParseNumber(reader.GetOption("seed", 9).GetText(), seed) || seed < 1 ||
        seed > 4294967295.0 || seed != (double)(uint32_t)seed)
      return reader.Fail("seed wants a whole number above 0");
    m_seed = (uint32_t)seed;
  }
  if (reader.HasOption("partials", 9)) {
    SString list = reader.GetOption("partials", 9) + ",";
    int start = 0, comma;
    while ((comma = list.FindChar(',', start)) >= 0) {
      SString item = list.Mid(start, comma - start);
      start = comma + 1;
      int colon = item.FindChar(':');
      if (m_partialCount == MAX_PARTIALS)
        return reader.Fail("at most %d partials", (int)MAX_PARTIALS);
      double& ratio = m_partialRatio[m_partialCount];
      double& level = m_partialLevel[m_partialCount];
      if (colon < 0 || !DescriptionReader::ParseNumber(item.Left(colon).GetText(), ratio) ||
          !DescriptionReader::ParseNumber(item.Mid(colon + 1).GetText(), level) || ratio <= 0 ||
          level < 0)
        return reader.Fail("partials wants RATIO:LEVEL pairs joined by ','");
      ++m_partialCount;
    }
  }
  if (reader.HasOption("formant", 9)) {
    SString vowels = reader.GetOption("formant", 9);
    if (vowels.GetLength() < 1 || vowels.GetLength() > 2)
      return reader.Fail("formant wants one or two vowels");
    m_vowelFrom = FindVowel(vowels.GetAt(0));
    m_vowelTo = FindVowel(vowels.GetAt(vowels.GetLength() - 1));
    if (m_vowelFrom < 0 || m_vowelTo < 0)
      return reader.Fail("unknown vowel in \"%s\"", vowels.GetText());
  }
  if (IsSpeech() &&
      (m_loop || m_partialCount > 0 || m_vowelFrom >= 0 || m_steps || m_vibratoDepth > 0))
    return reader.Fail("speech takes no loop, partials, formants, steps or vibrato");
  if (m_loop) {
    if (m_from != m_to || m_steps || m_attack != 0 || m_decay != 0 || m_release != 0 ||
        m_lowPassEnd != m_lowPass || m_vowelFrom != m_vowelTo)
      return reader.Fail("a loop keeps one frequency, filter and vowel and has no envelope");
  }
  return true;
}

bool EffectSound::LoadSpeech(const char* folder, DescriptionReader& reader) {
  SString path(folder);
  path += "/";
  path += m_name;
  SArray<double> recorded;
  int rate = 0;
  if (!WaveFile::Read(path.GetText(), recorded, rate))
    return reader.Fail("no 16-bit PCM speech in %s", path.GetText());
  // To the sound's rate by linear interpolation.
  int n = (int)((double)recorded.GetCount() * SAMPLE_RATE / rate);
  m_speech.SetSize(n, false);
  for (int i = 0; i < n; ++i) {
    double at = (double)i * rate / SAMPLE_RATE;
    int k = (int)at;
    double next = k + 1 < recorded.GetCount() ? recorded[k + 1] : 0.0;
    m_speech[i] = recorded[k] + (next - recorded[k]) * (at - k);
  }
  if (m_seconds == 0) {
    double speed = m_from < m_to ? m_from : m_to;
    m_seconds = (double)n / SAMPLE_RATE / speed + m_release + m_echoDelay * 3;
    m_length = (int)lround(m_seconds * SAMPLE_RATE);
  }
  if (m_seconds > 30.0) return reader.Fail("the speech is too long");
  return true;
}

double EffectSound::Snap(double frequency) const {
  if (!m_loop || frequency <= 0) return frequency;
  double cycles = floor(frequency * m_length / SAMPLE_RATE + 0.5);
  if (cycles < 1) cycles = 1;
  return cycles * SAMPLE_RATE / m_length;
}

double EffectSound::FrequencyAt(double t) const {
  double p = t / m_seconds;
  if (p > 1) p = 1;
  if (m_steps >= 2) {
    int k = (int)(p * m_steps);
    if (k >= m_steps) k = m_steps - 1;
    p = (double)k / (m_steps - 1);
  }
  return m_from * pow(m_to / m_from, p);
}

double EffectSound::EnvelopeAt(double t) const {
  if (m_loop) return 1.0;
  double level = 1.0;
  if (m_attack > 0 && t < m_attack) level = t / m_attack;
  if (t > m_attack) level = exp(-m_decay * (t - m_attack));
  double left = m_seconds - t;
  if (m_release > 0 && left < m_release) level *= left > 0 ? left / m_release : 0.0;
  return level;
}

void EffectSound::Synthesize(int n, double* out) const {
  Oscillator tone, noise;
  tone.Reset(IsSpeech() ? 0 : m_wave, m_seed);
  noise.Reset(Oscillator::WAVE_NOISE, m_seed ^ 0x5BD1E995u);
  Oscillator partials[MAX_PARTIALS];
  for (int k = 0; k < m_partialCount; ++k)
    partials[k].Reset(IsSpeech() ? 0 : m_wave, m_seed + 1 + k);
  Filter lowPass(Filter::LOW_PASS), highPass(Filter::HIGH_PASS), gate(Filter::LOW_PASS);
  Filter formants[3] = {Filter(Filter::BAND_PASS), Filter(Filter::BAND_PASS),
                        Filter(Filter::BAND_PASS)};
  double vibrato = Snap(m_vibratoRate), tremolo = Snap(m_tremoloRate), gateRate = Snap(m_gateRate);
  double speechAt = 0;
  for (int i = 0; i < n; ++i) {
    double t = (double)i / SAMPLE_RATE;
    double local = m_loop ? fmod(t, m_seconds) : t;
    double f = Snap(FrequencyAt(local));
    if (m_vibratoDepth > 0) f *= 1.0 + m_vibratoDepth * sin(kTwoPi * vibrato * t);
    double s = 0;
    if (IsSpeech()) {
      // f is the speed: the place in the speech moves by it.
      int k = (int)speechAt;
      if (k + 1 < m_speech.GetCount())
        s = m_speech[k] + (m_speech[k + 1] - m_speech[k]) * (speechAt - k);
      speechAt += f;
      f = 0;
    } else {
      s = tone.Next(f, SAMPLE_RATE);
    }
    for (int k = 0; k < m_partialCount; ++k)
      s += m_partialLevel[k] * partials[k].Next(Snap(f * m_partialRatio[k]), SAMPLE_RATE);
    if (m_noise > 0) s = (1.0 - m_noise) * s + m_noise * noise.NextNoise();
    double p = local / m_seconds;
    if (m_vowelFrom >= 0) {
      double v = 0;
      for (int k = 0; k < 3; ++k) {
        double fk = kVowels[m_vowelFrom].frequency[k] +
                    (kVowels[m_vowelTo].frequency[k] - kVowels[m_vowelFrom].frequency[k]) * p;
        v += kFormantLevel[k] * formants[k].Next(s, fk, SAMPLE_RATE, fk / kFormantWidth[k]);
      }
      s = v;
    }
    if (m_lowPass > 0)
      s = lowPass.Next(s, m_lowPass * pow(m_lowPassEnd / m_lowPass, p), SAMPLE_RATE);
    if (m_highPass > 0) s = highPass.Next(s, m_highPass, SAMPLE_RATE);
    double level = EnvelopeAt(local);
    if (m_tremoloDepth > 0) level *= 1.0 - m_tremoloDepth * (0.5 + 0.5 * sin(kTwoPi * tremolo * t));
    if (gateRate > 0) {
      double phase = fmod(t * gateRate, 1.0);
      level *= gate.Next(phase < m_gateDuty ? 1.0 : 0.0, kGateSmoothing, SAMPLE_RATE);
    }
    out[i] = s * level;
  }
  int delay = (int)lround(m_echoDelay * SAMPLE_RATE);
  if (delay > 0 && m_echoGain > 0)
    for (int i = delay; i < n; ++i) out[i] += m_echoGain * out[i - delay];
}

void EffectSound::Render(SArray<float>& samples) const {
  int n = m_length;
  SArray<double> mono;
  if (m_loop) {
    // One length to let filters and echoes settle, then the loop itself with
    // its last quarter faded into the samples just before it, so that its
    // end runs smoothly into its start.
    SArray<double> raw;
    raw.SetSize(2 * n, false);
    Synthesize(2 * n, &raw[0]);
    mono.SetSize(n, false);
    int fade = n / 4;
    for (int i = 0; i < n; ++i) {
      double v = raw[n + i];
      if (i >= n - fade) {
        double w = (double)(i - (n - fade)) / fade;
        v = (1.0 - w) * v + w * raw[i];
      }
      mono[i] = v;
    }
  } else {
    mono.SetSize(n, false);
    Synthesize(n, &mono[0]);
    int fade = (int)lround(kTailFadeSeconds * SAMPLE_RATE);
    if (fade > n) fade = n;
    for (int i = n - fade; i < n; ++i) mono[i] *= (double)(n - 1 - i) / fade;
  }
  double peak = 0;
  for (int i = 0; i < n; ++i) peak = fabs(mono[i]) > peak ? fabs(mono[i]) : peak;
  double gain = peak > 0 ? m_volume / peak : 0.0;
  samples.SetSize(n * CHANNELS, false);
  for (int i = 0; i < n; ++i)
    for (int c = 0; c < CHANNELS; ++c) samples[i * CHANNELS + c] = (float)(mono[i] * gain);
}
