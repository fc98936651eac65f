// libFuzzer target for the CD catalog's reader.
//
// Any bytes are read as a catalog file (and, when their first line is not
// the magic line, once more with the magic line put before them, so the
// entry reader is reached from any input). The bounded, piece-by-piece
// lookup must find exactly what a plain reading of the whole file line by
// line finds, whatever the pieces; a found path must keep the format's
// promises, and writing its entry and reading that back must give the same
// entry again.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <string_view>
#include <vector>

#include "storage/catalog_format.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    fprintf(stderr, "catalog_format_fuzzer: %s\n", what);
    abort();
  }
}

// The lines of the whole file, each without its LF; a last line without LF
// is one too.
std::vector<std::string_view> Lines(std::string_view file, bool* lastHasLf) {
  std::vector<std::string_view> lines;
  *lastHasLf = false;
  while (!file.empty()) {
    size_t end = file.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back(file);
      return lines;
    }
    lines.push_back(file.substr(0, end));
    file.remove_prefix(end + 1);
    *lastHasLf = true;
  }
  return lines;
}

// The reference: the whole file at once.
CatalogLookup::Result Reference(const std::vector<std::string_view>& lines, bool firstLineEnded, uint32_t first,
                                uint32_t second, std::string* path) {
  if (lines.empty() || !firstLineEnded || lines[0].size() > kMaxCatalogLine || !IsCatalogMagicLine(lines[0]))
    return CatalogLookup::Result::BadMagic;
  for (size_t i = 1; i < lines.size(); ++i) {
    CatalogEntry entry;
    if (lines[i].size() <= kMaxCatalogLine && ParseCatalogEntry(lines[i], &entry) && entry.first == first &&
        entry.second == second) {
      *path = std::string(entry.path);
      return CatalogLookup::Result::Found;
    }
  }
  return CatalogLookup::Result::NotFound;
}

void CheckPath(std::string_view path) {
  Check(!path.empty() && path.size() <= kMaxCatalogPath, "path empty or too long");
  Check(path.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos, "CR, LF or NUL in a path");
  Check(path.front() != ' ' && path.front() != '\t', "path begins with a blank");
  Check(path.back() != ' ' && path.back() != '\t', "path ends in a blank");
}

void CheckLookup(std::string_view file, const std::vector<std::string_view>& lines, bool firstLineEnded, uint32_t first,
                 uint32_t second, size_t piece) {
  std::string expectedPath;
  CatalogLookup::Result expected = Reference(lines, firstLineEnded, first, second, &expectedPath);

  CatalogLookup lookup(first, second);
  for (size_t at = 0; at < file.size(); at += piece) {
    size_t size = file.size() - at < piece ? file.size() - at : piece;
    if (!lookup.Feed(file.data() + at, size)) break;
  }
  lookup.Finish();
  Check(lookup.result() == expected, "piecewise lookup differs from the whole-file reading");
  Check(lookup.path() == expectedPath, "found path differs from the whole-file reading");
  if (expected != CatalogLookup::Result::Found) return;

  CheckPath(lookup.path());
  std::string again = std::string(kCatalogMagic) + "\n" + FormatCatalogEntry(first, second, lookup.path());
  CatalogLookup reread(first, second);
  reread.Feed(again.data(), again.size());
  reread.Finish();
  Check(reread.result() == CatalogLookup::Result::Found, "a written entry is not found");
  Check(std::string_view(reread.path()) == lookup.path(), "a written entry reads back another path");
}

// False when the first line is not the magic line.
bool CheckCatalog(std::string_view file) {
  bool lastHasLf = false;
  std::vector<std::string_view> lines = Lines(file, &lastHasLf);
  bool firstLineEnded = lines.size() > 1 || lastHasLf;
  // Identities to look up: none matching, the first and the last entry's.
  std::vector<CatalogEntry> probes(1);
  probes[0].first = 0xFFFFFFFFu;
  for (size_t i = 1; i < lines.size(); ++i) {
    CatalogEntry entry;
    if (lines[i].size() <= kMaxCatalogLine && ParseCatalogEntry(lines[i], &entry)) {
      CheckPath(entry.path);
      if (probes.size() < 3)
        probes.push_back(entry);
      else
        probes[2] = entry;
    }
  }
  size_t piece = 1 + file.size() % 7;
  for (const CatalogEntry& probe : probes) {
    CheckLookup(file, lines, firstLineEnded, probe.first, probe.second, file.size() + 1);
    CheckLookup(file, lines, firstLineEnded, probe.first, probe.second, piece);
  }
  return firstLineEnded && IsCatalogMagicLine(lines[0]) && lines[0].size() <= kMaxCatalogLine;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view file(reinterpret_cast<const char*>(data), size);
  if (CheckCatalog(file)) return 0;
  CheckCatalog(std::string(kCatalogMagic) + "\n" + std::string(file));
  return 0;
}
