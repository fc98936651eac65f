// The texts of list files and the CD catalog between file and program, for
// the program's code page in both settings: UTF-8 (the manifest honoured)
// and 1252 (a system that ignores it); files written before are in 1252.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "storage/file_text.h"

namespace {

constexpr TextCodePages kUtf8 = {CP_UTF8, 1252};
constexpr TextCodePages kAnsi = {1252, 1252};

std::string FromFile(std::string_view line, TextCodePages pages, size_t maxBytes = 511) {
  std::string converted;
  return std::string(TextFromFile(line, &converted, maxBytes, pages));
}

TEST(FileText, EachLineIsReadAsUtf8WhenItIsAndFromTheLegacyCodePageOtherwise) {
  // Plain ASCII is the line itself, not a copy.
  std::string converted;
  std::string_view ascii = "C:\\MUSIC\\BELL.WAV";
  EXPECT_EQ(TextFromFile(ascii, &converted, 511, kUtf8).data(), ascii.data());
  EXPECT_EQ(TextFromFile(ascii, &converted, 511, kAnsi).data(), ascii.data());

  EXPECT_EQ(FromFile("Мелодия 旋律 🎶", kUtf8), "Мелодия 旋律 🎶");
  EXPECT_EQ(FromFile("Caf\xE9 cr\xE8me \x80", kUtf8), "Café crème €");
  // The rule is per line: one byte outside UTF-8 makes the whole line
  // legacy; a 1252 line that is valid UTF-8 throughout ("Ã©" alone) is
  // taken as UTF-8, which such pairs in names rarely are.
  EXPECT_EQ(FromFile("\xC3\xA9t\xE9", kUtf8), "Ã©té");
  EXPECT_EQ(FromFile("\xC3\xA9", kUtf8), "é");

  // Where the program's code page is 1252: a UTF-8 line becomes 1252 when
  // every character has its byte there, and stays as it is otherwise (as
  // earlier versions read it, so a save writes it back unchanged); a legacy
  // line is already in the program's code page.
  EXPECT_EQ(FromFile("Café crème €", kAnsi), "Caf\xE9 cr\xE8me \x80");
  EXPECT_EQ(FromFile("Café 旋律", kAnsi), "Café 旋律");
  EXPECT_EQ(FromFile("Caf\xE9", kAnsi), "Caf\xE9");
}

TEST(FileText, ALineLongerThanATextIsCutBetweenCharacters) {
  // 300 "é" in 1252 are 600 bytes of UTF-8: cut at 511 bytes, between two
  // characters, so 255 of them remain.
  std::string legacy(300, '\xE9');
  std::string cut = FromFile(legacy, kUtf8);
  EXPECT_EQ(cut.size(), 510u);
  EXPECT_EQ(cut, FromFile(std::string(255, '\xE9'), kUtf8));
  // An emoji across the limit goes whole.
  std::string emoji = std::string(509, 'a') + "🎶";
  EXPECT_EQ(FromFile(emoji, kUtf8), std::string(509, 'a'));
  EXPECT_EQ(FromFile(emoji, kUtf8, 513), emoji);
}

}  // namespace
