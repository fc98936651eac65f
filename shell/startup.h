/*
 * Starting and ending Wendle: one instance only, the language module,
 * the settings, the window classes, the main window at its saved place, the
 * command line, the message loop.
 */
#ifndef WENDLE_STARTUP_H
#define WENDLE_STARTUP_H

#include <windows.h>

// The four window classes: the main window, the ribbon, and the edit and
// list-box superclasses. false at the first that cannot be registered.
bool RegisterWindowClasses();
bool RegisterMainWindowClass();

// Runs the program; the exit code.
int RunWendle(HINSTANCE instance, const char* commandLine, int show);

#endif
