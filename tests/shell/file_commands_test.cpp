#include <gtest/gtest.h>

#include <string>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "model/object_list.h"
#include "resources/ids.h"
#include "shell/file_commands.h"
#include "storage/list_file.h"

namespace {

using bench::LanguageString;

const char kTwoItems[] = "WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\n";

class FileCommandsTest : public testing::Test {
 protected:
  void SetUp() override { GetCurrentDirectoryA(sizeof savedDirectory_, savedDirectory_); }
  void TearDown() override {
    SetCurrentDirectoryA(savedDirectory_);
    EXPECT_EQ(modals_.Failures(), 0);
    EXPECT_EQ(modals_.Pending(), 0u);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = bench::TempPath(name);
    EXPECT_TRUE(bench::WriteFileBytes(path, bytes));
    return path;
  }
  void Run(int command) { RunFileCommand(host_.window(), host_.objects(), command); }

  bench::ListHost host_;
  bench::ModalScript modals_;
  char savedDirectory_[MAX_PATH];
};

TEST_F(FileCommandsTest, OpenShowsTheListFileDialogAndLoadsTheChoice) {
  std::string path = Write("rock.wdl", kTwoItems);
  modals_.ChooseFile(path);
  Run(IDM_FILE_OPEN);
  ASSERT_EQ(modals_.Records().size(), 1u);
  const bench::ModalRecord& dialog = modals_.Records()[0];
  EXPECT_TRUE(dialog.isFileDialog);
  EXPECT_EQ(dialog.title, "Open a list or playlist");
  EXPECT_EQ(dialog.fileName, "*.wdl");
  ASSERT_FALSE(dialog.filters.empty());
  EXPECT_EQ(dialog.filters[0].rfind("Lists and playlists", 0), 0u);
  ASSERT_EQ(dialog.filters.size(), 4u);
  EXPECT_EQ(dialog.filters[2].rfind("Playlists (M3U, M3U8, PLS, WPL, XSPF)", 0), 0u);
  EXPECT_EQ(dialog.owner, host_.window());

  EXPECT_EQ(host_.Count(), 2);
  EXPECT_EQ(host_.Title(), "Wendle - ROCK.WDL");
  EXPECT_EQ(host_.Selected(), 0);
  char directory[MAX_PATH];
  GetCurrentDirectoryA(sizeof directory, directory);
  EXPECT_EQ(lstrcmpiA(directory, bench::TempDir().c_str()), 0) << directory;  // the confirmed dialog moved it
}

TEST_F(FileCommandsTest, TheSaveQuestionCanCancelOrSkipSaving) {
  LoadListFile(host_.objects(), Write("a.wdl", kTwoItems).c_str(), ListLoadOpen);
  host_.objects().SetModified(true);
  modals_.AnswerMessageBox(IDCANCEL);
  Run(IDM_FILE_OPEN);
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_ASK_SAVE_CHANGES));
  EXPECT_EQ(modals_.Records().back().style, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(host_.Count(), 2);

  modals_.AnswerMessageBox(IDNO);
  Run(IDM_FILE_NEW);
  EXPECT_EQ(host_.Count(), 0);
  EXPECT_EQ(host_.objects().FileName(), "");
  EXPECT_FALSE(host_.objects().Modified());
  EXPECT_EQ(host_.Title(), "Wendle");
  EXPECT_EQ(bench::ReadFileBytes(bench::TempPath("a.wdl")), kTwoItems);  // not saved
}

TEST_F(FileCommandsTest, YesOnAnUnnamedListSavesThroughSaveAsFirst) {
  LoadListFile(host_.objects(), Write("src.wdl", kTwoItems).c_str(), ListLoadAppend);
  host_.objects().SetFile("", false);  // as if the items were added by hand
  std::string chosen = bench::TempPath("NEWLIST.WDL");
  modals_.AnswerMessageBox(IDYES);
  modals_.ChooseFile(chosen);
  Run(IDM_FILE_NEW);
  ASSERT_EQ(modals_.Records().size(), 2u);
  EXPECT_EQ(modals_.Records()[1].title, "Save the list");
  EXPECT_EQ(modals_.Records()[1].filters,
            (std::vector<std::string>{"WDL files", "M3U8 playlist", "M3U playlist", "PLS playlist"}));
  EXPECT_EQ(bench::ReadFileBytes(chosen), kTwoItems);
  EXPECT_EQ(host_.Count(), 0);  // emptied only after the save
  EXPECT_EQ(host_.Title(), "Wendle");
}

TEST_F(FileCommandsTest, AYesWhoseSaveDidNotHappenKeepsTheList) {
  LoadListFile(host_.objects(), Write("keep.wdl", kTwoItems).c_str(), ListLoadAppend);
  host_.objects().SetFile("", false);
  modals_.AnswerMessageBox(IDYES);
  modals_.CancelFileDialog();  // the Save As dialog
  Run(IDM_FILE_NEW);
  EXPECT_EQ(host_.Count(), 2);
  EXPECT_TRUE(host_.objects().Modified());

  // A write that failed: the Open goes no further.
  std::string keep = bench::TempPath("keep.wdl");
  host_.objects().SetFile(keep, true);  // as if opened from it
  SetFileAttributesA(keep.c_str(), FILE_ATTRIBUTE_READONLY);
  modals_.AnswerMessageBox(IDYES);  // save the changes?
  modals_.AnswerMessageBox(IDOK);   // the file could not be written
  Run(IDM_FILE_OPEN);
  SetFileAttributesA(keep.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(modals_.Records().size(), 4u);  // no file dialog followed
  EXPECT_EQ(host_.Count(), 2);
}

// A list without a file takes the name of a file appended to it; that file
// is not the list's own until the list was written there, so the first
// Save asks before it replaces it.
TEST_F(FileCommandsTest, ANameTakenFromAnAppendedFileIsAskedAboutOnce) {
  std::string appended = Write("appended.wdl", kTwoItems);
  modals_.ChooseFile(appended);
  Run(IDM_FILE_APPEND);
  EXPECT_EQ(host_.Title(), "Wendle - APPENDED.WDL");
  host_.objects().Remove(0);

  modals_.AnswerMessageBox(IDNO);
  EXPECT_FALSE(SaveList(host_.window(), host_.objects()));
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_ASK_REPLACE_FILE));
  EXPECT_EQ(bench::ReadFileBytes(appended), kTwoItems);

  modals_.AnswerMessageBox(IDYES);
  EXPECT_TRUE(SaveList(host_.window(), host_.objects()));
  EXPECT_EQ(bench::ReadFileBytes(appended), "WDv1.0\nB\n*\n8 0 0 0\n");
  size_t asked = modals_.Records().size();
  EXPECT_TRUE(SaveList(host_.window(), host_.objects()));  // its own file now
  EXPECT_EQ(modals_.Records().size(), asked);
}

TEST_F(FileCommandsTest, InsertAndAppendAddTheFileToTheList) {
  LoadListFile(host_.objects(), Write("base.wdl", kTwoItems).c_str(), ListLoadOpen);
  bench::SelectRow(host_.list(), 1);
  modals_.ChooseFile(Write("more.wdl", "WDv1.0\nX\n*\n8 0 0 0\n"));
  Run(IDM_FILE_INSERT);
  EXPECT_EQ(modals_.Records().back().title, "Insert a list or playlist");
  modals_.ChooseFile(bench::TempPath("more.wdl"));
  Run(IDM_FILE_APPEND);
  EXPECT_EQ(modals_.Records().back().title, "Append a list or playlist");
  EXPECT_EQ(host_.Count(), 4);
  EXPECT_TRUE(host_.objects().Modified());
  EXPECT_EQ(host_.Title(), "Wendle - BASE.WDL");
}

TEST_F(FileCommandsTest, SaveAsWritesUnderTheChosenName) {
  LoadListFile(host_.objects(), Write("one.wdl", kTwoItems).c_str(), ListLoadOpen);
  host_.objects().SetModified(true);
  std::string chosen = bench::TempPath("renamed.wdl");
  modals_.ChooseFile(chosen);
  Run(IDM_FILE_SAVE_AS);
  EXPECT_EQ(modals_.Records().back().title, "Save the list");
  EXPECT_EQ(bench::ReadFileBytes(chosen), kTwoItems);
  EXPECT_EQ(host_.Title(), "Wendle - RENAMED.WDL");
  EXPECT_FALSE(host_.objects().Modified());
}

// Save and Save As say whether they wrote the list, and the list takes a
// new name only once it was written there. Saving to the list's own file
// asks nothing; Save As asks (in its dialog) before it replaces a file.
TEST_F(FileCommandsTest, SavesTellWhetherTheyWroteAndANameIsTakenOnlyAfterTheWrite) {
  std::string own = Write("own.wdl", kTwoItems);
  std::string other = Write("other.wdl", "WDv1.0\nO\n*\n8 0 0 0\n");
  LoadListFile(host_.objects(), own.c_str(), ListLoadOpen);
  host_.objects().Remove(1);
  host_.objects().SetModified(true);
  const std::string oneItem = "WDv1.0\nA\n*\n8 0 0 0\n";

  EXPECT_TRUE(SaveList(host_.window(), host_.objects()));  // its own file: no question
  EXPECT_EQ(bench::ReadFileBytes(own), oneItem);
  EXPECT_TRUE(modals_.Records().empty());

  modals_.CancelFileDialog();
  EXPECT_FALSE(SaveListAs(host_.window(), host_.objects()));
  EXPECT_EQ(host_.Title(), "Wendle - OWN.WDL");

  // A file that cannot be replaced: the save fails, is said, and the list
  // keeps its name and stays changed.
  host_.objects().SetModified(true);
  SetFileAttributesA(other.c_str(), FILE_ATTRIBUTE_READONLY);
  modals_.ChooseFile(other);
  modals_.AnswerMessageBox(IDYES);  // the dialog's question: replace other.wdl?
  modals_.AnswerMessageBox(IDOK);   // the file could not be written
  EXPECT_FALSE(SaveListAs(host_.window(), host_.objects()));
  EXPECT_TRUE(bench::SaysCannotWrite(modals_.Records().back().text, other)) << modals_.Records().back().text;
  EXPECT_EQ(host_.Title(), "Wendle - OWN.WDL");
  EXPECT_TRUE(host_.objects().Modified());
  EXPECT_EQ(bench::ReadFileBytes(other), "WDv1.0\nO\n*\n8 0 0 0\n");

  SetFileAttributesA(other.c_str(), FILE_ATTRIBUTE_NORMAL);
  modals_.ChooseFile(other);
  modals_.AnswerMessageBox(IDYES);
  EXPECT_TRUE(SaveListAs(host_.window(), host_.objects()));
  EXPECT_EQ(host_.Title(), "Wendle - OTHER.WDL");
  EXPECT_EQ(bench::ReadFileBytes(other), oneItem);
  EXPECT_FALSE(host_.objects().Modified());

  // An empty list has nothing to write: said, not done.
  ClearObjectList();
  modals_.AnswerMessageBox(IDOK);
  EXPECT_FALSE(SaveList(host_.window(), host_.objects()));
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_LIST_EMPTY));
  EXPECT_EQ(bench::ReadFileBytes(other), oneItem);
}

// A list opened by a bare name (the command line, a catalog entry) is saved
// to the file it came from, though a file dialog has moved the current
// folder since.
TEST_F(FileCommandsTest, SaveWritesTheFileOpenedByABareNameAfterTheFolderMoved) {
  std::string path = Write("bare.wdl", kTwoItems);
  std::string other = bench::TempPath("other");
  CreateDirectoryA(other.c_str(), nullptr);
  std::string more = other + "\\more.wdl";
  ASSERT_TRUE(bench::WriteFileBytes(more, "WDv1.0\nX\n*\n8 0 0 0\n"));
  SetCurrentDirectoryA(bench::TempDir().c_str());
  LoadListFile(host_.objects(), "bare.wdl", ListLoadOpen);
  modals_.ChooseFile(more);
  Run(IDM_FILE_APPEND);  // moves the current folder to other

  Run(IDM_FILE_SAVE);  // the list's own file: no question
  EXPECT_EQ(bench::ReadFileBytes(path), std::string(kTwoItems) + "X\n*\n8 0 0 0\n");
  EXPECT_EQ(GetFileAttributesA((other + "\\bare.wdl").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(host_.objects().Modified());

  SetCurrentDirectoryA(savedDirectory_);
  DeleteFileA(more.c_str());
  RemoveDirectoryA(other.c_str());
}

}  // namespace
