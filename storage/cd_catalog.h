/*
 * The CD catalog: "WD_CD.DAT" in the current directory ties the identity of
 * an audio CD to the list file made for it. Entries are only ever appended.
 * Storage reads and writes it; the Catalog Active CD command (shell) asks
 * and says what came of it.
 */
#ifndef WENDLE_CD_CATALOG_H
#define WENDLE_CD_CATALOG_H

#include <windows.h>

#include <cstdint>
#include <string>

// The last entry written during this run; both numbers 0 and an empty path
// until then. It is not stored.
struct CatalogedList {
  uint32_t first = 0;
  uint32_t second = 0;
  std::string path;
};
CatalogedList& LastCataloged();

enum class CatalogFound {
  Found,        // *path is the list's
  NotFound,     // no entry for the CD, or no catalog
  Damaged,      // the catalog's first line is wrong
  PathTooLong,  // the entry's path does not fit the program's texts (a path is never cut)
};

// Finds the first entry for the CdIdentity (first, second): its list path
// whole with absolutePaths, else only its file name, which then opens from
// the current directory.
CatalogFound LookupCatalog(uint32_t first, uint32_t second, bool absolutePaths, std::string* path);

// Appends an entry for the CdIdentity and a list file (creating the
// catalog first): 0, or the system's error.
DWORD AppendCatalogEntry(uint32_t first, uint32_t second, const std::string& listPath);

// Creates the catalog holding only its magic line; 0 when it cannot be.
int CreateCatalogFile();

#endif
