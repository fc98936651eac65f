#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "bench/list_host.h"
#include "bench/memory_seam.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "resources/ids.h"
#include "support/control_library.h"
#include "object_fields.h"
#include "settings/settings.h"
#include "state/main_window_state.h"

namespace {

class ObjectListTest : public testing::Test {
 protected:
  void SetUp() override {
    g_mediaCaps = WaveAudio | MidiAudio | AviVideo;
    g_settings.confirmFlags = ConfirmObjectDelete;
  }

  // Appends a WAV object whose path names it.
  int Add(const std::string& path, int method = InsertAppend) {
    fields_.Set(IDC_SOUND_FILE, path);
    return InsertSoundObject(fields_.window(), Wave, -1, method, FALSE, nullptr);
  }

  std::string PathAt(int index) {
    LockedBlock<SoundObject> record(ObjectAt(index));
    char text[512] = "";
    if (record && record->fileName) CopyTextBlock(record->fileName, text, sizeof text);
    return text;
  }

  std::vector<std::string> Paths() {
    std::vector<std::string> paths;
    for (int i = 0; i < host_.Count(); ++i) {
      paths.push_back(PathAt(i));
      // Each row's string, what screen readers read, follows its object
      // through every insertion, replacement, move and removal.
      char row[600] = "";
      SendMessageA(host_.list(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
      EXPECT_EQ(row, paths.back()) << "row " << i;
    }
    return paths;
  }

  void Select(int index) { SendMessageA(host_.list(), LB_SETCURSEL, index, 0); }

  bench::ListHost host_;
  ObjectFields fields_;
  bench::MemorySeam memory_;
};

using Names = std::vector<std::string>;

TEST_F(ObjectListTest, InsertionMethodsPlaceTheNewItem) {
  EXPECT_EQ(Add("B.WAV", InsertAtCurrent), 0);  // nothing selected: the top
  EXPECT_EQ(Add("D.WAV"), 1);
  EXPECT_EQ(Add("A.WAV", InsertAtTop), 0);
  Select(2);
  EXPECT_EQ(Add("C.WAV", InsertAtCurrent), 2);  // before the selected item
  EXPECT_EQ(Paths(), (Names{"A.WAV", "B.WAV", "C.WAV", "D.WAV"}));
  EXPECT_EQ(host_.Selected(), 3);  // the selection stays on its item
  EXPECT_EQ(g_state.listModified, 1);
}

TEST_F(ObjectListTest, ReplacingAnItemFreesTheOldObjectInPlace) {
  for (const char* name : {"A.WAV", "B.WAV", "C.WAV", "D.WAV", "E.WAV"}) Add(name);
  g_state.listModified = 0;
  int before = memory_.LiveBlocks();
  SoundObjectHandle old = ObjectAt(3);
  fields_.Set(IDC_SOUND_FILE, "NEW.MID");
  EXPECT_EQ(InsertSoundObject(fields_.window(), Midi, 3, InsertAppend, FALSE, nullptr), 3);
  EXPECT_EQ(Paths(), (Names{"A.WAV", "B.WAV", "C.WAV", "NEW.MID", "E.WAV"}));
  EXPECT_NE(ObjectAt(3), old);
  EXPECT_EQ(memory_.LiveBlocks(), before);  // one record and one text out, as many in
  EXPECT_EQ(g_state.listModified, 1);
}

TEST_F(ObjectListTest, OutOfMemoryForARecordIsReportedAndChangesNothing) {
  Add("A.WAV");
  g_state.listModified = 0;
  int before = memory_.LiveBlocks();
  bench::ModalScript modals;
  modals.AnswerMessageBox(IDOK);
  memory_.FailAllocation(1);
  EXPECT_EQ(Add("B.WAV"), -1);
  ASSERT_EQ(modals.Records().size(), 1u);
  EXPECT_EQ(modals.Records()[0].text, bench::LanguageString(IDS_OUT_OF_MEMORY));
  EXPECT_EQ(modals.Records()[0].title, "Wendle");
  EXPECT_EQ(modals.Records()[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(modals.Records()[0].owner, fields_.window());
  EXPECT_EQ(host_.Count(), 1);
  EXPECT_EQ(g_state.listModified, 0);
  EXPECT_EQ(memory_.LiveBlocks(), before);
}

TEST_F(ObjectListTest, OutOfMemoryForATextInsertsNothingSilently) {
  bench::ModalScript modals;
  memory_.FailAllocation(2);  // the file name's block
  EXPECT_EQ(Add("A.WAV"), -1);
  EXPECT_TRUE(modals.Records().empty());
  EXPECT_EQ(host_.Count(), 0);
  EXPECT_EQ(memory_.LiveBlocks(), 0);
}

TEST_F(ObjectListTest, DroppedFilesAreAddedWhenTheirDeviceExists) {
  int added = 0;
  for (const char* path : {"C:\\A.WAV", "C:\\B.WAV", "C:\\README.TXT", "C:\\C.WAV"}) added += AddFileObject(path);
  EXPECT_EQ(added, 3);
  EXPECT_EQ(Paths(), (Names{"C:\\A.WAV", "C:\\B.WAV", "C:\\C.WAV"}));

  g_mediaCaps = AviVideo;  // no waveaudio, so no MIDI either
  EXPECT_EQ(AddFileObject("C:\\SONG.MID"), 0);
  EXPECT_EQ(AddFileObject("C:\\D.WAV"), 0);
  EXPECT_EQ(AddFileObject("C:\\CLIP.AVI"), 1);
  LockedBlock<SoundObject> record(ObjectAt(3));
  EXPECT_EQ(record->flags, static_cast<uint32_t>(Video));
  EXPECT_EQ(record->description, nullptr);
  EXPECT_EQ(record->repeatCount, 0u);
}

TEST_F(ObjectListTest, DroppedAudioFilesAreAddedWhenTheirDeviceWasFound) {
  g_mediaCaps = WaveAudio | MidiAudio;  // the audio file device not (yet) found
  EXPECT_EQ(AddFileObject("C:\\SONG.MP3"), 0);
  g_mediaCaps = WaveAudio | MidiAudio | AudioFiles;
  int added = 0;
  for (const char* path : {"C:\\SONG.MP3", "D:\\B.Flac", "C:\\NOTES.OPUS.TXT", "E:\\C.m4a"})
    added += AddFileObject(path);
  EXPECT_EQ(added, 3);
  EXPECT_EQ(Paths(), (Names{"C:\\SONG.MP3", "D:\\B.FLAC", "E:\\C.M4A"}));
  LockedBlock<SoundObject> record(ObjectAt(1));
  EXPECT_EQ(record->flags, static_cast<uint32_t>(AudioFile));
  EXPECT_EQ(record->bitmap, g_state.kindBitmaps[5]);
}

TEST_F(ObjectListTest, RemoveAsksFirstWhenConfirmationIsOnAndMarksTheListOnlyWhenItRemoves) {
  Add("A.WAV");
  Add("B.WAV");
  g_state.listModified = 0;
  Select(1);
  {
    bench::ModalScript modals;
    modals.AnswerMessageBox(IDNO);
    RemoveSoundObject();
    ASSERT_EQ(modals.Records().size(), 1u);
    EXPECT_EQ(modals.Records()[0].text, bench::LanguageString(IDS_CONFIRM_REMOVE));
    EXPECT_EQ(modals.Records()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
  }
  EXPECT_EQ(host_.Count(), 2);
  EXPECT_EQ(host_.Selected(), 0);
  EXPECT_EQ(g_state.listModified, 0);  // No removed nothing

  Select(1);
  {
    bench::ModalScript modals;
    modals.AnswerMessageBox(IDYES);
    RemoveSoundObject();
  }
  EXPECT_EQ(Paths(), (Names{"A.WAV"}));
  EXPECT_EQ(g_state.listModified, 1);  // a close now asks to save

  g_state.listModified = 0;
  g_settings.confirmFlags = ConfirmFileDelete;  // object deletes unconfirmed
  bench::ModalScript modals;
  RemoveSoundObject();
  EXPECT_TRUE(modals.Records().empty());
  EXPECT_EQ(host_.Count(), 0);
  EXPECT_EQ(g_state.listModified, 1);
  EXPECT_EQ(memory_.LiveBlocks(), 0);
}

TEST_F(ObjectListTest, RemoveIsRefusedWhilePlaying) {
  g_settings.confirmFlags = 0;
  Add("A.WAV");
  Select(0);
  g_state.playing = 1;
  RemoveSoundObject();
  g_state.playing = 0;
  g_state.playAllRunning = 1;
  RemoveSoundObject();
  g_state.playAllRunning = 0;
  EXPECT_EQ(host_.Count(), 1);
}

TEST_F(ObjectListTest, MovesKeepTheSameRecordAndMarkTheList) {
  Add("A.WAV");
  Add("B.WAV");
  Add("C.WAV");
  g_state.listModified = 0;
  SoundObjectHandle moved = ObjectAt(0);
  bench::ModalScript modals;  // no error box may appear
  Select(0);
  MoveSoundObject(IDM_MOVE_BOTTOM);
  EXPECT_EQ(Paths(), (Names{"B.WAV", "C.WAV", "A.WAV"}));
  EXPECT_EQ(ObjectAt(2), moved);
  EXPECT_EQ(g_state.listModified, 1);
  g_state.listModified = 0;
  Select(2);
  MoveSoundObject(IDM_MOVE_DOWN);  // already last: nothing
  MoveSoundObject(IDM_MOVE_BOTTOM);
  EXPECT_EQ(g_state.listModified, 0);
  EXPECT_EQ(Paths(), (Names{"B.WAV", "C.WAV", "A.WAV"}));
  MoveSoundObject(IDM_MOVE_UP);
  EXPECT_EQ(Paths(), (Names{"B.WAV", "A.WAV", "C.WAV"}));
  Select(2);
  MoveSoundObject(IDM_MOVE_TOP);
  EXPECT_EQ(Paths(), (Names{"C.WAV", "B.WAV", "A.WAV"}));
  EXPECT_TRUE(modals.Records().empty());
  EXPECT_EQ(g_state.listModified, 1);
}

TEST_F(ObjectListTest, AMoveThatWouldChangeNothingHasNoTarget) {
  auto targets = [] {
    return std::vector<int>{MoveTarget(IDM_MOVE_TOP), MoveTarget(IDM_MOVE_UP), MoveTarget(IDM_MOVE_DOWN),
                            MoveTarget(IDM_MOVE_BOTTOM)};
  };
  Add("A.WAV");
  Select(0);
  EXPECT_EQ(targets(), (std::vector<int>{-1, -1, -1, -1}));
  Add("B.WAV");
  Add("C.WAV");
  EXPECT_EQ(targets(), (std::vector<int>{-1, -1, 1, 2}));
  Select(2);
  EXPECT_EQ(targets(), (std::vector<int>{0, 1, -1, -1}));
  Select(1);
  EXPECT_EQ(targets(), (std::vector<int>{0, 0, 2, 2}));
  Select(-1);
  EXPECT_EQ(targets(), (std::vector<int>{-1, -1, -1, -1}));
}

TEST_F(ObjectListTest, ClearingFreesEveryObject) {
  for (int i = 0; i < 20; ++i) Add("A.WAV");
  ClearObjectList();
  EXPECT_EQ(host_.Count(), 0);
  EXPECT_EQ(memory_.LiveBlocks(), 0);
}

TEST_F(ObjectListTest, AFailedFreeIsReportedAndTheItemIsGone) {
  Add("A.WAV");
  bench::ModalScript modals;
  modals.AnswerMessageBox(IDOK);
  memory_.FailRelease(1);
  SendMessageA(host_.list(), LB_DELETESTRING, 0, 0);
  ASSERT_EQ(modals.Records().size(), 1u);
  EXPECT_EQ(modals.Records()[0].text, bench::LanguageString(IDS_FREE_FAILED));
  EXPECT_EQ(modals.Records()[0].style, static_cast<UINT>(MB_ICONHAND));
  EXPECT_EQ(host_.Count(), 0);
}

// Builds a Sound Object; the caller frees it.
SoundObjectHandle MakeObject(uint32_t kind, uint8_t track, uint32_t repeats, uint32_t delay, const char* description,
                             const char* fileName) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  values.flags = kind;
  values.trackNumber = track;
  values.repeatCount = repeats;
  values.postDelay = delay;
  std::string_view descriptionText = description ? description : "";
  std::string_view fileText = fileName ? fileName : "";
  EXPECT_TRUE(
      StoreSoundObject(handle, values, description ? &descriptionText : nullptr, fileName ? &fileText : nullptr));
  return handle;
}

TEST(ObjectInfo, StatusBarShowsCountsAndTheTrackOrFile) {
  bench::ListHost host;
  struct Case {
    SoundObjectHandle object;
    std::string text;
  };
  const Case cases[] = {
      {MakeObject(CdTrack, 7, 1, 3, "Overture", nullptr), "Repeat:1  Pause:3  Track:7"},
      {MakeObject(CdTrack, 7, 1, 3, nullptr, nullptr), "Repeat:1  Pause:3"},
      {MakeObject(Wave, 0, 2, 5, "Bells", "C:\\SOUNDS\\BELLS.WAV"), "Repeat:2  Pause:5   C:\\SOUNDS\\BELLS.WAV"},
      {MakeObject(Wave, 0, 0, 0, nullptr, nullptr), bench::LanguageString(IDS_NO_OBJECT_INFO)},
  };
  for (const Case& c : cases) {
    ShowObjectInfo(g_state.statusBar, c.object);
    EXPECT_EQ(host.StatusText(), c.text);
  }
  // No object or no status bar: nothing happens.
  StatusBarSetText(g_state.statusBar, "kept");
  ShowObjectInfo(g_state.statusBar, nullptr);
  ShowObjectInfo(nullptr, cases[0].object);
  EXPECT_EQ(host.StatusText(), "kept");
  for (const Case& c : cases) FreeSoundObject(c.object);
}

// The status bar describes the selected object: a new selection, a Remove
// and a Move show its details.
TEST_F(ObjectListTest, TheStatusBarDescribesTheSelectedObject) {
  Add("A.WAV");
  Add("B.WAV");
  Add("C.WAV");
  SelectObject(1);
  EXPECT_EQ(host_.StatusText(), "Repeat:0  Pause:0   B.WAV");
  MoveSoundObject(IDM_MOVE_TOP);
  EXPECT_EQ(host_.Selected(), 0) << "a moved item stays selected";
  EXPECT_EQ(host_.StatusText(), "Repeat:0  Pause:0   B.WAV");
  MoveSoundObject(IDM_MOVE_DOWN);
  EXPECT_EQ(host_.Selected(), 1);
  g_settings.confirmFlags = 0;
  RemoveSoundObject();  // B goes; the first item is selected
  EXPECT_EQ(host_.StatusText(), "Repeat:0  Pause:0   A.WAV");
  g_settings.confirmFlags = kDefaultConfirmations;
}

}  // namespace
