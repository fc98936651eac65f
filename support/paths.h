// Parts of Windows paths.
#ifndef WENDLE_PATHS_H
#define WENDLE_PATHS_H

#include <cstddef>

// The part after the last backslash: the whole path when it has none, an
// empty text when it ends in one.
const char* FileNamePart(const char* path);

// The folder of a path into folder ("." when the path names no folder;
// "C:\" for a file in the root of C:).
void FolderOfPath(const char* path, char* folder, size_t size);

#endif
