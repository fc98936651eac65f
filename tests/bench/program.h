// The real program, started as a person starts it and used from outside:
// its windows are read with the window system's own messages (which cross
// processes), and keys and clicks go in as input, as a person's would.
#ifndef WENDLE_PROGRAM_H
#define WENDLE_PROGRAM_H

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// The program beside the test executable.
std::string ProgramPath();

// Removes the program's settings from the real per-user registry (the
// program runs outside this process's registry sandbox).
void ClearProgramSettings();

class Program {
 public:
  // Starts wendle.exe with the command line arguments in folder (the
  // test's temporary folder when empty); program names another copy of
  // wendle.exe than the one beside the test (an installed one, say).
  explicit Program(const std::string& arguments = "", const std::string& folder = "",
                   const std::string& program = "");
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

  // Input, as a person gives it, to the program's foreground window.
  void Key(WORD virtualKey, bool control = false, bool alt = false);
  void Click(HWND window, bool right = false, int x = -1, int y = -1);
  // Types text into the window that has the keyboard focus.
  void Type(const std::string& text);
  // Clicks a field, then replaces its text by typing.
  void TypeInto(HWND field, const std::string& text);
  // A message box or dialog of the program (other than the main window);
  // null after timeoutMs.
  HWND WaitForDialog(DWORD timeoutMs = 10000);
  // The first static text of a message box.
  static std::string DialogText(HWND dialog);
  // Presses a dialog's button (a message box's by its key, any other
  // with the mouse); true when the dialog closed.
  bool PressButton(HWND dialog, int id);
  // Makes window the foreground window and waits until it is.
  void BringToFront(HWND window);

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

}  // namespace bench

#endif
