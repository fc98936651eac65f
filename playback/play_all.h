/*
 * Play All: the worker thread that plays the whole list, pass after pass,
 * and the start and stop of its runs.
 *
 * The worker is created once and lives for the whole run of the program.
 * Each start raises g_playback.playAllStart once and the worker makes exactly
 * one run for it; a start can never be lost, whenever it comes. Each run
 * has its number in g_playback.playAllRun, which its stop marks. The worker
 * reaches windows only through synchronous calls into the UI thread, and
 * tells the main window what to show through playback events.
 */
#ifndef WENDLE_PLAY_ALL_H
#define WENDLE_PLAY_ALL_H

#include <windows.h>

#include <cstdint>

// Thread body of the worker; its parameter is the ObjectList it plays,
// which lives longer than the thread.
DWORD WINAPI PlayAllWorker(LPVOID list);

// How a run plays the list, as the options say when it starts.
struct PlayAllOptions {
  uint32_t passes = 1;  // 0: non-stop
  bool sequential = true;
  bool exclusive = false;     // random without repeats in a pass
  bool pauseBetween = false;  // a pause after objects without a delay of their own
  uint32_t pauseSeconds = 2;  // that pause, and a Pause object's of no seconds
};

// Starts a run (UI thread); false while a run is in progress or a single
// object plays: two players would share the status bar, the title and the
// playing flag.
bool StartPlayAllRun(const PlayAllOptions& options);
// Stops the run in progress (UI thread): nothing of it starts after this.
void StopPlayAllRun();
// The worker's run is over (its WM_PLAYALLENDED): the idle state comes back.
void OnPlayAllEnded();

// Stop After This One (UI thread): the run ends when the object that
// plays now (a sound or a countdown) ends, without its repeats or delay.
// Cleared by that end, and by the start and end of every run.
void SetStopAfterCurrent(bool stop);
bool StopAfterCurrent();

// Where the run goes when the object that plays is cut short: Again plays
// it from its start, Back the object played before it. Each plays as an
// extra, counted in no pass, and the order goes on after it.
enum class PlayAllStep { None, Again, Back };
// Ends the object that plays (UI thread), and the run takes the step.
void StepPlayAll(PlayAllStep step);

// The run's counters, as the worker keeps them.
uint32_t PassCount();
uint32_t PassIndex();
int32_t ObjectsLeft();

#endif
