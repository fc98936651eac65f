#include "storage/file_commands.h"

#include <commdlg.h>

#include <cstdio>

#include "model/object_list.h"
#include "resources/ids.h"
#include "state/main_window_state.h"
#include "storage/list_file.h"
#include "support/language.h"
#include "support/paths.h"

namespace {

void SaveCommand(HWND mainWindow);

// The platform's file-open dialog for list files, also used to save. name
// is the file-name buffer (kTextBufferSize characters); true on OK.
bool AskForListFile(HWND mainWindow, const char* title, char* name, bool mustExist) {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = mainWindow;
  ofn.hInstance = g_state.instance;
  ofn.lpstrFilter = "WDL files\0*.wdl\0";
  ofn.nFilterIndex = 0;
  ofn.lpstrFile = name;
  ofn.nMaxFile = kTextBufferSize;
  ofn.lpstrInitialDir = "";
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_HIDEREADONLY | (mustExist ? OFN_FILEMUSTEXIST : 0);
  ofn.lpstrDefExt = "wdl";
  if (!GetOpenFileNameA(&ofn)) return false;
  // The current directory follows a confirmed dialog (the CD catalog is
  // looked up there); not every platform's dialog moves it by itself.
  char folder[kTextBufferSize];
  FolderOfPath(name, folder, sizeof folder);
  SetCurrentDirectoryA(folder);
  return true;
}

void FinishCommand(HWND mainWindow) {
  UpdateWindowTitle(mainWindow);
  SelectFirstItem();
}

void NewCommand(HWND mainWindow) {
  if (!AskToSaveChanges()) return;
  ClearObjectList();
  g_state.currentListFile[0] = '\0';
  UpdateWindowTitle(mainWindow);
  g_state.listModified = 0;
  SetFocus(g_state.listBox);
}

void LoadCommand(HWND mainWindow, const char* title, int mode) {
  char name[kTextBufferSize] = "*.wdl";
  if (AskForListFile(mainWindow, title, name, true)) LoadListFile(g_state.listBox, name, mode);
  FinishCommand(mainWindow);
}

void SaveAsCommand(HWND mainWindow) {
  // The dialog writes the chosen name straight into the list's file name.
  if (AskForListFile(mainWindow, "Save a WDL file", g_state.currentListFile, false)) {
    EnsureListExtension(g_state.currentListFile, kTextBufferSize);
    // The name stays a full path, whatever folder is current later.
    char full[kTextBufferSize];
    DWORD length = GetFullPathNameA(g_state.currentListFile, sizeof full, full, nullptr);
    if (length > 0 && length < sizeof full) lstrcpynA(g_state.currentListFile, full, kTextBufferSize);
    SaveCommand(mainWindow);
  } else {
    g_state.closeAfterSave = 0;  // the close that asked for this save is off
  }
  SelectFirstItem();
}

void SaveCommand(HWND mainWindow) {
  if (!g_state.currentListFile[0]) {
    SaveAsCommand(mainWindow);
    return;
  }
  bool written = false;
  SaveListFile(g_state.listBox, g_state.currentListFile, &written);
  UpdateWindowTitle(mainWindow);
  // A close that asked for this save goes on only once the list is on
  // disk; a save that did not happen ends that request, so no later Save
  // closes the program.
  if (g_state.closeAfterSave.exchange(0) && written) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
  SelectFirstItem();
}

}  // namespace

bool AskToSaveChanges() {
  if (!g_state.listModified) return true;
  switch (ShowMessage(g_state.mainWindow, IDS_ASK_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL:
      return false;
    case IDYES:
      // A save that did not happen (Save As cancelled, replacing refused,
      // a failed write) must not be followed by discarding the list.
      SaveCommand(g_state.mainWindow);
      return !g_state.listModified || SendMessageA(g_state.listBox, LB_GETCOUNT, 0, 0) <= 0;
    default:
      return true;
  }
}

void RunFileCommand(HWND mainWindow, int command) {
  if (g_state.playAllRunning || g_state.playing) {
    // A save refused now does not come back later to close the program.
    if (command == IDM_FILE_SAVE || command == IDM_FILE_SAVE_AS) g_state.closeAfterSave = 0;
    return;
  }
  switch (command) {
    case IDM_FILE_NEW:
      NewCommand(mainWindow);
      break;
    case IDM_FILE_OPEN:
      if (AskToSaveChanges()) LoadCommand(mainWindow, "Open a WDL file", ListLoadOpen);
      break;
    case IDM_FILE_INSERT:
      LoadCommand(mainWindow, "Insert a WDL file", ListLoadInsert);
      break;
    case IDM_FILE_APPEND:
      LoadCommand(mainWindow, "Append a WDL file", ListLoadAppend);
      break;
    case IDM_FILE_SAVE:
      SaveCommand(mainWindow);
      break;
    case IDM_FILE_SAVE_AS:
      SaveAsCommand(mainWindow);
      break;
    default:
      break;
  }
}
