// Which kind of media file a name stands for, judged by its last three
// characters, or for a compressed sound file by its extension. Platform-neutral.
#ifndef WENDLE_FILE_KIND_H
#define WENDLE_FILE_KIND_H

enum FileKind {
  FileKindNoName = -1,    // no name, or an empty one
  FileKindTooShort = -2,  // fewer than five characters
  FileKindUnknown = -3,
  FileKindWave = 1,
  FileKindMidi = 2,
  FileKindVideo = 3,
  FileKindAudio = 4,  // .mp3 .wma .flac .ogg .oga .opus .m4a .aac
};

// The character before the three need not be a dot: "NOTEWAV" is a WAV name.
// A compressed sound file's extension needs its dot: "NOTEMP3" is none.
int GetFileKind(const char* name);

#endif
