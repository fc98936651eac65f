/*
 * The one wait that every thread of the program uses while something plays
 * or counts down: it handles the thread's messages as they arrive and
 * otherwise blocks, so a wait costs no CPU and still sees at once a message,
 * a cleared flag (through the flag's event) or a timeout.
 */
#ifndef WENDLE_WAITING_H
#define WENDLE_WAITING_H

#include <windows.h>

// Handles every pending message of this thread (on the UI thread the main
// window's accelerators first). False when WM_QUIT was taken; it is posted
// again for the outer loop, and the caller ends its wait.
bool PumpThreadMessages();

// Blocks until a message arrives for this thread, one of the events is
// signalled, or timeoutMs (INFINITE for none) passes.
void BlockForMessagesOr(const HANDLE* events, DWORD count, DWORD timeoutMs);

// Milliseconds on a monotonic clock: neither a change of the wall clock nor
// of daylight saving moves it.
ULONGLONG MonotonicMs();

#endif
