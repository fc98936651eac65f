// Playing one Sound Object as a person does: Play Selected, Stop/Skip, the
// notices that end a play, countdowns and the menus meanwhile. What was
// heard is read back from the sound sink.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/media_control.h"
#include "playback/media_devices.h"
#include "bench/playback_host.h"
#include "resources/ids.h"
#include "shell/list_view.h"
#include "shell/main_window.h"
#include "shell/playback_view.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "shell/shell_state.h"
#include "settings/settings_record.h"

namespace {

using bench::LanguageString;

int OpenDeviceCount() {
  char answer[32] = "";
  if (mciSendStringA("sysinfo all quantity open", answer, sizeof answer, nullptr) != 0) return -1;
  return atoi(answer);
}

std::string StatusText() {
  char text[1024] = "";
  SendMessageA(g_shell.statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  return text;
}

bool MenuItemEnabled(HWND window, UINT id) {
  return !(GetMenuState(GetMenu(window), id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

bool MenuPopupEnabled(HWND window, int position) {
  return !(GetMenuState(GetMenu(window), position, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
}

// Every status text seen, in order.
std::vector<std::string> g_statusTexts;

void CALLBACK RecordStatusText(HWND, UINT, UINT_PTR, DWORD) {
  std::string text = StatusText();
  if (g_statusTexts.empty() || g_statusTexts.back() != text) g_statusTexts.push_back(text);
}

class MediaControlTest : public testing::Test {
 protected:
  void SetUp() override {
    if (bench::SoundSinkPath().empty()) GTEST_SKIP() << "no sound sink configured";
  }
  void TearDown() override { StopAllDevices(); }
  // Play Selected, as the main window runs it: returns when the play ended.
  void PlaySelected() { OnCommand(host_.window(), IDM_SOUND_PLAY_SELECTED, 0); }
  bench::PlaybackHost host_;
};

TEST_F(MediaControlTest, PlaySelectedPlaysTheSoundAndComesBackToIdle) {
  host_.AddMarkedWave(1, 300);
  int second = host_.AddMarkedWave(2, 300);
  bench::SelectRow(host_.list(), second);
  size_t from = bench::SinkSize();

  PlaySelected();  // returns when the play has ended

  EXPECT_EQ(g_playback.playing, 0);
  DWORD elapsed = 0, total = 0;
  EXPECT_FALSE(GetPlayTimes(&elapsed, &total));
  EXPECT_EQ(host_.StatusText(), LanguageString(IDS_STATUS_READY));
  EXPECT_EQ(host_.Selected(), second);
  EXPECT_EQ(OpenDeviceCount(), 0);
  EXPECT_TRUE(MenuItemEnabled(host_.window(), IDM_SOUND_PLAY_SELECTED));
  EXPECT_TRUE(MenuPopupEnabled(host_.window(), 0));
  EXPECT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{2});
}

// A play that cannot start says so: a message with the file and the media
// system's reason, the same text on the status bar, and a mark on the row
// until the object plays again. The menus come back.
TEST_F(MediaControlTest, AStartThatFailsIsSaidAndGivesTheMenusBack) {
  const std::string missing = bench::TempPath("missing.wav");
  host_.AddFile(Wave, missing);
  host_.AddFile(Wave, "");  // no file name at all: played as "Untitled"
  bench::ModalScript modals;
  for (int index : {0, 1}) {
    modals.AnswerMessageBox(IDOK);
    bench::SelectRow(host_.list(), index);
    PlaySelected();
    EXPECT_EQ(g_playback.playing, 0);
    EXPECT_TRUE(MenuItemEnabled(host_.window(), IDM_SOUND_ADD));
    EXPECT_TRUE(MenuPopupEnabled(host_.window(), 2));
    ASSERT_EQ(modals.Records().size(), static_cast<size_t>(index + 1));
    const std::string& said = modals.Records()[index].text;
    const std::string subject = index == 0 ? missing : "Untitled";
    EXPECT_EQ(said.rfind(subject + " could not be played: ", 0), 0u) << said;
    EXPECT_GT(said.size(), subject.size() + 24) << "no reason given: " << said;
    EXPECT_EQ(modals.Records()[index].style & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(host_.StatusText(), said);
    LockedBlock<SoundObject> record(ObjectAt(index));
    EXPECT_TRUE(record->playFailed) << index;
  }
  EXPECT_EQ(modals.Failures(), 0);
}

TEST_F(MediaControlTest, StopSkipEndsTheWaitAndClosesEveryDevice) {
  host_.AddMarkedWave(3, 20000);
  bench::SelectRow(host_.list(), 0);
  // While the sound plays, the menus are greyed; then the user presses F3.
  bench::AfterStart(host_.window(), 200, [] {
    EXPECT_FALSE(MenuItemEnabled(g_globals.mainWindow, IDM_SOUND_PLAY_SELECTED));
    EXPECT_FALSE(MenuPopupEnabled(g_globals.mainWindow, 0));
    EXPECT_TRUE(MenuItemEnabled(g_globals.mainWindow, IDM_SOUND_STOP_SKIP));
    EXPECT_EQ(OpenDeviceCount(), 1);
    StopPlayback();
  });
  ULONGLONG start = GetTickCount64();
  PlaySelected();
  EXPECT_LT(GetTickCount64() - start, 4000u) << "the 20 s sound was not cut short";
  EXPECT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }));
  EXPECT_TRUE(MenuItemEnabled(host_.window(), IDM_SOUND_PLAY_SELECTED));
}

// The devices' notices go to the device thread's message-only window.
HWND DeviceWindow() { return FindWindowExW(HWND_MESSAGE, nullptr, L"WendleDevices", nullptr); }

TEST_F(MediaControlTest, OnlyTheNoticeOfThePlayingDeviceEndsAPlay) {
  host_.AddMarkedWave(4, 20000);
  bench::SelectRow(host_.list(), 0);
  bench::AfterStart(host_.window(), 200, [] {
    ASSERT_EQ(OpenDeviceCount(), 1);
    HWND devices = DeviceWindow();
    ASSERT_TRUE(devices);
    // The open device's id: MCI numbers devices from 1, and only one is open.
    char answer[64] = "";
    mciSendStringA("sysinfo waveaudio name 1 open", answer, sizeof answer, nullptr);
    const UINT device = mciGetDeviceIDA(answer);
    // Another play's notice, and a superseded one of this play: both leave
    // it playing, and its text stays.
    std::string playingText = StatusText();
    EXPECT_EQ(playingText.rfind("Playing ", 0), 0u) << playingText;
    SendMessageW(devices, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, device + 7);
    EXPECT_EQ(g_playback.playing, 1);
    EXPECT_EQ(StatusText(), playingText);
    if (device) {
      SendMessageW(devices, MM_MCINOTIFY, MCI_NOTIFY_SUPERSEDED, device);
      EXPECT_EQ(g_playback.playing, 1);
      EXPECT_EQ(StatusText(), playingText);
      // The play's own end.
      PostMessageW(devices, MM_MCINOTIFY, MCI_NOTIFY_ABORTED, device);
    } else {
      ADD_FAILURE() << "no device id for " << answer;
      StopPlayback();
    }
  });
  PlaySelected();
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }));
}

TEST_F(MediaControlTest, APauseOfNoSecondsWaitsThePauseBetweenObjects) {
  g_settings.pauseSeconds = 2;
  host_.AddPause(0);
  bench::SelectRow(host_.list(), 0);
  g_statusTexts.clear();
  SetTimer(host_.window(), 1, 50, RecordStatusText);
  ULONGLONG start = GetTickCount64();
  PlaySelected();
  KillTimer(host_.window(), 1);
  const std::vector<std::string>& shown = g_statusTexts;
  EXPECT_GE(GetTickCount64() - start, 1900u);
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[0], "Pause 2 sec.");
  EXPECT_EQ(shown[1], "Pause 1 sec.");
  EXPECT_EQ(host_.StatusText(), LanguageString(IDS_STATUS_READY));
}

TEST_F(MediaControlTest, AMinimizedWindowShowsTheFileNameInItsTitle) {
  g_settings.preferenceFlags = TitleWhenMinimized;
  // The missing file plays nothing: the line it was announced with is
  // kept and shown again as the window changes.
  host_.AddFile(Wave, "C:\\MUSIC\\SONG.WAV");
  PlayFacts facts;
  ASSERT_TRUE(TakePlayFacts(MainView().list(), ObjectAt(0), &facts));
  EXPECT_STREQ(facts.text, "C:\\MUSIC\\SONG.WAV");
  ShowWindow(host_.window(), SW_MINIMIZE);
  PlayObject(facts, 0);
  ShowNowPlaying();
  EXPECT_EQ(host_.Title(), "SONG.WAV");
  EXPECT_EQ(host_.StatusText(), "Playing C:\\MUSIC\\SONG.WAV");

  g_settings.preferenceFlags = 0;
  SetWindowTextA(host_.window(), "Wendle");
  ShowNowPlaying();
  EXPECT_EQ(host_.Title(), "Wendle");
  ShowWindow(host_.window(), SW_RESTORE);
}

std::string MenuText(HWND window, UINT id) {
  char text[64] = "";
  GetMenuStringA(GetMenu(window), id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

// Pause holds the device (it stays open, with no deadline to end it), the
// item reads Resume, and a minimized title says Paused; Resume gives the
// deadline back, and a stop while held ends the hold.
TEST_F(MediaControlTest, PauseHoldsThePlayAndItsItemSaysResume) {
  g_settings.preferenceFlags = TitleWhenMinimized;
  host_.AddMarkedWave(6, 20000);
  bench::SelectRow(host_.list(), 0);
  EXPECT_FALSE(MenuItemEnabled(host_.window(), IDM_SOUND_PAUSE));
  bench::AfterStart(host_.window(), 200, [] {
    HWND window = g_globals.mainWindow;
    EXPECT_TRUE(MenuItemEnabled(window, IDM_SOUND_PAUSE));
    OnCommand(window, IDM_SOUND_PAUSE, 0);
    EXPECT_EQ(g_playback.paused, 1);
    EXPECT_EQ(PlayDeadline(), 0u);
    EXPECT_EQ(OpenDeviceCount(), 1);
    EXPECT_EQ(MenuText(window, IDM_SOUND_PAUSE), "Res&ume\tCtrl+P");
    EXPECT_EQ(StatusText().rfind("Paused: Playing ", 0), 0u) << StatusText();
    ShowWindow(window, SW_MINIMIZE);
    ShowPlayLineAgain(window);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    EXPECT_EQ(std::string(title).rfind("Paused: ", 0), 0u) << title;
    EXPECT_NE(std::string(title).find("20000"), std::string::npos) << title;
    ShowWindow(window, SW_RESTORE);

    OnCommand(window, IDM_SOUND_PAUSE, 0);  // Resume
    EXPECT_EQ(g_playback.paused, 0);
    EXPECT_NE(PlayDeadline(), 0u);
    EXPECT_EQ(MenuText(window, IDM_SOUND_PAUSE), "Pa&use\tCtrl+P");
    EXPECT_EQ(StatusText().rfind("Playing ", 0), 0u) << StatusText();

    OnCommand(window, IDM_SOUND_PAUSE, 0);
    StopPlayback();
    EXPECT_EQ(g_playback.paused, 0);
  });
  PlaySelected();
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_EQ(g_playback.paused, 0);
  EXPECT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }));
  EXPECT_FALSE(MenuItemEnabled(host_.window(), IDM_SOUND_PAUSE));
  g_settings.preferenceFlags = 0;
}

TEST_F(MediaControlTest, TheDevicesFoundAtStart) {
  uint32_t caps = ProbeMediaDevices();
  EXPECT_TRUE(caps & WaveAudio);
  EXPECT_TRUE(caps & MidiAudio);  // follows the wave device: the sequencer is not probed
  EXPECT_TRUE(caps & AviVideo);
}

}  // namespace
