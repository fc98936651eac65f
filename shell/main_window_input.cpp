// What reaches the main window from outside its commands: the command line,
// files dropped on it, and the menus' help texts.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "model/object_list.h"
#include "playback/media_control.h"
#include "resources/ids.h"
#include "shell/command_line.h"
#include "shell/main_window.h"
#include "state/main_window_state.h"
#include "storage/list_file.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

constexpr int kDropFormatLength = 63;

}  // namespace

void OnOpenCommandLine(HWND window, const char* commandLine) {
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
  LoadListFile(g_state.listBox, name, ListLoadOpen);
  if (play) PostMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_ALL, 0);
  UpdateWindowTitle(window);
}

void AddDroppedFiles(HDROP drop) {
  if (!drop) return;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  unsigned added = 0;
  for (UINT i = 0; i < count; ++i) {
    // A name too long for the buffer would be cut into another file's name.
    if (DragQueryFileA(drop, i, nullptr, 0) >= static_cast<UINT>(kTextBufferSize)) continue;
    DragQueryFileA(drop, i, g_state.textBuffer, kTextBufferSize);
    CharUpperA(g_state.textBuffer);
    added += static_cast<unsigned>(AddFileObject(g_state.textBuffer));
  }
  DragFinish(drop);
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

bool OnInitMenuPopup(HMENU popup) {
  if (!g_state.popupMenu || popup != GetSubMenu(g_state.popupMenu, 0)) return false;
  UpdateMoveMenu(popup);
  return true;
}
