/*
 * The animated icon of the minimized main window: a thread that draws the
 * frames into the window's caption area while the window is minimized and
 * sleeps (on an event, using no CPU) while it is not.
 */
#ifndef WENDLE_ICON_ANIMATION_H
#define WENDLE_ICON_ANIMATION_H

#include <windows.h>

// Thread body; the main window creates it (suspended, idle priority) and
// resumes it once.
DWORD WINAPI IconAnimationThread(LPVOID);
// The main window was minimized: draw the frames.
void WakeIconAnimation();
// The main window is being restored: stop drawing.
void RestIconAnimation();

#endif
