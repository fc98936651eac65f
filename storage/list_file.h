/*
 * List files on disk: reading one into the Object List, writing the list
 * to one, and the extension rule. Storage shows nothing and asks nothing:
 * each operation returns what it came to, and the File commands (shell)
 * decide what the person is told.
 */
#ifndef WENDLE_LIST_FILE_H
#define WENDLE_LIST_FILE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/object_list.h"
#include "resources/ids.h"
#include "storage/playlist_format.h"

class ListFileReader;

// How a list file joins the list: the File commands' ids.
enum ListLoadMode {
  ListLoadOpen = IDM_FILE_OPEN,
  ListLoadInsert = IDM_FILE_INSERT,
  ListLoadAppend = IDM_FILE_APPEND,
};

// What reading or writing a list file came to.
struct ListFileResult {
  enum Status {
    Done,          // the whole file was read, or the list written
    CannotOpen,    // the file could not be opened or read (systemError says why)
    NotAList,      // its first line is not the list files' own
    Damaged,       // it stops being a list at `line`; the objects before stay
    OutOfMemory,   // the objects read so far stay
    CannotWrite,   // the file could not be written (systemError says why); the old one is kept
    NameTooLong,   // the path does not fit the program's texts
    EmptyList,     // a list without objects is not written
    NothingTaken,  // a playlist none of whose entries could be taken (see below)
    NotWritable,   // Wendle writes no file of this format (WPL, XSPF)
  };
  Status status = Done;
  DWORD systemError = 0;
  unsigned line = 0;
  unsigned objects = 0;  // objects read, or written
  // Objects (by their index in the list) whose texts were longer than an
  // object holds (a line in a legacy code page grows as UTF-8) and were
  // cut: the list counts as changed.
  std::vector<int> cutObjects;
  // Another player's playlist: its entries that could not be taken (the
  // first kMaxListedRefusals, in the order of the file) and their number,
  // and why reading stopped before its end, if it did.
  bool playlist = false;
  std::vector<PlaylistRefused> refused;
  size_t refusedCount = 0;
  PlaylistStop stop = PlaylistStop::None;
  uint32_t stopLine = 0;

  bool ok() const { return status == Done; }
};

// Progress of a long read or write: called after every batch of objects
// (total is 0 while reading). The caller decides what to show, and when.
class ListProgress {
 public:
  virtual ~ListProgress() = default;
  virtual void Step(unsigned done, unsigned total) = 0;
};

// Reads a list file into list: Open replaces the objects, Insert puts the
// file's objects before index insertAt (the end for -1), Append after the
// last. The list takes the file's full path as its name, and only when the
// whole file was read: a list cut short by a damaged file or by lack of
// memory keeps no name from it and stays modified, so no Save can cut the
// file down to it. The file itself is never changed by reading it.
//
// Another player's playlist (M3U, M3U8, PLS, WPL, XSPF: by the extension)
// is read the same way: each entry whose file is there becomes a Sound
// Object of the kind its extension names. What cannot be taken is listed
// in the result and the rest is taken; such a list is not the whole file
// and keeps no name from it, as a damaged list file. A playlist that
// yields nothing changes nothing (NothingTaken).
ListFileResult LoadListFile(ObjectList& list, const char* path, int mode, int insertAt = -1,
                            ListProgress* progress = nullptr);

// Places the items of reader (past its magic line) into list at insertAt
// (-1: the end). A file name without a folder is relative to folder.
ListFileResult ReadListItems(ListFileReader* reader, ObjectList& list, int insertAt, uint16_t folder,
                             ListProgress* progress = nullptr);

// Writes list to path, replacing the file there (Save As asks about that
// first). The list is written to a new file beside it and put in its place
// in one step where the folder allows it, so a failure never costs the old
// file; where the folder cannot take a new file (it is read-only, but the
// list's file is not), the file is written in place. A file Wendle did not
// make is never touched, and the old file's attributes stay. A name
// without a folder is written so that the list written there still finds
// its file. The list is marked saved.
//
// A path ending in .M3U, .M3U8 or .PLS is written in that format (see
// PlaylistWriter): names relative to the playlist's folder where the file
// lies under it, else in full. WPL and XSPF are read only (NotWritable).
ListFileResult SaveListFile(ObjectList& list, const char* path, ListProgress* progress = nullptr);

// The list-file bytes of every object of list, as a list file in folder
// holds them (see SaveListFile): the magic line and three lines an object.
std::string ListFileBytes(const ObjectList& list, const char* folder, ListProgress* progress = nullptr);

// The list-file text of the objects at rows, in order, as the clipboard
// carries it between lists: a name without a folder is written with its
// folder, so any list finds the file.
std::string ObjectsListText(const ObjectList& list, const std::vector<int>& rows);

// The list as a playlist of format in folder holds it (M3U, M3U8 or PLS).
std::string PlaylistFileBytes(const ObjectList& list, const char* folder, PlaylistFormat format,
                              ListProgress* progress = nullptr);

// Whether Wendle writes lists of the format a path's extension names: a
// .WDL list file, M3U, M3U8 and PLS.
bool WritableListName(const char* path);

// The full path of path into full (kMaxPath bytes); false when it has none
// or it does not fit.
constexpr size_t kMaxPath = 512;
bool FullListPath(const char* path, char* full);

// Appends ".WDL" to a path (buffer of size bytes) that holds no "."
// anywhere; 1 when appended, else 0 and nothing changes.
int EnsureListExtension(char* path, size_t size = kMaxPath);

#endif
