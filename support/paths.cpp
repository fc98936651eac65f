#include "support/paths.h"

#include <cstdio>
#include <cstring>

const char* FileNamePart(const char* path) {
  const char* slash = strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

void FolderOfPath(const char* path, char* folder, size_t size) {
  const char* slash = strrchr(path, '\\');
  const char* other = strrchr(path, '/');
  if (other > slash) slash = other;
  if (!slash) {
    snprintf(folder, size, "%s", ".");
    return;
  }
  // Keep the separator when it is the root's own: "C:\" or "\".
  bool root = slash == path || slash[-1] == ':';
  int length = static_cast<int>(slash - path) + (root ? 1 : 0);
  snprintf(folder, size, "%.*s", length, path);
}
