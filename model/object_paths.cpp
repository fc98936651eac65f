#include "model/object_paths.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "model/local_memory.h"
#include "state/main_window_state.h"
#include "support/paths.h"

namespace {

// Joins name to the numbered folder (none: the current folder) and makes
// the result whole, so ".." and "." are taken out.
bool Resolve(const char* name, uint16_t folder, char* path, size_t size) {
  path[0] = '\0';
  if (!name[0]) return false;
  char joined[2 * kTextBufferSize];
  if (IsRelativePath(name) && folder > 0 && folder <= g_state.baseFolders.size()) {
    const std::string& base = g_state.baseFolders[folder - 1];
    const char* separator = !base.empty() && base.back() != '\\' ? "\\" : "";
    snprintf(joined, sizeof joined, "%s%s%s", base.c_str(), separator, name);
  } else {
    snprintf(joined, sizeof joined, "%s", name);
  }
  DWORD length = GetFullPathNameA(joined, static_cast<DWORD>(size), path, nullptr);
  if (length == 0 || length >= size) {
    path[0] = '\0';
    return false;
  }
  return true;
}

}  // namespace

bool IsRelativePath(std::string_view path) {
  if (path.empty() || path[0] == '\\' || path[0] == '/') return false;
  return !(path.size() > 1 && path[1] == ':');
}

uint16_t BaseFolderNumber(const char* folder) {
  std::vector<std::string>& folders = g_state.baseFolders;
  for (size_t i = 0; i < folders.size(); ++i)
    if (lstrcmpiA(folders[i].c_str(), folder) == 0) return static_cast<uint16_t>(i + 1);
  if (folders.size() >= 0xFFFF) return 0;
  folders.emplace_back(folder);
  return static_cast<uint16_t>(folders.size());
}

uint16_t BaseFolderOfFile(const char* path) {
  char full[kTextBufferSize];
  DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
  if (length == 0 || length >= sizeof full) return 0;
  char folder[kTextBufferSize];
  FolderOfPath(full, folder, sizeof folder);
  return BaseFolderNumber(folder);
}

uint16_t CurrentBaseFolder() {
  if (g_state.currentListFile[0]) return BaseFolderOfFile(g_state.currentListFile);
  char folder[kTextBufferSize];
  DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
  return length > 0 && length < sizeof folder ? BaseFolderNumber(folder) : 0;
}

bool ResolveObjectPath(const SoundObject& record, char* path, size_t size) {
  char name[kTextBufferSize];
  if (!record.fileName || !CopyTextBlock(record.fileName, name, sizeof name)) {
    if (size) path[0] = '\0';
    return false;
  }
  return Resolve(name, record.baseFolder, path, size);
}

bool ResolveTypedPath(const char* name, char* path, size_t size) {
  return Resolve(name, IsRelativePath(name) ? CurrentBaseFolder() : 0, path, size);
}
