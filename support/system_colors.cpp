#include "support/system_colors.h"

namespace {

constexpr COLORREF kClassicGrey = RGB(192, 192, 192);  // the stock light-grey brush

}  // namespace

bool HighContrastOn() {
  HIGHCONTRASTA contrast = {};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

HBRUSH SurfaceColors(HDC dc) {
  if (HighContrastOn()) {
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
  }
  // A fixed background takes a fixed text colour: the system's text
  // colour may be light where the user chose other colours.
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, kClassicGrey);
  return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
}

void FillSurface(HDC dc, const RECT& rect) {
  FillRect(dc, &rect,
           HighContrastOn() ? GetSysColorBrush(COLOR_BTNFACE) : static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
}
