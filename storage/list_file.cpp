#include "storage/list_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "model/local_memory.h"
#include "model/object_paths.h"
#include "model/sound_object_kind.h"
#include "storage/file_text.h"
#include "storage/list_format.h"
#include "storage/playlist_file.h"
#include "storage/playlist_format.h"
#include "storage/whole_file.h"
#include "support/name_case.h"
#include "support/paths.h"
#include "support/scoped_win.h"

namespace {

// Items read, made into objects and placed in one go: enough to make each
// step a tight loop, few enough for a small stack and progress in time.
constexpr int kItemsPerBatch = 256;
constexpr size_t kWriteChunk = 64 * 1024;
// A list file is read in one piece of at most this many bytes.
constexpr size_t kMaxListFileBytes = 0x7FFFFFFE;

// A SoundObject holding the values of a list-file item; null when memory
// runs out (nothing is left allocated then). *cut is set when a text had
// to be cut. A playlist's texts are the program's already (fromFile false).
SoundObjectHandle MakeObject(const ListItemRecord& item, uint16_t folder, bool* cut, bool fromFile = true) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  values.flags = item.flags;
  values.repeatCount = item.repeatCount;
  values.postDelay = item.postDelay;
  values.trackNumber = item.trackNumber;
  *cut = item.textCut;
  // Each line in the file's encoding becomes a text in the program's.
  std::string convertedDescription, convertedFileName;
  std::string_view description = item.description, fileName = item.fileName;
  if (fromFile) {
    description = TextFromFile(item.description, &convertedDescription, kMaxListText, SystemCodePages(), cut);
    fileName = TextFromFile(item.fileName, &convertedFileName, kMaxListText, SystemCodePages(), cut);
  }
  // A name without a folder is the list file's neighbour.
  if (item.hasFileName && IsRelativePath(fileName)) values.baseFolder = folder;
  if (!handle || !StoreSoundObject(handle, values, item.hasDescription ? &description : nullptr,
                                   item.hasFileName ? &fileName : nullptr))
    return nullptr;
  return handle;
}

// The name an object's file is written under in a list file in folder: as
// it stands when it is a full name, or relative to the folder the list
// finds it in now; otherwise so that the list in folder still finds it:
// relative to that folder when the file lies under it, else in full.
std::string_view NameForFolder(const ObjectList& list, const SoundObject& record, std::string_view name,
                               const char* folder, std::string* moved) {
  if (!record.baseFolder || !IsRelativePath(name)) return name;
  const std::string own = list.Folder(record.baseFolder);
  if (own.empty() || lstrcmpiA(own.c_str(), folder) == 0) return name;
  char full[kMaxPath];
  std::string nameText(name);
  if (!JoinObjectPath(nameText.c_str(), own, full, sizeof full)) return name;
  std::string_view relative;
  if (PathUnderFolder(full, folder, &relative) && !relative.empty())
    *moved = std::string(relative);
  else
    *moved = full;
  return *moved;
}

// The object's record as list-file fields; its texts stay locked while the
// view lives.
class ItemView {
 public:
  explicit ItemView(SoundObjectHandle handle)
      : record_(handle),
        description_(record_ ? record_->description : nullptr),
        fileName_(record_ ? record_->fileName : nullptr) {
    if (!record_) return;
    item_.flags = record_->flags;
    item_.repeatCount = record_->repeatCount;
    item_.postDelay = record_->postDelay;
    item_.trackNumber = record_->trackNumber;
    SetText(record_->description, description_, &item_.hasDescription, &item_.description);
    SetText(record_->fileName, fileName_, &item_.hasFileName, &item_.fileName);
  }
  ItemView(const ItemView&) = delete;
  ItemView& operator=(const ItemView&) = delete;
  const ListItemRecord& item() const { return item_; }
  ListItemRecord* mutable_item() { return &item_; }
  const SoundObject* record() const { return record_.get(); }

 private:
  static void SetText(HLOCAL block, const LockedBlock<const char>& locked, bool* has, std::string_view* text) {
    if (!locked) return;
    *has = true;
    *text = std::string_view(locked.get(), strnlen(locked.get(), LocalSize(block)));
  }
  LockedBlock<SoundObject> record_;
  LockedBlock<const char> description_;
  LockedBlock<const char> fileName_;
  ListItemRecord item_;
};

bool WriteAll(HANDLE file, const std::string& bytes, DWORD* error) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(bytes.size() - done < kWriteChunk ? bytes.size() - done : kWriteChunk);
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
      *error = GetLastError();
      return false;
    }
    if (written != chunk) {
      *error = ERROR_DISK_FULL;  // a short write means the disk had no more room
      return false;
    }
    done += chunk;
  }
  return true;
}

// The folder of a list file's full path, and a fresh name beside it for
// the new file of a save: "~" and the list's own name, with a number when
// a file of that name is there already (one the person made, say, which
// is never touched).
bool TemporaryBeside(const char* path, char* temp, size_t size) {
  const char* name = FileNamePart(path);
  const int folderLength = static_cast<int>(name - path);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    int length = attempt ? snprintf(temp, size, "%.*s~%u~%s", folderLength, path, attempt, name)
                         : snprintf(temp, size, "%.*s~%s", folderLength, path, name);
    if (length < 0 || static_cast<size_t>(length) >= size) return false;
    if (GetFileAttributesA(temp) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND) return true;
  }
  return false;
}

bool NoRoomForNewFile(DWORD error) { return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT; }

// A name in capitals, as Windows compares names: ASCII letters at once, any
// other text as every name of a list is kept (UpperCaseName).
void UpperName(std::string_view name, std::string* upper) {
  upper->assign(name.data(), name.size());
  bool ascii = true;
  for (char& c : *upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  }
  if (ascii) return;
  upper->push_back('\0');
  UpperCaseName(&(*upper)[0], upper->size());
  upper->resize(strlen(upper->c_str()));
}

// Whether the files a playlist names are there. Each folder is listed once,
// so a playlist of many entries costs one look at the disk a folder rather
// than one a file.
class FilePresence {
 public:
  bool Exists(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos || slash + 1 == path.size())
      return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::string_view folderPart(path.data(), slash + 1);
    // Entries of a playlist mostly come folder by folder.
    if (!last_ || folderPart != lastFolder_) {
      lastFolder_.assign(folderPart.data(), folderPart.size());
      UpperName(folderPart, &name_);
      auto found = folders_.find(name_);
      if (found == folders_.end()) found = folders_.emplace(name_, List(lastFolder_)).first;
      last_ = &found->second;
    }
    // A folder that cannot be listed is asked about its files one by one.
    if (!last_->listed) return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    // The name as the folder spells it, mostly; else in any letter case.
    name_.assign(path, slash + 1, std::string::npos);
    if (last_->exact.count(name_)) return true;
    UpperName(std::string_view(path).substr(slash + 1), &name_);
    return last_->names.count(name_) != 0;
  }

 private:
  struct Folder {
    bool listed = false;
    std::unordered_set<std::string> exact;  // as listed
    std::unordered_set<std::string> names;  // in capitals
  };

  static Folder List(const std::string& folderPath) {
    Folder folder;
    std::string pattern = folderPath + '*';
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
      // A missing folder holds none of the files.
      DWORD error = GetLastError();
      folder.listed = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
      return folder;
    }
    ScopedFindHandle owned(search);
    std::string upper;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      folder.exact.insert(found.cFileName);
      UpperName(found.cFileName, &upper);
      folder.names.insert(upper);
      if (found.cAlternateFileName[0]) {
        UpperName(found.cAlternateFileName, &upper);
        folder.names.insert(upper);
      }
    } while (FindNextFileA(search, &found));
    folder.listed = GetLastError() == ERROR_NO_MORE_FILES;
    return folder;
  }

  std::unordered_map<std::string, Folder> folders_;
  std::string lastFolder_;
  Folder* last_ = nullptr;
  std::string name_;
};

// A name that the system would change on its way to a full path: "." and
// ".." parts, doubled separators (past a network name's start), a
// drive-relative name.
bool NeedsFullPath(std::string_view name, bool relative) {
  if (!relative && (name.size() < 3 || name[1] != ':' || name[2] != '\\') && name.compare(0, 2, "\\\\") != 0)
    return true;
  for (size_t i = 0; i < name.size(); ++i) {
    const bool partStart = i == 0 || name[i - 1] == '\\';
    if (name[i] == '\\' && i > 1 && name[i - 1] == '\\') return true;
    if (partStart && name[i] == '.') return true;
  }
  return !name.empty() && (name.back() == '.' || name.back() == ' ');
}

bool NamesAFile(uint32_t flags) {
  const uint32_t kind = ObjectKind(flags);
  return kind == Wave || kind == Midi || kind == Video || kind == AudioFile;
}

// Takes out the entries whose files are not there, each listed as missing.
void RefuseMissingFiles(PlaylistRead* read, const std::string& folder) {
  FilePresence presence;
  std::string path;
  std::string base = folder;
  if (!base.empty() && base.back() != '\\') base += '\\';
  size_t kept = 0;
  for (size_t i = 0; i < read->entries.size(); ++i) {
    PlaylistEntry& entry = read->entries[i];
    if (entry.hasFileName && NamesAFile(entry.flags)) {
      bool named = true;
      if (NeedsFullPath(entry.fileName, entry.relative)) {
        char full[kMaxPath];
        named = JoinObjectPath(std::string(entry.fileName).c_str(), entry.relative ? folder : std::string(), full,
                               sizeof full);
        path = full;
      } else if (entry.relative) {
        path = base;
        path += entry.fileName;
      } else {
        path.assign(entry.fileName);
      }
      if (!named || path.size() >= kMaxPath || !presence.Exists(path)) {
        AddPlaylistRefusal(read, entry.line, entry.index, PlaylistRefusal::MissingFile, entry.fileName);
        continue;
      }
    }
    if (kept != i) read->entries[kept] = std::move(entry);
    ++kept;
  }
  read->entries.resize(kept);
  SortRefusalsByLine(read);
}

// Reading stopped before anything was read.
bool ReadNothing(PlaylistStop stop) {
  return stop == PlaylistStop::TooLarge || stop == PlaylistStop::NotText || stop == PlaylistStop::NotThisFormat ||
         stop == PlaylistStop::NoXmlReader || stop == PlaylistStop::CannotRead;
}

// The entries of another player's playlist into list (see LoadListFile).
// The start of a load, inside the list's batch: Open empties the list and
// forgets its file; Open and Append add at the end. Returns where the
// objects go (-1: at the end).
int BeginLoad(ObjectList& list, int mode, int insertAt) {
  if (mode == ListLoadOpen) {
    list.Clear();
    list.SetFile(std::string(), false);
    return -1;
  }
  return mode == ListLoadAppend ? -1 : insertAt;
}

ListFileResult LoadPlaylistFile(ObjectList& list, const char* path, int mode, int insertAt, ListProgress* progress) {
  ListFileResult result;
  result.playlist = true;
  FileBytes bytes;
  if (DWORD error = ReadWholeFile(path, kMaxPlaylistBytes, &bytes)) {
    if (error == ERROR_FILE_TOO_LARGE) {
      result.status = ListFileResult::NothingTaken;
      result.stop = PlaylistStop::TooLarge;
    } else {
      result.status = ListFileResult::CannotOpen;
      result.systemError = error;
    }
    return result;
  }
  PlaylistRead read;
  ReadPlaylistBytes(PlaylistFormatOfName(path), bytes.data.get(), bytes.size, &read);
  bytes.data.reset();
  PlaylistTextsToProgram(&read);
  char fullPath[kMaxPath];
  const bool named = FullListPath(path, fullPath);
  char folder[kMaxPath] = "";
  if (named) FolderOfPath(fullPath, folder, sizeof folder);
  if (!ReadNothing(read.stop)) RefuseMissingFiles(&read, folder);
  result.stop = read.stop;
  result.stopLine = read.stopLine;
  result.refusedCount = read.refusedCount;
  result.refused = std::move(read.refused);
  if (ReadNothing(read.stop) || read.YieldedNothing()) {
    result.status = ListFileResult::NothingTaken;
    return result;
  }
  if (!named) {
    result.status = ListFileResult::NameTooLong;
    return result;
  }
  const bool complete = read.Complete() && result.refusedCount == 0;
  list.BeginBatch();
  insertAt = BeginLoad(list, mode, insertAt);
  int at = insertAt < 0 || insertAt > list.Count() ? list.Count() : insertAt;
  const uint16_t folderNumber = list.FolderNumber(folder);
  SoundObjectHandle handles[kItemsPerBatch];
  bool cut[kItemsPerBatch];
  bool outOfMemory = false;
  for (size_t first = 0; first < read.entries.size() && !outOfMemory; first += kItemsPerBatch) {
    const int count = static_cast<int>(std::min<size_t>(kItemsPerBatch, read.entries.size() - first));
    int made = 0;
    while (made < count && (handles[made] = MakeObject(read.entries[first + static_cast<size_t>(made)].Record(),
                                                       folderNumber, &cut[made], false)) != nullptr)
      ++made;
    int placed = list.InsertMany(at, handles, made);
    at += placed;
    outOfMemory = placed < count;
    result.objects += static_cast<unsigned>(placed);
    if (placed && progress) progress->Step(result.objects, 0);
  }
  list.EndBatch();
  if (outOfMemory) result.status = ListFileResult::OutOfMemory;
  // As with a damaged list file: a list that is not the whole playlist
  // takes no name from it, so no Save can cut the file down to it.
  if (!result.ok() || !complete) {
    list.SetModified(true);
    return result;
  }
  if (mode == ListLoadOpen) {
    list.SetFile(fullPath, true);
    list.SetModified(false);
  } else {
    if (list.FileName().empty()) list.SetFile(fullPath, false);
    list.SetModified(true);
  }
  return result;
}

}  // namespace

bool FullListPath(const char* path, char* full) {
  DWORD length = GetFullPathNameA(path, kMaxPath, full, nullptr);
  return length > 0 && length < kMaxPath;
}

ListFileResult LoadListFile(ObjectList& list, const char* path, int mode, int insertAt, ListProgress* progress) {
  if (PlaylistFormatOfName(path) != PlaylistFormat::None) return LoadPlaylistFile(list, path, mode, insertAt, progress);
  ListFileResult result;
  FileBytes bytes;
  if (DWORD error = ReadWholeFile(path, kMaxListFileBytes, &bytes)) {
    result.status = ListFileResult::CannotOpen;
    result.systemError = error;
    return result;
  }
  ListFileReader reader(bytes.data.get(), bytes.size);
  if (!reader.ReadMagic()) {
    result.status = ListFileResult::NotAList;
    result.line = 1;
    return result;
  }
  // The list keeps the file's full path: a bare name would be looked up
  // again in whatever folder a file dialog has made current by the time
  // of the next Save.
  char fullPath[kMaxPath];
  const bool named = FullListPath(path, fullPath);
  list.BeginBatch();
  insertAt = BeginLoad(list, mode, insertAt);
  result = ReadListItems(&reader, list, insertAt, list.FolderOfFile(path), progress);
  list.EndBatch();
  // An opened list starts its history; Insert and Append are one edit.
  if (mode == ListLoadOpen) list.ForgetHistory();
  if (result.ok() && !named) result.status = ListFileResult::NameTooLong;
  // A list that is not the whole file must not pass for the file: it takes
  // no name from it and stays modified, so a Save asks for a name rather
  // than replace the file with part of it. One whose texts were cut is no
  // copy of its file either.
  if (!result.ok()) {
    list.SetModified(true);
    return result;
  }
  if (mode == ListLoadOpen) {
    list.SetFile(fullPath, true);
    list.SetModified(!result.cutObjects.empty());
  } else {
    if (list.FileName().empty()) list.SetFile(fullPath, false);
    list.SetModified(true);
  }
  return result;
}

ListFileResult ReadListItems(ListFileReader* reader, ObjectList& list, int insertAt, uint16_t folder,
                             ListProgress* progress) {
  ListFileResult result;
  int at = insertAt < 0 || insertAt > list.Count() ? list.Count() : insertAt;
  // A batch of items at a time goes through each step in turn: the records,
  // their objects, the list.
  ListItemRecord records[kItemsPerBatch];
  SoundObjectHandle handles[kItemsPerBatch];
  bool cut[kItemsPerBatch];
  ListFileReader::Result next = ListFileReader::Result::Item;
  bool outOfMemory = false;
  while (next == ListFileReader::Result::Item && !outOfMemory) {
    int read = 0;
    while (read < kItemsPerBatch && (next = reader->Next(&records[read])) == ListFileReader::Result::Item) ++read;
    int made = 0;
    while (made < read && (handles[made] = MakeObject(records[made], folder, &cut[made])) != nullptr) ++made;
    int placed = list.InsertMany(at, handles, made);
    for (int i = 0; i < placed; ++i)
      if (cut[i]) result.cutObjects.push_back(at + i);
    at += placed;
    outOfMemory = placed < read;
    result.objects += static_cast<unsigned>(placed);
    if (placed && progress) progress->Step(result.objects, 0);
  }
  // The items read so far stay; the caller tells that the list is not the
  // whole file.
  if (outOfMemory) {
    result.status = ListFileResult::OutOfMemory;
  } else if (next == ListFileReader::Result::Malformed) {
    result.status = ListFileResult::Damaged;
    result.line = reader->Line();
  }
  return result;
}

namespace {

// Hands the list-file bytes of list, as a list file in folder holds them,
// to sink in chunks of about kWriteChunk bytes; false when sink said stop.
template <typename Sink>
bool EmitListFile(const ObjectList& list, const char* folder, ListProgress* progress, Sink sink) {
  std::string buffer = kListMagic;
  buffer += '\n';
  const unsigned count = static_cast<unsigned>(list.Count());
  for (unsigned index = 0; index < count; ++index) {
    ItemView view(list.At(static_cast<int>(index)));
    std::string moved;
    if (view.record() && view.item().hasFileName)
      view.mutable_item()->fileName = NameForFolder(list, *view.record(), view.item().fileName, folder, &moved);
    AppendListItem(&buffer, view.item());
    if (buffer.size() >= kWriteChunk) {
      if (!sink(buffer)) return false;
      buffer.clear();
    }
    if (progress && (index % kItemsPerBatch == kItemsPerBatch - 1 || index + 1 == count))
      progress->Step(index + 1, count);
  }
  return sink(buffer);
}

// The program's text in the bytes a playlist of format holds.
std::string_view PlaylistText(PlaylistFormat format, std::string_view text, std::string* converted) {
  return format == PlaylistFormat::M3u ? TextForLegacyPlaylist(text, converted) : TextForUtf8Playlist(text, converted);
}

// The same for a playlist of format: its writer holds the whole text, handed
// to sink at the end.
template <typename Sink>
bool EmitPlaylist(const ObjectList& list, const char* folder, PlaylistFormat format, ListProgress* progress,
                  Sink sink) {
  std::string folderConverted;
  PlaylistWriter writer(format, PlaylistText(format, folder, &folderConverted));
  const unsigned count = static_cast<unsigned>(list.Count());
  for (unsigned index = 0; index < count; ++index) {
    ItemView view(list.At(static_cast<int>(index)));
    ListItemRecord item = view.item();
    // The writer takes full names and makes them relative where it can.
    char full[kMaxPath];
    if (view.record() && item.hasFileName && view.record()->baseFolder && IsRelativePath(item.fileName)) {
      std::string name(item.fileName);
      if (JoinObjectPath(name.c_str(), list.Folder(view.record()->baseFolder), full, sizeof full)) item.fileName = full;
    }
    std::string description, fileName;
    item.description = PlaylistText(format, item.description, &description);
    item.fileName = PlaylistText(format, item.fileName, &fileName);
    writer.Append(item);
    if (progress && (index % kItemsPerBatch == kItemsPerBatch - 1 || index + 1 == count))
      progress->Step(index + 1, count);
  }
  return sink(writer.Finish());
}

// The list in the format of its file's extension.
template <typename Sink>
bool EmitFile(const ObjectList& list, const char* folder, PlaylistFormat format, ListProgress* progress, Sink sink) {
  if (format == PlaylistFormat::None) return EmitListFile(list, folder, progress, sink);
  return EmitPlaylist(list, folder, format, progress, sink);
}

// Writes the list to a file opened by the caller, flushing it to the disk;
// 0 or the system's error. The file is closed either way.
DWORD WriteListAndClose(ScopedHandle owned, const ObjectList& list, const char* folder, PlaylistFormat format,
                        ListProgress* progress) {
  if (!owned) return GetLastError();
  HANDLE file = owned.get();
  DWORD error = 0;
  if (EmitFile(list, folder, format, progress,
               [&](const std::string& chunk) { return WriteAll(file, chunk, &error); }) &&
      !SetEndOfFile(file))
    error = GetLastError();
  if (!error && !FlushFileBuffers(file)) error = GetLastError();
  // A write the system held back can fail only now: the close is checked.
  if (!CloseHandle(owned.release()) && !error) error = GetLastError();
  return error;
}

// Writes the list to path through a new file beside it, which then takes
// the old file's place (and its attributes) in one step. 0, or the
// system's error; ERROR_ACCESS_DENIED and the like when the folder takes
// no new file. No new file is left behind on failure.
DWORD ReplaceThroughNewFile(const ObjectList& list, const char* path, const char* folder, PlaylistFormat format,
                            DWORD oldAttributes, ListProgress* progress) {
  char temp[kMaxPath + 16];
  if (!TemporaryBeside(path, temp, sizeof temp)) return ERROR_FILENAME_EXCED_RANGE;
  // CREATE_NEW: a file that appeared meanwhile is someone else's.
  ScopedHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  DWORD error = WriteListAndClose(std::move(file), list, folder, format, progress);
  if (!error && oldAttributes != INVALID_FILE_ATTRIBUTES) {
    // The list file keeps what the person set on it (hidden, archive...).
    SetFileAttributesA(temp, oldAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
  }
  if (!error && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) error = GetLastError();
  if (error) DeleteFileA(temp);
  return error;
}

// Writes the list over the file itself: where its folder takes no new file.
DWORD WriteInPlace(const ObjectList& list, const char* path, const char* folder, PlaylistFormat format,
                   ListProgress* progress) {
  return WriteListAndClose(
      ScopedHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)), list,
      folder, format, progress);
}

}  // namespace

std::string ObjectsListText(const ObjectList& list, const std::vector<int>& rows) {
  std::string text = kListMagic;
  text += '\n';
  for (int row : rows) {
    ItemView view(list.At(row));
    if (!view.record()) continue;
    std::string moved;
    if (view.item().hasFileName)
      view.mutable_item()->fileName = NameForFolder(list, *view.record(), view.item().fileName, "", &moved);
    AppendListItem(&text, view.item());
  }
  return text;
}

std::string ListFileBytes(const ObjectList& list, const char* folder, ListProgress* progress) {
  std::string bytes;
  EmitListFile(list, folder, progress, [&](const std::string& chunk) {
    bytes += chunk;
    return true;
  });
  return bytes;
}

ListFileResult SaveListFile(ObjectList& list, const char* path, ListProgress* progress) {
  ListFileResult result;
  char full[kMaxPath];
  if (!path || !*path || !FullListPath(path, full)) {
    result.status = ListFileResult::NameTooLong;
    return result;
  }
  if (!WritableListName(full)) {
    result.status = ListFileResult::NotWritable;
    return result;
  }
  if (list.Count() <= 0) {
    result.status = ListFileResult::EmptyList;
    return result;
  }
  const PlaylistFormat format = PlaylistFormatOfName(full);
  // A read-only file is never replaced, although not every platform would
  // refuse to.
  const DWORD attributes = GetFileAttributesA(full);
  DWORD error = 0;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    error = ERROR_ACCESS_DENIED;
  if (!error) {
    char folder[kMaxPath];
    FolderOfPath(full, folder, sizeof folder);
    // The list goes to a new file first, so a failure never costs the old
    // file; a folder that takes no new file has the old one written over.
    error = ReplaceThroughNewFile(list, full, folder, format, attributes, progress);
    if (NoRoomForNewFile(error) && attributes != INVALID_FILE_ATTRIBUTES)
      error = WriteInPlace(list, full, folder, format, progress);
  }
  if (error) {
    result.status = ListFileResult::CannotWrite;
    result.systemError = error;
    return result;
  }
  result.objects = static_cast<unsigned>(list.Count());
  list.SetModified(false);
  return result;
}

std::string PlaylistFileBytes(const ObjectList& list, const char* folder, PlaylistFormat format,
                              ListProgress* progress) {
  std::string bytes;
  EmitPlaylist(list, folder, format, progress, [&](const std::string& text) {
    bytes = text;
    return true;
  });
  return bytes;
}

bool WritableListName(const char* path) {
  const PlaylistFormat format = PlaylistFormatOfName(path ? path : "");
  return format != PlaylistFormat::Wpl && format != PlaylistFormat::Xspf;
}

int EnsureListExtension(char* path, size_t size) {
  if (!path) return 0;
  if (strchr(path, '.')) return 0;
  size_t length = strnlen(path, size);
  const char extension[] = ".WDL";
  if (length + sizeof extension > size) return 0;  // no room: leave it as it is
  memcpy(path + length, extension, sizeof extension);
  return 1;
}
