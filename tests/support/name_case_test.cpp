// Names in upper case in the program's code page (UTF-8 here): every
// script upper-cased whole, and a name whose upper case takes more bytes
// than its buffer left as it is, never cut.
#include <gtest/gtest.h>

#include <string>

#include "support/name_case.h"

namespace {

std::string Upper(const std::string& text, size_t size = 512) {
  std::string buffer = text;
  buffer.resize(size, '\0');
  UpperCaseName(&buffer[0], size);
  return buffer.c_str();
}

TEST(NameCase, NamesInAnyScriptAreUpperCasedOrLeftWhole) {
  EXPECT_EQ(Upper("c:\\music\\bell.wav"), "C:\\MUSIC\\BELL.WAV");
  EXPECT_EQ(Upper("c:\\музыка\\ωδη 旋律 🎶.wav"), "C:\\МУЗЫКА\\ΩΔΗ 旋律 🎶.WAV");
  // "ɐ" (two bytes) becomes "Ɐ" (three): grown past its buffer, the name
  // stays as it was.
  EXPECT_EQ(Upper("ɐ.wav"), "Ɐ.WAV");
  std::string grows;
  for (int i = 0; i < 200; ++i) grows += "ɐ";  // 400 bytes, 600 in upper case
  EXPECT_EQ(Upper(grows), grows);
  EXPECT_EQ(Upper(grows, 700).size(), 600u);
}

}  // namespace
