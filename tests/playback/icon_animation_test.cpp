// The icon animation thread on a stand-in main window: the frames it draws
// while the window is minimized, its rest after a restore, its end at close
// and the CPU it uses meanwhile.
#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <vector>

#include "bench/test_env.h"
#include "playback/icon_animation.h"
#include "resources/ids.h"
#include "support/globals.h"
#include "playback/play_state.h"

namespace {

// Frames drawn so far, and how often the thread went to sleep.
std::mutex g_lock;
std::vector<int> g_frames;
int g_sleeps = 0;
DWORD g_testThread = 0;

void Observe(int frameId) {
  {
    std::lock_guard<std::mutex> hold(g_lock);
    if (frameId)
      g_frames.push_back(frameId);
    else
      ++g_sleeps;
  }
  // Wakes the test's message pump, which waits for these counts.
  PostThreadMessageA(g_testThread, WM_NULL, 0, 0);
}

std::vector<int> Frames() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_frames;
}
size_t FrameCount() { return Frames().size(); }
int Sleeps() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_sleeps;
}

// CPU time (user and kernel) a thread has used, in milliseconds.
double CpuMs(HANDLE thread) {
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(thread, &created, &exited, &kernel, &user)) return -1;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

// The main window keeps the drawn frame: it does not erase while minimized.
LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND && IsIconic(window)) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

const char* StandInClass() {
  static const char name[] = "WendleTestAnimationHost";
  static const bool registered = [] {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0;
  }();
  return registered ? name : "STATIC";
}

bool IsCycleFrame(int id) { return id >= IDI_ANIM_CYCLE_1 && id <= IDI_ANIM_CYCLE_4; }

// A stand-in main window and the thread, created as the main window creates
// it: suspended, at idle priority, then resumed.
class IconAnimationTest : public testing::Test {
 protected:
  void SetUp() override {
    {
      std::lock_guard<std::mutex> hold(g_lock);
      g_frames.clear();
      g_sleeps = 0;
    }
    g_testThread = GetCurrentThreadId();
    g_globals.instance = GetModuleHandleA(nullptr);
    window_ = CreateWindowExA(0, StandInClass(), "Wendle", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                              nullptr, g_globals.instance, nullptr);
    g_globals.mainWindow = window_;
    g_playback.animationStop = 0;
    ResetEvent(g_globals.quit.handle());
    RestIconAnimation();
    SetIconAnimationObserver(Observe);
  }
  void TearDown() override {
    if (thread_) {
      Close();
      CloseHandle(thread_);
    }
    SetIconAnimationObserver(nullptr);
    RestIconAnimation();
    DestroyWindow(window_);
    g_globals.mainWindow = nullptr;
    g_playback.animationStop = 0;
    ResetEvent(g_globals.quit.handle());
    bench::PumpMessages();
  }

  void Start() {
    thread_ = CreateThread(nullptr, 0, IconAnimationThread, nullptr, CREATE_SUSPENDED, nullptr);
    ASSERT_TRUE(thread_);
    SetThreadPriority(thread_, THREAD_PRIORITY_IDLE);
    ResumeThread(thread_);
  }
  // The close path: the flag, then the event the workers wait on.
  bool Close() {
    g_playback.animationStop = 1;
    g_globals.quit.Raise();
    return WaitForSingleObject(thread_, 10000) == WAIT_OBJECT_0;
  }
  void Minimize() {
    ShowWindow(window_, SW_MINIMIZE);
    WakeIconAnimation();
  }
  // As the user restores the window: the main window rests the thread
  // first (WM_QUERYOPEN), then the window opens.
  void Restore() {
    RestIconAnimation();
    ShowWindow(window_, SW_RESTORE);
  }
  bool WaitForFrames(size_t count) {
    return bench::PumpUntil([count] { return FrameCount() >= count; });
  }
  bool WaitForSleeps(int count) {
    return bench::PumpUntil([count] { return Sleeps() >= count; });
  }
  // The thread's CPU time over a quiet second.
  double CpuOverASecond() {
    double before = CpuMs(thread_);
    Sleep(1000);
    return CpuMs(thread_) - before;
  }

  HWND window_ = nullptr;
  HANDLE thread_ = nullptr;
};

TEST_F(IconAnimationTest, IntroOnceThenTheCycleWhileMinimized) {
  Start();
  ASSERT_TRUE(WaitForSleeps(1));
  // Never minimized: nothing is drawn, and the thread uses no CPU.
  EXPECT_LT(CpuOverASecond(), 20.0);
  EXPECT_EQ(FrameCount(), 0u);

  Minimize();
  ASSERT_TRUE(WaitForFrames(6));
  std::vector<int> frames = Frames();
  const std::vector<int> intro = {IDI_APP, IDI_ANIM_INTRO_1, IDI_ANIM_INTRO_2, IDI_ANIM_INTRO_3};
  EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + 4), intro);
  EXPECT_EQ(frames[4], IDI_ANIM_CYCLE_1);
  EXPECT_EQ(frames[5], IDI_ANIM_CYCLE_2);

  // A restore puts it to sleep; nothing more is drawn.
  Restore();
  ASSERT_TRUE(WaitForSleeps(2));
  size_t drawn = FrameCount();
  EXPECT_LT(CpuOverASecond(), 20.0);
  EXPECT_EQ(FrameCount(), drawn);

  // The next minimize goes on with the cycle, without the intro.
  frames = Frames();
  int last = frames.back();
  Minimize();
  ASSERT_TRUE(WaitForFrames(drawn + 5));
  frames = Frames();
  for (size_t i = drawn; i < frames.size(); ++i) EXPECT_TRUE(IsCycleFrame(frames[i])) << frames[i];
  EXPECT_EQ(frames[drawn], last == IDI_ANIM_CYCLE_4 ? IDI_ANIM_CYCLE_1 : last + 1);

  // Closing ends it while it draws.
  EXPECT_TRUE(Close());
}

TEST_F(IconAnimationTest, EndsAtCloseWhileAsleepAndBeforeItFirstRuns) {
  Start();
  ASSERT_TRUE(WaitForSleeps(1));
  EXPECT_TRUE(Close());
  CloseHandle(thread_);
  thread_ = nullptr;

  // Told to stop before it ran at all: it ends without drawing.
  g_playback.animationStop = 1;
  Start();
  EXPECT_EQ(WaitForSingleObject(thread_, 10000), WAIT_OBJECT_0);
  ShowWindow(window_, SW_MINIMIZE);
  WakeIconAnimation();
  bench::PumpMessages();
  EXPECT_EQ(FrameCount(), 0u);
}

TEST_F(IconAnimationTest, WindowRestoredWithoutARestStopsTheFramesToo) {
  Start();
  Minimize();
  ASSERT_TRUE(WaitForFrames(2));
  // Restored by the program itself, no rest request: the thread notices
  // and sleeps instead of spinning.
  ShowWindow(window_, SW_RESTORE);
  ASSERT_TRUE(WaitForSleeps(2));
  size_t drawn = FrameCount();
  EXPECT_LT(CpuOverASecond(), 20.0);
  EXPECT_EQ(FrameCount(), drawn);
  // A wake while the window is open draws nothing either.
  WakeIconAnimation();
  ASSERT_TRUE(WaitForSleeps(3));
  EXPECT_EQ(FrameCount(), drawn);
}

// Pixels that an icon covers, with their colours: those it paints the same
// on a black and on a white background.
std::vector<std::pair<POINT, COLORREF>> OpaquePixels(HICON icon, int size) {
  std::vector<std::pair<POINT, COLORREF>> pixels;
  HDC screen = GetDC(nullptr);
  HDC dcs[2];
  HBITMAP bitmaps[2];
  HGDIOBJ old[2];
  for (int i = 0; i < 2; ++i) {
    dcs[i] = CreateCompatibleDC(screen);
    bitmaps[i] = CreateCompatibleBitmap(screen, size, size);
    old[i] = SelectObject(dcs[i], bitmaps[i]);
    RECT all = {0, 0, size, size};
    FillRect(dcs[i], &all, static_cast<HBRUSH>(GetStockObject(i ? WHITE_BRUSH : BLACK_BRUSH)));
    DrawIcon(dcs[i], 0, 0, icon);
  }
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      COLORREF colour = GetPixel(dcs[0], x, y);
      if (colour == GetPixel(dcs[1], x, y)) pixels.push_back({POINT{x, y}, colour});
    }
  for (int i = 0; i < 2; ++i) {
    SelectObject(dcs[i], old[i]);
    DeleteObject(bitmaps[i]);
    DeleteDC(dcs[i]);
  }
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Whether the top-left corner of the window's whole surface shows the
// icon's opaque pixels (those inside the window).
bool CornerShows(HWND window, const std::vector<std::pair<POINT, COLORREF>>& pixels) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  HDC dc = GetWindowDC(window);
  int compared = 0;
  bool same = true;
  for (const auto& pixel : pixels) {
    if (pixel.first.x >= bounds.right - bounds.left || pixel.first.y >= bounds.bottom - bounds.top) continue;
    ++compared;
    same = same && GetPixel(dc, pixel.first.x, pixel.first.y) == pixel.second;
  }
  ReleaseDC(window, dc);
  return same && compared > 100;
}

TEST_F(IconAnimationTest, FramesReachTheWholeWindowSurfaceAtItsCorner) {
  std::vector<std::vector<std::pair<POINT, COLORREF>>> cycle;
  for (int id = IDI_ANIM_CYCLE_1; id <= IDI_ANIM_CYCLE_4; ++id) {
    HICON icon =
        static_cast<HICON>(LoadImageA(g_globals.instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    ASSERT_TRUE(icon);
    cycle.push_back(OpaquePixels(icon, GetSystemMetrics(SM_CXICON)));
    DestroyIcon(icon);
  }
  Start();
  Minimize();
  ASSERT_TRUE(WaitForFrames(5));
  // A repaint of the minimized window's frame (an activation elsewhere) can
  // cover a frame until the next one: look after each frame until one shows.
  EXPECT_TRUE(bench::PumpUntil([&] {
    for (const auto& frame : cycle)
      if (CornerShows(window_, frame)) return true;
    return false;
  }));
}

// Not a check: the thread's CPU time while it animates, for the record.
// Run with --gtest_also_run_disabled_tests.
TEST_F(IconAnimationTest, DISABLED_MeasureCpuWhileMinimized) {
  Start();
  ASSERT_TRUE(WaitForSleeps(1));
  double idle = CpuOverASecond();
  Minimize();
  ASSERT_TRUE(WaitForFrames(4));
  double before = CpuMs(thread_);
  DWORD start = GetTickCount();
  bench::PumpUntil([] { return false; }, 20000);
  double used = CpuMs(thread_) - before;
  double seconds = (GetTickCount() - start) / 1000.0;
  printf("idle: %.1f ms CPU per second; minimized: %.1f ms CPU per minute (%zu frames in %.1f s)\n", idle,
         used * 60.0 / seconds, FrameCount(), seconds);
}

}  // namespace
