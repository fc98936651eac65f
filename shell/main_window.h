/*
 * Wendle's main window ("RI32Duver"): the one top-level window. Its
 * procedure only dispatches; each message group has its handler in a file
 * of its own (creation, closing, layout, commands, menus, dropped files).
 */
#ifndef WENDLE_MAIN_WINDOW_H
#define WENDLE_MAIN_WINDOW_H

#include <windows.h>
#include <shellapi.h>

#include "model/object_list.h"
#include "shell/shell_state.h"

constexpr char kMainWindowClass[] = "RI32Duver";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Creation and closing (main_window_life.cpp). MayClose is the one question
// of both WM_CLOSE and WM_QUERYENDSESSION: unsaved changes are asked about
// and saved, and true means the list was written or the user said No.
// The list shown is the window's creation parameter; it outlives the window.
LRESULT OnCreate(HWND window, ObjectList* list);
bool MayClose(HWND window);
void OnClose(HWND window);
LRESULT OnQueryEndSession(HWND window);
void OnEndSession(HWND window, bool ending);
void OnDestroy(HWND window);
// The labels' places and the texts' fonts at dpi.
void PlaceLabels(HWND window, int dpi);
void SetTextFonts(HWND window, int dpi);
// Waits (handling messages) for the Play All worker to end after a close.
void WaitForWorkersToEnd();

// Size, DPI and the minimized state (main_window_layout.cpp). Every size
// is the window's DPI's; a new DPI moves the window to the system's
// suggested place and lays it out anew.
void OnSize(HWND window, WPARAM type, int width, int height);
void OnDpiChanged(HWND window, int dpi, const RECT* suggested);
// The status bar's font at dpi, with the height that fits it (its own
// font is the system DPI's).
void SetStatusBarFont(int dpi);
void OnGetMinMaxInfo(HWND window, MINMAXINFO* info);
LRESULT OnQueryOpen(HWND window);

// Commands and hot keys (main_window_commands.cpp).
void OnCommand(HWND window, WPARAM wParam, LPARAM lParam);
// WM_HOTKEY for the ids IDH_PLAY_NEXT to IDH_PAUSE and the media keys
// (IDH_MEDIA_PLAY_PAUSE...); false for other ids.
bool OnHotKey(HWND window, int id);
// A media key (WM_APPCOMMAND's APPCOMMAND_MEDIA_...): true when it is one
// Wendle takes; the volume keys are left to the system.
bool OnMediaKey(HWND window, int command);
// Takes the media keys from every program when the preferences ask for
// it (else releases them); the status bar says once when another program
// holds one.
void TakeMediaKeys(HWND window);
// WM_HELP, which F1 in a dialog box of the program (passed on to the
// dialog's owner) or in an open menu brings.
void OnHelpRequest(HWND window, const HELPINFO* info);

// What reaches the window from outside its commands (main_window_input.cpp):
// the menus' help texts, the command line (WM_OPENCOMMANDLINE opens
// g_shell.pendingCommandLine), one handed over by a second start
// (WM_COPYDATA), and dropped files.
void OnMenuSelect(WPARAM wParam);
void OnOpenCommandLine(HWND window);
BOOL OnCopyData(HWND window, const COPYDATASTRUCT* data);
// Opens a command line that waits (see OnCopyData) once the list may be
// replaced: after a play, and after a modal window.
void OpenPendingCommandLine(HWND window);

#endif
