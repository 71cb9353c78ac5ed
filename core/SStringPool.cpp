#include "core/Platform.h"
#include "core/SStringPool.h"

#include <new>

#include <string.h>

// The start of every chunk: the link to the chunk taken before it and its
// size. Slots follow, 8-byte aligned.
struct SStringPool::_SChunk {
  _SChunk* next;
  size_t bytes;
};

// A buffer above the largest slot, linked into its pool's list.
struct SStringPool::_SLarge {
  _SLarge* previous;
  _SLarge* next;
};

namespace {

// Pools need a table entry for every 64 KB of the address space.
const bool kPoolsExist = sizeof(void*) == 4;
const int kMaxPools = 255;
const size_t kSlots[] = {8, 16, 32, 64};
const size_t kChunkHeader = 16;

SStringPool* g_pools[kMaxPools + 1];
SStringPool* g_current = nullptr;
DWORD g_currentThread = 0;

int ClassOf(size_t size) {
  for (int i = 0; i < 4; ++i) {
    if (size <= kSlots[i]) return i;
  }
  return -1;
}

}  // namespace

uint8_t SStringPool::s_regions[kPoolsExist ? (1u << 16) : 1];

SStringPool::SStringPool()
    : m_id(0), m_free(), m_used(0), m_chunks(nullptr), m_large(nullptr), m_reserved(0) {
  static_assert(FIRST_CHUNK_BYTES % (1 << REGION_SHIFT) == 0, "chunks cover whole regions");
  static_assert(sizeof(_SChunk) <= kChunkHeader && kChunkHeader % 8 == 0,
                "the chunk header fits and keeps slots aligned");
  static_assert(sizeof(kSlots) / sizeof(kSlots[0]) == CLASS_COUNT, "one slot size per class");
  if (!kPoolsExist) return;
  for (int id = 1; id <= kMaxPools; ++id) {
    if (!g_pools[id]) {
      g_pools[id] = this;
      m_id = id;
      break;
    }
  }
}

SStringPool::~SStringPool() {
  Release();
  if (m_id) g_pools[m_id] = nullptr;
  if (g_current == this) g_current = nullptr;
}

void SStringPool::Release() {
  while (m_chunks) {
    _SChunk* chunk = m_chunks;
    m_chunks = chunk->next;
    uintptr_t first = reinterpret_cast<uintptr_t>(chunk) >> REGION_SHIFT;
    memset(s_regions + first, 0, chunk->bytes >> REGION_SHIFT);
    ::VirtualFree(chunk, 0, MEM_RELEASE);
  }
  while (m_large) {
    _SLarge* large = m_large;
    m_large = large->next;
    ::operator delete(large);
  }
  for (void*& slot : m_free) slot = nullptr;
  m_used = 0;
  m_reserved = 0;
}

SStringPool* SStringPool::PoolOf(const void* p) {
  if (!kPoolsExist || !p) return nullptr;
  uint8_t id = s_regions[reinterpret_cast<uintptr_t>(p) >> REGION_SHIFT];
  return id ? g_pools[id] : nullptr;
}

void* SStringPool::Carve(size_t slot) {
  // Slots are carved from the newest chunk, the head of the list.
  if (!m_chunks || m_used + slot > m_chunks->bytes) {
    size_t bytes = m_chunks ? m_chunks->bytes * 2 : size_t(FIRST_CHUNK_BYTES);
    if (bytes > LARGEST_CHUNK_BYTES) bytes = LARGEST_CHUNK_BYTES;
    void* memory = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    // When the system gives no large chunk, a first-size one may still do.
    if (!memory && bytes > FIRST_CHUNK_BYTES) {
      bytes = FIRST_CHUNK_BYTES;
      memory = ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    }
    if (!memory) return nullptr;
    // VirtualAlloc hands out whole 64 KB regions.
    uintptr_t first = reinterpret_cast<uintptr_t>(memory) >> REGION_SHIFT;
    memset(s_regions + first, m_id, bytes >> REGION_SHIFT);
    _SChunk* chunk = static_cast<_SChunk*>(memory);
    chunk->next = m_chunks;
    chunk->bytes = bytes;
    m_chunks = chunk;
    m_used = kChunkHeader;
    m_reserved += bytes;
  }
  void* p = reinterpret_cast<char*>(m_chunks) + m_used;
  m_used += slot;
  return p;
}

void* SStringPool::Take(size_t size) {
  int c = ClassOf(size);
  if (c < 0 || !m_id) return nullptr;
  if (void* p = m_free[c]) {
    m_free[c] = *static_cast<void**>(p);
    return p;
  }
  return Carve(kSlots[c]);
}

void SStringPool::Give(void* p, size_t size) {
  int c = ClassOf(size);
  if (c < 0) return;
  *static_cast<void**>(p) = m_free[c];
  m_free[c] = p;
}

SStringPool::Scope::Scope(SStringPool* pool)
    : m_previous(g_current), m_previousThread(g_currentThread) {
  // Another thread's open scope stays in force: this one changes nothing.
  if (g_current && g_currentThread != ::GetCurrentThreadId()) return;
  g_current = pool;
  g_currentThread = ::GetCurrentThreadId();
}

SStringPool::Scope::~Scope() {
  if (g_current && g_currentThread != ::GetCurrentThreadId()) return;
  g_current = m_previous;
  g_currentThread = m_previousThread;
}

void* SStringPool::NewObject(size_t size) {
  if (g_current && g_currentThread == ::GetCurrentThreadId()) {
    if (void* p = g_current->Take(size)) return p;
  }
  return ::operator new(size);
}

void SStringPool::DeleteObject(void* p, size_t size) {
  if (!p) return;
  if (SStringPool* pool = PoolOf(p)) {
    pool->Give(p, size);
  } else {
    ::operator delete(p);
  }
}

char* SStringPool::NewBuffer(const void* owner, int capacity) {
  SStringPool* pool = PoolOf(owner);
  if (!pool) return new char[capacity];
  if (size_t(capacity) <= LARGEST_SLOT) {
    if (void* p = pool->Take(size_t(capacity))) return static_cast<char*>(p);
    return new char[capacity];
  }
  // Above the largest slot: from the heap, listed so that Release finds it.
  _SLarge* large = static_cast<_SLarge*>(::operator new(sizeof(_SLarge) + size_t(capacity)));
  large->previous = nullptr;
  large->next = pool->m_large;
  if (pool->m_large) pool->m_large->previous = large;
  pool->m_large = large;
  return reinterpret_cast<char*>(large + 1);
}

void SStringPool::FreeBuffer(const void* owner, char* p, int capacity) {
  if (!p) return;
  if (size_t(capacity) <= LARGEST_SLOT) {
    // Small buffers are found by their own address (a full pool falls back
    // to the heap).
    if (SStringPool* pool = PoolOf(p)) {
      pool->Give(p, size_t(capacity));
    } else {
      delete[] p;
    }
    return;
  }
  SStringPool* pool = PoolOf(owner);
  if (!pool) {
    delete[] p;
    return;
  }
  _SLarge* large = reinterpret_cast<_SLarge*>(p) - 1;
  if (large->previous) {
    large->previous->next = large->next;
  } else {
    pool->m_large = large->next;
  }
  if (large->next) large->next->previous = large->previous;
  ::operator delete(large);
}
