#include "shell/recent_lists.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "resources/ids.h"
#include "settings/settings.h"
#include "settings/settings_record.h"
#include "storage/list_file.h"
#include "support/language.h"

namespace {

// A path longer than this shows its drive, "..." and its last folders.
constexpr size_t kMaxShownPath = 60;

HMENU FileMenu(HWND mainWindow) {
  HMENU menu = GetMenu(mainWindow);
  return menu ? GetSubMenu(menu, 0) : nullptr;
}

bool IsSeparator(HMENU menu, int position) {
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_FTYPE;
  return GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item) && (item.fType & MFT_SEPARATOR);
}

int PositionOf(HMENU menu, UINT id) {
  int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position)
    if (GetMenuItemID(menu, position) == id) return position;
  return -1;
}

// The path as a menu shows it: shortened in its middle, "&" doubled so it
// marks no key.
std::string MenuPath(const std::string& path) {
  std::string shown = path;
  if (shown.size() > kMaxShownPath) {
    size_t keep = shown.size() - (kMaxShownPath - 6);
    size_t cut = shown.find('\\', keep);
    if (cut == std::string::npos) cut = shown.rfind('\\');
    if (cut != std::string::npos && cut > 3) shown = shown.substr(0, 3) + "..." + shown.substr(cut);
  }
  std::string escaped;
  for (char c : shown) {
    if (c == '&') escaped += '&';
    escaped += c;
  }
  return escaped;
}

// The menu's items: the old ones out (with the separator they brought),
// the lists in above Exit, then a separator of their own.
void RebuildMenu(HWND mainWindow, const std::vector<std::string>& paths) {
  HMENU menu = FileMenu(mainWindow);
  if (!menu) return;
  for (UINT id = IDM_RECENT_LIST_FIRST; id <= IDM_RECENT_LIST_LAST; ++id) DeleteMenu(menu, id, MF_BYCOMMAND);
  int exit = PositionOf(menu, IDM_FILE_EXIT);
  if (exit < 0) return;
  if (exit >= 2 && IsSeparator(menu, exit - 1) && IsSeparator(menu, exit - 2)) {
    DeleteMenu(menu, static_cast<UINT>(exit - 1), MF_BYPOSITION);
    --exit;
  }
  if (paths.empty()) return;
  char format[32];
  LanguageString(IDS_FMT_RECENT_ITEM, format, sizeof format);
  UINT position = static_cast<UINT>(exit);
  for (size_t i = 0; i < paths.size() && i < static_cast<size_t>(kRecentListCount); ++i) {
    char text[kMaxShownPath * 2 + 40];
    snprintf(text, sizeof text, format, static_cast<unsigned>(i + 1), MenuPath(paths[i]).c_str());
    InsertMenuA(menu, position++, MF_BYPOSITION | MF_STRING, IDM_RECENT_LIST_FIRST + i, text);
  }
  InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

}  // namespace

void ShowRecentLists(HWND mainWindow) { RebuildMenu(mainWindow, LoadRecentLists()); }

void NoteRecentList(HWND mainWindow, const std::string& path) {
  if (path.empty()) return;
  std::vector<std::string> paths = LoadRecentLists();
  std::vector<std::string> updated{path};
  for (const std::string& other : paths)
    if (!SamePath(other, path) && updated.size() < static_cast<size_t>(kRecentListCount)) updated.push_back(other);
  if (updated != paths) SaveRecentLists(updated);
  RebuildMenu(mainWindow, updated);
}

bool RecentListPath(HWND mainWindow, int command, std::string* path) {
  std::vector<std::string> paths = LoadRecentLists();
  const size_t index = static_cast<size_t>(command - IDM_RECENT_LIST_FIRST);
  if (index >= paths.size()) {
    RebuildMenu(mainWindow, paths);
    return false;
  }
  *path = paths[index];
  if (GetFileAttributesA(path->c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  ShowFormattedMessage(mainWindow, IDS_FMT_RECENT_MISSING, MB_ICONEXCLAMATION, path->c_str());
  paths.erase(paths.begin() + static_cast<std::ptrdiff_t>(index));
  SaveRecentLists(paths);
  RebuildMenu(mainWindow, paths);
  return false;
}

void RememberLastList(const ObjectList& list, int selected) {
  // A list without a file of its own cannot be opened again.
  SaveLastList(list.FileOwned() ? list.FileName() : std::string(), list.FileOwned() ? selected : -1);
}

bool LastListCommandLine(char* line, size_t size, int* selected) {
  *selected = -1;
  if (!g_settings.openLastList) return false;
  std::string path;
  LoadLastList(&path, selected);
  if (path.empty()) return false;
  int written = snprintf(line, size, "\"%s\"", path.c_str());
  return written > 0 && static_cast<size_t>(written) < size;
}
