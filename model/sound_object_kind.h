// The kinds of Sound Object and the other bits of a record's flags.
// Platform-neutral: the list-file format uses it too.
#ifndef WENDLE_SOUND_OBJECT_KIND_H
#define WENDLE_SOUND_OBJECT_KIND_H

#include <cstdint>

enum SoundObjectKind : uint32_t {
  Wave = 1,
  Midi = 2,
  CdTrack = 4,
  Pause = 8,
  Video = 16,
  // A compressed sound file (MP3, Ogg, FLAC...). Bit 5 was once an unused
  // flag bit: it names this kind only when none of the bits above is set,
  // so records written before keep the kind they had.
  AudioFile = 32,
};

constexpr uint32_t kKindBits = 0x0000001F;
constexpr uint32_t PlayedMark = 0x00008000;
// Assigning a kind clears the kind bits and bits 16-31; bits 5-15 stay.
constexpr uint32_t kKeptFlagBits = 0x0000FFE0;

// The kind of a record's flags: its kind bits (kKindBits) when any is set,
// else AudioFile when bit 5 is, else 0.
uint32_t ObjectKind(uint32_t flags);

// The kindBitmaps entry for flags: Wave 0, Midi 1, Pause 2, CdTrack 3,
// Video 4 (Pause comes before CdTrack), AudioFile 5. Bits 6-15 do not
// matter, nor bit 5 beside another kind; -1 when the kind is not exactly
// one kind or any of bits 16-31 is set.
int KindBitmapIndex(uint32_t flags);

// The file kind of object a name's extension names (Wave, Midi, Video or
// AudioFile), by the program's own extension test; 0 for any other name.
uint32_t KindOfFileName(const char* name);

#endif
