/*
 * Other players' playlists between the disk and the program: reading a
 * playlist file of any format Wendle takes, with its texts made the
 * program's, and the program's texts in the bytes each format holds
 * (UTF-8 for M3U8 and PLS; the legacy code page, where a text has a form
 * there, for M3U). The formats themselves are in playlist_format.h (M3U,
 * PLS, writing) and xml_playlist.h (WPL, XSPF).
 */
#ifndef WENDLE_STORAGE_PLAYLIST_FILE_H
#define WENDLE_STORAGE_PLAYLIST_FILE_H

#include <windows.h>

#include <stddef.h>

#include <string>
#include <string_view>

#include "storage/file_text.h"
#include "storage/playlist_format.h"

// Reads a playlist held in memory in format (M3U, M3U8, PLS, WPL or
// XSPF); texts stay the file's (see PlaylistTextsToProgram).
void ReadPlaylistBytes(PlaylistFormat format, const char* data, size_t size, PlaylistRead* read);

// Reads the playlist file at path, in the format its extension names, and
// makes its texts the program's. A file larger than kMaxPlaylistBytes is
// not read at all (TooLarge), nor one that is no file on a disk, such as a
// pipe or a device (CannotRead). False when nothing could be read:
// read->stop says why.
bool ReadPlaylistFile(const char* path, PlaylistRead* read, TextCodePages pages = SystemCodePages());

// Turns the texts read from a file into the program's code page, by the
// rule of list files: a UTF-8 text is UTF-8, any other text is in the
// legacy code page. A name that grows past kMaxListText bytes would have
// to be cut: its entry is refused instead (TooLong), as is one whose
// description grows so. Refusal texts are made the program's too, for the
// message that names them.
void PlaylistTextsToProgram(PlaylistRead* read, TextCodePages pages = SystemCodePages());

// A program's text as an M3U file holds it: in the legacy code page when
// every character has its own form there and the bytes cannot pass for
// UTF-8 (so they read back the same), else in UTF-8. A view of text when
// it needs no change, else of *converted.
std::string_view TextForLegacyPlaylist(std::string_view text, std::string* converted,
                                       TextCodePages pages = SystemCodePages());

// A program's text as an M3U8 or PLS file holds it: in UTF-8. A text
// that is valid UTF-8 already is kept, as the program keeps such texts
// read from files where its code page is not UTF-8.
std::string_view TextForUtf8Playlist(std::string_view text, std::string* converted,
                                     TextCodePages pages = SystemCodePages());

#endif  // WENDLE_STORAGE_PLAYLIST_FILE_H
