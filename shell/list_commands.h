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

#include <vector>

#include "model/object_list.h"

// Whether anything of the list plays (an object, a countdown, Play All):
// nothing of it may be freed or replaced then.
bool ListPlays();

// Remove Sound Object: the selected objects, after one confirmation if
// asked for; nothing is removed while the list plays. Item 0 is selected
// after.
void RemoveSoundObject(ObjectList& list);

// Removes the objects at rows (in order), one edit, without a question.
void RemoveRows(ObjectList& list, const std::vector<int>& rows);

// One object's move, as ObjectList::Move makes it.
struct RowMove {
  int from;
  int to;
};
// The moves that Move command 164 to 167 makes of the selected rows (in
// order) of a list of count rows, one after the other; after (if given)
// gets where each row stands then. A row at the top stays there on Move
// Up, and the rows below it that are selected too close up to it.
std::vector<RowMove> PlanMove(int count, const std::vector<int>& rows, int command, std::vector<int>* after);
// Where Move command 164 to 167 would put the (first moved) selected
// object; -1 when it would change nothing (no selection, or the objects
// are there already).
int MoveTarget(const ObjectList& list, int command);
// Move to Top, Up, Down, to Bottom (commands 164 to 167) for the selected
// objects, which stay selected, so they can be moved again at once; one
// edit.
void MoveSoundObject(ObjectList& list, int command);

// Appends a dropped WAV, MIDI, AVI or audio file (upper-case path) when its
// device type exists. 1 when an object was added.
int AddFileObject(ObjectList& list, const char* path);
// The same at index (-1: the end).
int AddFileObjectAt(ObjectList& list, const char* path, int index);
// Files dropped on the main window: each is added at insertAt (-1: the
// end), one edit, and the user told how many were taken.
void AddDroppedFiles(ObjectList& list, HDROP drop, int insertAt = -1);
// Where files dropped at the drop's point go in the main view: before the
// row under it; -1 (the end) below the last row or outside the list.
int DropRow(HDROP drop);

// The gap before row `gap` (0 to the count) that a point y of the list
// box's client area is nearest to, as a dragged selection lands there.
int GapAtPoint(HWND listBox, int y);
// Moves the selected objects, in their order, to the gap before row `gap`
// (0 to the count), one edit; they stay selected.
void MoveSelectionTo(ObjectList& list, int gap);

// Add All CD Tracks: the disc's audio tracks appended, item 0 selected and
// the list focused.
void AddAllCdTracksCommand(ObjectList& list);

#endif
