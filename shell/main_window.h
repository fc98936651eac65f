/*
 * Wendle's main window ("RI32Duver"): the one top-level window. Its
 * procedure only dispatches; each message group has its handler in a file
 * of its own (creation, closing, layout, commands, menus, dropped files).
 */
#ifndef WENDLE_MAIN_WINDOW_H
#define WENDLE_MAIN_WINDOW_H

#include <windows.h>
#include <shellapi.h>

constexpr char kMainWindowClass[] = "RI32Duver";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creation and closing (main_window_life.cpp).
LRESULT OnCreate(HWND window);
void OnClose(HWND window);
LRESULT OnQueryEndSession(HWND window);
void OnDestroy(HWND window);
// Waits (handling messages) for the Play All worker to end after a close.
void WaitForWorkersToEnd();

// Size and the minimized state (main_window_layout.cpp).
void OnSize(HWND window, WPARAM type, int width, int height);
void OnGetMinMaxInfo(MINMAXINFO* info);
LRESULT OnQueryOpen(HWND window);

// Commands and menus (main_window_commands.cpp, main_window_menus.cpp).
void OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
void OnMenuSelect(WPARAM wParam);
bool OnInitMenuPopup(HMENU popup);

// The command line (WM_OPENCOMMANDLINE) and dropped files.
void OnOpenCommandLine(HWND window, const char* commandLine);
void AddDroppedFiles(HDROP drop);

#endif
