// Audio files: how long Play Selected takes to the first sound in the sink
// for each compressed format (the device opens the file and builds its
// decoding graph first), beside a WAV; and what finding the device at start
// costs (the probe opens a small file through it).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/playback_host.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "bench_util.h"
#include "model/object_list.h"
#include "model/sound_object_kind.h"
#include "playback/media_control.h"
#include "playback/media_devices.h"
#include "resources/ids.h"
#include "support/support_library.h"

namespace {

std::string SoundPath(const std::string& file) {
  std::string path = std::string("Z:") + WENDLE_TEST_SOUNDS + "/" + file;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// When the sink first grows past `from`, looked at every millisecond by a
// thread of its own while the UI thread plays.
struct SinkWatch {
  size_t from = 0;
  double start = 0;
  std::atomic<double> firstSound{0};
  std::atomic<bool> stop{false};
};

DWORD WINAPI WatchSink(LPVOID parameter) {
  auto* watch = static_cast<SinkWatch*>(parameter);
  const std::string path = bench::SoundSinkPath();
  while (!watch->stop) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow > watch->from) {
      watch->firstSound = benchutil::Now();
      return 0;
    }
    Sleep(1);
  }
  return 0;
}

// Whether the device opens the file here: a build whose width lacks a
// decoder would stop on the failure's message.
bool Opens(const std::string& path) {
  if (!PlayAudioFile(nullptr, path.c_str())) return false;
  StopAllDevices();
  return true;
}

// Milliseconds from Play Selected to the first bytes in the sink, over
// five whole plays.
void MeasureFirstSound(bench::PlaybackHost& host, uint32_t kind, const std::string& path, const char* what) {
  std::vector<double> firsts;
  for (int round = 0; round < 5; ++round) {
    ClearObjectList();
    host.AddFile(kind, path);
    bench::SelectRow(host.list(), 0);
    SinkWatch watch;
    watch.from = bench::SinkSize();
    HANDLE watcher = CreateThread(nullptr, 0, WatchSink, &watch, 0, nullptr);
    watch.start = benchutil::Now();
    SendMessageA(host.window(), WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
    watch.stop = true;
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    if (watch.firstSound > 0) firsts.push_back(1000 * (watch.firstSound - watch.start));
  }
  if (firsts.empty()) {
    printf("%-8s no sound reached the sink\n", what);
    return;
  }
  std::sort(firsts.begin(), firsts.end());
  printf("%-8s first sound after %6.0f ms (median of %zu), %6.0f ms at worst\n", what, firsts[firsts.size() / 2],
         firsts.size(), firsts.back());
}

}  // namespace

int main() {
  if (bench::SoundSinkPath().empty()) {
    printf("no sound device configured (run through scripts/bench.sh)\n");
    return 1;
  }
  // The start waits for the other device types only; this probe runs on a
  // thread of its own.
  double start = benchutil::Now();
  uint32_t caps = ProbeAudioFileDevice();
  double firstProbe = benchutil::Now() - start;
  start = benchutil::Now();
  ProbeAudioFileDevice();
  double laterProbe = benchutil::Now() - start;
  printf("Finding the audio file device (in the background at start): %.0f ms in a new process, %.0f ms again\n",
         1000 * firstProbe, 1000 * laterProbe);
  if (!(caps & AudioFiles)) {
    printf("MCI \"mpegvideo\" opens no sound file here (GStreamer plugins missing): no audio files to time\n");
    return 0;
  }

  bench::PlaybackHost host;
  printf("Play Selected to the first sound in the sink (the device plays in real time):\n");
  const std::string wave = bench::WriteMarkedWave("bench.wav", 1, 1000);
  MeasureFirstSound(host, Wave, wave, "WAV");
  const char* files[] = {"tone660.mp3",   "tone550.wma",  "tone770.flac", "tone880.ogg",
                         "tone1100.opus", "tone1320.m4a", "tone1210.aac"};
  for (const char* file : files) {
    if (Opens(SoundPath(file)))
      MeasureFirstSound(host, AudioFile, SoundPath(file), strchr(file, '.') + 1);
    else
      printf("%-8s does not open here (no decoder for it in this width)\n", strchr(file, '.') + 1);
  }
  return 0;
}
