#include <gtest/gtest.h>

#include <string>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "model/object_list.h"
#include "state/main_window_state.h"
#include "storage/file_commands.h"
#include "storage/list_file.h"

namespace {

using bench::LanguageString;

const char kTwoItems[] = "WDv1.0\nA\n*\n8 0 0 0\nB\n*\n8 0 0 0\n";

class FileCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryA(sizeof savedDirectory_, savedDirectory_);
    g_state.closeAfterSave = 0;
  }
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
  void Run(int command) { RunFileCommand(host_.window(), command); }
  bool ClosePosted() {
    MSG msg;
    return PeekMessageA(&msg, host_.window(), WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
  }

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
  EXPECT_EQ(dialog.title, "Open a WDL file");
  EXPECT_EQ(dialog.fileName, "*.wdl");
  ASSERT_FALSE(dialog.filters.empty());
  EXPECT_EQ(dialog.filters[0].rfind("WDL files", 0), 0u);
  EXPECT_EQ(dialog.owner, host_.window());

  EXPECT_EQ(host_.Count(), 2);
  EXPECT_EQ(host_.Title(), "Wendle - ROCK.WDL");
  EXPECT_EQ(host_.Selected(), 0);
  char directory[MAX_PATH];
  GetCurrentDirectoryA(sizeof directory, directory);
  EXPECT_EQ(lstrcmpiA(directory, bench::TempDir().c_str()), 0) << directory;  // the confirmed dialog moved it
}

TEST_F(FileCommandsTest, TheSaveQuestionCanCancelOrSkipSaving) {
  LoadListFile(host_.list(), Write("a.wdl", kTwoItems).c_str(), ListLoadOpen);
  g_state.listModified = 1;
  modals_.AnswerMessageBox(IDCANCEL);
  Run(IDM_FILE_OPEN);
  EXPECT_EQ(modals_.Records().back().text, LanguageString(IDS_ASK_SAVE_CHANGES));
  EXPECT_EQ(modals_.Records().back().style, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(host_.Count(), 2);

  modals_.AnswerMessageBox(IDNO);
  Run(IDM_FILE_NEW);
  EXPECT_EQ(host_.Count(), 0);
  EXPECT_EQ(g_state.currentListFile[0], '\0');
  EXPECT_EQ(g_state.listModified, 0);
  EXPECT_EQ(host_.Title(), "Wendle");
  EXPECT_EQ(bench::ReadFileBytes(bench::TempPath("a.wdl")), kTwoItems);  // not saved
}

TEST_F(FileCommandsTest, YesOnAnUnnamedListSavesThroughSaveAsFirst) {
  LoadListFile(host_.list(), Write("src.wdl", kTwoItems).c_str(), ListLoadAppend);
  g_state.currentListFile[0] = '\0';  // as if the items were added by hand
  std::string chosen = bench::TempPath("NEWLIST.WDL");
  modals_.AnswerMessageBox(IDYES);
  modals_.ChooseFile(chosen);
  Run(IDM_FILE_NEW);
  ASSERT_EQ(modals_.Records().size(), 2u);
  EXPECT_EQ(modals_.Records()[1].title, "Save a WDL file");
  EXPECT_EQ(bench::ReadFileBytes(chosen), kTwoItems);
  EXPECT_EQ(host_.Count(), 0);  // emptied only after the save
  EXPECT_EQ(host_.Title(), "Wendle");
}

TEST_F(FileCommandsTest, AYesWhoseSaveDidNotHappenKeepsTheList) {
  LoadListFile(host_.list(), Write("keep.wdl", kTwoItems).c_str(), ListLoadAppend);
  g_state.currentListFile[0] = '\0';
  modals_.AnswerMessageBox(IDYES);
  modals_.CancelFileDialog();  // the Save As dialog
  Run(IDM_FILE_NEW);
  EXPECT_EQ(host_.Count(), 2);
  EXPECT_EQ(g_state.listModified, 1);

  // Replacing an existing file refused: the Open goes no further.
  lstrcpynA(g_state.currentListFile, bench::TempPath("keep.wdl").c_str(), kTextBufferSize);
  modals_.AnswerMessageBox(IDYES);  // save the changes?
  modals_.AnswerMessageBox(IDNO);   // replace keep.wdl?
  Run(IDM_FILE_OPEN);
  EXPECT_EQ(modals_.Records().size(), 4u);  // no file dialog followed
  EXPECT_EQ(host_.Count(), 2);
}

TEST_F(FileCommandsTest, InsertAndAppendAddTheFileToTheList) {
  LoadListFile(host_.list(), Write("base.wdl", kTwoItems).c_str(), ListLoadOpen);
  SendMessageA(host_.list(), LB_SETCURSEL, 1, 0);
  modals_.ChooseFile(Write("more.wdl", "WDv1.0\nX\n*\n8 0 0 0\n"));
  Run(IDM_FILE_INSERT);
  EXPECT_EQ(modals_.Records().back().title, "Insert a WDL file");
  modals_.ChooseFile(bench::TempPath("more.wdl"));
  Run(IDM_FILE_APPEND);
  EXPECT_EQ(modals_.Records().back().title, "Append a WDL file");
  EXPECT_EQ(host_.Count(), 4);
  EXPECT_EQ(g_state.listModified, 1);
  EXPECT_EQ(host_.Title(), "Wendle - BASE.WDL");
}

TEST_F(FileCommandsTest, SaveAsWritesUnderTheChosenNameAndSaveAfterCloseAsksToClose) {
  LoadListFile(host_.list(), Write("one.wdl", kTwoItems).c_str(), ListLoadOpen);
  g_state.listModified = 1;
  std::string chosen = bench::TempPath("renamed.wdl");
  modals_.ChooseFile(chosen);
  Run(IDM_FILE_SAVE_AS);
  EXPECT_EQ(modals_.Records().back().title, "Save a WDL file");
  EXPECT_EQ(bench::ReadFileBytes(chosen), kTwoItems);
  EXPECT_EQ(host_.Title(), "Wendle - RENAMED.WDL");
  EXPECT_EQ(g_state.listModified, 0);
  EXPECT_FALSE(ClosePosted());

  g_state.closeAfterSave = 1;
  modals_.AnswerMessageBox(IDYES);  // the file exists now
  Run(IDM_FILE_SAVE);
  EXPECT_TRUE(ClosePosted());
  g_state.closeAfterSave = 0;
}

TEST_F(FileCommandsTest, FileCommandsWaitWhileSomethingPlays) {
  g_state.playing = 1;
  Run(IDM_FILE_OPEN);
  Run(IDM_FILE_SAVE_AS);
  g_state.playing = 0;
  g_state.playAllRunning = 1;
  Run(IDM_FILE_NEW);
  g_state.playAllRunning = 0;
  EXPECT_TRUE(modals_.Records().empty());
}

}  // namespace
