#include "model/sound_object_kind.h"

#include "model/file_kind.h"

uint32_t ObjectKind(uint32_t flags) {
  if (flags & kKindBits) return flags & kKindBits;
  return flags & AudioFile;
}

int KindBitmapIndex(uint32_t flags) {
  switch ((flags & 0xFFFF0000u) | ObjectKind(flags)) {
    case Wave:
      return 0;
    case Midi:
      return 1;
    case Pause:
      return 2;
    case CdTrack:
      return 3;
    case Video:
      return 4;
    case AudioFile:
      return 5;
    default:
      return -1;
  }
}

uint32_t KindOfFileName(const char* name) {
  switch (GetFileKind(name)) {
    case FileKindWave:
      return Wave;
    case FileKindMidi:
      return Midi;
    case FileKindVideo:
      return Video;
    case FileKindAudio:
      return AudioFile;
    default:
      return 0;
  }
}
