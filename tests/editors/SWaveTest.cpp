// SWave: reading RIFF WAVE files, new waves, range edits with progress and
// cancelling, saving, and playing through DirectSound on the null device.
#include "core/Platform.h"

#include "core/SFileMem.h"
#include "core/SFilePath.h"
#include "editors/SWave.h"
#include "tests/editors/WaveTestSupport.h"
#include "tests/support/TempFolder.h"
#include "window/Framework.h"
#include "window/SWndApp.h"

#include <gtest/gtest.h>

#include <random>

using namespace WaveTest;

namespace {

// --- reading -----------------------------------------------------------------

TEST(SWaveTest, LoadsPcmOfEachAcceptedWidthAndFormatSize) {
  struct Row {
    uint16_t channels, bits;
    uint32_t formatSize;
    std::vector<int32_t> samples;
    uint32_t frames;
    int64_t lastSample;  // channel 0 of the last frame
  } rows[] = {
      {1, 8, 16, {-128, 0, 127}, 3, 127},
      {2, 16, 18, {1, 2, -300, 300}, 2, -300},
      {2, 32, 40, {100000, -100000}, 1, 100000},
      {1, 16, 16, {}, 0, 0},
  };
  for (const Row& row : rows) {
    Header h;
    h.channels = row.channels;
    h.bits = row.bits;
    h.formatSize = row.formatSize;
    SWave wave;
    ASSERT_TRUE(Load(wave, Bytes(h, row.samples))) << row.bits;
    EXPECT_EQ(wave.GetFrames(), row.frames);
    EXPECT_EQ(wave.GetSilenceByte(), row.bits == 8 ? 128 : 0);
    if (row.frames) {
      EXPECT_EQ(wave.GetSample(0, nullptr, row.frames - 1), row.lastSample);
    }
  }
}

TEST(SWaveTest, RefusesMalformedFilesLeavingAnEmptyWave) {
  struct Row {
    const char* what;
    Header header;
  } rows[6];
  rows[0] = {"LIST chunk before fmt", Header()};
  rows[0].header.beforeFormat = std::string("LIST\4\0\0\0abcd", 12);
  rows[1] = {"24-bit samples", Header()};
  rows[1].header.bits = 24;
  rows[2] = {"data announces more than it holds", Header()};
  rows[2].header.dataSize = 4000;
  rows[3] = {"fmt chunk above 40 bytes", Header()};
  rows[3].header.formatSize = 44;
  rows[4] = {"zero channels", Header()};
  rows[4].header.channels = 0;
  rows[4].header.blockAlign = 4;
  rows[5] = {"nBlockAlign not channels x bytes", Header()};
  rows[5].header.blockAlign = 3;
  for (const Row& row : rows) {
    SWave wave;
    ASSERT_TRUE(Load(wave, RampFile(10)));
    EXPECT_FALSE(Load(wave, Bytes(row.header, Ramp(10)))) << row.what;
    EXPECT_FALSE(wave.IsLoaded()) << row.what;
    EXPECT_EQ(wave.GetFrames(), 0u) << row.what;
  }
  SWave wave;
  std::string good = RampFile(10);
  for (const char* bad : {"RIFX", "WAVF"}) {
    std::string bytes = good;
    bytes.replace(bad[3] == 'X' ? 0 : 8, 4, bad);
    EXPECT_FALSE(Load(wave, bytes)) << bad;
  }
  EXPECT_FALSE(wave.LoadWav(nullptr));
}

// Mutated copies of a valid file are refused or loaded within their bounds;
// the loaded ones survive reads and an edit over the whole wave.
// --- new waves -----------------------------------------------------------------

TEST(SWaveTest, CreateMakesPcmOfOneTwoOrSixChannelsAndMutatedFilesStayInBounds) {
  struct Row {
    int channels;
    bool made;
    uint16_t tag, align;
  } rows[] = {{1, true, 1, 2}, {2, true, 1, 4}, {6, true, 0xFFFE, 12}, {3, false, 0, 0}};
  for (const Row& row : rows) {
    SWave wave;
    ASSERT_EQ(wave.Create(row.channels), row.made) << row.channels;
    EXPECT_EQ(wave.IsLoaded(), row.made);
    if (!row.made) continue;
    const WAVEFORMATEXTENSIBLE& f = wave.m_format;
    EXPECT_EQ(f.Format.wFormatTag, row.tag);
    EXPECT_EQ(f.Format.nSamplesPerSec, 44100u);
    EXPECT_EQ(f.Format.wBitsPerSample, 16);
    EXPECT_EQ(f.Format.nBlockAlign, row.align);
    EXPECT_EQ(f.Format.nAvgBytesPerSec, row.align * 44100u);
    EXPECT_EQ(wave.GetFrames(), 0u);
    if (row.channels == 6) {
      EXPECT_EQ(f.Format.cbSize, 22);
      EXPECT_EQ(f.Samples.wValidBitsPerSample, 16);
      EXPECT_EQ(f.dwChannelMask, 0x3Fu);
      EXPECT_EQ(f.SubFormat.Data1, 1u);
      EXPECT_EQ(f.SubFormat.Data4[7], 0x71);
    }
  }
  std::mt19937 random(1234);
  std::string original = RampFile(64);
  int loaded = 0;
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = original;
    int changes = 1 + int(random() % 4);
    for (int i = 0; i < changes; ++i) {
      size_t at = random() % (round % 3 == 0 ? 48 : bytes.size());
      bytes[at] = char(random());
    }
    if (round % 7 == 0) bytes.resize(random() % bytes.size());
    SWave wave;
    if (!Load(wave, bytes)) {
      EXPECT_FALSE(wave.IsLoaded());
      continue;
    }
    ++loaded;
    uint64_t frames = wave.GetFrames();
    ASSERT_LE(frames * uint64_t(wave.GetBlockAlign()), bytes.size());
    if (frames == 0) continue;
    for (int c = -1; c < wave.GetChannels(); ++c) wave.GetSample(c, nullptr, uint32_t(frames - 1));
    ASSERT_TRUE(wave.BeginOperation(0, uint32_t(frames), -1, nullptr, nullptr));
    EXPECT_TRUE(wave.Amplify(0.5));
  }
  EXPECT_GT(loaded, 100);
}

// --- edits on a ramp --------------------------------------------------------------

class SWaveEditTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Load(wave, RampFile(100))); }
  bool Begin(uint32_t start, uint32_t count, int channel) {
    return wave.BeginOperation(start, count, channel, nullptr, nullptr);
  }
  SWave wave;
};

TEST_F(SWaveEditTest, DeleteAndInsertSilenceInAllChannelsOrOne) {
  ASSERT_TRUE(Begin(10, 20, -1));
  ASSERT_TRUE(wave.DeleteRange());
  EXPECT_EQ(wave.GetFrames(), 80u);
  EXPECT_EQ(Samples(wave, {{0, 9}, {0, 10}, {1, 79}}), (V{9, 30, -99}));

  ASSERT_TRUE(Begin(0, 5, 1));
  ASSERT_TRUE(wave.DeleteRange());
  EXPECT_EQ(wave.GetFrames(), 80u);
  // The other channel stays; the freed end is silence.
  EXPECT_EQ(Samples(wave, {{0, 0}, {1, 0}, {1, 74}, {1, 75}, {1, 79}}), (V{0, -5, -99, 0, 0}));
  ASSERT_TRUE(Load(wave, RampFile(100)));
  ASSERT_TRUE(Begin(10, 0, -1));
  EXPECT_FALSE(wave.InsertSilence(0));
  ASSERT_TRUE(wave.InsertSilence(5));
  EXPECT_EQ(wave.GetFrames(), 105u);
  EXPECT_EQ(Samples(wave, {{0, 9}, {0, 10}, {1, 14}, {0, 15}, {1, 104}}), (V{9, 0, 0, 10, -99}));

  ASSERT_TRUE(Begin(0, 0, 0));
  ASSERT_TRUE(wave.InsertSilence(2));
  EXPECT_EQ(wave.GetFrames(), 107u);
  // The other channel keeps its place.
  EXPECT_EQ(Samples(wave, {{0, 2}, {0, 3}, {1, 3}, {1, 106}}), (V{0, 1, -3, 0}));
}

TEST_F(SWaveEditTest, SilenceAndAmplifyChangeOnlyTheirRangeAndChannel) {
  ASSERT_TRUE(Begin(2, 3, 0));
  ASSERT_TRUE(wave.SilenceRange());
  EXPECT_EQ(Samples(wave, {{0, 4}, {1, 4}, {0, 5}}), (V{0, -4, 5}));

  ASSERT_TRUE(Begin(10, 2, -1));
  ASSERT_TRUE(wave.Amplify(1.5));
  // trunc(11 x 1.5); channel -1 is the channels' average.
  EXPECT_EQ(Samples(wave, {{0, 11}, {1, 11}, {0, 12}, {-1, 11}}), (V{16, -16, 12, 0}));
  EXPECT_FALSE(Begin(10, 0, -1) && wave.Amplify(2.0));
}

TEST(SWaveAmplifyTest, ClampsToTheSampleWidth) {
  struct Row {
    uint16_t bits;
    int32_t value;
    double factor;
    int64_t expected;
  } rows[] = {{16, 30000, 1.5, 32767}, {16, -30000, 1.5, -32768},         {8, 100, 1.5, 127},
              {8, -100, 1.5, -128},    {32, 2000000000, 1.5, 2147483647}, {16, 1001, 0.75, 750}};
  for (const Row& row : rows) {
    Header h;
    h.channels = 1;
    h.bits = row.bits;
    SWave wave;
    ASSERT_TRUE(Load(wave, Bytes(h, {row.value})));
    ASSERT_TRUE(wave.BeginOperation(0, 1, -1, nullptr, nullptr));
    ASSERT_TRUE(wave.Amplify(row.factor));
    EXPECT_EQ(wave.GetSample(0, nullptr, 0), row.expected) << row.bits << " " << row.value;
  }
}

TEST_F(SWaveEditTest, CopyCutAndPasteMoveFramesThroughTheClipboardFile) {
  SFilePath clipboard;
  ASSERT_TRUE(clipboard.OpenTemp());
  ASSERT_TRUE(Begin(20, 10, -1));
  ASSERT_TRUE(wave.Cut(&clipboard));
  EXPECT_EQ(clipboard.GetSize(), 40);
  EXPECT_EQ(wave.GetFrames(), 90u);
  EXPECT_EQ(wave.GetSample(0, nullptr, 20), 30);

  ASSERT_TRUE(Begin(0, 0, -1));
  ASSERT_TRUE(wave.Paste(&clipboard));
  EXPECT_EQ(wave.GetFrames(), 100u);
  EXPECT_EQ(Samples(wave, {{0, 0}, {1, 9}, {0, 10}}), (V{20, -29, 0}));

  // Pasting over a selection replaces it.
  ASSERT_TRUE(Begin(50, 30, -1));
  ASSERT_TRUE(wave.Paste(&clipboard));
  EXPECT_EQ(wave.GetFrames(), 80u);
  EXPECT_EQ(Samples(wave, {{0, 50}, {0, 60}}), (V{20, 80}));

  // One channel's samples, pasted into all channels: size / nBlockAlign frames.
  clipboard.SetSize(0);
  ASSERT_TRUE(Begin(1, 4, 1));
  ASSERT_TRUE(wave.CopyRange(&clipboard));
  EXPECT_EQ(clipboard.GetSize(), 8);
  ASSERT_TRUE(Begin(0, 0, -1));
  ASSERT_TRUE(wave.Paste(&clipboard));
  EXPECT_EQ(wave.GetFrames(), 82u);
  EXPECT_EQ(Samples(wave, {{0, 0}, {1, 0}}), (V{-21, -22}));
}

// A clipboard that ends inside a frame fills only the gap it opened.
TEST_F(SWaveEditTest, OutsideOperationsAreRefusedAndAPartialFrameStaysInItsGap) {
  for (uint32_t start : {101u, 90u}) EXPECT_FALSE(Begin(start, 11, -1)) << start;
  EXPECT_FALSE(Begin(0, 1, 2));
  EXPECT_TRUE(Begin(100, 0, 1));
  SFileMem clipboard;
  Fill(clipboard, std::string("\x07\x00\x08\x00\x09\x00", 6));
  ASSERT_TRUE(Begin(10, 0, -1));
  ASSERT_TRUE(wave.Paste(&clipboard));
  EXPECT_EQ(wave.GetFrames(), 101u);
  EXPECT_EQ(Samples(wave, {{0, 10}, {0, 11}, {1, 11}}), (V{7, 10, -10}));
}

// --- progress ------------------------------------------------------------------------

struct Progress {
  std::vector<int> seen;
  int cancelAt = -1;  // the report at which the callback answers false
  static bool Report(int percent, void* data) {
    Progress* p = static_cast<Progress*>(data);
    p->seen.push_back(percent);
    return int(p->seen.size()) - 1 != p->cancelAt;
  }
};

TEST(SWaveProgressTest, ProgressRisesToAHundredAndACancelKeepsTheLength) {
  SWave wave;
  ASSERT_TRUE(Load(wave, RampFile(20000)));
  Progress progress;
  ASSERT_TRUE(wave.BeginOperation(0, 20000, -1, Progress::Report, &progress));
  ASSERT_TRUE(wave.Amplify(1.0));
  ASSERT_GE(progress.seen.size(), 90u);
  EXPECT_EQ(progress.seen.front(), 0);
  EXPECT_EQ(progress.seen.back(), 100);
  for (size_t i = 1; i < progress.seen.size(); ++i) {
    EXPECT_LE(progress.seen[i - 1], progress.seen[i]);
    EXPECT_NE(progress.seen[i], 99);
  }
  // A cancelled delete keeps the length and reports failure.
  ASSERT_TRUE(Load(wave, RampFile(20000)));
  progress = Progress();
  progress.cancelAt = 3;
  ASSERT_TRUE(wave.BeginOperation(0, 100, -1, Progress::Report, &progress));
  EXPECT_FALSE(wave.DeleteRange());
  EXPECT_EQ(progress.seen.size(), 4u);
  EXPECT_EQ(wave.GetFrames(), 20000u);
  EXPECT_TRUE(wave.m_operation.written);  // the blocks moved before stay moved
  EXPECT_EQ(wave.GetSample(0, nullptr, 0), 100);
}

// --- playing --------------------------------------------------------------------------------

// A wave that counts its play events.
class CountingWave : public SWave {
public:
  void OnPlayProgress() override { ++progress; }
  void OnPlayStopped() override { ++stopped; }
  int progress = 0, stopped = 0;
};

class SWavePlayTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (!g_directSound) CreateDirectSound();
  }
  void SetUp() override {
    ASSERT_NE(g_directSound, nullptr);
    ASSERT_TRUE(Load(wave, RampFile(44100 * 4)));
    ASSERT_NE(wave.m_buffer, nullptr);
  }
  bool Ticking() { return g_appWindow->m_sounds.Find(&wave) >= 0; }
  CountingWave wave;
};

TEST_F(SWavePlayTest, PlaysStopsPausesAndNeedsABuffer) {
  EXPECT_FALSE(wave.Play(100, 100));
  ASSERT_TRUE(wave.Play(1000, 5000));
  EXPECT_TRUE(wave.IsPlaying());
  EXPECT_TRUE(Ticking());
  EXPECT_EQ(wave.GetFrequency(), 44100);
  EXPECT_TRUE(wave.Pause());
  EXPECT_FALSE(wave.Pause());
  EXPECT_FALSE(wave.IsPlaying());
  EXPECT_TRUE(wave.m_paused);
  // A pause keeps no resume point: playing again starts at the given start.
  ASSERT_TRUE(wave.Play(2000, 0));
  EXPECT_FALSE(wave.m_paused);
  EXPECT_GE(wave.GetPlayPosition(), 2000u);
  EXPECT_EQ(wave.m_playEnd, wave.GetFrames());
  wave.Stop();
  EXPECT_FALSE(wave.IsPlaying());
  EXPECT_FALSE(Ticking());
  wave.m_muted.Add(0);
  wave.m_muted.Add(1);
  EXPECT_FALSE(wave.PrepareBuffer());
  EXPECT_FALSE(wave.Play(0, 0));
  wave.m_muted.RemoveAll();
  ASSERT_TRUE(wave.PrepareBuffer());

  IDirectSound8* saved = g_directSound;
  g_directSound = nullptr;
  EXPECT_FALSE(wave.PrepareBuffer());
  g_directSound = saved;
  // Editing still works without a buffer.
  ASSERT_TRUE(wave.BeginOperation(0, 10, -1, nullptr, nullptr));
  EXPECT_TRUE(wave.DeleteRange());
  EXPECT_NE(wave.m_buffer, nullptr);
}

TEST_F(SWavePlayTest, TheTickStopsAtTheRangeEndOrLoopsBackWithRepeat) {
  // The application window's timer ticks the playing wave.
  ASSERT_TRUE(wave.Play(0, 100000));
  g_appWindow->SendMessage(WM_TIMER, 1, 0);
  EXPECT_GE(wave.progress, 1);
  wave.SetPlayPosition(150000);
  g_appWindow->SendMessage(WM_TIMER, 1, 0);
  EXPECT_FALSE(wave.IsPlaying());
  EXPECT_GE(wave.stopped, 1);
  EXPECT_FALSE(Ticking());

  wave.m_repeat = true;
  ASSERT_TRUE(wave.Play(100, 100000));
  wave.SetPlayPosition(150000);
  wave.Update();
  EXPECT_TRUE(wave.IsPlaying());
  EXPECT_LT(wave.GetPlayPosition(), 100000u);
  wave.Stop();
}

}  // namespace
