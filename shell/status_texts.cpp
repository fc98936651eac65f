// The texts the main window shows about the list: the selected Sound
// Object's details on the status bar and the Play All count and order in
// the labels above the list.
#include <cstdio>

#include "model/local_memory.h"
#include "model/sound_object.h"
#include "resources/ids.h"
#include "shell/button_ribbon.h"
#include "state/main_window_state.h"
#include "support/control_library.h"
#include "support/language.h"

namespace {

// "Repeat:%u  Pause:%u   " and a path of up to 511 characters.
constexpr int kObjectInfoSize = kTextBufferSize + 64;

void FormatObjectInfo(const SoundObject& record, char* text, size_t size) {
  if (record.flags & CdTrack) {
    // A described track's list line shows the description, so the track
    // number is added here; otherwise the line already shows the track.
    if (record.description)
      snprintf(text, size, "Repeat:%u  Pause:%u  Track:%u", record.repeatCount, record.postDelay,
               static_cast<unsigned>(record.trackNumber));
    else
      snprintf(text, size, "Repeat:%u  Pause:%u", record.repeatCount, record.postDelay);
    return;
  }
  char fileName[kTextBufferSize];
  if (record.fileName && CopyTextBlock(record.fileName, fileName, sizeof fileName))
    snprintf(text, size, "Repeat:%u  Pause:%u   %s", record.repeatCount, record.postDelay, fileName);
  else
    LanguageString(IDS_NO_OBJECT_INFO, text, static_cast<int>(size));
}

}  // namespace

void ShowObjectInfo(HWND statusBar, SoundObjectHandle handle) {
  if (!handle || !IsWindow(statusBar)) return;
  char text[kObjectInfoSize];
  {
    LockedBlock<SoundObject> record(handle);
    if (!record) return;
    FormatObjectInfo(*record, text, sizeof text);
  }
  StatusBarSetText(statusBar, text);
}

void ShowPlayListCount(HWND mainWindow, uint32_t count) {
  if (count == 0) {
    SetDlgItemTextA(mainWindow, IDC_LABEL_COUNT, LanguageText(IDS_NON_STOP));
    return;
  }
  SetDlgItemInt(mainWindow, IDC_LABEL_COUNT, count, FALSE);
}

void ShowPlayOrder(HWND mainWindow, uint32_t order) {
  UINT text = IDS_ORDER_RANDOM;
  if (order == PlayOrderSequential)
    text = IDS_ORDER_SEQUENTIAL;
  else if (g_settings.preferenceFlags & RandomExclusive)
    text = IDS_ORDER_RANDOM_EXCL;
  SetDlgItemTextA(mainWindow, IDC_LABEL_ORDER, LanguageText(text));
}
