// Sorting and Undo on a list of 100,000 Sound Objects: the time of a sort,
// of its Undo and Redo, on the document alone and with the main window's
// list box showing it; then what the undo history of 100 edits of mixed
// kinds costs beside what the list's objects cost.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/list_host.h"
#include "bench_util.h"
#include "model/list_order.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "shell/list_view.h"

namespace {

constexpr int kObjects = 100000;

SoundObjectHandle MakeObject(int i, std::mt19937& random) {
  char description[64], path[96];
  snprintf(description, sizeof description, "Song %u of album %03d", static_cast<unsigned>(random() % 100000), i % 500);
  snprintf(path, sizeof path, "C:\\MUSIC\\ALBUM %03d\\TRACK %05d.WAV", i % 500, i);
  SoundObject values = {};
  values.flags = Wave;
  std::string_view descriptionText(description), pathText(path);
  SoundObjectHandle handle = AllocSoundObject();
  return handle && StoreSoundObject(handle, values, &descriptionText, &pathText) ? handle : nullptr;
}

// The process's private memory: the heaps of the objects and of the
// history's own vectors alike.
size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return counters.PagefileUsage;
}

void Fill(ObjectList& list, std::mt19937& random) {
  std::vector<SoundObjectHandle> handles(kObjects);
  for (int i = 0; i < kObjects; ++i) handles[static_cast<size_t>(i)] = MakeObject(i, random);
  list.InsertMany(-1, handles.data(), kObjects);
  list.ForgetHistory();
}

void TimeSort(const char* label, ObjectList& list) {
  double start = benchutil::Now();
  std::vector<uint32_t> order = SortOrder(list, SortKey::Description, false);
  double ordered = benchutil::Now();
  list.Reorder(order);
  double sorted = benchutil::Now();
  list.Undo();
  double undone = benchutil::Now();
  list.Redo();
  double redone = benchutil::Now();
  printf("%s\n", label);
  printf("  sort by description: %.3f s  (order %.3f s, reorder %.3f s)\n", sorted - start, ordered - start,
         sorted - ordered);
  printf("  undo of the sort:    %.3f s\n", undone - sorted);
  printf("  redo of the sort:    %.3f s\n", redone - undone);
}

}  // namespace

int main() {
  std::mt19937 random(1208);
  {
    ObjectList list;
    Fill(list, random);
    TimeSort("100,000 objects, the document alone:", list);
  }
  {
    bench::ListHost host;  // hidden: the list box's own drawing is not measured
    Fill(host.objects(), random);
    TimeSort("100,000 objects, shown in the list box:", host.objects());
    // A sort of the whole list selected puts every row back in the
    // selection.
    std::vector<int> rows(kObjects);
    for (int i = 0; i < kObjects; ++i) rows[static_cast<size_t>(i)] = i;
    double start = benchutil::Now();
    MainView().SelectRows(rows);
    double selected = benchutil::Now();
    printf("  all rows selected:   %.3f s  (%d of %d)\n", selected - start,
           static_cast<int>(MainView().SelectedRows().size()), kObjects);
  }

  // 100 edits of each kind in turn: a sort or shuffle, a move of 50
  // objects, a removal of 100 in one step, a modify (replace) of one.
  size_t heapBefore = PrivateBytes();
  ObjectList list;
  Fill(list, random);
  size_t heapList = PrivateBytes();
  for (int edit = 0; edit < 100; ++edit) {
    switch (edit % 4) {
      case 0:
        list.Reorder(edit % 8 ? ShuffleOrder(list.Count(), static_cast<uint32_t>(edit))
                              : SortOrder(list, SortKey::FileName, edit % 16 != 0));
        break;
      case 1:
        list.BeginBatch();
        for (int i = 0; i < 50; ++i) list.Move(static_cast<int>(random() % list.Count()), i);
        list.EndBatch();
        break;
      case 2:
        list.RemoveRange(static_cast<int>(random() % (list.Count() - 100)), 100);
        break;
      default:
        list.Replace(static_cast<int>(random() % list.Count()), MakeObject(edit, random));
        break;
    }
  }
  size_t heapEdited = PrivateBytes();
  const double listBytes = static_cast<double>(heapList - heapBefore);
  printf("undo history after 100 edits of a 100,000-object list:\n");
  printf("  the list's own memory:          %.1f MB (objects %.1f MB by their blocks)\n", listBytes / 1048576.0,
         static_cast<double>(list.ObjectBytes()) / 1048576.0);
  printf("  the history (its own count):    %.1f MB in %u steps kept\n",
         static_cast<double>(list.HistoryBytes()) / 1048576.0, static_cast<unsigned>(list.HistorySteps()));
  printf("  memory grown by the edits:      %.1f MB = %.2f of the list's own\n",
         static_cast<double>(heapEdited - heapList) / 1048576.0,
         static_cast<double>(heapEdited - heapList) / listBytes);
  double start = benchutil::Now();
  int undone = 0;
  while (list.Undo()) ++undone;
  printf("  undo of all %d steps kept:      %.3f s\n", undone, benchutil::Now() - start);
  return 0;
}
