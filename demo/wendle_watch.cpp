/*
 * wendle_watch: follows one Play All run of Wendle's main window, saves a
 * picture of the window once the run is over and closes Wendle. The demo
 * run (scripts/run.sh) uses it on a display nobody looks at; it is a tool,
 * not part of the program.
 *
 *   wendle_watch [/timeout SECONDS] [/process ID] PICTURE.BMP [PROGRAM [ARGUMENTS...]]
 *
 * With a program it starts that program and watches only that process's
 * main window, so an early end of the program is seen at once. Without one
 * it watches the main window of the process given by /process, or else the
 * first main window of any process.
 *
 * A run is seen through the two play buttons: Stop Play All is shown while
 * Play All runs and Play All otherwise. Progress goes to standard output,
 * one line per step; a failure is one line on standard error.
 */
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "resources/ids.h"

namespace {

const char kMainWindowClass[] = "RI32Duver";
const DWORD kPollMs = 50;
const ULONGLONG kDefaultTimeoutSeconds = 600;
const ULONGLONG kMaxTimeoutSeconds = 86400;
// After the run, how long the window may take to repaint before the picture.
const ULONGLONG kPaintGraceMs = 5000;

enum ExitCode { kDone = 0, kBadArguments = 1, kGaveUp = 2, kNoPicture = 3 };

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  vfprintf(stdout, format, args);
  va_end(args);
  fputc('\n', stdout);
  fflush(stdout);
}

void Complain(const char* format, ...) {
  va_list args;
  va_start(args, format);
  fputs("wendle_watch: ", stderr);
  vfprintf(stderr, format, args);
  va_end(args);
  fputc('\n', stderr);
  fflush(stderr);
}

// What is watched: the process started here (none: any process) and the
// time by which everything must be over.
struct Watch {
  HANDLE process = nullptr;
  DWORD processId = 0;
  ULONGLONG deadline = 0;
};

// ---- Finding the window and reading its state -------------------------------

struct FindData {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindowProc(HWND window, LPARAM param) {
  FindData* data = reinterpret_cast<FindData*>(param);
  char name[32];
  if (!GetClassNameA(window, name, sizeof name) || lstrcmpA(name, kMainWindowClass) != 0) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (data->processId != 0 && owner != data->processId) return TRUE;
  data->found = window;
  return FALSE;
}

HWND FindMainWindow(DWORD processId) {
  FindData data = {processId, nullptr};
  EnumWindows(FindMainWindowProc, reinterpret_cast<LPARAM>(&data));
  return data.found;
}

// The button's own visibility, whatever state its parent is in.
bool IsButtonShown(HWND mainWindow, int id) {
  HWND button = GetDlgItem(mainWindow, id);
  return button && (GetWindowLongPtrA(button, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsPlayAllRunning(HWND mainWindow) { return IsButtonShown(mainWindow, IDC_BTN_STOP_PLAY_ALL); }

bool IsPlayAllIdle(HWND mainWindow) {
  return IsButtonShown(mainWindow, IDC_BTN_PLAY_ALL) && !IsButtonShown(mainWindow, IDC_BTN_STOP_PLAY_ALL);
}

BOOL CALLBACK FindUnpaintedChildProc(HWND child, LPARAM param) {
  if (GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

bool IsPainted(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  bool unpainted = false;
  EnumChildWindows(window, FindUnpaintedChildProc, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

// ---- Waiting ------------------------------------------------------------------

enum class Waited { Done, TimedOut, ProgramEnded };

// Polls done() until it holds, the deadline passes or the watched program
// ends. The pause between polls is spent blocked on the process handle.
template <typename Condition>
Waited WaitFor(const Watch& watch, ULONGLONG deadline, Condition done) {
  for (;;) {
    if (done()) return Waited::Done;
    if (watch.process && WaitForSingleObject(watch.process, 0) == WAIT_OBJECT_0) return Waited::ProgramEnded;
    if (GetTickCount64() >= deadline) return Waited::TimedOut;
    if (watch.process)
      WaitForSingleObject(watch.process, kPollMs);
    else
      Sleep(kPollMs);
  }
}

// One line on why a wait failed; the result is the exit code.
int ReportWait(const Watch& watch, Waited result, const char* waitingFor) {
  if (result == Waited::ProgramEnded) {
    DWORD code = 0;
    GetExitCodeProcess(watch.process, &code);
    Complain("the program ended (exit code %lu) while waiting for %s", static_cast<unsigned long>(code), waitingFor);
  } else {
    Complain("timed out waiting for %s", waitingFor);
  }
  return kGaveUp;
}

// ---- The picture --------------------------------------------------------------

bool WriteAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

bool WriteBmpFile(const char* path, const BITMAPINFOHEADER& header, const void* bits, DWORD size) {
  BITMAPFILEHEADER fileHeader = {};
  fileHeader.bfType = 0x4D42;  // "BM"
  fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
  fileHeader.bfSize = fileHeader.bfOffBits + size;
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(file, &fileHeader, sizeof fileHeader) && WriteAll(file, &header, sizeof header) &&
            WriteAll(file, bits, size);
  ok = CloseHandle(file) && ok;
  if (!ok) DeleteFileA(path);
  return ok;
}

// Copies the whole window, frame and menu bar included, from its window
// DC. (Wine's PrintWindow draws the window without its child controls.)
bool SaveWindowPicture(HWND window, const char* path) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files keep rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  info.bmiHeader.biSizeImage = stride * static_cast<DWORD>(height);

  HDC source = GetWindowDC(window);
  if (!source) return false;
  void* bits = nullptr;
  HBITMAP picture = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(source);
  bool ok = false;
  if (picture && memory && bits) {
    HGDIOBJ old = SelectObject(memory, picture);
    ok = BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
  }
  if (ok) ok = WriteBmpFile(path, info.bmiHeader, bits, info.bmiHeader.biSizeImage);
  if (memory) DeleteDC(memory);
  if (picture) DeleteObject(picture);
  ReleaseDC(window, source);
  return ok;
}

// ---- Starting the program -------------------------------------------------------

// Appends one argument quoted so that the usual command-line parsing gives
// it back unchanged.
void AppendArgument(std::string* line, const char* argument) {
  if (!line->empty()) line->push_back(' ');
  if (*argument && !strpbrk(argument, " \t\"")) {
    line->append(argument);
    return;
  }
  line->push_back('"');
  size_t backslashes = 0;
  for (const char* p = argument; *p; ++p) {
    if (*p == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    line->append(*p == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    line->push_back(*p);
  }
  line->append(backslashes * 2, '\\');  // before the closing quote
  line->push_back('"');
}

bool StartProgram(int count, char** arguments, Watch* watch) {
  std::string line;
  for (int i = 0; i < count; ++i) AppendArgument(&line, arguments[i]);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    Complain("cannot start %s (error %lu)", line.c_str(), static_cast<unsigned long>(GetLastError()));
    return false;
  }
  CloseHandle(started.hThread);
  watch->process = started.hProcess;
  watch->processId = started.dwProcessId;
  return true;
}

// ---- The run ------------------------------------------------------------------

int WatchPlayAll(Watch& watch, const char* picturePath) {
  HWND window = nullptr;
  Waited result = WaitFor(watch, watch.deadline, [&] {
    window = FindMainWindow(watch.processId);
    return window && IsWindowVisible(window);
  });
  if (result != Waited::Done) return ReportWait(watch, result, "Wendle's main window");
  Say("Wendle's window is open.");

  result = WaitFor(watch, watch.deadline, [&] { return !IsWindow(window) || IsPlayAllRunning(window); });
  if (result == Waited::Done && !IsWindow(window)) result = Waited::ProgramEnded;
  if (result != Waited::Done) return ReportWait(watch, result, "Play All to start");
  Say("Play All started.");

  result = WaitFor(watch, watch.deadline, [&] { return !IsWindow(window) || IsPlayAllIdle(window); });
  if (result == Waited::Done && !IsWindow(window)) result = Waited::ProgramEnded;
  if (result != Waited::Done) return ReportWait(watch, result, "Play All to end");
  Say("Play All ended.");

  // The last texts of the run are shown; let them be painted first.
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPaintGraceMs, nullptr);
  ULONGLONG paintDeadline = GetTickCount64() + kPaintGraceMs;
  if (paintDeadline > watch.deadline) paintDeadline = watch.deadline;
  WaitFor(watch, paintDeadline, [&] { return IsPainted(window); });
  if (!SaveWindowPicture(window, picturePath)) {
    Complain("cannot save the picture of the window to %s", picturePath);
    PostMessageA(window, WM_CLOSE, 0, 0);
    return kNoPicture;
  }
  Say("Picture saved: %s", picturePath);

  PostMessageA(window, WM_CLOSE, 0, 0);
  result = WaitFor(watch, watch.deadline, [&] {
    return !IsWindow(window) && (!watch.process || WaitForSingleObject(watch.process, 0) == WAIT_OBJECT_0);
  });
  if (result == Waited::ProgramEnded) result = Waited::Done;  // the program's end is what was waited for
  if (result != Waited::Done) return ReportWait(watch, result, "Wendle to close");
  Say("Wendle closed.");
  return kDone;
}

void Usage() { Complain("usage: wendle_watch [/timeout SECONDS] [/process ID] PICTURE.BMP [PROGRAM [ARGUMENTS...]]"); }

// A whole decimal number from 1 to limit.
bool ParseNumber(const char* text, ULONGLONG limit, ULONGLONG* number) {
  char* end = nullptr;
  *number = strtoull(text, &end, 10);
  return *text >= '0' && *text <= '9' && !*end && *number >= 1 && *number <= limit;
}

}  // namespace

int main(int argc, char** argv) {
  ULONGLONG timeoutSeconds = kDefaultTimeoutSeconds;
  ULONGLONG processId = 0;
  int next = 1;
  for (; next + 1 < argc && argv[next][0] == '/'; next += 2) {
    bool ok = false;
    if (lstrcmpiA(argv[next], "/timeout") == 0)
      ok = ParseNumber(argv[next + 1], kMaxTimeoutSeconds, &timeoutSeconds);
    else if (lstrcmpiA(argv[next], "/process") == 0)
      ok = ParseNumber(argv[next + 1], MAXDWORD, &processId);
    if (!ok) {
      Usage();
      return kBadArguments;
    }
  }
  if (next >= argc) {
    Usage();
    return kBadArguments;
  }
  const char* picturePath = argv[next++];

  Watch watch;
  watch.processId = static_cast<DWORD>(processId);
  watch.deadline = GetTickCount64() + timeoutSeconds * 1000;
  if (next < argc && !StartProgram(argc - next, argv + next, &watch)) return kGaveUp;
  int code = WatchPlayAll(watch, picturePath);
  if (watch.process) CloseHandle(watch.process);
  return code;
}
