/*
 * The button ribbon along the top of the main window ("FrameRibbonClass",
 * thirteen icon buttons), the four play buttons at the left of the list,
 * and the texts that the status bar and the two Play All labels show.
 * The buttons themselves are drawn and subclassed as shell/buttons.h says.
 */
#ifndef WENDLE_BUTTON_RIBBON_H
#define WENDLE_BUTTON_RIBBON_H

#include <windows.h>

#include <cstdint>

#include "model/sound_object_handle.h"

// Registers "FrameRibbonClass"; false on failure.
bool RegisterRibbonClass(HINSTANCE instance);
// Creates the ribbon as a child of the main window (it makes its buttons).
HWND CreateRibbon(HWND mainWindow);
LRESULT CALLBACK RibbonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Creates the thirteen ribbon buttons (the ribbon's WM_CREATE does).
void CreateRibbonButtons(HWND ribbon);

// Creates the play buttons 1515, 1519, 1514 and 1521 (hidden) on the main
// window.
void CreateMainButtons(HWND mainWindow);
// Places the play buttons for the main window's DPI (the ribbon places its
// own buttons when it is sized).
void PlaceMainButtons(HWND mainWindow, int dpi);
// Gives every icon button its name as window text (what a screen reader
// reads) and a tooltip with its name and key, both taken from its menu
// command: "&Add Sound Object...\tF4" names the button "Add Sound Object"
// and tips "Add Sound Object (F4)".
void NameButtons(HWND mainWindow);
// Shows exactly one of Play All (1514) and Stop Play All (1521).
void ShowPlayAllButton(HWND mainWindow, bool running);
// Calls visit for every icon button, ribbon and play buttons: the window
// that holds it and its id.
void ForEachButton(HWND mainWindow, void (*visit)(HWND parent, int id));

// Label 545: the pass count, or "Non-stop"; label 547: the play order.
void ShowPlayListCount(HWND mainWindow, uint32_t count);
void ShowPlayOrder(HWND mainWindow, uint32_t order);

#endif
