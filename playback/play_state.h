/*
 * What plays, as every thread of Wendle may ask: playback's own state.
 * The UI thread, the Play All worker, the device thread and the icon
 * animation share it; every flag is an atomic word, and the kernel events
 * beside the flags let a thread block until another one changes a flag,
 * instead of polling it. Only playback changes it; the shell reads it.
 */
#ifndef WENDLE_PLAY_STATE_H
#define WENDLE_PLAY_STATE_H

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "support/scoped_win.h"

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
// stops, and nothing takes that mark back: every step of the run (each
// play, each wait) asks whether its run was stopped, so no play and no
// countdown of a run starts after its stop, however the stop falls between
// the worker's steps.
class RunToken {
 public:
  // A new run: its number (never 0; 0 stands for a single play, which no
  // Stop Play All stops).
  uint32_t Begin() {
    uint32_t run = current_.load() + 1;
    if (run == 0) run = 1;
    stopEvent_.Lower();
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

struct PlaybackState {
  // A Sound Object or a countdown is in progress. Every clearing raises
  // playing.cleared(): the completion notice, Stop/Skip, Stop Play All and
  // the close path all end a wait through it.
  WakingFlag playing;
  std::atomic<int32_t> playAllRunning{0};
  RunToken playAllRun;
  SignalEvent playAllStart;             // one run of the Play All worker per raise
  std::atomic<int32_t> playAllStop{0};  // the worker ends (the program closes)
  // Pause holds what plays: its device is paused (and has no deadline),
  // a countdown keeps its seconds, and Play All starts nothing. Every
  // change raises pauseChanged, so a wait sees it at once.
  std::atomic<int32_t> paused{0};
  SignalEvent pauseChanged;
  std::atomic<int32_t> animationStop{0};  // the icon animation ends
};

extern PlaybackState g_playback;

#endif
