#include "model/sound_object.h"

#include <cstdio>
#include <cstring>

#include "model/local_memory.h"
#include "model/object_paths.h"
#include "resources/ids.h"
#include "state/main_window_state.h"
#include "support/name_case.h"

namespace {

// Reads a control's text; false when it is empty.
bool ReadControlText(HWND dialog, int id, char* text, int size) {
  text[0] = '\0';
  return GetDlgItemTextA(dialog, id, text, size) > 0;
}

UINT ReadControlNumber(HWND dialog, int id) { return GetDlgItemInt(dialog, id, nullptr, FALSE); }

// The label of a Pause object: the countdown format filled with its duration.
bool FormatPauseLabel(uint32_t seconds, char* text, size_t size) {
  char format[kShortFormatLength + 1] = "";
  if (!LoadStringA(g_state.languageModule, IDS_FMT_COUNTDOWN, format, sizeof format)) return false;
  snprintf(text, size, format, seconds);
  return true;
}

// Releases a record's texts and the record itself after a failed fill.
void ReleaseRecord(SoundObjectHandle handle, SoundObject* record) {
  if (record->description) FreeLocalBlock(record->description);
  if (record->fileName) FreeLocalBlock(record->fileName);
  record->description = record->fileName = nullptr;
  LocalUnlock(handle);
  FreeLocalBlock(handle);
}

// Stores text (upper-cased when asked; text is a kTextBufferSize buffer)
// as a new block in *field.
bool StoreText(HLOCAL* field, char* text, bool upperCase) {
  if (upperCase) UpperCaseName(text, kTextBufferSize);
  *field = AllocTextBlock(text);
  return *field != nullptr;
}

bool FillFileObject(HWND dialog, SoundObject* record, BOOL useDefaults, const char* defaultPath) {
  char text[kTextBufferSize];
  if (useDefaults) {
    record->repeatCount = 0;
    record->postDelay = 0;
    snprintf(text, sizeof text, "%s", defaultPath ? defaultPath : "");
    return StoreText(&record->fileName, text, true);
  }
  record->repeatCount = ReadControlNumber(dialog, IDC_REPEAT_COUNT);
  record->postDelay = ReadControlNumber(dialog, IDC_POST_DELAY);
  if (ReadControlText(dialog, IDC_DESCRIPTION, text, sizeof text) && !StoreText(&record->description, text, false))
    return false;
  if (ReadControlText(dialog, IDC_SOUND_FILE, text, sizeof text) && !StoreText(&record->fileName, text, true))
    return false;
  // A name typed without a folder is found where the list is, or, for a
  // list without a file, where the user was when adding it.
  if (IsRelativePath(text)) record->baseFolder = CurrentBaseFolder();
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

}  // namespace

HBITMAP KindBitmap(uint32_t flags) {
  int entry = KindBitmapIndex(flags);
  return entry >= 0 ? g_state.kindBitmaps[entry] : nullptr;
}

bool StoreSoundObject(SoundObjectHandle handle, const SoundObject& values, const std::string_view* description,
                      const std::string_view* fileName) {
  HLOCAL descriptionBlock = description ? AllocTextBlock(description->data(), description->size()) : nullptr;
  HLOCAL fileNameBlock = fileName ? AllocTextBlock(fileName->data(), fileName->size()) : nullptr;
  bool stored = false;
  if ((!description || descriptionBlock) && (!fileName || fileNameBlock)) {
    LockedBlock<SoundObject> record(handle);
    if (record) {
      record->flags = values.flags;
      record->bitmap = KindBitmap(values.flags);
      record->trackNumber = values.trackNumber;
      record->baseFolder = values.baseFolder;
      record->repeatCount = values.repeatCount;
      record->postDelay = values.postDelay;
      record->description = descriptionBlock;
      record->fileName = fileNameBlock;
      stored = true;
    }
  }
  if (!stored) {
    if (descriptionBlock) FreeLocalBlock(descriptionBlock);
    if (fileNameBlock) FreeLocalBlock(fileNameBlock);
    FreeLocalBlock(handle);
  }
  return stored;
}

SoundObjectHandle AllocSoundObject() { return AllocLocalBlock(sizeof(SoundObject)); }

int FillSoundObject(HWND dialog, SoundObjectHandle handle, uint32_t kind, BOOL useDefaults, const char* defaultPath) {
  if (!handle) return 0;
  auto* record = static_cast<SoundObject*>(LocalLock(handle));
  if (!record) return 0;
  record->flags = (record->flags & kKeptFlagBits) | kind;

  bool filled = true;
  if (HBITMAP bitmap = KindBitmap(kind)) record->bitmap = bitmap;
  switch (kind) {
    case Wave:
    case Midi:
    case Video:
    case AudioFile:
      filled = FillFileObject(dialog, record, useDefaults, defaultPath);
      break;
    case CdTrack:
      filled = FillCdTrackObject(dialog, record);
      break;
    case Pause:
      filled = FillPauseObject(dialog, record);
      break;
    default:
      break;  // only the kind bits are set
  }
  if (!filled) {
    ReleaseRecord(handle, record);
    return 0;
  }
  LocalUnlock(handle);
  return 1;
}

int FreeSoundObject(SoundObjectHandle handle) {
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return 1;
    if (record->description && !FreeLocalBlock(record->description)) return 1;
    record->description = nullptr;
    if (record->fileName && !FreeLocalBlock(record->fileName)) return 1;
    record->fileName = nullptr;
  }
  return FreeLocalBlock(handle) ? 0 : 1;
}

void ShowSoundObjectInDialog(HWND dialog, int listIndex, int dialogKind) {
  LRESULT data = SendMessageA(g_state.listBox, LB_GETITEMDATA, static_cast<WPARAM>(listIndex), 0);
  if (data == LB_ERR || data == 0) return;
  LockedBlock<SoundObject> record(reinterpret_cast<SoundObjectHandle>(data));
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

bool NotePlayResult(SoundObjectHandle handle, bool failed) {
  LockedBlock<SoundObject> record(handle);
  if (!record || (record->playFailed != 0) == failed) return false;
  record->playFailed = failed ? 1 : 0;
  return true;
}

void PlayingText(const SoundObject& record, char* text, size_t size) {
  if (size == 0) return;
  text[0] = '\0';
  if (record.flags & CdTrack) {
    if (!record.description || !CopyTextBlock(record.description, text, size))
      snprintf(text, size, "Track:%u", static_cast<unsigned>(record.trackNumber));
  } else if (record.flags & Pause) {
    char format[kShortFormatLength + 1] = "";
    LoadStringA(g_state.languageModule, IDS_FMT_PAUSE_PLAYING, format, sizeof format);
    snprintf(text, size, format, record.postDelay);
  } else if (!record.fileName || !CopyTextBlock(record.fileName, text, size) || !text[0]) {
    snprintf(text, size, "%s", "Untitled");  // an empty name too
  }
}

void ObjectRowText(const SoundObject& record, char* text, size_t size) {
  if (size == 0) return;
  if (record.description && CopyTextBlock(record.description, text, size) && text[0]) return;
  if (record.fileName && CopyTextBlock(record.fileName, text, size) && text[0]) return;
  if (record.flags & CdTrack)
    snprintf(text, size, "Track:%u", static_cast<unsigned>(record.trackNumber));
  else
    text[0] = '\0';
}
