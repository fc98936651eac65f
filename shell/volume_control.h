/*
 * The volume slider (IDC_VOLUME_BAR, 0 to 100 %) and the mute button
 * (IDC_MUTE_BUTTON) of the main window, their keys (Mute, Volume Up,
 * Volume Down), and the program's audio session they set: a change made
 * in the system's mixer moves them too. The level and the mute are kept
 * in the settings at once.
 */
#ifndef WENDLE_VOLUME_CONTROL_H
#define WENDLE_VOLUME_CONTROL_H

#include <windows.h>

// Creates the two controls in parent (placed by the layout), opens the
// session and gives it the stored volume.
void CreateVolumeControls(HWND parent);
// Closes the session (before parent is destroyed).
void CloseVolumeControls();
// WM_HSCROLL of the slider: the volume follows it; it is stored when the
// slider is let go.
void OnVolumeScroll(HWND parent, int code);
// IDM_SOUND_MUTE, IDM_SOUND_VOLUME_UP and IDM_SOUND_VOLUME_DOWN.
void RunVolumeCommand(HWND parent, int command);
// WM_SESSIONVOLUME: the mixer changed the level (percent) or the mute.
void OnSessionVolume(HWND parent, WPARAM percent, LPARAM muted);

#endif
