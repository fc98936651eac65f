#include <gtest/gtest.h>

#include "model/file_kind.h"
#include "model/sound_object_kind.h"

TEST(GetFileKind, JudgesByTheLastThreeCharactersIgnoringCase) {
  EXPECT_EQ(GetFileKind("A.WAV"), FileKindWave);
  EXPECT_EQ(GetFileKind("song.mid"), FileKindMidi);
  EXPECT_EQ(GetFileKind("CLIP.Avi"), FileKindVideo);
  EXPECT_EQ(GetFileKind("NOTEWAV"), FileKindWave);  // no dot needed
  EXPECT_EQ(GetFileKind("TUNE.MP3"), FileKindUnknown);
  EXPECT_EQ(GetFileKind("C:\\WAV\\X.TXT"), FileKindUnknown);
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
  EXPECT_EQ(KindBitmapIndex(32), -1);
}
