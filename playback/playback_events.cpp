#include "playback/playback_events.h"

#include "resources/ids.h"
#include "support/globals.h"

void NotifyPlayback(PlaybackEvent event, LPARAM value) {
  if (g_globals.mainWindow) SendMessageA(g_globals.mainWindow, WM_PLAYBACKEVENT, event, value);
}
