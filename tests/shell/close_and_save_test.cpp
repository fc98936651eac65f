// Closing and saving as a classic Win32 editor does them, through the real
// program: the close and the end of the session ask one question, save
// synchronously, and let go only when the list was written or the user said
// No; Save As takes a name only once the list was written there.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "bench/program.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

using bench::LanguageString;
using bench::Program;

class CloseAndSave : public bench::ProgramTestBase {
 protected:
  // Removes the selected item, confirming: the list is changed.
  void RemoveOne(Program& wendle) {
    int count = wendle.ListCount();
    wendle.Key(VK_DELETE);
    HWND confirm = wendle.WaitForDialog();
    ASSERT_TRUE(confirm) << wendle.Describe();
    ASSERT_TRUE(wendle.PressButton(confirm, IDYES));
    ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == count - 1; }));
  }
};

// The window system asks whether the session may end (logoff, shutdown):
// sent from a thread of its own, since the program shows its question while
// the message is being handled.
class SessionEnd {
 public:
  explicit SessionEnd(HWND window) {
    thread_ = std::thread([this, window] {
      DWORD_PTR result = 0;
      BOOL answered =
          SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 60000, &result);
      result_ = answered ? static_cast<int>(result) : -1;
    });
  }
  ~SessionEnd() {
    if (thread_.joinable()) thread_.join();
  }
  // The program's answer: 1 may end, 0 may not, -1 none (still waiting).
  int Result() {
    if (thread_.joinable()) thread_.join();
    return result_;
  }

 private:
  std::thread thread_;
  std::atomic<int> result_{-1};
};

TEST_F(CloseAndSave, TheSessionEndsOnlyWhenTheChangesWereWrittenOrNotWanted) {
  std::string list = bench::WriteMarkedList(bench::TempPath("session.wdl"), {1, 2, 3});
  Program wendle("session.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 3; }));
  RemoveOne(wendle);
  std::string before = bench::ReadFileBytes(list);

  // Yes, but the file cannot be written: the session must not end.
  SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY);
  {
    SessionEnd session(wendle.Window());
    HWND question = wendle.WaitForDialog();
    ASSERT_TRUE(question) << wendle.Describe();
    EXPECT_EQ(Program::DialogText(question), LanguageString(IDS_ASK_SAVE_CHANGES));
    ASSERT_TRUE(wendle.PressButton(question, IDYES));
    HWND failed = wendle.WaitForDialog();
    ASSERT_TRUE(failed) << wendle.Describe();
    EXPECT_TRUE(bench::SaysCannotWrite(Program::DialogText(failed), list)) << Program::DialogText(failed);
    ASSERT_TRUE(wendle.PressButton(failed, IDOK));
    EXPECT_EQ(session.Result(), 0) << "the session ended with the changes unwritten";
  }
  SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(bench::ReadFileBytes(list), before);

  // Cancel: not either.
  {
    SessionEnd session(wendle.Window());
    HWND question = wendle.WaitForDialog();
    ASSERT_TRUE(question) << wendle.Describe();
    ASSERT_TRUE(wendle.PressButton(question, IDCANCEL));
    EXPECT_EQ(session.Result(), 0);
  }

  // Yes with a file that can be written: the session may end, and the list
  // is on disk.
  {
    SessionEnd session(wendle.Window());
    HWND question = wendle.WaitForDialog();
    ASSERT_TRUE(question) << wendle.Describe();
    ASSERT_TRUE(wendle.PressButton(question, IDYES));
    EXPECT_EQ(session.Result(), 1);
  }
  EXPECT_EQ(bench::ReadFileBytes(list).find("Sound 1\n"), std::string::npos);
  EXPECT_NE(bench::ReadFileBytes(list).find("Sound 2\n"), std::string::npos);
}

TEST_F(CloseAndSave, AnUnnamedListWhoseSaveAsIsCancelledIsNotLostAtLogoff) {
  Program wendle;
  ASSERT_TRUE(wendle.Window());
  // One object through the dialogs.
  std::string wave = bench::WriteMarkedWave("unnamed.wav", 5, 100);
  HWND object = wendle.OpenAddDialogOfKind(IDK_WAVE);
  ASSERT_TRUE(object) << wendle.Describe();
  ASSERT_TRUE(wendle.TypeInto(GetDlgItem(object, IDC_SOUND_FILE), wave));
  wendle.KeyIn(object, VK_RETURN);
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.ListCount() == 1; })) << wendle.Describe();

  // Yes to saving, then Cancel in Save As.
  auto yesThenCancel = [&] {
    HWND question = wendle.WaitForDialog();
    ASSERT_TRUE(question) << wendle.Describe();
    ASSERT_TRUE(wendle.PressButton(question, IDYES));
    HWND saveAs = wendle.WaitForDialog();
    ASSERT_TRUE(saveAs) << wendle.Describe();
    ASSERT_TRUE(wendle.PressButton(saveAs, IDCANCEL));
  };
  {
    SessionEnd session(wendle.Window());
    yesThenCancel();
    EXPECT_EQ(session.Result(), 0) << "the session ended with an unsaved list";
  }
  EXPECT_EQ(wendle.ListCount(), 1);

  // The close asks the same, and stays open the same way.
  wendle.Key(VK_F4, false, true);
  yesThenCancel();
  EXPECT_EQ(wendle.WaitForExit(1000), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(wendle.ListCount(), 1);
}

// Save As onto another list that exists: the dialog asks once; No leaves
// the dialog, Cancel leaves the list as it was, named as it was, and the
// other file untouched. A later Yes at the close saves to the list's own
// file.
TEST_F(CloseAndSave, SaveAsTakesANameOnlyOnceTheListIsWrittenThere) {
  std::string a = bench::WriteMarkedList(bench::TempPath("a.wdl"), {11, 12});
  std::string b = bench::WriteMarkedList(bench::TempPath("b.wdl"), {21});
  std::string bBefore = bench::ReadFileBytes(b);
  Program wendle("a.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 2; }));
  RemoveOne(wendle);

  HWND save = nullptr;
  ASSERT_TRUE(wendle.SaveAsByKeys(b, &save));
  EXPECT_NE(bench::WindowText(GetDlgItem(save, IDOK)).find("Save"), std::string::npos) << "not the save dialog";
  HWND replace = wendle.WaitForDialog(15000, save);
  ASSERT_TRUE(replace) << wendle.Describe();
  ASSERT_TRUE(wendle.PressButton(replace, IDNO));
  ASSERT_TRUE(wendle.PressButton(save, IDCANCEL));
  EXPECT_EQ(wendle.Title(), "Wendle - A.WDL");
  EXPECT_EQ(bench::ReadFileBytes(b), bBefore);

  // Another program holds b.wdl open: Yes to replacing it, but the write
  // fails, is said, and the list keeps its name.
  HANDLE held = CreateFileA(b.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  wendle.Key('F', false, true);
  wendle.Key('A');
  save = wendle.WaitForDialog();
  ASSERT_TRUE(save) << wendle.Describe();
  ASSERT_TRUE(wendle.TypeInto(bench::FileNameField(save), b));
  wendle.KeyIn(save, VK_RETURN);
  replace = wendle.WaitForDialog(15000, save);
  ASSERT_TRUE(replace) << wendle.Describe();
  ASSERT_TRUE(wendle.PressButton(replace, IDYES));
  HWND failed = wendle.WaitForDialog(15000, save);
  ASSERT_TRUE(failed) << wendle.Describe();
  EXPECT_TRUE(bench::SaysCannotWrite(Program::DialogText(failed), b)) << Program::DialogText(failed);
  ASSERT_TRUE(wendle.PressButton(failed, IDOK));
  CloseHandle(held);
  EXPECT_TRUE(wendle.WaitFor([&] { return wendle.Title() == "Wendle - A.WDL"; })) << wendle.Title();
  EXPECT_EQ(bench::ReadFileBytes(b), bBefore);

  wendle.Key(VK_F4, false, true);
  HWND question = wendle.WaitForDialog();
  ASSERT_TRUE(question) << wendle.Describe();
  ASSERT_TRUE(wendle.PressButton(question, IDYES));
  EXPECT_EQ(wendle.WaitForExit(), 0u) << wendle.Describe();
  EXPECT_EQ(bench::ReadFileBytes(b), bBefore);
  EXPECT_EQ(bench::ReadFileBytes(a).find("Sound 11\n"), std::string::npos);
  EXPECT_NE(bench::ReadFileBytes(a).find("Sound 12\n"), std::string::npos);
}

// Messages that any process can post to the main window: none may crash
// it, whatever they carry, and none takes a pointer.
TEST_F(CloseAndSave, NoMessageFromAnotherProcessCrashesTheProgram) {
  bench::WriteMarkedList(bench::TempPath("posted.wdl"), {31});
  Program wendle("posted.wdl");
  ASSERT_TRUE(wendle.WaitFor([&] { return wendle.Window() && wendle.ListCount() == 1; }));
  const LPARAM garbage[] = {0x1, static_cast<LPARAM>(0xDEADBEEFu), static_cast<LPARAM>(-1), 0x10000};
  for (UINT message = WM_USER + 1; message <= WM_USER + 8; ++message)
    for (LPARAM value : garbage) PostMessageA(wendle.Window(), message, static_cast<WPARAM>(value), value);
  // A handed-over command line without the marker, or longer than any
  // command line is.
  char text[] = "posted.wdl /play";
  std::string longer(4096, 'x');
  COPYDATASTRUCT unmarked = {0x1234, sizeof text, text};
  COPYDATASTRUCT tooLong = {COPYDATA_COMMAND_LINE, static_cast<DWORD>(longer.size()), &longer[0]};
  DWORD_PTR answer = 1;
  SendMessageTimeoutA(wendle.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&unmarked), SMTO_NORMAL, 5000, &answer);
  EXPECT_EQ(answer, 0u);
  SendMessageTimeoutA(wendle.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&tooLong), SMTO_NORMAL, 5000, &answer);
  EXPECT_EQ(answer, 0u);
  // Still answering, with the list as it was, and nothing playing.
  DWORD_PTR alive = 0;
  EXPECT_TRUE(SendMessageTimeoutA(wendle.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, &alive));
  EXPECT_EQ(wendle.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(wendle.ListCount(), 1);
  EXPECT_FALSE(wendle.PlayAllRunning());
}

}  // namespace
