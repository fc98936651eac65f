// The stand-in main window for playing: bench::ListHost with the pass label
// and the Play All worker thread, and helpers to fill the list with marked
// sounds and Pause objects.
#ifndef WENDLE_PLAYBACK_HOST_H
#define WENDLE_PLAYBACK_HOST_H

#include <windows.h>

#include <string>

#include "bench/list_host.h"

namespace bench {

class PlaybackHost : public ListHost {
 public:
  PlaybackHost();
  ~PlaybackHost();

  // Appends a WAV object whose sound carries `mark`; returns its index.
  int AddMarkedWave(int mark, int milliseconds, uint32_t repeatCount = 0, uint32_t postDelay = 0);
  int AddPause(uint32_t seconds);
  // Appends a file object with the given path and kind as it is.
  int AddFile(uint32_t kind, const std::string& path);

  // Runs the message loop until Play All has ended (or the timeout passes).
  bool WaitForRunEnd(unsigned timeoutMs = 30000);
  std::string PassLabel() const;
  HANDLE worker() const { return worker_; }

 private:
  HANDLE worker_ = nullptr;
};

// Runs action on this thread after delayMs, from window's timer: once the
// message loop of a command (a play and its wait) has begun.
void AfterStart(HWND window, UINT delayMs, void (*action)());

}  // namespace bench

#endif
