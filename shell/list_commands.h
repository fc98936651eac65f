/*
 * The commands that change the list from the main window: Remove, the
 * pop-up menu's moves, files dropped on the window and Add All CD Tracks.
 * Each works on the Object List and leaves the view's selection where a
 * person expects it.
 */
#ifndef WENDLE_LIST_COMMANDS_H
#define WENDLE_LIST_COMMANDS_H

#include <windows.h>
#include <shellapi.h>

#include "model/object_list.h"

// Whether anything of the list plays (an object, a countdown, Play All):
// nothing of it may be freed or replaced then.
bool ListPlays();

// Remove Sound Object: the selected object, after confirmation if asked
// for; nothing is removed while the list plays. Item 0 is selected after.
void RemoveSoundObject(ObjectList& list);

// Where Move command 164 to 167 would put the selected object; -1 when it
// would change nothing (no selection, or the object is there already).
int MoveTarget(const ObjectList& list, int command);
// Move to Top, Up, Down, to Bottom (commands 164 to 167) for the selected
// object, which stays selected, so it can be moved again at once.
void MoveSoundObject(ObjectList& list, int command);

// Appends a dropped WAV, MIDI, AVI or audio file (upper-case path) when its
// device type exists. 1 when an object was added.
int AddFileObject(ObjectList& list, const char* path);
// Files dropped on the main window: each is added, and the user told how
// many were taken.
void AddDroppedFiles(ObjectList& list, HDROP drop);

// Add All CD Tracks: the disc's audio tracks appended, item 0 selected and
// the list focused.
void AddAllCdTracksCommand(ObjectList& list);

#endif
