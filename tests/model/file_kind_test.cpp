#include <gtest/gtest.h>

#include "model/file_kind.h"

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
