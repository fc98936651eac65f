#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "storage/list_format.h"

namespace {

using Result = ListFileReader::Result;

// A record with texts of its own, for comparing what was read.
struct Item {
  std::optional<std::string> description;
  std::optional<std::string> fileName;
  uint32_t flags = 0;
  uint32_t repeatCount = 0;
  uint32_t postDelay = 0;
  uint8_t trackNumber = 0;

  bool operator==(const Item& o) const {
    return description == o.description && fileName == o.fileName && flags == o.flags && repeatCount == o.repeatCount &&
           postDelay == o.postDelay && trackNumber == o.trackNumber;
  }
};

void PrintTo(const Item& item, std::ostream* os) {
  *os << "{" << item.description.value_or("<none>") << " | " << item.fileName.value_or("<none>") << " | " << item.flags
      << " " << item.repeatCount << " " << item.postDelay << " " << unsigned(item.trackNumber) << "}";
}

struct ReadOutcome {
  bool magic = false;
  std::vector<Item> items;
  Result last = Result::Malformed;
};

ReadOutcome ReadList(const std::string& bytes) {
  ReadOutcome outcome;
  ListFileReader reader(bytes.data(), bytes.size());
  outcome.magic = reader.ReadMagic();
  ListItemRecord record;
  while ((outcome.last = reader.Next(&record)) == Result::Item) {
    Item item;
    if (record.hasDescription) item.description = std::string(record.description);
    if (record.hasFileName) item.fileName = std::string(record.fileName);
    item.flags = record.flags;
    item.repeatCount = record.repeatCount;
    item.postDelay = record.postDelay;
    item.trackNumber = record.trackNumber;
    outcome.items.push_back(item);
  }
  return outcome;
}

std::string WriteList(const std::vector<Item>& items) {
  std::string out = std::string(kListMagic) + "\n";
  for (const Item& item : items) {
    ListItemRecord record;
    record.hasDescription = item.description.has_value();
    if (item.description) record.description = *item.description;
    record.hasFileName = item.fileName.has_value();
    if (item.fileName) record.fileName = *item.fileName;
    record.flags = item.flags;
    record.repeatCount = item.repeatCount;
    record.postDelay = item.postDelay;
    record.trackNumber = item.trackNumber;
    AppendListItem(&out, record);
  }
  return out;
}

Item MakeItem(std::optional<std::string> description, std::optional<std::string> fileName, uint32_t flags,
              uint32_t repeatCount = 0, uint32_t postDelay = 0, uint8_t trackNumber = 0) {
  return Item{std::move(description), std::move(fileName), flags, repeatCount, postDelay, trackNumber};
}

const std::string kMagicLine = "WDv1.0\n";
const std::string kGoodItem = "Bell\nC:\\BELL.WAV\n1 0 0 0\n";
const Item kGoodRecord = MakeItem("Bell", "C:\\BELL.WAV", 1);

// --- Writer -------------------------------------------------------------

TEST(ListWriter, WritesTheThreeLinesByteForByte) {
  std::string out;
  ListItemRecord record;
  record.hasDescription = true;
  record.description = "Morning bell";
  record.hasFileName = true;
  record.fileName = "C:\\SOUNDS\\BELL.WAV";
  record.flags = 32769;
  record.repeatCount = 2;
  record.postDelay = 3600;
  AppendListItem(&out, record);
  EXPECT_EQ(out, "Morning bell\nC:\\SOUNDS\\BELL.WAV\n32769 2 3600 0\n");

  ListItemRecord cdTrack;
  cdTrack.hasDescription = true;  // present but empty: an empty line
  cdTrack.flags = 4;
  cdTrack.trackNumber = 255;
  cdTrack.repeatCount = 4294967295u;
  AppendListItem(&out, cdTrack);
  EXPECT_EQ(out,
            "Morning bell\nC:\\SOUNDS\\BELL.WAV\n32769 2 3600 0\n"
            "\n*\n4 4294967295 0 255\n");
}

TEST(ListWriter, LineBreakInsideATextCannotShiftTheFile) {
  std::string out = kMagicLine;
  ListItemRecord record;
  record.hasDescription = true;
  record.description = "two\nlines";
  record.hasFileName = true;
  record.fileName = std::string_view("A.WAV\0junk", 10);
  record.flags = 1;
  AppendListItem(&out, record);
  out += kGoodItem;
  ReadOutcome read = ReadList(out);
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, (std::vector<Item>{MakeItem("two", "A.WAV", 1), kGoodRecord}));
}

// --- Round trips --------------------------------------------------------

TEST(ListRoundTrip, EveryKindReadsBackAsWritten) {
  std::vector<Item> items = {
      MakeItem("Morning bell", "C:\\SOUNDS\\BELL.WAV", 1, 2, 5),   // Wave
      MakeItem(std::nullopt, "C:\\MIDI\\SONG.MID", 2, 100, 3600),  // Midi
      MakeItem("Overture", std::nullopt, 4, 1, 0, 12),             // CdTrack
      MakeItem(std::nullopt, "Pause 30 seconds", 8, 0, 30),        // Pause
      MakeItem("Clip", "D:\\VIDEO\\CLIP.AVI", 16),                 // Video
      MakeItem("Song", "C:\\MUSIC\\SONG.MP3", 32, 1, 2),           // AudioFile
  };
  std::string file = WriteList(items);
  EXPECT_EQ(file.compare(0, 7, kMagicLine), 0);
  EXPECT_EQ(file.find('\r'), std::string::npos);
  ReadOutcome read = ReadList(file);
  ASSERT_TRUE(read.magic);
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, items);
}

TEST(ListRoundTrip, FlagsAndNumbersAreKeptWhole) {
  std::vector<Item> items = {
      MakeItem("played", "A.WAV", 32769),  // PlayedMark left set
      MakeItem("x", "B.WAV", 3),
      MakeItem("y", "C.WAV", 0x10001),
      MakeItem(std::nullopt, std::nullopt, 4294967295u, 4294967295u, 4294967295u, 255),
      MakeItem(std::nullopt, std::nullopt, 0),
  };
  ReadOutcome read = ReadList(WriteList(items));
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, items);
}

TEST(ListRoundTrip, AbsentAndEmptyTextsStayApart) {
  std::vector<Item> items = {
      MakeItem("", "", 1),
      MakeItem(std::nullopt, std::nullopt, 4, 0, 0, 1),
      MakeItem("", std::nullopt, 4, 0, 0, 2),  // an empty description starts the item
      MakeItem(std::nullopt, "", 2),
  };
  std::string file = WriteList(items);
  EXPECT_EQ(file, kMagicLine + "\n\n1 0 0 0\n*\n*\n4 0 0 1\n\n*\n4 0 0 2\n*\n\n2 0 0 0\n");
  ReadOutcome read = ReadList(file);
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, items);
}

TEST(ListRoundTrip, TextsOfTheLongestLengthReadBackWhole) {
  std::vector<Item> items = {
      MakeItem(std::string(kMaxListText, 'd'), "C:\\" + std::string(kMaxListText - 7, 'F') + ".WAV", 1),
      MakeItem(std::string(510, 'e'), std::nullopt, 4, 0, 0, 3)};
  ReadOutcome read = ReadList(WriteList(items));
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, items);
}

// --- Reading texts ------------------------------------------------------

TEST(ListReader, StarAsFirstCharacterMeansAbsent) {
  ReadOutcome read = ReadList(kMagicLine + "*\n*MY.WAV\n1 0 0 0\n");
  ASSERT_EQ(read.items.size(), 1u);
  EXPECT_FALSE(read.items[0].description);
  EXPECT_FALSE(read.items[0].fileName);
}

TEST(ListReader, OverlongLinesAreCutWithoutDisturbingTheNextItem) {
  std::string file = kMagicLine + std::string(600, 'L') + "\n" + std::string(1 << 20, 'M') + "\n2 0 0 0\n" + kGoodItem;
  ReadOutcome read = ReadList(file);
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, (std::vector<Item>{MakeItem(std::string(kMaxListText, 'L'), std::string(kMaxListText, 'M'), 2),
                                           kGoodRecord}));
}

TEST(ListReader, TextEndsAtANulByte) {
  std::string file = kMagicLine + std::string("de\0sc\n\0*\n1 0 0 0\n", 17) + kGoodItem;
  ReadOutcome read = ReadList(file);
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, (std::vector<Item>{MakeItem("de", "", 1), kGoodRecord}));
}

TEST(ListReader, AcceptsCrLfLineEnds) {
  ReadOutcome read = ReadList("WDv1.0\r\nBell\r\nC:\\BELL.WAV\r\n1 0 0 0\r\n\r\n*\r\n4 0 0 9\r\n");
  ASSERT_TRUE(read.magic);
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, (std::vector<Item>{kGoodRecord, MakeItem("", std::nullopt, 4, 0, 0, 9)}));
}

// --- Reading numbers ----------------------------------------------------

TEST(ListReader, TrackNumberKeepsItsLowEightBits) {
  ReadOutcome read = ReadList(kMagicLine + "Track\n*\n4 0 0 300\n");
  ASSERT_EQ(read.items.size(), 1u);
  EXPECT_EQ(read.items[0].trackNumber, 44);
  EXPECT_EQ(WriteList(read.items), kMagicLine + "Track\n*\n4 0 0 44\n");
}

TEST(ListReader, NumbersLineMayBeLaidOutFreely) {
  ReadOutcome read = ReadList(kMagicLine + "a\nA.WAV\n \t1  2\t\t3 4 \t\r\n" +
                              "b\nB.WAV\n0016 4294967295 0 0");  // no LF at the very end
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items,
            (std::vector<Item>{MakeItem("a", "A.WAV", 1, 2, 3, 4), MakeItem("b", "B.WAV", 16, 4294967295u)}));
}

TEST(ListReader, BadNumbersLineEndsReadingAfterTheGoodItems) {
  const std::string badLines[] = {
      "1 0 0\n",
      "1 0 0 0 0\n",
      "-1 0 0 0\n",
      "+1 0 0 0\n",
      "4294967296 0 0 0\n",
      "1 0 0 99999999999999999999\n",
      "1,0,0,0\n",
      "1 0 0 0x\n",
      "1 0 0 0 #\n",
      "\n",
      "1 0\v0 0\n",
      "1 0 0 0\r\r\n",
      std::string("1 0 0\0 0\n", 9),
  };
  for (const std::string& bad : badLines) {
    std::string file = kMagicLine + kGoodItem + "b\nB.WAV\n" + bad + kGoodItem;
    ListFileReader reader(file.data(), file.size());
    ASSERT_TRUE(reader.ReadMagic());
    ListItemRecord record;
    EXPECT_EQ(reader.Next(&record), Result::Item) << bad;
    EXPECT_EQ(reader.Next(&record), Result::Malformed) << bad;
    EXPECT_EQ(reader.Next(&record), Result::Malformed) << bad;  // nothing after it is read
  }
}

// --- Structure ----------------------------------------------------------

TEST(ListReader, MagicLineMustMatchExactly) {
  EXPECT_TRUE(ReadList("WDv1.0\n").magic);
  EXPECT_TRUE(ReadList("WDv1.0\r\n").magic);
  for (std::string refused :
       {"WDv1.1\n", "wdv1.0\n", "WDv1.0 \n", "WDv1.0", "\nWDv1.0\n", "WDv1.0\r", "WDv1.00\n", "WDv1.0\r\r\n"}) {
    ReadOutcome read = ReadList(refused + kGoodItem);
    EXPECT_FALSE(read.magic) << refused;
    EXPECT_TRUE(read.items.empty()) << refused;
    EXPECT_EQ(read.last, Result::Malformed) << refused;
  }
  ReadOutcome empty = ReadList("");
  EXPECT_FALSE(empty.magic);
  EXPECT_EQ(empty.last, Result::Malformed);
}

TEST(ListReader, EmptyDescriptionAfterANumbersLineIsNotSkipped) {
  // Blank space after a numbers line belongs to the next item.
  ReadOutcome read = ReadList(kMagicLine + kGoodItem + "\nC:\\SONG.MID\n2 0 0 0\n" + "  \n*\n4 0 0 5\n");
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, (std::vector<Item>{kGoodRecord, MakeItem("", "C:\\SONG.MID", 2),
                                           MakeItem("  ", std::nullopt, 4, 0, 0, 5)}));
}

TEST(ListReader, OnlyBlankSpaceAfterTheLastItemEndsTheList) {
  EXPECT_EQ(ReadList(kMagicLine).last, Result::End);
  EXPECT_EQ(ReadList(kMagicLine + std::string(100000, '\n')).last, Result::End);
  ReadOutcome read = ReadList(kMagicLine + kGoodItem + "\n\r\n \t\n\n  ");
  EXPECT_EQ(read.last, Result::End);
  EXPECT_EQ(read.items, std::vector<Item>{kGoodRecord});
}

TEST(ListReader, FileEndingInsideAnItemIsMalformedAfterTheGoodItems) {
  for (const char* tail : {"half", "half\n", "half\nH.WAV", "half\nH.WAV\n", "\n\nx"}) {
    ReadOutcome read = ReadList(kMagicLine + kGoodItem + tail);
    EXPECT_EQ(read.last, Result::Malformed) << tail;
    EXPECT_EQ(read.items, std::vector<Item>{kGoodRecord}) << tail;
  }
}

TEST(ListReader, ReadsAHundredThousandItems) {
  std::vector<Item> items;
  for (uint32_t i = 0; i < 100000; ++i) {
    items.push_back(MakeItem("Item " + std::to_string(i), "C:\\SOUNDS\\" + std::to_string(i) + ".WAV", 1u << (i % 5), i,
                             i % 3600, static_cast<uint8_t>(i)));
  }
  ReadOutcome read = ReadList(WriteList(items));
  EXPECT_EQ(read.last, Result::End);
  EXPECT_TRUE(read.items == items);
}

// --- Kind bitmaps -------------------------------------------------------

}  // namespace
