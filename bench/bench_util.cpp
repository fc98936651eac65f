#include "bench_util.h"

#include <cstdio>
#include <cstdlib>

namespace benchutil {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

size_t HeapBytesInUse() {
  HANDLE heap = GetProcessHeap();
  size_t total = 0;
  PROCESS_HEAP_ENTRY entry = {};
  HeapLock(heap);
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) total += entry.cbData + entry.cbOverhead;
  }
  HeapUnlock(heap);
  return total;
}

double ProcessCpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

namespace {

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

}  // namespace

// Through Wine's Z: drive, which holds the whole Linux file tree.
int LinuxProcessWith(const std::string& word) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int pid = 0;
  do {
    if (found.cFileName[0] < '1' || found.cFileName[0] > '9') continue;
    std::string line = ReadWholeFile(std::string("Z:\\proc\\") + found.cFileName + "\\cmdline");
    if (line.find(word) != std::string::npos && line.find("wendle.exe") != std::string::npos)
      pid = atoi(found.cFileName);
  } while (!pid && FindNextFileA(search, &found));
  FindClose(search);
  return pid;
}

// The user and system time of a Linux process, in its clock ticks of 10 ms.
double LinuxCpuSeconds(int pid) {
  std::string stat = ReadWholeFile("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  size_t end = stat.rfind(')');
  if (end == std::string::npos) return 0;
  // After the name: the state is field 3; utime and stime are 14 and 15.
  unsigned long long utime = 0, stime = 0;
  if (sscanf(stat.c_str() + end + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) != 2)
    return 0;
  return (utime + stime) / 100.0;
}

// Per cent of a core the Linux process used over milliseconds.
double LinuxCpuShare(int pid, DWORD milliseconds) {
  const double start = LinuxCpuSeconds(pid);
  Sleep(milliseconds);
  return 100 * (LinuxCpuSeconds(pid) - start) / (milliseconds / 1000.0);
}

}  // namespace benchutil
