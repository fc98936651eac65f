/*
 * The CD catalog: "WD_CD.DAT" in the current directory ties the identity of
 * an audio CD to the list file made for it. Catalog Active CD (command 140)
 * opens the list cataloged for the CD in the drive, or catalogs the current
 * list for it. Entries are only ever appended.
 */
#ifndef WENDLE_CD_CATALOG_H
#define WENDLE_CD_CATALOG_H

#include <windows.h>

#include <cstdint>

#include "state/main_window_state.h"

// The last entry written during this run; both numbers 0 and an empty path
// until then. It is not stored.
struct CatalogedList {
  uint32_t first = 0;
  uint32_t second = 0;
  char path[kTextBufferSize] = "";
};
CatalogedList& LastCataloged();

// Finds the first entry for the CdIdentity (first, second) and copies its
// list path into path (kTextBufferSize characters): the stored path whole
// when CatalogAbsolutePaths is set, else only its file name, which then
// opens from the current directory. 1 when found; 0 when there is no
// catalog, its first line is wrong (the user is told) or no entry matches.
int LookupCatalog(uint32_t first, uint32_t second, char* path);

// Appends an entry for the CdIdentity and the current list file, after
// asking when this run cataloged the same list for another CD. 1 when the
// entry was written; 0 when the user declined or the file could not be
// written (the user is told).
int CatalogCurrentList(uint32_t first, uint32_t second);

// Creates the catalog holding only its magic line; 0 when it cannot be.
int CreateCatalogFile();

// Catalog Active CD (command 140) for the main window.
void CatalogActiveCd(HWND mainWindow);

#endif
