// Sorting, shuffling and finding in the Object List: sorts are stable both
// ways and undone as one edit, and Find ignores case in every script.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "bench/list_objects.h"
#include "bench/memory_seam.h"
#include "model/list_order.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"

namespace {

using bench::MakeObject;
using bench::NamesOf;

class ListOrderTest : public testing::Test {
 protected:
  bench::MemorySeam memory_;
};

TEST_F(ListOrderTest, SortsAreStableBothWaysAndOneUndoTakesThemBack) {
  ObjectList list;
  // Equal descriptions in another case; the numbers tell the first order.
  list.Insert(-1, MakeObject(Midi, "beta", "1.MID"));
  list.Insert(-1, MakeObject(Wave, "Alpha", "2.WAV"));
  list.Insert(-1, MakeObject(Wave, "BETA", "3.WAV"));
  list.Insert(-1, MakeObject(Pause, "", "0:05 PAUSE"));
  list.Insert(-1, MakeObject(Wave, "alpha", "5.WAV"));
  list.Insert(-1, MakeObject(Midi, "Beta", "6.MID"));
  list.ForgetHistory();
  list.SetModified(false);
  const std::vector<std::string> opened = NamesOf(list);

  ASSERT_TRUE(list.Reorder(SortOrder(list, SortKey::Description, false)));
  // The Pause object's row shows its label.
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"0:05 PAUSE", "2.WAV", "5.WAV", "1.MID", "3.WAV", "6.MID"}));
  ASSERT_TRUE(list.Reorder(SortOrder(list, SortKey::Description, true)));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"1.MID", "3.WAV", "6.MID", "2.WAV", "5.WAV", "0:05 PAUSE"}));
  ASSERT_TRUE(list.Reorder(SortOrder(list, SortKey::Kind, false)));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"3.WAV", "2.WAV", "5.WAV", "1.MID", "6.MID", "0:05 PAUSE"}));
  ASSERT_TRUE(list.Reorder(SortOrder(list, SortKey::FileName, true)));
  EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"6.MID", "5.WAV", "3.WAV", "2.WAV", "1.MID", "0:05 PAUSE"}));
  // A list in order already: nothing to do, nothing recorded.
  EXPECT_FALSE(list.Reorder(SortOrder(list, SortKey::FileName, true)));

  for (int i = 0; i < 4; ++i) ASSERT_TRUE(list.Undo());
  EXPECT_EQ(NamesOf(list), opened);
  EXPECT_FALSE(list.Modified());
}

TEST_F(ListOrderTest, AShuffleIsAnOrderOfEveryObjectOnce) {
  for (int count : {0, 1, 2, 50}) {
    std::vector<uint32_t> order = ShuffleOrder(count, 7);
    std::vector<uint32_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < count; ++i) ASSERT_EQ(sorted[static_cast<size_t>(i)], static_cast<uint32_t>(i));
    EXPECT_EQ(order, ShuffleOrder(count, 7));  // a seed gives its own order
  }
  EXPECT_NE(ShuffleOrder(50, 7), ShuffleOrder(50, 8));
}

TEST_F(ListOrderTest, FindIgnoresCaseInEveryScriptAndGoesRound) {
  ObjectList list;
  list.Insert(-1, MakeObject(Wave, u8"Летняя МЕЛОДИЯ", "A.WAV"));
  list.Insert(-1, MakeObject(Wave, u8"日本の歌", u8"C:\\MUSIC\\東京.WAV"));
  list.Insert(-1, MakeObject(Wave, "", u8"C:\\MUSIC\\ΟΔΥΣΣΕΙΑ.WAV"));
  list.Insert(-1, MakeObject(Wave, u8"мелодия два", "B.WAV"));
  EXPECT_EQ(FindObject(list, u8"мелодия", -1), 0);
  EXPECT_EQ(FindObject(list, u8"мелодия", 0), 3);  // the next one
  EXPECT_EQ(FindObject(list, u8"МЕЛОДИЯ", 3), 0);  // round past the end
  EXPECT_EQ(FindObject(list, u8"東京", -1), 1);    // in the file name
  EXPECT_EQ(FindObject(list, u8"の歌", 1), 1);     // itself, last
  EXPECT_EQ(FindObject(list, u8"οδυσσεια", -1), 2);
  EXPECT_EQ(FindObject(list, "music", 1), 2);
  EXPECT_EQ(FindObject(list, u8"песня", -1), -1);
  EXPECT_EQ(FindObject(list, "", -1), -1);
}

}  // namespace
