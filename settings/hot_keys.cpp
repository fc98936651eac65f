#include "settings/hot_keys.h"

#include "resources/ids.h"
#include "settings/settings_record.h"

int RegisterHotKeys(HWND window) {
  UnregisterHotKeys(window);
  for (int i = 0; i < kHotKeyCount; ++i) {
    const HotKeySetting& key = g_settings.hotKeys[i];
    if (!RegisterHotKey(window, HotKeyId(i), key.modifiers, 'A' + key.keyIndex)) return HotKeyButton(i);
  }
  return -1;
}

void UnregisterHotKeys(HWND window) {
  for (int i = 0; i < kHotKeyCount; ++i) UnregisterHotKey(window, HotKeyId(i));
}
