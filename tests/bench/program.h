// The real program, started as a person starts it and used from outside:
// its windows are read with the window system's own messages (which cross
// processes), and keys and clicks go in as input, as a person's would.
#ifndef WENDLE_PROGRAM_H
#define WENDLE_PROGRAM_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// The program beside the test executable.
std::string ProgramPath();

// Removes the program's settings from the real per-user registry (the
// program runs outside this process's registry sandbox).
void ClearProgramSettings();
// Writes one of the program's settings (a value of its Settings key) to
// the real per-user registry, for the next start of the program.
void WriteProgramSetting(const std::string& value, const std::string& text);
void WriteProgramSetting(const std::string& value, DWORD number);

// While alive, programs started from now on run at dpi: the user's
// LogPixels, which Wine reads as each process starts (Windows at sign-in).
// The value before comes back at the end.
class ProgramDpi {
 public:
  explicit ProgramDpi(DWORD dpi);
  ~ProgramDpi();
  ProgramDpi(const ProgramDpi&) = delete;
  ProgramDpi& operator=(const ProgramDpi&) = delete;

 private:
  bool hadValue_ = false;
  DWORD oldValue_ = 0;
};

// What a screen reader reads, through the wide-character functions: a
// window's text, and a list box row's text.
std::wstring WideWindowText(HWND window);
std::wstring WideListText(HWND list, int index);

// The file-name field of the platform's file dialog.
HWND FileNameField(HWND fileDialog);

// The fixture of a test of the real program: it starts and ends with the
// program's settings cleared, and is skipped where no sound sink is set up.
class ProgramTestBase : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

class Program {
 public:
  // Starts wendle.exe with the command line arguments in folder (the
  // test's temporary folder when empty); program names another copy of
  // wendle.exe than the one beside the test (an installed one, say).
  explicit Program(const std::string& arguments = "", const std::string& folder = "", const std::string& program = "");
  // Takes over a Wendle process that another program started (the desktop
  // shell, say): the handle is the Program's from now on.
  explicit Program(HANDLE process);
  // Closes the program if it still runs (answering No to any question),
  // and kills it if it does not end.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD ProcessId() const { return processId_; }
  HANDLE Process() const { return process_; }
  // The main window once it is shown (null after timeoutMs).
  HWND Window(DWORD timeoutMs = 15000);
  // Waits for the end of the process: its exit code, or STILL_ACTIVE.
  DWORD WaitForExit(DWORD timeoutMs = 15000);

  HWND Child(int id);
  std::string Title();
  std::string StatusText();
  int ListCount();
  int ListSelection();
  // The window system lets no other process read the program's menus:
  // tests see the busy state by what the window shows.
  bool PlayAllRunning();  // the Stop Play All button shows

  // Waits until condition holds (looked at every 20 ms).
  template <typename Condition>
  bool WaitFor(Condition condition, DWORD timeoutMs = 15000) {
    ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
      if (condition()) return true;
      if (GetTickCount64() >= end) return false;
      Sleep(20);
    }
  }

  // Input, as a person gives it. Every key and click waits first until
  // the window it is meant for is the program's active window, in front,
  // with the keyboard focus inside it, as a person sees it before acting:
  // input given earlier would land wherever the focus happens to be.
  //
  // A key to the main window (or, in its menus, to the menu).
  void Key(WORD virtualKey, bool control = false, bool alt = false, bool shift = false);
  // A key with Shift held, to the main window.
  void ShiftKey(WORD virtualKey);
  // A key to one of the program's top-level windows (a dialog).
  void KeyIn(HWND window, WORD virtualKey, bool control = false, bool alt = false, bool shift = false);
  void Click(HWND window, bool right = false, int x = -1, int y = -1);
  // Clicks a control whose click does the same however often it comes (a
  // radio button) until done() holds, as a person clicks again when a
  // click did nothing; false when a few clicks did not do it.
  bool ClickUntil(HWND window, const std::function<bool()>& done);
  // Types text where the keyboard focus is.
  void Type(const std::string& text);
  // Clicks a field, replaces its text by typing, and waits until the field
  // holds exactly text; a failure (after a few tries) says what it holds.
  testing::AssertionResult TypeInto(HWND field, const std::string& text);
  // File > Save As, the name typed into the file dialog and Enter pressed;
  // *dialog (when given) is the file dialog, which may still be open.
  testing::AssertionResult SaveAsByKeys(const std::string& name, HWND* dialog = nullptr);
  // A message box or dialog of the program (other than the main window and
  // than `other`) once it is shown and active; null after timeoutMs.
  HWND WaitForDialog(DWORD timeoutMs = 10000, HWND other = nullptr);
  // The first static text of a message box.
  static std::string DialogText(HWND dialog);
  // Presses a dialog's button (a message box's by its key, any other
  // with the mouse); true when the dialog closed.
  bool PressButton(HWND dialog, int id);
  // Add Sound Object (F4): chooses the kind by its command id (IDK_WAVE...)
  // with the arrow keys and Enter, and returns the kind's own dialog once it
  // is active; null when that kind is not offered or no dialog came.
  HWND OpenAddDialogOfKind(int kindCommand);
  // Waits until window is the program's active window and the foreground
  // window, with the keyboard focus in it; brings it to the front when
  // another window has the front. False after timeoutMs.
  bool Activate(HWND window, DWORD timeoutMs = 15000);
  // The program's window that has the keyboard focus (null for none).
  HWND Focus();
  // What the program shows now, for a failure's message: its visible
  // windows, the foreground window and where the keyboard focus is.
  std::string Describe();

 private:
  GUITHREADINFO ThreadInfo();
  // A visible dialog of the program other than `other`, active or not.
  HWND AnyDialog(HWND other = nullptr);

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

}  // namespace bench

#endif
