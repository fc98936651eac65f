/*
 * The colours of the program's own surfaces. Wendle's classic light grey
 * stands behind its labels and dialogs; in high-contrast mode the user's
 * system colours take its place, as they do in the owner-drawn rows and
 * buttons.
 */
#ifndef WENDLE_SYSTEM_COLORS_H
#define WENDLE_SYSTEM_COLORS_H

#include <windows.h>

// SPI_GETHIGHCONTRAST's HCF_HIGHCONTRASTON, asked afresh each time, so a
// change of the setting shows at the next paint.
bool HighContrastOn();

// For WM_CTLCOLOR*: sets dc's text and background colours for a surface of
// the program and returns its brush (never to be deleted).
HBRUSH SurfaceColors(HDC dc);

// Fills rect with the surface's brush.
void FillSurface(HDC dc, const RECT& rect);

#endif
