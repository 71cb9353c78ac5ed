// Every sound and tune of the data set loads into the engine's channels, in
// the order and with the channel numbers the game uses.
#include "core/Platform.h"

#include "core/SFileMem.h"
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

namespace {

TEST(SoundLoadTest, EverySoundAndTuneLoadsIntoItsChannel) {
  ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  ASSERT_TRUE(CreateXAudio2()) << "XAudio2 with the null sound device";
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));
  {
    SDx dx;
    std::vector<std::string> names = RequiredNames::Sounds();
    for (size_t i = 0; i < names.size(); ++i) {
      const std::string& name = names[i];
      SCOPED_TRACE(name);
      SFileMem file;
      ASSERT_TRUE(GameArchives::Load(archive, name, file));
      bool tune = name.size() > 4 && name.compare(name.size() - 4, 4, ".mp3") == 0;
      SDxSound* sound = dx.LoadSound(&file, tune, tune, tune ? 1 : 2);
      ASSERT_NE(nullptr, sound);
      EXPECT_EQ(sound, dx.GetSound((int)i));
      if (tune) {
        // Decoded to the length the reader gives, with sound in it.
        EXPECT_GE(sound->m_buffer.AudioBytes, 4u * 176400);
        EXPECT_EQ(0u, sound->m_buffer.AudioBytes % 4);
        const int16_t* samples = (const int16_t*)sound->m_buffer.pAudioData;
        int loud = 0;
        for (uint32_t s = 0; s < sound->m_buffer.AudioBytes / 2; s += 97)
          loud += abs(samples[s]) > 1000;
        EXPECT_GT(loud, 100);
      }
      EXPECT_TRUE(sound->Play());
    }
    EXPECT_EQ((int)names.size(), dx.m_sounds.GetCount());
  }
  g_masteringVoice->DestroyVoice();
  g_masteringVoice = nullptr;
  g_xaudio2->Release();
  g_xaudio2 = nullptr;
  ::CoUninitialize();
}

}  // namespace
