// The animated icon of the minimized main window. The thread draws the
// frames into the window's whole-window surface at (0, 0), four a second,
// while the window is minimized; the rest of the time it blocks on an event
// and uses no CPU. The main window only sets and resets that event: the
// thread is never suspended from outside, so it can never be stopped while
// it holds a lock that the UI thread needs.
#include "playback/icon_animation.h"

#include <atomic>

#include "resources/ids.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "support/scoped_win.h"

namespace {

constexpr DWORD kFrameMs = 250;

const int kIntroFrames[] = {IDI_APP, IDI_ANIM_INTRO_1, IDI_ANIM_INTRO_2, IDI_ANIM_INTRO_3};
const int kCycleFrames[] = {IDI_ANIM_CYCLE_1, IDI_ANIM_CYCLE_2, IDI_ANIM_CYCLE_3, IDI_ANIM_CYCLE_4};
constexpr int kIntroCount = sizeof kIntroFrames / sizeof kIntroFrames[0];
constexpr int kCycleCount = sizeof kCycleFrames / sizeof kCycleFrames[0];

// Set while the main window is minimized (manual reset).
SignalEvent g_minimized{true};

std::atomic<IconAnimationObserver> g_observer{nullptr};

void Report(int frameId) {
  IconAnimationObserver observer = g_observer.load();
  if (observer) observer(frameId);
}

// The eight frames, loaded by the thread and destroyed when it ends.
class Frames {
 public:
  Frames() {
    for (int i = 0; i < kIntroCount; ++i) intro_[i] = Load(kIntroFrames[i]);
    for (int i = 0; i < kCycleCount; ++i) cycle_[i] = Load(kCycleFrames[i]);
  }
  ~Frames() {
    for (HICON icon : intro_)
      if (icon) DestroyIcon(icon);
    for (HICON icon : cycle_)
      if (icon) DestroyIcon(icon);
  }
  Frames(const Frames&) = delete;
  Frames& operator=(const Frames&) = delete;

  HICON intro(int i) const { return intro_[i]; }
  HICON cycle(int i) const { return cycle_[i]; }

 private:
  static HICON Load(int id) {
    return static_cast<HICON>(LoadImageA(g_globals.instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  }
  HICON intro_[kIntroCount] = {};
  HICON cycle_[kCycleCount] = {};
};

bool StopAsked() { return g_playback.animationStop != 0; }

bool Awake() { return WaitForSingleObject(g_minimized.handle(), 0) == WAIT_OBJECT_0; }

// True while the frames should run: woken and still minimized.
bool ShouldDraw() { return Awake() && IsIconic(g_globals.mainWindow); }

// Waits one frame time; false when the program closes meanwhile.
bool FramePause() {
  if (WaitForSingleObject(g_globals.quit.handle(), kFrameMs) == WAIT_OBJECT_0) return false;
  return !StopAsked();
}

// Blocks until the window is minimized or the program closes; false for
// the close.
bool WaitForMinimize() {
  HANDLE events[] = {g_globals.quit.handle(), g_minimized.handle()};
  DWORD woken = WaitForMultipleObjects(2, events, FALSE, INFINITE);
  return woken == WAIT_OBJECT_0 + 1 && !StopAsked();
}

// Whether the cycle goes on: the main window has not put the thread to rest
// and the window is still minimized. A window restored without a rest (by
// the program rather than the user) ends the cycle too; the event is reset
// before the window is looked at again, so a minimize in between is not lost.
bool StillMinimized() {
  if (!Awake()) return false;
  if (IsIconic(g_globals.mainWindow)) return true;
  ResetEvent(g_minimized.handle());
  if (!IsIconic(g_globals.mainWindow)) return false;
  SetEvent(g_minimized.handle());
  return true;
}

void DrawFrame(HICON icon, int frameId) {
  HWND window = g_globals.mainWindow;
  if (!ShouldDraw()) return;
  BOOL drawn = FALSE;
  {
    ScopedWindowSurface surface(window);
    if (!surface) return;
    drawn = icon ? DrawIcon(surface.get(), 0, 0, icon) : FALSE;
  }
  // Restored while the frame was drawn: have the frame painted over.
  if (drawn && !ShouldDraw()) RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
  if (drawn) Report(frameId);
}

}  // namespace

void SetIconAnimationObserver(IconAnimationObserver observer) { g_observer = observer; }

DWORD WINAPI IconAnimationThread(LPVOID) {
  Frames frames;
  bool introShown = false;
  int next = 0;
  while (!StopAsked()) {
    Report(0);
    if (!WaitForMinimize()) break;
    // The intro runs once, on the first minimize; later minimizes go on
    // with the cycle where it stopped.
    if (!introShown) {
      introShown = true;
      bool closing = false;
      for (int i = 0; i < kIntroCount && !closing; ++i) {
        DrawFrame(frames.intro(i), kIntroFrames[i]);
        closing = !FramePause();
      }
      if (closing) break;
    }
    bool closing = false;
    while (!closing && StillMinimized()) {
      DrawFrame(frames.cycle(next), kCycleFrames[next]);
      next = (next + 1) % kCycleCount;
      closing = !FramePause();
    }
    if (closing) break;
  }
  return 0;
}

void WakeIconAnimation() { SetEvent(g_minimized.handle()); }

void RestIconAnimation() { ResetEvent(g_minimized.handle()); }
