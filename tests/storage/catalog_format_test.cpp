// The catalog file's reader without the platform: what an entry is, and a
// lookup that always ends whatever the file holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "storage/catalog_format.h"

namespace {

using namespace std::string_literals;

using Result = CatalogLookup::Result;

// Looks (first, second) up in a whole file; the path when found.
Result Lookup(const std::string& file, uint32_t first, uint32_t second, std::string* path = nullptr) {
  CatalogLookup lookup(first, second);
  lookup.Feed(file.data(), file.size());
  lookup.Finish();
  if (path) *path = lookup.path();
  return lookup.result();
}

TEST(CatalogFormat, EntriesWrittenAreFoundAgainWithTheirBlanks) {
  std::string file = "WDv1.0\r\n";
  file += FormatCatalogEntry(3867, 2834000, "C:\\LISTS\\ROCK.WDL");
  file += FormatCatalogEntry(1043, 4021773, "C:\\MY LISTS\\PARTY  MIX.WDL");
  file += FormatCatalogEntry(7, 8, "D:\\A.WDL\r\nC:\\INJECTED.WDL");  // a line break cannot start an entry
  EXPECT_EQ(FormatCatalogEntry(1, 4294967295u, "X.WDL"), "1 4294967295 X.WDL\n");

  std::string path;
  EXPECT_EQ(Lookup(file, 3867, 2834000, &path), Result::Found);
  EXPECT_EQ(path, "C:\\LISTS\\ROCK.WDL");
  EXPECT_EQ(Lookup(file, 1043, 4021773, &path), Result::Found);
  EXPECT_EQ(path, "C:\\MY LISTS\\PARTY  MIX.WDL");
  EXPECT_EQ(Lookup(file, 7, 8, &path), Result::Found);
  EXPECT_EQ(path, "D:\\A.WDL");
  EXPECT_EQ(Lookup(file, 3867, 4021773, &path), Result::NotFound);  // both numbers must match
  EXPECT_EQ(path, "");
}

TEST(CatalogFormat, FirstMatchingEntryWinsInEveryLineLayout) {
  const std::string file =
      "WDv1.0\n"
      "5 6 FIRST.WDL\n"
      "  5\t 6 \t SECOND.WDL \t \r\n"
      "9 9 NINE.WDL";  // a last line without its line end
  std::string path;
  EXPECT_EQ(Lookup(file, 5, 6, &path), Result::Found);
  EXPECT_EQ(path, "FIRST.WDL");
  EXPECT_EQ(Lookup("WDv1.0\n  5\t 6 \t SECOND.WDL \t \r\n", 5, 6, &path), Result::Found);
  EXPECT_EQ(path, "SECOND.WDL");
  EXPECT_EQ(Lookup(file, 9, 9, &path), Result::Found);
  EXPECT_EQ(path, "NINE.WDL");
}

TEST(CatalogFormat, LinesThatAreNoEntriesAreSkipped) {
  const std::string longWord(600, 'W');  // overflowed a word buffer of 512 once
  const std::string file =
      "WDv1.0\r\n"
      "\r\n"
      "hello world\r\n"
      "12\r\n"
      "1 2\r\n"  // no path
      "1 2x NEAR.WDL\r\n"
      "-1 2 SIGN.WDL\r\n"
      "4294967296 2 OVER.WDL\r\n"
      "1 2 "s +
      longWord +
      "\r\n"
      "1 2 " +
      std::string(2000, 'L') +
      " LONG LINE\r\n"
      "1 2 A\0B.WDL\r\n"s +
      "1 2 FOUND.WDL\r\n";
  std::string path;
  EXPECT_EQ(Lookup(file, 1, 2, &path), Result::Found);
  EXPECT_EQ(path, "FOUND.WDL");
  EXPECT_EQ(Lookup(file, 4294967295u, 2), Result::NotFound);
  EXPECT_EQ(Lookup(file, 0, 2), Result::NotFound);
}

TEST(CatalogFormat, AWrongFirstLineEndsTheLookupAtOnce) {
  for (const std::string& file : {""s, "WDv1.0"s, "WDv1.1\n1 2 A.WDL\n"s, " WDv1.0\n1 2 A.WDL\n"s, "1 2 A.WDL\n"s}) {
    CatalogLookup lookup(1, 2);
    lookup.Feed(file.data(), file.size());
    lookup.Finish();
    EXPECT_EQ(lookup.result(), Result::BadMagic) << file;
  }
  CatalogLookup lookup(1, 2);
  EXPECT_FALSE(lookup.Feed("WDv2.0\n", 7));  // nothing more is needed
}

TEST(CatalogFormat, PiecesOfAnySizeReadAsTheWholeFile) {
  std::string file = "WDv1.0\r\n1 1 ONE.WDL\r\n";
  file += "2 2 " + std::string(1100, 'x') + "\r\n";
  file += "2 2 C:\\TWO WORDS.WDL\r\n3 3 THREE.WDL";
  for (size_t piece : {1u, 2u, 7u, 1000u}) {
    CatalogLookup lookup(2, 2);
    for (size_t at = 0; at < file.size() && lookup.Feed(file.data() + at, std::min(piece, file.size() - at));
         at += piece) {
    }
    lookup.Finish();
    EXPECT_EQ(lookup.result(), Result::Found) << piece;
    EXPECT_STREQ(lookup.path(), "C:\\TWO WORDS.WDL") << piece;
  }
}

}  // namespace
