#include "shell/list_display.h"

#include "model/local_memory.h"
#include "model/object_list.h"
#include "model/sound_object.h"
#include "support/dpi.h"
#include "support/globals.h"
#include "support/list_rows.h"
#include "support/system_colors.h"
#include "support/scoped_win.h"

namespace {

constexpr int kObjectTextOffset = 54;
constexpr COLORREF kFailedColour = RGB(220, 0, 0);

// A red cross over the kind picture: the last try to play it failed. In
// high contrast it takes the row's text colour.
void DrawFailedMark(HDC dc, const RECT& row, bool selected, int dpi) {
  RECT picture = ListRowPicture(row, dpi);
  COLORREF colour = HighContrastOn() ? GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT) : kFailedColour;
  ScopedPen pen(CreatePen(PS_SOLID, Scale(2, dpi), colour));
  if (!pen) return;
  ScopedSelect drawing(dc, pen.get());
  int right = picture.right - 1, bottom = picture.bottom - 1;
  MoveToEx(dc, picture.left, picture.top, nullptr);
  LineTo(dc, right, bottom);
  MoveToEx(dc, right, picture.top, nullptr);
  LineTo(dc, picture.left, bottom);
}

}  // namespace

void DrawListItem(const ObjectList& list, const DRAWITEMSTRUCT* item) {
  if (!item) return;
  int kindEntry;
  bool failed;
  char text[kTextBufferSize] = "";
  {
    LockedBlock<SoundObject> record(list.At(static_cast<int>(item->itemID)));
    if (!record) return;
    kindEntry = KindBitmapIndex(record->flags);
    failed = record->playFailed != 0;
    ObjectRowText(*record, text, sizeof text);
  }
  DrawListRow(item, kindEntry, text, kObjectTextOffset);
  if (failed && (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)))
    DrawFailedMark(item->hDC, item->rcItem, (item->itemState & ODS_SELECTED) != 0, DpiOf(item->hwndItem));
}
