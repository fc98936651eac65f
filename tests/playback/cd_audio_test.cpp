// The program's side of the audio CD, on the test bench's virtual drive
// (bench/virtual_cd.h): the disc's identity and audio tracks, the devices
// found at start, Add All CD Tracks and playing a CD-track Sound Object.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/test_env.h"
#include "bench/virtual_cd.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/cd_audio.h"
#include "playback/media_control.h"
#include "playback/waiting.h"
#include "resources/ids.h"
#include "state/main_window_state.h"

namespace {

// Its first track holds data; its audio tracks are 2 and 3. 380 s in all.
const char kDataFirstDisc[] = "data 60000\naudio 180000\naudio 140000\n";
const char kAudioDisc[] = "audio 1000\naudio 2000\naudio 3000\n";

int OpenDeviceCount() {
  char answer[32] = "";
  if (mciSendStringA("sysinfo all quantity open", answer, sizeof answer, nullptr) != 0) return -1;
  return atoi(answer);
}

class CdAudioTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bench::VirtualCdInstalled()) << "the test prefix has no virtual CD drive";
    g_cdTrackCount = 0;
  }
  void TearDown() override { mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, 0); }
};

std::vector<int> AudioTracks() {
  uint8_t tracks[kMaxCdTracks];
  int count = ReadCdAudioTracks(tracks, kMaxCdTracks);
  return std::vector<int>(tracks, tracks + count);
}

TEST_F(CdAudioTest, IdentityIsTheDiscLengthInTracksFormatThenInMilliseconds) {
  bench::VirtualCd cd(kDataFirstDisc);
  uint32_t first = 0, second = 0;
  ASSERT_EQ(ReadCdIdentity(0, &first, &second), 1) << bench::VirtualCdState();
  // A CD device gives lengths in minutes, seconds and frames in TMSF.
  EXPECT_EQ(first, MCI_MAKE_MSF(6, 20, 0));
  EXPECT_EQ(second, 380000u);
  EXPECT_EQ(ReadCdIdentity(0, nullptr, nullptr), 1);
  EXPECT_EQ(OpenDeviceCount(), 0);

  // A device already open is used and left open.
  ASSERT_EQ(mciSendStringA("open cdaudio alias disc wait", nullptr, 0, nullptr), 0u);
  UINT device = mciGetDeviceIDA("disc");
  uint32_t again = 0;
  EXPECT_EQ(ReadCdIdentity(device, nullptr, &again), 1);
  EXPECT_EQ(again, 380000u);
  EXPECT_EQ(OpenDeviceCount(), 1);
  mciSendStringA("close disc wait", nullptr, 0, nullptr);
}

TEST_F(CdAudioTest, IdentityFailsWithoutADiscOrADrive) {
  uint32_t first = 7, second = 7;
  EXPECT_EQ(ReadCdIdentity(0, &first, &second), 0);
  {
    bench::VirtualCd cd("");
    EXPECT_EQ(ReadCdIdentity(0, &first, &second), 0);
  }
  EXPECT_EQ(first, 7u);  // nothing stored on failure
  EXPECT_EQ(second, 7u);
  EXPECT_EQ(OpenDeviceCount(), 0);
}

TEST_F(CdAudioTest, AudioTracksAreNamedByTheirOwnNumbers) {
  {
    bench::VirtualCd cd(kDataFirstDisc);
    EXPECT_EQ(AudioTracks(), (std::vector<int>{2, 3}));
  }
  {
    bench::VirtualCd cd(kAudioDisc);
    EXPECT_EQ(AudioTracks(), (std::vector<int>{1, 2, 3}));
    uint8_t two[2];
    EXPECT_EQ(ReadCdAudioTracks(two, 2), 2);  // no more than there is room for
  }
  {
    bench::VirtualCd cd("");
    EXPECT_TRUE(AudioTracks().empty());
  }
  EXPECT_TRUE(AudioTracks().empty());
  EXPECT_EQ(OpenDeviceCount(), 0);
}

TEST_F(CdAudioTest, ProbeFindsTheDriveAndItsTrackBound) {
  {
    bench::VirtualCd cd(kDataFirstDisc);
    uint32_t caps = ProbeMediaDevices();
    EXPECT_TRUE(caps & CdAudio);
    EXPECT_EQ(g_cdTrackCount, 3);
  }
  g_cdTrackCount = 0;
  EXPECT_FALSE(ProbeMediaDevices() & CdAudio);
  EXPECT_EQ(g_cdTrackCount, 0);
  EXPECT_EQ(OpenDeviceCount(), 0);
}

struct TrackObject {
  std::string description;
  int track;
  uint32_t flags;
};

std::vector<TrackObject> ListObjects(const bench::ListHost& host) {
  std::vector<TrackObject> objects;
  for (int i = 0; i < host.Count(); ++i) {
    LockedBlock<SoundObject> record(ObjectAt(i));
    char text[512] = "";
    if (record->description) CopyTextBlock(record->description, text, sizeof text);
    objects.push_back({text, record->trackNumber, record->flags});
  }
  return objects;
}

TEST_F(CdAudioTest, AddAllCdTracksAddsTheAudioTracksByTheirNumbers) {
  bench::ListHost host;
  bench::VirtualCd cd(kDataFirstDisc);
  AddAllCdTracksCommand();
  std::vector<TrackObject> objects = ListObjects(host);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0].description, "Track 2");
  EXPECT_EQ(objects[0].track, 2);
  EXPECT_EQ(objects[1].description, "Track 3");
  EXPECT_EQ(objects[1].track, 3);
  EXPECT_EQ(objects[1].flags, static_cast<uint32_t>(CdTrack));
  EXPECT_EQ(g_state.listModified, 1);
  EXPECT_EQ(host.Selected(), 0);
  EXPECT_EQ(g_cdTrackCount, 3);  // the tracks added can be played

  cd.Insert(kAudioDisc);
  EXPECT_EQ(AddAllCdTracks(), 3);
  objects = ListObjects(host);
  ASSERT_EQ(objects.size(), 5u);
  EXPECT_EQ(objects[2].description, "Track 1");
  EXPECT_EQ(objects[4].description, "Track 3");
  EXPECT_EQ(OpenDeviceCount(), 0);
}

TEST(AddAllCdTracksWithoutACd, AddsNothingButSelectsTheTop) {
  bench::ListHost host;
  for (int i = 0; i < 2; ++i) {
    SoundObjectHandle handle = AllocSoundObject();
    SoundObject values = {};
    values.flags = Pause;
    ASSERT_TRUE(StoreSoundObject(handle, values, nullptr, nullptr));
    ASSERT_GE(AppendSoundObject(handle), 0);
  }
  g_state.listModified = 0;
  SendMessageA(host.list(), LB_SETCURSEL, 1, 0);
  AddAllCdTracksCommand();
  EXPECT_EQ(host.Count(), 2);
  EXPECT_EQ(g_state.listModified, 0);
  EXPECT_EQ(host.Selected(), 0);
  EXPECT_EQ(GetFocus(), host.list());
}

// A CD-track object of the list host, played as Play Selected plays it.
class CdPlayTest : public CdAudioTest {
 protected:
  void SetUp() override {
    CdAudioTest::SetUp();
    ProbeMediaDevices();
    ASSERT_EQ(AddAllCdTracks(), 2) << bench::VirtualCdState();
  }
  bench::VirtualCd cd_{kDataFirstDisc};
  bench::ListHost host_;
};

TEST_F(CdPlayTest, LastAudioTrackPlaysToItsNotice) {
  bench::SinkWatch sink;
  ASSERT_EQ(PlaySoundObject(ObjectAt(1), 0), static_cast<int>(CdTrack));
  EXPECT_EQ(g_state.playing, 1);
  EXPECT_EQ(g_state.currentObject, ObjectAt(1));
  const ULONGLONG deadline = g_state.playDeadline;  // minutes away: the track is 140 s long
  WaitWhilePlaying(0);
  EXPECT_LT(MonotonicMs(), deadline) << "the play ended by its deadline, not by the drive's notice";
  EXPECT_EQ(g_state.playing, 0);
  EXPECT_EQ(g_state.currentObject, nullptr);
  EXPECT_EQ(OpenDeviceCount(), 0);
  if (sink.Available()) {
    EXPECT_TRUE(sink.Holds(bench::VirtualCdTone(3)));
  }
}

// A drive drops its play's notice when it pauses: the play stays held,
// and Resume plays on from where the drive stands, with a notice again.
TEST_F(CdAudioTest, APauseHoldsATrackWhoseDriveDropsItsNoticeAndResumePlaysItOn) {
  bench::VirtualCd cd("audio 1000\naudio 2000\n");
  bench::ListHost host;
  ProbeMediaDevices();
  ASSERT_EQ(AddAllCdTracks(), 2);
  bench::SinkWatch sink;
  g_state.playing = 1;
  ASSERT_EQ(PlaySoundObject(ObjectAt(1), 0), static_cast<int>(CdTrack));
  ASSERT_TRUE(TogglePause());
  EXPECT_EQ(g_state.playDeadline.load(), 0u);
  // The drive's ABORTED arrives while held: the play goes on being held.
  EXPECT_TRUE(PumpThreadMessages());
  EXPECT_EQ(g_state.playing, 1);
  EXPECT_EQ(g_state.paused, 1);
  EXPECT_EQ(g_state.currentObject, ObjectAt(1));
  EXPECT_EQ(OpenDeviceCount(), 1);

  ASSERT_TRUE(TogglePause());  // Resume
  EXPECT_EQ(g_state.paused, 0);
  const ULONGLONG deadline = g_state.playDeadline;
  EXPECT_NE(deadline, 0u);
  WaitWhilePlaying(0);
  EXPECT_LT(MonotonicMs(), deadline) << "the play ended by its deadline, not by the drive's new notice";
  EXPECT_EQ(g_state.playing, 0);
  EXPECT_EQ(OpenDeviceCount(), 0);
  if (sink.Available()) {
    EXPECT_TRUE(sink.Holds(bench::VirtualCdTone(2)));
  }
}

TEST_F(CdPlayTest, StopEndsThePlayAndNoNoticeComesAfter) {
  ASSERT_EQ(PlaySoundObject(ObjectAt(0), 0), static_cast<int>(CdTrack));
  StopPlayback();
  EXPECT_EQ(g_state.playing, 0);
  EXPECT_EQ(OpenDeviceCount(), 0);
  // The drive posts its notice before the close returns, and the stop
  // discards it: nothing is left to end the next play.
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, host_.window(), MM_MCINOTIFY, MM_MCINOTIFY, PM_NOREMOVE));
}

}  // namespace
