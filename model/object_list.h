/*
 * The Sound Object List: the items of the main window's list box (control
 * 528) in play order, each holding one SoundObjectHandle as its item data.
 * An item owns its object: deleting the item frees it.
 */
#ifndef WENDLE_OBJECT_LIST_H
#define WENDLE_OBJECT_LIST_H

#include <windows.h>

#include <cstdint>

#include "model/sound_object.h"

// Creates, fills and inserts one object. replaceIndex -1 inserts by method
// (InsertAtTop, InsertAtCurrent, anything else appends); otherwise the item
// there is replaced. Returns the new index, or -1. Sets listModified.
int InsertSoundObject(HWND owner, uint32_t kind, int replaceIndex, int method, BOOL useDefaults,
                      const char* defaultPath);

// Stores handle as the data of the item at index, freeing the object the
// item held. 0 when the list window does not exist.
int AttachSoundObject(HWND list, SoundObjectHandle handle, int index);

// Appends a dropped WAV, MIDI or AVI file (upper-case path) when its device
// type exists. 1 when an object was added.
int AddFileObject(const char* path);

// Appends one CdTrack object per track of the CD in the drive; returns how
// many were added.
int AddAllCdTracks();

// The Add All CD Tracks command: add the tracks, mark the list modified
// when any were added, select item 0 and focus the list.
void AddAllCdTracksCommand();

// Deletes every item (each deletion frees its object).
void ClearObjectList();

// Remove Sound Object: the selected item, after confirmation if asked for.
void RemoveSoundObject();

// Move to Top, Up, Down, to Bottom (commands 164 to 167) for the selected item.
void MoveSoundObject(int command);

// Greys the pop-up menu's Move items that do not apply.
void UpdateMoveMenu(HMENU popup);

// The main window's handling of WM_DELETEITEM for control 528.
void OnObjectListDeleteItem(const DELETEITEMSTRUCT* item);

// Selects item 0 of the list and gives the list the keyboard focus.
void SelectFirstItem();

// The object an item holds, or null.
SoundObjectHandle ObjectAt(int index);

#endif
