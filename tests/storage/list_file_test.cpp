#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/memory_seam.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "state/main_window_state.h"
#include "storage/list_file.h"

namespace {

using bench::LanguageString;

const std::string kEveryKind =
    "WDv1.0\n"
    "Morning\nC:\\SOUNDS\\BIRDS.WAV\n1 2 3 0\n"
    "*\nC:\\MIDI\\FUGUE.MID\n2 0 0 0\n"
    "Overture\n*\n4 1 10 7\n"
    "*\nPause 5 sec.\n8 0 5 0\n"
    "\nC:\\VIDEO\\CLIP.AVI\n16 0 0 0\n"  // a present, empty description
    "played\nC:\\A.WAV\n32769 0 0 0\n"   // PlayedMark kept
    "odd\n\n65537 4294967295 7 255\n";   // flags that name no kind, kept whole

// The list box's procedure, and a stand-in that takes only so many more
// items and then answers LB_ERRSPACE, as a list box out of room does.
WNDPROC g_listBoxProc = nullptr;
int g_refuseAfter = 0;

LRESULT CALLBACK ListBoxWithRoomFor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == LB_INSERTSTRING || message == LB_ADDSTRING) {
    if (g_refuseAfter == 0) return LB_ERRSPACE;
    --g_refuseAfter;
  }
  return CallWindowProcA(g_listBoxProc, window, message, wParam, lParam);
}

class ListFileTest : public testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = bench::TempPath(name);
    EXPECT_TRUE(bench::WriteFileBytes(path, bytes));
    return path;
  }
  std::string Load(const std::string& bytes, int mode = ListLoadOpen) {
    std::string path = Write("in.wdl", bytes);
    LoadListFile(host_.list(), path.c_str(), mode);
    return path;
  }
  std::string SavedBytes() {
    std::string path = bench::TempPath("out.wdl");
    DeleteFileA(path.c_str());
    EXPECT_EQ(SaveListFile(host_.list(), path.c_str()), 1);
    return bench::ReadFileBytes(path);
  }
  std::string Description(int index) {
    LockedBlock<SoundObject> record(ObjectAt(index));
    char text[600] = "<none>";
    if (record && record->description) CopyTextBlock(record->description, text, sizeof text);
    return text;
  }
  std::string Title() const { return host_.Title(); }

  bench::ListHost host_;
  bench::ModalScript modals_;
};

TEST_F(ListFileTest, EveryKindReadsAndWritesBackByteForByte) {
  Load(kEveryKind);
  ASSERT_EQ(host_.Count(), 7);
  EXPECT_EQ(SavedBytes(), kEveryKind);
  EXPECT_EQ(modals_.Records().size(), 0u);

  LockedBlock<SoundObject> track(ObjectAt(2));
  EXPECT_EQ(track->trackNumber, 7);
  EXPECT_EQ(track->fileName, nullptr);
  EXPECT_EQ(track->bitmap, g_state.kindBitmaps[3]);
  LockedBlock<SoundObject> played(ObjectAt(5));
  EXPECT_EQ(played->bitmap, g_state.kindBitmaps[0]);  // PlayedMark does not hide the kind
  LockedBlock<SoundObject> odd(ObjectAt(6));
  EXPECT_EQ(odd->bitmap, nullptr);
  EXPECT_EQ(Description(4), "");
}

// An audio file is three lines as a WAV object's, with kind 32; bit 5
// beside another kind, as files written before may hold it, leaves that
// kind as it was.
TEST_F(ListFileTest, AnAudioFileReadsAndWritesBackAsItsThreeLines) {
  const std::string text =
      "WDv1.0\n"
      "Song\nC:\\MUSIC\\SONG.MP3\n32 2 3 0\n"
      "*\nD:\\OGG\\B.OGG\n32800 0 0 0\n"  // PlayedMark kept
      "old\nC:\\A.WAV\n33 0 0 0\n";
  Load(text);
  ASSERT_EQ(host_.Count(), 3);
  EXPECT_EQ(SavedBytes(), text);
  LockedBlock<SoundObject> song(ObjectAt(0));
  EXPECT_EQ(song->flags, static_cast<uint32_t>(AudioFile));
  EXPECT_EQ(song->repeatCount, 2u);
  EXPECT_EQ(song->bitmap, g_state.kindBitmaps[5]);
  EXPECT_EQ(LockedBlock<SoundObject>(ObjectAt(1))->bitmap, g_state.kindBitmaps[5]);
  EXPECT_EQ(LockedBlock<SoundObject>(ObjectAt(2))->bitmap, g_state.kindBitmaps[0]);
}

TEST_F(ListFileTest, CrLfFilesLongTextsAndWideTrackNumbersReadBack) {
  std::string longText(511, 'L');
  Load("WDv1.0\r\n" + longText + "\r\n*\r\n4 0 0 300\r\nnext\r\n*\r\n4 0 0 2\r\n");
  ASSERT_EQ(host_.Count(), 2);
  EXPECT_EQ(Description(0), longText);
  EXPECT_EQ(Description(1), "next");
  EXPECT_EQ(SavedBytes(), "WDv1.0\n" + longText + "\n*\n4 0 0 44\nnext\n*\n4 0 0 2\n");
}

// A list of names in any script reads and writes back byte for byte, and
// each row holds its text; a list from earlier versions in code page 1252
// reads with its accents and is written back as UTF-8.
TEST_F(ListFileTest, Utf8ListsReadBackExactlyAndLegacyLinesAreConverted) {
  const std::string utf8 =
      "WDv1.0\n"
      "Ωδή · песня\nC:\\МУЗЫКА\\МЕЛОДИЯ.WAV\n1 0 0 0\n"
      "*\nC:\\音楽\\旋律🎶.WAV\n1 0 0 0\n";
  Load(utf8);
  ASSERT_EQ(host_.Count(), 2);
  EXPECT_EQ(SavedBytes(), utf8);
  wchar_t row[64] = L"";
  SendMessageW(host_.list(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
  EXPECT_STREQ(row, L"C:\\音楽\\旋律🎶.WAV");
  SendMessageW(host_.list(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
  EXPECT_STREQ(row, L"Ωδή · песня");

  Load("WDv1.0\nCaf\xE9 cr\xE8me\nC:\\CH\xC2TEAU.WAV\n1 0 0 0\nMorning\n*\n4 0 0 2\n");
  ASSERT_EQ(host_.Count(), 2);
  EXPECT_EQ(Description(0), "Café crème");
  EXPECT_EQ(SavedBytes(), "WDv1.0\nCafé crème\nC:\\CHÂTEAU.WAV\n1 0 0 0\nMorning\n*\n4 0 0 2\n");
  EXPECT_EQ(modals_.Records().size(), 0u);
}

TEST_F(ListFileTest, OpeningReplacesTheListAndNamesIt) {
  Load(kEveryKind);
  g_state.listModified = 1;
  std::string path = Load("WDv1.0\none\n*\n8 0 1 0\n");
  EXPECT_EQ(host_.Count(), 1);
  EXPECT_EQ(std::string(g_state.currentListFile), path);
  EXPECT_EQ(g_state.listModified, 0);
  EXPECT_EQ(host_.Selected(), 0);
  EXPECT_EQ(GetFocus(), host_.list());
  char progress[64];
  snprintf(progress, sizeof progress, LanguageString(IDS_FMT_ITEMS_READ).c_str(), 1u);
  EXPECT_EQ(host_.StatusText(), progress);
}

TEST_F(ListFileTest, InsertPlacesTheFileBeforeTheSelectedItem) {
  Load("WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\nC\n*\n8 0 0 0\n");
  SendMessageA(host_.list(), LB_SETCURSEL, 2, 0);
  Load("WDv1.0\nX\n*\n8 0 0 0\nY\n*\n8 0 0 0\n", ListLoadInsert);
  ASSERT_EQ(host_.Count(), 5);
  const char* expected[] = {"A", "B", "X", "Y", "C"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Description(i), expected[i]);
  EXPECT_EQ(host_.Selected(), 0);

  SendMessageA(host_.list(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);  // nothing selected: the end
  Load("WDv1.0\nZ\n*\n8 0 0 0\n", ListLoadInsert);
  EXPECT_EQ(Description(5), "Z");
}

TEST_F(ListFileTest, InsertAndAppendNameAnUnnamedListAndMarkItModified) {
  std::string path = Load("WDv1.0\nA\n*\n8 0 0 0\n", ListLoadAppend);
  EXPECT_EQ(std::string(g_state.currentListFile), path);
  EXPECT_EQ(g_state.listModified, 1);

  std::string other = Write("other.wdl", "WDv1.0\nB\n*\n8 0 0 0\n");
  LoadListFile(host_.list(), other.c_str(), ListLoadInsert);
  EXPECT_EQ(std::string(g_state.currentListFile), path);  // a named list keeps its name
  EXPECT_EQ(host_.Count(), 2);
}

TEST_F(ListFileTest, RefusedFilesLeaveEverythingAsItWas) {
  Load("WDv1.0\nkeep\n*\n8 0 0 0\n");
  std::string name = g_state.currentListFile;
  g_state.listModified = 1;
  for (const char* bytes : {"WDv1.1\nA\n*\n8 0 0 0\n", "wdv1.0\nA\n*\n8 0 0 0\n", ""}) {
    modals_.AnswerMessageBox(IDOK);
    Load(bytes);
    const bench::ModalRecord& box = modals_.Records().back();
    EXPECT_EQ(box.text, LanguageString(IDS_NOT_A_LIST_FILE));
    EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(box.title, "Wendle");
  }
  std::string missing = bench::TempPath("missing.wdl");
  modals_.AnswerMessageBox(IDOK);
  LoadListFile(host_.list(), missing.c_str(), ListLoadOpen);
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_CANNOT_OPEN_FILE));
  EXPECT_EQ(modals_.Records().back().title, missing);

  EXPECT_EQ(host_.Count(), 1);
  EXPECT_EQ(Description(0), "keep");
  EXPECT_EQ(std::string(g_state.currentListFile), name);
  EXPECT_EQ(g_state.listModified, 1);
  EXPECT_EQ(modals_.Failures(), 0);
}

TEST_F(ListFileTest, DamagedFilesKeepTheItemsReadBeforeTheDamage) {
  const std::string good = "WDv1.0\nA\n*\n8 0 0 0\n";
  for (int i = 0; i < 5; ++i) modals_.AnswerMessageBox(IDOK);
  for (const std::string& damage :
       {std::string("B\n*\n"), std::string("B\n*\n8 0 x 0\nC\n*\n8 0 0 0\n"), std::string("B\n*\n8 0 99999999999 0\n"),
        std::string(1 << 20, '#'), std::string("B\0C\n*\n8 0", 9)}) {
    Load(good + damage);
    EXPECT_EQ(host_.Count(), 1);
    EXPECT_EQ(Description(0), "A");
    EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_LIST_FILE_DAMAGED));
    EXPECT_EQ(modals_.Records().back().style, static_cast<UINT>(MB_ICONEXCLAMATION));
  }
  EXPECT_EQ(modals_.Records().size(), 5u);
  EXPECT_EQ(g_state.currentListFile[0], '\0');  // not the file: a Save asks for a name
  EXPECT_EQ(g_state.listModified, 1);
  Load(good + "\n\n  \r\n");  // trailing blank lines are no item, and no damage
  EXPECT_EQ(host_.Count(), 1);
  EXPECT_EQ(modals_.Records().size(), 5u);
  EXPECT_NE(g_state.currentListFile[0], '\0');
  EXPECT_EQ(g_state.listModified, 0);
  EXPECT_EQ(modals_.Failures(), 0);
}

TEST_F(ListFileTest, AListCutShortByLackOfMemoryIsReportedAndDoesNotPassForTheFile) {
  const std::string threeItems = "WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\nC\n*\n8 0 0 0\n";
  bench::MemorySeam memory;
  Load("WDv1.0\nold\n*\n8 0 0 0\n");
  ASSERT_NE(g_state.currentListFile[0], '\0');
  memory.FailAllocation(4);  // the second item's description (the first took two blocks)
  modals_.AnswerMessageBox(IDOK);
  std::string path = Load(threeItems);
  EXPECT_EQ(host_.Count(), 1);
  ASSERT_EQ(modals_.Records().size(), 1u);
  EXPECT_EQ(modals_.Records()[0].text, LanguageString(IDS_OUT_OF_MEMORY));
  EXPECT_EQ(modals_.Records()[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
  // Not the file: no name (a Save asks for one) and a close asks to save.
  EXPECT_EQ(g_state.currentListFile[0], '\0');
  EXPECT_EQ(g_state.listModified, 1);
  EXPECT_EQ(bench::ReadFileBytes(path), threeItems);

  // Appended to a list without a name, a file read in part does not name it.
  memory.FailAllocation(2);
  modals_.AnswerMessageBox(IDOK);
  Load(threeItems, ListLoadAppend);
  EXPECT_EQ(host_.Count(), 1);
  EXPECT_EQ(g_state.currentListFile[0], '\0');
  ClearObjectList();
  EXPECT_EQ(memory.LiveBlocks(), 0);
  EXPECT_EQ(modals_.Failures(), 0);
}

// A list file of count Pause objects described prefix0, prefix1, ...
std::string Numbered(const std::string& prefix, int count) {
  std::string bytes = "WDv1.0\n";
  for (int i = 0; i < count; ++i) bytes += prefix + std::to_string(i) + "\n*\n8 0 " + std::to_string(i % 60) + " 0\n";
  return bytes;
}

std::vector<std::string> Numbers(const std::string& prefix, int from, int to) {
  std::vector<std::string> texts;
  for (int i = from; i < to; ++i) texts.push_back(prefix + std::to_string(i));
  return texts;
}

// Long files (hundreds of items, read a part at a time) keep the file's
// order wherever they go, and write back the same.
TEST_F(ListFileTest, LongFilesKeepTheirOrderWhereverTheyGo) {
  const std::string a = Numbered("a", 700);
  Load(a);
  EXPECT_EQ(SavedBytes(), a);
  SendMessageA(host_.list(), LB_SETCURSEL, 2, 0);
  Load(Numbered("b", 600), ListLoadInsert);
  Load(Numbered("c", 300), ListLoadAppend);

  std::vector<std::string> expected = Numbers("a", 0, 2);
  for (const auto& part : {Numbers("b", 0, 600), Numbers("a", 2, 700), Numbers("c", 0, 300)})
    expected.insert(expected.end(), part.begin(), part.end());
  ASSERT_EQ(host_.Count(), static_cast<int>(expected.size()));
  int wrong = 0;
  for (int i = 0; i < host_.Count(); ++i)
    if (Description(i) != expected[i] && ++wrong < 5) ADD_FAILURE() << "item " << i << ": " << Description(i);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(host_.Selected(), 0);
  EXPECT_TRUE(modals_.Records().empty());
}

// Damage, a failed allocation or a full list box far into a long file: the
// items before it stay, the user is told, and no object is left unowned.
TEST_F(ListFileTest, TroubleDeepInALongFileKeepsEveryItemBeforeIt) {
  bench::MemorySeam memory;
  for (int i = 0; i < 3; ++i) modals_.AnswerMessageBox(IDOK);
  Load(Numbered("a", 700) + "broken\n*\n8 0 x 0\n");
  EXPECT_EQ(host_.Count(), 700);
  EXPECT_EQ(Description(699), "a699");
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_LIST_FILE_DAMAGED));

  // Each item takes two blocks: its record, then its description.
  memory.FailAllocation(2 * 600 + 2);
  Load(Numbered("a", 700));
  EXPECT_EQ(host_.Count(), 600);
  EXPECT_EQ(Description(599), "a599");
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_OUT_OF_MEMORY));
  EXPECT_EQ(memory.LiveBlocks(), 2 * 600);

  g_refuseAfter = 450;
  g_listBoxProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(host_.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListBoxWithRoomFor)));
  Load(Numbered("a", 700));
  SetWindowLongPtrA(host_.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listBoxProc));
  EXPECT_EQ(host_.Count(), 450);
  EXPECT_EQ(Description(449), "a449");
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_OUT_OF_MEMORY));
  EXPECT_EQ(memory.LiveBlocks(), 2 * 450);

  EXPECT_EQ(g_state.currentListFile[0], '\0');
  EXPECT_EQ(g_state.listModified, 1);
  ClearObjectList();
  EXPECT_EQ(memory.LiveBlocks(), 0);
  EXPECT_EQ(modals_.Records().size(), 3u);
  EXPECT_EQ(modals_.Failures(), 0);
}

// A non-stop Play All on an empty list waits for this event.
TEST_F(ListFileTest, ALoadThatAddsItemsRaisesTheListGrewEvent) {
  HANDLE grew = g_state.listGrew.handle();
  WaitForSingleObject(grew, 0);  // whatever came before
  modals_.AnswerMessageBox(IDOK);
  Load("WDv1.0\nA\n*\n8 0 x 0\n");  // damaged before its first item: nothing added
  EXPECT_EQ(WaitForSingleObject(grew, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  Load(Numbered("a", 300));
  EXPECT_EQ(WaitForSingleObject(grew, 0), static_cast<DWORD>(WAIT_OBJECT_0));
}

// Saving replaces the file without a question (Save As asks in its own
// dialog): the file holds the list, and the list is no longer changed.
TEST_F(ListFileTest, SavingReplacesTheFile) {
  Load(kEveryKind);
  std::string path = Write("existing.wdl", "old contents");
  g_state.listModified = 1;
  EXPECT_EQ(SaveListFile(host_.list(), path.c_str()), 1);
  EXPECT_EQ(bench::ReadFileBytes(path), kEveryKind);
  EXPECT_EQ(g_state.listModified, 0);
  EXPECT_TRUE(modals_.Records().empty());
}

// Nothing that can be replaced: a folder in the file's place, a folder that
// does not exist, a read-only file. The save fails and says so, and nothing
// changes.
TEST_F(ListFileTest, SavingWhereNoFileCanBeWrittenFailsAndSaysSo) {
  Load(kEveryKind);
  std::string folder = bench::TempPath("folder.wdl");
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string readOnly = Write("readonly.wdl", "old contents");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  for (const std::string& path : {folder, bench::TempPath("missing\\list.wdl"), readOnly}) {
    SCOPED_TRACE(path);
    g_state.listModified = 1;
    size_t before = modals_.Records().size();
    modals_.AnswerMessageBox(IDOK);
    EXPECT_EQ(SaveListFile(host_.list(), path.c_str()), 0);
    ASSERT_EQ(modals_.Records().size(), before + 1);
    EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_FILE_WRITE_FAILED));
    EXPECT_EQ(modals_.Records().back().style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(g_state.listModified, 1);
  }
  EXPECT_NE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(GetFileAttributesA(bench::TempPath("missing").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(bench::ReadFileBytes(readOnly), "old contents");
  EXPECT_NE(GetFileAttributesA(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(bench::TempPath("~*").c_str(), &found);  // no temporary file left
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(readOnly.c_str());
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(modals_.Failures(), 0);
}

// The temporary file of a save is named from the list ("~" and its name)
// beside it: the leftover of a save that was killed is taken up by the next
// save, so at most one can ever lie beside a list. The name fits in a
// folder deep enough for the list file itself.
TEST_F(ListFileTest, TheLeftoverOfAKilledSaveIsTakenUpByTheNextSave) {
  Load(kEveryKind);
  // A folder of 249 characters: longer than GetTempFileNameA accepts (246)
  // and than CreateDirectoryA makes (248), though the list file's own path
  // (255 characters) is short enough for every file function.
  auto longPath = [](const std::string& path) {
    std::wstring wide = L"\\\\?\\";
    for (char c : path) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
  };
  std::vector<std::string> folders;
  std::string folder = bench::TempDir();
  while (folder.size() < 249) {
    folder += "\\" + std::string(std::min<size_t>(60, 249 - folder.size() - 1), 'd');
    ASSERT_TRUE(CreateDirectoryW(longPath(folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        << folder.size();
    folders.push_back(folder);
  }
  std::string path = folder + "\\A.WDL";
  std::string leftover = folder + "\\~A.WDL";
  ASSERT_TRUE(bench::WriteFileBytes(leftover, std::string(100000, 'x')));  // a save killed halfway

  EXPECT_EQ(SaveListFile(host_.list(), path.c_str()), 1);
  EXPECT_EQ(bench::ReadFileBytes(path), kEveryKind);
  EXPECT_EQ(g_state.listModified, 0);
  // Nothing else is left in the folder.
  std::vector<std::string> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(found.cFileName);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  EXPECT_EQ(files, std::vector<std::string>{"A.WDL"});
  EXPECT_TRUE(modals_.Records().empty());

  DeleteFileA(path.c_str());
  for (auto it = folders.rbegin(); it != folders.rend(); ++it) RemoveDirectoryW(longPath(*it).c_str());
}

TEST_F(ListFileTest, AnEmptyListOrNoNameSavesNothing) {
  std::string path = bench::TempPath("empty.wdl");
  g_state.listModified = 1;
  EXPECT_EQ(SaveListFile(host_.list(), path.c_str()), 0);
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(g_state.listModified, 1);
  EXPECT_EQ(SaveListFile(host_.list(), ""), -4);
  EXPECT_EQ(SaveListFile(host_.list(), nullptr), -4);
  EXPECT_TRUE(modals_.Records().empty());
}

TEST_F(ListFileTest, WriteListItemsCountsTheItemBytesAndShowsProgress) {
  Load("WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\n");
  std::string path = bench::TempPath("direct.wdl");
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_EQ(WriteListItems(file, host_.list()), 24u);  // two items of 12 bytes
  CloseHandle(file);
  EXPECT_EQ(bench::ReadFileBytes(path), "WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\n");
  char progress[64];
  snprintf(progress, sizeof progress, LanguageString(IDS_FMT_ITEMS_WRITTEN).c_str(), 2u, 2u);
  EXPECT_EQ(host_.StatusText(), progress);
  EXPECT_EQ(WriteListItems(INVALID_HANDLE_VALUE, host_.list()), 0u);
}

int g_statusPaints = 0;
WNDPROC g_statusBarProc = nullptr;

LRESULT CALLBACK CountingStatusBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++g_statusPaints;
  return CallWindowProcA(g_statusBarProc, window, message, wParam, lParam);
}

// A long read or write paints its progress as it goes (no message loop runs
// until it ends), while the user's input waits until it is over.
TEST_F(ListFileTest, ReadingAndWritingPaintTheirProgressButTakeNoInput) {
  // Shown, and tall enough for the status bar to lie within it.
  SetWindowPos(host_.window(), nullptr, 0, 0, 640, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  bench::PumpMessages();
  g_statusPaints = 0;
  g_statusBarProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(host_.statusBar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingStatusBarProc)));
  PostMessageA(host_.window(), WM_COMMAND, IDM_FILE_NEW, 0);  // as if New were clicked meanwhile

  Load("WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\n");
  EXPECT_GE(g_statusPaints, 1);
  int paintsWhileReading = g_statusPaints;
  SavedBytes();
  EXPECT_GT(g_statusPaints, paintsWhileReading);
  EXPECT_EQ(host_.TakePostedCommands().size(), 1u);  // still waiting
  EXPECT_EQ(host_.Count(), 2);

  SetWindowLongPtrA(host_.statusBar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_statusBarProc));
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

TEST_F(ListFileTest, TitleShowsTheUpperCaseFileName) {
  lstrcpynA(g_state.currentListFile, "c:\\lists\\rock.wdl", kTextBufferSize);
  UpdateWindowTitle(host_.window());
  EXPECT_EQ(Title(), "Wendle - ROCK.WDL");
  EXPECT_STREQ(g_state.currentListFile, "C:\\LISTS\\ROCK.WDL");
  lstrcpynA(g_state.currentListFile, "C:\\LISTS\\", kTextBufferSize);
  UpdateWindowTitle(host_.window());
  EXPECT_EQ(Title(), "Wendle - ");
  lstrcpynA(g_state.currentListFile, "rock.wdl", kTextBufferSize);
  UpdateWindowTitle(host_.window());
  EXPECT_EQ(Title(), "Wendle - ROCK.WDL");
  g_state.currentListFile[0] = '\0';
  UpdateWindowTitle(host_.window());
  EXPECT_EQ(Title(), "Wendle");
}

}  // namespace
