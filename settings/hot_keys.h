/*
 * The three system-wide hot keys: Play Next Sound Object (540), Start/Stop
 * Play All Session (541) and Play Favorite Selection (542), each a letter
 * with an optional Control and Alt, kept in g_settings.hotKeys.
 */
#ifndef WENDLE_HOT_KEYS_H
#define WENDLE_HOT_KEYS_H

#include <windows.h>

// Registers the three hot keys for window (releasing them first): -1 when
// all three are registered, else the hot-key dialog's radio button (535,
// 536 or 537) of the first that was refused; those after it stay
// unregistered.
int RegisterHotKeys(HWND window);
// Releases the three hot keys of window; errors are ignored.
void UnregisterHotKeys(HWND window);

#endif
