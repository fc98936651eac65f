/*
 * Which of the main window's commands are available: one predicate that
 * the menus, the accelerators, the buttons and the hot keys all ask.
 *
 * While something plays, only stopping, Pause, help and About are
 * available (and Play All's own Stop). While a modal window of Wendle is
 * open, only the stops and Pause are: a command, or a hot key that starts
 * playing, under a modal window would free or replace what the window
 * works on.
 */
#ifndef WENDLE_COMMAND_STATE_H
#define WENDLE_COMMAND_STATE_H

#include <windows.h>

// A modal window of Wendle is open (the main window is disabled under it).
bool ModalWindowOpen();

// Whether the command may run now.
bool CommandAvailable(int command);

// The menu bar and the buttons show which commands the playing state
// allows; called whenever it changes. A modal window hides them all anyway.
void UpdateCommandStates(HWND mainWindow);

// A menu about to open (WM_INITMENUPOPUP): its items greyed or enabled.
void UpdateMenuItems(HMENU menu);

#endif
