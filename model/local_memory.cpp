#include "model/local_memory.h"

#include <cstring>

LocalMemoryFunctions g_localMemory = {LocalAlloc, LocalFree};

HLOCAL AllocTextBlock(const char* text, size_t length) {
  HLOCAL block = AllocLocalBlock(length + 1);
  if (!block) return nullptr;
  LockedBlock<char> data(block);
  if (!data) {
    FreeLocalBlock(block);
    return nullptr;
  }
  memcpy(data.get(), text, length);  // the block is zero-filled: terminated
  return block;
}

HLOCAL AllocTextBlock(const char* text) { return AllocTextBlock(text, strlen(text)); }

bool CopyTextBlock(HLOCAL block, char* buffer, size_t size) {
  if (size == 0) return false;
  buffer[0] = '\0';
  LockedBlock<const char> data(block);
  if (!data) return false;
  size_t length = strnlen(data.get(), LocalSize(block));
  if (length >= size) length = size - 1;
  memcpy(buffer, data.get(), length);
  buffer[length] = '\0';
  return true;
}
