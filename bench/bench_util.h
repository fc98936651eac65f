// Timing and heap figures for the benchmarks.
#ifndef WENDLE_BENCH_UTIL_H
#define WENDLE_BENCH_UTIL_H

#include <windows.h>

#include <cstddef>

namespace benchutil {

// Seconds since an arbitrary start, from the performance counter.
double Now();

// Bytes of the process heap in use, block overhead included.
size_t HeapBytesInUse();

}  // namespace benchutil

#endif
