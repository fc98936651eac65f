// Wendle Help as a person meets it: F1 (in the main window and in dialog
// boxes), the Help menu and the dialogs' Help buttons show their topics in
// Wendle's one help window, which closes with Wendle and leaves another
// program's help open; without the viewer or the help file, Wendle says why
// and goes on.
//
// Wine draws no page here (no HTML engine in the test prefix), so the page
// asked for is read from Wine's trace of the viewer: Wendle starts with
// WINEDEBUG trace+htmlhelp, and its trace lands in this test's own output
// file (WENDLE_RUN_OUTPUT, see scripts/wine-run.sh), each line led by the
// id of the thread that wrote it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench/program.h"
#include "bench/test_env.h"
#include "resources/ids.h"
#include "support/help.h"

namespace {

using bench::Program;

constexpr char kViewerClass[] = "HH Parent";
constexpr char kViewerTitle[] = "Wendle Help";

std::wstring Widen(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<size_t>(length - 1) : 0);
  return wide;
}

// Starts a wendle.exe in folder with the viewer's trace on. (Wine takes
// WINEDEBUG from the environment given; DLL overrides it does not.)
HANDLE StartWendle(const std::string& program, const std::string& folder) {
  std::wstring environment;
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1)
    if (_wcsnicmp(entry, L"WINEDEBUG=", 10) != 0) environment += std::wstring(entry) + L'\0';
  FreeEnvironmentStringsW(block);
  environment += L"WINEDEBUG=-all,trace+htmlhelp";
  environment += L'\0';
  environment += L'\0';

  std::wstring line = L"\"" + Widen(program) + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, &environment[0],
                      Widen(folder).c_str(), &startup, &info))
    return nullptr;
  CloseHandle(info.hThread);
  return info.hProcess;
}

// What the viewer in one thread of a started Wendle was asked, from the
// trace that began when this reader was made.
class ViewerTrace {
 public:
  ViewerTrace() {
    char unixPath[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("WENDLE_RUN_OUTPUT", unixPath, sizeof unixPath)) return;
    path_ = std::string("Z:") + unixPath;
    for (char& c : path_)
      if (c == '/') c = '\\';
    start_ = Read().size();  // from here on
  }
  bool Available() const { return !path_.empty(); }
  void Follow(DWORD thread) {
    char prefix[32];
    snprintf(prefix, sizeof prefix, "%04lx:trace:htmlhelp:", thread);
    prefix_ = prefix;
  }

  // The pages (as "index.html") the viewer was asked to show, in order.
  std::vector<std::string> Pages() const {
    std::vector<std::string> pages;
    for (const std::string& line : Lines("NavigateToChm ")) {
      // ... L"<folder>\\WD.CHM" L"/<page>"
      size_t file = line.find("\\\\WD.CHM\" L\"/");
      if (file != std::string::npos && line.back() == '"')
        pages.push_back(line.substr(file + 13, line.size() - file - 14));
    }
    return pages;
  }
  // The HtmlHelp commands (HH_CLOSE_ALL...) the thread gave, in order.
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    for (const std::string& line : Lines("HtmlHelpW (")) {
      size_t at = line.find("command=");
      if (at != std::string::npos) commands.push_back(line.substr(at + 8, line.find(',', at) - at - 8));
    }
    return commands;
  }

 private:
  // The output written since the reader was made.
  std::string Read() const {
    std::string text;
    HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    LARGE_INTEGER from;
    from.QuadPart = static_cast<LONGLONG>(start_);
    SetFilePointerEx(file, from, nullptr, FILE_BEGIN);
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
    CloseHandle(file);
    return text;
  }
  // The followed thread's trace lines of one function.
  std::vector<std::string> Lines(const std::string& function) const {
    std::vector<std::string> lines;
    std::string text = Read();
    std::string head = prefix_ + function;
    for (size_t at = 0; at < text.size();) {
      size_t end = text.find('\n', at);
      if (end == std::string::npos) break;  // a line still being written
      if (text.compare(at, head.size(), head) == 0) lines.push_back(text.substr(at, end - at));
      at = end + 1;
    }
    return lines;
  }

  std::string path_;
  size_t start_ = 0;
  std::string prefix_ = "-";
};

struct ViewerSearch {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectViewer(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ViewerSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == search->process && bench::ClassName(window) == kViewerClass && IsWindowVisible(window))
    search->found.push_back(window);
  return TRUE;
}

// The visible help windows of a process.
std::vector<HWND> ViewerWindows(DWORD process) {
  ViewerSearch search = {process, {}};
  EnumWindows(CollectViewer, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Another program's help: this test process's own, on a thread that keeps
// its window answering.
class OtherProgramsHelp {
 public:
  OtherProgramsHelp() {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] {
      threadId_ = GetCurrentThreadId();
      HWND owner = CreateWindowA("STATIC", "another program", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
      opened_ = OpenHelp(owner, HELPCTX_DISTRIBUTION);
      SetEvent(ready_);
      MSG message;
      while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      CloseHelp();
      DestroyWindow(owner);
    });
    WaitForSingleObject(ready_, 30000);
  }
  ~OtherProgramsHelp() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    CloseHandle(ready_);
  }
  bool Opened() const { return opened_; }

 private:
  HANDLE ready_;
  std::thread thread_;
  DWORD threadId_ = 0;
  bool opened_ = false;
};

class HelpWindowTest : public bench::ProgramTestBase {
 protected:
  // Wendle's one help window once it shows (null after a while).
  static HWND WaitForViewer(Program& wendle) {
    HWND viewer = nullptr;
    wendle.WaitFor([&] {
      std::vector<HWND> windows = ViewerWindows(wendle.ProcessId());
      viewer = windows.size() == 1 ? windows[0] : nullptr;
      return viewer != nullptr;
    });
    return viewer;
  }
  // Waits until the viewer was asked for page after the first `before`
  // requests of the trace.
  static testing::AssertionResult Shows(Program& wendle, const ViewerTrace& trace, const std::string& page,
                                        size_t before = 0) {
    if (wendle.WaitFor([&] { return Asked(trace, page, before); })) return testing::AssertionSuccess();
    std::string asked;
    for (const std::string& p : trace.Pages()) asked += " " + p;
    return testing::AssertionFailure() << "the viewer was asked for" << (asked.empty() ? " nothing" : asked) << ", not "
                                       << page << " after " << before << " requests";
  }
  static bool Asked(const ViewerTrace& trace, const std::string& page, size_t before) {
    std::vector<std::string> pages = trace.Pages();
    return pages.size() > before && pages.back() == page;
  }
  // Brings a window of Wendle's to the front, as a click on it would.
  static void Front(Program& wendle, HWND window) {
    SetForegroundWindow(window);
    wendle.Activate(window);
  }
};

TEST_F(HelpWindowTest, EachPlaceShowsItsTopicInOneWindowThatClosesWithWendle) {
  ViewerTrace trace;
  if (!trace.Available()) GTEST_SKIP() << "no run output to read Wine's trace from (run through ctest)";
  OtherProgramsHelp other;
  ASSERT_TRUE(other.Opened());
  ASSERT_EQ(ViewerWindows(GetCurrentProcessId()).size(), 1u);

  Program wendle(StartWendle(bench::ProgramPath(), bench::TempDir()));
  HWND main = wendle.Window();
  ASSERT_TRUE(main);
  trace.Follow(GetWindowThreadProcessId(main, nullptr));

  // F1 in the main window: the contents.
  wendle.Key(VK_F1);
  HWND viewer = WaitForViewer(wendle);
  ASSERT_TRUE(viewer) << wendle.Describe();
  EXPECT_EQ(bench::WindowText(viewer), kViewerTitle);
  EXPECT_EQ(GetWindow(viewer, GW_OWNER), main);
  EXPECT_TRUE(Shows(wendle, trace, "index.html"));

  // A key typed in the help window is the help's: F4 there adds nothing.
  wendle.KeyIn(viewer, VK_F4);
  EXPECT_EQ(wendle.WaitForDialog(1500), nullptr) << "F4 in the help window opened a dialog of Wendle's";

  // The Help menu: Using Help, in the same window, brought to the front.
  Front(wendle, main);
  wendle.Key('H', false, true);
  wendle.Key('U');
  EXPECT_TRUE(Shows(wendle, trace, "using.html"));
  EXPECT_EQ(ViewerWindows(wendle.ProcessId()), std::vector<HWND>{viewer});
  EXPECT_TRUE(wendle.WaitFor([&] { return GetForegroundWindow() == viewer; }));

  // F1 in an open menu: the contents.
  Front(wendle, main);
  size_t before = trace.Pages().size();
  wendle.Key('H', false, true);
  wendle.Key(VK_F1);
  EXPECT_TRUE(Shows(wendle, trace, "index.html", before));
  Front(wendle, main);
  wendle.Key(VK_ESCAPE);
  wendle.Key(VK_ESCAPE);
  // The menu is closed before the next key goes to the window.
  EXPECT_TRUE(wendle.WaitFor([&] {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && !(info.flags & GUI_INMENUMODE);
  }));

  // F1 and the Help button in two dialog boxes, which stay open.
  struct Place {
    WORD menuKey;  // of the Options menu
    std::string page;
  };
  for (const Place& place : {Place{'P', "dlg-prefs.html"}, Place{'M', "dlg-playallmode.html"}}) {
    SCOPED_TRACE(place.page);
    Front(wendle, main);
    wendle.Key('O', false, true);
    wendle.Key(place.menuKey);
    HWND dialog = wendle.WaitForDialog();
    ASSERT_TRUE(dialog) << wendle.Describe();
    before = trace.Pages().size();
    wendle.KeyIn(dialog, VK_F1);
    EXPECT_TRUE(Shows(wendle, trace, place.page, before));
    EXPECT_TRUE(wendle.WaitFor([&] { return GetForegroundWindow() == viewer; })) << wendle.Describe();

    Front(wendle, dialog);
    before = trace.Pages().size();
    wendle.ClickUntil(GetDlgItem(dialog, IDC_HELP_BUTTON), [&] { return Asked(trace, place.page, before); });
    EXPECT_TRUE(Shows(wendle, trace, place.page, before));
    EXPECT_EQ(ViewerWindows(wendle.ProcessId()), std::vector<HWND>{viewer});
    EXPECT_TRUE(wendle.WaitFor([&] { return GetForegroundWindow() == viewer; })) << wendle.Describe();
    EXPECT_TRUE(IsWindow(dialog));
    Front(wendle, dialog);
    wendle.KeyIn(dialog, VK_ESCAPE);
    ASSERT_TRUE(wendle.WaitFor([&] { return !IsWindow(dialog); }));
  }

  // Closing Wendle closes the help it opened, and only that.
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(wendle.WaitForExit(), 0u);
  std::vector<std::string> commands = trace.Commands();
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[commands.size() - 2], "HH_CLOSE_ALL");
  EXPECT_EQ(commands.back(), "HH_UNINITIALIZE");
  EXPECT_EQ(ViewerWindows(GetCurrentProcessId()).size(), 1u) << "Wendle closed another program's help";
}

// A copy of Wendle in a folder of its own, under another name, with the
// help file or without; Wine loads no HTML Help viewer for it when told so.
class WendleCopy {
 public:
  WendleCopy(const std::string& name, bool withHelpFile, bool withViewer) : name_(name) {
    folder_ = bench::TempPath(name);
    CreateDirectoryA(folder_.c_str(), nullptr);
    std::string from = bench::ProgramPath().substr(0, bench::ProgramPath().find_last_of('\\') + 1);
    copied_ = CopyFileA((from + "wendle.exe").c_str(), Path().c_str(), FALSE);
    for (const char* file : {"VI32RID.dll", "VA32RA.dll", "wd_eng.dll", "WD.CHM"})
      if (withHelpFile || std::string(file) != "WD.CHM")
        copied_ = copied_ && CopyFileA((from + file).c_str(), (folder_ + "\\" + file).c_str(), FALSE);
    SetViewer(withViewer);
  }
  ~WendleCopy() { SetViewer(true); }
  bool Copied() const { return copied_; }
  std::string Folder() const { return folder_; }
  std::string Path() const { return folder_ + "\\" + name_ + ".exe"; }

 private:
  // Wine's overrides for one program name, in the real user's registry.
  void SetViewer(bool on) {
    HKEY user, key;
    if (RegOpenCurrentUser(KEY_ALL_ACCESS, &user) != ERROR_SUCCESS) return;
    std::string path = "Software\\Wine\\AppDefaults\\" + name_ + ".exe";
    if (on) {
      RegDeleteTreeA(user, path.c_str());
    } else if (RegCreateKeyExA(user, (path + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                               nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(key, "hhctrl.ocx", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);  // disabled
      RegCloseKey(key);
    }
    RegCloseKey(user);
  }

  std::string name_;
  std::string folder_;
  bool copied_ = false;
};

TEST_F(HelpWindowTest, WithoutTheViewerOrTheFileWendleSaysWhyAndGoesOn) {
  // No viewer: F1 in the main window.
  {
    WendleCopy copy("wendle_without_viewer", true, false);
    ASSERT_TRUE(copy.Copied());
    Program wendle(StartWendle(copy.Path(), copy.Folder()));
    ASSERT_TRUE(wendle.Window());
    wendle.Key(VK_F1);
    HWND box = wendle.WaitForDialog();
    ASSERT_TRUE(box) << wendle.Describe();
    EXPECT_EQ(Program::DialogText(box), bench::LanguageString(IDS_HELP_NO_VIEWER));
    EXPECT_TRUE(wendle.PressButton(box, IDOK));
    EXPECT_TRUE(ViewerWindows(wendle.ProcessId()).empty());
    PostMessageA(wendle.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(wendle.WaitForExit(), 0u);
  }
  // No help file: the Help button of a dialog box, which stays open.
  WendleCopy copy("wendle_without_help", false, true);
  ASSERT_TRUE(copy.Copied());
  Program wendle(StartWendle(copy.Path(), copy.Folder()));
  ASSERT_TRUE(wendle.Window());
  wendle.Key('O', false, true);
  wendle.Key('C');  // Confirmations
  HWND dialog = wendle.WaitForDialog();
  ASSERT_TRUE(dialog) << wendle.Describe();
  HWND box = nullptr;
  wendle.ClickUntil(GetDlgItem(dialog, IDC_HELP_BUTTON),
                    [&] { return (box = wendle.WaitForDialog(500, dialog)) != nullptr; });
  ASSERT_TRUE(box) << wendle.Describe();
  EXPECT_EQ(Program::DialogText(box), bench::LanguageString(IDS_HELP_NOT_OPENED));
  EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
  EXPECT_TRUE(wendle.PressButton(box, IDOK));
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_TRUE(ViewerWindows(wendle.ProcessId()).empty());
  wendle.KeyIn(dialog, VK_ESCAPE);
}

}  // namespace
