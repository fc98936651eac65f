/*
 * Local-memory blocks for Sound Objects and their texts, and a scoped lock
 * so no path leaves a block locked.
 *
 * The blocks are fixed, not movable: the platform keeps at most 65,536
 * movable handles per process, which would cap the list at about 20,000
 * objects (one block per record and per text). Code still reaches every
 * block through LocalLock and LocalUnlock, so nothing depends on the
 * difference.
 */
#ifndef WENDLE_LOCAL_MEMORY_H
#define WENDLE_LOCAL_MEMORY_H

#include <windows.h>

#include <cstddef>

// The allocator and the release function used for every block. Tests swap
// them to make an allocation or a release fail; the program never does.
struct LocalMemoryFunctions {
  HLOCAL(WINAPI* alloc)(UINT flags, SIZE_T bytes);
  HLOCAL(WINAPI* free)(HLOCAL block);
};
extern LocalMemoryFunctions g_localMemory;

// A zero-initialised block.
inline HLOCAL AllocLocalBlock(SIZE_T bytes) { return g_localMemory.alloc(LMEM_FIXED | LMEM_ZEROINIT, bytes); }
// Releases a block; true on success.
inline bool FreeLocalBlock(HLOCAL block) { return g_localMemory.free(block) == nullptr; }

// Locks a block for the lifetime of the object.
template <typename T>
class LockedBlock {
 public:
  explicit LockedBlock(HLOCAL block) : block_(block), data_(block ? static_cast<T*>(LocalLock(block)) : nullptr) {}
  ~LockedBlock() {
    if (data_) LocalUnlock(block_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  T* get() const { return data_; }
  T* operator->() const { return data_; }
  T& operator*() const { return *data_; }

 private:
  HLOCAL block_;
  T* data_;
};

// A text block of exactly length + 1 bytes holding text[0..length).
HLOCAL AllocTextBlock(const char* text, size_t length);
HLOCAL AllocTextBlock(const char* text);
// Copies a text block into buffer (always terminated); false when there is
// no block or it cannot be locked (buffer then holds an empty text).
bool CopyTextBlock(HLOCAL block, char* buffer, size_t size);

#endif
