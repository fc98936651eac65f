#include "bench/memory_seam.h"

namespace bench {

namespace {
int g_allocations = 0;
int g_releases = 0;
int g_failAllocationIn = 0;
int g_failReleaseIn = 0;
}  // namespace

MemorySeam::MemorySeam() : saved_(g_localMemory) {
  g_allocations = g_releases = g_failAllocationIn = g_failReleaseIn = 0;
  g_localMemory = {Alloc, Free};
}

MemorySeam::~MemorySeam() { g_localMemory = saved_; }

void MemorySeam::FailAllocation(int n) { g_failAllocationIn = n; }
void MemorySeam::FailRelease(int n) { g_failReleaseIn = n; }
int MemorySeam::LiveBlocks() const { return g_allocations - g_releases; }

HLOCAL WINAPI MemorySeam::Alloc(UINT flags, SIZE_T bytes) {
  if (g_failAllocationIn > 0 && --g_failAllocationIn == 0) return nullptr;
  HLOCAL block = LocalAlloc(flags, bytes);
  if (block) ++g_allocations;
  return block;
}

HLOCAL WINAPI MemorySeam::Free(HLOCAL block) {
  if (g_failReleaseIn > 0 && --g_failReleaseIn == 0) return block;  // as LocalFree reports failure
  HLOCAL result = LocalFree(block);
  if (!result) ++g_releases;
  return result;
}

}  // namespace bench
