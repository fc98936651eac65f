#include "playback/play_all.h"

#include <mmsystem.h>

#include <atomic>
#include <set>

#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/media_control.h"
#include "playback/media_devices.h"
#include "playback/play_order.h"
#include "playback/playback_events.h"
#include "playback/waiting.h"
#include "resources/ids.h"
#include "state/main_window_state.h"

namespace {

constexpr uint32_t kNonStop = 0xFFFFFFFF;
constexpr uint32_t kStoppedPass = 0xFFFFFFFE;

// The run state. The worker writes it; Stop Play All overwrites the pass
// and the objects left.
std::atomic<uint32_t> g_passCount{0};
std::atomic<uint32_t> g_passIndex{0};
std::atomic<int32_t> g_objectsLeft{0};
std::atomic<int32_t> g_lastChosenIndex{-1};
// Raised by the worker just before it reports the end of its run: only
// that report, not a message another process posts, ends the run.
std::atomic<int32_t> g_runEnding{0};
// How many objects of the run that ended could not be played.
std::atomic<uint32_t> g_runFailures{0};

// A seed that differs between starts of the program: the clock's finest
// count, the time of day and the process, mixed so that every bit of each
// counts.
uint32_t StartSeed() {
  LARGE_INTEGER counter = {};
  QueryPerformanceCounter(&counter);
  FILETIME now = {};
  GetSystemTimeAsFileTime(&now);
  uint64_t mixed = static_cast<uint64_t>(counter.QuadPart) ^ (static_cast<uint64_t>(now.dwHighDateTime) << 32) ^
                   now.dwLowDateTime ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 17);
  // splitmix64's finish
  mixed = (mixed ^ (mixed >> 30)) * 0xBF58476D1CE4E5B9ull;
  mixed = (mixed ^ (mixed >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>(mixed ^ (mixed >> 31));
}

// The worker's own generator, seeded once per start: it lives as long as
// the program, so the draws go on from run to run.
PlayOrderGenerator g_generator(StartSeed());

// The run is stopped, or the program is closing.
bool Stopping(uint32_t run) { return g_state.playAllRun.Stopped(run) || g_state.playAllStop; }

int ItemCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

void SelectItem(HWND list, int index) { SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

bool IsPlayedItem(HWND list, int index) {
  LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (data == LB_ERR || !data) return false;
  LockedBlock<SoundObject> record(reinterpret_cast<SoundObjectHandle>(data));
  return record && (record->flags & PlayedMark);
}

class ListBoxOrder : public PlayOrderList {
 public:
  explicit ListBoxOrder(HWND list) : list_(list) {}
  int Count() const override { return ItemCount(list_); }
  bool IsPlayed(int index) const override { return IsPlayedItem(list_, index); }

 private:
  HWND list_;
};

// Non-stop on an empty list: sleeps until an item is added or the run is
// stopped, instead of running empty passes as fast as the CPU allows.
void WaitForItems(HWND list, uint32_t run) {
  HANDLE events[] = {g_state.listGrew.handle(), g_state.playing.cleared(), g_state.threadsQuit.handle()};
  while (ItemCount(list) <= 0 && !Stopping(run) && PumpThreadMessages()) BlockForMessagesOr(events, 3, INFINITE);
}

struct ObjectFacts {
  uint32_t flags = 0;
  uint32_t repeatCount = 0;
  uint32_t postDelay = 0;
};

ObjectFacts FactsOf(SoundObjectHandle handle) {
  ObjectFacts facts;
  LockedBlock<SoundObject> record(handle);
  if (record) facts = {record->flags, record->repeatCount, record->postDelay};
  return facts;
}

// A countdown with `playing` set around it, as a play has.
void CountDown(uint32_t seconds, uint32_t run) {
  g_state.playing = 1;
  PauseCountdown(seconds, run);
  g_state.playing = 0;
}

// The wait after an object: its own post delay, else the pause between
// objects when that is asked for. A Pause object has waited already.
void PostDelay(const ObjectFacts& facts, uint32_t run) {
  if (Stopping(run)) return;  // a stop ends the run now, not after a delay
  if ((g_settings.preferenceFlags & PauseBetweenObjects) && facts.postDelay == 0)
    CountDown(0, run);
  else if (facts.postDelay != 0 && !(facts.flags & Pause))
    CountDown(facts.postDelay, run);
}

// The objects of the run that could not be played; each counts once,
// whatever its repeats and passes.
using FailedObjects = std::set<SoundObjectHandle>;

void PlayOnePass(HWND list, uint32_t run, FailedObjects* failed) {
  g_objectsLeft = ItemCount(list);
  if (g_objectsLeft <= 0 && g_passCount == kNonStop) {
    WaitForItems(list, run);
    g_objectsLeft = Stopping(run) ? 0 : ItemCount(list);
  }
  if (g_passCount != kNonStop) NotifyPlayback(PlaybackPassStarted, static_cast<LPARAM>(g_passIndex + 1));

  uint32_t repeatsLeft = 0;
  bool repeating = false;
  int index = -1;
  while (g_objectsLeft > 0 && !Stopping(run)) {
    if (!repeating) {
      index = ChooseNextIndex(list, g_settings.playOrder, g_objectsLeft);
      if (index == -1) break;
    }
    SoundObjectHandle handle = ObjectAt(index);
    ObjectFacts facts = FactsOf(handle);
    SelectItem(list, index);
    WaitWhilePaused(run);  // a pause that came as an object ended holds the next
    PlayFacts play;
    TakePlayFacts(handle, &play);
    DWORD error = 0;
    if (PlayObject(play, run, &error) >= 0) error = WaitWhilePlaying(run);
    EndMediaPlay();
    if (NotePlayResult(handle, error != 0)) InvalidateRect(list, nullptr, FALSE);
    if (error) {
      // The run goes on with the next object: no repeat or delay of one
      // that cannot be played.
      failed->insert(handle);
      repeating = false;
      repeatsLeft = 0;
      facts.repeatCount = 0;
    } else {
      PostDelay(facts, run);
    }

    if (repeatsLeft == 0 && !repeating) repeatsLeft = facts.repeatCount;
    if (repeatsLeft == 0) {
      repeating = false;
      MarkPlayed(list, index, false);
      g_objectsLeft.fetch_sub(1);
    } else {
      --repeatsLeft;
      repeating = true;
    }
    SelectItem(list, index);
  }
  MarkPlayed(list, 0, true);
  g_passIndex.fetch_add(1);
}

void RunPlayAll(uint32_t run) {
  HWND list = g_state.listBox;
  uint32_t count = g_settings.playListCount;
  g_passCount = count ? count : kNonStop;
  g_passIndex = 0;
  FailedObjects failed;
  do {
    PlayOnePass(list, run, &failed);
  } while (g_passIndex < g_passCount && !Stopping(run));

  g_objectsLeft = 0;
  ChooseNextIndex(nullptr, 0, 0);
  g_state.playing = 0;
  EndPause();
  EndMediaPlay();
  // The idle state comes back on the UI thread, in one step.
  g_runFailures = static_cast<uint32_t>(failed.size());
  g_runEnding = 1;
  SendMessageA(g_state.mainWindow, WM_PLAYALLENDED, 0, 0);
}

}  // namespace

DWORD WINAPI PlayAllWorker(LPVOID) {
  HANDLE events[] = {g_state.playAllStart.handle(), g_state.threadsQuit.handle()};
  while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 && !g_state.playAllStop) {
    // A stop of the run, or the program's end, ends this wait too.
    HANDLE stops[] = {g_state.playAllRun.StopEvent(), g_state.threadsQuit.handle()};
    WaitForAudioFileProbe(stops, 2);
    RunPlayAll(g_state.playAllRun.Current());
  }
  return 0;
}

bool StartPlayAllRun() {
  if (g_state.playAllRunning || g_state.playing) return false;
  g_state.playAllRun.Begin();
  g_state.playAllRunning = 1;
  NotifyPlayback(PlaybackBusyChanged);
  g_state.playAllStart.Raise();
  return true;
}

void StopPlayAllRun() {
  if (!g_state.playAllRunning) return;
  g_state.playAllRun.StopCurrent();
  g_passIndex = kStoppedPass;
  g_objectsLeft = 0;
  StopPlayback();  // ends the wait in progress, and a wait while paused
}

void OnPlayAllEnded() {
  if (!g_runEnding.exchange(0)) return;
  g_state.playAllRunning = 0;
  NotifyPlayback(PlaybackRunEnded, static_cast<LPARAM>(g_runFailures.load()));
}

int ChooseNextIndex(HWND list, uint32_t order, int32_t objectsLeft) {
  if (!list || !IsWindow(list)) {
    g_lastChosenIndex = -1;
    return -1;
  }
  int32_t last = g_lastChosenIndex;
  int index =
      ChooseNextOrderIndex(ListBoxOrder(list), order == PlayOrderSequential,
                           (g_settings.preferenceFlags & RandomExclusive) != 0, objectsLeft, &last, &g_generator);
  if (index >= 0) g_lastChosenIndex = last;
  return index;
}

void MarkPlayed(HWND list, int index, bool clearAll) {
  if (!list || !IsWindow(list)) return;
  int first = clearAll ? 0 : index;
  int last = clearAll ? ItemCount(list) - 1 : index;
  for (int i = first; i <= last; ++i) {
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0);
    if (data == LB_ERR || !data) continue;
    LockedBlock<SoundObject> record(reinterpret_cast<SoundObjectHandle>(data));
    if (!record) continue;
    if (clearAll)
      record->flags &= ~PlayedMark;
    else
      record->flags |= PlayedMark;
  }
}

uint32_t PassCount() { return g_passCount; }
uint32_t PassIndex() { return g_passIndex; }
int32_t ObjectsLeft() { return g_objectsLeft; }
