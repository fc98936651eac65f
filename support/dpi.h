/*
 * Sizes at a window's resolution. Wendle is per-monitor DPI aware: every
 * size of its own drawing and layout is given for 96 DPI (100 %) and
 * scaled to the DPI of the window it appears in.
 */
#ifndef WENDLE_DPI_H
#define WENDLE_DPI_H

#include <windows.h>

constexpr int kBaseDpi = 96;

// value (pixels at 96 DPI) at dpi, rounded to the nearest pixel; a dpi of
// 0 or less counts as 96.
int Scale(int value, int dpi);

// The DPI a window is drawn at: GetDpiForWindow where the system has it
// (Windows 10 1607 and later), else the screen's.
int DpiOf(HWND window);
// The screen's DPI (the system DPI), which older systems use throughout.
int ScreenDpi();

// AdjustWindowRectEx for a window with a menu at dpi: the frame of that
// DPI where the system can say it (AdjustWindowRectExForDpi), else the
// system DPI's.
void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi);

// The stock variable-pitch font (the labels and explanations) at dpi: the
// stock font itself at 96 DPI, else one of its face at the scaled height.
// The font is kept here for the program's life: never the caller's to
// delete.
HFONT VariablePitchFont(int dpi);

// The system's message font at dpi, the caller's to delete; null when the
// system gives none.
HFONT CreateMessageFont(int dpi, int mostCharacterHeight = 0);

// The message font's LOGFONT at dpi; false when the system gives none.
bool MessageFontAt(int dpi, LOGFONTA* font);

#endif
