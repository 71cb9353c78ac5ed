// soundgen: makes the game's sounds from their descriptions.
//
//   soundgen effects TABLE FOLDER [SPEECH]
//                                   every sound of the table as a WAVE file
//                                   named after it in FOLDER (22050 Hz,
//                                   16-bit stereo); "speech" sounds take
//                                   the recording of their name in SPEECH
//   soundgen tune TUNE OUT          the tune as one WAVE file (44100 Hz,
//                                   16-bit stereo), ready for an encoder
//
// The formats of the table and the tune files are described in
// EffectSound.h and Tune.h. The output depends on the descriptions only.
// Exit status 0 on success, 1 with a one-line message on stderr on failure,
// 2 for a usage error.
#include "core/Platform.h"

#include "core/SArray.h"
#include "core/SDisk.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "tools/common/DescriptionReader.h"
#include "tools/soundgen/EffectSound.h"
#include "tools/soundgen/Tune.h"
#include "tools/soundgen/WaveFile.h"

#include <stdio.h>

namespace {

const char kUsage[] = "usage: soundgen effects TABLE FOLDER [SPEECH] | soundgen tune TUNE OUT";

// Peak level of the music, a little below full scale for the encoder.
const double kTunePeak = 0.85;

int Fail(const SString& message) {
  fprintf(stderr, "soundgen: %s\n", message.GetText());
  return 1;
}

int Effects(const char* table, const char* folder, const char* speech) {
  DescriptionReader reader;
  if (!reader.Load(table)) return Fail(reader.GetError());
  SDisk disk;
  if (!disk.Exists(folder) && !disk.CreateFolder(folder))
    return Fail(SString("cannot create ") + folder);
  SString base(folder);
  if (base.GetAt(base.GetLength() - 1) != '/' && base.GetAt(base.GetLength() - 1) != '\\')
    base += "/";
  SStringArray names;
  names.m_flags = 2;
  while (reader.Next()) {
    EffectSound sound;
    if (!sound.Read(reader)) return Fail(reader.GetError());
    if (names.FindSorted(sound.GetName().GetText()) >= 0) {
      reader.Fail("\"%s\" is described twice", sound.GetName().GetText());
      return Fail(reader.GetError());
    }
    names.InsertSorted(sound.GetName().GetText());
    if (sound.IsSpeech()) {
      if (!speech) {
        reader.Fail("\"%s\" is speech, but no speech folder was given", sound.GetName().GetText());
        return Fail(reader.GetError());
      }
      if (!sound.LoadSpeech(speech, reader)) return Fail(reader.GetError());
    }
    SArray<float> samples;
    sound.Render(samples);
    SString path = base + sound.GetName();
    if (!WaveFile::Write(path.GetText(), samples, EffectSound::CHANNELS, EffectSound::SAMPLE_RATE))
      return Fail(SString("cannot write ") + path);
  }
  if (names.GetCount() == 0) return Fail(SString(table) + ": no sounds");
  return 0;
}

int MakeTune(const char* file, const char* out) {
  DescriptionReader reader;
  if (!reader.Load(file)) return Fail(reader.GetError());
  Tune tune;
  if (!tune.Read(reader)) return Fail(reader.GetError());
  SArray<float> samples;
  tune.Render(samples, kTunePeak);
  if (!WaveFile::Write(out, samples, Tune::CHANNELS, Tune::SAMPLE_RATE))
    return Fail(SString("cannot write ") + out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if ((argc == 4 || argc == 5) && strcmp(argv[1], "effects") == 0)
    return Effects(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
  if (argc == 4 && strcmp(argv[1], "tune") == 0) return MakeTune(argv[2], argv[3]);
  fprintf(stderr, "%s\n", kUsage);
  return 2;
}
