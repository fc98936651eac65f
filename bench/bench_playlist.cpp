// Parsing a playlist of 100,000 entries (or the count given on the command
// line) from memory: the list as M3U8 through the playlist reader, as PLS,
// and the same list as .WDL text through ListFileReader, each the best of
// five runs; writing the M3U8 is timed too.
//
// Then the program's own open of the same list from the disk, as File >
// Open does it into the document (LoadListFile into the Object List: the
// reading, the texts, the look whether each file is there, the Sound
// Objects): once as a .WDL file and once as an M3U8 playlist, in turns,
// the best of three each. The entries name files that are there (a few
// hundred, in folders below the playlist's), so the playlist keeps them
// all.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"
#include "model/object_list.h"
#include "storage/list_file.h"
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

constexpr int kOpenRuns = 3;
constexpr int kDiskFolders = 20;
constexpr int kFilesPerFolder = 20;

bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(file);
  return ok;
}

// Item i of a mixed list of files on the disk under folder (and CD tracks
// and pauses), each file named by its full path.
ListItemRecord DiskItem(const std::string& folder, int i, std::string* description, std::string* fileName) {
  ListItemRecord item = MixedItem(i, description, fileName);
  if (item.flags == 4 || item.flags == 8) return item;
  const char* extensions[] = {"WAV", "MID", "", "", "AVI", "MP3"};
  char text[MAX_PATH];
  int file = (i / 6) % kFilesPerFolder;
  snprintf(text, sizeof text, "%s\\COLLECTION %02d\\ARTIST NAME - TRACK %02d.%s", folder.c_str(),
           (i / 6 / kFilesPerFolder) % kDiskFolders, file, extensions[i % 6]);
  *fileName = text;
  item.fileName = *fileName;
  return item;
}

// Writes the files the disk list names.
bool WriteDiskFiles(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  for (int f = 0; f < kDiskFolders; ++f) {
    char sub[MAX_PATH];
    snprintf(sub, sizeof sub, "%s\\COLLECTION %02d", folder.c_str(), f);
    CreateDirectoryA(sub, nullptr);
    for (int n = 0; n < kFilesPerFolder; ++n)
      for (const char* extension : {"WAV", "MID", "AVI", "MP3"}) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\ARTIST NAME - TRACK %02d.%s", sub, n, extension);
        if (!WriteBytes(path, "RIFF")) return false;
      }
  }
  return true;
}

// The open of both files into the document, in turns; prints the figures.
bool MeasureOpens(int count) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + "wendle-bench-playlist";
  if (!WriteDiskFiles(folder)) {
    printf("the files could not be written in %s\n", folder.c_str());
    return false;
  }
  std::string wdl = std::string(kListMagic) + "\n";
  PlaylistWriter writer(PlaylistFormat::M3u8, folder);
  std::string description, fileName;
  for (int i = 0; i < count; ++i) {
    ListItemRecord item = DiskItem(folder, i, &description, &fileName);
    AppendListItem(&wdl, item);
    writer.Append(item);
  }
  const std::string wdlPath = folder + "\\OPEN.WDL", m3u8Path = folder + "\\OPEN.M3U8";
  if (!WriteBytes(wdlPath, wdl) || !WriteBytes(m3u8Path, writer.Finish())) return false;

  double wdlBest = 1e9, m3u8Best = 1e9;
  bool whole = true;
  for (int run = 0; run < kOpenRuns; ++run) {
    for (const std::string* path : {&wdlPath, &m3u8Path}) {
      ObjectList list;
      double start = benchutil::Now();
      ListFileResult result = LoadListFile(list, path->c_str(), ListLoadOpen);
      double seconds = benchutil::Now() - start;
      whole = whole && result.ok() && result.refusedCount == 0 && list.Count() == count;
      double& best = path == &wdlPath ? wdlBest : m3u8Best;
      if (seconds < best) best = seconds;
    }
  }
  printf("open into the list (LoadListFile, best of %d, files looked for on the disk):\n", kOpenRuns);
  printf("  .WDL:                %.3f s  %.2f us per entry\n", wdlBest, wdlBest * 1e6 / count);
  printf("  M3U8:                %.3f s  %.2f us per entry  %s  = %.2f x .WDL (bound 1.5)\n", m3u8Best,
         m3u8Best * 1e6 / count, whole ? "all taken" : "NOT ALL TAKEN", m3u8Best / wdlBest);
  return whole;
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
  bool opened = MeasureOpens(count);
  return m3u8Whole && plsWhole && items == static_cast<size_t>(count) && opened ? 0 : 1;
}
