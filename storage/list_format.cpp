/*
 * Reading and writing the lines of a ".WDL" list file (see list_format.h).
 *
 * The reader works on the whole file in memory and never copies: a line is
 * found with one memchr, and the records it gives point into the caller's
 * bytes. Every step moves forward, so any input costs time in proportion to
 * its size.
 */
#include "storage/list_format.h"

#include <string.h>

#include <algorithm>
#include <charconv>

#include "storage/utf8_text.h"

namespace {

constexpr uint64_t kMaxNumber = 0xFFFFFFFFu;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A text line: "*" as its first character means no text. Otherwise the text
// ends at the first NUL (texts become C strings) and keeps at most
// kMaxListText bytes. A CR cannot end a text: it would be taken for
// part of the line end when the text is written and read again.
void TakeText(std::string_view line, bool* hasText, std::string_view* text, bool* cut) {
  if (!line.empty() && line[0] == '*') {
    *hasText = false;
    *text = std::string_view();
    return;
  }
  size_t length = std::min(line.size(), kMaxListText);
  if (length < line.size()) *cut = true;
  // A UTF-8 line is cut between characters, so it stays UTF-8.
  if (length < line.size() && IsValidUtf8(line)) {
    length = Utf8CutLength(line, length);
  }
  const void* nul = memchr(line.data(), '\0', length);
  if (nul != nullptr) {
    length = static_cast<size_t>(static_cast<const char*>(nul) - line.data());
  }
  while (length > 0 && line[length - 1] == '\r') {
    --length;
  }
  *hasText = true;
  *text = line.substr(0, length);
}

// Four unsigned decimal numbers, each at most 4294967295, separated and
// optionally surrounded by blanks and tabs; nothing else.
bool ParseNumbers(std::string_view line, uint32_t numbers[4]) {
  size_t count = 0;
  size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) {
      ++i;
    }
    if (i == line.size()) {
      return count == 4;
    }
    if (count == 4 || !IsDigit(line[i])) {
      return false;
    }
    uint64_t value = 0;
    while (i < line.size() && IsDigit(line[i])) {
      value = value * 10 + static_cast<uint64_t>(line[i] - '0');
      if (value > kMaxNumber) {
        return false;
      }
      ++i;
    }
    numbers[count++] = static_cast<uint32_t>(value);
  }
}

void AppendText(std::string* out, bool hasText, std::string_view text) {
  if (!hasText) {
    out->push_back('*');
  } else {
    // A line break inside a text would shift every later line of the file.
    size_t end = text.find_first_of(std::string_view("\n\0", 2));
    out->append(text.substr(0, end));
  }
  out->push_back('\n');
}

void AppendNumber(std::string* out, uint32_t value, char separator) {
  char digits[16];
  std::to_chars_result r = std::to_chars(digits, digits + sizeof(digits), value);
  out->append(digits, r.ptr);
  out->push_back(separator);
}

}  // namespace

ListFileReader::ListFileReader(const char* data, size_t size) : data_(data), size_(data != nullptr ? size : 0) {}

// The next line, without its LF and without one CR before it. False when no
// byte is left. The last line of the file may lack its LF.
bool ListFileReader::TakeLine(std::string_view* line) {
  if (pos_ >= size_) {
    return false;
  }
  const char* start = data_ + pos_;
  size_t rest = size_ - pos_;
  ++line_;
  const void* lf = memchr(start, '\n', rest);
  size_t length = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - start) : rest;
  pos_ += lf != nullptr ? length + 1 : length;
  if (length > 0 && start[length - 1] == '\r') {
    --length;
  }
  *line = std::string_view(start, length);
  return true;
}

// Stops at the first other character, which for a well-formed item lies in
// that item: the scan never goes over the same bytes twice.
bool ListFileReader::OnlyBlankSpaceLeft() const {
  for (size_t i = pos_; i < size_; ++i) {
    char c = data_[i];
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      return false;
    }
  }
  return true;
}

ListFileReader::Result ListFileReader::Finish(Result result) {
  finished_ = true;
  finalResult_ = result;
  return result;
}

bool ListFileReader::ReadMagic() {
  pos_ = 0;
  line_ = 0;
  finished_ = false;
  std::string_view line;
  // The magic line must end in a line break: a bare "WDv1.0" is no list.
  magicRead_ = TakeLine(&line) && data_[pos_ - 1] == '\n' && line == kListMagic;
  if (!magicRead_) {
    Finish(Result::Malformed);
  }
  return magicRead_;
}

ListFileReader::Result ListFileReader::Next(ListItemRecord* out) {
  if (finished_) {
    return finalResult_;
  }
  if (!magicRead_) {
    return Finish(Result::Malformed);
  }
  if (OnlyBlankSpaceLeft()) {
    return Finish(Result::End);
  }
  std::string_view description, fileName, numbersLine;
  uint32_t numbers[4];
  // Only the numbers line's own end is consumed: the next line may be the
  // empty description of the next item.
  if (!TakeLine(&description) || !TakeLine(&fileName) || !TakeLine(&numbersLine) ||
      !ParseNumbers(numbersLine, numbers)) {
    return Finish(Result::Malformed);
  }
  ListItemRecord record;
  TakeText(description, &record.hasDescription, &record.description, &record.textCut);
  TakeText(fileName, &record.hasFileName, &record.fileName, &record.textCut);
  record.flags = numbers[0];
  record.repeatCount = numbers[1];
  record.postDelay = numbers[2];
  record.trackNumber = static_cast<uint8_t>(numbers[3] & 0xFF);
  *out = record;
  return Result::Item;
}

void AppendListItem(std::string* out, const ListItemRecord& item) {
  AppendText(out, item.hasDescription, item.description);
  AppendText(out, item.hasFileName, item.fileName);
  AppendNumber(out, item.flags, ' ');
  AppendNumber(out, item.repeatCount, ' ');
  AppendNumber(out, item.postDelay, ' ');
  AppendNumber(out, item.trackNumber, '\n');
}
