// Modify Sound Object: the kind dialog that fits the object at a list index.
#include "dialogs/object_dialogs.h"
#include "model/local_memory.h"
#include "model/object_list.h"
#include "resources/ids.h"

INT_PTR ModifySoundObjectDialog(HWND owner, ObjectList& list, int listIndex) {
  if (listIndex < 0) return 0;
  uint32_t flags;
  {
    LockedBlock<SoundObject> record(list.At(listIndex));
    if (!record) return 0;
    flags = record->flags;
  }
  // The dialogs carry the index in 15 bits; rather than open on another
  // object, tell the user how to reach this one.
  if (listIndex > kMaxModifyIndex) {
    DialogMessage(owner, IDS_MODIFY_INDEX_TOO_FAR, MB_ICONEXCLAMATION);
    return 0;
  }
  DialogParam param = ModifyModeParam(listIndex);
  if (flags & Pause) return PauseObjectDialog(owner, list, param);
  if (flags & CdTrack) return CdTrackDialog(owner, list, param);
  return SoundObjectDialog(owner, list, param);
}
