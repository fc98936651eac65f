/*
 * Where a Sound Object's file is. A list may name its files without a
 * folder (the demo list does): such a name is found beside the list file it
 * came from, or, for an object added while the list had no file, in the
 * folder the user added it from, whatever folder is current later. The
 * name stays in the object as it was written; each object keeps, by
 * number, the folder its name is relative to (the Object List numbers
 * them).
 */
#ifndef WENDLE_OBJECT_PATHS_H
#define WENDLE_OBJECT_PATHS_H

#include <cstddef>
#include <string>
#include <string_view>

// A name that is neither a full path ("C:\...", "\\server\...") nor one
// that names a drive or the drive's root ("C:LIST", "\LIST").
bool IsRelativePath(std::string_view path);

// Joins a relative name to folder (none: the current folder) and makes the
// result whole, so ".." and "." are taken out; a full name is only made
// whole. False (path empty) for an empty name or a path that does not fit
// size bytes.
bool JoinObjectPath(const char* name, const std::string& folder, char* path, size_t size);

#endif
