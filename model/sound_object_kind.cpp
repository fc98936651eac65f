#include "model/sound_object_kind.h"

int KindBitmapIndex(uint32_t flags) {
  switch (flags & (0xFFFF0000u | kKindBits)) {
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
    default:
      return -1;
  }
}
