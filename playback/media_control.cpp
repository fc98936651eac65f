#include "playback/media_control.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>

#include "model/file_kind.h"
#include "model/local_memory.h"
#include "model/object_paths.h"
#include "model/sound_object.h"
#include "playback/device_thread.h"
#include "playback/playback_events.h"
#include "playback/waiting.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "playback/media_devices.h"

namespace {

// A play that sent no notice by its length plus this margin counts as ended.
constexpr ULONGLONG kMinimumMarginMs = 3000;

// The media play in progress, as every thread sees it. Its number tells
// its notice, its position and its stop apart from another play's; 0
// stands for none.
std::atomic<uint32_t> g_serial{0};
std::atomic<uint32_t> g_lastSerial{0};
// Its device has started it (before that, a pause waits for the start).
std::atomic<bool> g_started{false};
// By when it must have ended (GetTickCount64; 0: none, or held).
std::atomic<uint64_t> g_deadline{0};
// What was left of the deadline when it was held.
std::atomic<uint64_t> g_heldLeftMs{0};
std::atomic<uint32_t> g_lengthMs{0};
std::atomic<uint32_t> g_elapsedMs{0};
// The play in progress ended because its device stopped answering.
std::atomic<bool> g_noAnswer{false};

// The text of what plays, for the status bar and the minimized title.
std::mutex g_textMutex;
char g_text[kTextBufferSize] = "";

void SetNowPlaying(const char* text) {
  std::lock_guard<std::mutex> lock(g_textMutex);
  lstrcpynA(g_text, text ? text : "", sizeof g_text);
}

uint32_t NextSerial() {
  uint32_t serial = g_lastSerial.fetch_add(1) + 1;
  return serial ? serial : g_lastSerial.fetch_add(1) + 1;
}

// Forgets the media play numbered serial if it is still the one in
// progress; true when it was.
bool ClearPlay(uint32_t serial) {
  uint32_t expected = serial;
  if (serial == 0 || !g_serial.compare_exchange_strong(expected, 0)) return false;
  g_started = false;
  g_deadline = 0;
  g_lengthMs = 0;
  return true;
}

// What the device thread reports of the plays it runs.
class Report : public PlayReport {
 public:
  void Ended(uint32_t serial) override {
    if (ClearPlay(serial)) g_playback.playing = 0;
  }
  void Position(uint32_t serial, DWORD elapsedMs) override {
    if (serial == g_serial) g_elapsedMs = elapsedMs;
  }
};
Report g_report;

std::unique_ptr<DeviceSession> NewMediaSession(HWND window) {
  return std::unique_ptr<DeviceSession>(new MediaSession(window, &g_report));
}

DeviceThreadLine g_devices(NewMediaSession);

MediaSession* Media(DeviceSession* session) { return static_cast<MediaSession*>(session); }

// ---- The jobs on the device thread ---------------------------------------

// Holds the play in progress or lets it go on, as the pause stands when
// this runs: jobs run in order, so the last one leaves the device as the
// last change of the pause asked. Keeps the play's deadline in step (a
// held play has none). False when a pause could not hold the device.
bool FollowPause(MediaSession* media) {
  const uint32_t serial = media->serial();
  if (!serial) return true;
  const bool current = serial == g_serial;
  const ULONGLONG now = MonotonicMs();
  if (g_playback.paused) {
    if (media->held()) return true;
    if (!media->Hold()) return false;
    const ULONGLONG deadline = g_deadline.exchange(0);
    if (current) g_heldLeftMs = deadline > now ? deadline - now : 0;
  } else if (media->held()) {
    media->Continue();
    if (current) g_deadline = now + g_heldLeftMs;
  }
  return true;
}

class StartJob : public DeviceJob {
 public:
  StartJob(const MediaRequest& request, uint32_t serial) : request_(request), serial_(serial) {}
  void Run(DeviceSession* session) override {
    MediaSession* media = Media(session);
    DWORD lengthMs = 0;
    error = media->Start(request_, serial_, &lengthMs);
    if (error) return;
    if (g_serial != serial_) {
      media->Stop();  // stopped while it was on its way
      return;
    }
    g_lengthMs = lengthMs;
    g_deadline = MonotonicMs() + lengthMs + lengthMs / 4 + kMinimumMarginMs;
    g_started = true;
    holdRefused = !FollowPause(media);
  }
  DWORD error = 0;
  bool holdRefused = false;

 private:
  MediaRequest request_;
  uint32_t serial_;
};

class FollowPauseJob : public DeviceJob {
 public:
  void Run(DeviceSession* session) override { refused = !FollowPause(Media(session)); }
  bool refused = false;
};

// Stops the play numbered serial, and no later one.
class StopJob : public DeviceJob {
 public:
  explicit StopJob(uint32_t serial) : serial_(serial) {}
  void Run(DeviceSession* session) override {
    if (Media(session)->serial() == serial_) Media(session)->Stop();
  }

 private:
  uint32_t serial_;
};

// Moves the play numbered serial, and no later one, to positionMs; its
// deadline follows: the rest of its length from there, and the margin.
class MoveJob : public DeviceJob {
 public:
  MoveJob(uint32_t serial, DWORD positionMs) : serial_(serial), positionMs_(positionMs) {}
  void Run(DeviceSession* session) override {
    MediaSession* media = Media(session);
    if (media->serial() != serial_ || g_serial != serial_ || !media->MoveTo(positionMs_)) return;
    const ULONGLONG lengthMs = g_lengthMs;
    const ULONGLONG leftMs = (lengthMs > positionMs_ ? lengthMs - positionMs_ : 0) + lengthMs / 4 + kMinimumMarginMs;
    if (media->held())
      g_heldLeftMs = leftMs;
    else
      g_deadline = MonotonicMs() + leftMs;
    moved = true;
  }
  bool moved = false;

 private:
  uint32_t serial_;
  DWORD positionMs_;
};

class CloseAllJob : public DeviceJob {
 public:
  void Run(DeviceSession* session) override { session->CloseAll(); }
};

class SideJob : public DeviceJob {
 public:
  SideJob(const MediaRequest& request, HWND window) : request_(request), window_(window) {}
  void Run(DeviceSession* session) override { error = Media(session)->StartSide(request_, window_); }
  DWORD error = 0;

 private:
  MediaRequest request_;
  HWND window_;
};

class StopSideJob : public DeviceJob {
 public:
  void Run(DeviceSession* session) override { Media(session)->StopSide(); }
};

class VolumeJob : public DeviceJob {
 public:
  void Run(DeviceSession* session) override { Media(session)->FollowVolume(); }
};

// ---- The plays ---------------------------------------------------------

// Whether the wait for a play's device is to end: the play or its run was
// stopped.
bool PlayStopped(uint32_t run) { return !g_playback.playing || g_playback.playAllRun.Stopped(run); }

// Asks the device thread for a job of the play in progress: its wait ends
// early when the play or its run is stopped.
DeviceAnswer RunForPlay(const std::shared_ptr<DeviceJob>& job, uint32_t run) {
  HANDLE wake[] = {g_playback.playing.cleared(), g_playback.playAllRun.StopEvent()};
  return g_devices.Run(job, kDeviceAnswerMs, wake, run ? 2 : 1, [run] { return PlayStopped(run); });
}

// The play in progress stopped answering: it ends, failed.
void FailStuckPlay() {
  if (!ClearPlay(g_serial)) return;
  g_noAnswer = true;
  g_playback.playing = 0;
}

void SetPaused(bool paused) {
  g_playback.paused = paused ? 1 : 0;
  g_playback.pauseChanged.Raise();
}

enum class StartResult { Started, Stopped, Failed };

// Starts a media play through the device thread and waits for its answer.
StartResult StartMedia(const PlayFacts& facts, uint32_t run, DWORD* error) {
  const uint32_t serial = NextSerial();
  SetNowPlaying(facts.text);
  g_started = false;
  g_elapsedMs = 0;
  g_noAnswer = false;
  g_serial = serial;  // before the start: its end may come before the answer
  NotifyPlayback(PlaybackStarted);

  auto job = std::make_shared<StartJob>(facts.media, serial);
  DeviceAnswer answer = RunForPlay(job, run);
  if (answer != DeviceAnswer::Done || job->error) {
    ClearPlay(serial);
    if (answer == DeviceAnswer::Cancelled) return StartResult::Stopped;
    *error = answer == DeviceAnswer::NoAnswer ? kDeviceNoAnswer : job->error;
    return StartResult::Failed;
  }
  // A pause that came before the start holds the play from its start; a
  // device that cannot hold plays on, and the pause ends: "Paused" over a
  // sound that goes on would be false.
  if (job->holdRefused) EndPause();
  if (g_serial == serial) NotifyPlayback(PlaybackTimed);
  return StartResult::Started;
}

// Ends the wait of a play that never reported its end.
void EndOverdue() {
  const uint32_t serial = g_serial;
  if (ClearPlay(serial)) g_devices.Post(std::make_shared<StopJob>(serial));
  g_playback.playing = 0;
}

// The media kind an object plays as: the first of Wave, Midi, Video and
// CdTrack set in its flags, else AudioFile when it is of that kind alone;
// 0 for none.
uint32_t MediaKind(uint32_t flags) {
  for (uint32_t kind : {Wave, Midi, Video, CdTrack})
    if (flags & kind) return kind;
  return ObjectKind(flags) == AudioFile ? static_cast<uint32_t>(AudioFile) : 0u;
}

}  // namespace

bool TakePlayFacts(const ObjectList& list, SoundObjectHandle handle, PlayFacts* facts) {
  *facts = PlayFacts();
  LockedBlock<SoundObject> record(handle);
  if (!record) return false;
  const uint32_t kind = MediaKind(record->flags);
  if (kind) {
    facts->kind = kind;
    facts->media.kind = kind;
    facts->media.track = record->trackNumber;
    facts->media.trackBound = g_cdTrackCount;
    if (kind != CdTrack) list.ResolvePath(*record, facts->media.path, sizeof facts->media.path);
  } else if (record->flags & Pause) {
    facts->kind = Pause;
    facts->pauseSeconds = record->postDelay;
  }
  PlayingText(*record, facts->text, sizeof facts->text);
  return true;
}

int PlayObject(const PlayFacts& facts, uint32_t run, DWORD* error) {
  if (error) *error = 0;
  if (g_playback.playAllRun.Stopped(run)) return 0;
  if (facts.kind == Pause) {
    g_playback.playing = 1;
    PauseCountdown(facts.pauseSeconds, run);
    g_playback.playing = 0;
    return Pause;
  }
  if (!facts.kind) return 0;
  g_playback.playing = 1;
  DWORD failure = 0;
  switch (StartMedia(facts, run, &failure)) {
    case StartResult::Started:
      return static_cast<int>(facts.kind);
    case StartResult::Stopped:
      g_playback.playing = 0;
      return 0;
    case StartResult::Failed:
      break;
  }
  g_playback.playing = 0;
  if (error) *error = failure;
  return -1;
}

void PauseCountdown(uint32_t seconds, uint32_t run) {
  SetNowPlaying("");
  NotifyPlayback(PlaybackCountdown, seconds);

  const ULONGLONG totalMs = seconds * 1000ull;
  ULONGLONG countedMs = 0;  // counted before the stretch in progress
  ULONGLONG stretchStart = MonotonicMs();
  bool held = false;
  uint32_t shown = seconds;  // the seconds left when the text was last set
  HANDLE wake[] = {g_playback.playing.cleared(), g_playback.pauseChanged.handle()};
  auto going = [run] { return g_playback.playing && !g_playback.playAllRun.Stopped(run); };
  while (going() && PumpThreadMessages() && going()) {
    const ULONGLONG now = MonotonicMs();
    if (g_playback.paused) {
      // Held: the seconds left stay as they are until the pause ends.
      if (!held) countedMs += now - stretchStart;
      held = true;
      BlockForMessagesOr(wake, 2, INFINITE);
      continue;
    }
    if (held) {
      held = false;
      stretchStart = now;
      NotifyPlayback(PlaybackCountdown, shown);
    }
    const ULONGLONG elapsedMs = countedMs + (now - stretchStart);
    if (elapsedMs >= totalMs) break;
    const uint32_t left = seconds - static_cast<uint32_t>(elapsedMs / 1000);
    if (left != shown) {
      shown = left;
      NotifyPlayback(PlaybackCountdown, static_cast<LPARAM>(left));
    }
    // Sleep until the next whole second, a message, a cleared flag or a pause.
    BlockForMessagesOr(wake, 2, static_cast<DWORD>((elapsedMs / 1000 + 1) * 1000 - elapsedMs));
  }
}

DWORD WaitWhilePlaying(uint32_t run) {
  // A pause takes the deadline away and its end gives it back: either
  // wakes the wait to look at it again.
  HANDLE wake[] = {g_playback.playing.cleared(), g_playback.pauseChanged.handle(), g_playback.playAllRun.StopEvent()};
  auto going = [run] { return g_playback.playing && !g_playback.playAllRun.Stopped(run); };
  while (going() && PumpThreadMessages() && going()) {
    DWORD timeout = INFINITE;
    if (ULONGLONG deadline = g_deadline) {
      ULONGLONG now = MonotonicMs();
      if (now >= deadline) {
        EndOverdue();  // the device never reported the end
        break;
      }
      timeout = static_cast<DWORD>(deadline - now);
    }
    BlockForMessagesOr(wake, run ? 3 : 2, timeout);
  }
  return g_noAnswer.exchange(false) ? kDeviceNoAnswer : 0;
}

void EndMediaPlay() {
  const uint32_t serial = g_serial;
  if (ClearPlay(serial)) g_devices.Post(std::make_shared<StopJob>(serial));
}

bool TogglePause() {
  // A toggle waits for the device thread while this thread's messages run:
  // a second toggle meanwhile is not taken.
  static bool toggling = false;
  if (toggling || (!g_playback.paused && !g_playback.playing)) return false;
  toggling = true;
  const bool pausing = !g_playback.paused;
  SetPaused(pausing);
  // The media play (started, or still starting) follows; a countdown holds
  // by the flag alone.
  if (g_serial) {
    auto job = std::make_shared<FollowPauseJob>();
    DeviceAnswer answer = g_devices.Run(job, kDeviceAnswerMs);
    if (answer == DeviceAnswer::NoAnswer) {
      FailStuckPlay();  // the play ends failed, and with it the pause
      SetPaused(false);
      NotifyPlayback(PlaybackPauseChanged, 0);
      toggling = false;
      return true;
    } else if (answer == DeviceAnswer::Done && job->refused) {
      SetPaused(false);  // the device cannot hold: it plays on
      toggling = false;
      return false;
    }
  }
  NotifyPlayback(PlaybackPauseChanged, pausing ? 1 : 0);
  toggling = false;
  return true;
}

void EndPause() {
  if (!g_playback.paused) return;
  SetPaused(false);
  NotifyPlayback(PlaybackPauseChanged, 0);
}

void WaitWhilePaused(uint32_t run) {
  HANDLE wake[] = {g_playback.pauseChanged.handle(), g_globals.quit.handle(), g_playback.playAllRun.StopEvent()};
  while (g_playback.paused && !g_playback.playAllRun.Stopped(run) && !g_playback.playAllStop && PumpThreadMessages())
    BlockForMessagesOr(wake, 3, INFINITE);
}

bool GetPlayTimes(DWORD* elapsedMs, DWORD* totalMs) {
  if (!g_serial || !g_started) return false;
  const DWORD total = g_lengthMs;
  *elapsedMs = std::min<DWORD>(g_elapsedMs, total);
  *totalMs = total;
  return true;
}

ULONGLONG PlayDeadline() { return g_deadline; }

bool MovePlay(DWORD positionMs) {
  const uint32_t serial = g_serial;
  if (!serial || !g_started) return false;
  positionMs = std::min<DWORD>(positionMs, g_lengthMs);
  auto job = std::make_shared<MoveJob>(serial, positionMs);
  const DeviceAnswer answer = g_devices.Run(job, kDeviceAnswerMs);
  if (answer == DeviceAnswer::NoAnswer) FailStuckPlay();
  if (answer != DeviceAnswer::Done || !job->moved) return false;
  g_elapsedMs = positionMs;
  return true;
}

void NowPlayingText(char* text, size_t size) {
  if (!size) return;
  std::lock_guard<std::mutex> lock(g_textMutex);
  lstrcpynA(text, g_text, static_cast<int>(size));
}

DWORD PlayAndWait(const PlayFacts& facts) {
  if (g_playback.playAllRunning || g_playback.playing) return 0;
  g_playback.playing = 1;
  NotifyPlayback(PlaybackBusyChanged);
  DWORD error = 0;
  if (PlayObject(facts, 0, &error) > 0) error = WaitWhilePlaying(0);
  EndMediaPlay();
  g_playback.playing = 0;
  EndPause();
  SetNowPlaying("");
  NotifyPlayback(PlaybackBusyChanged);
  return error;
}

void StopPlayback() {
  EndMediaPlay();
  g_playback.playing = 0;
  EndPause();  // during Play All the next object plays at once
}

void StopAllDevices() {
  ClearPlay(g_serial);
  if (g_devices.Running()) g_devices.Run(std::make_shared<CloseAllJob>(), kDeviceAnswerMs);
}

void EndMediaPlayback(DWORD boundMs) {
  ClearPlay(g_serial);
  g_devices.End(boundMs);
}

namespace {

// Starts a side play and waits for the device thread's answer.
DWORD StartSidePlay(const MediaRequest& request, HWND window) {
  auto job = std::make_shared<SideJob>(request, window);
  if (g_devices.Run(job, kDeviceAnswerMs) != DeviceAnswer::Done) return kDeviceNoAnswer;
  return job->error;
}

}  // namespace

DWORD PlayFavoriteFile(const char* path) {
  MediaRequest request;
  request.kind = KindOfFileName(path);
  // A favorite can only be a WAV, MIDI or audio file.
  if (!request.kind || request.kind == Video) return MCIERR_UNRECOGNIZED_COMMAND;
  lstrcpynA(request.path, path, sizeof request.path);
  return StartSidePlay(request, nullptr);
}

DWORD PlayCdTrackTrial(uint8_t track, HWND window) {
  MediaRequest request;
  request.kind = CdTrack;
  request.track = track;
  request.trackBound = g_cdTrackCount;
  return StartSidePlay(request, window);
}

void StopSidePlay() { g_devices.Post(std::make_shared<StopSideJob>()); }

void FollowVolume() {
  if (g_devices.Running()) g_devices.Post(std::make_shared<VolumeJob>());
}

bool RunDeviceJob(const std::shared_ptr<DeviceJob>& job) {
  return g_devices.Run(job, kDeviceAnswerMs) == DeviceAnswer::Done;
}

unsigned DeviceThreadsGivenUp() { return g_devices.GivenUpCount(); }
