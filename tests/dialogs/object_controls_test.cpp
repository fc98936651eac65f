// A Sound Object and its dialog's controls: filling a record from them,
// showing one in them, and putting the object a dialog made into the list
// where the insertion method says, or in place of the one modified.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/memory_seam.h"
#include "bench/modal_script.h"
#include "bench/object_fields.h"
#include "bench/test_env.h"
#include "dialogs/object_controls.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "resources/ids.h"
#include "settings/settings_record.h"
#include "support/language.h"

namespace {

std::string Text(HLOCAL block) {
  char text[1024];
  if (!block || !CopyTextBlock(block, text, sizeof text)) return "<none>";
  return text;
}

std::vector<std::string> Names(const ObjectList& list) {
  std::vector<std::string> names;
  for (int i = 0; i < list.Count(); ++i) {
    LockedBlock<SoundObject> record(list.At(i));
    names.push_back(Text(record->fileName));
  }
  return names;
}

class ObjectControlsTest : public testing::Test {
 protected:
  void SetUp() override { SetLanguageModule(bench::LanguageModule()); }
  void TearDown() override {
    list_.Clear();
    EXPECT_EQ(memory_.LiveBlocks(), 0);
  }
  SoundObjectHandle Fill(uint32_t kind, SoundObjectHandle previous = nullptr) {
    SoundObjectHandle handle = AllocSoundObject();
    EXPECT_EQ(FillSoundObject(fields_.window(), list_, handle, kind, previous), 1);
    return handle;
  }
  int Add(const std::string& name, int method = InsertAppend, int selected = -1) {
    fields_.Set(IDC_SOUND_FILE, name);
    return InsertSoundObject(fields_.window(), list_, Wave, -1, method, selected);
  }
  bench::MemorySeam memory_;
  ObjectList list_;
  ObjectFields fields_;
};

TEST_F(ObjectControlsTest, EachKindTakesItsOwnFields) {
  fields_.Set(IDC_SOUND_FILE, "c:\\music\\song.wav");
  fields_.Set(IDC_REPEAT_COUNT, "2");
  fields_.Set(IDC_POST_DELAY, "5");
  fields_.Set(IDC_TRACK_NUMBER, "263");
  fields_.Set(IDC_PAUSE_DURATION, "0");
  SoundObjectHandle file = Fill(Wave), track = Fill(CdTrack), pause = Fill(Pause);
  {
    LockedBlock<SoundObject> record(file);
    EXPECT_EQ(record->flags, static_cast<uint32_t>(Wave));
    EXPECT_EQ(Text(record->fileName), "C:\\MUSIC\\SONG.WAV");  // upper-cased
    EXPECT_EQ(record->description, nullptr);                   // an empty control: none
    EXPECT_EQ(record->repeatCount, 2u);
    EXPECT_EQ(record->postDelay, 5u);
    LockedBlock<SoundObject> cd(track);
    EXPECT_EQ(cd->trackNumber, 7);  // the low eight bits
    EXPECT_EQ(cd->fileName, nullptr);
    LockedBlock<SoundObject> quiet(pause);
    char label[64];
    snprintf(label, sizeof label, bench::LanguageString(IDS_FMT_COUNTDOWN).c_str(), 0u);
    EXPECT_EQ(Text(quiet->fileName), label);
    EXPECT_EQ(quiet->repeatCount, 0u);
  }
  for (SoundObjectHandle handle : {file, track, pause}) FreeSoundObject(handle);

  // A kind assigned keeps bits 5 to 15 of what the record held.
  SoundObjectHandle handle = AllocSoundObject();
  {
    LockedBlock<SoundObject> record(handle);
    record->flags = 0xFFFFFFFF;
  }
  ASSERT_EQ(FillSoundObject(fields_.window(), list_, handle, 0x40, nullptr), 1);
  {
    LockedBlock<SoundObject> record(handle);
    EXPECT_EQ(record->flags, 0x0000FFE0u | 0x40u);
  }
  FreeSoundObject(handle);
}

TEST_F(ObjectControlsTest, AFailedTextAllocationReleasesTheRecord) {
  fields_.Set(IDC_SOUND_FILE, "C:\\A.WAV");
  fields_.Set(IDC_DESCRIPTION, "first text succeeds");
  SoundObjectHandle handle = AllocSoundObject();
  memory_.FailAllocation(2);  // the description is allocated, the file name is not
  EXPECT_EQ(FillSoundObject(fields_.window(), list_, handle, Wave, nullptr), 0);
}

TEST_F(ObjectControlsTest, InsertionMethodsPlaceTheNewObject) {
  EXPECT_EQ(Add("B.WAV", InsertAtCurrent), 0);  // nothing selected: the top
  EXPECT_EQ(Add("D.WAV"), 1);
  EXPECT_EQ(Add("A.WAV", InsertAtTop), 0);
  EXPECT_EQ(Add("C.WAV", InsertAtCurrent, 2), 2);  // before the selected object
  EXPECT_EQ(Names(list_), (std::vector<std::string>{"A.WAV", "B.WAV", "C.WAV", "D.WAV"}));
  EXPECT_TRUE(list_.Modified());
}

TEST_F(ObjectControlsTest, ModifyReplacesInPlaceAndAnUnchangedNameKeepsItsFolder) {
  // An object whose name is relative to the folder of the list it came
  // from; the list is now saved elsewhere.
  list_.SetFile("D:\\OLD\\LIST.WDL", true);
  Add("SONG.WAV");
  Add("B.WAV");
  list_.SetFile("E:\\NEW\\LIST.WDL", true);
  const uint16_t oldFolder = list_.FolderOfFile("D:\\OLD\\LIST.WDL");

  ShowSoundObjectInDialog(fields_.window(), list_, 0, kFileObjectDialog);
  EXPECT_EQ(fields_.Get(IDC_SOUND_FILE), "SONG.WAV");
  fields_.Set(IDC_DESCRIPTION, "Renamed");
  // What the program set is no change of the user's: the name still finds
  // the same file.
  SendDlgItemMessageA(fields_.window(), IDC_SOUND_FILE, EM_SETMODIFY, FALSE, 0);
  ASSERT_EQ(InsertSoundObject(fields_.window(), list_, Wave, 0, InsertAppend, -1), 0);
  {
    LockedBlock<SoundObject> record(list_.At(0));
    EXPECT_EQ(Text(record->description), "Renamed");
    EXPECT_EQ(record->baseFolder, oldFolder);
  }
  // A name the user typed anew is relative to where the list is now.
  SendDlgItemMessageA(fields_.window(), IDC_SOUND_FILE, EM_SETMODIFY, TRUE, 0);
  ASSERT_EQ(InsertSoundObject(fields_.window(), list_, Wave, 0, InsertAppend, -1), 0);
  {
    LockedBlock<SoundObject> record(list_.At(0));
    EXPECT_EQ(list_.Folder(record->baseFolder), "E:\\NEW");
  }
  EXPECT_EQ(list_.Count(), 2);
}

TEST_F(ObjectControlsTest, OutOfMemoryForARecordIsSaidAndChangesNothing) {
  Add("A.WAV");
  list_.SetModified(false);
  bench::ModalScript modals;
  modals.AnswerMessageBox(IDOK);
  memory_.FailAllocation(1);
  EXPECT_EQ(Add("B.WAV"), -1);
  ASSERT_EQ(modals.Records().size(), 1u);
  EXPECT_EQ(modals.Records()[0].text, bench::LanguageString(IDS_OUT_OF_MEMORY));
  EXPECT_EQ(modals.Records()[0].owner, fields_.window());
  EXPECT_EQ(list_.Count(), 1);
  EXPECT_FALSE(list_.Modified());
}

TEST_F(ObjectControlsTest, ShowInDialogCopiesTheFieldsOfTheObject) {
  fields_.Set(IDC_SOUND_FILE, "C:\\A.MID");
  fields_.Set(IDC_DESCRIPTION, "Theme");
  fields_.Set(IDC_REPEAT_COUNT, "3");
  fields_.Set(IDC_POST_DELAY, "12");
  ASSERT_EQ(InsertSoundObject(fields_.window(), list_, Midi, -1, InsertAppend, -1), 0);
  fields_.Set(IDC_TRACK_NUMBER, "4");
  ASSERT_EQ(InsertSoundObject(fields_.window(), list_, CdTrack, -1, InsertAppend, -1), 1);

  ObjectFields shown;
  ShowSoundObjectInDialog(shown.window(), list_, 0, kFileObjectDialog);
  EXPECT_EQ(shown.Get(IDC_SOUND_FILE), "C:\\A.MID");
  EXPECT_EQ(shown.Get(IDC_DESCRIPTION), "Theme");
  EXPECT_EQ(shown.Get(IDC_REPEAT_COUNT), "3");
  EXPECT_EQ(shown.Get(IDC_POST_DELAY), "12");
  ObjectFields track;
  ShowSoundObjectInDialog(track.window(), list_, 1, kCdTrackDialog);
  EXPECT_EQ(track.Get(IDC_TRACK_NUMBER), "4");
  ObjectFields none;
  ShowSoundObjectInDialog(none.window(), list_, 7, kFileObjectDialog);  // no such object
  EXPECT_EQ(none.Get(IDC_REPEAT_COUNT), "");
}

}  // namespace
