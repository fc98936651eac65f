// Counts the program's local-memory blocks and makes chosen allocations or
// releases fail, through the program's allocation seam.
#ifndef WENDLE_MEMORY_SEAM_H
#define WENDLE_MEMORY_SEAM_H

#include "model/local_memory.h"

namespace bench {

class MemorySeam {
 public:
  MemorySeam();
  ~MemorySeam();
  MemorySeam(const MemorySeam&) = delete;
  MemorySeam& operator=(const MemorySeam&) = delete;

  // The n-th allocation from now (1 = the next) fails; 0 = none.
  void FailAllocation(int n);
  // The n-th release from now fails (the block stays allocated); 0 = none.
  void FailRelease(int n);
  // Blocks allocated and not released since the seam was installed.
  int LiveBlocks() const;

 private:
  static HLOCAL WINAPI Alloc(UINT flags, SIZE_T bytes);
  static HLOCAL WINAPI Free(HLOCAL block);
  LocalMemoryFunctions saved_;
};

}  // namespace bench

#endif
