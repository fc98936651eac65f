/*
 * The device thread: where media devices are opened, played, held and
 * closed. A driver may block for ever in any of those calls (a damaged file
 * can do it to the system's media player device), so no window's thread
 * makes them: each job runs on a thread of its own, whose message-only
 * window receives the devices' notices, and whoever asks for a job waits
 * for it at most a bound, and only while nothing cancels the wait (a stop).
 *
 * A job that has not come back by then is left to its thread, and the
 * thread with it: the next job starts a fresh one. The old thread, if its
 * call ever returns, closes whatever its session opened and ends; until
 * then it holds nothing anyone waits for. Jobs queued behind the stuck one
 * are answered at once as not answered. A job whose caller stopped waiting
 * (a stop) is let finish; the next job waits for it a moment, and goes to
 * a fresh thread when it is not done by then.
 *
 * The platform lets only the thread that opened a device use it, so every
 * call for one device goes through the same session (one per thread).
 */
#ifndef WENDLE_DEVICE_THREAD_H
#define WENDLE_DEVICE_THREAD_H

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>

// What one device thread holds: its devices and their notices. Lives on
// that thread, from its start to its end.
class DeviceSession {
 public:
  explicit DeviceSession(HWND window) : window_(window) {}
  virtual ~DeviceSession() = default;
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // The window that devices send their notices to.
  HWND window() const { return window_; }
  // MM_MCINOTIFY from one of the session's devices.
  virtual void OnNotice(WPARAM /*code*/, LPARAM /*device*/) {}
  // WM_TIMER of the session's window.
  virtual void OnTimer(UINT_PTR /*id*/) {}
  // Closes every device the session opened: at the thread's end, and
  // after a call it was given up in came back.
  virtual void CloseAll() {}

 private:
  HWND window_;
};

// One piece of work on the device thread. Its results stay in it: the one
// who asked reads them once the job is done.
class DeviceJob {
 public:
  virtual ~DeviceJob() = default;
  virtual void Run(DeviceSession* session) = 0;
};

enum class DeviceAnswer {
  Done,       // the job ran
  Cancelled,  // a cancelling event came first; the job did not run, or its thread was given up
  NoAnswer,   // the bound passed (or no device thread could start)
};

// A new session for a new thread (on that thread, with its window).
using DeviceSessionFactory = std::unique_ptr<DeviceSession> (*)(HWND window);

class DeviceThreadLine {
 public:
  explicit DeviceThreadLine(DeviceSessionFactory factory) : factory_(factory) {}
  ~DeviceThreadLine() { End(0); }
  DeviceThreadLine(const DeviceThreadLine&) = delete;
  DeviceThreadLine& operator=(const DeviceThreadLine&) = delete;

  // Runs job on the device thread and waits for it: at most boundMs, and
  // only until cancelled() holds, which is asked whenever the wait wakes
  // (one of the count events in wake is set, or a message came). The wait
  // handles the waiting thread's messages, so a window's thread keeps
  // answering.
  DeviceAnswer Run(const std::shared_ptr<DeviceJob>& job, DWORD boundMs, const HANDLE* wake = nullptr, DWORD count = 0,
                   const std::function<bool()>& cancelled = nullptr);
  // Queues job without waiting for it; false when there is no healthy
  // device thread (the job would have nothing to act on).
  bool Post(const std::shared_ptr<DeviceJob>& job);
  // Whether a device thread is running and has not been given up.
  bool Running() const;
  // How many threads were given up since the start (for tests and figures).
  unsigned GivenUpCount() const { return givenUp_; }
  // Ends the thread: its session closes its devices. Waits at most boundMs
  // for it; a thread that does not end is left behind.
  void End(DWORD boundMs);

  struct Thread;  // one device thread and its window
  struct Call;    // one job on its way

 private:
  std::shared_ptr<Thread> CurrentThread(bool start);
  void GiveUp(const std::shared_ptr<Thread>& thread);

  DeviceSessionFactory factory_;
  mutable std::mutex mutex_;
  std::shared_ptr<Thread> thread_;
  unsigned givenUp_ = 0;
};

#endif
