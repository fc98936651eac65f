/*
 * Other players' playlists, without any platform code: M3U and M3U8 lines,
 * PLS keys, the names and file URIs they hold, and writing M3U, M3U8 and
 * PLS. The XML playlists (WPL, XSPF) are read on Windows by xml_playlist.h,
 * which hands each entry to AddPlaylistEntry below, so every format takes
 * names, kinds and bounds by the same rules.
 *
 * An entry becomes a record the program turns into a Sound Object as it
 * does a .WDL item: its kind from the name's extension, its title as the
 * description. Whatever cannot be taken is listed with where it was and
 * why; nothing is dropped without a word. Texts stay in the file's bytes:
 * a line that is valid UTF-8 is UTF-8, any other is in the legacy code
 * page, as in list files (file_text.h converts them).
 *
 * What the formats have no form for (CD tracks, Pause objects, repeat
 * counts, delays, the kind bits, an empty description) Wendle keeps in
 * lines of its own that other players skip:
 *
 *   M3U   #WENDLE:<flags> <repeat> <delay> <track>   numbers of the entry below
 *         #WENDLE-DESCRIPTION:<text>                 its exact description
 *         #WENDLE-NAME:<text>                        the name of an entry without a file
 *         #WENDLE-ITEM:<flags> <repeat> <delay> <track>
 *                                                    ends an entry without a file
 *   PLS   Wendle<N>, WendleDescription<N>            for File<N>
 *         Wendle<N>.<k>, WendleDescription<N>.<k>, WendleName<N>.<k>
 *                                                    the k-th entry without a file after File<N>
 *
 * The numbers are those of a .WDL item's numbers line; a file line gets
 * them only where the kind its extension names, no repeats, no delay and
 * no track would not say the same. A description goes in #EXTINF or
 * Title<N> when it has characters, and an empty one in Wendle's own line,
 * since another player's empty title means none. An entry without a file
 * is a CD track, a Pause object, or an object whose name no player could
 * take as a file line (one starting with "#", or looking like an address);
 * N is 0 for those before the first file. Every text in Wendle's own lines
 * stands as written, up to the line's end.
 */
#ifndef WENDLE_STORAGE_PLAYLIST_FORMAT_H
#define WENDLE_STORAGE_PLAYLIST_FORMAT_H

#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/list_format.h"

enum class PlaylistFormat : uint8_t { None, M3u, M3u8, Pls, Wpl, Xspf };

// The format a file's extension names (any letter case); None for any
// other name, a .WDL list file's too.
PlaylistFormat PlaylistFormatOfName(std::string_view name);

// Bounds that keep a huge, binary or endless playlist from costing more
// than a list of this many entries would.
inline constexpr size_t kMaxPlaylistBytes = 64u << 20;
inline constexpr size_t kMaxPlaylistEntries = 250000;
// Refusals listed one by one; any more are only counted.
inline constexpr size_t kMaxListedRefusals = 1000;
// XML nesting (a WPL or XSPF entry lies four elements deep) and the
// attributes one element may have.
inline constexpr uint32_t kMaxXmlDepth = 32;
inline constexpr uint32_t kMaxXmlAttributes = 64;

// The texts of the entries read, kept in a few large blocks rather than a
// block each: a playlist of many entries costs few allocations. A text kept
// stays where it is until the store goes; moving the store keeps it too.
class PlaylistTexts {
 public:
  // A lasting copy of text.
  std::string_view Keep(std::string_view text);

 private:
  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = 0;
  size_t room_ = 0;
};

// One entry read. Its texts are its own, held by the read's PlaylistTexts: a
// file name decoded from a URI is no longer the file's bytes.
struct PlaylistEntry {
  bool hasDescription = false;
  std::string_view description;
  bool hasFileName = false;
  std::string_view fileName;
  uint32_t flags = 0;
  uint32_t repeatCount = 0;
  uint32_t postDelay = 0;
  uint8_t trackNumber = 0;
  // The name is relative to the playlist's own folder, where the program
  // looks for it; otherwise it is a full name, used as it stands.
  bool relative = false;
  uint32_t line = 0;   // where the entry's name was (1 = the first line)
  uint32_t index = 0;  // its number in the playlist (PLS: the N of File<N>)

  // The entry as a list-file item; its texts are views into this entry.
  ListItemRecord Record() const;
  // Every field but line and index.
  bool SameItem(const PlaylistEntry& other) const;
};

enum class PlaylistRefusal : uint8_t {
  WebAddress,          // http:, https:, ftp:, mms:, rtsp: and the like
  OtherScheme,         // another URI scheme, or a file: URI of no known form
  UnplayableKind,      // the name's extension is no kind Wendle plays
  TooLong,             // a name or title over kMaxListText bytes
  BadPercentEncoding,  // "%" not followed by two hex digits
  ControlCharacter,    // a name holding a control character (after decoding)
  NoName,              // an entry without a name (PLS Title<N> without File<N>, XSPF track without location)
  Duplicate,           // PLS: a key given twice for the same entry
  BadNumber,           // PLS: an entry number over 4294967295
  BadWendleLine,       // one of Wendle's own lines that cannot be read
  // Never given by the readers: for the program's own look at the disk
  // afterwards, so a missing file is named in the same message.
  MissingFile,
};

struct PlaylistRefused {
  uint32_t line = 0;
  uint32_t index = 0;
  PlaylistRefusal reason = PlaylistRefusal::UnplayableKind;
  std::string text;  // the entry's text as it stood, cut between characters to kMaxListText bytes
};

// Why reading stopped before the end, or never started.
enum class PlaylistStop : uint8_t {
  None,            // read to the end
  TooLarge,        // the file is larger than kMaxPlaylistBytes: nothing read
  NotText,         // NUL bytes (a binary or UTF-16 file): nothing read
  NotThisFormat,   // no "[playlist]" section, or XML of another kind
  TooManyEntries,  // kMaxPlaylistEntries taken; the rest not read
  BrokenXml,       // the XML reader failed at stopLine; the entries before it stay
  TooDeep,         // XML nested deeper than kMaxXmlDepth
  TooManyAttributes,
  NoXmlReader,  // the system's XML reader could not be had
  CannotRead,   // the file could not be opened or read, or is no disk file
};

struct PlaylistRead {
  PlaylistTexts texts;  // the entries' texts
  std::vector<PlaylistEntry> entries;
  std::vector<PlaylistRefused> refused;  // the first kMaxListedRefusals
  size_t refusedCount = 0;               // all of them
  PlaylistStop stop = PlaylistStop::None;
  uint32_t stopLine = 0;

  // Nothing to take, for a reason: not the same as an empty playlist.
  bool YieldedNothing() const { return entries.empty() && (refusedCount > 0 || stop != PlaylistStop::None); }
  // Every entry taken.
  bool Complete() const { return refusedCount == 0 && stop == PlaylistStop::None; }
};

// The listed refusals in the order of the file, for the message that names
// them (checks made after the reading add theirs at the end).
void SortRefusalsByLine(PlaylistRead* read);

// Lists a refusal (or only counts it, past kMaxListedRefusals).
void AddPlaylistRefusal(PlaylistRead* read, uint32_t line, uint32_t index, PlaylistRefusal reason,
                        std::string_view text);

// How an entry's name is written.
enum class PlaylistNameSyntax : uint8_t {
  Path,  // M3U, PLS, WPL: a path, or a URI with a scheme ("file:///C:/a%20b.mp3")
  Uri,   // XSPF: a URI reference; a relative one is percent-encoded too
};

// The name of an entry as Wendle takes it: blanks around it dropped, either
// slash made a backslash, a file URI decoded ("file:///C:/a%20b.mp3" is
// "C:\a b.mp3", "file://server/share/x.mp3" is "\\server\share\x.mp3").
// Gives the refusal's reason, or true with *name and *relative set.
bool TakePlaylistName(std::string_view text, PlaylistNameSyntax syntax, std::string* name, bool* relative,
                      PlaylistRefusal* reason);

// The kind flags a file name gives an entry (Wave, Midi, Video or
// AudioFile); 0 when its extension is none of Wendle's kinds.
uint32_t PlaylistKindOfName(std::string_view name);

// Takes one entry of another player's form: the name as it stood and the
// title (hasTitle false, or an empty title: no description). The entry or
// its refusal is added to read. False when read holds kMaxPlaylistEntries
// entries already: the caller stops (read->stop says so).
bool AddPlaylistEntry(PlaylistRead* read, uint32_t line, uint32_t index, std::string_view nameText,
                      PlaylistNameSyntax syntax, bool hasTitle, std::string_view title);

// Readers of a whole file held in memory; a byte-order mark is skipped and
// lines end with LF or CR LF. M3U and M3U8 are read alike. read is cleared
// first.
void ReadM3u(const char* data, size_t size, PlaylistRead* read);
void ReadPls(const char* data, size_t size, PlaylistRead* read);

// The part of path after folder when path lies in folder or below it
// (letter case and either slash alike, as Windows compares ASCII names);
// false otherwise. Non-ASCII letters must match exactly.
bool PathUnderFolder(std::string_view path, std::string_view folder, std::string_view* relative);

// Writes M3U, M3U8 or PLS text, lines ended with CR LF, as Windows players
// write them. The writer is byte-oriented: the caller gives texts in the
// bytes the file is to hold (UTF-8 for M3U8 and PLS; for M3U, the legacy
// code page where a text has its form there: see playlist_file.h).
class PlaylistWriter {
 public:
  // folder: the playlist's own folder, where relative names start.
  PlaylistWriter(PlaylistFormat format, std::string_view folder);

  // Appends one item. A file's name is its full path: written relative to
  // the folder when the file lies under it.
  void Append(const ListItemRecord& item);
  // The whole text; PLS's closing keys are added here.
  const std::string& Finish();

 private:
  void AppendPlain(const ListItemRecord& item, std::string_view name);
  void AppendWithoutFile(const ListItemRecord& item);

  PlaylistFormat format_;
  std::string folder_;
  std::string out_;
  uint32_t files_ = 0;        // PLS: File<N> written
  uint32_t withoutFile_ = 0;  // PLS: entries without a file since File<files_>
  bool finished_ = false;
};

#endif  // WENDLE_STORAGE_PLAYLIST_FORMAT_H
