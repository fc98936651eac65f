#include "storage/whole_file.h"

#include <new>

#include "support/scoped_win.h"

DWORD ReadWholeFile(const char* path, size_t maxBytes, FileBytes* bytes) {
  *bytes = FileBytes();
  ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return ERROR_NOT_SUPPORTED;
  LARGE_INTEGER length;
  if (!GetFileSizeEx(file.get(), &length)) return GetLastError();
  // One read of a DWORD's count holds the whole file.
  if (length.QuadPart < 0 || static_cast<unsigned long long>(length.QuadPart) > maxBytes ||
      length.QuadPart >= 0x7FFFFFFF)
    return ERROR_FILE_TOO_LARGE;
  const size_t size = static_cast<size_t>(length.QuadPart);
  bytes->data.reset(new (std::nothrow) char[size + 1]);
  if (!bytes->data) return ERROR_NOT_ENOUGH_MEMORY;
  DWORD read = 0;
  if (size && !ReadFile(file.get(), bytes->data.get(), static_cast<DWORD>(size), &read, nullptr)) {
    DWORD error = GetLastError();
    *bytes = FileBytes();
    return error;
  }
  bytes->size = read;
  bytes->data[read] = '\0';
  return 0;
}
