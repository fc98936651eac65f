// Wendle Help: the compiled HTML Help file "WD.CHM" beside the program,
// shown by the system's HTML Help viewer (hhctrl.ocx). The viewer is loaded
// on first use and runs in this process, on the thread that opens the help.
#ifndef WENDLE_HELP_H
#define WENDLE_HELP_H

#include <windows.h>

// Shows the page of a help context number (HELPCTX_*; any other number
// shows the contents) in the run's one help window, which comes to the
// front; owner owns the window. False, after telling the user why, when
// the viewer is missing or the file could not be opened.
bool OpenHelp(HWND owner, UINT context);

// Every message loop of the thread that opens the help hands each message
// here first: true when the help window took it (a key of its own), and
// the loop must leave it alone.
bool HelpPreTranslateMessage(MSG* message);

// The program's end: closes the help window when this run opened one, and
// ends the viewer's use. A later OpenHelp starts it again.
void CloseHelp();

// The page of WD.CHM that a context number shows.
const wchar_t* HelpTopicPage(UINT context);

#endif
