/*
 * The four system-wide hot keys: Play Next Sound Object (IDH_PLAY_NEXT),
 * Start/Stop Play All Session (IDH_PLAY_ALL), Play Favorite Selection
 * (IDH_FAVORITE) and Pause/Resume (IDH_PAUSE), each a letter with an
 * optional Control and Alt, kept in g_settings.hotKeys; beside them the
 * media keys (IDH_MEDIA_PLAY_PAUSE to IDH_MEDIA_PREVIOUS).
 */
#ifndef WENDLE_HOT_KEYS_H
#define WENDLE_HOT_KEYS_H

#include <windows.h>

// Registers the hot keys for window (releasing them first): -1 when all
// are registered, else the hot-key dialog's radio button (from
// IDC_HOTKEY_PLAY_NEXT on) of the first that was refused; those after it
// stay unregistered.
int RegisterHotKeys(HWND window);
// Releases the hot keys of window; errors are ignored.
void UnregisterHotKeys(HWND window);

// The media keys (Play/Pause, Stop, Next, Previous) as hot keys of window,
// so they reach it while another program is in front; the volume keys stay
// the system's. Registers them when the preferences ask for that, else
// releases them: false when another program holds one of them (those keys
// then reach Wendle only as WM_APPCOMMAND, while it is in front).
bool RegisterMediaKeys(HWND window);
void UnregisterMediaKeys(HWND window);

#endif
