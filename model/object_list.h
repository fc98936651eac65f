/*
 * The Sound Object List: the items of the main window's list box
 * (IDC_OBJECT_LIST) in play order, each holding one SoundObjectHandle as its
 * item data and the object's row text as its string (what screen readers
 * read, and what typing a letter in the list searches). An item owns its
 * object: deleting the item frees it. An object's texts never change in
 * place: Modify replaces the item, so its string stays in step.
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

// Inserts an item for handle at index (-1 appends): the object's row text
// as its string, handle as its data. Its index, or -1 when the list box
// refused it (handle is then still the caller's).
int InsertObjectItem(HWND list, int index, SoundObjectHandle handle);

// Stores handle as the data of the item at index, freeing the object the
// item held. 0 when the list window does not exist.
int AttachSoundObject(HWND list, SoundObjectHandle handle, int index);

// Appends a dropped WAV, MIDI or AVI file (upper-case path) when its device
// type exists. 1 when an object was added.
int AddFileObject(const char* path);

// Appends a new item holding handle: its index, or -1 (the object is freed
// then).
int AppendSoundObject(SoundObjectHandle handle);

// Suspends the list's redrawing (false) or repaints it once (true), around
// work that adds many items.
void SetListRedraw(bool redraw);

// Deletes every item (each deletion frees its object).
void ClearObjectList();

// Whether anything of the list plays (an object, a countdown, Play All):
// nothing of it may be freed then.
bool ListPlays();

// Remove Sound Object: the selected item, after confirmation if asked for;
// nothing is removed while the list plays.
void RemoveSoundObject();

// Move to Top, Up, Down, to Bottom (commands 164 to 167) for the selected item.
void MoveSoundObject(int command);

// Where Move command 164 to 167 would put the selected item; -1 when it
// would change nothing (no selection, or the item is there already).
int MoveTarget(int command);

// The main window's handling of WM_DELETEITEM for control 528.
void OnObjectListDeleteItem(const DELETEITEMSTRUCT* item);

// The Object List's selected item, -1 for none.
int SelectedIndex();
// Selects an item and shows its object's details on the status bar, so the
// bar always describes the selected object.
void SelectObject(int index);
// Selects item 0 of the list and gives the list the keyboard focus.
void SelectFirstItem();
// The object's details on the status bar: its counts and its track or file.
void ShowObjectInfo(HWND statusBar, SoundObjectHandle handle);

// The object an item holds, or null.
SoundObjectHandle ObjectAt(int index);

#endif
