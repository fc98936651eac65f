/*
 * The ".WDL" list file, without any platform code: a reader over a whole
 * file held in memory and a writer that appends item records to a string.
 *
 * Layout: the magic line "WDv1.0", then three lines per item: the
 * description, the file name ("*" for an absent text) and the numbers line
 * "flags repeatCount postDelay trackNumber". The writer ends lines with LF
 * only; the reader also takes CR LF.
 */
#ifndef WENDLE_STORAGE_LIST_FORMAT_H
#define WENDLE_STORAGE_LIST_FORMAT_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>

// One item as stored in a list file. The texts of a record from
// ListFileReader are views into the reader's buffer.
struct ListItemRecord {
  bool hasDescription = false;
  std::string_view description;
  bool hasFileName = false;
  std::string_view fileName;
  uint32_t flags = 0;
  uint32_t repeatCount = 0;
  uint32_t postDelay = 0;
  uint8_t trackNumber = 0;  // low 8 bits of the number in the file
  bool textCut = false;     // a text line was longer than kMaxListText: it was cut
};

inline constexpr char kListMagic[] = "WDv1.0";
// Longest text kept from a line: the program's text buffers hold 512 bytes.
inline constexpr size_t kMaxListText = 511;

// Reads a list file whose bytes the caller keeps alive while records are used.
// Texts of the records it gives hold at most kMaxListText characters, no NUL
// or LF and no CR at their end, so a record written with AppendListItem reads
// back the same.
class ListFileReader {
 public:
  ListFileReader(const char* data, size_t size);

  // True when the first line is exactly "WDv1.0" ended by LF or CR LF
  // (case-sensitive). Call once, before Next; after false, Next gives
  // Malformed.
  bool ReadMagic();

  enum class Result { Item, End, Malformed };
  // The next item. End when only blanks, tabs, CRs and LFs remain. Malformed
  // when the file ends inside an item or a numbers line is not four unsigned
  // decimal numbers; reading stops there and every later call gives the
  // same result again.
  Result Next(ListItemRecord* out);
  // The number of the last line read (from 1): after Malformed, the line
  // at which the file stops being a list.
  unsigned Line() const { return line_; }

 private:
  bool TakeLine(std::string_view* line);
  bool OnlyBlankSpaceLeft() const;
  Result Finish(Result result);

  const char* data_;
  size_t size_;
  size_t pos_ = 0;
  unsigned line_ = 0;
  bool magicRead_ = false;
  bool finished_ = false;
  Result finalResult_ = Result::End;
};

// Appends one item's three lines, "%s\n%s\n%u %u %u %u\n", to out: "*" for an
// absent text. A text is written up to its first LF or NUL, so a stray line
// break cannot put the rest of the file out of step.
void AppendListItem(std::string* out, const ListItemRecord& item);

#endif  // WENDLE_STORAGE_LIST_FORMAT_H
