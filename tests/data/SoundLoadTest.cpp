// Every sound and tune of the data set loads into the engine's channel of
// its number, the tunes decoded to sound, and a tune loaded again sounds
// as it did the first time.
#include "core/Platform.h"

#include "core/SResource.h"
#include "engine/SDx.h"
#include "engine/SDxSound.h"
#include "tests/data/GameArchives.h"
#include "tests/data/RequiredNames.h"
#include "window/Framework.h"

#include <objbase.h>
#include <stdlib.h>
#include <xaudio2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Samples(const SDxSound* sound) {
  const uint8_t* bytes = (const uint8_t*)sound->m_buffer.pAudioData;
  return std::vector<uint8_t>(bytes, bytes + sound->m_buffer.AudioBytes);
}

}  // namespace

// XAudio2 on the null sound device, the sound archive and an engine.
class SoundLoadTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    m_com = true;
    ASSERT_TRUE(CreateXAudio2()) << "XAudio2 with the null sound device";
    ASSERT_TRUE(GameArchives::Open(archive, "snd"));
    dx = new SDx;
  }
  void TearDown() override {
    delete dx;
    if (g_masteringVoice) g_masteringVoice->DestroyVoice();
    g_masteringVoice = nullptr;
    if (g_xaudio2) g_xaudio2->Release();
    g_xaudio2 = nullptr;
    if (m_com) ::CoUninitialize();
  }

  SResource archive;
  SDx* dx = nullptr;

private:
  bool m_com = false;
};

TEST_F(SoundLoadTest, EverySoundAndTuneLoadsIntoItsChannel) {
  std::vector<std::string> names = RequiredNames::Sounds();
  for (size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(names[i]);
    SFileMem file;
    ASSERT_TRUE(GameArchives::Load(archive, names[i], file));
    bool tune = names[i].find(".mp3") != std::string::npos;
    SDxSound* sound = dx->LoadSound(&file, tune, tune, 2);
    ASSERT_NE(nullptr, sound);
    EXPECT_EQ(sound, dx->GetSound((int)i));
    EXPECT_TRUE(sound->Play());
    if (!tune) continue;
    const int16_t* samples = (const int16_t*)sound->m_buffer.pAudioData;
    int loud = 0;
    for (uint32_t s = 0; s < sound->m_buffer.AudioBytes / 2; s += 97)
      loud += abs(samples[s]) > 1000;
    EXPECT_GE(sound->m_buffer.AudioBytes, 4u * 176400) << "at least four seconds";
    EXPECT_GT(loud, 100);
  }
}

// The engine keeps the last tunes it decoded: a tune loaded again, after
// others or not, has the samples of its first load, and a tune that differs
// in one byte is not taken for the one it resembles.
TEST_F(SoundLoadTest, ATuneLoadedAgainHasTheSamplesOfItsFirstLoad) {
  const char* const loads[] = {"music0.mp3", "music0.mp3", "music1.mp3", "music0.mp3",
                               "menu.mp3",   "music2.mp3", "music0.mp3", "music2.mp3"};
  std::vector<std::string> names;
  std::vector<std::vector<uint8_t>> first;
  for (const char* name : loads) {
    SCOPED_TRACE(name);
    SFileMem file;
    ASSERT_TRUE(GameArchives::Load(archive, name, file));
    SDxSound* sound = dx->LoadSound(&file, true, true, 1);
    ASSERT_NE(nullptr, sound);
    size_t at = 0;
    while (at < names.size() && names[at] != name) ++at;
    if (at == names.size()) {
      names.push_back(name);
      first.push_back(Samples(sound));
    } else {
      EXPECT_TRUE(Samples(sound) == first[at]) << "the samples differ from the first load";
    }
  }
  SFileMem changed;
  ASSERT_TRUE(GameArchives::Load(archive, "music2.mp3", changed));
  // A byte of audio data in a frame of the middle (the tunes' frames are
  // 522 bytes long).
  changed.GetBuffer()[changed.GetSize() / 2 / 522 * 522 + 300] ^= 0x5A;
  SDxSound* sound = dx->LoadSound(&changed, true, true, 1);
  ASSERT_EQ("music2.mp3", names.back());
  if (sound) {
    EXPECT_FALSE(Samples(sound) == first.back()) << "taken for the tune it resembles";
  }
}
