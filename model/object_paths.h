/*
 * Where a Sound Object's file is. A list may name its files without a
 * folder (the demo list does): such a name is found beside the list file it
 * came from, or, for an object added while the list had no file, in the
 * folder the user added it from, whatever folder is current later. The
 * name stays in the list as it was written; each object keeps, by number,
 * the folder its name is relative to.
 */
#ifndef WENDLE_OBJECT_PATHS_H
#define WENDLE_OBJECT_PATHS_H

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/sound_object.h"

// A name that is neither a full path ("C:\...", "\\server\...") nor one
// that names a drive or the drive's root ("C:LIST", "\LIST").
bool IsRelativePath(std::string_view path);

// The number of a folder for SoundObject::baseFolder (the folder is kept
// for the whole run); 0 when no more folders can be numbered.
uint16_t BaseFolderNumber(const char* folder);
// The folder of the list file, or the current folder for a list without
// one: where a name typed now without a folder is relative to.
uint16_t CurrentBaseFolder();
// The number of the folder of a file.
uint16_t BaseFolderOfFile(const char* path);

// The path of an object's file as the platform needs it: a relative name
// joined to its base folder. False (path empty) when the object has no
// file name or the path does not fit size characters.
bool ResolveObjectPath(const SoundObject& record, char* path, size_t size);
// The same for a name as typed for a new object.
bool ResolveTypedPath(const char* name, char* path, size_t size);

#endif
