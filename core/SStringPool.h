// Memory that SString objects and their buffers are made in and that is
// given back all at once, for owners of very many strings (a table of a
// million cells) whose release would otherwise free every string alone.
//
// While a scope of a pool is open, every `new SString` made by the scope's
// thread is made in the pool; a string made in a pool keeps every buffer it
// ever allocates in the same pool. A string of a pool may be deleted alone
// as usual: its memory goes back to the pool for later strings. Release
// frees the pool's memory without running a destructor: the owner calls it
// only once no string of the pool is reachable any more (strings of a pool
// are never tracked, see SString::SetTracked). Strings made outside a scope
// (on the stack, as members, with no scope open) never touch a pool.
//
// Pools exist only in a 32-bit process (a table maps each 64 KB of the
// address space to its pool); elsewhere a scope changes nothing.
#pragma once

#include "core/Platform.h"

#include <stddef.h>
#include <stdint.h>

class SStringPool {
public:
  SStringPool();
  // Releases the pool.
  ~SStringPool();
  SStringPool(const SStringPool&) = delete;
  SStringPool& operator=(const SStringPool&) = delete;

  // Frees all of the pool's memory at once (see above).
  void Release();
  // True when p lies in memory of this pool (a table lookup, cheap enough
  // for walks over millions of pointers).
  bool Contains(const void* p) const {
    return m_id && p && s_regions[reinterpret_cast<uintptr_t>(p) >> REGION_SHIFT] == m_id;
  }
  // Bytes the pool holds from the system.
  size_t GetReservedBytes() const { return m_reserved; }

  // Makes the pool current for `new SString` of the calling thread until
  // the scope ends; scopes nest.
  class Scope {
  public:
    explicit Scope(SStringPool* pool);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

  private:
    SStringPool* m_previous;
    DWORD m_previousThread;
  };

  // For SString: an object of `size` bytes (in the current pool of the
  // thread, else from the heap), and its release by address.
  static void* NewObject(size_t size);
  static void DeleteObject(void* p, size_t size);
  // For SString: a buffer for the string at `owner` (in the owner's pool,
  // else from the heap), and its release.
  static char* NewBuffer(const void* owner, int capacity);
  static void FreeBuffer(const void* owner, char* p, int capacity);

private:
  // Chunks grow from the first size, doubling, up to the largest: a small
  // pool takes little, a large one few chunks (each chunk costs a call to
  // the system when it is taken and when it is given back).
  enum {
    CLASS_COUNT = 4,
    LARGEST_SLOT = 64,
    REGION_SHIFT = 16,
    FIRST_CHUNK_BYTES = 1 << 20,
    LARGEST_CHUNK_BYTES = 1 << 24
  };
  struct _SLarge;
  struct _SChunk;

  // The pool of each 64 KB region of the address space, 0 = none.
  static uint8_t s_regions[];

  // The pool that owns the memory at p, or null.
  static SStringPool* PoolOf(const void* p);
  void* Take(size_t size);
  void Give(void* p, size_t size);
  // Carves a slot of the class from the current chunk, taking a new chunk
  // when it is full; null when the system gives no memory.
  void* Carve(size_t slot);

  int m_id;                   // index in the pool table; 0 = not registered
  void* m_free[CLASS_COUNT];  // freed slots of 8, 16, 32 and 64 bytes
  size_t m_used;              // bytes carved of the newest chunk
  _SChunk* m_chunks;          // every chunk, newest first, linked through its header
  _SLarge* m_large;           // buffers above the largest slot
  size_t m_reserved;
};
