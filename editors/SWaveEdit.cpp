// The range edits of SWave: passes that stream the data file block by block.
#include "core/Platform.h"
#include "editors/SWave.h"

#include "core/SFilePath.h"

#include <vector>

int SWave::BlockSize(int64_t bytes) const {
  int64_t s = bytes / 100;
  if (s < 100) s = 100;
  int align = GetBlockAlign();
  return int(s + (align - s % align));
}

bool SWave::ReportProgress(int done) {
  if (!m_operation.callback) return true;
  int steps = m_operation.stepCount < 1 ? 1 : m_operation.stepCount;
  int percent = int(100LL * (int64_t(m_operation.stepIndex) * 100 + done) / (int64_t(steps) * 100));
  if (percent == 99) percent = 100;
  return m_operation.callback(percent, m_operation.callbackData);
}

void SWave::FinishEdit() {
  m_dataSize = uint32_t(m_data->GetSize());
  PrepareBuffer();
}

bool SWave::BeginOperation(uint32_t start, uint32_t count, int channel, ProgressCallback callback,
                           void* callbackData) {
  uint32_t frames = GetFrames();
  if (!m_loaded || start > frames || count > frames - start) return false;
  if (channel < -1 || channel >= GetChannels()) return false;
  m_operation.start = start;
  m_operation.count = count;
  m_operation.channel = channel;
  m_operation.stepIndex = 0;
  m_operation.stepCount = 1;
  m_operation.callback = callback;
  m_operation.callbackData = callbackData;
  m_operation.written = false;
  if (IsPlaying() || m_paused) Stop();
  return true;
}

namespace {

// A block of whole frames in the data file: read and written at a frame.
bool ReadFrames(SFile* file, int align, uint32_t frame, uint8_t* block, uint32_t frames) {
  int offset = int(int64_t(frame) * align), n = int(frames) * align;
  return file->Seek(offset) == offset && file->ReadData(block, n) == n;
}

bool WriteFrames(SFile* file, int align, uint32_t frame, const uint8_t* block, uint32_t frames) {
  int offset = int(int64_t(frame) * align), n = int(frames) * align;
  return file->Seek(offset) == offset && file->WriteData(block, n) == n;
}

}  // namespace

// Frames [from, from + frames) go to [to, ...), all channels or one. Blocks
// run ascending when moving down and from the end when moving up, so that
// nothing is overwritten before it was read.
bool SWave::MoveFrames(uint32_t from, uint32_t to, uint32_t frames, int channel) {
  int align = GetBlockAlign(), b = BytesPerSample();
  uint32_t step = uint32_t(BlockSize(int64_t(frames) * align) / align);
  std::vector<uint8_t> source(size_t(step) * align), target(size_t(step) * align);
  bool up = to > from;
  int done = 0;
  for (uint32_t moved = 0; moved < frames; ++done) {
    if (!ReportProgress(done)) return false;
    uint32_t n = frames - moved < step ? frames - moved : step;
    uint32_t i = up ? frames - moved - n : moved;
    moved += n;
    if (!ReadFrames(m_data, align, from + i, source.data(), n)) return false;
    uint8_t* out = source.data();
    if (channel >= 0) {
      if (!ReadFrames(m_data, align, to + i, target.data(), n)) return false;
      for (uint32_t f = 0; f < n; ++f) {
        size_t at = size_t(f) * align + size_t(channel) * b;
        memcpy(&target[at], &source[at], size_t(b));
      }
      out = target.data();
    }
    if (!WriteFrames(m_data, align, to + i, out, n)) return false;
    m_operation.written = true;
  }
  return true;
}

bool SWave::FillSilence(uint32_t start, uint32_t frames, int channel) {
  int align = GetBlockAlign();
  uint32_t step = uint32_t(BlockSize(int64_t(frames) * align) / align);
  std::vector<uint8_t> block(size_t(step) * align);
  int done = 0;
  for (uint32_t i = 0; i < frames; i += step, ++done) {
    if (!ReportProgress(done)) return false;
    uint32_t n = frames - i < step ? frames - i : step;
    if (channel < 0) {
      int offset = int(int64_t(start + i) * align);
      if (m_data->Seek(offset) != offset ||
          SFile::WriteFill(m_data, GetSilenceByte(), int(n) * align) != int(n) * align)
        return false;
    } else {
      if (!ReadFrames(m_data, align, start + i, block.data(), n)) return false;
      for (uint32_t f = 0; f < n; ++f) SetSample(channel, block.data(), f, 0);
      if (!WriteFrames(m_data, align, start + i, block.data(), n)) return false;
    }
    m_operation.written = true;
  }
  return true;
}

bool SWave::CopyOut(uint32_t start, uint32_t frames, int channel, SFile* destination) {
  int align = GetBlockAlign(), b = BytesPerSample();
  uint32_t step = uint32_t(BlockSize(int64_t(frames) * align) / align);
  std::vector<uint8_t> block(size_t(step) * align), samples(size_t(step) * b);
  int done = 0;
  for (uint32_t i = 0; i < frames; i += step, ++done) {
    if (!ReportProgress(done)) return false;
    uint32_t n = frames - i < step ? frames - i : step;
    if (!ReadFrames(m_data, align, start + i, block.data(), n)) return false;
    if (channel < 0) {
      if (destination->WriteData(block.data(), int(n) * align) != int(n) * align) return false;
    } else {
      for (uint32_t f = 0; f < n; ++f)
        memcpy(&samples[size_t(f) * b], &block[size_t(f) * align + size_t(channel) * b], size_t(b));
      if (destination->WriteData(samples.data(), int(n) * b) != int(n) * b) return false;
    }
  }
  return true;
}

// The source's bytes from its start into the frames from start: whole
// frames, or one sample per frame into the channel. Only as many bytes as
// the frames hold are taken.
bool SWave::CopyIn(SFile* source, uint32_t start, uint32_t frames, int channel) {
  int align = GetBlockAlign(), b = BytesPerSample();
  uint32_t step = uint32_t(BlockSize(int64_t(frames) * align) / align);
  std::vector<uint8_t> block(size_t(step) * align), samples(size_t(step) * b);
  source->Seek(0);
  int done = 0;
  for (uint32_t i = 0; i < frames; i += step, ++done) {
    if (!ReportProgress(done)) return false;
    uint32_t n = frames - i < step ? frames - i : step;
    if (channel < 0) {
      int got = source->ReadData(block.data(), int(n) * align);
      if (got <= 0) break;
      if (!WriteFrames(m_data, align, start + i, block.data(), uint32_t(got / align))) return false;
      if (got % align) {
        // A partial last frame: its bytes over the frame's own.
        int offset = int(int64_t(start + i + uint32_t(got / align)) * align);
        if (m_data->Seek(offset) != offset ||
            m_data->WriteData(block.data() + got - got % align, got % align) != got % align)
          return false;
      }
    } else {
      int got = source->ReadData(samples.data(), int(n) * b);
      if (got < b) break;
      uint32_t count = uint32_t(got / b);
      if (!ReadFrames(m_data, align, start + i, block.data(), count)) return false;
      for (uint32_t f = 0; f < count; ++f)
        memcpy(&block[size_t(f) * align + size_t(channel) * b], &samples[size_t(f) * b], size_t(b));
      if (!WriteFrames(m_data, align, start + i, block.data(), count)) return false;
    }
    m_operation.written = true;
  }
  return true;
}

bool SWave::DeleteRangePass() {
  const _SOperation& op = m_operation;
  uint32_t frames = GetFrames(), after = frames - op.start - op.count;
  if (!MoveFrames(op.start + op.count, op.start, after, op.channel)) return false;
  if (op.channel < 0) {
    m_operation.written = true;
    return m_data->SetSize(int(int64_t(frames - op.count) * GetBlockAlign()));
  }
  // One channel: the others keep their places; the freed end is silence.
  return FillSilence(frames - op.count, op.count, op.channel);
}

bool SWave::DeleteRange() {
  if (!m_loaded) return false;
  if (!DeleteRangePass()) return false;
  FinishEdit();
  return true;
}

bool SWave::InsertSilencePass(uint32_t frames) {
  if (frames == 0) return false;
  _SOperation& op = m_operation;
  if (op.count != 0) {
    if (!DeleteRangePass()) return false;
    m_dataSize = uint32_t(m_data->GetSize());
    op.count = 0;
  }
  int align = GetBlockAlign();
  uint32_t old = uint32_t(m_data->GetSize()) / uint32_t(align);
  int64_t grown = int64_t(old + int64_t(frames)) * align;
  if (grown > INT32_MAX || !m_data->SetSize(int(grown))) return false;
  m_dataSize = uint32_t(grown);
  op.written = true;
  if (!MoveFrames(op.start, op.start + frames, old - op.start, op.channel)) return false;
  return FillSilence(op.start, frames, op.channel);
}

bool SWave::InsertSilence(uint32_t frames) {
  if (!m_loaded || frames == 0) return false;
  bool done = InsertSilencePass(frames);
  FinishEdit();
  return done;
}

bool SWave::SilenceRange() {
  if (!m_loaded) return false;
  bool done = FillSilence(m_operation.start, m_operation.count, m_operation.channel);
  FinishEdit();
  return done;
}

bool SWave::CopyRange(SFile* destination) {
  if (!m_loaded || !destination || m_operation.count == 0) return false;
  return CopyOut(m_operation.start, m_operation.count, m_operation.channel, destination);
}

bool SWave::Cut(SFile* clipboard) {
  if (!m_loaded || !clipboard) return false;
  m_operation.stepCount = 2;
  bool done = CopyRange(clipboard);
  if (done) {
    ++m_operation.stepIndex;
    done = DeleteRangePass();
  }
  // A cancelled move leaves the data at its old length: nothing to rebuild.
  if (done || m_operation.stepIndex == 0) FinishEdit();
  return done;
}

bool SWave::Paste(SFile* clipboard) {
  if (!m_loaded || !clipboard) return false;
  _SOperation& op = m_operation;
  op.stepCount = op.count > 0 ? 3 : 2;
  bool done = true;
  if (op.count > 0) {
    done = DeleteRangePass();
    if (!done) return false;  // a cancelled move keeps the old length
    m_dataSize = uint32_t(m_data->GetSize());
    ++op.stepIndex;
    op.count = 0;
  }
  uint32_t frames = uint32_t(clipboard->GetSize()) / uint32_t(GetBlockAlign());
  if (op.channel >= 0) frames *= uint32_t(GetChannels());
  if (frames == 0) {
    FinishEdit();
    return false;
  }
  done = InsertSilencePass(frames);
  if (done) {
    ++op.stepIndex;
    done = CopyIn(clipboard, op.start, frames, op.channel);
  }
  FinishEdit();
  return done;
}

bool SWave::Amplify(double factor) {
  if (!m_loaded || m_operation.count == 0) return false;
  const _SOperation& op = m_operation;
  int align = GetBlockAlign();
  uint32_t step = uint32_t(BlockSize(int64_t(op.count) * align) / align);
  std::vector<uint8_t> block(size_t(step) * align);
  int first = op.channel < 0 ? 0 : op.channel;
  int last = op.channel < 0 ? GetChannels() - 1 : op.channel;
  bool done = true;
  int blocks = 0;
  for (uint32_t i = 0; i < op.count && done; i += step, ++blocks) {
    if (!ReportProgress(blocks)) {
      done = false;
      break;
    }
    uint32_t n = op.count - i < step ? op.count - i : step;
    if (!ReadFrames(m_data, align, op.start + i, block.data(), n)) {
      done = false;
      break;
    }
    for (int c = first; c <= last; ++c)
      for (uint32_t f = 0; f < n; ++f)
        SetSample(c, block.data(), f, int64_t(double(GetSample(c, block.data(), f)) * factor));
    done = WriteFrames(m_data, align, op.start + i, block.data(), n);
    m_operation.written = m_operation.written || done;
  }
  FillBuffer();
  return done;
}

bool SWave::RebuildPass() {
  if (!m_loaded) return false;
  int align = GetBlockAlign();
  uint32_t step = uint32_t(BlockSize(int64_t(m_operation.count) * align) / align);
  bool done = true;
  int blocks = 0;
  for (uint32_t i = 0; i < m_operation.count; i += step, ++blocks) {
    if (!ReportProgress(blocks)) {
      done = false;
      break;
    }
  }
  FinishEdit();
  return done;
}
