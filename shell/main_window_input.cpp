// What reaches the main window from outside its commands: the command line
// (its own, or a second start's), files dropped on it, and the menus' help
// texts.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "resources/ids.h"
#include "shell/command_line.h"
#include "shell/command_state.h"
#include "shell/file_commands.h"
#include "shell/list_view.h"
#include "shell/main_window.h"
#include "support/globals.h"
#include "shell/shell_state.h"
#include "storage/list_file.h"
#include "support/language.h"

void OnOpenCommandLine(HWND window) {
  // Not while something plays or a modal window is open: it waits for
  // that to end (OpenPendingCommandLine).
  if (!CommandAvailable(IDM_FILE_OPEN)) return;
  // Taken once: a second WM_OPENCOMMANDLINE (posted by anyone) finds none.
  char commandLine[kCommandLineSize];
  lstrcpynA(commandLine, g_shell.pendingCommandLine, sizeof commandLine);
  g_shell.pendingCommandLine[0] = '\0';
  char name[kTextBufferSize];
  bool play = false;
  switch (ParseCommandLine(commandLine, name, sizeof name, &play)) {
    case CommandLineResult::Empty:
      return;
    case CommandLineResult::TooLong:
      // A cut name would open another file: none is opened.
      ShowMessageWithCaption(window, IDS_CANNOT_OPEN_FILE, LanguageText(IDS_APP_CAPTION), MB_ICONEXCLAMATION);
      return;
    case CommandLineResult::Name:
      break;
  }
  // The list replaces the one shown (a second start hands its list to this
  // one): changes are asked about first.
  const int selection = g_shell.pendingSelection;
  g_shell.pendingSelection = -1;
  if (!HasMainView() || !AskToSaveChanges(MainView().list())) return;
  ObjectList& list = MainView().list();
  if (!LoadList(window, list, name, ListLoadOpen)) return;
  if (selection >= 0 && list.Count() > 0) SelectListRow(selection < list.Count() ? selection : list.Count() - 1);
  if (play) PostMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_ALL, 0);
}

void OpenPendingCommandLine(HWND window) {
  // A command line handed over while something played or a dialog box was
  // open waits until the list can be replaced.
  if (g_shell.pendingCommandLine[0] && CommandAvailable(IDM_FILE_OPEN)) PostMessageA(window, WM_OPENCOMMANDLINE, 0, 0);
}

BOOL OnCopyData(HWND window, const COPYDATASTRUCT* data) {
  if (!data || data->dwData != COPYDATA_COMMAND_LINE || !data->lpData || data->cbData == 0 ||
      data->cbData > kCommandLineSize)
    return FALSE;
  // The system's copy is valid only during this call, and need not end
  // with a terminating zero.
  const char* text = static_cast<const char*>(data->lpData);
  size_t length = strnlen(text, data->cbData);
  if (length >= sizeof g_shell.pendingCommandLine) return FALSE;
  memcpy(g_shell.pendingCommandLine, text, length);
  g_shell.pendingCommandLine[length] = '\0';
  // Taken: it opens now, or, while something plays or a modal window is
  // open (opening a list then would replace what they work on), as soon
  // as that has ended.
  OpenPendingCommandLine(window);
  return TRUE;
}

void OnMenuSelect(WPARAM wParam) {
  UINT item = LOWORD(wParam);
  UINT flags = HIWORD(wParam);
  bool command = !(flags & MF_POPUP) && item >= IDM_FIRST && item <= IDM_LAST;
  ShowStatusString(command ? CommandHelpString(static_cast<int>(item)) : IDS_STATUS_READY);
}
