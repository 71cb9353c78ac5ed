// One sound effect of the sound table and its synthesis.
//
// A table record is:
//   NAME SECONDS WAVE FROM TO ATTACK DECAY RELEASE VOLUME [options]
// WAVE is sine, triangle, square, saw, pulse or noise; FROM and TO are the
// start and end frequencies in Hz (an exponential glide, or STEPS equal
// jumps). WAVE "speech" takes recorded speech instead: the WAVE file of the
// sound's name in the speech folder, played at FROM to TO times its speed;
// SECONDS 0 makes the sound as long as the speech plus its release and echo; ATTACK is a linear
// rise in seconds, DECAY an exponential fall per second after it (0 holds), RELEASE a linear fade
// at the end in seconds; VOLUME is the peak level in (0, 1]. Options:
//   noise=F            white noise mixed in, 0 to 1
//   lowpass=HZ[:HZ2]   one-pole low-pass, its cut-off gliding to HZ2
//   highpass=HZ        one-pole high-pass
//   vibrato=RATE:DEPTH frequency wobble, DEPTH a fraction of the frequency
//   tremolo=RATE:DEPTH level wobble, DEPTH 0 to 1
//   gate=RATE:DUTY     the sound switched on and off RATE times a second
//   steps=N            the glide made of N equal jumps
//   partials=R:A,...   further tones at R times the frequency, level A
//   formant=V[W]       vowel filter (a, e, i, o, u), morphing from V to W
//   echo=SECONDS:GAIN  one feedback delay
//   seed=N             noise seed (default: from the name)
//   loop               a seamless loop: whole cycles, no envelope
// A sound without "loop" is played once: its last 10 ms fade to silence
// after its echo, so that it stops without a click.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

#include <stdint.h>

class DescriptionReader;

class EffectSound {
public:
  enum { SAMPLE_RATE = 22050, CHANNELS = 2, MAX_PARTIALS = 4, WAVE_SPEECH = -1 };

  EffectSound();
  // Reads the current record; false with the reader's message set.
  bool Read(DescriptionReader& reader);
  bool IsSpeech() const { return m_wave == WAVE_SPEECH; }
  // Reads the speech of a "speech" sound from the folder; false with the
  // reader's message set.
  bool LoadSpeech(const char* folder, DescriptionReader& reader);
  // Interleaved stereo samples (both channels alike), peak at the volume.
  void Render(SArray<float>& samples) const;

  const SString& GetName() const { return m_name; }
  double GetSeconds() const { return m_seconds; }
  bool IsLoop() const { return m_loop; }

private:
  bool ReadPair(DescriptionReader& reader, const char* key, double& a, double& b,
                bool optionalSecond);
  bool ReadOptions(DescriptionReader& reader);
  // n samples of the sound from its start, before the level is set.
  void Synthesize(int n, double* out) const;
  double FrequencyAt(double t) const;
  double EnvelopeAt(double t) const;
  // A frequency moved to the nearest whole number of cycles in the loop.
  double Snap(double frequency) const;

  SString m_name;
  double m_seconds;
  int m_wave;
  double m_from, m_to;
  double m_attack, m_decay, m_release;
  double m_volume;
  double m_noise;
  double m_lowPass, m_lowPassEnd, m_highPass;
  double m_vibratoRate, m_vibratoDepth;
  double m_tremoloRate, m_tremoloDepth;
  double m_gateRate, m_gateDuty;
  int m_steps;
  int m_partialCount;
  double m_partialRatio[MAX_PARTIALS], m_partialLevel[MAX_PARTIALS];
  int m_vowelFrom, m_vowelTo;
  double m_echoDelay, m_echoGain;
  uint32_t m_seed;
  bool m_loop;
  int m_length;             // samples
  SArray<double> m_speech;  // at SAMPLE_RATE
};
