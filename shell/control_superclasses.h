/*
 * "ovSEdit" and "ovSListBox": the system EDIT and LISTBOX controls with a
 * 3-D frame painted around them; the list box also opens the right-button
 * menu (right click, Space) and stops playing on Escape.
 */
#ifndef WENDLE_CONTROL_SUPERCLASSES_H
#define WENDLE_CONTROL_SUPERCLASSES_H

#include <windows.h>

// Register the two superclasses with the program's instance, keeping the
// system procedures in g_shell.editClassProc and g_shell.listBoxClassProc.
bool RegisterEditSuperclass(HINSTANCE instance);
bool RegisterListBoxSuperclass(HINSTANCE instance);

LRESULT CALLBACK EditSuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ListBoxSuperclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
