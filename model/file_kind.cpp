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

// The extensions of the compressed sound files MCI "mpegvideo" plays.
constexpr const char* kAudioExtensions[] = {".MP3", ".WMA", ".FLAC", ".OGG", ".OGA", ".OPUS", ".M4A", ".AAC"};

bool HasAudioExtension(const char* name, size_t length) {
  for (const char* extension : kAudioExtensions) {
    size_t size = strlen(extension);
    if (length <= size) continue;
    const char* tail = name + length - size;
    bool same = true;
    for (size_t i = 0; i < size && same; ++i) {
      char c = tail[i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      same = c == extension[i];
    }
    if (same) return true;
  }
  return false;
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
  if (HasAudioExtension(name, length)) return FileKindAudio;
  return FileKindUnknown;
}
