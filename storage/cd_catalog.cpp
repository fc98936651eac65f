#include "storage/cd_catalog.h"

#include <string>

#include "storage/catalog_format.h"
#include "storage/file_text.h"
#include "support/paths.h"
#include "support/scoped_win.h"

namespace {

// Named without a folder: the catalog of the current directory.
const char kCatalogFile[] = "WD_CD.DAT";
constexpr DWORD kReadChunk = 4096;

ScopedHandle OpenCatalog(DWORD access, DWORD disposition) {
  return ScopedHandle(CreateFileA(kCatalogFile, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool CatalogExists() { return OpenCatalog(GENERIC_READ, OPEN_EXISTING).valid(); }

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

}  // namespace

CatalogedList& LastCataloged() {
  static CatalogedList last;
  return last;
}

CatalogFound LookupCatalog(uint32_t first, uint32_t second, bool absolutePaths, std::string* path) {
  CatalogLookup lookup(first, second);
  {
    ScopedHandle file = OpenCatalog(GENERIC_READ, OPEN_EXISTING);
    if (!file) return CatalogFound::NotFound;
    char chunk[kReadChunk];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0 && lookup.Feed(chunk, read)) {
    }
    lookup.Finish();
  }

  switch (lookup.result()) {
    case CatalogLookup::Result::BadMagic:
      return CatalogFound::Damaged;
    case CatalogLookup::Result::Found: {
      // The path in the program's encoding, whole: a cut one would name
      // another file.
      std::string converted;
      bool cut = false;
      std::string_view text = TextFromFile(lookup.path(), &converted, kMaxCatalogPath, SystemCodePages(), &cut);
      if (cut) return CatalogFound::PathTooLong;
      std::string found(text);
      *path = absolutePaths ? found : std::string(FileNamePart(found.c_str()));
      return CatalogFound::Found;
    }
    default:
      return CatalogFound::NotFound;
  }
}

DWORD AppendCatalogEntry(uint32_t first, uint32_t second, const std::string& listPath) {
  if (!CatalogExists() && !CreateCatalogFile()) return GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
  {
    ScopedHandle file = OpenCatalog(GENERIC_READ | FILE_APPEND_DATA, OPEN_EXISTING);
    if (!file) return GetLastError();
    std::string line = TextModeLine(FormatCatalogEntry(first, second, listPath));
    if (EndsInsideALine(file.get())) line.insert(0, "\r\n");
    if (!WriteAll(file.get(), line)) return GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
  }
  CatalogedList& entry = LastCataloged();
  entry.first = first;
  entry.second = second;
  entry.path = listPath;
  return 0;
}

int CreateCatalogFile() {
  ScopedHandle file = OpenCatalog(FILE_APPEND_DATA, OPEN_ALWAYS);
  return file && WriteAll(file.get(), TextModeLine(std::string(kCatalogMagic) + "\n")) ? 1 : 0;
}
