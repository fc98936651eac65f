/*
 * A Sound Object and the controls of its dialog: filling a record from
 * what the dialog holds, showing an object in the dialog, and putting the
 * object the dialog made into the list.
 */
#ifndef WENDLE_OBJECT_CONTROLS_H
#define WENDLE_OBJECT_CONTROLS_H

#include <windows.h>

#include <cstdint>

#include "model/object_list.h"

// Object-dialog kinds for ShowSoundObjectInDialog.
constexpr int kFileObjectDialog = 1;
constexpr int kCdTrackDialog = 4;
constexpr int kPauseDialog = 8;

// Assigns kind to a fresh record and fills it from an object dialog's
// controls. previous is the object the dialog modifies (null when it adds
// one): a file name the user did not change keeps the folder it was
// relative to. 1 on success; 0 on failure, when the record has been
// released.
int FillSoundObject(HWND dialog, ObjectList& list, SoundObjectHandle handle, uint32_t kind, SoundObjectHandle previous);

// Copies the object at a list index into an object dialog's controls.
void ShowSoundObjectInDialog(HWND dialog, const ObjectList& list, int index, int dialogKind);

// Creates an object of kind from the dialog's controls and puts it into
// the list: in place of the object at replaceIndex, or (replaceIndex -1)
// where the insertion method says (InsertAtTop, InsertAtCurrent: before
// the selected object, InsertAppend). The new index, or -1 (a record that
// found no memory was reported).
int InsertSoundObject(HWND dialog, ObjectList& list, uint32_t kind, int replaceIndex, int method, int selected);

#endif
