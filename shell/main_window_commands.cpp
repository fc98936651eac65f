// The main window's commands: menus, accelerators, ribbon and play buttons,
// list notifications and hot keys all arrive here, and each goes to the
// operation that does the work once the one predicate of command_state.h
// says the command is available.
#include <shobjidl.h>

#include "dialogs/object_dialogs.h"
#include "dialogs/option_dialogs.h"

#include <algorithm>
#include <vector>

#include "model/file_kind.h"
#include "model/list_order.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/cd_audio.h"
#include "playback/media_control.h"
#include "playback/play_all.h"
#include "resources/ids.h"
#include "settings/hot_keys.h"
#include "settings/settings.h"
#include "shell/button_ribbon.h"
#include "shell/buttons.h"
#include "shell/command_state.h"
#include "shell/main_window.h"
#include "shell/playback_view.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"
#include "support/language.h"
#include "shell/catalog_command.h"
#include "shell/clipboard_commands.h"
#include "shell/file_commands.h"
#include "shell/recent_lists.h"
#include "shell/list_commands.h"
#include "shell/list_view.h"
#include "shell/taskbar_button.h"
#include "shell/volume_control.h"
#include "support/help.h"
#include "support/support_library.h"

namespace {

ObjectList& List() { return MainView().list(); }

void FocusList() { SetFocus(MainView().window()); }

// Runs a dialog or action and then selects again the item that was selected.
template <typename Action>
void RestoringSelection(Action action) {
  const std::vector<int> rows = SelectedIndexes();
  action();
  MainView().SelectRows(rows);
  ShowSelectionInfo();
  FocusList();
}

// The index after index, the first after the last.
int IndexAfter(int index) { return index + 1 < List().Count() ? index + 1 : 0; }
// The index before index, the last before the first.
int IndexBefore(int index) { return index > 0 ? index - 1 : List().Count() - 1; }

// A media key's Previous plays the object that plays again from its start
// once this much of it has played (as most players do), else the one
// before it.
constexpr DWORD kRestartAfterMs = 3000;

// What a media key asked to play once the Play Selected in progress ends.
enum class AfterPlay { Nothing, Next, Previous, Again };
AfterPlay s_afterPlay = AfterPlay::Nothing;
// Play Selected plays (not a Browse audition): the media keys step from it.
bool s_playingSelected = false;

// Plays one object and waits for its end, then says how it went: why it
// could not be played (the text stays on the status bar), or Ready. The
// window stays usable meanwhile; the selection comes back after. Returns
// whether it played.
bool PlayAndReport(HWND window, const PlayFacts& facts, const std::vector<int>& selected) {
  DWORD error = PlayAndWait(facts);
  if (error)
    ReportPlayFailure(window, facts.text, error);
  else
    ShowStatusString(IDS_STATUS_READY);
  MainView().SelectRows(selected);
  FocusList();
  return error == 0;
}

// Play Selected: the selected objects play in order, one after the other
// (Stop/Skip goes on with the next); each row shows whether it could. A
// failure ends the run.
void PlaySelected(HWND window) {
  ObjectList& list = List();
  const std::vector<int> rows = SelectedIndexes();
  std::vector<SoundObjectHandle> handles;
  for (int row : rows) handles.push_back(list.At(row));
  s_afterPlay = AfterPlay::Nothing;
  s_playingSelected = true;
  SoundObjectHandle last = nullptr;
  for (SoundObjectHandle handle : handles) {
    // The list may have changed meanwhile (a second start opened another):
    // only objects still in it play, and the mark goes only to them.
    if (list.IndexOf(handle) < 0) continue;
    PlayFacts facts;
    if (!TakePlayFacts(list, handle, &facts)) break;
    if (facts.kind == Pause && facts.pauseSeconds == 0) facts.pauseSeconds = g_settings.pauseSeconds;
    bool played = PlayAndReport(window, facts, rows);
    int index = list.IndexOf(handle);
    if (index >= 0 && NotePlayResult(handle, !played)) list.NoteChanged(index);
    last = handle;
    // A media key's Next or Previous ends these plays and chooses the next.
    if (!played || s_afterPlay != AfterPlay::Nothing) break;
  }
  s_playingSelected = false;
  const AfterPlay after = s_afterPlay;
  s_afterPlay = AfterPlay::Nothing;
  const int index = last ? list.IndexOf(last) : -1;
  if (after == AfterPlay::Nothing || index < 0) return;
  MainView().SetSelection(after == AfterPlay::Next       ? IndexAfter(index)
                          : after == AfterPlay::Previous ? IndexBefore(index)
                                                         : index);
  PostMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
}

// Play All: nothing happens with an empty list; minimizes first when asked.
void PlayAll(HWND window) {
  if (List().Count() <= 0) return;
  if (g_settings.preferenceFlags & MinimizeOnPlayAll) ShowWindow(window, SW_MINIMIZE);
  StartPlayAllRun(CurrentPlayAllOptions());
  FocusList();
}

// Browse: the chosen file plays as Play Selected would, without joining
// the list (an audition); Stop/Skip ends it.
void Browse(HWND window) {
  uint32_t caps = g_mediaCaps;
  int filter = BROWSE_WAV;
  if ((caps & WaveAudio) && (caps & MidiAudio))
    filter = (caps & AudioFiles) ? BROWSE_ALL_SOUNDS : BROWSE_WAV_AND_MIDI;
  else if (caps & MidiAudio)
    filter = BROWSE_MIDI;
  else if (caps & AudioFiles)
    filter = BROWSE_AUDIO;
  char path[kTextBufferSize] = "";
  const std::vector<int> selected = SelectedIndexes();
  if (!BrowseForFile(window, filter, path, 0)) return;
  PlayFacts audition;
  int fileKind = GetFileKind(path);
  audition.kind = fileKind == FileKindMidi ? Midi : fileKind == FileKindAudio ? AudioFile : Wave;
  audition.media.kind = audition.kind;
  lstrcpynA(audition.media.path, path, sizeof audition.media.path);
  lstrcpynA(audition.text, path, sizeof audition.text);
  PlayAndReport(window, audition, selected);
}

// The repeat count and post delay of one object given to others, one
// edit with the dialog's own change.
void ShareCounts(ObjectList& list, SoundObjectHandle source, const std::vector<SoundObjectHandle>& others) {
  uint32_t repeatCount, postDelay;
  {
    LockedBlock<SoundObject> record(source);
    if (!record) return;
    repeatCount = record->repeatCount;
    postDelay = record->postDelay;
  }
  for (SoundObjectHandle other : others) {
    const int index = list.IndexOf(other);
    SoundObjectHandle copy = CopySoundObject(other);
    if (index < 0 || !copy) {
      FreeSoundObject(copy);
      continue;
    }
    {
      LockedBlock<SoundObject> record(copy);
      record->repeatCount = repeatCount;
      record->postDelay = postDelay;
    }
    list.Replace(index, copy);
  }
}

// Modify: the object's own dialog; then the next item is selected, so
// repeated Modify walks down the list. With several selected, the first
// one's dialog opens, and the repeat count and post delay it is given go
// to every selected object; they stay selected.
void Modify(HWND window) {
  ObjectList& list = List();
  const std::vector<int> rows = SelectedIndexes();
  if (rows.empty()) {
    ShowMessage(window, IDS_NOTHING_SELECTED, MB_ICONEXCLAMATION);
    return;
  }
  const int index = rows.front();
  SoundObjectHandle before = list.At(index);
  if (!before) return;
  if (rows.size() == 1) {
    ModifySoundObjectDialog(window, list, index);
    SelectListRow(IndexAfter(index));
    FocusList();
    return;
  }
  std::vector<SoundObjectHandle> others;
  for (size_t i = 1; i < rows.size(); ++i) others.push_back(list.At(rows[i]));
  list.BeginEdit();
  ModifySoundObjectDialog(window, list, index);
  SoundObjectHandle after = list.At(index);
  if (after != before && !ListPlays()) ShareCounts(list, after, others);
  list.EndEdit();
  MainView().SelectRows(rows);
  ShowSelectionInfo();
  FocusList();
}

// The text Find looked for last; Find Next looks for it again.
char g_findText[kTextBufferSize] = "";

// Find Next: the next object after the selected one that holds the text
// is selected alone; the user is told when none does.
void FindNext(HWND window) {
  if (!g_findText[0]) {
    PostMessageA(window, WM_COMMAND, IDM_EDIT_FIND, 0);
    return;
  }
  const int found = FindObject(List(), g_findText, SelectedIndex());
  if (found < 0) {
    ShowMessage(window, IDS_TEXT_NOT_FOUND, MB_ICONINFORMATION);
  } else {
    SelectListRow(found);
  }
  FocusList();
}

void Find(HWND window) {
  if (FindDialog(window, g_findText, sizeof g_findText)) FindNext(window);
  FocusList();
}

// Sort and Shuffle: the new order is one edit; the selection follows its
// objects.
void PutInOrder(ObjectList& list, const std::vector<uint32_t>& order) {
  if (ListPlays()) return;
  const std::vector<int> selected = SelectedIndexes();
  if (!list.Reorder(order)) return;
  // Where each object went: order names, for each new place, the old one.
  std::vector<int> placeOf(order.size());
  for (size_t i = 0; i < order.size(); ++i) placeOf[order[i]] = static_cast<int>(i);
  std::vector<int> rows;
  for (int row : selected)
    if (row >= 0 && static_cast<size_t>(row) < placeOf.size()) rows.push_back(placeOf[static_cast<size_t>(row)]);
  std::sort(rows.begin(), rows.end());
  MainView().SelectRows(rows);
  ShowSelectionInfo();
  FocusList();
}

void Sort(ObjectList& list, int command) {
  const int sort = command - IDM_SORT_DESCRIPTION;
  const SortKey keys[] = {SortKey::Description, SortKey::FileName, SortKey::Kind};
  PutInOrder(list, SortOrder(list, keys[sort / 2], sort % 2 != 0));
}

void Shuffle(ObjectList& list) {
  LARGE_INTEGER now = {};
  QueryPerformanceCounter(&now);
  PutInOrder(list, ShuffleOrder(list.Count(), static_cast<uint32_t>(now.QuadPart ^ (now.QuadPart >> 32))));
}

// Undo and Redo: the list as it was (or is again); the title's modified
// mark follows the list. The rows the step put back or moved are selected,
// as an editor shows what it undid; after a new order of the whole list,
// the first row.
void UndoOrRedo(ObjectList& list, bool undo) {
  if (ListPlays()) return;
  std::vector<int> rows;
  if (undo ? !list.Undo(&rows) : !list.Redo(&rows)) return;
  if (rows.empty()) {
    SelectFirstItem();
    return;
  }
  MainView().SelectRows(rows);
  ShowSelectionInfo();
  FocusList();
}

void PlayAllMode(HWND window) {
  PlayAllModeDialog(window);
  ShowPlayListCount(window, g_settings.playListCount);
  ShowPlayOrder(window, g_settings.playOrder);
  FocusList();
}

// The editor opens on the selected object's file, found where the list
// finds it; nothing without one.
void RunEditor() {
  const ObjectList& list = List();
  char path[kTextBufferSize] = "";
  bool hasFile = false;
  {
    LockedBlock<SoundObject> record(list.At(SelectedIndex()));
    if (record && record->fileName) hasFile = list.ResolvePath(*record, path, sizeof path);
  }
  RunSoundFileEditor(hasFile ? path : nullptr);
  FocusList();
}

void SavePosition(HWND window) {
  SaveWindowPlacement(window, LanguageText(IDS_REG_SETTINGS_KEY), LanguageText(IDS_REG_WINDOW_PLACEMENT));
}

void PlayNext(HWND window, bool previous = false) {
  int selected = SelectedIndex();
  if (selected < 0) return;
  MainView().SetSelection(previous ? IndexBefore(selected) : IndexAfter(selected));
  PostMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
}

// Next and Previous of the media keys: during Play All the run steps;
// during Play Selected the play ends and the step plays after it; else
// the item after or before the selected one plays.
void StepByMediaKey(HWND window, bool previous) {
  DWORD elapsedMs = 0;
  DWORD totalMs = 0;
  const bool again = previous && GetPlayTimes(&elapsedMs, &totalMs) && elapsedMs >= kRestartAfterMs;
  if (g_playback.playAllRunning) {
    if (previous)
      StepPlayAll(again ? PlayAllStep::Again : PlayAllStep::Back);
    else
      OnCommand(window, IDM_SOUND_STOP_SKIP, 0);
  } else if (s_playingSelected) {
    s_afterPlay = again ? AfterPlay::Again : previous ? AfterPlay::Previous : AfterPlay::Next;
    StopPlayback();
  } else if (CommandAvailable(IDM_SOUND_PLAY_SELECTED)) {
    PlayNext(window, previous);
  }
}

// The Favorite Selection plays at once, beside whatever plays; it touches
// no list object, so it plays under a modal window too. Without one, the
// user is asked to choose it (when choosing is available).
void PlayFavorite(HWND window) {
  char path[kTextBufferSize];
  ReadFavoriteSelection(path, sizeof path);
  if (path[0] != '*') {
    if (DWORD error = PlayFavoriteFile(path)) ReportPlayFailure(window, path, error);
    return;
  }
  if (CommandAvailable(IDM_OPT_SET_FAVORITE) &&
      ShowMessage(window, IDS_ASK_SET_FAVORITE, MB_YESNO | MB_ICONQUESTION) == IDYES)
    PostMessageA(window, WM_COMMAND, IDM_OPT_SET_FAVORITE, 0);
}

void Help(HWND window, UINT context) {
  ShowStatusString(IDS_STATUS_HELP);
  OpenHelp(window, context);
}

void About(HWND window) {
  ShowAboutBox(window, LanguageModule(), IDI_APP, IDS_APP_CAPTION, IDS_ABOUT_LINE1, IDS_ABOUT_LINE2, IDS_ABOUT_LINE3,
               2);
  FocusList();
}

// One command, by its id: the one place that knows what each does.
void RunCommand(HWND window, int command, LPARAM lParam) {
  ObjectList& list = List();
  switch (command) {
    case IDM_FILE_NEW:
    case IDM_FILE_OPEN:
    case IDM_FILE_INSERT:
    case IDM_FILE_APPEND:
    case IDM_FILE_SAVE:
    case IDM_FILE_SAVE_AS:
      RunFileCommand(window, list, command);
      break;
    case IDM_FILE_EXIT:
      PostMessageA(window, WM_CLOSE, 0, 0);
      break;
    case IDM_RECENT_LIST_FIRST:
    case IDM_RECENT_LIST_FIRST + 1:
    case IDM_RECENT_LIST_FIRST + 2:
    case IDM_RECENT_LIST_FIRST + 3:
    case IDM_RECENT_LIST_FIRST + 4:
    case IDM_RECENT_LIST_FIRST + 5:
    case IDM_RECENT_LIST_FIRST + 6:
    case IDM_RECENT_LIST_LAST:
      OpenRecentList(window, list, command);
      break;
    case IDM_SOUND_PLAY_SELECTED:
      PlaySelected(window);
      break;
    case IDM_SOUND_PLAY_ALL:
      PlayAll(window);
      break;
    case IDM_SOUND_STOP_SKIP:
      StopPlayback();
      FocusList();
      break;
    case IDM_SOUND_BROWSE:
      Browse(window);
      break;
    case IDM_SOUND_ADD:
      RestoringSelection([&] { AddSoundObjectDialog(window, list, SelectedIndex()); });
      break;
    case IDM_SOUND_REMOVE:
      RemoveSoundObject(list);
      break;
    case IDM_SOUND_MODIFY:
      Modify(window);
      break;
    case IDM_SOUND_STOP_PLAY_ALL:
      StopPlayAllRun();
      FocusList();
      break;
    case IDM_SOUND_PAUSE:
      // A device that cannot hold plays on, and the menu keeps saying Pause.
      TogglePause();
      break;
    case IDM_SOUND_STOP_AFTER:
      SetStopAfterCurrent(!StopAfterCurrent());
      break;
    case IDM_SOUND_MUTE:
    case IDM_SOUND_VOLUME_UP:
    case IDM_SOUND_VOLUME_DOWN:
      RunVolumeCommand(window, command);
      break;
    case IDM_OPT_PLAY_ALL_MODE:
      PlayAllMode(window);
      break;
    case IDM_OPT_SET_EDITOR:
      RestoringSelection([&] { SoundEditorDialog(window, static_cast<int>(lParam)); });
      break;
    case IDM_OPT_RUN_EDITOR:
      RunEditor();
      break;
    case IDM_OPT_PREFERENCES:
      RestoringSelection([&] { PreferencesDialog(window); });
      TakeMediaKeys(window);  // as the preferences now say
      break;
    case IDM_OPT_CONFIRMATIONS:
      RestoringSelection([&] { ConfirmationsDialog(window); });
      break;
    case IDM_OPT_HOT_KEYS:
      RestoringSelection([&] { HotKeysDialog(window); });
      break;
    case IDM_OPT_SET_FAVORITE:
      RestoringSelection([] { SetFavoriteSelection(); });
      break;
    case IDM_OPT_SAVE_WINDOW_POS:
      RestoringSelection([&] { SavePosition(window); });
      break;
    case IDM_OPT_CATALOG_CD:
      CatalogActiveCd(window, list);
      break;
    case IDM_OPT_ADD_ALL_CD_TRACKS:
      AddAllCdTracksCommand(list);
      break;
    case IDM_HELP_INDEX:
      Help(window, HELPCTX_INDEX);
      break;
    case IDM_HELP_OVERVIEW:
      Help(window, HELPCTX_OVERVIEW);
      break;
    case IDM_HELP_PROCEDURES:
      Help(window, HELPCTX_PROCEDURES);
      break;
    case IDM_HELP_USING_HELP:
      Help(window, HELPCTX_USING_HELP);
      break;
    case IDM_HELP_DISTRIBUTION:
      Help(window, HELPCTX_DISTRIBUTION);
      break;
    case IDM_HELP_ABOUT:
      About(window);
      break;
    case IDM_MOVE_TOP:
    case IDM_MOVE_UP:
    case IDM_MOVE_DOWN:
    case IDM_MOVE_BOTTOM:
      MoveSoundObject(list, command);
      break;
    case IDM_EDIT_UNDO:
    case IDM_EDIT_REDO:
      UndoOrRedo(list, command == IDM_EDIT_UNDO);
      break;
    case IDM_EDIT_CUT:
      CutSoundObjects(window, list);
      break;
    case IDM_EDIT_COPY:
      CopySoundObjects(window, list);
      FocusList();
      break;
    case IDM_EDIT_PASTE:
      PasteSoundObjects(window, list);
      break;
    case IDM_EDIT_FIND:
      Find(window);
      break;
    case IDM_EDIT_FIND_NEXT:
      FindNext(window);
      break;
    case IDM_SORT_DESCRIPTION:
    case IDM_SORT_DESCRIPTION_DOWN:
    case IDM_SORT_FILE_NAME:
    case IDM_SORT_FILE_NAME_DOWN:
    case IDM_SORT_KIND:
    case IDM_SORT_KIND_DOWN:
      Sort(list, command);
      break;
    case IDM_EDIT_SHUFFLE:
      Shuffle(list);
      break;
    case IDM_EDIT_SELECT_ALL:
      if (list.Count() > 0) {
        SendMessageA(MainView().window(), LB_SETSEL, TRUE, -1);
        ShowSelectionInfo();
        FocusList();
      }
      break;
    default:
      break;
  }
}

// A list notification: a new selection shows the object on the status
// bar; a double click plays it.
void OnListNotification(HWND window, int code) {
  if (code == LBN_SELCHANGE) {
    ShowSelectionInfo();
  } else if (code == LBN_DBLCLK) {
    PostMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
  }
}

// The play buttons (and two ribbon buttons) send their own ids; the mute
// button is the Mute command.
int CommandOfControl(int id) {
  if (id == IDC_MUTE_BUTTON) return IDM_SOUND_MUTE;
  int command = ButtonCommand(id);
  return command ? command : id;
}

}  // namespace

void OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  int id = LOWORD(wParam);
  // A button of the taskbar button's thumbnail toolbar: as its media key.
  if (HIWORD(wParam) == THBN_CLICKED) {
    if (int key = ThumbButtonMediaKey(id)) OnMediaKey(window, key);
    return;
  }
  if (id == IDC_OBJECT_LIST) {
    OnListNotification(window, HIWORD(wParam));
    return;
  }
  id = CommandOfControl(id);
  if (CommandAvailable(id)) RunCommand(window, id, lParam);
}

bool OnHotKey(HWND window, int id) {
  const bool running = g_playback.playAllRunning != 0;
  switch (id) {
    case IDH_PLAY_NEXT:
      // During Play All: skip to the next object. Otherwise the next item
      // (the first after the last) is selected and plays.
      if (running)
        OnCommand(window, IDM_SOUND_STOP_SKIP, 0);
      else if (CommandAvailable(IDM_SOUND_PLAY_SELECTED))
        PlayNext(window);
      return true;
    case IDH_PLAY_ALL:
      if (running)
        OnCommand(window, IDM_SOUND_STOP_PLAY_ALL, 0);
      else if (CommandAvailable(IDM_SOUND_PLAY_ALL))
        StartPlayAllRun(CurrentPlayAllOptions());  // the key does not look at the list: non-stop waits for items
      return true;
    case IDH_FAVORITE:
      PlayFavorite(window);
      return true;
    case IDH_PAUSE:
      OnCommand(window, IDM_SOUND_PAUSE, 0);
      return true;
    case IDH_MEDIA_PLAY_PAUSE:
      return OnMediaKey(window, APPCOMMAND_MEDIA_PLAY_PAUSE);
    case IDH_MEDIA_STOP:
      return OnMediaKey(window, APPCOMMAND_MEDIA_STOP);
    case IDH_MEDIA_NEXT:
      return OnMediaKey(window, APPCOMMAND_MEDIA_NEXTTRACK);
    case IDH_MEDIA_PREVIOUS:
      return OnMediaKey(window, APPCOMMAND_MEDIA_PREVIOUSTRACK);
    default:
      return false;
  }
}

bool OnMediaKey(HWND window, int command) {
  const bool running = g_playback.playAllRunning != 0;
  const bool paused = g_playback.paused != 0;
  const bool playing = g_playback.playing != 0;
  switch (command) {
    case APPCOMMAND_MEDIA_PLAY_PAUSE:
      // Nothing plays: Play All, as its button starts it.
      if (paused || playing)
        OnCommand(window, IDM_SOUND_PAUSE, 0);
      else if (!running)
        OnCommand(window, IDM_SOUND_PLAY_ALL, 0);
      return true;
    case APPCOMMAND_MEDIA_PLAY:
      if (paused)
        OnCommand(window, IDM_SOUND_PAUSE, 0);
      else if (!running && !playing)
        OnCommand(window, IDM_SOUND_PLAY_ALL, 0);
      return true;
    case APPCOMMAND_MEDIA_PAUSE:
      if (playing && !paused) OnCommand(window, IDM_SOUND_PAUSE, 0);
      return true;
    case APPCOMMAND_MEDIA_STOP:
      OnCommand(window, running ? IDM_SOUND_STOP_PLAY_ALL : IDM_SOUND_STOP_SKIP, 0);
      return true;
    case APPCOMMAND_MEDIA_NEXTTRACK:
    case APPCOMMAND_MEDIA_PREVIOUSTRACK:
      StepByMediaKey(window, command == APPCOMMAND_MEDIA_PREVIOUSTRACK);
      return true;
    default:
      return false;  // the volume keys and the rest are the system's
  }
}

void TakeMediaKeys(HWND window) {
  // Said once: the keys still work while Wendle is in front.
  static bool told = false;
  if (RegisterMediaKeys(window) || told) return;
  told = true;
  PostMessageA(window, WM_SETSTATUSTEXT, IDS_MEDIA_KEYS_TAKEN, 0);
}

void OnHelpRequest(HWND window, const HELPINFO* info) {
  if (!info) return;
  // F1 in an open menu: the contents, as F1 in the window.
  if (info->iContextType == HELPINFO_MENUITEM) {
    Help(window, HELPCTX_INDEX);
    return;
  }
  // F1 in a dialog box of this thread: what its Help button opens.
  HWND source = static_cast<HWND>(info->hItemHandle);
  HWND dialog = source && IsWindow(source) ? GetAncestor(source, GA_ROOT) : nullptr;
  if (!dialog || dialog == window || GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId()) return;
  HWND button = GetDlgItem(dialog, IDC_HELP_BUTTON);
  if (button && IsWindowVisible(button) && IsWindowEnabled(button))
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_HELP_BUTTON, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}
