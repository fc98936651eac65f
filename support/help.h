// Wendle Help: the help file "WD.HLP" beside the program.
#ifndef WENDLE_HELP_H
#define WENDLE_HELP_H

#include <windows.h>

// WinHelpA on the help file with a command (HELP_CONTEXT, HELP_QUIT...) and
// its data. The file is the one beside the program, so a file dialog that
// moved the current directory does not lose it. HELP_QUIT closes the
// viewer only when this run opened it.
BOOL OpenHelp(HWND window, UINT command, ULONG_PTR data);

#endif
