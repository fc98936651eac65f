#include "shell/list_display.h"

#include <cstdio>
#include <cstring>

#include "dialogs/kind_item.h"
#include "model/local_memory.h"
#include "model/sound_object.h"
#include "resources/ids.h"
#include "state/main_window_state.h"
#include "support/support_library.h"

namespace {

constexpr COLORREF kTransparentColour = RGB(0, 0, 255);
constexpr int kBitmapOffsetX = 3;
constexpr int kObjectTextOffset = 54;
constexpr int kKindTextOffset = 26;
constexpr int kTextOffsetY = 3;
constexpr int kBitmapHalfHeight = 8;

// What a row shows: a bitmap (or none) and one line of text.
struct RowContent {
  HBITMAP bitmap = nullptr;
  char text[kTextBufferSize] = "";
  int textOffset = 0;
};

// The row text of a Sound Object: its description, else its file name,
// else for a CD track "Track:n".
void ObjectRowText(const SoundObject& record, char* text, size_t size) {
  if (record.description && CopyTextBlock(record.description, text, size) && text[0]) return;
  if (record.fileName && CopyTextBlock(record.fileName, text, size) && text[0]) return;
  if (record.flags & CdTrack)
    snprintf(text, size, "Track:%u", static_cast<unsigned>(record.trackNumber));
  else
    text[0] = '\0';
}

// The fixed texts of the kind list, by kind command id.
const char* KindText(int commandId) {
  switch (commandId) {
    case IDK_MIDI:
      return "MIDI Files";
    case IDK_PAUSE:
      return "Pause";
    case IDK_WAVE:
      return "WAV Files";
    case IDK_CD_TRACK:
      return "CD Audio";
    case IDK_VIDEO:
      return "Microsoft Video Files";
    default:
      return "";
  }
}

// Draws one row: the background, the bitmap and the text, in the
// highlight colours when the item is selected, and the focus rectangle
// when the item has the focus. A row drawn whole shows its real state,
// so a list repainted after being covered still shows its selection.
void DrawRow(const DRAWITEMSTRUCT* item, const RowContent& row) {
  HDC dc = item->hDC;
  bool selected = (item->itemState & ODS_SELECTED) != 0;
  COLORREF oldBack = SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  COLORREF oldText = SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));

  RECT rect = item->rcItem;
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  int height = rect.bottom - rect.top;
  DrawMaskedBitmap(dc, row.bitmap, &rect, kBitmapOffsetX, height / 2 - kBitmapHalfHeight);
  rect.left += row.textOffset;
  ExtTextOutA(dc, rect.left, rect.top + kTextOffsetY, ETO_CLIPPED | ETO_OPAQUE, &rect, row.text,
              static_cast<UINT>(strlen(row.text)), nullptr);

  SelectObject(dc, oldFont);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
  if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &item->rcItem);
}

// Draws an item by its action: whole or selection change draw the row,
// a focus change alone inverts the focus rectangle.
void DrawByAction(const DRAWITEMSTRUCT* item, const RowContent& row) {
  if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))
    DrawRow(item, row);
  else if (item->itemAction & ODA_FOCUS)
    DrawFocusRect(item->hDC, &item->rcItem);
}

}  // namespace

void DrawListItem(const DRAWITEMSTRUCT* item) {
  if (!item || !item->itemData) return;
  RowContent row;
  row.textOffset = kObjectTextOffset;
  {
    LockedBlock<SoundObject> record(reinterpret_cast<SoundObjectHandle>(item->itemData));
    if (!record) return;
    row.bitmap = record->bitmap;
    ObjectRowText(*record, row.text, sizeof row.text);
  }
  DrawByAction(item, row);
}

void DrawKindItem(const DRAWITEMSTRUCT* item) {
  if (!item) return;
  uint32_t data = static_cast<uint32_t>(item->itemData);
  int bitmapIndex = KindItemBitmapIndex(data);
  if (bitmapIndex < 0 || bitmapIndex >= kKindBitmapCount || !g_state.kindBitmaps[bitmapIndex]) return;
  RowContent row;
  row.textOffset = kKindTextOffset;
  row.bitmap = g_state.kindBitmaps[bitmapIndex];
  snprintf(row.text, sizeof row.text, "%s", KindText(KindItemCommand(data)));
  DrawByAction(item, row);
}

int DrawMaskedBitmap(HDC dc, HBITMAP bitmap, const RECT* rect, int x, int y) {
  if (!bitmap || !dc || !rect) return 0;
  BITMAP info;
  if (!GetObjectA(bitmap, sizeof info, &info)) return 0;
  HDC memory = CreateCompatibleDC(dc);
  if (!memory) return 0;
  HGDIOBJ old = SelectObject(memory, bitmap);
  COLORREF oldBack = SetBkColor(dc, kTransparentColour);
  BOOL drawn = DrawTransparentBitmap(dc, rect->left + x, rect->top + y, info.bmWidth, info.bmHeight, memory, 0, 0);
  SetBkColor(dc, oldBack);
  SelectObject(memory, old);
  DeleteDC(memory);
  return drawn ? 1 : 0;
}
