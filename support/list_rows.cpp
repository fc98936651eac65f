#include "support/list_rows.h"

#include "resources/ids.h"
#include "support/scoped_win.h"
#include "support/support_library.h"

namespace {

// What LoadRowLook made.
ScopedBitmap g_kindBitmaps[kKindBitmapCount];
ScopedFont g_rowFont;

constexpr COLORREF kTransparentColour = RGB(0, 0, 255);
constexpr int kBitmapOffsetX = 3;
constexpr int kTextOffsetY = 3;
constexpr int kBitmapSize = 16;
// A row's text is at most 511 bytes: never more characters than that.
constexpr int kRowTextCharacters = 512;

// Draws one row: the background, the bitmap and the text, in the
// highlight colours when the item is selected, and the focus rectangle
// when the item has the focus, whether or not keyboard cues are hidden
// (ODS_NOFOCUSRECT is not obeyed: the focus is always visible). The
// colours are the system's, so high contrast shows. A row drawn whole shows its real state,
// so a list repainted after being covered still shows its selection.
void DrawRow(const DRAWITEMSTRUCT* item, HBITMAP bitmap, const char* text, int textOffset) {
  HDC dc = item->hDC;
  bool selected = (item->itemState & ODS_SELECTED) != 0;
  COLORREF oldBack = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ScopedSelect font(dc, RowFont());

  RECT rect = item->rcItem;
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  RECT picture = ListRowPicture(rect);
  DrawMaskedBitmap(dc, bitmap, &rect, picture.left - rect.left, picture.top - rect.top);
  rect.left += textOffset;
  rect.top += kTextOffsetY;
  // A text cut by the row's width ends in an ellipsis. The text is drawn
  // in wide characters: the "A" drawing functions read bytes in the code
  // page of the font's character set (1252 for this font), not in the
  // program's, which is UTF-8 where the system honours the manifest.
  wchar_t wide[kRowTextCharacters];
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kRowTextCharacters);
  if (length <= 0) {  // longer than any text a row holds: as far as it goes
    length = kRowTextCharacters;
    wide[kRowTextCharacters - 1] = L'\0';
  }
  DrawTextW(dc, wide, length - 1, &rect, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);

  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &item->rcItem);
}

}  // namespace

void DrawListRow(const DRAWITEMSTRUCT* item, HBITMAP bitmap, const char* text, int textOffset) {
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))
    DrawRow(item, bitmap, text, textOffset);
  else if (item->itemAction & ODA_FOCUS)
    DrawFocusRect(item->hDC, &item->rcItem);
}

HFONT CreateRowFont() {
  // The stock ANSI font is a bitmap font of one code page, which the
  // system cannot link to others: names in other scripts would draw as
  // boxes. The message font is an outline font the system links to fonts
  // of every script, and it fits the row's height.
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
  LOGFONTA font = metrics.lfMessageFont;
  // Characters of at most 12 pixels keep their cell, about a third
  // taller, inside the row below the text's offset.
  constexpr int kMostCharacterHeight = (kListRowHeight - kTextOffsetY) * 3 / 4;
  if (font.lfHeight < -kMostCharacterHeight) font.lfHeight = -kMostCharacterHeight;
  if (font.lfHeight > kMostCharacterHeight) font.lfHeight = kMostCharacterHeight;
  return CreateFontIndirectA(&font);
}

RECT ListRowPicture(const RECT& row) {
  int top = row.top + (row.bottom - row.top - kBitmapSize) / 2;
  int left = row.left + kBitmapOffsetX;
  return {left, top, left + kBitmapSize, top + kBitmapSize};
}

int DrawMaskedBitmap(HDC dc, HBITMAP bitmap, const RECT* rect, int x, int y) {
  if (!bitmap || !dc || !rect) return 0;
  BITMAP info;
  if (!GetObjectA(bitmap, sizeof info, &info)) return 0;
  ScopedMemoryDC memory(dc);
  if (!memory) return 0;
  ScopedSelect selected(memory.get(), bitmap);
  COLORREF oldBack = SetBkColor(dc, kTransparentColour);
  BOOL drawn =
      DrawTransparentBitmap(dc, rect->left + x, rect->top + y, info.bmWidth, info.bmHeight, memory.get(), 0, 0);
  SetBkColor(dc, oldBack);
  return drawn ? 1 : 0;
}

void LoadRowLook(HINSTANCE instance) {
  const int ids[kKindBitmapCount] = {IDB_KIND_WAVE,     IDB_KIND_MIDI,  IDB_KIND_PAUSE,
                                     IDB_KIND_CD_TRACK, IDB_KIND_VIDEO, IDB_KIND_AUDIO};
  for (int i = 0; i < kKindBitmapCount; ++i) g_kindBitmaps[i].reset(LoadBitmapA(instance, MAKEINTRESOURCEA(ids[i])));
  g_rowFont.reset(CreateRowFont());
}

void FreeRowLook() {
  for (ScopedBitmap& bitmap : g_kindBitmaps) bitmap.reset();
  g_rowFont.reset();
}

HBITMAP KindBitmapAt(int entry) {
  return entry >= 0 && entry < kKindBitmapCount ? g_kindBitmaps[entry].get() : nullptr;
}

HGDIOBJ RowFont() { return g_rowFont ? static_cast<HGDIOBJ>(g_rowFont.get()) : GetStockObject(ANSI_VAR_FONT); }
