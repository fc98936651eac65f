/*
 * Drawing the rows of the main window's owner-drawn Sound Object List: each
 * row is the object's kind picture and the text it is known by.
 */
#ifndef WENDLE_LIST_DISPLAY_H
#define WENDLE_LIST_DISPLAY_H

#include <windows.h>

#include "model/object_list.h"
#include "support/list_rows.h"

void DrawListItem(const ObjectList& list, const DRAWITEMSTRUCT* item);

#endif
