/*
 * One row of an owner-drawn list: the kind's bitmap (pure blue is
 * transparent) and one line of text. The main window's Sound Object List
 * and the Add Sound Object dialog's list of kinds both draw their rows so.
 */
#ifndef WENDLE_LIST_ROWS_H
#define WENDLE_LIST_ROWS_H

#include <windows.h>

#include "support/dpi.h"

constexpr int kListRowHeight = 20;  // at 96 DPI
// A row's height at dpi.
int ListRowHeight(int dpi);

// Draws an item by its action: whole or selection change draw the row (in
// the highlight colours when it is selected, with the focus rectangle when
// it has the focus); a focus change alone inverts the focus rectangle. The
// text starts textOffset pixels (at 96 DPI) from the left. Everything is
// drawn at the DPI of the item's window: the kind's bitmap (kindEntry, as
// KindBitmapAt) at 100 %, its picture of the scaled size at any other.
void DrawListRow(const DRAWITEMSTRUCT* item, int kindEntry, const char* text, int textOffset);

// Where a row's kind picture stands at dpi: 16 pixels square at 96 DPI, 3
// from the left, centred in the row's height.
RECT ListRowPicture(const RECT& row, int dpi);
// The font the list's rows are drawn in at dpi, the caller's to delete;
// null when the system gives no message font (the rows then use the stock
// font).
HFONT CreateRowFont(int dpi);

// The rows' look: the kind bitmaps (Wave 0, Midi 1, Pause 2, CdTrack 3,
// Video 4, AudioFile 5; model/sound_object_kind.h) and the row font, made
// when the main window is made and deleted when it goes.
constexpr int kKindBitmapCount = 6;
void LoadRowLook(HINSTANCE instance);
void FreeRowLook();
// A kind bitmap by its entry; null for none (or before LoadRowLook).
HBITMAP KindBitmapAt(int entry);
// A kind's row picture at pixels square (kept here); null for none.
HICON KindPictureAt(int entry, int pixels);
// The font the rows are drawn in at dpi: the row font, or the stock one.
HGDIOBJ RowFont(int dpi = kBaseDpi);

// 0 when no bitmap is given.
int DrawMaskedBitmap(HDC dc, HBITMAP bitmap, const RECT* rect, int x, int y);

#endif
