#include "model/object_paths.h"

#include <windows.h>

#include <cstdio>

bool IsRelativePath(std::string_view path) {
  if (path.empty() || path[0] == '\\' || path[0] == '/') return false;
  return !(path.size() > 1 && path[1] == ':');
}

bool JoinObjectPath(const char* name, const std::string& folder, char* path, size_t size) {
  if (size) path[0] = '\0';
  if (!name[0] || !size) return false;
  char joined[1024];
  if (IsRelativePath(name) && !folder.empty()) {
    const char* separator = folder.back() != '\\' ? "\\" : "";
    int length = snprintf(joined, sizeof joined, "%s%s%s", folder.c_str(), separator, name);
    if (length < 0 || static_cast<size_t>(length) >= sizeof joined) return false;
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
