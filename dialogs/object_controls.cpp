#include "dialogs/object_controls.h"

#include <cstdio>

#include "model/local_memory.h"
#include "model/object_paths.h"
#include "resources/ids.h"
#include "support/globals.h"
#include "settings/settings_record.h"
#include "support/language.h"
#include "support/name_case.h"

namespace {

// Reads a control's text; false when it is empty.
bool ReadControlText(HWND dialog, int id, char* text, int size) {
  text[0] = '\0';
  return GetDlgItemTextA(dialog, id, text, size) > 0;
}

UINT ReadControlNumber(HWND dialog, int id) { return GetDlgItemInt(dialog, id, nullptr, FALSE); }

// The label of a Pause object: the countdown format filled with its duration.
void FormatPauseLabel(uint32_t seconds, char* text, size_t size) {
  char format[kShortFormatLength + 1] = "";
  LanguageString(IDS_FMT_COUNTDOWN, format, sizeof format);
  snprintf(text, size, format, seconds);
}

// Releases a record's texts after a failed fill.
void ReleaseTexts(SoundObject* record) {
  if (record->description) FreeLocalBlock(record->description);
  if (record->fileName) FreeLocalBlock(record->fileName);
  record->description = record->fileName = nullptr;
}

// Stores text (upper-cased when asked; text is a kTextBufferSize buffer)
// as a new block in *field.
bool StoreText(HLOCAL* field, char* text, bool upperCase) {
  if (upperCase) UpperCaseName(text, kTextBufferSize);
  *field = AllocTextBlock(text);
  return *field != nullptr;
}

// The folder the previous object's name is relative to, when the dialog
// still shows that name unchanged.
bool KeptFolder(HWND dialog, SoundObjectHandle previous, uint16_t* folder) {
  if (!previous || SendDlgItemMessageA(dialog, IDC_SOUND_FILE, EM_GETMODIFY, 0, 0)) return false;
  LockedBlock<SoundObject> record(previous);
  if (!record) return false;
  *folder = record->baseFolder;
  return true;
}

bool FillFileObject(HWND dialog, ObjectList& list, SoundObject* record, SoundObjectHandle previous) {
  char text[kTextBufferSize];
  record->repeatCount = ReadControlNumber(dialog, IDC_REPEAT_COUNT);
  record->postDelay = ReadControlNumber(dialog, IDC_POST_DELAY);
  if (ReadControlText(dialog, IDC_DESCRIPTION, text, sizeof text) && !StoreText(&record->description, text, false))
    return false;
  if (ReadControlText(dialog, IDC_SOUND_FILE, text, sizeof text) && !StoreText(&record->fileName, text, true))
    return false;
  // A name typed without a folder is found where the list is, or, for a
  // list without a file, where the user was when adding it. A name left as
  // it was keeps its own folder.
  uint16_t folder = 0;
  if (IsRelativePath(text)) record->baseFolder = KeptFolder(dialog, previous, &folder) ? folder : list.CurrentFolder();
  return true;
}

bool FillCdTrackObject(HWND dialog, SoundObject* record) {
  char text[kTextBufferSize];
  record->trackNumber = static_cast<uint8_t>(ReadControlNumber(dialog, IDC_TRACK_NUMBER));
  record->repeatCount = ReadControlNumber(dialog, IDC_REPEAT_COUNT);
  record->postDelay = ReadControlNumber(dialog, IDC_POST_DELAY);
  if (ReadControlText(dialog, IDC_DESCRIPTION, text, sizeof text) && !StoreText(&record->description, text, false))
    return false;
  return true;
}

bool FillPauseObject(HWND dialog, SoundObject* record) {
  char label[kShortFormatLength * 2 + 16] = "";
  record->postDelay = ReadControlNumber(dialog, IDC_PAUSE_DURATION);
  FormatPauseLabel(record->postDelay, label, sizeof label);
  return StoreText(&record->fileName, label, false);
}

void SetControlText(HWND dialog, int id, HLOCAL block) {
  char text[kTextBufferSize];
  if (block && CopyTextBlock(block, text, sizeof text)) SetDlgItemTextA(dialog, id, text);
}

int InsertionIndex(int method, int selected) {
  switch (method) {
    case InsertAtTop:
      return 0;
    case InsertAtCurrent:
      return selected < 0 ? 0 : selected;
    default:
      return -1;
  }
}

}  // namespace

int FillSoundObject(HWND dialog, ObjectList& list, SoundObjectHandle handle, uint32_t kind,
                    SoundObjectHandle previous) {
  if (!handle) return 0;
  bool filled = true;
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return 0;
    record->flags = (record->flags & kKeptFlagBits) | kind;
    switch (kind) {
      case Wave:
      case Midi:
      case Video:
      case AudioFile:
        filled = FillFileObject(dialog, list, record.get(), previous);
        break;
      case CdTrack:
        filled = FillCdTrackObject(dialog, record.get());
        break;
      case Pause:
        filled = FillPauseObject(dialog, record.get());
        break;
      default:
        break;  // only the kind bits are set
    }
    if (!filled) ReleaseTexts(record.get());
  }
  // The record is unlocked before a failed one goes.
  if (!filled) FreeLocalBlock(handle);
  return filled ? 1 : 0;
}

void ShowSoundObjectInDialog(HWND dialog, const ObjectList& list, int index, int dialogKind) {
  LockedBlock<SoundObject> record(list.At(index));
  if (!record) return;
  switch (dialogKind) {
    case Wave:
    case Midi:
    case Video:
    case AudioFile:
      SetControlText(dialog, IDC_SOUND_FILE, record->fileName);
      SetControlText(dialog, IDC_DESCRIPTION, record->description);
      SetDlgItemInt(dialog, IDC_REPEAT_COUNT, record->repeatCount, FALSE);
      SetDlgItemInt(dialog, IDC_POST_DELAY, record->postDelay, FALSE);
      // What the program set is no change of the user's.
      SendDlgItemMessageA(dialog, IDC_SOUND_FILE, EM_SETMODIFY, FALSE, 0);
      break;
    case CdTrack:
      SetControlText(dialog, IDC_DESCRIPTION, record->description);
      SetDlgItemInt(dialog, IDC_TRACK_NUMBER, record->trackNumber, FALSE);
      SetDlgItemInt(dialog, IDC_REPEAT_COUNT, record->repeatCount, FALSE);
      SetDlgItemInt(dialog, IDC_POST_DELAY, record->postDelay, FALSE);
      break;
    case Pause:
      SetDlgItemInt(dialog, IDC_PAUSE_DURATION, record->postDelay, FALSE);
      break;
    default:
      break;
  }
}

int InsertSoundObject(HWND dialog, ObjectList& list, uint32_t kind, int replaceIndex, int method, int selected) {
  SoundObjectHandle handle = AllocSoundObject();
  if (!handle) {
    ShowMessage(dialog, IDS_OUT_OF_MEMORY, MB_ICONEXCLAMATION);
    return -1;
  }
  if (!FillSoundObject(dialog, list, handle, kind, list.At(replaceIndex))) return -1;
  if (replaceIndex >= 0) {
    if (list.Replace(replaceIndex, handle)) return replaceIndex;
    FreeSoundObject(handle);  // the object to replace is gone
    return -1;
  }
  return list.Insert(InsertionIndex(method, selected), handle);
}
