#include "model/sound_object.h"

#include <cstdio>
#include <cstring>

#include "model/local_memory.h"
#include "model/object_paths.h"
#include "resources/ids.h"
#include "support/language.h"

namespace {

// "Track:7": a track without a description.
void TrackText(uint8_t track, char* text, size_t size) {
  char format[32];
  LanguageString(IDS_FMT_TRACK_ROW, format, sizeof format);
  snprintf(text, size, format, static_cast<unsigned>(track));
}

}  // namespace

bool StoreSoundObject(SoundObjectHandle handle, const SoundObject& values, const std::string_view* description,
                      const std::string_view* fileName) {
  HLOCAL descriptionBlock = description ? AllocTextBlock(description->data(), description->size()) : nullptr;
  HLOCAL fileNameBlock = fileName ? AllocTextBlock(fileName->data(), fileName->size()) : nullptr;
  bool stored = false;
  if ((!description || descriptionBlock) && (!fileName || fileNameBlock)) {
    LockedBlock<SoundObject> record(handle);
    if (record) {
      record->flags = values.flags;
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

SoundObjectHandle CopySoundObject(SoundObjectHandle handle) {
  LockedBlock<SoundObject> source(handle);
  if (!source) return nullptr;
  // The texts are read in place: a block holds its text and its end.
  LockedBlock<char> description(source->description);
  LockedBlock<char> fileName(source->fileName);
  std::string_view descriptionText(description ? description.get() : "");
  std::string_view fileNameText(fileName ? fileName.get() : "");
  SoundObjectHandle copy = AllocSoundObject();
  if (!copy) return nullptr;
  return StoreSoundObject(copy, *source, description ? &descriptionText : nullptr, fileName ? &fileNameText : nullptr)
             ? copy
             : nullptr;
}

SoundObjectHandle MakeFileObject(uint32_t kind, const char* path, uint16_t folder) {
  SoundObjectHandle handle = AllocSoundObject();
  if (!handle) return nullptr;
  SoundObject values = {};
  values.flags = kind;
  std::string_view name(path);
  if (IsRelativePath(name)) values.baseFolder = folder;
  return StoreSoundObject(handle, values, nullptr, &name) ? handle : nullptr;
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
      TrackText(record.trackNumber, text, size);
  } else if (record.flags & Pause) {
    char format[kShortFormatLength + 1] = "";
    LanguageString(IDS_FMT_PAUSE_PLAYING, format, sizeof format);
    snprintf(text, size, format, record.postDelay);
  } else if (!record.fileName || !CopyTextBlock(record.fileName, text, size) || !text[0]) {
    LanguageString(IDS_UNTITLED, text, static_cast<int>(size));  // an empty name too
  }
}

void ObjectRowText(const SoundObject& record, char* text, size_t size) {
  if (size == 0) return;
  if (record.description && CopyTextBlock(record.description, text, size) && text[0]) return;
  if (record.fileName && CopyTextBlock(record.fileName, text, size) && text[0]) return;
  if (record.flags & CdTrack)
    TrackText(record.trackNumber, text, size);
  else
    text[0] = '\0';
}
