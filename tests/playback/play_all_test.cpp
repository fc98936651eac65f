// Play All as a person hears it: which sounds start, in which order, how
// often; the pass label; stopping and skipping; and a worker that never
// loses a start however the starts and stops fall.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <random>

#include "bench/list_host.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/media_control.h"
#include "playback/play_all.h"
#include "playback/play_order.h"
#include "bench/playback_host.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "shell/main_window.h"
#include "playback/play_state.h"
#include "settings/settings_record.h"

namespace {

int OpenDeviceCount() {
  char answer[32] = "";
  if (mciSendStringA("sysinfo all quantity open", answer, sizeof answer, nullptr) != 0) return -1;
  return atoi(answer);
}

using bench::LanguageString;

class PlayAllTest : public testing::Test {
 protected:
  void SetUp() override {
    if (bench::SoundSinkPath().empty()) GTEST_SKIP() << "no sound sink configured";
  }
  void StartRun() {
    from_ = bench::SinkSize();
    OnCommand(host_.window(), IDM_SOUND_PLAY_ALL, 0);
  }
  // Posts a command as a click would.
  void Command(int id) { PostMessageA(host_.window(), WM_COMMAND, id, 0); }

  bench::PlaybackHost host_;
  size_t from_ = 0;
};

std::vector<int> Repeat(const std::vector<int>& pass, int times) {
  std::vector<int> all;
  for (int i = 0; i < times; ++i) all.insert(all.end(), pass.begin(), pass.end());
  return all;
}

std::vector<std::string> g_labels;
WNDPROC g_labelProc = nullptr;

LRESULT CALLBACK RecordLabel(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) g_labels.push_back(reinterpret_cast<const char*>(lParam));
  return CallWindowProcA(g_labelProc, window, message, wParam, lParam);
}

TEST_F(PlayAllTest, ThreePassesInOrderWithThePassLabel) {
  g_settings.playListCount = 3;
  for (int mark = 0; mark < 4; ++mark) host_.AddMarkedWave(mark, 200);
  // Every text the pass label is given, in order.
  g_labels.clear();
  g_labelProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(GetDlgItem(host_.window(), IDC_LABEL_COUNT), GWLP_WNDPROC,
                                                            reinterpret_cast<LONG_PTR>(RecordLabel)));
  const std::vector<std::string>& labels = g_labels;
  StartRun();
  ASSERT_TRUE(host_.WaitForRunEnd());

  EXPECT_EQ(bench::WaitForMarks(from_, 12), Repeat({0, 1, 2, 3}, 3));
  EXPECT_EQ(labels, (std::vector<std::string>{"Pass 1 of 3", "Pass 2 of 3", "Pass 3 of 3", "3"}));
  EXPECT_EQ(host_.Selected(), 0);
  EXPECT_EQ(host_.StatusText(), LanguageString(IDS_STATUS_READY));
  EXPECT_EQ(g_playback.playing, 0);
}

TEST_F(PlayAllTest, RepeatsPlayAnObjectAgainEachFollowedByItsDelay) {
  host_.AddMarkedWave(7, 200, /*repeatCount=*/2, /*postDelay=*/1);
  host_.AddMarkedWave(8, 200);
  ULONGLONG start = GetTickCount64();
  StartRun();
  ASSERT_TRUE(host_.WaitForRunEnd());
  EXPECT_EQ(bench::WaitForMarks(from_, 4), (std::vector<int>{7, 7, 7, 8}));
  EXPECT_GE(GetTickCount64() - start, 2900u) << "three one-second delays";
}

std::vector<std::string> g_statusTexts;
WNDPROC g_statusProc = nullptr;

// The status bar's own message for a new text (lParam the text).
constexpr UINT kStoreStatusText = WM_USER + 0x7A0;

LRESULT CALLBACK RecordStatus(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kStoreStatusText) g_statusTexts.push_back(reinterpret_cast<const char*>(lParam));
  return CallWindowProcA(g_statusProc, window, message, wParam, lParam);
}

TEST_F(PlayAllTest, ThePauseBetweenObjectsDoesNotAddToOwnDelaysOrPauses) {
  g_settings.preferenceFlags = PauseBetweenObjects;
  g_settings.pauseSeconds = 1;
  host_.AddPause(1);            // its own second, nothing more
  host_.AddMarkedWave(9, 100);  // then the pause between objects: 1 s
  g_statusTexts.clear();
  g_statusProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(host_.statusBar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordStatus)));
  StartRun();
  ASSERT_TRUE(host_.WaitForRunEnd());
  SetWindowLongPtrA(host_.statusBar(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_statusProc));
  // Every countdown shows its length as it starts, and every play its text
  // (once more with its time played as soon as it has started).
  std::vector<std::string> steps;
  for (const std::string& text : g_statusTexts) {
    bool play = text.rfind("Playing ", 0) == 0;
    if (play && !steps.empty() && steps.back() == "Playing ") continue;
    if (text.rfind("Pause ", 0) == 0 || play) steps.push_back(text.substr(0, 8));
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"Pause 1 ", "Playing ", "Pause 1 "}))
      << "a Pause object got the pause between objects as well";
}

TEST_F(PlayAllTest, ExclusiveRandomPlaysEveryObjectOncePerPassInTheGeneratorsOrder) {
  g_settings.playListCount = 2;
  g_settings.playOrder = PlayOrderRandom;
  g_settings.preferenceFlags = RandomExclusive;
  for (int mark = 10; mark < 15; ++mark) host_.AddMarkedWave(mark, 100);
  StartRun();
  ASSERT_TRUE(host_.WaitForRunEnd());
  std::vector<int> heard = bench::WaitForMarks(from_, 10);
  ASSERT_EQ(heard.size(), 10u);
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<int> order(heard.begin() + pass * 5, heard.begin() + pass * 5 + 5);
    std::sort(order.begin(), order.end());
    EXPECT_EQ(order, (std::vector<int>{10, 11, 12, 13, 14})) << "pass " << pass + 1;
  }
}

TEST_F(PlayAllTest, StopSkipSkipsExactlyOneObject) {
  host_.AddMarkedWave(20, 20000);
  host_.AddMarkedWave(21, 300);
  host_.AddMarkedWave(22, 300);
  StartRun();
  ASSERT_EQ(bench::WaitForMarks(from_, 1), std::vector<int>{20});
  Command(IDM_SOUND_STOP_SKIP);
  ASSERT_TRUE(host_.WaitForRunEnd());
  // The stopped play's own notice must not end the next object as well.
  EXPECT_EQ(bench::WaitForMarks(from_, 3), (std::vector<int>{20, 21, 22}));
}

TEST_F(PlayAllTest, StopPlayAllEndsTheRunDuringAPlayOrACountdown) {
  host_.AddMarkedWave(23, 20000, 0, /*postDelay=*/30);
  host_.AddMarkedWave(24, 300);
  StartRun();
  ASSERT_EQ(bench::WaitForMarks(from_, 1), std::vector<int>{23});
  Command(IDM_SOUND_STOP_PLAY_ALL);
  // Long before the 30-second delay could have been counted down.
  ASSERT_TRUE(host_.WaitForRunEnd(10000)) << "the delay was counted down after the stop";
  EXPECT_EQ(bench::MarksIn(bench::SinkBytes(from_)), std::vector<int>{23});

  // Now stop during a countdown.
  ClearObjectList();
  host_.AddPause(60);
  StartRun();
  ASSERT_TRUE(bench::PumpUntil([] { return g_playback.playing != 0; }));
  Command(IDM_SOUND_STOP_PLAY_ALL);
  ASSERT_TRUE(host_.WaitForRunEnd(10000)) << "the 60-second Pause went on after the stop";
  EXPECT_EQ(g_playback.playAllRunning, 0);
}

// Stop Play All that arrives while the worker waits for this thread (it
// asks the list to select the object it is about to play): nothing of the
// run may start after it, neither a play nor a countdown.
WNDPROC g_listProc = nullptr;

LRESULT CALLBACK StopWhileTheWorkerSelects(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == LB_SETSEL && InSendMessage() && g_playback.playAllRunning) StopPlayAllRun();
  return CallWindowProcA(g_listProc, window, message, wParam, lParam);
}

TEST_F(PlayAllTest, AStopWhileTheWorkerCallsThisThreadEndsTheRunAtOnce) {
  for (bool pause : {false, true}) {
    SCOPED_TRACE(pause ? "a Pause object" : "a WAV");
    ClearObjectList();
    if (pause)
      host_.AddPause(60);
    else
      host_.AddMarkedWave(25, 2000);
    g_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(host_.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StopWhileTheWorkerSelects)));
    StartRun();
    bool ended = host_.WaitForRunEnd(10000);
    SetWindowLongPtrA(host_.list(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProc));
    ASSERT_TRUE(ended) << "the run went on after the stop";
    // The worker's last word (its end) came after anything it started.
    EXPECT_EQ(bench::MarksIn(bench::SinkBytes(from_)), std::vector<int>{}) << "a play started after the stop";
    EXPECT_EQ(g_playback.playing, 0);
  }
}

TEST_F(PlayAllTest, TheHotKeyStartsAndStopsARunButNotBesideASinglePlay) {
  host_.AddPause(60);
  PostMessageA(host_.window(), WM_HOTKEY, IDH_PLAY_ALL, 0);
  ASSERT_TRUE(bench::PumpUntil([] { return g_playback.playing != 0; }));
  EXPECT_EQ(g_playback.playAllRunning, 1);
  PostMessageA(host_.window(), WM_HOTKEY, IDH_PLAY_ALL, 0);  // the same key again stops
  ASSERT_TRUE(host_.WaitForRunEnd(10000));

  g_playback.playing = 1;  // a single object plays
  OnHotKey(host_.window(), IDH_PLAY_ALL);
  EXPECT_FALSE(StartPlayAllRun(CurrentPlayAllOptions()));
  EXPECT_EQ(g_playback.playAllRunning, 0);
  g_playback.playing = 0;
}

TEST_F(PlayAllTest, NonStopOnAnEmptyListWaitsForAnItem) {
  g_settings.playListCount = 0;
  PostMessageA(host_.window(), WM_HOTKEY, IDH_PLAY_ALL, 0);  // the hot key does not look at the list
  bench::PumpUntil([] { return g_playback.playAllRunning != 0; });
  FILETIME created, exited, kernel, user;
  ULONGLONG before = 0;
  bench::PumpUntil([] { return false; }, 300);
  // The run waits without running empty passes.
  HANDLE process = GetCurrentProcess();
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  before = (static_cast<ULONGLONG>(user.dwHighDateTime) << 32) | user.dwLowDateTime;
  bench::PumpUntil([] { return false; }, 500);
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  ULONGLONG after = (static_cast<ULONGLONG>(user.dwHighDateTime) << 32) | user.dwLowDateTime;
  EXPECT_LT(after - before, 1000000u) << "more than 100 ms of CPU in half a second";
  EXPECT_EQ(g_playback.playAllRunning, 1);

  size_t from = bench::SinkSize();
  host_.AddMarkedWave(30, 200);  // as a dropped file would
  EXPECT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{30});
  PostMessageA(host_.window(), WM_COMMAND, IDM_SOUND_STOP_PLAY_ALL, 0);
  ASSERT_TRUE(host_.WaitForRunEnd(10000));

  g_settings.playListCount = 3;  // three empty passes end the run
  ClearObjectList();
  PostMessageA(host_.window(), WM_HOTKEY, IDH_PLAY_ALL, 0);
  ASSERT_TRUE(host_.WaitForRunEnd(5000));
}

TEST_F(PlayAllTest, PlayNextSkipsDuringARunAndWrapsOtherwise) {
  host_.AddMarkedWave(40, 100);
  host_.AddMarkedWave(41, 100);
  bench::SelectRow(host_.list(), 1);
  OnHotKey(host_.window(), IDH_PLAY_NEXT);
  EXPECT_EQ(host_.Selected(), 0);  // after the last comes the first
  auto posted = host_.TakePostedCommands();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].first, IDM_SOUND_PLAY_SELECTED);

  bench::SelectRow(host_.list(), -1);
  OnHotKey(host_.window(), IDH_PLAY_NEXT);
  EXPECT_TRUE(host_.TakePostedCommands().empty());

  // During a run: the object that plays is skipped.
  g_playback.playAllRunning = 1;
  g_playback.playing = 1;
  OnHotKey(host_.window(), IDH_PLAY_NEXT);
  EXPECT_EQ(g_playback.playing, 0);
  EXPECT_TRUE(host_.TakePostedCommands().empty());
  g_playback.playAllRunning = 0;
}

TEST_F(PlayAllTest, TheFavoriteSelectionDoesNotEndTheListsObject) {
  std::string favorite = bench::WriteMarkedWave("favorite.wav", 50, 100);
  bench::RegWriteString("Software\\Orvane Software\\Wendle\\Settings", "FavoriteSelection", favorite);
  int playing = host_.AddMarkedWave(51, 20000);
  host_.AddMarkedWave(52, 100);
  StartRun();
  ASSERT_EQ(bench::WaitForMarks(from_, 1), std::vector<int>{51});
  char listText[512] = "";
  NowPlayingText(listText, sizeof listText);
  OnHotKey(host_.window(), IDH_FAVORITE);
  ASSERT_EQ(OpenDeviceCount(), 2);
  // The favorite's notice closes its own device and nothing else.
  ASSERT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 1; }));
  char text[512] = "";
  NowPlayingText(text, sizeof text);
  EXPECT_STREQ(text, listText) << "the favorite's notice ended the list's object";
  EXPECT_EQ(host_.Selected(), playing);
  EXPECT_NE(g_playback.playing, 0);
  Command(IDM_SOUND_STOP_SKIP);
  ASSERT_TRUE(host_.WaitForRunEnd());
  EXPECT_EQ(bench::WaitForMarks(from_, 3), (std::vector<int>{51, 50, 52}));
  bench::ClearRegistry();
}

// Starts and stops at random moments: during a play, a countdown, between
// objects and on an empty list. No start may be lost, nothing may hang, and
// no handle or window object may be left behind.
TEST_F(PlayAllTest, ManyStartsAndStopsLeaveTheWorkerIdle) {
  // A play first, then countdowns only, then an empty list.
  host_.AddMarkedWave(60, 60);
  host_.AddPause(1);
  g_settings.playListCount = 0;
  std::mt19937 random(12345);
  DWORD handlesBefore = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
  DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);

  for (int cycle = 0; cycle < 1000; ++cycle) {
    if (cycle == 300) {
      ClearObjectList();
      host_.AddPause(1);
      host_.AddPause(1);
    }
    if (cycle == 700) ClearObjectList();
    PostMessageA(host_.window(), WM_HOTKEY, IDH_PLAY_ALL, 0);
    ASSERT_TRUE(bench::PumpUntil([] { return g_playback.playAllRunning != 0; }, 5000)) << "start lost, cycle " << cycle;
    bench::PumpUntil([] { return false; }, random() % 8);
    PostMessageA(host_.window(), WM_COMMAND, random() % 2 ? IDM_SOUND_STOP_PLAY_ALL : IDM_SOUND_STOP_SKIP, 0);
    if (g_playback.playAllRunning) PostMessageA(host_.window(), WM_COMMAND, IDM_SOUND_STOP_PLAY_ALL, 0);
    ASSERT_TRUE(host_.WaitForRunEnd(10000)) << "hang, cycle " << cycle;
  }
  EXPECT_EQ(g_playback.playing, 0);
  DWORD handlesAfter = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
  EXPECT_LE(handlesAfter, handlesBefore + 4);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 4);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + 4);
}

// The chooser on its own: the generator is the worker's, exactly.
class FixedList : public PlayOrderList {
 public:
  explicit FixedList(int count) : played_(count, false) {}
  int Count() const override { return static_cast<int>(played_.size()); }
  bool IsPlayed(int index) const override { return played_[index]; }
  std::vector<bool> played_;
};

TEST(PlayOrder, SequentialWalksTheListAndTheGeneratorIsTheWorkersOwn) {
  FixedList list(3);
  PlayOrderGenerator generator;
  int32_t last = -1;
  std::vector<int> order;
  for (int i = 0; i < 4; ++i) order.push_back(ChooseNextOrderIndex(list, true, false, 3, &last, &generator));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0}));

  // state = state * 214013 + 2531011 from 1; bits 16..30.
  PlayOrderGenerator fresh;
  EXPECT_EQ(fresh.Next(), 41u);
  EXPECT_EQ(fresh.Next(), 18467u);
  EXPECT_EQ(fresh.Next(), 6334u);

  FixedList empty(0);
  EXPECT_EQ(ChooseNextOrderIndex(empty, true, false, 0, &last, &generator), -1);
}

TEST(PlayOrder, ExclusiveNeverDrawsAPlayedItem) {
  FixedList list(5);
  PlayOrderGenerator generator;
  int32_t last = -1;
  for (int i = 0; i < 5; ++i) {
    int index = ChooseNextOrderIndex(list, false, true, 5 - i, &last, &generator);
    ASSERT_FALSE(list.played_[index]);
    list.played_[index] = true;
  }
  // Every item played while objects are still left: the chooser still ends.
  EXPECT_GE(ChooseNextOrderIndex(list, false, true, 1, &last, &generator), 0);
}

}  // namespace
