// The program's start: from starting the process to the main window shown
// and idle, once Wine is warm, at 96 DPI and at 192 DPI (200 %, where the
// pictures and fonts are the large ones); and the CPU the program uses
// while it sits idle and while it is minimized with its icon animated.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/program.h"
#include "bench_util.h"

namespace {

// Per cent of a core the program used over milliseconds: from its Linux
// process under Wine, which gives no CPU times of another process.
double CpuShare(HANDLE process, DWORD milliseconds) {
  if (int pid = benchutil::LinuxProcessWith("wendle.exe")) return benchutil::LinuxCpuShare(pid, milliseconds);
  double start = benchutil::ProcessCpuSeconds(process);
  Sleep(milliseconds);
  return 100 * (benchutil::ProcessCpuSeconds(process) - start) / (milliseconds / 1000.0);
}

// Ten starts at dpi to the main window shown and idle: their median in
// milliseconds, printed with the best and worst; -1 when one failed.
double MedianStart(DWORD dpi) {
  bench::ProgramDpi scale(dpi);
  std::vector<double> starts;
  for (int i = 0; i < 10; ++i) {
    double begin = benchutil::Now();
    bench::Program wendle;
    if (!wendle.Window()) return -1;
    starts.push_back((benchutil::Now() - begin) * 1000);
  }
  std::sort(starts.begin(), starts.end());
  printf("Start to main window shown and idle at %lu DPI, 10 starts: median %.0f ms, best %.0f ms, worst %.0f ms\n",
         static_cast<unsigned long>(dpi), starts[starts.size() / 2], starts.front(), starts.back());
  return starts[starts.size() / 2];
}

}  // namespace

int main() {
  bench::ClearProgramSettings();
  {
    bench::Program warmUp;
    warmUp.Window();
  }  // Wine loads its libraries once

  double at96 = MedianStart(96), at192 = MedianStart(192);
  if (at96 < 0 || at192 < 0) {
    printf("the program did not start\n");
    return 1;
  }
  printf("Start at 192 DPI (200 %%) against 96 DPI: %.0f %% of the time\n", 100 * at192 / at96);

  bench::Program wendle;
  HWND window = wendle.Window();
  Sleep(500);
  printf("CPU while idle (10 s): %.3f %% of a core\n", CpuShare(wendle.Process(), 10000));
  ShowWindow(window, SW_MINIMIZE);
  Sleep(1500);  // past the intro frames
  printf("CPU while minimized with the icon animated (10 s): %.3f %% of a core\n", CpuShare(wendle.Process(), 10000));
  ShowWindow(window, SW_RESTORE);
  bench::ClearProgramSettings();
  return 0;
}
