// The Object List as a document, without any window: its objects and
// their order, who owns and frees them, what its listeners learn, its file
// and modified mark, the folders of names without one, and a reader on
// another thread that nothing is freed under.
#include <gtest/gtest.h>

#include <atomic>
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
using bench::NameOf;
using bench::Names;
using bench::NamesOf;

// Every change a listener hears, as a short text.
class Recorder : public ObjectListListener {
 public:
  void OnListChange(const ListChange& change) override {
    const char* kinds[] = {"insert", "remove", "change", "move", "reset", "begin", "end", "file"};
    heard.push_back(std::string(kinds[static_cast<int>(change.kind)]) + " " + std::to_string(change.index) + " " +
                    std::to_string(change.count) + " " + std::to_string(change.to));
  }
  std::vector<std::string> heard;
};

class ObjectListTest : public testing::Test {
 protected:
  bench::MemorySeam memory_;
};

TEST_F(ObjectListTest, ObjectsGoWhereTheyAreAskedAndTheListenersHearIt) {
  ObjectList list;
  Recorder recorder;
  list.Listen(&recorder);
  EXPECT_EQ(list.Insert(-1, MakeWave("B")), 0);
  EXPECT_EQ(list.Insert(0, MakeWave("A")), 0);
  EXPECT_EQ(list.Insert(99, MakeWave("D")), 2);  // past the end: appended
  EXPECT_EQ(list.Insert(2, MakeWave("C")), 2);
  EXPECT_EQ(NamesOf(list), (Names{"A", "B", "C", "D"}));
  EXPECT_TRUE(list.Modified());
  EXPECT_EQ(recorder.heard,
            (std::vector<std::string>{"insert 0 1 0", "file 0 0 0", "insert 0 1 0", "insert 2 1 0", "insert 2 1 0"}));

  recorder.heard.clear();
  list.StopListening(&recorder);
  list.Remove(0);
  EXPECT_TRUE(recorder.heard.empty());
}

TEST_F(ObjectListTest, ReplaceRemoveAndClearFreeTheObjectsTheyDrop) {
  {
    ObjectList list;
    for (const char* name : {"A", "B", "C"}) list.Insert(-1, MakeWave(name));
    const int three = memory_.LiveBlocks();
    SoundObjectHandle old = list.At(1);
    ASSERT_TRUE(list.Replace(1, MakeWave("NEW")));
    EXPECT_EQ(NamesOf(list), (Names{"A", "NEW", "C"}));
    EXPECT_NE(list.At(1), old);
    EXPECT_EQ(memory_.LiveBlocks(), three + 2);  // the old one is kept for Undo
    EXPECT_FALSE(list.Replace(7, nullptr));
    ASSERT_TRUE(list.Remove(0));
    EXPECT_FALSE(list.Remove(5));
    EXPECT_EQ(NamesOf(list), (Names{"NEW", "C"}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(memory_.LiveBlocks(), 0);
    for (int i = 0; i < 20; ++i) list.Insert(-1, MakeWave("X"));
  }
  EXPECT_EQ(memory_.LiveBlocks(), 0);  // the list frees what it holds when it goes
}

TEST_F(ObjectListTest, AMoveKeepsTheSameRecordAndAMoveToNowhereChangesNothing) {
  ObjectList list;
  for (const char* name : {"A", "B", "C"}) list.Insert(-1, MakeWave(name));
  list.SetModified(false);
  SoundObjectHandle moved = list.At(0);
  ASSERT_TRUE(list.Move(0, 2));
  EXPECT_EQ(NamesOf(list), (Names{"B", "C", "A"}));
  EXPECT_EQ(list.At(2), moved);
  EXPECT_EQ(list.IndexOf(moved), 2);
  EXPECT_TRUE(list.Modified());
  list.SetModified(false);
  EXPECT_FALSE(list.Move(2, 2));
  EXPECT_FALSE(list.Move(0, 3));
  EXPECT_FALSE(list.Modified());
}

TEST_F(ObjectListTest, ABatchGoesInWholeAtItsPlace) {
  ObjectList list;
  list.Insert(-1, MakeWave("A"));
  SoundObjectHandle batch[2] = {MakeWave("B"), MakeWave("C")};
  EXPECT_EQ(list.InsertMany(1, batch, 2), 2);
  EXPECT_EQ(list.InsertMany(0, nullptr, 0), 0);
  EXPECT_EQ(NamesOf(list), (Names{"A", "B", "C"}));
  list.Clear();
  EXPECT_EQ(memory_.LiveBlocks(), 0);
}

TEST_F(ObjectListTest, NamesWithoutAFolderAreFoundInTheirOwnFolder) {
  ObjectList list;
  EXPECT_EQ(list.FolderNumber("C:\\MUSIC"), 1);
  EXPECT_EQ(list.FolderNumber("c:\\music"), 1);  // the same folder, whatever its case
  EXPECT_EQ(list.FolderOfFile("D:\\LISTS\\ROCK.WDL"), 2);
  EXPECT_EQ(list.Folder(2), "D:\\LISTS");
  EXPECT_EQ(list.Folder(0), "");

  SoundObjectHandle handle = MakeWave("SUB\\..\\SONG.WAV");
  {
    LockedBlock<SoundObject> record(handle);
    record->baseFolder = 2;
    char path[512];
    ASSERT_TRUE(list.ResolvePath(*record, path, sizeof path));
    EXPECT_STREQ(path, "D:\\LISTS\\SONG.WAV");
    char small[8];
    EXPECT_FALSE(list.ResolvePath(*record, small, sizeof small));
    EXPECT_STREQ(small, "");
  }
  FreeSoundObject(handle);

  // A name typed now is relative to the list's file, or, for a list
  // without one, to the current folder.
  list.SetFile("E:\\PARTY\\MIX.WDL", true);
  char path[512];
  ASSERT_TRUE(list.ResolveTypedPath("A.WAV", path, sizeof path));
  EXPECT_STREQ(path, "E:\\PARTY\\A.WAV");
  ASSERT_TRUE(list.ResolveTypedPath("F:\\B.WAV", path, sizeof path));
  EXPECT_STREQ(path, "F:\\B.WAV");
  EXPECT_EQ(list.FileName(), "E:\\PARTY\\MIX.WDL");
  EXPECT_TRUE(list.FileOwned());
}

TEST_F(ObjectListTest, TheFileNameIsKeptUpperCased) {
  ObjectList list;
  Recorder recorder;
  list.Listen(&recorder);
  list.SetFile("c:\\lists\\rock.wdl", false);
  EXPECT_EQ(list.FileName(), "C:\\LISTS\\ROCK.WDL");
  EXPECT_FALSE(list.FileOwned());
  list.SetModified(true);
  list.SetModified(true);  // no change, nothing said
  EXPECT_EQ(recorder.heard, (std::vector<std::string>{"file 0 0 0", "file 0 0 0"}));
}

// A thread that reads under the list's lock: a removal waits for it, so
// the object it reads is never freed under it.
struct Reader {
  const ObjectList* list;
  std::atomic<bool> holding{false};
  std::string read;
};

DWORD WINAPI ReadSlowly(LPVOID parameter) {
  auto* reader = static_cast<Reader*>(parameter);
  ObjectList::Reading reading(*reader->list);
  reader->holding = true;
  SoundObjectHandle handle = reader->list->At(0);
  Sleep(300);
  reader->read = NameOf(handle);
  return 0;
}

TEST_F(ObjectListTest, NothingIsFreedUnderAReaderOfAnotherThread) {
  ObjectList list;
  list.Insert(-1, MakeWave("READ ME"));
  Reader reader{&list, {false}, {}};
  HANDLE thread = CreateThread(nullptr, 0, ReadSlowly, &reader, 0, nullptr);
  ASSERT_TRUE(thread);
  while (!reader.holding) Sleep(1);
  const ULONGLONG start = GetTickCount64();
  list.Remove(0);
  EXPECT_GE(GetTickCount64() - start, 200u) << "the object was removed while it was read";
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  EXPECT_EQ(reader.read, "READ ME");
  list.ForgetHistory();  // Undo kept the removed object until now
  EXPECT_EQ(memory_.LiveBlocks(), 0);
}

TEST_F(ObjectListTest, AdditionsRaiseTheGrewEvent) {
  ObjectList list;
  EXPECT_EQ(WaitForSingleObject(list.GrewEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  list.Insert(-1, MakeWave("A"));
  EXPECT_EQ(WaitForSingleObject(list.GrewEvent(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
  list.Remove(0);
  EXPECT_EQ(WaitForSingleObject(list.GrewEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
