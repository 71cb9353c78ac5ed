#include "core/Platform.h"
#include "engine/SDxSound.h"

#include "WaveTestSupport.h"
#include "engine/SDx.h"
#include "window/Framework.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class SoundTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_NE(g_xaudio2, nullptr) << "XAudio2 with the null sound device"; }
  SDxSound* Load(const std::string& bytes, bool loop = false, int voices = 1) {
    SFileMem file;
    return dx.LoadSound(Open(file, bytes), loop, false, voices);
  }
  // The game clock moved on, then one sound step.
  void Step(float seconds) {
    dx.m_time += seconds;
    dx.UpdateSounds();
  }
  SDx dx;
};

TEST_F(SoundTest, WaveFilesAreParsedOnlyInTheirChunkOrderAndWithinTheirBytes) {
  std::string format = Chunk("fmt ", PcmFormat(2, 22050));
  std::string data = Chunk("data", Samples(2, 1000));
  // 40 bytes of an extensible format whose sub-format is PCM.
  std::string extensible = "\xFE\xFF" + PcmFormat(2, 22050).substr(2) +
                           std::string("\x16\0\x10\0\3\0\0\0\1\0", 10) + std::string(14, '\0');
  struct Row {
    const char* name;
    std::string bytes;
    uint32_t audioBytes;  // 0: refused
  } rows[] = {
      {"plain", Riff(format + data), 4000},
      {"no RIFF", "RIFX" + Riff(format + data).substr(4), 0},
      {"a chunk before the format", Riff(Chunk("LIST", "abcd") + format + data), 0},
      {"data before the format", Riff(data + format), 0},
      {"a chunk between format and data", Riff(format + Chunk("fact", "abcd") + data), 0},
      {"format chunk too short", Riff(Chunk("fmt ", PcmFormat(2, 22050).substr(0, 12)) + data), 0},
      {"format chunk beyond the file", Riff(Chunk("fmt ", PcmFormat(2, 22050), 400)), 0},
      {"extensible format", Riff(Chunk("fmt ", extensible) + data), 4000},
      {"data claims more than there is", Riff(format + Chunk("data", Samples(2, 1000), 1 << 30)),
       4000},
      {"half a frame at the end", Riff(format + Chunk("data", Samples(2, 100) + "ab", 10000)), 400},
      {"no samples", Riff(format + Chunk("data", "")), 0},
      {"cut in the header", Riff(format + data).substr(0, 30), 0},
      // Voices are made for up to 64 channels; damaged headers with more
      // never reach the audio engine.
      {"9 channels", Wave(9, 22050, 100), 9 * 2 * 100},
      {"12 channels", Wave(12, 22050, 100), 12 * 2 * 100},
      {"64 channels", Wave(64, 22050, 100), 64 * 2 * 100},
      {"65 channels", Wave(65, 22050, 100), 0},
      {"514 channels", Wave(514, 22050, 10), 0},
      {"4098 channels", Wave(4098, 22050, 10), 0},
  };
  for (const Row& row : rows) {
    SDxSound sound(&dx);
    SFileMem file;
    EXPECT_EQ(row.audioBytes > 0, sound.ParseWave(Open(file, row.bytes))) << row.name;
    EXPECT_EQ(row.audioBytes, sound.m_buffer.AudioBytes) << row.name;
    if (sound.m_loaded) {
      EXPECT_TRUE(sound.Play()) << row.name;
    }
  }
}

// Mutated files are refused or play what they hold, and never more.
TEST_F(SoundTest, MutatedWaveFilesAreRefusedOrPlayedWithinTheirBytes) {
  std::string base = Wave(2, 11025, 200);
  std::mt19937 random(20261207);
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = base;
    for (int edits = 1 + (int)(random() % 4); edits > 0 && !bytes.empty(); --edits) {
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
          bytes[at % 48 % bytes.size()] = (char)random();
          break;  // the header
      }
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

TEST_F(SoundTest, PcmCopiesAndCompressedSizesComeInWholeBlocks) {
  SFileMem file;
  SDxSound sound(&dx);
  ASSERT_TRUE(sound.CreateFromPcm(Open(file, Samples(2, 1000)), 100000));
  EXPECT_EQ(4000u, sound.m_buffer.AudioBytes) << "no more than was copied";
  EXPECT_EQ(0, sound.m_format.cbSize);
  // 176400 bytes a second, and the part of a block that completes it.
  uint64_t durations[] = {0, 10000000, 15000000, 1000, 2500000};
  uint32_t sizes[] = {4, 176404, 264604, 20, 44104};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(sizes[i], SDxSound::ComputePcmSize(durations[i])) << durations[i];
  EXPECT_FALSE(sound.LoadCompressed(Open(file, LongWave()))) << "PCM is not MPEG layer 3";
}

TEST_F(SoundTest, DurationIsTheLengthOfTheWholeFramesLoaded) {
  std::string format = Chunk("fmt ", PcmFormat(1, 8000));
  const struct {
    const char* name;
    std::string bytes;
    float seconds;
  } rows[] = {
      {"stereo, 44100 a second", Wave(2, 44100, 11025), 0.25f},
      {"mono, 22050 a second", Wave(1, 22050, 13230), 0.6f},
      {"data claims more than there is", Riff(format + Chunk("data", Samples(1, 1600), 1 << 20)),
       0.2f},
      {"half a frame at the end", Riff(format + Chunk("data", Samples(1, 400) + "a")), 0.05f},
      {"refused: no data", Riff(format), 0.0f},
  };
  for (const auto& row : rows) {
    // A refused file keeps its channel, with nothing loaded.
    bool loaded = Load(row.bytes, false, 2) != nullptr;
    SDxSound* head = dx.GetSound(dx.m_sounds.GetCount() - 1);
    ASSERT_NE(nullptr, head) << row.name;
    EXPECT_EQ(row.seconds > 0, loaded) << row.name;
    EXPECT_FLOAT_EQ(row.seconds, head->GetDuration()) << row.name;
    if (!loaded) continue;
    SDxSound* extra = head->m_next;
    // The channel's extra voice plays the same samples; a sound that plays
    // (or has played a while) keeps its length.
    ASSERT_NE(nullptr, extra) << row.name;
    EXPECT_FLOAT_EQ(row.seconds, extra->GetDuration()) << row.name;
    ASSERT_TRUE(head->Play());
    head->m_samplesSinceStart = 1000;
    EXPECT_FLOAT_EQ(row.seconds, head->GetDuration()) << row.name;
  }
}

TEST_F(SoundTest, FailedLoadsKeepTheChannelNumbersOfLaterSounds) {
  EXPECT_NE(nullptr, Load(Wave(1, 22050, 100)));
  EXPECT_EQ(nullptr, Load("not a wave"));
  SDxSound* third = Load(Wave(2, 22050, 100));
  EXPECT_EQ(third, dx.GetSound(2));
  EXPECT_EQ(nullptr, dx.PlaySound(1, false, -1.0f, -2.0f));
  EXPECT_EQ(nullptr, dx.GetSound(3));
  EXPECT_EQ(nullptr, dx.GetSound(-1));
  dx.Clear(false);
  EXPECT_EQ(nullptr, dx.GetSound(0));
}

TEST_F(SoundTest, VoicesOfAChannelOverlapAndNoRetriggerMergesCloseStarts) {
  SDxSound* head = Load(LongWave(), false, 3);
  ASSERT_EQ(2, dx.m_extraVoices.GetCount());
  SDxSound* voices[] = {head, dx.m_extraVoices[0], dx.m_extraVoices[1], nullptr};
  for (SDxSound* voice : voices) EXPECT_EQ(voice, dx.PlaySound(0, false, -1.0f, -2.0f));
  dx.StopSound(0, 0.0f);
  EXPECT_FALSE(dx.IsSoundPlaying(0));

  EXPECT_EQ(head, dx.PlaySound(0, true, -1.0f, -2.0f));
  EXPECT_EQ(nullptr, dx.PlaySound(0, true, -1.0f, -2.0f)) << "within 0.05 s of playing";
  head->m_samplesSinceStart = 44100 / 10;  // as if 0.1 s had played
  EXPECT_EQ(voices[1], dx.PlaySound(0, true, -1.0f, -2.0f));

  // A single voice is not restarted while it plays, with no-retrigger.
  SDxSound* single = Load(LongWave());
  EXPECT_EQ(single, dx.PlaySound(1, true, 0.5f, -2.0f));
  EXPECT_EQ(nullptr, dx.PlaySound(1, true, 0.5f, -2.0f));
  SArray<int> except;
  except.Add(1);
  dx.StopAllSounds(&except, 0.0f);
  EXPECT_FALSE(dx.IsSoundPlaying(0));
  EXPECT_TRUE(dx.IsSoundPlaying(1));
}

TEST_F(SoundTest, FadesRunOnTheGameClockAndRestoreTheVolume) {
  SDxSound* sound = Load(LongWave(), true);
  dx.PlaySound(0, false, 0.8f, -2.0f);
  dx.StopSound(0, 1.0f);
  float start = sound->m_fadeStart;
  Step(0.5f);
  dx.StopSound(0, 3.0f);  // changes nothing
  EXPECT_EQ(start, sound->m_fadeStart);
  float volume = 0.0f;
  sound->m_voice->GetVolume(&volume);
  EXPECT_NEAR(0.4f, volume, 1e-4f);
  Step(0.5f);
  EXPECT_FALSE(sound->IsFading());
  EXPECT_FALSE(dx.IsSoundPlaying(0));
  EXPECT_FLOAT_EQ(0.8f, sound->m_volume) << "back for the next play";
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
  mono->SetPan(0.5f);
  EXPECT_EQ(0.0f, mono->m_pan);
}

TEST_F(SoundTest, LoopsPlayUntilStoppedAndPausedVoicesGoOnWhereTheyStopped) {
  SDxSound* loop = Load(Wave(2, 44100, 64), true);
  SDxSound* once = Load(LongWave());
  dx.PlaySound(0, false, -1.0f, -2.0f);
  dx.PlaySound(1, false, -1.0f, -2.0f);
  ::Sleep(100);  // a 1.5 ms sound has looped many times by now
  dx.UpdateSounds();
  EXPECT_TRUE(dx.IsSoundPlaying(0));

  dx.PauseSounds(true);
  EXPECT_TRUE(loop->m_paused);
  XAUDIO2_VOICE_STATE paused, later;
  once->m_voice->GetState(&paused);
  ::Sleep(50);
  once->m_voice->GetState(&later);
  EXPECT_EQ(paused.SamplesPlayed, later.SamplesPlayed) << "a paused voice stands";
  dx.ResumeSounds(true);
  EXPECT_FALSE(once->m_paused);
  for (int wait = 0; wait < 1000 && later.SamplesPlayed == paused.SamplesPlayed; ++wait) {
    ::Sleep(10);
    once->m_voice->GetState(&later);
  }
  EXPECT_GT(later.SamplesPlayed, paused.SamplesPlayed) << "and goes on";
  EXPECT_TRUE(dx.IsSoundPlaying(1));
}

}  // namespace
