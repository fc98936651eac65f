// The position bar in the real program: moved while a sound plays or is
// held, the sound is heard from the new place (each place has a mark of
// its own in the sink); a countdown shows on the bar and cannot move it;
// the bar and its time fit the smallest window beside everything else.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::LanguageString;
using bench::Program;

// A sound of 40 seconds (ten in the sink): mark `first` at its start,
// `first + 1` at 30 seconds, `first + 2` at its end.
constexpr int kLongMs = 40000;
constexpr int kMarkedMs = 30000;

std::string LongWave(int first) {
  return bench::WriteMarkedWaveAt("far" + std::to_string(first) + ".wav", kLongMs,
                                  {{0, first}, {kMarkedMs, first + 1}, {kLongMs, first + 2}});
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }
bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

RECT ChildRect(HWND parent, HWND child) {
  RECT rect = {};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class PositionBarTest : public bench::ProgramTestBase {};

// Play All: the bar dragged to 30 seconds plays the sound on from there;
// the play that was moved ends nothing, and the run goes on with the next
// object when the moved one ends. A Pause object's countdown shows on the
// bar, which cannot be moved then.
TEST_F(PositionBarTest, ADraggedBarMovesThePlayAndPlayAllGoesOn) {
  const std::string text = "WDv1.0\nFar\n" + LongWave(11) + "\n1 0 0 0\n*\nPause 3 sec.\n8 0 3 0\nNear\n" +
                           bench::WriteMarkedWave("near14.wav", 14, 200) + "\n1 0 0 0\n";
  bench::WriteFileBytes(bench::TempPath("far.wdl"), text);
  size_t from = bench::SinkSize();
  Program wendle("far.wdl /play");
  ASSERT_TRUE(wendle.Window());
  HWND bar = wendle.Child(IDC_POSITION_BAR);
  HWND time = wendle.Child(IDC_POSITION_TIME);
  ASSERT_TRUE(bar && time);
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{11});
  ASSERT_TRUE(wendle.WaitFor([&] { return IsWindowEnabled(bar) != FALSE; }));
  EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMAX, 0, 0), kLongMs);
  const std::wstring shown = bench::WideWindowText(time);
  EXPECT_TRUE(shown.size() > 7 && shown.compare(shown.size() - 7, 7, L" / 0:40") == 0);

  // Dragged: the thumb follows the mouse, then is let go at 30 seconds.
  SendMessageA(wendle.Window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 0), reinterpret_cast<LPARAM>(bar));
  SendMessageA(bar, TBM_SETPOS, TRUE, kMarkedMs);
  SendMessageA(wendle.Window(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(bench::WaitForMarks(from, 3), (std::vector<int>{11, 12, 13}));
  EXPECT_TRUE(wendle.PlayAllRunning());

  // The countdown: on the bar, which the user cannot move.
  ASSERT_TRUE(wendle.WaitFor([&] { return StartsWith(wendle.StatusText(), "Pause "); })) << wendle.StatusText();
  EXPECT_FALSE(IsWindowEnabled(bar));
  EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMAX, 0, 0), 3000);
  EXPECT_EQ(bench::WaitForMarks(from, 4), (std::vector<int>{11, 12, 13, 14}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  EXPECT_FALSE(IsWindowEnabled(bar));
  EXPECT_EQ(SendMessageA(bar, TBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(bench::WideWindowText(time), L"");
  const size_t arrived = bench::SinkBytes(from).size();
  EXPECT_LT(arrived, static_cast<size_t>(kLongMs) * 8) << "the sound played from its start";
}

// Play Selected, held: the bar's keys move it while it stays held, and
// nothing is heard until it goes on, from the new place. The status bar
// shows the new time.
TEST_F(PositionBarTest, TheKeysMoveAHeldPlayWhichGoesOnFromThere) {
  const std::string text = "WDv1.0\nFar\n" + LongWave(21) + "\n1 0 0 0\n";
  bench::WriteFileBytes(bench::TempPath("held.wdl"), text);
  Program wendle("held.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; }));
  HWND bar = wendle.Child(IDC_POSITION_BAR);
  EXPECT_FALSE(IsWindowEnabled(bar));
  size_t from = bench::SinkSize();
  wendle.Key(VK_F2);
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{21});
  wendle.Key('P', true);  // Pause
  ASSERT_TRUE(wendle.WaitFor([&] { return StartsWith(wendle.StatusText(), "Paused: "); })) << wendle.StatusText();
  ASSERT_TRUE(IsWindowEnabled(bar));

  // A click on the bar takes the focus (and moves it a page); Home goes to
  // the start, six pages (five seconds each) to 30 seconds.
  RECT rect = {};
  GetClientRect(bar, &rect);
  wendle.Click(bar, false, rect.right - 6);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Focus() == bar; })) << wendle.Describe();
  wendle.Key(VK_HOME);
  for (int page = 0; page < 6; ++page) wendle.Key(VK_NEXT);
  EXPECT_TRUE(wendle.WaitFor([&] { return EndsWith(wendle.StatusText(), "0:30 / 0:40"); })) << wendle.StatusText();
  EXPECT_TRUE(StartsWith(wendle.StatusText(), "Paused: ")) << wendle.StatusText();
  const size_t held = bench::SinkSize();
  Sleep(1000);
  EXPECT_LT(bench::SinkSize() - held, 4000u) << "a held play was heard";
  EXPECT_EQ(bench::MarksIn(bench::SinkBytes(from)), std::vector<int>{21});

  wendle.Key('P', true);  // Resume
  EXPECT_EQ(bench::WaitForMarks(from, 3), (std::vector<int>{21, 22, 23}));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }));
  // From 30 seconds on: ten seconds, not the forty of a play from the start
  // (the device may hand part of what it had queued over twice).
  const size_t after = bench::SinkBytes(held).size();
  EXPECT_GE(after, static_cast<size_t>(kLongMs - kMarkedMs) * 8 - 800);
  EXPECT_LT(after, static_cast<size_t>(kLongMs - kMarkedMs + 5000) * 8);
}

// At the smallest size the bar, its time, the mute button and the volume
// slider lie between the list and the status bar, clear of the list, the
// play buttons and each other.
TEST_F(PositionBarTest, TheBarFitsTheSmallestWindow) {
  Program wendle;
  ASSERT_TRUE(wendle.Window());
  HWND window = wendle.Window();
  SetWindowPos(window, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_TRUE(wendle.WaitFor([&] {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.right - rect.left > 10;
  }));
  Sleep(200);
  RECT client = {};
  GetClientRect(window, &client);
  std::vector<std::pair<int, HWND>> controls;
  for (int id : {IDC_POSITION_BAR, IDC_POSITION_TIME, IDC_OBJECT_LIST, IDC_BTN_PLAY, IDC_BTN_STOP_SKIP,
                 IDC_BTN_PLAY_ALL, IDC_MUTE_BUTTON, IDC_VOLUME_BAR})
    controls.emplace_back(id, wendle.Child(id));
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = "";
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "ovStatusBar") == 0) controls.emplace_back(0, child);
  }
  ASSERT_EQ(controls.size(), 9u);
  for (size_t i = 0; i < controls.size(); ++i) {
    ASSERT_TRUE(controls[i].second) << controls[i].first;
    RECT a = ChildRect(window, controls[i].second);
    if (controls[i].first) {
      EXPECT_GE(a.left, client.left) << controls[i].first;
      EXPECT_LE(a.right, client.right) << controls[i].first;
      EXPECT_LE(a.bottom, client.bottom) << controls[i].first;
      EXPECT_GT(a.right - a.left, 0) << controls[i].first;
    }
    for (size_t j = i + 1; j < controls.size(); ++j) {
      RECT b = ChildRect(window, controls[j].second);
      RECT overlap;
      EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << controls[i].first << " and " << controls[j].first;
    }
  }
  const RECT bar = ChildRect(window, wendle.Child(IDC_POSITION_BAR));
  EXPECT_GE(bar.right - bar.left, 200);
}

}  // namespace
