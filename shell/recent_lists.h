/*
 * The File menu's recent lists: the last kRecentListCount lists opened or
 * saved, most recent first, numbered &1 to &8 above Exit and kept in the
 * settings; and the list open at the last close, which a start without a
 * list opens again when the Preferences say so.
 */
#ifndef WENDLE_RECENT_LISTS_H
#define WENDLE_RECENT_LISTS_H

#include <windows.h>

#include <string>

#include "model/object_list.h"

// Reads the stored lists and shows them on the main window's File menu.
void ShowRecentLists(HWND mainWindow);
// A list was opened or saved under path (a full path): it goes to the top.
void NoteRecentList(HWND mainWindow, const std::string& path);
// The list a recent list command (IDM_RECENT_LIST_FIRST + n) names, in
// *path; false when there is none, or when it is no longer there, which is
// said and taken off the menu.
bool RecentListPath(HWND mainWindow, int command, std::string* path);

// At close: the list's file and its selected object, for the next start.
void RememberLastList(const ObjectList& list, int selected);
// At a start without a list: the command line that opens the last list,
// when the Preferences say so and there was one; *selected is the object
// to select once it is open.
bool LastListCommandLine(char* line, size_t size, int* selected);

#endif
