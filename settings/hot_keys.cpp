#include "settings/hot_keys.h"

#include "resources/ids.h"
#include "state/main_window_state.h"

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
