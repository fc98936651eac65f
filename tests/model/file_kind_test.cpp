#include <gtest/gtest.h>

#include "model/file_kind.h"
#include "model/sound_object_kind.h"

TEST(GetFileKind, JudgesByTheLastThreeCharactersIgnoringCase) {
  EXPECT_EQ(GetFileKind("A.WAV"), FileKindWave);
  EXPECT_EQ(GetFileKind("song.mid"), FileKindMidi);
  EXPECT_EQ(GetFileKind("CLIP.Avi"), FileKindVideo);
  EXPECT_EQ(GetFileKind("NOTEWAV"), FileKindWave);  // no dot needed
  EXPECT_EQ(GetFileKind("C:\\WAV\\X.TXT"), FileKindUnknown);
}

TEST(GetFileKind, KnowsCompressedSoundFilesByTheirExtension) {
  for (const char* name :
       {"A.MP3", "b.wma", "Song.Flac", "c.ogg", "d.OGA", "e.opus", "f.m4a", "g.aac", "C:\\X.Y\\Z.mp3"})
    EXPECT_EQ(GetFileKind(name), FileKindAudio) << name;
  // The dot is part of the extension; other names stay unknown.
  for (const char* name : {"TUNEMP3", "NOTE.LAC", "x.opu", "y.mp4", "C:\\A.MP3\\B.TXT", "SONG.MP3 "})
    EXPECT_EQ(GetFileKind(name), FileKindUnknown) << name;
}

TEST(ObjectKind, BitFiveIsAnAudioFileOnlyAlone) {
  EXPECT_EQ(ObjectKind(32), AudioFile);
  EXPECT_EQ(ObjectKind(32 | PlayedMark), AudioFile);
  EXPECT_EQ(ObjectKind(33), Wave);  // records written before keep their kind
  EXPECT_EQ(ObjectKind(40), Pause);
  EXPECT_EQ(ObjectKind(64), 0u);
}

TEST(GetFileKind, RefusesMissingAndShortNames) {
  EXPECT_EQ(GetFileKind(nullptr), FileKindNoName);
  EXPECT_EQ(GetFileKind(""), FileKindNoName);
  EXPECT_EQ(GetFileKind(".WAV"), FileKindTooShort);
}

TEST(KindBitmapIndex, MapsEachKindAndIgnoresBitsFiveToFifteen) {
  EXPECT_EQ(KindBitmapIndex(1), 0);
  EXPECT_EQ(KindBitmapIndex(2), 1);
  EXPECT_EQ(KindBitmapIndex(8), 2);  // Pause comes before CdTrack
  EXPECT_EQ(KindBitmapIndex(4), 3);
  EXPECT_EQ(KindBitmapIndex(16), 4);
  EXPECT_EQ(KindBitmapIndex(33), 0);
  EXPECT_EQ(KindBitmapIndex(32769), 0);  // PlayedMark
  EXPECT_EQ(KindBitmapIndex(0x8010), 4);
  EXPECT_EQ(KindBitmapIndex(0), -1);
  EXPECT_EQ(KindBitmapIndex(3), -1);
  EXPECT_EQ(KindBitmapIndex(0x10001), -1);  // bits 16 to 31 must be clear
  EXPECT_EQ(KindBitmapIndex(32), 5);        // an audio file: bit 5 alone
  EXPECT_EQ(KindBitmapIndex(0x8020), 5);
  EXPECT_EQ(KindBitmapIndex(0x10020), -1);
}
