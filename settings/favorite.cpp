// The Favorite Selection: one WAV, MIDI or compressed sound file that hot
// key 3 plays.
#include <cstdio>

#include "resources/ids.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "support/globals.h"
#include "playback/media_devices.h"
#include "support/language.h"
#include "support/support_library.h"

void SetFavoriteSelection() {
  char path[kTextBufferSize] = "";
  int filter = (g_mediaCaps & AudioFiles) ? BROWSE_ALL_SOUNDS : BROWSE_WAV_AND_MIDI;
  if (!BrowseForFile(g_globals.mainWindow, filter, path, 0)) return;
  RegistryKey key;
  if (!key.Create(IDS_REG_SETTINGS_KEY, kSettingsKeyClass)) {
    ShowMessage(g_globals.mainWindow, IDS_REGISTRY_FAILED, MB_ICONHAND);
    return;
  }
  if (key.WriteString(IDS_REG_FAVORITE, path))
    ShowMessage(g_globals.mainWindow, IDS_SETTINGS_SAVED, MB_ICONINFORMATION);
  else
    ShowMessage(g_globals.mainWindow, IDS_REGISTRY_FAILED, MB_ICONHAND);
}

void ReadFavoriteSelection(char* path, size_t size) {
  if (size == 0) return;
  snprintf(path, size, "%s", "*");
  RegistryKey key;
  if (key.OpenForReading(IDS_REG_SETTINGS_KEY)) key.ReadString(IDS_REG_FAVORITE, path, size);
}
