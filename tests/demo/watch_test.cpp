// The demo run's watcher (wendle_watch.exe beside this test) against a
// stand-in main window whose play buttons the test switches, in step with
// what the watcher reports on its output.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "bench/test_env.h"
#include "resources/ids.h"

namespace {

const COLORREF kPanelColor = RGB(220, 30, 40);

// A window of the main window's class with the two play buttons (Play All
// shown) and a coloured child panel, which the picture must show.
class StandInWindow {
 public:
  StandInWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "RI32Duver";
    RegisterClassA(&wc);
    panelBrush_ = CreateSolidBrush(kPanelColor);
    WNDCLASSA panel = {};
    panel.lpfnWndProc = DefWindowProcA;
    panel.hInstance = wc.hInstance;
    panel.hbrBackground = panelBrush_;
    panel.lpszClassName = "WatchTestPanel";
    RegisterClassA(&panel);

    window_ = CreateWindowExA(0, "RI32Duver", "Stand-in", WS_OVERLAPPEDWINDOW, 40, 40, 320, 220, nullptr, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    playAll_ = CreateButton(IDC_BTN_PLAY_ALL, WS_VISIBLE);
    stopPlayAll_ = CreateButton(IDC_BTN_STOP_PLAY_ALL, 0);
    CreateWindowExA(0, "WatchTestPanel", "", WS_CHILD | WS_VISIBLE, 100, 30, 80, 60, window_, nullptr, wc.hInstance,
                    nullptr);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
  }
  ~StandInWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
    UnregisterClassA("RI32Duver", GetModuleHandleA(nullptr));
    UnregisterClassA("WatchTestPanel", GetModuleHandleA(nullptr));
    DeleteObject(panelBrush_);
  }

  HWND window() const { return window_; }
  bool closeRequested() const { return closeRequested_; }

  // Swaps the play buttons as Wendle does when Play All starts and ends.
  void ShowPlayAllRunning(bool running) {
    ShowWindow(running ? playAll_ : stopPlayAll_, SW_HIDE);
    ShowWindow(running ? stopPlayAll_ : playAll_, SW_SHOW);
  }

  // Where the panel's centre lies, from the window's top-left corner.
  POINT PanelCentreInWindow() const {
    RECT frame;
    GetWindowRect(window_, &frame);
    POINT centre = {140, 60};
    ClientToScreen(window_, &centre);
    return {centre.x - frame.left, centre.y - frame.top};
  }

 private:
  HWND CreateButton(int id, DWORD visible) {
    return CreateWindowExA(0, "button", "", WS_CHILD | visible, 10, 30, 60, 60, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<StandInWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_CLOSE && self) {
      self->closeRequested_ = true;
      DestroyWindow(window);
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
  HWND playAll_ = nullptr;
  HWND stopPlayAll_ = nullptr;
  HBRUSH panelBrush_ = nullptr;
  bool closeRequested_ = false;
};

// wendle_watch.exe as a child process whose output (standard output and
// error together) is collected by a thread; every piece read wakes the
// test's thread, so it can wait for a line while pumping its window.
class WatcherProcess {
 public:
  explicit WatcherProcess(const std::string& arguments) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string path(exe);
    path = path.substr(0, path.find_last_of('\\') + 1) + "wendle_watch.exe";
    std::string line = "\"" + path + "\" " + arguments;

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd_, &writeEnd, &inherit, 0)) return;
    SetHandleInformation(readEnd_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION started = {};
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
      CloseHandle(started.hThread);
      process_ = started.hProcess;
    }
    CloseHandle(writeEnd);
    const DWORD testThread = GetCurrentThreadId();
    reader_ = std::thread([this, testThread] {
      char buffer[256];
      DWORD read = 0;
      while (ReadFile(readEnd_, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        {
          std::lock_guard<std::mutex> hold(lock_);
          output_.append(buffer, read);
        }
        PostThreadMessageA(testThread, WM_NULL, 0, 0);
      }
      ended_ = true;
      PostThreadMessageA(testThread, WM_NULL, 0, 0);
    });
  }
  ~WatcherProcess() {
    if (process_) {
      TerminateProcess(process_, 99);
      WaitForSingleObject(process_, 10000);
    }
    if (reader_.joinable()) reader_.join();
    if (readEnd_) CloseHandle(readEnd_);
    if (process_) CloseHandle(process_);
  }

  bool started() const { return process_ != nullptr; }

  std::string Output() {
    std::lock_guard<std::mutex> hold(lock_);
    return output_;
  }

  bool WaitForOutput(const std::string& text) {
    return bench::PumpUntil([&] { return Output().find(text) != std::string::npos || ended_; }, 60000) &&
           Output().find(text) != std::string::npos;
  }

  // Pumps this thread's messages until the watcher has ended; its exit code.
  DWORD WaitForExit() {
    bench::PumpUntil([&] { return ended_.load(); }, 60000);
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_, &code);
    return code;
  }

 private:
  HANDLE process_ = nullptr;
  HANDLE readEnd_ = nullptr;
  std::thread reader_;
  std::mutex lock_;
  std::string output_;
  std::atomic<bool> ended_{false};
};

// Other tests may have main windows of their own open meanwhile: the
// watcher is told which process's window to follow.
std::string OwnProcess() { return "/process " + std::to_string(GetCurrentProcessId()) + " "; }

struct Picture {
  int width = 0;
  int height = 0;
  std::string bits;  // bottom-up 24-bit rows
  COLORREF At(int x, int y) const {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    const size_t offset = static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3;
    if (offset + 3 > bits.size()) return CLR_INVALID;
    return RGB(static_cast<BYTE>(bits[offset + 2]), static_cast<BYTE>(bits[offset + 1]),
               static_cast<BYTE>(bits[offset]));
  }
};

bool ReadPicture(const std::string& path, Picture* picture) {
  std::string bytes = bench::ReadFileBytes(path);
  if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || bytes.compare(0, 2, "BM") != 0)
    return false;
  BITMAPFILEHEADER file;
  BITMAPINFOHEADER info;
  memcpy(&file, bytes.data(), sizeof file);
  memcpy(&info, bytes.data() + sizeof file, sizeof info);
  if (info.biBitCount != 24 || info.biHeight <= 0 || file.bfOffBits > bytes.size()) return false;
  picture->width = info.biWidth;
  picture->height = info.biHeight;
  picture->bits = bytes.substr(file.bfOffBits);
  return true;
}

// One run from start to end: the watcher waits for the start and the end
// of Play All, pictures the window with its child controls, and closes it.
TEST(Watcher, FollowsOneRunThenPicturesAndClosesTheWindow) {
  StandInWindow standIn;
  RECT frame;
  GetWindowRect(standIn.window(), &frame);
  const POINT panel = standIn.PanelCentreInWindow();
  const std::string picturePath = bench::TempPath("run.bmp");

  WatcherProcess watcher(OwnProcess() + "/timeout 120 \"" + picturePath + "\"");
  ASSERT_TRUE(watcher.started());
  ASSERT_TRUE(watcher.WaitForOutput("window is open")) << watcher.Output();
  standIn.ShowPlayAllRunning(true);
  ASSERT_TRUE(watcher.WaitForOutput("Play All started")) << watcher.Output();
  bench::PumpMessages();
  EXPECT_FALSE(standIn.closeRequested()) << "closed while Play All was running";
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(picturePath.c_str()));
  standIn.ShowPlayAllRunning(false);

  EXPECT_EQ(0u, watcher.WaitForExit()) << watcher.Output();
  EXPECT_TRUE(standIn.closeRequested());
  Picture picture;
  ASSERT_TRUE(ReadPicture(picturePath, &picture));
  EXPECT_EQ(frame.right - frame.left, picture.width);
  EXPECT_EQ(frame.bottom - frame.top, picture.height);
  EXPECT_EQ(kPanelColor, picture.At(panel.x, panel.y)) << "the child control is missing from the picture";
}

// The watcher gives up with a message and a non-zero code when Play All
// never starts (the window is left open) and when the program it started
// ends first (another process's window is not taken for its own).
TEST(Watcher, GivesUpWithAMessage) {
  const std::string picturePath = bench::TempPath("never.bmp");
  StandInWindow standIn;
  {
    WatcherProcess watcher(OwnProcess() + "/timeout 1 \"" + picturePath + "\"");
    EXPECT_EQ(2u, watcher.WaitForExit());
    EXPECT_NE(std::string::npos, watcher.Output().find("timed out waiting for Play All to start")) << watcher.Output();
  }
  {
    WatcherProcess watcher("/timeout 120 \"" + picturePath + "\" cmd.exe /c exit 3");
    EXPECT_EQ(2u, watcher.WaitForExit());
    EXPECT_NE(std::string::npos, watcher.Output().find("the program ended (exit code 3)")) << watcher.Output();
  }
  bench::PumpMessages();
  EXPECT_FALSE(standIn.closeRequested());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(picturePath.c_str()));
}

}  // namespace
