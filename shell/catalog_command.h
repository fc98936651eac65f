// Catalog Active CD (command 140): opens the list cataloged for the CD in
// the drive, or catalogs the current list for it.
#ifndef WENDLE_CATALOG_COMMAND_H
#define WENDLE_CATALOG_COMMAND_H

#include <windows.h>

#include "model/object_list.h"

void CatalogActiveCd(HWND mainWindow, ObjectList& list);

#endif
