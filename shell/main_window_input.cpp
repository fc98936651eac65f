// What reaches the main window from outside its commands: the command line
// (its own, or a second start's), files dropped on it, and the menus' help
// texts.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "model/object_list.h"
#include "resources/ids.h"
#include "shell/command_line.h"
#include "shell/command_state.h"
#include "shell/main_window.h"
#include "state/main_window_state.h"
#include "storage/file_commands.h"
#include "storage/list_file.h"
#include "support/language.h"
#include "support/name_case.h"
#include "support/support_library.h"

namespace {

constexpr int kDropFormatLength = 63;

}  // namespace

void OnOpenCommandLine(HWND window) {
  // Taken once: a second WM_OPENCOMMANDLINE (posted by anyone) finds none.
  char commandLine[kCommandLineSize];
  lstrcpynA(commandLine, g_state.pendingCommandLine, sizeof commandLine);
  g_state.pendingCommandLine[0] = '\0';
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
  if (!CommandAvailable(IDM_FILE_OPEN) || !AskToSaveChanges()) return;
  LoadListFile(g_state.listBox, name, ListLoadOpen);
  UpdateWindowTitle(window);
  if (play) PostMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_ALL, 0);
}

BOOL OnCopyData(HWND window, const COPYDATASTRUCT* data) {
  if (!data || data->dwData != COPYDATA_COMMAND_LINE || !data->lpData || data->cbData == 0 ||
      data->cbData > kCommandLineSize)
    return FALSE;
  // Not while a modal window is open or something plays: opening a list
  // then would replace what they work on.
  if (!CommandAvailable(IDM_FILE_OPEN)) return FALSE;
  // The system's copy is valid only during this call, and need not end
  // with a terminating zero.
  const char* text = static_cast<const char*>(data->lpData);
  size_t length = strnlen(text, data->cbData);
  if (length >= sizeof g_state.pendingCommandLine) return FALSE;
  memcpy(g_state.pendingCommandLine, text, length);
  g_state.pendingCommandLine[length] = '\0';
  PostMessageA(window, WM_OPENCOMMANDLINE, 0, 0);
  return TRUE;
}

void AddDroppedFiles(HDROP drop) {
  if (!drop) return;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  unsigned added = 0;
  bool refused = false;
  for (UINT i = 0; i < count; ++i) {
    // A name too long for the buffer would be cut into another file's name:
    // it is left out, and the user told.
    if (DragQueryFileA(drop, i, nullptr, 0) >= static_cast<UINT>(kTextBufferSize)) {
      refused = true;
      continue;
    }
    DragQueryFileA(drop, i, g_state.textBuffer, kTextBufferSize);
    UpperCaseName(g_state.textBuffer, kTextBufferSize);
    added += static_cast<unsigned>(AddFileObject(g_state.textBuffer));
  }
  DragFinish(drop);
  if (refused) ShowMessage(g_state.mainWindow, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
  char format[kDropFormatLength + 1];
  LanguageString(IDS_FMT_FILES_DROPPED, format, sizeof format);
  snprintf(g_state.textBuffer, kTextBufferSize, format, added);
  ResMessageBox(g_state.mainWindow, g_state.languageModule, g_state.textBuffer, MAKEINTRESOURCEA(IDS_APP_CAPTION),
                MB_ICONASTERISK);
}

void OnMenuSelect(WPARAM wParam) {
  UINT item = LOWORD(wParam);
  UINT flags = HIWORD(wParam);
  bool command = !(flags & MF_POPUP) && item >= IDM_FIRST && item <= IDM_LAST;
  ShowStatusString(command ? item - IDM_FIRST : IDS_STATUS_READY);
}
