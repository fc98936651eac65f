// 3-D panels and frames, and bitmaps drawn with a transparent colour.
#include "support/support_library.h"

#include <algorithm>

namespace {

// Fills a rectangle with a plain colour without creating a brush.
void FillSolid(HDC dc, LONG left, LONG top, LONG right, LONG bottom, COLORREF colour) {
  if (right <= left || bottom <= top) return;
  RECT area = {left, top, right, bottom};
  COLORREF previous = SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  SetBkColor(dc, previous);
}

// Draws a bevel inside *rect: thicknessX columns on the left and right,
// thicknessY rows on the top and bottom, lit colour on top and left, dark
// colour on bottom and right. On return *rect is the area inside the bevel.
void DrawBevel(HDC dc, RECT* rect, COLORREF lit, COLORREF dark, int thicknessX, int thicknessY) {
  int rings = std::max(thicknessX, thicknessY);
  for (int ring = 0; ring < rings; ++ring) {
    RECT& r = *rect;
    if (r.right <= r.left || r.bottom <= r.top) return;
    bool rows = ring < thicknessY;
    bool columns = ring < thicknessX;
    // The dark lines own the corners they share with lit ones.
    if (rows) FillSolid(dc, r.left, r.top, r.right - (columns ? 1 : 0), r.top + 1, lit);
    if (columns) FillSolid(dc, r.left, r.top, r.left + 1, r.bottom - (rows ? 1 : 0), lit);
    if (rows) FillSolid(dc, r.left, r.bottom - 1, r.right, r.bottom, dark);
    if (columns) FillSolid(dc, r.right - 1, r.top, r.right, r.bottom, dark);
    if (rows) ++r.top, --r.bottom;
    if (columns) ++r.left, --r.right;
  }
}

}  // namespace

// A panel of button face colour with a bevel of width pixels: raised lit
// at top left, pressed lit at bottom right.
void WINAPI Draw3DPanel(HDC dc, const RECT* rect, BOOL raised, int width) {
  if (!dc || !rect) return;
  COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  RECT inside = *rect;
  FillSolid(dc, inside.left, inside.top, inside.right, inside.bottom, GetSysColor(COLOR_BTNFACE));
  if (raised)
    DrawBevel(dc, &inside, highlight, shadow, width, width);
  else
    DrawBevel(dc, &inside, shadow, highlight, width, width);
}

// A frame insetX/insetY pixels inside rect, widthX pixels wide at the sides
// and widthY pixels at top and bottom: its outer line is the 3-D edge in
// highlight and shadow, the rest is face colour. Only the frame is painted.
void WINAPI Draw3DBorder(HDC dc, const RECT* rect, int insetX, int insetY, COLORREF highlight, COLORREF shadow,
                         COLORREF face, int widthX, int widthY) {
  if (!dc || !rect) return;
  RECT frame = *rect;
  InflateRect(&frame, -std::max(insetX, 0), -std::max(insetY, 0));
  int edgeX = std::min(widthX, 1);
  int edgeY = std::min(widthY, 1);
  DrawBevel(dc, &frame, highlight, shadow, edgeX, edgeY);
  DrawBevel(dc, &frame, face, face, widthX - edgeX, widthY - edgeY);
}

BOOL WINAPI DrawTransparentBitmap(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                                  int sourceY) {
  if (!target || !source || width < 0 || height < 0) return FALSE;
  if (width == 0 || height == 0) return TRUE;
  // Source pixels of the target's background colour are left out.
  COLORREF transparent = GetBkColor(target);
  return TransparentBlt(target, x, y, width, height, source, sourceX, sourceY, width, height, transparent);
}
