#include "playback/play_order.h"

namespace {

// After this many draws that all hit played items the first unplayed item
// is taken, so a list whose items were all played (which a pass never
// leaves while objects are left) cannot hold the worker for ever.
constexpr int kDrawsPerItem = 64;

int FirstUnplayed(const PlayOrderList& list, int count) {
  for (int i = 0; i < count; ++i)
    if (!list.IsPlayed(i)) return i;
  return -1;
}

}  // namespace

int ChooseNextOrderIndex(const PlayOrderList& list, bool sequential, bool exclusive, int32_t objectsLeft,
                         int32_t* lastChosen, PlayOrderGenerator* generator) {
  int count = list.Count();
  if (count <= 0) return -1;
  int index;
  if (sequential) {
    index = *lastChosen < 0 ? 0 : (*lastChosen + 1) % count;
  } else {
    bool anyItem = objectsLeft == 0 || !exclusive || count == 1;
    long long draws = static_cast<long long>(count) * kDrawsPerItem;
    for (;;) {
      index = static_cast<int>(generator->Next() % static_cast<uint32_t>(count));
      if (anyItem || !list.IsPlayed(index)) break;
      if (--draws == 0) {
        int unplayed = FirstUnplayed(list, count);
        if (unplayed >= 0) index = unplayed;
        break;
      }
    }
  }
  *lastChosen = index == count - 1 ? -1 : index;
  return index;
}
