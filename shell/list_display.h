/*
 * Drawing the rows of the main window's owner-drawn Sound Object List: each
 * row is the object's kind bitmap and the text it is known by.
 */
#ifndef WENDLE_LIST_DISPLAY_H
#define WENDLE_LIST_DISPLAY_H

#include <windows.h>

#include "model/object_list.h"
#include "support/list_rows.h"

// The kind bitmap of a record's flags, or none.
HBITMAP KindBitmap(uint32_t flags);

void DrawListItem(const ObjectList& list, const DRAWITEMSTRUCT* item);

#endif
