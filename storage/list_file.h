/*
 * List files on disk: opening one into the Object List, saving the list,
 * the title that names the list's file, and the extension rule.
 */
#ifndef WENDLE_LIST_FILE_H
#define WENDLE_LIST_FILE_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "resources/ids.h"

class ListFileReader;

// How a list file joins the list: the File commands' ids.
enum ListLoadMode {
  ListLoadOpen = IDM_FILE_OPEN,
  ListLoadInsert = IDM_FILE_INSERT,
  ListLoadAppend = IDM_FILE_APPEND,
};

// Where the time of one load went, in seconds; the benchmarks print it.
struct ListLoadPhases {
  double readFile = 0;   // reading the file whole and counting its lines
  double clearList = 0;  // Open: deleting the items the list held
  double parse = 0;      // the list-file reader
  double objects = 0;    // making the Sound Objects
  double insert = 0;     // the list box taking the items
  double progress = 0;   // the status-bar text and painting pending windows
  double finish = 0;     // redraw off and on again, selection and focus
};

// Reads a list file into list; failures are reported to the user here. The
// list takes the file's full path as its name, and only when the whole file
// was read: a list cut short by a damaged file or by lack of memory keeps no
// name from it and stays modified, so no Save can cut the file down to it.
// 1 when the whole file was read, else 0. With phases, the time of each
// phase is added to it.
int LoadListFile(HWND list, const char* path, int mode, ListLoadPhases* phases = nullptr);

// Places the items of reader (past its magic line) into list. 1 when the
// end of the file was reached, 0 when memory ran out or the file was
// damaged (the user is told either); the items placed so far stay. A file
// name without a folder is relative to baseFolder (object_paths.h).
int ReadListItems(ListFileReader* reader, HWND list, int mode, ListLoadPhases* phases = nullptr,
                  uint16_t baseFolder = 0);

// LoadListFile on the main list in Open mode.
int OpenListFile(const char* path);

// Writes list to path, replacing the file there without a question (Save As
// asks in its dialog). 1 when the file now holds the list; 0 when it could
// not be written (the user is told; the old file is kept) or the list is
// empty; -4 without a path.
int SaveListFile(HWND list, const char* path);

// The full path of path into full (kTextBufferSize characters); false when
// it has none or it does not fit.
bool FullListPath(const char* path, char* full);

// Writes the magic line and every item of list to file. Returns the bytes
// written for the items; 0 when the file or list is not valid. When a write
// fails and error is given, *error receives the platform's error code.
DWORD WriteListItems(HANDLE file, HWND list, DWORD* error = nullptr);

// Appends ".WDL" to a path (buffer of size characters) that holds no "."
// anywhere; 1 when appended, else 0 and nothing changes.
int EnsureListExtension(char* path, size_t size = 512);

// The program caption, followed by " - NAME.WDL" when the list has a file.
void UpdateWindowTitle(HWND window);

#endif
