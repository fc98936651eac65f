// The handle by which the list and the players refer to a Sound Object: its
// local-memory block.
#ifndef WENDLE_SOUND_OBJECT_HANDLE_H
#define WENDLE_SOUND_OBJECT_HANDLE_H

#include <windows.h>

typedef HLOCAL SoundObjectHandle;

#endif
