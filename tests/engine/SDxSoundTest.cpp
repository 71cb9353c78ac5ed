#include "core/Platform.h"
#include "engine/SDxSound.h"

#include "core/SFileMem.h"
#include "engine/SDx.h"
#include "window/Framework.h"
#include "WaveTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

class SoundTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(g_xaudio2, nullptr) << "XAudio2 with the null sound device"; }

  // A channel of the engine loaded from the bytes.
  SDxSound* Load(const std::string& bytes, bool loop = false, int voices = 1) {
    SFileMem file;
    return dx.LoadSound(Open(file, bytes), loop, false, voices);
  }
  // The game clock moved on, then one sound step.
  void Step(float seconds) {
    dx.m_time += seconds;
    dx.UpdateSounds();
  }
  float VoiceVolume(SDxSound* sound) {
    float volume = -1.0f;
    sound->m_voice->GetVolume(&volume);
    return volume;
  }

  SDx dx;
};

// --- parsing -------------------------------------------------------------------

TEST_F(SoundTest, WaveFilesAreParsedOnlyInTheirChunkOrderAndWithinTheirBytes) {
  std::string format = Chunk("fmt ", PcmFormat(2, 22050));
  std::string data = Chunk("data", Samples(2, 1000));
  // An extensible format chunk of 40 bytes whose sub-format is PCM.
  std::string extensible = PcmFormat(2, 22050);
  extensible.replace(0, 2, "\xFE\xFF", 2);
  PutHalf(extensible, 22);
  PutHalf(extensible, 16);
  PutWord(extensible, 3);
  extensible += std::string("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
  struct Row {
    const char* name;
    std::string bytes;
    bool loads;
    uint32_t audioBytes;
  } rows[] = {
      {"plain", Riff(format + data), true, 4000},
      {"no RIFF", "RIFX" + Riff(format + data).substr(4), false, 0},
      {"no WAVE", Chunk("RIFF", "WAVX" + format + data), false, 0},
      {"a chunk before the format", Riff(Chunk("LIST", "abcd") + format + data), false, 0},
      {"data before the format", Riff(data + format), false, 0},
      {"a chunk between format and data", Riff(format + Chunk("fact", "abcd") + data), false, 0},
      {"format chunk too short", Riff(Chunk("fmt ", PcmFormat(2, 22050).substr(0, 12)) + data),
       false, 0},
      {"format chunk beyond the file", Riff(Chunk("fmt ", PcmFormat(2, 22050), 400)), false, 0},
      {"extensible format", Riff(Chunk("fmt ", extensible) + data), true, 4000},
      {"data claims more than there is", Riff(format + Chunk("data", Samples(2, 1000), 1 << 30)),
       true, 4000},
      {"half a sample frame at the end",
       Riff(format + Chunk("data", Samples(2, 100) + "ab", 10000)), true, 400},
      {"no samples", Riff(format + Chunk("data", "")), false, 0},
      {"cut in the header", Riff(format + data).substr(0, 30), false, 0},
      {"empty", "", false, 0},
  };
  for (const Row& row : rows) {
    SDxSound sound(&dx);
    SFileMem file;
    EXPECT_EQ(row.loads, sound.ParseWave(Open(file, row.bytes))) << row.name;
    EXPECT_EQ(row.loads, sound.m_loaded) << row.name;
    EXPECT_EQ(row.audioBytes, sound.m_buffer.AudioBytes) << row.name;
    if (!row.loads) continue;
    EXPECT_EQ(0, sound.m_format.cbSize) << row.name;
    EXPECT_EQ(WAVE_FORMAT_PCM, sound.m_format.wFormatTag) << row.name;
    EXPECT_LE((int)sound.m_buffer.AudioBytes, sound.m_data.GetSize()) << row.name;
    EXPECT_TRUE(sound.Play()) << row.name;
  }
}

// Mutated files are refused or play what they hold, and never more.
TEST_F(SoundTest, MutatedWaveFilesAreRefusedOrPlayedWithinTheirBytes) {
  std::string base = Wave(2, 11025, 200);
  std::mt19937 random(20261207);
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = base;
    int edits = 1 + (int)(random() % 4);
    for (int e = 0; e < edits; ++e) {
      size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0:
          bytes[at] = (char)random();
          break;
        case 1:
          bytes.resize(at);
          break;
        case 2:
          bytes.insert(at, 1 + random() % 40, (char)random());
          break;
        default:
          bytes[random() % (bytes.size() < 48 ? bytes.size() : 48)] = (char)random();
          break;
      }
      if (bytes.empty()) bytes = "R";
    }
    SDxSound sound(&dx);
    SFileMem file;
    if (!sound.ParseWave(Open(file, bytes))) continue;
    ++loaded;
    ASSERT_LE((int)sound.m_buffer.AudioBytes, sound.m_data.GetSize()) << "round " << round;
    ASSERT_EQ(0u, sound.m_buffer.AudioBytes % sound.m_format.nBlockAlign) << "round " << round;
    sound.Play();
  }
  EXPECT_GT(loaded, 100);
}

TEST_F(SoundTest, PcmIsCopiedAsStereo44100AndCompressedSizesComeInWholeBlocks) {
  SFileMem pcm;
  SDxSound sound(&dx);
  ASSERT_TRUE(sound.CreateFromPcm(Open(pcm, Samples(2, 1000)), 100000));
  EXPECT_EQ(4000u, sound.m_buffer.AudioBytes) << "no more than was copied";
  EXPECT_EQ(44100u, sound.m_format.nSamplesPerSec);
  EXPECT_EQ(0, sound.m_format.cbSize);

  // 176400 bytes a second; a whole 4-byte block is added even when complete.
  struct Row {
    uint64_t duration;
    uint32_t size;
  } rows[] = {{0, 4}, {10000000, 176404}, {15000000, 264604}, {1, 4}, {1000, 20}, {2500000, 44104}};
  for (const Row& row : rows)
    EXPECT_EQ(row.size, SDxSound::ComputePcmSize(row.duration)) << row.duration;

  SFileMem notCompressed;
  EXPECT_FALSE(sound.LoadCompressed(Open(notCompressed, LongWave())));
  EXPECT_FALSE(sound.m_loaded);
}

// --- channels --------------------------------------------------------------------

TEST_F(SoundTest, FailedLoadsKeepTheChannelNumbersOfLaterSounds) {
  EXPECT_NE(nullptr, Load(Wave(1, 22050, 100)));
  EXPECT_EQ(nullptr, Load("not a wave"));
  SDxSound* third = Load(Wave(2, 22050, 100));
  ASSERT_NE(nullptr, third);
  EXPECT_EQ(third, dx.GetSound(2));
  EXPECT_FALSE(dx.GetSound(1)->m_loaded);
  EXPECT_EQ(nullptr, dx.PlaySound(1, false, -1.0f, -2.0f));
  EXPECT_EQ(nullptr, dx.GetSound(3));
  EXPECT_EQ(nullptr, dx.GetSound(-1));
  EXPECT_EQ(nullptr, dx.PlaySound(7, false, -1.0f, -2.0f));
  EXPECT_EQ(nullptr, Load(Wave(1, 22050, 100), false, 0));
}

TEST_F(SoundTest, VoicesOfAChannelOverlapAndNoRetriggerMergesCloseStarts) {
  SDxSound* head = Load(LongWave(), false, 3);
  ASSERT_NE(nullptr, head);
  ASSERT_EQ(2, dx.m_extraVoices.GetCount());
  EXPECT_EQ(head->m_buffer.pAudioData, dx.m_extraVoices[1]->m_buffer.pAudioData)
      << "shared samples";
  SDxSound* started[4];
  for (SDxSound*& s : started) s = dx.PlaySound(0, false, -1.0f, -2.0f);
  EXPECT_EQ(head, started[0]);
  EXPECT_EQ(dx.m_extraVoices[0], started[1]);
  EXPECT_EQ(dx.m_extraVoices[1], started[2]);
  EXPECT_EQ(nullptr, started[3]) << "every voice sounds";
  dx.StopSound(0, 0.0f);
  EXPECT_FALSE(dx.IsSoundPlaying(0));

  EXPECT_EQ(head, dx.PlaySound(0, true, -1.0f, -2.0f));
  EXPECT_EQ(nullptr, dx.PlaySound(0, true, -1.0f, -2.0f)) << "within 0.05 s of playing";
  head->m_samplesSinceStart = 44100 / 10;  // as if 0.1 s had played
  EXPECT_EQ(dx.m_extraVoices[0], dx.PlaySound(0, true, -1.0f, -2.0f));

  // A single voice is not restarted while it plays, with no-retrigger.
  SDxSound* single = Load(LongWave());
  EXPECT_EQ(single, dx.PlaySound(1, true, 0.5f, -2.0f));
  EXPECT_EQ(nullptr, dx.PlaySound(1, true, 0.5f, -2.0f));
  EXPECT_EQ(single, dx.PlaySound(1, false, 0.7f, -2.0f));
  EXPECT_FLOAT_EQ(0.7f, VoiceVolume(single));

  SArray<int> except;
  except.Add(1);
  dx.StopAllSounds(&except, 0.0f);
  EXPECT_FALSE(dx.IsSoundPlaying(0));
  EXPECT_TRUE(dx.IsSoundPlaying(1));
  dx.StopAllSounds(nullptr, 0.0f);
  EXPECT_FALSE(dx.IsSoundPlaying(1));
  dx.m_soundOn = false;
  EXPECT_EQ(nullptr, dx.PlaySound(1, false, -1.0f, -2.0f));
}

TEST_F(SoundTest, FadesRunOnTheGameClockAndRestoreTheVolume) {
  SDxSound* sound = Load(LongWave(), true);
  ASSERT_NE(nullptr, sound);
  dx.PlaySound(0, false, 0.8f, -2.0f);
  dx.StopSound(0, 1.0f);
  EXPECT_TRUE(sound->IsFading());
  float start = sound->m_fadeStart;
  Step(0.5f);
  dx.StopSound(0, 3.0f);  // a second stop changes nothing
  EXPECT_EQ(start, sound->m_fadeStart);
  EXPECT_NEAR(0.4f, sound->m_volume, 1e-4f);
  EXPECT_NEAR(0.4f, VoiceVolume(sound), 1e-4f);
  Step(0.25f);
  EXPECT_NEAR(0.2f, sound->m_volume, 1e-4f);
  Step(0.25f);
  EXPECT_FALSE(sound->IsFading());
  EXPECT_FALSE(dx.IsSoundPlaying(0));
  EXPECT_FLOAT_EQ(0.8f, sound->m_volume) << "back for the next play";

  // A stop with a fade of a silent voice stops at once.
  dx.StopSound(0, 1.0f);
  EXPECT_FALSE(sound->IsFading());
}

TEST_F(SoundTest, PanSetsTheChannelLevelsOfStereoSourcesOnly) {
  SDxSound* stereo = Load(LongWave());
  SDxSound* mono = Load(Wave(1, 44100, 1000));
  stereo->SetVolume(0.8f);
  stereo->SetPan(0.5f);
  float levels[2] = {0, 0};
  stereo->m_voice->GetChannelVolumes(2, levels);
  EXPECT_FLOAT_EQ(0.4f, levels[0]);
  EXPECT_FLOAT_EQ(0.8f, levels[1]);
  stereo->SetPan(-3.0f);
  stereo->m_voice->GetChannelVolumes(2, levels);
  EXPECT_FLOAT_EQ(0.8f, levels[0]);
  EXPECT_FLOAT_EQ(0.0f, levels[1]);
  mono->SetPan(0.5f);
  EXPECT_EQ(0.0f, mono->m_pan);
  stereo->SetVolume(4.0f);
  EXPECT_EQ(1.0f, stereo->m_volume);
  dx.SetSoundVolume(0, -1.0f);
  EXPECT_EQ(0.0f, stereo->m_volume);
}

TEST_F(SoundTest, LoopsPlayUntilStoppedAndPausedVoicesGoOnWhereTheyStopped) {
  SDxSound* loop = Load(Wave(2, 44100, 64), true);
  SDxSound* once = Load(LongWave());
  dx.PlaySound(0, false, -1.0f, -2.0f);
  dx.PlaySound(1, false, -1.0f, -2.0f);
  EXPECT_EQ((UINT32)XAUDIO2_LOOP_INFINITE, loop->m_buffer.LoopCount);
  ::Sleep(100);  // a 1.5 ms sound has looped many times by now
  dx.UpdateSounds();
  EXPECT_TRUE(dx.IsSoundPlaying(0));

  dx.PauseSounds(true);
  EXPECT_TRUE(dx.IsPaused());
  EXPECT_TRUE(loop->m_paused);
  EXPECT_TRUE(once->m_paused);
  XAUDIO2_VOICE_STATE paused, later;
  once->m_voice->GetState(&paused);
  ::Sleep(50);
  once->m_voice->GetState(&later);
  EXPECT_EQ(paused.SamplesPlayed, later.SamplesPlayed) << "a paused voice stands";
  EXPECT_EQ(1u, later.BuffersQueued) << "and keeps its buffer";
  dx.ResumeSounds(true);
  EXPECT_FALSE(dx.IsPaused());
  EXPECT_FALSE(once->m_paused);
  EXPECT_TRUE(dx.IsSoundPlaying(1));
  dx.StopSound(0, 0.0f);
  EXPECT_FALSE(dx.IsSoundPlaying(0));
}

TEST_F(SoundTest, ClearDeletesEveryChannel) {
  Load(LongWave(), false, 4);
  Load("bad");
  dx.Clear(false);
  EXPECT_EQ(0, dx.m_sounds.GetCount());
  EXPECT_EQ(0, dx.m_extraVoices.GetCount());
  EXPECT_EQ(nullptr, dx.GetSound(0));
}

}  // namespace
