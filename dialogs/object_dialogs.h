/*
 * The Sound Object dialogs: Add Sound Object (2003), which chooses the kind
 * and the place of a new object, and the three kind dialogs that add and
 * modify objects: files (2005), CD tracks (2011) and Pause objects (2006).
 * Each runs modally; the result is 1 after OK (or a chosen kind) and 0
 * after Cancel or Close.
 */
#ifndef WENDLE_OBJECT_DIALOGS_H
#define WENDLE_OBJECT_DIALOGS_H

#include <windows.h>

#include "dialogs/dialog_common.h"
#include "model/object_list.h"

// Add Sound Object (command 120): lets the user choose a kind among those
// the media devices allow, then opens that kind's dialog in add mode; the
// new object goes into list by the chosen insertion method (selected is
// the object selected now).
INT_PTR AddSoundObjectDialog(HWND owner, ObjectList& list, int selected);

// Modify Sound Object (command 122) for the object at a list index: the
// kind dialog of the object's kind in modify mode. 0 when the item holds
// no object, and (after telling the user) when the index lies beyond what
// the dialogs can address.
INT_PTR ModifySoundObjectDialog(HWND owner, ObjectList& list, int listIndex);

// The kind dialogs themselves, opened with a DialogParam on list
// (selected: the object selected now, where InsertAtCurrent inserts).
INT_PTR SoundObjectDialog(HWND owner, ObjectList& list, DialogParam param, int selected = -1);
INT_PTR CdTrackDialog(HWND owner, ObjectList& list, DialogParam param, int selected = -1);
INT_PTR PauseObjectDialog(HWND owner, ObjectList& list, DialogParam param, int selected = -1);

#endif
