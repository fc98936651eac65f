#include <gtest/gtest.h>

#include <string>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "settings/settings.h"

namespace {

using bench::LanguageString;

class FavoriteAndEditorTest : public testing::Test {
 protected:
  void SetUp() override {
    bench::ClearRegistry();
    settingsKey_ = LanguageString(IDS_REG_SETTINGS_KEY);
    ASSERT_FALSE(settingsKey_.empty());
  }
  std::string Favorite() {
    char path[512];
    ReadFavoriteSelection(path, sizeof path);
    return path;
  }
  void StoreEditor(UINT id, const std::string& command) {
    ASSERT_TRUE(bench::RegWriteString(settingsKey_, LanguageString(id), command));
  }
  // Runs the editor on fileName expecting one message box answered with
  // answer; returns its record.
  bench::ModalRecord RunExpectingMessage(const char* fileName, int answer) {
    bench::ModalScript modals;
    modals.AnswerMessageBox(answer);
    RunSoundFileEditor(fileName);
    EXPECT_EQ(modals.Records().size(), 1u);
    return modals.Records().empty() ? bench::ModalRecord() : modals.Records()[0];
  }
  // The directory of the test executables, where record_args.exe lies.
  static std::string ProgramDirectory() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
  }

  bench::ListHost host_;
  std::string settingsKey_;
};

TEST_F(FavoriteAndEditorTest, FavoriteSelectionIsChosenStoredAndReadBack) {
  EXPECT_EQ(Favorite(), "*");
  std::string song = bench::TempPath("FAVORITE.WAV");
  ASSERT_TRUE(bench::WriteWaveFile(song, std::string(100, '\x80')));
  {
    bench::ModalScript modals;
    modals.ChooseFile(song);
    modals.AnswerMessageBox(IDOK);
    SetFavoriteSelection();
    ASSERT_EQ(modals.Records().size(), 2u);
    EXPECT_TRUE(modals.Records()[0].isFileDialog);
    EXPECT_EQ(modals.Records()[1].text, LanguageString(IDS_SETTINGS_SAVED));
    EXPECT_EQ(modals.Failures(), 0);
  }
  EXPECT_EQ(Favorite(), song);
  std::string stored;
  EXPECT_TRUE(bench::RegReadString(settingsKey_, LanguageString(IDS_REG_FAVORITE), &stored));

  bench::ModalScript modals;  // cancelled: nothing stored, nothing said
  modals.CancelFileDialog();
  bench::ClearRegistry();
  SetFavoriteSelection();
  EXPECT_EQ(modals.Records().size(), 1u);
  EXPECT_EQ(Favorite(), "*");
}

TEST_F(FavoriteAndEditorTest, AFavoriteThatCannotBeStoredIsReported) {
  std::string song = bench::TempPath("UNSTORED.WAV");
  ASSERT_TRUE(bench::WriteWaveFile(song, std::string(100, '\x80')));
  bench::UnwritableRegistry unwritable;
  bench::ModalScript modals;
  modals.ChooseFile(song);
  modals.AnswerMessageBox(IDOK);
  SetFavoriteSelection();
  ASSERT_EQ(modals.Records().size(), 2u);
  EXPECT_EQ(modals.Records()[1].text, LanguageString(IDS_REGISTRY_FAILED));
  EXPECT_EQ(modals.Records()[1].style, static_cast<UINT>(MB_ICONHAND));
  EXPECT_EQ(Favorite(), "*");
}

TEST_F(FavoriteAndEditorTest, FavoriteOfAnotherTypeOrTooLongReadsAsNone) {
  ASSERT_TRUE(bench::RegWriteDword(settingsKey_, LanguageString(IDS_REG_FAVORITE), 5));
  EXPECT_EQ(Favorite(), "*");
  ASSERT_TRUE(bench::RegWriteString(settingsKey_, LanguageString(IDS_REG_FAVORITE), std::string(600, 'A')));
  EXPECT_EQ(Favorite(), "*");  // never a cut path
}

TEST_F(FavoriteAndEditorTest, EditorProblemsAreExplained) {
  bench::ModalRecord box = RunExpectingMessage("C:\\A.WAV", IDOK);  // no settings key at all
  EXPECT_EQ(box.text, LanguageString(IDS_EDITOR_NO_SETTINGS));
  EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(box.owner, host_.window());

  ASSERT_TRUE(bench::RegWriteDword(settingsKey_, LanguageString(IDS_REG_PLAY_ORDER), 526));
  for (const char* name : {"C:\\CLIP.AVI", "A.B", static_cast<const char*>(nullptr)}) {
    box = RunExpectingMessage(name, IDOK);
    EXPECT_EQ(box.text, LanguageString(IDS_EDITOR_WRONG_KIND));
  }

  box = RunExpectingMessage("C:\\SONG.MID", IDYES);  // no MIDI editor stored: offer to set one
  EXPECT_EQ(box.text, LanguageString(IDS_ASK_SET_EDITOR));
  EXPECT_EQ(box.style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
  auto posted = host_.TakePostedCommands();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0], (std::pair<int, LPARAM>(IDM_OPT_SET_EDITOR, 2)));

  RunExpectingMessage("C:\\A.WAV", IDNO);
  EXPECT_TRUE(host_.TakePostedCommands().empty());
}

TEST_F(FavoriteAndEditorTest, AnEditorThatCannotStartOffersToChangeIt) {
  StoreEditor(IDS_REG_WAV_EDITOR, "Z:\\NO\\SUCH\\EDITOR.EXE");
  bench::ModalRecord box = RunExpectingMessage("C:\\A.WAV", IDYES);
  EXPECT_EQ(box.text, LanguageString(IDS_ASK_CHANGE_EDITOR));
  EXPECT_EQ(box.style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
  auto posted = host_.TakePostedCommands();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0], (std::pair<int, LPARAM>(IDM_OPT_SET_EDITOR, 1)));

  // The longest command line and the longest name still fit the command.
  StoreEditor(IDS_REG_WAV_EDITOR, "Z:\\" + std::string(508, 'E'));
  std::string name = "C:\\" + std::string(504, 'N') + ".WAV";
  box = RunExpectingMessage(name.c_str(), IDNO);
  EXPECT_EQ(box.text, LanguageString(IDS_ASK_CHANGE_EDITOR));
}

TEST_F(FavoriteAndEditorTest, TheEditorReceivesTheFileNameWhole) {
  std::string record = bench::TempPath("args.txt");
  SetEnvironmentVariableA("WENDLE_RECORD_ARGS", record.c_str());
  StoreEditor(IDS_REG_WAV_EDITOR, ProgramDirectory() + "\\record_args.exe /edit");

  for (const std::string& file :
       {std::string("C:\\SOUNDS\\A.WAV"), std::string("C:\\MY SOUNDS\\A.WAV"), std::string("C:\\МУЗЫКА\\旋律 🎶.WAV")}) {
    DeleteFileA(record.c_str());
    bench::ModalScript modals;
    RunSoundFileEditor(file.c_str());
    EXPECT_TRUE(modals.Records().empty());
    ASSERT_TRUE(bench::PumpUntil([&] { return GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    std::string line = bench::ReadFileBytes(record);
    std::string expected = file.find(' ') == std::string::npos ? file : "\"" + file + "\"";
    EXPECT_EQ(line.substr(line.size() - expected.size()), expected) << line;
    EXPECT_NE(line.find("/edit "), std::string::npos) << line;
  }
  SetEnvironmentVariableA("WENDLE_RECORD_ARGS", nullptr);
}

}  // namespace
