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

namespace {

struct MediaKey {
  int id;
  UINT key;
};
constexpr MediaKey kMediaKeys[] = {
    {IDH_MEDIA_PLAY_PAUSE, VK_MEDIA_PLAY_PAUSE},
    {IDH_MEDIA_STOP, VK_MEDIA_STOP},
    {IDH_MEDIA_NEXT, VK_MEDIA_NEXT_TRACK},
    {IDH_MEDIA_PREVIOUS, VK_MEDIA_PREV_TRACK},
};

}  // namespace

bool RegisterMediaKeys(HWND window) {
  UnregisterMediaKeys(window);
  if (g_settings.preferenceFlags & MediaKeysInFrontOnly) return true;
  bool all = true;
  for (const MediaKey& key : kMediaKeys)
    if (!RegisterHotKey(window, key.id, 0, key.key)) all = false;
  return all;
}

void UnregisterMediaKeys(HWND window) {
  for (const MediaKey& key : kMediaKeys) UnregisterHotKey(window, key.id);
}
