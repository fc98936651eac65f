#include "shell/file_commands.h"

#include <commdlg.h>

#include <cstdio>
#include <string>

#include "resources/ids.h"
#include "shell/list_view.h"
#include "shell/recent_lists.h"
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
// The most playlist entries a message names one by one, and the bytes of
// each entry's text shown there.
constexpr size_t kMaxNamedEntries = 8;
constexpr size_t kMaxShownEntryText = 80;

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
  explicit ListFilter(UINT id = IDS_FILTER_LISTS) {
    LanguageString(id, text, sizeof text - 1);
    for (char& c : text)
      if (c == '|') c = '\0';
  }
  char text[512] = {};
};

// Save As's filter entries, in the order of IDS_FILTER_SAVE: the format
// each writes and the extension it gives a name typed without one.
struct SaveChoice {
  PlaylistFormat format;
  const char* extension;
};
constexpr SaveChoice kSaveChoices[] = {
    {PlaylistFormat::None, ".WDL"},
    {PlaylistFormat::M3u8, ".M3U8"},
    {PlaylistFormat::M3u, ".M3U"},
    {PlaylistFormat::Pls, ".PLS"},
};
constexpr DWORD kSaveChoiceCount = sizeof kSaveChoices / sizeof kSaveChoices[0];

// The Save As filter entry (from 1) that writes a list's file's format;
// a list read from a format Wendle does not write is offered M3U8, which
// keeps everything the list holds and every character of its names.
DWORD SaveChoiceOf(const std::string& path) {
  PlaylistFormat format = PlaylistFormatOfName(path);
  if (format == PlaylistFormat::Wpl || format == PlaylistFormat::Xspf) format = PlaylistFormat::M3u8;
  for (DWORD i = 0; i < kSaveChoiceCount; ++i)
    if (kSaveChoices[i].format == format) return i + 1;
  return 1;
}

// Appends the extension of the chosen filter entry to a name that holds no
// "." anywhere; 1 when appended, else 0.
int EnsureSaveExtension(char* path, size_t size, DWORD choice) {
  if (strchr(path, '.')) return 0;
  const char* extension = kSaveChoices[choice >= 1 && choice <= kSaveChoiceCount ? choice - 1 : 0].extension;
  size_t length = strnlen(path, size);
  if (length + strlen(extension) + 1 > size) return 0;  // no room: left as it is
  lstrcpynA(path + length, extension, static_cast<int>(size - length));
  return 1;
}

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
// *choice: the filter entry shown first, and the one chosen; folder: where
// it starts ("" for the current folder).
bool AskForNameToSave(HWND mainWindow, char* name, DWORD* choice, const char* folder) {
  LanguageText title(IDS_TITLE_SAVE_LIST);
  ListFilter filter(IDS_FILTER_SAVE);
  OPENFILENAMEA ofn = ListFileDialog(mainWindow, title, filter, name);
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
  ofn.nFilterIndex = *choice;
  ofn.lpstrInitialDir = folder;
  // The dialog gives a name typed without an extension that of the chosen
  // entry (lpstrDefExt only says that one is wanted).
  ofn.lpstrDefExt = kSaveChoices[*choice >= 1 && *choice <= kSaveChoiceCount ? *choice - 1 : 0].extension + 1;
  if (!GetSaveFileNameA(&ofn)) {
    ReportDialogFailure(mainWindow);
    return false;
  }
  *choice = ofn.nFilterIndex;
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

// Why a playlist's reading stopped and which entries were not taken, as
// lines after a message's first sentence; empty when there is nothing.
std::string PlaylistDetails(const ListFileResult& result) {
  std::string details;
  if (result.stop != PlaylistStop::None) {
    char reason[kTextBufferSize], line[kTextBufferSize + 64];
    LanguageString(IDS_PLAYLIST_STOP_FIRST + static_cast<UINT>(result.stop), reason, sizeof reason);
    if (result.stopLine) {
      char format[kTextBufferSize];
      LanguageString(IDS_FMT_PLAYLIST_STOPPED, format, sizeof format);
      snprintf(line, sizeof line, format, static_cast<unsigned>(result.stopLine), reason);
    } else {
      snprintf(line, sizeof line, "%s", reason);
    }
    details += "\n\n";
    details += line;
  }
  if (!result.refused.empty()) details += "\n";
  char format[128];
  LanguageString(IDS_FMT_REFUSED_ENTRY, format, sizeof format);
  size_t shown = 0;
  for (const PlaylistRefused& refused : result.refused) {
    if (shown == kMaxNamedEntries) break;
    char reason[kTextBufferSize];
    LanguageString(IDS_REFUSAL_FIRST + static_cast<UINT>(refused.reason), reason, sizeof reason);
    std::string text = refused.text.substr(0, kMaxShownEntryText);
    if (text.size() < refused.text.size()) text += "...";
    char line[kTextBufferSize + 128];
    snprintf(line, sizeof line, format, static_cast<unsigned>(refused.line), text.c_str(), reason);
    details += "\n";
    details += line;
    ++shown;
  }
  if (result.refusedCount > shown) {
    char more[kTextBufferSize];
    LanguageString(IDS_FMT_MORE_REFUSED, format, sizeof format);
    snprintf(more, sizeof more, format, static_cast<unsigned>(result.refusedCount - shown));
    details += "\n";
    details += more;
  }
  return details;
}

// What a read or a write came to, said in a message naming the file.
void ReportResult(HWND mainWindow, const char* path, const ListFileResult& result) {
  switch (result.status) {
    case ListFileResult::Done:
      // One message for everything a playlist could not give.
      if (result.playlist && (result.refusedCount > 0 || result.stop != PlaylistStop::None))
        ShowFormattedMessage(mainWindow, IDS_FMT_PLAYLIST_PARTLY, MB_ICONEXCLAMATION, path,
                             static_cast<unsigned>(result.refusedCount), PlaylistDetails(result).c_str());
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
    case ListFileResult::NothingTaken:
      ShowFormattedMessage(mainWindow, IDS_FMT_PLAYLIST_NOTHING, MB_ICONEXCLAMATION, path,
                           PlaylistDetails(result).c_str());
      break;
    case ListFileResult::NotWritable:
      ShowFormattedMessage(mainWindow, IDS_FMT_NOT_WRITABLE, MB_ICONEXCLAMATION, path);
      break;
  }
}

bool WriteList(HWND mainWindow, ObjectList& list, const char* path) {
  StatusProgress progress(IDS_FMT_ITEMS_WRITTEN);
  ListFileResult result = SaveListFile(list, path, &progress);
  ReportResult(mainWindow, path, result);
  if (result.ok()) NoteRecentList(mainWindow, path);
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
  // Opened, if only in part: the menu offers it again.
  char full[kMaxPath];
  if (mode == ListLoadOpen && result.status == ListFileResult::Done && FullListPath(path, full))
    NoteRecentList(mainWindow, full);
  return result.ok();
}

unsigned AppendDroppedList(HWND mainWindow, ObjectList& list, const char* path) {
  StatusProgress progress(IDS_FMT_ITEMS_READ);
  ListFileResult result = LoadListFile(list, path, ListLoadAppend, -1, &progress);
  UpdateWindowTitle(mainWindow, list);
  ReportResult(mainWindow, path, result);
  return result.objects;
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
  // A WPL or XSPF list is read, not written: its first Save is a Save As,
  // which offers an M3U8 playlist of the same name beside it.
  if (list.FileName().empty() || !WritableListName(list.FileName().c_str())) return SaveListAs(mainWindow, list);
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
  DWORD choice = SaveChoiceOf(list.FileName());
  if (!WritableListName(name)) {
    // The name without its extension: the dialog gives it the chosen one.
    if (char* dot = strrchr(name, '.')) *dot = '\0';
  }
  // The dialog starts in the folder of the list's file, where a name typed
  // without one lands.
  char folder[kMaxPath] = "";
  if (!list.FileName().empty()) FolderOfPath(list.FileName().c_str(), folder, sizeof folder);
  if (!AskForNameToSave(mainWindow, name, &choice, folder)) return false;
  char full[kMaxPath];
  bool extended = EnsureSaveExtension(name, sizeof name, choice) == 1;
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

void OpenRecentList(HWND mainWindow, ObjectList& list, int command) {
  std::string path;
  if (!RecentListPath(mainWindow, command, &path)) return;
  // Nothing of the list may be replaced while it plays: a hot key may have
  // started playing while the question was on screen.
  if (!AskToSaveChanges(list) || g_playback.playing || g_playback.playAllRunning) return;
  LoadList(mainWindow, list, path.c_str(), ListLoadOpen);
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
