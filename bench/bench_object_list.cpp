// Appends 100,000 Sound Objects to the list one at a time, then
// clears the list, and prints the time of each phase and the memory each
// object costs beyond its texts (its own and its row's in the list box).
//
// The list's window is not shown: a shown list box under Wine repaints its
// scroll bar at every insertion (about 4.5 ms each), which measures the
// display rather than the list code.
#include <cstdio>
#include <cstring>

#include "bench/list_host.h"
#include "bench/test_env.h"
#include "bench_util.h"
#include "model/object_list.h"
#include "settings/settings.h"
#include "playback/media_devices.h"

int main() {
  const int kObjects = 100000;
  bench::ListHost host;
  g_mediaCaps = WaveAudio | MidiAudio | AviVideo;

  char path[128];
  size_t textBytes = 0;
  size_t before = benchutil::HeapBytesInUse();
  double start = benchutil::Now();
  for (int i = 0; i < kObjects; ++i) {
    snprintf(path, sizeof path, "C:\\MUSIC\\ALBUM %03d\\TRACK %05d.WAV", i % 500, i);
    textBytes += strlen(path) + 1;
    if (host.objects().Insert(-1, MakeFileObject(Wave, path, 0)) < 0) {
      fprintf(stderr, "insert %d failed\n", i);
      return 1;
    }
  }
  double inserted = benchutil::Now();
  size_t after = benchutil::HeapBytesInUse();
  ClearObjectList();
  double cleared = benchutil::Now();

  double perObject = (static_cast<double>(after) - static_cast<double>(before)) / kObjects;
  printf("objects:            %d\n", kObjects);
  printf("insert (append):    %.3f s  (%.2f us per object)\n", inserted - start, (inserted - start) * 1e6 / kObjects);
  printf("clear:              %.3f s  (%.2f us per object)\n", cleared - inserted,
         (cleared - inserted) * 1e6 / kObjects);
  // The list box keeps each row's text too (the file name here), in wide
  // characters: two bytes for each of these ASCII bytes.
  double text = static_cast<double>(textBytes) / kObjects;
  printf("heap per object:    %.1f bytes, of which text %.1f bytes and its row text %.1f bytes\n", perObject, text,
         2 * text);
  printf("beyond its texts:   %.1f bytes per object\n", perObject - 3 * text);
  printf("list items left:    %d\n", host.Count());

  // For comparison: the platform list box's own cost of appending as many
  // empty items, which every insertion pays.
  double baseStart = benchutil::Now();
  for (int i = 0; i < kObjects; ++i)
    SendMessageA(host.list(), LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(""));
  double baseEnd = benchutil::Now();
  printf("list box alone:     %.3f s  (%.2f us per item)\n", baseEnd - baseStart,
         (baseEnd - baseStart) * 1e6 / kObjects);
  return 0;
}
