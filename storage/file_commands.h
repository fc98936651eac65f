// The File menu commands New, Open, Insert, Append, Save and Save As, and
// the question to save changes that New, Open, the catalog and closing ask.
#ifndef WENDLE_FILE_COMMANDS_H
#define WENDLE_FILE_COMMANDS_H

#include <windows.h>

// When the list has unsaved changes: asks whether to save them and, on Yes,
// runs beforeSave (when given) and saves (through Save As when the list has
// no file). false on Cancel, and after a Yes whose save did not happen; a
// list that is empty has nothing to save and nothing to ask about.
bool AskToSaveChanges(void (*beforeSave)() = nullptr);

// Save: writes the list to its own file (no question: it is the list's
// file), or Save As when the list has none. True when the list was written.
bool SaveList(HWND mainWindow);
// Save As: the platform's save dialog, which asks before a file is
// replaced; the list takes the new name only once it was written there.
// True when the list was written.
bool SaveListAs(HWND mainWindow);

// Runs File command 100 to 105 for the main window.
void RunFileCommand(HWND mainWindow, int command);

#endif
