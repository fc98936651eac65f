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

constexpr char kListFilter[] = "WDL files\0*.wdl\0";

// A list has to hold an object to be written.
bool ListIsEmpty() { return SendMessageA(g_state.listBox, LB_GETCOUNT, 0, 0) <= 0; }

// The current directory follows a confirmed dialog (the CD catalog is
// looked up there); not every platform's dialog moves it by itself.
void MoveToFolderOf(const char* path) {
  char folder[kTextBufferSize];
  FolderOfPath(path, folder, sizeof folder);
  SetCurrentDirectoryA(folder);
}

// After a file dialog returned FALSE: a name too long for the buffer is
// said; Cancel needs no word.
void ReportDialogFailure(HWND mainWindow) {
  if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) ShowMessage(mainWindow, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
}

OPENFILENAMEA ListFileDialog(HWND mainWindow, const char* title, char* name) {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = mainWindow;
  ofn.hInstance = g_state.instance;
  ofn.lpstrFilter = kListFilter;
  ofn.lpstrFile = name;
  ofn.nMaxFile = kTextBufferSize;
  ofn.lpstrInitialDir = "";
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = "wdl";
  return ofn;
}

// The platform's open dialog for a list file; name is the file-name buffer
// (kTextBufferSize characters). True on OK.
bool AskForListToOpen(HWND mainWindow, const char* title, char* name) {
  OPENFILENAMEA ofn = ListFileDialog(mainWindow, title, name);
  ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameA(&ofn)) {
    ReportDialogFailure(mainWindow);
    return false;
  }
  MoveToFolderOf(name);
  return true;
}

// The platform's save dialog; it asks before an existing file is replaced.
bool AskForNameToSave(HWND mainWindow, char* name) {
  OPENFILENAMEA ofn = ListFileDialog(mainWindow, "Save a WDL file", name);
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
  if (!GetSaveFileNameA(&ofn)) {
    ReportDialogFailure(mainWindow);
    return false;
  }
  MoveToFolderOf(name);
  return true;
}

void FinishCommand(HWND mainWindow) {
  UpdateWindowTitle(mainWindow);
  SelectFirstItem();
}

// After a save the list is the same: the selected object stays selected,
// and the status bar describes it again instead of the save's progress.
void FinishSave(HWND mainWindow) {
  UpdateWindowTitle(mainWindow);
  int selected = SelectedIndex();
  SelectObject(selected >= 0 ? selected : 0);
  SetFocus(g_state.listBox);
}

// Nothing to save in an empty list: the user is told.
bool RefuseEmptyList(HWND mainWindow) {
  if (!ListIsEmpty()) return false;
  ShowMessage(mainWindow, IDS_LIST_EMPTY, MB_ICONEXCLAMATION);
  return true;
}

// A file that is there is replaced only when the user says so.
bool MayReplace(HWND mainWindow, const char* path) {
  return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ||
         ShowMessageWithCaption(mainWindow, IDS_ASK_REPLACE_FILE, path, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void NewCommand(HWND mainWindow) {
  // Nothing of the list may be freed while it plays (the question may have
  // been answered after something began playing).
  if (!AskToSaveChanges() || ListPlays()) return;
  ClearObjectList();
  g_state.currentListFile[0] = '\0';
  UpdateWindowTitle(mainWindow);
  g_state.listModified = 0;
  SetFocus(g_state.listBox);
}

void LoadCommand(HWND mainWindow, const char* title, int mode) {
  char name[kTextBufferSize] = "*.wdl";
  if (AskForListToOpen(mainWindow, title, name) && !ListPlays()) LoadListFile(g_state.listBox, name, mode);
  FinishCommand(mainWindow);
}

}  // namespace

bool AskToSaveChanges(void (*beforeSave)()) {
  if (!g_state.listModified || ListIsEmpty()) return true;
  switch (ShowMessage(g_state.mainWindow, IDS_ASK_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL:
      return false;
    case IDYES:
      // A save that did not happen (Save As cancelled, a failed write)
      // must not be followed by discarding the list.
      if (beforeSave) beforeSave();
      return SaveList(g_state.mainWindow);
    default:
      return true;
  }
}

bool SaveList(HWND mainWindow) {
  if (!g_state.currentListFile[0]) return SaveListAs(mainWindow);
  if (RefuseEmptyList(mainWindow)) return false;
  // A name the list took from an inserted file is that file's: replacing
  // it is asked about once.
  if (!g_state.listFileOwned && !MayReplace(mainWindow, g_state.currentListFile)) return false;
  bool written = SaveListFile(g_state.listBox, g_state.currentListFile) == 1;
  if (written) g_state.listFileOwned = true;
  FinishSave(mainWindow);
  return written;
}

bool SaveListAs(HWND mainWindow) {
  if (RefuseEmptyList(mainWindow)) return false;
  // The dialog starts at the list's own name; the list keeps it until the
  // list was written under the new one.
  char name[kTextBufferSize] = "";
  lstrcpynA(name, FileNamePart(g_state.currentListFile), sizeof name);
  if (!AskForNameToSave(mainWindow, name)) return false;
  char full[kTextBufferSize];
  bool extended = EnsureListExtension(name, sizeof name) == 1;
  if (!FullListPath(name, full)) {
    ShowMessage(mainWindow, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
    return false;
  }
  // The dialog asked about the name as it was typed; one that only now
  // got its extension is asked about here.
  if (extended && !MayReplace(mainWindow, full)) return false;
  if (SaveListFile(g_state.listBox, full) != 1) return false;
  lstrcpynA(g_state.currentListFile, full, kTextBufferSize);
  g_state.listFileOwned = true;
  FinishSave(mainWindow);
  return true;
}

void RunFileCommand(HWND mainWindow, int command) {
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
      SaveList(mainWindow);
      break;
    case IDM_FILE_SAVE_AS:
      SaveListAs(mainWindow);
      break;
    default:
      break;
  }
}
