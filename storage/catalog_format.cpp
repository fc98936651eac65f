#include "storage/catalog_format.h"

#include <string.h>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SkipBlanks(std::string_view* text) {
  while (!text->empty() && IsBlank(text->front())) text->remove_prefix(1);
}

// An unsigned decimal number of at most 32 bits at the start of text,
// followed by a blank, a tab or the end of the line.
bool TakeNumber(std::string_view* text, uint32_t* value) {
  uint64_t number = 0;
  size_t digits = 0;
  while (digits < text->size() && (*text)[digits] >= '0' && (*text)[digits] <= '9') {
    number = number * 10 + static_cast<uint64_t>((*text)[digits] - '0');
    if (number > 0xFFFFFFFFu) return false;
    ++digits;
  }
  if (digits == 0 || (digits < text->size() && !IsBlank((*text)[digits]))) return false;
  text->remove_prefix(digits);
  *value = static_cast<uint32_t>(number);
  return true;
}

}  // namespace

bool IsCatalogMagicLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line == kCatalogMagic;
}

bool ParseCatalogEntry(std::string_view line, CatalogEntry* entry) {
  CatalogEntry parsed;
  SkipBlanks(&line);
  if (!TakeNumber(&line, &parsed.first)) return false;
  SkipBlanks(&line);
  if (!TakeNumber(&line, &parsed.second)) return false;
  SkipBlanks(&line);
  while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r')) line.remove_suffix(1);
  if (line.empty() || line.size() > kMaxCatalogPath || line.find('\0') != std::string_view::npos ||
      line.find('\r') != std::string_view::npos)
    return false;
  parsed.path = line;
  *entry = parsed;
  return true;
}

std::string FormatCatalogEntry(uint32_t first, uint32_t second, std::string_view path) {
  size_t end = path.find_first_of(std::string_view("\r\n\0", 3));
  if (end != std::string_view::npos) path = path.substr(0, end);
  std::string line = std::to_string(first);
  line += ' ';
  line += std::to_string(second);
  line += ' ';
  line += path;
  line += '\n';
  return line;
}

CatalogLookup::CatalogLookup(uint32_t first, uint32_t second) : first_(first), second_(second) {}

bool CatalogLookup::Feed(const char* data, size_t size) {
  for (size_t i = 0; i < size && result_ == Result::Searching; ++i) {
    if (data[i] == '\n') {
      TakeLine();
    } else if (length_ < sizeof line_) {
      line_[length_++] = data[i];
    } else {
      overlong_ = true;  // kept out; the whole line is skipped at its end
    }
  }
  return result_ == Result::Searching;
}

void CatalogLookup::Finish() {
  if (result_ != Result::Searching) return;
  if (!magicRead_) {
    result_ = Result::BadMagic;  // no magic line ended by its LF
    return;
  }
  if (length_ > 0 || overlong_) TakeLine();
  if (result_ == Result::Searching) result_ = Result::NotFound;
}

void CatalogLookup::TakeLine() {
  std::string_view line(line_, length_);
  bool overlong = overlong_;
  length_ = 0;
  overlong_ = false;
  if (!magicRead_) {
    if (overlong || !IsCatalogMagicLine(line)) {
      result_ = Result::BadMagic;
      return;
    }
    magicRead_ = true;
    return;
  }
  CatalogEntry entry;
  if (overlong || !ParseCatalogEntry(line, &entry) || entry.first != first_ || entry.second != second_) return;
  memcpy(path_, entry.path.data(), entry.path.size());
  path_[entry.path.size()] = '\0';
  result_ = Result::Found;
}
