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
  const std::vector<int> rows = SelectedIndexes();
  if (!rows.empty()) {
    bool confirmed =
        !(g_settings.confirmFlags & ConfirmObjectDelete) ||
        ShowMessage(g_globals.mainWindow, IDS_CONFIRM_REMOVE, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    // A hot key or another start may have begun playing while the question
    // was on screen.
    if (confirmed && !ListPlays()) RemoveRows(list, rows);
  }
  SelectFirstItem();
}

void RemoveRows(ObjectList& list, const std::vector<int>& rows) {
  // From the bottom up, a run of neighbours at a time: the rows above keep
  // their indexes. One edit, as Undo takes it back.
  list.BeginBatch();
  size_t end = rows.size();
  while (end > 0) {
    size_t first = end - 1;
    while (first > 0 && rows[first - 1] == rows[first] - 1) --first;
    list.RemoveRange(rows[first], static_cast<int>(end - first));
    end = first;
  }
  list.EndBatch();
}

std::vector<RowMove> PlanMove(int count, const std::vector<int>& rows, int command, std::vector<int>* after) {
  std::vector<RowMove> moves;
  std::vector<int> placed = rows;
  const int selected = static_cast<int>(rows.size());
  switch (command) {
    case IDM_MOVE_TOP:
      // Each row goes below the ones moved before it: the rows not yet
      // moved keep their indexes.
      for (int i = 0; i < selected; ++i) {
        if (rows[i] != i) moves.push_back({rows[i], i});
        placed[i] = i;
      }
      break;
    case IDM_MOVE_BOTTOM:
      for (int i = selected - 1; i >= 0; --i) {
        const int to = count - selected + i;
        if (rows[i] != to) moves.push_back({rows[i], to});
        placed[i] = to;
      }
      break;
    case IDM_MOVE_UP: {
      // A row at the top, or below a row that could not move, stays.
      int limit = 0;
      for (int i = 0; i < selected; ++i) {
        if (rows[i] > limit) {
          moves.push_back({rows[i], rows[i] - 1});
          placed[i] = rows[i] - 1;
        } else {
          limit = rows[i] + 1;
        }
      }
      break;
    }
    case IDM_MOVE_DOWN: {
      int limit = count - 1;
      for (int i = selected - 1; i >= 0; --i) {
        if (rows[i] < limit) {
          moves.push_back({rows[i], rows[i] + 1});
          placed[i] = rows[i] + 1;
        } else {
          limit = rows[i] - 1;
        }
      }
      break;
    }
    default:
      break;
  }
  if (after) *after = placed;
  return moves;
}

int MoveTarget(const ObjectList& list, int command) {
  const std::vector<RowMove> moves = PlanMove(list.Count(), SelectedIndexes(), command, nullptr);
  return moves.empty() ? -1 : moves.front().to;  // -1: nothing would change
}

void MoveSoundObject(ObjectList& list, int command) {
  if (ListPlays()) return;
  std::vector<int> after;
  const std::vector<RowMove> moves = PlanMove(list.Count(), SelectedIndexes(), command, &after);
  if (moves.empty()) return;
  list.BeginBatch();
  for (const RowMove& move : moves) list.Move(move.from, move.to);
  list.EndBatch();
  if (HasMainView()) MainView().SelectRows(after);
  ShowSelectionInfo();
}

int AddFileObject(ObjectList& list, const char* path) { return AddFileObjectAt(list, path, -1); }

int AddFileObjectAt(ObjectList& list, const char* path, int index) {
  uint32_t kind = KindOfFileName(path);
  if (!kind || !(g_mediaCaps & DeviceOfKind(kind))) return 0;
  SoundObjectHandle handle = MakeFileObject(kind, path, list.CurrentFolder());
  return handle && list.Insert(index, handle) >= 0 ? 1 : 0;
}

int DropRow(HDROP drop) {
  POINT point = {};
  if (!drop || !HasMainView() || !g_globals.mainWindow) return -1;
  DragQueryPoint(drop, &point);
  HWND listBox = MainView().window();
  MapWindowPoints(g_globals.mainWindow, listBox, &point, 1);
  RECT client = {};
  GetClientRect(listBox, &client);
  if (!PtInRect(&client, point)) return -1;
  const LRESULT height = SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0);
  if (height <= 0) return -1;
  const int row = static_cast<int>(SendMessageA(listBox, LB_GETTOPINDEX, 0, 0) + point.y / height);
  return row < MainView().list().Count() ? row : -1;
}

int GapAtPoint(HWND listBox, int y) {
  const LRESULT height = SendMessageA(listBox, LB_GETITEMHEIGHT, 0, 0);
  const int count = static_cast<int>(SendMessageA(listBox, LB_GETCOUNT, 0, 0));
  if (height <= 0) return count;
  const int top = static_cast<int>(SendMessageA(listBox, LB_GETTOPINDEX, 0, 0));
  const int gap = top + (y + static_cast<int>(height) / 2) / static_cast<int>(height);
  return gap < 0 ? 0 : gap > count ? count : gap;
}

void MoveSelectionTo(ObjectList& list, int gap) {
  if (ListPlays() || !HasMainView()) return;
  const std::vector<int> rows = SelectedIndexes();
  if (rows.empty()) return;
  std::vector<int> above, below;
  for (int row : rows) (row < gap ? above : below).push_back(row);
  // The rows above the gap go down to end just before it, the last first;
  // then the rows below it come up after them, the first first. Neither
  // move disturbs a row still to come.
  list.BeginBatch();
  int to = gap - 1;
  for (auto it = above.rbegin(); it != above.rend(); ++it) list.Move(*it, to--);
  to = gap;
  for (int row : below) list.Move(row, to++);
  list.EndBatch();
  std::vector<int> placed;
  const int first = gap - static_cast<int>(above.size());
  for (size_t i = 0; i < rows.size(); ++i) placed.push_back(first + static_cast<int>(i));
  MainView().SelectRows(placed);
  ShowSelectionInfo();
}

void AddDroppedFiles(ObjectList& list, HDROP drop, int insertAt) {
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
    added += static_cast<unsigned>(AddFileObjectAt(list, name, insertAt < 0 ? -1 : insertAt + static_cast<int>(added)));
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
