// Playing costs: the CPU of the waits while a Pause object counts down and
// while a WAV plays through Play Selected, how soon a cleared flag ends a
// wait on another thread and Stop/Skip ends a Play Selected, the time from
// an object's start request to its device's start in Play All, and the CPU
// of the program's own threads during a run.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/list_host.h"
#include "bench/playback_host.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "shell/list_view.h"
#include "bench_util.h"
#include "model/object_list.h"
#include "playback/media_control.h"
#include "playback/playback_events.h"
#include "playback/play_all.h"
#include "resources/ids.h"
#include "support/globals.h"
#include "playback/play_state.h"

namespace {

double FileTimeSeconds(const FILETIME& time) {
  return ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

double ThreadCpuSeconds(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(thread, &created, &exited, &kernel, &user);
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

struct Spread {
  double median, worst;
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values[values.size() / 2], values.back()};
}

HANDLE g_uiThread = nullptr;

constexpr int kRunObjects = 21;
constexpr int kRunObjectMs = 2000;

// CPU of the whole process and of the UI thread (whose wait it is) while
// Play Selected plays the selected object.
void MeasurePlaySelected(const char* what) {
  double wallStart = benchutil::Now();
  double processStart = ProcessCpuSeconds();
  double threadStart = ThreadCpuSeconds(g_uiThread);
  SendMessageA(g_globals.mainWindow, WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
  double wall = benchutil::Now() - wallStart;
  double process = ProcessCpuSeconds() - processStart;
  double thread = ThreadCpuSeconds(g_uiThread) - threadStart;
  printf("%-34s %6.2f s wall; UI thread (the wait) %5.2f %% of a core; whole process %5.2f %%\n", what, wall,
         100 * thread / wall, 100 * process / wall);
}

// A thread that waits for `playing` to clear, as the Play All worker does.
DWORD WINAPI WaitingThread(LPVOID parameter) {
  auto* ended = static_cast<double*>(parameter);
  WaitWhilePlaying(0);
  *ended = benchutil::Now();
  return 0;
}

void MeasureWakeUp() {
  std::vector<double> delays;
  for (int i = 0; i < 100; ++i) {
    g_playback.playing = 1;
    double ended = 0;
    HANDLE thread = CreateThread(nullptr, 0, WaitingThread, &ended, 0, nullptr);
    Sleep(5);  // the thread is in its wait
    double cleared = benchutil::Now();
    g_playback.playing = 0;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    delays.push_back((ended - cleared) * 1000);
  }
  Spread spread = SpreadOf(delays);
  printf("Cleared flag -> end of a wait on another thread, 100 times: median %.3f ms, worst %.3f ms\n", spread.median,
         spread.worst);
}

double g_stopAt = 0;
void CALLBACK StopFromTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  g_stopAt = benchutil::Now();
  SendMessageA(window, WM_COMMAND, IDM_SOUND_STOP_SKIP, 0);
}

void MeasureStopSkip(HWND window) {
  std::vector<double> total;
  for (int i = 0; i < 100; ++i) {
    MainView().SetSelection(0);
    SetTimer(window, 1, 30, StopFromTimer);
    SendMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
    total.push_back((benchutil::Now() - g_stopAt) * 1000);
  }
  Spread spread = SpreadOf(total);
  printf(
      "Stop/Skip -> end of the Play Selected wait (device stop and close included), 100 times: "
      "median %.1f ms, worst %.1f ms\n",
      spread.median, spread.worst);
}

// Play All: the time from each object's start request to its device's
// start (the device thread opens and starts it).
WNDPROC g_hostProc = nullptr;
std::vector<double> g_requestAt, g_startedAt;

LRESULT CALLBACK Timestamping(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PLAYBACKEVENT && wParam == PlaybackStarted) g_requestAt.push_back(benchutil::Now());
  if (message == WM_PLAYBACKEVENT && wParam == PlaybackTimed) g_startedAt.push_back(benchutil::Now());
  return CallWindowProcA(g_hostProc, window, message, wParam, lParam);
}

void MeasurePlayAll(bench::PlaybackHost& host) {
  ClearObjectList();
  for (int i = 0; i < kRunObjects; ++i) host.AddMarkedWave(i % 8, kRunObjectMs);
  g_hostProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(host.window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Timestamping)));
  double wallStart = benchutil::Now();
  double uiStart = ThreadCpuSeconds(g_uiThread);
  double workerStart = ThreadCpuSeconds(host.worker());
  SendMessageA(host.window(), WM_COMMAND, IDM_SOUND_PLAY_ALL, 0);
  bench::PumpUntil([] { return g_playback.playAllRunning != 0; });
  host.WaitForRunEnd(60000);
  double wall = benchutil::Now() - wallStart;
  double ui = ThreadCpuSeconds(g_uiThread) - uiStart;
  double worker = ThreadCpuSeconds(host.worker()) - workerStart;
  SetWindowLongPtrA(host.window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_hostProc));

  std::vector<double> starts;
  for (size_t i = 0; i < g_requestAt.size() && i < g_startedAt.size(); ++i)
    starts.push_back((g_startedAt[i] - g_requestAt[i]) * 1000);
  if (starts.empty()) {
    printf("Play All: no starts measured\n");
    return;
  }
  Spread spread = SpreadOf(starts);
  printf(
      "Play All, start request -> device started (on the device thread), %zu objects: median %.2f ms, worst %.2f ms\n",
      starts.size(), spread.median, spread.worst);
  printf(
      "Play All of %d objects of %d ms (%.2f s wall): per object, worker %.2f ms and UI thread %.2f ms of CPU "
      "(the devices open and close on a thread of their own);\n  that is %.2f %% and %.2f %% of a core at the "
      "objects' own length\n",
      kRunObjects, kRunObjectMs, wall, 1000 * worker / kRunObjects, 1000 * ui / kRunObjects,
      100 * worker / (kRunObjects * kRunObjectMs / 1000.0), 100 * ui / (kRunObjects * kRunObjectMs / 1000.0));
}

}  // namespace

int main() {
  if (bench::SoundSinkPath().empty()) {
    printf("no sound device configured (run through scripts/bench.sh)\n");
    return 1;
  }
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_uiThread, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  bench::PlaybackHost host;

  host.AddPause(10);
  bench::SelectRow(host.list(), 0);
  MeasurePlaySelected("10 s Pause object (Play Selected):");

  ClearObjectList();
  host.AddMarkedWave(1, 10000);
  bench::SelectRow(host.list(), 0);
  MeasurePlaySelected("10 s WAV (Play Selected):");
  printf("  (the test sound device takes samples about four times faster than real time)\n");

  MeasureWakeUp();
  ClearObjectList();
  host.AddMarkedWave(2, 20000);
  MeasureStopSkip(host.window());
  MeasurePlayAll(host);
  CloseHandle(g_uiThread);
  return 0;
}
