/*
 * The animated icon of the minimized main window: a thread that draws the
 * frames into the window's caption area while the window is minimized and
 * sleeps (on an event, using no CPU) while it is not.
 */
#ifndef WENDLE_ICON_ANIMATION_H
#define WENDLE_ICON_ANIMATION_H

#include <windows.h>

// Thread body; the main window creates it (suspended, idle priority) and
// resumes it once. It ends when g_globals.quit is raised (with
// g_playback.animationStop set).
DWORD WINAPI IconAnimationThread(LPVOID);
// The main window was minimized: draw the frames.
void WakeIconAnimation();
// The main window is being restored: stop drawing.
void RestIconAnimation();

// Told, on the animation thread, the icon id of every frame drawn, and 0
// each time the thread goes to sleep until the next minimize. For tests;
// the program sets none.
typedef void (*IconAnimationObserver)(int frameId);
void SetIconAnimationObserver(IconAnimationObserver observer);

#endif
