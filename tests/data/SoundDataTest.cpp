// The sound files that the level and the menu load, read from the sound
// archive with the game's key: every effect a plain PCM WAVE file whose
// "fmt " chunk is followed at once by "data", as long as its use needs and
// distinct from the others, and every tune MPEG-1 layer III at 44100 Hz,
// stereo, 160 kbit/s in every frame, one to three minutes long, which the
// platform's decoders (the Windows Media reader for the length, ACM in
// 522-byte blocks for the samples) read back.
#include "core/Platform.h"

#include "core/SDigest.h"
#include "core/SFileMem.h"
#include "core/SString.h"
#include "core/SStringArray.h"
#include "core/SResource.h"
#include "tests/data/GameArchives.h"
#include "tests/data/RequiredNames.h"

#include <math.h>
#include <mmreg.h>
#include <msacm.h>
#include <objbase.h>
#include <wmsdkidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The sounds that loop in the level (their channels repeat them); every
// other sound is played once.
const char* const kLoops[] = {"alarm.wav",   "bip_dynamite.wav", "bip_target.wav",
                              "boulder.wav", "electricity.wav",  "fan.wav",
                              "fire.wav",    "move.wav",         "wagon.wav"};
// A sound played once starts and ends this close to silence (a 64th of full
// scale), or its start and its end click.
const int kNearSilence = 32768 / 64;
// Crashes that ring out like the explosions.
const char* const kCrashes[] = {"die.wav", "bounce_wallfront.wav"};

template <size_t N>
bool IsIn(const std::string& name, const char* const (&list)[N]) {
  for (const char* entry : list)
    if (name == entry) return true;
  return false;
}

// Seconds a sound lasts by its use: loops long enough not to be heard
// repeating; explosions and crashes ring for a second or more; voices say a
// few words; menu clicks stay short; everything else is a one-shot.
struct LengthRange {
  double shortest, longest;
};

LengthRange LengthFor(const std::string& name) {
  if (IsIn(name, kLoops)) return {1.0, 4.0};
  if (name.compare(0, 10, "explosion_") == 0 || IsIn(name, kCrashes)) return {1.0, 4.0};
  if (name.compare(0, 6, "voice_") == 0) return {0.5, 4.0};
  if (name.compare(0, 5, "menu_") == 0) return {0.03, 0.5};
  return {0.2, 2.5};
}

// Words come as bursts of sound with quieter gaps between: counts the times
// the level (in 20 ms windows) rises from below a tenth of its loudest
// window to above a third of it.
int CountBursts(const int16_t* samples, int frames, int channels, int rate) {
  int window = rate / 50;
  std::vector<double> levels;
  for (int start = 0; start + window <= frames; start += window) {
    double energy = 0;
    for (int i = start; i < start + window; ++i)
      energy += (double)samples[i * channels] * samples[i * channels];
    levels.push_back(sqrt(energy / window));
  }
  double loudest = levels.empty() ? 0 : *std::max_element(levels.begin(), levels.end());
  int bursts = 0;
  bool quiet = true;
  for (double level : levels) {
    if (quiet && level > loudest / 3) {
      ++bursts;
      quiet = false;
    } else if (level < loudest / 10) {
      quiet = true;
    }
  }
  return bursts;
}

bool EndsWith(const std::string& name, const char* end) {
  size_t n = strlen(end);
  return name.size() >= n && name.compare(name.size() - n, n, end) == 0;
}

// The sound files of one kind (".wav" or ".mp3") that the game loads.
std::vector<std::string> SoundsEndingIn(const char* end) {
  std::vector<std::string> names;
  for (const std::string& name : RequiredNames::Sounds())
    if (EndsWith(name, end)) names.push_back(name);
  return names;
}

uint32_t Word(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | ((uint32_t)p[3] << 24);
}
uint16_t Half(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }

TEST(SoundDataTest, EffectsArePcmWavesWithFormatThenData) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));
  std::vector<std::string> names = SoundsEndingIn(".wav");
  EXPECT_EQ(names.size(), 60u);  // 57 level sounds and 3 menu sounds
  SStringArray digests;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    SFileMem file;
    ASSERT_TRUE(GameArchives::Load(archive, name, file));
    const uint8_t* p = file.GetBuffer();
    int size = file.GetSize();
    ASSERT_GE(size, 44);
    EXPECT_EQ(memcmp(p, "RIFF", 4), 0);
    EXPECT_EQ(Word(p + 4), (uint32_t)size - 8);
    EXPECT_EQ(memcmp(p + 8, "WAVEfmt ", 8), 0);
    uint32_t formatSize = Word(p + 16);
    ASSERT_EQ(formatSize, 16u);
    EXPECT_EQ(Half(p + 20), WAVE_FORMAT_PCM);
    int channels = Half(p + 22);
    uint32_t rate = Word(p + 24);
    EXPECT_TRUE(channels == 1 || channels == 2);
    EXPECT_EQ(Half(p + 34), 16);
    EXPECT_EQ(Half(p + 32), channels * 2);
    EXPECT_EQ(Word(p + 28), rate * channels * 2);
    EXPECT_EQ(memcmp(p + 36, "data", 4), 0);
    uint32_t dataSize = Word(p + 40);
    ASSERT_EQ(dataSize, (uint32_t)size - 44);

    // As long as its use, audible, and without a click: a loop joins its
    // end to its start with a jump no larger than the largest one inside
    // the sound; a one-shot starts and ends near silence.
    int frames = (int)dataSize / (channels * 2);
    double seconds = (double)frames / rate;
    LengthRange range = LengthFor(name);
    EXPECT_GE(seconds, range.shortest);
    EXPECT_LE(seconds, range.longest);
    const int16_t* samples = (const int16_t*)(p + 44);
    int peak = 0, largestStep = 0;
    for (int i = 0; i < frames; ++i) {
      int v = samples[i * channels];
      peak = abs(v) > peak ? abs(v) : peak;
      if (i > 0) {
        int step = abs(v - samples[(i - 1) * channels]);
        largestStep = step > largestStep ? step : largestStep;
      }
    }
    EXPECT_GE(peak, 32768 / 8);
    int first = samples[0], last = samples[(frames - 1) * channels];
    if (IsIn(name, kLoops)) {
      EXPECT_LE(abs(last - first), largestStep);
    } else {
      EXPECT_LE(abs(first), kNearSilence) << "a one-shot that starts with a click";
      EXPECT_LE(abs(last), kNearSilence) << "a one-shot that ends with a click";
    }
    if (name.compare(0, 6, "voice_") == 0) {
      EXPECT_GE(CountBursts(samples, frames, channels, (int)rate), 2) << "no words in the voice";
    }

    SString digest = SDigest::Md5(p + 44, (int)dataSize);
    EXPECT_LT(digests.Find(digest.GetText()), 0) << "the same samples as another sound";
    digests.Add(digest.GetText());
  }
}

// Frame header of every tune frame: MPEG-1, layer III, no checksum, 160
// kbit/s, 44100 Hz, a stereo mode; the frames run exactly to the end.
TEST(SoundDataTest, TunesAreMpegLayer3At44100StereoConstant160) {
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));
  std::vector<std::string> tunes = SoundsEndingIn(".mp3");
  EXPECT_EQ(tunes.size(), 4u);
  for (const std::string& name : tunes) {
    SCOPED_TRACE(name);
    SFileMem file;
    ASSERT_TRUE(GameArchives::Load(archive, name, file));
    const uint8_t* p = file.GetBuffer();
    int size = file.GetSize();
    int at = 0, frames = 0;
    while (at < size) {
      ASSERT_LE(at + 4, size);
      ASSERT_EQ(p[at], 0xFF) << "frame " << frames;
      ASSERT_EQ(p[at + 1], 0xFB) << "frame " << frames;         // MPEG-1, layer III, no CRC
      ASSERT_EQ(p[at + 2] & 0xFC, 0xA0) << "frame " << frames;  // 160 kbit/s, 44100 Hz
      ASSERT_NE(p[at + 3] >> 6, 3) << "frame " << frames;       // not mono
      int padding = (p[at + 2] >> 1) & 1;
      at += 144 * 160000 / 44100 + padding;  // 522 or 523 bytes
      ++frames;
    }
    EXPECT_EQ(at, size);
    EXPECT_GE(frames * 1152 / 44100, 60) << "a tune of at least a minute";
    EXPECT_LE(frames * 1152 / 44100, 180) << "a tune of at most three minutes";
  }
}

// What the engine does with a tune: the Windows Media reader gives its length
// and output, ACM turns 522-byte blocks into 16-bit stereo samples.
TEST(SoundDataTest, TunesDecodeThroughTheMediaReaderAndAcm) {
  typedef HRESULT(WINAPI * CreateReader)(IUnknown*, DWORD, IWMSyncReader**);
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  HMODULE wmvcore = LoadLibraryA("wmvcore.dll");
  ASSERT_NE(wmvcore, nullptr);
  CreateReader create = (CreateReader)(void*)GetProcAddress(wmvcore, "WMCreateSyncReader");
  ASSERT_NE(create, nullptr);
  SResource archive;
  ASSERT_TRUE(GameArchives::Open(archive, "snd"));
  std::vector<std::string> tunes = SoundsEndingIn(".mp3");
  EXPECT_EQ(tunes.size(), 4u);
  for (const std::string& name : tunes) {
    SCOPED_TRACE(name);
    SFileMem file;
    ASSERT_TRUE(GameArchives::Load(archive, name, file));
    int size = file.GetSize();

    IWMSyncReader* reader = nullptr;
    ASSERT_EQ(create(nullptr, WMT_RIGHT_PLAYBACK, &reader), S_OK);
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(global), file.GetBuffer(), size);
    GlobalUnlock(global);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(global, TRUE, &stream), S_OK);
    EXPECT_EQ(reader->OpenStream(stream), S_OK);
    IWMHeaderInfo* header = nullptr;
    ASSERT_EQ(reader->QueryInterface(__uuidof(IWMHeaderInfo), (void**)&header), S_OK);
    WORD streamNumber = 0, length = sizeof(QWORD);
    WMT_ATTR_DATATYPE type;
    QWORD duration = 0;
    EXPECT_EQ(
        header->GetAttributeByName(&streamNumber, L"Duration", &type, (BYTE*)&duration, &length),
        S_OK);
    double seconds = duration / 1e7;
    double frameSeconds = size / 522.45 * 1152 / 44100;
    EXPECT_NEAR(seconds, frameSeconds, 0.2);
    IWMOutputMediaProps* props = nullptr;
    ASSERT_EQ(reader->GetOutputProps(0, &props), S_OK);
    DWORD typeSize = 0;
    props->GetMediaType(nullptr, &typeSize);
    SFileMem typeBytes;
    typeBytes.Allocate((int)typeSize);
    WM_MEDIA_TYPE* media = (WM_MEDIA_TYPE*)typeBytes.GetBuffer();
    ASSERT_EQ(props->GetMediaType(media, &typeSize), S_OK);
    EXPECT_TRUE(IsEqualGUID(media->majortype, WMMEDIATYPE_Audio));
    ASSERT_GE(media->cbFormat, sizeof(WAVEFORMATEX) - 2);
    const WAVEFORMATEX* format = (const WAVEFORMATEX*)media->pbFormat;
    EXPECT_EQ(format->nChannels, 2);
    EXPECT_EQ(format->nSamplesPerSec, 44100u);
    props->Release();
    header->Release();
    reader->Close();
    reader->Release();
    stream->Release();

    // The source format the engine hands to ACM, 522-byte blocks.
    MPEGLAYER3WAVEFORMAT source = {};
    source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source.wfx.nChannels = 2;
    source.wfx.nSamplesPerSec = 44100;
    source.wfx.nAvgBytesPerSec = 16384;
    source.wfx.nBlockAlign = 1;
    source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    source.wID = MPEGLAYER3_ID_MPEG;
    source.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    source.nBlockSize = 522;
    source.nFramesPerBlock = 1;
    source.nCodecDelay = 1393;
    WAVEFORMATEX pcm = {WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    HACMSTREAM acm = nullptr;
    ASSERT_EQ(acmStreamOpen(&acm, nullptr, &source.wfx, &pcm, nullptr, 0, 0, 0), 0u);
    DWORD outSize = 0;
    ASSERT_EQ(acmStreamSize(acm, 522, &outSize, ACM_STREAMSIZEF_SOURCE), 0u);
    SFileMem in, out;
    in.Allocate(522);
    out.Allocate((int)outSize);
    ACMSTREAMHEADER block = {};
    block.cbStruct = sizeof(block);
    block.pbSrc = in.GetBuffer();
    block.cbSrcLength = 522;
    block.pbDst = out.GetBuffer();
    block.cbDstLength = outSize;
    ASSERT_EQ(acmStreamPrepareHeader(acm, &block, 0), 0u);
    double decoded = 0, energy = 0;
    for (int at = 0; at + 522 <= size; at += 522) {
      memcpy(in.GetBuffer(), file.GetBuffer() + at, 522);
      block.cbSrcLength = 522;
      ASSERT_EQ(acmStreamConvert(acm, &block, ACM_STREAMCONVERTF_BLOCKALIGN), 0u);
      const int16_t* samples = (const int16_t*)out.GetBuffer();
      for (DWORD i = 0; i < block.cbDstLengthUsed / 2; ++i)
        energy += (double)samples[i] * samples[i];
      decoded += block.cbDstLengthUsed;
    }
    block.cbSrcLength = 522;
    EXPECT_EQ(acmStreamUnprepareHeader(acm, &block, 0), 0u);
    acmStreamClose(acm, 0);
    EXPECT_NEAR(decoded / 176400.0, seconds, 0.1);
    double rms = decoded > 0 ? sqrt(energy / (decoded / 2)) : 0;
    EXPECT_GT(rms, 1000.0) << "the tune decodes to near silence";
  }
  FreeLibrary(wmvcore);
  CoUninitialize();
}

}  // namespace
