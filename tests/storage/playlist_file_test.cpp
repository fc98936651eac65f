// Playlist files as other players write them, read from the disk with the
// program's texts made of them; WPL and XSPF through the system's XML
// reader; M3U texts in the legacy code page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/sound_object_kind.h"
#include "storage/playlist_file.h"
#include "storage/xml_playlist.h"

namespace {

constexpr TextCodePages kUtf8 = {CP_UTF8, 1252};
constexpr TextCodePages kAnsi = {1252, 1252};

std::string Fixture(const char* name) { return std::string("Z:") + WENDLE_TEST_PLAYLISTS + "/" + name; }

PlaylistRead ReadFixture(const char* name, TextCodePages pages = kUtf8) {
  PlaylistRead read;
  EXPECT_TRUE(ReadPlaylistFile(Fixture(name).c_str(), &read, pages)) << name;
  return read;
}

struct Expected {
  const char* description;  // nullptr: none
  const char* fileName;
  uint32_t flags;
  bool relative;
};

void ExpectEntries(const PlaylistRead& read, const std::vector<Expected>& expected) {
  ASSERT_EQ(read.entries.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const PlaylistEntry& entry = read.entries[i];
    EXPECT_EQ(entry.hasDescription, expected[i].description != nullptr) << i;
    EXPECT_EQ(entry.description, expected[i].description ? expected[i].description : "") << i;
    EXPECT_EQ(entry.fileName, expected[i].fileName) << i;
    EXPECT_EQ(entry.flags, expected[i].flags) << i;
    EXPECT_EQ(entry.relative, expected[i].relative) << i;
  }
}

std::vector<PlaylistRefusal> Reasons(const PlaylistRead& read) {
  std::vector<PlaylistRefusal> reasons;
  for (const PlaylistRefused& refused : read.refused) reasons.push_back(refused.reason);
  return reasons;
}

PlaylistRead Xml(PlaylistFormat format, const std::string& text) {
  PlaylistRead read;
  ReadXmlPlaylist(format, text.data(), text.size(), &read);
  return read;
}

TEST(PlaylistFile, M3uFromOtherPlayersInCodePage1252AndUtf8) {
  PlaylistRead read = ReadFixture("extended_1252.m3u");
  ExpectEntries(read, {{"Édith - La vie en rose", "Chansons\\La vie en rose.mp3", AudioFile, true},
                       {"Morning bell", "..\\Sounds\\bell.wav", Wave, true},
                       {nullptr, "C:\\Windows\\Media\\chimes.wav", Wave, false},
                       {"Tune", "\\\\server\\share\\tune.mid", Midi, false}});
  EXPECT_EQ(Reasons(read),
            (std::vector<PlaylistRefusal>{PlaylistRefusal::WebAddress, PlaylistRefusal::UnplayableKind}));
  EXPECT_EQ(read.refused[0].text, "http://radio.example.com:8000/stream");
  EXPECT_EQ(read.refused[0].line, 7u);
  EXPECT_EQ(read.refused[1].line, 10u);

  // Where the program's code page is 1252, a 1252 line stays as it is.
  EXPECT_EQ(ReadFixture("extended_1252.m3u", kAnsi).entries[0].description,
            "\xC9"
            "dith - La vie en rose");

  read = ReadFixture("utf8_bom.m3u8");
  ExpectEntries(read, {{"Мелодия", "Музыка\\旋律.ogg", AudioFile, true},
                       {nullptr, "C:\\Music\\a b.mp3", AudioFile, false},
                       {"Share", "\\\\server\\share\\x.flac", AudioFile, false},
                       {nullptr, "D:\\Música\\旋.opus", AudioFile, false},
                       {nullptr, "clip.avi", Video, true}});
  EXPECT_EQ(Reasons(read),
            (std::vector<PlaylistRefusal>{PlaylistRefusal::BadPercentEncoding, PlaylistRefusal::WebAddress}));

  // Each line on its own: UTF-8 where it is valid, else 1252.
  ExpectEntries(ReadFixture("mixed_lines.m3u"),
                {{"Café crème", "Cafés\\crème.wav", Wave, true}, {"Café noir", "Cafés\\noir.wav", Wave, true}});
}

TEST(PlaylistFile, PlsEntriesComeInTheOrderOfTheirNumbers) {
  PlaylistRead read = ReadFixture("out_of_order.pls");
  ExpectEntries(read, {{"Three", "three.wav", Wave, true}, {"Ten", "Ten\\ten.mp3", AudioFile, true}});
  EXPECT_EQ(Reasons(read), (std::vector<PlaylistRefusal>{PlaylistRefusal::WebAddress}));
  EXPECT_EQ(read.refused[0].index, 2u);
}

TEST(PlaylistFile, WplAndXspfThroughTheSystemsXmlReader) {
  PlaylistRead read = ReadFixture("media_player.wpl");
  ExpectEntries(read, {{nullptr, "..\\Music\\Rock & Roll.mp3", AudioFile, true},
                       {nullptr, "C:\\Windows\\Media\\ding.wav", Wave, false},
                       {nullptr, "旋律.mid", Midi, true}});
  EXPECT_EQ(Reasons(read),
            (std::vector<PlaylistRefusal>{PlaylistRefusal::WebAddress, PlaylistRefusal::UnplayableKind}));
  EXPECT_EQ(read.refused[1].text, "Notes\\Frère.txt");
  EXPECT_EQ(read.refused[1].index, 4u);
  EXPECT_EQ(read.entries[2].line, 13u);

  read = ReadFixture("tracks.xspf");
  ExpectEntries(read, {{"Salt & Pepper", "C:\\Music\\a b.mp3", AudioFile, false},
                       {nullptr, "music\\café.ogg", AudioFile, true},
                       {"Clip <1>", "\\\\server\\share\\clip.avi", Video, false}});
  EXPECT_EQ(Reasons(read), (std::vector<PlaylistRefusal>{PlaylistRefusal::WebAddress, PlaylistRefusal::NoName}));
  EXPECT_EQ(read.refused[1].text, "Nowhere");
  EXPECT_TRUE(read.Complete() == false && read.stop == PlaylistStop::None);

  // The tracks before the fault stay, and the fault says where it is.
  read = ReadFixture("broken.xspf");
  ExpectEntries(read, {{nullptr, "first.wav", Wave, true}});
  EXPECT_EQ(read.stop, PlaylistStop::BrokenXml);
  EXPECT_GE(read.stopLine, 6u);
}

TEST(PlaylistFile, XmlThatIsNoPlaylistOrTooDeepOrTooWideStopsWithItsReason) {
  EXPECT_EQ(Xml(PlaylistFormat::Xspf, "<smil><body/></smil>").stop, PlaylistStop::NotThisFormat);
  EXPECT_EQ(Xml(PlaylistFormat::Wpl, "not xml at all").stop, PlaylistStop::BrokenXml);
  EXPECT_TRUE(Xml(PlaylistFormat::Wpl, "").YieldedNothing());
  PlaylistRead empty = Xml(PlaylistFormat::Xspf, "<playlist><trackList/></playlist>");
  EXPECT_TRUE(empty.Complete());
  EXPECT_FALSE(empty.YieldedNothing());

  // An entity could expand without end: no document type is read.
  PlaylistRead entity = Xml(PlaylistFormat::Xspf,
                            "<!DOCTYPE playlist [<!ENTITY a \"aaaaaaaaaa\">]>"
                            "<playlist><trackList><track><location>&a;.wav</location></track></trackList></playlist>");
  EXPECT_TRUE(entity.entries.empty());
  EXPECT_EQ(entity.stop, PlaylistStop::BrokenXml);

  std::string deep = "<playlist><trackList><track><location>a.wav</location></track>";
  for (uint32_t i = 0; i < kMaxXmlDepth; ++i) deep += "<x>";
  PlaylistRead tooDeep = Xml(PlaylistFormat::Xspf, deep);
  EXPECT_EQ(tooDeep.stop, PlaylistStop::TooDeep);
  EXPECT_EQ(tooDeep.entries.size(), 1u);

  std::string wide = "<smil><body><seq><media src=\"a.wav\"";
  for (uint32_t i = 0; i <= kMaxXmlAttributes; ++i) wide += " a" + std::to_string(i) + "=\"\"";
  EXPECT_EQ(Xml(PlaylistFormat::Wpl, wide + "/></seq></body></smil>").stop, PlaylistStop::TooManyAttributes);

  std::string large(kMaxPlaylistBytes + 1, ' ');
  EXPECT_EQ(Xml(PlaylistFormat::Xspf, large).stop, PlaylistStop::TooLarge);
}

TEST(PlaylistFile, WhatCannotBeReadAsAPlaylistIsSaid) {
  PlaylistRead read;
  EXPECT_FALSE(ReadPlaylistFile(Fixture("missing.m3u").c_str(), &read, kUtf8));
  EXPECT_EQ(read.stop, PlaylistStop::CannotRead);
  EXPECT_FALSE(ReadPlaylistFile(Fixture("extended_1252.txt").c_str(), &read, kUtf8));
  EXPECT_EQ(read.stop, PlaylistStop::NotThisFormat);
  // A device never ends: it is no file on a disk.
  EXPECT_FALSE(ReadPlaylistFile("\\\\.\\NUL.m3u", &read, kUtf8));
  EXPECT_EQ(read.stop, PlaylistStop::CannotRead);
}

TEST(PlaylistText, ANameThatGrowsPastATextInTheProgramsCodePageIsRefusedNotCut) {
  // 300 "é" in 1252 are 600 bytes of UTF-8.
  std::string name = std::string(300, '\xE9') + ".wav";
  std::string text = "#EXTINF:-1,Caf\xE9\nkept.wav\n" + name + "\n";
  PlaylistRead read;
  ReadM3u(text.data(), text.size(), &read);
  PlaylistTextsToProgram(&read, kUtf8);
  ExpectEntries(read, {{"Café", "kept.wav", Wave, true}});
  EXPECT_EQ(Reasons(read), (std::vector<PlaylistRefusal>{PlaylistRefusal::TooLong}));
  EXPECT_LE(read.refused[0].text.size(), kMaxListText);

  ReadM3u(text.data(), text.size(), &read);
  PlaylistTextsToProgram(&read, kAnsi);
  EXPECT_EQ(read.entries.size(), 2u);
}

TEST(PlaylistText, M3uTextsGoInTheLegacyCodePageWhereTheyReadBackTheSame) {
  std::string converted;
  EXPECT_EQ(TextForLegacyPlaylist("Café", &converted, kUtf8), "Caf\xE9");
  EXPECT_EQ(TextForLegacyPlaylist("旋律 Café", &converted, kUtf8), "旋律 Café");
  // "Ã©" in 1252 is the bytes of "é" in UTF-8: it stays UTF-8.
  EXPECT_EQ(TextForLegacyPlaylist("Ã©", &converted, kUtf8), "Ã©");
  EXPECT_EQ(TextForLegacyPlaylist("Caf\xE9", &converted, kAnsi), "Caf\xE9");
  EXPECT_EQ(TextForLegacyPlaylist("\xC3\xA9", &converted, kAnsi), "Ã©");
  // M3U8 and PLS take UTF-8 whatever the program's code page.
  EXPECT_EQ(TextForUtf8Playlist("Caf\xE9", &converted, kAnsi), "Café");
  EXPECT_EQ(TextForUtf8Playlist("旋律", &converted, kAnsi), "旋律");
  EXPECT_EQ(TextForUtf8Playlist("Café", &converted, kUtf8), "Café");

  // Written as M3U and read back, each text is what the program held.
  for (TextCodePages pages : {kUtf8, kAnsi}) {
    const bool utf8 = pages.active == CP_UTF8;
    const std::string texts[] = {utf8 ? "Café" : "Caf\xE9", utf8 ? "Ã©" : "\xC3\xA9", "旋律"};
    PlaylistWriter writer(PlaylistFormat::M3u, "C:\\Lists");
    std::vector<std::string> held;
    held.reserve(2 * 3);  // the records view these
    for (const std::string& t : texts) {
      std::string c1, c2;
      ListItemRecord record;
      record.hasDescription = record.hasFileName = true;
      record.flags = Wave;
      held.emplace_back(TextForLegacyPlaylist(t, &c1, pages));
      record.description = held.back();
      held.emplace_back(std::string(TextForLegacyPlaylist(t, &c2, pages)) + ".wav");
      record.fileName = held.back();
      writer.Append(record);
    }
    std::string file = writer.Finish();
    PlaylistRead read;
    ReadM3u(file.data(), file.size(), &read);
    PlaylistTextsToProgram(&read, pages);
    ASSERT_EQ(read.entries.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
      // 旋律 has no form in 1252 and stays UTF-8 where the program holds it so.
      EXPECT_EQ(read.entries[i].description, texts[i]) << i;
      EXPECT_EQ(read.entries[i].fileName, texts[i] + ".wav") << i;
    }
  }
}

}  // namespace
