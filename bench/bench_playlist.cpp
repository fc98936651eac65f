// Parsing a playlist of 100,000 entries (or the count given on the command
// line) from memory: the list as M3U8 through the playlist reader, as PLS,
// and the same list as .WDL text through ListFileReader, each the best of
// five runs; writing the M3U8 is timed too. The program's own figure, with
// the Sound Objects and the list, comes from bench_list_file.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"
#include "storage/list_format.h"
#include "storage/playlist_format.h"

namespace {

constexpr char kFolder[] = "C:\\USERS\\PUBLIC\\MUSIC";
constexpr int kRuns = 5;

// Item i of a mixed list, as in bench_list_file: every kind, the files
// under the playlist's folder. Texts live in *description and *fileName.
ListItemRecord MixedItem(int i, std::string* description, std::string* fileName) {
  const uint32_t kinds[] = {1, 2, 4, 8, 16, 32};
  const char* extensions[] = {"WAV", "MID", "", "", "AVI", "MP3"};
  ListItemRecord item;
  item.flags = kinds[i % 6];
  item.repeatCount = static_cast<uint32_t>(i % 3);
  item.postDelay = static_cast<uint32_t>(i % 7);
  char text[160];
  snprintf(text, sizeof text, "Item %d of the evening programme", i);
  *description = text;
  item.hasDescription = i % 2 == 0;
  item.description = *description;
  if (item.flags == 4) {
    item.trackNumber = static_cast<uint8_t>(1 + i % 20);
    return item;
  }
  if (item.flags == 8) {
    snprintf(text, sizeof text, "Pause %d sec.", i % 7);
  } else {
    snprintf(text, sizeof text, "%s\\COLLECTION %03d\\ARTIST NAME - TRACK %05d.%s", kFolder, i % 400, i,
             extensions[i % 6]);
  }
  *fileName = text;
  item.hasFileName = true;
  item.fileName = *fileName;
  return item;
}

// The best of kRuns runs of work, in seconds.
template <typename Work>
double Best(Work work) {
  double best = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    double start = benchutil::Now();
    work();
    double seconds = benchutil::Now() - start;
    if (seconds < best) best = seconds;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? atoi(argv[1]) : 100000;
  if (count <= 0) count = 100000;

  std::string wdl = std::string(kListMagic) + "\n";
  PlaylistWriter m3u8(PlaylistFormat::M3u8, kFolder);
  PlaylistWriter pls(PlaylistFormat::Pls, kFolder);
  std::string description, fileName;
  for (int i = 0; i < count; ++i) {
    ListItemRecord item = MixedItem(i, &description, &fileName);
    AppendListItem(&wdl, item);
    m3u8.Append(item);
    pls.Append(item);
  }
  const std::string& m3u8Text = m3u8.Finish();
  const std::string& plsText = pls.Finish();

  size_t items = 0;
  double wdlSeconds = Best([&] {
    ListFileReader reader(wdl.data(), wdl.size());
    ListItemRecord record;
    items = 0;
    if (reader.ReadMagic())
      while (reader.Next(&record) == ListFileReader::Result::Item) ++items;
  });
  PlaylistRead read;
  double m3u8Seconds = Best([&] { ReadM3u(m3u8Text.data(), m3u8Text.size(), &read); });
  bool m3u8Whole = read.Complete() && read.entries.size() == static_cast<size_t>(count);
  double plsSeconds = Best([&] { ReadPls(plsText.data(), plsText.size(), &read); });
  bool plsWhole = read.Complete() && read.entries.size() == static_cast<size_t>(count);
  double writeSeconds = Best([&] {
    PlaylistWriter writer(PlaylistFormat::M3u8, kFolder);
    for (int i = 0; i < count; ++i) writer.Append(MixedItem(i, &description, &fileName));
    writer.Finish();
  });

  printf("entries:               %d of every kind (best of %d runs, from memory)\n", count, kRuns);
  printf(".WDL (ListFileReader): %.3f s  %.2f us per entry  %.1f MB  %zu items\n", wdlSeconds, wdlSeconds * 1e6 / count,
         wdl.size() / 1e6, items);
  printf("M3U8 (ReadM3u):        %.3f s  %.2f us per entry  %.1f MB  %s  = %.2f x .WDL\n", m3u8Seconds,
         m3u8Seconds * 1e6 / count, m3u8Text.size() / 1e6, m3u8Whole ? "all taken" : "NOT ALL TAKEN",
         m3u8Seconds / wdlSeconds);
  printf("PLS (ReadPls):         %.3f s  %.2f us per entry  %.1f MB  %s  = %.2f x .WDL\n", plsSeconds,
         plsSeconds * 1e6 / count, plsText.size() / 1e6, plsWhole ? "all taken" : "NOT ALL TAKEN",
         plsSeconds / wdlSeconds);
  printf("M3U8 written:          %.3f s  %.2f us per entry\n", writeSeconds, writeSeconds * 1e6 / count);
  return m3u8Whole && plsWhole && items == static_cast<size_t>(count) ? 0 : 1;
}
