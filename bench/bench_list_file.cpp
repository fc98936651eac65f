// Writes list files of mixed kinds (100,000, 300,000 and 1,000,000 items,
// or the counts given on the command line), opens each into the list with
// LoadListFile and saves it with SaveListFile, printing each time, the time
// per item (which stays flat when the cost grows with the list), the list
// box's own share of the open and the cost of the status-bar progress text.
#include <cstdio>
#include <cstdlib>
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
               i % 400, i,
               item.flags == 1   ? "WAV"
               : item.flags == 2 ? "MID"
                                 : "AVI");
      item.hasFileName = true;
      item.fileName = fileName;
    }
    AppendListItem(&bytes, item);
  }
  return bytes;
}

// Opens, repaints and saves one list of items; false when the saved file
// differs from the one opened.
bool Measure(bench::ListHost& host, int items) {
  std::string in = bench::TempPath("bench-in.wdl");
  std::string out = bench::TempPath("bench-out.wdl");
  std::string bytes = MixedListFile(items);
  bench::WriteFileBytes(in, bytes);
  DeleteFileA(out.c_str());

  double start = benchutil::Now();
  LoadListFile(host.list(), in.c_str(), ListLoadOpen);
  double opened = benchutil::Now();
  bench::PumpMessages();  // the one repaint
  double painted = benchutil::Now();
  SaveListFile(host.list(), out.c_str());
  double saved = benchutil::Now();

  bool same = bench::ReadFileBytes(out) == bytes;
  printf("items:               %d (%.1f MB)\n", host.Count(), static_cast<double>(bytes.size()) / 1e6);
  printf("open (LoadListFile): %.3f s (%.2f us per item), then repaint %.3f s\n", opened - start,
         (opened - start) * 1e6 / items, painted - opened);
  printf("save (SaveListFile): %.3f s (%.2f us per item)\n", saved - painted, (saved - painted) * 1e6 / items);
  printf("saved file equals the file opened: %s\n", same ? "yes" : "NO");
  double clearStart = benchutil::Now();
  ClearObjectList();
  printf("clear:               %.3f s\n", benchutil::Now() - clearStart);

  // The platform's own share of the open: the list box appending as many
  // empty items, told their count ahead, with redrawing off.
  HWND list = host.list();
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  double boxStart = benchutil::Now();
  SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(items), 0);
  for (int i = 0; i < items; ++i) SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), 0);
  double boxEnd = benchutil::Now();
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  printf("list box alone:      %.3f s (%.2f us per item)\n\n", boxEnd - boxStart, (boxEnd - boxStart) * 1e6 / items);
  DeleteFileA(in.c_str());
  DeleteFileA(out.c_str());
  return same;
}

}  // namespace

int main(int argc, char** argv) {
  bench::ListHost host;
  ShowWindow(host.window(), SW_SHOWNOACTIVATE);  // as the main window is
  bench::PumpMessages();
  bool same = true;
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) same = Measure(host, atoi(argv[i])) && same;
  } else {
    for (int items : {100000, 300000, 1000000}) same = Measure(host, items) && same;
  }

  const int kUpdates = 100000;
  char text[64];
  double statusStart = benchutil::Now();
  for (int i = 0; i < kUpdates; ++i) {
    snprintf(text, sizeof text, "%d items read", i);
    StatusBarSetText(host.statusBar(), text);
  }
  double statusEnd = benchutil::Now();
  bench::PumpMessages();
  printf("status bar text:     %.2f us per update (%.3f s for %d)\n", (statusEnd - statusStart) * 1e6 / kUpdates,
         statusEnd - statusStart, kUpdates);
  RemoveDirectoryA(bench::TempDir().c_str());
  return same ? 0 : 1;
}
