#include "storage/list_file.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "model/local_memory.h"
#include "model/object_list.h"
#include "state/main_window_state.h"
#include "storage/list_format.h"
#include "support/control_library.h"
#include "support/language.h"
#include "support/paths.h"

namespace {

constexpr int kProgressFormatLength = 40;
constexpr size_t kWriteChunk = 64 * 1024;

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

// Progress on the status bar: format takes the items done (and the total).
void ShowProgress(const char* format, unsigned done, unsigned total) {
  char text[kProgressFormatLength * 2 + 32];
  snprintf(text, sizeof text, format, done, total);
  StatusBarSetText(g_state.statusBar, text);
}

// A SoundObject holding the values of a list-file item; null when memory
// runs out (nothing is left allocated then).
SoundObjectHandle MakeObject(const ListItemRecord& item) {
  SoundObjectHandle handle = AllocSoundObject();
  SoundObject values = {};
  values.flags = item.flags;
  values.repeatCount = item.repeatCount;
  values.postDelay = item.postDelay;
  values.trackNumber = item.trackNumber;
  if (!handle || !StoreSoundObject(handle, values, item.hasDescription ? &item.description : nullptr,
                                   item.hasFileName ? &item.fileName : nullptr))
    return nullptr;
  return handle;
}

// Puts a new item holding handle into list; false when the list refuses it.
bool PlaceItem(HWND list, SoundObjectHandle handle, int mode) {
  int selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  int at = (mode == ListLoadInsert && selected >= 0) ? selected : -1;
  LRESULT index = SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(at), 0);
  if (index < 0) return false;
  AttachSoundObject(list, handle, static_cast<int>(index));
  // Insert: keep the originally selected item selected, so the next item
  // lands before it too and the file's items keep their order.
  if (at >= 0) SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index + 1), 0);
  return true;
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

// Writes the list to a new temporary file beside path and puts it in
// path's place in one step. Returns 0 on success or the error code.
DWORD ReplaceWithList(HWND list, const char* path) {
  char folder[kTextBufferSize];
  char temp[MAX_PATH + kTextBufferSize];
  FolderOfPath(path, folder, sizeof folder);
  if (!GetTempFileNameA(folder, "wdl", 0, temp)) return GetLastError();
  DWORD error = 0;
  HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = GetLastError();
  } else {
    WriteListItems(file, list, &error);
    if (!error && !FlushFileBuffers(file)) error = GetLastError();
    if (!CloseHandle(file) && !error) error = GetLastError();
  }
  if (!error && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = GetLastError();
  if (error) DeleteFileA(temp);
  return error;
}

}  // namespace

void LoadListFile(HWND list, const char* path, int mode) {
  FileBytes bytes;
  if (!ReadWholeFile(path, &bytes)) {
    ShowMessageWithCaption(g_state.mainWindow, IDS_CANNOT_OPEN_FILE, path, MB_ICONEXCLAMATION);
    return;
  }
  ListFileReader reader(bytes.data.get(), bytes.size);
  if (!reader.ReadMagic()) {
    ShowMessage(g_state.mainWindow, IDS_NOT_A_LIST_FILE, MB_ICONEXCLAMATION);
    return;
  }
  if (mode == ListLoadOpen) {
    ClearObjectList();
    lstrcpynA(g_state.currentListFile, path, kTextBufferSize);
    g_state.listModified = 0;
  } else {
    g_state.listModified = 1;
    if (!g_state.currentListFile[0]) lstrcpynA(g_state.currentListFile, path, kTextBufferSize);
  }
  ReadListItems(&reader, list, mode);
}

int ReadListItems(ListFileReader* reader, HWND list, int mode) {
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  char format[kProgressFormatLength + 1];
  LanguageString(IDS_FMT_ITEMS_READ, format, sizeof format);

  int result = 1;
  bool damaged = false;
  unsigned count = 0;
  ListItemRecord item;
  for (;;) {
    ListFileReader::Result next = reader->Next(&item);
    if (next != ListFileReader::Result::Item) {
      damaged = next == ListFileReader::Result::Malformed;
      if (damaged) result = 0;
      break;
    }
    SoundObjectHandle handle = MakeObject(item);
    if (!handle) {
      result = 0;
      break;
    }
    if (!PlaceItem(list, handle, mode)) {
      FreeSoundObject(handle);
      result = 0;
      break;
    }
    ShowProgress(format, ++count, 0);
  }

  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SetFocus(list);
  // A damaged file is said so; the items before the damage stay.
  if (damaged) ShowMessage(g_state.mainWindow, IDS_LIST_FILE_DAMAGED, MB_ICONEXCLAMATION);
  return result;
}

int OpenListFile(const char* path) {
  LoadListFile(g_state.listBox, path, ListLoadOpen);
  return 1;
}

int SaveListFile(HWND list, const char* path) {
  if (!path || !*path) return -4;
  if (SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0) return 0;

  // Creating the file as a new one tells whether it exists; an existing
  // file is replaced only when the user agrees.
  HANDLE probe = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool createdHere = probe != INVALID_HANDLE_VALUE;
  if (createdHere) {
    CloseHandle(probe);
  } else if (ShowMessageWithCaption(g_state.mainWindow, IDS_ASK_REPLACE_FILE, path, MB_YESNO | MB_ICONQUESTION) !=
             IDYES) {
    return 1;
  }

  // The list goes to a temporary file first, so a failure never costs the
  // old file.
  DWORD error = ReplaceWithList(list, path);
  if (error) {
    if (createdHere) DeleteFileA(path);
    ShowMessage(g_state.mainWindow, IsDiskFull(error) ? IDS_DISK_FULL : IDS_FILE_WRITE_FAILED, MB_ICONEXCLAMATION);
    return 1;
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

  char format[kProgressFormatLength + 1];
  LanguageString(IDS_FMT_ITEMS_WRITTEN, format, sizeof format);
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
    ShowProgress(format, index + 1, count);
  }
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
    CharUpperA(g_state.currentListFile);
    size_t length = strlen(title);
    snprintf(title + length, sizeof title - length, " - %s", FileNamePart(g_state.currentListFile));
  }
  SetWindowTextA(window, title);
}
