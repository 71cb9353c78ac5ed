#include "core/Platform.h"
#include "engine/SDxSound.h"

#include "engine/SDx.h"
#include "window/Framework.h"

#include <msacm.h>
#include <objbase.h>
#include <string.h>
#include <wmsdkidl.h>

namespace {

const int kBlockSize = 522;  // one MPEG layer 3 frame at 160 kbit/s, 44100 Hz
const uint32_t kPcmRate = 44100;
const uint32_t kPcmChannels = 2;
const uint32_t kPcmBlockAlign = 4;
// Decoded bytes per compressed byte at the lowest MPEG bit rate (8 kbit/s)
// stay below this; a longer claimed duration is refused before anything is
// allocated.
const uint64_t kMaxExpansion = 256;
const uint64_t kMaxPcmSize = 1u << 28;

typedef HRESULT(WINAPI* CreateSyncReaderProc)(IUnknown*, DWORD, IWMSyncReader**);

// A frame header of MPEG audio layer III, or the tag block that may precede it.
bool StartsLikeLayer3(const uint8_t* bytes, int n) {
  if (n >= 3 && memcmp(bytes, "ID3", 3) == 0) return true;
  return n >= 2 && bytes[0] == 0xFF && (bytes[1] & 0xE0) == 0xE0 && ((bytes[1] >> 1) & 3) == 1;
}

template <class T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

// The reader's verdict on the bytes: the duration of an MPEG layer 3
// stream at 44100 Hz, stereo. The reader may hand the stream over as the
// compressed format or already decoded to PCM; both are accepted.
bool ReadMediaInfo(const uint8_t* bytes, int n, uint64_t* duration) {
  static HMODULE module = ::LoadLibraryA("wmvcore.dll");
  CreateSyncReaderProc create = module ? reinterpret_cast<CreateSyncReaderProc>(
                                             (void*)::GetProcAddress(module, "WMCreateSyncReader"))
                                       : nullptr;
  if (!create) return false;
  HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)n);
  if (!global) return false;
  void* locked = ::GlobalLock(global);
  if (!locked) {
    ::GlobalFree(global);
    return false;
  }
  memcpy(locked, bytes, (size_t)n);
  ::GlobalUnlock(global);
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(global, TRUE, &stream))) {
    ::GlobalFree(global);
    return false;
  }
  IWMSyncReader* reader = nullptr;
  IWMHeaderInfo* header = nullptr;
  IWMOutputMediaProps* props = nullptr;
  uint8_t* typeBytes = nullptr;
  bool ok = false;
  do {
    if (FAILED(create(nullptr, WMT_RIGHT_PLAYBACK, &reader)) || !reader) break;
    if (FAILED(reader->OpenStream(stream))) break;
    if (FAILED(reader->QueryInterface(__uuidof(IWMHeaderInfo), reinterpret_cast<void**>(&header))))
      break;
    WORD streamNumber = 0, length = sizeof(QWORD);
    WMT_ATTR_DATATYPE type;
    QWORD value = 0;
    if (FAILED(
            header->GetAttributeByName(&streamNumber, L"Duration", &type, (BYTE*)&value, &length)))
      break;
    *duration = value;
    if (FAILED(reader->GetOutputProps(0, &props))) break;
    DWORD typeSize = 0;
    if (FAILED(props->GetMediaType(nullptr, &typeSize)) || typeSize < sizeof(WM_MEDIA_TYPE) ||
        typeSize > 65536) {
      break;
    }
    typeBytes = new uint8_t[typeSize];
    WM_MEDIA_TYPE* media = reinterpret_cast<WM_MEDIA_TYPE*>(typeBytes);
    if (FAILED(props->GetMediaType(media, &typeSize))) break;
    if (!IsEqualGUID(media->majortype, WMMEDIATYPE_Audio)) break;
    if (!media->pbFormat || media->cbFormat < sizeof(WAVEFORMAT)) break;
    const WAVEFORMAT* format = reinterpret_cast<const WAVEFORMAT*>(media->pbFormat);
    if (format->nSamplesPerSec != kPcmRate || format->nChannels != kPcmChannels) break;
    ok = format->wFormatTag == WAVE_FORMAT_MPEGLAYER3 ||
         (format->wFormatTag == WAVE_FORMAT_PCM && StartsLikeLayer3(bytes, n));
  } while (false);
  delete[] typeBytes;
  Release(props);
  Release(header);
  if (reader) reader->Close();
  Release(reader);
  Release(stream);
  return ok;
}

// Decodes the whole blocks of 522 bytes into the output, which keeps its
// size: what does not fit is dropped.
bool DecodeBlocks(const uint8_t* bytes, int n, SFileMem* output) {
  MPEGLAYER3WAVEFORMAT source;
  memset(&source, 0, sizeof(source));
  source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  source.wfx.nChannels = kPcmChannels;
  source.wfx.nSamplesPerSec = kPcmRate;
  source.wfx.nAvgBytesPerSec = 16384;
  source.wfx.nBlockAlign = 1;
  source.wfx.wBitsPerSample = 0;
  source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  source.wID = MPEGLAYER3_ID_MPEG;
  source.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
  source.nBlockSize = kBlockSize;
  source.nFramesPerBlock = 1;
  source.nCodecDelay = 1393;
  WAVEFORMATEX pcm = {WAVE_FORMAT_PCM, kPcmChannels, kPcmRate, kPcmRate * kPcmBlockAlign,
                      kPcmBlockAlign,  16,           0};
  HACMSTREAM stream = nullptr;
  if (::acmStreamOpen(&stream, nullptr, &source.wfx, &pcm, nullptr, 0, 0, 0) != 0) return false;
  DWORD outSize = 0;
  if (::acmStreamSize(stream, kBlockSize, &outSize, ACM_STREAMSIZEF_SOURCE) != 0 || outSize == 0) {
    ::acmStreamClose(stream, 0);
    return false;
  }
  uint8_t* in = new uint8_t[kBlockSize];
  uint8_t* out = new uint8_t[outSize];
  ACMSTREAMHEADER block;
  memset(&block, 0, sizeof(block));
  block.cbStruct = sizeof(block);
  block.pbSrc = in;
  block.cbSrcLength = kBlockSize;
  block.pbDst = out;
  block.cbDstLength = outSize;
  bool ok = ::acmStreamPrepareHeader(stream, &block, 0) == 0;
  if (ok) {
    for (int at = 0; at + kBlockSize <= n; at += kBlockSize) {
      memcpy(in, bytes + at, kBlockSize);
      block.cbSrcLength = kBlockSize;
      if (::acmStreamConvert(stream, &block, ACM_STREAMCONVERTF_BLOCKALIGN) != 0) {
        ok = false;
        break;
      }
      int room = output->GetRemaining();
      int used = (int)block.cbDstLengthUsed < room ? (int)block.cbDstLengthUsed : room;
      output->WriteData(out, used);
    }
    block.cbSrcLength = kBlockSize;
    if (::acmStreamUnprepareHeader(stream, &block, 0) != 0) ok = false;
  }
  ::acmStreamClose(stream, 0);
  delete[] in;
  delete[] out;
  return ok;
}

}  // namespace

uint32_t SDxSound::ComputePcmSize(uint64_t duration) {
  // 176400 bytes a second over 10,000,000 units a second, in whole numbers.
  uint64_t size = duration * (kPcmRate * kPcmBlockAlign / 400) / (10000000 / 400);
  size += kPcmBlockAlign - size % kPcmBlockAlign;
  return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : (uint32_t)size;
}

bool SDxSound::LoadCompressed(SFile* file) {
  if (!g_xaudio2 || !file) return false;
  Reset();
  int n = file->GetRemaining();
  if (n <= 0) return false;
  SFileMem copy;
  const uint8_t* bytes = nullptr;
  if (file->IsMemoryFile()) {
    bytes = static_cast<SFileMem*>(file)->GetBuffer() + file->Tell();
  } else {
    copy.Allocate(n);
    if (file->ReadData(copy.GetBuffer(), n) != n) return false;
    bytes = copy.GetBuffer();
  }
  SDx::_SDecodedSound* decoded = m_engine ? m_engine->m_decodedSounds : nullptr;
  for (int i = 0; decoded && i < SDx::DECODED_SOUND_COUNT; ++i) {
    SDx::_SDecodedSound& cached = decoded[i];
    if (cached.compressed.GetSize() == n && memcmp(cached.compressed.GetBuffer(), bytes, n) == 0) {
      cached.pcm.Rewind();
      return CreateFromPcm(&cached.pcm, (uint32_t)cached.pcm.GetSize());
    }
  }
  uint64_t duration = 0;
  if (!ReadMediaInfo(bytes, n, &duration)) return false;
  uint64_t size = ComputePcmSize(duration);
  if (duration == 0 || size > kMaxPcmSize || size > (uint64_t)n * kMaxExpansion) return false;
  SDx::_SDecodedSound* entry = nullptr;
  if (decoded) {
    entry = &decoded[m_engine->m_nextDecodedSound];
    m_engine->m_nextDecodedSound = (m_engine->m_nextDecodedSound + 1) % SDx::DECODED_SOUND_COUNT;
    entry->compressed.Allocate(0);
  }
  SFileMem own;
  SFileMem* output = entry ? &entry->pcm : &own;
  output->Allocate((int)size);
  if (!DecodeBlocks(bytes, n, output)) {
    output->Allocate(0);
    return false;
  }
  // The rest of the computed length is silence.
  int at = output->Tell();
  memset(output->GetBuffer() + at, 0, (size_t)(output->GetSize() - at));
  output->Rewind();
  // The entry holds its bytes only once its samples are whole.
  if (entry) entry->compressed.Write(bytes, n);
  return CreateFromPcm(output, (uint32_t)size);
}
