/*
 * The program's pictures at the size a display needs. Each icon resource
 * holds its picture at several sizes (16 to 64 pixels); a picture is drawn
 * from the size it holds that needs no enlarging, so it never shows as a
 * smaller one blown up and blurred.
 */
#ifndef WENDLE_PICTURES_H
#define WENDLE_PICTURES_H

#include <windows.h>

// The pixels that a picture of pixelsAt96 (its size at 96 DPI, 100 %)
// takes at dpi: 16 is 20 at 120 DPI, 24 at 144 and 32 at 192; 32 is 40, 48
// and 64. A dpi of 0 or less counts as 96.
int PictureSizeForDpi(int pixelsAt96, int dpi);

// The size that the icon id of instance holds and LoadPicture draws pixels
// from: pixels itself when it is there, else the smallest larger one, else
// the largest. 0 when there is no such icon.
int PictureSourceSize(HINSTANCE instance, int id, int pixels);

// The icon id at pixels x pixels, the caller's to DestroyIcon; null when
// there is no such icon or pixels is not positive. A size the icon does not
// hold is reduced from the next larger one, with every pixel the average of
// the area it covers; only a size above the largest is enlarged.
HICON LoadPicture(HINSTANCE instance, int id, int pixels);

#endif
