#include "playback/playback_events.h"

#include "resources/ids.h"
#include "state/main_window_state.h"

void NotifyPlayback(PlaybackEvent event, LPARAM value) {
  if (g_state.mainWindow) SendMessageA(g_state.mainWindow, WM_PLAYBACKEVENT, event, value);
}
