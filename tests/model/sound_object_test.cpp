// The Sound Object record without any window: how it is announced and
// shown, how it is stored and freed when memory runs out.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "bench/memory_seam.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/sound_object.h"
#include "resources/ids.h"
#include "support/language.h"

namespace {

std::string Text(HLOCAL block) {
  char text[1024];
  if (!block || !CopyTextBlock(block, text, sizeof text)) return "<none>";
  return text;
}

SoundObjectHandle Make(uint32_t flags, const char* description, const char* fileName, uint8_t track = 0,
                       uint32_t delay = 0) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  values.flags = flags;
  values.trackNumber = track;
  values.postDelay = delay;
  std::string_view descriptionText = description ? description : "";
  std::string_view fileText = fileName ? fileName : "";
  EXPECT_TRUE(
      StoreSoundObject(handle, values, description ? &descriptionText : nullptr, fileName ? &fileText : nullptr));
  return handle;
}

std::string Playing(SoundObjectHandle handle) {
  LockedBlock<SoundObject> record(handle);
  char text[512];
  PlayingText(*record, text, sizeof text);
  return text;
}

std::string Row(SoundObjectHandle handle) {
  LockedBlock<SoundObject> record(handle);
  char text[512];
  ObjectRowText(*record, text, sizeof text);
  return text;
}

class SoundObjectTest : public testing::Test {
 protected:
  void SetUp() override { SetLanguageModule(bench::LanguageModule()); }
  void TearDown() override {
    for (SoundObjectHandle handle : made_) FreeSoundObject(handle);
    EXPECT_EQ(memory_.LiveBlocks(), 0);
  }
  SoundObjectHandle Keep(SoundObjectHandle handle) {
    made_.push_back(handle);
    return handle;
  }
  bench::MemorySeam memory_;
  std::vector<SoundObjectHandle> made_;
};

// A file is announced by its path, not its description; a track by its
// description or its number; a Pause by its duration; a nameless file as
// untitled. A row shows the description first.
TEST_F(SoundObjectTest, EachKindIsAnnouncedAndShownByItsOwnText) {
  SoundObjectHandle song = Keep(Make(Wave, "Bells", "C:\\MUSIC\\SONG.WAV"));
  EXPECT_EQ(Playing(song), "C:\\MUSIC\\SONG.WAV");
  EXPECT_EQ(Row(song), "Bells");
  SoundObjectHandle plain = Keep(Make(Midi, nullptr, "C:\\A.MID"));
  EXPECT_EQ(Row(plain), "C:\\A.MID");
  SoundObjectHandle track = Keep(Make(CdTrack, nullptr, nullptr, 7));
  EXPECT_EQ(Playing(track), "Track:7");
  EXPECT_EQ(Row(track), "Track:7");
  EXPECT_EQ(Playing(Keep(Make(CdTrack, "Overture", nullptr, 7))), "Overture");
  SoundObjectHandle pause = Keep(Make(Pause, nullptr, "Pause 5 sec.", 0, 5000));
  char expected[128];
  snprintf(expected, sizeof expected, bench::LanguageString(IDS_FMT_PAUSE_PLAYING).c_str(), 5000u);
  EXPECT_EQ(Playing(pause), expected);
  EXPECT_EQ(Playing(Keep(Make(Wave, nullptr, nullptr))), bench::LanguageString(IDS_UNTITLED));
  EXPECT_EQ(Playing(Keep(Make(Wave, nullptr, ""))), bench::LanguageString(IDS_UNTITLED));
}

TEST_F(SoundObjectTest, AFileObjectIsRelativeToAFolderOnlyWhenItsNameHasNone) {
  SoundObjectHandle relative = Keep(MakeFileObject(Wave, "SONG.WAV", 3));
  SoundObjectHandle full = Keep(MakeFileObject(Video, "C:\\CLIP.AVI", 3));
  LockedBlock<SoundObject> one(relative), two(full);
  EXPECT_EQ(one->baseFolder, 3);
  EXPECT_EQ(two->baseFolder, 0);
  EXPECT_EQ(two->flags, static_cast<uint32_t>(Video));
  EXPECT_EQ(two->description, nullptr);
  EXPECT_EQ(two->repeatCount, 0u);
  EXPECT_EQ(Text(two->fileName), "C:\\CLIP.AVI");
}

TEST_F(SoundObjectTest, AFailedTextAllocationReleasesTheRecord) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  std::string_view description("first text succeeds"), name("C:\\A.WAV");
  memory_.FailAllocation(2);  // the description is allocated, the file name is not
  EXPECT_FALSE(StoreSoundObject(handle, values, &description, &name));
  memory_.FailAllocation(1);
  EXPECT_EQ(MakeFileObject(Wave, "C:\\A.WAV", 0), nullptr);
}

TEST_F(SoundObjectTest, FreeReportsAFailedRelease) {
  SoundObjectHandle handle = Make(Wave, "text", "C:\\A.WAV");
  memory_.FailRelease(1);  // the description
  EXPECT_NE(FreeSoundObject(handle), 0);
  EXPECT_EQ(FreeSoundObject(handle), 0);  // nothing else was released: a retry frees all
  EXPECT_NE(FreeSoundObject(nullptr), 0);
}

TEST_F(SoundObjectTest, APlayResultIsNotedOnlyWhenItChanges) {
  SoundObjectHandle handle = Keep(Make(Wave, nullptr, "C:\\A.WAV"));
  EXPECT_TRUE(NotePlayResult(handle, true));
  EXPECT_FALSE(NotePlayResult(handle, true));
  EXPECT_TRUE(NotePlayResult(handle, false));
  EXPECT_FALSE(NotePlayResult(nullptr, true));
}

}  // namespace
