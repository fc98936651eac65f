/*
 * The File menu's commands New, Open, Insert, Append, Save and Save As, the
 * question to save changes that New, Open, the catalog, a second start and
 * closing ask, and the window title that names the list's file. Storage
 * reads and writes; these ask for names, say what came of it and show the
 * progress of a long read or write on the status bar.
 */
#ifndef WENDLE_FILE_COMMANDS_H
#define WENDLE_FILE_COMMANDS_H

#include <windows.h>

#include "model/object_list.h"

// When the list has unsaved changes: asks whether to save them and, on Yes,
// runs beforeSave (when given) and saves (through Save As when the list has
// no file). false on Cancel, and after a Yes whose save did not happen; a
// list that is empty has nothing to save and nothing to ask about.
bool AskToSaveChanges(ObjectList& list, void (*beforeSave)() = nullptr);

// Save: writes the list to its own file (no question: it is the list's
// file), or Save As when the list has none. True when the list was written.
bool SaveList(HWND mainWindow, ObjectList& list);
// Save As: the platform's save dialog, which asks before a file is
// replaced; the list takes the new name only once it was written there.
// True when the list was written.
bool SaveListAs(HWND mainWindow, ObjectList& list);

// Opens path as the list (Open), or puts its objects into the list
// (Insert before the selected object, Append at the end), and says what
// went wrong, if anything. True when the whole file was read.
bool LoadList(HWND mainWindow, ObjectList& list, const char* path, int mode);

// A playlist or list file dropped on the window: its objects appended, as
// Append does; says what went wrong. The number of objects added.
unsigned AppendDroppedList(HWND mainWindow, ObjectList& list, const char* path);

// Runs File command 100 to 105 for the main window.
void RunFileCommand(HWND mainWindow, ObjectList& list, int command);
// A recent list command (IDM_RECENT_LIST_FIRST + n): opens that list in
// place of the current one, asking about changes first.
void OpenRecentList(HWND mainWindow, ObjectList& list, int command);

// The program caption, followed by " - NAME.WDL" when the list has a file.
void UpdateWindowTitle(HWND window, const ObjectList& list);

#endif
