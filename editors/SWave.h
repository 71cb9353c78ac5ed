// One sound as uncompressed PCM samples: read from a RIFF WAVE file, played
// through a DirectSound secondary buffer, edited by ranges.
//
// The samples live in a temporary disk file (the data file), never as a
// whole in memory: every edit streams through that file in blocks of about a
// hundredth of the bytes it walks over, reporting progress before each block
// to a callback that may cancel. A frame is one sample of every channel;
// positions and counts are frames unless said otherwise.
//
// Ownership: the wave owns its data file and its play buffer; the level
// meter and the clipboard file given to Cut and Paste stay the caller's.
// While a wave plays it is in the application window's tick list, whose
// timer calls Update; it leaves the list when it stops or is destroyed.
#pragma once

#include "core/Platform.h"
#include "core/SArray.h"

#include <mmreg.h>
#include <stdint.h>

class SFile;
class SFilePath;
class SLevelCtrl;
struct IDirectSoundBuffer;

class SWave {
public:
  // Progress of an edit in percent; false cancels the edit.
  typedef bool (*ProgressCallback)(int percent, void* data);

  // The range and progress state of the current edit.
  struct _SOperation {
    uint32_t start;
    uint32_t count;
    int channel;  // -1: all channels
    int stepIndex;
    int stepCount;  // at least 1
    ProgressCallback callback;
    void* callbackData;
    bool written;  // a pass of this edit changed the data
  };

  // Bytes of the format record; a longer "fmt " chunk is refused.
  enum { FORMAT_SIZE = 40, FORMAT_MIN_SIZE = 16 };

  SWave();
  virtual ~SWave();

  // Called on each tick while the buffer plays; empty here.
  virtual void OnPlayProgress();
  // Called on a tick when the buffer does not play, or has just been stopped
  // at the end of its range; empty here.
  virtual void OnPlayStopped();

  // Stops and returns to the empty state (no format, no data, no buffer).
  void Clear();
  // A new empty wave of 1, 2 or 6 channels: 16-bit PCM at 44100 Hz (6
  // channels as the extensible format with mask 0x3F). No play buffer.
  bool Create(int channels);
  // Reads a RIFF WAVE file from the file's position: "RIFF", size, "WAVE",
  // then "fmt " and "data" back to back. Refused (leaving an empty wave): a
  // format chunk below 16 or above 40 bytes, 0 channels or frame rate, a
  // width other than 8, 16 or 32 bits, nBlockAlign other than channels x
  // bytes per sample, a data chunk longer than what follows.
  bool LoadWav(SFile* file);
  bool IsLoaded() const { return m_loaded; }
  int GetChannels() const { return m_format.Format.nChannels; }
  int GetBits() const { return m_format.Format.wBitsPerSample; }
  int GetRate() const { return int(m_format.Format.nSamplesPerSec); }
  int GetBlockAlign() const { return m_format.Format.nBlockAlign; }
  // Data size / nBlockAlign; 0 when empty.
  uint32_t GetFrames() const;

  // Play buffer.
  bool CreateBuffer();
  bool FillBuffer();
  bool PrepareBuffer();
  // Plays [start, end) (end 0: to the end of the data); false without a
  // buffer or for an end not beyond the start.
  bool Play(uint32_t start, uint32_t end);
  void Stop();
  bool Pause();
  bool IsPlaying();
  uint32_t GetPlayPosition();
  void SetPlayPosition(uint32_t frame);
  int GetFrequency();
  // The playback tick.
  void Update();

  // Sample access: from the buffer (frame relative to it) or, with a null
  // buffer, from the data file. Channel -1 reads the average of the channels
  // and writes every channel; values are clamped to the width on writing.
  int64_t GetSample(int channel, const uint8_t* buffer, uint32_t frame);
  void SetSample(int channel, uint8_t* buffer, uint32_t frame, int64_t value);

  // Validates and records the range of the next edit; stops playing.
  bool BeginOperation(uint32_t start, uint32_t count, int channel, ProgressCallback callback,
                      void* callbackData);
  // Range edits over the recorded operation; false when refused, cancelled
  // or a pass failed.
  bool DeleteRange();
  bool InsertSilence(uint32_t frames);
  bool SilenceRange();
  bool CopyRange(SFile* destination);
  bool Cut(SFile* clipboard);
  bool Paste(SFile* clipboard);
  bool Amplify(double factor);
  bool RebuildPass();

  // The silence value's byte (128 for 8-bit data, else 0).
  uint8_t GetSilenceByte() const { return uint8_t(m_silence); }

  bool m_loaded;
  uint32_t m_silence;
  WAVEFORMATEXTENSIBLE m_format;
  uint32_t m_formatSize;  // bytes of the "fmt " chunk
  SFilePath* m_data;      // owned
  uint32_t m_dataSize;
  IDirectSoundBuffer* m_buffer;
  bool m_repeat;
  bool m_paused;
  uint32_t m_playStart, m_playEnd;
  SArray<int> m_muted;
  _SOperation m_operation;
  SLevelCtrl* m_levelMeter;  // not owned

protected:
  // Progress of the current edit after `done` blocks of its pass.
  bool ReportProgress(int done);

private:
  SWave(const SWave&) = delete;
  SWave& operator=(const SWave&) = delete;

  void ClearOperation();
  // Rebuilds the size from the data file and the play buffer.
  void FinishEdit();
  int BytesPerSample() const { return GetBits() / 8; }
  // The block size of a pass over `bytes` bytes (a multiple of nBlockAlign).
  int BlockSize(int64_t bytes) const;
  bool IsMuted(int channel) const;
  void ResetLevelMeter();
  void FeedLevelMeter();
  // The tick list of the application window.
  void JoinTicks();
  void LeaveTicks();

  // The passes behind the edits; frames and counts from the operation.
  bool MoveFrames(uint32_t from, uint32_t to, uint32_t frames, int channel);
  bool FillSilence(uint32_t start, uint32_t frames, int channel);
  bool CopyOut(uint32_t start, uint32_t frames, int channel, SFile* destination);
  bool CopyIn(SFile* source, uint32_t start, uint32_t frames, int channel);
  bool DeleteRangePass();
  bool InsertSilencePass(uint32_t frames);
};
