#include "playback/media_control.h"

#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>

#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/play_all.h"
#include "playback/waiting.h"
#include "resources/ids.h"
#include "state/main_window_state.h"
#include "support/control_library.h"
#include "support/language.h"
#include "support/paths.h"
#include "support/support_library.h"

namespace {

// Text of a now-playing or countdown line: a format of at most 62
// characters filled with a path of at most 511.
constexpr int kLineSize = kShortFormatLength + kTextBufferSize + 1;

// A play that sent no notice by its length plus this margin counts as ended.
constexpr ULONGLONG kMinimumMarginMs = 3000;

bool OnUiThread() {
  return !g_state.mainWindow || GetWindowThreadProcessId(g_state.mainWindow, nullptr) == GetCurrentThreadId();
}

bool ShowsTitleWhenMinimized() {
  return (g_settings.preferenceFlags & TitleWhenMinimized) && IsIconic(g_state.mainWindow);
}

// The kind a media object plays as: the first of Wave, Midi, Video and
// CdTrack set in its flags; 0 for none.
uint32_t MediaKind(uint32_t flags) {
  for (uint32_t kind : {Wave, Midi, Video, CdTrack})
    if (flags & kind) return kind;
  return 0;
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

// Opens a device type without a file; true when it opens (it is closed
// again). Its driver stays loaded from then on.
bool DeviceTypeOpens(const char* type) {
  static ModuleList before;  // large: kept out of the stack
  ListModules(&before);
  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = type;
  if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open)) != 0) return false;
  PinModulesLoadedSince(before);
  mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
  return true;
}

// Removes the notices of devices that are closed now: one that came in
// later would end whatever plays by then on a reused device number.
void DiscardPendingNotices() {
  MSG msg;
  while (g_state.mainWindow && PeekMessageA(&msg, g_state.mainWindow, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) {
  }
}

// Countdown text: in the minimized title when asked, else on the status
// bar of a window that is not minimized.
void ShowCountdown(const char* format, uint32_t seconds) {
  char text[kLineSize];
  snprintf(text, sizeof text, format, seconds);
  if (ShowsTitleWhenMinimized())
    SetWindowTextA(g_state.mainWindow, text);
  else if (!IsIconic(g_state.mainWindow))
    StatusBarSetText(g_state.statusBar, text);
}

// The end of a play, by its notice or because it overran its length.
void EndPlay() {
  if (!g_state.playAllRunning) {
    StopAllDevices();
    SetPlaybackMenus(g_state.mainWindow, true);
  }
  g_state.currentObject = nullptr;
  g_state.currentDevice = 0;
  g_state.playDeadline = 0;
  g_state.playing = 0;
}

// Starts a media object on the UI thread; false when it did not start.
bool StartMedia(SoundObjectHandle handle) {
  char path[kTextBufferSize] = "";
  uint32_t kind;
  uint8_t track;
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return false;
    kind = MediaKind(record->flags);
    track = record->trackNumber;
    if (!record->fileName || !CopyTextBlock(record->fileName, path, sizeof path) || !path[0])
      snprintf(path, sizeof path, "%s", "Untitled");
  }
  ShowNowPlaying(handle);
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
    default:
      break;
  }
  DWORD lengthMs = 0;
  UINT device = started ? GetLastPlayInfo(&lengthMs) : 0;
  g_state.currentDevice = device;
  g_state.playDeadline = started ? MonotonicMs() + lengthMs + lengthMs / 4 + kMinimumMarginMs : 0;
  g_state.currentObject = handle;
  if (!started) g_state.playing = 0;
  return started != FALSE;
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

void DisableCdMenus(HWND mainWindow, uint32_t caps) {
  if (caps & CdAudio) return;
  HMENU menu = GetMenu(mainWindow);
  EnableMenuItem(menu, IDM_OPT_ADD_ALL_CD_TRACKS, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(menu, IDM_OPT_CATALOG_CD, MF_BYCOMMAND | MF_GRAYED);
}

int PlaySoundObject(SoundObjectHandle handle, bool fromPlayAll) {
  if (!handle) return 0;
  uint32_t flags, postDelay;
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return 0;
    flags = record->flags;
    postDelay = record->postDelay;
  }
  if (uint32_t kind = MediaKind(flags)) {
    g_state.playing = 1;
    if (OnUiThread())
      StartMedia(handle);
    else if (!SendMessageA(g_state.mainWindow, WM_PLAYOBJECT, 0, reinterpret_cast<LPARAM>(handle)))
      g_state.playing = 0;  // not started, or the window is gone
    return static_cast<int>(kind);
  }
  if (flags & Pause) {
    g_state.playing = 1;
    PauseCountdown(postDelay);
    g_state.playing = 0;
    if (!fromPlayAll) SetPlaybackMenus(g_state.mainWindow, true);
    return Pause;
  }
  return 0;
}

LRESULT OnPlayRequest(SoundObjectHandle handle) {
  // Stop Play All may have come between the worker's request and this.
  if (!g_state.playing) return 0;
  return StartMedia(handle) ? 1 : 0;
}

void ShowNowPlaying(SoundObjectHandle handle) {
  char text[kTextBufferSize];
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return;
    PlayingText(*record, text, sizeof text);
  }
  char format[kShortFormatLength + 1];
  LanguageString(IDS_FMT_NOW_PLAYING, format, sizeof format);
  char line[kLineSize];
  snprintf(line, sizeof line, format, text);
  StatusBarSetText(g_state.statusBar, line);
  if (ShowsTitleWhenMinimized()) SetWindowTextA(g_state.mainWindow, FileNamePart(text));
}

void PauseCountdown(uint32_t seconds) {
  if (seconds == 0) seconds = g_settings.pauseSeconds;
  char format[kShortFormatLength + 1];
  LanguageString(IDS_FMT_COUNTDOWN, format, sizeof format);
  ShowCountdown(format, seconds);

  const ULONGLONG start = MonotonicMs();
  ULONGLONG shown = 0;  // whole seconds elapsed when the text was last set
  HANDLE wake = g_state.playing.cleared();
  while (g_state.playing && PumpThreadMessages() && g_state.playing) {
    ULONGLONG elapsedMs = MonotonicMs() - start;
    ULONGLONG elapsed = elapsedMs / 1000;
    if (elapsed >= seconds) break;
    if (elapsed != shown) {
      shown = elapsed;
      ShowCountdown(format, static_cast<uint32_t>(seconds - elapsed));
    }
    // Sleep until the next whole second, a message, or a cleared flag.
    BlockForMessagesOr(&wake, 1, static_cast<DWORD>((elapsed + 1) * 1000 - elapsedMs));
  }
}

void WaitWhilePlaying() {
  HANDLE wake = g_state.playing.cleared();
  while (g_state.playing && PumpThreadMessages() && g_state.playing) {
    DWORD timeout = INFINITE;
    if (ULONGLONG deadline = g_state.playDeadline) {
      ULONGLONG now = MonotonicMs();
      if (now >= deadline) {
        // The device never reported the end: the play counts as ended.
        if (OnUiThread())
          EndPlay();
        else
          g_state.playing = 0;
        break;
      }
      timeout = static_cast<DWORD>(deadline - now);
    }
    BlockForMessagesOr(&wake, 1, timeout);
  }
}

void StopPlayback() {
  if (!g_state.playAllRunning) {
    StopAllDevices();
    SetPlaybackMenus(g_state.mainWindow, true);
  }
  g_state.playing = 0;
}

void PlaySelectedCommand() {
  if (g_state.playAllRunning || g_state.playing) return;
  int index = static_cast<int>(SendMessageA(g_state.listBox, LB_GETCURSEL, 0, 0));
  if (index < 0) return;
  SetPlaybackMenus(g_state.mainWindow, false);
  PlaySoundObject(ObjectAt(index), false);
  WaitWhilePlaying();
  // A start that failed sends no notice: the menus come back here.
  if (!g_state.playAllRunning) SetPlaybackMenus(g_state.mainWindow, true);
  ShowStatusString(IDS_STATUS_READY);
  SendMessageA(g_state.listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SetFocus(g_state.listBox);
}

void OnMediaNotify(WPARAM code, LPARAM device) {
  UINT id = static_cast<UINT>(device);
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
  if (!g_state.playAllRunning) ShowStatusString(IDS_STATUS_READY);
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
  DiscardPendingNotices();
}

void SetPlaybackMenus(HWND mainWindow, bool enable) {
  HMENU menu = GetMenu(mainWindow);
  if (!menu) return;
  UINT state = enable ? MF_ENABLED : MF_GRAYED;
  EnableMenuItem(menu, 0, MF_BYPOSITION | state);  // File
  EnableMenuItem(menu, 2, MF_BYPOSITION | state);  // Options
  for (UINT id : {IDM_SOUND_PLAY_SELECTED, IDM_SOUND_PLAY_ALL, IDM_SOUND_BROWSE, IDM_SOUND_ADD, IDM_SOUND_REMOVE,
                  IDM_SOUND_MODIFY})
    EnableMenuItem(menu, id, MF_BYCOMMAND | state);
  EnableMenuItem(menu, IDM_SOUND_STOP_PLAY_ALL, MF_BYCOMMAND | (g_state.playAllRunning ? MF_ENABLED : MF_GRAYED));
  DrawMenuBar(mainWindow);
}

void ShowStatusString(UINT id) {
  char text[kTextBufferSize];
  LanguageString(id, text, sizeof text);
  StatusBarSetText(g_state.statusBar, text);
}

bool HandlePlaybackMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case MM_MCINOTIFY:
      OnMediaNotify(wParam, lParam);
      return true;
    case WM_PLAYOBJECT:
      *result = OnPlayRequest(reinterpret_cast<SoundObjectHandle>(lParam));
      return true;
    case WM_STOPALLDEVICES:
      OnStopAllRequest();
      return true;
    case WM_PLAYALLENDED:
      OnPlayAllEnded();
      return true;
    default:
      return false;
  }
}
