#include <gtest/gtest.h>

#include <string>

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
    "\nC:\\VIDEO\\CLIP.AVI\n16 0 0 0\n"       // a present, empty description
    "played\nC:\\A.WAV\n32769 0 0 0\n"        // PlayedMark kept
    "odd\n\n65537 4294967295 7 255\n";        // flags that name no kind, kept whole

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

TEST_F(ListFileTest, CrLfFilesLongTextsAndWideTrackNumbersReadBack) {
  std::string longText(511, 'L');
  Load("WDv1.0\r\n" + longText + "\r\n*\r\n4 0 0 300\r\nnext\r\n*\r\n4 0 0 2\r\n");
  ASSERT_EQ(host_.Count(), 2);
  EXPECT_EQ(Description(0), longText);
  EXPECT_EQ(Description(1), "next");
  EXPECT_EQ(SavedBytes(), "WDv1.0\n" + longText + "\n*\n4 0 0 44\nnext\n*\n4 0 0 2\n");
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
  for (const std::string& damage : {std::string("B\n*\n"), std::string("B\n*\n8 0 x 0\nC\n*\n8 0 0 0\n"),
                                    std::string("B\n*\n8 0 99999999999 0\n"), std::string(1 << 20, '#'),
                                    std::string("B\0C\n*\n8 0", 9)}) {
    Load(good + damage);
    EXPECT_EQ(host_.Count(), 1);
    EXPECT_EQ(Description(0), "A");
    EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_LIST_FILE_DAMAGED));
    EXPECT_EQ(modals_.Records().back().style, static_cast<UINT>(MB_ICONEXCLAMATION));
  }
  EXPECT_EQ(modals_.Records().size(), 5u);
  Load(good + "\n\n  \r\n");  // trailing blank lines are no item, and no damage
  EXPECT_EQ(host_.Count(), 1);
  EXPECT_EQ(modals_.Records().size(), 5u);
  EXPECT_EQ(modals_.Failures(), 0);
}

TEST_F(ListFileTest, OutOfMemoryWhileReadingKeepsWhatWasPlaced) {
  bench::MemorySeam memory;
  memory.FailAllocation(4);  // the second item's description (the first took two blocks)
  Load("WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\nC\n*\n8 0 0 0\n");
  EXPECT_EQ(host_.Count(), 1);
  EXPECT_TRUE(modals_.Records().empty());
  ClearObjectList();
  EXPECT_EQ(memory.LiveBlocks(), 0);
}

TEST_F(ListFileTest, SavingAsksBeforeReplacingAndKeepsTheOldFileOnFailure) {
  Load(kEveryKind);
  std::string path = Write("existing.wdl", "old contents");
  g_state.listModified = 1;
  modals_.AnswerMessageBox(IDNO);
  EXPECT_EQ(SaveListFile(host_.list(), path.c_str()), 1);
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_ASK_REPLACE_FILE));
  EXPECT_EQ(modals_.Records().back().title, path);
  EXPECT_EQ(modals_.Records().back().style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(bench::ReadFileBytes(path), "old contents");
  EXPECT_EQ(g_state.listModified, 1);

  modals_.AnswerMessageBox(IDYES);
  EXPECT_EQ(SaveListFile(host_.list(), path.c_str()), 1);
  EXPECT_EQ(bench::ReadFileBytes(path), kEveryKind);
  EXPECT_EQ(g_state.listModified, 0);

  // A folder in the file's place cannot be replaced: the save fails, the
  // folder stays, no temporary file is left and the list stays modified.
  std::string folder = bench::TempPath("folder.wdl");
  CreateDirectoryA(folder.c_str(), nullptr);
  g_state.listModified = 1;
  modals_.AnswerMessageBox(IDYES);
  modals_.AnswerMessageBox(IDOK);
  EXPECT_EQ(SaveListFile(host_.list(), folder.c_str()), 1);
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_FILE_WRITE_FAILED));
  EXPECT_EQ(modals_.Records().back().style, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_NE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(g_state.listModified, 1);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(bench::TempPath("wdl*.tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(modals_.Failures(), 0);
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
