#include "model/file_kind.h"

#include <cstring>

namespace {

bool EndsWithIgnoringCase(const char* tail, const char* extension) {
  for (int i = 0; i < 3; ++i) {
    char c = tail[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != extension[i]) return false;
  }
  return true;
}

}  // namespace

int GetFileKind(const char* name) {
  if (!name || !*name) return FileKindNoName;
  size_t length = strlen(name);
  if (length < 5) return FileKindTooShort;
  const char* tail = name + length - 3;
  if (EndsWithIgnoringCase(tail, "WAV")) return FileKindWave;
  if (EndsWithIgnoringCase(tail, "MID")) return FileKindMidi;
  if (EndsWithIgnoringCase(tail, "AVI")) return FileKindVideo;
  return FileKindUnknown;
}
