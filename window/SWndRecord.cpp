// SWnd: records built from messages (SWM_RECORD_BEGIN, _APPEND, _END).
#include "core/Platform.h"
#include "window/SWnd.h"

#include "window/WindowPrivate.h"

#include <new>

namespace {

// Message-built records: a 16-byte header (u32 requested size, i64 closing
// value, 4 reserved bytes), then the data. Sizes above the cap are refused,
// and so is a record beyond the open-record or open-byte limits of a window.
const int kRecordHeader = 16;
const int kRecordSizeCap = 16 * 1024 * 1024;
const int kMaxOpenRecords = 64;
const int kOpenRecordBytesCap = 2 * kRecordSizeCap + 64;


int RecordDataSize(unsigned int requested) {
  return static_cast<int>(requested & ~3u) + 4;
}

// The index of an open record, -1 for any other handle.
int RecordIndex(SWnd& wnd, WPARAM handle) {
  if (handle == 0 || handle > static_cast<WPARAM>(wnd.m_recordBuffers.GetCount())) return -1;
  int index = static_cast<int>(handle) - 1;
  return wnd.m_recordBuffers[index] ? index : -1;
}

}  // namespace

namespace WindowPrivate {

LRESULT OnRecordBegin(SWnd& wnd, WPARAM id, LPARAM size) {
  if (size <= 0 || size > kRecordSizeCap) return 0;
  unsigned int requested = static_cast<unsigned int>(size);
  int bytes = kRecordHeader + RecordDataSize(requested);
  int count = wnd.m_recordBuffers.GetCount();
  int open = 0, openBytes = 0;
  for (int i = 0; i < count; ++i) {
    if (!wnd.m_recordBuffers[i]) continue;
    ++open;
    openBytes += kRecordHeader + RecordDataSize(wnd.m_recordSizes[i]);
  }
  if (open >= kMaxOpenRecords || bytes > kOpenRecordBytesCap - openBytes) return 0;
  unsigned char* block = new (std::nothrow) unsigned char[bytes];
  if (!block) return 0;
  memset(block, 0, bytes);
  memcpy(block, &requested, 4);
  unsigned char* data = block + kRecordHeader;
  int index = 0;
  while (index < count && (wnd.m_recordBuffers[index] || wnd.m_recordPositions[index])) ++index;
  if (index == count) {
    bool grown = wnd.m_recordBuffers.Add(nullptr) >= 0 && wnd.m_recordSizes.Add(0) >= 0 &&
                 wnd.m_recordPositions.Add(nullptr) >= 0 && wnd.m_recordIds.Add(0) >= 0;
    if (!grown) {
      // The four lists stay of one length.
      if (wnd.m_recordBuffers.GetCount() > count) wnd.m_recordBuffers.RemoveAt(count);
      if (wnd.m_recordSizes.GetCount() > count) wnd.m_recordSizes.RemoveAt(count);
      if (wnd.m_recordPositions.GetCount() > count) wnd.m_recordPositions.RemoveAt(count);
      delete[] block;
      return 0;
    }
  }
  wnd.m_recordBuffers[index] = block;
  wnd.m_recordSizes[index] = requested;
  wnd.m_recordPositions[index] = data;
  wnd.m_recordIds[index] = static_cast<unsigned int>(id);
  return index + 1;
}

void OnRecordAppend(SWnd& wnd, WPARAM handle, LPARAM value) {
  int index = RecordIndex(wnd, handle);
  if (index < 0) return;
  unsigned char* position = wnd.m_recordPositions[index];
  unsigned char* end = wnd.m_recordBuffers[index] + kRecordHeader +
                       RecordDataSize(wnd.m_recordSizes[index]);
  // Values past the data area are refused.
  if (!position || end - position < 4) return;
  uint32_t bits = static_cast<uint32_t>(value);
  position[0] = static_cast<unsigned char>(bits >> 24);
  position[1] = static_cast<unsigned char>(bits >> 16);
  position[2] = static_cast<unsigned char>(bits >> 8);
  position[3] = static_cast<unsigned char>(bits);
  wnd.m_recordPositions[index] = position + 4;
}

void OnRecordEnd(SWnd& wnd, WPARAM handle, LPARAM value) {
  int index = RecordIndex(wnd, handle);
  if (index < 0) return;
  unsigned char* block = wnd.m_recordBuffers[index];
  wnd.m_recordBuffers[index] = nullptr;
  int64_t closing = static_cast<int32_t>(value);
  memcpy(block + 4, &closing, 8);
  wnd.SendMessage(SWM_RECORD, wnd.m_recordIds[index], ToLParam(block));
  wnd.m_recordSizes[index] = 0;
  wnd.m_recordPositions[index] = nullptr;
  wnd.m_recordIds[index] = 0;
  delete[] block;
}

}  // namespace WindowPrivate
