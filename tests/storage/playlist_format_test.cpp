// Other players' M3U and PLS playlists: names, entries, refusals, bounds,
// and Wendle's own lines in a round trip through M3U8 and PLS.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/sound_object_kind.h"
#include "storage/playlist_format.h"

namespace {

constexpr std::string_view kFolder = "C:\\Lists";

PlaylistEntry Entry(const char* description, const char* fileName, uint32_t flags, bool relative,
                    uint32_t repeatCount = 0, uint32_t postDelay = 0, uint8_t trackNumber = 0) {
  PlaylistEntry entry;
  entry.hasDescription = description != nullptr;
  entry.description = description ? description : "";
  entry.hasFileName = fileName != nullptr;
  entry.fileName = fileName ? fileName : "";
  entry.flags = flags;
  entry.repeatCount = repeatCount;
  entry.postDelay = postDelay;
  entry.trackNumber = trackNumber;
  entry.relative = relative;
  return entry;
}

void ExpectSameItems(const std::vector<PlaylistEntry>& read, const std::vector<PlaylistEntry>& expected) {
  ASSERT_EQ(read.size(), expected.size());
  for (size_t i = 0; i < read.size(); ++i) {
    const PlaylistEntry& a = read[i];
    EXPECT_TRUE(a.SameItem(expected[i])) << "entry " << i << ": [" << a.hasDescription << " " << a.description << "] ["
                                         << a.hasFileName << " " << a.fileName << "] " << a.flags << " "
                                         << a.repeatCount << " " << a.postDelay << " " << unsigned(a.trackNumber)
                                         << " relative " << a.relative;
  }
}

PlaylistRead M3u(const std::string& text) {
  PlaylistRead read;
  ReadM3u(text.data(), text.size(), &read);
  return read;
}

PlaylistRead Pls(const std::string& text) {
  PlaylistRead read;
  ReadPls(text.data(), text.size(), &read);
  return read;
}

// What the program gives the writer: a file's full path, a label as it is.
std::string Write(PlaylistFormat format, const std::vector<PlaylistEntry>& entries) {
  PlaylistWriter writer(format, kFolder);
  for (const PlaylistEntry& entry : entries) {
    uint32_t kind = ObjectKind(entry.flags);
    bool file = kind == Wave || kind == Midi || kind == Video || kind == AudioFile;
    std::string path(entry.fileName);
    if (file && entry.relative) path = std::string(kFolder) + "\\" + path;
    ListItemRecord record = entry.Record();
    record.fileName = path;
    writer.Append(record);
  }
  return writer.Finish();
}

struct NameCase {
  const char* text;
  PlaylistNameSyntax syntax;
  const char* name;  // nullptr: refused
  bool relative;
  PlaylistRefusal reason;
};

TEST(PlaylistName, PathsAndFileUrisBecomeWindowsNamesAndEverythingElseIsRefusedWithItsReason) {
  const PlaylistNameSyntax path = PlaylistNameSyntax::Path, uri = PlaylistNameSyntax::Uri;
  const PlaylistRefusal none = PlaylistRefusal::NoName;
  const NameCase cases[] = {
      {"  ..\\Sounds/bell.wav\t", path, "..\\Sounds\\bell.wav", true, none},
      {"C:/Music/a.mp3", path, "C:\\Music\\a.mp3", false, none},
      {"C:drive.wav", path, "C:drive.wav", false, none},
      {"\\rooted.wav", path, "\\rooted.wav", false, none},
      {"//server/share/x.mp3", path, "\\\\server\\share\\x.mp3", false, none},
      {"a%20b.mp3", path, "a%20b.mp3", true, none},  // a path keeps its percent signs
      {"a%20b.mp3", uri, "a b.mp3", true, none},     // a URI reference does not
      {"file:///C:/Music/a%20b.mp3", path, "C:\\Music\\a b.mp3", false, none},
      {"FILE://localhost/C:/x.wav", path, "C:\\x.wav", false, none},
      {"file:///C|/old.wav", path, "C:\\old.wav", false, none},
      {"file://C:/slip.wav", path, "C:\\slip.wav", false, none},
      {"file://server/share/x.mp3", path, "\\\\server\\share\\x.mp3", false, none},
      {"file:////server/share/x.mp3", uri, "\\\\server\\share\\x.mp3", false, none},
      {"file:///D:/M%C3%BAsica/%E6%97%8B.opus", uri, "D:\\M\xC3\xBAsica\\\xE6\x97\x8B.opus", false, none},
      {"http://radio.example.com/stream", path, nullptr, false, PlaylistRefusal::WebAddress},
      {"HTTPS://x/a.mp3", uri, nullptr, false, PlaylistRefusal::WebAddress},
      {"mms://x/a.wma", path, nullptr, false, PlaylistRefusal::WebAddress},
      {"spotify:track:1", path, nullptr, false, PlaylistRefusal::OtherScheme},
      {"file:relative.mp3", path, nullptr, false, PlaylistRefusal::OtherScheme},
      {"file:///C:/bad%zz.mp3", path, nullptr, false, PlaylistRefusal::BadPercentEncoding},
      {"bad%2", uri, nullptr, false, PlaylistRefusal::BadPercentEncoding},
      {"file:///C:/nul%00.wav", path, nullptr, false, PlaylistRefusal::ControlCharacter},
      {"a\rb.wav", path, nullptr, false, PlaylistRefusal::ControlCharacter},
      {" \t ", path, nullptr, false, PlaylistRefusal::NoName},
  };
  for (const NameCase& c : cases) {
    std::string name;
    bool relative = false;
    PlaylistRefusal reason = PlaylistRefusal::NoName;
    bool taken = TakePlaylistName(c.text, c.syntax, &name, &relative, &reason);
    EXPECT_EQ(taken, c.name != nullptr) << c.text;
    if (taken && c.name) {
      EXPECT_EQ(name, c.name) << c.text;
      EXPECT_EQ(relative, c.relative) << c.text;
    } else if (!taken) {
      EXPECT_EQ(reason, c.reason) << c.text;
    }
  }
  // A name holds at most 511 bytes and is never cut; percent-encoding
  // counts as what it decodes to.
  std::string name;
  bool relative;
  PlaylistRefusal reason;
  EXPECT_TRUE(TakePlaylistName(std::string(507, 'n') + ".wav", PlaylistNameSyntax::Path, &name, &relative, &reason));
  EXPECT_FALSE(TakePlaylistName(std::string(508, 'n') + ".wav", PlaylistNameSyntax::Path, &name, &relative, &reason));
  EXPECT_EQ(reason, PlaylistRefusal::TooLong);
  std::string encoded = "file:///C:/";
  for (int i = 0; i < 300; ++i) encoded += "%41";
  EXPECT_TRUE(TakePlaylistName(encoded + ".wav", PlaylistNameSyntax::Path, &name, &relative, &reason));
  EXPECT_EQ(name.size(), 307u);
}

TEST(PlaylistName, FormatsAndKindsFollowTheExtensionAndRelativeNamesFollowTheFolder) {
  EXPECT_EQ(PlaylistFormatOfName("C:\\A\\MIX.M3U"), PlaylistFormat::M3u);
  EXPECT_EQ(PlaylistFormatOfName("mix.m3u8"), PlaylistFormat::M3u8);
  EXPECT_EQ(PlaylistFormatOfName("radio.Pls"), PlaylistFormat::Pls);
  EXPECT_EQ(PlaylistFormatOfName("a.wpl"), PlaylistFormat::Wpl);
  EXPECT_EQ(PlaylistFormatOfName("a.xspf"), PlaylistFormat::Xspf);
  EXPECT_EQ(PlaylistFormatOfName("demo.wdl"), PlaylistFormat::None);
  EXPECT_EQ(PlaylistFormatOfName("C:\\a.m3u\\list"), PlaylistFormat::None);

  EXPECT_EQ(PlaylistKindOfName("a.WAV"), Wave);
  EXPECT_EQ(PlaylistKindOfName("a.mid"), Midi);
  EXPECT_EQ(PlaylistKindOfName("a.avi"), Video);
  EXPECT_EQ(PlaylistKindOfName("a.opus"), AudioFile);
  EXPECT_EQ(PlaylistKindOfName("a.txt"), 0u);

  std::string_view relative;
  EXPECT_TRUE(PathUnderFolder("C:\\LISTS\\Sounds\\a.wav", "c:/lists/", &relative));
  EXPECT_EQ(relative, "Sounds\\a.wav");
  EXPECT_TRUE(PathUnderFolder("C:\\a.wav", "C:\\", &relative));
  EXPECT_EQ(relative, "a.wav");
  EXPECT_FALSE(PathUnderFolder("C:\\ListsMore\\a.wav", "C:\\Lists", &relative));
  EXPECT_FALSE(PathUnderFolder("C:\\Lists", "C:\\Lists", &relative));
  EXPECT_FALSE(PathUnderFolder("D:\\Lists\\a.wav", "C:\\Lists", &relative));
  // Only ASCII letters match in either case.
  EXPECT_FALSE(PathUnderFolder("C:\\\xC3\x89T\xC3\x89\\a.wav", "C:\\\xC3\xA9t\xC3\xA9", &relative));
}

TEST(M3uReader, TakesFileLinesWithTheirTitlesAndListsWhatItCannotTake) {
  PlaylistRead read =
      M3u("#EXTM3U\r\n"
          "#EXTINF:215,Artist - Song\r\n"
          "Music\\song.mp3\r\n"
          "#EXTINF:-1,Radio\r\n"
          "http://radio.example.com/stream\r\n"
          "\r\n"
          "   \t\r\n"
          "  C:\\Sounds\\ding.wav  \r\n"
          "#EXTGRP:ignored\n"
          "#EXTINF:-1 tvg-name=\"a,b\",Channel, One\n"
          "readme.txt\n"
          "#EXTINF:-1,\n"
          "tune.mid");
  ExpectSameItems(read.entries,
                  {Entry("Artist - Song", "Music\\song.mp3", AudioFile, true),
                   Entry(nullptr, "C:\\Sounds\\ding.wav", Wave, false), Entry(nullptr, "tune.mid", Midi, true)});
  EXPECT_EQ(read.entries[0].line, 3u);
  EXPECT_EQ(read.entries[2].line, 13u);
  EXPECT_EQ(read.entries[2].index, 5u);
  ASSERT_EQ(read.refused.size(), 2u);
  EXPECT_EQ(read.refused[0].reason, PlaylistRefusal::WebAddress);
  EXPECT_EQ(read.refused[0].text, "http://radio.example.com/stream");
  EXPECT_EQ(read.refused[0].line, 5u);
  EXPECT_EQ(read.refused[0].index, 2u);
  EXPECT_EQ(read.refused[1].reason, PlaylistRefusal::UnplayableKind);
  EXPECT_EQ(read.refused[1].text, "readme.txt");
  EXPECT_FALSE(read.Complete());
  EXPECT_FALSE(read.YieldedNothing());

  // A title over 511 bytes would have to be cut: the entry is refused.
  read = M3u("#EXTINF:-1," + std::string(512, 't') + "\nlong.wav\n#EXTINF:-1," + std::string(511, 't') + "\nok.wav\n");
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.entries[0].description.size(), 511u);
  ASSERT_EQ(read.refused.size(), 1u);
  EXPECT_EQ(read.refused[0].reason, PlaylistRefusal::TooLong);
  EXPECT_EQ(read.refused[0].text, "long.wav");
}

// Wendle's own lines and titles are known in any letter case and only by
// their whole prefix; anything else starting with "#" is a comment.
TEST(M3uReader, OwnLinesAreKnownInAnyCaseAndOnlyByTheirWholePrefix) {
  PlaylistRead read =
      M3u("#wendle:2 1 0 0\n#Wendle-Description:Exact\nfirst.wav\n"
          "#ExtInf:-1,Title\n#wEnDlE-nAmE:Pause 5 sec.\n#WENDLE-item:8 0 5 0\n"
          "#WENDLE\n#WENDLEX:1 0 0 0\n#WENDLE-NAMES:x\n#WENDLE-ITEMS:1 0 0 0\n#EXTINFO:-1,no\n#E\n#\n#W\nlast.mid\n");
  ExpectSameItems(read.entries,
                  {Entry("Exact", "first.wav", Midi, true, 1), Entry(nullptr, "Pause 5 sec.", Pause, true, 0, 5),
                   Entry(nullptr, "last.mid", Midi, true)});
  EXPECT_TRUE(read.Complete());
}

// The texts of a long list live in the read, in several blocks, and stay
// whole when the read is moved.
TEST(M3uReader, TheTextsOfALongListStayWholeWhenTheReadMoves) {
  constexpr int kCount = 3000;  // some 150 KB of texts
  std::string text = "#EXTM3U\r\n";
  auto name = [](int i) { return "Folder " + std::to_string(i % 7) + "\\Track number " + std::to_string(i) + ".wav"; };
  auto title = [](int i) { return i % 3 ? "Title of the track " + std::to_string(i) : std::string(); };
  for (int i = 0; i < kCount; ++i) text += (i % 3 ? "#EXTINF:-1," + title(i) + "\r\n" : "") + name(i) + "\r\n";
  PlaylistRead first = M3u(text);
  PlaylistRead moved = std::move(first);
  PlaylistRead read;
  read = std::move(moved);
  ASSERT_EQ(read.entries.size(), static_cast<size_t>(kCount));
  for (int i = 0; i < kCount; ++i) {
    const PlaylistEntry& entry = read.entries[static_cast<size_t>(i)];
    ASSERT_EQ(entry.fileName, name(i)) << i;
    ASSERT_EQ(entry.hasDescription, i % 3 != 0) << i;
    ASSERT_EQ(entry.description, title(i)) << i;
  }
}

TEST(M3uReader, NothingToTakeIsToldApartFromAnEmptyPlaylist) {
  PlaylistRead empty = M3u("\xEF\xBB\xBF#EXTM3U\r\n\r\n");
  EXPECT_TRUE(empty.entries.empty());
  EXPECT_TRUE(empty.Complete());
  EXPECT_FALSE(empty.YieldedNothing());

  PlaylistRead onlyWeb = M3u("https://a/b.mp3\nftp://c/d.mp3\n");
  EXPECT_TRUE(onlyWeb.YieldedNothing());
  EXPECT_EQ(onlyWeb.refusedCount, 2u);

  PlaylistRead binary = M3u(std::string("RIFF\0\0\0\0WAVEfmt ", 16));
  EXPECT_EQ(binary.stop, PlaylistStop::NotText);
  EXPECT_TRUE(binary.YieldedNothing());
  PlaylistRead utf16 =
      M3u(std::string("\xFF\xFE"
                      "a\0.\0w\0a\0v\0",
                      12));
  EXPECT_EQ(utf16.stop, PlaylistStop::NotText);
}

TEST(PlaylistBounds, AHugePlaylistStopsAtTheBoundWithItsReason) {
  std::string lines;
  for (size_t i = 0; i < kMaxPlaylistEntries + 3; ++i) lines += "a.wav\n";
  PlaylistRead read = M3u(lines);
  EXPECT_EQ(read.entries.size(), kMaxPlaylistEntries);
  EXPECT_EQ(read.stop, PlaylistStop::TooManyEntries);
  EXPECT_EQ(read.stopLine, kMaxPlaylistEntries + 1);

  // Refusals past the listed ones are still counted.
  std::string web;
  for (size_t i = 0; i < kMaxListedRefusals + 10; ++i) web += "http://x/\n";
  read = M3u(web);
  EXPECT_EQ(read.refused.size(), kMaxListedRefusals);
  EXPECT_EQ(read.refusedCount, kMaxListedRefusals + 10);

  std::string large(kMaxPlaylistBytes + 1, '\n');
  EXPECT_EQ(M3u(large).stop, PlaylistStop::TooLarge);
  EXPECT_EQ(Pls(large).stop, PlaylistStop::TooLarge);
}

TEST(PlsReader, NumbersGiveTheOrderAndFaultyKeysAreListed) {
  PlaylistRead read =
      Pls("[other]\nFile1=outside.wav\n"
          "[PlayList]\r\n"
          "File10=ten.mp3\r\n"
          "Title10=Ten\r\n"
          "file3 = three.wav\r\n"
          "Length3=184\r\n"
          "TITLE3=Three\r\n"
          "File2=http://stream.example.com/live\r\n"
          "Title4=No file\r\n"
          "File5=five.wav\r\n"
          "File05=again.wav\r\n"
          "File99999999999=huge.wav\r\n"
          "NumberOfEntries=3\r\nVersion=2\r\n");
  ExpectSameItems(read.entries, {Entry("Three", "three.wav", Wave, true), Entry(nullptr, "five.wav", Wave, true),
                                 Entry("Ten", "ten.mp3", AudioFile, true)});
  EXPECT_EQ(read.entries[0].index, 3u);
  EXPECT_EQ(read.entries[0].line, 6u);
  std::vector<PlaylistRefusal> reasons;
  for (const PlaylistRefused& refused : read.refused) reasons.push_back(refused.reason);
  EXPECT_EQ(reasons, (std::vector<PlaylistRefusal>{PlaylistRefusal::BadNumber, PlaylistRefusal::WebAddress,
                                                   PlaylistRefusal::NoName, PlaylistRefusal::Duplicate}));

  EXPECT_EQ(Pls("File1=a.wav\n").stop, PlaylistStop::NotThisFormat);
  EXPECT_TRUE(Pls("File1=a.wav\n").YieldedNothing());
}

// Every kind, with repeat counts, delays and descriptions (absent, empty,
// present), names under the playlist's folder and elsewhere.
std::vector<PlaylistEntry> EveryKind() {
  return {
      Entry("Morning bell", "Sounds\\bell.wav", Wave, true, 2, 5),
      Entry(nullptr, "tune.mid", Midi, true, 100, 3600),
      Entry("Overture", nullptr, CdTrack, false, 1, 0, 12),
      Entry(nullptr, "Pause 30 seconds", Pause, true, 0, 30),
      Entry("Clip", "D:\\Video\\clip.avi", Video, false),
      Entry("Song", "\\\\server\\share\\song.mp3", AudioFile, false, 1, 2),
      Entry("", "M\xC3\xBAsica\\\xE6\x97\x8B.ogg", AudioFile, true),
      Entry(nullptr, "#hash.wav", Wave | PlayedMark, true),
      Entry("Kind from Wendle", "sound.snd", Wave, true),
      Entry(nullptr, nullptr, Pause, false, 0, 7),
  };
}

TEST(PlaylistRoundTrip, EveryKindSavedAsM3u8OrPlsReadsBackTheSameAndSavesTheSameBytes) {
  for (PlaylistFormat format : {PlaylistFormat::M3u8, PlaylistFormat::Pls}) {
    std::string written = Write(format, EveryKind());
    PlaylistRead read = format == PlaylistFormat::Pls ? Pls(written) : M3u(written);
    EXPECT_TRUE(read.Complete());
    ExpectSameItems(read.entries, EveryKind());
    EXPECT_EQ(Write(format, read.entries), written);
  }
  // A full name that lies under the folder is written relative to it.
  PlaylistWriter writer(PlaylistFormat::M3u8, "c:\\lists\\");
  PlaylistEntry under = Entry(nullptr, "C:\\Lists\\Sub\\a.wav", Wave, false);
  writer.Append(under.Record());
  EXPECT_EQ(writer.Finish(), "#EXTM3U\r\nSub\\a.wav\r\n");
}

TEST(PlaylistWriter, OtherPlayersSeeTheirOwnFormAndSkipWendlesLines) {
  std::vector<PlaylistEntry> entries = EveryKind();
  entries.resize(4);
  EXPECT_EQ(Write(PlaylistFormat::M3u8, entries),
            "#EXTM3U\r\n"
            "#WENDLE:1 2 5 0\r\n#EXTINF:-1,Morning bell\r\nSounds\\bell.wav\r\n"
            "#WENDLE:2 100 3600 0\r\ntune.mid\r\n"
            "#WENDLE-DESCRIPTION:Overture\r\n#WENDLE-ITEM:4 1 0 12\r\n"
            "#WENDLE-NAME:Pause 30 seconds\r\n#WENDLE-ITEM:8 0 30 0\r\n");
  EXPECT_EQ(Write(PlaylistFormat::Pls, entries),
            "[playlist]\r\n"
            "File1=Sounds\\bell.wav\r\nTitle1=Morning bell\r\nLength1=-1\r\nWendle1=1 2 5 0\r\n"
            "File2=tune.mid\r\nLength2=-1\r\nWendle2=2 100 3600 0\r\n"
            "Wendle2.1=4 1 0 12\r\nWendleDescription2.1=Overture\r\n"
            "Wendle2.2=8 0 30 0\r\nWendleName2.2=Pause 30 seconds\r\n"
            "NumberOfEntries=2\r\nVersion=2\r\n");
  // Plain files need nothing of Wendle's own.
  EXPECT_EQ(Write(PlaylistFormat::M3u8, {Entry("Song", "C:\\a.mp3", AudioFile, false)}),
            "#EXTM3U\r\n#EXTINF:-1,Song\r\nC:\\a.mp3\r\n");
}

TEST(PlaylistReader, DamagedWendleLinesAreListedNotGuessed) {
  PlaylistRead read =
      M3u("#WENDLE:1 2\na.wav\n"
          "#WENDLE-NAME:label\n#WENDLE-ITEM:x\n"
          "#WENDLE:0 0 0 0\nno_kind.xyz\n");
  ExpectSameItems(read.entries, {Entry(nullptr, "no_kind.xyz", 0, true)});
  ASSERT_EQ(read.refused.size(), 2u);
  EXPECT_EQ(read.refused[0].reason, PlaylistRefusal::BadWendleLine);
  EXPECT_EQ(read.refused[0].text, "a.wav");
  EXPECT_EQ(read.refused[1].text, "label");
  read = Pls("[playlist]\nWendleName1.1=no numbers\n");
  ASSERT_EQ(read.refused.size(), 1u);
  EXPECT_EQ(read.refused[0].reason, PlaylistRefusal::BadWendleLine);
}

}  // namespace
