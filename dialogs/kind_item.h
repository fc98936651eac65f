/*
 * The item data of the Add Sound Object dialog's list of kinds (control
 * 1000): the kind's command id in the low 16 bits and, in the high 16
 * bits, which of the rows' kind bitmaps the row shows, as its entry
 * (KindBitmapAt, support/list_rows.h) plus one (0: no bitmap). A bitmap handle
 * itself need not fit in 16 bits, an index always does, and the row finds
 * the handle from it when it draws.
 */
#ifndef WENDLE_KIND_ITEM_H
#define WENDLE_KIND_ITEM_H

#include <windows.h>

#include <cstdint>

constexpr uint32_t MakeKindItemData(int commandId, int bitmapIndex) {
  return (static_cast<uint32_t>(bitmapIndex + 1) << 16) | (static_cast<uint32_t>(commandId) & 0xFFFF);
}
constexpr int KindItemCommand(uint32_t data) { return static_cast<int>(data & 0xFFFF); }
// The kindBitmaps index, or -1 for none.
constexpr int KindItemBitmapIndex(uint32_t data) { return static_cast<int>(data >> 16) - 1; }

// The name a row of the list of kinds shows and holds as its string (the
// list has LBS_HASSTRINGS, so screen readers read it and typing a letter
// finds it); "" for an unknown kind.
const char* KindItemText(uint32_t data);

// Draws a row of the list of kinds: the kind's bitmap and its name.
void DrawKindItem(const DRAWITEMSTRUCT* item);

#endif
