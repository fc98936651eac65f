#include "bench/playback_host.h"

#include <cstdio>
#include <string_view>

#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/media_control.h"
#include "playback/media_devices.h"
#include "playback/play_all.h"
#include "resources/ids.h"
#include "shell/main_window.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "settings/settings_record.h"

namespace bench {

namespace {

WNDPROC g_listHostProc = nullptr;

// The main window's playing commands and hot keys, on top of ListHost:
// they go where the main window sends them.
LRESULT CALLBACK PlaybackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && OnHotKey(window, static_cast<int>(wParam))) return 0;
  if (message == WM_COMMAND) {
    switch (LOWORD(wParam)) {
      case IDM_SOUND_PLAY_SELECTED:
      case IDM_SOUND_PLAY_ALL:
      case IDM_SOUND_STOP_SKIP:
      case IDM_SOUND_STOP_PLAY_ALL:
        OnCommand(window, wParam, lParam);
        return 0;
      default:
        break;
    }
  }
  return CallWindowProcA(g_listHostProc, window, message, wParam, lParam);
}

}  // namespace

PlaybackHost::PlaybackHost() {
  g_listHostProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PlaybackProc)));
  CreateWindowExA(0, "static", "", WS_CHILD | WS_VISIBLE, 180, 30, 120, 16, window(),
                  reinterpret_cast<HMENU>(IDC_LABEL_COUNT), GetModuleHandleA(nullptr), nullptr);
  // As at start: the device types are found and their drivers kept loaded.
  g_mediaCaps = ProbeMediaDevices();
  g_settings.playListCount = 1;
  g_settings.playOrder = PlayOrderSequential;
  g_settings.preferenceFlags = 0;
  g_settings.pauseSeconds = 1;
  g_playback.playAllStop = 0;
  ResetEvent(g_globals.quit.handle());
  worker_ = CreateThread(nullptr, 0, PlayAllWorker, &objects(), 0, nullptr);
}

PlaybackHost::~PlaybackHost() {
  if (g_playback.playAllRunning) {
    PostMessageA(window(), WM_COMMAND, IDM_SOUND_STOP_PLAY_ALL, 0);
    WaitForRunEnd(10000);
  }
  g_playback.playAllStop = 1;
  SetEvent(g_globals.quit.handle());
  // The worker may still be calling into this thread's windows.
  while (MsgWaitForMultipleObjects(1, &worker_, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) PumpMessages();
  CloseHandle(worker_);
  g_playback.playing = 0;
}

namespace {

int Append(ObjectList& list, const SoundObject& values, const char* fileName) {
  SoundObjectHandle handle = AllocSoundObject();
  std::string_view name = fileName ? std::string_view(fileName) : std::string_view();
  if (!handle || !StoreSoundObject(handle, values, nullptr, fileName ? &name : nullptr)) return -1;
  return list.Insert(-1, handle);
}

}  // namespace

int PlaybackHost::AddMarkedWave(int mark, int milliseconds, uint32_t repeatCount, uint32_t postDelay) {
  char name[32];
  snprintf(name, sizeof name, "mark%d-%d.wav", mark, milliseconds);
  std::string path = WriteMarkedWave(name, mark, milliseconds);
  SoundObject values = {};
  values.flags = Wave;
  values.repeatCount = repeatCount;
  values.postDelay = postDelay;
  return Append(objects(), values, path.c_str());
}

int PlaybackHost::AddPause(uint32_t seconds) {
  SoundObject values = {};
  values.flags = Pause;
  values.postDelay = seconds;
  return Append(objects(), values, "Pause");
}

int PlaybackHost::AddFile(uint32_t kind, const std::string& path) {
  SoundObject values = {};
  values.flags = kind;
  return Append(objects(), values, path.c_str());
}

bool PlaybackHost::WaitForRunEnd(unsigned timeoutMs) {
  // Let a posted start reach the window before looking at the flag.
  PumpMessages();
  return PumpUntil([] { return !g_playback.playAllRunning; }, timeoutMs);
}

std::string PlaybackHost::PassLabel() const { return WindowText(GetDlgItem(window(), IDC_LABEL_COUNT)); }

namespace {

void (*g_pendingAction)() = nullptr;

void CALLBACK RunPendingAction(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  g_pendingAction();
}

}  // namespace

void AfterStart(HWND window, UINT delayMs, void (*action)()) {
  g_pendingAction = action;
  SetTimer(window, 0x7A11, delayMs, RunPendingAction);
}

}  // namespace bench
