// The program's side of the audio CD, on the test bench's virtual drive
// (bench/virtual_cd.h): the disc's identity and audio tracks, the devices
// found at start, Add All CD Tracks and playing a CD-track Sound Object.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/list_host.h"
#include "bench/playback_host.h"
#include "bench/test_env.h"
#include "shell/list_view.h"
#include "bench/virtual_cd.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/cd_audio.h"
#include "playback/media_control.h"
#include "playback/media_devices.h"
#include "playback/waiting.h"
#include "resources/ids.h"
#include "shell/list_commands.h"
#include "playback/play_state.h"

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
  void TearDown() override { StopAllDevices(); }
};

// Plays the list's object at index as Play Selected starts it.
int PlayAt(int index) {
  PlayFacts facts;
  TakePlayFacts(MainView().list(), ObjectAt(index), &facts);
  return PlayObject(facts, 0);
}

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
  AddAllCdTracksCommand(MainView().list());
  std::vector<TrackObject> objects = ListObjects(host);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0].description, "Track 2");
  EXPECT_EQ(objects[0].track, 2);
  EXPECT_EQ(objects[1].description, "Track 3");
  EXPECT_EQ(objects[1].track, 3);
  EXPECT_EQ(objects[1].flags, static_cast<uint32_t>(CdTrack));
  EXPECT_TRUE(MainView().list().Modified());
  EXPECT_EQ(host.Selected(), 0);
  EXPECT_EQ(g_cdTrackCount, 3);  // the tracks added can be played

  cd.Insert(kAudioDisc);
  EXPECT_EQ(AddAllCdTracks(MainView().list()), 3);
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
    ASSERT_GE(MainView().list().Insert(-1, handle), 0);
  }
  MainView().list().SetModified(false);
  bench::SelectRow(host.list(), 1);
  AddAllCdTracksCommand(MainView().list());
  EXPECT_EQ(host.Count(), 2);
  EXPECT_FALSE(MainView().list().Modified());
  EXPECT_EQ(host.Selected(), 0);
  EXPECT_EQ(GetFocus(), host.list());
}

// A CD-track object of the list host, played as Play Selected plays it.
class CdPlayTest : public CdAudioTest {
 protected:
  void SetUp() override {
    CdAudioTest::SetUp();
    ProbeMediaDevices();
    ASSERT_EQ(AddAllCdTracks(MainView().list()), 2) << bench::VirtualCdState();
  }
  bench::VirtualCd cd_{kDataFirstDisc};
  bench::ListHost host_;
};

TEST_F(CdPlayTest, LastAudioTrackPlaysToItsNotice) {
  bench::SinkWatch sink;
  ASSERT_EQ(PlayAt(1), static_cast<int>(CdTrack));
  EXPECT_EQ(g_playback.playing, 1);
  const ULONGLONG deadline = PlayDeadline();  // minutes away: the track is 140 s long
  EXPECT_NE(deadline, 0u);
  WaitWhilePlaying(0);
  EXPECT_LT(MonotonicMs(), deadline) << "the play ended by its deadline, not by the drive's notice";
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_EQ(PlayDeadline(), 0u);
  EXPECT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }));
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
  ASSERT_EQ(AddAllCdTracks(MainView().list()), 2);
  bench::SinkWatch sink;
  g_playback.playing = 1;
  ASSERT_EQ(PlayAt(1), static_cast<int>(CdTrack));
  ASSERT_TRUE(TogglePause());
  EXPECT_EQ(PlayDeadline(), 0u);
  // The drive's ABORTED arrives while held: the play goes on being held.
  Sleep(200);
  EXPECT_TRUE(PumpThreadMessages());
  EXPECT_EQ(g_playback.playing, 1);
  EXPECT_EQ(g_playback.paused, 1);
  EXPECT_EQ(OpenDeviceCount(), 1);

  ASSERT_TRUE(TogglePause());  // Resume
  EXPECT_EQ(g_playback.paused, 0);
  const ULONGLONG deadline = PlayDeadline();
  EXPECT_NE(deadline, 0u);
  WaitWhilePlaying(0);
  EXPECT_LT(MonotonicMs(), deadline) << "the play ended by its deadline, not by the drive's new notice";
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_EQ(OpenDeviceCount(), 0);
  if (sink.Available()) {
    EXPECT_TRUE(sink.Holds(bench::VirtualCdTone(2)));
  }
}

TEST_F(CdPlayTest, StopEndsThePlayAndNoNoticeComesAfter) {
  // Both tracks play on until they are stopped.
  cd_.Insert("data 60000\naudio 180000 held\naudio 140000 held\n");
  ASSERT_EQ(PlayAt(0), static_cast<int>(CdTrack));
  StopPlayback();
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }));
  // The drive posts its notice before the close returns, and the stop
  // discards it: nothing is left to end the next play.
  ASSERT_EQ(PlayAt(1), static_cast<int>(CdTrack));
  EXPECT_FALSE(bench::PumpUntil([] { return g_playback.playing == 0; }, 500))
      << "a stopped play's notice ended the next";
  StopPlayback();
}

// The position bar's move of a track: it plays on from there (the virtual
// drive stands where its play started until the track ends, so the place
// it reports is where it was told to play from), and its stop's notice
// ends nothing; moved while held, it stays held and goes on from there.
TEST_F(CdPlayTest, AMovedTrackPlaysOnFromThereHeldOrNot) {
  cd_.Insert("data 60000\naudio 180000 held\naudio 140000 held\n");
  g_playback.playing = 1;
  ASSERT_EQ(PlayAt(0), static_cast<int>(CdTrack));
  DWORD elapsed = 0;
  DWORD total = 0;
  ASSERT_TRUE(GetPlayTimes(&elapsed, &total));
  EXPECT_EQ(total, 180000u);
  ASSERT_TRUE(MovePlay(125500));
  // Reported by the drive (in tracks, minutes, seconds and frames) after
  // a few readings of its position.
  Sleep(1200);
  EXPECT_FALSE(bench::PumpUntil([] { return g_playback.playing == 0; }, 300)) << "the move ended the play";
  ASSERT_TRUE(GetPlayTimes(&elapsed, &total));
  EXPECT_NEAR(elapsed, 125500, 20);

  ASSERT_TRUE(TogglePause());
  ASSERT_TRUE(MovePlay(30000));
  Sleep(1200);
  EXPECT_TRUE(PumpThreadMessages());
  ASSERT_TRUE(GetPlayTimes(&elapsed, &total));
  EXPECT_EQ(elapsed, 30000u);
  EXPECT_EQ(g_playback.playing, 1);
  EXPECT_EQ(g_playback.paused, 1);
  ASSERT_TRUE(TogglePause());  // Resume: from the new place
  Sleep(1200);
  EXPECT_FALSE(bench::PumpUntil([] { return g_playback.playing == 0; }, 300)) << "the resume ended the play";
  ASSERT_TRUE(GetPlayTimes(&elapsed, &total));
  EXPECT_NEAR(elapsed, 30000, 20);
  StopPlayback();
}

// A drive that never reports the end of its play: the play counts as
// ended once its length and a margin have passed, and its device closes.
TEST_F(CdAudioTest, APlayThatNeverReportsItsEndIsEndedAfterItsLength) {
  bench::VirtualCd cd("audio 400 held\n");
  bench::ListHost host;
  ProbeMediaDevices();
  ASSERT_EQ(AddAllCdTracks(MainView().list()), 1);
  g_playback.playing = 1;
  ASSERT_EQ(PlayAt(0), static_cast<int>(CdTrack));
  const ULONGLONG start = MonotonicMs();
  EXPECT_EQ(WaitWhilePlaying(0), 0u);
  const ULONGLONG waited = MonotonicMs() - start;
  EXPECT_GE(waited, 3000u);  // 400 ms, a quarter more and the margin of 3 s
  EXPECT_LT(waited, 6000u);
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }));
}

// A drive that never answers: the play is given up after the bound, with
// its own reason, the window's messages run all the while, Stop ends such
// a wait at once, and the next play gets a fresh device thread. When the
// stuck call comes back at last, its thread closes the device and ends.
class StuckDriveTest : public CdAudioTest {
 protected:
  void SetUp() override {
    CdAudioTest::SetUp();
    release_ = CreateEventW(nullptr, TRUE, FALSE, L"WendleVirtualCdRelease");
    ResetEvent(release_);
  }
  void TearDown() override {
    SetEvent(release_);  // the stuck calls come back
    CdAudioTest::TearDown();
    CloseHandle(release_);
  }
  HANDLE release_ = nullptr;
};

// The stuck calls come back, and their threads close what they opened:
// the drive can be opened again.
void LetStuckCallsGo(HANDLE release) {
  SetEvent(release);
  EXPECT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }));
  ResetEvent(release);
}

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST_F(StuckDriveTest, APlayIsGivenUpAfterTheBoundAndTheWindowKeepsAnswering) {
  bench::VirtualCd cd("stuck\naudio 1000\n");
  bench::ListHost host;
  ASSERT_EQ(AddAllCdTracks(MainView().list()), 1);
  const unsigned givenUp = DeviceThreadsGivenUp();
  // The window's timer goes on firing while the start waits.
  g_ticks = 0;
  SetTimer(host.window(), 77, 100, CountTick);
  g_playback.playing = 1;
  const ULONGLONG start = MonotonicMs();
  PlayFacts facts;
  TakePlayFacts(MainView().list(), ObjectAt(0), &facts);
  DWORD error = 0;
  EXPECT_EQ(PlayObject(facts, 0, &error), -1);
  const ULONGLONG waited = MonotonicMs() - start;
  KillTimer(host.window(), 77);
  EXPECT_EQ(error, kDeviceNoAnswer);
  EXPECT_GE(waited, kDeviceAnswerMs - 100);
  EXPECT_LT(waited, kDeviceAnswerMs + 2000);
  EXPECT_GE(g_ticks, static_cast<int>(kDeviceAnswerMs / 100 / 2)) << "the window did not answer while it waited";
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_EQ(DeviceThreadsGivenUp(), givenUp + 1);
  LetStuckCallsGo(release_);

  // Stop while a start is stuck: the wait ends at once, and the next play
  // gets a fresh thread after a moment's grace.
  g_playback.playing = 1;
  bench::AfterStart(host.window(), 300, [] { StopPlayback(); });
  const ULONGLONG stopStart = MonotonicMs();
  EXPECT_EQ(PlayObject(facts, 0, &error), 0);  // stopped: not started, not failed
  EXPECT_LT(MonotonicMs() - stopStart, 2000u);
  // The drive answers again (the stuck call still holds its first device):
  // the track plays to its notice.
  cd.Insert("audio 1000\n");
  bench::SinkWatch sink;
  g_playback.playing = 1;
  ASSERT_EQ(PlayObject(facts, 0, &error), static_cast<int>(CdTrack)) << error;
  EXPECT_EQ(DeviceThreadsGivenUp(), givenUp + 2);
  EXPECT_EQ(WaitWhilePlaying(0), 0u);
  if (sink.Available()) {
    EXPECT_TRUE(sink.Holds(bench::VirtualCdTone(1)));
  }
  LetStuckCallsGo(release_);
}

}  // namespace
