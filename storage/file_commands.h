// The File menu commands New, Open, Insert, Append, Save and Save As, and
// the question to save changes that New, Open and the catalog ask.
#ifndef WENDLE_FILE_COMMANDS_H
#define WENDLE_FILE_COMMANDS_H

#include <windows.h>

// When the list has unsaved changes: asks whether to save them and, on Yes,
// saves (through Save As when the list has no file). false on Cancel, and
// after a Yes whose save did not happen.
bool AskToSaveChanges();

// Runs File command 100 to 105 for the main window. Nothing happens while a
// Sound Object plays or Play All runs.
void RunFileCommand(HWND mainWindow, int command);

#endif
