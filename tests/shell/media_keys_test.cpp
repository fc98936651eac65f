// The media keys in the real program: each arrives as WM_APPCOMMAND (as a
// keyboard's key reaches the window in front) or as a key press that the
// program takes from every program, and what it did is heard in the sound
// sink. Stop After This One ends Play All with the object that plays.
#include <windows.h>

#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::LanguageString;
using bench::Program;

// A sound of 20 seconds (about five in the sink, which drains faster than
// real time) whose start and end can be seen there.
constexpr int kLongMs = 20000;

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// A list file in the temporary folder of marked objects (see
// bench::MarkedObject), its sounds named key<mark>.wav.
std::string WriteList(const std::string& name, const std::vector<bench::MarkedObject>& objects) {
  return bench::WriteMarkedObjects(bench::TempPath(name), objects, "key", 200, kLongMs);
}

class MediaKeysTest : public bench::ProgramTestBase {
 protected:
  // A media key as the window in front receives it: what the window
  // procedure returned.
  LRESULT AppCommand(Program& wendle, int command) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(wendle.Window(), WM_APPCOMMAND, reinterpret_cast<WPARAM>(wendle.Window()),
                        MAKELPARAM(0, command | FAPPCOMMAND_KEY), SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
  }

  // A key pressed while any program is in front.
  static void PressKey(WORD key) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = key;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
  }

  // The list is whole once its title shows: the rows come before the end
  // of the load, and a message sent to the window meanwhile is handled
  // inside it, before the first row is selected.
  static bool Opened(Program& wendle, int count) {
    return wendle.WaitFor([&] {
      char title[128] = "";
      return wendle.Window() && wendle.ListCount() == count && GetWindowTextA(wendle.Window(), title, sizeof title) &&
             strstr(title, " - ") != nullptr;
    });
  }

  bool WaitForStatus(Program& wendle, const std::string& start) {
    return wendle.WaitFor([&] { return StartsWith(wendle.StatusText(), start); });
  }

  // Play/Pause pressed three times: Play All starts (its first sound,
  // firstMark, is heard), holds, and goes on.
  void StartHoldAndGoOn(Program& wendle, size_t from, int firstMark, const std::function<void()>& playPause) {
    playPause();
    ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{firstMark});
    EXPECT_TRUE(wendle.PlayAllRunning());
    playPause();
    EXPECT_TRUE(WaitForStatus(wendle, "Paused: ")) << wendle.StatusText();
    playPause();
    EXPECT_TRUE(WaitForStatus(wendle, "Playing ")) << wendle.StatusText();
  }

  // The time played that the status bar shows, in seconds (-1 for none).
  static int PlayedSeconds(const std::string& status) {
    size_t slash = status.rfind(" / ");
    size_t colon = slash == std::string::npos ? std::string::npos : status.rfind(':', slash);
    if (colon == std::string::npos) return -1;
    return atoi(status.c_str() + colon + 1);
  }
};

// Play/Pause starts Play All, holds it and lets it go on; Next skips;
// Previous plays the object from its start once it has played a few
// seconds, and the object before it during a countdown; Stop ends the
// run. The volume keys are left to the system.
TEST_F(MediaKeysTest, TheMediaKeysDrivePlayAll) {
  WriteList("keys.wdl", {{11, 12}, {-3}, {13, 14}});
  Program wendle("keys.wdl");
  ASSERT_TRUE(Opened(wendle, 3));
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_VOLUME_UP), 0) << "the volume keys are the system's";

  size_t from = bench::SinkSize();
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_PLAY_PAUSE), TRUE);
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{11});
  EXPECT_TRUE(wendle.PlayAllRunning());
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_PLAY_PAUSE), TRUE);
  ASSERT_TRUE(WaitForStatus(wendle, "Paused: ")) << wendle.StatusText();
  size_t held = bench::SinkSize();
  Sleep(1500);  // far longer than the sink takes for the rest of the sound
  EXPECT_LT(bench::SinkSize() - held, 4000u) << "the held sound went on";
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_PAUSE), TRUE);  // held already: stays held
  EXPECT_TRUE(StartsWith(wendle.StatusText(), "Paused: ")) << wendle.StatusText();
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_PLAY), TRUE);
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{11, 12}));

  // The Pause object's countdown: Previous plays the object before it,
  // then the run goes on with the countdown.
  ASSERT_TRUE(WaitForStatus(wendle, "Pause 3 sec.")) << wendle.StatusText();
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_PREVIOUSTRACK), TRUE);
  ASSERT_EQ(bench::WaitForMarks(from, 3), (std::vector<int>{11, 12, 11}));
  // A few seconds into it, Previous starts it again from its start.
  ASSERT_TRUE(wendle.WaitFor([&] { return PlayedSeconds(wendle.StatusText()) >= 4; })) << wendle.StatusText();
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_PREVIOUSTRACK), TRUE);
  ASSERT_EQ(bench::WaitForMarks(from, 4), (std::vector<int>{11, 12, 11, 11}));
  // Next cuts it short: the countdown comes, then the last sound.
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_NEXTTRACK), TRUE);
  ASSERT_TRUE(WaitForStatus(wendle, "Pause 3 sec.")) << wendle.StatusText();
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_NEXTTRACK), TRUE);
  ASSERT_EQ(bench::WaitForMarks(from, 5), (std::vector<int>{11, 12, 11, 11, 13}));
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_STOP), TRUE);
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  Sleep(1500);
  EXPECT_EQ(bench::MarksIn(bench::SinkBytes(from)), (std::vector<int>{11, 12, 11, 11, 13})) << "stopped late";
  EXPECT_EQ(wendle.StatusText(), LanguageString(IDS_STATUS_READY));
}

// Without Play All, Next and Previous play the item after or before the
// selected one, and during Play Selected they end it and play that item.
// Stop ends Play Selected.
TEST_F(MediaKeysTest, NextAndPreviousStepThroughTheList) {
  WriteList("steps.wdl", {{21, 22}, {23, 24}, {25, 26}});
  Program wendle("steps.wdl");
  ASSERT_TRUE(Opened(wendle, 3));
  size_t from = bench::SinkSize();
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_NEXTTRACK), TRUE);  // the second item
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{23}) << wendle.StatusText();
  EXPECT_FALSE(wendle.PlayAllRunning());
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_NEXTTRACK), TRUE);
  ASSERT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{23, 25}));
  EXPECT_EQ(wendle.ListSelection(), 2);
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_STOP), TRUE);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }))
      << wendle.StatusText();
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_PREVIOUSTRACK), TRUE);  // nothing plays: the item before
  ASSERT_EQ(bench::WaitForMarks(from, 3), (std::vector<int>{23, 25, 23}));
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_PREVIOUSTRACK), TRUE);
  ASSERT_EQ(bench::WaitForMarks(from, 4), (std::vector<int>{23, 25, 23, 21}));
  EXPECT_EQ(bench::WaitForMarks(from, 5), (std::vector<int>{23, 25, 23, 21, 22}));  // played to its end
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }));
  EXPECT_EQ(wendle.ListSelection(), 0);
}

// The keys themselves reach the program whichever program is in front: it
// takes them from every program. One another program holds is reported on
// the status bar, and reaches Wendle only while it is in front.
TEST_F(MediaKeysTest, TheKeysWorkFromEveryProgramAndAKeyHeldElsewhereIsReported) {
  WriteList("taken.wdl", {{31, 32}, {33}});
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, 0, VK_MEDIA_NEXT_TRACK));  // this process holds Next
  Program wendle("taken.wdl");
  ASSERT_TRUE(Opened(wendle, 2));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_MEDIA_KEYS_TAKEN); }))
      << wendle.StatusText();
  UnregisterHotKey(nullptr, 1);

  size_t from = bench::SinkSize();
  ASSERT_NO_FATAL_FAILURE(StartHoldAndGoOn(wendle, from, 31, [] { PressKey(VK_MEDIA_PLAY_PAUSE); }));
  // Next was not taken: it comes as the window's own WM_APPCOMMAND.
  EXPECT_EQ(AppCommand(wendle, APPCOMMAND_MEDIA_NEXTTRACK), TRUE);
  ASSERT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{31, 33}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  PressKey(VK_MEDIA_PLAY_PAUSE);  // Play All again
  ASSERT_EQ(bench::WaitForMarks(from, 3), (std::vector<int>{31, 33, 31}));
  PressKey(VK_MEDIA_STOP);
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  Sleep(1500);
  EXPECT_EQ(bench::MarksIn(bench::SinkBytes(from)), (std::vector<int>{31, 33, 31})) << "stopped late";
}

// Stop After This One: the object that plays ends as it would, and the
// run ends with it, without its delay of half a minute.
TEST_F(MediaKeysTest, StopAfterThisOneEndsPlayAllWithTheObject) {
  WriteList("after.wdl", {{41, 42, 30}, {43}});
  size_t from = bench::SinkSize();
  Program wendle("after.wdl /play");
  ASSERT_TRUE(wendle.Window());
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{41});
  PostMessageA(wendle.Window(), WM_COMMAND, IDM_SOUND_STOP_AFTER, 0);
  ASSERT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{41, 42}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }, 10000)) << "the delay was waited out";
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }))
      << wendle.StatusText();

  // Chosen twice, it is taken back: the run goes on.
  from = bench::SinkSize();
  wendle.Key('S', true, true);  // Start Play All
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{41});
  PostMessageA(wendle.Window(), WM_COMMAND, IDM_SOUND_STOP_AFTER, 0);
  PostMessageA(wendle.Window(), WM_COMMAND, IDM_SOUND_STOP_AFTER, 0);
  ASSERT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{41, 42}));
  EXPECT_TRUE(WaitForStatus(wendle, "Pause ")) << wendle.StatusText();
  // In the delay the object has ended: the run ends at once.
  PostMessageA(wendle.Window(), WM_COMMAND, IDM_SOUND_STOP_AFTER, 0);
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }, 10000));
  EXPECT_EQ(bench::MarksIn(bench::SinkBytes(from)), (std::vector<int>{41, 42}));
}

// Wendle holds the media keys while the option says so: another program
// cannot take them then, and can once the option is turned off.
TEST_F(MediaKeysTest, ThePreferencesLetTheKeysGo) {
  auto canTake = [] {
    if (!RegisterHotKey(nullptr, 2, 0, VK_MEDIA_PLAY_PAUSE)) return false;
    UnregisterHotKey(nullptr, 2);
    return true;
  };
  Program wendle;
  ASSERT_TRUE(wendle.Window());
  // Posted: it opens once the start is over, the keys taken by then.
  PostMessageA(wendle.Window(), WM_COMMAND, IDM_OPT_PREFERENCES, 0);
  HWND dialog = wendle.WaitForDialog();
  ASSERT_TRUE(dialog) << wendle.Describe();
  EXPECT_FALSE(canTake()) << "Wendle does not hold the key";
  HWND box = GetDlgItem(dialog, IDC_PREF_MEDIA_KEYS);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(wendle.ClickUntil(box, [&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }));
  ASSERT_TRUE(wendle.PressButton(dialog, IDC_OK));
  EXPECT_TRUE(wendle.WaitFor(canTake));
}

// The taskbar button: once the shell says it exists, the program sets up
// its progress and thumbnail toolbar (Wine accepts both and shows
// nothing), plays on as before, and the toolbar's buttons work as the
// media keys do.
TEST_F(MediaKeysTest, TheTaskbarButtonsToolbarWorksAsTheMediaKeys) {
  WriteList("taskbar.wdl", {{51, 52}, {53, 54}});
  Program wendle("taskbar.wdl");
  ASSERT_TRUE(Opened(wendle, 2));
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendMessageTimeoutA(wendle.Window(), RegisterWindowMessageA("TaskbarButtonCreated"), 0, 0,
                                  SMTO_ABORTIFHUNG, 10000, &result));
  auto thumb = [&](int id) {
    SendMessageTimeoutA(wendle.Window(), WM_COMMAND, MAKEWPARAM(id, THBN_CLICKED), 0, SMTO_ABORTIFHUNG, 10000, &result);
  };
  size_t from = bench::SinkSize();
  ASSERT_NO_FATAL_FAILURE(StartHoldAndGoOn(wendle, from, 51, [&] { thumb(IDC_THUMB_PLAY_PAUSE); }));
  thumb(IDC_THUMB_NEXT);
  ASSERT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{51, 53}));
  thumb(IDC_THUMB_PREVIOUS);  // at once: the object before
  ASSERT_EQ(bench::WaitForMarks(from, 3), (std::vector<int>{51, 53, 51}));
  EXPECT_EQ(bench::WaitForMarks(from, 6), (std::vector<int>{51, 53, 51, 52, 53, 54}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  // The shell restarted: the button is made again.
  ASSERT_TRUE(SendMessageTimeoutA(wendle.Window(), RegisterWindowMessageA("TaskbarButtonCreated"), 0, 0,
                                  SMTO_ABORTIFHUNG, 10000, &result));
  PostMessageA(wendle.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(wendle.WaitForExit(), 0u);
}

}  // namespace
