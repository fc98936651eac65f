/*
 * The main window's taskbar button: the progress of what plays, and a
 * thumbnail toolbar (Previous, Play/Pause, Next) that works as the media
 * keys do. Both come once the shell has made the button (its
 * "TaskbarButtonCreated" message, again after the shell restarts); where
 * the shell offers neither, nothing is shown and nothing else changes.
 */
#ifndef WENDLE_TASKBAR_BUTTON_H
#define WENDLE_TASKBAR_BUTTON_H

#include <windows.h>

// The shell's message that the button exists (0 before the first call).
UINT TaskbarButtonCreatedMessage();
// That message: the progress and the toolbar are set up for window.
void OnTaskbarButtonCreated(HWND window);
// The progress: elapsedMs of totalMs, held or not; none for totalMs 0.
void ShowTaskbarProgress(DWORD elapsedMs, DWORD totalMs, bool held);
// The media key (APPCOMMAND_MEDIA_...) of a thumbnail button; 0 for none.
int ThumbButtonMediaKey(int id);
// Releases the shell's object (before the window is destroyed).
void CloseTaskbarButton();

#endif
