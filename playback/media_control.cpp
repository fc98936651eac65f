#include "playback/media_control.h"

#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

#include "model/file_kind.h"
#include "model/local_memory.h"
#include "model/object_paths.h"
#include "model/sound_object.h"
#include "playback/playback_events.h"
#include "playback/waiting.h"
#include "resources/ids.h"
#include "state/main_window_state.h"
#include "support/support_library.h"

namespace {

// A play that sent no notice by its length plus this margin counts as ended.
constexpr ULONGLONG kMinimumMarginMs = 3000;
// The longest wait for the audio file device's probe: its first start in a
// fresh Wine set-up builds GStreamer's plugin cache, which takes seconds.
constexpr DWORD kAudioFileProbeWaitMs = 10000;

// The object the worker asked the UI thread to start (WM_PLAYOBJECT). The
// message carries no pointer: another process may post it too.
std::atomic<SoundObjectHandle> g_playRequest{nullptr};

bool OnUiThread() {
  return !g_state.mainWindow || GetWindowThreadProcessId(g_state.mainWindow, nullptr) == GetCurrentThreadId();
}

// The kind a media object plays as: the first of Wave, Midi, Video and
// CdTrack set in its flags, else AudioFile when it is of that kind alone;
// 0 for none.
uint32_t MediaKind(uint32_t flags) {
  for (uint32_t kind : {Wave, Midi, Video, CdTrack})
    if (flags & kind) return kind;
  return ObjectKind(flags) == AudioFile ? static_cast<uint32_t>(AudioFile) : 0u;
}

// The modules loaded in this process, at most kMaxModules of them.
constexpr DWORD kMaxModules = 1024;
struct ModuleList {
  HMODULE modules[kMaxModules];
  DWORD count = 0;
};

void ListModules(ModuleList* list) {
  DWORD bytes = 0;
  list->count = 0;
  if (EnumProcessModules(GetCurrentProcess(), list->modules, sizeof list->modules, &bytes))
    list->count = std::min<DWORD>(bytes / sizeof(HMODULE), kMaxModules);
}

// Keeps every module loaded since `before` loaded until the program ends.
// An MCI driver's playing thread may still be finishing when the last device
// closes; unloading the driver under it would crash the program.
void PinModulesLoadedSince(const ModuleList& before) {
  ModuleList after;
  ListModules(&after);
  for (DWORD i = 0; i < after.count; ++i) {
    if (std::find(before.modules, before.modules + before.count, after.modules[i]) != before.modules + before.count)
      continue;
    HMODULE pinned;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(after.modules[i]), &pinned);
  }
}

// Opens a device type, without a file or on element; true when it opens
// (it is closed again). Its driver stays loaded from then on.
bool DeviceTypeOpens(const char* type, const char* element = nullptr) {
  static ModuleList before;  // large: kept out of the stack
  ListModules(&before);
  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = type;
  open.lpstrElementName = element;
  DWORD flags = MCI_OPEN_TYPE | MCI_WAIT | (element ? MCI_OPEN_ELEMENT : 0);
  if (mciSendCommandA(0, MCI_OPEN, flags, reinterpret_cast<DWORD_PTR>(&open)) != 0) return false;
  PinModulesLoadedSince(before);
  mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
  return true;
}

// A sound file MCI "mpegvideo" opens where its decoders are installed: the
// type opens no device without a file. A WAV of silence, made for the
// probe and deleted after.
bool AudioFileDeviceWorks() {
  char folder[MAX_PATH];
  char path[MAX_PATH];
  DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder || !GetTempFileNameA(folder, "wdl", 0, path)) return false;
  // 8-bit 8 kHz mono, 80 samples: a RIFF header, "fmt " and "data".
  constexpr DWORD kSamples = 80;
  unsigned char wave[44 + kSamples];
  const unsigned char header[44] = {
      'R',      'I', 'F', 'F', 36 + kSamples, 0,    0, 0, 'W',  'A',  'V', 'E', 'f', 'm', 't', ' ', 16,  0,   0,   0,
      1,        0,   1,   0,   0x40,          0x1F, 0, 0, 0x40, 0x1F, 0,   0,   1,   0,   8,   0,   'd', 'a', 't', 'a',
      kSamples, 0,   0,   0};
  memcpy(wave, header, sizeof header);
  memset(wave + sizeof header, 0x80, kSamples);
  bool written = false;
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD done = 0;
    written = WriteFile(file, wave, sizeof wave, &done, nullptr) && done == sizeof wave;
    CloseHandle(file);
  }
  bool opens = written && DeviceTypeOpens("mpegvideo", path);
  DeleteFileA(path);
  return opens;
}

// Removes the notices of devices that are closed now: one that came in
// later would end whatever plays by then on a reused device number.
void DiscardPendingNotices() {
  MSG msg;
  while (g_state.mainWindow && PeekMessageA(&msg, g_state.mainWindow, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
  }
}

// Removes the notices of one closed device, keeping every other: a late
// notice of it would end whatever plays by then on the reused number.
void DiscardNoticesOf(UINT device) {
  MSG kept[64];
  int count = 0;
  MSG msg;
  while (count < 64 && g_state.mainWindow &&
         PeekMessageA(&msg, g_state.mainWindow, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE))
    if (static_cast<UINT>(msg.lParam) != device) kept[count++] = msg;
  for (int i = 0; i < count; ++i) PostMessageA(kept[i].hwnd, kept[i].message, kept[i].wParam, kept[i].lParam);
}

// The media play in progress, as far as holding it and its time played
// need it: its kind and CD track, and what was left of its deadline when it
// was held. The UI thread's alone.
uint32_t g_currentKind = 0;
uint8_t g_currentTrack = 0;
ULONGLONG g_heldDeadlineMs = 0;
// The held device dropped its play's notice (a CD drive sends ABORTED when
// it pauses): the play goes on by a new play that asks for one.
bool g_heldNoticeLost = false;

// The end of a play, by its notice or because it overran its length.
void EndPlay() {
  if (!g_state.playAllRunning) StopAllDevices();
  g_state.currentObject = nullptr;
  g_state.currentDevice = 0;
  g_state.playDeadline = 0;
  g_state.playLengthMs = 0;
  g_state.playing = 0;
}

void SetPaused(bool paused) {
  g_state.paused = paused ? 1 : 0;
  g_state.pauseChanged.Raise();
}

// Holds the device of the play in progress; false when it cannot hold. A
// held play has no deadline: its notice cannot come while it is held.
bool HoldDevice(UINT device) {
  if (mciSendCommandA(device, MCI_PAUSE, MCI_WAIT, 0) != 0) return false;
  const ULONGLONG deadline = g_state.playDeadline;
  const ULONGLONG now = MonotonicMs();
  g_heldDeadlineMs = deadline > now ? deadline - now : 0;
  g_state.playDeadline = 0;
  return true;
}

// Takes the held device's dropped notice if it is still on its way.
void TakeDroppedNotice(UINT device) {
  MSG msg;
  while (g_state.mainWindow && PeekMessageA(&msg, g_state.mainWindow, MM_MCINOTIFY, MM_MCINOTIFY, PM_NOREMOVE) &&
         static_cast<UINT>(msg.lParam) == device && msg.wParam == MCI_NOTIFY_ABORTED) {
    PeekMessageA(&msg, g_state.mainWindow, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE);
    g_heldNoticeLost = true;
  }
}

// Lets the held device go on. A device without MCI_RESUME, or one that
// dropped its notice when it paused (a CD drive), plays on from where it
// stands instead, to the end of its track, with a new notice for the end.
void ContinueDevice(UINT device) {
  TakeDroppedNotice(device);
  if (g_heldNoticeLost || mciSendCommandA(device, MCI_RESUME, MCI_WAIT, 0) != 0) {
    MCI_PLAY_PARMS play = {};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(g_state.mainWindow);
    DWORD flags = MCI_NOTIFY;
    if (g_currentKind == CdTrack && g_currentTrack < g_cdTrackCount) {
      flags |= MCI_TO;
      play.dwTo = MCI_MAKE_TMSF(g_currentTrack + 1, 0, 0, 0);
    }
    mciSendCommandA(device, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&play));
  }
  g_heldNoticeLost = false;
  g_state.playDeadline = MonotonicMs() + g_heldDeadlineMs;
}

// Why the last play of this thread did not start: the media system's
// error, or an internal one when it gave none.
DWORD LastPlayFailure() {
  DWORD error = GetLastPlayError();
  return error ? error : MCIERR_INTERNAL;
}

// What the worker's play request came to (WM_PLAYOBJECT's answer).
constexpr LRESULT kRequestRefused = 0;  // the run was stopped, or no request
constexpr LRESULT kRequestStarted = 1;
constexpr LRESULT kRequestFailed = 2;  // the reason is in g_requestError
std::atomic<DWORD> g_requestError{0};

// Notes on the object whether its last try to play failed; its row shows
// it, so the list is repainted when that changes.
void MarkPlayResult(SoundObjectHandle handle, bool failed) {
  bool changed;
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return;
    changed = (record->playFailed != 0) != failed;
    record->playFailed = failed ? 1 : 0;
  }
  if (changed && g_state.listBox) InvalidateRect(g_state.listBox, nullptr, FALSE);
}

// Starts a media object on the UI thread: 0 when it started, else the MCI
// error that says why it did not.
DWORD StartMedia(SoundObjectHandle handle) {
  char path[kTextBufferSize] = "";
  uint32_t kind;
  uint8_t track;
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return MCIERR_INTERNAL;
    kind = MediaKind(record->flags);
    track = record->trackNumber;
    if (kind != CdTrack) ResolveObjectPath(*record, path, sizeof path);
  }
  g_state.currentObject = handle;
  g_currentKind = kind;
  g_currentTrack = track;
  g_heldNoticeLost = false;
  NotifyPlayback(PlaybackStarted);
  HWND target = g_state.mainWindow;
  BOOL started = FALSE;
  switch (kind) {
    case Wave:
      started = PlayWaveFile(target, path);
      break;
    case Midi:
      started = PlayMidiFile(target, path, 0);
      break;
    case Video:
      started = PlayVideoFile(target, path);
      break;
    case CdTrack:
      started = PlayCdTrack(target, track, g_cdTrackCount);
      break;
    case AudioFile:
      started = PlayAudioFile(target, path);
      break;
    default:
      break;
  }
  DWORD lengthMs = 0;
  UINT device = started ? GetLastPlayInfo(&lengthMs) : 0;
  DWORD error = started ? 0 : LastPlayFailure();
  g_state.currentDevice = device;
  g_state.playDeadline = started ? MonotonicMs() + lengthMs + lengthMs / 4 + kMinimumMarginMs : 0;
  g_state.playLengthMs = started ? lengthMs : 0;
  if (!started) g_state.playing = 0;
  // A pause that came while the play was asked for holds it from its start.
  if (started && g_state.paused) HoldDevice(device);
  MarkPlayResult(handle, !started);
  if (started) NotifyPlayback(PlaybackTimed);
  return error;
}

// Ends the wait of a play that never reported its end.
void EndOverdue() {
  if (OnUiThread())
    EndPlay();
  else
    g_state.playing = 0;
}

}  // namespace

uint32_t ProbeMediaDevices() {
  uint32_t caps = 0;
  if (DeviceTypeOpens("waveaudio")) caps |= WaveAudio | MidiAudio;
  if (DeviceTypeOpens("avivideo")) caps |= AviVideo;
  if (DeviceTypeOpens("cdaudio")) {
    caps |= CdAudio;
    g_cdTrackCount = static_cast<uint8_t>(GetCdTrackCount(0));
  }
  return caps;
}

uint32_t ProbeAudioFileDevice() { return AudioFileDeviceWorks() ? static_cast<uint32_t>(AudioFiles) : 0u; }

namespace {

DWORD WINAPI AudioFileProbeThread(LPVOID) {
  g_mediaCaps |= ProbeAudioFileDevice();
  return 0;
}

}  // namespace

void StartAudioFileProbe() {
  g_state.audioFileProbe = CreateThread(nullptr, 0, AudioFileProbeThread, nullptr, 0, nullptr);
}

void WaitForAudioFileProbe() {
  HANDLE probe = g_state.audioFileProbe;
  if (!probe) return;
  HANDLE events[] = {probe, g_state.threadsQuit.handle()};
  WaitForMultipleObjects(2, events, FALSE, kAudioFileProbeWaitMs);
}

void ReleaseAudioFileProbe() {
  if (g_state.audioFileProbe) CloseHandle(g_state.audioFileProbe);
  g_state.audioFileProbe = nullptr;
}

int PlaySoundObject(SoundObjectHandle handle, uint32_t run, DWORD* error) {
  if (error) *error = 0;
  if (!handle || g_state.playAllRun.Stopped(run)) return 0;
  uint32_t flags, postDelay;
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return 0;
    flags = record->flags;
    postDelay = record->postDelay;
  }
  if (uint32_t kind = MediaKind(flags)) {
    g_state.playing = 1;
    DWORD failure = 0;
    bool started;
    if (OnUiThread()) {
      failure = StartMedia(handle);
      started = failure == 0;
    } else {
      g_playRequest = handle;
      LRESULT answer = SendMessageA(g_state.mainWindow, WM_PLAYOBJECT, run, 0);
      g_playRequest = nullptr;
      started = answer == kRequestStarted;
      if (answer == kRequestFailed) failure = g_requestError;
    }
    if (started) return static_cast<int>(kind);
    g_state.playing = 0;  // not started, stopped, or the window is gone
    if (!failure) return 0;
    if (error) *error = failure;
    return -1;
  }
  if (flags & Pause) {
    g_state.playing = 1;
    PauseCountdown(postDelay, run);
    g_state.playing = 0;
    return Pause;
  }
  return 0;
}

LRESULT OnPlayRequest(uint32_t run) {
  // Only the worker's own request of the run in progress: Stop Play All
  // may have come between the worker's request and this, and another
  // process may post the message.
  SoundObjectHandle handle = g_playRequest.exchange(nullptr);
  if (!handle || run != g_state.playAllRun.Current() || g_state.playAllRun.Stopped(run) || !g_state.playing)
    return kRequestRefused;
  DWORD error = StartMedia(handle);
  if (!error) return kRequestStarted;
  g_requestError = error;
  return kRequestFailed;
}

void PauseCountdown(uint32_t seconds, uint32_t run) {
  if (seconds == 0) seconds = g_settings.pauseSeconds;
  NotifyPlayback(PlaybackCountdown, seconds);

  const ULONGLONG totalMs = seconds * 1000ull;
  ULONGLONG countedMs = 0;  // counted before the stretch in progress
  ULONGLONG stretchStart = MonotonicMs();
  bool held = false;
  uint32_t shown = seconds;  // the seconds left when the text was last set
  HANDLE wake[] = {g_state.playing.cleared(), g_state.pauseChanged.handle()};
  auto going = [run] { return g_state.playing && !g_state.playAllRun.Stopped(run); };
  while (going() && PumpThreadMessages() && going()) {
    const ULONGLONG now = MonotonicMs();
    if (g_state.paused) {
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

void WaitWhilePlaying(uint32_t run) {
  // A pause takes the deadline away and its end gives it back: either
  // wakes the wait to look at it again.
  HANDLE wake[] = {g_state.playing.cleared(), g_state.pauseChanged.handle()};
  auto going = [run] { return g_state.playing && !g_state.playAllRun.Stopped(run); };
  while (going() && PumpThreadMessages() && going()) {
    DWORD timeout = INFINITE;
    if (ULONGLONG deadline = g_state.playDeadline) {
      ULONGLONG now = MonotonicMs();
      if (now >= deadline) {
        EndOverdue();  // the device never reported the end
        break;
      }
      timeout = static_cast<DWORD>(deadline - now);
    }
    BlockForMessagesOr(wake, 2, timeout);
  }
}

bool TogglePause() {
  if (g_state.paused) {
    if (UINT device = g_state.currentDevice) ContinueDevice(device);
    SetPaused(false);
    NotifyPlayback(PlaybackPauseChanged, 0);
    return true;
  }
  if (!g_state.playing) return false;
  if (UINT device = g_state.currentDevice)
    if (!HoldDevice(device)) return false;  // the device cannot hold: it plays on
  SetPaused(true);
  NotifyPlayback(PlaybackPauseChanged, 1);
  return true;
}

void EndPause() {
  if (!g_state.paused) return;
  SetPaused(false);
  NotifyPlayback(PlaybackPauseChanged, 0);
}

void WaitWhilePaused(uint32_t run) {
  HANDLE wake[] = {g_state.pauseChanged.handle(), g_state.threadsQuit.handle()};
  while (g_state.paused && !g_state.playAllRun.Stopped(run) && !g_state.playAllStop && PumpThreadMessages())
    BlockForMessagesOr(wake, 2, INFINITE);
}

bool GetPlayTimes(DWORD* elapsedMs, DWORD* totalMs) {
  const UINT device = g_state.currentDevice;
  if (!device || !OnUiThread()) return false;
  MCI_STATUS_PARMS status = {};
  status.dwItem = MCI_STATUS_POSITION;
  if (mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&status)) != 0)
    return false;
  const DWORD total = g_state.playLengthMs;
  DWORD position = static_cast<DWORD>(status.dwReturn);
  if (g_currentKind == CdTrack) {
    // A CD plays in tracks, minutes, seconds and frames (75 a second).
    if (MCI_TMSF_TRACK(position) != g_currentTrack)
      position = MCI_TMSF_TRACK(position) > g_currentTrack ? total : 0;
    else
      position = (MCI_TMSF_MINUTE(position) * 60u + MCI_TMSF_SECOND(position)) * 1000u +
                 MCI_TMSF_FRAME(position) * 1000u / 75u;
  }
  *elapsedMs = std::min(position, total);
  *totalMs = total;
  return true;
}

DWORD PlayAndWait(SoundObjectHandle handle) {
  if (!handle || g_state.playAllRunning || g_state.playing) return 0;
  g_state.playing = 1;
  NotifyPlayback(PlaybackBusyChanged);
  DWORD error = 0;
  PlaySoundObject(handle, 0, &error);
  WaitWhilePlaying(0);
  g_state.playing = 0;
  EndPause();
  NotifyPlayback(PlaybackBusyChanged);
  return error;
}

void StopPlayback() {
  if (!g_state.playAllRunning) StopAllDevices();
  g_state.playing = 0;
  EndPause();  // during Play All the next object plays at once
}

void OnMediaNotify(WPARAM code, LPARAM device) {
  // A held play whose device dropped its notice is not over: it is held.
  if (g_state.paused && code == MCI_NOTIFY_ABORTED && static_cast<UINT>(device) == g_state.currentDevice &&
      g_state.currentDevice) {
    g_heldNoticeLost = true;
    return;
  }
  UINT id = static_cast<UINT>(device);
  // An audio file's device names itself in no notice. A stopped play's
  // late notice cannot come: a stop closes the device, which posts its
  // last notice before the close returns, and removes the notices queued
  // by then. An audio favorite plays without a notice.
  if (id == 0 && g_currentKind == AudioFile) id = g_state.currentDevice;
  if (id == 0) return;
  if (id != g_state.currentDevice) {
    // The Favorite Selection, playing beside the list: it ends alone.
    if (id == g_state.favoriteDevice) {
      g_state.favoriteDevice = 0;
      mciSendCommandA(id, MCI_CLOSE, MCI_WAIT, 0);
    }
    return;  // a notice of another play never ends the current one
  }
  if (code == MCI_NOTIFY_SUCCESSFUL || code == MCI_NOTIFY_ABORTED || code == MCI_NOTIFY_FAILURE) EndPlay();
}

void StopAllDevices() {
  if (OnUiThread())
    OnStopAllRequest();
  else
    SendMessageA(g_state.mainWindow, WM_STOPALLDEVICES, 0, 0);
}

void OnStopAllRequest() {
  mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_STOP, MCI_WAIT, 0);
  mciSendCommandA(MCI_ALL_DEVICE_ID, MCI_CLOSE, MCI_WAIT, 0);
  sndPlaySoundA(nullptr, SND_ASYNC | SND_NODEFAULT);
  g_state.currentDevice = 0;
  g_state.favoriteDevice = 0;
  g_state.playDeadline = 0;
  g_state.playLengthMs = 0;
  DiscardPendingNotices();
}

DWORD PlayFavoriteFile(const char* path) {
  // A favorite that still plays ends first; its device would stay open
  // until the next stop of everything.
  if (UINT previous = g_state.favoriteDevice.exchange(0)) {
    mciSendCommandA(previous, MCI_CLOSE, MCI_WAIT, 0);
    DiscardNoticesOf(previous);
  }
  BOOL started;
  switch (GetFileKind(path)) {
    case FileKindWave:
      started = PlayWaveFile(g_state.mainWindow, path);
      break;
    case FileKindMidi:
      started = PlayMidiFile(g_state.mainWindow, path, 0);
      break;
    case FileKindAudio:
      // Without a notice: its notice would name no device, and so could
      // not be told from the list's audio file's. Its device stays open
      // until the next favorite or the next stop of everything.
      started = PlayAudioFile(nullptr, path);
      break;
    default:
      return MCIERR_UNRECOGNIZED_COMMAND;  // a favorite can only be a WAV, MIDI or audio file
  }
  if (!started) return LastPlayFailure();
  // Its notice names this device; it must not end the list's object.
  g_state.favoriteDevice = GetLastPlayInfo(nullptr);
  return 0;
}
