// libFuzzer target for the M3U and PLS readers and the playlist writer.
//
// Any bytes are read as an M3U and as a PLS playlist (and, when they hold
// no "[playlist]" section, once more as PLS with one put before them, so
// the key reader is reached from any input). Every entry and refusal must
// keep the readers' promises; writing the entries as M3U8 and as PLS and
// reading them back must give the same entries, all of them taken, and
// writing those again must give the same bytes. The bytes are also taken
// as one name, in both syntaxes.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/sound_object_kind.h"
#include "storage/playlist_format.h"

namespace {

// The playlist's folder in the round trips. Its control character cannot
// stand in a name read, so no full name read lies under it by chance.
constexpr std::string_view kFolder = "C:\\\x01Fuzz";

void Check(bool condition, const char* what) {
  if (!condition) {
    fprintf(stderr, "playlist_format_fuzzer: %s\n", what);
    abort();
  }
}

void CheckText(bool hasText, std::string_view text) {
  Check(hasText || text.empty(), "an absent text has characters");
  Check(text.size() <= kMaxListText, "text longer than kMaxListText");
  Check(text.find('\0') == std::string::npos, "NUL inside a text");
  Check(text.find('\n') == std::string::npos, "LF inside a text");
  Check(text.empty() || text.back() != '\r', "text ends in CR");
}

void CheckRead(const PlaylistRead& read, size_t size) {
  Check(read.entries.size() <= kMaxPlaylistEntries, "more entries than the bound");
  Check(read.entries.size() <= size, "more entries than bytes");
  Check(read.refused.size() <= kMaxListedRefusals, "more refusals listed than the bound");
  Check(read.refused.size() <= read.refusedCount, "refusals listed but not counted");
  Check(read.YieldedNothing() == (read.entries.empty() && !read.Complete()), "yielded nothing disagrees");
  for (const PlaylistEntry& entry : read.entries) {
    CheckText(entry.hasDescription, entry.description);
    CheckText(entry.hasFileName, entry.fileName);
    Check(entry.line > 0, "an entry without its line");
  }
  for (const PlaylistRefused& refused : read.refused) {
    Check(refused.text.size() <= kMaxListText, "refusal text longer than kMaxListText");
    Check(refused.reason != PlaylistRefusal::MissingFile, "a reader looked at the disk");
  }
}

// The path the program gives the writer: a file's full path, else the
// entry's name as it stands (a Pause object's label).
std::string PathOf(const PlaylistEntry& entry) {
  uint32_t kind = ObjectKind(entry.flags);
  bool file = kind == Wave || kind == Midi || kind == Video || kind == AudioFile;
  if (file && entry.relative) return std::string(kFolder) + "\\" + std::string(entry.fileName);
  return std::string(entry.fileName);
}

std::string Write(const std::vector<PlaylistEntry>& entries, PlaylistFormat format) {
  PlaylistWriter writer(format, kFolder);
  for (const PlaylistEntry& entry : entries) {
    std::string path = PathOf(entry);
    ListItemRecord record = entry.Record();
    record.fileName = path;
    writer.Append(record);
  }
  return writer.Finish();
}

void RoundTrip(const std::vector<PlaylistEntry>& entries, PlaylistFormat format) {
  std::string written = Write(entries, format);
  PlaylistRead again;
  if (format == PlaylistFormat::Pls) {
    ReadPls(written.data(), written.size(), &again);
  } else {
    ReadM3u(written.data(), written.size(), &again);
  }
  Check(again.Complete(), "a written playlist is not taken whole");
  Check(again.entries.size() == entries.size(), "a written playlist has another entry count");
  for (size_t i = 0; i < entries.size(); ++i)
    Check(again.entries[i].SameItem(entries[i]), "an entry changed by writing and reading");
  Check(Write(again.entries, format) == written, "second writing differs from the first");
}

void CheckPlaylist(const char* data, size_t size, bool pls) {
  PlaylistRead read;
  if (pls) {
    ReadPls(data, size, &read);
  } else {
    ReadM3u(data, size, &read);
  }
  CheckRead(read, size);
  RoundTrip(read.entries, PlaylistFormat::M3u8);
  RoundTrip(read.entries, PlaylistFormat::Pls);
  if (pls && read.stop == PlaylistStop::NotThisFormat) {
    // An exact-size copy, so the sanitizer still sees any read past its end.
    constexpr std::string_view kSection = "[playlist]\n";
    std::unique_ptr<char[]> copy(new char[kSection.size() + size]);
    memcpy(copy.get(), kSection.data(), kSection.size());
    if (size > 0) memcpy(copy.get() + kSection.size(), data, size);
    CheckPlaylist(copy.get(), kSection.size() + size, true);
  }
}

// Whatever a name becomes holds no control character and no forward
// slash, and has no blank at either end; and a name joined to a folder
// lies under that folder.
void CheckName(std::string_view text) {
  for (PlaylistNameSyntax syntax : {PlaylistNameSyntax::Path, PlaylistNameSyntax::Uri}) {
    std::string name;
    bool relative = false;
    PlaylistRefusal reason;
    if (!TakePlaylistName(text, syntax, &name, &relative, &reason)) continue;
    Check(!name.empty() && name.size() <= kMaxListText, "a name empty or too long");
    Check(name.front() != ' ' && name.back() != ' ', "a name with a blank at an end");
    for (char c : name) Check(static_cast<unsigned char>(c) >= 0x20 && c != '/', "a control character or slash");
  }
  if (text.empty()) return;
  std::string_view under;
  std::string joined = "C:\\Lists\\" + std::string(text);
  Check(PathUnderFolder(joined, "c:/lists", &under) && under == text, "a joined name not under its folder");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  CheckName(std::string_view(bytes, std::min<size_t>(size, 4 * kMaxListText)));
  CheckPlaylist(bytes, size, false);
  CheckPlaylist(bytes, size, true);
  return 0;
}
