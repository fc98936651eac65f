#include "shell/list_commands.h"

#include <cstdio>
#include <string>
#include <vector>

#include "model/file_kind.h"
#include "playback/cd_audio.h"
#include "resources/ids.h"
#include "shell/file_commands.h"
#include "shell/list_view.h"
#include "storage/playlist_format.h"
#include "support/globals.h"
#include "playback/play_state.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"
#include "support/language.h"
#include "support/name_case.h"
#include "support/support_library.h"

namespace {

constexpr int kDropFormatLength = 63;
constexpr int kNameSize = 512;

}  // namespace

bool ListPlays() { return g_playback.playing || g_playback.playAllRunning; }

void RemoveSoundObject(ObjectList& list) {
  if (ListPlays()) return;
  int selected = SelectedIndex();
  if (selected >= 0) {
    bool confirmed =
        !(g_settings.confirmFlags & ConfirmObjectDelete) ||
        ShowMessage(g_globals.mainWindow, IDS_CONFIRM_REMOVE, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    // A hot key or another start may have begun playing while the question
    // was on screen.
    if (confirmed && !ListPlays()) list.Remove(selected);
  }
  SelectFirstItem();
}

int MoveTarget(const ObjectList& list, int command) {
  int selected = SelectedIndex();
  int count = list.Count();
  if (selected < 0 || selected >= count) return -1;
  int target;
  switch (command) {
    case IDM_MOVE_TOP:
      target = 0;
      break;
    case IDM_MOVE_UP:
      target = selected - 1;
      break;
    case IDM_MOVE_DOWN:
      target = selected + 1;
      break;
    case IDM_MOVE_BOTTOM:
      target = count - 1;
      break;
    default:
      return -1;
  }
  return target < 0 || target >= count || target == selected ? -1 : target;  // -1: nothing would change
}

void MoveSoundObject(ObjectList& list, int command) {
  int target = MoveTarget(list, command);
  if (target < 0 || ListPlays()) return;
  if (list.Move(SelectedIndex(), target)) SelectObject(target);
}

int AddFileObject(ObjectList& list, const char* path) {
  uint32_t kind;
  uint32_t needed;
  switch (GetFileKind(path)) {
    case FileKindWave:
      kind = Wave;
      needed = WaveAudio;
      break;
    case FileKindMidi:
      kind = Midi;
      needed = MidiAudio;
      break;
    case FileKindVideo:
      kind = Video;
      needed = AviVideo;
      break;
    case FileKindAudio:
      kind = AudioFile;
      needed = AudioFiles;
      break;
    default:
      return 0;
  }
  if (!(g_mediaCaps & needed)) return 0;
  SoundObjectHandle handle = MakeFileObject(kind, path, list.CurrentFolder());
  return handle && list.Insert(-1, handle) >= 0 ? 1 : 0;
}

void AddDroppedFiles(ObjectList& list, HDROP drop) {
  if (!drop) return;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  unsigned added = 0;
  bool refused = false;
  char name[kNameSize];
  // Other players' playlists add their entries, after the drop is done
  // with: each may have something to say.
  std::vector<std::string> playlists;
  list.BeginBatch();
  for (UINT i = 0; i < count; ++i) {
    // A name too long for the buffer would be cut into another file's name:
    // it is left out, and the user told.
    if (DragQueryFileA(drop, i, nullptr, 0) >= static_cast<UINT>(kNameSize)) {
      refused = true;
      continue;
    }
    DragQueryFileA(drop, i, name, sizeof name);
    if (PlaylistFormatOfName(name) != PlaylistFormat::None) {
      playlists.push_back(name);
      continue;
    }
    UpperCaseName(name, sizeof name);
    added += static_cast<unsigned>(AddFileObject(list, name));
  }
  list.EndBatch();
  DragFinish(drop);
  for (const std::string& playlist : playlists)
    added += AppendDroppedList(g_globals.mainWindow, list, playlist.c_str());
  if (refused) ShowMessage(g_globals.mainWindow, IDS_NAME_TOO_LONG, MB_ICONEXCLAMATION);
  char format[kDropFormatLength + 1];
  LanguageString(IDS_FMT_FILES_DROPPED, format, sizeof format);
  char text[kDropFormatLength + 16];
  snprintf(text, sizeof text, format, added);
  ResMessageBox(g_globals.mainWindow, LanguageModule(), text, MAKEINTRESOURCEA(IDS_APP_CAPTION), MB_ICONASTERISK);
}

void AddAllCdTracksCommand(ObjectList& list) {
  bool outOfMemory = false;
  AddAllCdTracks(list, &outOfMemory);
  if (outOfMemory) ShowMessage(g_globals.mainWindow, IDS_OUT_OF_MEMORY, MB_ICONEXCLAMATION);
  SelectFirstItem();
}
