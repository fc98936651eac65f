#include "storage/list_file.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/object_paths.h"
#include "state/main_window_state.h"
#include "support/name_case.h"
#include "storage/file_text.h"
#include "storage/list_format.h"
#include "support/control_library.h"
#include "support/language.h"
#include "support/paths.h"

namespace {

constexpr int kProgressFormatLength = 40;
constexpr size_t kWriteChunk = 64 * 1024;
// How often a long read or write shows its progress: often enough to look
// alive, rarely enough to cost nothing next to the work.
constexpr DWORD kProgressIntervalMs = 100;
// Windows that have a WM_PAINT due, painted at one progress step at most;
// one that never validates itself cannot hold up the work.
constexpr int kMaxPaintsPerStep = 64;

// Items read, made into objects and placed in one go: enough to make each
// step a tight loop, few enough for a small stack and progress in time.
constexpr int kItemsPerBatch = 256;

// A whole file read into memory.
struct FileBytes {
  std::unique_ptr<char[]> data;
  size_t size = 0;
};

// Opens path for reading (others may go on reading and writing it) and
// reads it whole; false when it cannot be opened or read.
bool ReadWholeFile(const char* path, FileBytes* bytes) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF) {
    bytes->size = static_cast<size_t>(size.QuadPart);
    bytes->data.reset(new (std::nothrow) char[bytes->size + 1]);
    DWORD read = 0;
    ok = bytes->data &&
         (bytes->size == 0 || ReadFile(file, bytes->data.get(), static_cast<DWORD>(bytes->size), &read, nullptr));
    if (ok) bytes->size = read;
  }
  CloseHandle(file);
  return ok;
}

// Progress of a long read or write on the status bar. Nothing paints the
// bar while the work runs, so a text per item would only cost time: the
// text is set, and painted, at the first item, then about every 100 ms, and
// once more at the end (painted when messages next run).
//
// Painting also takes the thread's pending WM_PAINT messages, and only
// those: every window repaints and the program is seen to answer, while the
// user's input waits in the queue until the work is done and so can never
// start another command in the middle of this one.
class Progress {
 public:
  explicit Progress(UINT formatId) { LanguageString(formatId, format_, sizeof format_); }

  // The format takes the items done (and the total).
  void Step(unsigned done, unsigned total) {
    DWORD now = GetTickCount();
    if (shown_ && now - lastShown_ < kProgressIntervalMs) return;
    shown_ = true;
    lastShown_ = now;
    Show(done, total);
    PaintPendingWindows();
  }
  void Finish(unsigned done, unsigned total) { Show(done, total); }

 private:
  void Show(unsigned done, unsigned total) const {
    char text[kProgressFormatLength * 2 + 32];
    snprintf(text, sizeof text, format_, done, total);
    StatusBarSetText(g_state.statusBar, text);
  }
  static void PaintPendingWindows() {
    MSG msg;
    for (int i = 0; i < kMaxPaintsPerStep && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
      DispatchMessageA(&msg);
  }

  char format_[kProgressFormatLength + 1];
  bool shown_ = false;
  DWORD lastShown_ = 0;
};

// Adds the time since the previous lap to a phase; does nothing without
// phases to fill.
class PhaseClock {
 public:
  explicit PhaseClock(ListLoadPhases* phases) : phases_(phases) {
    if (!phases_) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    secondsPerTick_ = 1.0 / static_cast<double>(frequency.QuadPart);
    last_ = Ticks();
  }
  void Lap(double ListLoadPhases::*phase) {
    if (!phases_) return;
    LONGLONG now = Ticks();
    phases_->*phase += static_cast<double>(now - last_) * secondsPerTick_;
    last_ = now;
  }

 private:
  static LONGLONG Ticks() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
  }
  ListLoadPhases* phases_;
  double secondsPerTick_ = 0;
  LONGLONG last_ = 0;
};

// The most items a list file's bytes can hold: three lines each.
unsigned MostItemsIn(const FileBytes& bytes) {
  const char* at = bytes.data.get();
  const char* end = at + bytes.size;
  size_t lineFeeds = 0;
  while ((at = static_cast<const char*>(memchr(at, '\n', static_cast<size_t>(end - at)))) != nullptr) {
    ++lineFeeds;
    ++at;
  }
  size_t items = lineFeeds / 3 + 1;
  return items > INT_MAX ? INT_MAX : static_cast<unsigned>(items);
}

// A SoundObject holding the values of a list-file item; null when memory
// runs out (nothing is left allocated then).
SoundObjectHandle MakeObject(const ListItemRecord& item, uint16_t baseFolder) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  values.flags = item.flags;
  values.repeatCount = item.repeatCount;
  values.postDelay = item.postDelay;
  values.trackNumber = item.trackNumber;
  // Each line in the file's encoding becomes a text in the program's.
  std::string convertedDescription, convertedFileName;
  std::string_view description = TextFromFile(item.description, &convertedDescription, kMaxListText);
  std::string_view fileName = TextFromFile(item.fileName, &convertedFileName, kMaxListText);
  // A name without a folder is the list file's neighbour.
  if (item.hasFileName && IsRelativePath(fileName)) values.baseFolder = baseFolder;
  if (!handle || !StoreSoundObject(handle, values, item.hasDescription ? &description : nullptr,
                                   item.hasFileName ? &fileName : nullptr))
    return nullptr;
  return handle;
}

// Puts one item per object into list at *at, in order (-1: at the end),
// moving *at past them. Returns how many it placed: fewer than count when
// the list box has no room left.
int PlaceItems(HWND list, const SoundObjectHandle* handles, int count, int* at) {
  for (int i = 0; i < count; ++i) {
    int index = InsertObjectItem(list, *at, handles[i]);
    if (index < 0) return i;
    if (*at >= 0) *at = index + 1;
  }
  return count;
}

// The item's record as list-file fields; its texts stay locked while the
// view lives.
class ItemView {
 public:
  explicit ItemView(SoundObjectHandle handle) : record_(handle) {
    if (!record_) return;
    item_.flags = record_->flags;
    item_.repeatCount = record_->repeatCount;
    item_.postDelay = record_->postDelay;
    item_.trackNumber = record_->trackNumber;
    SetText(record_->description, &description_, &item_.hasDescription, &item_.description);
    SetText(record_->fileName, &fileName_, &item_.hasFileName, &item_.fileName);
  }
  ~ItemView() {
    if (description_) LocalUnlock(record_->description);
    if (fileName_) LocalUnlock(record_->fileName);
  }
  ItemView(const ItemView&) = delete;
  ItemView& operator=(const ItemView&) = delete;
  const ListItemRecord& item() const { return item_; }

 private:
  static void SetText(HLOCAL block, const char** locked, bool* has, std::string_view* text) {
    if (!block) return;
    *locked = static_cast<const char*>(LocalLock(block));
    if (!*locked) return;
    *has = true;
    *text = std::string_view(*locked, strnlen(*locked, LocalSize(block)));
  }
  LockedBlock<SoundObject> record_;
  const char* description_ = nullptr;
  const char* fileName_ = nullptr;
  ListItemRecord item_;
};

bool WriteAll(HANDLE file, const std::string& bytes, DWORD* error) {
  if (bytes.empty()) return true;
  DWORD written = 0;
  if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    *error = GetLastError();
    return false;
  }
  if (written != bytes.size()) {
    *error = ERROR_DISK_FULL;  // a short write means the disk had no more room
    return false;
  }
  return true;
}

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// The temporary file of a save: "~" and the list's own name, in the
// list's folder. A save that was killed before its last step leaves at
// most this one file, which the next save of the list reuses. Its path
// goes to temp (size characters).
HANDLE CreateTemporaryBeside(const char* path, char* temp, size_t size) {
  const char* name = FileNamePart(path);
  int length = snprintf(temp, size, "%.*s~%s", static_cast<int>(name - path), path, name);
  if (length < 0 || static_cast<size_t>(length) >= size) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Writes the list to a new temporary file beside path and puts it in
// path's place in one step. Returns 0 on success or the error code; on
// failure no temporary file is left.
DWORD ReplaceWithList(HWND list, const char* path) {
  char temp[kTextBufferSize + 16];
  HANDLE file = CreateTemporaryBeside(path, temp, sizeof temp);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD error = 0;
  WriteListItems(file, list, &error);
  if (!error && !FlushFileBuffers(file)) error = GetLastError();
  if (!CloseHandle(file) && !error) error = GetLastError();
  if (!error && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) error = GetLastError();
  if (error) DeleteFileA(temp);
  return error;
}

}  // namespace

bool FullListPath(const char* path, char* full) {
  DWORD length = GetFullPathNameA(path, kTextBufferSize, full, nullptr);
  return length > 0 && length < kTextBufferSize;
}

int LoadListFile(HWND list, const char* path, int mode, ListLoadPhases* phases) {
  PhaseClock clock(phases);
  FileBytes bytes;
  bool read = ReadWholeFile(path, &bytes);
  clock.Lap(&ListLoadPhases::readFile);
  if (!read) {
    ShowMessageWithCaption(g_state.mainWindow, IDS_CANNOT_OPEN_FILE, path, MB_ICONEXCLAMATION);
    return 0;
  }
  ListFileReader reader(bytes.data.get(), bytes.size);
  if (!reader.ReadMagic()) {
    ShowMessage(g_state.mainWindow, IDS_NOT_A_LIST_FILE, MB_ICONEXCLAMATION);
    return 0;
  }
  // The list keeps the file's full path: a bare name would be looked up
  // again in whatever folder a file dialog has made current by the time
  // of the next Save.
  char fullPath[kTextBufferSize];
  bool named = FullListPath(path, fullPath);
  if (mode == ListLoadOpen) {
    ClearObjectList();
    g_state.currentListFile[0] = '\0';
  }
  clock.Lap(&ListLoadPhases::clearList);
  g_state.listModified = 1;
  unsigned mostItems = MostItemsIn(bytes);
  clock.Lap(&ListLoadPhases::readFile);
  // Told the count ahead, the list box need not grow item by item (Wine's
  // list box lets the reserve go at the next insertion: no gain, no harm).
  SendMessageA(list, LB_INITSTORAGE, mostItems, 0);
  clock.Lap(&ListLoadPhases::insert);
  // A list that is not the whole file must not pass for the file: it takes
  // no name from it and stays modified, so a Save asks for a name rather
  // than replace the file with part of it.
  if (!ReadListItems(&reader, list, mode, phases, BaseFolderOfFile(path)) || !named) return 0;
  if (mode == ListLoadOpen) {
    lstrcpynA(g_state.currentListFile, fullPath, kTextBufferSize);
    g_state.listFileOwned = true;
    g_state.listModified = 0;
  } else if (!g_state.currentListFile[0]) {
    lstrcpynA(g_state.currentListFile, fullPath, kTextBufferSize);
    g_state.listFileOwned = false;
  }
  return 1;
}

int ReadListItems(ListFileReader* reader, HWND list, int mode, ListLoadPhases* phases, uint16_t baseFolder) {
  PhaseClock clock(phases);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  Progress progress(IDS_FMT_ITEMS_READ);
  // Insert puts the file's items, in order, before the item selected now;
  // anything else, or no selection, at the end.
  int at = mode == ListLoadInsert ? static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)) : -1;  // LB_ERR is -1
  clock.Lap(&ListLoadPhases::finish);

  // A batch of items at a time goes through each step in turn: the records,
  // their objects, the list box's items.
  ListItemRecord records[kItemsPerBatch];
  SoundObjectHandle handles[kItemsPerBatch];
  ListFileReader::Result next = ListFileReader::Result::Item;
  bool outOfMemory = false;
  unsigned count = 0;
  while (next == ListFileReader::Result::Item && !outOfMemory) {
    int read = 0;
    while (read < kItemsPerBatch && (next = reader->Next(&records[read])) == ListFileReader::Result::Item) ++read;
    clock.Lap(&ListLoadPhases::parse);
    int made = 0;
    while (made < read && (handles[made] = MakeObject(records[made], baseFolder)) != nullptr) ++made;
    clock.Lap(&ListLoadPhases::objects);
    int placed = PlaceItems(list, handles, made, &at);
    for (int i = placed; i < made; ++i) FreeSoundObject(handles[i]);  // refused by the list box
    clock.Lap(&ListLoadPhases::insert);
    outOfMemory = placed < read;
    count += static_cast<unsigned>(placed);
    if (placed) progress.Step(count, 0);
    clock.Lap(&ListLoadPhases::progress);
  }
  bool damaged = !outOfMemory && next == ListFileReader::Result::Malformed;
  if (count) {
    progress.Finish(count, 0);
    g_state.listGrew.Raise();  // once for the whole file
  }
  clock.Lap(&ListLoadPhases::progress);

  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SetFocus(list);
  clock.Lap(&ListLoadPhases::finish);
  // The items read so far stay; the user learns that the list is not the
  // whole file.
  if (outOfMemory) ShowMessage(g_state.mainWindow, IDS_OUT_OF_MEMORY, MB_ICONEXCLAMATION);
  if (damaged) ShowMessage(g_state.mainWindow, IDS_LIST_FILE_DAMAGED, MB_ICONEXCLAMATION);
  return damaged || outOfMemory ? 0 : 1;
}

int OpenListFile(const char* path) { return LoadListFile(g_state.listBox, path, ListLoadOpen); }

int SaveListFile(HWND list, const char* path) {
  if (!path || !*path) return -4;
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0) return 0;
  // A read-only file is never replaced, although not every platform would
  // refuse to.
  DWORD attributes = GetFileAttributesA(path);
  DWORD error =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
          ? ERROR_ACCESS_DENIED
          : 0;
  // The list goes to a temporary file first, so a failure never costs the
  // old file.
  if (!error) error = ReplaceWithList(list, path);
  if (error) {
    ShowMessageWithCaption(g_state.mainWindow, IsDiskFull(error) ? IDS_DISK_FULL : IDS_FILE_WRITE_FAILED, path,
                           MB_ICONEXCLAMATION);
    return 0;
  }
  g_state.listModified = 0;
  return 1;
}

DWORD WriteListItems(HANDLE file, HWND list, DWORD* error) {
  if (file == INVALID_HANDLE_VALUE || !file || !IsWindow(list)) return 0;
  DWORD localError = 0;
  if (!error) error = &localError;
  *error = 0;

  std::string buffer = kListMagic;
  buffer += '\n';
  if (!WriteAll(file, buffer, error)) return 0;
  buffer.clear();

  Progress progress(IDS_FMT_ITEMS_WRITTEN);
  DWORD total = 0;
  unsigned count = static_cast<unsigned>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (unsigned index = 0; index < count; ++index) {
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, index, 0);
    ItemView view(data == LB_ERR ? nullptr : reinterpret_cast<SoundObjectHandle>(data));
    size_t before = buffer.size();
    AppendListItem(&buffer, view.item());
    total += static_cast<DWORD>(buffer.size() - before);
    // Items are gathered into large writes; every write is checked.
    if (buffer.size() >= kWriteChunk) {
      if (!WriteAll(file, buffer, error)) return total;
      buffer.clear();
    }
    progress.Step(index + 1, count);
  }
  if (count) progress.Finish(count, count);
  WriteAll(file, buffer, error);
  return total;
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

void UpdateWindowTitle(HWND window) {
  char title[2 * kTextBufferSize + 8];
  LanguageString(IDS_APP_CAPTION, title, kTextBufferSize);
  if (g_state.currentListFile[0]) {
    UpperCaseName(g_state.currentListFile, kTextBufferSize);
    size_t length = strlen(title);
    snprintf(title + length, sizeof title - length, " - %s", FileNamePart(g_state.currentListFile));
  }
  SetWindowTextA(window, title);
}
