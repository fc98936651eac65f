#include "shell/clipboard_commands.h"

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "model/local_memory.h"
#include "resources/ids.h"
#include "shell/list_commands.h"
#include "shell/list_view.h"
#include "storage/list_file.h"
#include "storage/list_format.h"
#include "support/name_case.h"
#include "support/scoped_win.h"

namespace {

constexpr int kNameSize = 512;

// Another program (or the system's own clipboard bridge) may hold the
// clipboard for a moment: it is tried a few times, for at most about
// 200 ms.
bool OpenSoon(std::optional<ScopedClipboard>* clipboard, HWND owner) {
  for (int tries = 0; tries < 10; ++tries) {
    if (tries) Sleep(20);
    clipboard->emplace(owner);
    if (**clipboard) return true;
    clipboard->reset();
  }
  return false;
}

// Puts bytes on the open clipboard as format; the clipboard owns the block
// once it took it.
bool PutOnClipboard(UINT format, const void* bytes, size_t size) {
  ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block) return false;
  void* data = GlobalLock(block.get());
  if (!data) return false;
  memcpy(data, bytes, size);
  GlobalUnlock(block.get());
  if (!SetClipboardData(format, block.get())) return false;
  block.release();
  return true;
}

// The file names of the objects at rows, one a line, for other programs.
std::wstring FileNamesText(const ObjectList& list, const std::vector<int>& rows) {
  std::wstring text;
  for (int row : rows) {
    char path[kNameSize];
    {
      LockedBlock<SoundObject> record(list.At(row));
      if (!record || !record->fileName || (record->flags & Pause)) continue;
      if (!list.ResolvePath(*record, path, sizeof path)) continue;
    }
    wchar_t wide[kNameSize];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kNameSize)) continue;
    text += wide;
    text += L"\r\n";
  }
  return text;
}

// Wendle's objects from the open clipboard, placed at insertAt: how many.
int PasteOwnObjects(ObjectList& list, int insertAt) {
  HANDLE data = GetClipboardData(SoundObjectsClipboardFormat());
  if (!data) return 0;
  const SIZE_T size = GlobalSize(data);
  const char* bytes = static_cast<const char*>(GlobalLock(data));
  if (!bytes) return 0;
  // Another program may have put anything there: the text is read as far
  // as its end or its first NUL, and only as a list.
  std::string text(bytes, strnlen(bytes, size));
  GlobalUnlock(data);
  ListFileReader reader(text.data(), text.size());
  if (!reader.ReadMagic()) return 0;
  return static_cast<int>(ReadListItems(&reader, list, insertAt, 0).objects);
}

// Files copied in a folder window, placed at insertAt: how many.
int PasteFiles(ObjectList& list, int insertAt) {
  HDROP drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  if (!drop) return 0;
  int added = 0;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  char name[kNameSize];
  for (UINT i = 0; i < count; ++i) {
    // A name too long for the buffer would be cut into another file's name.
    if (DragQueryFileA(drop, i, nullptr, 0) >= static_cast<UINT>(kNameSize)) continue;
    DragQueryFileA(drop, i, name, sizeof name);
    UpperCaseName(name, sizeof name);
    added += AddFileObjectAt(list, name, insertAt < 0 ? -1 : insertAt + added);
  }
  // The clipboard owns the block: no DragFinish.
  return added;
}

}  // namespace

UINT SoundObjectsClipboardFormat() {
  static const UINT format = RegisterClipboardFormatA("Wendle Sound Objects");
  return format;
}

bool CanPaste() {
  return IsClipboardFormatAvailable(SoundObjectsClipboardFormat()) || IsClipboardFormatAvailable(CF_HDROP);
}

bool CopySoundObjects(HWND owner, const ObjectList& list) {
  const std::vector<int> rows = SelectedIndexes();
  if (rows.empty()) return false;
  const std::string objects = ObjectsListText(list, rows);
  const std::wstring names = FileNamesText(list, rows);
  std::optional<ScopedClipboard> clipboard;
  if (!OpenSoon(&clipboard, owner) || !EmptyClipboard()) return false;
  bool put = PutOnClipboard(SoundObjectsClipboardFormat(), objects.c_str(), objects.size() + 1);
  if (!names.empty()) PutOnClipboard(CF_UNICODETEXT, names.c_str(), (names.size() + 1) * sizeof(wchar_t));
  return put;
}

void CutSoundObjects(HWND owner, ObjectList& list) {
  if (ListPlays() || !CopySoundObjects(owner, list)) return;
  RemoveRows(list, SelectedIndexes());
  SelectFirstItem();
}

void PasteSoundObjects(HWND owner, ObjectList& list) {
  if (ListPlays()) return;
  const std::vector<int> rows = SelectedIndexes();
  const int insertAt = rows.empty() ? list.Count() : rows.front();
  int pasted = 0;
  list.BeginBatch();
  {
    std::optional<ScopedClipboard> clipboard;
    if (OpenSoon(&clipboard, owner)) {
      pasted = PasteOwnObjects(list, insertAt);
      if (!pasted) pasted = PasteFiles(list, insertAt);
    }
  }
  list.EndBatch();
  if (!pasted || !HasMainView()) return;
  std::vector<int> placed;
  for (int i = 0; i < pasted; ++i) placed.push_back(insertAt + i);
  MainView().SelectRows(placed);
  ShowSelectionInfo();
  SetFocus(MainView().window());
}
