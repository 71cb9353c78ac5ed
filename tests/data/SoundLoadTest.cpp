// Every sound and tune of the data set loads into the engine's channel of
// its number, the tunes decoded to sound.
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

TEST(SoundLoadTest, EverySoundAndTuneLoadsIntoItsChannel) {
  ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  ASSERT_TRUE(CreateXAudio2()) << "XAudio2 with the null sound device";
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));
  SDx* dx = new SDx;
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
  delete dx;
  g_masteringVoice->DestroyVoice();
  g_masteringVoice = nullptr;
  g_xaudio2->Release();
  g_xaudio2 = nullptr;
  ::CoUninitialize();
}
