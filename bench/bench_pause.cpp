// What pausing and the time played cost: the CPU of the real program while
// a WAV plays with its time played shown once a second, and while it is
// paused (beside the program idle); the cost of one time-played update;
// and the CPU of an MP3 played through MCI "mpegvideo" in this process,
// while it plays with its position read once a second, and while paused.
// Usage: bench_pause.exe [file.mp3]
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/playback_host.h"
#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "bench_util.h"
#include "model/object_list.h"
#include "playback/media_control.h"
#include "resources/ids.h"
#include "shell/list_view.h"
#include "shell/playback_view.h"
#include "playback/play_state.h"

namespace {

constexpr DWORD kWindowMs = 5000;  // each CPU figure is taken over this long

// Per cent of a core that process used over milliseconds, this thread's
// messages handled meanwhile (each second `tick` runs, when given).
double CpuShare(HANDLE process, DWORD milliseconds, void (*tick)() = nullptr) {
  const double start = benchutil::ProcessCpuSeconds(process);
  const ULONGLONG end = GetTickCount64() + milliseconds;
  ULONGLONG nextTick = GetTickCount64() + 1000;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    if (tick && now >= nextTick) {
      tick();
      nextTick += 1000;
    }
    DWORD wait = static_cast<DWORD>(std::min(end, tick ? nextTick : end) - now);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    bench::PumpMessages();
  }
  return 100 * (benchutil::ProcessCpuSeconds(process) - start) / (milliseconds / 1000.0);
}

bool StartsWith(const std::string& text, const char* start) { return text.rfind(start, 0) == 0; }

// The real program plays a two-minute WAV (about half a minute in the test
// sound device, which takes samples faster than real time).
void MeasureProgram() {
  bench::ClearProgramSettings();
  const std::string wave = bench::WriteMarkedWave("bench_pause.wav", 1, 120000);
  bench::WriteFileBytes(bench::TempPath("bench_pause.wdl"), "WDv1.0\nLong\n" + wave + "\n1 0 0 0\n");
  bench::Program wendle("bench_pause.wdl");
  if (!wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; })) {
    printf("the program did not start\n");
    return;
  }
  const int pid = benchutil::LinuxProcessWith("bench_pause.wdl");
  if (!pid) {
    printf("the program's Linux process was not found: its CPU cannot be read\n");
    return;
  }
  Sleep(500);
  printf("wendle.exe CPU (its Linux process, 10 ms ticks), idle (%lu s): %.2f %% of a core\n", kWindowMs / 1000,
         benchutil::LinuxCpuShare(pid, kWindowMs));
  wendle.Key(VK_F2);
  if (!wendle.WaitFor([&] {
        std::string status = wendle.StatusText();
        return StartsWith(status, "Playing ") && status.find(" / ") != std::string::npos;
      })) {
    printf("the time played did not show: %s\n", wendle.StatusText().c_str());
    return;
  }
  const double playing = benchutil::LinuxCpuShare(pid, kWindowMs);
  const bool stillPlaying = StartsWith(wendle.StatusText(), "Playing ");
  printf("wendle.exe CPU, a WAV plays with its time played shown (%lu s): %.2f %% of a core%s\n", kWindowMs / 1000,
         playing, stillPlaying ? "" : " (the sound ended early: figure not representative)");
  printf("  status bar at the end: %s\n", wendle.StatusText().c_str());
  wendle.Key('P', true);
  if (!wendle.WaitFor([&] { return StartsWith(wendle.StatusText(), "Paused: "); })) {
    printf("the pause did not show\n");
    return;
  }
  printf("wendle.exe CPU, the WAV paused (%lu s): %.2f %% of a core\n", kWindowMs / 1000,
         benchutil::LinuxCpuShare(pid, kWindowMs));
  wendle.Key(VK_F3);
  wendle.WaitFor([&] { return !StartsWith(wendle.StatusText(), "Paused: "); });
  bench::ClearProgramSettings();
}

double ThreadCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// The time played in this process: the CPU of the UI thread, whose timer
// reads the position and sets the status line once a second, while a WAV
// plays; and one tick alone, in a row.
void MeasureTick() {
  bench::PlaybackHost host;
  host.AddMarkedWave(2, 60000);
  g_playback.playing = 1;
  PlayFacts facts;
  TakePlayFacts(MainView().list(), ObjectAt(0), &facts);
  if (PlayObject(facts, 0) != Wave) {
    printf("the WAV did not start\n");
    g_playback.playing = 0;
    return;
  }
  const double threadStart = ThreadCpuSeconds();
  CpuShare(GetCurrentProcess(), kWindowMs);
  const double used = std::max(0.0, ThreadCpuSeconds() - threadStart);
  printf(
      "UI thread CPU (10 ms ticks) while a WAV plays, its time played shown once a second (%lu s): %.1f ms, "
      "%.3f %% of a core\n",
      kWindowMs / 1000, used * 1000, 100 * used / (kWindowMs / 1000.0));
  printf("  status bar: %s\n", host.StatusText().c_str());
  constexpr int kTicks = 500;
  const double start = benchutil::Now();
  for (int i = 0; i < kTicks; ++i) OnPlayTimeTick(host.window());
  const double perTick = (benchutil::Now() - start) / kTicks;
  printf("One tick of the time played with no new second to show (the position read), %d in a row: %.2f us\n", kTicks,
         perTick * 1e6);
  StopAllDevices();
  g_playback.playing = 0;
}

void ReadMp3Position() {
  char position[32] = "";
  mciSendStringA("status benchmp3 position", position, sizeof position, nullptr);
}

// An MP3 through the system's media device, in this process.
void MeasureMp3(const char* path) {
  const std::string open = std::string("open \"") + path + "\" type mpegvideo alias benchmp3";
  if (MCIERROR error = mciSendStringA(open.c_str(), nullptr, 0, nullptr)) {
    char reason[256] = "";
    mciGetErrorStringA(error, reason, sizeof reason);
    printf("the MP3 did not open (MCI error %lu: %s)\n", static_cast<unsigned long>(error), reason);
    return;
  }
  mciSendStringA("play benchmp3", nullptr, 0, nullptr);
  Sleep(1000);  // past the decoder's start
  char mode[32] = "";
  const double playing = CpuShare(GetCurrentProcess(), kWindowMs, ReadMp3Position);
  mciSendStringA("status benchmp3 mode", mode, sizeof mode, nullptr);
  printf(
      "MP3 through MCI \"mpegvideo\", this process's CPU while it plays, position read once a second "
      "(%lu s): %.3f %% of a core (mode at the end: %s)\n",
      kWindowMs / 1000, playing, mode);
  mciSendStringA("pause benchmp3", nullptr, 0, nullptr);
  Sleep(500);
  const double paused = CpuShare(GetCurrentProcess(), kWindowMs);
  mciSendStringA("status benchmp3 mode", mode, sizeof mode, nullptr);
  printf("MP3 paused (%lu s): %.3f %% of a core (mode: %s)\n", kWindowMs / 1000, paused, mode);
  mciSendStringA("close benchmp3", nullptr, 0, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  if (bench::SoundSinkPath().empty()) {
    printf("no sound device configured (run through scripts/bench.sh)\n");
    return 1;
  }
  MeasureProgram();
  MeasureTick();
  if (argc > 1)
    MeasureMp3(argv[1]);
  else
    printf("no MP3 given: its figures are left out\n");
  return 0;
}
