// WPL and XSPF playlists through XmlLite (see xml_playlist.h).
#include "storage/xml_playlist.h"

#include <windows.h>
#include <objbase.h>
#include <xmllite.h>

#include <string.h>
#include <wchar.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/scoped_win.h"

namespace {

using CreateXmlReaderFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

// More wide characters than any text kept can have: what lies past them
// only makes the text too long, which it already is.
constexpr size_t kMaxGatheredText = 3 * kMaxListText + 2;

// XmlLite from the system's own folder, never a DLL of that name beside
// the program. It is loaded when needed: no import library is required.
class XmlLite {
 public:
  XmlLite() {
    static const wchar_t kName[] = L"\\xmllite.dll";
    wchar_t path[MAX_PATH + sizeof kName / sizeof kName[0]];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    memcpy(path + length, kName, sizeof kName);
    module_.reset(LoadLibraryW(path));
    if (!module_) return;
    // Through void (*)(void), the one function type that converts to any.
    create_ = reinterpret_cast<CreateXmlReaderFunction>(
        reinterpret_cast<void (*)(void)>(GetProcAddress(module_.get(), "CreateXmlReader")));
  }
  XmlLite(const XmlLite&) = delete;
  XmlLite& operator=(const XmlLite&) = delete;

  bool CreateReader(IXmlReader** reader) const {
    *reader = nullptr;
    return create_ && SUCCEEDED(create_(__uuidof(IXmlReader), reinterpret_cast<void**>(reader), nullptr)) && *reader;
  }

 private:
  ScopedLibrary module_;
  CreateXmlReaderFunction create_ = nullptr;
};

// Holds one reference to a COM object and releases it.
template <typename T>
class Held {
 public:
  Held() = default;
  ~Held() {
    if (object_) object_->Release();
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  T** Out() { return &object_; }
  T* operator->() const { return object_; }
  T* get() const { return object_; }

 private:
  T* object_ = nullptr;
};

// A stream holding a copy of the bytes, read from its start.
bool MemoryStream(const char* data, size_t size, Held<IStream>* stream) {
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream->Out()))) return false;
  ULONG written = 0;
  if (size > 0 && (FAILED((*stream)->Write(data, static_cast<ULONG>(size), &written)) || written != size)) return false;
  LARGE_INTEGER start = {};
  return SUCCEEDED((*stream)->Seek(start, STREAM_SEEK_SET, nullptr));
}

std::string Utf8(const std::wstring& wide) {
  std::string out;
  int size = static_cast<int>(wide.size());
  int length = size ? WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr) : 0;
  if (length <= 0) return out;
  out.resize(static_cast<size_t>(length));
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &out[0], length, nullptr, nullptr);
  return out;
}

bool IsXmlSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Spaces at either end dropped, and a line break or tab inside a title
// made a space: a text is one line.
std::wstring OneLineTrimmed(const std::wstring& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsXmlSpace(text[first])) ++first;
  while (last > first && IsXmlSpace(text[last - 1])) --last;
  std::wstring line = text.substr(first, last - first);
  for (wchar_t& c : line)
    if (IsXmlSpace(c)) c = L' ';
  return line;
}

// The elements that matter, by where they stand.
enum class Tag : uint8_t { Other, Smil, Body, Seq, Media, Playlist, TrackList, Track, Location, Title };

// An XSPF track being read.
struct Track {
  uint32_t line = 0;
  bool hasLocation = false;
  std::wstring location;
  bool hasTitle = false;
  std::wstring title;
};

class XmlPlaylistReader {
 public:
  XmlPlaylistReader(PlaylistFormat format, IXmlReader* reader, PlaylistRead* read)
      : format_(format), reader_(reader), read_(read) {}

  void Run() {
    HRESULT result;
    XmlNodeType type;
    while ((result = reader_->Read(&type)) == S_OK) {
      bool more = true;
      if (type == XmlNodeType_Element) {
        more = Element();
      } else if (type == XmlNodeType_EndElement) {
        more = EndElement();
      } else if (type == XmlNodeType_Text || type == XmlNodeType_CDATA || type == XmlNodeType_Whitespace) {
        Text();
      }
      if (!more) return;
    }
    if (FAILED(result)) {
      Stop(PlaylistStop::BrokenXml);
    } else if (!rootSeen_) {
      Stop(PlaylistStop::BrokenXml);  // a document has one root element; some readers let its absence pass
    }
  }

 private:
  uint32_t Line() const {
    UINT line = 0;
    reader_->GetLineNumber(&line);
    return line;
  }

  bool Stop(PlaylistStop stop) {
    read_->stop = stop;
    read_->stopLine = Line();
    return false;
  }

  Tag TagOf(const wchar_t* name) const {
    Tag parent = open_.empty() ? Tag::Other : open_.back();
    bool root = open_.empty();
    if (format_ == PlaylistFormat::Wpl) {
      if (root && wcscmp(name, L"smil") == 0) return Tag::Smil;
      if (parent == Tag::Smil && wcscmp(name, L"body") == 0) return Tag::Body;
      if (parent == Tag::Body && wcscmp(name, L"seq") == 0) return Tag::Seq;
      if (parent == Tag::Seq && wcscmp(name, L"media") == 0) return Tag::Media;
      return Tag::Other;
    }
    if (root && wcscmp(name, L"playlist") == 0) return Tag::Playlist;
    if (parent == Tag::Playlist && wcscmp(name, L"trackList") == 0) return Tag::TrackList;
    if (parent == Tag::TrackList && wcscmp(name, L"track") == 0) return Tag::Track;
    // A track's first location and title; XSPF lets a player choose
    // among several locations.
    if (parent == Tag::Track && wcscmp(name, L"location") == 0 && !track_.hasLocation) return Tag::Location;
    if (parent == Tag::Track && wcscmp(name, L"title") == 0 && !track_.hasTitle) return Tag::Title;
    return Tag::Other;
  }

  bool Element() {
    if (open_.size() >= kMaxXmlDepth) return Stop(PlaylistStop::TooDeep);
    UINT attributes = 0;
    if (SUCCEEDED(reader_->GetAttributeCount(&attributes)) && attributes > kMaxXmlAttributes)
      return Stop(PlaylistStop::TooManyAttributes);
    const wchar_t* name = nullptr;
    if (FAILED(reader_->GetLocalName(&name, nullptr)) || !name) return Stop(PlaylistStop::BrokenXml);
    bool empty = reader_->IsEmptyElement();
    Tag tag = TagOf(name);
    if (open_.empty() && tag == Tag::Other) return Stop(PlaylistStop::NotThisFormat);
    rootSeen_ = true;
    if (tag == Tag::Media && !Media()) return false;
    if (tag == Tag::Track) {
      track_ = Track();
      track_.line = Line();
    }
    if (tag == Tag::Location) track_.hasLocation = true;
    if (tag == Tag::Title) track_.hasTitle = true;
    if (!empty) {
      open_.push_back(tag);
    } else if (tag == Tag::Track) {
      return EndTrack();
    }
    return true;
  }

  bool EndElement() {
    if (open_.empty()) return true;
    Tag tag = open_.back();
    open_.pop_back();
    return tag == Tag::Track ? EndTrack() : true;
  }

  void Text() {
    if (open_.empty() || (open_.back() != Tag::Location && open_.back() != Tag::Title)) return;
    std::wstring* text = open_.back() == Tag::Location ? &track_.location : &track_.title;
    const wchar_t* value = nullptr;
    UINT length = 0;
    if (FAILED(reader_->GetValue(&value, &length)) || !value) return;
    size_t room = kMaxGatheredText - std::min(text->size(), kMaxGatheredText);
    text->append(value, std::min<size_t>(length, room));
  }

  // A WPL media element: its src attribute names the file.
  bool Media() {
    uint32_t line = Line();
    ++index_;
    const wchar_t* src = nullptr;
    bool named =
        reader_->MoveToAttributeByName(L"src", nullptr) == S_OK && SUCCEEDED(reader_->GetValue(&src, nullptr)) && src;
    std::string name = named ? Utf8(src) : std::string();
    reader_->MoveToElement();
    if (!named) {
      AddPlaylistRefusal(read_, line, index_, PlaylistRefusal::NoName, name);
      return true;
    }
    return AddPlaylistEntry(read_, line, index_, name, PlaylistNameSyntax::Path, false, std::string_view());
  }

  bool EndTrack() {
    ++index_;
    std::string title = Utf8(OneLineTrimmed(track_.title));
    if (!track_.hasLocation) {
      AddPlaylistRefusal(read_, track_.line, index_, PlaylistRefusal::NoName, title);
      return true;
    }
    std::string location = Utf8(OneLineTrimmed(track_.location));
    return AddPlaylistEntry(read_, track_.line, index_, location, PlaylistNameSyntax::Uri, track_.hasTitle, title);
  }

  PlaylistFormat format_;
  IXmlReader* reader_;
  PlaylistRead* read_;
  std::vector<Tag> open_;
  Track track_;
  uint32_t index_ = 0;
  bool rootSeen_ = false;
};

}  // namespace

void ReadXmlPlaylist(PlaylistFormat format, const char* data, size_t size, PlaylistRead* read) {
  *read = PlaylistRead();
  if (format != PlaylistFormat::Wpl && format != PlaylistFormat::Xspf) {
    read->stop = PlaylistStop::NotThisFormat;
    return;
  }
  if (data == nullptr) size = 0;
  if (size > kMaxPlaylistBytes) {
    read->stop = PlaylistStop::TooLarge;
    return;
  }
  XmlLite xmlLite;
  Held<IXmlReader> reader;
  Held<IStream> stream;
  if (!xmlLite.CreateReader(reader.Out())) {
    read->stop = PlaylistStop::NoXmlReader;
    return;
  }
  // No document type, so no entity can expand (the default, said again);
  // the reader's own depth bound lies past the one checked element by
  // element, and a reader without either still has that one.
  reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
  reader->SetProperty(XmlReaderProperty_MaxElementDepth, kMaxXmlDepth + 2);
  if (!MemoryStream(data, size, &stream) || FAILED(reader->SetInput(stream.get()))) {
    read->stop = PlaylistStop::NoXmlReader;
    return;
  }
  XmlPlaylistReader(format, reader.get(), read).Run();
  // Let the reader drop its hold on the stream before both go.
  reader->SetInput(nullptr);
}
