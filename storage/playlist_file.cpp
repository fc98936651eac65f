// Playlist files between the disk and the program (see playlist_file.h).
#include "storage/playlist_file.h"

#include <algorithm>
#include <memory>
#include <new>

#include "storage/utf8_text.h"
#include "storage/whole_file.h"
#include "storage/xml_playlist.h"

namespace {

// A text of the file in the program's code page, however long it becomes.
std::string_view ProgramText(std::string_view text, std::string* converted, TextCodePages pages) {
  return TextFromFile(text, converted, static_cast<size_t>(-1), pages);
}

// Replaces *text by its program form.
void MakeProgramText(std::string* text, TextCodePages pages) {
  std::string converted;
  std::string_view program = ProgramText(*text, &converted, pages);
  if (program.data() == converted.data()) text->swap(converted);
}

// Replaces an entry's *text, held in texts, by its program form.
void MakeProgramText(std::string_view* text, PlaylistTexts* texts, TextCodePages pages) {
  std::string converted;
  std::string_view program = ProgramText(*text, &converted, pages);
  if (program.data() == converted.data()) *text = texts->Keep(converted);
}

bool NothingRead(PlaylistStop stop) {
  return stop == PlaylistStop::CannotRead || stop == PlaylistStop::TooLarge || stop == PlaylistStop::NotText ||
         stop == PlaylistStop::NotThisFormat || stop == PlaylistStop::NoXmlReader;
}

}  // namespace

void ReadPlaylistBytes(PlaylistFormat format, const char* data, size_t size, PlaylistRead* read) {
  switch (format) {
    case PlaylistFormat::M3u:
    case PlaylistFormat::M3u8:
      ReadM3u(data, size, read);
      return;
    case PlaylistFormat::Pls:
      ReadPls(data, size, read);
      return;
    default:
      ReadXmlPlaylist(format, data, size, read);
      return;
  }
}

bool ReadPlaylistFile(const char* path, PlaylistRead* read, TextCodePages pages) {
  *read = PlaylistRead();
  PlaylistFormat format = path ? PlaylistFormatOfName(path) : PlaylistFormat::None;
  if (format == PlaylistFormat::None) {
    read->stop = PlaylistStop::NotThisFormat;
    return false;
  }
  FileBytes bytes;
  if (DWORD error = ReadWholeFile(path, kMaxPlaylistBytes, &bytes)) {
    read->stop = error == ERROR_FILE_TOO_LARGE ? PlaylistStop::TooLarge : PlaylistStop::CannotRead;
    return false;
  }
  ReadPlaylistBytes(format, bytes.data.get(), bytes.size, read);
  PlaylistTextsToProgram(read, pages);
  return !NothingRead(read->stop);
}

void PlaylistTextsToProgram(PlaylistRead* read, TextCodePages pages) {
  for (PlaylistRefused& refused : read->refused) {
    MakeProgramText(&refused.text, pages);
    size_t cut = std::min(refused.text.size(), kMaxListText);
    if (pages.active == CP_UTF8) cut = Utf8CutLength(refused.text, cut);
    refused.text.resize(cut);
  }
  size_t kept = 0;
  for (size_t i = 0; i < read->entries.size(); ++i) {
    PlaylistEntry& entry = read->entries[i];
    MakeProgramText(&entry.description, &read->texts, pages);
    MakeProgramText(&entry.fileName, &read->texts, pages);
    if (entry.description.size() > kMaxListText || entry.fileName.size() > kMaxListText) {
      std::string_view shown = entry.fileName;
      if (pages.active == CP_UTF8) shown = shown.substr(0, Utf8CutLength(shown, kMaxListText));
      AddPlaylistRefusal(read, entry.line, entry.index, PlaylistRefusal::TooLong, shown.substr(0, kMaxListText));
      continue;
    }
    if (kept != i) read->entries[kept] = std::move(entry);
    ++kept;
  }
  read->entries.resize(kept);
  SortRefusalsByLine(read);
}

std::string_view TextForLegacyPlaylist(std::string_view text, std::string* converted, TextCodePages pages) {
  if (IsAsciiText(text)) return text;
  if (pages.active == pages.legacy) {
    if (!IsValidUtf8(text)) return text;
  } else if (ConvertText(pages.active, pages.legacy, text, true, converted) && !IsValidUtf8(*converted)) {
    return *converted;
  }
  // No form in the legacy code page, or one that would read back as
  // UTF-8: the text goes in UTF-8, which reads back as it is.
  if (pages.active == CP_UTF8) return text;
  return ConvertText(pages.active, CP_UTF8, text, true, converted) ? std::string_view(*converted) : text;
}

std::string_view TextForUtf8Playlist(std::string_view text, std::string* converted, TextCodePages pages) {
  if (pages.active == CP_UTF8 || IsValidUtf8(text)) return text;
  std::wstring wide;
  if (!ToWide(pages.active, text, &wide) || !FromWide(CP_UTF8, wide, true, converted)) return text;
  return *converted;
}
