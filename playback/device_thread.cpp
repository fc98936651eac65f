#include "playback/device_thread.h"

#include <atomic>
#include <deque>
#include <utility>

#include "playback/waiting.h"
#include "resources/ids.h"
#include "support/scoped_win.h"

namespace {

const wchar_t kWindowClass[] = L"WendleDevices";
// A new thread has its window within this, or it counts as not answering.
constexpr DWORD kThreadStartMs = 5000;
// A thread still busy with a job its caller left (a play stopped while it
// started) is given this long to finish it before the next job goes to a
// fresh thread: a healthy one is done by then, and one device (a CD
// drive) may be open only once.
constexpr DWORD kFinishGraceMs = 1000;

// A call's stages. Only the device thread moves Queued to Running and
// Running to Finished; a caller moves Queued to Cancelled, and a give-up
// moves Queued to Orphaned.
enum Stage : int { kQueued, kRunning, kFinished, kCancelled, kOrphaned };

LRESULT CALLBACK DeviceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DeviceWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

}  // namespace

struct DeviceThreadLine::Call {
  std::shared_ptr<DeviceJob> job;
  std::atomic<int> stage{kQueued};
  SignalEvent done{true};

  // Ends a call that will never run: its caller stops waiting.
  bool Drop(int why) {
    int expected = kQueued;
    if (!stage.compare_exchange_strong(expected, why)) return false;
    done.Raise();
    return true;
  }
};

struct DeviceThreadLine::Thread {
  DeviceSessionFactory factory = nullptr;
  ScopedHandle handle;
  SignalEvent ready{true};
  std::atomic<HWND> window{nullptr};
  std::atomic<bool> givenUp{false};
  // A caller left a job while it ran; cleared when the thread is idle.
  std::atomic<bool> leftBehind{false};
  SignalEvent idle{true};  // set while no job runs or waits
  std::mutex mutex;
  std::deque<std::shared_ptr<Call>> queue;

  // Waits until the thread has its window; false when it has none.
  bool WaitReady() {
    if (window) return true;
    HANDLE events[] = {ready.handle(), handle.get()};
    WaitForMultipleObjects(2, events, FALSE, kThreadStartMs);
    return window != nullptr;
  }

  bool Enqueue(const std::shared_ptr<Call>& call) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      queue.push_back(call);
    }
    if (PostMessageW(window, WM_DEVICEJOB, 0, 0)) return true;
    Remove(call);
    return false;
  }

  void Remove(const std::shared_ptr<Call>& call) {
    std::lock_guard<std::mutex> lock(mutex);
    for (auto it = queue.begin(); it != queue.end(); ++it)
      if (*it == call) {
        queue.erase(it);
        return;
      }
  }

  std::shared_ptr<Call> Next() {
    std::lock_guard<std::mutex> lock(mutex);
    if (queue.empty()) return nullptr;
    std::shared_ptr<Call> call = std::move(queue.front());
    queue.pop_front();
    return call;
  }

  // What was queued behind a thread that no longer answers is answered at
  // once: it would never run.
  void OrphanQueued() {
    std::deque<std::shared_ptr<Call>> orphans;
    {
      std::lock_guard<std::mutex> lock(mutex);
      orphans.swap(queue);
    }
    for (const std::shared_ptr<Call>& call : orphans) call->Drop(kOrphaned);
  }

  // Runs the queued jobs in order, on the thread. False once the thread
  // was given up: it ends.
  bool RunQueued(DeviceSession* session) {
    while (std::shared_ptr<Call> call = Next()) {
      int expected = kQueued;
      if (!call->stage.compare_exchange_strong(expected, kRunning)) continue;  // its caller left
      idle.Lower();
      call->job->Run(session);
      call->stage = kFinished;
      call->done.Raise();
      if (givenUp) return false;
    }
    leftBehind = false;
    idle.Raise();
    return !givenUp;
  }
};

namespace {

struct ThreadStart {
  std::shared_ptr<DeviceThreadLine::Thread> thread;
};

LRESULT CALLBACK DeviceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* session = reinterpret_cast<DeviceSession*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case MM_MCINOTIFY:
      if (session) session->OnNotice(wParam, lParam);
      return 0;
    case WM_TIMER:
      if (session) session->OnTimer(wParam);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

DWORD WINAPI DeviceThreadProc(LPVOID parameter) {
  std::shared_ptr<DeviceThreadLine::Thread> thread = std::move(static_cast<ThreadStart*>(parameter)->thread);
  delete static_cast<ThreadStart*>(parameter);

  HWND window = RegisterWindowClass() ? CreateWindowExW(0, kWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                        GetModuleHandleW(nullptr), nullptr)
                                      : nullptr;
  if (!window) {
    thread->ready.Raise();
    thread->OrphanQueued();
    return 1;
  }
  std::unique_ptr<DeviceSession> session = thread->factory(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(session.get()));
  thread->window = window;
  thread->ready.Raise();

  MSG msg;
  bool going = true;
  while (going && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == window && msg.message == WM_DEVICEJOB)
      going = thread->RunQueued(session.get());
    else if (msg.hwnd == window && msg.message == WM_DEVICEQUIT)
      going = false;
    else
      DispatchMessageW(&msg);
    going = going && !thread->givenUp;
  }
  session->CloseAll();
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
  thread->OrphanQueued();
  return 0;
}

// How the wait for one call ended.
enum class WaitEnd { Done, Cancelled, TimedOut };

WaitEnd WaitForCall(HANDLE done, DWORD boundMs, const HANDLE* wake, DWORD count,
                    const std::function<bool()>& cancelled) {
  constexpr DWORD kMaxWake = 4;
  HANDLE events[1 + kMaxWake] = {done};
  if (count > kMaxWake) count = kMaxWake;
  for (DWORD i = 0; i < count; ++i) events[1 + i] = wake[i];
  const ULONGLONG end = MonotonicMs() + boundMs;
  for (;;) {
    if (WaitForSingleObject(done, 0) == WAIT_OBJECT_0) return WaitEnd::Done;
    if (cancelled && cancelled()) return WaitEnd::Cancelled;
    const ULONGLONG now = MonotonicMs();
    if (now >= end) return WaitEnd::TimedOut;
    // A window's thread goes on answering while it waits.
    if (!PumpThreadMessages()) return WaitEnd::Cancelled;  // the program is quitting
    if (WaitForSingleObject(done, 0) == WAIT_OBJECT_0) return WaitEnd::Done;
    if (cancelled && cancelled()) return WaitEnd::Cancelled;
    BlockForMessagesOr(events, 1 + count, static_cast<DWORD>(end - now));
  }
}

}  // namespace

std::shared_ptr<DeviceThreadLine::Thread> DeviceThreadLine::CurrentThread(bool start) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (thread_ && !thread_->givenUp) return thread_;
  thread_.reset();
  if (!start) return nullptr;
  auto thread = std::make_shared<Thread>();
  thread->factory = factory_;
  thread->idle.Raise();
  auto* parameter = new ThreadStart{thread};
  thread->handle.reset(CreateThread(nullptr, 0, DeviceThreadProc, parameter, 0, nullptr));
  if (!thread->handle) {
    delete parameter;
    return nullptr;
  }
  thread_ = thread;
  return thread;
}

void DeviceThreadLine::GiveUp(const std::shared_ptr<Thread>& thread) {
  if (thread->givenUp.exchange(true)) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (thread_ == thread) thread_.reset();
    ++givenUp_;
  }
  thread->OrphanQueued();
  // A thread that comes back from its call ends at once; one that never
  // does holds nothing anyone waits for.
  if (HWND window = thread->window) PostMessageW(window, WM_DEVICEQUIT, 0, 0);
}

DeviceAnswer DeviceThreadLine::Run(const std::shared_ptr<DeviceJob>& job, DWORD boundMs, const HANDLE* wake,
                                   DWORD count, const std::function<bool()>& cancelled) {
  std::shared_ptr<Thread> thread = CurrentThread(true);
  if (thread && thread->leftBehind) {
    // The job left behind is let finish, for a while.
    WaitEnd end = WaitForCall(thread->idle.handle(), kFinishGraceMs, wake, count, cancelled);
    if (end == WaitEnd::Cancelled) return DeviceAnswer::Cancelled;
    if (end == WaitEnd::TimedOut) {
      GiveUp(thread);
      thread = CurrentThread(true);
    }
  }
  if (!thread) return DeviceAnswer::NoAnswer;
  if (!thread->WaitReady()) {
    GiveUp(thread);
    return DeviceAnswer::NoAnswer;
  }
  auto call = std::make_shared<Call>();
  call->job = job;
  if (!thread->Enqueue(call)) {
    GiveUp(thread);
    return DeviceAnswer::NoAnswer;
  }
  WaitEnd end = WaitForCall(call->done.handle(), boundMs, wake, count, cancelled);
  if (end == WaitEnd::Done) return call->stage == kFinished ? DeviceAnswer::Done : DeviceAnswer::NoAnswer;
  const DeviceAnswer answer = end == WaitEnd::Cancelled ? DeviceAnswer::Cancelled : DeviceAnswer::NoAnswer;
  // A job still queued is taken back. A job that did not run within the
  // bound (the thread is stuck in it, or in one before it) gives the
  // thread up. A cancelled job that runs is left to finish; the next job
  // gives it a while (above).
  if (call->Drop(kCancelled)) {
    thread->Remove(call);
    if (answer == DeviceAnswer::NoAnswer) GiveUp(thread);
    return answer;
  }
  if (call->stage == kFinished) return DeviceAnswer::Done;
  if (answer == DeviceAnswer::NoAnswer)
    GiveUp(thread);
  else
    thread->leftBehind = true;
  return answer;
}

bool DeviceThreadLine::Post(const std::shared_ptr<DeviceJob>& job) {
  std::shared_ptr<Thread> thread = CurrentThread(false);
  if (!thread || !thread->WaitReady()) return false;
  auto call = std::make_shared<Call>();
  call->job = job;
  return thread->Enqueue(call);
}

bool DeviceThreadLine::Running() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return thread_ && !thread_->givenUp;
}

void DeviceThreadLine::End(DWORD boundMs) {
  std::shared_ptr<Thread> thread;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    thread.swap(thread_);
  }
  if (!thread || !thread->handle) return;
  if (HWND window = thread->window) PostMessageW(window, WM_DEVICEQUIT, 0, 0);
  if (boundMs) WaitForSingleObject(thread->handle.get(), boundMs);
}
