// Catalog Active CD on the test bench's virtual CD drive: looking the disc
// up in "WD_CD.DAT" of the current directory, opening its list, and
// cataloging the current list, with the user's answers given by script.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "bench/virtual_cd.h"
#include "playback/cd_audio.h"
#include "playback/play_state.h"
#include "settings/settings_record.h"
#include "shell/catalog_command.h"
#include "storage/cd_catalog.h"
#include "storage/list_file.h"
#include "support/language.h"

namespace {

using bench::LanguageString;

// Two discs that differ in both identity numbers, and one that differs from
// the first only in milliseconds (its length in frames is the same).
const char kDiscOne[] = "audio 180000\naudio 200000\n";
const char kDiscTwo[] = "audio 100000\naudio 100000\n";
const char kDiscOneAlike[] = "audio 180005\naudio 200000\n";

// A list file of n Pause objects.
std::string ListOf(int n) {
  std::string text = "WDv1.0\n";
  for (int i = 0; i < n; ++i) text += "Item " + std::to_string(i) + "\n*\n8 0 0 0\n";
  return text;
}

std::string Upper(std::string text) {
  CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

// The current directory is a folder of the test's own, which holds the
// catalog; list files lie in the folder above it unless said otherwise.
class CdCatalogTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bench::VirtualCdInstalled()) << "the test prefix has no virtual CD drive";
    GetCurrentDirectoryA(sizeof savedDirectory_, savedDirectory_);
    catalogFolder_ = bench::TempPath("catalog");
    CreateDirectoryA(catalogFolder_.c_str(), nullptr);
    SetCurrentDirectoryA(catalogFolder_.c_str());
    DeleteFileA("WD_CD.DAT");
    LastCataloged() = CatalogedList();
    g_settings.preferenceFlags = CatalogAbsolutePaths;
  }
  void TearDown() override {
    SetCurrentDirectoryA(savedDirectory_);
    for (const char* name : {"WD_CD.DAT", "A.WDL", "LIST.WDL"}) DeleteFileA((catalogFolder_ + "\\" + name).c_str());
    RemoveDirectoryA(catalogFolder_.c_str());
    EXPECT_EQ(modals_.Failures(), 0);
    EXPECT_EQ(modals_.Pending(), 0u);
  }

  // Writes a list file; its upper-case full path, as a file dialog leaves it.
  std::string WriteList(const std::string& path, int items) {
    EXPECT_TRUE(bench::WriteFileBytes(path, ListOf(items)));
    return Upper(path);
  }
  void SetCurrentList(const std::string& path) { host_.objects().SetFile(path, true); }
  std::string Catalog() { return bench::ReadFileBytes(catalogFolder_ + "\\WD_CD.DAT"); }
  std::string EntryFor(const char* disc, const std::string& path) {
    bench::VirtualCd cd(disc);
    uint32_t first = 0, second = 0;
    EXPECT_EQ(ReadCdIdentity(0, &first, &second), 1);
    return std::to_string(first) + " " + std::to_string(second) + " " + path + "\r\n";
  }
  void Run() { CatalogActiveCd(host_.window(), host_.objects()); }
  // The message boxes shown, as their texts' ids and styles.
  void ExpectMessage(size_t index, UINT textId, UINT style) {
    ASSERT_LT(index, modals_.Records().size());
    const bench::ModalRecord& box = modals_.Records()[index];
    EXPECT_EQ(box.text, LanguageString(textId)) << "message " << index;
    EXPECT_EQ(box.style, style) << "message " << index;
    EXPECT_EQ(box.title, LanguageString(IDS_APP_CAPTION));
    EXPECT_EQ(box.owner, host_.window());
  }

  bench::ListHost host_;
  bench::ModalScript modals_;
  std::string catalogFolder_;
  char savedDirectory_[MAX_PATH];
};

TEST_F(CdCatalogTest, ANewCatalogGetsItsFirstEntryAndThenOpensThatList) {
  std::string rock = WriteList(bench::TempPath("Rock.wdl"), 3);
  SetCurrentList(rock);
  bench::VirtualCd cd(kDiscOne);
  Run();
  EXPECT_EQ(Catalog(), "WDv1.0\r\n" + EntryFor(kDiscOne, rock));
  EXPECT_EQ(host_.StatusText(), LanguageString(IDS_CD_CATALOGED));
  EXPECT_TRUE(modals_.Records().empty());
  EXPECT_EQ(LastCataloged().path, rock);

  // A new, empty list: the same disc now opens its list.
  host_.objects().SetFile("", false);
  Run();
  EXPECT_EQ(host_.Count(), 3);
  EXPECT_STREQ(host_.objects().FileName().c_str(), rock.c_str());
  EXPECT_EQ(host_.Title(), "Wendle - ROCK.WDL");
  EXPECT_EQ(host_.Selected(), 0);
  EXPECT_TRUE(modals_.Records().empty());
}

TEST_F(CdCatalogTest, StoredPathOpensWholeOrByItsNameInTheCurrentDirectory) {
  std::string above = WriteList(bench::TempPath("LIST.WDL"), 2);
  WriteList(catalogFolder_ + "\\LIST.WDL", 4);
  ASSERT_TRUE(bench::WriteFileBytes(catalogFolder_ + "\\WD_CD.DAT",
                                    "WDv1.0\r\n" + EntryFor(kDiscTwo, "C:\\NOWHERE\\OTHER.WDL") +
                                        EntryFor(kDiscOne, above) + EntryFor(kDiscOne, "C:\\LATER.WDL")));
  bench::VirtualCd cd(kDiscOne);

  Run();  // the first entry for the disc, whole
  EXPECT_EQ(host_.Count(), 2);
  EXPECT_STREQ(host_.objects().FileName().c_str(), above.c_str());

  g_settings.preferenceFlags = 0;
  Run();  // its file name, from the current directory
  EXPECT_EQ(host_.Count(), 4);
  // The list keeps the full path of the file it was read from, so a later
  // change of directory cannot make Save write elsewhere.
  EXPECT_EQ(lstrcmpiA(host_.objects().FileName().c_str(), (catalogFolder_ + "\\LIST.WDL").c_str()), 0)
      << host_.objects().FileName();
  EXPECT_TRUE(modals_.Records().empty());
}

TEST_F(CdCatalogTest, APathWithBlanksIsFoundAgain) {
  std::string spaced = WriteList(bench::TempPath("My Party Mix.wdl"), 5);
  SetCurrentList(spaced);
  bench::VirtualCd cd(kDiscOne);
  Run();
  host_.objects().SetFile("", false);
  Run();
  EXPECT_EQ(host_.Count(), 5);
  EXPECT_STREQ(host_.objects().FileName().c_str(), spaced.c_str());
  EXPECT_TRUE(modals_.Records().empty());
}

TEST_F(CdCatalogTest, SameListForAnotherCdAsksFirstOnlyWhenBothNumbersDiffer) {
  std::string list = WriteList(bench::TempPath("A.WDL"), 1);
  SetCurrentList(list);
  bench::VirtualCd cd(kDiscOne);
  Run();
  ASSERT_TRUE(modals_.Records().empty());

  cd.Insert(kDiscOneAlike);  // only the milliseconds differ: no question
  Run();
  EXPECT_TRUE(modals_.Records().empty());

  cd.Insert(kDiscTwo);
  modals_.AnswerMessageBox(IDYES);
  Run();
  ExpectMessage(0, IDS_ASK_SAME_LIST_NEW_CD, MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2);
  EXPECT_EQ(Catalog(),
            "WDv1.0\r\n" + EntryFor(kDiscOne, list) + EntryFor(kDiscOneAlike, list) + EntryFor(kDiscTwo, list));

  // After a restart nothing was cataloged in this run: no question.
  LastCataloged() = CatalogedList();
  DeleteFileA("WD_CD.DAT");
  cd.Insert(kDiscOne);
  Run();
  EXPECT_EQ(modals_.Records().size(), 1u);
}

TEST_F(CdCatalogTest, NoToTheQuestionStartsANewListInsteadOfCataloging) {
  std::string list = WriteList(bench::TempPath("A.WDL"), 1);
  SetCurrentList(list);
  bench::VirtualCd cd(kDiscOne);
  Run();
  std::string catalog = Catalog();

  cd.Insert(kDiscTwo);
  ShowStatusString(IDS_STATUS_READY);
  modals_.AnswerMessageBox(IDNO);   // the same list for this CD?
  modals_.AnswerMessageBox(IDYES);  // fill the new list from the CD?
  Run();
  ASSERT_EQ(modals_.Records().size(), 2u);
  ExpectMessage(1, IDS_ASK_FILL_FROM_CD, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(Catalog(), catalog);
  EXPECT_EQ(host_.objects().FileName(), "");  // New ran
  auto posted = host_.TakePostedCommands();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].first, IDM_OPT_ADD_ALL_CD_TRACKS);
  EXPECT_EQ(LastCataloged().path, list);
  EXPECT_NE(host_.StatusText(), LanguageString(IDS_CD_CATALOGED)) << "said cataloged after No";
}

// A catalog that cannot be written (a folder has its name): the failure is
// said, and the status bar does not claim an entry.
TEST_F(CdCatalogTest, AFailedWriteIsReportedNotCalledCataloged) {
  std::string blocked = catalogFolder_ + "\\WD_CD.DAT";
  ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
  SetCurrentList(WriteList(bench::TempPath("A.WDL"), 1));
  bench::VirtualCd cd(kDiscOne);
  ShowStatusString(IDS_STATUS_READY);
  modals_.AnswerMessageBox(IDOK);
  Run();
  RemoveDirectoryA(blocked.c_str());
  ASSERT_EQ(modals_.Records().size(), 1u);
  EXPECT_TRUE(bench::SaysCannotWrite(modals_.Records()[0].text, "WD_CD.DAT")) << modals_.Records()[0].text;
  EXPECT_EQ(modals_.Records()[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(host_.StatusText(), LanguageString(IDS_STATUS_READY));
}

TEST_F(CdCatalogTest, NothingToCatalogOffersToFillTheListFromTheCd) {
  bench::VirtualCd cd(kDiscOne);
  modals_.AnswerMessageBox(IDOK);
  modals_.AnswerMessageBox(IDNO);
  Run();
  ExpectMessage(0, IDS_NOTHING_TO_CATALOG, MB_ICONEXCLAMATION);
  ExpectMessage(1, IDS_ASK_FILL_FROM_CD, MB_YESNO | MB_ICONQUESTION);
  EXPECT_TRUE(host_.TakePostedCommands().empty());
  EXPECT_EQ(GetFileAttributesA("WD_CD.DAT"), INVALID_FILE_ATTRIBUTES);
}

// A damaged catalog is said, and no entry is added to it: none could ever
// be found there, and the status bar would claim one.
TEST_F(CdCatalogTest, ADamagedCatalogIsReportedAndLeftAsItIs) {
  ASSERT_TRUE(bench::WriteFileBytes(catalogFolder_ + "\\WD_CD.DAT", "WDv0.9\r\n1 2 X.WDL"));
  std::string list = WriteList(bench::TempPath("A.WDL"), 1);
  SetCurrentList(list);
  bench::VirtualCd cd(kDiscOne);
  ShowStatusString(IDS_STATUS_READY);
  modals_.AnswerMessageBox(IDOK);
  Run();
  ASSERT_EQ(modals_.Records().size(), 1u);
  ExpectMessage(0, IDS_CATALOG_DAMAGED, MB_ICONEXCLAMATION);
  EXPECT_EQ(Catalog(), "WDv0.9\r\n1 2 X.WDL");
  EXPECT_EQ(host_.StatusText(), LanguageString(IDS_STATUS_READY));
}

// A new entry is never joined to a last line added by hand without its
// line end.
TEST_F(CdCatalogTest, ANewEntryStartsOnALineOfItsOwn) {
  ASSERT_TRUE(bench::WriteFileBytes(catalogFolder_ + "\\WD_CD.DAT", "WDv1.0\r\n1 2 X.WDL"));
  std::string list = WriteList(bench::TempPath("A.WDL"), 1);
  SetCurrentList(list);
  bench::VirtualCd cd(kDiscOne);
  Run();
  EXPECT_EQ(Catalog(), "WDv1.0\r\n1 2 X.WDL\r\n" + EntryFor(kDiscOne, list));
}

TEST_F(CdCatalogTest, CancelAtTheSaveQuestionChangesNothing) {
  std::string cataloged = WriteList(bench::TempPath("A.WDL"), 2);
  ASSERT_TRUE(bench::WriteFileBytes(catalogFolder_ + "\\WD_CD.DAT", "WDv1.0\r\n" + EntryFor(kDiscOne, cataloged)));
  std::string current = WriteList(bench::TempPath("CURRENT.WDL"), 3);
  LoadListFile(host_.objects(), current.c_str(), ListLoadOpen);
  host_.objects().SetModified(true);
  bench::SelectRow(host_.list(), 2);
  std::string catalog = Catalog();
  bench::VirtualCd cd(kDiscOne);

  modals_.AnswerMessageBox(IDCANCEL);
  Run();
  ExpectMessage(0, IDS_ASK_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION);
  EXPECT_EQ(host_.Count(), 3);
  EXPECT_EQ(host_.Selected(), 2);
  EXPECT_STREQ(host_.objects().FileName().c_str(), current.c_str());
  EXPECT_TRUE(host_.objects().Modified());
  EXPECT_EQ(Catalog(), catalog);
}

TEST_F(CdCatalogTest, YesAtTheSaveQuestionSavesThenOpensTheCatalogedList) {
  std::string cataloged = WriteList(bench::TempPath("A.WDL"), 2);
  ASSERT_TRUE(bench::WriteFileBytes(catalogFolder_ + "\\WD_CD.DAT", "WDv1.0\r\n" + EntryFor(kDiscOne, cataloged)));
  std::string unsaved = Upper(bench::TempPath("UNSAVED.WDL"));
  LoadListFile(host_.objects(), WriteList(bench::TempPath("START.WDL"), 3).c_str(), ListLoadOpen);
  SetCurrentList(unsaved);  // a file not written yet, so saving asks nothing more
  host_.objects().SetModified(true);
  bench::VirtualCd cd(kDiscOne);

  modals_.AnswerMessageBox(IDYES);
  Run();
  EXPECT_EQ(bench::ReadFileBytes(unsaved).rfind("WDv1.0", 0), 0u) << "the list was not saved";
  EXPECT_EQ(host_.Count(), 2);
  EXPECT_STREQ(host_.objects().FileName().c_str(), cataloged.c_str());
  EXPECT_FALSE(host_.objects().Modified());
}

TEST_F(CdCatalogTest, WithoutADiscOrADriveTheCommandOnlyReportsIt) {
  SetCurrentList(WriteList(bench::TempPath("A.WDL"), 1));
  modals_.AnswerMessageBox(IDOK);
  Run();  // no drive
  {
    bench::VirtualCd cd("");
    modals_.AnswerMessageBox(IDOK);
    Run();  // no disc
  }
  ASSERT_EQ(modals_.Records().size(), 2u);
  ExpectMessage(0, IDS_NO_CD, MB_ICONEXCLAMATION);
  ExpectMessage(1, IDS_NO_CD, MB_ICONEXCLAMATION);
  EXPECT_EQ(GetFileAttributesA("WD_CD.DAT"), INVALID_FILE_ATTRIBUTES);

  // Nor does anything happen while something plays.
  bench::VirtualCd cd(kDiscOne);
  g_playback.playing = 1;
  Run();
  g_playback.playing = 0;
  EXPECT_EQ(GetFileAttributesA("WD_CD.DAT"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

// Paths in any script: an entry is written in UTF-8 and found again; an
// entry written by earlier versions in code page 1252 is read from it.
TEST_F(CdCatalogTest, PathsAreWrittenInUtf8AndLegacyEntriesReadFromTheirCodePage) {
  std::string greek = WriteList(bench::TempPath("Ωδές 🎵.wdl"), 2);
  SetCurrentList(greek);
  {
    bench::VirtualCd cd(kDiscOne);
    Run();
  }
  EXPECT_EQ(Catalog(), "WDv1.0\r\n" + EntryFor(kDiscOne, greek));  // the path's UTF-8 bytes
  host_.objects().SetFile("", false);
  {
    bench::VirtualCd cd(kDiscOne);
    Run();
  }
  EXPECT_EQ(host_.Count(), 2);
  EXPECT_STREQ(host_.objects().FileName().c_str(), greek.c_str());

  // "CAFÉ.WDL" as earlier versions wrote it: É as the single byte 0xC9.
  std::string cafe = WriteList(catalogFolder_ + "\\Café.wdl", 3);
  std::string legacyEntry = EntryFor(kDiscTwo, "CAF\xC9.WDL");
  ASSERT_TRUE(bench::WriteFileBytes(catalogFolder_ + "\\WD_CD.DAT", "WDv1.0\r\n" + legacyEntry));
  g_settings.preferenceFlags = 0;
  host_.objects().SetFile("", false);
  bench::VirtualCd cd(kDiscTwo);
  Run();
  EXPECT_EQ(host_.Count(), 3);
  EXPECT_EQ(lstrcmpiA(host_.objects().FileName().c_str(), cafe.c_str()), 0) << host_.objects().FileName();
  EXPECT_TRUE(modals_.Records().empty());
  DeleteFileA(cafe.c_str());
}
