// The main window's list as a view of the Object List, and the commands
// that change the list from it: each row holds its object's text whatever
// happens to the list, Remove asks first and is refused while the list
// plays, the moves keep the same object selected, dropped files become
// objects when their device exists, and the status bar describes the
// selected object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "shell/list_commands.h"
#include "shell/list_view.h"
#include "playback/play_state.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"

namespace {

using Names = std::vector<std::string>;

class ListCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    g_mediaCaps = WaveAudio | MidiAudio | AviVideo;
    g_settings.confirmFlags = ConfirmObjectDelete;
  }
  void TearDown() override { g_settings.confirmFlags = kDefaultConfirmations; }
  ObjectList& list() { return host_.objects(); }
  void Add(const char* name) { list().Insert(-1, MakeFileObject(Wave, name, 0)); }

  // The objects' names, and each row's string, which must be the same.
  Names Rows() {
    Names names;
    for (int i = 0; i < list().Count(); ++i) {
      LockedBlock<SoundObject> record(list().At(i));
      char name[512] = "", row[600] = "";
      CopyTextBlock(record->fileName, name, sizeof name);
      SendMessageA(host_.list(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(row));
      EXPECT_STREQ(row, name) << "row " << i;
      names.push_back(name);
    }
    EXPECT_EQ(host_.Count(), list().Count());
    return names;
  }
  void Select(int index) { bench::SelectRow(host_.list(), index); }

  bench::ListHost host_;
};

// Every insertion, replacement, move and removal of the document reaches
// the rows, and the selection stays on its row when another changes.
TEST_F(ListCommandsTest, EachRowHoldsItsObjectsTextWhateverHappensToTheList) {
  for (const char* name : {"A.WAV", "B.WAV", "C.WAV"}) Add(name);
  Select(1);
  list().Insert(0, MakeFileObject(Wave, "TOP.WAV", 0));
  list().Replace(2, MakeFileObject(Midi, "NEW.MID", 0));
  EXPECT_EQ(Rows(), (Names{"TOP.WAV", "A.WAV", "NEW.MID", "C.WAV"}));
  list().Move(0, 3);
  list().Remove(1);
  EXPECT_EQ(Rows(), (Names{"A.WAV", "C.WAV", "TOP.WAV"}));
  list().BeginBatch();
  for (int i = 0; i < 300; ++i) Add("MANY.WAV");
  list().EndBatch();
  EXPECT_EQ(host_.Count(), 303);
  list().Clear();
  EXPECT_EQ(host_.Count(), 0);
}

TEST_F(ListCommandsTest, RemoveAsksFirstAndRemovesOnlyOnYes) {
  Add("A.WAV");
  Add("B.WAV");
  list().SetModified(false);
  Select(1);
  {
    bench::ModalScript modals;
    modals.AnswerMessageBox(IDNO);
    RemoveSoundObject(list());
    ASSERT_EQ(modals.Records().size(), 1u);
    EXPECT_EQ(modals.Records()[0].text, bench::LanguageString(IDS_CONFIRM_REMOVE));
    EXPECT_EQ(modals.Records()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
  }
  EXPECT_EQ(Rows(), (Names{"A.WAV", "B.WAV"}));
  EXPECT_EQ(host_.Selected(), 0);
  EXPECT_FALSE(list().Modified());  // No removed nothing

  Select(1);
  {
    bench::ModalScript modals;
    modals.AnswerMessageBox(IDYES);
    RemoveSoundObject(list());
  }
  EXPECT_EQ(Rows(), (Names{"A.WAV"}));
  EXPECT_TRUE(list().Modified());

  g_settings.confirmFlags = ConfirmFileDelete;  // object deletes unconfirmed
  bench::ModalScript modals;
  Select(0);
  g_playback.playing = 1;  // nothing goes while something plays
  RemoveSoundObject(list());
  g_playback.playing = 0;
  g_playback.playAllRunning = 1;
  RemoveSoundObject(list());
  g_playback.playAllRunning = 0;
  EXPECT_EQ(list().Count(), 1);
  Select(0);
  RemoveSoundObject(list());
  EXPECT_TRUE(modals.Records().empty());
  EXPECT_EQ(list().Count(), 0);
}

TEST_F(ListCommandsTest, MovesKeepTheSameObjectSelectedAndDescribed) {
  for (const char* name : {"A.WAV", "B.WAV", "C.WAV"}) Add(name);
  auto targets = [&] {
    return std::vector<int>{MoveTarget(list(), IDM_MOVE_TOP), MoveTarget(list(), IDM_MOVE_UP),
                            MoveTarget(list(), IDM_MOVE_DOWN), MoveTarget(list(), IDM_MOVE_BOTTOM)};
  };
  Select(-1);
  EXPECT_EQ(targets(), (std::vector<int>{-1, -1, -1, -1}));
  Select(1);
  EXPECT_EQ(targets(), (std::vector<int>{0, 0, 2, 2}));
  SoundObjectHandle moved = list().At(0);
  SelectListRow(0);
  MoveSoundObject(list(), IDM_MOVE_BOTTOM);
  EXPECT_EQ(Rows(), (Names{"B.WAV", "C.WAV", "A.WAV"}));
  EXPECT_EQ(list().At(2), moved);
  EXPECT_EQ(host_.Selected(), 2) << "a moved object stays selected, so it can be moved again";
  EXPECT_EQ(targets(), (std::vector<int>{0, 1, -1, -1}));
  EXPECT_EQ(host_.StatusText(), "Repeat:0  Pause:0   A.WAV");
  MoveSoundObject(list(), IDM_MOVE_UP);
  EXPECT_EQ(Rows(), (Names{"B.WAV", "A.WAV", "C.WAV"}));
  EXPECT_EQ(host_.Selected(), 1);
}

TEST_F(ListCommandsTest, DroppedFilesBecomeObjectsWhenTheirDeviceExists) {
  int added = 0;
  for (const char* path : {"C:\\A.WAV", "C:\\B.WAV", "C:\\README.TXT", "C:\\C.WAV"})
    added += AddFileObject(list(), path);
  EXPECT_EQ(added, 3);
  g_mediaCaps = AviVideo;  // no waveaudio, so no MIDI either
  EXPECT_EQ(AddFileObject(list(), "C:\\SONG.MID"), 0);
  EXPECT_EQ(AddFileObject(list(), "C:\\CLIP.AVI"), 1);
  EXPECT_EQ(AddFileObject(list(), "C:\\SONG.MP3"), 0);  // the audio file device not (yet) found
  g_mediaCaps = WaveAudio | MidiAudio | AudioFiles;
  EXPECT_EQ(AddFileObject(list(), "D:\\B.FLAC"), 1);
  EXPECT_EQ(Rows(), (Names{"C:\\A.WAV", "C:\\B.WAV", "C:\\C.WAV", "C:\\CLIP.AVI", "D:\\B.FLAC"}));
  LockedBlock<SoundObject> clip(list().At(3)), flac(list().At(4));
  EXPECT_EQ(clip->flags, static_cast<uint32_t>(Video));
  EXPECT_EQ(flac->flags, static_cast<uint32_t>(AudioFile));
}

TEST_F(ListCommandsTest, TheStatusBarDescribesTheSelectedObject) {
  struct Case {
    SoundObject values;
    const char* description;
    const char* fileName;
    std::string text;
  };
  SoundObject track = {}, wave = {};
  track.flags = CdTrack;
  track.trackNumber = 7;
  track.repeatCount = 1;
  track.postDelay = 3;
  wave.flags = Wave;
  wave.repeatCount = 2;
  wave.postDelay = 5;
  const Case cases[] = {
      {track, "Overture", nullptr, "Repeat:1  Pause:3  Track:7"},
      {track, nullptr, nullptr, "Repeat:1  Pause:3"},
      {wave, "Bells", "C:\\SOUNDS\\BELLS.WAV", "Repeat:2  Pause:5   C:\\SOUNDS\\BELLS.WAV"},
      {wave, nullptr, nullptr, bench::LanguageString(IDS_NO_OBJECT_INFO)},
  };
  for (const Case& c : cases) {
    SoundObjectHandle handle = AllocSoundObject();
    std::string_view description = c.description ? c.description : "", name = c.fileName ? c.fileName : "";
    ASSERT_TRUE(
        StoreSoundObject(handle, c.values, c.description ? &description : nullptr, c.fileName ? &name : nullptr));
    list().Insert(-1, handle);
    SelectListRow(list().Count() - 1);
    EXPECT_EQ(host_.StatusText(), c.text);
  }
}

}  // namespace

// Several selected objects: the moves take them together and keep them
// selected, a row at the edge holds the ones behind it, one question
// removes them all, and each command is one edit for Undo.
TEST_F(ListCommandsTest, SeveralSelectedObjectsMoveAndGoTogetherAsOneEditEach) {
  for (const char* name : {"A.WAV", "B.WAV", "C.WAV", "D.WAV", "E.WAV", "F.WAV"}) Add(name);
  list().ForgetHistory();
  list().SetModified(false);
  MainView().SelectRows({1, 3, 4});
  EXPECT_EQ(MainView().SelectedRows(), (std::vector<int>{1, 3, 4}));
  MoveSoundObject(list(), IDM_MOVE_UP);
  EXPECT_EQ(Rows(), (Names{"B.WAV", "A.WAV", "D.WAV", "E.WAV", "C.WAV", "F.WAV"}));
  EXPECT_EQ(MainView().SelectedRows(), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(host_.StatusText(), "3 Sound Objects selected");
  MoveSoundObject(list(), IDM_MOVE_UP);  // B stays at the top; D and E close up to it
  EXPECT_EQ(Rows(), (Names{"B.WAV", "D.WAV", "E.WAV", "A.WAV", "C.WAV", "F.WAV"}));
  EXPECT_EQ(MoveTarget(list(), IDM_MOVE_UP), -1);
  EXPECT_EQ(MoveTarget(list(), IDM_MOVE_TOP), -1);
  MoveSoundObject(list(), IDM_MOVE_BOTTOM);
  EXPECT_EQ(Rows(), (Names{"A.WAV", "C.WAV", "F.WAV", "B.WAV", "D.WAV", "E.WAV"}));
  EXPECT_EQ(MainView().SelectedRows(), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(MoveTarget(list(), IDM_MOVE_DOWN), -1);
  MainView().SelectRows({0, 2});
  MoveSoundObject(list(), IDM_MOVE_DOWN);
  EXPECT_EQ(Rows(), (Names{"C.WAV", "A.WAV", "B.WAV", "F.WAV", "D.WAV", "E.WAV"}));

  MainView().SelectRows({0, 2, 3, 5});
  {
    bench::ModalScript modals;
    modals.AnswerMessageBox(IDYES);
    RemoveSoundObject(list());
    EXPECT_EQ(modals.Records().size(), 1u);  // one question for all
  }
  EXPECT_EQ(Rows(), (Names{"A.WAV", "D.WAV"}));
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(list().Undo()) << i;
  EXPECT_FALSE(list().CanUndo());
  EXPECT_EQ(Rows(), (Names{"A.WAV", "B.WAV", "C.WAV", "D.WAV", "E.WAV", "F.WAV"}));
  EXPECT_FALSE(list().Modified());
}
