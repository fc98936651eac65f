/*
 * Drawing the rows of the two owner-drawn lists: the main window's Sound
 * Object List and the Add Sound Object dialog's list of kinds. Each row is
 * the kind's bitmap (pure blue is transparent) and one line of text.
 */
#ifndef WENDLE_LIST_DISPLAY_H
#define WENDLE_LIST_DISPLAY_H

#include <windows.h>

constexpr int kListRowHeight = 20;

void DrawListItem(const DRAWITEMSTRUCT* item);
void DrawKindItem(const DRAWITEMSTRUCT* item);
// 0 when no bitmap is given.
int DrawMaskedBitmap(HDC dc, HBITMAP bitmap, const RECT* rect, int x, int y);

#endif
