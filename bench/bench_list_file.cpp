// Writes a 100,000-item list file of mixed kinds, opens it into the list
// with LoadListFile and saves it with SaveListFile, printing each time and
// the cost of the status-bar progress text.
#include <cstdio>
#include <string>

#include "bench/list_host.h"
#include "bench/test_env.h"
#include "bench_util.h"
#include "model/object_list.h"
#include "state/main_window_state.h"
#include "storage/list_file.h"
#include "storage/list_format.h"
#include "support/control_library.h"

namespace {

std::string MixedListFile(int items) {
  std::string bytes = std::string(kListMagic) + "\n";
  const uint32_t kinds[] = {1, 2, 4, 8, 16};
  char description[64], fileName[160];
  for (int i = 0; i < items; ++i) {
    ListItemRecord item;
    item.flags = kinds[i % 5];
    item.repeatCount = static_cast<uint32_t>(i % 3);
    item.postDelay = static_cast<uint32_t>(i % 7);
    snprintf(description, sizeof description, "Item %d of the evening programme", i);
    item.hasDescription = i % 2 == 0;
    item.description = description;
    if (item.flags == 4) {
      item.trackNumber = static_cast<uint8_t>(1 + i % 20);
    } else if (item.flags == 8) {
      snprintf(fileName, sizeof fileName, "Pause %d sec.", i % 7);
      item.hasFileName = true;
      item.fileName = fileName;
    } else {
      snprintf(fileName, sizeof fileName, "C:\\USERS\\PUBLIC\\MUSIC\\COLLECTION %03d\\ARTIST NAME - TRACK %05d.%s",
               i % 400, i, item.flags == 1 ? "WAV" : item.flags == 2 ? "MID" : "AVI");
      item.hasFileName = true;
      item.fileName = fileName;
    }
    AppendListItem(&bytes, item);
  }
  return bytes;
}

}  // namespace

int main() {
  const int kItems = 100000;
  bench::ListHost host;
  ShowWindow(host.window(), SW_SHOWNOACTIVATE);  // as the main window is
  bench::PumpMessages();
  std::string in = bench::TempPath("bench-in.wdl");
  std::string out = bench::TempPath("bench-out.wdl");
  std::string bytes = MixedListFile(kItems);
  bench::WriteFileBytes(in, bytes);
  DeleteFileA(out.c_str());

  double start = benchutil::Now();
  LoadListFile(host.list(), in.c_str(), ListLoadOpen);
  double opened = benchutil::Now();
  bench::PumpMessages();  // the one repaint
  double painted = benchutil::Now();
  SaveListFile(host.list(), out.c_str());
  double saved = benchutil::Now();

  char text[64];
  double statusStart = benchutil::Now();
  for (int i = 0; i < kItems; ++i) {
    snprintf(text, sizeof text, "%d items read", i);
    StatusBarSetText(host.statusBar(), text);
  }
  double statusEnd = benchutil::Now();
  bench::PumpMessages();

  bool same = bench::ReadFileBytes(out) == bytes;
  printf("items:              %d (%.1f MB)\n", host.Count(), static_cast<double>(bytes.size()) / 1e6);
  printf("open (LoadListFile): %.3f s, then repaint %.3f s\n", opened - start, painted - opened);
  printf("save (SaveListFile): %.3f s\n", saved - painted);
  printf("status bar text:    %.2f us per update (%.3f s for %d)\n", (statusEnd - statusStart) * 1e6 / kItems,
         statusEnd - statusStart, kItems);
  printf("saved file equals the file opened: %s\n", same ? "yes" : "NO");
  ClearObjectList();
  DeleteFileA(in.c_str());
  DeleteFileA(out.c_str());
  return same ? 0 : 1;
}
