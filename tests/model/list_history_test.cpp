// Undo and Redo of the Object List: random edits taken back to the list as
// opened, batches as one step, the saved state, and a history that stays
// within its memory and frees what it drops.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench/list_objects.h"
#include "bench/memory_seam.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"

namespace {

using bench::MakeWave;
using bench::Names;
using bench::NamesOf;

class ListHistoryTest : public testing::Test {
 protected:
  bench::MemorySeam memory_;
};

// One random edit of every kind the commands make, some as batches.
void RandomEdit(ObjectList& list, std::mt19937& random, int* serial) {
  auto pick = [&](int bound) { return static_cast<int>(random() % static_cast<unsigned>(bound)); };
  const int count = list.Count();
  switch (pick(7)) {
    case 0:
      list.Insert(pick(count + 1), MakeWave("N" + std::to_string((*serial)++)));
      break;
    case 1: {
      SoundObjectHandle batch[3];
      for (SoundObjectHandle& handle : batch) handle = MakeWave("M" + std::to_string((*serial)++));
      list.InsertMany(pick(count + 1), batch, 3);
      break;
    }
    case 2:
      if (count) list.RemoveRange(pick(count), 1);
      break;
    case 3:
      if (count) list.Replace(pick(count), MakeWave("R" + std::to_string((*serial)++)));
      break;
    case 4:
      if (count > 1) list.Move(pick(count), pick(count));
      break;
    case 5: {
      std::vector<uint32_t> order(static_cast<size_t>(count));
      for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
      std::shuffle(order.begin(), order.end(), random);
      list.Reorder(order);
      break;
    }
    default:
      // Several changes as one edit, as Remove of a selection or a paste.
      list.BeginBatch();
      if (count > 2) list.RemoveRange(pick(count - 2), 2);
      list.Insert(-1, MakeWave("B" + std::to_string((*serial)++)));
      if (list.Count() > 1) list.Move(0, list.Count() - 1);
      list.EndBatch();
      break;
  }
}

TEST_F(ListHistoryTest, RandomEditsUndoneToTheStartLeaveTheListAsOpened) {
  {
    ObjectList list;
    for (int i = 0; i < 12; ++i) list.Insert(-1, MakeWave("O" + std::to_string(i)));
    list.ForgetHistory();
    list.SetModified(false);  // as opened
    const Names opened = NamesOf(list);
    EXPECT_FALSE(list.CanUndo());

    // The expected list after each undoable step, and the steps undone.
    std::vector<Names> done = {opened};
    std::vector<Names> undone;
    std::mt19937 random(20261208);
    int serial = 0;
    for (int step = 0; step < 400; ++step) {
      const unsigned roll = random() % 10;
      if (roll < 2 && list.CanUndo()) {
        ASSERT_TRUE(list.Undo());
        undone.push_back(done.back());
        done.pop_back();
      } else if (roll < 3 && list.CanRedo()) {
        ASSERT_TRUE(list.Redo());
        done.push_back(undone.back());
        undone.pop_back();
      } else {
        const Names before = NamesOf(list);
        RandomEdit(list, random, &serial);
        if (NamesOf(list) != before) {
          ASSERT_FALSE(list.CanRedo()) << "an edit drops what could be redone";
          done.push_back(NamesOf(list));
          undone.clear();
        }
      }
      ASSERT_EQ(NamesOf(list), done.back()) << "step " << step;
      ASSERT_EQ(list.Modified(), done.size() != 1) << "step " << step;
    }
    while (list.CanUndo()) ASSERT_TRUE(list.Undo());
    EXPECT_EQ(NamesOf(list), opened);
    EXPECT_FALSE(list.Modified());  // back to the state as opened
    while (list.CanRedo()) ASSERT_TRUE(list.Redo());
    EXPECT_EQ(NamesOf(list), done.back());
  }
  EXPECT_EQ(memory_.LiveBlocks(), 0);  // the list and its history freed all they held
}

TEST_F(ListHistoryTest, ABatchIsOneStepAndSavingMovesTheUnmodifiedState) {
  ObjectList list;
  list.BeginBatch();
  for (const char* name : {"A", "B", "C", "D"}) list.Insert(-1, MakeWave(name));
  list.EndBatch();
  EXPECT_EQ(list.HistorySteps(), 1u);
  list.SetModified(false);  // saved
  list.BeginBatch();
  list.RemoveRange(1, 2);
  list.Move(0, 1);
  list.EndBatch();
  EXPECT_EQ(NamesOf(list), (Names{"D", "A"}));
  EXPECT_TRUE(list.Modified());
  ASSERT_TRUE(list.Undo());
  EXPECT_EQ(NamesOf(list), (Names{"A", "B", "C", "D"}));
  EXPECT_FALSE(list.Modified());
  ASSERT_TRUE(list.Undo());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.Modified());  // before the save
  ASSERT_TRUE(list.Redo());
  EXPECT_FALSE(list.Modified());

  // A step that cannot be redone any more takes the saved state with it.
  ASSERT_TRUE(list.Undo());
  list.Insert(-1, MakeWave("E"));
  EXPECT_FALSE(list.CanRedo());
  ASSERT_TRUE(list.Undo());
  EXPECT_TRUE(list.Modified());

  // A list marked modified without an edit (read in part) is no saved state.
  list.Insert(-1, MakeWave("F"));
  list.SetModified(false);
  list.SetModified(true);
  list.Insert(-1, MakeWave("G"));
  ASSERT_TRUE(list.Undo());
  EXPECT_TRUE(list.Modified());

  list.Clear();
  EXPECT_FALSE(list.CanUndo());
  EXPECT_FALSE(list.CanRedo());
}

// What Undo and Redo tell the view to select: the objects a step put back,
// moved or changed, wherever the step's other records left them; the row
// a removal left; nothing of its own for a new order of the whole list.
TEST_F(ListHistoryTest, UndoAndRedoNameTheRowsOfWhatTheyChanged) {
  ObjectList list;
  for (const char* name : {"A", "B", "C", "D", "E"}) list.Insert(-1, MakeWave(name));
  std::vector<int> rows;

  list.BeginBatch();  // B and C out, then E to the top: A D / E A D
  list.RemoveRange(1, 2);
  list.Move(2, 0);
  list.EndBatch();
  ASSERT_EQ(NamesOf(list), (Names{"E", "A", "D"}));
  ASSERT_TRUE(list.Undo(&rows));
  EXPECT_EQ(NamesOf(list), (Names{"A", "B", "C", "D", "E"}));
  EXPECT_EQ(rows, (std::vector<int>{1, 2, 4}));  // B and C back, E moved back
  ASSERT_TRUE(list.Redo(&rows));
  EXPECT_EQ(rows, (std::vector<int>{0}));  // E moved; B and C gone

  list.Remove(2);  // the last row: E A
  ASSERT_TRUE(list.Undo(&rows));
  EXPECT_EQ(rows, (std::vector<int>{2}));
  ASSERT_TRUE(list.Redo(&rows));
  EXPECT_EQ(rows, (std::vector<int>{1}));  // where D was, the last row now

  list.Replace(0, MakeWave("F"));
  ASSERT_TRUE(list.Undo(&rows));
  EXPECT_EQ(NamesOf(list), (Names{"E", "A"}));
  EXPECT_EQ(rows, (std::vector<int>{0}));

  list.Reorder({1, 0});
  ASSERT_TRUE(list.Undo(&rows));
  EXPECT_TRUE(rows.empty());
  ASSERT_TRUE(list.Undo(&rows));  // the Replace was undone before: D's removal
  EXPECT_EQ(NamesOf(list), (Names{"E", "A", "D"}));
  EXPECT_EQ(rows, (std::vector<int>{2}));
}

TEST_F(ListHistoryTest, TheHistoryStaysWithinItsBudgetAndFreesWhatItDrops) {
  {
    ObjectList list;
    SoundObjectHandle many[2000];
    for (int i = 0; i < 2000; ++i) many[i] = MakeWave("W" + std::to_string(i));
    list.InsertMany(0, many, 2000);
    std::vector<uint32_t> reversed(2000);
    for (uint32_t i = 0; i < 2000; ++i) reversed[i] = 1999 - i;
    // 600 orders of 8,000 bytes each are more than the least budget of 4 MB.
    for (int i = 0; i < 600; ++i) ASSERT_TRUE(list.Reorder(reversed));
    EXPECT_LE(list.HistoryBytes(), size_t{4} << 20);
    EXPECT_LT(list.HistorySteps(), 600u);
    EXPECT_TRUE(list.CanUndo());

    // Removing everything keeps it for Undo, however big; dropping the step
    // frees it.
    const int live = memory_.LiveBlocks();
    ASSERT_TRUE(list.RemoveRange(0, 2000));
    EXPECT_EQ(memory_.LiveBlocks(), live);
    ASSERT_TRUE(list.Undo());
    EXPECT_EQ(list.Count(), 2000);
    ASSERT_TRUE(list.Redo());
    ASSERT_TRUE(list.Undo());
    list.Insert(-1, MakeWave("X"));  // the removal can no longer be redone: nothing to free
    EXPECT_EQ(memory_.LiveBlocks(), live + 2);
    ASSERT_TRUE(list.RemoveRange(0, 2001));
    list.ForgetHistory();
    EXPECT_EQ(memory_.LiveBlocks(), 0);
  }
  EXPECT_EQ(memory_.LiveBlocks(), 0);
}

}  // namespace
