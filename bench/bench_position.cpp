// The position bar: what the real program's CPU costs while a WAV plays
// with the bar shown, beside the same with the bar (and its time) hidden;
// and how long a move of the bar takes to the first sound from the new
// place, for a WAV (its mark at that place) and for an audio file (its
// second tone).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "bench_util.h"
#include "resources/ids.h"
#include "tones.h"

namespace {

constexpr DWORD kWindowMs = 5000;  // each CPU figure is taken over this long
constexpr int kMoves = 5;          // moves timed of each kind

bool StartsWith(const std::string& text, const char* start) { return text.rfind(start, 0) == 0; }

// The bar let go at positionMs, as a drag ends.
void DragTo(bench::Program& wendle, int positionMs) {
  HWND bar = wendle.Child(IDC_POSITION_BAR);
  SendMessageA(wendle.Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0), reinterpret_cast<LPARAM>(bar));
  SendMessageA(bar, TBM_SETPOS, TRUE, positionMs);
  SendMessageA(wendle.Window(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
}

// Seconds from now until found() holds for the sink's bytes after from
// (looked at every millisecond); -1 after ten seconds.
template <typename Found>
double SecondsUntil(size_t from, Found found) {
  const double start = benchutil::Now();
  while (benchutil::Now() - start < 10) {
    if (bench::SinkSize() > from && found(bench::SinkBytes(from))) return benchutil::Now() - start;
    Sleep(1);
  }
  return -1;
}

void MeasureCpu() {
  bench::ClearProgramSettings();
  const std::string wave = bench::WriteMarkedWave("bench_bar.wav", 1, 240000);
  bench::WriteFileBytes(bench::TempPath("bench_bar.wdl"), "WDv1.0\nLong\n" + wave + "\n1 0 0 0\n");
  bench::Program wendle("bench_bar.wdl");
  if (!wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; })) {
    printf("the program did not start\n");
    return;
  }
  const int pid = benchutil::LinuxProcessWith("bench_bar.wdl");
  if (!pid) {
    printf("the program's Linux process was not found: its CPU cannot be read\n");
    return;
  }
  wendle.Key(VK_F2);
  if (!wendle.WaitFor([&] { return IsWindowEnabled(wendle.Child(IDC_POSITION_BAR)) != FALSE; })) {
    printf("the bar did not come: %s\n", wendle.StatusText().c_str());
    return;
  }
  const double shown = benchutil::LinuxCpuShare(pid, kWindowMs);
  ShowWindow(wendle.Child(IDC_POSITION_BAR), SW_HIDE);
  ShowWindow(wendle.Child(IDC_POSITION_TIME), SW_HIDE);
  const double hidden = benchutil::LinuxCpuShare(pid, kWindowMs);
  const bool stillPlaying = StartsWith(wendle.StatusText(), "Playing ");
  printf(
      "wendle.exe CPU while a WAV plays, %lu s each: position bar shown %.2f %%, hidden %.2f %% of a core "
      "(difference %.2f points)%s\n",
      kWindowMs / 1000, shown, hidden, shown - hidden,
      stillPlaying ? "" : " (the sound ended early: figures not representative)");
  wendle.Key(VK_F3);
}

void MeasureWaveMoves() {
  const std::string wave =
      bench::WriteMarkedWaveAt("bench_move.wav", 60000, {{0, 1}, {40000, 2}, {20000, 3}, {50000, 4}});
  bench::WriteFileBytes(bench::TempPath("bench_move.wdl"), "WDv1.0\nMarked\n" + wave + "\n1 0 0 0\n");
  bench::Program wendle("bench_move.wdl");
  if (!wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; })) return;
  double total = 0;
  int timed = 0;
  for (int i = 0; i < kMoves; ++i) {
    size_t from = bench::SinkSize();
    wendle.Key(VK_F2);
    if (!wendle.WaitFor([&] { return IsWindowEnabled(wendle.Child(IDC_POSITION_BAR)) != FALSE; })) break;
    from = bench::SinkSize();
    DragTo(wendle, 40000);
    const double waited = SecondsUntil(from, [](const std::string& bytes) {
      for (int mark : bench::MarksIn(bytes))
        if (mark == 2) return true;
      return false;
    });
    if (waited >= 0) {
      total += waited;
      ++timed;
    }
    wendle.Key(VK_F3);
    wendle.WaitFor([&] { return !IsWindowEnabled(wendle.Child(IDC_POSITION_BAR)); });
  }
  if (timed)
    printf("WAV: from a move of the position bar to the first sound from there: %.1f ms (mean of %d)\n",
           1000 * total / timed, timed);
  else
    printf("WAV: no move was heard\n");
}

void MeasureAudioFileMoves() {
  // Three seconds of 440 Hz, then three of 880 Hz, as a WAV under an audio
  // file's name: the audio file device reads what it holds.
  const std::string path = bench::TempPath("bench_move.mp3");
  if (!tones::WriteTwoToneWave(path, 440, 880, 3000)) return;
  bench::WriteFileBytes(bench::TempPath("bench_audio_move.wdl"), "WDv1.0\n*\n" + path + "\n32 0 0 0\n");
  bench::Program wendle("bench_audio_move.wdl");
  if (!wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; })) return;
  double total = 0;
  int timed = 0;
  const std::vector<int> both{440, 880};
  for (int i = 0; i < kMoves; ++i) {
    size_t from = bench::SinkSize();
    wendle.Key(VK_F2);
    if (tones::WaitForTones(from, both, 1, 10000) != std::vector<int>{440}) {
      printf("the audio file did not play here\n");
      return;
    }
    from = bench::SinkSize();
    DragTo(wendle, 4000);
    const double waited = SecondsUntil(from, [&](const std::string& bytes) {
      for (int tone : tones::TonesIn(bytes, both))
        if (tone == 880) return true;
      return false;
    });
    if (waited >= 0) {
      total += waited;
      ++timed;
    }
    wendle.WaitFor([&] { return !IsWindowEnabled(wendle.Child(IDC_POSITION_BAR)); });
  }
  if (timed)
    printf("Audio file: from a move of the position bar to the first sound from there: %.1f ms (mean of %d)\n",
           1000 * total / timed, timed);
}

}  // namespace

int main() {
  if (bench::SoundSinkPath().empty()) {
    printf("no sound sink: nothing measured\n");
    return 0;
  }
  MeasureCpu();
  MeasureWaveMoves();
  MeasureAudioFileMoves();
  bench::ClearProgramSettings();
  return 0;
}
