#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "bench/list_host.h"
#include "bench/memory_seam.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "object_fields.h"
#include "state/main_window_state.h"

namespace {

std::string Text(HLOCAL block) {
  char text[1024];
  if (!block || !CopyTextBlock(block, text, sizeof text)) return "<none>";
  return text;
}

std::string Playing(SoundObjectHandle handle) {
  LockedBlock<SoundObject> record(handle);
  char text[512];
  PlayingText(*record, text, sizeof text);
  return text;
}

std::string Formatted(UINT id, unsigned value) {
  char text[256];
  snprintf(text, sizeof text, bench::LanguageString(id).c_str(), value);
  return text;
}

class SoundObjectTest : public testing::Test {
 protected:
  SoundObjectHandle Fill(uint32_t kind, BOOL useDefaults = FALSE, const char* path = nullptr) {
    SoundObjectHandle handle = AllocSoundObject();
    EXPECT_EQ(FillSoundObject(fields_.window(), handle, kind, useDefaults, path), 1);
    return handle;
  }
  bench::ListHost host_;
  ObjectFields fields_;
  bench::MemorySeam memory_;
};

TEST_F(SoundObjectTest, FileObjectTakesTheDialogFieldsWithAnUpperCasePath) {
  fields_.Set(IDC_SOUND_FILE, "c:\\music\\song.wav");
  fields_.Set(IDC_REPEAT_COUNT, "2");
  fields_.Set(IDC_POST_DELAY, "5");
  SoundObjectHandle handle = Fill(Wave);
  {
    LockedBlock<SoundObject> record(handle);
    EXPECT_EQ(record->flags, static_cast<uint32_t>(Wave));
    EXPECT_EQ(record->bitmap, g_state.kindBitmaps[0]);
    EXPECT_EQ(Text(record->fileName), "C:\\MUSIC\\SONG.WAV");
    EXPECT_EQ(record->description, nullptr);  // empty control: no description
    EXPECT_EQ(record->repeatCount, 2u);
    EXPECT_EQ(record->postDelay, 5u);
    EXPECT_EQ(record->trackNumber, 0);
  }
  EXPECT_EQ(Playing(handle), "C:\\MUSIC\\SONG.WAV");  // announced by path, not description
  EXPECT_EQ(FreeSoundObject(handle), 0);
  EXPECT_EQ(memory_.LiveBlocks(), 0);
}

TEST_F(SoundObjectTest, UseDefaultsTakesThePathAndZeroCounts) {
  fields_.Set(IDC_DESCRIPTION, "ignored");
  fields_.Set(IDC_REPEAT_COUNT, "9");
  SoundObjectHandle handle = Fill(Video, TRUE, "c:\\clip.avi");
  {
    LockedBlock<SoundObject> record(handle);
    EXPECT_EQ(Text(record->fileName), "C:\\CLIP.AVI");
    EXPECT_EQ(record->description, nullptr);
    EXPECT_EQ(record->repeatCount, 0u);
    EXPECT_EQ(record->bitmap, g_state.kindBitmaps[4]);
  }
  FreeSoundObject(handle);
}

TEST_F(SoundObjectTest, CdTrackKeepsTheLowEightBitsAndIgnoresUseDefaults) {
  fields_.Set(IDC_TRACK_NUMBER, "263");
  fields_.Set(IDC_SOUND_FILE, "C:\\X.WAV");
  SoundObjectHandle handle = Fill(CdTrack, TRUE, "C:\\DEFAULT.WAV");
  {
    LockedBlock<SoundObject> record(handle);
    EXPECT_EQ(record->trackNumber, 7);
    EXPECT_EQ(record->fileName, nullptr);
    EXPECT_EQ(record->bitmap, g_state.kindBitmaps[3]);  // Pause comes before CdTrack
  }
  EXPECT_EQ(Playing(handle), "Track:7");
  FreeSoundObject(handle);

  fields_.Set(IDC_DESCRIPTION, "Overture");
  handle = Fill(CdTrack);
  EXPECT_EQ(Playing(handle), "Overture");
  FreeSoundObject(handle);
}

TEST_F(SoundObjectTest, PauseIsLabelledWithItsDuration) {
  fields_.Set(IDC_PAUSE_DURATION, "0");
  fields_.Set(IDC_REPEAT_COUNT, "4");
  SoundObjectHandle handle = Fill(Pause, TRUE, "C:\\DEFAULT.WAV");
  {
    LockedBlock<SoundObject> record(handle);
    EXPECT_EQ(Text(record->fileName), Formatted(IDS_FMT_COUNTDOWN, 0));
    EXPECT_EQ(record->postDelay, 0u);
    EXPECT_EQ(record->repeatCount, 0u);
    EXPECT_EQ(record->description, nullptr);
    EXPECT_EQ(record->bitmap, g_state.kindBitmaps[2]);
  }
  FreeSoundObject(handle);

  fields_.Set(IDC_PAUSE_DURATION, "5000");  // taken as typed
  handle = Fill(Pause);
  {
    LockedBlock<SoundObject> record(handle);
    EXPECT_EQ(record->postDelay, 5000u);
  }
  EXPECT_EQ(Playing(handle), Formatted(IDS_FMT_PAUSE_PLAYING, 5000));
  FreeSoundObject(handle);
}

TEST_F(SoundObjectTest, AssigningAKindKeepsBitsFiveToFifteenOnly) {
  SoundObjectHandle handle = AllocSoundObject();
  {
    LockedBlock<SoundObject> record(handle);
    record->flags = 0xFFFFFFFF;
  }
  ASSERT_EQ(FillSoundObject(fields_.window(), handle, 0x40, FALSE, nullptr), 1);  // no such kind
  {
    LockedBlock<SoundObject> record(handle);
    EXPECT_EQ(record->flags, 0x0000FFE0u | 0x40u);
    EXPECT_EQ(record->bitmap, nullptr);
  }
  EXPECT_EQ(Playing(handle), "Untitled");  // a file-like object without a name
  FreeSoundObject(handle);
}

TEST_F(SoundObjectTest, FailedTextAllocationReleasesTheRecord) {
  fields_.Set(IDC_SOUND_FILE, "C:\\A.WAV");
  fields_.Set(IDC_DESCRIPTION, "first text succeeds");
  SoundObjectHandle handle = AllocSoundObject();
  memory_.FailAllocation(2);  // the description is allocated, the file name is not
  EXPECT_EQ(FillSoundObject(fields_.window(), handle, Wave, FALSE, nullptr), 0);
  EXPECT_EQ(memory_.LiveBlocks(), 0);
}

TEST_F(SoundObjectTest, FreeReportsAFailedRelease) {
  fields_.Set(IDC_SOUND_FILE, "C:\\A.WAV");
  fields_.Set(IDC_DESCRIPTION, "text");
  SoundObjectHandle handle = Fill(Wave);
  memory_.FailRelease(1);  // the description
  EXPECT_NE(FreeSoundObject(handle), 0);
  EXPECT_EQ(FreeSoundObject(handle), 0);  // nothing else was released: a retry frees all
  EXPECT_EQ(memory_.LiveBlocks(), 0);
  EXPECT_NE(FreeSoundObject(nullptr), 0);
}

TEST_F(SoundObjectTest, ShowInDialogCopiesTheFieldsOfTheListItem) {
  fields_.Set(IDC_SOUND_FILE, "C:\\A.MID");
  fields_.Set(IDC_DESCRIPTION, "Theme");
  fields_.Set(IDC_REPEAT_COUNT, "3");
  fields_.Set(IDC_POST_DELAY, "12");
  ASSERT_EQ(InsertSoundObject(fields_.window(), Midi, -1, InsertAppend, FALSE, nullptr), 0);
  fields_.Set(IDC_TRACK_NUMBER, "4");
  ASSERT_EQ(InsertSoundObject(fields_.window(), CdTrack, -1, InsertAppend, FALSE, nullptr), 1);

  ObjectFields shown;
  ShowSoundObjectInDialog(shown.window(), 0, kFileObjectDialog);
  EXPECT_EQ(shown.Get(IDC_SOUND_FILE), "C:\\A.MID");
  EXPECT_EQ(shown.Get(IDC_DESCRIPTION), "Theme");
  EXPECT_EQ(shown.Get(IDC_REPEAT_COUNT), "3");
  EXPECT_EQ(shown.Get(IDC_POST_DELAY), "12");

  ObjectFields track;
  ShowSoundObjectInDialog(track.window(), 1, kCdTrackDialog);
  EXPECT_EQ(track.Get(IDC_TRACK_NUMBER), "4");
  EXPECT_EQ(track.Get(IDC_SOUND_FILE), "");

  ObjectFields none;
  ShowSoundObjectInDialog(none.window(), 7, kFileObjectDialog);  // no such item
  EXPECT_EQ(none.Get(IDC_REPEAT_COUNT), "");
}

}  // namespace
