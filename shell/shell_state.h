/*
 * The main window's own parts, from its creation to its end: the ribbon,
 * the status bar, the buttons' tooltips and pictures, the list's pop-up
 * menu and row font, the system procedures of the two superclasses, the
 * threads the window started, and a command line waiting to be opened.
 * The shell's alone; nothing below it reads them.
 */
#ifndef WENDLE_SHELL_STATE_H
#define WENDLE_SHELL_STATE_H

#include <windows.h>

#include <atomic>

#include "support/scoped_win.h"

constexpr int kCommandLineSize = 2048;  // a command line handed to the main window
constexpr int kButtonIconCount = 23;    // icons 1501..1523: ButtonIconSlot(id)

struct ShellState {
  HWND ribbon = nullptr;
  HWND statusBar = nullptr;
  HWND buttonTips = nullptr;  // owned by the main window: it goes with it
  ScopedMenu popupMenu;       // its first submenu is the list's pop-up menu
  HICON buttonIcons[kButtonIconCount] = {};
  HFONT rowFont = nullptr;  // the list's rows; the stock font while null
  ScopedFont statusFont;    // the status bar's, once the DPI has changed

  WNDPROC editClassProc = nullptr;
  WNDPROC listBoxClassProc = nullptr;

  ScopedHandle animationThread;
  ScopedHandle playAllThread;

  // A command line for WM_OPENCOMMANDLINE: this start's own, or one that a
  // second start handed over (WM_COPYDATA). No window message carries it.
  char pendingCommandLine[kCommandLineSize] = "";
  // The object to select once the pending command line's list is open:
  // the one selected at the last close, when that list opens at start.
  int pendingSelection = -1;
  // The command whose help the status bar shows for the button under the
  // mouse (mouse moves come in streams).
  std::atomic<int32_t> lastHelpCommand{-1};
};

extern ShellState g_shell;

#endif
