/*
 * What every icon button of the main window shares, ribbon or play button:
 * each is owner-drawn with the icon of its own id, and subclassed so that
 * moving the mouse over it shows its command's help on the status bar.
 */
#ifndef WENDLE_BUTTONS_H
#define WENDLE_BUTTONS_H

#include <windows.h>

// Loads the buttons' icons at their size for dpi, in place of any loaded
// before (the shell keeps them while the window lives).
void LoadButtonIcons(HINSTANCE instance, int dpi);
void FreeButtonIcons();
// The command whose help a button shows (and that a ribbon button sends);
// 0 for any other id.
int ButtonCommand(int controlId);
void SubclassButton(HWND button);
void UnsubclassButton(HWND button);
// Every button's procedure: button help on mouse moves, then the kept one.
LRESULT CALLBACK ButtonSubclassProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
void ShowButtonHelp(int controlId);
// Draws an owner-drawn button with its id's icon iconX, iconY inside its
// edge; 1 when it handled the draw action. With focusAllowed, a focused
// button shows its focus rectangle focusX and focusY pixels inside its
// edge, also while keyboard cues are hidden. The distances are for 96 DPI
// and scaled to the button's.
int DrawButton(int id, const DRAWITEMSTRUCT* item, int iconX, int iconY, int focusX, int focusY, bool focusAllowed);

#endif
