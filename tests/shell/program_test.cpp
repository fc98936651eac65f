// Wendle as a person uses it: started from a command line, driven with keys
// and clicks, closed; checked by what shows on screen and what is heard.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/program.h"
#include "bench/screenshot.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::LanguageString;
using bench::Program;

using bench::WriteMarkedList;

using ProgramTest = bench::ProgramTestBase;

TEST_F(ProgramTest, OpensTheListNamedOnTheCommandLineQuotedOrNot) {
  WriteMarkedList(bench::TempPath("rock.wdl"), {1, 2, 3});
  {
    Program wendle("rock.wdl");
    ASSERT_TRUE(wendle.Window());
    EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title() == "Wendle - ROCK.WDL"; }));
    EXPECT_EQ(wendle.ListCount(), 3);
    EXPECT_EQ(wendle.ListSelection(), 0);
    bench::SaveScreenshot(wendle.Window(), "main_window_with_list");
  }
  // From the desktop shell a name arrives quoted, and may hold blanks.
  std::string folder = bench::TempPath("My Lists");
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string party = WriteMarkedList(folder + "\\party mix.wdl", {4, 5});
  {
    Program wendle("\"" + party + "\"");
    ASSERT_TRUE(wendle.Window());
    EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title() == "Wendle - PARTY MIX.WDL"; })) << wendle.Title();
    EXPECT_EQ(wendle.ListCount(), 2);
  }
}

TEST_F(ProgramTest, PlayOnTheCommandLinePlaysTheListToItsEnd) {
  WriteMarkedList(bench::TempPath("play.wdl"), {11, -1, 12, 13});
  size_t from = bench::SinkSize();
  Program wendle("play.wdl /PLAY");
  ASSERT_TRUE(wendle.Window());
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.PlayAllRunning(); }));
  bench::SaveScreenshot(wendle.Window(), "main_window_during_play_all");
  EXPECT_EQ(bench::WaitForMarks(from, 3), (std::vector<int>{11, 12, 13}));
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }));
  EXPECT_EQ(wendle.ListSelection(), 0);
}

// Random order differs between starts: the generator is seeded anew each
// time. Eight objects in one exclusive pass: the same order twice by
// chance is one in 40,320.
TEST_F(ProgramTest, TwoStartsPlayARandomListInDifferentOrders) {
  bench::WriteProgramSetting("PlayOrder", 527);           // random
  bench::WriteProgramSetting("Preferences", 2 | 8 | 16);  // exclusive, with the defaults
  bench::WriteProgramSetting("PlayListCount", 1);
  WriteMarkedList(bench::TempPath("random.wdl"), {51, 52, 53, 54, 55, 56, 57, 58}, 100);
  std::vector<std::vector<int>> orders;
  for (int start = 0; start < 2; ++start) {
    size_t from = bench::SinkSize();
    Program wendle("random.wdl /play");
    ASSERT_TRUE(wendle.Window());
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.PlayAllRunning(); }));
    ASSERT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }, 60000));
    orders.push_back(bench::WaitForMarks(from, 8));
    std::vector<int> sorted = orders.back();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int>{51, 52, 53, 54, 55, 56, 57, 58})) << "each object once";
  }
  EXPECT_NE(orders[0], orders[1]) << "both starts played the same order";
}

// A second start hands its list over and ends: the running Wendle opens it,
// found from the folder the second start ran in.
TEST_F(ProgramTest, ASecondStartHandsItsListToTheFirstAndEnds) {
  Program first;
  ASSERT_TRUE(first.Window());
  bench::SaveScreenshot(first.Window(), "main_window_empty");
  std::string folder = bench::TempPath("second");
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteMarkedList(folder + "\\other.wdl", {1, 2});
  Program second("other.wdl", folder);
  EXPECT_EQ(second.WaitForExit(), 0u);
  EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_TRUE(first.WaitFor([&] { return first.Title() == "Wendle - OTHER.WDL"; })) << first.Title();
  EXPECT_EQ(first.ListCount(), 2);
}

// A list handed over while the first one plays waits: the second start
// ends at once, the run goes on, and the list opens when the run stops;
// and so under a modal window, which it waits for.
TEST_F(ProgramTest, AListHandedOverWhilePlayingOpensWhenThePlayEnds) {
  WriteMarkedList(bench::TempPath("playing.wdl"), {-31});
  Program first("playing.wdl /play");
  ASSERT_TRUE(first.Window());
  ASSERT_TRUE(first.WaitFor([&] { return first.PlayAllRunning(); }));
  std::string folder = bench::TempPath("handed");
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteMarkedList(folder + "\\handed.wdl", {32, 33, 34});
  Program second("handed.wdl", folder);
  EXPECT_EQ(second.WaitForExit(), 0u);
  EXPECT_TRUE(first.PlayAllRunning());
  EXPECT_EQ(first.Title(), "Wendle - PLAYING.WDL");
  first.Key(VK_ESCAPE);  // Stop Play All
  EXPECT_TRUE(first.WaitFor([&] { return first.Title() == "Wendle - HANDED.WDL"; })) << first.Title();
  EXPECT_EQ(first.ListCount(), 3);

  // Under a modal window (the About box) it waits for the window to close.
  first.Key('H', false, true);
  first.Key('A');
  HWND about = first.WaitForDialog();
  ASSERT_TRUE(about) << first.Describe();
  Program third("playing.wdl", bench::TempDir());
  EXPECT_EQ(third.WaitForExit(), 0u);
  EXPECT_EQ(first.Title(), "Wendle - HANDED.WDL");
  ASSERT_TRUE(first.PressButton(about, IDOK));
  EXPECT_TRUE(first.WaitFor([&] { return first.Title() == "Wendle - PLAYING.WDL"; })) << first.Title();
}

// A close that comes while a dialog is open (from the taskbar, or another
// program) waits for the dialog: the command under it still works on the
// list. Once the dialog is answered the window closes as ever.
TEST_F(ProgramTest, AClosePostedUnderADialogWaitsForTheDialog) {
  Program wendle;
  ASSERT_TRUE(wendle.Window());
  wendle.Key('H', false, true);  // Help > About
  wendle.Key('A');
  HWND about = wendle.WaitForDialog();
  ASSERT_TRUE(about) << wendle.Describe();
  PostMessageA(wendle.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(wendle.WaitForExit(1000), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_TRUE(IsWindow(about));
  ASSERT_TRUE(wendle.PressButton(about, IDOK));
  PostMessageA(wendle.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(wendle.WaitForExit(), 0u);
}

// Remove and Move change the list: closing asks, and each answer does
// what it says.
TEST_F(ProgramTest, TheCloseQuestionAfterRemoveOrMove) {
  std::string list = WriteMarkedList(bench::TempPath("close.wdl"), {21, 22, 23});
  std::string original = bench::ReadFileBytes(list);
  {
    Program wendle("close.wdl");
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 3; }));
    wendle.Key(VK_DELETE);  // Remove, with its confirmation
    HWND confirm = wendle.WaitForDialog();
    ASSERT_TRUE(confirm);
    EXPECT_EQ(Program::DialogText(confirm), LanguageString(IDS_CONFIRM_REMOVE));
    ASSERT_TRUE(wendle.PressButton(confirm, IDYES));
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 2; }));

    wendle.Key(VK_F4, false, true);  // Alt+F4
    HWND question = wendle.WaitForDialog();
    ASSERT_TRUE(question);
    EXPECT_EQ(Program::DialogText(question), LanguageString(IDS_ASK_SAVE_CHANGES));
    ASSERT_TRUE(wendle.PressButton(question, IDCANCEL));
    EXPECT_EQ(wendle.WaitForExit(1000), static_cast<DWORD>(STILL_ACTIVE));

    wendle.Key(VK_F4, false, true);
    question = wendle.WaitForDialog();
    ASSERT_TRUE(question);
    ASSERT_TRUE(wendle.PressButton(question, IDNO));
    EXPECT_EQ(wendle.WaitForExit(), 0u);
  }
  EXPECT_EQ(bench::ReadFileBytes(list), original);

  {
    Program wendle("close.wdl");
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 3; }));
    // The right-button menu on the first item: Move to Bottom.
    HWND listBox = wendle.Child(IDC_OBJECT_LIST);
    wendle.Click(listBox, true, 40, 10);
    HWND menu = nullptr;
    ASSERT_TRUE(wendle.WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
    bench::SaveScreenshot(GetDesktopWindow(), "main_window_list_menu");
    for (int entry = 0; entry < 4; ++entry) wendle.Key(VK_DOWN);  // to "Move to Bottom"
    wendle.Key(VK_RETURN);
    ASSERT_TRUE(wendle.WaitFor([&] { return !IsWindowVisible(menu); }));

    wendle.Key(VK_F4, false, true);
    HWND question = wendle.WaitForDialog();
    ASSERT_TRUE(question) << "a moved item did not mark the list changed";
    ASSERT_TRUE(wendle.PressButton(question, IDYES));  // saved to its own file without a question, then closed
    EXPECT_EQ(wendle.WaitForExit(), 0u) << wendle.Describe();
  }
  std::string saved = bench::ReadFileBytes(list);
  EXPECT_NE(saved, original);
  EXPECT_EQ(saved.rfind("WDv1.0\nSound 22\n", 0), 0u) << saved;
}

TEST_F(ProgramTest, MenuHelpAndTheKeysOfTheList) {
  WriteMarkedList(bench::TempPath("keys.wdl"), {31, 32}, 20000);
  Program wendle("keys.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 2; }));

  // Highlighting "Open..." in the File menu shows its help.
  wendle.Key('F', false, true);
  wendle.Key(VK_DOWN);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(CommandHelpString(IDM_FILE_OPEN)); }))
      << wendle.StatusText();
  wendle.Key(VK_ESCAPE);
  wendle.Key(VK_ESCAPE);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }));

  // Space opens the list's menu; Escape closes it.
  wendle.Click(wendle.Child(IDC_OBJECT_LIST), false, 40, 10);
  wendle.Key(VK_SPACE);
  HWND menu = nullptr;
  EXPECT_TRUE(wendle.WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }));
  wendle.Key(VK_ESCAPE);

  // Escape in the list stops the sound that plays.
  size_t from = bench::SinkSize();
  wendle.Key(VK_F2);  // Play Selected
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText().rfind("Playing ", 0) == 0; }));
  EXPECT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{31});
  wendle.Key(VK_ESCAPE);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.StatusText() == LanguageString(IDS_STATUS_READY); }, 5000));
}

TEST_F(ProgramTest, AHotKeyFromTheWindowSystemStartsAndStopsPlayAll) {
  WriteMarkedList(bench::TempPath("hot.wdl"), {-60});
  Program wendle("hot.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; }));
  wendle.Key('S', true, true);  // Control+Alt+S
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.PlayAllRunning(); }));
  wendle.Key('S', true, true);
  EXPECT_TRUE(wendle.WaitFor([&] { return !wendle.PlayAllRunning(); }));
}

TEST_F(ProgramTest, ResizingLaysOutTheWindowAndMinimizingKeepsItAlive) {
  Program wendle;
  HWND window = wendle.Window();
  ASSERT_TRUE(window);
  SetWindowPos(window, nullptr, 0, 0, 800, 520, SWP_NOMOVE | SWP_NOZORDER);
  RECT client, ribbon, list;
  ASSERT_TRUE(wendle.WaitFor([&] {
    GetClientRect(window, &client);
    HWND ribbonWindow = FindWindowExA(window, nullptr, "FrameRibbonClass", nullptr);
    GetWindowRect(ribbonWindow, &ribbon);
    return ribbon.right - ribbon.left == client.right + 2;
  }));
  EXPECT_EQ(ribbon.bottom - ribbon.top, 46);
  GetWindowRect(wendle.Child(IDC_OBJECT_LIST), &list);
  POINT corner = {list.left, list.top};
  ScreenToClient(window, &corner);
  EXPECT_EQ(corner.x, 60);
  EXPECT_EQ(corner.y, 74);
  EXPECT_EQ(list.right - list.left, client.right - 100);

  ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(wendle.WaitFor([&] { return IsIconic(window) != FALSE; }));
  Sleep(600);  // the first frames of the icon
  bench::SaveScreenshot(window, "main_window_minimized");
  ShowWindow(window, SW_RESTORE);
  EXPECT_TRUE(wendle.WaitFor([&] { return !IsIconic(window); }));
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title() == "Wendle"; }));
}

// Closing while something plays ends the program cleanly.
TEST_F(ProgramTest, ClosingWhilePlayingEndsCleanly) {
  WriteMarkedList(bench::TempPath("busy.wdl"), {41, -30}, 20000);
  WriteMarkedList(bench::TempPath("pause.wdl"), {-30});
  struct Case {
    const char* arguments;
    WORD key;  // what starts the playing
  } cases[] = {{"busy.wdl", VK_F2}, {"busy.wdl /play", 0}, {"pause.wdl", VK_F2}};
  for (const Case& c : cases) {
    Program wendle(c.arguments);
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() > 0; }));
    if (c.key) wendle.Key(c.key);
    ASSERT_TRUE(wendle.WaitFor([&] {
      std::string status = wendle.StatusText();
      return status.rfind("Playing ", 0) == 0 || status.rfind("Pause ", 0) == 0;
    })) << c.arguments;
    PostMessageA(wendle.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(wendle.WaitForExit(10000), 0u) << c.arguments;
  }
}

}  // namespace
