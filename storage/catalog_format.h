/*
 * The CD catalog file "WD_CD.DAT", without any platform code.
 *
 * Layout: the magic line "WDv1.0", then one line per entry, "%lu %lu %s":
 * the two numbers of a CdIdentity and the path of the list file made for
 * that CD. Written in text mode, so lines end in CR LF on disk.
 *
 * The file is read line by line, each line held in a bounded buffer. An
 * entry is a line that begins with two unsigned decimal numbers of at most
 * 32 bits (blanks and tabs before and between them); the rest of the line,
 * without the blanks, tabs and CR around it, is the path, so a path may
 * hold blanks. Other lines, lines longer than kMaxCatalogLine and entries
 * whose path is empty or longer than kMaxCatalogPath are skipped. Files
 * whose paths hold no blank read as the word-by-word reading of earlier
 * versions read them.
 */
#ifndef WENDLE_STORAGE_CATALOG_FORMAT_H
#define WENDLE_STORAGE_CATALOG_FORMAT_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

inline constexpr char kCatalogMagic[] = "WDv1.0";
// The program's path buffers hold 512 characters.
inline constexpr size_t kMaxCatalogPath = 511;
// Two numbers, the path and room for blanks around them.
inline constexpr size_t kMaxCatalogLine = 1024;

struct CatalogEntry {
  uint32_t first = 0;
  uint32_t second = 0;
  std::string_view path;  // a view into the line
};

// True when line (without its LF) is the magic line; a CR before the LF is
// the text mode's and does not count.
bool IsCatalogMagicLine(std::string_view line);

// True when line (without its LF) is an entry; entry->path is then a view
// into line.
bool ParseCatalogEntry(std::string_view line, CatalogEntry* entry);

// The line of an entry, "%lu %lu %s" and LF. The path is written up to its
// first CR, LF or NUL, so it cannot break the file's lines.
std::string FormatCatalogEntry(uint32_t first, uint32_t second, std::string_view path);

// Looks a CdIdentity up in a catalog file given piece by piece: the first
// entry with both numbers wins. Memory stays bounded whatever the file.
class CatalogLookup {
 public:
  enum class Result { Searching, Found, NotFound, BadMagic };

  CatalogLookup(uint32_t first, uint32_t second);

  // Takes the next bytes of the file. False once no more are needed: the
  // entry was found or the first line is not the magic line.
  bool Feed(const char* data, size_t size);
  // The end of the file: a last entry without LF is read too. Searching
  // becomes NotFound, or BadMagic when no magic line ended by its LF came.
  void Finish();

  Result result() const { return result_; }
  // The found entry's path (at most kMaxCatalogPath characters); empty
  // unless result() is Found.
  const char* path() const { return path_; }

 private:
  void TakeLine();

  uint32_t first_;
  uint32_t second_;
  Result result_ = Result::Searching;
  bool magicRead_ = false;
  bool overlong_ = false;
  size_t length_ = 0;
  char line_[kMaxCatalogLine];
  char path_[kMaxCatalogPath + 1] = "";
};

#endif  // WENDLE_STORAGE_CATALOG_FORMAT_H
