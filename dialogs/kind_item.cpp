#include "dialogs/kind_item.h"

#include "resources/ids.h"
#include "support/list_rows.h"

namespace {

constexpr int kKindTextOffset = 26;

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
    case IDK_AUDIO:
      return "Audio Files";
    default:
      return "";
  }
}

}  // namespace

const char* KindItemText(uint32_t data) { return KindText(KindItemCommand(data)); }

void DrawKindItem(const DRAWITEMSTRUCT* item) {
  if (!item) return;
  uint32_t data = static_cast<uint32_t>(item->itemData);
  int bitmapIndex = KindItemBitmapIndex(data);
  if (!KindBitmapAt(bitmapIndex)) return;
  DrawListRow(item, bitmapIndex, KindItemText(data), kKindTextOffset);
}
