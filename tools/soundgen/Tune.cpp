#include "core/Platform.h"
#include "tools/soundgen/Tune.h"

#include "tools/common/DescriptionReader.h"
#include "tools/soundgen/Filter.h"
#include "tools/soundgen/Oscillator.h"

#include <math.h>

namespace {

const double kTwoPi = 6.283185307179586;
// Every note fades out over its last few milliseconds, so that it ends
// without a click.
const double kNoteRelease = 0.008;
const char kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G

}  // namespace

Tune::Tune() : m_tempo(0), m_beats(0), m_voiceCount(0), m_sectionCount(0), m_formCount(0) {}

double Tune::GetSeconds() const {
  return m_tempo > 0 ? m_formCount * m_beats * 60.0 / m_tempo : 0.0;
}

bool Tune::EndSection(DescriptionReader& reader) {
  for (int i = 0; i < m_voiceCount; ++i) {
    if (m_voices[i].beatsUsed != 0 && fabs(m_voices[i].beatsUsed - m_beats) > 1e-9)
      return reader.Fail("voice \"%s\" has %g beats in section \"%s\", the section %g",
                         m_voices[i].name.GetText(), m_voices[i].beatsUsed,
                         m_sections[m_sectionCount - 1].GetText(), m_beats);
    m_voices[i].beatsUsed = 0;
    m_voices[i].lastBeats = 1;
  }
  return true;
}

bool Tune::StartSection(DescriptionReader& reader, const SString& name) {
  if (m_sectionCount > 0 && !EndSection(reader)) return false;
  if (m_sectionCount == MAX_SECTIONS) return reader.Fail("at most %d sections", (int)MAX_SECTIONS);
  for (int i = 0; i < m_sectionCount; ++i)
    if (m_sections[i] == name) return reader.Fail("section \"%s\" twice", name.GetText());
  m_sections[m_sectionCount++] = name;
  return true;
}

bool Tune::ReadForm(DescriptionReader& reader) {
  for (int i = 1; i < reader.GetCount(); ++i) {
    SString item = reader.Get(i);
    int sign = item.FindChar('+') >= 0 ? item.FindChar('+') : item.FindChar('-');
    SString name = sign < 0 ? item : item.Left(sign);
    double transpose = 0;
    if (sign >= 0 && (!DescriptionReader::ParseNumber(item.Mid(sign).GetText(), transpose) ||
                      transpose != (int)transpose || fabs(transpose) > 24))
      return reader.Fail("bad transposition in \"%s\"", item.GetText());
    int section = -1;
    for (int k = 0; k < m_sectionCount; ++k)
      if (m_sections[k] == name) section = k;
    if (section < 0) return reader.Fail("no section \"%s\"", name.GetText());
    if (m_formCount == MAX_FORM) return reader.Fail("at most %d parts in the form", (int)MAX_FORM);
    m_form[m_formCount].section = section;
    m_form[m_formCount].transpose = (int)transpose;
    ++m_formCount;
  }
  return true;
}

bool Tune::Read(DescriptionReader& reader) {
  while (reader.Next()) {
    SString head = reader.Get(0);
    if (head == "tempo") {
      if (!reader.GetNumber(1, m_tempo)) return false;
      if (m_tempo < 20 || m_tempo > 400) return reader.Fail("tempo out of range");
    } else if (head == "beats") {
      if (!reader.GetNumber(1, m_beats)) return false;
      if (m_beats <= 0 || m_beats > 512) return reader.Fail("beats out of range");
    } else if (head == "voice") {
      if (m_sectionCount > 0) return reader.Fail("voices come before the sections");
      if (!ReadVoice(reader)) return false;
    } else if (head == "section") {
      if (m_beats <= 0 || reader.GetCount() != 2)
        return reader.Fail("\"beats N\", then \"section NAME\"");
      if (!StartSection(reader, reader.Get(1))) return false;
    } else if (head == "form") {
      if (!ReadForm(reader)) return false;
    } else if (head.GetLength() > 1 && head.GetAt(head.GetLength() - 1) == ':') {
      SString name = head.Left(head.GetLength() - 1);
      int voice = -1;
      for (int i = 0; i < m_voiceCount; ++i)
        if (m_voices[i].name == name) voice = i;
      if (voice < 0) return reader.Fail("no voice named \"%s\"", name.GetText());
      if (m_sectionCount == 0) {
        // A tune without sections is one section, played once.
        if (!StartSection(reader, SString("tune"))) return false;
        m_form[0].section = 0;
        m_form[0].transpose = 0;
        m_formCount = 1;
      }
      if (!ReadNotes(reader, voice)) return false;
    } else {
      return reader.Fail("unknown record \"%s\"", head.GetText());
    }
  }
  if (m_tempo <= 0 || m_beats <= 0 || m_voiceCount == 0 || m_sectionCount == 0)
    return reader.Fail("tempo, beats, a voice and notes are needed");
  if (!EndSection(reader)) return false;
  if (m_formCount == 0) return reader.Fail("no form");
  return true;
}

bool Tune::ReadVoice(DescriptionReader& reader) {
  if (m_voiceCount == MAX_VOICES) return reader.Fail("at most %d voices", (int)MAX_VOICES);
  if (reader.GetCount() < 7) return reader.Fail("a voice needs seven fields");
  Voice& v = m_voices[m_voiceCount];
  v.name = reader.Get(1);
  for (int i = 0; i < m_voiceCount; ++i)
    if (m_voices[i].name == v.name) return reader.Fail("voice \"%s\" twice", v.name.GetText());
  SString wave = reader.Get(2);
  v.wave = wave == "drums" ? -1 : Oscillator::FindWave(wave.GetText());
  if (v.wave < 0 && wave != "drums") return reader.Fail("unknown wave \"%s\"", wave.GetText());
  if (!reader.GetNumber(3, v.volume) || !reader.GetNumber(4, v.attack) ||
      !reader.GetNumber(5, v.decay) || !reader.GetNumber(6, v.pan))
    return false;
  if (v.volume <= 0 || v.volume > 1 || v.attack < 0 || v.decay < 0 || v.pan < -1 || v.pan > 1)
    return reader.Fail("voice value out of range");
  v.lowPass = v.detune = v.vibratoRate = v.vibratoDepth = 0;
  for (int i = 7; i < reader.GetCount(); ++i) {
    SString field = reader.Get(i);
    int equals = field.FindChar('=');
    SString key = field.Left(equals), value = field.Mid(equals + 1);
    bool ok = equals > 0;
    if (ok && key == "lowpass")
      ok = DescriptionReader::ParseNumber(value.GetText(), v.lowPass) && v.lowPass > 0;
    else if (ok && key == "detune")
      ok = DescriptionReader::ParseNumber(value.GetText(), v.detune) && fabs(v.detune) <= 100;
    else if (ok && key == "vibrato") {
      int colon = value.FindChar(':');
      ok = colon > 0 &&
           DescriptionReader::ParseNumber(value.Left(colon).GetText(), v.vibratoRate) &&
           DescriptionReader::ParseNumber(value.Mid(colon + 1).GetText(), v.vibratoDepth) &&
           v.vibratoRate >= 0 && v.vibratoDepth >= 0 && v.vibratoDepth < 0.5;
    } else
      ok = false;
    if (!ok) return reader.Fail("bad voice option \"%s\"", field.GetText());
  }
  v.beatsUsed = 0;
  v.lastBeats = 1;
  ++m_voiceCount;
  return true;
}

bool Tune::ParseNote(DescriptionReader& reader, const SString& token, int voice, Note& note) {
  Voice& v = m_voices[voice];
  int colon = token.FindChar(':');
  SString body = colon < 0 ? token : token.Left(colon);
  double beats = v.lastBeats;
  if (colon >= 0 &&
      (!DescriptionReader::ParseNumber(token.Mid(colon + 1).GetText(), beats) || beats <= 0))
    return reader.Fail("bad length in \"%s\"", token.GetText());
  note.voice = voice;
  note.section = m_sectionCount - 1;
  note.start = v.beatsUsed;
  note.beats = beats;
  note.count = 0;
  if (body != "-") {
    SString list = body + "+";
    int start = 0, plus;
    while ((plus = list.FindChar('+', start)) >= 0) {
      SString item = list.Mid(start, plus - start);
      start = plus + 1;
      if (note.count == MAX_CHORD) return reader.Fail("at most %d notes at once", (int)MAX_CHORD);
      double pitch = 0;
      if (v.wave < 0) {
        if (item != "k" && item != "s" && item != "h")
          return reader.Fail("unknown drum \"%s\"", item.GetText());
        pitch = item.GetAt(0);
      } else {
        int letter = item.GetLength() > 0 ? item.GetAt(0) - 'A' : -1;
        if (letter < 0 || letter > 6) return reader.Fail("bad note \"%s\"", item.GetText());
        int semitone = kSemitones[letter], i = 1;
        if (item.GetAt(i) == '#') {
          ++semitone;
          ++i;
        } else if (item.GetAt(i) == 'b') {
          --semitone;
          ++i;
        }
        double octave = 0;
        if (!DescriptionReader::ParseNumber(item.Mid(i).GetText(), octave) || octave < 0 ||
            octave > 8 || octave != (int)octave)
          return reader.Fail("bad note \"%s\"", item.GetText());
        int midi = 12 * ((int)octave + 1) + semitone;
        pitch = 440.0 * pow(2.0, (midi - 69) / 12.0);
      }
      note.pitch[note.count++] = pitch;
    }
  }
  v.lastBeats = beats;
  v.beatsUsed += beats;
  return true;
}

bool Tune::ReadNotes(DescriptionReader& reader, int voice) {
  for (int i = 1; i < reader.GetCount(); ++i) {
    Note note;
    if (!ParseNote(reader, reader.Get(i), voice, note)) return false;
    if (note.count > 0) m_notes.Add(note);
  }
  return true;
}

void Tune::RenderDrum(char kind, int seed, double* out, int n) {
  Oscillator noise;
  noise.Reset(Oscillator::WAVE_NOISE, 0x2545F491u + seed);
  Filter high(Filter::HIGH_PASS);
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    double t = (double)i / SAMPLE_RATE, v = 0;
    if (kind == 'k') {
      double f = 45.0 + 115.0 * exp(-t * 30.0);
      phase += f / SAMPLE_RATE;
      v = sin(kTwoPi * phase) * exp(-t * 14.0);
    } else if (kind == 's') {
      phase += 190.0 / SAMPLE_RATE;
      v = 0.7 * high.Next(noise.NextNoise(), 1200.0, SAMPLE_RATE) * exp(-t * 22.0) +
          0.5 * sin(kTwoPi * phase) * exp(-t * 30.0);
    } else {
      v = 0.5 * high.Next(noise.NextNoise(), 7000.0, SAMPLE_RATE) * exp(-t * 70.0);
    }
    out[i] += v;
  }
}

void Tune::RenderNote(const Note& note, double* out, int length) const {
  const Voice& v = m_voices[note.voice];
  double beatSeconds = 60.0 / m_tempo;
  int first = (int)lround(note.start * beatSeconds * SAMPLE_RATE);
  int n = (int)lround((note.start + note.beats) * beatSeconds * SAMPLE_RATE) - first;
  if (first + n > length) n = length - first;
  if (n <= 0) return;
  double* at = out + first;
  SArray<double> buffer;
  buffer.SetSize(n, false);
  for (int i = 0; i < n; ++i) buffer[i] = 0;
  for (int c = 0; c < note.count; ++c) {
    if (v.wave < 0) {
      RenderDrum((char)note.pitch[c], first, &buffer[0], n);
      continue;
    }
    Oscillator a, b;
    a.Reset(v.wave, 1 + first);
    b.Reset(v.wave, 2 + first);
    double ratio = pow(2.0, v.detune / 1200.0);
    for (int i = 0; i < n; ++i) {
      double t = (double)i / SAMPLE_RATE;
      double f = note.pitch[c];
      if (v.vibratoDepth > 0) f *= 1.0 + v.vibratoDepth * sin(kTwoPi * v.vibratoRate * t);
      double s = a.Next(f, SAMPLE_RATE);
      if (v.detune != 0) s = 0.5 * (s + b.Next(f * ratio, SAMPLE_RATE));
      buffer[i] += s / note.count;
    }
  }
  double seconds = (double)n / SAMPLE_RATE;
  for (int i = 0; i < n; ++i) {
    double t = (double)i / SAMPLE_RATE;
    double level = v.attack > 0 && t < v.attack ? t / v.attack : exp(-v.decay * (t - v.attack));
    double left = seconds - t;
    if (left < kNoteRelease) level *= left / kNoteRelease;
    at[i] += buffer[i] * level;
  }
}

void Tune::Render(SArray<float>& samples, double peak) const {
  int length = (int)lround(GetSeconds() * SAMPLE_RATE);
  SArray<double> mix, voice;
  mix.SetSize(length * CHANNELS, false);
  voice.SetSize(length, false);
  for (int i = 0; i < length * CHANNELS; ++i) mix[i] = 0;
  for (int k = 0; k < m_voiceCount; ++k) {
    const Voice& v = m_voices[k];
    for (int i = 0; i < length; ++i) voice[i] = 0;
    for (int part = 0; part < m_formCount; ++part) {
      double ratio = v.wave < 0 ? 1.0 : pow(2.0, m_form[part].transpose / 12.0);
      for (int i = 0; i < m_notes.GetCount(); ++i) {
        if (m_notes[i].voice != k || m_notes[i].section != m_form[part].section) continue;
        Note note = m_notes[i];
        note.start += part * m_beats;
        for (int c = 0; c < note.count && v.wave >= 0; ++c) note.pitch[c] *= ratio;
        RenderNote(note, &voice[0], length);
      }
    }
    if (v.lowPass > 0) {
      // Run the filter over the tune twice so that its start continues
      // from its end.
      Filter filter(Filter::LOW_PASS);
      for (int i = 0; i < length; ++i) filter.Next(voice[i], v.lowPass, SAMPLE_RATE);
      for (int i = 0; i < length; ++i) voice[i] = filter.Next(voice[i], v.lowPass, SAMPLE_RATE);
    }
    // Constant-power pan.
    double angle = (v.pan + 1.0) * 0.25 * 3.141592653589793;
    double left = cos(angle) * v.volume, right = sin(angle) * v.volume;
    for (int i = 0; i < length; ++i) {
      mix[i * 2] += voice[i] * left;
      mix[i * 2 + 1] += voice[i] * right;
    }
  }
  double top = 0;
  for (int i = 0; i < length * CHANNELS; ++i) top = fabs(mix[i]) > top ? fabs(mix[i]) : top;
  double gain = top > 0 ? peak / top : 0.0;
  samples.SetSize(length * CHANNELS, false);
  for (int i = 0; i < length * CHANNELS; ++i) samples[i] = (float)(mix[i] * gain);
}
