#include "playback/play_all.h"

#include <mmsystem.h>

#include <atomic>
#include <mutex>
#include <set>
#include <vector>

#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/media_control.h"
#include "playback/media_devices.h"
#include "playback/play_order.h"
#include "playback/playback_events.h"
#include "playback/waiting.h"
#include "resources/ids.h"
#include "support/globals.h"
#include "playback/play_state.h"

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
// Stop After This One: the run ends when the object that plays ends.
std::atomic<bool> g_stopAfter{false};
// The worker waits out the delay after an object.
std::atomic<bool> g_inDelay{false};
// A step asked for while an object plays (PlayAllStep), taken by the
// worker when that play has ended.
std::atomic<int> g_step{static_cast<int>(PlayAllStep::None)};

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

// The options of the run the worker starts next (set with its start) and
// of the run it plays.
std::mutex g_optionsMutex;
PlayAllOptions g_nextOptions;
PlayAllOptions g_options;  // the worker's alone

// The worker's own generator, seeded once per start: it lives as long as
// the program, so the draws go on from run to run.
PlayOrderGenerator g_generator(StartSeed());

// The run is stopped, or the program is closing.
bool Stopping(uint32_t run) { return g_playback.playAllRun.Stopped(run) || g_playback.playAllStop; }

int CountOf(const ObjectList& list) {
  ObjectList::Reading reading(list);
  return list.Count();
}

// The order's view of the list and of the objects played in this pass.
// Objects are only appended while a run goes (the commands that would
// move or remove one are not available then), so an index stays its
// object's for the whole pass.
class PassOrder : public PlayOrderList {
 public:
  PassOrder(int count, const std::vector<char>& played) : count_(count), played_(played) {}
  int Count() const override { return count_; }
  bool IsPlayed(int index) const override {
    return index >= 0 && static_cast<size_t>(index) < played_.size() && played_[static_cast<size_t>(index)];
  }

 private:
  int count_;
  const std::vector<char>& played_;
};

// Non-stop on an empty list: sleeps until an object is added or the run
// is stopped, instead of running empty passes as fast as the CPU allows.
void WaitForItems(const ObjectList& list, uint32_t run) {
  HANDLE events[] = {list.GrewEvent(), g_playback.playing.cleared(), g_globals.quit.handle(),
                     g_playback.playAllRun.StopEvent()};
  while (CountOf(list) <= 0 && !Stopping(run) && PumpThreadMessages()) BlockForMessagesOr(events, 4, INFINITE);
}

// What the worker needs of the object at index, read under the list's lock:
// nothing of the object is looked at after that.
struct RunObject {
  PlayFacts play;
  uint32_t flags = 0;
  uint32_t repeatCount = 0;
  uint32_t postDelay = 0;
};

bool TakeRunObject(const ObjectList& list, int index, RunObject* object) {
  ObjectList::Reading reading(list);
  SoundObjectHandle handle = list.At(index);
  if (!TakePlayFacts(list, handle, &object->play)) return false;
  LockedBlock<SoundObject> record(handle);
  if (!record) return false;
  object->flags = record->flags;
  object->repeatCount = record->repeatCount;
  object->postDelay = record->postDelay;
  return true;
}

// A countdown with `playing` set around it, as a play has.
void CountDown(uint32_t seconds, uint32_t run) {
  g_playback.playing = 1;
  PauseCountdown(seconds, run);
  g_playback.playing = 0;
}

// The wait after an object: its own post delay, else the pause between
// objects when that is asked for. A Pause object has waited already.
void PostDelay(const RunObject& object, uint32_t run) {
  if (Stopping(run)) return;  // a stop ends the run now, not after a delay
  g_inDelay = true;
  struct DelayEnd {
    ~DelayEnd() { g_inDelay = false; }
  } delayEnd;
  if (g_options.pauseBetween && object.postDelay == 0)
    CountDown(g_options.pauseSeconds, run);
  else if (object.postDelay != 0 && !(object.flags & Pause))
    CountDown(object.postDelay, run);
}

// The objects of the run that could not be played, by index; each counts
// once, whatever its repeats and passes.
using FailedObjects = std::set<int>;

// The next index in the run's order, -1 when the pass is over.
int ChooseNext(const ObjectList& list, const std::vector<char>& played) {
  int32_t last = g_lastChosenIndex;
  int index = ChooseNextOrderIndex(PassOrder(CountOf(list), played), g_options.sequential, g_options.exclusive,
                                   g_objectsLeft, &last, &g_generator);
  if (index >= 0) g_lastChosenIndex = last;
  return index;
}

// The objects the run has played, in order: where a step back goes. A
// non-stop run keeps only its latest ones.
using PlayHistory = std::vector<int>;
constexpr size_t kHistoryLimit = 1024;

void Remember(PlayHistory* history, int index) {
  if (history->size() >= kHistoryLimit) history->erase(history->begin(), history->begin() + kHistoryLimit / 2);
  history->push_back(index);
}

// A step that came during the delay after an object: that object plays
// again, whichever step it was (it has just ended, so it is "the one
// before" and "the current one" at once). True when it is to play.
bool StepDuringDelay(uint32_t run, int index, PlayHistory* history) {
  if (g_step.exchange(static_cast<int>(PlayAllStep::None)) == static_cast<int>(PlayAllStep::None) || Stopping(run))
    return false;
  if (!history->empty() && history->back() == index) history->pop_back();
  return true;
}

void PlayOnePass(const ObjectList& list, uint32_t run, FailedObjects* failed, PlayHistory* history) {
  g_objectsLeft = CountOf(list);
  if (g_objectsLeft <= 0 && g_passCount == kNonStop) {
    WaitForItems(list, run);
    g_objectsLeft = Stopping(run) ? 0 : CountOf(list);
  }
  if (g_passCount != kNonStop) NotifyPlayback(PlaybackPassStarted, static_cast<LPARAM>(g_passIndex + 1));

  std::vector<char> played;
  uint32_t repeatsLeft = 0;
  bool repeating = false;
  // A play asked for by a step: it plays once more, outside the pass's
  // count, and the order goes on after it.
  bool extra = false;
  int index = -1;
  while (g_objectsLeft > 0 && !Stopping(run)) {
    if (!repeating && !extra) {
      index = ChooseNext(list, played);
      if (index == -1) break;
    }
    RunObject object;
    if (!TakeRunObject(list, index, &object)) break;
    if (object.play.kind == Pause && object.play.pauseSeconds == 0) object.play.pauseSeconds = g_options.pauseSeconds;
    NotifyPlayback(PlaybackObjectChosen, index);
    WaitWhilePaused(run);  // a pause that came as an object ended holds the next
    DWORD error = 0;
    if (PlayObject(object.play, run, &error) >= 0) error = WaitWhilePlaying(run);
    EndMediaPlay();
    const auto step = static_cast<PlayAllStep>(g_step.exchange(static_cast<int>(PlayAllStep::None)));
    if (object.play.kind != Pause && !Stopping(run) && step == PlayAllStep::None)
      NotifyPlayback(error ? PlaybackObjectFailed : PlaybackObjectPlayed, index);
    if (g_stopAfter.exchange(false) && !Stopping(run)) {
      // Its repeats and its delay are not played either.
      g_playback.playAllRun.StopCurrent();
      break;
    }
    if (step != PlayAllStep::None && !Stopping(run)) {
      // Again: the same object from its start. Back: the object played
      // before it (the same one when none was); sequential order goes on
      // from there, so the one that was cut short comes next.
      if (step == PlayAllStep::Back && !history->empty()) {
        index = history->back();
        history->pop_back();
        g_lastChosenIndex = index;
      }
      extra = true;
      repeating = false;
      repeatsLeft = 0;
      continue;
    }
    if (extra) {
      // The extra play is not counted in the pass; it is the one before
      // the next step back again.
      extra = false;
      if (!error) PostDelay(object, run);
      Remember(history, index);
      extra = StepDuringDelay(run, index, history);
      NotifyPlayback(PlaybackObjectChosen, index);
      continue;
    }
    if (error) {
      // The run goes on with the next object: no repeat or delay of one
      // that cannot be played.
      failed->insert(index);
      repeating = false;
      repeatsLeft = 0;
      object.repeatCount = 0;
    } else {
      PostDelay(object, run);
    }

    if (repeatsLeft == 0 && !repeating) repeatsLeft = object.repeatCount;
    if (repeatsLeft == 0) {
      repeating = false;
      if (played.size() <= static_cast<size_t>(index)) played.resize(static_cast<size_t>(index) + 1, 0);
      played[static_cast<size_t>(index)] = 1;
      g_objectsLeft.fetch_sub(1);
      Remember(history, index);
    } else {
      --repeatsLeft;
      repeating = true;
    }
    if (StepDuringDelay(run, index, history)) {
      extra = true;
      repeating = false;
      repeatsLeft = 0;
    }
    NotifyPlayback(PlaybackObjectChosen, index);
  }
  g_passIndex.fetch_add(1);
}

void RunPlayAll(const ObjectList& list, uint32_t run) {
  {
    std::lock_guard<std::mutex> lock(g_optionsMutex);
    g_options = g_nextOptions;
  }
  uint32_t count = g_options.passes;
  g_passCount = count ? count : kNonStop;
  g_passIndex = 0;
  g_lastChosenIndex = -1;
  FailedObjects failed;
  PlayHistory history;
  do {
    PlayOnePass(list, run, &failed, &history);
  } while (g_passIndex < g_passCount && !Stopping(run));

  g_objectsLeft = 0;
  g_lastChosenIndex = -1;
  g_stopAfter = false;
  g_step = static_cast<int>(PlayAllStep::None);
  g_playback.playing = 0;
  EndPause();
  EndMediaPlay();
  // The idle state comes back on the UI thread, in one step.
  g_runFailures = static_cast<uint32_t>(failed.size());
  g_runEnding = 1;
  SendMessageA(g_globals.mainWindow, WM_PLAYALLENDED, 0, 0);
}

}  // namespace

DWORD WINAPI PlayAllWorker(LPVOID parameter) {
  const ObjectList& list = *static_cast<const ObjectList*>(parameter);
  HANDLE events[] = {g_playback.playAllStart.handle(), g_globals.quit.handle()};
  while (WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 && !g_playback.playAllStop) {
    // A stop of the run, or the program's end, ends this wait too.
    HANDLE stops[] = {g_playback.playAllRun.StopEvent(), g_globals.quit.handle()};
    WaitForAudioFileProbe(stops, 2);
    RunPlayAll(list, g_playback.playAllRun.Current());
  }
  return 0;
}

bool StartPlayAllRun(const PlayAllOptions& options) {
  if (g_playback.playAllRunning || g_playback.playing) return false;
  {
    std::lock_guard<std::mutex> lock(g_optionsMutex);
    g_nextOptions = options;
  }
  g_playback.playAllRun.Begin();
  g_stopAfter = false;
  g_step = static_cast<int>(PlayAllStep::None);
  g_playback.playAllRunning = 1;
  NotifyPlayback(PlaybackBusyChanged);
  g_playback.playAllStart.Raise();
  return true;
}

void StopPlayAllRun() {
  if (!g_playback.playAllRunning) return;
  g_playback.playAllRun.StopCurrent();
  g_passIndex = kStoppedPass;
  g_objectsLeft = 0;
  StopPlayback();  // ends the wait in progress, and a wait while paused
}

void OnPlayAllEnded() {
  if (!g_runEnding.exchange(0)) return;
  g_playback.playAllRunning = 0;
  NotifyPlayback(PlaybackRunEnded, static_cast<LPARAM>(g_runFailures.load()));
}

uint32_t PassCount() { return g_passCount; }
uint32_t PassIndex() { return g_passIndex; }
int32_t ObjectsLeft() { return g_objectsLeft; }

void SetStopAfterCurrent(bool stop) {
  g_stopAfter = stop && g_playback.playAllRunning;
  // In the delay after an object, that object has ended already.
  if (g_stopAfter && g_inDelay) StopPlayAllRun();
}
bool StopAfterCurrent() { return g_stopAfter; }

void StepPlayAll(PlayAllStep step) {
  if (!g_playback.playAllRunning || step == PlayAllStep::None) return;
  g_step = static_cast<int>(step);
  StopPlayback();  // the wait in progress ends, and the worker takes the step
}
