/*
 * Reading and writing other players' playlists (see playlist_format.h).
 *
 * The readers walk the file once, a line at a time; PLS keys are gathered
 * and sorted by their entry numbers, since the numbers, not the lines,
 * give the order. Every text kept is at most kMaxListText bytes and every
 * list is bounded, so any input costs time and memory in proportion to its
 * size, and no more than kMaxPlaylistEntries entries would.
 */
#include "storage/playlist_format.h"

#include <string.h>

#include <algorithm>
#include <charconv>

#include "model/file_kind.h"
#include "model/sound_object_kind.h"
#include "storage/utf8_text.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// Wendle's own M3U lines.
constexpr std::string_view kM3uNumbers = "#WENDLE:";
constexpr std::string_view kM3uDescription = "#WENDLE-DESCRIPTION:";
constexpr std::string_view kM3uName = "#WENDLE-NAME:";
constexpr std::string_view kM3uItem = "#WENDLE-ITEM:";
constexpr std::string_view kExtInf = "#EXTINF:";
// The bytes of a short M3U entry, for the first guess at a list's size.
constexpr size_t kM3uEntryBytes = 64;

// Schemes of addresses on the web, named as such in a refusal.
constexpr std::string_view kWebSchemes[] = {"http", "https", "ftp",  "ftps",  "sftp", "mms", "mmsh", "mmst",
                                            "rtsp", "rtsps", "rtmp", "rtmps", "rtp",  "udp", "icy",  "icyx"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSlash(char c) { return c == '/' || c == '\\'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

bool StartsIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A text cannot end in CR: it would be taken for part of the line end when
// written and read again.
std::string_view WithoutTrailingCr(std::string_view text) {
  while (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return text;
}

// A text to write: up to its first LF or NUL, so a stray line break cannot
// put the rest of the file out of step.
std::string_view OneLine(std::string_view text) {
  return text.substr(0, text.find_first_of(std::string_view("\n\0", 2)));
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

bool PercentDecode(std::string_view text, std::string* out) {
  out->clear();
  out->reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out->push_back(text[i]);
      continue;
    }
    int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low < 0) return false;
    out->push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return true;
}

// The length of the URI scheme text starts with ("http" in "http://x"); 0
// when it has none. A single letter before the colon is a drive.
size_t SchemeLength(std::string_view text) {
  if (text.empty() || !IsAsciiLetter(text[0])) return 0;
  size_t i = 1;
  while (i < text.size() &&
         (IsAsciiLetter(text[i]) || IsDigit(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.'))
    ++i;
  return i >= 2 && i < text.size() && text[i] == ':' ? i : 0;
}

bool IsWebScheme(std::string_view scheme) {
  for (std::string_view web : kWebSchemes)
    if (SameIgnoringCase(scheme, web)) return true;
  return false;
}

// "C:" or, as old file URIs write it, "C|".
bool StartsWithDrive(std::string_view path) {
  return path.size() >= 2 && IsAsciiLetter(path[0]) && (path[1] == ':' || path[1] == '|') &&
         (path.size() == 2 || IsSlash(path[2]));
}

// A name that is neither a full path ("C:\...", "\\server\...") nor one
// that names a drive or the drive's root ("C:LIST", "\LIST"), as the
// program judges its list files' names.
bool NameIsRelative(std::string_view name) {
  if (name.empty() || IsSlash(name[0])) return false;
  return !(name.size() > 1 && name[1] == ':');
}

// The path of a file URI, the text after "file:", as a Windows path with
// forward slashes still in it.
bool FileUriPath(std::string_view rest, std::string* path, PlaylistRefusal* reason) {
  std::string authority;
  std::string_view encoded = rest;
  if (rest.substr(0, 2) == "//") {
    std::string_view afterSlashes = rest.substr(2);
    size_t slash = afterSlashes.find('/');
    std::string_view host = afterSlashes.substr(0, slash);
    encoded = slash == std::string_view::npos ? std::string_view() : afterSlashes.substr(slash);
    if (!PercentDecode(host, &authority)) {
      *reason = PlaylistRefusal::BadPercentEncoding;
      return false;
    }
    if (SameIgnoringCase(authority, "localhost")) authority.clear();
  }
  std::string decoded;
  if (!PercentDecode(encoded, &decoded)) {
    *reason = PlaylistRefusal::BadPercentEncoding;
    return false;
  }
  if (StartsWithDrive(authority)) {
    // "file://C:/x.mp3", a common slip for "file:///C:/x.mp3".
    decoded.insert(0, authority);
    authority.clear();
  }
  if (!authority.empty()) {
    *path = "//" + authority + decoded;  // a share: \\server\share\...
  } else if (decoded.size() >= 3 && decoded[0] == '/' && StartsWithDrive(std::string_view(decoded).substr(1))) {
    *path = decoded.substr(1);
  } else if (StartsWithDrive(decoded) || (!decoded.empty() && decoded[0] == '/')) {
    *path = decoded;  // a drive, a share ("file:////server/share") or the drive's root
  } else {
    *reason = PlaylistRefusal::OtherScheme;
    return false;
  }
  if (path->size() >= 2 && (*path)[1] == '|') (*path)[1] = ':';
  return true;
}

// Four unsigned decimal numbers, as on a .WDL item's numbers line.
bool ParseNumbers(std::string_view line, uint32_t numbers[4]) {
  size_t count = 0, i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return count == 4;
    if (count == 4 || !IsDigit(line[i])) return false;
    uint64_t value = 0;
    while (i < line.size() && IsDigit(line[i])) {
      value = value * 10 + static_cast<uint64_t>(line[i] - '0');
      if (value > 0xFFFFFFFFu) return false;
      ++i;
    }
    numbers[count++] = static_cast<uint32_t>(value);
  }
}

void AppendNumber(std::string* out, uint64_t value) {
  char digits[24];
  std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
  out->append(digits, r.ptr);
}

void AppendNumbers(std::string* out, const ListItemRecord& item) {
  AppendNumber(out, item.flags);
  out->push_back(' ');
  AppendNumber(out, item.repeatCount);
  out->push_back(' ');
  AppendNumber(out, item.postDelay);
  out->push_back(' ');
  AppendNumber(out, item.trackNumber);
}

bool IsFileKind(uint32_t kind) { return kind == Wave || kind == Midi || kind == Video || kind == AudioFile; }

// What the lines before an entry said about it: another player's title,
// and Wendle's own lines.
struct EntryNotes {
  bool hasTitle = false;
  std::string_view title;
  bool hasNumbers = false;
  bool numbersRead = false;
  uint32_t numbers[4] = {};
  bool hasDescription = false;
  std::string_view description;
  bool hasName = false;
  std::string_view name;
};

// Whether a file line needs Wendle's numbers beside it: without them it
// reads back with the kind its name gives and no repeats, delay or track.
bool NeedsNumbers(const ListItemRecord& item, std::string_view name) {
  uint32_t kind = PlaylistKindOfName(name);
  return kind == 0 || item.flags != kind || item.repeatCount != 0 || item.postDelay != 0 || item.trackNumber != 0;
}

void SetNumbers(PlaylistEntry* entry, const uint32_t numbers[4]) {
  entry->flags = numbers[0];
  entry->repeatCount = numbers[1];
  entry->postDelay = numbers[2];
  entry->trackNumber = static_cast<uint8_t>(numbers[3] & 0xFF);
}

// True when read may take one more entry; otherwise it says it stopped.
bool RoomForEntry(PlaylistRead* read, uint32_t line) {
  if (read->entries.size() < kMaxPlaylistEntries) return true;
  read->stop = PlaylistStop::TooManyEntries;
  read->stopLine = line;
  return false;
}

// An entry named by a file line (M3U) or key (PLS), or by an XML element.
// *name is room for the name while it is taken, used again entry after
// entry.
bool TakeNamedEntry(PlaylistRead* read, uint32_t line, uint32_t index, std::string_view nameText,
                    PlaylistNameSyntax syntax, const EntryNotes& notes, std::string* name) {
  if (!RoomForEntry(read, line)) return false;
  PlaylistRefusal reason;
  PlaylistEntry entry;
  if (notes.hasNumbers && !notes.numbersRead) {
    AddPlaylistRefusal(read, line, index, PlaylistRefusal::BadWendleLine, nameText);
    return true;
  }
  if (!TakePlaylistName(nameText, syntax, name, &entry.relative, &reason)) {
    AddPlaylistRefusal(read, line, index, reason, TrimBlanks(nameText));
    return true;
  }
  entry.hasFileName = true;
  if (notes.hasNumbers) {
    SetNumbers(&entry, notes.numbers);
  } else {
    entry.flags = KindOfFileName(name->c_str());
    if (entry.flags == 0) {
      AddPlaylistRefusal(read, line, index, PlaylistRefusal::UnplayableKind, *name);
      return true;
    }
  }
  // Wendle's own description is exact; another player's empty title is
  // no description.
  std::string_view description = notes.hasDescription ? notes.description : notes.title;
  entry.hasDescription = notes.hasDescription || (notes.hasTitle && !notes.title.empty());
  if (description.size() > kMaxListText) {
    AddPlaylistRefusal(read, line, index, PlaylistRefusal::TooLong, *name);
    return true;
  }
  entry.fileName = read->texts.Keep(*name);
  if (entry.hasDescription) entry.description = read->texts.Keep(description);
  entry.line = line;
  entry.index = index;
  read->entries.push_back(std::move(entry));
  return true;
}

// An entry of Wendle's own without a file line: its texts stand as written.
bool TakeEntryWithoutFile(PlaylistRead* read, uint32_t line, uint32_t index, std::string_view numbersText,
                          const EntryNotes& notes) {
  if (!RoomForEntry(read, line)) return false;
  PlaylistEntry entry;
  uint32_t numbers[4];
  std::string_view shown = notes.hasName ? notes.name : notes.hasDescription ? notes.description : numbersText;
  if (!ParseNumbers(numbersText, numbers)) {
    AddPlaylistRefusal(read, line, index, PlaylistRefusal::BadWendleLine, shown);
    return true;
  }
  if (notes.name.size() > kMaxListText || notes.description.size() > kMaxListText) {
    AddPlaylistRefusal(read, line, index, PlaylistRefusal::TooLong, shown);
    return true;
  }
  SetNumbers(&entry, numbers);
  entry.hasDescription = notes.hasDescription;
  entry.description = read->texts.Keep(notes.description);
  entry.hasFileName = notes.hasName;
  entry.fileName = read->texts.Keep(notes.name);
  entry.relative = notes.hasName && NameIsRelative(notes.name);
  entry.line = line;
  entry.index = index;
  read->entries.push_back(std::move(entry));
  return true;
}

// The first byte c in [at, end), or null. Eight bytes are looked at in
// one step: the C library's memchr may go a byte at a time, and a
// playlist's bytes are walked twice, for NUL and for line ends.
const char* FindByte(const char* at, const char* end, char c) {
  constexpr uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
  const uint64_t pattern = kOnes * static_cast<unsigned char>(c);
  while (end - at >= 8) {
    uint64_t word;
    memcpy(&word, at, sizeof word);
    word ^= pattern;  // a zero byte where c was
    if ((word - kOnes) & ~word & kHighs) break;
    at += 8;
  }
  for (; at < end; ++at)
    if (*at == c) return at;
  return nullptr;
}

// Walks the lines of a text file held in memory.
class Lines {
 public:
  Lines(const char* data, size_t size) : at_(data), end_(data + size) {}
  // The next line without its line end; false at the end of the bytes.
  bool Next(std::string_view* line) {
    if (at_ >= end_) return false;
    size_t rest = static_cast<size_t>(end_ - at_);
    const char* lf = FindByte(at_, end_, '\n');
    size_t length = lf ? static_cast<size_t>(lf - at_) : rest;
    *line = WithoutTrailingCr(std::string_view(at_, length));
    at_ += lf ? length + 1 : length;
    ++number_;
    return true;
  }
  uint32_t number() const { return number_; }

 private:
  const char* at_;
  const char* end_;
  uint32_t number_ = 0;
};

// Clears read and checks what every text format needs: a bounded size and
// no NUL byte (a binary file, or text in UTF-16). Moves *data past a
// byte-order mark. False when nothing can be read.
bool StartTextFile(const char** data, size_t* size, PlaylistRead* read) {
  *read = PlaylistRead();
  if (*data == nullptr) *size = 0;
  if (*size > kMaxPlaylistBytes) {
    read->stop = PlaylistStop::TooLarge;
    return false;
  }
  if (*size > 0 && FindByte(*data, *data + *size, '\0') != nullptr) {
    read->stop = PlaylistStop::NotText;
    return false;
  }
  if (std::string_view(*data, *size).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    *data += kByteOrderMark.size();
    *size -= kByteOrderMark.size();
  }
  return true;
}

// The title of an "#EXTINF:" line: what follows the first comma outside
// quotes (IPTV lists put quoted attributes before it); none without one.
bool ExtInfTitle(std::string_view rest, std::string_view* title) {
  bool quoted = false;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '"') quoted = !quoted;
    if (rest[i] == ',' && !quoted) {
      *title = rest.substr(i + 1);
      return true;
    }
  }
  return false;
}

// --- PLS --------------------------------------------------------------

enum class PlsField : uint8_t { File, Title, Numbers, Description, Name };

struct PlsKey {
  uint64_t order;  // the entry number N, then k: N << 32 | k
  PlsField field;
  uint32_t line;
  std::string_view value;
};

// A decimal entry number; false when there is none. *tooLarge tells one
// over 4294967295 from none.
bool TakeEntryNumber(std::string_view* text, uint32_t* number, bool* tooLarge) {
  size_t digits = 0;
  uint64_t value = 0;
  while (digits < text->size() && IsDigit((*text)[digits])) {
    value = value * 10 + static_cast<uint64_t>((*text)[digits] - '0');
    if (value > 0xFFFFFFFFu) *tooLarge = true;
    if (*tooLarge) value = 0;
    ++digits;
  }
  if (digits == 0 || *tooLarge) return false;
  text->remove_prefix(digits);
  *number = static_cast<uint32_t>(value);
  return true;
}

enum class KeyKind { Other, Entry, BadNumber };

// A key of an entry: File<N>, Title<N>, or Wendle's own with N or N.k.
// Other for any other key (Length<N>, NumberOfEntries, Version...).
KeyKind ParsePlsKey(std::string_view key, PlsField* field, uint64_t* order) {
  size_t letters = 0;
  while (letters < key.size() && IsAsciiLetter(key[letters])) ++letters;
  std::string_view name = key.substr(0, letters);
  std::string_view rest = key.substr(letters);
  bool own = false;
  if (SameIgnoringCase(name, "File")) {
    *field = PlsField::File;
  } else if (SameIgnoringCase(name, "Title")) {
    *field = PlsField::Title;
  } else if (SameIgnoringCase(name, "Wendle")) {
    *field = PlsField::Numbers;
    own = true;
  } else if (SameIgnoringCase(name, "WendleDescription")) {
    *field = PlsField::Description;
    own = true;
  } else if (SameIgnoringCase(name, "WendleName")) {
    *field = PlsField::Name;
    own = true;
  } else {
    return KeyKind::Other;
  }
  uint32_t number = 0, sub = 0;
  bool tooLarge = false;
  if (!TakeEntryNumber(&rest, &number, &tooLarge)) return tooLarge ? KeyKind::BadNumber : KeyKind::Other;
  if (own && !rest.empty() && rest[0] == '.') {
    rest.remove_prefix(1);
    if (!TakeEntryNumber(&rest, &sub, &tooLarge) || sub == 0) return tooLarge ? KeyKind::BadNumber : KeyKind::Other;
  }
  if (!rest.empty() || (sub == 0 && *field == PlsField::Name)) return KeyKind::Other;
  *order = static_cast<uint64_t>(number) << 32 | sub;
  return KeyKind::Entry;
}

// The keys of one entry: each field at most once.
struct PlsEntryKeys {
  const PlsKey* fields[5] = {};
  uint32_t firstLine = 0;
};

// Gathers the keys of the [playlist] section; false when it has none or
// there are too many keys to be the keys of kMaxPlaylistEntries entries.
bool GatherPlsKeys(const char* data, size_t size, std::vector<PlsKey>* keys, PlaylistRead* read) {
  Lines lines(data, size);
  std::string_view line;
  bool sectionSeen = false, inSection = false;
  while (lines.Next(&line)) {
    std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty() && trimmed[0] == '[') {
      inSection = SameIgnoringCase(trimmed, "[playlist]");
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    PlsKey key;
    KeyKind kind = ParsePlsKey(TrimBlanks(line.substr(0, equals)), &key.field, &key.order);
    if (kind == KeyKind::BadNumber) {
      AddPlaylistRefusal(read, lines.number(), 0, PlaylistRefusal::BadNumber, line);
    }
    if (kind != KeyKind::Entry) continue;
    // Five keys are the most an entry has.
    if (keys->size() >= 5 * kMaxPlaylistEntries) {
      read->stop = PlaylistStop::TooManyEntries;
      read->stopLine = lines.number();
      break;
    }
    key.line = lines.number();
    key.value = line.substr(equals + 1);
    keys->push_back(key);
  }
  if (!sectionSeen) read->stop = PlaylistStop::NotThisFormat;
  return sectionSeen;
}

void TakePlsEntry(PlaylistRead* read, uint64_t order, const PlsEntryKeys& entry, std::string* name) {
  const PlsKey* const* f = entry.fields;
  uint32_t number = static_cast<uint32_t>(order >> 32);
  EntryNotes notes;
  if (const PlsKey* title = f[static_cast<int>(PlsField::Title)]) notes.hasTitle = true, notes.title = title->value;
  if (const PlsKey* description = f[static_cast<int>(PlsField::Description)])
    notes.hasDescription = true, notes.description = description->value;
  if (const PlsKey* name = f[static_cast<int>(PlsField::Name)]) notes.hasName = true, notes.name = name->value;
  const PlsKey* numbers = f[static_cast<int>(PlsField::Numbers)];
  const PlsKey* file = f[static_cast<int>(PlsField::File)];
  if ((order & 0xFFFFFFFFu) != 0) {
    TakeEntryWithoutFile(read, numbers ? numbers->line : entry.firstLine, number,
                         numbers ? numbers->value : std::string_view(), notes);
  } else if (file) {
    notes.hasNumbers = numbers != nullptr;
    notes.numbersRead = numbers && ParseNumbers(numbers->value, notes.numbers);
    TakeNamedEntry(read, file->line, number, file->value, PlaylistNameSyntax::Path, notes, name);
  } else if (RoomForEntry(read, entry.firstLine)) {
    AddPlaylistRefusal(read, entry.firstLine, number, PlaylistRefusal::NoName, notes.title);
  }
}

enum class M3uLine : uint8_t { Other, ExtInf, Numbers, Description, Name, Item };

// What a line starting with "#" is. Its second letter picks the one or two
// prefixes it may have, so a comment costs one look however many kinds of
// line there are.
M3uLine KindOfM3uLine(std::string_view line) {
  char second = line.size() > 1 ? AsciiLower(line[1]) : '\0';
  if (second == 'e') return StartsIgnoringCase(line, kExtInf) ? M3uLine::ExtInf : M3uLine::Other;
  if (second != 'w' || line.size() < kM3uNumbers.size()) return M3uLine::Other;
  // "#WENDLE" then ":" or "-" and the rest of the prefix.
  constexpr size_t kStem = 7;
  if (!SameIgnoringCase(line.substr(0, kStem), kM3uNumbers.substr(0, kStem))) return M3uLine::Other;
  if (line[kStem] == ':') return M3uLine::Numbers;
  if (line[kStem] != '-') return M3uLine::Other;
  if (StartsIgnoringCase(line, kM3uItem)) return M3uLine::Item;
  if (StartsIgnoringCase(line, kM3uDescription)) return M3uLine::Description;
  if (StartsIgnoringCase(line, kM3uName)) return M3uLine::Name;
  return M3uLine::Other;
}

// M3U's Wendle lines and title, taken from a line starting with "#".
void NoteM3uLine(std::string_view line, M3uLine kind, EntryNotes* notes) {
  switch (kind) {
    case M3uLine::ExtInf:
      notes->hasTitle = ExtInfTitle(line.substr(kExtInf.size()), &notes->title);
      break;
    case M3uLine::Numbers:
      notes->hasNumbers = true;
      notes->numbersRead = ParseNumbers(line.substr(kM3uNumbers.size()), notes->numbers);
      break;
    case M3uLine::Description:
      notes->hasDescription = true;
      notes->description = line.substr(kM3uDescription.size());
      break;
    case M3uLine::Name:
      notes->hasName = true;
      notes->name = line.substr(kM3uName.size());
      break;
    case M3uLine::Other:
    case M3uLine::Item:
      break;
  }
}

}  // namespace

std::string_view PlaylistTexts::Keep(std::string_view text) {
  // Texts are short; a block holds many of them, and a text longer than a
  // block gets one of its own.
  constexpr size_t kBlockBytes = 64 * 1024;
  if (text.empty()) return std::string_view("", 0);
  if (text.size() > room_ - used_) {
    room_ = std::max(kBlockBytes, text.size());
    blocks_.emplace_back(new char[room_]);
    used_ = 0;
  }
  char* kept = blocks_.back().get() + used_;
  memcpy(kept, text.data(), text.size());
  used_ += text.size();
  return std::string_view(kept, text.size());
}

ListItemRecord PlaylistEntry::Record() const {
  ListItemRecord record;
  record.hasDescription = hasDescription;
  record.description = description;
  record.hasFileName = hasFileName;
  record.fileName = fileName;
  record.flags = flags;
  record.repeatCount = repeatCount;
  record.postDelay = postDelay;
  record.trackNumber = trackNumber;
  return record;
}

bool PlaylistEntry::SameItem(const PlaylistEntry& o) const {
  return hasDescription == o.hasDescription && description == o.description && hasFileName == o.hasFileName &&
         fileName == o.fileName && flags == o.flags && repeatCount == o.repeatCount && postDelay == o.postDelay &&
         trackNumber == o.trackNumber && relative == o.relative;
}

PlaylistFormat PlaylistFormatOfName(std::string_view name) {
  size_t dot = name.find_last_of("./\\:");
  if (dot == std::string_view::npos || name[dot] != '.') return PlaylistFormat::None;
  std::string_view extension = name.substr(dot + 1);
  if (SameIgnoringCase(extension, "m3u")) return PlaylistFormat::M3u;
  if (SameIgnoringCase(extension, "m3u8")) return PlaylistFormat::M3u8;
  if (SameIgnoringCase(extension, "pls")) return PlaylistFormat::Pls;
  if (SameIgnoringCase(extension, "wpl")) return PlaylistFormat::Wpl;
  if (SameIgnoringCase(extension, "xspf")) return PlaylistFormat::Xspf;
  return PlaylistFormat::None;
}

void SortRefusalsByLine(PlaylistRead* read) {
  std::stable_sort(read->refused.begin(), read->refused.end(),
                   [](const PlaylistRefused& a, const PlaylistRefused& b) { return a.line < b.line; });
}

void AddPlaylistRefusal(PlaylistRead* read, uint32_t line, uint32_t index, PlaylistRefusal reason,
                        std::string_view text) {
  ++read->refusedCount;
  if (read->refused.size() >= kMaxListedRefusals) return;
  PlaylistRefused refused;
  refused.line = line;
  refused.index = index;
  refused.reason = reason;
  refused.text.assign(text.substr(0, Utf8CutLength(text, kMaxListText)));
  read->refused.push_back(std::move(refused));
}

bool TakePlaylistName(std::string_view text, PlaylistNameSyntax syntax, std::string* name, bool* relative,
                      PlaylistRefusal* reason) {
  text = TrimBlanks(text);
  // A percent sign takes three bytes for one: a longer text cannot fit.
  if (text.size() > 3 * kMaxListText) {
    *reason = PlaylistRefusal::TooLong;
    return false;
  }
  if (text.empty()) {
    *reason = PlaylistRefusal::NoName;
    return false;
  }
  size_t scheme = SchemeLength(text);
  if (scheme > 0 && !SameIgnoringCase(text.substr(0, scheme), "file")) {
    *reason = IsWebScheme(text.substr(0, scheme)) ? PlaylistRefusal::WebAddress : PlaylistRefusal::OtherScheme;
    return false;
  }
  if (scheme > 0) {
    if (!FileUriPath(text.substr(scheme + 1), name, reason)) return false;
  } else if (syntax == PlaylistNameSyntax::Uri) {
    if (!PercentDecode(text, name)) {
      *reason = PlaylistRefusal::BadPercentEncoding;
      return false;
    }
  } else {
    name->assign(text);
  }
  for (char& c : *name) {
    if (static_cast<unsigned char>(c) < 0x20) {
      *reason = PlaylistRefusal::ControlCharacter;
      return false;
    }
    if (c == '/') c = '\\';
  }
  // Blanks decoded at either end mean nothing to Windows.
  std::string_view trimmed = TrimBlanks(*name);
  if (trimmed.size() != name->size()) name->assign(std::string(trimmed));
  if (name->empty()) {
    *reason = PlaylistRefusal::NoName;
    return false;
  }
  if (name->size() > kMaxListText) {
    *reason = PlaylistRefusal::TooLong;
    return false;
  }
  *relative = scheme == 0 && NameIsRelative(*name);
  return true;
}

uint32_t PlaylistKindOfName(std::string_view name) {
  std::string copy(name);  // the kind test reads a C string
  return KindOfFileName(copy.c_str());
}

bool AddPlaylistEntry(PlaylistRead* read, uint32_t line, uint32_t index, std::string_view nameText,
                      PlaylistNameSyntax syntax, bool hasTitle, std::string_view title) {
  EntryNotes notes;
  notes.hasTitle = hasTitle;
  notes.title = title;
  std::string name;
  return TakeNamedEntry(read, line, index, nameText, syntax, notes, &name);
}

void ReadM3u(const char* data, size_t size, PlaylistRead* read) {
  if (!StartTextFile(&data, &size, read)) return;
  // An entry with a title and a full name takes some 64 bytes or more:
  // room for that many saves growing the list step by step.
  read->entries.reserve(std::min(size / kM3uEntryBytes + 1, kMaxPlaylistEntries));
  Lines lines(data, size);
  std::string_view line;
  EntryNotes notes;
  std::string name;
  uint32_t index = 0;
  while (lines.Next(&line)) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (TrimBlanks(line).empty()) continue;
    bool more = true;
    M3uLine kind = line[0] == '#' ? KindOfM3uLine(line) : M3uLine::Other;
    if (line[0] != '#') {
      more = TakeNamedEntry(read, lines.number(), ++index, line, PlaylistNameSyntax::Path, notes, &name);
    } else if (kind == M3uLine::Item) {
      more = TakeEntryWithoutFile(read, lines.number(), ++index, line.substr(kM3uItem.size()), notes);
    } else {
      NoteM3uLine(line, kind, &notes);
      continue;
    }
    if (!more) return;
    notes = EntryNotes();
  }
}

void ReadPls(const char* data, size_t size, PlaylistRead* read) {
  if (!StartTextFile(&data, &size, read)) return;
  std::vector<PlsKey> keys;
  if (!GatherPlsKeys(data, size, &keys, read)) return;
  PlaylistStop gathered = read->stop;
  uint32_t gatheredLine = read->stopLine;
  read->stop = PlaylistStop::None;
  std::stable_sort(keys.begin(), keys.end(), [](const PlsKey& a, const PlsKey& b) { return a.order < b.order; });
  std::string name;
  for (size_t first = 0; first < keys.size() && read->stop == PlaylistStop::None;) {
    PlsEntryKeys entry;
    entry.firstLine = keys[first].line;
    size_t end = first;
    for (; end < keys.size() && keys[end].order == keys[first].order; ++end) {
      const PlsKey*& slot = entry.fields[static_cast<int>(keys[end].field)];
      if (slot) {
        AddPlaylistRefusal(read, keys[end].line, static_cast<uint32_t>(keys[end].order >> 32),
                           PlaylistRefusal::Duplicate, keys[end].value);
      } else {
        slot = &keys[end];
        entry.firstLine = std::min(entry.firstLine, keys[end].line);
      }
    }
    TakePlsEntry(read, keys[first].order, entry, &name);
    first = end;
  }
  // Keys past the bound were never gathered: that is the first reason.
  if (gathered != PlaylistStop::None) {
    read->stop = gathered;
    read->stopLine = gatheredLine;
  }
}

bool PathUnderFolder(std::string_view path, std::string_view folder, std::string_view* relative) {
  while (!folder.empty() && IsSlash(folder.back())) folder.remove_suffix(1);
  if (folder.empty() || path.size() <= folder.size() + 1 || !IsSlash(path[folder.size()])) return false;
  for (size_t i = 0; i < folder.size(); ++i) {
    char a = path[i], b = folder[i];
    if (AsciiLower(a) != AsciiLower(b) && !(IsSlash(a) && IsSlash(b))) return false;
  }
  *relative = path.substr(folder.size() + 1);
  return true;
}

PlaylistWriter::PlaylistWriter(PlaylistFormat format, std::string_view folder) : format_(format), folder_(folder) {
  out_ = format_ == PlaylistFormat::Pls ? "[playlist]" : "#EXTM3U";
  out_.append(kLineEnd);
}

void PlaylistWriter::Append(const ListItemRecord& item) {
  if (finished_) return;
  ListItemRecord written = item;
  written.description = OneLine(item.description);
  written.fileName = OneLine(item.fileName);
  if (!IsFileKind(ObjectKind(item.flags)) || !item.hasFileName) {
    AppendWithoutFile(written);
    return;
  }
  std::string_view relative;
  if (PathUnderFolder(written.fileName, folder_, &relative)) written.fileName = relative;
  // A file line must read back as this very name; one that would not (a
  // name starting with "#", or one that looks like an address) is kept in
  // Wendle's own lines instead.
  std::string taken;
  bool takenRelative = false;
  PlaylistRefusal reason;
  if (TakePlaylistName(written.fileName, PlaylistNameSyntax::Path, &taken, &takenRelative, &reason) &&
      taken == written.fileName && written.fileName[0] != '#') {
    AppendPlain(written, written.fileName);
  } else {
    AppendWithoutFile(written);
  }
}

void PlaylistWriter::AppendPlain(const ListItemRecord& item, std::string_view name) {
  bool numbers = NeedsNumbers(item, name);
  bool emptyDescription = item.hasDescription && item.description.empty();
  if (format_ != PlaylistFormat::Pls) {
    if (numbers) {
      out_.append(kM3uNumbers);
      AppendNumbers(&out_, item);
      out_.append(kLineEnd);
    }
    if (emptyDescription) out_.append(kM3uDescription).append(kLineEnd);
    if (item.hasDescription && !emptyDescription)
      out_.append(kExtInf).append("-1,").append(item.description).append(kLineEnd);
    out_.append(name).append(kLineEnd);
    return;
  }
  withoutFile_ = 0;
  auto key = [this](std::string_view keyName) {
    out_.append(keyName);
    AppendNumber(&out_, files_);
    out_.push_back('=');
  };
  ++files_;
  key("File");
  out_.append(name).append(kLineEnd);
  if (item.hasDescription && !emptyDescription) {
    key("Title");
    out_.append(item.description).append(kLineEnd);
  }
  key("Length");
  out_.append("-1").append(kLineEnd);
  if (numbers) {
    key("Wendle");
    AppendNumbers(&out_, item);
    out_.append(kLineEnd);
  }
  if (emptyDescription) {
    key("WendleDescription");
    out_.append(kLineEnd);
  }
}

void PlaylistWriter::AppendWithoutFile(const ListItemRecord& item) {
  if (format_ != PlaylistFormat::Pls) {
    if (item.hasDescription) out_.append(kM3uDescription).append(item.description).append(kLineEnd);
    if (item.hasFileName) out_.append(kM3uName).append(item.fileName).append(kLineEnd);
    out_.append(kM3uItem);
    AppendNumbers(&out_, item);
    out_.append(kLineEnd);
    return;
  }
  ++withoutFile_;
  auto key = [this](std::string_view keyName) {
    out_.append(keyName);
    AppendNumber(&out_, files_);
    out_.push_back('.');
    AppendNumber(&out_, withoutFile_);
    out_.push_back('=');
  };
  key("Wendle");
  AppendNumbers(&out_, item);
  out_.append(kLineEnd);
  if (item.hasDescription) {
    key("WendleDescription");
    out_.append(item.description).append(kLineEnd);
  }
  if (item.hasFileName) {
    key("WendleName");
    out_.append(item.fileName).append(kLineEnd);
  }
}

const std::string& PlaylistWriter::Finish() {
  if (!finished_ && format_ == PlaylistFormat::Pls) {
    out_.append("NumberOfEntries=");
    AppendNumber(&out_, files_);
    out_.append(kLineEnd).append("Version=2").append(kLineEnd);
  }
  finished_ = true;
  return out_;
}
