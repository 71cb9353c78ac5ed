// A tune and its synthesis, read from a tune file:
//
//   tempo BPM                  beats per minute
//   beats N                    length of a section in beats
//   voice NAME WAVE VOLUME ATTACK DECAY PAN [lowpass=HZ] [detune=CENTS]
//                              [vibrato=RATE:DEPTH]
//   section NAME               the note lines that follow belong to it
//   NAME: NOTE[:BEATS] ...     notes of a voice, appended in order
//   form SECTION[+T|-T] ...    the order in which the sections play, each
//                              moved T semitones (drums stay); several form
//                              lines follow one another
//
// WAVE is one of the oscillator waves or "drums". A note is a pitch such as
// C4, F#3 or Bb5 (A4 = 440 Hz), several pitches joined by "+" (a chord),
// "-" for a rest, or for drums k (kick), s (snare), h (hat), also joined by
// "+". A note without ":BEATS" lasts as long as the voice's previous one
// (one beat at first). In every section a voice is silent or fills exactly
// the section's beats. A file without sections is one section played once.
// The tune loops without a gap.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"
#include "core/SString.h"

class DescriptionReader;

class Tune {
public:
  enum {
    SAMPLE_RATE = 44100,
    CHANNELS = 2,
    MAX_VOICES = 8,
    MAX_CHORD = 4,
    MAX_SECTIONS = 16,
    MAX_FORM = 64
  };

  Tune();
  // Reads the whole file; false with the reader's message set.
  bool Read(DescriptionReader& reader);
  // Interleaved stereo samples, the loudest at the given peak.
  void Render(SArray<float>& samples, double peak) const;
  double GetSeconds() const;

private:
  struct Voice {
    SString name;
    int wave;  // oscillator wave, or -1 for drums
    double volume, attack, decay, pan;
    double lowPass, detune, vibratoRate, vibratoDepth;
    double beatsUsed, lastBeats;
  };
  struct Note {
    int voice;
    int section;
    double start, beats;  // in beats
    int count;
    double pitch[MAX_CHORD];  // Hz, or the drum letter
  };

  struct Part {
    int section;
    int transpose;  // semitones
  };

  bool ReadVoice(DescriptionReader& reader);
  bool StartSection(DescriptionReader& reader, const SString& name);
  // False with the message set when a voice of the current section has
  // some notes but not the section's beats.
  bool EndSection(DescriptionReader& reader);
  bool ReadForm(DescriptionReader& reader);
  bool ReadNotes(DescriptionReader& reader, int voice);
  bool ParseNote(DescriptionReader& reader, const SString& token, int voice, Note& note);
  void RenderNote(const Note& note, double* out, int length) const;
  static void RenderDrum(char kind, int seed, double* out, int n);

  double m_tempo;
  double m_beats;
  Voice m_voices[MAX_VOICES];
  int m_voiceCount;
  SArray<Note> m_notes;
  SString m_sections[MAX_SECTIONS];
  int m_sectionCount;
  Part m_form[MAX_FORM];
  int m_formCount;
};
