// List files and the Object List, without any window: reading every kind
// and writing it back byte for byte, where the objects of Open, Insert and
// Append go, what a refused, damaged or too-big file leaves, the names of
// files without a folder when the list is written elsewhere, and what a
// save does to the files around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/memory_seam.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "storage/list_file.h"

namespace {

const std::string kEveryKind =
    "WDv1.0\n"
    "Morning\nC:\\SOUNDS\\BIRDS.WAV\n1 2 3 0\n"
    "*\nC:\\MIDI\\FUGUE.MID\n2 0 0 0\n"
    "Overture\n*\n4 1 10 7\n"
    "*\nPause 5 sec.\n8 0 5 0\n"
    "\nC:\\VIDEO\\CLIP.AVI\n16 0 0 0\n"  // a present, empty description
    "played\nC:\\A.WAV\n32769 0 0 0\n"   // PlayedMark kept
    "odd\n\n65537 4294967295 7 255\n";   // flags that name no kind, kept whole

// Counts the progress steps a read or write reports.
class CountingProgress : public ListProgress {
 public:
  void Step(unsigned done, unsigned total) override {
    ++steps;
    last = done;
    lastTotal = total;
  }
  int steps = 0;
  unsigned last = 0;
  unsigned lastTotal = 0;
};

class ListFileTest : public testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = bench::TempPath(name);
    EXPECT_TRUE(bench::WriteFileBytes(path, bytes));
    return path;
  }
  ListFileResult Load(const std::string& bytes, int mode = ListLoadOpen, int insertAt = -1) {
    path_ = Write("in.wdl", bytes);
    return LoadListFile(list_, path_.c_str(), mode, insertAt);
  }
  std::string SavedBytes() {
    std::string path = bench::TempPath("out.wdl");
    DeleteFileA(path.c_str());
    EXPECT_TRUE(SaveListFile(list_, path.c_str()).ok());
    return bench::ReadFileBytes(path);
  }
  std::string Description(int index) {
    LockedBlock<SoundObject> record(list_.At(index));
    char text[600] = "<none>";
    if (record && record->description) CopyTextBlock(record->description, text, sizeof text);
    return text;
  }
  std::string Upper(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    return path;
  }

  ObjectList list_;
  std::string path_;
};

TEST_F(ListFileTest, EveryKindReadsAndWritesBackByteForByte) {
  CountingProgress progress;
  path_ = Write("in.wdl", kEveryKind);
  ListFileResult result = LoadListFile(list_, path_.c_str(), ListLoadOpen, -1, &progress);
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.objects, 7u);
  EXPECT_GE(progress.steps, 1);
  EXPECT_EQ(progress.last, 7u);
  ASSERT_EQ(list_.Count(), 7);
  EXPECT_EQ(SavedBytes(), kEveryKind);
  LockedBlock<SoundObject> track(list_.At(2));
  EXPECT_EQ(track->trackNumber, 7);
  EXPECT_EQ(track->fileName, nullptr);
  EXPECT_EQ(Description(4), "");
}

// An audio file is three lines as a WAV object's, with kind 32; bit 5
// beside another kind, as files written before may hold it, leaves that
// kind as it was. A CR LF file, a text of 511 bytes and a track number
// wider than a byte read back as they always did.
TEST_F(ListFileTest, AudioFilesCrLfFilesAndLongTextsReadBack) {
  const std::string text =
      "WDv1.0\n"
      "Song\nC:\\MUSIC\\SONG.MP3\n32 2 3 0\n"
      "*\nD:\\OGG\\B.OGG\n32800 0 0 0\n"
      "old\nC:\\A.WAV\n33 0 0 0\n";
  ASSERT_TRUE(Load(text).ok());
  EXPECT_EQ(SavedBytes(), text);
  EXPECT_EQ(ObjectKind(LockedBlock<SoundObject>(list_.At(0))->flags), static_cast<uint32_t>(AudioFile));
  EXPECT_EQ(ObjectKind(LockedBlock<SoundObject>(list_.At(2))->flags), static_cast<uint32_t>(Wave));

  std::string longText(511, 'L');
  ASSERT_TRUE(Load("WDv1.0\r\n" + longText + "\r\n*\r\n4 0 0 300\r\nnext\r\n*\r\n4 0 0 2\r\n").ok());
  EXPECT_EQ(Description(0), longText);
  EXPECT_EQ(SavedBytes(), "WDv1.0\n" + longText + "\n*\n4 0 0 44\nnext\n*\n4 0 0 2\n");
}

// A list of names in any script reads and writes back byte for byte; a
// list from earlier versions in code page 1252 reads with its accents and
// is written back as UTF-8.
TEST_F(ListFileTest, Utf8ListsReadBackExactlyAndLegacyLinesAreConverted) {
  const std::string utf8 =
      "WDv1.0\n"
      "Ωδή · песня\nC:\\МУЗЫКА\\МЕЛОДИЯ.WAV\n1 0 0 0\n"
      "*\nC:\\音楽\\旋律🎶.WAV\n1 0 0 0\n";
  ASSERT_TRUE(Load(utf8).ok());
  EXPECT_EQ(SavedBytes(), utf8);
  ASSERT_TRUE(Load("WDv1.0\nCaf\xE9 cr\xE8me\nC:\\CH\xC2TEAU.WAV\n1 0 0 0\nMorning\n*\n4 0 0 2\n").ok());
  EXPECT_EQ(Description(0), "Café crème");
  EXPECT_EQ(SavedBytes(), "WDv1.0\nCafé crème\nC:\\CHÂTEAU.WAV\n1 0 0 0\nMorning\n*\n4 0 0 2\n");
  EXPECT_FALSE(list_.Modified());
}

// A legacy line that grows past what an object holds as UTF-8 is cut: the
// objects are named, and the list is no copy of its file any more.
TEST_F(ListFileTest, TextsCutOnTheWayInAreNamedAndTheListCountsAsChanged) {
  const std::string accents(300, '\xE9');  // 300 bytes in 1252, 600 as UTF-8
  ListFileResult result = Load("WDv1.0\nfine\n*\n8 0 0 0\n" + accents + "\n*\n8 0 0 0\nok\n*\n8 0 0 0\n");
  ASSERT_TRUE(result.ok());
  EXPECT_EQ(result.cutObjects, std::vector<int>{1});
  EXPECT_EQ(Description(1).size(), 510u);  // 255 letters, cut between two of them
  EXPECT_TRUE(list_.Modified());
  EXPECT_EQ(list_.FileName(), Upper(path_));  // it is still the list of that file
}

TEST_F(ListFileTest, OpenReplacesTheListAndNamesIt) {
  Load(kEveryKind);
  list_.SetModified(true);
  ASSERT_TRUE(Load("WDv1.0\none\n*\n8 0 1 0\n").ok());
  EXPECT_EQ(list_.Count(), 1);
  EXPECT_EQ(list_.FileName(), Upper(path_));
  EXPECT_TRUE(list_.FileOwned());
  EXPECT_FALSE(list_.Modified());
}

TEST_F(ListFileTest, InsertAndAppendPlaceTheFileAndNameOnlyAnUnnamedList) {
  ASSERT_TRUE(Load("WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\n", ListLoadAppend).ok());
  EXPECT_EQ(list_.FileName(), Upper(path_));
  EXPECT_FALSE(list_.FileOwned());  // Save asks before it replaces that file
  EXPECT_TRUE(list_.Modified());
  const std::string name = list_.FileName();
  std::string other = Write("other.wdl", "WDv1.0\nX\n*\n8 0 0 0\nY\n*\n8 0 0 0\n");
  ASSERT_TRUE(LoadListFile(list_, other.c_str(), ListLoadInsert, 1).ok());
  ASSERT_TRUE(LoadListFile(list_, other.c_str(), ListLoadInsert, -1).ok());  // nothing selected: the end
  std::vector<std::string> descriptions;
  for (int i = 0; i < list_.Count(); ++i) descriptions.push_back(Description(i));
  EXPECT_EQ(descriptions, (std::vector<std::string>{"A", "X", "Y", "B", "X", "Y"}));
  EXPECT_EQ(list_.FileName(), name);  // a named list keeps its name
}

TEST_F(ListFileTest, RefusedFilesLeaveEverythingAsItWas) {
  Load("WDv1.0\nkeep\n*\n8 0 0 0\n");
  const std::string name = list_.FileName();
  list_.SetModified(true);
  for (const char* bytes : {"WDv1.1\nA\n*\n8 0 0 0\n", "wdv1.0\nA\n*\n8 0 0 0\n", ""})
    EXPECT_EQ(Load(bytes).status, ListFileResult::NotAList);
  ListFileResult missing = LoadListFile(list_, bench::TempPath("missing.wdl").c_str(), ListLoadOpen);
  EXPECT_EQ(missing.status, ListFileResult::CannotOpen);
  EXPECT_EQ(missing.systemError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(list_.Count(), 1);
  EXPECT_EQ(Description(0), "keep");
  EXPECT_EQ(list_.FileName(), name);
  EXPECT_TRUE(list_.Modified());
}

// A damaged file keeps the objects before the damage and says where it
// begins; the list takes no name from it, so no Save can cut the file down
// to that part.
TEST_F(ListFileTest, DamagedFilesKeepTheObjectsBeforeTheDamage) {
  const std::string good = "WDv1.0\nA\n*\n8 0 0 0\n";
  const struct {
    std::string damage;
    unsigned line;
  } cases[] = {{"B\n*\n", 6},
               {"B\n*\n8 0 x 0\nC\n*\n8 0 0 0\n", 7},
               {"B\n*\n8 0 99999999999 0\n", 7},
               {std::string(1 << 20, '#'), 5},
               {std::string("B\0C\n*\n8 0", 9), 7}};
  for (const auto& c : cases) {
    ListFileResult result = Load(good + c.damage);
    EXPECT_EQ(result.status, ListFileResult::Damaged);
    EXPECT_EQ(result.line, c.line) << c.damage.substr(0, 20);
    EXPECT_EQ(list_.Count(), 1);
    EXPECT_EQ(Description(0), "A");
    EXPECT_EQ(list_.FileName(), "");
    EXPECT_TRUE(list_.Modified());
  }
  EXPECT_TRUE(Load(good + "\n\n  \r\n").ok());  // trailing blank lines are no object, and no damage
  EXPECT_FALSE(list_.Modified());
}

// A file of count Pause objects described prefix0, prefix1, ...
std::string Numbered(const std::string& prefix, int count) {
  std::string bytes = "WDv1.0\n";
  for (int i = 0; i < count; ++i) bytes += prefix + std::to_string(i) + "\n*\n8 0 " + std::to_string(i % 60) + " 0\n";
  return bytes;
}

// Memory that runs out deep in a long file: the objects before stay, the
// list does not pass for the file, the file is unchanged, and no object is
// left unowned.
TEST_F(ListFileTest, MemoryThatRunsOutDeepInAFileKeepsEveryObjectBeforeIt) {
  bench::MemorySeam memory;
  Load("WDv1.0\nold\n*\n8 0 0 0\n");
  // Each object takes two blocks: its record, then its description.
  memory.FailAllocation(2 * 600 + 2);
  const std::string bytes = Numbered("a", 700);
  ListFileResult result = Load(bytes);
  EXPECT_EQ(result.status, ListFileResult::OutOfMemory);
  EXPECT_EQ(list_.Count(), 600);
  EXPECT_EQ(Description(599), "a599");
  EXPECT_EQ(list_.FileName(), "");
  EXPECT_TRUE(list_.Modified());
  EXPECT_EQ(bench::ReadFileBytes(path_), bytes);
  EXPECT_EQ(memory.LiveBlocks(), 2 * 600);
  list_.Clear();
  EXPECT_EQ(memory.LiveBlocks(), 0);
}

// Long files (hundreds of objects, read a part at a time) keep the file's
// order wherever they go, and write back the same; adding raises the
// event a non-stop Play All of an empty list waits for.
TEST_F(ListFileTest, LongFilesKeepTheirOrderWhereverTheyGo) {
  const std::string a = Numbered("a", 700);
  WaitForSingleObject(list_.GrewEvent(), 0);
  Load("WDv1.0\nA\n*\n8 0 x 0\n");  // damaged before its first object: nothing added
  EXPECT_EQ(WaitForSingleObject(list_.GrewEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  Load(a);
  EXPECT_EQ(WaitForSingleObject(list_.GrewEvent(), 0), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_EQ(SavedBytes(), a);
  Load(Numbered("b", 600), ListLoadInsert, 2);
  Load(Numbered("c", 300), ListLoadAppend);
  std::vector<std::string> expected;
  for (int i = 0; i < 2; ++i) expected.push_back("a" + std::to_string(i));
  for (int i = 0; i < 600; ++i) expected.push_back("b" + std::to_string(i));
  for (int i = 2; i < 700; ++i) expected.push_back("a" + std::to_string(i));
  for (int i = 0; i < 300; ++i) expected.push_back("c" + std::to_string(i));
  ASSERT_EQ(list_.Count(), static_cast<int>(expected.size()));
  int wrong = 0;
  for (int i = 0; i < list_.Count(); ++i)
    if (Description(i) != expected[i] && ++wrong < 5) ADD_FAILURE() << "object " << i << ": " << Description(i);
}

// A name without a folder is written so that the list, written elsewhere,
// still finds its file: relative to the new folder where the file lies
// under it, else in full. Where nothing moved the bytes stay the same.
TEST_F(ListFileTest, NamesWithoutAFolderStillFindTheirFilesWhereTheListIsWritten) {
  const std::string folder = bench::TempPath("lists");
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
  const std::string bytes = "WDv1.0\nhere\nA.WAV\n1 0 0 0\ndeeper\nSOUNDS\\B.WAV\n1 0 0 0\nfull\nC:\\C.WAV\n1 0 0 0\n";
  const std::string original = folder + "\\sub\\list.wdl";
  ASSERT_TRUE(bench::WriteFileBytes(original, bytes));
  ASSERT_TRUE(LoadListFile(list_, original.c_str(), ListLoadOpen).ok());

  // Saved where it was: the same bytes.
  ASSERT_TRUE(SaveListFile(list_, original.c_str()).ok());
  EXPECT_EQ(bench::ReadFileBytes(original), bytes);
  // A folder above: the names take the way down.
  const std::string above = folder + "\\above.wdl";
  ASSERT_TRUE(SaveListFile(list_, above.c_str()).ok());
  EXPECT_EQ(bench::ReadFileBytes(above),
            "WDv1.0\nhere\nsub\\A.WAV\n1 0 0 0\ndeeper\nsub\\SOUNDS\\B.WAV\n1 0 0 0\nfull\nC:\\C.WAV\n1 0 0 0\n");
  // A folder beside: full names.
  CreateDirectoryA((folder + "\\other").c_str(), nullptr);
  const std::string beside = folder + "\\other\\beside.wdl";
  ASSERT_TRUE(SaveListFile(list_, beside.c_str()).ok());
  const std::string written = bench::ReadFileBytes(beside);
  EXPECT_NE(written.find("\nhere\n" + folder + "\\sub\\A.WAV\n"), std::string::npos) << written;
  // And each file read back finds the same files.
  for (const std::string& path : {above, beside}) {
    ObjectList again;
    ASSERT_TRUE(LoadListFile(again, path.c_str(), ListLoadOpen).ok());
    for (int i = 0; i < 3; ++i) {
      char want[512], got[512];
      LockedBlock<SoundObject> first(list_.At(i)), second(again.At(i));
      ASSERT_TRUE(list_.ResolvePath(*first, want, sizeof want));
      ASSERT_TRUE(again.ResolvePath(*second, got, sizeof got));
      EXPECT_STRCASEEQ(got, want) << path << " " << i;
    }
  }
}

// Saving replaces the file, keeps what the person set on it (hidden, say),
// and never touches a file of the temporary name that the person made.
TEST_F(ListFileTest, SavingReplacesTheFileAndTouchesNothingElse) {
  Load(kEveryKind);
  const std::string path = Write("existing.wdl", "old contents");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  const std::string mine = Write("~existing.wdl", "the person's own file");
  list_.SetModified(true);
  ASSERT_TRUE(SaveListFile(list_, path.c_str()).ok());
  EXPECT_EQ(bench::ReadFileBytes(path), kEveryKind);
  EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(bench::ReadFileBytes(mine), "the person's own file");
  EXPECT_FALSE(list_.Modified());
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(bench::TempPath("~*~existing.wdl").c_str(), &found);  // nothing left over
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(mine.c_str());
}

// Nothing that can be replaced: a folder in the file's place, a folder that
// does not exist, a read-only file. The save fails with the system's
// reason, and nothing changes.
TEST_F(ListFileTest, SavingWhereNoFileCanBeWrittenFailsWithTheReason) {
  Load(kEveryKind);
  std::string folder = bench::TempPath("folder.wdl");
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string readOnly = Write("readonly.wdl", "old contents");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  for (const std::string& path : {folder, bench::TempPath("missing\\list.wdl"), readOnly}) {
    SCOPED_TRACE(path);
    list_.SetModified(true);
    ListFileResult result = SaveListFile(list_, path.c_str());
    EXPECT_EQ(result.status, ListFileResult::CannotWrite);
    EXPECT_NE(result.systemError, 0u);
    EXPECT_TRUE(list_.Modified());
  }
  EXPECT_EQ(bench::ReadFileBytes(readOnly), "old contents");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(bench::TempPath("~*").c_str(), &found);  // no temporary file left
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(readOnly.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(ListFileTest, AnEmptyListOrNoNameSavesNothing) {
  std::string path = bench::TempPath("empty.wdl");
  list_.SetModified(true);
  EXPECT_EQ(SaveListFile(list_, path.c_str()).status, ListFileResult::EmptyList);
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(list_.Modified());
  EXPECT_EQ(SaveListFile(list_, "").status, ListFileResult::NameTooLong);
  EXPECT_EQ(SaveListFile(list_, nullptr).status, ListFileResult::NameTooLong);
}

TEST(ListFileNames, ExtensionIsAddedOnlyToNamesWithoutADot) {
  char path[512] = "C:\\LISTS\\ROCK";
  EXPECT_EQ(EnsureListExtension(path), 1);
  EXPECT_STREQ(path, "C:\\LISTS\\ROCK.WDL");
  char dotted[512] = "C:\\MY.DIR\\ROCK";
  EXPECT_EQ(EnsureListExtension(dotted), 0);
  EXPECT_STREQ(dotted, "C:\\MY.DIR\\ROCK");
  char full[8] = "ABCDEFG";  // no room left: unchanged
  EXPECT_EQ(EnsureListExtension(full, sizeof full), 0);
  EXPECT_EQ(EnsureListExtension(nullptr), 0);
}

}  // namespace
