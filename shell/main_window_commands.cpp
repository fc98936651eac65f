// The main window's commands: menus, accelerators, ribbon and play buttons,
// list notifications and hot keys all arrive here, and each goes to the
// operation that does the work once the one predicate of command_state.h
// says the command is available.
#include "dialogs/object_dialogs.h"
#include "dialogs/option_dialogs.h"

#include "model/file_kind.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "playback/cd_audio.h"
#include "playback/media_control.h"
#include "playback/play_all.h"
#include "resources/ids.h"
#include "settings/settings.h"
#include "shell/button_ribbon.h"
#include "shell/command_state.h"
#include "shell/main_window.h"
#include "shell/playback_view.h"
#include "state/main_window_state.h"
#include "storage/cd_catalog.h"
#include "storage/file_commands.h"
#include "support/help.h"
#include "support/language.h"
#include "support/support_library.h"

namespace {

struct Command {
  int id;
  void (*run)(HWND window, LPARAM lParam);
};

void FocusList() { SetFocus(g_state.listBox); }

// Runs a dialog or action and then selects again the item that was selected.
template <typename Action>
void RestoringSelection(Action action) {
  int selected = SelectedIndex();
  action();
  SelectObject(selected);
  FocusList();
}

void New(HWND window, LPARAM) { RunFileCommand(window, IDM_FILE_NEW); }
void Open(HWND window, LPARAM) { RunFileCommand(window, IDM_FILE_OPEN); }
void Insert(HWND window, LPARAM) { RunFileCommand(window, IDM_FILE_INSERT); }
void Append(HWND window, LPARAM) { RunFileCommand(window, IDM_FILE_APPEND); }
void Save(HWND window, LPARAM) { RunFileCommand(window, IDM_FILE_SAVE); }
void SaveAs(HWND window, LPARAM) { RunFileCommand(window, IDM_FILE_SAVE_AS); }
void Exit(HWND window, LPARAM) { PostMessageA(window, WM_CLOSE, 0, 0); }

// The index after index, the first after the last.
int IndexAfter(int index) {
  int count = static_cast<int>(SendMessageA(g_state.listBox, LB_GETCOUNT, 0, 0));
  return index + 1 < count ? index + 1 : 0;
}

// Plays one object and waits for its end, then says how it went: why it
// could not be played (the text stays on the status bar), or Ready. The
// window stays usable meanwhile; the selection comes back after.
// Returns whether it played.
bool PlayAndReport(HWND window, const PlayFacts& facts, int selected) {
  DWORD error = PlayAndWait(facts);
  if (error)
    ReportPlayFailure(window, facts.text, error);
  else
    ShowStatusString(IDS_STATUS_READY);
  SendMessageA(g_state.listBox, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  FocusList();
  return error == 0;
}

// Play Selected: the selected object plays; its row shows whether it could.
void PlaySelected(HWND window, LPARAM) {
  int index = SelectedIndex();
  SoundObjectHandle handle = ObjectAt(index);
  PlayFacts facts;
  if (index < 0 || !TakePlayFacts(handle, &facts)) return;
  bool played = PlayAndReport(window, facts, index);
  // The list may have been replaced meanwhile (a second start): the mark
  // goes only to the object that played.
  if (ObjectAt(index) == handle && NotePlayResult(handle, !played)) InvalidateRect(g_state.listBox, nullptr, FALSE);
}

// Play All: nothing happens with an empty list; minimizes first when asked.
void PlayAll(HWND window, LPARAM) {
  if (SendMessageA(g_state.listBox, LB_GETCOUNT, 0, 0) <= 0) return;
  if (g_settings.preferenceFlags & MinimizeOnPlayAll) ShowWindow(window, SW_MINIMIZE);
  StartPlayAllRun();
  FocusList();
}

void StopSkip(HWND, LPARAM) {
  StopPlayback();
  FocusList();
}

// Pause/Resume: what plays holds, or goes on. A device that cannot hold
// plays on, and the menu keeps saying Pause.
void PauseResume(HWND, LPARAM) { TogglePause(); }

void StopAll(HWND, LPARAM) {
  StopPlayAllRun();
  FocusList();
}

// Browse: the chosen file plays as Play Selected would, without joining
// the list (an audition); Stop/Skip ends it.
void Browse(HWND window, LPARAM) {
  uint32_t caps = g_mediaCaps;
  int filter = BROWSE_WAV;
  if ((caps & WaveAudio) && (caps & MidiAudio))
    filter = (caps & AudioFiles) ? BROWSE_ALL_SOUNDS : BROWSE_WAV_AND_MIDI;
  else if (caps & MidiAudio)
    filter = BROWSE_MIDI;
  else if (caps & AudioFiles)
    filter = BROWSE_AUDIO;
  char path[kTextBufferSize] = "";
  int selected = SelectedIndex();
  if (!BrowseForFile(window, filter, path, 0)) return;
  PlayFacts audition;
  int fileKind = GetFileKind(path);
  audition.kind = fileKind == FileKindMidi ? Midi : fileKind == FileKindAudio ? AudioFile : Wave;
  audition.media.kind = audition.kind;
  lstrcpynA(audition.media.path, path, sizeof audition.media.path);
  lstrcpynA(audition.text, path, sizeof audition.text);
  PlayAndReport(window, audition, selected);
}

void Add(HWND window, LPARAM) {
  RestoringSelection([&] { AddSoundObjectDialog(window); });
}

void Remove(HWND, LPARAM) { RemoveSoundObject(); }

// Modify: the object's own dialog; then the next item is selected, so
// repeated Modify walks down the list.
void Modify(HWND window, LPARAM) {
  int index = SelectedIndex();
  if (index < 0) {
    ShowMessage(window, IDS_NOTHING_SELECTED, MB_ICONEXCLAMATION);
    return;
  }
  if (!ObjectAt(index)) return;
  ModifySoundObjectDialog(window, index);
  SelectObject(IndexAfter(index));
  FocusList();
}

void PlayAllMode(HWND window, LPARAM) {
  PlayAllModeDialog(window);
  ShowPlayListCount(window, g_settings.playListCount);
  ShowPlayOrder(window, g_settings.playOrder);
  FocusList();
}

void SetEditor(HWND window, LPARAM lParam) {
  RestoringSelection([&] { SoundEditorDialog(window, static_cast<int>(lParam)); });
}

// The editor opens on the selected object's file; nothing without one.
void RunEditor(HWND, LPARAM) {
  int index = SelectedIndex();
  if (index < 0) return;
  char path[kTextBufferSize] = "";
  bool hasFile = false;
  {
    LockedBlock<SoundObject> record(ObjectAt(index));
    if (record && record->fileName) hasFile = CopyTextBlock(record->fileName, path, sizeof path);
  }
  RunSoundFileEditor(hasFile ? path : nullptr);
  FocusList();
}

void Preferences(HWND window, LPARAM) {
  RestoringSelection([&] { PreferencesDialog(window); });
}
void Confirmations(HWND window, LPARAM) {
  RestoringSelection([&] { ConfirmationsDialog(window); });
}
void HotKeys(HWND window, LPARAM) {
  RestoringSelection([&] { HotKeysDialog(window); });
}
void Favorite(HWND, LPARAM) {
  RestoringSelection([] { SetFavoriteSelection(); });
}

void SavePosition(HWND window, LPARAM) {
  RestoringSelection(
      [&] { SaveWindowPlacement(window, LanguageText(IDS_REG_SETTINGS_KEY), LanguageText(IDS_REG_WINDOW_PLACEMENT)); });
}

void Catalog(HWND window, LPARAM) { CatalogActiveCd(window); }

void PlayNext(HWND window) {
  int selected = SelectedIndex();
  if (selected < 0) return;
  SendMessageA(g_state.listBox, LB_SETCURSEL, static_cast<WPARAM>(IndexAfter(selected)), 0);
  PostMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
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
void AddCdTracks(HWND, LPARAM) { AddAllCdTracksCommand(); }

void Help(HWND window, UINT context) {
  ShowStatusString(IDS_STATUS_HELP);
  OpenHelp(window, context);
}
void HelpIndex(HWND window, LPARAM) { Help(window, HELPCTX_INDEX); }
void HelpOverview(HWND window, LPARAM) { Help(window, HELPCTX_OVERVIEW); }
void HelpProcedures(HWND window, LPARAM) { Help(window, HELPCTX_PROCEDURES); }
void HelpUsing(HWND window, LPARAM) { Help(window, HELPCTX_USING_HELP); }
void HelpDistribution(HWND window, LPARAM) { Help(window, HELPCTX_DISTRIBUTION); }

void About(HWND window, LPARAM) {
  ShowAboutBox(window, g_state.languageModule, IDI_APP, IDS_APP_CAPTION, IDS_ABOUT_LINE1, IDS_ABOUT_LINE2,
               IDS_ABOUT_LINE3, 2);
  FocusList();
}

void Move(int command) { MoveSoundObject(command); }
void MoveTop(HWND, LPARAM) { Move(IDM_MOVE_TOP); }
void MoveUp(HWND, LPARAM) { Move(IDM_MOVE_UP); }
void MoveDown(HWND, LPARAM) { Move(IDM_MOVE_DOWN); }
void MoveBottom(HWND, LPARAM) { Move(IDM_MOVE_BOTTOM); }

const Command kCommands[] = {
    {IDM_FILE_NEW, New},
    {IDM_FILE_OPEN, Open},
    {IDM_FILE_INSERT, Insert},
    {IDM_FILE_APPEND, Append},
    {IDM_FILE_SAVE, Save},
    {IDM_FILE_SAVE_AS, SaveAs},
    {IDM_FILE_EXIT, Exit},
    {IDM_SOUND_PLAY_SELECTED, PlaySelected},
    {IDM_SOUND_PLAY_ALL, PlayAll},
    {IDM_SOUND_STOP_SKIP, StopSkip},
    {IDM_SOUND_BROWSE, Browse},
    {IDM_SOUND_ADD, Add},
    {IDM_SOUND_REMOVE, Remove},
    {IDM_SOUND_MODIFY, Modify},
    {IDM_SOUND_STOP_PLAY_ALL, StopAll},
    {IDM_SOUND_PAUSE, PauseResume},
    {IDM_OPT_PLAY_ALL_MODE, PlayAllMode},
    {IDM_OPT_SET_EDITOR, SetEditor},
    {IDM_OPT_RUN_EDITOR, RunEditor},
    {IDM_OPT_PREFERENCES, Preferences},
    {IDM_OPT_CONFIRMATIONS, Confirmations},
    {IDM_OPT_HOT_KEYS, HotKeys},
    {IDM_OPT_SET_FAVORITE, Favorite},
    {IDM_OPT_SAVE_WINDOW_POS, SavePosition},
    {IDM_OPT_CATALOG_CD, Catalog},
    {IDM_OPT_ADD_ALL_CD_TRACKS, AddCdTracks},
    {IDM_HELP_INDEX, HelpIndex},
    {IDM_HELP_OVERVIEW, HelpOverview},
    {IDM_HELP_PROCEDURES, HelpProcedures},
    {IDM_HELP_USING_HELP, HelpUsing},
    {IDM_HELP_DISTRIBUTION, HelpDistribution},
    {IDM_HELP_ABOUT, About},
    {IDM_MOVE_TOP, MoveTop},
    {IDM_MOVE_UP, MoveUp},
    {IDM_MOVE_DOWN, MoveDown},
    {IDM_MOVE_BOTTOM, MoveBottom},
};

// A list notification: a new selection shows the object on the status
// bar; a double click plays it.
void OnListNotification(HWND window, int code) {
  if (code == LBN_SELCHANGE) {
    int index = SelectedIndex();
    if (index >= 0) ShowObjectInfo(g_state.statusBar, ObjectAt(index));
  } else if (code == LBN_DBLCLK) {
    PostMessageA(window, WM_COMMAND, IDM_SOUND_PLAY_SELECTED, 0);
  }
}

// The play buttons (and two ribbon buttons) send their own ids.
int CommandOfControl(int id) {
  int command = ButtonCommand(id);
  return command ? command : id;
}

}  // namespace

void OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  int id = LOWORD(wParam);
  if (id == IDC_OBJECT_LIST) {
    OnListNotification(window, HIWORD(wParam));
    return;
  }
  id = CommandOfControl(id);
  if (!CommandAvailable(id)) return;
  for (const Command& command : kCommands) {
    if (command.id != id) continue;
    command.run(window, lParam);
    return;
  }
}

bool OnHotKey(HWND window, int id) {
  const bool running = g_state.playAllRunning != 0;
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
        StartPlayAllRun();  // the key does not look at the list: non-stop waits for items
      return true;
    case IDH_FAVORITE:
      PlayFavorite(window);
      return true;
    case IDH_PAUSE:
      OnCommand(window, IDM_SOUND_PAUSE, 0);
      return true;
    default:
      return false;
  }
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
