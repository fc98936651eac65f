/*
 * Process-wide state of Wendle: the main window's state, the options in
 * memory and the media devices found at start. Everything lives from start
 * to exit and is defined in one place, process_state.cpp.
 *
 * Three threads share it: the UI thread, which writes nearly all of it, the
 * Play All worker and the icon animation thread. Flags that a worker reads
 * or writes are std::atomic 32-bit words; the kernel events beside them let
 * a thread block until another one changes a flag, instead of polling it.
 */
#ifndef WENDLE_MAIN_WINDOW_STATE_H
#define WENDLE_MAIN_WINDOW_STATE_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "state/sound_object_handle.h"
#include "state/settings_record.h"

constexpr int kTextBufferSize = 512;    // paths, names, descriptions, messages
constexpr int kCommandLineSize = 2048;  // a command line handed to the main window
constexpr int kButtonIconCount = 23;    // icons 1501..1523, index = id - 1501
constexpr int kKindBitmapCount = 6;

// A kernel event owned for the whole run; auto-reset unless asked.
class SignalEvent {
 public:
  explicit SignalEvent(bool manualReset = false)
      : event_(CreateEventA(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr)) {}
  ~SignalEvent() {
    if (event_) CloseHandle(event_);
  }
  SignalEvent(const SignalEvent&) = delete;
  SignalEvent& operator=(const SignalEvent&) = delete;
  HANDLE handle() const { return event_; }
  void Raise() const { SetEvent(event_); }

 private:
  HANDLE event_;
};

// A shared 0/1 flag whose every clearing raises an event, so a thread that
// waits for the flag to clear can block on the event and still see the
// change at once.
class WakingFlag {
 public:
  WakingFlag& operator=(int32_t value) {
    value_.store(value);
    if (!value) cleared_.Raise();
    return *this;
  }
  operator int32_t() const { return value_.load(); }
  HANDLE cleared() const { return cleared_.handle(); }

 private:
  std::atomic<int32_t> value_{0};
  SignalEvent cleared_;
};

// Play All's runs are numbered. A stop marks the number of the run it
// stops, and nothing takes that mark back: every step of the run (the play
// request on the UI thread, each wait) asks whether its run was stopped, so
// no play and no countdown of a run starts after its stop, however the stop
// falls between the worker's steps.
class RunToken {
 public:
  // A new run: its number (never 0; 0 stands for a single play, which no
  // Stop Play All stops).
  uint32_t Begin() {
    uint32_t run = current_.load() + 1;
    if (run == 0) run = 1;
    ResetEvent(stopEvent_.handle());
    current_ = run;
    return run;
  }
  void StopCurrent() {
    stopped_ = current_.load();
    stopEvent_.Raise();
  }
  uint32_t Current() const { return current_.load(); }
  bool Stopped(uint32_t run) const { return run != 0 && stopped_.load() == run; }
  // Set by the stop of the current run, until the next run begins: a wait
  // of the run blocks on it too.
  HANDLE StopEvent() const { return stopEvent_.handle(); }

 private:
  std::atomic<uint32_t> current_{0};
  std::atomic<uint32_t> stopped_{0};
  SignalEvent stopEvent_{true};
};

struct MainWindowState {
  HINSTANCE instance = nullptr;
  HINSTANCE languageModule = nullptr;

  HWND mainWindow = nullptr;
  HWND ribbon = nullptr;
  HWND statusBar = nullptr;
  HWND buttonTips = nullptr;      // the icon buttons' tooltips, owned by the main window
  HMENU popupMenu = nullptr;      // its first submenu is the list's pop-up menu
  HACCEL accelerators = nullptr;  // table 1532, also used by nested waits

  // A command line for WM_OPENCOMMANDLINE: this start's own, or one that a
  // second start handed over (WM_COPYDATA). No window message carries it.
  char pendingCommandLine[kCommandLineSize] = "";

  // A Sound Object or a countdown is in progress. Every clearing raises
  // playing.cleared(): the completion notice, Stop/Skip, Stop Play All and
  // the close path all end a wait through it.
  WakingFlag playing;
  std::atomic<int32_t> playAllRunning{0};
  RunToken playAllRun;
  std::atomic<int32_t> animationStop{0};
  std::atomic<int32_t> playAllStop{0};
  std::atomic<int32_t> lastHelpCommand{-1};

  // Pause holds what plays: its device is paused (and has no deadline),
  // a countdown keeps its seconds, and Play All starts nothing. Every
  // change raises pauseChanged, so a wait sees it at once.
  std::atomic<int32_t> paused{0};
  SignalEvent pauseChanged;

  HANDLE animationThread = nullptr;
  HANDLE playAllThread = nullptr;
  SignalEvent playAllStart;       // one run of the Play All worker per raise
  SignalEvent threadsQuit{true};  // set once at close: the workers end

  HICON buttonIcons[kButtonIconCount] = {};
  HBITMAP kindBitmaps[kKindBitmapCount] = {};
  HFONT rowFont = nullptr;  // the list's rows; the stock font while null

  // Scratch buffers of the UI thread; the Play All worker has its own.
  char textBuffer[kTextBufferSize] = "";
  char textBuffer2[kTextBufferSize] = "";

  WNDPROC editClassProc = nullptr;
  WNDPROC listBoxClassProc = nullptr;
};

// MediaCaps: the usable MCI device types, found once at start.
enum MediaCaps : uint32_t {
  CdAudio = 1,
  WaveAudio = 2,
  MidiAudio = 4,  // set together with WaveAudio
  AviVideo = 8,
  AudioFiles = 16,  // MCI "mpegvideo" plays compressed sound files
};

extern MainWindowState g_state;
extern Settings g_settings;
extern std::atomic<uint32_t> g_mediaCaps;
// CdTrackCount: the bound for CD track numbers, from GetCdTrackCount.
extern std::atomic<uint8_t> g_cdTrackCount;

#endif
