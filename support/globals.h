/*
 * What every part of Wendle needs, and nothing more: the program's module,
 * its main window, the accelerators the waits translate, and the event
 * that tells every thread the program ends. The rest of the program's
 * state is its owner's: the list is the document's (model/), playing is
 * playback's, the options are the settings', the windows the shell's.
 */
#ifndef WENDLE_GLOBALS_H
#define WENDLE_GLOBALS_H

#include <windows.h>

#include "support/scoped_win.h"

// The longest text of the program's buffers: paths, names, descriptions,
// messages (and their end).
constexpr int kTextBufferSize = 512;

struct Globals {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  HACCEL accelerators = nullptr;  // table 1532, also used by nested waits
  SignalEvent quit{true};         // set once at close: the threads end
};

extern Globals g_globals;

#endif
