// Writes list files of mixed kinds (100,000, 300,000 and 1,000,000 items,
// or the counts given on the command line) and, for each, in one run:
// - the bare list box: the main window's list box class and style, redraw
//   off and told the count ahead as an open does, taking as many items (one
//   insertion each, the item data in it), measured just before and just
//   after the open;
// - the open (LoadListFile into the emptied list) and its ratio to the
//   bare list box (the mean of the two), the working set after it and the
//   process's peak so far, then the repaint, save and clear;
// - a second open into a list that no view shows, which parts the open's
//   time between the document (with the file's reading) and the view;
// - File > Open of the same file in the real program, with the longest
//   time its window took to answer meanwhile and its working set;
// - the bare list box once more, without the storage hint.
// The files are written and compared a part at a time, so the benchmark's
// own memory adds little to the peak.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/program.h"
#include "bench/test_env.h"
#include "bench_util.h"
#include "model/object_list.h"
#include "resources/ids.h"
#include "shell/control_superclasses.h"
#include "storage/list_file.h"
#include "storage/list_format.h"
#include "support/control_library.h"

namespace {

// Appends item i of the mixed list to bytes.
void AppendMixedItem(std::string* bytes, int i) {
  const uint32_t kinds[] = {1, 2, 4, 8, 16};
  char description[64], fileName[160];
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
  AppendListItem(bytes, item);
}

// Writes a list file of items mixed items, a part at a time, so the
// benchmark's own memory stays small beside the list's; its size in bytes
// (0 when it cannot be written).
size_t WriteMixedListFile(const std::string& path, int items) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  std::string part = std::string(kListMagic) + "\n";
  size_t size = 0;
  bool ok = true;
  for (int i = 0; i <= items && ok; ++i) {
    if (i < items) AppendMixedItem(&part, i);
    if (part.size() >= (1 << 20) || i == items) {
      DWORD written = 0;
      ok = WriteFile(file, part.data(), static_cast<DWORD>(part.size()), &written, nullptr) && written == part.size();
      size += part.size();
      part.clear();
    }
  }
  CloseHandle(file);
  return ok ? size : 0;
}

// Whether two files hold the same bytes, read a part at a time.
bool SameFileBytes(const std::string& a, const std::string& b) {
  HANDLE files[2] = {CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
                     CreateFileA(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)};
  bool same = files[0] != INVALID_HANDLE_VALUE && files[1] != INVALID_HANDLE_VALUE;
  std::vector<char> parts[2] = {std::vector<char>(1 << 20), std::vector<char>(1 << 20)};
  while (same) {
    DWORD read[2] = {0, 0};
    for (int i = 0; i < 2 && same; ++i)
      same = ReadFile(files[i], parts[i].data(), static_cast<DWORD>(parts[i].size()), &read[i], nullptr) != 0;
    same = same && read[0] == read[1] && memcmp(parts[0].data(), parts[1].data(), read[0]) == 0;
    if (read[0] == 0) break;
  }
  for (HANDLE file : files)
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return same;
}

// The count LoadListFile gives LB_INITSTORAGE for a file of items: a line
// feed ends the magic line and each of an item's three lines, and the list
// box is told the line feeds over three, plus one.
unsigned StorageHint(int items) { return static_cast<unsigned>((3 * static_cast<size_t>(items) + 1) / 3 + 1); }

// The list box alone: items insertions into the empty list, as the open
// makes them (redraw off, the same storage hint; none when 0). The items
// are removed untimed, without freeing anything.
double BareListBox(HWND list, int items, unsigned storageHint) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  double start = benchutil::Now();
  if (storageHint) SendMessageA(list, LB_INITSTORAGE, storageHint, 0);
  // Each item with a row text of a list's usual length and its data, as
  // the program's list box holds them.
  const char text[] = "Item 10000 of the evening programme";
  for (int i = 0; i < items; ++i) {
    LRESULT index = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i + 1));
  }
  double end = benchutil::Now();
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);  // the rows hold no objects
  bench::PumpMessages();
  return end - start;
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

struct Figures {
  int items = 0;
  double bare = 0;
  double open = 0;
};

// File > Open of the list file in the real program, as a person does it:
// from Enter in the file dialog to the list's name in the title. Meanwhile
// the list box is asked its count over and over: the longest wait for an
// answer shows whether the window kept answering. False when the program
// did not open the whole file.
bool OpenInProgram(const std::string& path, int items) {
  bench::Program wendle;
  HWND window = wendle.Window();
  if (!window) return false;
  wendle.Key('F', false, true);
  wendle.Key('O');
  HWND dialog = wendle.WaitForDialog();
  if (!dialog || !wendle.TypeInto(bench::FileNameField(dialog), path)) return false;
  HWND list = wendle.Child(IDC_OBJECT_LIST);
  std::string name = path.substr(path.find_last_of('\\') + 1);
  CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
  const std::string title = "Wendle - " + name;

  wendle.KeyIn(dialog, VK_RETURN);
  double start = benchutil::Now();
  double longestWait = 0, end = start;
  DWORD_PTR count = 0;
  while (end - start < 600) {
    double asked = benchutil::Now();
    if (!SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 60000, &count)) count = 0;
    end = benchutil::Now();
    if (end - asked > longestWait) longestWait = end - asked;
    if (static_cast<int>(count) == items && wendle.Title() == title) break;
    Sleep(10);
  }
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(wendle.Process(), &memory, sizeof memory);
  printf("File > Open in the program: %.3f s, longest wait for the list box's answer %.0f ms,\n", end - start,
         longestWait * 1000);
  printf("  working set after it %.0f MiB, the program's peak %.0f MiB\n", MiB(memory.WorkingSetSize),
         MiB(memory.PeakWorkingSetSize));
  return static_cast<int>(count) == items;
}

// Measures one list of items; false when the open or the save lost
// anything.
bool Measure(bench::ListHost& host, int items, Figures* figures) {
  std::string in = bench::TempPath("bench-in.wdl");
  std::string out = bench::TempPath("bench-out.wdl");
  size_t size = WriteMixedListFile(in, items);
  DeleteFileA(out.c_str());
  HWND list = host.list();
  unsigned hint = StorageHint(items);

  double bareBefore = BareListBox(list, items, hint);
  double start = benchutil::Now();
  LoadListFile(host.objects(), in.c_str(), ListLoadOpen);
  double opened = benchutil::Now();
  double open = opened - start;
  int count = host.Count();
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  bench::PumpMessages();  // the one repaint
  double painted = benchutil::Now();
  SaveListFile(host.objects(), out.c_str());
  double saved = benchutil::Now();
  bool same = size > 0 && count == items && SameFileBytes(in, out);
  ClearObjectList();
  double cleared = benchutil::Now();
  bench::PumpMessages();
  double bareAfter = BareListBox(list, items, hint);
  double bare = (bareBefore + bareAfter) / 2;

  printf("items:                %d (%.1f MB)\n", items, static_cast<double>(size) / 1e6);
  printf("bare list box:        %.3f s before the open, %.3f s after (%.2f us per item)\n", bareBefore, bareAfter,
         bare * 1e6 / items);
  printf("open (LoadListFile):  %.3f s (%.2f us per item) = %.2f x the bare list box\n", open, open * 1e6 / items,
         open / bare);
  printf("repaint %.3f s, save %.3f s (%.2f us per item), clear %.3f s\n", painted - opened, saved - painted,
         (saved - painted) * 1e6 / items, cleared - saved);
  printf("saved file equals the file opened: %s\n", same ? "yes" : "NO");
  printf("working set after the open: %.0f MiB, peak so far %.0f MiB\n", MiB(memory.WorkingSetSize),
         MiB(memory.PeakWorkingSetSize));

  // Again into a list that no view shows: the document's and storage's
  // own part of the open; the rest is the list box's.
  {
    ObjectList alone;
    start = benchutil::Now();
    LoadListFile(alone, in.c_str(), ListLoadOpen);
    double document = benchutil::Now() - start;
    printf("open into a list no view shows: %.3f s (%.2f us per item); the view's rows take the other %.0f %%\n",
           document, document * 1e6 / items, open > 0 ? 100 * (open - document) / open : 0.0);
    same = same && alone.Count() == items;
  }
  LoadListFile(host.objects(), in.c_str(), ListLoadOpen);
  same = same && host.Count() == items;
  ClearObjectList();
  bench::PumpMessages();
  same = OpenInProgram(in, items) && same;
  // Whether the storage hint spares the list box anything.
  double unhinted = BareListBox(list, items, 0);
  printf("bare list box without the storage hint: %.3f s\n\n", unhinted);

  DeleteFileA(in.c_str());
  DeleteFileA(out.c_str());
  *figures = {items, bare, open};
  return same;
}

}  // namespace

int main(int argc, char** argv) {
  RegisterListBoxSuperclass(GetModuleHandleA(nullptr));
  bench::ListHost host("ovSListBox");            // the main window's list box class
  ShowWindow(host.window(), SW_SHOWNOACTIVATE);  // as the main window is
  bench::PumpMessages();
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(atoi(argv[i]));
  if (sizes.empty()) sizes = {100000, 300000, 1000000};

  bool same = true;
  std::vector<Figures> all;
  for (int items : sizes) {
    Figures figures;
    same = Measure(host, items, &figures) && same;
    all.push_back(figures);
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
  printf("status bar text:      %.2f us per update (%.3f s for %d)\n\n", (statusEnd - statusStart) * 1e6 / kUpdates,
         statusEnd - statusStart, kUpdates);

  printf("summary: items, open s, bare list box s, open / bare\n");
  for (const Figures& f : all) printf("summary: %d %.3f %.3f %.2f\n", f.items, f.open, f.bare, f.open / f.bare);
  RemoveDirectoryA(bench::TempDir().c_str());
  return same ? 0 : 1;
}
