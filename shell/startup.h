/*
 * Starting and ending Wendle: one instance only, the language module,
 * the settings, the window classes, the main window at its saved place, the
 * command line, the message loop.
 */
#ifndef WENDLE_STARTUP_H
#define WENDLE_STARTUP_H

#include <windows.h>

#include "model/object_list.h"

// The four window classes: the main window, the ribbon, and the edit and
// list-box superclasses. false at the first that cannot be registered.
bool RegisterWindowClasses();
bool RegisterMainWindowClass();

// The size of the main window at a first start (no place saved): room for
// longer descriptions than the smallest size, which still shows every button.
constexpr int kFirstWidth = 640;
constexpr int kFirstHeight = 440;

// Creates the main window at its saved place (left, top, width, height) or,
// with an empty place, at its first size where the system places it; it
// shows list, which must outlive it.
HWND CreateMainWindow(const RECT& place, ObjectList& list);

// Runs the program; the exit code.
int RunWendle(HINSTANCE instance, const char* commandLine, int show);

#endif
