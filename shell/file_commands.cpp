#include "shell/file_commands.h"

#include <commdlg.h>

#include <cstdio>
#include <string>

#include "resources/ids.h"
#include "shell/list_view.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "storage/list_file.h"
#include "support/control_library.h"
#include "support/language.h"
#include "support/name_case.h"
#include "support/paths.h"

namespace {

constexpr int kProgressFormatLength = 40;
// How often a long read or write shows its progress: often enough to look
// alive, rarely enough to cost nothing next to the work.
constexpr DWORD kProgressIntervalMs = 100;
// Windows that have a WM_PAINT due, painted at one progress step at most;
// one that never validates itself cannot hold up the work.
constexpr int kMaxPaintsPerStep = 64;
// The most objects a message names one by one.
constexpr size_t kMaxNamedObjects = 10;

// Progress of a long read or write on the status bar. Nothing paints the
// bar while the work runs, so a text per object would only cost time: the
// text is set, and painted, at the first step, then about every 100 ms.
//
// Painting also takes the thread's pending WM_PAINT messages, and only
// those: every window repaints and the program is seen to answer, while the
// user's input waits in the queue until the work is done and so can never
// start another command in the middle of this one.
class StatusProgress : public ListProgress {
 public:
  explicit StatusProgress(UINT formatId) { LanguageString(formatId, format_, sizeof format_); }
  void Step(unsigned done, unsigned total) override {
    DWORD now = GetTickCount();
    if (shown_ && now - lastShown_ < kProgressIntervalMs) return;
    shown_ = true;
    lastShown_ = now;
    char text[kProgressFormatLength * 2 + 32];
    snprintf(text, sizeof text, format_, done, total);
    ShowStatusText(text);
    MSG msg;
    for (int i = 0; i < kMaxPaintsPerStep && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
      DispatchMessageA(&msg);
  }

 private:
  char format_[kProgressFormatLength + 1];
  bool shown_ = false;
  DWORD lastShown_ = 0;
};

// Nothing of the list may be freed or replaced while it plays: a hot key or
// another start may have begun playing while a question was on screen.
bool ListPlays() { return g_playback.playing || g_playback.playAllRunning; }

// The current directory follows a confirmed dialog (the CD catalog is
// looked up there); not every platform's dialog moves it by itself.
void MoveToFolderOf(const char* path) {
  char folder[kMaxPath];
  FolderOfPath(path, folder, sizeof folder);
  SetCurrentDirectoryA(folder);
}

// After a file dialog returned FALSE: a name too long for the buffer is
// said; Cancel needs no word.
void ReportDialogFailure(HWND mainWindow) {
  if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) ShowMessage(mainWindow, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
}

// The file dialogs' filter: the language module's text with "|" for the
// NULs between its parts.
struct ListFilter {
  ListFilter() {
    LanguageString(IDS_FILTER_LISTS, text, sizeof text - 1);
    for (char& c : text)
      if (c == '|') c = '\0';
  }
  char text[128] = {};
};

OPENFILENAMEA ListFileDialog(HWND mainWindow, const char* title, const ListFilter& filter, char* name) {
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = mainWindow;
  ofn.hInstance = g_globals.instance;
  ofn.lpstrFilter = filter.text;
  ofn.lpstrFile = name;
  ofn.nMaxFile = kMaxPath;
  ofn.lpstrInitialDir = "";
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = "wdl";
  return ofn;
}

// The platform's open dialog for a list file; name is the file-name buffer
// (kMaxPath bytes). True on OK.
bool AskForListToOpen(HWND mainWindow, UINT titleId, char* name) {
  LanguageText title(titleId);
  ListFilter filter;
  OPENFILENAMEA ofn = ListFileDialog(mainWindow, title, filter, name);
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
  LanguageText title(IDS_TITLE_SAVE_LIST);
  ListFilter filter;
  OPENFILENAMEA ofn = ListFileDialog(mainWindow, title, filter, name);
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
  if (!GetSaveFileNameA(&ofn)) {
    ReportDialogFailure(mainWindow);
    return false;
  }
  MoveToFolderOf(name);
  return true;
}

// After a save the list is the same: the selected object stays selected,
// and the status bar describes it again instead of the save's progress.
void FinishSave(HWND mainWindow, const ObjectList& list) {
  UpdateWindowTitle(mainWindow, list);
  int selected = SelectedIndex();
  SelectListRow(selected >= 0 ? selected : 0);
  if (HasMainView()) SetFocus(MainView().window());
}

// Nothing to save in an empty list: the user is told.
bool RefuseEmptyList(HWND mainWindow, const ObjectList& list) {
  if (list.Count() > 0) return false;
  ShowMessage(mainWindow, IDS_LIST_EMPTY, MB_ICONEXCLAMATION);
  return true;
}

// A file that is there is replaced only when the user says so.
bool MayReplace(HWND mainWindow, const char* path) {
  return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ||
         ShowMessageWithCaption(mainWindow, IDS_ASK_REPLACE_FILE, path, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// "3, 7 and 12" (row numbers from 1), the first few of them.
std::string ObjectNumbers(const std::vector<int>& indexes) {
  std::string numbers;
  const size_t shown = indexes.size() < kMaxNamedObjects ? indexes.size() : kMaxNamedObjects;
  for (size_t i = 0; i < shown; ++i) {
    if (i) numbers += i + 1 == shown && shown == indexes.size() ? " & " : ", ";
    numbers += std::to_string(indexes[i] + 1);
  }
  if (shown < indexes.size()) numbers += ", ...";
  return numbers;
}

// What a read or a write came to, said in a message naming the file.
void ReportResult(HWND mainWindow, const char* path, const ListFileResult& result) {
  switch (result.status) {
    case ListFileResult::Done:
      if (!result.cutObjects.empty())
        ShowFormattedMessage(mainWindow, IDS_FMT_TEXTS_CUT, MB_ICONEXCLAMATION, path,
                             ObjectNumbers(result.cutObjects).c_str());
      break;
    case ListFileResult::CannotOpen:
      ShowFormattedMessage(mainWindow, IDS_FMT_CANNOT_OPEN_LIST, MB_ICONEXCLAMATION, path,
                           SystemErrorText(result.systemError).c_str());
      break;
    case ListFileResult::NotAList:
      ShowFormattedMessage(mainWindow, IDS_FMT_NOT_A_LIST, MB_ICONEXCLAMATION, path);
      break;
    case ListFileResult::Damaged:
      ShowFormattedMessage(mainWindow, IDS_FMT_LIST_DAMAGED, MB_ICONEXCLAMATION, path, result.line);
      break;
    case ListFileResult::OutOfMemory:
      ShowMessage(mainWindow, IDS_OUT_OF_MEMORY, MB_ICONEXCLAMATION);
      break;
    case ListFileResult::CannotWrite:
      ShowFormattedMessage(mainWindow, result.systemError == ERROR_DISK_FULL ? IDS_DISK_FULL : IDS_FMT_CANNOT_WRITE,
                           MB_ICONEXCLAMATION, path, SystemErrorText(result.systemError).c_str());
      break;
    case ListFileResult::NameTooLong:
      ShowMessage(mainWindow, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
      break;
    case ListFileResult::EmptyList:
      ShowMessage(mainWindow, IDS_LIST_EMPTY, MB_ICONEXCLAMATION);
      break;
  }
}

bool WriteList(HWND mainWindow, ObjectList& list, const char* path) {
  StatusProgress progress(IDS_FMT_ITEMS_WRITTEN);
  ListFileResult result = SaveListFile(list, path, &progress);
  ReportResult(mainWindow, path, result);
  return result.ok();
}

void NewCommand(HWND mainWindow, ObjectList& list) {
  // Nothing of the list may be freed while it plays (the question may have
  // been answered after something began playing).
  if (!AskToSaveChanges(list) || ListPlays()) return;
  list.Clear();
  list.SetFile(std::string(), false);
  list.SetModified(false);
  UpdateWindowTitle(mainWindow, list);
  if (HasMainView()) SetFocus(MainView().window());
}

void LoadCommand(HWND mainWindow, ObjectList& list, UINT titleId, int mode) {
  char name[kMaxPath] = "*.wdl";
  if (AskForListToOpen(mainWindow, titleId, name) && !ListPlays()) LoadList(mainWindow, list, name, mode);
}

}  // namespace

bool LoadList(HWND mainWindow, ObjectList& list, const char* path, int mode) {
  // Insert puts the file's objects, in order, before the object selected
  // now; anything else, or no selection, at the end.
  const int insertAt = mode == ListLoadInsert ? SelectedIndex() : -1;
  StatusProgress progress(IDS_FMT_ITEMS_READ);
  ListFileResult result = LoadListFile(list, path, mode, insertAt, &progress);
  UpdateWindowTitle(mainWindow, list);
  SelectFirstItem();
  ReportResult(mainWindow, path, result);
  return result.ok();
}

bool AskToSaveChanges(ObjectList& list, void (*beforeSave)()) {
  if (!list.Modified() || list.Count() == 0) return true;
  switch (ShowMessage(g_globals.mainWindow, IDS_ASK_SAVE_CHANGES, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL:
      return false;
    case IDYES:
      // A save that did not happen (Save As cancelled, a failed write)
      // must not be followed by discarding the list.
      if (beforeSave) beforeSave();
      return SaveList(g_globals.mainWindow, list);
    default:
      return true;
  }
}

bool SaveList(HWND mainWindow, ObjectList& list) {
  if (list.FileName().empty()) return SaveListAs(mainWindow, list);
  if (RefuseEmptyList(mainWindow, list)) return false;
  // A name the list took from an inserted file is that file's: replacing
  // it is asked about once.
  const std::string path = list.FileName();
  if (!list.FileOwned() && !MayReplace(mainWindow, path.c_str())) return false;
  bool written = WriteList(mainWindow, list, path.c_str());
  if (written) list.SetFile(path, true);
  FinishSave(mainWindow, list);
  return written;
}

bool SaveListAs(HWND mainWindow, ObjectList& list) {
  if (RefuseEmptyList(mainWindow, list)) return false;
  // The dialog starts at the list's own name; the list keeps it until the
  // list was written under the new one.
  char name[kMaxPath] = "";
  lstrcpynA(name, FileNamePart(list.FileName().c_str()), sizeof name);
  if (!AskForNameToSave(mainWindow, name)) return false;
  char full[kMaxPath];
  bool extended = EnsureListExtension(name, sizeof name) == 1;
  if (!FullListPath(name, full)) {
    ShowMessage(mainWindow, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
    return false;
  }
  // The dialog asked about the name as it was typed; one that only now
  // got its extension is asked about here.
  if (extended && !MayReplace(mainWindow, full)) return false;
  if (!WriteList(mainWindow, list, full)) return false;
  list.SetFile(full, true);
  FinishSave(mainWindow, list);
  return true;
}

void RunFileCommand(HWND mainWindow, ObjectList& list, int command) {
  switch (command) {
    case IDM_FILE_NEW:
      NewCommand(mainWindow, list);
      break;
    case IDM_FILE_OPEN:
      if (AskToSaveChanges(list)) LoadCommand(mainWindow, list, IDS_TITLE_OPEN_LIST, ListLoadOpen);
      break;
    case IDM_FILE_INSERT:
      LoadCommand(mainWindow, list, IDS_TITLE_INSERT_LIST, ListLoadInsert);
      break;
    case IDM_FILE_APPEND:
      LoadCommand(mainWindow, list, IDS_TITLE_APPEND_LIST, ListLoadAppend);
      break;
    case IDM_FILE_SAVE:
      SaveList(mainWindow, list);
      break;
    case IDM_FILE_SAVE_AS:
      SaveListAs(mainWindow, list);
      break;
    default:
      break;
  }
}

void UpdateWindowTitle(HWND window, const ObjectList& list) {
  char title[2 * kMaxPath + 8];
  LanguageString(IDS_APP_CAPTION, title, kMaxPath);
  if (!list.FileName().empty()) {
    char name[kMaxPath];
    lstrcpynA(name, FileNamePart(list.FileName().c_str()), sizeof name);
    UpperCaseName(name, sizeof name);
    size_t length = strlen(title);
    snprintf(title + length, sizeof title - length, " - %s", name);
  }
  SetWindowTextA(window, title);
}
