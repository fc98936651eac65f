/*
 * Play All: the worker thread that plays the whole list, pass after pass,
 * and the commands that start and stop it.
 *
 * The worker is created once and lives for the whole run of the program.
 * Each start raises g_state.playAllStart once and the worker makes exactly
 * one run for it; a start can never be lost, whenever it comes. The worker
 * reaches windows only through synchronous calls into the UI thread, and
 * the idle state at the end of a run is restored there in one step.
 */
#ifndef WENDLE_PLAY_ALL_H
#define WENDLE_PLAY_ALL_H

#include <windows.h>

#include <cstdint>

// Thread body of the worker.
DWORD WINAPI PlayAllWorker(LPVOID);

// Play All (command 117): refused while an object plays or the list is
// empty; minimizes when asked and posts the Play All hot-key event.
void StartPlayAll();
// The Play All hot-key event (541): starts a run, or posts Stop Play All
// during one. A run is not started while a single object plays.
void OnPlayAllHotKey();
// Stop Play All (command 124).
void StopPlayAll();
// The worker's run is over (WM_PLAYALLENDED): the idle state comes back.
void OnPlayAllEnded();

// The next list index in the given order, or -1; with no list window only
// resets the sequential cursor.
int ChooseNextIndex(HWND list, uint32_t order, int32_t objectsLeft);
// Sets PlayedMark on the item at index, or clears it on every item.
void MarkPlayed(HWND list, int index, bool clearAll);

// The run's counters, as the worker keeps them.
uint32_t PassCount();
uint32_t PassIndex();
int32_t ObjectsLeft();

#endif
