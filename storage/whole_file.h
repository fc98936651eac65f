// A file read whole into memory, for the formats that parse from bytes.
#ifndef WENDLE_STORAGE_WHOLE_FILE_H
#define WENDLE_STORAGE_WHOLE_FILE_H

#include <windows.h>

#include <cstddef>
#include <memory>

struct FileBytes {
  std::unique_ptr<char[]> data;  // size bytes and one spare for a terminator
  size_t size = 0;
};

// Opens path for reading (others may go on reading and writing it) and
// reads it whole: 0, or the system's error. A file over maxBytes is
// ERROR_FILE_TOO_LARGE before a byte is read; a pipe or a device, which
// could go on for ever, is ERROR_NOT_SUPPORTED.
DWORD ReadWholeFile(const char* path, size_t maxBytes, FileBytes* bytes);

#endif
