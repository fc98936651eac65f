// Timing and heap figures for the benchmarks.
#ifndef WENDLE_BENCH_UTIL_H
#define WENDLE_BENCH_UTIL_H

#include <windows.h>

#include <cstddef>
#include <string>

namespace benchutil {

// Seconds since an arbitrary start, from the performance counter.
double Now();

// Bytes of the process heap in use, block overhead included.
size_t HeapBytesInUse();

// Seconds of CPU (user and kernel) a process has used.
double ProcessCpuSeconds(HANDLE process);

// Wine tells a process no CPU times of another one: a started program's
// are read from the Linux process under it, found by a word of its command
// line. 0 when there is none (not under Wine).
int LinuxProcessWith(const std::string& word);
double LinuxCpuSeconds(int pid);
// Per cent of a core the Linux process used over milliseconds.
double LinuxCpuShare(int pid, DWORD milliseconds);

}  // namespace benchutil

#endif
