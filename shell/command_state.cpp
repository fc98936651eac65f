#include "shell/command_state.h"

#include "shell/clipboard_commands.h"
#include "shell/list_commands.h"
#include "shell/list_view.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "shell/buttons.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "playback/media_devices.h"
#include "playback/play_all.h"
#include "settings/settings_record.h"
#include "support/language.h"

namespace {

// What the playing state and the list allow, modal windows aside.
bool AllowedNow(int command) {
  const bool running = g_playback.playAllRunning != 0;
  const bool busy = running || g_playback.playing;
  switch (command) {
    case IDM_SOUND_STOP_SKIP:
    case IDM_SOUND_MUTE:
    case IDM_SOUND_VOLUME_UP:
    case IDM_SOUND_VOLUME_DOWN:
      return true;  // stopping is always allowed, and so is the volume
    case IDM_SOUND_STOP_PLAY_ALL:
    case IDM_SOUND_STOP_AFTER:
      return running;
    case IDM_SOUND_PAUSE:
      return g_playback.paused || g_playback.playing;  // Resume, or something plays or counts down
    case IDM_HELP_INDEX:
    case IDM_HELP_OVERVIEW:
    case IDM_HELP_PROCEDURES:
    case IDM_HELP_USING_HELP:
    case IDM_HELP_DISTRIBUTION:
    case IDM_HELP_ABOUT:
      return true;
    case IDM_OPT_ADD_ALL_CD_TRACKS:
    case IDM_OPT_CATALOG_CD:
      return !busy && (g_mediaCaps & CdAudio);
    case IDM_MOVE_TOP:
    case IDM_MOVE_UP:
    case IDM_MOVE_DOWN:
    case IDM_MOVE_BOTTOM:
      return !busy && HasMainView() && MoveTarget(MainView().list(), command) >= 0;
    case IDM_EDIT_UNDO:
      return !busy && HasMainView() && MainView().list().CanUndo();
    case IDM_EDIT_REDO:
      return !busy && HasMainView() && MainView().list().CanRedo();
    case IDM_EDIT_CUT:
      return !busy && !SelectedIndexes().empty();
    case IDM_EDIT_COPY:
      return !SelectedIndexes().empty();  // changes nothing of the list
    case IDM_EDIT_PASTE:
      return !busy && CanPaste();
    case IDM_EDIT_SELECT_ALL:
    case IDM_EDIT_FIND:
    case IDM_EDIT_FIND_NEXT:
      return true;  // they change nothing of the list
    default:
      return !busy;
  }
}

// The stops, and Pause and the volume, which touch no list object either.
bool IsStop(int command) {
  return command == IDM_SOUND_STOP_SKIP || command == IDM_SOUND_STOP_PLAY_ALL || command == IDM_SOUND_PAUSE ||
         command == IDM_SOUND_STOP_AFTER || command == IDM_SOUND_MUTE || command == IDM_SOUND_VOLUME_UP ||
         command == IDM_SOUND_VOLUME_DOWN;
}

// The Pause item reads Resume while paused.
void ShowPauseText(HMENU menu) {
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STRING;
  LanguageText text(g_playback.paused ? IDS_MENU_RESUME : IDS_MENU_PAUSE);
  if (!text.c_str()[0]) return;  // the item keeps its own text
  item.dwTypeData = const_cast<char*>(text.c_str());
  SetMenuItemInfoA(menu, IDM_SOUND_PAUSE, FALSE, &item);
}

// Whether a pop-up menu holds any command that is allowed now.
bool AnyAllowed(HMENU popup) {
  int count = GetMenuItemCount(popup);
  for (int position = 0; position < count; ++position) {
    UINT id = GetMenuItemID(popup, position);
    if (id != 0 && id != static_cast<UINT>(-1) && AllowedNow(static_cast<int>(id))) return true;
  }
  return false;
}

void EnableButton(HWND parent, int id) {
  HWND button = GetDlgItem(parent, id);
  if (button) EnableWindow(button, AllowedNow(ButtonCommand(id)));
}

}  // namespace

bool ModalWindowOpen() { return g_globals.mainWindow && !IsWindowEnabled(g_globals.mainWindow); }

bool CommandAvailable(int command) { return AllowedNow(command) && (IsStop(command) || !ModalWindowOpen()); }

void UpdateCommandStates(HWND mainWindow) {
  if (HMENU menu = GetMenu(mainWindow)) {
    bool changed = false;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
      HMENU popup = GetSubMenu(menu, position);
      if (!popup) continue;
      UpdateMenuItems(popup);
      UINT state = AnyAllowed(popup) ? MF_ENABLED : MF_GRAYED;
      UINT was = EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | state);
      changed = changed || (was & MF_GRAYED) != (state & MF_GRAYED);
    }
    if (changed) DrawMenuBar(mainWindow);
  }
  ForEachButton(mainWindow, EnableButton);
  ShowPlayAllButton(mainWindow, g_playback.playAllRunning != 0);
}

void UpdateMenuItems(HMENU menu) {
  int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    if (HMENU submenu = GetSubMenu(menu, position)) UpdateMenuItems(submenu);
    UINT id = GetMenuItemID(menu, position);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // a separator or a submenu
    EnableMenuItem(menu, id, MF_BYCOMMAND | (AllowedNow(static_cast<int>(id)) ? MF_ENABLED : MF_GRAYED));
    if (id == IDM_SOUND_PAUSE) ShowPauseText(menu);
    if (id == IDM_SOUND_STOP_AFTER)
      CheckMenuItem(menu, id, MF_BYCOMMAND | (StopAfterCurrent() ? MF_CHECKED : MF_UNCHECKED));
    if (id == IDM_SOUND_MUTE) CheckMenuItem(menu, id, MF_BYCOMMAND | (g_settings.muted ? MF_CHECKED : MF_UNCHECKED));
  }
}
