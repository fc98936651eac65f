#include "support/list_rows.h"

#include "resources/ids.h"
#include "support/dpi.h"
#include "support/pictures.h"
#include "support/scoped_win.h"
#include "support/support_library.h"

namespace {

// What LoadRowLook made: the bitmaps for 100 %, and for one other scale
// the row pictures and the font, made again when rows of another DPI come.
HINSTANCE g_instance = nullptr;
ScopedBitmap g_kindBitmaps[kKindBitmapCount];
ScopedIcon g_kindPictures[kKindBitmapCount];
int g_kindPictureSize = 0;
ScopedFont g_rowFont;
int g_rowFontDpi = 0;

constexpr COLORREF kTransparentColour = RGB(0, 0, 255);
// At 96 DPI; the bitmaps' picture starts a pixel in (a clear column).
constexpr int kBitmapOffsetX = 3;
constexpr int kTextOffsetY = 3;
constexpr int kBitmapSize = 16;
constexpr int kPictureInset = 1;
// A row's text is at most 511 bytes: never more characters than that.
constexpr int kRowTextCharacters = 512;

// Draws one row: the background, the bitmap and the text, in the
// highlight colours when the item is selected, and the focus rectangle
// when the item has the focus, whether or not keyboard cues are hidden
// (ODS_NOFOCUSRECT is not obeyed: the focus is always visible). The
// colours are the system's, so high contrast shows. A row drawn whole shows its real state,
// so a list repainted after being covered still shows its selection.
void DrawRow(const DRAWITEMSTRUCT* item, int kindEntry, const char* text, int textOffset) {
  HDC dc = item->hDC;
  const int dpi = DpiOf(item->hwndItem);
  bool selected = (item->itemState & ODS_SELECTED) != 0;
  COLORREF oldBack = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ScopedSelect font(dc, RowFont(dpi));

  RECT rect = item->rcItem;
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  RECT picture = ListRowPicture(rect, dpi);
  const int pixels = PictureSizeForDpi(kBitmapSize, dpi);
  if (pixels == kBitmapSize) {
    DrawMaskedBitmap(dc, KindBitmapAt(kindEntry), &rect, picture.left - rect.left, picture.top - rect.top);
  } else if (HICON icon = KindPictureAt(kindEntry, pixels)) {
    int inset = Scale(kPictureInset, dpi);
    DrawIconEx(dc, picture.left + inset, picture.top, icon, pixels, pixels, 0, nullptr, DI_NORMAL);
  }
  rect.left += Scale(textOffset, dpi);
  rect.top += Scale(kTextOffsetY, dpi);
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

void DrawListRow(const DRAWITEMSTRUCT* item, int kindEntry, const char* text, int textOffset) {
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))
    DrawRow(item, kindEntry, text, textOffset);
  else if (item->itemAction & ODA_FOCUS)
    DrawFocusRect(item->hDC, &item->rcItem);
}

HFONT CreateRowFont(int dpi) {
  // The stock ANSI font is a bitmap font of one code page, which the
  // system cannot link to others: names in other scripts would draw as
  // boxes. The message font is an outline font the system links to fonts
  // of every script, and it fits the row's height: characters of at most
  // 12 pixels (at 96 DPI) keep their cell, about a third taller, inside
  // the row below the text's offset.
  constexpr int kMostCharacterHeight = (kListRowHeight - kTextOffsetY) * 3 / 4;
  return CreateMessageFont(dpi, Scale(kMostCharacterHeight, dpi));
}

int ListRowHeight(int dpi) { return Scale(kListRowHeight, dpi); }

RECT ListRowPicture(const RECT& row, int dpi) {
  int size = PictureSizeForDpi(kBitmapSize, dpi);
  int top = row.top + (row.bottom - row.top - size) / 2;
  int left = row.left + Scale(kBitmapOffsetX, dpi);
  return {left, top, left + size, top + size};
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
  g_instance = instance;
  for (int i = 0; i < kKindBitmapCount; ++i) g_kindBitmaps[i].reset(LoadBitmapA(instance, MAKEINTRESOURCEA(ids[i])));
  g_rowFont.reset(CreateRowFont(kBaseDpi));
  g_rowFontDpi = kBaseDpi;
}

void FreeRowLook() {
  for (ScopedBitmap& bitmap : g_kindBitmaps) bitmap.reset();
  for (ScopedIcon& picture : g_kindPictures) picture.reset();
  g_kindPictureSize = 0;
  g_rowFont.reset();
  g_rowFontDpi = 0;
}

HICON KindPictureAt(int entry, int pixels) {
  if (entry < 0 || entry >= kKindBitmapCount || pixels <= 0 || !g_instance) return nullptr;
  if (pixels != g_kindPictureSize) {
    for (int i = 0; i < kKindBitmapCount; ++i)
      g_kindPictures[i].reset(LoadPicture(g_instance, IDI_ROW_WAVE + i, pixels));
    g_kindPictureSize = pixels;
  }
  return g_kindPictures[entry].get();
}

HBITMAP KindBitmapAt(int entry) {
  return entry >= 0 && entry < kKindBitmapCount ? g_kindBitmaps[entry].get() : nullptr;
}

HGDIOBJ RowFont(int dpi) {
  if (dpi <= 0) dpi = kBaseDpi;
  if (g_rowFontDpi != 0 && dpi != g_rowFontDpi) {
    g_rowFont.reset(CreateRowFont(dpi));
    g_rowFontDpi = dpi;
  }
  return g_rowFont ? static_cast<HGDIOBJ>(g_rowFont.get()) : VariablePitchFont(dpi);
}
