/*
 * The four system-wide hot keys: Play Next Sound Object (IDH_PLAY_NEXT),
 * Start/Stop Play All Session (IDH_PLAY_ALL), Play Favorite Selection
 * (IDH_FAVORITE) and Pause/Resume (IDH_PAUSE), each a letter with an
 * optional Control and Alt, kept in g_settings.hotKeys.
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

#endif
