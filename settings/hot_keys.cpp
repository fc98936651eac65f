#include "settings/hot_keys.h"

#include "model/file_kind.h"
#include "playback/play_all.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "state/main_window_state.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

// During Play All: skip to the next object. Otherwise select the next item
// (the first after the last) and play it.
void PlayNext(HWND mainWindow) {
  if (g_state.playAllRunning) {
    PostMessageA(mainWindow, WM_COMMAND, IDM_SOUND_STOP_SKIP, 0);
    return;
  }
  int selected = static_cast<int>(SendMessageA(g_state.listBox, LB_GETCURSEL, 0, 0));
  if (selected < 0) return;
  int count = static_cast<int>(SendMessageA(g_state.listBox, LB_GETCOUNT, 0, 0));
  int next = selected + 1 < count ? selected + 1 : 0;
  SendMessageA(g_state.listBox, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
  PostMessageA(mainWindow, WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
}

// The Favorite Selection plays at once, beside whatever plays, and touches
// neither the list nor the playing flags.
void PlayFavorite(HWND mainWindow) {
  char path[kTextBufferSize];
  ReadFavoriteSelection(path, sizeof path);
  if (path[0] == '*') {
    if (ShowMessage(mainWindow, IDS_ASK_SET_FAVORITE, MB_YESNO | MB_ICONQUESTION) == IDYES)
      PostMessageA(mainWindow, WM_COMMAND, IDM_OPT_SET_FAVORITE, 0);
    return;
  }
  BOOL started;
  switch (GetFileKind(path)) {
    case FileKindWave:
      started = PlayWaveFile(mainWindow, path);
      break;
    case FileKindMidi:
      started = PlayMidiFile(mainWindow, path, 0);
      break;
    default:
      return;
  }
  // Its notice names this device; it must not end the list's object.
  if (started) g_state.favoriteDevice = GetLastPlayInfo(nullptr);
}

}  // namespace

int RegisterHotKeys(HWND window) {
  UnregisterHotKeys(window);
  for (int i = 0; i < kHotKeyCount; ++i) {
    const HotKeySetting& key = g_settings.hotKeys[i];
    if (!RegisterHotKey(window, IDH_PLAY_NEXT + i, key.modifiers, 'A' + key.keyIndex)) return IDC_HOTKEY_PLAY_NEXT + i;
  }
  return -1;
}

void UnregisterHotKeys(HWND window) {
  for (int i = 0; i < kHotKeyCount; ++i) UnregisterHotKey(window, IDH_PLAY_NEXT + i);
}

bool OnHotKey(HWND mainWindow, int id) {
  switch (id) {
    case IDH_PLAY_NEXT:
      PlayNext(mainWindow);
      return true;
    case IDH_PLAY_ALL:
      OnPlayAllHotKey();
      return true;
    case IDH_FAVORITE:
      PlayFavorite(mainWindow);
      return true;
    default:
      return false;
  }
}
