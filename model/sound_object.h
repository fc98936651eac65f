/*
 * The Sound Object: one playable entry of the list (a WAV, MIDI or AVI file,
 * an audio-CD track or a Pause object). Each record lives in its own
 * movable local-memory block; the list refers to it by that block's handle.
 */
#ifndef WENDLE_SOUND_OBJECT_H
#define WENDLE_SOUND_OBJECT_H

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/sound_object_handle.h"
#include "model/sound_object_kind.h"

struct SoundObject {
  uint32_t flags;
  HLOCAL description;    // text block or none
  HLOCAL fileName;       // upper-case path, a Pause object's label, or none
  uint8_t trackNumber;   // CD track 1..CdTrackCount; 0 for other kinds
  uint8_t playFailed;    // the last try to play it failed (its row shows it)
  uint16_t baseFolder;   // what a file name without a folder is relative to
                         // (object_paths.h); 0 for none
  uint32_t repeatCount;  // extra plays during Play All
  uint32_t postDelay;    // seconds after the object; a Pause object's duration
};

// Labels of Pause objects and the now-playing text read at most this many
// characters of their language-module formats.
constexpr int kShortFormatLength = 62;

// A fresh record with every field zero, or nullptr.
SoundObjectHandle AllocSoundObject();

// Gives a fresh record the flags, counts, track number and folder of
// values and copies of the texts (null for none). When memory runs out the
// record and every block are released and the result is false.
bool StoreSoundObject(SoundObjectHandle handle, const SoundObject& values, const std::string_view* description,
                      const std::string_view* fileName);

// A new record with the same fields and copies of its texts (the play
// mark cleared), or null.
SoundObjectHandle CopySoundObject(SoundObjectHandle handle);

// Releases the description, the file name and the record, in that order.
// 0 on success, non-zero on failure.
int FreeSoundObject(SoundObjectHandle handle);

// A WAV, MIDI, AVI or audio file object for a file (an upper-case path)
// with no description and zero counts, relative to folder when its name
// has no folder; null when memory runs out.
SoundObjectHandle MakeFileObject(uint32_t kind, const char* path, uint16_t folder);

// Notes whether the last try to play the object failed (its row shows it);
// true when that changed.
bool NotePlayResult(SoundObjectHandle handle, bool failed);

// The text a row of the list shows and holds: the description, else the
// file name (a Pause object's label), else for a CD track "Track:n".
void ObjectRowText(const SoundObject& record, char* text, size_t size);

// The text that announces the object when it starts playing.
void PlayingText(const SoundObject& record, char* text, size_t size);

#endif
