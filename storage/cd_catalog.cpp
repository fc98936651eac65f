#include "storage/cd_catalog.h"

#include <string>

#include "model/object_list.h"
#include "playback/cd_audio.h"
#include "resources/ids.h"
#include "storage/catalog_format.h"
#include "storage/file_text.h"
#include "storage/file_commands.h"
#include "storage/list_file.h"
#include "support/language.h"
#include "support/paths.h"

namespace {

// Named without a folder: the catalog of the current directory.
const char kCatalogFile[] = "WD_CD.DAT";
constexpr DWORD kReadChunk = 4096;

HANDLE OpenCatalog(DWORD access, DWORD disposition) {
  return CreateFileA(kCatalogFile, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool CatalogExists() {
  HANDLE file = OpenCatalog(GENERIC_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// Lines go to disk as text mode writes them: LF becomes CR LF.
std::string TextModeLine(const std::string& line) {
  std::string out;
  for (char c : line) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
}

// True when the file ends inside a line (an entry added by hand without
// its line end), which a new entry must not be joined to.
bool EndsInsideALine(HANDLE file) {
  LARGE_INTEGER back;
  back.QuadPart = -1;
  char last = '\n';
  DWORD read = 0;
  return SetFilePointerEx(file, back, nullptr, FILE_END) && ReadFile(file, &last, 1, &read, nullptr) && read == 1 &&
         last != '\n';
}

void OfferToFillFromCd(HWND mainWindow) {
  if (ShowMessage(mainWindow, IDS_ASK_FILL_FROM_CD, MB_YESNO | MB_ICONQUESTION) == IDYES)
    PostMessageA(mainWindow, WM_COMMAND, IDM_OPT_ADD_ALL_CD_TRACKS, 0);
}

}  // namespace

CatalogedList& LastCataloged() {
  static CatalogedList last;
  return last;
}

int LookupCatalog(uint32_t first, uint32_t second, char* path) {
  HANDLE file = OpenCatalog(GENERIC_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return 0;
  CatalogLookup lookup(first, second);
  char chunk[kReadChunk];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0 && lookup.Feed(chunk, read)) {
  }
  lookup.Finish();
  CloseHandle(file);

  switch (lookup.result()) {
    case CatalogLookup::Result::BadMagic:
      ShowMessage(g_state.mainWindow, IDS_CATALOG_DAMAGED, MB_ICONEXCLAMATION);
      return 0;
    case CatalogLookup::Result::Found: {
      // The path in the program's encoding; one that does not fit is no
      // path (a cut one would name another file).
      std::string converted;
      std::string_view text = TextFromFile(lookup.path(), &converted, kMaxCatalogPath + 1);
      if (text.size() > kMaxCatalogPath) return 0;
      std::string found(text);
      const char* name = found.c_str();
      if (!(g_settings.preferenceFlags & CatalogAbsolutePaths)) name = FileNamePart(name);
      lstrcpynA(path, name, kTextBufferSize);
      return 1;
    }
    default:
      return 0;
  }
}

int CatalogCurrentList(uint32_t first, uint32_t second) {
  HWND mainWindow = g_state.mainWindow;
  const CatalogedList& last = LastCataloged();
  if (last.path[0] && lstrcmpiA(g_state.currentListFile, last.path) == 0 && first != last.first &&
      second != last.second) {
    // This list was cataloged for another CD earlier in this run.
    if (ShowMessage(mainWindow, IDS_ASK_SAME_LIST_NEW_CD, MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2) != IDYES) {
      RunFileCommand(mainWindow, IDM_FILE_NEW);
      OfferToFillFromCd(mainWindow);
      return 0;
    }
  }

  if (!CatalogExists() && !CreateCatalogFile()) {
    ShowMessage(mainWindow, IDS_FILE_WRITE_FAILED, MB_ICONEXCLAMATION);
    return 0;
  }
  HANDLE file = OpenCatalog(GENERIC_READ | FILE_APPEND_DATA, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) {
    ShowMessage(mainWindow, IDS_FILE_WRITE_FAILED, MB_ICONEXCLAMATION);
    return 0;
  }
  std::string line = TextModeLine(FormatCatalogEntry(first, second, g_state.currentListFile));
  if (EndsInsideALine(file)) line.insert(0, "\r\n");
  bool written = WriteAll(file, line);
  CloseHandle(file);
  if (!written) {
    ShowMessage(mainWindow, IDS_FILE_WRITE_FAILED, MB_ICONEXCLAMATION);
    return 0;
  }

  CatalogedList& entry = LastCataloged();
  entry.first = first;
  entry.second = second;
  lstrcpynA(entry.path, g_state.currentListFile, kTextBufferSize);
  return 1;
}

int CreateCatalogFile() {
  HANDLE file = OpenCatalog(FILE_APPEND_DATA, OPEN_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) return 0;
  bool written = WriteAll(file, TextModeLine(std::string(kCatalogMagic) + "\n"));
  CloseHandle(file);
  return written ? 1 : 0;
}

void CatalogActiveCd(HWND mainWindow) {
  if (g_state.playAllRunning || g_state.playing) return;
  CdDisc disc;
  if (!ReadCdDisc(&disc, false) || !disc.identified) {
    ShowMessage(mainWindow, IDS_NO_CD, MB_ICONEXCLAMATION);
    return;
  }
  const uint32_t first = disc.first;
  const uint32_t second = disc.second;
  // Nothing else uses this buffer until the list is opened.
  char path[kTextBufferSize];
  if (LookupCatalog(first, second, path)) {
    // Cancel, or a save that did not happen, leaves everything as it is.
    if (!AskToSaveChanges()) return;
    OpenListFile(path);
    UpdateWindowTitle(mainWindow);
    SelectFirstItem();
  } else if (g_state.currentListFile[0]) {
    // Only a written entry is reported as one: not a failed write, nor a
    // No that started a new list instead.
    bool cataloged = CatalogCurrentList(first, second) != 0;
    SelectFirstItem();
    if (cataloged) ShowStatusString(IDS_CD_CATALOGED);
  } else {
    ShowMessage(mainWindow, IDS_NOTHING_TO_CATALOG, MB_ICONEXCLAMATION);
    OfferToFillFromCd(mainWindow);
    SelectFirstItem();
  }
}
