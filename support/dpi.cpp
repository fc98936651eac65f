#include "support/dpi.h"

#include "support/scoped_win.h"

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);
using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// Through void (*)(), the one function type that converts to any; null on
// systems without the function, which are then treated as they always were.
template <typename Function>
Function User32Function(const char* name) {
  HMODULE user = GetModuleHandleA("user32.dll");
  FARPROC entry = user ? GetProcAddress(user, name) : nullptr;
  return entry ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry)) : nullptr;
}

// The variable-pitch fonts made so far, one per DPI, kept for the
// program's life: a window may hold one until it goes. A machine shows few
// DPIs; past the slots, the unscaled font is given.
constexpr int kFontSlots = 8;
struct ScaledFont {
  int dpi = 0;
  ScopedFont font;
};
ScaledFont g_variablePitch[kFontSlots];

}  // namespace

int Scale(int value, int dpi) { return MulDiv(value, dpi > 0 ? dpi : kBaseDpi, kBaseDpi); }

int ScreenDpi() {
  ScopedWindowDC screen(nullptr);
  int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kBaseDpi;
}

int DpiOf(HWND window) {
  static const DpiForWindow dpiForWindow = User32Function<DpiForWindow>("GetDpiForWindow");
  if (dpiForWindow && window) {
    UINT dpi = dpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return ScreenDpi();
}

void AdjustWindowRectForDpi(RECT* rect, DWORD style, DWORD exStyle, int dpi) {
  static const AdjustForDpi adjustForDpi = User32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
  if (adjustForDpi && dpi > 0 && adjustForDpi(rect, style, TRUE, exStyle, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(rect, style, TRUE, exStyle);
}

HFONT VariablePitchFont(int dpi) {
  HFONT stock = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  if (dpi <= 0 || dpi == kBaseDpi) return stock;
  for (ScaledFont& slot : g_variablePitch)
    if (slot.dpi == dpi && slot.font) return slot.font.get();
  LOGFONTA font;
  if (!GetObjectA(stock, sizeof font, &font)) return stock;
  // The stock font is the same at every DPI (as on Windows): its 96-DPI
  // height is scaled.
  font.lfHeight = Scale(font.lfHeight, dpi);
  font.lfWidth = 0;
  for (ScaledFont& slot : g_variablePitch) {
    if (slot.font) continue;
    slot.font.reset(CreateFontIndirectA(&font));
    if (!slot.font) return stock;
    slot.dpi = dpi;
    return slot.font.get();
  }
  return stock;
}

bool MessageFontAt(int dpi, LOGFONTA* font) {
  static const ParametersForDpi parametersForDpi = User32Function<ParametersForDpi>("SystemParametersInfoForDpi");
  int screen = ScreenDpi();
  if (parametersForDpi && dpi > 0 && dpi != screen) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
      const LOGFONTW& wide = metrics.lfMessageFont;
      *font = {};
      font->lfHeight = wide.lfHeight;
      font->lfWidth = wide.lfWidth;
      font->lfWeight = wide.lfWeight;
      font->lfItalic = wide.lfItalic;
      font->lfCharSet = wide.lfCharSet;
      font->lfOutPrecision = wide.lfOutPrecision;
      font->lfClipPrecision = wide.lfClipPrecision;
      font->lfQuality = wide.lfQuality;
      font->lfPitchAndFamily = wide.lfPitchAndFamily;
      if (WideCharToMultiByte(CP_ACP, 0, wide.lfFaceName, -1, font->lfFaceName, LF_FACESIZE, nullptr, nullptr) > 0)
        return true;
    }
  }
  // The system DPI's, scaled from it where the system has no other.
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
  *font = metrics.lfMessageFont;
  if (dpi > 0 && dpi != screen) font->lfHeight = MulDiv(font->lfHeight, dpi, screen);
  return true;
}

HFONT CreateMessageFont(int dpi, int mostCharacterHeight) {
  LOGFONTA font;
  if (!MessageFontAt(dpi, &font)) return nullptr;
  if (mostCharacterHeight > 0) {
    if (font.lfHeight < -mostCharacterHeight) font.lfHeight = -mostCharacterHeight;
    if (font.lfHeight > mostCharacterHeight) font.lfHeight = mostCharacterHeight;
  }
  return CreateFontIndirectA(&font);
}
